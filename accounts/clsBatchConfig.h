#pragma once

#include <string>
#include <vector>

namespace accounts {

// One active batch of an account (Batch_cfg), as the screens that offer batches read it.
struct clsBatchConfig {
    long hosp_acct_id = 0;
    std::string batch_name;
    long batch_nbr = 0;
    int batch_type = 0;
    long last_batch_id = 0;
    int last_status = 0;
    long last_reports = 0;
    long last_reports_done = 0;
    std::string last_user;
    std::string last_run_date; // MM/DD/YYYY
    std::string last_run_time; // hh:mm:ss
};

// One field a batch can print or sort by (Batch_fields).
struct clsBatchField {
    long batch_field_nbr = 0;
    std::string sql_field_name, batch_field_name;
    int field_location = 0;
    int field_type = 0;
    std::string custom_operation;
    long field_nbr_to_use = 0;
    int start_character = 0;
    int end_character = 0;
};

// The field definitions of the given locations, by number; empty when the read fails.
std::vector<clsBatchField> LoadBatchFields(const std::vector<int>& locations);

// The active batches of every real account, by account and then name; empty when the read fails
// (the session has shown why).
std::vector<clsBatchConfig> LoadActiveBatches();

} // namespace accounts
