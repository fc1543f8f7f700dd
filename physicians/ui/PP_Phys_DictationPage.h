#pragma once

#include "PhysicianProfileEdit.h"
#include "SpeechContexts.h"

#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace suite {
class LoginComponent;
}

namespace physicians {

// The properties the speech dialog receives for the selected accounts: "UserName", "PhysicianID",
// "SpeechMagicID" and "ConText" (the context name, "VARIOUS" when the selected accounts differ).
std::map<std::string, std::string> SpeechDialogProperties(const PhysicianProfileEdit& edit,
                                                          const std::string& loggedInUser,
                                                          const std::vector<speech::clsSMContext>& contexts);

// The profile editor's Dictation page: the physician's speech user name and Speech Machines id,
// and per account the default context, input method and advanced acoustics.
class PP_Phys_DictationPage : public QWidget {
    Q_OBJECT
public:
    PP_Phys_DictationPage(PhysicianProfileEdit& edit, suite::LoginComponent& login, QWidget* parent = nullptr);

    // Fills the controls from the selected accounts; the first call reads the contexts, whether
    // Speech Machines is in use and whether a speech installation is present.
    void Show();
    // The physician's own values (names, ids) and the selected accounts' values.
    void SetEditable(bool physician, bool accounts);
    // Focuses the control of a field shown here; false when the field is not on this page.
    bool Focus(const std::string& field);
    [[nodiscard]] bool speechMachinesInUse();

    // The speech user chooser; the speech provisioning chooser by default.
    std::function<bool(const std::string& first, const std::string& last, std::string& userName)> chooseSpeechUser;

    void cmdSMUser_Click();
    void cmdSMAdmin_Click();
    void cmdCheckIds_Click();
    void cmdTuner_Click();
    void cmbDefaultContext_Click(int index);

private:
    void prepare();
    void setText(const char* field, const QString& text);

    PhysicianProfileEdit& m_edit;
    suite::LoginComponent& m_login;
    bool m_blnPrepared = false;
    bool m_blnLoading = false;
    bool m_blnSpeechMagic = false;
    bool m_blnSpeechMachines = false;
    std::vector<speech::clsSMContext> m_contexts;
    QLineEdit* txtSpeechMagicUserName;
    QLineEdit* txtSpeechMachinesID;
    QLabel* labSpeechMachinesID;
    QComboBox* cmbDefaultContext;
    QComboBox* cmbDefaultInputMethod;
    QCheckBox* chkAdvAcoustics2;
    QPushButton* cmdSMUser;
    QPushButton* cmdSMAdmin;
    QPushButton* cmdCheckIds;
    QPushButton* cmdTuner;
    QLabel* labSpeechMagic;
};

} // namespace physicians
