#include "PhysicianProfileEdit.h"

#include "PhysicianSpeechSettings.h"

#include "Numbers.h"
#include "Text.h"
#include "Utf8.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace physicians {

namespace {

using R = clsPhysicianRecord;

ProfileFieldInfo text(const char* name, std::string R::*member, size_t width, bool physician = false) {
    return {name, member, nullptr, width, physician};
}

ProfileFieldInfo number(const char* name, int R::*member, bool physician = false) {
    return {name, nullptr, member, 0, physician};
}

constexpr size_t kAddendumLineChars = 77;

ReportSet R::*reportSet(ReportSetKind kind) {
    switch (kind) {
    case ReportSetKind::Online:
        return &R::online_includes_raw;
    case ReportSetKind::Batch:
        return &R::batch_includes_raw;
    case ReportSetKind::Fax1:
        return &R::fax_includes_1_raw;
    case ReportSetKind::Fax2:
        return &R::fax_includes_2_raw;
    case ReportSetKind::Email:
        return &R::email_includes_raw;
    case ReportSetKind::SpeechRec:
        break;
    }
    return &R::speech_rec_includes_raw;
}

std::string valueOf(const R& r, const ProfileFieldInfo& f) {
    return f.text ? r.*f.text : std::to_string(r.*f.number);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out.push_back(line);
    }
    return out;
}

} // namespace

const std::vector<ProfileFieldInfo>& ProfileFields() {
    static const std::vector<ProfileFieldInfo> fields = {
        text("first_name", &R::first_name, 30, true),
        text("last_name", &R::last_name, 30, true),
        text("initials", &R::initials, 5, true),
        text("title_1", &R::title_1, 30, true),
        text("dvi_id", &R::dvi_id, 0, true), // the author ids, each checked on OK
        number("is_hidden", &R::is_hidden, true),
        text("title_2", &R::title_2, 30),
        text("title_3", &R::title_3, 30),
        text("title_4", &R::title_4, 30),
        text("title_5", &R::title_5, 30),
        text("title_6", &R::title_6, 30),
        text("group_affiliation", &R::group_affiliation, 50),
        text("dictation_id", &R::dictation_id, 20),
        text("mis_nbr_1", &R::mis_nbr_1, 20),
        text("mis_nbr_2", &R::mis_nbr_2, 20),
        text("string1", &R::string1, 255), // the id a critical-result alerting system knows the physician by
        text("phone_nbr_1", &R::phone_nbr_1, 20),
        text("phone_nbr_2", &R::phone_nbr_2, 20),
        text("address_1", &R::address_1, 50),
        text("address_2", &R::address_2, 50),
        text("address_3", &R::address_3, 50),
        text("city", &R::city, 30),
        text("state", &R::State, 20),
        text("zip_code", &R::zip_code, 10),
        text("country", &R::country, 30),
        number("physician_type", &R::physician_type),
        number("elect_signature", &R::elect_signature),
        text("fax_nbr_1", &R::fax_nbr_1, 20),
        text("fax_nbr_2", &R::fax_nbr_2, 20),
        number("online_enabled", &R::online_enabled),
        number("batch_enabled", &R::batch_enabled),
        number("fax_enabled_1", &R::fax_enabled_1),
        number("fax_enabled_2", &R::fax_enabled_2),
        number("email_enabled", &R::email_enabled),
        number("fax_hour_1", &R::fax_hour_1),
        number("fax_minute_1", &R::fax_minute_1),
        number("fax_hour_2", &R::fax_hour_2),
        number("fax_minute_2", &R::fax_minute_2),
        text("batch_queue", &R::batch_queue, 100),
        text("online_queue", &R::online_queue, 100),
        text("email_address", &R::email_address, 100),
        text("email_method", &R::email_method, 3),
        text("email_password", &R::email_password, 255),
        text("sm_user_name", &R::sm_user_name, 0, true),             // checked on OK
        text("speech_machines_id", &R::speech_machines_id, 0, true), // checked on OK
        number("default_context_id", &R::default_context_id),
        number("default_input_method", &R::default_input_method),
        number("adv_acoustics_support", &R::adv_acoustics_support),
        number("speech_rec_enabled", &R::speech_rec_enabled),
        number("speech_rec_eval_mode", &R::speech_rec_eval_mode),
        text("speech_rec_specific_worktypes", &R::speech_rec_specific_worktypes, 255),
    };
    return fields;
}

