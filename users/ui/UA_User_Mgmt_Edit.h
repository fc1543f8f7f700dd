#pragma once

#include "UserEditRules.h"
#include "UserEditSave.h"
#include "clsUser.h"
#include "clsUserPolicies.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;

namespace users {

// A security group as the editor's Groups tab shows it.
struct UserGroupEntry {
    long groupId = 0;
    std::string name, description;
    bool builtIn = false;
};

// "Add User" / "Edit User": edits a copy of one user. OK checks the entries in their fixed order
// and, when all pass, copies them into the copy, which EditedUser() hands back; the caller writes it.
class UA_User_Mgmt_Edit : public QDialog {
    Q_OBJECT
public:
    UA_User_Mgmt_Edit(clsUserPolicies& policies, const UserEditContext& context, QWidget* parent = nullptr);

    // Fills the controls from a copy of user. groups are the custom groups the user belongs to.
    void LoadForm(const clsUser& user, bool isNew, const std::vector<UserGroupEntry>& groups);
    // A new user chosen as a transcriptionist starts with that box checked.
    void SetTranscriptionist();
    [[nodiscard]] const clsUser& EditedUser() const { return m_objUser; }
    [[nodiscard]] const UserEditChanges& Changes() const { return m_changes; }
    [[nodiscard]] std::vector<long> RemovedGroups() const;
    [[nodiscard]] std::vector<long> AddedGroups() const;

    // The folder of the prompt scripts ("*.KDS"): KALDRA/PROMPTS under the network root.
    std::string promptFolder;
    // Questions and the script rename box (tests answer them; by default message and input boxes).
    UserEditPrompts prompts;
    // "Add..." on the Groups tab: the groups chosen to add (the group screens provide the picker).
    std::function<std::vector<UserGroupEntry>(QWidget* parent, const clsUser& user, const std::vector<long>& current)>
        chooseGroups;

    // Runs the checks; the dialog is accepted when they pass.
    void cmdOK_Click();

    static constexpr const char* kPhysicianNotAdmin =
        "Physician users cannot be Administrators.  This user will no longer be an Administrator.";

private:
    void buildGeneralTab(QWidget* tab);
    void buildSecurityTab(QWidget* tab);
    void buildUserInfoTab(QWidget* tab);
    void buildAdminTab(QWidget* tab);
    void buildGroupsTab(QWidget* tab);
    void buildVoiceTab(QWidget* tab);
    void listPromptScripts();
    void fillPromptScripts();
    // Renames a script of the prompt folder and selects it; false after the message.
    bool renamePromptScript(const std::string& from, const std::string& to);
    void fillGroups();
    void enableTabs();
    UserEditForm collectForm() const;
    void applyForm(const UserEditForm& form);
    void showFailure(const UserEditFailure& failure);

    void chkPaxlet_Click(bool checked);
    void userType_Changed(QCheckBox* box, bool checked);
    void cboPartition_Changed(int index);
    void chkShare_Click(bool checked);
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdEditScript_Click();
    void cmbPromptScript_Click(int index);

    clsUserPolicies& m_policies;
    UserEditContext m_context;
    clsUser m_objUser;
    bool m_blnNew = true;
    bool m_blnLoading = false;
    UserEditChanges m_changes;
    std::vector<UserGroupEntry> m_groups, m_loadedGroups;
    int m_intPartitionIndex = -1;
    int m_intScriptIndex = 0; // the prompt script chosen before the current choice

    QTabWidget* TABUser;
    QLineEdit* txtUserName;
    QLineEdit* txtPassword;
    QLineEdit* txtConfirmPassword;
    QLineEdit* txtFirstName;
    QLineEdit* txtLastName;
    QLabel* labUserId;
    QCheckBox* chkTranscriptionist;
    QCheckBox* chkPaxlet;
    QCheckBox* chkVoiceToText;
    QCheckBox* chkMustChangePassword;
    QCheckBox* chkAccountDisabled;
    QCheckBox* chkLockedOut;
    QLabel* labLastAccess;
    QComboBox* cmbUserPolicy;
    QComboBox* cboPartition;
    QCheckBox* chkShare;
    QLineEdit* txtSignaturePassword;
    QLineEdit* txtConfirmSignaturePassword;
    QCheckBox* chkMustChangeSignaturePassword;
    QLineEdit* txtInitials;
    QLineEdit* txtLocationCode;
    QLineEdit* txtDictationID;
    QLineEdit* txtMISNbr;
    QLabel* labTransID;
    QComboBox* cmbPromptScript;
    QPushButton* cmdEditScript;
    QCheckBox* chkSystemAdmin;
    QCheckBox* chkTransAdmin;
    QCheckBox* chkPaxletAdmin;
    QTreeWidget* lvwMembers;
    QPushButton* cmdAdd;
    QPushButton* cmdRemove;
    QLabel* labPhysTransId;
    QRadioButton* optMale;
    QRadioButton* optFemale;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace users
