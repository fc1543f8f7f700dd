#include "AC_Dept_Acct_Mngr.h"

#include "AC_Select.h"
#include "Configuration.h"
#include "DatabaseSession.h"
#include "HelpFile.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "Numbers.h"
#include "QtServices.h"
#include "RoutinesFolders.h"
#include "Text.h"
#include "clsPartition.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace accounts {

using foundation::DatabaseSession;
using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr const char* kTitle = "Account Manager";

// Captions and column widths of the form's text fields, Text0 .. Text11.
struct FieldSpec {
    const char* caption;
    int maxLength;
};
constexpr FieldSpec kFields[] = {
    {"Account &Number", 9}, {"Account N&ame", 50},   {"&Facility Name", 100}, {"C&ontact", 50},
    {"&Title", 50},         {"Address Line &1", 50}, {"Address Line &2", 50}, {"C&ity", 30},
    {"&State", 20},         {"&Zip Code", 10},       {"Phone Number 1", 20},  {"Phone Number 2", 20},
};

QTreeWidget* accountList(QWidget* parent, const char* name) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setHeaderLabels({"Name", "Number"});
    list->setRootIsDecorated(false);
    list->setSortingEnabled(true);
    list->sortByColumn(0, Qt::AscendingOrder);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    return list;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QLabel* hint(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    l->setFont(f);
    return l;
}

bool run(const std::string& sql) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = sql;
    if (s.ExecSQL() != 1)
        return false;
    s.FlushResults();
    return true;
}

} // namespace

