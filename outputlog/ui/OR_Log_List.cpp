#include "OR_Log_List.h"

#include "DatabaseSession.h"
#include "Desktop.h"
#include "GenXWait.h"
#include "MessageService.h"
#include "OR_Fax_Info.h"
#include "OR_Printer.h"
#include "OutputListModel.h"
#include "OutputReport.h"
#include "PrintQueues.h"
#include "clsOutputReportsCfg.h"
#include "clsViewer.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <set>

namespace outputlog {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr int kLimits[] = {25, 50, kAllRecords};

template <typename T>
T* named(T* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

LogDateTime moment(const QDate& d, const QTime& t) {
    return {d.year(), d.month(), d.day(), t.hour(), t.minute()};
}

} // namespace

OR_Log_List::OR_Log_List(OutputLogContext context, QWidget* parent)
    : QWidget(parent), m_udtContext(std::move(context)) {
    setObjectName("OR_Log_List");
    setWindowTitle("Output Tracking");
    now = [] { return QDateTime::currentDateTime().toString("MM/dd/yyyy h:mm AP").toStdString(); };
    runDialog = [](QDialog& dialog) { return dialog.exec(); };

    HAInput = named(new QComboBox, "HAInput");
    HAInput->addItem("<All Accounts>", -1);
    for (const auto& a : m_udtContext.m_colAccounts)
        HAInput->addItem(QString::fromStdString(a.m_strName), static_cast<int>(a.m_lngId));
    RTInput = named(new QComboBox, "RTInput");
    cmbOutputType = named(new QComboBox, "cmbOutputType");
    for (const auto& name : OutputFilterNames())
        cmbOutputType->addItem(QString::fromStdString(name));
    dtpStartDate = named(new QDateEdit(QDate::currentDate()), "dtpStartDate");
    dtpEndDate = named(new QDateEdit(QDate::currentDate()), "dtpEndDate");
    dtpStartTime = named(new QTimeEdit(QTime(0, 0)), "dtpStartTime");
    dtpEndTime = named(new QTimeEdit(QTime(12, 0)), "dtpEndTime");
    for (QDateEdit* d : {dtpStartDate, dtpEndDate})
        d->setCalendarPopup(true);
    DDate = named(new QRadioButton(tr("Dictated")), "DDate");
    DDate->setToolTip("Base the date range on dictation date");
    TDate = named(new QRadioButton(tr("Transcribed")), "TDate");
    TDate->setToolTip("Base the date range on transcribed date");
    PDate = named(new QRadioButton(tr("Output")), "PDate");
    PDate->setToolTip("Base the date range on the time the output entered the system");
    PDate->setChecked(true);
    cmbResults = named(new QComboBox, "cmbResults");
    cmbResults->addItems({"25 records", "50 records", "All records"});
    cmbResults->setCurrentIndex(1);
    for (int i = 0; i < 4; ++i) {
        CBInput[i] = named(new QComboBox, QStringLiteral("CBInput%1").arg(i));
        CBInput[i]->addItem(QString(), 0);
        for (const auto& f : m_udtContext.m_colFields)
            CBInput[i]->addItem(QString::fromStdString(f.m_strName), static_cast<int>(f.m_lngNumber));
        CBText[i] = named(new QLineEdit, QStringLiteral("CBText%1").arg(i));
        CBText[i]->setMaxLength(255);
    }
    HRun = named(new QPushButton(tr("&Run")), "HRun");
    HView = named(new QPushButton(tr("View &Message")), "HView");
    HPrint = named(new QPushButton(tr("&Print")), "HPrint");
    HResend = named(new QPushButton(tr("Re&send")), "HResend");
    HConfigure = named(new QPushButton(tr("Confi&gure")), "HConfigure");
    HClose = named(new QPushButton(tr("&Close")), "HClose");
    for (QPushButton* b : {HView, HPrint, HResend})
        b->setEnabled(m_udtContext.m_blnMayResend);

    m_model = new OutputListModel(this);
    m_model->setRows(&m_objLog.Rows());
    LogView = named(new QTableView, "LogView");
    LogView->setModel(m_model);
    LogView->setSelectionBehavior(QAbstractItemView::SelectRows);
    LogView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LogView->verticalHeader()->hide();
    lblStatus = named(new QLabel, "lblStatus");

    auto* filters = new QGridLayout;
    filters->addWidget(new QLabel(tr("Account:")), 0, 0);
    filters->addWidget(HAInput, 0, 1);
    filters->addWidget(new QLabel(tr("Report Type:")), 0, 2);
    filters->addWidget(RTInput, 0, 3);
    filters->addWidget(new QLabel(tr("Output Type:")), 1, 0);
    filters->addWidget(cmbOutputType, 1, 1);
    filters->addWidget(cmbResults, 1, 3);
    filters->addWidget(new QLabel(tr("From:")), 2, 0);
    auto* from = new QHBoxLayout;
    from->addWidget(dtpStartDate);
    from->addWidget(dtpStartTime);
    filters->addLayout(from, 2, 1);
    filters->addWidget(new QLabel(tr("To:")), 2, 2);
    auto* to = new QHBoxLayout;
    to->addWidget(dtpEndDate);
    to->addWidget(dtpEndTime);
    filters->addLayout(to, 2, 3);
    auto* dates = new QHBoxLayout;
    for (QRadioButton* r : {DDate, TDate, PDate})
        dates->addWidget(r);
    filters->addLayout(dates, 3, 1, 1, 3);
    filters->addWidget(new QLabel(tr("Additional Search Criteria")), 4, 0, 1, 4);
    for (int i = 0; i < 4; ++i) {
        filters->addWidget(CBInput[i], 5 + i / 2, (i % 2) * 2);
        filters->addWidget(CBText[i], 5 + i / 2, (i % 2) * 2 + 1);
    }
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {HRun, HView, HPrint, HResend, HConfigure})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(HClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(buttons);
    layout->addWidget(LogView, 1);
    layout->addWidget(lblStatus);

    connect(HAInput, &QComboBox::currentIndexChanged, this, &OR_Log_List::fillReportTypes);
    connect(HRun, &QPushButton::clicked, this, &OR_Log_List::HRun_Click);
    connect(HResend, &QPushButton::clicked, this, &OR_Log_List::HResend_Click);
    connect(HView, &QPushButton::clicked, this, &OR_Log_List::HView_Click);
    connect(HPrint, &QPushButton::clicked, this, &OR_Log_List::HPrint_Click);
    connect(HConfigure, &QPushButton::clicked, this, &OR_Log_List::HConfigure_Click);
    connect(HClose, &QPushButton::clicked, this, &QWidget::close);
    fillReportTypes();
}

void OR_Log_List::fillReportTypes() {
    RTInput->clear();
    const long account = HAInput->currentData().toInt();
    if (account < 0) {
        RTInput->addItem("<All Report Types>", -1);
        return;
    }
    for (const auto& a : m_udtContext.m_colAccounts)
        if (a.m_lngId == account) {
            RTInput->addItem(QString::fromStdString("<All For Account " + a.m_strName + " >"), -1);
            for (const auto& t : a.m_colReportTypes)
                RTInput->addItem(QString::fromStdString(t.m_strName + " (" + std::to_string(t.m_lngNumber) + ")"),
                                 static_cast<int>(t.m_lngNumber));
        }
}

OutputQueryOptions OR_Log_List::Options() const {
    OutputQueryOptions o;
    o.m_lngAccount = HAInput->currentData().toInt();
    for (const auto& a : m_udtContext.m_colAccounts)
        o.m_colPartitionAccounts.push_back(a.m_lngId);
    o.m_lngReportType = RTInput->currentIndex() < 0 ? -1 : RTInput->currentData().toInt();
    o.m_enuFilter = static_cast<OutputFilter>(std::max(0, cmbOutputType->currentIndex()));
    o.m_enuDateType = DDate->isChecked()   ? DateType::Dictated
                      : TDate->isChecked() ? DateType::Transcribed
                                           : DateType::Output;
    o.m_dtmStart = moment(dtpStartDate->date(), dtpStartTime->time());
    o.m_dtmEnd = moment(dtpEndDate->date(), dtpEndTime->time());
    o.m_intLimit = kLimits[std::max(0, cmbResults->currentIndex())];
    for (int i = 0; i < 4; ++i) {
        const long number = CBInput[i]->currentData().toInt();
        const std::string text = CBText[i]->text().toStdString();
        if (number == 0) {
            if (!CBText[i]->text().trimmed().isEmpty())
                o.m_colCriteria.push_back({"", "", 0, "", text});
            continue;
        }
        for (const auto& f : m_udtContext.m_colFields)
            if (f.m_lngNumber == number)
                o.m_colCriteria.push_back({f.m_strName, f.m_strColumn, f.m_intType, f.m_strCustomOperation, text});
    }
    return o;
}

clsOutputReportsCfg OR_Log_List::current() const {
    clsOutputReportsCfg cfg;
    const OutputQueryOptions o = Options();
    cfg.m_lngAccount = o.m_lngAccount;
    cfg.m_lngReportType = o.m_lngReportType;
    cfg.m_intFilter = cmbOutputType->currentIndex();
    cfg.m_intDateType = static_cast<int>(o.m_enuDateType);
    cfg.m_intLimit = o.m_intLimit;
    cfg.m_blnHasDates = true;
    cfg.m_dtmStart = o.m_dtmStart;
    cfg.m_dtmEnd = o.m_dtmEnd;
    for (QComboBox* box : CBInput)
        cfg.m_colCriterionFields.push_back(box->currentData().toInt());
    return cfg;
}

void OR_Log_List::restore(const clsOutputReportsCfg& cfg) {
    HAInput->setCurrentIndex(std::max(0, HAInput->findData(static_cast<int>(cfg.m_lngAccount))));
    fillReportTypes();
    RTInput->setCurrentIndex(std::max(0, RTInput->findData(static_cast<int>(cfg.m_lngReportType))));
    if (cfg.m_intFilter >= 0 && cfg.m_intFilter < cmbOutputType->count())
        cmbOutputType->setCurrentIndex(cfg.m_intFilter);
    (cfg.m_intDateType == 0 ? DDate : cfg.m_intDateType == 1 ? TDate : PDate)->setChecked(true);
    for (int i = 0; i < 3; ++i)
        if (kLimits[i] == cfg.m_intLimit)
            cmbResults->setCurrentIndex(i);
    if (cfg.m_blnHasDates) {
        dtpStartDate->setDate(QDate(cfg.m_dtmStart.year, cfg.m_dtmStart.month, cfg.m_dtmStart.day));
        dtpStartTime->setTime(QTime(cfg.m_dtmStart.hour, cfg.m_dtmStart.minute));
        dtpEndDate->setDate(QDate(cfg.m_dtmEnd.year, cfg.m_dtmEnd.month, cfg.m_dtmEnd.day));
        dtpEndTime->setTime(QTime(cfg.m_dtmEnd.hour, cfg.m_dtmEnd.minute));
    }
    for (size_t i = 0; i < CBInput.size() && i < cfg.m_colCriterionFields.size(); ++i)
        CBInput[i]->setCurrentIndex(std::max(0, CBInput[i]->findData(static_cast<int>(cfg.m_colCriterionFields[i]))));
}

void OR_Log_List::MyShow() {
    clsOutputReportsCfg cfg;
    if (cfg.Read(m_udtContext.m_udtUser.m_lngUserId))
        restore(cfg);
    // The stored choices keep the criteria's fields but not their texts: such a list waits for the
    // texts and the Run button rather than greeting the user with a refusal.
    if (CheckQuery(Options()).empty())
        HRun_Click();
}

void OR_Log_List::HRun_Click() {
    const OutputQueryOptions o = Options();
    const std::string refusal = CheckQuery(o);
    if (!refusal.empty()) {
        MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, "Output Tracking");
        return;
    }
    current().Write(m_udtContext.m_udtUser.m_lngUserId);
    m_model->setRows(nullptr);
    auto& wait = platform::GenXWait::instance();
    wait.WaitOn("Generating Report...", 0, 0, 0);
    m_objLog.Load(o);
    wait.WaitOff();
    m_model->setRows(&m_objLog.Rows());
    const size_t n = m_objLog.Rows().size();
    lblStatus->setText(n == 0 ? QStringLiteral("No Items Found") : QStringLiteral("%1 records found").arg(n));
}

