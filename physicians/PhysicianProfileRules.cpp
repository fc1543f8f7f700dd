#include "PhysicianProfileRules.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "Numbers.h"
#include "PhysicianSpeechSettings.h"
#include "Text.h"
#include "Utf8.h"
#include "modPartition.h"

#include <algorithm>
#include <sstream>

namespace physicians {

using foundation::DatabaseSession;
using platform::MsgIcon;

namespace {

constexpr const char* kInvalidEntry = "Invalid Entry";
constexpr size_t kAuthorIdChars = 20;

std::vector<std::string> authorIds(const std::string& list) {
    std::vector<std::string> out;
    std::stringstream in(list);
    std::string id;
    while (std::getline(in, id, ','))
        if (const std::string t = foundation::trimText(id); !t.empty())
            out.push_back(t);
    return out;
}

std::string trimmed(const std::string& s) {
    return foundation::trimText(s);
}

} // namespace

std::optional<ProfileRefusal> CheckProfile(const PhysicianProfileEdit& edit, const ProfileCheckContext& context) {
    using Mode = PhysicianProfileEdit::Mode;
    const clsPhysicianRecord& all = edit.allAccounts();
    const std::vector<long> accounts = edit.accounts();
    if (edit.mode() == Mode::Add && accounts.empty())
        return ProfileRefusal{"No accounts have been selected for this physician.  Please add at least one account.",
                              "Add Physician", MsgIcon::Exclamation, "accounts"};
    if (all.paxlet_user_id > 0 && !context.paxletAdministrator && edit.loadedElectSignature()) {
        bool turnedOff = all.elect_signature == 0;
        for (long a : accounts)
            turnedOff = turnedOff || edit.record(a)->elect_signature == 0;
        if (turnedOff)
            return ProfileRefusal{"This physician is linked with Paxlet Physician " + all.paxlet_user_name +
                                      ".  Electronic signature cannot be turned off because you do no not have "
                                      "Paxlet Administrator privileges.",
                                  "Delete Physician", MsgIcon::Exclamation, "elect_signature"};
    }
    if (trimmed(all.first_name).empty() && trimmed(all.last_name).empty())
        return ProfileRefusal{"Please enter a valid physician name.", kInvalidEntry, MsgIcon::Exclamation,
                              "first_name"};
    if (edit.mode() != Mode::EditDefault && !accounts.empty()) {
        bool inPartition = false;
        for (long a : accounts)
            inPartition = inPartition || AccountUnderPartition(a, all.Partition_ID);
        if (!inPartition)
            return ProfileRefusal{
                "The physician cannot be saved because no accounts are associated with the physician's partition.",
                kInvalidEntry, MsgIcon::Exclamation, "accounts"};
    }
    std::vector<const clsPhysicianRecord*> records{&all};
    for (long a : accounts)
        records.push_back(edit.record(a));
    for (const clsPhysicianRecord* r : records) {
        if (r->fax_enabled_1 != 0 && trimmed(r->fax_nbr_1).empty())
            return ProfileRefusal{"Faxing for fax number 1 is enabled but no fax number has been specified.",
                                  kInvalidEntry, MsgIcon::Exclamation, "fax_nbr_1"};
        if (r->fax_enabled_2 != 0 && trimmed(r->fax_nbr_2).empty())
            return ProfileRefusal{"Faxing for fax number 2 is enabled but no fax number has been specified.",
                                  kInvalidEntry, MsgIcon::Exclamation, "fax_nbr_2"};
        if (r->email_enabled != 0 && trimmed(r->email_address).empty())
            return ProfileRefusal{"Email is enabled but no email address has been specified.", kInvalidEntry,
                                  MsgIcon::Exclamation, "email_address"};
    }
    const std::vector<std::string> ids = authorIds(all.dvi_id);
    for (const auto& id : ids)
        if (id.front() == '0')
            return ProfileRefusal{"The Dictation Author ID cannot have leading zeroes.", kInvalidEntry,
                                  MsgIcon::Exclamation, "dvi_id"};
    if (auto refusal = CheckWorkTypes(edit))
        return refusal;
    for (const auto& id : ids)
        if (platform::utf8Length(id) > kAuthorIdChars)
            return ProfileRefusal{"The Dictation Author ID " + id + " specified on the General tab is too long.",
                                  kInvalidEntry, MsgIcon::Exclamation, "dvi_id"};
    if (auto refusal = CheckSpeechIds(edit))
        return refusal;
    return CheckSpeechRecognition(edit, context.speechMachinesInUse);
}

std::string LinkedFirstNameWarning(const PhysicianProfileEdit& edit) {
    const clsPhysicianRecord& all = edit.allAccounts();
    if (all.paxlet_user_id <= 0 || platform::utf8Length(all.first_name) <= kLinkedFirstNameChars)
        return "";
    return "The 'First Name or Dept. Name' on the 'General' tab cannot exceed 21 characters when linking to a user "
           "in User Management.  The name will be truncated.";
}

bool PasswordProtectedEmailMethod(const std::string& method) {
    return method == "2" || method == "4";
}

bool PasswordProtectedEmailWithoutPassword(const PhysicianProfileEdit& edit) {
    std::vector<const clsPhysicianRecord*> records{&edit.allAccounts()};
    for (long a : edit.accounts())
        records.push_back(edit.record(a));
    for (const clsPhysicianRecord* r : records)
        if (r->email_enabled != 0 && PasswordProtectedEmailMethod(r->email_method) && r->email_password.empty())
            return true;
    return false;
}

// ---- duplicate identifiers ------------------------------------------------------------------------

std::string SharedAccountsCondition(std::vector<long> accounts) {
    std::sort(accounts.begin(), accounts.end());
    accounts.erase(std::unique(accounts.begin(), accounts.end()), accounts.end());
    if (accounts.empty())
        accounts.push_back(-1);
    // Account numbers are given out in sequence, so a physician in many accounts is mostly in runs
    // of consecutive ones: a run of three or more is one range, the rest one list.
    std::string list, ranges;
    for (size_t i = 0; i < accounts.size();) {
        size_t j = i;
        while (j + 1 < accounts.size() && accounts[j + 1] == accounts[j] + 1)
            ++j;
        if (j - i >= 2) {
            ranges += " OR hosp_acct_id BETWEEN " + std::to_string(accounts[i]) + " AND " + std::to_string(accounts[j]);
        } else {
            for (size_t k = i; k <= j; ++k)
                list += (list.empty() ? "" : ",") + std::to_string(accounts[k]);
        }
        i = j + 1;
    }
    return "(hosp_acct_id = -1" + (list.empty() ? std::string() : " OR hosp_acct_id IN (" + list + ")") + ranges + ")";
}

std::string DuplicateIdsQuery(const PhysicianProfileEdit& edit) {
    std::string terms;
    for (const auto& e : edit.ExternalIds())
        if (e.source_type >= 1 && e.source_type <= 3)
            terms += std::string(terms.empty() ? "" : " OR ") + " (source_type = " + std::to_string(e.source_type) +
                     " AND source_physician_id = '" + DatabaseSession::QuoteSQL(e.source_physician_id) + "')";
    if (terms.empty())
        return "";
    return "SELECT last_name, first_name, title_1, source_id, source_physician_id\r\n"
           "FROM Physician_profile PP, Physician_external_ids PEI\r\n"
           "WHERE PP.physician_id = PEI.physician_id\r\n AND PEI.physician_id <> " +
           std::to_string(edit.physicianId()) + " AND ((" + terms +
           "))\r\n AND EXISTS (SELECT * FROM Physician_membership WHERE physician_id = PP.physician_id AND " +
           SharedAccountsCondition(edit.accounts()) + ")";
}

bool FindDuplicateIds(const PhysicianProfileEdit& edit, std::vector<DuplicateId>& hits) {
    hits.clear();
    const std::string sql = DuplicateIdsQuery(edit);
    if (sql.empty())
        return true;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = sql;
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        DuplicateId d;
        const std::string last = s.GetColumnText(1, 1), first = s.GetColumnText(2, 1), title = s.GetColumnText(3, 1);
        d.physicianName = trimmed(last + (first.empty() ? "" : ", " + first) + (title.empty() ? "" : " " + title));
        d.source_id = s.GetColumnText(4, 1);
        d.id = s.GetColumnText(5, 1);
        hits.push_back(d);
    }
    return true;
}

