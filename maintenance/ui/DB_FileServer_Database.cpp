#include "DB_FileServer_Database.h"

#include "HubDialogRules.h"
#include "MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace maintenance {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

DB_FileServer_Database::DB_FileServer_Database(clsMaintenanceHub& hub, QWidget* parent)
    : HubDialog("DB_FileServer_Database", "File Server To Database Options", parent), m_hub(hub) {
    CHKEnabled = new QCheckBox("&Enable moving documents from the file server to the database", this);
    CHKEnabled->setObjectName("CHKEnabled");
    LMaxDays = new QLineEdit(this);
    LMaxDays->setObjectName("LMaxDays");
    LDirectory = new QLineEdit(this);
    LDirectory->setObjectName("LDirectory");
    LDirectory->setMaxLength(255);
    MMax12Date = new QLineEdit(this);
    MMax12Date->setObjectName("MMax12Date");
    MMax12Date->setInputMask("99/99/9999");
    CBLogLevel = new QComboBox(this);
    CBLogLevel->setObjectName("CBLogLevel");
    CBLogLevel->addItems({"Normal", "Extended"});
    grid->addWidget(CHKEnabled, 0, 0, 1, 2);
    grid->addWidget(label("&Maximum days to leave documents on the file server:", LMaxDays), 1, 0);
    grid->addWidget(LMaxDays, 1, 1);
    grid->addWidget(label("&Leftover directory:", LDirectory), 2, 0);
    grid->addWidget(LDirectory, 2, 1);
    grid->addWidget(label("&Kaldra 1.2 Install Date (MM/DD/YYYY)", MMax12Date), 3, 0);
    grid->addWidget(MMax12Date, 3, 1);
    grid->addWidget(label("Lo&gging Detail:", CBLogLevel), 4, 0);
    grid->addWidget(CBLogLevel, 4, 1);
    addButtonRow(5);
    setTabOrder(CHKEnabled, LMaxDays);
    setTabOrder(LMaxDays, LDirectory);
    setTabOrder(LDirectory, MMax12Date);
    setTabOrder(MMax12Date, CBLogLevel);
    setTabOrder(CBLogLevel, BOK);
}

bool DB_FileServer_Database::EditMigrateOptions(const std::function<int(QDialog&)>& run) {
    const ArchiveConfig& cfg = m_hub.settings.cfg;
    m_blnOK = false;
    CHKEnabled->setChecked(cfg.migrate_enabled != 0);
    LMaxDays->setText(QString::number(cfg.migrate_max_days));
    LDirectory->setText(QString::fromStdString(cfg.migrate_leftover_directory));
    MMax12Date->setText(QString::fromStdString(cfg.migrate_max12).trimmed());
    CBLogLevel->setCurrentIndex(cfg.migrate_log_level != 0 ? 1 : 0);
    run(*this);
    return m_blnOK;
}

void DB_FileServer_Database::refuse(const RuleFailure& f) {
    MsgBox(f.message, MsgButtons::OK, f.icon, f.title);
    if (auto* box = findChild<QLineEdit*>(QString::fromStdString(f.focusControl))) {
        box->setFocus();
        box->selectAll();
    }
}

void DB_FileServer_Database::BOK_Click() {
    const auto days = CheckMigrateDays(LMaxDays->text().toStdString(), m_hub.settings.cfg.archive_max_months);
    if (const auto* f = std::get_if<RuleFailure>(&days))
        return refuse(*f);
    const MigrateDays& d = std::get<MigrateDays>(days);
    if (d.warnVeltraSort &&
        MsgBox(kVeltraSortWarning, MsgButtons::OKCancel, MsgIcon::Exclamation, "Warning") != platform::MsgAnswer::OK) {
        LMaxDays->setFocus();
        LMaxDays->selectAll();
        return;
    }
    const auto rest = CheckMigrateRest(LDirectory->text().toStdString(), MMax12Date->text().toStdString());
    if (const auto* f = std::get_if<RuleFailure>(&rest))
        return refuse(*f);
    const MigrateRest& r = std::get<MigrateRest>(rest);
    ArchiveConfig& cfg = m_hub.settings.cfg;
    cfg.migrate_max12 = r.installDate;
    cfg.migrate_min_days = d.days;
    cfg.migrate_max_days = d.days;
    cfg.migrate_enabled = CHKEnabled->isChecked() ? 1 : 0;
    cfg.migrate_use_signed = 0;
    cfg.migrate_log_level = CBLogLevel->currentIndex() > 0 ? 1 : 0;
    cfg.migrate_leftover_directory = r.directory;
    m_blnOK = true;
    accept();
}

} // namespace maintenance