const ProfileFieldInfo* FindProfileField(const std::string& name) {
    for (const auto& f : ProfileFields())
        if (name == f.name)
            return &f;
    return nullptr;
}

// ---- loading ----------------------------------------------------------------------------------

bool PhysicianProfileEdit::Load(long physicianId, Mode mode) {
    m_mode = mode;
    m_lngPhysicianId = physicianId;
    m_records.RemoveAll();
    m_selection.clear();
    m_blnMembershipChanged = false;
    if (!LoadAllAccountsRecord(physicianId, m_all, m_blnMemberOfAll))
        return false;
    if (mode != Mode::EditDefault) {
        if (!LoadPhysician(physicianId, m_records))
            return false;
        for (auto& r : m_records.records())
            r.dvi_id = m_records.records().front().dvi_id;
    } else {
        clsPhysicianRecords ids;
        if (!LoadPhysician(physicianId, ids))
            return false;
        m_records.externalIds = ids.externalIds;
        if (ids.Count() > 0)
            m_all.dvi_id = ids.records().front().dvi_id;
    }
    if (!m_all.record_initialized && m_records.Count() > 0) {
        // No -1 rows stored: the first account's values stand for all accounts until saved.
        const bool memberOfAll = m_blnMemberOfAll;
        m_all = m_records.records().front();
        m_all.hosp_acct_id = -1;
        m_all.record_initialized = false;
        m_blnMemberOfAll = memberOfAll;
    } else if (m_records.Count() > 0) {
        const clsPhysicianRecord& head = m_records.records().front();
        m_all.first_name = head.first_name;
        m_all.last_name = head.last_name;
        m_all.title_1 = head.title_1;
        m_all.initials = head.initials;
        m_all.dvi_id = head.dvi_id;
    }
    TakeSpeechIds(m_records.externalIds, m_all);
    m_all.edit_status = EditUnchanged;
    m_original = m_all;
    m_loaded = m_records;
    if (mode == Mode::EditDefault)
        m_selection = {-1};
    else
        for (const auto& r : m_records.records())
            m_selection.push_back(r.hosp_acct_id);
    return true;
}

bool PhysicianProfileEdit::StartNew(const std::vector<long>& accounts, long partitionId) {
    bool memberOfAll = false;
    if (!LoadAllAccountsRecord(-1, m_all, memberOfAll))
        return false;
    m_mode = Mode::Add;
    m_lngPhysicianId = 0;
    m_blnMemberOfAll = false;
    m_blnMembershipChanged = true;
    m_all.physician_id = 0;
    m_all.first_name.clear();
    m_all.last_name.clear();
    m_all.initials.clear();
    m_all.title_1.clear();
    m_all.dvi_id.clear();
    m_all.sm_user_name.clear();
    m_all.speech_machines_id.clear();
    m_all.paxlet_user_id = 0;
    m_all.paxlet_user_name.clear();
    m_all.last_modified_user.clear();
    m_all.last_modified_date.clear();
    m_all.Partition_ID = partitionId;
    m_all.edit_status = EditNew;
    m_original = m_all;
    m_records.RemoveAll();
    m_loaded.RemoveAll();
    m_selection.clear();
    AddAccounts(accounts);
    m_selection = this->accounts();
    return true;
}

void PhysicianProfileEdit::StartAnother(long partitionId) {
    m_mode = Mode::Add;
    m_lngPhysicianId = 0;
    m_blnMemberOfAll = false;
    m_blnMembershipChanged = true;
    m_all.physician_id = 0;
    m_all.Partition_ID = partitionId;
    m_all.paxlet_user_id = 0;
    m_all.paxlet_user_name.clear();
    m_all.edit_status = EditNew;
    clsPhysicianRecords next;
    for (const auto& r : m_records.records()) {
        if (r.edit_status == EditRemoved)
            continue;
        clsPhysicianRecord clone = r.CreateClone();
        clone.physician_id = 0;
        clone.Partition_ID = partitionId;
        clone.paxlet_user_id = 0;
        clone.paxlet_user_name.clear();
        clone.edit_status = EditNew;
        next.Add(clone);
    }
    next.externalIds.clear();
    m_records = next;
    m_original = m_all;
    m_loaded.RemoveAll();
}

