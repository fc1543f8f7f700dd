#pragma once

#include "MaintenanceRules.h"
#include "clsMaintenanceHub.h"

#include <QDialog>
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
class DB_FileServer_Database : public QDialog {
    Q_OBJECT
public:
    explicit DB_FileServer_Database(clsMaintenanceHub& hub, QWidget* parent = nullptr);
    bool EditMigrateOptions(const std::function<int(QDialog&)>& run = [](QDialog& d) { return d.exec(); });

private:
    void BOK_Click();
    void refuse(const RuleFailure& f);

    clsMaintenanceHub& m_hub;
    bool m_blnOK = false;
    QCheckBox* CHKEnabled;
    QLineEdit* LMaxDays;
    QLineEdit* LDirectory;
    QLineEdit* MMax12Date;
    QComboBox* CBLogLevel;
    QPushButton* BOK;
    QPushButton* BCancel;
    QPushButton* cmdHelp;
};

} // namespace maintenance