AC_Dept_Acct_Mngr::AC_Dept_Acct_Mngr(suite::LoginComponent& login, QWidget* parent) : QWidget(parent), m_login(login) {
    setObjectName("AC_Dept_Acct_Mngr");
    setWindowTitle("Veltra Text Account Manager");

    tabAccounts = new QTabWidget(this);
    tabAccounts->setObjectName("tabAccounts");
    lvwAccounts = accountList(this, "lvwAccounts");
    lvwDelAccounts = accountList(this, "lvwDelAccounts");
    tabAccounts->addTab(lvwAccounts, "Accounts");
    tabAccounts->addTab(lvwDelAccounts, "Deleted Accounts");

    auto* form = new QFormLayout;
    auto* banner = new QLabel("Please enter as much of the information as possible.", this);
    banner->setObjectName("lblBanner");
    form->addRow(banner);
    for (int i = 0; i < 12; ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString("Text%1").arg(i));
        field->setMaxLength(kFields[i].maxLength);
        Text.push_back(field);
        form->addRow(kFields[i].caption, field);
        connect(field, &QLineEdit::textEdited, this, [this] { SetChanged(); });
    }
    cmbIncentiveMethod = new QComboBox(this);
    cmbIncentiveMethod->setObjectName("cmbIncentiveMethod");
    cmbIncentiveMethod->addItem("Character Line Counts", 0);
    cmbIncentiveMethod->addItem("Physical Line Counts", 1);
    form->addRow("Incentive &Method", cmbIncentiveMethod);
    TextBox16 = new QLineEdit(this);
    TextBox16->setObjectName("TextBox16");
    TextBox16->setMaxLength(12);
    form->addRow("&Billing Amount Per Line", TextBox16);
    cboPartition = new QComboBox(this);
    cboPartition->setObjectName("cboPartition");
    form->addRow("&Partition", cboPartition);
    txtHospIDFilter = new QLineEdit(this);
    txtHospIDFilter->setObjectName("txtHospIDFilter");
    txtHospIDFilter->setMaxLength(255);
    cmdHospID = button(this, "cmdHospID", "View");
    auto* hospRow = new QHBoxLayout;
    hospRow->addWidget(txtHospIDFilter, 1);
    hospRow->addWidget(cmdHospID);
    auto* hospLabel = new QLabel("&HIS/RIS Hosp ID Filter", this);
    hospLabel->setObjectName("lblHospIDFilter");
    hospLabel->setBuddy(txtHospIDFilter);
    form->addRow(hospLabel, hospRow);
    form->addRow(hint(this, "lblHospIDHint",
                      "Comma delimited list of HIS/RIS hospital_id values from the Patient_adt table that should be "
                      "associated with this account.  If none are specified then no filter will be applied."));
    txtUploadTypeFilter = new QLineEdit(this);
    txtUploadTypeFilter->setObjectName("txtUploadTypeFilter");
    txtUploadTypeFilter->setMaxLength(50);
    form->addRow("&Upload Type Filter", txtUploadTypeFilter);
    form->addRow(hint(this, "lblUploadHint",
                      "Leave blank to allow all uploads, 0 for no uploads, and 1 through 8 for External Uploads 1 "
                      "through 8. Use a comma delimiter to specify more than one."));

    Insert_new_account = button(this, "Insert_new_account", "&New Account");
    Delete_existing_account = button(this, "Delete_existing_account", "&Delete Account");
    Undelete_account = button(this, "Undelete_account", "Un&delete Account");
    Save_button = button(this, "Save_button", "&Save Information");
    cmdComplete = button(this, "cmdComplete", "&Close");
    BOK = button(this, "BOK", "&OK");
    cmdHelp = button(this, "cmdHelp", "&Help");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Insert_new_account, Delete_existing_account, Undelete_account, Save_button})
        buttons->addWidget(b);
    buttons->addStretch(1);
    for (QPushButton* b : {BOK, cmdComplete, cmdHelp})
        buttons->addWidget(b);

    auto* top = new QHBoxLayout;
    top->addWidget(tabAccounts, 2);
    top->addLayout(form, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(lvwAccounts, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* i) { lvw_ItemClicked(i); });
    connect(lvwDelAccounts, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* i) { lvw_ItemClicked(i); });
    connect(tabAccounts, &QTabWidget::currentChanged, this, [this](int tab) {
        Delete_existing_account->setEnabled(tab == 0);
        Undelete_account->setEnabled(tab == 1);
    });
    connect(cmbIncentiveMethod, &QComboBox::activated, this, [this] { SetChanged(); });
    connect(cboPartition, &QComboBox::activated, this, [this] { SetChanged(); });
    connect(TextBox16, &QLineEdit::textEdited, this, [this] { SetChanged(); });
    connect(Text[0], &QLineEdit::textEdited, this, &AC_Dept_Acct_Mngr::Text0_Edited);
    connect(Text[0], &QLineEdit::editingFinished, this, [this] {
        if (m_blnNew && Text[0]->isModified())
            CheckNumberDuringEntry();
        Text[0]->setModified(false);
    });
    connect(txtHospIDFilter, &QLineEdit::textEdited, this, &AC_Dept_Acct_Mngr::txtHospIDFilter_Edited);
    connect(txtUploadTypeFilter, &QLineEdit::textChanged, this, &AC_Dept_Acct_Mngr::txtUploadTypeFilter_Change);
    connect(Insert_new_account, &QPushButton::clicked, this, &AC_Dept_Acct_Mngr::Insert_new_account_Click);
    connect(Delete_existing_account, &QPushButton::clicked, this, &AC_Dept_Acct_Mngr::Delete_existing_account_Click);
    connect(Undelete_account, &QPushButton::clicked, this, &AC_Dept_Acct_Mngr::Undelete_account_Click);
    connect(Save_button, &QPushButton::clicked, this, [this] { Save_button_Click(); });
    connect(cmdHospID, &QPushButton::clicked, this, &AC_Dept_Acct_Mngr::cmdHospID_Click);
    connect(cmdComplete, &QPushButton::clicked, this, [this] {
        if (QueryLeave())
            platform::closeScreen(this);
    });
    connect(BOK, &QPushButton::clicked, this, [this] {
        if (!m_blnChanged || Save_button_Click())
            platform::closeScreen(this);
    });
    connect(cmdHelp, &QPushButton::clicked, this, [] { foundation::HelpFile::Show(); });
    Undelete_account->setEnabled(false);
}

void AC_Dept_Acct_Mngr::closeEvent(QCloseEvent* event) {
    if (QueryLeave())
        event->accept();
    else
        event->ignore();
}

void AC_Dept_Acct_Mngr::MyShow() {
    m_blnFilling = true;
    cboPartition->clear();
    const long userPartition = m_login.user.Partition_ID;
    for (const auto& p : physicians::PartitionCache())
        if (p.Is_Under(userPartition))
            cboPartition->addItem(QString::fromStdString(p.Partition_Name()), QVariant::fromValue(p.Partition_ID()));
    m_blnFilling = false;
    FillLists(-1);
}

