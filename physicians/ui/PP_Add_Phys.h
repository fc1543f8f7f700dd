#pragma once

#include "PhysicianProfileEdit.h"
#include "PhysicianUserRequest.h"
#include "ProfilePrinterChoice.h"

#include <QDialog>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace suite {
class LoginComponent;
}

namespace physicians {

class PP_Phys_DictationPage;
class PP_Phys_LinkedVoicePage;
class PP_Phys_RecognitionPage;

// Adds and edits a physician profile: the general values, the accounts, and per account the
// output and addendum settings. Several accounts may be selected at once; a value that differs
// between them shows "<various>" and is written only when changed.
class PP_Add_Phys : public QDialog {
    Q_OBJECT
public:
    using Mode = PhysicianProfileEdit::Mode;

    PP_Add_Phys(suite::LoginComponent& login, QWidget* parent = nullptr);
    ~PP_Add_Phys() override;

    // Opens on a physician (Edit, EditDefault) or a new one in the given accounts (Add); false
    // when it could not be read (the session showed why).
    bool EditPhysician(long physicianId, Mode mode);
    bool AddPhysician(const std::vector<long>& accounts, long partitionId);
    // The next new physician from the values just saved.
    void AddAnother(long partitionId);

    [[nodiscard]] PhysicianProfileEdit& edit() { return m_edit; }
    [[nodiscard]] bool saved() const { return m_blnSaved; }

    // How the screen asks for accounts to add and opens the linked user's editor and the report
    // password; dialogs by default, replaced in tests and by start-up.
    std::function<bool(std::vector<long>& accounts)> chooseAccounts;
    // The linked user's editor, on the physician's user or on a new physician user for it.
    OpenPhysicianUser openUserEditor;
    std::function<void(PhysicianProfileEdit& edit)> setPassword;

    void BOK_Click();
    void BAddAccount_Click();
    void BDeleteAccount_Click();
    void BChanges_Click();

private:
    void build();
    QWidget* generalPage();
    QWidget* accountsPage();
    QWidget* outputPage();
    QWidget* addendumsPage();
    QWidget* weightingPage();
    // The output and weighting pages of the selected accounts.
    void showOutput();
    void showWeighting();
    void setOutputEnabled(bool enabled);
    void showReportSet(ReportSetKind kind);
    // The online printing destination; a stored one that is gone or not the user's is reset.
    void showPrinter();
    // The account/report summary of the accounts and the report types the shown output includes.
    void showSummary();
    // The report types of the selected accounts, "<Default Report>" (0) first.
    [[nodiscard]] std::vector<std::pair<long, std::string>> reportTypes() const;
    // Typed fax times and weights go to the records when complete; false after the message.
    bool commitFaxTimes();
    bool commitWeight();
    void bindText(QLineEdit* box, const char* field);
    void bindCheck(QCheckBox* box, const char* field);
    void showValues(); // fills every control from the selected records
    void fillAccounts();
    void accountsSelected();
    void applyAccess();
    void chkElectSignature_Click(bool checked);
    // Opens the linked user's editor; the user accepted there waits for the physician's save.
    void openLinkedUser();
    // Writes the waiting user and links the physician to it; false when it was not written.
    bool savePendingUser();
    void focusField(const std::string& field);
    [[nodiscard]] std::string accountName(long account) const;

    suite::LoginComponent& m_login;
    PhysicianProfileEdit m_edit;
    bool m_blnLoading = false;
    bool m_blnSaved = false;
    long m_lngUserToDelete = 0;
    bool m_blnUserAfterSave = false;                   // a new physician's user is made once the physician has its id
    std::optional<PendingPhysicianUser> m_pendingUser; // accepted in the user editor, written on OK
    std::map<std::string, QLineEdit*> m_texts;
    std::map<std::string, QCheckBox*> m_checks;

    QTabWidget* tabPages;
    QLabel* labPartitionName;
    QLabel* labPhysId;
    QLabel* labLastModified;
    QLabel* LFullName;
    QCheckBox* chkElectSignature;
    QListWidget* LBAccounts;
    QLineEdit* txtSelectAccount;
    QLabel* labAccountSummary;
    QPushButton* BAddAccount;
    QPushButton* BDeleteAccount;
    QPushButton* BUseAllAccounts;
    QLabel* LViewOnlyOutput;
    QComboBox* CBEmailMethod;
    QComboBox* CBPrinter;
    ProfilePrinterChoice m_printers;
    QCheckBox* CHKFaxTime[2];
    QLineEdit* MFaxTime[2];
    QComboBox* CBFaxAmPm[2];
    QListWidget* LBFaxDays[2];
    std::string m_strShownFaxTime[2]; // time, am/pm and check as last shown
    QListWidget* LBReportTypes;
    QLabel* labReportSet;
    ReportSetKind m_reportSet = ReportSetKind::Online;
    QLabel* LViewOnlyWeight;
    QLabel* LVariousWeight;
    QComboBox* CBWeightReportTypes;
    QRadioButton* OPTNoWeighting;
    QRadioButton* OPTDirectWeighting;
    QRadioButton* OPTPercentWeighting;
    QLineEdit* TReportDirectWeight;
    QLineEdit* TReportPercentWeight;
    QPushButton* BApplyDefaultWeight;
    long m_lngWeightType = 0;     // the report type the weighting page shows
    std::string m_strShownWeight; // its mode and values as last shown
    QPlainTextEdit* TAddendumNormal;
    QPlainTextEdit* TAddendumSwitches;
    QPushButton* BOK;
    QPushButton* BCancel;
    PP_Phys_DictationPage* m_dictation;
    PP_Phys_RecognitionPage* m_recognition;
    PP_Phys_LinkedVoicePage* m_linkedVoice;
    void loadLinkedVoice();
};

} // namespace physicians
