#include "PP_Add_Phys.h"

#include "EventLog.h"
#include "LastModifiedText.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "PP_Account_List.h"
#include "PP_Phys_DictationPage.h"
#include "PP_Phys_LinkedVoicePage.h"
#include "PP_Phys_RecognitionPage.h"
#include "PhysicianProfileRules.h"
#include "SuitePrograms.h"
#include "clsPhysicianSummaryRecord.h"
#include "modPartition.h"
#include "modPhysicianList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace physicians {

using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string s(const QString& t) {
    return t.toStdString();
}

// The General page's text boxes: control, caption, field.
struct TextControl {
    const char* control;
    const char* caption;
    const char* field;
};
const TextControl kGeneralTexts[] = {
    {"TFirstName", "First Name or Dept. Name:", "first_name"},
    {"TLastName", "Last Name:", "last_name"},
    {"TInitials", "Initials:", "initials"},
    {"TTitle1", "Title 1:", "title_1"},
    {"TTitle2", "Title 2:", "title_2"},
    {"TTitle3", "Title 3:", "title_3"},
    {"TTitle4", "Title 4:", "title_4"},
    {"TTitle5", "Title 5:", "title_5"},
    {"TTitle6", "Title 6:", "title_6"},
    {"TGroupAffiliation", "Group Affiliation:", "group_affiliation"},
    {"TDictationID", "Dictation #:", "dictation_id"},
    {"txtDVIid", "Dictation Author ID:", "dvi_id"},
    {"TMISNbr1", "MIS Nbr 1:", "mis_nbr_1"},
    {"TMISNbr2", "MIS Nbr 2:", "mis_nbr_2"},
    {"TVerifyPhysId", "Verify Physician ID:", "string1"},
    {"TPhoneNbr1", "Phone 1:", "phone_nbr_1"},
    {"TPhoneNbr2", "Phone 2:", "phone_nbr_2"},
    {"TAddress1", "Address 1:", "address_1"},
    {"TAddress2", "Address 2:", "address_2"},
    {"TAddress3", "Address 3:", "address_3"},
    {"TCity", "City:", "city"},
    {"TState", "State:", "state"},
    {"TZipCode", "Zip Code:", "zip_code"},
    {"TCountry", "Country:", "country"},
};
// The name boxes greyed for a user who may not change the physician itself.
const char* const kNameControls[] = {"TFirstName", "TLastName", "TInitials", "TTitle1", "txtDVIid"};

} // namespace

PP_Add_Phys::PP_Add_Phys(suite::LoginComponent& login, QWidget* parent) : QDialog(parent), m_login(login) {
    setObjectName("PP_Add_Phys");
    build();
    chooseAccounts = [this](std::vector<long>& accounts) {
        PP_Account_List dialog(m_login, PP_Account_List::Mode::AddAccounts, this);
        bool ok = false;
        accounts = dialog.Add({}, ok);
        return ok;
    };
}

PP_Add_Phys::~PP_Add_Phys() {
    Partitions().physicianPartition.reset();
}