// An upload (external output) is shown by the suite's upload viewer over its own connection.
void OR_Log_List::HView_Click() {
    const QModelIndex current = LogView->currentIndex();
    if (!current.isValid() || static_cast<size_t>(current.row()) >= m_objLog.Rows().size())
        return;
    const OutputRow& row = m_objLog.Rows()[static_cast<size_t>(current.row())];
    if (KindOf(row.m_intOutputType) != ResendKind::External)
        return;
    std::string connection = foundation::DatabaseSession::instance().ConnectionString();
    while (!connection.empty() && connection.back() == ' ')
        connection.pop_back();
    suite::clsViewer viewer;
    viewer.ViewerTimeout = "60";
    viewer.IniFile = m_udtContext.m_strIniFile;
    viewer.ConnectionString = connection;
    if (!viewer.ViewRecord(row.m_lngOutputId, this))
        MsgBox("Unable to display Upload Viewer", MsgButtons::OK, MsgIcon::Exclamation, "Error");
}

void OR_Log_List::HResend_Click() {
    std::set<size_t> chosen;
    for (const QModelIndex& index : LogView->selectionModel()->selectedRows())
        chosen.insert(static_cast<size_t>(index.row()));
    if (chosen.empty())
        return;
    std::vector<size_t> rows(chosen.begin(), chosen.end());
    std::vector<const OutputRow*> selected;
    for (size_t r : rows)
        selected.push_back(&m_objLog.Rows()[r]);
    const std::string refusal = ResendRefusal(selected);
    if (!refusal.empty()) {
        MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, "Resend");
        return;
    }
    ResendRequest request;
    request.m_enuKind = KindOf(selected.front()->m_intOutputType);
    request.m_udtUser = m_udtContext.m_udtUser;
    request.m_strWhen = now();
    if (request.m_enuKind == ResendKind::Fax || request.m_enuKind == ResendKind::Email) {
        OR_Fax_Info dialog(this);
        if (!dialog.ResendFax(InitialDestination(selected, request.m_enuKind), request.m_enuKind == ResendKind::Email))
            return;
        request.m_strDestination = dialog.Destination();
        request.m_blnPriority = dialog.Priority();
    }
    // Several rows are requeued under the wait window; Cancel stops before the next row, and the
    // rows already sent stay marked as resubmitted.
    if (rows.size() < 2) {
        m_objLog.Resend(rows, request);
    } else {
        auto& wait = platform::GenXWait::instance();
        wait.WaitOn(QStringLiteral("Resending %1 outputs...  Please Wait...").arg(rows.size()), 1, 0, 0);
        size_t next = 0;
        m_objLog.Resend(rows, request, [&] {
            wait.setMessage("Resending output " + std::to_string(++next) + " of " + std::to_string(rows.size()) +
                            "...  Please Wait...");
            wait.processEvents();
            return wait.isCancelled();
        });
        wait.WaitOff();
    }
    m_model->rowsChanged();
}

} // namespace outputlog

