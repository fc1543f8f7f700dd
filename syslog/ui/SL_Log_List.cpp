#include "SL_Log_List.h"

#include "DatabaseSession.h"
#include "Interaction.h"
#include "LogListModel.h"
#include "LoginComponent.h"
#include "QtServices.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <set>

namespace systemlog {

namespace {

QComboBox* filterBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(18);
    return box;
}

QPushButton* dayButton(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setMaximumWidth(32);
    return b;
}

// Today by the program's clock, which tests pin.
QDate Today() {
    return QDateTime::fromSecsSinceEpoch(platform::Clock::now()).date();
}

} // namespace

SL_Log_List::SL_Log_List(const suite::LoginComponent& login, QWidget* parent) : QWidget(parent), m_login(login) {
    setObjectName("SL_Log_List");
    setWindowTitle("System Log");

    auto* toolbar = new QToolBar(this);
    HUpdate = toolbar->addAction("&Refresh");
    HUpdate->setObjectName("HUpdate");
    HUpdate->setShortcut(QKeySequence::Refresh);
    HClose = toolbar->addAction("&Close");
    HClose->setObjectName("HClose");

    dtpLogDate = new QDateEdit(Today(), this);
    dtpLogDate->setObjectName("dtpLogDate");
    dtpLogDate->setCalendarPopup(true);
    dtpLogDate->setDisplayFormat("MM/dd/yyyy");
    BReverse = dayButton(this, "BReverse", "<", "Previous day");
    BForward = dayButton(this, "BForward", ">", "Next day");
    CBLogType = filterBox(this, "CBLogType");
    CBAccounts = filterBox(this, "CBAccounts");
    CBUsers = filterBox(this, "CBUsers");
    CBBatches = filterBox(this, "CBBatches");
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName("txtSearch");
    txtSearch->setPlaceholderText("Find in messages, users, accounts");
    txtSearch->setClearButtonEnabled(true);
    // Room for the whole hint, so that a narrow window squeezes the lists, not the search box.
    txtSearch->setMinimumWidth(txtSearch->fontMetrics().horizontalAdvance(txtSearch->placeholderText()) + 48);

    m_model = new LogListModel(this);
    LogView = new QTableView(this);
    LogView->setObjectName("LogView");
    LogView->setModel(m_model);
    LogView->setSelectionBehavior(QAbstractItemView::SelectRows);
    LogView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LogView->verticalHeader()->hide();
    LogView->verticalHeader()->setDefaultSectionSize(LogView->fontMetrics().height() + 6);
    LogView->horizontalHeader()->setStretchLastSection(true);
    LogView->horizontalHeader()->setSortIndicatorShown(true);
    LogView->horizontalHeader()->setSortIndicator(1, Qt::DescendingOrder);
    LogView->setWordWrap(false);
    auto* copy = new QAction("&Copy", LogView);
    copy->setObjectName("mnuCopy");
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    LogView->addAction(copy);
    LogView->setContextMenuPolicy(Qt::ActionsContextMenu);
    lblMessages = new QLabel(this);
    lblMessages->setObjectName("lblMessages");

    auto* filters = new QHBoxLayout;
    filters->addWidget(BReverse);
    filters->addWidget(dtpLogDate);
    filters->addWidget(BForward);
    filters->addWidget(CBLogType);
    filters->addWidget(CBAccounts);
    filters->addWidget(CBUsers);
    filters->addWidget(CBBatches);
    filters->addWidget(txtSearch, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolbar);
    layout->addLayout(filters);
    layout->addWidget(LogView, 1);
    layout->addWidget(lblMessages);

    CBLogType->addItem("<All Types>", -1);
    for (const auto& [type, name] : LogTypes())
        CBLogType->addItem(QString::fromStdString(name), type);

    connect(dtpLogDate, &QDateEdit::dateChanged, this, [this] { LoadDay(); });
    // Moving a day reads the whole day again: the busy pointer meanwhile.
    connect(BReverse, &QPushButton::clicked, this, [this] {
        platform::BusyPointer busy;
        dtpLogDate->setDate(dtpLogDate->date().addDays(-1));
    });
    connect(BForward, &QPushButton::clicked, this, [this] {
        platform::BusyPointer busy;
        dtpLogDate->setDate(dtpLogDate->date().addDays(1));
    });
    connect(CBLogType, &QComboBox::currentIndexChanged, this, [this] {
        FillBatches();
        LoadDay();
    });
    connect(CBAccounts, &QComboBox::currentIndexChanged, this, [this] {
        FillBatches();
        FillList();
    });
    connect(CBUsers, &QComboBox::currentIndexChanged, this, [this] { FillList(); });
    connect(CBBatches, &QComboBox::currentIndexChanged, this, [this] { FillList(); });
    connect(txtSearch, &QLineEdit::textChanged, this, [this] { FillList(); });
    connect(HUpdate, &QAction::triggered, this, [this] { LoadDay(); });
    connect(HClose, &QAction::triggered, this, [this] { platform::closeScreen(this); });
    connect(copy, &QAction::triggered, this, &SL_Log_List::CopySelection);
    connect(LogView->horizontalHeader(), &QHeaderView::sectionClicked, this, &SL_Log_List::TimeStampHeader_Click);
}

