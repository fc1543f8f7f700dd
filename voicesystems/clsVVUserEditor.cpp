#include "clsVVUserEditor.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "MessageService.h"
#include "VVLog.h"

#include <algorithm>

namespace voicesystems {

using foundation::EventLog;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

std::string clsVVUserEditor::NameUnderFormat(const std::string& first, const std::string& last, int format) {
    if (format == 1)
        return first.empty() ? last : first + " " + last;
    return first.empty() ? last : last + ", " + first;
}

bool clsVVUserEditor::EditVVUser(long physicianId, const std::string& firstName, const std::string& lastName,
                                 const std::string& acctIds) {
    m_physicianId = physicianId;
    m_firstName = firstName;
    m_lastName = lastName;
    m_password.clear();
    m_states.clear();
    return m_defs.LoadById(-1) && m_assocs.LoadByAccts(acctIds);
}

void clsVVUserEditor::SetPhysician(long physicianId, const std::string& firstName, const std::string& lastName) {
    m_physicianId = physicianId;
    m_firstName = firstName;
    m_lastName = lastName;
    for (auto* a : m_assocs.NewEnum())
        if (LinkState* s = state(a->SystemId, a->FacilityId)) {
            s->before.UserId = s->now.UserId = physicianId;
            s->now.UserName = NameUnderFormat(firstName, lastName, a->NameFormat);
        }
}

bool clsVVUserEditor::AddAccts(const std::string& acctIds) {
    std::vector<std::string> empty;
    for (auto* a : m_assocs.NewEnum())
        if (a->AcctIdsCount() == 0)
            empty.push_back(a->Key());
    if (!m_assocs.AddByAccts(acctIds))
        return false;
    for (const auto& key : empty)
        if (auto it = m_states.find(key); it != m_states.end() && m_assocs.Item(key)->AcctIdsCount() > 0)
            it->second.enabledNow = it->second.enabledBefore;
    return true;
}

void clsVVUserEditor::RemoveAccts(const std::string& acctIds) {
    for (auto* a : m_assocs.NewEnum())
        if (a->RemoveAcctIds(acctIds) == 0)
            if (LinkState* s = state(a->SystemId, a->FacilityId))
                s->enabledNow = false;
}

bool clsVVUserEditor::HasAccounts(int systemId, long facility) {
    const clsVVFacSysAssoc* a = m_assocs.FindByIds(systemId, facility);
    return a && a->AcctIdsCount() > 0;
}

std::vector<std::pair<int, std::string>> clsVVUserEditor::GetSystems() {
    std::vector<std::pair<int, std::string>> out;
    for (auto* a : m_assocs.NewEnum())
        if (std::none_of(out.begin(), out.end(), [&](const auto& s) { return s.first == a->SystemId; }))
            out.emplace_back(a->SystemId, a->SystemName);
    return out;
}

std::vector<long> clsVVUserEditor::GetFacilities(int systemId) {
    std::vector<long> out;
    for (auto* a : m_assocs.NewEnum())
        if (a->SystemId == systemId)
            out.push_back(a->FacilityId);
    return out;
}

clsVVUserEditor::LinkState* clsVVUserEditor::state(int systemId, long facility) {
    auto it = m_states.find(clsVVFacSysAssoc::KeyOf(systemId, facility));
    return it == m_states.end() || !it->second.read ? nullptr : &it->second;
}

bool clsVVUserEditor::services(int systemId, suite::VeltraServices& out, std::string& systemName) {
    clsVVSysConDef* def = m_defs.FindById(systemId);
    if (!def)
        return false;
    systemName = def->SystemName();
    out.SetConnection(def->GetConnectionString(), def->AdminUserId(), def->AdminFacility(), def->AdminPassword());
    return true;
}

std::string clsVVUserEditor::FetchUserData(int systemId, long facility) {
    clsVVFacSysAssoc* assoc = m_assocs.FindByIds(systemId, facility);
    if (!assoc)
        return clsVVFacSysAssocs::kBadKey;
    suite::VeltraServices vs;
    std::string systemName;
    if (!services(systemId, vs, systemName))
        return "The Veltra Voice system " + std::to_string(systemId) + " is not defined.";
    LinkState s;
    bool found = false;
    const std::string answer = m_physicianId > 0 ? vs.GetSpecificVeltraUser(facility, m_physicianId, s.before, found)
                                                 : std::string(suite::VeltraServices::kOK);
    if (answer != suite::VeltraServices::kOK)
        return answer;
    if (!found) {
        s.before = suite::VeltraUser{};
        s.before.UserId = m_physicianId;
        s.before.Facility = facility;
    }
    s.before.UserName = NameUnderFormat(m_firstName, m_lastName, assoc->NameFormat);
    s.read = true;
    s.enabledBefore = s.enabledNow = found;
    s.now = s.before;
    m_states[assoc->Key()] = s;
    return answer;
}

std::vector<std::string> clsVVUserEditor::PrefetchVvUserDataForAllSysFacAssoc() {
    std::vector<std::string> failures;
    for (auto* a : m_assocs.NewEnum()) {
        std::string answer = FetchUserData(a->SystemId, a->FacilityId);
        if (answer != suite::VeltraServices::kOK)
            failures.push_back(answer);
    }
    return failures;
}

bool clsVVUserEditor::IsLinkEnabled(int systemId, long facility) const {
    auto it = m_states.find(clsVVFacSysAssoc::KeyOf(systemId, facility));
    return it != m_states.end() && it->second.read && it->second.enabledNow;
}

bool clsVVUserEditor::IsLinkSaved(int systemId, long facility) const {
    auto it = m_states.find(clsVVFacSysAssoc::KeyOf(systemId, facility));
    return it != m_states.end() && it->second.read && it->second.enabledBefore;
}

void clsVVUserEditor::SetLinkEnabled(int systemId, long facility, bool enabled) {
    if (LinkState* s = state(systemId, facility); s && (!enabled || HasAccounts(systemId, facility)))
        s->enabledNow = enabled;
}

const suite::VeltraUser* clsVVUserEditor::UserData(int systemId, long facility) const {
    auto it = m_states.find(clsVVFacSysAssoc::KeyOf(systemId, facility));
    return it == m_states.end() || !it->second.read ? nullptr : &it->second.now;
}

// clang-format off
void clsVVUserEditor::SetAllowDictate(int s, long f, bool v) { change(s, f, [&](auto& u) { u.AllowDictate = v; }); }
void clsVVUserEditor::SetAllowListen(int s, long f, bool v) { change(s, f, [&](auto& u) { u.AllowListen = v; }); }
void clsVVUserEditor::SetAllowOpenTasks(int s, long f, bool v) { change(s, f, [&](auto& u) { u.AllowOpenTasks = v; }); }
void clsVVUserEditor::SetSuspended(int s, long f, bool v) { change(s, f, [&](auto& u) { u.Suspended = v; }); }
void clsVVUserEditor::SetAllowRouteChange(int s, long f, bool v) { change(s, f, [&](auto& u) { u.AllowRouteChange = v; }); }
void clsVVUserEditor::SetGain(int s, long f, int v) { change(s, f, [&](auto& u) { u.Gain = v; }); }
void clsVVUserEditor::SetNumOpenTasks(int s, long f, int v) { change(s, f, [&](auto& u) { u.NumOpenTasks = v; }); }
void clsVVUserEditor::SetPauseAlertInterval(int s, long f, int v) { change(s, f, [&](auto& u) { u.PauseAlertInterval = v; }); }
void clsVVUserEditor::SetAccelFactor(int s, long f, int v) { change(s, f, [&](auto& u) { u.AccelFactor = v; }); }
void clsVVUserEditor::SetAutoBackInc(int s, long f, int v) { change(s, f, [&](auto& u) { u.AutoBackInc = v; }); }
void clsVVUserEditor::SetFFInc(int s, long f, int v) { change(s, f, [&](auto& u) { u.FFInc = v; }); }
void clsVVUserEditor::SetRewInc(int s, long f, int v) { change(s, f, [&](auto& u) { u.RewInc = v; }); }
void clsVVUserEditor::SetSecurityGroup(int s, long f, long v) { change(s, f, [&](auto& u) { u.SecurityGroup = v; }); }
void clsVVUserEditor::SetConfigurationGroup(int s, long f, long v) { change(s, f, [&](auto& u) { u.ConfigurationGroup = v; }); }
void clsVVUserEditor::SetUserAddress(int s, long f, const std::string& v) { change(s, f, [&](auto& u) { u.Address = v; }); }
void clsVVUserEditor::SetUserEmail(int s, long f, const std::string& v) { change(s, f, [&](auto& u) { u.Email = v; }); }
void clsVVUserEditor::SetUserFax(int s, long f, const std::string& v) { change(s, f, [&](auto& u) { u.Fax = v; }); }
void clsVVUserEditor::SetUserNotes(int s, long f, const std::string& v) { change(s, f, [&](auto& u) { u.Notes = v; }); }
void clsVVUserEditor::SetUserPager(int s, long f, const std::string& v) { change(s, f, [&](auto& u) { u.Pager = v; }); }
void clsVVUserEditor::SetUserTelephone(int s, long f, const std::string& v) { change(s, f, [&](auto& u) { u.Telephone = v; }); }
// clang-format on

std::string clsVVUserEditor::GetNamedSecurityGroups(int systemId, suite::NamedGroups& groups) {
    suite::VeltraServices vs;
    std::string name;
    groups.clear();
    return services(systemId, vs, name) ? vs.GetNamedSecurityGroups(groups) : "The Veltra Voice system is not defined.";
}

std::string clsVVUserEditor::GetNamedConfigGroups(int systemId, suite::NamedGroups& groups) {
    suite::VeltraServices vs;
    std::string name;
    groups.clear();
    return services(systemId, vs, name) ? vs.GetNamedConfigGroups(groups) : "The Veltra Voice system is not defined.";
}

bool clsVVUserEditor::apply(clsVVFacSysAssoc& assoc, LinkState& s, bool remove) {
    enum class Action { None, Remove, Add, Update } action = Action::None;
    if (remove)
        action = s.enabledBefore ? Action::Remove : Action::None;
    else if (s.enabledBefore && !s.enabledNow)
        action = Action::Remove;
    else if (!s.enabledBefore && s.enabledNow)
        action = Action::Add;
    else if (s.enabledBefore && s.enabledNow && (!(s.now == s.before) || !m_password.empty()))
        action = Action::Update;
    if (action == Action::None)
        return true;

    suite::VeltraServices vs;
    std::string systemName = assoc.SystemName;
    std::string answer;
    if (!services(assoc.SystemId, vs, systemName))
        answer = "The Veltra Voice system " + std::to_string(assoc.SystemId) + " is not defined.";
    else if (action == Action::Remove)
        answer = vs.RemoveVeltraUser(assoc.FacilityId, m_physicianId);
    else if (action == Action::Add)
        answer = vs.AddVeltraUser(s.now, m_password);
    else
        answer = vs.UpdateVeltraUser(s.now, m_password);

    const char* done = action == Action::Remove ? "removed from " : action == Action::Add ? "added to " : "updated on ";
    const char* verb = action == Action::Remove ? "remove" : action == Action::Add ? "add" : "update";
    const std::string where = systemName + ", Facility " + std::to_string(assoc.FacilityId);
    if (answer == suite::VeltraServices::kOK) {
        VVLog(2, 2, 20048, -1,
              "Physician " + NameUnderFormat(m_firstName, m_lastName, 0) + " " + done + where + " by user " +
                  EventLog::context().userName + ".");
        s.enabledBefore = action != Action::Remove;
        s.enabledNow = s.enabledBefore;
        s.before = s.now;
        return true;
    }
    MsgBox(std::string("An error was encountered while trying to ") + verb + " from Veltra Voice system:\n\n--> \t" +
               where + ".\n" + answer +
               "\nIf you continue to have problems please contact your system administrator or\n"
               "Corvane technical support representative for assistance.\n"
               "Continued edits to users in this Veltra Voice system and facility will not be successful.",
           MsgButtons::OK, MsgIcon::Exclamation, foundation::DatabaseSession::instance().ApplicationTitle);
    return false;
}

std::string clsVVUserEditor::ResetPasswordAll(const std::string& password, bool mustChange) {
    std::string result = suite::VeltraServices::kOK;
    for (auto* a : m_assocs.NewEnum()) {
        const LinkState* s = state(a->SystemId, a->FacilityId);
        if (!s || !s->enabledBefore)
            continue;
        suite::VeltraServices vs;
        std::string systemName;
        const std::string answer = services(a->SystemId, vs, systemName)
                                       ? vs.SetVeltraUserPassword(a->FacilityId, m_physicianId, password, mustChange)
                                       : "The Veltra Voice system is not defined.";
        if (answer == suite::VeltraServices::kOK)
            VVLog(2, 2, 20052, -1,
                  "Veltra Voice password reset for " + NameUnderFormat(m_firstName, m_lastName, 0) + " on " +
                      systemName + ", Facility " + std::to_string(a->FacilityId) + " by user " +
                      EventLog::context().userName + ".");
        else if (result == suite::VeltraServices::kOK)
            result = answer;
    }
    return result;
}

std::string clsVVUserEditor::PlannedAction(int systemId, long facility) const {
    auto it = m_states.find(clsVVFacSysAssoc::KeyOf(systemId, facility));
    if (it == m_states.end() || !it->second.read)
        return "";
    const LinkState& s = it->second;
    if (s.enabledBefore != s.enabledNow)
        return s.enabledNow ? "add" : "remove";
    return s.enabledNow && (!(s.now == s.before) || !m_password.empty()) ? "update" : "";
}

int clsVVUserEditor::SaveAll() {
    if (m_physicianId <= 0)
        return 0; // no remote user can carry a physician that has no id yet
    int failures = 0;
    for (auto* a : m_assocs.NewEnum())
        if (LinkState* s = state(a->SystemId, a->FacilityId))
            failures += apply(*a, *s, false) ? 0 : 1;
    m_password.clear();
    return failures;
}

int clsVVUserEditor::RemoveVeltraUserFromAllSystems() {
    int failures = 0;
    for (auto* a : m_assocs.NewEnum())
        if (LinkState* s = state(a->SystemId, a->FacilityId))
            failures += apply(*a, *s, true) ? 0 : 1;
    return failures;
}

std::string clsVVUserEditor::DisplayCandidatesForRemoval() {
    std::string text;
    for (auto* a : m_assocs.NewEnum()) {
        const LinkState* s = state(a->SystemId, a->FacilityId);
        const bool candidate = s && s->enabledBefore && a->AcctIdsCount() == 0;
        text += a->SystemName + ", Facility " + std::to_string(a->FacilityId) +
                (candidate ? " would be a cadidate for deletion." : " would not be a cadidate for deletion.") + "\n";
    }
    return text;
}

} // namespace voicesystems
