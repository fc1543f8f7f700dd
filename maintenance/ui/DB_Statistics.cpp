#include "DB_Statistics.h"

#include "EventLog.h"
#include "Interaction.h"
#include "MessageService.h"
#include "modBackupCheck.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace maintenance {

namespace {
QLabel* valueLabel(QWidget* parent, const char* name, const char* tip) {
    auto* l = new QLabel("Unknown", parent);
    l->setObjectName(name);
    l->setToolTip(tip);
    return l;
}
} // namespace

DB_Statistics::DB_Statistics(const std::string& importFolder, const std::string& backupFolder, bool canBackUp,
                             QWidget* parent)
    : QWidget(parent), m_strBackupFolder(backupFolder) {
    setObjectName("DB_Statistics");
    setWindowTitle("Database Statistics");
    m_stats.importFolder = importFolder;
    auto* root = new QVBoxLayout(this);
    StatView = new QTreeWidget(this);
    StatView->setObjectName("StatView");
    StatView->setRootIsDecorated(false);
    StatView->setColumnCount(4);
    StatView->setHeaderLabels({"Database Tables", "# of Records", "Oldest Record", "Purge-Not Performed"});
    StatView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    root->addWidget(StatView, 1);

    auto* info = new QHBoxLayout;
    FDBInfo = new QGroupBox("Database Information", this);
    FDBInfo->setObjectName("FDBInfo");
    auto* dbGrid = new QGridLayout(FDBInfo);
    LDBSpace = valueLabel(FDBInfo, "LDBSpace", "Estimated amount of database space available");
    LLastBackup = valueLabel(FDBInfo, "LLastBackup", "The last time a database backup was performed");
    dbGrid->addWidget(new QLabel("Space:", FDBInfo), 0, 0);
    dbGrid->addWidget(LDBSpace, 0, 1);
    dbGrid->addWidget(new QLabel("Last Backup:", FDBInfo), 1, 0);
    dbGrid->addWidget(LLastBackup, 1, 1);
    info->addWidget(FDBInfo, 2);
    auto* import = new QGroupBox("Database Import Engine", this);
    import->setObjectName("fraImport");
    auto* importGrid = new QGridLayout(import);
    LImportFiles = valueLabel(import, "LImportFiles", "Number of files waiting to be processed by the Import Engine");
    LBadFiles = valueLabel(import, "LBadFiles", "Files that could not be processed by the Import Engine");
    importGrid->addWidget(new QLabel("Files In Queue:", import), 0, 0);
    importGrid->addWidget(LImportFiles, 0, 1);
    importGrid->addWidget(new QLabel("Invalid Files:", import), 1, 0);
    importGrid->addWidget(LBadFiles, 1, 1);
    info->addWidget(import, 1);
    root->addLayout(info);

    auto* bottom = new QHBoxLayout;
    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    HUpdate = new QPushButton("&Update", this);
    HUpdate->setObjectName("HUpdate");
    HClose = new QPushButton("&Close", this);
    HClose->setObjectName("HClose");
    cmdBackupNow = new QPushButton("&Back Up Now", this);
    cmdBackupNow->setObjectName("cmdBackupNow");
    cmdBackupNow->setEnabled(canBackUp);
    bottom->addWidget(lblStatus, 1);
    bottom->addWidget(cmdBackupNow);
    bottom->addWidget(HUpdate);
    bottom->addWidget(HClose);
    root->addLayout(bottom);

    m_stats.progress = [this](const std::string& text) {
        lblStatus->setText(QString::fromStdString(text));
        lblStatus->repaint();
    };
    m_stats.showOverRange = [](const std::string& message) {
        platform::MsgBox(message, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Database Statistics");
    };
    m_stats.formatBackup = [](const std::string& stamp) { return LongDateMinutes(stamp); };
    connect(HUpdate, &QPushButton::clicked, this, [this] { Gather(); });
    connect(cmdBackupNow, &QPushButton::clicked, this, [this] { cmdBackupNow_Click(); });
    connect(HClose, &QPushButton::clicked, this, [this] {
        if (onClose)
            onClose();
        else
            close();
    });
}

void DB_Statistics::Gather() {
    m_stats.Gather();
    show(m_stats);
}

void DB_Statistics::cmdBackupNow_Click() {
    if (m_stats.databaseName.empty())
        Gather();
    if (m_stats.databaseName.empty())
        return;
    std::string file;
    bool done = false;
    {
        platform::BusyPointer busy;
        auto& wait = platform::WaitWindow::instance();
        wait.open("Database Backup", "Backing up the database " + m_stats.databaseName + "....");
        done = clsDatabaseStatistics::BackupNow(m_stats.databaseName, m_strBackupFolder, file);
        wait.close();
    }
    if (!done) {
        platform::MsgBox("The database " + m_stats.databaseName + " could not be backed up.", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, "Database Statistics");
        return;
    }
    foundation::EventLog::LogEvent(foundation::EventLog::SystemLog, 0, 2, 0, 0, 0, 0, 0, 0, -1, 0,
                                   "Full backup of the database " + m_stats.databaseName + " made to " + file +
                                       " by user " + foundation::EventLog::context().userName + ".");
    Gather();
    if (onBackedUp)
        onBackedUp();
}

void DB_Statistics::show(const clsDatabaseStatistics& s) {
    StatView->clear();
    StatView->headerItem()->setText(3, QString::fromStdString(s.purgeHeading));
    for (const auto& c : s.categories) {
        auto* item = new QTreeWidgetItem(StatView);
        item->setText(0, QString::fromStdString(c.name));
        item->setText(1, QString::fromStdString(c.records));
        item->setText(2, QString::fromStdString(c.oldest));
        item->setText(3, QString::fromStdString(c.purged));
    }
    FDBInfo->setTitle(QString::fromStdString(s.frameCaption));
    LDBSpace->setText(QString::fromStdString(s.space.text));
    LDBSpace->setToolTip(QString::fromStdString(s.space.tooltip));
    LLastBackup->setText(QString::fromStdString(s.lastBackup));
    LImportFiles->setText(QString::fromStdString(s.importFiles));
    LBadFiles->setText(QString::fromStdString(s.badFiles));
}

} // namespace maintenance
