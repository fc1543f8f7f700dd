#include "PP_Phys_LinkedVoicePage.h"

#include "VV_Password_Change.h"

#include <QCheckBox>

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace physicians {

using voicesystems::clsVVUserEditor;

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string idList(const std::vector<long>& ids) {
    std::string out;
    for (long id : ids)
        out += (out.empty() ? "" : ",") + std::to_string(id);
    return out;
}

// The remote user's texts: control, caption, setter.
struct VoiceText {
    const char* control;
    const char* caption;
    void (clsVVUserEditor::*set)(int, long, const std::string&);
    std::string suite::VeltraUser::*value;
};
const VoiceText kVoiceTexts[] = {
    {"txtVVAddress", "Address:", &clsVVUserEditor::SetUserAddress, &suite::VeltraUser::Address},
    {"txtVVEmail", "E-mail:", &clsVVUserEditor::SetUserEmail, &suite::VeltraUser::Email},
    {"txtVVFax", "Fax:", &clsVVUserEditor::SetUserFax, &suite::VeltraUser::Fax},
    {"txtVVNotes", "Notes:", &clsVVUserEditor::SetUserNotes, &suite::VeltraUser::Notes},
    {"txtVVPager", "Pager:", &clsVVUserEditor::SetUserPager, &suite::VeltraUser::Pager},
    {"txtVVTelephone", "Telephone:", &clsVVUserEditor::SetUserTelephone, &suite::VeltraUser::Telephone},
};

struct VoiceFlag {
    const char* control;
    const char* caption;
    void (clsVVUserEditor::*set)(int, long, bool);
    bool suite::VeltraUser::*value;
};
const VoiceFlag kVoiceFlags[] = {
    {"chkVVAllowDictate", "Allow dictate", &clsVVUserEditor::SetAllowDictate, &suite::VeltraUser::AllowDictate},
    {"chkVVAllowListen", "Allow listen", &clsVVUserEditor::SetAllowListen, &suite::VeltraUser::AllowListen},
    {"chkVVAllowOpenTasks", "Allow open tasks", &clsVVUserEditor::SetAllowOpenTasks,
     &suite::VeltraUser::AllowOpenTasks},
    {"chkVVSuspended", "Suspended", &clsVVUserEditor::SetSuspended, &suite::VeltraUser::Suspended},
    {"chkVVAllowRouteChange", "Allow route change", &clsVVUserEditor::SetAllowRouteChange,
     &suite::VeltraUser::AllowRouteChange},
};

struct VoiceNumber {
    const char* control;
    const char* caption;
    void (clsVVUserEditor::*set)(int, long, int);
    int suite::VeltraUser::*value;
    int minimum, maximum;
};
const VoiceNumber kVoiceNumbers[] = {
    {"spnVVGain", "Gain:", &clsVVUserEditor::SetGain, &suite::VeltraUser::Gain, -20, 20},
    {"spnVVNumOpenTasks", "Open tasks:", &clsVVUserEditor::SetNumOpenTasks, &suite::VeltraUser::NumOpenTasks, 0, 99},
    {"spnVVPauseAlertInterval", "Pause alert (s):", &clsVVUserEditor::SetPauseAlertInterval,
     &suite::VeltraUser::PauseAlertInterval, 0, 3600},
    {"spnVVAccelFactor", "Acceleration:", &clsVVUserEditor::SetAccelFactor, &suite::VeltraUser::AccelFactor, 0, 10},
    {"spnVVAutoBackInc", "Auto back (s):", &clsVVUserEditor::SetAutoBackInc, &suite::VeltraUser::AutoBackInc, 0, 60},
    {"spnVVFFInc", "Fast forward (s):", &clsVVUserEditor::SetFFInc, &suite::VeltraUser::FFInc, 0, 60},
    {"spnVVRewInc", "Rewind (s):", &clsVVUserEditor::SetRewInc, &suite::VeltraUser::RewInc, 0, 60},
};

} // namespace

