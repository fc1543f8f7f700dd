#include "PhysicianSpeechSettings.h"

#include "DatabaseSession.h"
#include "Text.h"
#include "Utf8.h"

#include <sstream>

namespace physicians {

using platform::MsgIcon;

namespace {

constexpr const char* kInvalidEntry = "Invalid Entry";

// The records OK writes: the all-accounts record and every listed account.
std::vector<const clsPhysicianRecord*> listedRecords(const PhysicianProfileEdit& edit) {
    std::vector<const clsPhysicianRecord*> out{&edit.allAccounts()};
    for (long a : edit.accounts())
        if (const clsPhysicianRecord* r = edit.record(a))
            out.push_back(r);
    return out;
}

bool anyReportType(const clsPhysicianRecord& r) {
    for (size_t t = 0; t < kReportSetWritten; ++t)
        if (r.speech_rec_includes_raw[t])
            return true;
    return false;
}

} // namespace

std::vector<std::string> SplitIdList(const std::string& list) {
    std::vector<std::string> out;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ','))
        if (std::string t = foundation::trimText(item); !t.empty())
            out.push_back(std::move(t));
    return out;
}

void TakeSpeechIds(const std::vector<PhysicianExternalId>& ids, clsPhysicianRecord& record) {
    record.sm_user_name.clear();
    record.speech_machines_id.clear();
    for (const auto& e : ids) {
        std::string& into = e.source_type == 1 ? record.sm_user_name : record.speech_machines_id;
        if (e.source_type == 1 || e.source_type == 3)
            into += (into.empty() ? "" : ",") + e.source_physician_id;
    }
}

std::string SpeechMachinesInUseQuery() {
    return "SELECT COUNT(*) FROM system_user_cfg\r\nWHERE application_id = 15\r\nAND key_name = "
           "'SendToSpeechMachines'\r\nAND key_value = 'YES'";
}

bool SpeechMachinesInUse() {
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement = SpeechMachinesInUseQuery();
    if (s.ExecSQL() != 1)
        return false;
    const std::string count = s.FetchRow() == 1 ? s.GetColumnText(1, 1) : "0";
    s.FlushResults();
    return !count.empty() && count != "0";
}

std::optional<ProfileRefusal> CheckWorkTypes(const PhysicianProfileEdit& edit) {
    for (const clsPhysicianRecord* r : listedRecords(edit))
        for (const auto& type : SplitIdList(r->speech_rec_specific_worktypes))
            if (platform::utf8Length(type) > kWorkTypeChars)
                return ProfileRefusal{"Invalid DVI work type specified on the Recognition tab.", kInvalidEntry,
                                      MsgIcon::Exclamation, "speech_rec_specific_worktypes"};
    return std::nullopt;
}

std::optional<ProfileRefusal> CheckSpeechIds(const PhysicianProfileEdit& edit) {
    const clsPhysicianRecord& all = edit.allAccounts();
    const std::vector<std::string> asp = SplitIdList(all.speech_machines_id);
    if (asp.size() > 1)
        return ProfileRefusal{"Invalid Speech Machines ID specified.  Only one ID can be entered in this field.",
                              kInvalidEntry, MsgIcon::Exclamation, "speech_machines_id"};
    if (!asp.empty() && platform::utf8Length(asp.front()) > kSpeechIdChars)
        return ProfileRefusal{"Invalid Speech Machines ID " + asp.front() + " specified on the Dictation tab.",
                              kInvalidEntry, MsgIcon::Exclamation, "speech_machines_id"};
    const std::string name = foundation::trimText(all.sm_user_name);
    if (platform::utf8Length(name) > kSpeechIdChars)
        return ProfileRefusal{"Invalid SpeechMagic User Name " + name + " specified on the Dictation tab.",
                              kInvalidEntry, MsgIcon::Exclamation, "sm_user_name"};
    if (name.find(' ') != std::string::npos)
        return ProfileRefusal{"The SpeechMagic user name cannot contain spaces.", kInvalidEntry, MsgIcon::Exclamation,
                              "sm_user_name"};
    return std::nullopt;
}

std::optional<ProfileRefusal> CheckSpeechRecognition(const PhysicianProfileEdit& edit, bool speechMachinesInUse) {
    constexpr const char* kTitle = "Speech Recognition";
    const clsPhysicianRecord& all = edit.allAccounts();
    for (const clsPhysicianRecord* r : listedRecords(edit)) {
        if (r->speech_rec_enabled == 0)
            continue;
        if (SplitIdList(r->speech_rec_specific_worktypes).empty() && !anyReportType(*r))
            return ProfileRefusal{"This user has speech recognition enabled but does not have any work types or "
                                  "reports associated for speech recognition.\r\nPlease associate report types or "
                                  "work types for recognition.",
                                  kTitle, MsgIcon::Exclamation, "speech_rec_specific_worktypes"};
        if (speechMachinesInUse && SplitIdList(all.speech_machines_id).empty())
            return ProfileRefusal{"This user has speech recognition enabled but does not have an ASP ID for speech "
                                  "recognition.\r\nPlease assign an ASP ID for recognition.",
                                  kTitle, MsgIcon::Exclamation, "speech_machines_id"};
        if (foundation::trimText(all.sm_user_name).empty())
            return ProfileRefusal{"This user has speech recognition enabled but does not have a SpeechMagic user "
                                  "name for speech recognition.\r\nPlease assign a SpeechMagic user name for "
                                  "recognition.",
                                  kTitle, MsgIcon::Exclamation, "sm_user_name"};
    }
    return std::nullopt;
}

} // namespace physicians
