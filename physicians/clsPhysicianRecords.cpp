#include "clsPhysicianRecords.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "Numbers.h"
#include "PhysicianBitSet.h"
#include "modPartition.h"

#include <set>

namespace physicians {

using foundation::DatabaseSession;
using foundation::EventLog;

// ---- the collection -----------------------------------------------------------------------

clsPhysicianRecord& clsPhysicianRecords::Add(const clsPhysicianRecord& record) {
    const std::string key = record.MyKey();
    if (auto it = m_index.find(key); it != m_index.end())
        return m_records[it->second] = record;
    m_index.emplace(key, m_records.size());
    m_records.push_back(record);
    return m_records.back();
}

void clsPhysicianRecords::Remove(const std::string& key) {
    auto it = m_index.find(key);
    if (it == m_index.end())
        return;
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(it->second));
    m_index.clear();
    for (size_t i = 0; i < m_records.size(); ++i)
        m_index.emplace(m_records[i].MyKey(), i);
}

void clsPhysicianRecords::RemoveAll() {
    m_records.clear();
    m_index.clear();
    externalIds.clear();
}

clsPhysicianRecord* clsPhysicianRecords::Item(const std::string& key) {
    auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : &m_records[it->second];
}

const clsPhysicianRecord* clsPhysicianRecords::Item(const std::string& key) const {
    auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : &m_records[it->second];
}

const char* ExternalSourceName(int sourceType) {
    switch (sourceType) {
    case 1:
        return "Speech Magic";
    case 2:
        return "DVI";
    case 3:
        return "Speech Machines";
    default:
        return "";
    }
}

// ---- loading ------------------------------------------------------------------------------

namespace {

// One row per live account the physician belongs to: the account's own row of `alias` when it
// exists, the -1 row otherwise; for a member of all accounts (membership -1) every live account.
std::string accountRule(const std::string& alias, const std::string& table, const std::string& id) {
    const std::string noOwnRow = "(" + alias + ".hosp_acct_id = -1 AND NOT EXISTS (SELECT * FROM " + table +
                                 " X WHERE X.physician_id = " + id + " AND X.hosp_acct_id = AI.hosp_acct_id))";
    return "AND    ((PM.hosp_acct_id = -1 AND (AI.hosp_acct_id = " + alias + ".hosp_acct_id OR " + noOwnRow +
           "))\r\n        OR (PM.hosp_acct_id = AI.hosp_acct_id AND (PM.hosp_acct_id = " + alias + ".hosp_acct_id OR " +
           noOwnRow + ")))\r\n";
}

// Rows of a per-account table without membership: the account's own rows, else the -1 rows.
std::string overrideRule(const std::string& alias, const std::string& table, const std::string& id) {
    return "WHERE  " + alias + ".physician_id = " + id +
           "\r\nAND    AI.is_deleted = 0 AND AI.hosp_acct_id <> -1\r\nAND    (" + alias +
           ".hosp_acct_id = AI.hosp_acct_id OR (" + alias + ".hosp_acct_id = -1 AND NOT EXISTS (SELECT * FROM " +
           table + " X WHERE X.physician_id = " + id + " AND X.hosp_acct_id = AI.hosp_acct_id)))\r\n";
}

int number(const std::string& text, int otherwise = 0) {
    const auto v = platform::parseNumber(text);
    return v ? static_cast<int>(*v) : otherwise;
}

bool run(DatabaseSession& s, const std::string& sql) {
    s.SQLStatement = sql;
    return s.ExecSQL() == 1;
}

} // namespace

