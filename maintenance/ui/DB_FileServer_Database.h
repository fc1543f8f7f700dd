#pragma once

#include "HubDialog.h"
#include "MaintenanceRules.h"
#include "clsMaintenanceHub.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace maintenance {

// "File Server To Database Options": whether documents move from the file server into the database,
// how many days they stay on the file server, where left-over files go and the install date of the
// release that first kept documents there. It edits the hub's memory; the caller writes the migrate
// section after OK.
class DB_FileServer_Database : public HubDialog {
    Q_OBJECT
public:
    explicit DB_FileServer_Database(clsMaintenanceHub& hub, QWidget* parent = nullptr);
    bool EditMigrateOptions(const std::function<int(QDialog&)>& run = [](QDialog& d) { return d.exec(); });

private:
    void BOK_Click() override;
    void refuse(const RuleFailure& f);

    clsMaintenanceHub& m_hub;
    QCheckBox* CHKEnabled;
    QLineEdit* LMaxDays;
    QLineEdit* LDirectory;
    QLineEdit* MMax12Date;
    QComboBox* CBLogLevel;
};

} // namespace maintenance
