#include "DB_Options.h"

#include "DB_MaintenanceCommands.h"
#include "LoginComponent.h"
#include "MessageService.h"

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

QLabel* value(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

QString enabledText(int on) {
    return on ? "Enabled" : "Disabled";
}

QString lastChange(const std::string& user, const std::string& time) {
    if (user.empty() && time.empty())
        return {};
    return "Last changed by " + QString::fromStdString(user) + " " + QString::fromStdString(time).trimmed();
}

} // namespace

QString DB_Options::TimeText(int hour, int minute) {
    const int shown = hour % 12 == 0 ? 12 : hour % 12;
    return QString::number(shown) + ":" + QString::number(minute).rightJustified(2, '0') + (hour < 12 ? " am" : " pm");
}

QString DB_Options::FrequencyText(int frequency, int day) {
    static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    if (frequency == 2)
        return "Never";
    if (frequency == 1 && day >= 1 && day <= 7)
        return kDays[day - 1];
    return "Every Day";
}

DB_Options::DB_Options(DB_MaintenanceCommands& commands, const suite::LoginComponent& login, QWidget* parent)
    : QWidget(parent), m_commands(commands), m_login(login) {
    setObjectName("DB_Options");
    setWindowTitle("Database Management");
    auto* root = new QVBoxLayout(this);

    auto* settings = new QGroupBox("Maintenance Settings", this);
    auto* grid = new QGridLayout(settings);
    auto row = [&](int r, const QString& label, QLabel* status, QLabel* last) {
        grid->addWidget(new QLabel(label, settings), r, 0);
        grid->addWidget(status, r, 1);
        if (last)
            grid->addWidget(last, r, 2);
    };
    LPurgeStatus = value(settings, "LPurgeStatus");
    LPurgeLast = value(settings, "LPurgeLast");
    LArchiveStatus = value(settings, "LArchiveStatus");
    LArchiveLast = value(settings, "LArchiveLast");
    LMigrateStatus = value(settings, "LMigrateStatus");
    LMigrateLast = value(settings, "LMigrateLast");
    LTime = value(settings, "LTime");
    LFrequency = value(settings, "LFrequency");
    LUpdateStats = value(settings, "LUpdateStats");
    LBackupDays = value(settings, "LBackupDays");
    row(0, "Database Purging:", LPurgeStatus, LPurgeLast);
    row(1, "Document Archiving:", LArchiveStatus, LArchiveLast);
    row(2, "File Server To Database:", LMigrateStatus, LMigrateLast);
    row(3, "Maintenance Time:", LTime, LFrequency);
    row(4, "Update Statistics:", LUpdateStats, nullptr);
    row(5, "Backup Days:", LBackupDays, nullptr);
    root->addWidget(settings);

    auto* disks = new QGroupBox("Archive Disks", this);
    auto* diskLayout = new QVBoxLayout(disks);
    auto* current = new QHBoxLayout;
    LCurrentDisk = value(disks, "LCurrentDisk");
    current->addWidget(new QLabel("Current Disk:", disks));
    current->addWidget(LCurrentDisk);
    current->addStretch();
    diskLayout->addLayout(current);
    DiskView = new QTreeWidget(disks);
    DiskView->setObjectName("DiskView");
    DiskView->setRootIsDecorated(false);
    DiskView->setHeaderLabels(
        {"Disk Label", "Location", "Last Write", "Date Range Begin", "Date Range End", "Reports", "Status"});
    diskLayout->addWidget(DiskView);
    root->addWidget(disks);

    auto* buttons = new QGridLayout;
    auto button = [&](const char* text, const char* name, int r, int c) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        buttons->addWidget(b, r, c);
        return b;
    };
    BPurge = button("&Purging...", "BPurge", 0, 0);
    BArchive = button("&Archiving...", "BArchive", 0, 1);
    BFileServer = button("&File Server...", "BFileServer", 0, 2);
    BTiming = button("&Timing...", "BTiming", 0, 3);
    BAddDisk = button("A&dd Disk...", "BAddDisk", 1, 0);
    BEditDisk = button("&Edit Disk...", "BEditDisk", 1, 1);
    BDeleteDisk = button("De&lete Disk", "BDeleteDisk", 1, 2);
    BStats = button("&Statistics...", "BStats", 1, 3);
    BLog = button("Maintenance &Log...", "BLog", 2, 0);
    BClose = button("&Close", "BClose", 2, 3);
    root->addLayout(buttons);

    connect(BPurge, &QPushButton::clicked, this, [this] { BPurge_Click(); });
    connect(BArchive, &QPushButton::clicked, this, [this] { BArchive_Click(); });
    auto after = [this](auto action) {
        return [this, action] {
            action();
            ShowSettings();
        };
    };
    connect(BFileServer, &QPushButton::clicked, this, after([this] { m_commands.FileServerOptions(this); }));
    connect(BTiming, &QPushButton::clicked, this, after([this] { m_commands.TimingOptions(this); }));
    connect(BAddDisk, &QPushButton::clicked, this, after([this] { m_commands.AddDisk(this); }));
    connect(BEditDisk, &QPushButton::clicked, this, after([this] {
                if (const long disk = SelectedDisk())
                    m_commands.EditDisk(this, disk);
            }));
    connect(DiskView, &QTreeWidget::itemDoubleClicked, this, after([this] {
                if (const long disk = SelectedDisk())
                    m_commands.EditDisk(this, disk);
            }));
    connect(BDeleteDisk, &QPushButton::clicked, this, after([this] {
                if (const long disk = SelectedDisk())
                    m_commands.DeleteDisk(disk);
            }));
    connect(BStats, &QPushButton::clicked, this, [this] {
        if (openStatistics)
            openStatistics();
    });
    connect(BLog, &QPushButton::clicked, this, [this] {
        if (openMaintenanceLog)
            openMaintenanceLog();
    });
    connect(BClose, &QPushButton::clicked, this, [this] {
        if (onClose)
            onClose();
    });
}

