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
    explicit DB_Statistics(const std::string& importFolder, QWidget* parent = nullptr);
    void Gather();
    // Closes the screen (the MDI window that holds it).
    std::function<void()> onClose;

private:
    void show(const clsDatabaseStatistics& s);

    clsDatabaseStatistics m_stats;
    QTreeWidget* StatView;
    QGroupBox* FDBInfo;
    QLabel* LDBSpace;
    QLabel* LLastBackup;
    QLabel* LImportFiles;
    QLabel* LBadFiles;
    QLabel* lblStatus;
    QPushButton* HUpdate;
    QPushButton* HClose;
};

} // namespace maintenance