std::vector<long> PhysicianProfileEdit::accounts() const {
    std::vector<long> out;
    for (const auto& r : m_records.records())
        if (r.edit_status != EditRemoved)
            out.push_back(r.hosp_acct_id);
    return out;
}

const clsPhysicianRecord* PhysicianProfileEdit::record(long account) const {
    return account == -1 ? &m_all : m_records.Item(std::to_string(account));
}

// ---- selection and values ----------------------------------------------------------------------

void PhysicianProfileEdit::Select(const std::vector<long>& accounts) {
    m_selection.clear();
    for (long a : accounts) {
        const clsPhysicianRecord* r = record(a);
        if (r && r->edit_status != EditRemoved)
            m_selection.push_back(a);
    }
}

std::vector<const clsPhysicianRecord*> PhysicianProfileEdit::selected() const {
    std::vector<const clsPhysicianRecord*> out;
    for (long a : m_selection)
        if (const clsPhysicianRecord* r = record(a))
            out.push_back(r);
    return out;
}

bool PhysicianProfileEdit::everyAccountSelected() const {
    return m_mode == Mode::EditDefault || (!m_selection.empty() && m_selection.size() == accounts().size());
}

std::vector<clsPhysicianRecord*> PhysicianProfileEdit::targets(bool physician) {
    std::vector<clsPhysicianRecord*> out;
    if (physician || everyAccountSelected())
        out.push_back(&m_all);
    for (auto& r : m_records.records()) {
        if (r.edit_status == EditRemoved)
            continue;
        if (physician || std::find(m_selection.begin(), m_selection.end(), r.hosp_acct_id) != m_selection.end())
            out.push_back(&r);
    }
    return out;
}

void PhysicianProfileEdit::touched(clsPhysicianRecord& r) {
    if (r.edit_status == EditUnchanged)
        r.edit_status = EditChanged;
}

std::string PhysicianProfileEdit::Value(const std::string& field) const {
    const ProfileFieldInfo* f = FindProfileField(field);
    if (!f)
        return "";
    const auto records = f->physician ? std::vector<const clsPhysicianRecord*>{&m_all} : selected();
    if (records.empty())
        return "";
    const std::string first = valueOf(*records.front(), *f);
    for (const clsPhysicianRecord* r : records)
        if (valueOf(*r, *f) != first)
            return kVarious;
    return first;
}

bool PhysicianProfileEdit::SetValue(const std::string& field, const std::string& value) {
    const ProfileFieldInfo* f = FindProfileField(field);
    if (!f || value == kVarious)
        return false;
    std::string text = value;
    int numberValue = 0;
    if (f->text) {
        if (f->maxChars > 0)
            text = platform::utf8Left(text, f->maxChars);
    } else {
        const auto parsed = platform::parseDigits(foundation::trimText(value));
        if (!parsed)
            return false;
        numberValue = static_cast<int>(*parsed);
    }
    bool changed = false;
    for (clsPhysicianRecord* r : targets(f->physician)) {
        if (f->text ? r->*f->text == text : r->*f->number == numberValue)
            continue;
        if (f->text)
            r->*f->text = text;
        else
            r->*f->number = numberValue;
        if (std::string(f->name) == "fax_hour_1")
            r->fax_time_enabled_1 = numberValue < 24 ? 1 : 0;
        if (std::string(f->name) == "fax_hour_2")
            r->fax_time_enabled_2 = numberValue < 24 ? 1 : 0;
        touched(*r);
        changed = true;
    }
    return changed;
}

std::optional<DaySet> PhysicianProfileEdit::FaxDays(int which) const {
    const auto records = selected();
    if (records.empty())
        return std::nullopt;
    DaySet R::*set = which == 2 ? &R::fax_days_2_raw : &R::fax_days_1_raw;
    for (const clsPhysicianRecord* r : records)
        for (size_t d = 0; d < 7; ++d) // the days of the week; the eighth element is not compared
            if ((r->*set)[d] != (records.front()->*set)[d])
                return std::nullopt;
    return records.front()->*set;
}