bool DB_Options::MyShow() {
    if (!m_commands.OpenHub())
        return false;
    ShowSettings();
    return true;
}

void DB_Options::ShowSettings() {
    clsMaintenanceHub* hub = m_commands.hub();
    if (!hub)
        return;
    const ArchiveConfig& c = hub->settings.cfg;
    LPurgeStatus->setText(enabledText(c.purge_enabled));
    LPurgeLast->setText(lastChange(c.purge_user_name, c.purge_time));
    LArchiveStatus->setText(enabledText(c.archive_enabled) + ", " + QString::number(c.archive_max_months) + " months");
    LArchiveLast->setText(lastChange(c.archive_user_name, c.archive_time));
    LMigrateStatus->setText(enabledText(c.migrate_enabled) + ", " + QString::number(c.migrate_max_days) + " days, " +
                            QString::fromStdString(c.migrate_leftover_directory));
    LMigrateLast->setText(lastChange(c.migrate_user_name, c.migrate_time));
    LTime->setText(TimeText(c.hour, c.minute));
    LFrequency->setText(FrequencyText(c.frequency, c.day));
    LUpdateStats->setText(c.update_enabled ? "Yes" : "No");
    LBackupDays->setText(QString::number(c.flag2));

    const long selected = SelectedDisk(); // kept selected across the re-read
    DiskView->clear();
    QString currentDisk = "NONE";
    for (const ArchiveDisk& d : hub->settings.Disks()) {
        QString status;
        if (d.is_active) {
            status = "ENABLED";
            currentDisk = QString::fromStdString(d.disk_label);
        } else if (d.reports == 0) {
            status = "BLANK";
        }
        auto* item = new QTreeWidgetItem(DiskView);
        const QStringList texts = {QString::fromStdString(d.disk_label),
                                   QString::fromStdString(d.disk_location),
                                   QString::fromStdString(d.lwt).trimmed(),
                                   QString::fromStdString(d.drb).trimmed(),
                                   QString::fromStdString(d.dre).trimmed(),
                                   QString::number(d.reports),
                                   status};
        for (int i = 0; i < texts.size(); ++i)
            item->setText(i, texts[i]);
        item->setData(0, Qt::UserRole, static_cast<qlonglong>(d.disk_nbr));
        if (d.disk_nbr == selected)
            DiskView->setCurrentItem(item);
    }
    if (hub->settings.Disks().empty())
        new QTreeWidgetItem(DiskView, {"No Disks Found"});
    LCurrentDisk->setText(currentDisk);
}

long DB_Options::SelectedDisk() const {
    const QTreeWidgetItem* item = DiskView->currentItem();
    return item ? item->data(0, Qt::UserRole).toLongLong() : 0;
}

bool DB_Options::mayChange(const char* what) const {
    if (m_login.user.privilege(4))
        return true;
    platform::MsgBox(std::string("ACCESS DENIED:  You do not have access to change ") + what + ".",
                     platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Security");
    return false;
}

void DB_Options::BPurge_Click() {
    if (!mayChange("archives"))
        return;
    m_commands.PurgeOptions(this);
    ShowSettings();
}

void DB_Options::BArchive_Click() {
    if (!mayChange("archive"))
        return;
    m_commands.ArchiveOptions(this);
    ShowSettings();
}

} // namespace maintenance
