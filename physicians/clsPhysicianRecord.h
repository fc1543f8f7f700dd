#pragma once

#include <array>
#include <string>

namespace physicians {

inline constexpr size_t kDaySetSize = 8;
inline constexpr size_t kReportSetSize = 257;    // report types 0 to 256 in memory
inline constexpr size_t kReportSetWritten = 256; // 32 bytes in the database
inline constexpr size_t kAddendumLines = 51;
inline constexpr size_t kSwitchLines = 21;
inline constexpr size_t kWeightTypes = 256;

using DaySet = std::array<bool, kDaySetSize>;
using ReportSet = std::array<bool, kReportSetSize>;

// What the editor did to an account record; only new and changed ones are written, removed ones
// leave the physician's group memberships of that account behind.
enum EditStatus : int { EditUnchanged = 0, EditChanged = 1, EditNew = 2, EditRemoved = 3 };

// One physician's settings for one account ("-1": the values for all accounts). Fields follow the
// physician tables; the names are the suite's.
class clsPhysicianRecord {
public:
    clsPhysicianRecord();

    long hosp_acct_id = -1;
    long physician_id = 0;
    long dept_id = -1;
    int physician_group_id = 0;
    std::string first_name, last_name, title_1;
    std::string title_2, title_3, title_4, title_5, title_6;
    std::string initials;
    std::string dictation_id;
    int physician_type = 0;
    std::string mis_nbr_1, mis_nbr_2, phone_nbr_1, phone_nbr_2, address_1, address_2, address_3, city, State, country,
        zip_code, group_affiliation;
    int elect_signature = 2;
    std::string fax_nbr_1, fax_nbr_2;
    std::string output_priorities; // not stored
    int fax_enabled_1 = 1, fax_enabled_2 = 1, batch_enabled = 1, email_enabled = 1, online_enabled = 1;
    int fax_hour_1 = 255, fax_minute_1 = 255, fax_hour_2 = 255, fax_minute_2 = 255; // 255: no time set
    int fax_time_enabled_1 = 0, fax_time_enabled_2 = 0;
    std::string fax_days_1, fax_days_2;
    DaySet fax_days_1_raw{}, fax_days_2_raw{};
    bool fax_days_1_diff = false, fax_days_2_diff = false;
    std::string fax_includes_1, fax_includes_2, batch_includes, online_includes, email_includes;
    ReportSet fax_includes_1_raw{}, fax_includes_2_raw{}, batch_includes_raw{}, online_includes_raw{},
        email_includes_raw{};
    std::string online_queue, batch_queue;
    std::string email_address;
    int email_type = 0; // not loaded
    int has_addendum = 0;
    long paxlet_user_id = 0;
    std::string paxlet_user_name;
    std::string email_method;
    std::string email_password;
    bool addendum_exists = false, use_default_weight = true, default_weight_diff = false, weighting_exists = false,
         record_initialized = false, selected = false, is_deleted = false;
    int edit_status = EditUnchanged;
    int default_input_method = 0;
    int speech_rec_enabled = 0;
    std::string speech_rec_includes;
    ReportSet speech_rec_includes_raw{};
    std::string speech_rec_specific_worktypes;
    int default_context_id = 0;
    int speech_rec_eval_mode = 0;
    int adv_acoustics_support = 0;
    std::string last_modified_user, last_modified_date;
    long Partition_ID = 0;
    std::string string1;
    int is_hidden = 0;
    std::string dvi_id;
    // The physician's speech recognition user and Speech Machines (ASP) id, external ids of types
    // 1 and 3; like dvi_id they belong to the physician, not to an account.
    std::string sm_user_name, speech_machines_id;

    std::array<std::string, kAddendumLines> addendum_lines;
    std::array<std::string, kSwitchLines> addendum_switch_lines;
    std::array<int, kWeightTypes> weight_types{};    // -1: the default weighting
    std::array<float, kWeightTypes> weight_values{}; // 0 by default

    [[nodiscard]] std::string MyKey() const { return std::to_string(hosp_acct_id); }
    [[nodiscard]] bool IsAllAccountRec() const { return MyKey() == "-1"; }
    [[nodiscard]] clsPhysicianRecord CreateClone() const { return *this; }
    void CopyStateFrom(const clsPhysicianRecord& other);

    // Field-by-field comparisons: an account record equal to the all-accounts record, with no
    // addendums or weighting of its own, keeps following the -1 rows.
    [[nodiscard]] bool EqualTo(const clsPhysicianRecord& other) const;
    [[nodiscard]] bool WeightingEqualTo(const clsPhysicianRecord& other) const;
    [[nodiscard]] bool AddendumsEqualTo(const clsPhysicianRecord& other) const;

    // Stores an addendum row by its number: 0 to 50 are addendum lines, 51 to 71 switch lines.
    void SetAddendumLineNbr(int addendumNbr, const std::string& text);
    [[nodiscard]] int SetNumberSwitchAddendumLines() const; // how many switch lines hold text
    void SetWeightType(int reportType, int type);
    void SetWeightValue(int reportType, float value);
    void ResetWeightTypesAndValues();
    [[nodiscard]] bool Default_weight_values_and_types() const; // every report type on the default

    [[nodiscard]] const std::string& Get_addendum_line_by_index(size_t i) const { return addendum_lines.at(i); }
    void Set_addendum_line_by_index(size_t i, const std::string& text) { addendum_lines.at(i) = text; }
    [[nodiscard]] bool Get_fax_days_1_raw_by_index(size_t i) const { return fax_days_1_raw.at(i); }
    void Set_fax_days_1_raw_by_index(size_t i, bool v) { fax_days_1_raw.at(i) = v; }
    void SetAll_report_sets(bool v);

    // Derived after a load: a fax time is set when its hour is a real hour.
    void DeriveAfterLoad();
};

// The addendum_nbr at which the switch lines start in Physician_addendums_v2.
inline constexpr int kFirstSwitchAddendumNbr = 51;

} // namespace physicians
