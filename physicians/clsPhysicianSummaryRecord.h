#pragma once

#include <string>

namespace physicians {

class clsPhysicianRecord;

// One row of the physician list: the profile with the attribute row the list shows for the chosen
// account (the account's own row, else the -1 row).
class clsPhysicianSummaryRecord {
public:
    std::string first_name, last_name, title_1;
    long paxlet_user_id = 0; // the linked user (flag2); 0 when none
    std::string paxlet_user_name;
    long hosp_acct_id = -1;
    long Partition_ID = 0;
    long physician_id = 0;
    std::string dvi_id; // the smallest author id
    int dvi_count = 0;  // how many author ids the physician has
    bool is_deleted = false;
    std::string dictation_id, mis_nbr_1, mis_nbr_2, fax_nbr_1, group_affiliation, address_1;
    int elect_signature = 0, batch_enabled = 0, fax_enabled_1 = 0, email_enabled = 0;
    int speech_rec_enabled = 0, speech_rec_eval_mode = 0;
    int is_hidden = 0;
    std::string string1;

    [[nodiscard]] std::string MyKey() const { return std::to_string(physician_id); }
    [[nodiscard]] bool IsAllAccountRec() const { return hosp_acct_id == -1; }
    [[nodiscard]] clsPhysicianSummaryRecord CreateClone() const { return *this; }
    void CopyStateFrom(const clsPhysicianSummaryRecord& other) { *this = other; }
    void CopyStateFromDetailRecord(const clsPhysicianRecord& detail);
    [[nodiscard]] bool EqualTo(const clsPhysicianSummaryRecord& other) const;
    [[nodiscard]] size_t SizeOf() const;

    // "Last, First Title" as the list and the messages name the physician.
    [[nodiscard]] std::string DisplayName() const;
    // "Author ID": the smallest id, with " + ..." when there are more.
    [[nodiscard]] std::string AuthorIdText() const;
    // The status letters that apply, in the list's order, each followed by a space ("A E F ").
    [[nodiscard]] std::string StatusText() const;
    // Whether the status letter (one of kStatusLetters) applies to this physician.
    [[nodiscard]] bool HasStatus(char letter) const;
};

// The status letters in the order the list and the filter show them, and their labels.
inline constexpr const char* kStatusLetters = "AEBFMRV";
const char* StatusLabel(char letter);

} // namespace physicians
