#pragma once

#include "EventLog.h"

#include <string>

namespace accounts {

// System log event numbers of the type editors' changes (the line-count configurations use
// 20025 and 20028).
enum TypeEvent : long {
    kSuspensionTypeAdded = 20061,
    kSuspensionTypeChanged = 20062,
    kSuspensionTypeDeleted = 20063,
    kActivityTypeAdded = 20064,
    kActivityTypeChanged = 20065,
    kActivityTypeDeleted = 20066,
    kAccountTypesSaved = 20067,
};

// One System_log row naming the change and the administrator who made it.
inline void LogTypeChange(long eventNbr, const std::string& what) {
    foundation::EventLog::LogEvent(foundation::EventLog::SystemLog, 0, 2, eventNbr, 0, 0, 0, 0, 0, -1, 0,
                                   what + " by " + foundation::EventLog::context().userName + ".");
}

} // namespace accounts
