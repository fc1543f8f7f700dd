#pragma once

#include "clsVVUserEditor.h"

#include <QWidget>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace physicians {

// The profile editor's linked voice systems page: for each remote voice system and facility linked
// to the physician's accounts, whether the physician is a user there and its settings. The remote
// users change only after the physician is saved.
class PP_Phys_LinkedVoicePage : public QWidget {
    Q_OBJECT
public:
    explicit PP_Phys_LinkedVoicePage(QWidget* parent = nullptr);

    // Reads the associations of the accounts and the remote users. physicianId 0: a physician not
    // saved yet, a user in no remote system; below 0: the template for new physicians, which has no
    // remote users at all.
    void Load(long physicianId, const std::string& firstName, const std::string& lastName,
              const std::vector<long>& accounts);
    void AccountsAdded(const std::vector<long>& accounts);
    void AccountsRemoved(const std::vector<long>& accounts);

    // After the save batch, with the physician's id and names as saved: adds, updates and removes
    // the remote users; the number of failures.
    int SaveAll(long physicianId, const std::string& firstName, const std::string& lastName);
    // User access withdrawn: the physician leaves every linked system.
    int RemoveUserIdFromAllLinkedVoiceSystems();
    // Per association what SaveAll will do, one line each ("" when nothing).
    [[nodiscard]] std::string PlannedChanges();

    [[nodiscard]] voicesystems::clsVVUserEditor& editor() { return m_editor; }

    void cmbVVSystem_Click(int index);
    void cmbVVFacility_Click(int index);
    void chkVVLink_Click(bool checked);
    // A new password for the physician, now, in every system and facility where it is a user.
    void cmdVVPassword_Click();

private:
    void fetchUnread();
    void fillSystems();
    void showAssociation();
    void showPlan();
    [[nodiscard]] int systemId() const;
    [[nodiscard]] long facility() const;
    template <typename Apply>
    void onEdit(Apply apply);

    voicesystems::clsVVUserEditor m_editor;
    long m_lngPhysicianId = 0;
    bool m_blnLoading = false;
    QComboBox* cmbVVSystem;
    QComboBox* cmbVVFacility;
    QCheckBox* chkVVLink;
    QPushButton* cmdVVPassword;
    QComboBox* cmbVVSecurityGroup;
    QComboBox* cmbVVConfigGroup;
    QLineEdit *txtVVAddress, *txtVVEmail, *txtVVFax, *txtVVNotes, *txtVVPager, *txtVVTelephone;
    QCheckBox *chkVVAllowDictate, *chkVVAllowListen, *chkVVAllowOpenTasks, *chkVVSuspended, *chkVVAllowRouteChange;
    QSpinBox *spnVVGain, *spnVVNumOpenTasks, *spnVVPauseAlertInterval, *spnVVAccelFactor, *spnVVAutoBackInc,
        *spnVVFFInc, *spnVVRewInc;
    QLabel* labVVPlan;
    QLabel* labVVStatus;
    QWidget* m_settings;
};

} // namespace physicians
