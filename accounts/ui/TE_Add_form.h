#pragma once

#include "clsAccountTypes.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace accounts {

// Adds a type to one account's list in the per-account type editor, or changes its description.
// Only the list in memory changes; the editor's OK writes every account.
class TE_Add_form : public QDialog {
    Q_OBJECT
public:
    TE_Add_form(clsAccountTypes& types, long account, QWidget* parent = nullptr);

    // Prepares a new type (existing nullptr) or a change; false, after the message, when the
    // account has no free number left.
    bool Edit(const clsAccountType* existing);

private:
    void BOK_Click();

    clsAccountTypes& m_types;
    long m_account;
    const clsAccountType* m_existing = nullptr;
    QComboBox* CBTypeNumber;
    QLineEdit* txtDescription;
    QPushButton* BOK;
    QPushButton* BCancel;
};

} // namespace accounts