PP_Phys_LinkedVoicePage::PP_Phys_LinkedVoicePage(QWidget* parent) : QWidget(parent) {
    setObjectName("PP_Phys_LinkedVoicePage");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QFormLayout;
    cmbVVSystem = new QComboBox(this);
    cmbVVSystem->setObjectName("cmbVVSystem");
    cmbVVFacility = new QComboBox(this);
    cmbVVFacility->setObjectName("cmbVVFacility");
    chkVVLink = new QCheckBox("Linked", this);
    chkVVLink->setObjectName("chkVVLink");
    top->addRow("Voice System:", cmbVVSystem);
    top->addRow("Facility:", cmbVVFacility);
    top->addRow(chkVVLink);
    cmdVVPassword = new QPushButton("&Password...", this);
    cmdVVPassword->setObjectName("cmdVVPassword");
    top->addRow(cmdVVPassword);
    layout->addLayout(top);

    m_settings = new QWidget(this);
    auto* grid = new QGridLayout(m_settings);
    auto* form = new QFormLayout;
    cmbVVSecurityGroup = new QComboBox(m_settings);
    cmbVVSecurityGroup->setObjectName("cmbVVSecurityGroup");
    cmbVVConfigGroup = new QComboBox(m_settings);
    cmbVVConfigGroup->setObjectName("cmbVVConfigGroup");
    form->addRow("Security Group:", cmbVVSecurityGroup);
    form->addRow("Configuration Group:", cmbVVConfigGroup);
    for (const auto& t : kVoiceTexts) {
        auto* box = new QLineEdit(m_settings);
        box->setObjectName(t.control);
        form->addRow(t.caption, box);
        connect(box, &QLineEdit::textEdited, this, [this, &t](const QString& text) {
            onEdit([&](long s, long f) { (m_editor.*t.set)(static_cast<int>(s), f, text.toStdString()); });
        });
    }
    grid->addLayout(form, 0, 0);
    auto* right = new QFormLayout;
    for (const auto& b : kVoiceFlags) {
        auto* box = new QCheckBox(b.caption, m_settings);
        box->setObjectName(b.control);
        right->addRow(box);
        connect(box, &QCheckBox::clicked, this, [this, &b](bool on) {
            onEdit([&](long s, long f) { (m_editor.*b.set)(static_cast<int>(s), f, on); });
        });
    }
    for (const auto& n : kVoiceNumbers) {
        auto* box = new QSpinBox(m_settings);
        box->setObjectName(n.control);
        box->setRange(n.minimum, n.maximum);
        right->addRow(n.caption, box);
        connect(box, &QSpinBox::valueChanged, this,
                [this, &n](int v) { onEdit([&](long s, long f) { (m_editor.*n.set)(static_cast<int>(s), f, v); }); });
    }
    grid->addLayout(right, 0, 1);
    layout->addWidget(m_settings);
    labVVPlan = new QLabel(this);
    labVVPlan->setObjectName("labVVPlan");
    labVVStatus = new QLabel(this);
    labVVStatus->setObjectName("labVVStatus");
    labVVStatus->setWordWrap(true);
    layout->addWidget(labVVPlan);
    layout->addWidget(labVVStatus);
    layout->addStretch();

    connect(cmbVVSystem, &QComboBox::activated, this, &PP_Phys_LinkedVoicePage::cmbVVSystem_Click);
    connect(cmbVVFacility, &QComboBox::activated, this, &PP_Phys_LinkedVoicePage::cmbVVFacility_Click);
    connect(chkVVLink, &QCheckBox::clicked, this, &PP_Phys_LinkedVoicePage::chkVVLink_Click);
    connect(cmdVVPassword, &QPushButton::clicked, this, &PP_Phys_LinkedVoicePage::cmdVVPassword_Click);
    connect(cmbVVSecurityGroup, &QComboBox::activated, this, [this](int i) {
        const long group = cmbVVSecurityGroup->itemData(i).toLongLong();
        onEdit([&](long s, long f) { m_editor.SetSecurityGroup(static_cast<int>(s), f, group); });
    });
    connect(cmbVVConfigGroup, &QComboBox::activated, this, [this](int i) {
        const long group = cmbVVConfigGroup->itemData(i).toLongLong();
        onEdit([&](long s, long f) { m_editor.SetConfigurationGroup(static_cast<int>(s), f, group); });
    });
}

