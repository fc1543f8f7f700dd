#include "DB_Disk_Edit.h"

#include "HubDialogRules.h"
#include "MessageService.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace maintenance {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

DB_Disk_Edit::DB_Disk_Edit(const std::vector<ArchiveDisk>& disks, QWidget* parent)
    : HubDialog("DB_Disk_Edit", "", parent), m_disks(disks) {
    LDiskLabel = new QLineEdit(this);
    LDiskLabel->setObjectName("LDiskLabel");
    LDiskLocation = new QLineEdit(this);
    LDiskLocation->setObjectName("LDiskLocation");
    CHKActive = new QCheckBox("&Current archive disk", this);
    CHKActive->setObjectName("CHKActive");
    grid->addWidget(label("Disk &Label:", LDiskLabel), 0, 0);
    grid->addWidget(LDiskLabel, 0, 1);
    grid->addWidget(label("Disk L&ocation:", LDiskLocation), 1, 0);
    grid->addWidget(LDiskLocation, 1, 1);
    grid->addWidget(CHKActive, 2, 1);
    addButtonRow(3);
    setTabOrder(LDiskLabel, LDiskLocation);
    setTabOrder(LDiskLocation, CHKActive);
    setTabOrder(CHKActive, BOK);
}

bool DB_Disk_Edit::EditDisk(const ArchiveDisk* disk, const std::function<int(QDialog&)>& run) {
    m_blnOK = false;
    m_disk = clsArchiveDisk{};
    if (disk) {
        setWindowTitle("Edit Archive Disk");
        m_disk.disk_nbr = disk->disk_nbr;
        LDiskLabel->setText(QString::fromStdString(disk->disk_label));
        LDiskLocation->setText(QString::fromStdString(disk->disk_location));
        CHKActive->setChecked(disk->is_active);
    } else {
        setWindowTitle("Add Archive Disk");
        LDiskLabel->setText("New Disk");
        LDiskLocation->clear();
        CHKActive->setChecked(false);
    }
    LDiskLabel->selectAll();
    run(*this);
    return m_blnOK;
}

void DB_Disk_Edit::BOK_Click() {
    const auto checked =
        CheckDiskEntry(LDiskLabel->text().toStdString(), LDiskLocation->text().toStdString(), m_disks, m_disk.disk_nbr);
    if (const auto* f = std::get_if<RuleFailure>(&checked)) {
        MsgBox(f->message, MsgButtons::OK, f->icon, f->title);
        if (auto* box = findChild<QLineEdit*>(QString::fromStdString(f->focusControl))) {
            box->setFocus();
            box->selectAll();
        }
        return;
    }
    const DiskEntry& e = std::get<DiskEntry>(checked);
    if (!DiskLocationReachable(e.location) &&
        MsgBox("The Disk Location could not be validated.  Continue anyway?", MsgButtons::YesNo, MsgIcon::Question,
               "Validate Location") != platform::MsgAnswer::Yes) {
        LDiskLocation->setFocus();
        LDiskLocation->selectAll();
        return;
    }
    m_disk.disk_label = e.label;
    m_disk.disk_location = e.location;
    m_disk.is_active = CHKActive->isChecked();
    m_blnOK = true;
    accept();
}

} // namespace maintenance