void AC_Dept_Acct_Mngr::FillLists(long select) {
    std::vector<clsAccountListEntry> list;
    LoadAccountList(m_login.user.Partition_ID, list);
    lvwAccounts->clear();
    lvwDelAccounts->clear();
    QTreeWidgetItem* chosen = nullptr;
    for (const auto& e : list) {
        auto* item = new QTreeWidgetItem(e.is_deleted ? lvwDelAccounts : lvwAccounts,
                                         {QString::fromStdString(e.hosp_acct_name), QString::number(e.hosp_acct_id)});
        item->setData(0, Qt::UserRole, QVariant::fromValue(e.hosp_acct_id));
        if (e.hosp_acct_id == select)
            chosen = item;
    }
    if (!chosen && lvwAccounts->topLevelItemCount() > 0)
        chosen = lvwAccounts->topLevelItem(0);
    if (!chosen) {
        // Nothing to show: the blank form is a new account, so that a save inserts it.
        ClearForm();
        SetNewMode(true);
        return;
    }
    tabAccounts->setCurrentWidget(chosen->treeWidget());
    chosen->treeWidget()->setCurrentItem(chosen);
    ShowAccount(chosen->data(0, Qt::UserRole).value<long>());
}

void AC_Dept_Acct_Mngr::ClearForm() {
    m_blnFilling = true;
    for (QLineEdit* field : Text)
        field->clear();
    TextBox16->setText(kDefaultAmountPerLine);
    txtHospIDFilter->clear();
    txtUploadTypeFilter->clear();
    cmbIncentiveMethod->setCurrentIndex(0);
    cboPartition->setCurrentIndex(cboPartition->findData(QVariant::fromValue(m_login.user.Partition_ID)));
    m_current = clsAccount{};
    m_blnChanged = false;
    m_blnFilling = false;
}

void AC_Dept_Acct_Mngr::ShowAccount(long id) {
    const auto account = LoadAccount(id);
    if (!account)
        return;
    m_blnFilling = true;
    m_current = *account;
    Text[0]->setText(QString::number(account->hosp_acct_id));
    for (size_t i = 1; i < Text.size(); ++i)
        Text[i]->setText(QString::fromStdString((*account).*clsAccount::kFormText[i - 1]));
    SetNewMode(false);
    cmbIncentiveMethod->setCurrentIndex(std::max(0, cmbIncentiveMethod->findData(account->email_type)));
    TextBox16->setText(QString::fromStdString(FormatAmountPerLine(account->amount_per_line)));
    cboPartition->setCurrentIndex(cboPartition->findData(QVariant::fromValue(account->partition_id)));
    txtHospIDFilter->setText(QString::fromStdString(account->hospital_id_filter));
    txtUploadTypeFilter->setText(QString::fromStdString(account->upload_filter));
    m_blnChanged = false;
    m_blnFilling = false;
}

void AC_Dept_Acct_Mngr::SetNewMode(bool isNew) {
    m_blnNew = isNew;
    Text[0]->setReadOnly(!isNew);
    // The filters of a new account are written once the account exists (the insert leaves them
    // empty), so they are not offered for typing until then.
    txtHospIDFilter->setEnabled(!isNew);
    txtUploadTypeFilter->setEnabled(!isNew);
    cmdHospID->setEnabled(!isNew && foundation::Configuration::instance().combinedInterfaceDB);
}

clsAccount AC_Dept_Acct_Mngr::FormAccount() const {
    clsAccount a = m_current;
    auto text = [this](int i) { return foundation::trimText(Text[static_cast<size_t>(i)]->text().toStdString()); };
    if (m_blnNew)
        a.hosp_acct_id = ParseAccountNumber(text(0)).value_or(0);
    for (int i = 1; i < static_cast<int>(Text.size()); ++i)
        a.*clsAccount::kFormText[i - 1] = text(i);
    a.email_type = cmbIncentiveMethod->currentData().toInt();
    a.partition_id = cboPartition->currentIndex() < 0 ? -1 : cboPartition->currentData().value<long>();
    a.hospital_id_filter = foundation::trimText(txtHospIDFilter->text().toStdString());
    a.upload_filter = txtUploadTypeFilter->text().toStdString();
    return a;
}