void PP_Add_Phys::build() {
    auto* layout = new QVBoxLayout(this);
    tabPages = new QTabWidget(this);
    tabPages->setObjectName("tabPages");
    tabPages->addTab(generalPage(), "&General");
    tabPages->addTab(accountsPage(), "A&ccounts");
    tabPages->addTab(outputPage(), "&Output");
    tabPages->addTab(weightingPage(), "&Weighting");
    tabPages->addTab(addendumsPage(), "A&ddendums");
    m_dictation = new PP_Phys_DictationPage(m_edit, m_login, this);
    m_recognition = new PP_Phys_RecognitionPage(
        m_edit, [this] { return reportTypes(); }, this);
    tabPages->addTab(m_dictation, "D&ictation");
    tabPages->addTab(m_recognition, "&Recognition");
    m_linkedVoice = new PP_Phys_LinkedVoicePage(this);
    tabPages->addTab(m_linkedVoice, "&Linked Voice");
    layout->addWidget(tabPages);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    BOK = new QPushButton("&Update", this);
    BOK->setObjectName("BOK");
    BOK->setDefault(true);
    BCancel = new QPushButton("&Cancel", this);
    BCancel->setObjectName("BCancel");
    auto* BChanges = new QPushButton("C&hanges...", this);
    BChanges->setObjectName("BChanges");
    connect(BChanges, &QPushButton::clicked, this, &PP_Add_Phys::BChanges_Click);
    buttons->insertWidget(0, BChanges);
    buttons->addWidget(BOK);
    buttons->addWidget(BCancel);
    layout->addLayout(buttons);
    connect(BOK, &QPushButton::clicked, this, &PP_Add_Phys::BOK_Click);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* PP_Add_Phys::generalPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    for (const auto& t : kGeneralTexts) {
        auto* box = new QLineEdit(page);
        box->setObjectName(t.control);
        form->addRow(t.caption, box);
        bindText(box, t.field);
    }
    auto* type = new QCheckBox("Department", page);
    type->setObjectName("CHKPhysicianType");
    bindCheck(type, "physician_type");
    auto* hidden = new QCheckBox("Hide Physician", page);
    hidden->setObjectName("chkHidePhysician");
    bindCheck(hidden, "is_hidden");
    chkElectSignature = new QCheckBox("User Access", page);
    chkElectSignature->setObjectName("chkElectSignature");
    connect(chkElectSignature, &QCheckBox::clicked, this, &PP_Add_Phys::chkElectSignature_Click);
    form->addRow(type);
    form->addRow(hidden);
    form->addRow(chkElectSignature);
    auto* cmdDVI = new QPushButton("Dictation System...", page);
    cmdDVI->setObjectName("cmdDVI");
    // The dictation device system's program, or the voice system manager; a missing one says why.
    const SuiteProgram dvi = FindDictationSystemProgram();
    cmdDVI->setEnabled(dvi.missing.empty());
    cmdDVI->setToolTip(q(dvi.missing));
    connect(cmdDVI, &QPushButton::clicked, this, [] {
        const SuiteProgram program = FindDictationSystemProgram();
        if (!program.missing.empty() || !StartSuiteProgram({program.path}, ""))
            MsgBox(program.missing.empty() ? program.path + " could not be started." : program.missing, MsgButtons::OK,
                   MsgIcon::Exclamation, program.title);
    });
    form->addRow(cmdDVI);
    LFullName = new QLabel(page);
    LFullName->setObjectName("LFullName");
    labPartitionName = new QLabel(page);
    labPartitionName->setObjectName("labPartitionName");
    labPhysId = new QLabel(page);
    labPhysId->setObjectName("labPhysId");
    labLastModified = new QLabel(page);
    labLastModified->setObjectName("labLastModified");
    for (QLabel* l : {LFullName, labPartitionName, labPhysId, labLastModified})
        form->addRow(l);
    return page;
}

QWidget* PP_Add_Phys::accountsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    txtSelectAccount = new QLineEdit(page);
    txtSelectAccount->setObjectName("txtSelectAccount");
    txtSelectAccount->setReadOnly(true);
    layout->addWidget(txtSelectAccount);
    LBAccounts = new QListWidget(page);
    LBAccounts->setObjectName("LBAccounts");
    LBAccounts->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(LBAccounts);
    labAccountSummary = new QLabel(page);
    labAccountSummary->setObjectName("labAccountSummary");
    layout->addWidget(labAccountSummary);
    auto* buttons = new QHBoxLayout;
    BAddAccount = new QPushButton("&Add Accounts...", page);
    BAddAccount->setObjectName("BAddAccount");
    BDeleteAccount = new QPushButton("&Remove Accounts", page);
    BDeleteAccount->setObjectName("BDeleteAccount");
    BUseAllAccounts = new QPushButton("Use All-Accounts &Values", page);
    BUseAllAccounts->setObjectName("BUseAllAccounts");
    for (QPushButton* b : {BAddAccount, BDeleteAccount, BUseAllAccounts})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(LBAccounts, &QListWidget::itemSelectionChanged, this, &PP_Add_Phys::accountsSelected);
    connect(BAddAccount, &QPushButton::clicked, this, &PP_Add_Phys::BAddAccount_Click);
    connect(BDeleteAccount, &QPushButton::clicked, this, &PP_Add_Phys::BDeleteAccount_Click);
    connect(BUseAllAccounts, &QPushButton::clicked, this, [this] {
        m_edit.UseAllAccountsValues();
        fillAccounts();
    });
    return page;
}

QWidget* PP_Add_Phys::addendumsPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    TAddendumNormal = new QPlainTextEdit(page);
    TAddendumNormal->setObjectName("TAddendumNormal");
    TAddendumSwitches = new QPlainTextEdit(page);
    TAddendumSwitches->setObjectName("TAddendumSwitches");
    form->addRow("Addendum Text:", TAddendumNormal);
    form->addRow("System Switches:", TAddendumSwitches);
    return page;
}