namespace {

// The columns of a main row after its account number, in the order readMainRow takes them.
const char* const kMainColumns =
    "PP.physician_id, PA.dept_id, PA.flag1, PP.first_name, PP.last_name, PP.title_1, "
    "PA.title_2, PA.title_3, PA.title_4, PA.title_5, PA.title_6, PP.initials, PA.dictation_id, "
    "PA.mis_nbr_1, PA.mis_nbr_2, PA.physician_type, PA.phone_nbr_1, PA.phone_nbr_2, PA.address_1, "
    "PA.address_2, PA.address_3, PA.city, PA.state, PA.country, PA.zip_code, PA.group_affiliation, "
    "PA.elect_signature, PA.fax_nbr_1, PA.fax_nbr_2, PA.fax_enabled_1, PA.fax_enabled_2, PA.batch_enabled, "
    "PA.email_enabled, PA.online_enabled, PA.fax_hour_1, PA.fax_minute_1, PA.fax_hour_2, PA.fax_minute_2, "
    "PA.fax_days_1, PA.fax_days_2, PA.fax_includes_1, PA.fax_includes_2, PA.online_queue, PA.batch_queue, "
    "PA.batch_includes, PA.online_includes, PA.email_includes, PA.email_address, PP.flag2, "
    "user_name = (SELECT user_name FROM System_user_bindery WHERE user_id = PP.flag2), PA.string2, "
    "PA.email_type, PP.string1, lmd = CONVERT(char(30), PP.last_update, 120), PA.string1, PP.flag3, "
    "PP.partition_id\r\n";

} // namespace

std::string PhysicianMainQuery(long physicianId) {
    const std::string id = std::to_string(physicianId);
    return std::string("SELECT AI.hosp_acct_id, ") + kMainColumns +
           "FROM   Physician_profile PP, Physician_membership PM, Physician_attributes PA, Account_info AI\r\n"
           "WHERE  PP.physician_id = " +
           id + " AND PM.physician_id = " + id + " AND PA.physician_id = " + id +
           "\r\nAND    AI.is_deleted = 0 AND AI.hosp_acct_id <> -1\r\n" +
           accountRule("PA", "Physician_attributes", id) + "ORDER BY AI.hosp_acct_id";
}

std::string PhysicianExtendedQuery(long physicianId) {
    const std::string id = std::to_string(physicianId);
    return "SELECT AI.hosp_acct_id, PAE.default_input_method, PAE.speech_rec_enabled, PAE.speech_rec_includes, "
           "PAE.speech_rec_specific_worktypes, PAE.flag1, PAE.flag2, PAE.flag3\r\n"
           "FROM   Physician_membership PM, Physician_attributes_extended PAE, Account_info AI\r\n"
           "WHERE  PM.physician_id = " +
           id + " AND PAE.physician_id = " + id + "\r\nAND    AI.is_deleted = 0 AND AI.hosp_acct_id <> -1\r\n" +
           accountRule("PAE", "Physician_attributes_extended", id) + "ORDER BY AI.hosp_acct_id";
}

std::string PhysicianExternalIdsQuery(long physicianId) {
    return "SELECT source_id, source_physician_id, source_type, sort_order\r\nFROM Physician_external_ids\r\n"
           "WHERE physician_id = " +
           std::to_string(physicianId) + "\r\nORDER BY source_type, sort_order";
}

std::string PhysicianAddendumsQuery(long physicianId) {
    const std::string id = std::to_string(physicianId);
    return "SELECT AI.hosp_acct_id, addendum_nbr, addendum\r\nFROM Physician_addendums_v2 PA2, Account_info AI\r\n" +
           overrideRule("PA2", "Physician_addendums_v2", id) + "ORDER BY AI.hosp_acct_id, addendum_nbr";
}

std::string PhysicianWeightingQuery(long physicianId) {
    const std::string id = std::to_string(physicianId);
    return "SELECT AI.hosp_acct_id, report_type_nbr, weight_type, weight_value\r\n"
           "FROM Physician_weighting PW, Account_info AI\r\n" +
           overrideRule("PW", "Physician_weighting", id) + "ORDER BY AI.hosp_acct_id, report_type_nbr";
}

