// The profile editor's output page: the five outputs, fax numbers and times, fax days, the report
// types of each output, and the e-mail method.

#include "AccountReportSummary.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "PP_Add_Phys.h"
#include "PhysicianProfileValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <map>

namespace physicians {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

struct Control {
    const char* control;
    const char* caption;
    const char* field;
};
const Control kOutputChecks[] = {
    {"CHKAllowOnline", "Allow Online Printing", "online_enabled"},
    {"CHKAllowBatch", "Allow Batch Printing", "batch_enabled"},
    {"CHKAllowFax1", "Allow Fax 1", "fax_enabled_1"},
    {"CHKAllowFax2", "Allow Fax 2", "fax_enabled_2"},
    {"CHKAllowEmail", "Allow Email", "email_enabled"},
};
const Control kOutputTexts[] = {
    {"TFaxNbr1", "Fax Number 1:", "fax_nbr_1"},
    {"TFaxNbr2", "Fax Number 2:", "fax_nbr_2"},
    {"TBatchQueue", "Batch Queue:", "batch_queue"},
    {"TEmailAddress", "Email Address:", "email_address"},
};
const char* const kEmailMethods[] = {"Use System Default", "HTML", "Password/Encrypted HTML", "Word Document",
                                     "Password - Word Document"};
const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
// The buttons choosing which output's report types LBReportTypes shows.
const std::pair<const char*, ReportSetKind> kReportButtons[] = {
    {"BOnlineReports", ReportSetKind::Online}, {"BStatSortReports", ReportSetKind::Batch},
    {"BFax1Reports", ReportSetKind::Fax1},     {"BFax2Reports", ReportSetKind::Fax2},
    {"BEmailReports", ReportSetKind::Email},
};
const char* const kReportButtonCaptions[] = {"Online", "Batch", "Fax 1", "Fax 2", "Email"};

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

Qt::CheckState state(std::optional<bool> v) {
    return !v ? Qt::PartiallyChecked : *v ? Qt::Checked : Qt::Unchecked;
}

} // namespace

QWidget* PP_Add_Phys::outputPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    auto* left = new QFormLayout;
    LViewOnlyOutput = new QLabel("View Only", page);
    LViewOnlyOutput->setObjectName("LViewOnlyOutput");
    left->addRow(LViewOnlyOutput);
    for (const auto& c : kOutputChecks) {
        auto* box = new QCheckBox(c.caption, page);
        box->setObjectName(c.control);
        bindCheck(box, c.field);
        left->addRow(box);
    }
    for (const auto& t : kOutputTexts) {
        auto* box = new QLineEdit(page);
        box->setObjectName(t.control);
        left->addRow(t.caption, box);
        bindText(box, t.field);
    }
    for (int i = 0; i < 2; ++i) {
        const QString n = QString::number(i + 1);
        CHKFaxTime[i] = new QCheckBox("Fax " + n + " at a fixed time", page);
        CHKFaxTime[i]->setObjectName("CHKFaxTime" + n);
        MFaxTime[i] = new QLineEdit(page);
        MFaxTime[i]->setObjectName("MFaxTime" + n);
        MFaxTime[i]->setMaxLength(9);
        CBFaxAmPm[i] = new QComboBox(page);
        CBFaxAmPm[i]->setObjectName("CBFaxAmPm" + n);
        CBFaxAmPm[i]->addItems({"am", "pm"});
        LBFaxDays[i] = new QListWidget(page);
        LBFaxDays[i]->setObjectName("LBFaxDays" + n);
        for (size_t d = 0; d < std::size(kDays); ++d) {
            auto* item = new QListWidgetItem(kDays[d], LBFaxDays[i]);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        }
        auto* row = new QHBoxLayout;
        row->addWidget(CHKFaxTime[i]);
        row->addWidget(MFaxTime[i]);
        row->addWidget(CBFaxAmPm[i]);
        left->addRow(row);
        left->addRow("Fax " + n + " Days:", LBFaxDays[i]);
        connect(MFaxTime[i], &QLineEdit::editingFinished, this, [this] { commitFaxTimes(); });
        connect(LBFaxDays[i], &QListWidget::itemChanged, this, [this, i](QListWidgetItem* item) {
            if (m_blnLoading || item->checkState() == Qt::PartiallyChecked)
                return;
            m_edit.SetFaxDay(i + 1, static_cast<size_t>(LBFaxDays[i]->row(item)), item->checkState() == Qt::Checked);
        });
    }
    CBEmailMethod = new QComboBox(page);
    CBEmailMethod->setObjectName("CBEmailMethod");
    for (const char* m : kEmailMethods)
        CBEmailMethod->addItem(m);
    left->addRow("Email Method:", CBEmailMethod);
    connect(CBEmailMethod, &QComboBox::activated, this, [this](int index) {
        if (!m_blnLoading && index >= 0)
            m_edit.SetValue("email_method", std::to_string(index));
    });
    CBPrinter = new QComboBox(page);
    CBPrinter->setObjectName("CBPrinter");
    left->addRow("Online Printer:", CBPrinter);
    connect(CBPrinter, &QComboBox::activated, this, [this](int index) {
        if (!m_blnLoading && index >= 0)
            m_edit.SetValue("online_queue", CBPrinter->itemData(index).toString().toStdString());
    });
    auto* cmdSetPassword = new QPushButton("Set &Password...", page);
    cmdSetPassword->setObjectName("cmdSetPassword");
    connect(cmdSetPassword, &QPushButton::clicked, this, [this] {
        if (setPassword)
            setPassword(m_edit);
    });
    left->addRow(cmdSetPassword);
    grid->addLayout(left, 0, 0);

    auto* right = new QVBoxLayout;
    auto* choose = new QHBoxLayout;
    for (size_t b = 0; b < std::size(kReportButtons); ++b) {
        auto* button = new QPushButton(kReportButtonCaptions[b], page);
        button->setObjectName(kReportButtons[b].first);
        const ReportSetKind kind = kReportButtons[b].second;
        connect(button, &QPushButton::clicked, this, [this, kind] { showReportSet(kind); });
        choose->addWidget(button);
    }
    right->addLayout(choose);
    labReportSet = new QLabel(page);
    labReportSet->setObjectName("labReportSet");
    right->addWidget(labReportSet);
    LBReportTypes = new QListWidget(page);
    LBReportTypes->setObjectName("LBReportTypes");
    right->addWidget(LBReportTypes);
    connect(LBReportTypes, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (m_blnLoading || item->checkState() == Qt::PartiallyChecked)
            return;
        m_edit.SetReportIncluded(m_reportSet, static_cast<size_t>(item->data(Qt::UserRole).toLongLong()),
                                 item->checkState() == Qt::Checked);
        showSummary();
    });
    auto* all = new QHBoxLayout;
    auto* selectAll = new QPushButton("Select &All", page);
    selectAll->setObjectName("BReportsSelectAll");
    auto* unselectAll = new QPushButton("&Unselect All", page);
    unselectAll->setObjectName("BReportsUnSelectAll");
    for (auto [button, on] : {std::pair{selectAll, true}, std::pair{unselectAll, false}})
        connect(button, &QPushButton::clicked, this, [this, on] {
            for (const auto& [type, name] : reportTypes())
                m_edit.SetReportIncluded(m_reportSet, static_cast<size_t>(type), on);
            showReportSet(m_reportSet);
        });
    all->addWidget(selectAll);
    all->addWidget(unselectAll);
    right->addLayout(all);
    grid->addLayout(right, 0, 1);
    return page;
}