void PP_Add_Phys::bindText(QLineEdit* box, const char* field) {
    m_texts[field] = box;
    if (const ProfileFieldInfo* f = FindProfileField(field); f && f->maxChars > 0)
        box->setMaxLength(static_cast<int>(f->maxChars));
    connect(box, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        if (m_blnLoading)
            return;
        m_edit.SetValue(field, s(text));
        if (std::string(field) == "first_name" || std::string(field) == "last_name")
            LFullName->setText(q(m_edit.Value("last_name") + ", " + m_edit.Value("first_name")));
    });
}

void PP_Add_Phys::bindCheck(QCheckBox* box, const char* field) {
    m_checks[field] = box;
    connect(box, &QCheckBox::clicked, this, [this, box, field](bool checked) {
        if (m_blnLoading)
            return;
        box->setTristate(false);
        m_edit.SetValue(field, checked ? "1" : "0");
    });
}

// ---- opening ----------------------------------------------------------------------------------------

bool PP_Add_Phys::EditPhysician(long physicianId, Mode mode) {
    if (!m_edit.Load(physicianId, mode))
        return false;
    m_printers.Load(m_login);
    Partitions().physicianPartition = m_edit.allAccounts().Partition_ID;
    fillAccounts();
    loadLinkedVoice();
    return true;
}

// The remote users of the linked voice systems; the template for new physicians has none.
void PP_Add_Phys::loadLinkedVoice() {
    const clsPhysicianRecord& all = m_edit.allAccounts();
    m_linkedVoice->Load(m_edit.mode() == Mode::EditDefault ? -1 : m_edit.physicianId(), all.first_name, all.last_name,
                        m_edit.accounts());
}

bool PP_Add_Phys::AddPhysician(const std::vector<long>& accounts, long partitionId) {
    if (!m_edit.StartNew(accounts, partitionId))
        return false;
    m_printers.Load(m_login);
    Partitions().physicianPartition = partitionId;
    fillAccounts();
    loadLinkedVoice();
    return true;
}

void PP_Add_Phys::AddAnother(long partitionId) {
    m_edit.StartAnother(partitionId);
    m_printers.Load(m_login);
    Partitions().physicianPartition = partitionId;
    m_blnSaved = false;
    fillAccounts();
    loadLinkedVoice();
}

std::string PP_Add_Phys::accountName(long account) const {
    if (account == -1)
        return "<All New Accounts>";
    const int index = m_login.GetAcctIndex(account);
    const std::string name = index > 0 ? m_login.HospAccountAt(index).hosp_acct_name : std::to_string(account);
    const long partition = index > 0 ? m_login.HospAccountAt(index).Partition_ID : 0;
    return QualifyWithPartition(name, partition);
}

void PP_Add_Phys::fillAccounts() {
    const bool wasLoading = m_blnLoading;
    m_blnLoading = true;
    const std::vector<long> keep = m_edit.selection();
    LBAccounts->clear();
    const std::vector<long> accounts = m_edit.mode() == Mode::EditDefault ? std::vector<long>{-1} : m_edit.accounts();
    for (long a : accounts) {
        // Accounts with values of their own are marked; the others follow the all-accounts values.
        auto* item = new QListWidgetItem(q(accountName(a) + (a != -1 && m_edit.Overrides(a) ? "  *" : "")));
        item->setData(Qt::UserRole, static_cast<qlonglong>(a));
        LBAccounts->addItem(item);
        item->setSelected(std::find(keep.begin(), keep.end(), a) != keep.end());
    }
    m_blnLoading = wasLoading;
    accountsSelected();
}

void PP_Add_Phys::accountsSelected() {
    if (m_blnLoading)
        return;
    std::vector<long> chosen;
    for (const QListWidgetItem* item : LBAccounts->selectedItems())
        chosen.push_back(item->data(Qt::UserRole).toLongLong());
    m_edit.Select(chosen);
    txtSelectAccount->setText(chosen.size() == 1 ? LBAccounts->selectedItems().front()->text()
                              : chosen.empty()   ? QString()
                                                 : QString::number(chosen.size()) + " accounts selected");
    showValues();
}

