#include "clsBatchConfig.h"

#include "DatabaseSession.h"

namespace accounts {

std::vector<clsBatchConfig> LoadActiveBatches() {
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement =
        "SELECT hosp_acct_id, batch_name, batch_nbr, batch_type, last_batch_id, last_status, last_reports, "
        "last_reports_done, last_user = (SELECT user_name FROM System_user_bindery WHERE BC.last_user_id "
        "= user_id), dt = CONVERT(char(12), last_run_datetime, 101), hr = CONVERT(char(12), "
        "last_run_datetime, 8) FROM Batch_cfg BC WHERE hosp_acct_id >= 0 AND is_deleted = 0 AND flag1 = "
        "1 ORDER BY hosp_acct_id, batch_name";
    std::vector<clsBatchConfig> out;
    if (s.ExecSQL() != 1)
        return out;
    while (s.FetchRow() == 1) {
        clsBatchConfig b;
        b.hosp_acct_id = s.GetColumnLong(1);
        b.batch_name = s.GetColumnText(2, 1);
        b.batch_nbr = s.GetColumnLong(3);
        b.batch_type = static_cast<int>(s.GetColumnLong(4));
        b.last_batch_id = s.GetColumnLong(5);
        b.last_status = static_cast<int>(s.GetColumnLong(6));
        b.last_reports = s.GetColumnLong(7);
        b.last_reports_done = s.GetColumnLong(8);
        b.last_user = s.GetColumnText(9, 1);
        b.last_run_date = s.GetColumnText(10, 1);
        b.last_run_time = s.GetColumnText(11, 1);
        out.push_back(std::move(b));
    }
    return out;
}

std::vector<clsBatchField> LoadBatchFields(const std::vector<int>& locations) {
    std::vector<clsBatchField> out;
    if (locations.empty())
        return out;
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement = "SELECT batch_field_nbr, sql_field_name, batch_field_name, field_location, field_type, "
                     "custom_operation, field_nbr_to_use, start_character, end_character FROM Batch_fields WHERE "
                     "field_location = " +
                     std::to_string(locations.front());
    for (size_t i = 1; i < locations.size(); ++i)
        s.SQLStatement += " OR       field_location = " + std::to_string(locations[i]);
    s.SQLStatement += " ORDER BY batch_field_nbr";
    if (s.ExecSQL() != 1)
        return out;
    while (s.FetchRow() == 1) {
        clsBatchField f;
        f.batch_field_nbr = s.GetColumnLong(1);
        f.sql_field_name = s.GetColumnText(2, 1);
        f.batch_field_name = s.GetColumnText(3, 1);
        f.field_location = static_cast<int>(s.GetColumnLong(4));
        f.field_type = static_cast<int>(s.GetColumnLong(5));
        f.custom_operation = s.GetColumnText(6, 1);
        f.field_nbr_to_use = s.GetColumnLong(7);
        f.start_character = static_cast<int>(s.GetColumnLong(8));
        f.end_character = static_cast<int>(s.GetColumnLong(9));
        out.push_back(std::move(f));
    }
    return out;
}

} // namespace accounts