namespace {

void readMainRow(DatabaseSession& s, clsPhysicianRecord& r) {
    auto text = [&s](int c) { return s.GetColumnText(c, 1); };
    auto num = [&s](int c) { return number(s.GetColumnText(c, 1)); };
    r.hosp_acct_id = num(1);
    r.physician_id = num(2);
    r.dept_id = num(3);
    r.physician_group_id = num(4);
    r.first_name = text(5);
    r.last_name = text(6);
    r.title_1 = text(7);
    std::string* titles[] = {&r.title_2, &r.title_3, &r.title_4, &r.title_5, &r.title_6};
    for (int i = 0; i < 5; ++i)
        *titles[i] = text(8 + i);
    r.initials = text(13);
    r.dictation_id = text(14);
    r.mis_nbr_1 = text(15);
    r.mis_nbr_2 = text(16);
    r.physician_type = num(17);
    std::string* contact[] = {&r.phone_nbr_1, &r.phone_nbr_2, &r.address_1, &r.address_2, &r.address_3,
                              &r.city,        &r.State,       &r.country,   &r.zip_code,  &r.group_affiliation};
    for (int i = 0; i < 10; ++i)
        *contact[i] = text(18 + i);
    r.elect_signature = num(28);
    r.fax_nbr_1 = text(29);
    r.fax_nbr_2 = text(30);
    int* flags[] = {&r.fax_enabled_1, &r.fax_enabled_2, &r.batch_enabled, &r.email_enabled, &r.online_enabled,
                    &r.fax_hour_1,    &r.fax_minute_1,  &r.fax_hour_2,    &r.fax_minute_2};
    for (int i = 0; i < 9; ++i)
        *flags[i] = num(31 + i);
    r.fax_days_1 = text(40);
    r.fax_days_2 = text(41);
    ParseBitSet(r.fax_days_1, r.fax_days_1_raw.data(), kDaySetSize);
    ParseBitSet(r.fax_days_2, r.fax_days_2_raw.data(), kDaySetSize);
    r.fax_includes_1 = text(42);
    r.fax_includes_2 = text(43);
    r.online_queue = text(44);
    r.batch_queue = text(45);
    r.batch_includes = text(46);
    r.online_includes = text(47);
    r.email_includes = text(48);
    const std::pair<const std::string*, ReportSet*> sets[] = {
        {&r.fax_includes_1, &r.fax_includes_1_raw}, {&r.fax_includes_2, &r.fax_includes_2_raw},
        {&r.batch_includes, &r.batch_includes_raw}, {&r.online_includes, &r.online_includes_raw},
        {&r.email_includes, &r.email_includes_raw},
    };
    for (const auto& [hex, bits] : sets)
        ParseBitSet(*hex, bits->data(), kReportSetWritten);
    r.email_address = text(49);
    r.paxlet_user_id = num(50);
    // flag2 = 0 means no linked user, although a user with id 0 exists.
    r.paxlet_user_name = r.paxlet_user_id == 0 ? std::string() : text(51);
    r.email_password = text(52);
    r.email_method = text(53);
    r.last_modified_user = text(54);
    r.last_modified_date = text(55);
    r.string1 = text(56);
    r.is_hidden = num(57);
    r.Partition_ID = num(58);
    r.DeriveAfterLoad();
}

} // namespace

