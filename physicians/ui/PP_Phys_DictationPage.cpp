#include "PP_Phys_DictationPage.h"

#include "LoginComponent.h"
#include "MessageService.h"
#include "PP_AddSpeechMagic.h"
#include "PP_SpeechMagic.h"
#include "PhysicianProfileRules.h"
#include "PhysicianSpeechSettings.h"
#include "SuitePrograms.h"
#include "modSpeechMagic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace physicians {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

constexpr const char* kUseWorkTypeDefault = "<Use Work Type Default>";

} // namespace

std::map<std::string, std::string> SpeechDialogProperties(const PhysicianProfileEdit& edit,
                                                          const std::string& loggedInUser,
                                                          const std::vector<speech::clsSMContext>& contexts) {
    std::string context;
    const std::string id = edit.Value("default_context_id");
    if (id == kVarious)
        context = "VARIOUS";
    else
        for (const auto& c : contexts)
            if (std::to_string(c.m_lngContextId) == id)
                context = c.m_strConTextName;
    return {{"UserName", loggedInUser},
            {"PhysicianID", std::to_string(edit.physicianId())},
            {"SpeechMagicID", edit.Value("sm_user_name")},
            {"ConText", context}};
}

PP_Phys_DictationPage::PP_Phys_DictationPage(PhysicianProfileEdit& edit, suite::LoginComponent& login, QWidget* parent)
    : QWidget(parent), m_edit(edit), m_login(login) {
    setObjectName("PP_Phys_DictationPage");
    auto* form = new QFormLayout(this);
    auto* smRow = new QHBoxLayout;
    txtSpeechMagicUserName = new QLineEdit(this);
    txtSpeechMagicUserName->setObjectName("txtSpeechMagicUserName");
    cmdSMUser = new QPushButton("&Choose...", this);
    cmdSMUser->setObjectName("cmdSMUser");
    smRow->addWidget(txtSpeechMagicUserName);
    smRow->addWidget(cmdSMUser);
    form->addRow("SpeechMagic User Name:", smRow);
    txtSpeechMachinesID = new QLineEdit(this);
    txtSpeechMachinesID->setObjectName("txtSpeechMachinesID");
    labSpeechMachinesID = new QLabel("Speech Machines ID:", this);
    form->addRow(labSpeechMachinesID, txtSpeechMachinesID);
    cmbDefaultContext = new QComboBox(this);
    cmbDefaultContext->setObjectName("cmbDefaultContext");
    form->addRow("Default ConText:", cmbDefaultContext);
    cmbDefaultInputMethod = new QComboBox(this);
    cmbDefaultInputMethod->setObjectName("cmbDefaultInputMethod");
    for (const char* method : kInputMethods)
        cmbDefaultInputMethod->addItem(method);
    form->addRow("Default Input Method:", cmbDefaultInputMethod);
    chkAdvAcoustics2 = new QCheckBox("Advanced acoustics", this);
    chkAdvAcoustics2->setObjectName("chkAdvAcoustics2");
    form->addRow(chkAdvAcoustics2);
    auto* buttons = new QHBoxLayout;
    cmdSMAdmin = new QPushButton("SpeechMagic &Properties...", this);
    cmdSMAdmin->setObjectName("cmdSMAdmin");
    cmdCheckIds = new QPushButton("Check &IDs", this);
    cmdCheckIds->setObjectName("cmdCheckIds");
    cmdTuner = new QPushButton("&Tuner...", this);
    cmdTuner->setObjectName("cmdTuner");
    for (QPushButton* b : {cmdSMAdmin, cmdTuner, cmdCheckIds})
        buttons->addWidget(b);
    form->addRow(buttons);
    labSpeechMagic = new QLabel(this);
    labSpeechMagic->setObjectName("labSpeechMagic");
    form->addRow(labSpeechMagic);

    chooseSpeechUser = [this](const std::string& first, const std::string& last, std::string& name) {
        bool contextsChanged = false;
        return speech::PP_SpeechMagic::GetSMUser(first, last, name, contextsChanged, this);
    };
    connect(txtSpeechMagicUserName, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!m_blnLoading)
            m_edit.SetValue("sm_user_name", t.toStdString());
    });
    connect(txtSpeechMachinesID, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!m_blnLoading)
            m_edit.SetValue("speech_machines_id", t.toStdString());
    });
    connect(cmbDefaultContext, &QComboBox::activated, this, &PP_Phys_DictationPage::cmbDefaultContext_Click);
    connect(cmbDefaultInputMethod, &QComboBox::activated, this, [this](int index) {
        if (!m_blnLoading && index >= 0)
            m_edit.SetValue("default_input_method", std::to_string(index));
    });
    connect(chkAdvAcoustics2, &QCheckBox::clicked, this, [this](bool checked) {
        if (m_blnLoading)
            return;
        chkAdvAcoustics2->setTristate(false);
        m_edit.SetValue("adv_acoustics_support", checked ? "1" : "0");
    });
    connect(cmdSMUser, &QPushButton::clicked, this, &PP_Phys_DictationPage::cmdSMUser_Click);
    connect(cmdSMAdmin, &QPushButton::clicked, this, &PP_Phys_DictationPage::cmdSMAdmin_Click);
    connect(cmdCheckIds, &QPushButton::clicked, this, &PP_Phys_DictationPage::cmdCheckIds_Click);
    connect(cmdTuner, &QPushButton::clicked, this, &PP_Phys_DictationPage::cmdTuner_Click);
}

