#pragma once

#include "HubDialog.h"
#include "clsArchiveDisk.h"
#include "clsMaintenanceSettings.h"

#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace maintenance {

// "Add Archive Disk" / "Edit Archive Disk": a disk's label, location and whether it is the current
// archive disk. OK checks the entry against the other disks and asks before keeping a location that
// could not be reached; the caller saves the disk.
class DB_Disk_Edit : public HubDialog {
    Q_OBJECT
public:
    DB_Disk_Edit(const std::vector<ArchiveDisk>& disks, QWidget* parent = nullptr);
    // disk is nullptr for a new disk; after OK, Disk() holds what is to be saved.
    bool EditDisk(
        const ArchiveDisk* disk, const std::function<int(QDialog&)>& run = [](QDialog& d) { return d.exec(); });
    [[nodiscard]] const clsArchiveDisk& Disk() const { return m_disk; }

private:
    void BOK_Click() override;

    const std::vector<ArchiveDisk>& m_disks;
    clsArchiveDisk m_disk;
    QLineEdit* LDiskLabel;
    QLineEdit* LDiskLocation;
    QCheckBox* CHKActive;
};

} // namespace maintenance