namespace outputlog {

std::string OR_Log_List::ReportHeading() const {
    const OutputQueryOptions o = Options();
    return ReportTitle(o.m_enuFilter) + " " + DateTypeHeading(o.m_enuDateType) + ":  " + UsDateTime(o.m_dtmStart) +
           " to " + UsDateTime(o.m_dtmEnd);
}

bool OR_Log_List::PrintReport(const std::string& printerName) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(printerName));
    if (info.isNull())
        return false;
    QPrinter printer(info);
    auto& wait = platform::GenXWait::instance();
    wait.WaitOn("Sending report to printer...", 0, 0, 0);
    PrintOutputReport(printer, ReportHeading(), m_objLog.Rows());
    wait.WaitOff();
    return true;
}

void OR_Log_List::HPrint_Click() {
    const bool preview = MsgBox("Preview report before printing?", MsgButtons::YesNo, MsgIcon::Question,
                                "Preview Report") == platform::MsgAnswer::Yes;
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        MsgBox("There are no printers to select from.  Report can not be printed.", MsgButtons::OK,
               MsgIcon::Exclamation, "Error");
        return;
    }
    OR_Printer choice(this);
    const std::string chosen = choice.SelectPrinter(runDialog);
    if (chosen.empty())
        return;
    if (!preview) {
        PrintReport(chosen);
        return;
    }
    QPrinter printer(QPrinterInfo::printerInfo(QString::fromStdString(chosen)));
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { PrintOutputReport(*p, ReportHeading(), m_objLog.Rows()); });
    runDialog(dialog);
}

// The printer is configured where its queue is kept: the queue's page on the scheduler's web
// interface (driver, trays, defaults), opened in the desktop's browser.
void OR_Log_List::HConfigure_Click() {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        MsgBox("There are no printers to select from.", MsgButtons::OK, MsgIcon::Exclamation, "Configure Printer");
        return;
    }
    OR_Printer choice(this);
    const std::string chosen = choice.SelectPrinter(runDialog);
    if (chosen.empty())
        return;
    const auto page = platform::PrintQueues::ConfigurationPage(chosen);
    if (!page) {
        MsgBox("The print queue " + chosen + " is not installed on this workstation.", MsgButtons::OK,
               MsgIcon::Exclamation, "Configure Printer");
        return;
    }
    auto& desktop = platform::DesktopOpener::instance();
    if (!desktop.hasWebBrowser() || !desktop.openDocument(*page))
        MsgBox("No web browser could be started to show the configuration page of " + chosen + " (" + *page + ").",
               MsgButtons::OK, MsgIcon::Exclamation, "Configure Printer");
}

} // namespace outputlog
