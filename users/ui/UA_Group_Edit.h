#pragma once

#include "clsSecurityGroup.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace users {

class GroupMembersModel;
class clsUsers;

// The group editor ("New Group" or "Edit Group"): name, description, type, partition, sharing, the
// proxy setting of a physician group and the member list with each member's viewing and signing
// relation. It works on a copy of the group; OK validates and leaves the result in Group() for the
// caller to save.
class UA_Group_Edit : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kGeneralPhysician = "General - Physician Group";
    static constexpr const char* kGeneralTranscriptionist = "General - Transcriptionist Group";
    static constexpr const char* kBlankName = "The group name cannot be blank.  Please enter a group name.";
    static constexpr const char* kGroupNameTaken =
        "A group with this name has already been defined.  Please change the group name.";
    static constexpr const char* kUserNameTaken =
        "A username with this name has already been defined.  Please change the group name.";
    static constexpr const char* kNoSigningMembers =
        "Warning.  The proxy group setting has been set but no members have been enabled for signature.  No proxy "
        "relationships will be defined.";
    static constexpr const char* kChangePartition = "Changing partitions will remove group members belonging to the "
                                                    "previous partition.  Do you wish to remove these users?";
    static constexpr const char* kChangeSharing =
        "Changing the sharing relationship will remove all invalid users from this group. Do you wish to continue?";

    // A new group when group.m_lngGroupId is 0.
    UA_Group_Edit(const clsSecurityGroup& group, const clsUsers& users, QWidget* parent = nullptr);

    [[nodiscard]] const clsSecurityGroup& Group() const { return m_group; }
    [[nodiscard]] GroupMembersModel* members() const { return m_members; }
    [[nodiscard]] bool IsNew() const { return m_group.m_lngGroupId == 0; }

public Q_SLOTS:
    void cmdOK_Click();
    void cmdAdd_Click();
    void cmdRemove_Click();

private Q_SLOTS:
    void cboGroupType_Click();
    void cboPartition_Click();
    void chkShare_Click();
    void lvwMembers_DblClick(const QModelIndex& index);

private:
    void applyType();
    // The members that would not fit the group with its partition and sharing as now chosen.
    std::vector<const clsUser*> heldMembers() const;
    [[nodiscard]] bool wouldDropMembers(const clsSecurityGroup& candidate) const;

    clsSecurityGroup m_group;
    const clsUsers& m_users;
    long m_lngShownPartition = -1;
    GroupMembersModel* m_members = nullptr;
    QSortFilterProxyModel* m_sorted = nullptr;
    QLineEdit* m_txtGroupName = nullptr;
    QLineEdit* m_txtDescription = nullptr;
    QComboBox* m_cboGroupType = nullptr;
    QComboBox* m_cboPartition = nullptr;
    QCheckBox* m_chkShare = nullptr;
    QCheckBox* m_chkSign = nullptr;
    QTableView* m_lvwMembers = nullptr;
};

} // namespace users
