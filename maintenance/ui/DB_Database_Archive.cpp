#include "DB_Database_Archive.h"

#include "DB_Purge_Options.h"
#include "LoginComponent.h"
#include "MaintenanceRules.h"
#include "MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace maintenance {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

DB_Database_Archive::DB_Database_Archive(clsMaintenanceHub& hub, const suite::LoginUser& user, QWidget* parent)
    : HubDialog("DB_Database_Archive", "Document Archiving Options", parent), m_hub(hub), m_user(user) {
    CHKEnabled = new QCheckBox("Enable Archiving", this);
    CHKEnabled->setObjectName("CHKEnabled");
    LMonths = new QLineEdit(this);
    LMonths->setObjectName("LMonths");
    LMonths->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), LMonths));
    CBLogLevel = new QComboBox(this);
    CBLogLevel->setObjectName("CBLogLevel");
    CBLogLevel->addItems({"Normal", "Extended"});
    LConfigUser = new QLabel(this);
    LConfigUser->setObjectName("LConfigUser");
    LConfigTime = new QLabel(this);
    LConfigTime->setObjectName("LConfigTime");
    grid->addWidget(CHKEnabled, 0, 0, 1, 2);
    grid->addWidget(new QLabel("Number of months to store documents in the database:", this), 1, 0);
    grid->addWidget(LMonths, 1, 1);
    grid->addWidget(new QLabel("Logging Detail:", this), 2, 0);
    grid->addWidget(CBLogLevel, 2, 1);
    grid->addWidget(new QLabel("Last Configuration Change", this), 3, 0);
    grid->addWidget(new QLabel("By User:", this), 4, 0);
    grid->addWidget(LConfigUser, 4, 1);
    grid->addWidget(new QLabel("Time:", this), 5, 0);
    grid->addWidget(LConfigTime, 5, 1);
    addButtonRow(6);
}

bool DB_Database_Archive::EditArchiveOptions(const std::function<int(QDialog&)>& run) {
    const auto& cfg = m_hub.settings.cfg;
    m_blnOK = false;
    LMonths->setText(QString::number(cfg.archive_max_months));
    CHKEnabled->setChecked(cfg.archive_enabled != 0);
    CBLogLevel->setCurrentIndex(cfg.archive_log_level != 0 ? 1 : 0);
    LConfigUser->setText(QString::fromStdString(cfg.archive_user_name));
    LConfigTime->setText(ConfigTimeText(cfg.archive_time));
    run(*this);
    return m_blnOK;
}

void DB_Database_Archive::BOK_Click() {
    if (!m_user.privilege(4)) {
        MsgBox("ACCESS DENIED:  You do not have access to change archiving configurations.", MsgButtons::OK,
               MsgIcon::Exclamation, "Security");
        return;
    }
    if (auto f = CheckArchiveOptions(LMonths->text().toStdString(), CHKEnabled->isChecked(), m_hub.Accounts(),
                                     m_hub.purgeTimes, m_hub.settings.cfg, m_hub.settings.Disks())) {
        MsgBox(f->message, MsgButtons::OK, f->icon, f->title);
        LMonths->setFocus();
        return;
    }
    auto& cfg = m_hub.settings.cfg;
    cfg.archive_max_months = LMonths->text().toInt();
    cfg.archive_enabled = CHKEnabled->isChecked() ? 1 : 0;
    cfg.archive_log_level = CBLogLevel->currentIndex() > 0 ? 1 : 0;
    m_blnOK = true;
    accept();
}

} // namespace maintenance