void SL_Log_List::MyShow(long userId) {
    m_lngUserId = userId;
    m_blnFilling = true;
    CBAccounts->clear();
    CBAccounts->addItem("<All Accounts>", QVariant::fromValue(-1L));
    for (int i = 1; i <= m_login.NumberHospAccounts(); ++i) {
        const auto& a = m_login.HospAccountAt(i);
        if (!a.is_deleted)
            CBAccounts->addItem(QString::fromStdString(a.hosp_acct_name), QVariant::fromValue(a.hosp_acct_id));
    }
    CBUsers->clear();
    CBUsers->addItem("<All Users>", QVariant::fromValue(-1L));
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement =
        "SELECT user_id, user_name FROM System_user_bindery WHERE is_deleted = 0 AND flag3 = 0 ORDER BY user_name";
    if (s.ExecSQL() == 1) {
        while (s.FetchRow() == 1) {
            const std::string name = s.GetColumnText(2, 1);
            if (name != "DEFAULT" && name != "PAXLET")
                CBUsers->addItem(QString::fromStdString(name), QVariant::fromValue(s.GetColumnLong(1)));
        }
    }
    m_batches = accounts::LoadActiveBatches();
    CBLogType->setCurrentIndex(0);
    FillBatches();
    dtpLogDate->setDate(Today());
    m_blnFilling = false;
    LoadDay();
}

bool SL_Log_List::SetFilterType(const std::string& typeName) {
    const int index = CBLogType->findText(QString::fromStdString(typeName), Qt::MatchExactly);
    if (index < 0)
        return false;
    CBLogType->setCurrentIndex(index);
    return true;
}

int SL_Log_List::SelectedType() const {
    return CBLogType->currentData().toInt();
}

long SL_Log_List::Selected(const QComboBox* box) const {
    return box->currentIndex() < 0 ? -1 : box->currentData().value<long>();
}

void SL_Log_List::FillBatches() {
    const bool was = m_blnFilling;
    m_blnFilling = true;
    CBBatches->clear();
    CBBatches->addItem("<All Batches>", QVariant::fromValue(-1L));
    const long account = Selected(CBAccounts);
    if (SelectedType() == 1 && account != -1) {
        for (const auto& b : m_batches)
            if (b.hosp_acct_id == account)
                CBBatches->addItem(QString::fromStdString(b.batch_name), QVariant::fromValue(b.batch_nbr));
        CBBatches->addItem("None", QVariant::fromValue(0L)); // rows written without a batch
    }
    CBBatches->setEnabled(CBBatches->count() > 1);
    m_blnFilling = was;
}

void SL_Log_List::LoadDay() {
    if (m_blnFilling)
        return;
    ++m_loads;
    // The list must never report lines of rows that are being replaced: a failing read shows its
    // message box, whose event loop repaints the list.
    m_model->setLines(nullptr, {});
    m_day.Load(dtpLogDate->date().toString("MM/dd/yyyy").toStdString(), SelectedType(), m_blnDescending);
    FillList();
}

void SL_Log_List::FillList() {
    if (m_blnFilling)
        return;
    LogFilter filter;
    filter.account = Selected(CBAccounts);
    filter.user = Selected(CBUsers);
    filter.batch = Selected(CBBatches);
    filter.text = txtSearch->text().trimmed().toStdString();
    m_model->setLines(&m_day, m_day.Lines(filter));
    lblMessages->setText(QString("Messages: %1").arg(m_model->lineCount()));
    LogView->resizeColumnToContents(0);
    LogView->resizeColumnToContents(1);
}

void SL_Log_List::TimeStampHeader_Click(int) {
    // The list is ordered by time only; any header click turns the order around, and the next day
    // loaded is read in the new order.
    m_blnDescending = !m_blnDescending;
    LogView->horizontalHeader()->setSortIndicator(1, m_blnDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
    m_day.Reverse();
    FillList();
}

void SL_Log_List::CopySelection() {
    std::set<int> rows;
    for (const QModelIndex& index : LogView->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    QStringList lines;
    for (int row : rows)
        lines << m_model->lineText(row);
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines.join('\n') + '\n');
}

} // namespace systemlog
