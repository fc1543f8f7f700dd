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

// The active batches of every real account, by account and then name; empty when the read fails
// (the session has shown why).
std::vector<clsBatchConfig> LoadActiveBatches();

} // namespace accounts