bool AC_Dept_Acct_Mngr::QueryLeave() {
    if (!m_blnChanged)
        return true;
    switch (MsgBox("Current account information has been changed.  Save changes?", MsgButtons::YesNoCancel,
                   MsgIcon::Question, "Save?")) {
    case MsgAnswer::Yes:
        return Save_button_Click();
    case MsgAnswer::No:
        m_blnChanged = false;
        return true;
    default:
        return false;
    }
}

void AC_Dept_Acct_Mngr::lvw_ItemClicked(QTreeWidgetItem* item) {
    const long id = item->data(0, Qt::UserRole).value<long>();
    if (!m_blnNew && id == m_current.hosp_acct_id)
        return;
    if (!QueryLeave()) {
        SelectShownAccount();
        return;
    }
    ShowAccount(id);
}

// The lists' current item follows the account the form shows, so that Delete and Undelete act on
// what the user sees, also after a Cancel to the save question.
void AC_Dept_Acct_Mngr::SelectShownAccount() {
    for (QTreeWidget* list : {lvwAccounts, lvwDelAccounts}) {
        QTreeWidgetItem* shown = nullptr;
        for (int i = 0; !m_blnNew && i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->data(0, Qt::UserRole).value<long>() == m_current.hosp_acct_id)
                shown = list->topLevelItem(i);
        list->setCurrentItem(shown);
        if (!shown)
            list->clearSelection();
        else
            tabAccounts->setCurrentWidget(list);
    }
}

void AC_Dept_Acct_Mngr::Insert_new_account_Click() {
    if (!QueryLeave())
        return;
    ClearForm();
    SetNewMode(true);
    SelectShownAccount();
    Text[0]->setFocus();
}

void AC_Dept_Acct_Mngr::Text0_Edited(const QString& text) {
    QString digits;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    SetChanged();
    if (digits == text)
        return;
    Text[0]->setText(digits);
    MsgBox("Please enter a numeric value.", MsgButtons::OK, MsgIcon::Exclamation, "Veltra Desktop");
}

void AC_Dept_Acct_Mngr::txtHospIDFilter_Edited(const QString& text) {
    const QString upper = text.toUpper();
    if (upper != text) {
        const int cursor = txtHospIDFilter->cursorPosition();
        txtHospIDFilter->setText(upper);
        txtHospIDFilter->setCursorPosition(cursor);
    }
    SetChanged();
}

void AC_Dept_Acct_Mngr::txtUploadTypeFilter_Change(const QString& text) {
    const QString kept = QString::fromStdString(UploadFilterText(text.toStdString()));
    if (kept != text) {
        txtUploadTypeFilter->setText(kept); // comes back here with nothing left to remove
        return;
    }
    SetChanged();
}

bool AC_Dept_Acct_Mngr::CheckNumberDuringEntry() {
    const auto parsed = ParseAccountNumber(foundation::trimText(Text[0]->text().toStdString()));
    if (!parsed)
        return true; // the save refuses it with its message
    const std::string number = std::to_string(*parsed);
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT hosp_acct_name, is_deleted FROM Account_info WHERE hosp_acct_id = " + number;
    if (s.ExecSQL() != 1 || s.FetchRow() != 1)
        return true;
    const std::string name = s.GetColumnText(1, 1);
    const bool deleted = s.GetColumnText(2, 1) == "1";
    s.FlushResults();
    if (!deleted) {
        MsgBox("Account " + name + " is already using account number " + number +
                   ".  Please choose another account number.",
               MsgButtons::OK, MsgIcon::Exclamation, kTitle);
    } else if (MsgBox("Deleted account " + name + " already uses account number " + number +
                          ".  Insert the account anyway?",
                      MsgButtons::YesNo, MsgIcon::Question, kTitle) == MsgAnswer::Yes) {
        return true;
    }
    Text[0]->clear();
    Text[0]->setFocus();
    return false;
}