std::vector<std::pair<long, std::string>> PP_Add_Phys::reportTypes() const {
    std::map<long, std::string> types{{0, "<Default Report>"}};
    std::vector<long> accounts = m_edit.selection();
    if (m_edit.mode() == Mode::EditDefault) {
        accounts.clear();
        for (int i = 1; i <= m_login.NumberHospAccounts(); ++i)
            accounts.push_back(m_login.HospAccountAt(i).hosp_acct_id);
    }
    for (long a : accounts)
        if (const int index = m_login.GetAcctIndex(a); index > 0)
            for (const auto& t : m_login.HospAccountAt(index).ReportTypes)
                if (!t.is_deleted && t.report_type_nbr > 0 && t.report_type_nbr < static_cast<long>(kReportSetWritten))
                    types.emplace(t.report_type_nbr, t.report_name);
    return {types.begin(), types.end()};
}

void PP_Add_Phys::showReportSet(ReportSetKind kind) {
    m_reportSet = kind;
    for (size_t b = 0; b < std::size(kReportButtons); ++b)
        if (kReportButtons[b].second == kind)
            labReportSet->setText(QString(kReportButtonCaptions[b]) + " Reports");
    const bool wasLoading = m_blnLoading;
    m_blnLoading = true;
    LBReportTypes->clear();
    for (const auto& [type, name] : reportTypes()) {
        auto* item = new QListWidgetItem(q(name), LBReportTypes);
        item->setData(Qt::UserRole, static_cast<qlonglong>(type));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(state(m_edit.selection().empty() ? std::optional<bool>(false)
                                                             : m_edit.ReportIncluded(kind, static_cast<size_t>(type))));
    }
    m_blnLoading = wasLoading;
    showSummary();
}

void PP_Add_Phys::showSummary() {
    const bool anyAccount = LBAccounts->count() > 0;
    // With no account selected the report types are not known: no "No Reports" claim.
    bool anyReport = m_edit.selection().empty();
    if (!anyReport)
        for (const auto& [type, name] : reportTypes())
            anyReport = anyReport || m_edit.ReportIncluded(m_reportSet, static_cast<size_t>(type)).value_or(true);
    labAccountSummary->setText(AccountReportSummary(anyAccount, m_edit.memberOfAllAccounts(), anyReport));
}