void PhysicianProfileEdit::SetFaxDay(int which, size_t day, bool on) {
    DaySet R::*set = which == 2 ? &R::fax_days_2_raw : &R::fax_days_1_raw;
    for (clsPhysicianRecord* r : targets(false))
        if ((r->*set).at(day) != on) {
            (r->*set).at(day) = on;
            touched(*r);
        }
}

std::optional<bool> PhysicianProfileEdit::ReportIncluded(ReportSetKind kind, size_t reportType) const {
    const auto records = selected();
    if (records.empty())
        return std::nullopt;
    ReportSet R::*set = reportSet(kind);
    const bool first = (records.front()->*set).at(reportType);
    for (const clsPhysicianRecord* r : records)
        if ((r->*set).at(reportType) != first)
            return std::nullopt;
    return first;
}

void PhysicianProfileEdit::SetReportIncluded(ReportSetKind kind, size_t reportType, bool on) {
    ReportSet R::*set = reportSet(kind);
    for (clsPhysicianRecord* r : targets(false))
        if ((r->*set).at(reportType) != on) {
            (r->*set).at(reportType) = on;
            touched(*r);
        }
}

void PhysicianProfileEdit::SetAllReports(ReportSetKind kind, bool on) {
    for (size_t t = 0; t < kReportSetWritten; ++t)
        SetReportIncluded(kind, t, on);
}

std::optional<PhysicianProfileEdit::Weight> PhysicianProfileEdit::WeightOf(size_t reportType) const {
    const auto records = selected();
    if (records.empty() || reportType >= kWeightTypes)
        return std::nullopt;
    auto of = [reportType](const clsPhysicianRecord* r) {
        return Weight{r->weight_types[reportType],
                      r->weight_types[reportType] == -1 ? 0 : r->weight_values[reportType]};
    };
    for (const clsPhysicianRecord* r : records)
        if (!(of(r) == of(records.front())))
            return std::nullopt;
    return of(records.front());
}

void PhysicianProfileEdit::SetWeight(size_t reportType, Weight weight) {
    if (reportType >= kWeightTypes)
        return;
    for (clsPhysicianRecord* r : targets(false)) {
        if (r->weight_types[reportType] == weight.type && r->weight_values[reportType] == weight.value)
            continue;
        r->weight_types[reportType] = weight.type;
        r->weight_values[reportType] = weight.type == -1 ? 0 : weight.value;
        r->use_default_weight = r->Default_weight_values_and_types();
        r->weighting_exists = !r->use_default_weight;
        touched(*r);
    }
}

std::string PhysicianProfileEdit::AddendumText(bool switches) const {
    const auto records = selected();
    if (records.empty())
        return "";
    auto joined = [switches](const clsPhysicianRecord* r) {
        const std::string* begin = switches ? r->addendum_switch_lines.data() : r->addendum_lines.data();
        size_t count = switches ? kSwitchLines : kAddendumLines;
        while (count > 0 && begin[count - 1].empty())
            --count;
        std::string out;
        for (size_t i = 0; i < count; ++i)
            out += (i ? "\r\n" : "") + begin[i];
        return out;
    };
    const std::string first = joined(records.front());
    for (const clsPhysicianRecord* r : records)
        if (joined(r) != first)
            return kVarious;
    return first;
}

bool PhysicianProfileEdit::SetAddendumText(bool switches, const std::string& text) {
    if (text == kVarious)
        return false;
    const size_t count = switches ? kSwitchLines : kAddendumLines;
    std::vector<std::string> in = lines(text);
    bool cut = false;
    for (auto& line : in)
        if (platform::utf8Length(line) > kAddendumLineChars) {
            line = platform::utf8Left(line, kAddendumLineChars);
            cut = true;
        }
    in.resize(count);
    for (clsPhysicianRecord* r : targets(false)) {
        std::string* dest = switches ? r->addendum_switch_lines.data() : r->addendum_lines.data();
        if (std::equal(in.begin(), in.end(), dest))
            continue;
        std::copy(in.begin(), in.end(), dest);
        r->addendum_exists = std::any_of(r->addendum_lines.begin(), r->addendum_lines.end(),
                                         [](const std::string& l) { return !l.empty(); }) ||
                             r->SetNumberSwitchAddendumLines() > 0;
        touched(*r);
    }
    return cut;
}

