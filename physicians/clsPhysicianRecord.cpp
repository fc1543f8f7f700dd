#include "clsPhysicianRecord.h"

#include <tuple>

namespace physicians {

clsPhysicianRecord::clsPhysicianRecord() {
    fax_days_1_raw.fill(true);
    fax_days_2_raw.fill(true);
    SetAll_report_sets(true);
    ResetWeightTypesAndValues();
}

void clsPhysicianRecord::SetAll_report_sets(bool v) {
    for (ReportSet* set : {&fax_includes_1_raw, &fax_includes_2_raw, &batch_includes_raw, &online_includes_raw,
                           &email_includes_raw, &speech_rec_includes_raw})
        set->fill(v);
}

void clsPhysicianRecord::CopyStateFrom(const clsPhysicianRecord& other) {
    const long account = hosp_acct_id;
    *this = other;
    hosp_acct_id = account;
}

namespace {

// The stored attributes of a record, as one comparable tuple (state flags and the account excluded).
auto attributes(const clsPhysicianRecord& r) {
    return std::tie(r.dept_id, r.physician_group_id, r.title_2, r.title_3, r.title_4, r.title_5, r.title_6,
                    r.dictation_id, r.physician_type, r.mis_nbr_1, r.mis_nbr_2, r.phone_nbr_1, r.phone_nbr_2,
                    r.address_1, r.address_2, r.address_3, r.city, r.State, r.country, r.zip_code, r.group_affiliation,
                    r.elect_signature, r.fax_nbr_1, r.fax_nbr_2, r.fax_enabled_1, r.fax_enabled_2, r.batch_enabled,
                    r.email_enabled, r.online_enabled, r.fax_hour_1, r.fax_minute_1, r.fax_hour_2, r.fax_minute_2,
                    r.fax_days_1_raw, r.fax_days_2_raw, r.fax_includes_1_raw, r.fax_includes_2_raw, r.online_queue,
                    r.batch_queue, r.batch_includes_raw, r.online_includes_raw, r.email_includes_raw, r.email_address,
                    r.email_method, r.email_password, r.string1, r.default_input_method, r.speech_rec_enabled,
                    r.speech_rec_includes_raw, r.speech_rec_specific_worktypes, r.default_context_id,
                    r.speech_rec_eval_mode, r.adv_acoustics_support);
}

} // namespace

bool clsPhysicianRecord::EqualTo(const clsPhysicianRecord& other) const {
    return attributes(*this) == attributes(other);
}

bool clsPhysicianRecord::WeightingEqualTo(const clsPhysicianRecord& other) const {
    return weight_types == other.weight_types && weight_values == other.weight_values;
}

bool clsPhysicianRecord::AddendumsEqualTo(const clsPhysicianRecord& other) const {
    return addendum_lines == other.addendum_lines && addendum_switch_lines == other.addendum_switch_lines;
}

void clsPhysicianRecord::SetAddendumLineNbr(int addendumNbr, const std::string& text) {
    if (addendumNbr >= 0 && addendumNbr < static_cast<int>(kAddendumLines))
        addendum_lines[static_cast<size_t>(addendumNbr)] = text;
    else if (addendumNbr >= kFirstSwitchAddendumNbr &&
             addendumNbr < kFirstSwitchAddendumNbr + static_cast<int>(kSwitchLines))
        addendum_switch_lines[static_cast<size_t>(addendumNbr - kFirstSwitchAddendumNbr)] = text;
    else
        return;
    addendum_exists = true;
    has_addendum = 1;
}

int clsPhysicianRecord::SetNumberSwitchAddendumLines() const {
    int n = 0;
    for (const auto& line : addendum_switch_lines)
        n += line.empty() ? 0 : 1;
    return n;
}

void clsPhysicianRecord::SetWeightType(int reportType, int type) {
    if (reportType < 0 || reportType >= static_cast<int>(kWeightTypes))
        return;
    weight_types[static_cast<size_t>(reportType)] = type;
    use_default_weight = false;
    weighting_exists = true;
}

void clsPhysicianRecord::SetWeightValue(int reportType, float value) {
    if (reportType < 0 || reportType >= static_cast<int>(kWeightTypes))
        return;
    weight_values[static_cast<size_t>(reportType)] = value;
    use_default_weight = false;
    weighting_exists = true;
}

void clsPhysicianRecord::ResetWeightTypesAndValues() {
    weight_types.fill(-1);
    weight_values.fill(0);
    use_default_weight = true;
    weighting_exists = false;
}

bool clsPhysicianRecord::Default_weight_values_and_types() const {
    for (size_t i = 0; i < kWeightTypes; ++i)
        if (weight_types[i] != -1)
            return false;
    return true;
}

void clsPhysicianRecord::DeriveAfterLoad() {
    fax_time_enabled_1 = fax_hour_1 >= 0 && fax_hour_1 < 24 ? 1 : 0;
    fax_time_enabled_2 = fax_hour_2 >= 0 && fax_hour_2 < 24 ? 1 : 0;
    record_initialized = true;
    edit_status = EditUnchanged;
    selected = false;
}

} // namespace physicians