void PP_Phys_DictationPage::prepare() {
    if (m_blnPrepared)
        return;
    m_blnPrepared = true;
    m_blnSpeechMachines = SpeechMachinesInUse();
    m_contexts.clear();
    speech::LoadDictationContexts(m_contexts);
    cmbDefaultContext->clear();
    cmbDefaultContext->addItem(kUseWorkTypeDefault, 0);
    for (const auto& c : m_contexts)
        cmbDefaultContext->addItem(
            q(c.m_strContextDescription.empty() ? c.m_strConTextName : c.m_strContextDescription),
            static_cast<qlonglong>(c.m_lngContextId));
    // Without an installation the speech user's chooser and properties are not offered.
    m_blnSpeechMagic = speech::CheckSMInstall();
    for (QPushButton* b : {cmdSMUser, cmdSMAdmin, cmdTuner})
        b->setVisible(m_blnSpeechMagic);
    const SuiteProgram tuner = FindTunerProgram();
    cmdTuner->setEnabled(tuner.missing.empty());
    cmdTuner->setToolTip(q(tuner.missing));
    labSpeechMagic->setText(m_blnSpeechMagic ? QString() : "SpeechMagic is not installed on this workstation.");
    labSpeechMachinesID->setVisible(m_blnSpeechMachines);
    txtSpeechMachinesID->setVisible(m_blnSpeechMachines);
}

bool PP_Phys_DictationPage::speechMachinesInUse() {
    prepare();
    return m_blnSpeechMachines;
}

void PP_Phys_DictationPage::Show() {
    prepare();
    m_blnLoading = true;
    txtSpeechMagicUserName->setText(q(m_edit.Value("sm_user_name")));
    txtSpeechMachinesID->setText(q(m_edit.Value("speech_machines_id")));
    const bool none = m_edit.selection().empty();
    const std::string context = none ? "0" : m_edit.Value("default_context_id");
    if (context == kVarious) {
        cmbDefaultContext->setCurrentIndex(-1);
    } else {
        int index = cmbDefaultContext->findData(QString::fromStdString(context).toLongLong());
        if (index < 0) {
            // The stored context was deleted: the accounts go back to the work type's default.
            MsgBox("The ConText previously associated with this account and report group has been deleted.\r\nThe "
                   "ConText will be changed to <Use Work type Default>.",
                   MsgButtons::OK, MsgIcon::Information, "Physician Profile");
            m_edit.SetValue("default_context_id", "0");
            index = 0;
        }
        cmbDefaultContext->setCurrentIndex(index);
    }
    const std::string method = m_edit.Value("default_input_method");
    cmbDefaultInputMethod->setCurrentIndex(none || method == kVarious ? -1 : std::stoi(method));
    const std::string acoustics = none ? "0" : m_edit.Value("adv_acoustics_support");
    chkAdvAcoustics2->setTristate(acoustics == kVarious);
    chkAdvAcoustics2->setCheckState(acoustics == kVarious ? Qt::PartiallyChecked
                                    : acoustics != "0"    ? Qt::Checked
                                                          : Qt::Unchecked);
    m_blnLoading = false;
}

