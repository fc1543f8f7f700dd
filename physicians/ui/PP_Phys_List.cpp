#include "PP_Phys_List.h"

#include "Configuration.h"
#include "DatabaseSession.h"
#include "General_MDI.h"
#include "ListExport.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "PP_Account_List.h"
#include "PP_Add_Phys.h"
#include "PP_Chg_Partition.h"
#include "PP_Password.h"
#include "PP_Phys_Search.h"
#include "PP_Report_Selection.h"
#include "PP_Set_Default_Partition.h"
#include "PhysicianListExport.h"
#include "PhysicianListModel.h"
#include "ProfileReportDocument.h"
#include "modPartition.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <set>

namespace physicians {

using foundation::DatabaseSession;
using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {
const char* const kChoices[] = {"Include", "Exclude", "Only"};
constexpr const char* kTitle = "Physician Profile";
} // namespace

PP_Phys_List::PP_Phys_List(suite::LoginComponent& login, QWidget* parent)
    : QWidget(parent), m_login(login), m_model(new PhysicianListModel(this)) {
    setObjectName("PP_Phys_List");
    setWindowTitle("Physician Profiles");
    auto* layout = new QVBoxLayout(this);

    tbrPhysList = new QToolBar(this);
    tbrPhysList->setObjectName("tbrPhysList");
    const std::pair<const char*, void (PP_Phys_List::*)()> tools[] = {
        {"&Add", &PP_Phys_List::AddPhysicianWizard},
        {"&Edit", &PP_Phys_List::EditPhysician},
        {"&Delete", &PP_Phys_List::DeletePhysicians},
        {"Re&move from Account", &PP_Phys_List::RemoveFromAccount},
        {"&Hide/Show", &PP_Phys_List::HidePhysicians},
        {"Change &Partition", &PP_Phys_List::ChangePartitionAssignment},
        {"Default Pa&rtition", &PP_Phys_List::SetDefaultPartitionAssignment},
        {"Default A&ccounts", &PP_Phys_List::SetDefaultAccounts},
        {"E&xport", &PP_Phys_List::ImportToNotepad},
        {"Searc&h", &PP_Phys_List::PhysSearchShow},
    };
    const char* const toolNames[] = {"tbrAdd",    "tbrEdit",      "tbrDelete",           "tbrRemove",
                                     "tbrHide",   "tbrPartition", "tbrDefaultPartition", "tbrDefaultAccounts",
                                     "tbrExport", "tbrSearch"};
    static_assert(std::size(toolNames) == std::size(tools));
    for (size_t i = 0; i < std::size(tools); ++i) {
        QAction* a = tbrPhysList->addAction(QString::fromUtf8(tools[i].first));
        a->setObjectName(toolNames[i]);
        connect(a, &QAction::triggered, this, tools[i].second);
    }
    QAction* report = tbrPhysList->addAction("Rep&ort...");
    report->setObjectName("tbrReport");
    connect(report, &QAction::triggered, this, &PP_Phys_List::GenerateReport);
    layout->addWidget(tbrPhysList);

    auto* filters = new QHBoxLayout;
    auto* lblAccount = new QLabel("Acc&ount:", this);
    CBAccount = new QComboBox(this);
    CBAccount->setObjectName("CBAccount");
    lblAccount->setBuddy(CBAccount);
    cboHiddenPhysicians = new QComboBox(this);
    cboHiddenPhysicians->setObjectName("cboHiddenPhysicians");
    cboHiddenPhysicians->addItems({"Visible Physicians", "Hidden Physicians", "All Physicians"});
    auto* lblStatusCaption = new QLabel("Status:", this);
    lblStatuses = new QLabel(this);
    lblStatuses->setObjectName("lblStatuses");
    cmdDropDown = new QPushButton("&Status...", this);
    cmdDropDown->setObjectName("cmdDropDown");
    cmdRefresh = new QPushButton("&Refresh", this);
    cmdRefresh->setObjectName("cmdRefresh");
    cmdKdPPI = new QPushButton("Profile &Interface", this);
    cmdKdPPI->setObjectName("cmdKdPPI");
    filters->addWidget(lblAccount);
    filters->addWidget(CBAccount, 1);
    filters->addWidget(cboHiddenPhysicians);
    filters->addWidget(lblStatusCaption);
    filters->addWidget(lblStatuses, 1);
    filters->addWidget(cmdDropDown);
    filters->addWidget(cmdRefresh);
    filters->addWidget(cmdKdPPI);
    layout->addLayout(filters);

    lstStatuses = new QTreeWidget(this);
    lstStatuses->setObjectName("lstStatuses");
    lstStatuses->setHeaderLabels({"Status", "Show"});
    lstStatuses->setRootIsDecorated(false);
    for (const char* p = kStatusLetters; *p; ++p) {
        auto* item = new QTreeWidgetItem(lstStatuses, {QString::fromUtf8(StatusLabel(*p))});
        auto* choice = new QComboBox(lstStatuses);
        choice->setObjectName(QString("cboStatus") + *p);
        choice->addItems({kChoices[0], kChoices[1], kChoices[2]});
        lstStatuses->setItemWidget(item, 1, choice);
        connect(choice, &QComboBox::currentIndexChanged, this, &PP_Phys_List::statusChoiceChanged);
    }
    lstStatuses->setVisible(false);
    layout->addWidget(lstStatuses);

    lvwPhysList = new QTableView(this);
    lvwPhysList->setObjectName("lvwPhysList");
    lvwPhysList->setModel(m_model);
    lvwPhysList->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwPhysList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvwPhysList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // No sort until a header is clicked: the rows keep the statement's order by name.
    lvwPhysList->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    lvwPhysList->setSortingEnabled(true);
    lvwPhysList->verticalHeader()->setVisible(false);
    layout->addWidget(lvwPhysList, 1);
    lblCount = new QLabel(this);
    lblCount->setObjectName("lblCount");
    layout->addWidget(lblCount);
    lblStatuses->setText(QString::fromStdString(m_model->statusFilter().Text()));

    connect(CBAccount, &QComboBox::activated, this, [this] { RetrievePhysicians(); });
    connect(cboHiddenPhysicians, &QComboBox::activated, this, [this] { RetrievePhysicians(); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { RetrievePhysicians(); });
    connect(cmdDropDown, &QPushButton::clicked, this, [this] { lstStatuses->setVisible(!lstStatuses->isVisible()); });
    connect(cmdKdPPI, &QPushButton::clicked, this, &PP_Phys_List::cmdKdPPI_Click);
    connect(lvwPhysList, &QTableView::doubleClicked, this, [this] { EditPhysician(); });

    chooseNewPartition = [this](long& partition, const std::string& list) {
        PP_Chg_Partition dialog(this);
        bool ok = false;
        dialog.GetNewPartition(partition, list, ok);
        return ok;
    };
    chooseDefaultPartition = [this](long& partition, const std::string& list) {
        PP_Set_Default_Partition dialog(this);
        bool ok = false;
        dialog.GetDefaultPartition(partition, list, ok);
        return ok;
    };
    chooseDefaultAccounts = [this](std::vector<long>& accounts) {
        PP_Account_List dialog(m_login, PP_Account_List::Mode::DefaultAccounts, this);
        bool ok = false;
        accounts = dialog.Add(accounts, ok);
        return ok;
    };
    chooseReportSettings = [this](ProfileReportOptions& options) {
        PP_Report_Selection dialog(this);
        bool ok = false;
        options = dialog.ChooseReportSettings(options, ok);
        return ok;
    };
    showReport = [this](const ProfileReportData& data) { PreviewProfileReport(data, this); };
    // A value of the unknown-physician log starts an ordinary new physician; the log drops the
    // value once that physician is saved.
    openEditorForUnknown = [this](const std::string&) { return openProfileEditor(0, false); };
    openEditor = [this](const std::vector<long>& ids) { openProfileEditor(ids.empty() ? 0 : ids.front(), false); };
    runEditor = [](PP_Add_Phys& editor) { editor.exec(); };
}

// Opens the profile editor: on a physician, on the default physician (-1), or on a new one (0)
// in the default accounts (the list's account when none are set) or, for "add another", from the
// values of the physician added last.
bool PP_Phys_List::openProfileEditor(long physicianId, bool another) {
    PP_Add_Phys editor(m_login, this);
    editor.openUserEditor = openUserEditor;
    // The report password of password-protected e-mail, set (and mailed) for the selected accounts.
    editor.setPassword = [this](PhysicianProfileEdit& edit) {
        const auto known = [](const std::string& v) { return v == kVarious ? std::string() : v; };
        std::vector<std::string> addresses;
        if (const std::string address = known(edit.Value("email_address")); !address.empty())
            addresses.push_back(address);
        PP_Password dialog(m_login, this);
        bool chosen = false;
        const std::string password =
            dialog.GetPassword(known(edit.Value("email_password")),
                               edit.Value("first_name") + " " + edit.Value("last_name"), addresses, chosen);
        if (chosen)
            edit.SetValue("email_password", password);
    };
    bool ok = true;
    if (another && m_lastAdded) {
        editor.edit() = *m_lastAdded;
        editor.AddAnother(m_defaults.DefaultPartitionId);
    } else if (physicianId != 0) {
        ok = editor.EditPhysician(physicianId,
                                  physicianId == -1 ? PP_Add_Phys::Mode::EditDefault : PP_Add_Phys::Mode::Edit);
    } else {
        std::vector<long> accounts = m_defaults.defaultAccounts;
        if (accounts.empty() && currentAccount() >= 0)
            accounts.push_back(currentAccount());
        ok = editor.AddPhysician(accounts, m_defaults.DefaultPartitionId);
    }
    if (!ok)
        return false;
    const bool adding = editor.edit().mode() == PP_Add_Phys::Mode::Add;
    runEditor(editor);
    if (!editor.saved())
        return false;
    if (adding)
        m_lastAdded = std::make_unique<PhysicianProfileEdit>(editor.edit());
    RetrievePhysicians();
    setStatus("Physician Profile Updated.");
    return true;
}

void PP_Phys_List::AddAnother() {
    if (refused(ListCommand::Add))
        return;
    openProfileEditor(0, m_lastAdded != nullptr);
}

void PP_Phys_List::EditDefaultPhysician() {
    if (refused(ListCommand::Edit))
        return;
    openProfileEditor(-1, false);
}

PP_Phys_List::~PP_Phys_List() = default;

void PP_Phys_List::setStatus(const QString& text) {
    if (statusHandler)
        statusHandler(text);
}

void PP_Phys_List::MyShow() {
    m_defaults.DefaultPartitionId = m_login.user.Partition_ID;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT key_value FROM System_user_cfg WHERE key_name = 'EmailDefaultMethod'";
    if (s.ExecSQL() == 1 && s.FetchRow() == 1) {
        m_strEmailDefaultMethod = s.GetColumnText(1, 1);
        s.FlushResults();
    }
    std::vector<const suite::HospAccount*> accounts;
    for (int i = 1; i <= m_login.NumberHospAccounts(); ++i)
        if (const auto& a = m_login.HospAccountAt(i); AccountVisibleToUser(a.hosp_acct_id))
            accounts.push_back(&a);
    std::sort(accounts.begin(), accounts.end(),
              [](const auto* a, const auto* b) { return a->hosp_acct_name < b->hosp_acct_name; });
    CBAccount->clear();
    for (const auto* a : accounts)
        CBAccount->addItem(QString::fromStdString(a->hosp_acct_name), static_cast<qlonglong>(a->hosp_acct_id));
    RetrievePhysicians();
}

long PP_Phys_List::currentAccount() const {
    return CBAccount->currentIndex() < 0 ? -2 : static_cast<long>(CBAccount->currentData().toLongLong());
}

bool PP_Phys_List::RetrievePhysicians() {
    m_model->setRecords(nullptr);
    m_records.RemoveAll();
    if (currentAccount() < -1) {
        DisplayPhysicians();
        return false;
    }
    setStatus("Retrieving Physician List...");
    const HiddenFilter hidden = static_cast<HiddenFilter>(std::max(0, cboHiddenPhysicians->currentIndex()));
    const bool ok = physicians::RetrievePhysicians(currentAccount(), hidden, m_records);
    DisplayPhysicians();
    return ok;
}

void PP_Phys_List::DisplayPhysicians() {
    setStatus("Processing Physicians List...");
    m_model->setRecords(&m_records);
    lblCount->setText("Number of physicians: " + QString::number(m_model->rowCount()));
    setStatus("");
}

void PP_Phys_List::statusChoiceChanged() {
    StatusFilter filter;
    for (const char* p = kStatusLetters; *p; ++p)
        if (auto* c = lstStatuses->findChild<QComboBox*>(QString("cboStatus") + *p))
            filter.Set(*p, static_cast<StatusChoice>(c->currentIndex()));
    m_model->setStatusFilter(filter);
    lblStatuses->setText(QString::fromStdString(filter.Text()));
    lblCount->setText("Number of physicians: " + QString::number(m_model->rowCount()));
}

std::vector<clsPhysicianSummaryRecord*> PP_Phys_List::selectedRecords() {
    std::vector<clsPhysicianSummaryRecord*> out;
    std::set<int> rows;
    for (const QModelIndex& i : lvwPhysList->selectionModel()->selectedRows())
        rows.insert(i.row());
    for (int row : rows)
        if (const auto* r = m_model->recordAt(row))
            out.push_back(m_records.Item(r->MyKey()));
    return out;
}

bool PP_Phys_List::refused(ListCommand command) {
    const std::string refusal = ListCommandRefusal(command);
    if (refusal.empty())
        return false;
    MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, kSecurityTitle);
    return true;
}

bool PP_Phys_List::skipAndContinue(const std::string& refusal, const char* verb) {
    return MsgBox(refusal + "\r\nSkip this physician and continue with physicians you are authorized to " + verb + "?",
                  MsgButtons::YesNo, MsgIcon::Exclamation, kTitle) == MsgAnswer::Yes;
}

void PP_Phys_List::AddPhysicianWizard() {
    if (refused(ListCommand::Add))
        return;
    openEditor({0});
}

bool PP_Phys_List::AddPhysicianUnknown(const std::string& value) {
    if (refused(ListCommand::Add))
        return false;
    if (!openEditorForUnknown || !openEditorForUnknown(value))
        return false;
    RetrievePhysicians();
    return true;
}

void PP_Phys_List::EditPhysician() {
    if (refused(ListCommand::Edit))
        return;
    const auto selection = selectedRecords();
    if (selection.size() != 1) {
        MsgBox("Only one physician can be selected for editing.", MsgButtons::OK, MsgIcon::Exclamation, kTitle);
        return;
    }
    openEditor({selection.front()->physician_id});
}

void PP_Phys_List::DeletePhysicians() {
    if (refused(ListCommand::Delete))
        return;
    const auto selection = selectedRecords();
    if (selection.empty())
        return;
    const std::string noun = selection.size() == 1 ? "physician" : "physicians";
    std::string question = "Are you sure you want to delete the selected " + noun + " from Veltra Text?";
    if (std::any_of(selection.begin(), selection.end(), [](const auto* r) { return r->paxlet_user_id > 0; }))
        question += "\r\n   -Note that Paxlet " + noun + " will also be removed from User Management.";
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT COUNT(*) FROM voice_systems";
    if (s.ExecSQL() == 1 && s.FetchRow() == 1) {
        if (s.GetColumnLong(1) > 0)
            question += "\r\n   -Note that " + noun + " will also be removed from linked Veltra Voice systems.";
        s.FlushResults();
    }
    if (MsgBox(question, MsgButtons::YesNo, MsgIcon::Question, "Delete Physician") != MsgAnswer::Yes)
        return;
    for (clsPhysicianSummaryRecord* r : selection) {
        std::vector<long> accounts;
        for (const auto& [acct, partition] : PhysicianAccountPartitions(r->physician_id))
            accounts.push_back(acct);
        if (const std::string refusal = DeleteRefusal(*r, accounts); !refusal.empty()) {
            if (!skipAndContinue(refusal, "delete"))
                break;
            continue;
        }
        if (!DeletePhysician(*r))
            break;
        r->is_deleted = true;
        m_records.IncrDeletedPhysCount();
    }
    DisplayPhysicians();
}

void PP_Phys_List::RemoveFromAccount() {
    if (refused(ListCommand::RemoveFromAccount))
        return;
    const auto selection = selectedRecords();
    const long account = currentAccount();
    if (selection.empty() || account < 0)
        return;
    const std::string noun = selection.size() == 1 ? "physician" : "physicians";
    if (MsgBox("Are you sure you want to remove the selected " + noun + " from the account " +
                   CBAccount->currentText().toStdString() + "?",
               MsgButtons::YesNo, MsgIcon::Question, "Delete Physician") != MsgAnswer::Yes)
        return;
    for (clsPhysicianSummaryRecord* r : selection) {
        if (const std::string refusal = RemoveFromAccountRefusal(*r, account); !refusal.empty()) {
            if (!skipAndContinue(refusal, "delete"))
                break;
            continue;
        }
        if (!RemovePhysicianFromAccount(*r, account, m_login.user.user_name))
            break;
        // Gone from this account's list either way.
        r->is_deleted = true;
        m_records.IncrDeletedPhysCount();
    }
    DisplayPhysicians();
}

void PP_Phys_List::HidePhysicians() {
    if (refused(ListCommand::Hide))
        return;
    const auto selection = selectedRecords();
    if (selection.empty())
        return;
    // A selection of hidden physicians only is shown again; any other selection is hidden.
    const bool hide = std::any_of(selection.begin(), selection.end(), [](const auto* r) { return r->is_hidden == 0; });
    for (clsPhysicianSummaryRecord* r : selection)
        if (!SetPhysicianHidden(*r, hide, m_login.user.user_name))
            break;
    RetrievePhysicians();
}

void PP_Phys_List::ChangePartitionAssignment() {
    if (refused(ListCommand::ChangePartition))
        return;
    const auto selection = selectedRecords();
    if (selection.empty())
        return;
    long partition = m_defaults.DefaultPartitionId;
    if (!chooseNewPartition || !chooseNewPartition(partition, ListOfPotentialChangePartitionIdsByAcct()))
        return;
    const std::vector<const clsPhysicianSummaryRecord*> constSelection(selection.begin(), selection.end());
    if (const std::string warning = ChangePartitionWarning(constSelection); !warning.empty())
        if (MsgBox(warning, MsgButtons::YesNo, MsgIcon::Question, kTitle) != MsgAnswer::Yes)
            return;
    const std::string rootDir = foundation::Configuration::instance().networkRootDir;
    for (clsPhysicianSummaryRecord* r : selection) {
        if (r->Partition_ID == partition)
            continue;
        std::vector<long> accounts;
        for (const auto& [acct, p] : PhysicianAccountPartitions(r->physician_id))
            accounts.push_back(acct);
        if (const std::string refusal = ChangePartitionRefusal(*r, partition, accounts); !refusal.empty()) {
            if (!skipAndContinue(refusal, "change"))
                break;
            continue;
        }
        if (ChangePhysicianPartition(*r, partition, m_login.user.user_name, rootDir) == PartitionChange::Failed)
            break;
    }
    DisplayPhysicians();
}

void PP_Phys_List::SetDefaultPartitionAssignment() {
    if (refused(ListCommand::SetDefaultPartition))
        return;
    long partition = m_defaults.DefaultPartitionId;
    if (!chooseDefaultPartition || !chooseDefaultPartition(partition, ListOfPotentialDefaultPartitionIdsByAcct()))
        return;
    if (const std::string refusal = SetDefaultPartition(m_defaults, partition); !refusal.empty())
        MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, kSecurityTitle);
}