void PP_Add_Phys::showValues() {
    m_blnLoading = true;
    const bool none = m_edit.selection().empty();
    for (auto& [field, box] : m_texts) {
        const ProfileFieldInfo* f = FindProfileField(field);
        box->setText(none && f && !f->physician ? QString() : q(m_edit.Value(field)));
        box->setCursorPosition(0);
    }
    for (auto& [field, box] : m_checks) {
        const std::string v = m_edit.Value(field);
        box->setTristate(v == kVarious);
        box->setCheckState(v == kVarious ? Qt::PartiallyChecked : v != "0" && !v.empty() ? Qt::Checked : Qt::Unchecked);
    }
    showOutput();
    showWeighting();
    m_dictation->Show();
    m_recognition->Show(txtSelectAccount->text());
    const std::string sig = m_edit.Value("elect_signature");
    chkElectSignature->setTristate(sig == kVarious);
    chkElectSignature->setCheckState(sig == kVarious ? Qt::PartiallyChecked : sig != "0" ? Qt::Checked : Qt::Unchecked);
    TAddendumNormal->setPlainText(q(m_edit.AddendumText(false)));
    TAddendumSwitches->setPlainText(q(m_edit.AddendumText(true)));
    const clsPhysicianRecord& all = m_edit.allAccounts();
    LFullName->setText(q(all.last_name + ", " + all.first_name));
    labPartitionName->setText(q(GetPartitionName(all.Partition_ID)));
    labPhysId->setText(m_edit.mode() == Mode::Add ? QString()
                                                  : "Physician ID: " + QString::number(m_edit.physicianId()));
    labLastModified->setText(q(LastModifiedText(all.last_modified_date, all.last_modified_user)));
    const char* caption = m_edit.mode() == Mode::Add           ? "Add Physician"
                          : m_edit.mode() == Mode::EditDefault ? "Edit Default Physician"
                                                               : "Edit Physician";
    setWindowTitle(caption);
    BOK->setText(m_edit.mode() == Mode::Add ? "&Insert" : "&Update");
    m_blnLoading = false;
    applyAccess();
}

// What the user may change: privilege 9 for anything; the physician's own values where it may
// change the physician; the per-account pages where it may change every selected account.
void PP_Add_Phys::applyAccess() {
    const bool alter = m_login.user.privilege(kPrivAlterPhysicianProfiles);
    bool physician = alter && m_edit.mode() != Mode::Edit;
    for (long a : m_edit.accounts())
        physician = physician || CanEditCurrentPhysician(a);
    bool accounts = alter && !m_edit.selection().empty();
    if (m_edit.mode() != Mode::EditDefault)
        for (long a : m_edit.selection())
            accounts = accounts && CanEditAccountPhysician(a);
    for (const char* name : kNameControls)
        if (auto* box = findChild<QLineEdit*>(name))
            box->setEnabled(physician);
    m_checks["is_hidden"]->setEnabled(physician);
    for (auto& [field, box] : m_texts)
        if (!FindProfileField(field)->physician)
            box->setReadOnly(!accounts);
    setOutputEnabled(accounts);
    LViewOnlyWeight->setVisible(!accounts);
    for (QWidget* w : std::initializer_list<QWidget*>{OPTNoWeighting, OPTDirectWeighting, OPTPercentWeighting,
                                                      TReportDirectWeight, TReportPercentWeight, BApplyDefaultWeight})
        w->setEnabled(accounts);
    const bool accountButtons = alter && m_edit.mode() != Mode::EditDefault;
    BAddAccount->setEnabled(accountButtons);
    BDeleteAccount->setEnabled(accountButtons);
    BUseAllAccounts->setEnabled(accountButtons && accounts);
    BOK->setEnabled(alter);
    m_dictation->SetEditable(physician, accounts);
    m_recognition->SetEditable(accounts);
}

// ---- commands ------------------------------------------------------------------------------------

void PP_Add_Phys::chkElectSignature_Click(bool checked) {
    chkElectSignature->setTristate(false);
    const clsPhysicianRecord& all = m_edit.allAccounts();
    if (checked) {
        if (MsgBox("User access has been enabled for this physician.  Press OK to assign a user name and access "
                   "additional options through User Management.  Press Cancel to disable user access for this "
                   "physician.",
                   MsgButtons::OKCancel, MsgIcon::Information, "Physician User Access") != MsgAnswer::OK) {
            chkElectSignature->setChecked(false);
            return;
        }
        m_edit.SetValue("elect_signature", "1");
        m_lngUserToDelete = 0;
        // A new physician has no id for its user to point at until it is saved.
        if (m_edit.mode() == Mode::Add)
            m_blnUserAfterSave = true;
        else
            openLinkedUser();
        return;
    }
    m_blnUserAfterSave = false;
    m_pendingUser.reset();
    if (all.paxlet_user_id > 0) {
        MsgBox("This physician has been assigned a user name.  Unchecking this option will delete the user " +
                   all.paxlet_user_name + " upon saving this physician.",
               MsgButtons::OK, MsgIcon::Exclamation, "Physician User Access");
        m_lngUserToDelete = all.paxlet_user_id;
    }
    m_edit.SetValue("elect_signature", "0");
}