bool AC_Dept_Acct_Mngr::Save_button_Click() {
    clsAccount a = FormAccount();
    if (a.hosp_acct_name.empty()) {
        MsgBox("Please enter an account name.", MsgButtons::OK, MsgIcon::Exclamation, "Veltra Desktop");
        Text[1]->setFocus();
        return false;
    }
    if (m_blnNew) {
        const std::string number = foundation::trimText(Text[0]->text().toStdString());
        if (!platform::parseDigits(number)) {
            MsgBox("Please enter a numeric value.", MsgButtons::OK, MsgIcon::Exclamation, "Veltra Desktop");
            Text[0]->setFocus();
            return false;
        }
        if (!ParseAccountNumber(number)) {
            MsgBox("Account number " + number + " is not a valid account number.  Please enter a number from 1 to " +
                       std::to_string(kMaxAccountNumber) + ".",
                   MsgButtons::OK, MsgIcon::Exclamation, kTitle);
            Text[0]->setFocus();
            return false;
        }
    }
    if (const auto amount = ParseAmountPerLine(TextBox16->text().toStdString())) {
        a.amount_per_line = *amount;
    } else {
        MsgBox(std::string("The Billing Amount Per Line is not valid.  A default value of ") + kDefaultAmountPerLine +
                   " per line will be used.",
               MsgButtons::OK, MsgIcon::Exclamation, kTitle);
        a.amount_per_line = 0.1;
        TextBox16->setText(kDefaultAmountPerLine);
    }
    if (a.partition_id < 0) {
        MsgBox("Partition is a required field", MsgButtons::OK, MsgIcon::Exclamation, "Invalid Entry");
        cboPartition->setFocus();
        return false;
    }
    if (m_blnNew) {
        const Use use = AccountNumberUse(a.hosp_acct_id);
        if (use == Use::Failed)
            return false;
        if (use != Use::Free) {
            MsgBox(use == Use::Deleted
                       ? "The specified account has already been defined.  It is currently marked as deleted."
                       : "The specified account has already been defined.",
                   MsgButtons::OK, MsgIcon::Exclamation, kTitle);
            return false;
        }
    }
    if (m_blnNew || foundation::upperText(a.hosp_acct_name) != foundation::upperText(m_current.hosp_acct_name)) {
        const Use use = AccountNameUse(a.hosp_acct_name);
        if (use == Use::Failed)
            return false;
        if (use == Use::Active) {
            MsgBox("Another account already uses this name.  Please choose another name.", MsgButtons::OK,
                   MsgIcon::Exclamation, kTitle);
            return false;
        }
        if (use == Use::Deleted && MsgBox("Deleted account already uses this name.  Insert account anyway?",
                                          MsgButtons::YesNo, MsgIcon::Question, kTitle) != MsgAnswer::Yes)
            return false;
    }
    const bool partitionChanged = !m_blnNew && a.partition_id != m_current.partition_id;
    if (partitionChanged &&
        MsgBox(PartitionChangeWarning(), MsgButtons::YesNo, MsgIcon::Exclamation, "Partition Change") != MsgAnswer::Yes)
        return false;
    if (!m_blnNew && a.email_type != m_current.email_type)
        CheckIncentiveLock();
    if (!(m_blnNew ? WriteNew(a) : WriteChanged(a)))
        return false;
    FollowRoutines(a, m_blnNew);
    ReloadAccountCache();
    m_blnChanged = false;
    FillLists(a.hosp_acct_id);
    return true;
}

bool AC_Dept_Acct_Mngr::WriteNew(const clsAccount& a) {
    if (run("EXECUTE account_check " + std::to_string(a.hosp_acct_id)) && run(NewAccountUpdate(a)))
        return true;
    MsgBox("Error Updating values into table.", MsgButtons::OK, MsgIcon::Critical, kTitle);
    return false;
}

bool AC_Dept_Acct_Mngr::WriteChanged(const clsAccount& a) {
    if (run(ChangedAccountUpdate(a, a.partition_id != m_current.partition_id)))
        return true;
    MsgBox("Error Updating values into table.", MsgButtons::OK, MsgIcon::Critical, kTitle);
    return false;
}