std::string DuplicateIdsQuestion(const std::vector<DuplicateId>& hits) {
    std::string text = "Warning:  The following duplicate IDs have been assigned.\r\n\r\n";
    for (const auto& h : hits)
        text += (h.source_id == "DVI" ? std::string("Dictation Author ID") : h.source_id) + ": " + h.id + " - " +
                h.physicianName + "\r\n";
    return text + "\r\nThese duplicates will likely cause conflicts.  Save anyway?";
}

// ---- saving -----------------------------------------------------------------------------------------

std::string LinkedUserNamesBatch(long userId, const std::string& firstName, const std::string& lastName) {
    return "SET ANSI_WARNINGS OFF\r\nUPDATE System_user_bindery\r\nSET last_name = '" +
           DatabaseSession::QuoteSQL(lastName) + "',\r\n    first_name = '" + DatabaseSession::QuoteSQL(firstName) +
           "'\r\nWHERE user_id = " + std::to_string(userId) + "\r\nSET ANSI_WARNINGS ON";
}

bool SaveProfile(PhysicianProfileEdit& edit, const std::string& changedByUser) {
    const clsPhysicianRecords records = edit.ForSave();
    PhysicianSaveRequest request;
    request.physician_id = edit.mode() == PhysicianProfileEdit::Mode::Add ? 0 : edit.physicianId();
    request.changedByUser = changedByUser;
    request.physician = &records;
    request.memberOfAllAccounts = edit.memberOfAllAccounts();
    if (!SavePhysicianRecords(request))
        return false;
    const long id = request.physician_id;
    const clsPhysicianRecord& all = edit.allAccounts();
    if (all.paxlet_user_id > 0) {
        auto& s = DatabaseSession::instance();
        s.SQLStatement = LinkedUserNamesBatch(all.paxlet_user_id, all.first_name, all.last_name);
        s.ExecSQL();
    }
    edit.Saved(id);
    return true;
}

} // namespace physicians
