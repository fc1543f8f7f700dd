#pragma once

#include <QDialog>

#include <vector>

class QTableView;

namespace users {

class CheckListModel;
class clsSecurityGroup;
class clsSecurityGroups;
class clsUser;

// Picks several entries from a checked list: the groups a user may still join ("Add Groups", for
// the user editor) or the users a group may still take ("Add Users", for the group editor).
class UA_Add_Users_Groups : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Groups, Users };
    static constexpr const char* kNoGroupsLeft =
        "The user is already a member of all available groups.  There are no groups to add.";
    static constexpr const char* kNoUsersLeft =
        "All available users are already members of this group.  There are no users to add.";

    UA_Add_Users_Groups(Mode mode, QWidget* parent = nullptr);

    // Fills the list with the groups `user` is not in and may join (built-in groups are not offered).
    void LoadGroups(const clsUser& user, const std::vector<long>& userGroups, const clsSecurityGroups& groups);
    // Fills the list with the given users.
    void LoadUsers(const std::vector<const clsUser*>& offered);

    [[nodiscard]] int Offered() const;
    [[nodiscard]] std::vector<long> CheckedIds() const;
    [[nodiscard]] CheckListModel* model() const { return m_model; }

private:
    CheckListModel* m_model = nullptr;
    QTableView* m_lvwList = nullptr;
};

} // namespace users
