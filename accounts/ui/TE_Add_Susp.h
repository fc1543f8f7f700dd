#pragma once

#include "clsSuspensionTypes.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace accounts {

// Adds a user suspension type (the number from the free ones, written to every account) or changes
// a type's description.
class TE_Add_Susp : public QDialog {
    Q_OBJECT
public:
    explicit TE_Add_Susp(clsSuspensionTypes& types, QWidget* parent = nullptr);

    // Prepares the dialog for a new type (existing nullptr) or for changing one; false, after the
    // message, when there is no free number left for a new type.
    bool EditType(const clsSuspensionType* existing);

private:
    void cmdOK_Click();

    clsSuspensionTypes& m_types;
    std::optional<int> m_editing;
    QComboBox* CBTypeNumber;
    QLineEdit* txtDescription;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace accounts
