#pragma once

#include "MessageService.h"
#include "clsMaintenanceSettings.h"
#include "clsPurgeTimes.h"

#include <optional>
#include <string>

namespace suite {
class LoginComponent;
}

namespace maintenance {

// The first failing rule of a dialog's OK: its message box, and what the dialog does besides showing
// it: select an account in the list (its index in the account cache), or focus one of its boxes.
struct RuleFailure {
    std::string message;
    std::string title;
    platform::MsgIcon icon = platform::MsgIcon::Exclamation;
    int selectAccount = 0;    // 1-based cache index, 0 for none
    std::string focusControl; // object name of the box to focus, empty for none
    std::string resetText;    // text the focused box is set to before it is selected (ADT boxes)
};

// The purge dialog's account checks over every listed record, in account order, stopping at the
// first failure (its privilege and the Transform days are checked apart).
std::optional<RuleFailure> CheckPurgeTimes(const clsPurgeTimes& times, const ArchiveConfig& cfg,
                                           bool combinedInterfaceDB);
// "Use Settings For All Accounts" first runs the numeric check on every record.
std::optional<RuleFailure> CheckPurgeNumbers(const clsPurgeTimes& times);
// The Transform data retention: 0 (never purged) or at least 7 days.
std::optional<long> ParseTransformDays(const std::string& text);
extern const char* const kTransformDaysMessage;

// The archive dialog's OK checks after its privilege, in order.
std::optional<RuleFailure> CheckArchiveOptions(const std::string& monthsText, bool enabled,
                                               const suite::LoginComponent& accounts, const clsPurgeTimes& times,
                                               const ArchiveConfig& cfg, const std::vector<ArchiveDisk>& disks);

} // namespace maintenance