void AC_Dept_Acct_Mngr::CheckIncentiveLock() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "sp_spaceused Trans_incentive";
    if (s.ExecSQL() != 1 || s.FetchRow() != 1) {
        MsgBox("Error encountered check incentive data.", MsgButtons::OK, MsgIcon::Critical, kTitle);
        return;
    }
    const long rows = s.GetColumnLong(2);
    s.FlushResults();
    if (rows <= 0)
        return;
    if (MsgBox("You have changed the incentive counting method for this account.  Changing this setting affects "
               "incentive payroll calculations.  Would you like to lock all previous incentive data to prevent this "
               "change from affecting previous calculations?",
               MsgButtons::YesNo, MsgIcon::Question, kTitle) != MsgAnswer::Yes)
        return;
    if (!run("UPDATE Trans_incentive\r\nSET locked = 1\r\nWHERE shift_date < '" +
             QDate::currentDate().toString("MM/dd/yyyy").toStdString() + " 00:00'\r\n AND  locked = 0"))
        MsgBox("Error locking incentive data.", MsgButtons::OK, MsgIcon::Critical, kTitle);
}

void AC_Dept_Acct_Mngr::FollowRoutines(const clsAccount& a, bool isNew) {
    if (!DatabaseSession::instance().VersionGreaterThan(8.08))
        return;
    const std::string root = foundation::Configuration::instance().networkRootDir;
    if (root.empty())
        return;
    if (isNew) {
        std::error_code ec;
        std::filesystem::create_directories(physicians::AccountRoutinesFolder(a.partition_id, a.hosp_acct_id, root),
                                            ec);
    } else if (a.partition_id != m_current.partition_id) {
        physicians::MoveAccountRoutines(m_current.partition_id, a.partition_id, a.hosp_acct_id, root);
    }
}

void AC_Dept_Acct_Mngr::ReloadAccountCache() {
    if (m_login.connect())
        m_login.LoadAccountData();
}

void AC_Dept_Acct_Mngr::Delete_existing_account_Click() {
    if (m_blnNew || m_current.hosp_acct_id <= 0 || !lvwAccounts->currentItem())
        return;
    if (MsgBox("Are you sure the selected account should be marked as deleted?", MsgButtons::YesNo, MsgIcon::Question,
               kTitle) != MsgAnswer::Yes)
        return;
    if (!run("UPDATE Account_info Set is_deleted = 1 WHERE hosp_acct_id = " + std::to_string(m_current.hosp_acct_id))) {
        MsgBox("Error encountered deleting the account.", MsgButtons::OK, MsgIcon::Critical, kTitle);
        return;
    }
    ReloadAccountCache();
    m_blnChanged = false;
    FillLists(-1);
}

void AC_Dept_Acct_Mngr::Undelete_account_Click() {
    QTreeWidgetItem* item = lvwDelAccounts->currentItem();
    if (!item || m_blnNew)
        return;
    const long id = item->data(0, Qt::UserRole).value<long>();
    if (id != m_current.hosp_acct_id)
        return;
    if (MsgBox("Are you sure the selected account should be undeleted?", MsgButtons::YesNo, MsgIcon::Question,
               "Undelete Account") != MsgAnswer::Yes)
        return;
    if (!run("UPDATE Account_info Set is_deleted = 0 WHERE hosp_acct_id = " + std::to_string(id))) {
        MsgBox("Error Undeleting the account.", MsgButtons::OK, MsgIcon::Critical, kTitle);
        return;
    }
    ReloadAccountCache();
    m_blnChanged = false;
    FillLists(id);
}

void AC_Dept_Acct_Mngr::cmdHospID_Click() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT DISTINCT hospital_id FROM patient_adt WHERE hospital_id <> '' ORDER BY hospital_id";
    if (s.ExecSQL() != 1) {
        MsgBox("Error encountered retrieving the hospital ID values.", MsgButtons::OK, MsgIcon::Critical, kTitle);
        return;
    }
    std::vector<std::string> values;
    while (s.FetchRow() == 1)
        values.push_back(s.GetColumnText(1, 1));
    if (!s.LastSQLError.empty()) {
        MsgBox("Hospital ID values could not be retrieved.", MsgButtons::OK, MsgIcon::Critical, kTitle);
        return;
    }
    if (values.empty()) {
        MsgBox("No hospital ID values were found.", MsgButtons::OK, MsgIcon::Information, kTitle);
        return;
    }
    AC_Select picker(this);
    picker.SetValues("Available Hospital ID Values", values);
    picker.SetSelectedFilters(txtHospIDFilter->text().toStdString());
    picker.exec();
    if (!picker.Saved())
        return;
    txtHospIDFilter->setText(QString::fromStdString(picker.FetchFilterString()));
    SetChanged();
}

} // namespace accounts