void PP_Phys_DictationPage::SetEditable(bool physician, bool accounts) {
    txtSpeechMagicUserName->setReadOnly(!physician);
    txtSpeechMachinesID->setReadOnly(!physician);
    cmdSMUser->setEnabled(physician);
    for (QWidget* w : std::initializer_list<QWidget*>{cmbDefaultContext, cmbDefaultInputMethod, chkAdvAcoustics2})
        w->setEnabled(accounts);
}

bool PP_Phys_DictationPage::Focus(const std::string& field) {
    const std::pair<const char*, QWidget*> controls[] = {
        {"sm_user_name", txtSpeechMagicUserName},    {"speech_machines_id", txtSpeechMachinesID},
        {"default_context_id", cmbDefaultContext},   {"default_input_method", cmbDefaultInputMethod},
        {"adv_acoustics_support", chkAdvAcoustics2},
    };
    for (const auto& [name, control] : controls)
        if (field == name) {
            control->setFocus();
            return true;
        }
    return false;
}

void PP_Phys_DictationPage::cmbDefaultContext_Click(int index) {
    if (m_blnLoading || index < 0)
        return;
    m_edit.SetValue("default_context_id", std::to_string(cmbDefaultContext->itemData(index).toLongLong()));
}

void PP_Phys_DictationPage::cmdSMUser_Click() {
    std::string name = m_edit.Value("sm_user_name");
    const clsPhysicianRecord& all = m_edit.allAccounts();
    if (!chooseSpeechUser || !chooseSpeechUser(all.first_name, all.last_name, name))
        return;
    m_edit.SetValue("sm_user_name", name);
    txtSpeechMagicUserName->setText(q(name));
}

// The speech user's properties: those of the physician's user, or a new user when it has none.
void PP_Phys_DictationPage::cmdSMAdmin_Click() {
    const auto properties = SpeechDialogProperties(m_edit, m_login.user.user_name, m_contexts);
    bool changed = false;
    const std::string user = properties.at("SpeechMagicID");
    if (!user.empty()) {
        speech::PP_AddSpeechMagic::UserProperties(user, changed, this, properties);
        return;
    }
    const clsPhysicianRecord& all = m_edit.allAccounts();
    std::string created;
    if (speech::PP_AddSpeechMagic::AddSMUser(speech::PP_SpeechMagic::ProposedUserName(all.first_name, all.last_name),
                                             created, changed, this, properties)) {
        m_edit.SetValue("sm_user_name", created);
        txtSpeechMagicUserName->setText(q(created));
    }
}

// The duplicate look-up and the speech system's record of the user, now, without saving.
void PP_Phys_DictationPage::cmdCheckIds_Click() {
    std::vector<DuplicateId> hits;
    if (!FindDuplicateIds(m_edit, hits))
        return;
    std::string text;
    for (const auto& h : hits)
        text += (h.source_id == "DVI" ? std::string("Dictation Author ID") : h.source_id) + ": " + h.id + " - " +
                h.physicianName + "\r\n";
    if (text.empty())
        text = "No other physician sharing an account has these IDs.\r\n";
    const std::string name = m_edit.Value("sm_user_name");
    if (m_blnSpeechMagic && !name.empty() && name != kVarious) {
        const bool wasAttached = speech::SpeechMagic().attached;
        if (wasAttached || speech::AttachSM() == 0) {
            auto& sm = speech::SpeechMagic();
            speech::SMUserProperties user;
            const int code = sm.library.userInfo(sm.handle, name, user);
            if (code == 0) {
                std::string contexts;
                for (const auto& c : user.contexts)
                    contexts += (contexts.empty() ? "" : ", ") + c;
                text += "\r\nSpeechMagic user " + name +
                        " exists with the ConTexts: " + (contexts.empty() ? std::string("none") : contexts) + ".";
            } else {
                text += "\r\nSpeechMagic user " + name + " was not found:" + speech::SMErrorText(code);
            }
            if (!wasAttached)
                speech::DetachSM();
        }
    }
    MsgBox(text, MsgButtons::OK, hits.empty() ? MsgIcon::Information : MsgIcon::Exclamation, "Check IDs");
}

void PP_Phys_DictationPage::cmdTuner_Click() {
    const SuiteProgram tuner = FindTunerProgram();
    if (!tuner.missing.empty() ||
        !StartTuner(tuner, m_login.KALDRAIniFileName, m_login.user.user_name, m_login.user.password))
        MsgBox(tuner.missing.empty() ? "The speech tuner could not be started." : tuner.missing, MsgButtons::OK,
               MsgIcon::Exclamation, tuner.title);
}

} // namespace physicians
