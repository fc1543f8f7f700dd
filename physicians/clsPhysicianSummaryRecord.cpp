#include "clsPhysicianSummaryRecord.h"

#include "Text.h"
#include "clsPhysicianRecord.h"

#include <algorithm>

namespace physicians {

void clsPhysicianSummaryRecord::CopyStateFromDetailRecord(const clsPhysicianRecord& detail) {
    first_name = detail.first_name;
    last_name = detail.last_name;
    title_1 = detail.title_1;
    paxlet_user_id = detail.paxlet_user_id;
    paxlet_user_name = detail.paxlet_user_name;
    hosp_acct_id = detail.hosp_acct_id;
    Partition_ID = detail.Partition_ID;
    physician_id = detail.physician_id;
    is_deleted = detail.is_deleted;
    dictation_id = detail.dictation_id;
    mis_nbr_1 = detail.mis_nbr_1;
    mis_nbr_2 = detail.mis_nbr_2;
    fax_nbr_1 = detail.fax_nbr_1;
    group_affiliation = detail.group_affiliation;
    address_1 = detail.address_1;
    elect_signature = detail.elect_signature;
    batch_enabled = detail.batch_enabled;
    fax_enabled_1 = detail.fax_enabled_1;
    email_enabled = detail.email_enabled;
    speech_rec_enabled = detail.speech_rec_enabled;
    speech_rec_eval_mode = detail.speech_rec_eval_mode;
    is_hidden = detail.is_hidden;
    string1 = detail.string1;
    // The detail record keeps every author id as a comma list.
    const std::string ids = detail.dvi_id;
    dvi_id = ids.substr(0, ids.find(','));
    dvi_count = ids.empty() ? 0 : 1 + static_cast<int>(std::count(ids.begin(), ids.end(), ','));
}

bool clsPhysicianSummaryRecord::EqualTo(const clsPhysicianSummaryRecord& o) const {
    return first_name == o.first_name && last_name == o.last_name && title_1 == o.title_1 &&
           paxlet_user_id == o.paxlet_user_id && paxlet_user_name == o.paxlet_user_name &&
           hosp_acct_id == o.hosp_acct_id && Partition_ID == o.Partition_ID && physician_id == o.physician_id &&
           dvi_id == o.dvi_id && dvi_count == o.dvi_count && is_deleted == o.is_deleted &&
           dictation_id == o.dictation_id && mis_nbr_1 == o.mis_nbr_1 && mis_nbr_2 == o.mis_nbr_2 &&
           fax_nbr_1 == o.fax_nbr_1 && group_affiliation == o.group_affiliation && address_1 == o.address_1 &&
           elect_signature == o.elect_signature && batch_enabled == o.batch_enabled &&
           fax_enabled_1 == o.fax_enabled_1 && email_enabled == o.email_enabled &&
           speech_rec_enabled == o.speech_rec_enabled && speech_rec_eval_mode == o.speech_rec_eval_mode &&
           is_hidden == o.is_hidden && string1 == o.string1;
}

size_t clsPhysicianSummaryRecord::SizeOf() const {
    size_t n = sizeof(*this);
    for (const std::string* s : {&first_name, &last_name, &title_1, &paxlet_user_name, &dvi_id, &dictation_id,
                                 &mis_nbr_1, &mis_nbr_2, &fax_nbr_1, &group_affiliation, &address_1, &string1})
        n += s->capacity();
    return n;
}

std::string clsPhysicianSummaryRecord::DisplayName() const {
    std::string name = foundation::trimText(last_name) + ", " + foundation::trimText(first_name);
    const std::string title = foundation::trimText(title_1);
    return title.empty() ? name : name + " " + title;
}

std::string clsPhysicianSummaryRecord::AuthorIdText() const {
    return dvi_count > 1 ? dvi_id + " + ..." : dvi_id;
}

bool clsPhysicianSummaryRecord::HasStatus(char letter) const {
    switch (letter) {
    case 'A':
        return !foundation::trimText(address_1).empty();
    case 'E':
        return elect_signature != 0;
    case 'B':
        return batch_enabled != 0;
    case 'F':
        return fax_enabled_1 != 0;
    case 'M':
        return email_enabled != 0;
    case 'R':
        return speech_rec_enabled != 0;
    case 'V':
        return speech_rec_eval_mode != 0;
    default:
        return false;
    }
}

std::string clsPhysicianSummaryRecord::StatusText() const {
    std::string out;
    for (const char* p = kStatusLetters; *p; ++p)
        if (HasStatus(*p))
            out += std::string(1, *p) + " ";
    return out;
}

const char* StatusLabel(char letter) {
    switch (letter) {
    case 'A':
        return "A - Address";
    case 'E':
        return "E - Paxlet/Expert User";
    case 'B':
        return "B - Batch Enabled";
    case 'F':
        return "F - Fax Enabled";
    case 'M':
        return "M - Email Enabled";
    case 'R':
        return "R - Speech Recognition Enabled";
    case 'V':
        return "V - Evaluation Mode";
    default:
        return "";
    }
}

} // namespace physicians