bool LoadPhysician(long physicianId, clsPhysicianRecords& physician) {
    physician.RemoveAll();
    auto& s = DatabaseSession::instance();
    if (!run(s, PhysicianMainQuery(physicianId)))
        return false;
    while (s.FetchRow() == 1) {
        clsPhysicianRecord r;
        readMainRow(s, r);
        physician.Add(r);
    }
    if (!run(s, PhysicianExtendedQuery(physicianId)))
        return false;
    while (s.FetchRow() == 1) {
        clsPhysicianRecord* r = physician.Item(s.GetColumnText(1, 1));
        if (!r)
            continue;
        r->default_input_method = number(s.GetColumnText(2, 1));
        r->speech_rec_enabled = number(s.GetColumnText(3, 1));
        r->speech_rec_includes = s.GetColumnText(4, 1);
        ParseBitSet(r->speech_rec_includes, r->speech_rec_includes_raw.data(), kReportSetWritten);
        r->speech_rec_specific_worktypes = s.GetColumnText(5, 1);
        r->default_context_id = number(s.GetColumnText(6, 1));
        r->speech_rec_eval_mode = number(s.GetColumnText(7, 1));
        r->adv_acoustics_support = number(s.GetColumnText(8, 1));
    }
    if (!run(s, PhysicianExternalIdsQuery(physicianId)))
        return false;
    std::string dvi;
    while (s.FetchRow() == 1) {
        PhysicianExternalId e;
        e.source_physician_id = s.GetColumnText(2, 1);
        e.source_type = number(s.GetColumnText(3, 1));
        e.sort_order = number(s.GetColumnText(4, 1));
        if (e.source_type == 2)
            dvi += (dvi.empty() ? "" : ",") + e.source_physician_id;
        physician.externalIds.push_back(e);
    }
    if (!run(s, PhysicianAddendumsQuery(physicianId)))
        return false;
    while (s.FetchRow() == 1)
        if (clsPhysicianRecord* r = physician.Item(s.GetColumnText(1, 1)))
            r->SetAddendumLineNbr(number(s.GetColumnText(2, 1), -1), s.GetColumnText(3, 1));
    if (!run(s, PhysicianWeightingQuery(physicianId)))
        return false;
    while (s.FetchRow() == 1) {
        clsPhysicianRecord* r = physician.Item(s.GetColumnText(1, 1));
        if (!r)
            continue;
        const int type = number(s.GetColumnText(2, 1), -1);
        r->SetWeightType(type, number(s.GetColumnText(3, 1)));
        r->SetWeightValue(type, static_cast<float>(platform::parseNumber(s.GetColumnText(4, 1)).value_or(0)));
    }
    for (auto& r : physician.records())
        r.dvi_id = dvi;
    if (physician.Count() > 0)
        Partitions().physicianPartition = physician.records().front().Partition_ID;
    return true;
}

bool LoadAllAccountsRecord(long physicianId, clsPhysicianRecord& record, bool& memberOfAllAccounts) {
    const std::string id = std::to_string(physicianId);
    auto& s = DatabaseSession::instance();
    record = clsPhysicianRecord();
    if (!run(s, std::string("SELECT PA.hosp_acct_id, ") + kMainColumns +
                    "FROM   Physician_profile PP, Physician_attributes PA\r\nWHERE  PP.physician_id = " + id +
                    " AND PA.physician_id = " + id + " AND PA.hosp_acct_id = -1"))
        return false;
    const bool found = s.FetchRow() == 1;
    if (found) {
        readMainRow(s, record);
        s.FlushResults();
    }
    if (!run(s, "SELECT default_input_method, speech_rec_enabled, speech_rec_includes, speech_rec_specific_worktypes, "
                "flag1, flag2, flag3\r\nFROM Physician_attributes_extended\r\nWHERE physician_id = " +
                    id + " AND hosp_acct_id = -1"))
        return false;
    if (s.FetchRow() == 1) {
        record.default_input_method = number(s.GetColumnText(1, 1));
        record.speech_rec_enabled = number(s.GetColumnText(2, 1));
        record.speech_rec_includes = s.GetColumnText(3, 1);
        ParseBitSet(record.speech_rec_includes, record.speech_rec_includes_raw.data(), kReportSetWritten);
        record.speech_rec_specific_worktypes = s.GetColumnText(4, 1);
        record.default_context_id = number(s.GetColumnText(5, 1));
        record.speech_rec_eval_mode = number(s.GetColumnText(6, 1));
        record.adv_acoustics_support = number(s.GetColumnText(7, 1));
        s.FlushResults();
    }
    if (!run(s, "SELECT addendum_nbr, addendum FROM Physician_addendums_v2 WHERE physician_id = " + id +
                    " AND hosp_acct_id = -1 ORDER BY addendum_nbr"))
        return false;
    while (s.FetchRow() == 1)
        record.SetAddendumLineNbr(number(s.GetColumnText(1, 1), -1), s.GetColumnText(2, 1));
    if (!run(s, "SELECT report_type_nbr, weight_type, weight_value FROM Physician_weighting WHERE physician_id = " +
                    id + " AND hosp_acct_id = -1 ORDER BY report_type_nbr"))
        return false;
    while (s.FetchRow() == 1) {
        const int type = number(s.GetColumnText(1, 1), -1);
        record.SetWeightType(type, number(s.GetColumnText(2, 1)));
        record.SetWeightValue(type, static_cast<float>(platform::parseNumber(s.GetColumnText(3, 1)).value_or(0)));
    }
    if (!run(s, "SELECT COUNT(*) FROM Physician_membership WHERE physician_id = " + id + " AND hosp_acct_id = -1"))
        return false;
    memberOfAllAccounts = s.FetchRow() == 1 && s.GetColumnLong(1) > 0;
    s.FlushResults();
    record.hosp_acct_id = -1;
    record.physician_id = physicianId;
    record.record_initialized = found;
    return true;
}

