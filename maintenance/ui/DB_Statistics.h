#pragma once

#include "clsDatabaseStatistics.h"

#include <QWidget>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace maintenance {

// "Database Statistics": record counts, oldest records, the last purge, database space, the last
// backup and the import engine's queues; "&Update" gathers again.
class DB_Statistics : public QWidget {
    Q_OBJECT
public:
    // canBackUp: the user holds privilege 4, which "Back Up Now" needs.
    DB_Statistics(const std::string& importFolder, const std::string& backupFolder, bool canBackUp,
                  QWidget* parent = nullptr);
    void Gather();
    // A full backup into the site's backup folder under the wait window, logged to the system log,
    // then the figures gathered again.
    void cmdBackupNow_Click();
    // After a backup: the main window refreshes what it shows of the last backup.
    std::function<void()> onBackedUp;
    // Closes the screen (the MDI window that holds it).
    std::function<void()> onClose;

private:
    void show(const clsDatabaseStatistics& s);

    clsDatabaseStatistics m_stats;
    std::string m_strBackupFolder;
    QTreeWidget* StatView;
    QGroupBox* FDBInfo;
    QLabel* LDBSpace;
    QLabel* LLastBackup;
    QLabel* LImportFiles;
    QLabel* LBadFiles;
    QLabel* lblStatus;
    QPushButton* HUpdate;
    QPushButton* cmdBackupNow;
    QPushButton* HClose;
};

} // namespace maintenance