// ---- accounts ----------------------------------------------------------------------------------

void PhysicianProfileEdit::AddAccounts(const std::vector<long>& accounts) {
    for (long a : accounts) {
        if (a < 0)
            continue;
        if (clsPhysicianRecord* r = m_records.Item(std::to_string(a)); r && r->edit_status != EditRemoved)
            continue;
        clsPhysicianRecord r = m_all.CreateClone();
        r.hosp_acct_id = a;
        r.edit_status = EditNew;
        m_records.Add(r);
        m_blnMembershipChanged = true;
    }
}

void PhysicianProfileEdit::RemoveAccounts(const std::vector<long>& accounts) {
    bool removed = false;
    for (long a : accounts) {
        clsPhysicianRecord* r = m_records.Item(std::to_string(a));
        if (!r || r->edit_status == EditRemoved)
            continue;
        if (r->edit_status == EditNew && !m_loaded.Item(r->MyKey()))
            m_records.Remove(r->MyKey()); // never stored: nothing to delete
        else
            r->edit_status = EditRemoved;
        removed = true;
    }
    if (!removed)
        return;
    m_blnMembershipChanged = true;
    m_selection.erase(std::remove_if(m_selection.begin(), m_selection.end(),
                                     [this](long a) {
                                         const clsPhysicianRecord* r = record(a);
                                         return !r || r->edit_status == EditRemoved;
                                     }),
                      m_selection.end());
    if (m_blnMemberOfAll) {
        // The -1 membership goes; every remaining account gets a membership row of its own.
        m_blnMemberOfAll = false;
        touched(m_all);
        for (auto& r : m_records.records())
            if (r.edit_status != EditRemoved)
                touched(r);
    }
}

bool PhysicianProfileEdit::Overrides(long account) const {
    const clsPhysicianRecord* r = m_records.Item(std::to_string(account));
    return r && !(r->EqualTo(m_all) && r->AddendumsEqualTo(m_all) && r->WeightingEqualTo(m_all));
}

void PhysicianProfileEdit::UseAllAccountsValues() {
    for (long a : m_selection) {
        clsPhysicianRecord* r = m_records.Item(std::to_string(a));
        if (!r || !Overrides(a))
            continue;
        const int status = r->edit_status;
        r->CopyStateFrom(m_all);
        r->edit_status = status;
        touched(*r);
    }
}

// ---- saving ------------------------------------------------------------------------------------

std::vector<ProfileChange> PhysicianProfileEdit::Changes() const {
    std::vector<ProfileChange> out;
    std::map<std::tuple<std::string, std::string, std::string>, size_t> at;
    auto note = [&](const std::string& field, const std::string& before, const std::string& after, long account) {
        if (before == after)
            return;
        const auto key = std::make_tuple(field, before, after);
        auto it = at.find(key);
        if (it == at.end()) {
            at.emplace(key, out.size());
            out.push_back({field, before, after, {account}});
        } else {
            out[it->second].accounts.push_back(account);
        }
    };
    for (const auto& f : ProfileFields()) {
        note(f.name, valueOf(m_original, f), valueOf(m_all, f), -1);
        if (f.physician)
            continue;
        for (const auto& r : m_records.records()) {
            if (r.edit_status == EditRemoved)
                continue;
            const clsPhysicianRecord* before = m_loaded.Item(r.MyKey());
            note(f.name, before ? valueOf(*before, f) : valueOf(m_original, f), valueOf(r, f), r.hosp_acct_id);
        }
    }
    for (const auto& r : m_records.records()) {
        const clsPhysicianRecord* before = m_loaded.Item(r.MyKey());
        if (r.edit_status == EditRemoved)
            note("account", "member", "removed", r.hosp_acct_id);
        else if (!before)
            note("account", "", "member", r.hosp_acct_id);
        else if (!(r.fax_days_1_raw == before->fax_days_1_raw && r.fax_days_2_raw == before->fax_days_2_raw &&
                   r.fax_includes_1_raw == before->fax_includes_1_raw &&
                   r.fax_includes_2_raw == before->fax_includes_2_raw &&
                   r.batch_includes_raw == before->batch_includes_raw &&
                   r.online_includes_raw == before->online_includes_raw &&
                   r.email_includes_raw == before->email_includes_raw &&
                   r.speech_rec_includes_raw == before->speech_rec_includes_raw && r.AddendumsEqualTo(*before) &&
                   r.WeightingEqualTo(*before)))
            note("days, report types, weighting or addendums", "", "changed", r.hosp_acct_id);
    }
    return out;
}