void PP_Add_Phys::openLinkedUser() {
    if (!openUserEditor)
        return;
    const clsPhysicianRecord& all = m_edit.allAccounts();
    if (auto user =
            openUserEditor({m_edit.physicianId(), all.paxlet_user_id, all.first_name, all.last_name, all.Partition_ID}))
        m_pendingUser = std::move(user);
}

bool PP_Add_Phys::savePendingUser() {
    if (!m_pendingUser)
        return true;
    const auto user = m_pendingUser->save();
    // A user that was not written is given up (its editor showed why); checking the box again opens a new one.
    m_pendingUser.reset();
    if (!user)
        return false;
    m_edit.LinkUser(user->first, user->second);
    return true;
}

// What OK would write, before anything is sent: field, old and new value, and the accounts.
void PP_Add_Phys::BChanges_Click() {
    if (!commitFaxTimes() || !commitWeight())
        return;
    std::string text;
    for (const auto& c : m_edit.Changes()) {
        std::string accounts;
        for (long a : c.accounts)
            accounts += (accounts.empty() ? "" : ", ") + accountName(a);
        text += c.field + ": \"" + c.oldValue + "\" -> \"" + c.newValue + "\" (" + accounts + ")\r\n";
    }
    if (const std::string voice = m_linkedVoice->PlannedChanges(); !voice.empty())
        text += "Linked voice systems:\r\n" + voice;
    MsgBox(text.empty() ? std::string("Nothing has been changed.") : text, MsgButtons::OK, MsgIcon::Information,
           "Changes");
}

void PP_Add_Phys::BAddAccount_Click() {
    std::vector<long> chosen;
    if (!chooseAccounts || !chooseAccounts(chosen))
        return;
    m_edit.AddAccounts(chosen);
    m_linkedVoice->AccountsAdded(chosen);
    fillAccounts();
}

void PP_Add_Phys::BDeleteAccount_Click() {
    std::vector<long> remove;
    std::string refused;
    for (const QListWidgetItem* item : LBAccounts->selectedItems()) {
        const long a = item->data(Qt::UserRole).toLongLong();
        if (CanEditAccountPhysician(a))
            remove.push_back(a);
        else
            refused += "-->  " + accountName(a) + "\r\n";
    }
    if (!refused.empty())
        MsgBox("ACCESS DENIED:  You do not have access to delete these account(s) from this physician:\r\n\r\n" +
                   refused + "\r\nThese account(s) will be skipped.",
               MsgButtons::OK, MsgIcon::Exclamation, kSecurityTitle);
    m_edit.RemoveAccounts(remove);
    m_linkedVoice->AccountsRemoved(remove);
    fillAccounts();
}

void PP_Add_Phys::focusField(const std::string& field) {
    if (field == "accounts") {
        tabPages->setCurrentIndex(1);
        LBAccounts->setFocus();
        return;
    }
    if (field == "elect_signature") {
        tabPages->setCurrentIndex(0);
        chkElectSignature->setFocus();
        return;
    }
    if (m_dictation->Focus(field) || m_recognition->Focus(field)) {
        tabPages->setCurrentWidget(m_dictation->Focus(field) ? static_cast<QWidget*>(m_dictation) : m_recognition);
        m_dictation->Focus(field) || m_recognition->Focus(field);
        return;
    }
    if (auto it = m_texts.find(field); it != m_texts.end()) {
        for (int i = 0; i < tabPages->count(); ++i)
            if (tabPages->widget(i)->isAncestorOf(it->second))
                tabPages->setCurrentIndex(i);
        it->second->setFocus();
    }
}