// ---- saving -------------------------------------------------------------------------------

namespace {

std::string q(const std::string& text) {
    return "'" + DatabaseSession::QuoteSQL(text) + "'";
}

std::string n(long v) {
    return std::to_string(v);
}

std::string attributesInsert(long id, const clsPhysicianRecord& r) {
    std::string v = n(id) + ", " + n(r.hosp_acct_id) + ", " + n(r.dept_id) + ", " + n(r.physician_group_id);
    for (const std::string* t :
         {&r.title_2, &r.title_3, &r.title_4, &r.title_5, &r.title_6, &r.dictation_id, &r.mis_nbr_1, &r.mis_nbr_2})
        v += ", " + q(*t);
    v += ", " + n(r.physician_type);
    for (const std::string* t : {&r.phone_nbr_1, &r.phone_nbr_2, &r.address_1, &r.address_2, &r.address_3, &r.city,
                                 &r.State, &r.country, &r.zip_code, &r.group_affiliation})
        v += ", " + q(*t);
    v += ", " + n(r.elect_signature) + ", " + q(r.fax_nbr_1) + ", " + q(r.fax_nbr_2);
    for (int f : {r.fax_enabled_1, r.fax_enabled_2, r.batch_enabled, r.email_enabled, r.online_enabled, r.fax_hour_1,
                  r.fax_minute_1, r.fax_hour_2, r.fax_minute_2})
        v += ", " + n(f);
    v += ", " + BitSetLiteral(r.fax_days_1_raw.data(), kDaySetSize) + ", " +
         BitSetLiteral(r.fax_days_2_raw.data(), kDaySetSize) + ", " +
         BitSetLiteral(r.fax_includes_1_raw.data(), kReportSetWritten) + ", " +
         BitSetLiteral(r.fax_includes_2_raw.data(), kReportSetWritten) + ", " + q(r.online_queue) + ", " +
         q(r.batch_queue) + ", " + BitSetLiteral(r.batch_includes_raw.data(), kReportSetWritten) + ", " +
         BitSetLiteral(r.online_includes_raw.data(), kReportSetWritten) + ", " +
         BitSetLiteral(r.email_includes_raw.data(), kReportSetWritten) + ", " + q(r.email_address) + ", " +
         n(number(r.email_method)) + ", 0, 0, 0, 0, 0, 0, " + q(r.string1) + ", " + q(r.email_password);
    return "INSERT Physician_attributes (physician_id, hosp_acct_id, dept_id, flag1, title_2, title_3, title_4, "
           "title_5, title_6, dictation_id, mis_nbr_1, mis_nbr_2, physician_type, phone_nbr_1, phone_nbr_2, "
           "address_1, address_2, address_3, city, state, country, zip_code, group_affiliation, elect_signature, "
           "fax_nbr_1, fax_nbr_2, fax_enabled_1, fax_enabled_2, batch_enabled, email_enabled, online_enabled, "
           "fax_hour_1, fax_minute_1, fax_hour_2, fax_minute_2, fax_days_1, fax_days_2, fax_includes_1, "
           "fax_includes_2, online_queue, batch_queue, batch_includes, online_includes, email_includes, "
           "email_address, email_type, flag2, flag3, flag4, flag5, flag6, flag7, string1, string2)\r\nVALUES(" +
           v + ")\r\n";
}

std::string extendedInsert(long id, const clsPhysicianRecord& r) {
    return "INSERT Physician_attributes_extended (physician_id, hosp_acct_id, default_input_method, "
           "speech_rec_enabled, speech_rec_includes, speech_rec_specific_worktypes, flag1, flag2, flag3, flag4, "
           "flag5, string1, string2, date1)\r\nVALUES(" +
           n(id) + ", " + n(r.hosp_acct_id) + ", " + n(r.default_input_method) + ", " + n(r.speech_rec_enabled) + ", " +
           BitSetLiteral(r.speech_rec_includes_raw.data(), kReportSetWritten) + ", " +
           q(r.speech_rec_specific_worktypes) + ", " + n(r.default_context_id) + ", " + n(r.speech_rec_eval_mode) +
           ", " + n(r.adv_acoustics_support) + ", 0, 0, NULL, NULL, NULL)\r\n";
}

std::string addendumInserts(long id, const clsPhysicianRecord& r) {
    std::string out;
    auto line = [&](int nbr, const std::string& text) {
        if (!text.empty())
            out += "INSERT Physician_addendums_v2 (physician_id, hosp_acct_id, addendum_nbr, addendum) VALUES(" +
                   n(id) + ", " + n(r.hosp_acct_id) + ", " + n(nbr) + ", " + q(text) + ")\r\n";
    };
    for (size_t i = 0; i < kAddendumLines; ++i)
        line(static_cast<int>(i), r.addendum_lines[i]);
    for (size_t i = 0; i < kSwitchLines; ++i)
        line(kFirstSwitchAddendumNbr + static_cast<int>(i), r.addendum_switch_lines[i]);
    return out;
}

std::string weightingInserts(long id, const clsPhysicianRecord& r) {
    std::string out;
    for (size_t t = 0; t < kWeightTypes; ++t)
        if (r.weight_types[t] != -1)
            out += "INSERT Physician_weighting (physician_id, hosp_acct_id, report_type_nbr, weight_type, "
                   "weight_value) VALUES(" +
                   n(id) + ", " + n(r.hosp_acct_id) + ", " + n(static_cast<long>(t)) + ", " + n(r.weight_types[t]) +
                   ", " + platform::formatNumber(r.weight_values[t]) + ")\r\n";
    return out;
}

bool written(const clsPhysicianRecord& r) {
    return r.edit_status == EditNew || r.edit_status == EditChanged;
}

} // namespace