template <typename Apply>
void PP_Phys_LinkedVoicePage::onEdit(Apply apply) {
    if (m_blnLoading || cmbVVFacility->currentIndex() < 0)
        return;
    apply(systemId(), facility());
    showPlan();
}

int PP_Phys_LinkedVoicePage::systemId() const {
    return cmbVVSystem->currentData().toInt();
}

long PP_Phys_LinkedVoicePage::facility() const {
    return static_cast<long>(cmbVVFacility->currentData().toLongLong());
}

void PP_Phys_LinkedVoicePage::Load(long physicianId, const std::string& firstName, const std::string& lastName,
                                   const std::vector<long>& accounts) {
    m_lngPhysicianId = physicianId;
    labVVStatus->clear();
    if (!m_editor.EditVVUser(std::max(0L, physicianId), firstName, lastName,
                             physicianId < 0 ? std::string() : idList(accounts)))
        return;
    fetchUnread();
    fillSystems();
}

// Reads the remote user of every association not read yet; the ones that failed are named.
void PP_Phys_LinkedVoicePage::fetchUnread() {
    std::string failures;
    for (const auto& [system, name] : m_editor.GetSystems())
        for (long f : m_editor.GetFacilities(system))
            if (!m_editor.UserData(system, f))
                if (const std::string answer = m_editor.FetchUserData(system, f); answer != suite::VeltraServices::kOK)
                    failures += name + ", Facility " + std::to_string(f) + ": " + answer + "\n";
    labVVStatus->setText(q(failures));
}

void PP_Phys_LinkedVoicePage::AccountsAdded(const std::vector<long>& accounts) {
    if (m_lngPhysicianId < 0 || accounts.empty())
        return;
    m_editor.AddAccts(idList(accounts));
    fetchUnread();
    fillSystems();
}

void PP_Phys_LinkedVoicePage::AccountsRemoved(const std::vector<long>& accounts) {
    if (m_lngPhysicianId < 0 || accounts.empty())
        return;
    m_editor.RemoveAccts(idList(accounts));
    showAssociation();
}

void PP_Phys_LinkedVoicePage::fillSystems() {
    m_blnLoading = true;
    const int keep = cmbVVSystem->currentData().isValid() ? systemId() : -1;
    cmbVVSystem->clear();
    for (const auto& [id, name] : m_editor.GetSystems())
        cmbVVSystem->addItem(q(name), id);
    const int at = cmbVVSystem->findData(keep);
    cmbVVSystem->setCurrentIndex(at >= 0 ? at : cmbVVSystem->count() > 0 ? 0 : -1);
    m_blnLoading = false;
    cmbVVSystem_Click(cmbVVSystem->currentIndex());
}

void PP_Phys_LinkedVoicePage::cmbVVSystem_Click(int index) {
    m_blnLoading = true;
    cmbVVFacility->clear();
    cmbVVSecurityGroup->clear();
    cmbVVConfigGroup->clear();
    if (index >= 0) {
        for (long f : m_editor.GetFacilities(systemId()))
            cmbVVFacility->addItem(QString::number(f), static_cast<qlonglong>(f));
        suite::NamedGroups groups;
        cmbVVSecurityGroup->addItem("<None>", 0);
        if (m_editor.GetNamedSecurityGroups(systemId(), groups) == suite::VeltraServices::kOK)
            for (const auto& [id, name] : groups)
                cmbVVSecurityGroup->addItem(q(name), static_cast<qlonglong>(id));
        groups.clear();
        cmbVVConfigGroup->addItem("<None>", 0);
        if (m_editor.GetNamedConfigGroups(systemId(), groups) == suite::VeltraServices::kOK)
            for (const auto& [id, name] : groups)
                cmbVVConfigGroup->addItem(q(name), static_cast<qlonglong>(id));
        cmbVVFacility->setCurrentIndex(cmbVVFacility->count() > 0 ? 0 : -1);
    }
    m_blnLoading = false;
    showAssociation();
}