void PP_Add_Phys::showOutput() {
    const bool wasLoading = m_blnLoading;
    m_blnLoading = true;
    const std::string method = m_edit.Value("email_method");
    CBEmailMethod->setCurrentIndex(method == kVarious ? -1 : std::clamp(std::atoi(method.c_str()), 0, 4));
    for (int i = 0; i < 2; ++i) {
        const std::string n = std::to_string(i + 1);
        const std::string hour = m_edit.Value("fax_hour_" + n), minute = m_edit.Value("fax_minute_" + n);
        if (hour == kVarious || minute == kVarious) {
            CHKFaxTime[i]->setTristate(true);
            CHKFaxTime[i]->setCheckState(Qt::PartiallyChecked);
            MFaxTime[i]->setText(kVarious);
            CBFaxAmPm[i]->setCurrentIndex(-1);
        } else {
            const FaxTime time{std::atoi(hour.c_str()), std::atoi(minute.c_str())};
            const auto [text, half] = FaxTimeText(time);
            CHKFaxTime[i]->setTristate(false);
            CHKFaxTime[i]->setChecked(time.hour != kNoFaxTime);
            MFaxTime[i]->setText(q(text));
            CBFaxAmPm[i]->setCurrentIndex(half == "pm" ? 1 : 0);
        }
        m_strShownFaxTime[i] = MFaxTime[i]->text().toStdString() + "|" + std::to_string(CBFaxAmPm[i]->currentIndex()) +
                               "|" + std::to_string(CHKFaxTime[i]->checkState());
        const auto days = m_edit.selection().empty() ? std::optional<DaySet>(DaySet{}) : m_edit.FaxDays(i + 1);
        for (int d = 0; d < LBFaxDays[i]->count(); ++d)
            LBFaxDays[i]->item(d)->setCheckState(
                state(days ? std::optional<bool>((*days)[static_cast<size_t>(d)]) : std::nullopt));
    }
    m_blnLoading = wasLoading;
    showPrinter();
    showReportSet(m_reportSet);
}

void PP_Add_Phys::showPrinter() {
    const bool wasLoading = m_blnLoading;
    m_blnLoading = true;
    CBPrinter->clear();
    CBPrinter->addItem("<None>", QString());
    for (const auto& p : m_printers.Usable())
        CBPrinter->addItem(q(p.name), q(p.queue));
    const std::string queue = m_edit.selection().empty() ? std::string() : m_edit.Value("online_queue");
    if (queue == kVarious) {
        CBPrinter->setCurrentIndex(-1);
    } else if (const std::string reset = m_printers.ResetMessage(queue); !reset.empty()) {
        MsgBox(reset, MsgButtons::OK, MsgIcon::Exclamation, "Physician Profile");
        m_edit.SetValue("online_queue", "");
        CBPrinter->setCurrentIndex(0);
    } else {
        CBPrinter->setCurrentIndex(m_printers.IndexOf(queue) + 1);
    }
    m_blnLoading = wasLoading;
}

bool PP_Add_Phys::commitFaxTimes() {
    for (int i = 0; i < 2; ++i) {
        const std::string shown = MFaxTime[i]->text().toStdString() + "|" +
                                  std::to_string(CBFaxAmPm[i]->currentIndex()) + "|" +
                                  std::to_string(CHKFaxTime[i]->checkState());
        if (shown == m_strShownFaxTime[i] || CHKFaxTime[i]->checkState() == Qt::PartiallyChecked)
            continue; // untouched, or left as "<various>"
        std::optional<FaxTime> time = FaxTime{};
        if (CHKFaxTime[i]->isChecked())
            time = FaxTimeFromText(MFaxTime[i]->text().toStdString(), CBFaxAmPm[i]->currentIndex() == 1);
        if (!time) {
            MsgBox(kImpossibleFaxTime, MsgButtons::OK, MsgIcon::Exclamation, "Invalid Entry");
            tabPages->setCurrentWidget(MFaxTime[i]->parentWidget());
            MFaxTime[i]->setFocus();
            return false;
        }
        const std::string n = std::to_string(i + 1);
        m_edit.SetValue("fax_hour_" + n, std::to_string(time->hour));
        m_edit.SetValue("fax_minute_" + n, std::to_string(time->minute));
        m_strShownFaxTime[i] = shown;
    }
    return true;
}

void PP_Add_Phys::setOutputEnabled(bool enabled) {
    LViewOnlyOutput->setVisible(!enabled);
    for (const auto& c : kOutputChecks)
        m_checks[c.field]->setEnabled(enabled);
    for (const auto& t : kOutputTexts)
        m_texts[t.field]->setEnabled(enabled);
    for (int i = 0; i < 2; ++i)
        for (QWidget* w : std::initializer_list<QWidget*>{CHKFaxTime[i], MFaxTime[i], CBFaxAmPm[i], LBFaxDays[i]})
            w->setEnabled(enabled);
    CBEmailMethod->setEnabled(enabled);
    CBPrinter->setEnabled(enabled);
    LBReportTypes->setEnabled(enabled);
}

} // namespace physicians