std::string PhysicianSaveBatch(const PhysicianSaveRequest& request, bool isNew) {
    const clsPhysicianRecords& phys = *request.physician;
    const long id = request.physician_id;
    const std::string ids = n(id);
    const clsPhysicianRecord* all = phys.Item("-1");
    const clsPhysicianRecord& head = all ? *all : phys.records().front();
    std::string sql;
    if (isNew) {
        sql += "INSERT INTO physician_profile (physician_id, first_name, last_name, initials, title_1, last_update, "
               "is_deleted, flag1, flag2, string1, string2, date1, partition_id, flag3)\r\nVALUES(" +
               ids + ", " + q(head.first_name) + ", " + q(head.last_name) + ", " + q(head.initials) + ", " +
               q(head.title_1) + ", GETDATE(), 0, 0, " + n(head.paxlet_user_id) + ", " + q(request.changedByUser) +
               ", NULL, NULL, " + n(head.Partition_ID) + ", " + n(head.is_hidden) + ")\r\n";
    } else {
        sql += "UPDATE Physician_profile\r\nSET first_name = " + q(head.first_name) +
               ",\r\n    last_name = " + q(head.last_name) + ",\r\n    initials = " + q(head.initials) +
               ",\r\n    title_1 = " + q(head.title_1) + ",\r\n    flag2 = " + n(head.paxlet_user_id) +
               ",\r\n    is_deleted = " + (request.deleted ? "1" : "0") +
               ",\r\n    string1 = " + q(request.changedByUser) +
               ",\r\n    last_update = GETDATE(),\r\n    flag3 = " + n(head.is_hidden) +
               "\r\nWHERE physician_id = " + ids + "\r\n";
    }
    std::string accounts;
    for (const auto& r : phys.records())
        if (written(r) || r.edit_status == EditRemoved)
            accounts += (accounts.empty() ? "" : ",") + n(r.hosp_acct_id);
    if (!accounts.empty()) {
        for (const char* table :
             {"Physician_weighting", "Physician_addendums_v2", "Physician_attributes", "Physician_attributes_extended"})
            sql += std::string("DELETE FROM ") + table + " WHERE physician_id = " + ids + " AND hosp_acct_id IN(" +
                   accounts + ")\r\n";
    }
    // External ids belong to the physician, not to an account: they are rewritten whole.
    sql += "DELETE FROM Physician_external_ids WHERE physician_id = " + ids + "\r\n";
    if (!accounts.empty())
        sql += "DELETE FROM Physician_membership WHERE physician_id = " + ids + " AND hosp_acct_id IN(" + accounts +
               ")\r\n";
    for (const auto& e : phys.externalIds)
        sql += "INSERT Physician_external_ids VALUES(" + ids + ", '" + ExternalSourceName(e.source_type) + "', " +
               q(e.source_physician_id) + ", " + n(e.source_type) + ", " + n(e.sort_order) + ")\r\n";
    for (const auto& r : phys.records()) {
        if (!written(r))
            continue;
        // A member of all accounts has the one -1 membership; any other physician one per account.
        if (r.IsAllAccountRec() == request.memberOfAllAccounts)
            sql += "INSERT Physician_membership VALUES(" + ids + ", " + n(r.hosp_acct_id) + ", 0, 0)\r\n";
        // An account record like the all-accounts one keeps following the -1 rows.
        if (all && !r.IsAllAccountRec() && r.EqualTo(*all) && r.AddendumsEqualTo(*all) && r.WeightingEqualTo(*all))
            continue;
        sql += attributesInsert(id, r) + extendedInsert(id, r) + addendumInserts(id, r) + weightingInserts(id, r);
    }
    for (const auto& r : phys.records())
        if (r.edit_status == EditRemoved)
            sql += "DELETE FROM Groups_physicians\r\nWHERE hosp_acct_id = " + n(r.hosp_acct_id) +
                   " AND\r\n      physician_id = " + ids + "\r\n";
    return sql;
}

