#include "DB_Timing.h"

#include "HubDialogRules.h"
#include "MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace maintenance {

using platform::MsgBox;
using platform::MsgButtons;

DB_Timing::DB_Timing(clsMaintenanceHub& hub, QWidget* parent)
    : HubDialog("DB_Timing", "Timing Options", parent), m_hub(hub) {
    MHour = new QLineEdit(this);
    MHour->setObjectName("MHour");
    MHour->setInputMask("99:99");
    CBampm = new QComboBox(this);
    CBampm->setObjectName("CBampm");
    CBampm->addItems({"am", "pm"});
    CBWeekday = new QComboBox(this);
    CBWeekday->setObjectName("CBWeekday");
    CBWeekday->addItems({"<Every Day>", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"});
    CHKNever = new QCheckBox("&Never", this);
    CHKNever->setObjectName("CHKNever");
    CHKUpdateStats = new QCheckBox("&Update statistics", this);
    CHKUpdateStats->setObjectName("CHKUpdateStats");
    LBackupDays = new QLineEdit(this);
    LBackupDays->setObjectName("LBackupDays");
    LBackupDays->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), LBackupDays));
    grid->addWidget(label("&Time of day:", MHour), 0, 0);
    auto* time = new QHBoxLayout;
    time->addWidget(MHour);
    time->addWidget(CBampm);
    grid->addLayout(time, 0, 1);
    grid->addWidget(label("&Day:", CBWeekday), 1, 0);
    grid->addWidget(CBWeekday, 1, 1);
    grid->addWidget(CHKNever, 2, 1);
    grid->addWidget(CHKUpdateStats, 3, 1);
    grid->addWidget(label("&Backup Days:", LBackupDays), 4, 0);
    grid->addWidget(LBackupDays, 4, 1);
    addButtonRow(5);
    setTabOrder(MHour, CBampm);
    setTabOrder(CBampm, CBWeekday);
    setTabOrder(CBWeekday, CHKNever);
    setTabOrder(CHKNever, CHKUpdateStats);
    setTabOrder(CHKUpdateStats, LBackupDays);
    setTabOrder(LBackupDays, BOK);
}

bool DB_Timing::EditTimeOption(const std::function<int(QDialog&)>& run) {
    const ArchiveConfig& cfg = m_hub.settings.cfg;
    m_blnOK = false;
    const int shown = cfg.hour % 12 == 0 ? 12 : cfg.hour % 12;
    MHour->setText(QString::number(shown).rightJustified(2, '0') + ":" +
                   QString::number(cfg.minute).rightJustified(2, '0'));
    CBampm->setCurrentIndex(cfg.hour >= 12 ? 1 : 0);
    CBWeekday->setCurrentIndex(cfg.frequency == 1 && cfg.day >= 1 && cfg.day <= 7 ? cfg.day : 0);
    CHKNever->setChecked(cfg.frequency == 2);
    CHKUpdateStats->setChecked(cfg.update_enabled != 0);
    LBackupDays->setText(QString::number(cfg.flag2 < 1 ? 30 : cfg.flag2));
    run(*this);
    return m_blnOK;
}

void DB_Timing::BOK_Click() {
    TimingEntry entry;
    entry.timeText = MHour->text().toStdString();
    entry.pm = CBampm->currentIndex() == 1;
    entry.weekday = CBWeekday->currentIndex();
    entry.never = CHKNever->isChecked();
    entry.updateStats = CHKUpdateStats->isChecked();
    entry.backupDaysText = LBackupDays->text().toStdString();
    ArchiveConfig& cfg = m_hub.settings.cfg;
    const auto checked = CheckTiming(entry, cfg.day);
    if (const auto* f = std::get_if<RuleFailure>(&checked)) {
        MsgBox(f->message, MsgButtons::OK, f->icon, f->title);
        if (auto* box = findChild<QLineEdit*>(QString::fromStdString(f->focusControl))) {
            box->setFocus();
            box->selectAll();
        }
        return;
    }
    const TimingValues& v = std::get<TimingValues>(checked);
    cfg.hour = v.hour;
    cfg.minute = v.minute;
    cfg.frequency = v.frequency;
    cfg.day = v.day;
    cfg.update_enabled = v.update_enabled;
    cfg.flag2 = v.flag2;
    m_blnOK = true;
    accept();
}

} // namespace maintenance
