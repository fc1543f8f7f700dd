#pragma once

#include "clsMaintenanceHub.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace suite {
class LoginComponent;
}

namespace maintenance {

class DB_Statistics;

// The menu's way into database maintenance until the Database Management screen exists: it keeps
// the settings in memory for the run (so a purge dialog closed with Cancel keeps its edits), opens
// the purge and archive dialogs over them and writes the section a dialog owns after its OK.
class DB_MaintenanceCommands {
public:
    DB_MaintenanceCommands(suite::LoginComponent& login, bool combinedInterfaceDB, bool k2Dictation)
        : m_login(login), m_blnCombined(combinedInterfaceDB), m_blnK2Dictation(k2Dictation) {}

    void PurgeOptions(QWidget* parent);
    void ArchiveOptions(QWidget* parent);
    // The statistics screen, or nothing after the refusal when the user lacks privilege 5.
    DB_Statistics* NewStatistics(const std::string& networkRoot);

    // The dictation purging criteria over the purge dialog; true when they were saved.
    bool DictationPurging(QWidget* parent);

    // The Database Management screen's own dialogs, each behind privilege 4 with its refusal; after
    // OK each writes only its section of the settings (or the disk) and reads again.
    void FileServerOptions(QWidget* parent);
    void TimingOptions(QWidget* parent);
    void AddDisk(QWidget* parent);
    void EditDisk(QWidget* parent, long diskNbr);
    void DeleteDisk(long diskNbr);

    std::function<int(QDialog&)> runDialog = [](QDialog& d) { return d.exec(); };
    // Replaces DictationPurging behind the purge dialog's button when set.
    std::function<void()> configureDictationPurging;
    [[nodiscard]] clsMaintenanceHub* hub() { return m_hub.get(); }
    // Reads the settings, disks and purge times once for the run; false when a read failed.
    bool OpenHub() { return openHub(); }

private:
    bool openHub();
    [[nodiscard]] bool mayChange(const char* what) const;
    void editDisk(QWidget* parent, const ArchiveDisk* disk);

    suite::LoginComponent& m_login;
    bool m_blnCombined, m_blnK2Dictation;
    std::unique_ptr<clsMaintenanceHub> m_hub;
};

} // namespace maintenance
