#include "clsMaintenanceHub.h"

#include "MessageService.h"

namespace maintenance {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {
void error(const std::string& text) {
    MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, "Error");
}
} // namespace

bool clsMaintenanceHub::Open() {
    bool ok = true;
    if (!settings.Load()) {
        error("Error retrieving management options.");
        ok = false;
    }
    if (!settings.LoadDisks()) {
        error("Error retrieving archive disk information.");
        ok = false;
    }
    return LoadPurgeTimes() && ok;
}

bool clsMaintenanceHub::LoadPurgeTimes() {
    if (purgeTimes.Load(m_accounts, m_blnCombined))
        return true;
    error("Error retrieving purging configuration.");
    return false;
}

bool clsMaintenanceHub::reread() {
    if (!settings.Load()) {
        error("Error retrieving management information.");
        return false;
    }
    if (!purgeTimes.Load(m_accounts, m_blnCombined)) {
        error("Error retrieving purging configuration.");
        return false;
    }
    return true;
}

bool clsMaintenanceHub::SavePurgeOptions(long userId) {
    if (!purgeTimes.Save()) {
        error("An error was encountered trying to save the purge settings.  \nChanges were not saved");
        return false;
    }
    if (!settings.Update(static_cast<int>(ConfigSection::Purge), userId)) {
        error("Error.  Purge Options could not be saved.");
        return false;
    }
    // The listed flags belong to the dialog that set them; the re-read starts the records afresh.
    return reread();
}

bool clsMaintenanceHub::SaveArchiveOptions(long userId) {
    if (!settings.Update(static_cast<int>(ConfigSection::Archive), userId)) {
        error("Error.  Database to Archive Options could not be saved.");
        return false;
    }
    if (!settings.Load()) {
        error("Error retrieving management information.");
        return false;
    }
    return true;
}

} // namespace maintenance
