#pragma once

#include "clsAccountTypes.h"

#include <QDialog>

#include <functional>

class QListWidget;
class QPushButton;
class QTreeWidget;

namespace suite {
class LoginComponent;
}

namespace accounts {

// The per-account form of the suspension or activity types: each account's own list, all of them
// written back at once on OK.
class TE_Type_Editor : public QDialog {
    Q_OBJECT
public:
    TE_Type_Editor(suite::LoginComponent& login, clsAccountTypes::Mode mode, QWidget* parent = nullptr);

    // Loads every account's types and fills the lists; the caller then shows the dialog.
    void EditTypes();
    [[nodiscard]] const clsAccountTypes& Types() const { return m_types; }

    // Runs the add/edit dialog modally (tests drive it in place).
    std::function<int(QDialog&)> runDialog = [](QDialog& d) { return d.exec(); };

private:
    [[nodiscard]] long SelectedAccount() const;
    [[nodiscard]] const clsAccountType* SelectedType() const;
    void FillTypes(int select);
    void BAdd_Click();
    void BEdit_Click();
    void BDelete_Click();
    void BUseForAll_Click();
    void BOK_Click();

    suite::LoginComponent& m_login;
    clsAccountTypes m_types;
    QListWidget* AccountList;
    QTreeWidget* LVTypes;
    QPushButton* BAdd;
    QPushButton* BEdit;
    QPushButton* BDelete;
    QPushButton* BUseForAll;
    QPushButton* BOK;
    QPushButton* BCancel;
};

} // namespace accounts
