#pragma once

#include <functional>

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace maintenance {

// The OK, Cancel and Help row of the database maintenance dialogs, right-aligned. OK is the default
// button; Help opens the help file. The dialogs differ only in the Help caption and in what OK and
// Cancel do.
struct DialogButtonRow {
    QHBoxLayout* layout;
    QPushButton* BOK;
    QPushButton* BCancel;
    QPushButton* cmdHelp;
};

DialogButtonRow MakeDialogButtonRow(QDialog* dialog, const char* helpCaption, std::function<void()> onOK,
                                    std::function<void()> onCancel);

} // namespace maintenance
