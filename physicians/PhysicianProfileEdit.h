#pragma once

#include "clsPhysicianRecords.h"

#include <optional>
#include <string>
#include <vector>

namespace physicians {

// Shown for a value that differs between the selected account records.
inline constexpr const char* kVarious = "<various>";

// A value of the profile as the editor's controls show it: a text column or a number.
struct ProfileFieldInfo {
    const char* name;                                // the column's name
    std::string clsPhysicianRecord::*text = nullptr; // a text value, or
    int clsPhysicianRecord::*number = nullptr;       // a number value
    size_t maxChars = 0;                             // text: the column's width in characters
    bool physician = false;                          // a Physician_profile value: one for every account
};
const std::vector<ProfileFieldInfo>& ProfileFields();
const ProfileFieldInfo* FindProfileField(const std::string& name);

// The report-type sets a record holds, one per output and one for recognition.
enum class ReportSetKind { Online, Batch, Fax1, Fax2, Email, SpeechRec };

// One value that OK would write: the field, its value before and after, the accounts it changes.
struct ProfileChange {
    std::string field, oldValue, newValue;
    std::vector<long> accounts;
};

// The physician being added or edited in the profile editor: a record per account it belongs to
// and the record of all accounts (-1), which accounts without values of their own follow. Edits
// go to the selected accounts; while every account is selected they go to the -1 record too, so
// accounts that followed it keep following it.
class PhysicianProfileEdit {
public:
    enum class Mode { Add, Edit, EditDefault };

    // Reads a physician, or the default physician (-1) whose values new physicians start from.
    bool Load(long physicianId, Mode mode);
    // A new physician from the default physician's values, a member of the given accounts.
    bool StartNew(const std::vector<long>& accounts, long partitionId);
    // The next new physician from the values just edited, in the given partition.
    void StartAnother(long partitionId);

    [[nodiscard]] Mode mode() const { return m_mode; }
    [[nodiscard]] long physicianId() const { return m_lngPhysicianId; }
    [[nodiscard]] bool memberOfAllAccounts() const { return m_blnMemberOfAll; }
    [[nodiscard]] const clsPhysicianRecord& allAccounts() const { return m_all; }
    [[nodiscard]] const clsPhysicianRecords& accountRecords() const { return m_records; }
    // The accounts listed for the physician (removed ones excluded), in list order.
    [[nodiscard]] std::vector<long> accounts() const;
    [[nodiscard]] const clsPhysicianRecord* record(long account) const;

    // ---- selection ----------------------------------------------------------------------------
    void Select(const std::vector<long>& accounts);
    [[nodiscard]] const std::vector<long>& selection() const { return m_selection; }

    // ---- values -------------------------------------------------------------------------------
    // The value common to the selected records, or kVarious.
    [[nodiscard]] std::string Value(const std::string& field) const;
    // Writes the value into every selected record (every record for a profile value); kVarious
    // and an unknown field change nothing. Text is cut to the column's width. True when a record
    // changed.
    bool SetValue(const std::string& field, const std::string& value);

    // Day sets (1 or 2) and report-type sets: nullopt when the selected records differ.
    [[nodiscard]] std::optional<DaySet> FaxDays(int which) const;
    void SetFaxDay(int which, size_t day, bool on);
    [[nodiscard]] std::optional<bool> ReportIncluded(ReportSetKind kind, size_t reportType) const;
    void SetReportIncluded(ReportSetKind kind, size_t reportType, bool on);
    void SetAllReports(ReportSetKind kind, bool on);

    // Weighting of one report type: nullopt when the selected records differ.
    struct Weight {
        int type = -1; // -1: no weighting, 0 direct, 1 percentage
        float value = 0;
        bool operator==(const Weight&) const = default;
    };
    [[nodiscard]] std::optional<Weight> WeightOf(size_t reportType) const;
    void SetWeight(size_t reportType, Weight weight);

    // Addendum (51) and switch (21) lines joined by CRLF, or kVarious.
    [[nodiscard]] std::string AddendumText(bool switches) const;
    // Stores the text's lines; returns true when a line was cut to 77 characters.
    bool SetAddendumText(bool switches, const std::string& text);

    // ---- accounts -----------------------------------------------------------------------------
    // Adds accounts (from the -1 values); accounts already listed are skipped.
    void AddAccounts(const std::vector<long>& accounts);
    // Takes accounts off the physician; a member of all accounts becomes a member of the rest.
    void RemoveAccounts(const std::vector<long>& accounts);
    // True when the account has values of its own, not those of all accounts.
    [[nodiscard]] bool Overrides(long account) const;
    // The selected accounts follow the all-accounts values again.
    void UseAllAccountsValues();

    // ---- saving -------------------------------------------------------------------------------
    [[nodiscard]] std::vector<ProfileChange> Changes() const;
    [[nodiscard]] bool Changed() const { return !Changes().empty() || m_blnMembershipChanged; }
    // The collection the save batch writes: the -1 record first, then the account records.
    [[nodiscard]] clsPhysicianRecords ForSave() const;
    // The external ids the save writes: the speech user, author and Speech Machines ids as typed,
    // other kinds as loaded.
    [[nodiscard]] std::vector<PhysicianExternalId> ExternalIds() const;
    // Whether the linked user's e-signature was on when loaded (rule: only a Paxlet administrator
    // may turn it off).
    [[nodiscard]] bool loadedElectSignature() const { return m_original.elect_signature != 0; }
    // The physician loses its linked user (deleted after the save).
    void UnlinkUser();
    // The physician is linked to the user saved in the user editor.
    void LinkUser(long userId, const std::string& userName);
    // After a save: the stored state becomes the loaded state.
    void Saved(long physicianId);

private:
    [[nodiscard]] std::vector<clsPhysicianRecord*> targets(bool physician);
    [[nodiscard]] std::vector<const clsPhysicianRecord*> selected() const;
    [[nodiscard]] bool everyAccountSelected() const;
    void touched(clsPhysicianRecord& r);
    void markAll(int status);

    Mode m_mode = Mode::Edit;
    long m_lngPhysicianId = 0;
    bool m_blnMemberOfAll = false;
    bool m_blnMembershipChanged = false;
    clsPhysicianRecord m_all;      // the -1 record
    clsPhysicianRecords m_records; // the account records, removed ones included (EditRemoved)
    clsPhysicianRecord m_original; // the -1 record as loaded
    clsPhysicianRecords m_loaded;  // the account records as loaded
    std::vector<long> m_selection;
};

} // namespace physicians
