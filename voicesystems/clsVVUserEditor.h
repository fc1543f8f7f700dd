#pragma once

#include "VoiceServices.h"
#include "clsVVFacSysAssocs.h"
#include "clsVVSysConDefs.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace voicesystems {

// Mirrors one physician as a user of the remote voice systems linked to the physician's accounts.
// The remote user's id is the physician id; whether the link is enabled is whether the user
// exists in that system and facility.
class clsVVUserEditor {
public:
    // Starts editing a physician with the accounts of a comma-separated id list. Physician id 0 is
    // a physician not saved yet: it is a user in no remote system, so nothing is read.
    bool EditVVUser(long physicianId, const std::string& firstName, const std::string& lastName,
                    const std::string& acctIds);
    // The physician's id once the save batch gave it, and its names as saved; the remote users
    // carry both, so a changed name is an update.
    void SetPhysician(long physicianId, const std::string& firstName, const std::string& lastName);
    // Accounts given back to an association make its link what it was before they were taken.
    bool AddAccts(const std::string& acctIds);
    // An association left with no account of the physician no longer applies: its link is switched
    // off, so that SaveAll removes a remote user there.
    void RemoveAccts(const std::string& acctIds);
    // Whether any of the physician's accounts is linked to the system and facility.
    [[nodiscard]] bool HasAccounts(int systemId, long facility);

    [[nodiscard]] int VVFacSysAssocsCount() const { return m_assocs.Count(); }
    [[nodiscard]] std::vector<std::pair<int, std::string>> GetSystems();
    [[nodiscard]] std::vector<long> GetFacilities(int systemId);

    // Reads the remote user of every association; the answers of the failed reads are returned.
    std::vector<std::string> PrefetchVvUserDataForAllSysFacAssoc();
    // Reads the remote user of one association: "OK" or the component's error text.
    std::string FetchUserData(int systemId, long facility);

    [[nodiscard]] bool IsLinkEnabled(int systemId, long facility) const;
    // Whether the physician is a user there as last read or saved (what a password reset reaches).
    [[nodiscard]] bool IsLinkSaved(int systemId, long facility) const;
    // Enabling needs an account of the physician linked to the system and facility.
    void SetLinkEnabled(int systemId, long facility, bool enabled);
    // The remote settings as they will be saved; nullptr for an association not read.
    [[nodiscard]] const suite::VeltraUser* UserData(int systemId, long facility) const;

    void SetAllowDictate(int systemId, long facility, bool v);
    void SetAllowListen(int systemId, long facility, bool v);
    void SetAllowOpenTasks(int systemId, long facility, bool v);
    void SetSuspended(int systemId, long facility, bool v);
    void SetAllowRouteChange(int systemId, long facility, bool v);
    void SetGain(int systemId, long facility, int v);
    void SetNumOpenTasks(int systemId, long facility, int v);
    void SetPauseAlertInterval(int systemId, long facility, int v);
    void SetAccelFactor(int systemId, long facility, int v);
    void SetAutoBackInc(int systemId, long facility, int v);
    void SetFFInc(int systemId, long facility, int v);
    void SetRewInc(int systemId, long facility, int v);
    void SetSecurityGroup(int systemId, long facility, long v);
    void SetConfigurationGroup(int systemId, long facility, long v);
    void SetUserAddress(int systemId, long facility, const std::string& v);
    void SetUserEmail(int systemId, long facility, const std::string& v);
    void SetUserFax(int systemId, long facility, const std::string& v);
    void SetUserNotes(int systemId, long facility, const std::string& v);
    void SetUserPager(int systemId, long facility, const std::string& v);
    void SetUserTelephone(int systemId, long facility, const std::string& v);
    std::string GetNamedSecurityGroups(int systemId, suite::NamedGroups& groups);
    std::string GetNamedConfigGroups(int systemId, suite::NamedGroups& groups);
    // One password for the physician in every linked system, written with the next save.
    void SetPasswordAll(const std::string& password) { m_password = password; }
    // Sets the physician's password now in every system and facility where the link is enabled,
    // logging each (event 20052); "OK", or the first error met (the others are still tried).
    std::string ResetPasswordAll(const std::string& password, bool mustChange);

    // Adds, updates and removes the remote users as the links changed; each success logs event
    // 20048, each failure shows its message and the next association is processed. The number of
    // failures is returned.
    int SaveAll();
    // Removes the physician from every system and facility where the link is enabled.
    int RemoveVeltraUserFromAllSystems();
    // What SaveAll would do for one association: "add", "update", "remove", or "" for nothing.
    [[nodiscard]] std::string PlannedAction(int systemId, long facility) const;
    // Per association: whether the physician would be removed there (no linked account left).
    [[nodiscard]] std::string DisplayCandidatesForRemoval();

    // The remote user's name under a link's name format: 0 "Last, First", 1 "First Last".
    [[nodiscard]] static std::string NameUnderFormat(const std::string& first, const std::string& last, int format);

private:
    struct LinkState {
        bool read = false; // the remote user was read, so before is known
        bool enabledBefore = false, enabledNow = false;
        suite::VeltraUser before, now;
    };
    LinkState* state(int systemId, long facility);
    template <typename F>
    void change(int systemId, long facility, F f) {
        if (LinkState* s = state(systemId, facility))
            f(s->now);
    }
    bool services(int systemId, suite::VeltraServices& out, std::string& systemName);
    bool apply(clsVVFacSysAssoc& assoc, LinkState& s, bool remove);

    long m_physicianId = 0;
    std::string m_firstName, m_lastName, m_password;
    clsVVFacSysAssocs m_assocs;
    clsVVSysConDefs m_defs;
    std::map<std::string, LinkState> m_states; // by association key
};

} // namespace voicesystems