long NewPhysicianId() {
    const long long id = DatabaseSession::instance().AllocateIdentifier(
        "SELECT physician_id = next_physician_id FROM Physician_identifier WITH (UPDLOCK)",
        "UPDATE Physician_identifier SET next_physician_id = next_physician_id + 1");
    return static_cast<long>(id);
}

bool SavePhysicianRecords(PhysicianSaveRequest& request) {
    if (!request.physician || request.physician->Count() == 0)
        return false;
    const bool isNew = request.physician_id == 0; // -1 is the default physician, edited like any other
    if (isNew) {
        request.physician_id = NewPhysicianId();
        if (request.physician_id < 0) {
            request.physician_id = 0;
            return false;
        }
    }
    auto& s = DatabaseSession::instance();
    s.SQLStatement = PhysicianSaveBatch(request, isNew);
    if (s.ExecSQLAllOrNothing() != 1) {
        if (isNew)
            request.physician_id = 0; // the id stays taken; the next OK asks for another
        return false;
    }
    const clsPhysicianRecord& head = request.physician->records().front();
    EventLog::LogEvent(EventLog::SystemLog, 2, 2, 20030, 0, 0, 0, 0, 0, -1, 0,
                       isNew ? "A new physician was entered." : "A physician record was edited.",
                       {"Name: " + head.first_name + " " + head.last_name});
    return true;
}

long SavePhysician(PhysicianSaveRequest request) {
    return SavePhysicianRecords(request) ? request.physician_id : -1;
}

} // namespace physicians