void PP_Add_Phys::BOK_Click() {
    if (!commitFaxTimes() || !commitWeight())
        return;
    // Text typed into the addendum boxes goes to the selected accounts as one value.
    const std::string addenda = s(TAddendumNormal->toPlainText()), switches = s(TAddendumSwitches->toPlainText());
    if (addenda != m_edit.AddendumText(false) && m_edit.SetAddendumText(false, addenda))
        MsgBox(
            "The Addendum Text contains one or more lines that exceed 77 characters.\r\nThis text will be truncated.",
            MsgButtons::OK, MsgIcon::Critical, "Error");
    if (switches != m_edit.AddendumText(true) && m_edit.SetAddendumText(true, switches))
        MsgBox("The System Switches contains one or more lines that exceed 77 characters.\r\nThis text will be "
               "truncated.",
               MsgButtons::OK, MsgIcon::Critical, "Error");
    const clsPhysicianRecord& all = m_edit.allAccounts();
    if (m_edit.mode() == Mode::Edit && m_edit.accounts().empty()) {
        if (MsgBox("No accounts are listed for this physician.\r\nDo you wish to delete this physician from all "
                   "accounts?",
                   MsgButtons::YesNo, MsgIcon::Question, "Delete Physician") != MsgAnswer::Yes)
            return;
        if (all.paxlet_user_id > 0 && !m_login.user.is_paxlet_admin) {
            MsgBox("This physician cannot be deleted because it is a physician and you do not have Paxlet "
                   "Administrator privileges.",
                   MsgButtons::OK, MsgIcon::Exclamation, "Delete Physician");
            return;
        }
        clsPhysicianSummaryRecord r;
        r.CopyStateFromDetailRecord(all);
        r.physician_id = m_edit.physicianId();
        if (DeletePhysician(r)) {
            m_linkedVoice->RemoveUserIdFromAllLinkedVoiceSystems(); // a deleted physician is a user nowhere
            m_blnSaved = true;
            accept();
        }
        return;
    }
    if (const auto refusal = CheckProfile(m_edit, {m_login.user.is_paxlet_admin, m_dictation->speechMachinesInUse()})) {
        MsgBox(refusal->text, MsgButtons::OK, refusal->icon, refusal->title);
        focusField(refusal->field);
        return;
    }
    if (const std::string warning = LinkedFirstNameWarning(m_edit); !warning.empty())
        MsgBox(warning, MsgButtons::OK, MsgIcon::Information, "Info");
    if (PasswordProtectedEmailWithoutPassword(m_edit) &&
        MsgBox("Password protected email has been enabled but no password has been specified.  Would you like to set "
               "a password?  If no password is specified the default Output Distributor email password will be used.",
               MsgButtons::YesNo, MsgIcon::Question, "Physician Profile") == MsgAnswer::Yes &&
        setPassword)
        setPassword(m_edit);
    std::vector<DuplicateId> hits;
    if (!FindDuplicateIds(m_edit, hits))
        return;
    if (!hits.empty()) {
        const std::string question = DuplicateIdsQuestion(hits);
        if (MsgBox(question, MsgButtons::YesNo, MsgIcon::Exclamation, "Duplicate IDs") != MsgAnswer::Yes)
            return;
        foundation::EventLog::LogEvent(foundation::EventLog::SystemLog, 2, 2, 20026, 0, 0, 0, 0, 0, -1, 0,
                                       "A physician was saved with duplicate IDs.",
                                       {"Name: " + all.first_name + " " + all.last_name});
    }
    // The user accepted in the user editor is written first, so the profile links to its id.
    if (!savePendingUser())
        return;
    const long userToDelete = m_lngUserToDelete;
    const std::string linkedName = all.paxlet_user_name;
    if (userToDelete > 0)
        m_edit.UnlinkUser();
    if (!SaveProfile(m_edit, m_login.user.user_name)) {
        // The session showed why; everything stays as typed, the link to the user as well.
        if (userToDelete > 0)
            m_edit.LinkUser(userToDelete, linkedName);
        return;
    }
    // The voice systems follow the saved physician; their failures are shown and leave the save standing.
    if (userToDelete > 0)
        m_linkedVoice->RemoveUserIdFromAllLinkedVoiceSystems();
    else
        m_linkedVoice->SaveAll(m_edit.physicianId(), all.first_name, all.last_name);
    if (userToDelete > 0 && LinkedUsers().deleteUser)
        LinkedUsers().deleteUser(userToDelete);
    m_lngUserToDelete = 0;
    m_blnSaved = true;
    if (m_blnUserAfterSave && m_edit.physicianId() > 0) {
        m_blnUserAfterSave = false;
        openLinkedUser();
        savePendingUser();
    }
    accept();
}

} // namespace physicians
