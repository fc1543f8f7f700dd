#include "MaintenanceRules.h"

#include "LoginComponent.h"
#include "Numbers.h"

namespace maintenance {

namespace {

RuleFailure failure(const std::string& message, int selectAccount = 0, const std::string& title = "Invalid Entry") {
    RuleFailure f;
    f.message = message;
    f.title = title;
    f.selectAccount = selectAccount;
    return f;
}

constexpr PurgeField kNumericOrder[] = {OutputQueue, SystemLog, TransStats, DocumentInfo, EditHistory, JobStats};

const char* numericName(PurgeField f) {
    switch (f) {
    case OutputQueue:
        return "Output Queue";
    case SystemLog:
        return "System Message Log";
    case TransStats:
        return "Transcriptionist Report Statistics";
    case DocumentInfo:
        return "Document Information";
    case EditHistory:
        return "Edit History Information";
    default:
        return "Job Statistic Information";
    }
}

std::optional<RuleFailure> numericCheck(const AccountPurgeTimes& t, int index) {
    for (PurgeField f : kNumericOrder)
        if (!t.number(f))
            return failure(std::string("Invalid value entered for ") + numericName(f), index, "Error");
    // Documents has no message of its own in that list; a bad Documents value is refused the same way.
    if (!t.number(Documents))
        return failure("Invalid value entered for Documents", index, "Error");
    return std::nullopt;
}

} // namespace

const char* const kTransformDaysMessage = "The value for Veltra Transform Data Purging is not valid.  Please enter 0 "
                                          "for no purging or a number greater than 6.";

std::optional<RuleFailure> CheckPurgeNumbers(const clsPurgeTimes& times) {
    for (int i = 1; i <= times.Count(); ++i)
        if (auto f = numericCheck(times.At(i), i))
            return f;
    return std::nullopt;
}

std::optional<RuleFailure> CheckPurgeTimes(const clsPurgeTimes& times, const ArchiveConfig& cfg,
                                           bool combinedInterfaceDB) {
    for (int i = 1; i <= times.Count(); ++i) {
        const AccountPurgeTimes& t = times.At(i);
        if (!t.listed)
            continue;
        if (auto f = numericCheck(t, i))
            return f;
        const int info = t.valueOr0(DocumentInfo);
        if (t.valueOr0(Documents) > info)
            return failure("The Document time cannot be greater than the Document Information time.");
        if (t.valueOr0(OutputQueue) > info * 28)
            return failure("Output queue time cannot be greater than the Document Information time.", i);
        if (t.valueOr0(TransStats) > info)
            return failure("The Transcriptionist Report Statistics time cannot be greater than the Document "
                           "Information time.");
        if (t.valueOr0(EditHistory) > info)
            return failure("The Edit History Information time cannot be greater than the Document Information time.",
                           i);
        if (t.valueOr0(JobStats) > info)
            return failure("The Job Statistics Information time cannot be greater than the Document Information time.",
                           i);
        if (cfg.archive_enabled == 1) {
            if (t.valueOr0(Documents) != info)
                return failure(
                    "Documents purge time and Document Information purge time must be equal since Archiving is "
                    "enabled.",
                    i);
            if (t.valueOr0(Documents) <= cfg.archive_max_months)
                return failure("Documents are set to be purged before they will be archived.  The archiving time must "
                               "either be lowered or the Document time must be increased.  Archiving time is in "
                               "Archiving Options.",
                               i);
        }
        if (combinedInterfaceDB && t.hosp_acct_id == -1) {
            auto patient = t.number(PatientAdt);
            if (!patient || *patient < 1) {
                RuleFailure f = failure("Patient ADT time must be greater than 0");
                f.focusControl = "txtPtTime";
                f.resetText = "0";
                return f;
            }
            auto visit = t.number(VisitAdt);
            if (!visit || *visit < 1) {
                RuleFailure f = failure("Visit ADT time must be greater than 0");
                f.focusControl = "txtVisitTime";
                f.resetText = "0";
                return f;
            }
            if (*visit > *patient) {
                RuleFailure f = failure("The Visit ADT time cannot be greater than the Patient ADT time.");
                f.focusControl = "txtVisitTime";
                return f;
            }
        }
        for (PurgeField f : {OutputQueue, SystemLog, TransStats, DocumentInfo, EditHistory, Documents, JobStats})
            if (t.valueOr0(f) < 1)
                return failure("None of the times can be set to 0.  Please change any items set to 0.", i);
    }
    return std::nullopt;
}

std::optional<long> ParseTransformDays(const std::string& text) {
    std::string_view s = text;
    bool negative = !s.empty() && s.front() == '-';
    if (negative)
        s.remove_prefix(1);
    if (s.empty() || s.size() > 10)
        return std::nullopt;
    auto n = platform::parseDigits(s);
    if (!n || negative || *n > 2147483647LL || (*n >= 1 && *n <= 6))
        return std::nullopt;
    return static_cast<long>(*n);
}

std::optional<RuleFailure> CheckArchiveOptions(const std::string& monthsText, bool enabled,
                                               const suite::LoginComponent& accounts, const clsPurgeTimes& times,
                                               const ArchiveConfig& cfg, const std::vector<ArchiveDisk>& disks) {
    auto parsed = monthsText.size() <= 5 ? platform::parseDigits(monthsText) : std::nullopt;
    if (!parsed || *parsed > 32767) {
        RuleFailure f = failure("Invalid value entered for number of months");
        f.icon = platform::MsgIcon::None;
        return f;
    }
    const long months = static_cast<long>(*parsed);
    if (enabled) {
        for (int i = 1; i <= accounts.NumberHospAccounts() && i <= times.Count(); ++i) {
            if (accounts.HospAccountAt(i).is_deleted)
                continue;
            const AccountPurgeTimes& t = times.At(i);
            if (months > t.valueOr0(Documents))
                return failure("At least one account has the Document purging time set lower than the number of "
                               "months before archiving.  Either decrease the number of months here or increase the "
                               "value for Documents under purge options.");
            if (t.valueOr0(Documents) != t.valueOr0(DocumentInfo))
                return failure("At least one account does not have the Documents purge time equal to Document "
                               "Information purge time.  Set these to be equal in the Database Purging Options "
                               "dialog.");
        }
    }
    if (months * 28 < cfg.migrate_max_days)
        return failure("The maximum amount of time to leave documents on the file server is greater than the number of "
                       "months before archiving.  Either increase the number of \nmonths here or increase the value "
                       "for Maximum Days on the File Server.");
    if (months < 1)
        return failure("The number of months cannot be set to 0.");
    if (enabled) {
        if (disks.empty())
            return failure("Cannot enable archiving because there are no active archive disks defined.");
        bool active = false;
        for (const auto& d : disks)
            active = active || d.is_active;
        if (!active)
            return failure("Cannot enable archiving because there is not an active archive disk.");
    }
    return std::nullopt;
}

} // namespace maintenance
