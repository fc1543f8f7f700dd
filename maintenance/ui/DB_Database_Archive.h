#pragma once

#include "HubDialog.h"
#include "clsMaintenanceHub.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace suite {
struct LoginUser;
}

namespace maintenance {

// "Document Archiving Options": whether documents move to archive disks and after how many months.
// It edits the hub's memory; the caller writes the archive section after OK.
class DB_Database_Archive : public HubDialog {
    Q_OBJECT
public:
    DB_Database_Archive(clsMaintenanceHub& hub, const suite::LoginUser& user, QWidget* parent = nullptr);
    bool EditArchiveOptions(const std::function<int(QDialog&)>& run = [](QDialog& d) { return d.exec(); });

private:
    void BOK_Click() override;

    clsMaintenanceHub& m_hub;
    const suite::LoginUser& m_user;
    QCheckBox* CHKEnabled;
    QLineEdit* LMonths;
    QComboBox* CBLogLevel;
    QLabel* LConfigUser;
    QLabel* LConfigTime;
};

} // namespace maintenance
