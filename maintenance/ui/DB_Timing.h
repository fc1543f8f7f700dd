#pragma once

#include "HubDialog.h"
#include "clsMaintenanceHub.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace maintenance {

// "Timing Options": when the nightly maintenance job runs (a 12-hour time, every day, one weekday or
// never), whether it updates the statistics, and after how many days without a backup the console
// warns. It edits the hub's memory; the caller writes the timing section after OK.
class DB_Timing : public HubDialog {
    Q_OBJECT
public:
    explicit DB_Timing(clsMaintenanceHub& hub, QWidget* parent = nullptr);
    bool EditTimeOption(const std::function<int(QDialog&)>& run = [](QDialog& d) { return d.exec(); });

private:
    void BOK_Click() override;

    clsMaintenanceHub& m_hub;
    QLineEdit* MHour;
    QComboBox* CBampm;
    QComboBox* CBWeekday;
    QCheckBox* CHKNever;
    QCheckBox* CHKUpdateStats;
    QLineEdit* LBackupDays;
};

} // namespace maintenance