clsPhysicianRecords PhysicianProfileEdit::ForSave() const {
    clsPhysicianRecords out;
    clsPhysicianRecord all = m_all;
    const bool anyWritten = std::any_of(m_records.records().begin(), m_records.records().end(),
                                        [](const auto& r) { return r.edit_status != EditUnchanged; });
    if (all.edit_status == EditUnchanged && (anyWritten || m_blnMembershipChanged) && !m_original.record_initialized)
        all.edit_status = EditNew; // accounts that follow the -1 values need them stored
    out.Add(all);
    for (const auto& r : m_records.records()) {
        clsPhysicianRecord copy = r;
        // Profile values are the physician's, whatever account they were typed for.
        copy.first_name = all.first_name;
        copy.last_name = all.last_name;
        copy.initials = all.initials;
        copy.title_1 = all.title_1;
        copy.is_hidden = all.is_hidden;
        copy.paxlet_user_id = all.paxlet_user_id;
        copy.Partition_ID = all.Partition_ID;
        out.Add(copy);
    }
    out.externalIds = ExternalIds();
    return out;
}

std::vector<PhysicianExternalId> PhysicianProfileEdit::ExternalIds() const {
    std::vector<PhysicianExternalId> out;
    int order = 0;
    for (const auto& e : m_records.externalIds)
        if (e.source_type < 1 || e.source_type > 3)
            out.push_back(e);
    if (const std::string sm = foundation::trimText(m_all.sm_user_name); !sm.empty())
        out.push_back({1, sm, 1});
    std::stringstream ids(m_all.dvi_id);
    std::string id;
    while (std::getline(ids, id, ',')) {
        const std::string trimmed = foundation::trimText(id);
        if (!trimmed.empty())
            out.push_back({2, trimmed, ++order});
    }
    if (const std::string asp = foundation::trimText(m_all.speech_machines_id); !asp.empty())
        out.push_back({3, asp, 1});
    return out;
}

void PhysicianProfileEdit::UnlinkUser() {
    for (clsPhysicianRecord* r : targets(true)) {
        r->paxlet_user_id = 0;
        r->paxlet_user_name.clear();
        touched(*r);
    }
}

void PhysicianProfileEdit::LinkUser(long userId, const std::string& userName) {
    for (clsPhysicianRecord* r : targets(true)) {
        r->paxlet_user_id = userId;
        r->paxlet_user_name = userName;
        touched(*r);
    }
}

void PhysicianProfileEdit::Saved(long physicianId) {
    m_lngPhysicianId = physicianId;
    if (m_mode == Mode::Add)
        m_mode = Mode::Edit;
    for (long a : accounts())
        if (clsPhysicianRecord* r = m_records.Item(std::to_string(a)))
            r->physician_id = physicianId;
    std::vector<std::string> removed;
    for (const auto& r : m_records.records())
        if (r.edit_status == EditRemoved)
            removed.push_back(r.MyKey());
    for (const auto& key : removed)
        m_records.Remove(key);
    m_all.physician_id = physicianId;
    m_all.record_initialized = true;
    markAll(EditUnchanged);
    m_original = m_all;
    m_loaded = m_records;
    m_blnMembershipChanged = false;
}

void PhysicianProfileEdit::markAll(int status) {
    m_all.edit_status = status;
    for (auto& r : m_records.records())
        r.edit_status = status;
}

} // namespace physicians
