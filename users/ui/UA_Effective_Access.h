#pragma once

#include <QDialog>

class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace users {

class CheckListModel;
class clsPrivileges;
class EffectiveAccessModel;

// Read-only view of what the edited user may do and why: each granted right with its source
// (the user's own privileges or the named groups), filtered by a text and copied to the clipboard.
// For a group it lists the group's members (lvwMembers) above the rights the group gives each of them.
class UA_Effective_Access : public QDialog {
    Q_OBJECT
public:
    explicit UA_Effective_Access(const clsPrivileges& privileges, QWidget* parent = nullptr);

    [[nodiscard]] EffectiveAccessModel* model() const { return m_model; }
    [[nodiscard]] QSortFilterProxyModel* filtered() const { return m_filter; }
    // The group's members; nullptr for a user.
    [[nodiscard]] CheckListModel* memberModel() const { return m_members; }
    // The shown rows as tab-separated lines with a header line, as the copy button puts them.
    [[nodiscard]] QString VisibleText() const;

private Q_SLOTS:
    void cmdCopy_Click();

private:
    EffectiveAccessModel* m_model = nullptr;
    QSortFilterProxyModel* m_filter = nullptr;
    QLineEdit* m_txtFilter = nullptr;
    QTableView* m_lvwAccess = nullptr;
    CheckListModel* m_members = nullptr;
};

} // namespace users
