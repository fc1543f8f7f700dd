#include "PP_AddSpeechMagic.h"

#include "Interaction.h"
#include "MessageService.h"
#include "SpeechCodes.h"
#include "modSpeechMagic.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace speech {

namespace {

void say(const std::string& text, platform::MsgIcon icon = platform::MsgIcon::Exclamation) {
    platform::MsgBox(text, platform::MsgButtons::OK, icon);
}

void breathe() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

std::string removalRefusal(const std::string& user, int code) {
    std::string text = "Unable to remove the selected ConText for user " + user + ": ";
    if (code == kErrProcessConflict)
        return text + "There is a conflict with the Purge Daemon or other SpeechMagic process (error " +
               std::to_string(code) + ").";
    if (code == kErrJobsExist)
        return text + "There are still dictations in the SpeechMagic system for this user (error " +
               std::to_string(code) + ").";
    return text + "SpeechMagic Error " + std::to_string(code) + ": " + SMErrorText(code);
}

} // namespace

PP_AddSpeechMagic::PP_AddSpeechMagic(const std::string& userName, bool existingUser, QWidget* parent)
    : QDialog(parent), m_blnExisting(existingUser) {
    setObjectName("PP_AddSpeechMagic");
    setWindowTitle(existingUser ? "SpeechMagic User Properties" : "Add SpeechMagic User");
    tabSM = new QTabWidget(this);
    tabSM->setObjectName("tabSM");
    auto* general = new QWidget;
    txtUserName = new QLineEdit(QString::fromStdString(userName), general);
    txtUserName->setObjectName("txtUserName");
    txtUserName->setReadOnly(existingUser);
    cmbGender = new QComboBox(general);
    cmbGender->setObjectName("cmbGender");
    cmbGender->addItems({"Please Select...", "Male", "Female"});
    cmbConTexts = new QComboBox(general);
    cmbConTexts->setObjectName("cmbConTexts");
    lstContexts = new QListWidget(general);
    lstContexts->setObjectName("lstContexts");
    auto* form = new QFormLayout(general);
    auto* nameLabel = new QLabel("&User Name:", general);
    nameLabel->setBuddy(txtUserName);
    auto* genderLabel = new QLabel("&Gender:", general);
    genderLabel->setBuddy(cmbGender);
    auto* initialLabel = new QLabel("&Initial ConText:", general);
    initialLabel->setBuddy(cmbConTexts);
    form->addRow(nameLabel, txtUserName);
    form->addRow(genderLabel, cmbGender);
    form->addRow(initialLabel, cmbConTexts);
    form->addRow(new QLabel("ConTexts:", general), lstContexts);
    tabSM->addTab(general, "&General");
    auto* channels = new QWidget;
    chkAdvAcoustics2 = new QCheckBox("&Advanced acoustics", channels);
    chkAdvAcoustics2->setObjectName("chkAdvAcoustics2");
    auto* channelLayout = new QVBoxLayout(channels);
    channelLayout->addWidget(chkAdvAcoustics2);
    channelLayout->addStretch(1);
    tabSM->addTab(channels, "Input &Channels");
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* all = new QVBoxLayout(this);
    all->addWidget(tabSM, 1);
    all->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &PP_AddSpeechMagic::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

namespace {

// The session the dialog works in: the chooser's when it is open, otherwise one attached for the
// dialog alone and detached when it closes. usable() is false after a failure that was shown.
class DialogSession {
public:
    DialogSession() {
        if (SpeechMagic().attached)
            return;
        if (!SpeechMagic().library.isLoaded() && !CheckSMInstall()) {
            const auto& error = SpeechMagic().lastError;
            say(error ? error->message() : "SpeechMagic is not installed on this workstation.",
                platform::MsgIcon::Information);
            m_usable = false;
            return;
        }
        m_usable = AttachSM() == 0;
        m_ours = m_usable;
    }
    ~DialogSession() {
        if (m_ours)
            DetachSM();
    }
    DialogSession(const DialogSession&) = delete;
    DialogSession& operator=(const DialogSession&) = delete;
    [[nodiscard]] bool usable() const { return m_usable; }

private:
    bool m_usable = true;
    bool m_ours = false;
};

} // namespace

bool PP_AddSpeechMagic::AddSMUser(const std::string& proposedName, std::string& createdName, bool& changed,
                                  QWidget* parent, const Properties& properties) {
    changed = false;
    DialogSession session;
    if (!session.usable())
        return false;
    PP_AddSpeechMagic dialog(proposedName, false, parent);
    dialog.Load();
    dialog.SetProperties(properties);
    dialog.exec();
    changed = dialog.contextsChanged();
    if (dialog.userCreated())
        createdName = dialog.userName();
    return dialog.userCreated();
}

void PP_AddSpeechMagic::UserProperties(const std::string& userName, bool& changed, QWidget* parent,
                                       const Properties& properties) {
    changed = false;
    DialogSession session;
    if (!session.usable())
        return;
    PP_AddSpeechMagic dialog(userName, true, parent);
    dialog.SetProperties(properties);
    if (dialog.Load())
        dialog.exec();
    changed = dialog.contextsChanged();
}

void PP_AddSpeechMagic::SetProperties(const Properties& properties) {
    for (const auto& [name, value] : properties)
        setProperty(name.c_str(), QString::fromStdString(value));
    const auto context = properties.find("ConText");
    if (m_blnExisting || context == properties.end() || context->second == "VARIOUS")
        return;
    if (const int at = cmbConTexts->findText(QString::fromStdString(context->second)); at >= 0)
        cmbConTexts->setCurrentIndex(at);
}

std::string PP_AddSpeechMagic::userName() const {
    return txtUserName->text().toStdString();
}

bool PP_AddSpeechMagic::Load() {
    platform::BusyPointer busy;
    LoadDictationContexts(m_contexts);
    lstContexts->clear();
    cmbConTexts->clear();
    for (const auto& c : m_contexts) {
        const QString name = QString::fromStdString(c.m_strConTextName);
        auto* item = new QListWidgetItem(name, lstContexts);
        item->setToolTip(QString::fromStdString(c.m_strContextDescription));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
        cmbConTexts->addItem(name);
    }
    if (!m_blnExisting)
        return true;
    auto& s = SpeechMagic();
    SMUserProperties props;
    if (const int code = s.library.userInfo(s.handle, userName(), props); code != 0) {
        say(SMErrorText(code));
        return false;
    }
    cmbGender->setCurrentIndex(props.gender == 1 ? 1 : props.gender == 2 ? 2 : 0);
    for (const auto& ch : props.channels)
        if (ch.type == kChannelMicrophone && ch.resolution == kResolutionAdvanced)
            chkAdvAcoustics2->setChecked(true);
    for (auto& c : m_contexts)
        c.m_blnInstalledForUser =
            std::find(props.contexts.begin(), props.contexts.end(), c.m_strConTextName) != props.contexts.end();
    showInstalled();
    if (!props.contexts.empty())
        cmbConTexts->setCurrentText(QString::fromStdString(props.contexts.front()));
    return true;
}

void PP_AddSpeechMagic::showInstalled() {
    for (int i = 0; i < lstContexts->count() && i < static_cast<int>(m_contexts.size()); ++i)
        lstContexts->item(i)->setCheckState(m_contexts[static_cast<size_t>(i)].m_blnInstalledForUser ? Qt::Checked
                                                                                                     : Qt::Unchecked);
}

std::string PP_AddSpeechMagic::checkedContext(int row) const {
    const QListWidgetItem* item = lstContexts->item(row);
    return item && item->checkState() == Qt::Checked ? item->text().toStdString() : std::string();
}

void PP_AddSpeechMagic::rereadInstalled(const std::string& user) {
    auto& s = SpeechMagic();
    SMUserProperties props;
    if (s.library.userInfo(s.handle, user, props) != 0)
        return;
    for (auto& c : m_contexts)
        c.m_blnInstalledForUser =
            std::find(props.contexts.begin(), props.contexts.end(), c.m_strConTextName) != props.contexts.end();
    showInstalled();
}

void PP_AddSpeechMagic::cmdOK_Click() {
    const std::string user = userName();
    if (user.find_first_not_of(" \t") == std::string::npos) {
        say("Please enter a SpeechMagic user name.");
        txtUserName->setFocus();
        return;
    }
    if (cmbGender->currentIndex() <= 0) {
        say("Please select the gender of the user.");
        cmbGender->setFocus();
        return;
    }
    const std::string initial = cmbConTexts->currentText().toStdString();
    bool initialChecked = false;
    for (int i = 0; i < lstContexts->count(); ++i)
        initialChecked = initialChecked || (!initial.empty() && checkedContext(i) == initial);
    if (!initialChecked) {
        say("The initial ConText must match a selected ConText in the ConText list.");
        cmbConTexts->setFocus();
        return;
    }
    const int gender = cmbGender->currentIndex();
    bool removing = false;
    for (int i = 0; i < lstContexts->count() && i < static_cast<int>(m_contexts.size()); ++i)
        removing = removing || (m_contexts[static_cast<size_t>(i)].m_blnInstalledForUser && checkedContext(i).empty());
    if (removing) {
        if (LibraryTooOldForContextRemoval()) {
            say("Please use the SpeechMagic Administration Utility to uninstall ConTexts.",
                platform::MsgIcon::Information);
            return;
        }
        if (platform::MsgBox("Are you sure you want to remove ConTexts from " + user +
                                 "?\r\nIf you choose to continue, all data related to this user and ConText will be "
                                 "deleted.",
                             platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                             "Remove ConText") != platform::MsgAnswer::Yes)
            return;
    }

    platform::BusyPointer busy;
    auto& s = SpeechMagic();
    const bool applicationForm = s.version != "5.1";
    if (!m_blnExisting) {
        SMInstallRequest request{SMInstallAction::Add, LanguageForContext(initial), gender, initial,
                                 kChannelMicrophone};
        int code = 0;
        if (applicationForm) {
            EnumSMInputChannels offered;
            if (const int enumCode = offered.Enumerate(); enumCode != 0) {
                say("Unable to add input channels for " + user + ". Error: " + SMErrorText(enumCode));
                return;
            }
            const SMChannel* mic = offered.find(kChannelMicrophone);
            SMChannel channel = mic ? *mic : SMChannel{kChannelMicrophone, request.language, 1, 1, "Microphone"};
            channel.resolution = chkAdvAcoustics2->isChecked() ? kResolutionAdvanced : kResolutionHigh;
            code = s.library.installUser2(s.handle, user, request, channel);
        } else {
            code = s.library.installUser(s.handle, user, request);
        }
        if (code != 0) {
            say("Unable to add " + initial + " context. " + SMErrorText(code));
            return;
        }
        m_blnCreated = true;
        m_blnChanged = true;
        m_blnExisting = true;
        txtUserName->setReadOnly(true);
        for (auto& c : m_contexts)
            c.m_blnInstalledForUser = c.m_strConTextName == initial;
    }
    bool ok = applyContexts(user, gender);
    if (applicationForm)
        ok = applyChannels(user, initial) && ok;
    if (!ok) {
        rereadInstalled(user);
        return;
    }
    accept();
}

bool PP_AddSpeechMagic::applyContexts(const std::string& user, int gender) {
    auto& s = SpeechMagic();
    bool ok = true;
    for (int i = 0; i < lstContexts->count() && i < static_cast<int>(m_contexts.size()); ++i) {
        clsSMContext& c = m_contexts[static_cast<size_t>(i)];
        const bool wanted = !checkedContext(i).empty();
        if (wanted == c.m_blnInstalledForUser)
            continue;
        SMInstallRequest request{wanted ? SMInstallAction::Add : SMInstallAction::RemoveContext,
                                 LanguageForContext(c.m_strConTextName), gender, c.m_strConTextName,
                                 kChannelMicrophone};
        const int code = s.library.installUser(s.handle, user, request);
        if (code == 0) {
            c.m_blnInstalledForUser = wanted;
            m_blnChanged = true;
        } else {
            ok = false;
            say(wanted ? "Unable to add " + c.m_strConTextName + " context. " + SMErrorText(code)
                       : removalRefusal(user, code));
        }
        breathe();
    }
    return ok;
}

bool PP_AddSpeechMagic::applyChannels(const std::string& user, const std::string& initialContext) {
    auto& s = SpeechMagic();
    EnumSMInputChannels offered;
    if (const int code = offered.Enumerate(); code != 0) {
        say("Unable to add input channels for " + user + ". Error: " + SMErrorText(code));
        return false;
    }
    SMUserProperties props;
    if (const int code = s.library.userInfo(s.handle, user, props); code != 0) {
        say("Unable to add input channels for " + user + ". Error: " + SMErrorText(code));
        return false;
    }
    const int resolution = chkAdvAcoustics2->isChecked() ? kResolutionAdvanced : kResolutionHigh;
    const auto has = [&props](int type, int res) {
        return std::any_of(props.channels.begin(), props.channels.end(),
                           [&](const SMChannel& c) { return c.type == type && (res < 0 || c.resolution == res); });
    };
    SMInstallRequest request{SMInstallAction::Add, props.language, 0, initialContext, kChannelMicrophone};
    bool ok = true;
    if (!has(kChannelMicrophone, resolution)) {
        const SMChannel* mic = offered.find(kChannelMicrophone);
        SMChannel channel = mic ? *mic : SMChannel{kChannelMicrophone, props.language, 1, 1, "Microphone"};
        channel.resolution = resolution;
        if (const int code = s.library.installUser2(s.handle, user, request, channel); code != 0) {
            say("Unable to add Microphone input channel for " + user + ". Error: " + SMErrorText(code));
            ok = false;
        }
    }
    const SMChannel* mobile = offered.find(kChannelMobile);
    if (mobile && !has(kChannelMobile, -1)) {
        if (const int code = s.library.installUser2(s.handle, user, request, *mobile); code != 0) {
            say("Unable to add Mobile input channel for " + user + ". Error: " + SMErrorText(code));
            ok = false;
        }
    }
    return ok;
}

} // namespace speech