void PP_Phys_List::SetDefaultAccounts() {
    if (refused(ListCommand::SetDefaultAccounts))
        return;
    std::vector<long> accounts = m_defaults.defaultAccounts;
    if (!chooseDefaultAccounts || !chooseDefaultAccounts(accounts))
        return;
    if (const std::string refusal = physicians::SetDefaultAccounts(m_defaults, accounts); !refusal.empty())
        MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, kSecurityTitle);
}

void PP_Phys_List::SetExtendedProfile(bool extended) {
    if (refused(ListCommand::SetExtendedProfile))
        return;
    if (const std::string refusal = physicians::SetExtendedProfile(m_defaults, extended); !refusal.empty())
        MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, kSecurityTitle);
}

void PP_Phys_List::ImportToNotepad() {
    const std::string text = PhysicianListExportText(foundation::ListExportDate(), m_model->shownRecords());
    foundation::WriteListExportTo(PhysicianListExportFile(foundation::Configuration::instance().networkRootDir), text);
}

void PP_Phys_List::GenerateReport() {
    const long account = currentAccount();
    if (account < -1 || !chooseReportSettings || !chooseReportSettings(m_reportOptions))
        return;
    if (m_reportOptions.form == ProfileReportOptions::Form::Notepad) {
        ImportToNotepad();
        return;
    }
    ProfileReportSelection selection;
    selection.account = account;
    selection.accountName = CBAccount->currentText().toStdString();
    selection.options = m_reportOptions;
    for (const clsPhysicianSummaryRecord* r : selectedRecords())
        selection.physicians.push_back({r->last_name, r->first_name, r->title_1, r->dictation_id, r->mis_nbr_1,
                                        r->mis_nbr_2, r->fax_nbr_1, r->group_affiliation});
    GenerateProfileReport(selection, showReport);
}

void PP_Phys_List::cmdKdPPI_Click() {
    const auto& config = foundation::Configuration::instance();
    const auto program = std::filesystem::path(config.networkRootDir) / "KALDRA" / "SYSTEM" / "KDPPI.EXE";
    mainwindow::CompanionLauncher::instance().launch(
        program.string(), kPhysicianProfileInterfaceTitle,
        PhysicianProfileInterfaceArguments(m_login.user.user_id, m_login.user.user_name, m_login.user.password,
                                           config.iniPath));
}

void PP_Phys_List::PhysSearchShow() {
    PP_Phys_Search search(currentAccount(), this);
    search.openEditor = openEditor;
    search.onAdded = [this] { RetrievePhysicians(); };
    search.exec();
}

} // namespace physicians
