#pragma once

#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace printers {

class clsPrinters;

// The custom footer formats: the list, and add or edit through the format editor.
class PR_Custom_Printers : public QDialog {
    Q_OBJECT
public:
    explicit PR_Custom_Printers(clsPrinters& list, QWidget* parent = nullptr);
    void ShowForm();
    void Fill();

public Q_SLOTS:
    void cmdAdd_Click();
    void cmdEdit_Click();

private:
    void edit(long formatId, const std::string& text);

    clsPrinters& m_objList;
    QTreeWidget* lvwFormats;
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdClose;
};

} // namespace printers