void PP_Phys_LinkedVoicePage::cmbVVFacility_Click(int) {
    showAssociation();
}

void PP_Phys_LinkedVoicePage::chkVVLink_Click(bool checked) {
    if (m_blnLoading || cmbVVFacility->currentIndex() < 0)
        return;
    m_editor.SetLinkEnabled(systemId(), facility(), checked);
    showAssociation();
}

void PP_Phys_LinkedVoicePage::showAssociation() {
    m_blnLoading = true;
    const suite::VeltraUser* user =
        cmbVVFacility->currentIndex() >= 0 ? m_editor.UserData(systemId(), facility()) : nullptr;
    const bool enabled = user && m_editor.IsLinkEnabled(systemId(), facility());
    // An association whose accounts were all taken from the physician can only stay off.
    const bool applies = user && m_editor.HasAccounts(systemId(), facility());
    chkVVLink->setEnabled(applies);
    chkVVLink->setChecked(enabled);
    chkVVLink->setToolTip(!user || applies ? enabled ? "Uncheck to Remove from VV" : "Check to Add to VV"
                                           : "None of this physician's accounts is linked to this facility.");
    m_settings->setEnabled(enabled);
    const suite::VeltraUser shown = user ? *user : suite::VeltraUser{};
    for (const auto& t : kVoiceTexts)
        findChild<QLineEdit*>(t.control)->setText(q(shown.*t.value));
    for (const auto& b : kVoiceFlags)
        findChild<QCheckBox*>(b.control)->setChecked(shown.*b.value);
    for (const auto& n : kVoiceNumbers)
        findChild<QSpinBox*>(n.control)->setValue(shown.*n.value);
    cmbVVSecurityGroup->setCurrentIndex(
        std::max(0, cmbVVSecurityGroup->findData(static_cast<qlonglong>(shown.SecurityGroup))));
    cmbVVConfigGroup->setCurrentIndex(
        std::max(0, cmbVVConfigGroup->findData(static_cast<qlonglong>(shown.ConfigurationGroup))));
    bool saved = false;
    for (const auto& [system, name] : m_editor.GetSystems())
        for (long f : m_editor.GetFacilities(system))
            saved = saved || m_editor.IsLinkSaved(system, f);
    cmdVVPassword->setEnabled(saved);
    cmdVVPassword->setToolTip(saved ? QString()
                                    : "A password can be set once the physician is a user of a linked voice system.");
    m_blnLoading = false;
    showPlan();
}

void PP_Phys_LinkedVoicePage::cmdVVPassword_Click() {
    voicesystems::VV_Password_Change(m_editor, this).ShowMe();
}

std::string PP_Phys_LinkedVoicePage::PlannedChanges() {
    std::string text;
    for (const auto& [system, name] : m_editor.GetSystems())
        for (long f : m_editor.GetFacilities(system))
            if (const std::string action = m_editor.PlannedAction(system, f); !action.empty())
                text += name + ", Facility " + std::to_string(f) + ": " + action + "\n";
    return text;
}

void PP_Phys_LinkedVoicePage::showPlan() {
    const std::string plan = PlannedChanges();
    labVVPlan->setText(plan.empty() ? QString() : "On saving:\n" + q(plan));
}

int PP_Phys_LinkedVoicePage::SaveAll(long physicianId, const std::string& firstName, const std::string& lastName) {
    if (m_lngPhysicianId < 0 || physicianId <= 0)
        return 0;
    m_lngPhysicianId = physicianId;
    m_editor.SetPhysician(physicianId, firstName, lastName);
    const int failures = m_editor.SaveAll();
    // What is still planned after the save is what could not be done.
    const std::string left = PlannedChanges();
    labVVStatus->setText(failures == 0 ? QString() : "Not saved to the voice systems:\n" + q(left));
    showAssociation();
    return failures;
}

int PP_Phys_LinkedVoicePage::RemoveUserIdFromAllLinkedVoiceSystems() {
    if (m_lngPhysicianId <= 0)
        return 0;
    const int failures = m_editor.RemoveVeltraUserFromAllSystems();
    showAssociation();
    return failures;
}

} // namespace physicians
