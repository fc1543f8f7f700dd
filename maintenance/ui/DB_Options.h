#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace suite {
class LoginComponent;
}

namespace maintenance {

class DB_MaintenanceCommands;
struct ArchiveConfig;

// "Database Management": the nightly maintenance job's current settings and the archive disks, with
// the buttons that open the dialogs changing them. The settings are the commands' memory copy, read
// when the screen opens and again after each dialog's save.
class DB_Options : public QWidget {
    Q_OBJECT
public:
    DB_Options(DB_MaintenanceCommands& commands, const suite::LoginComponent& login, QWidget* parent = nullptr);

    // Reads the settings and disks (each failure with its message) and shows them; false on failure.
    bool MyShow();
    // Shows what the memory copy holds.
    void ShowSettings();

    std::function<void()> openStatistics; // the statistics screen (it checks privilege 5)
    std::function<void()> openMaintenanceLog;
    std::function<void()> onClose;

    // The time as the screen shows it: hour 1 to 12, ":", two-digit minutes, " am" or " pm".
    static QString TimeText(int hour, int minute);
    // "Every Day", the weekday's name, or "Never".
    static QString FrequencyText(int frequency, int day);

private:
    void BPurge_Click();
    void BArchive_Click();
    [[nodiscard]] long SelectedDisk() const; // 0 when no disk is selected
    [[nodiscard]] bool mayChange(const char* what) const;

    DB_MaintenanceCommands& m_commands;
    const suite::LoginComponent& m_login;

    QLabel* LPurgeStatus;
    QLabel* LPurgeLast;
    QLabel* LArchiveStatus;
    QLabel* LArchiveLast;
    QLabel* LMigrateStatus;
    QLabel* LMigrateLast;
    QLabel* LTime;
    QLabel* LFrequency;
    QLabel* LUpdateStats;
    QLabel* LBackupDays;
    QLabel* LCurrentDisk;
    QTreeWidget* DiskView;
    QPushButton* BPurge;
    QPushButton* BArchive;
    QPushButton* BFileServer;
    QPushButton* BTiming;
    QPushButton* BAddDisk;
    QPushButton* BEditDisk;
    QPushButton* BDeleteDisk;
    QPushButton* BStats;
    QPushButton* BLog;
    QPushButton* BClose;
};

} // namespace maintenance
