#pragma once

#include <optional>
#include <string>
#include <vector>

namespace accounts {

// One hospital account as the account manager edits it (Account_info).
struct clsAccount {
    long hosp_acct_id = 0;
    std::string hosp_acct_name, hosp_acct_description, contact, title, address_1, address_2, city, state, zip_code,
        phone_nbr_1, phone_nbr_2, fax_nbr, email_address;
    int email_type = 0; // incentive method: 0 character line counts, 1 physical line counts
    double amount_per_line = 0.1;
    long partition_id = -1;
    std::string hospital_id_filter, upload_filter;
    bool is_deleted = false;

    // The text fields of the form after the account number, in form order (Text1 .. Text11).
    static constexpr std::string clsAccount::*kFormText[] = {
        &clsAccount::hosp_acct_name, &clsAccount::hosp_acct_description,
        &clsAccount::contact,        &clsAccount::title,
        &clsAccount::address_1,      &clsAccount::address_2,
        &clsAccount::city,           &clsAccount::state,
        &clsAccount::zip_code,       &clsAccount::phone_nbr_1,
        &clsAccount::phone_nbr_2,
    };
};

struct clsAccountListEntry {
    long hosp_acct_id = 0;
    std::string hosp_acct_name;
    bool is_deleted = false;
    long partition_id = 0;
};

inline constexpr const char* kDefaultAmountPerLine = "0.1000";

// The accounts of the user's partition and of every partition below it.
std::string AccountListQuery(long userPartition);
// false after "Error Encounter retrieving the outputs."
bool LoadAccountList(long userPartition, std::vector<clsAccountListEntry>& list);
// nullopt after "Error encountered retrieving the account data." (also for an unknown number)
std::optional<clsAccount> LoadAccount(long id);

// The UPDATE that fills a new account after account_check made its row.
std::string NewAccountUpdate(const clsAccount& a);
// The UPDATE of a changed account; a partition change also refreshes its speech-recognition headings.
std::string ChangedAccountUpdate(const clsAccount& a, bool partitionChanged);

enum class Use { Free, Active, Deleted, Failed };
// Whether an account number, or a name, is taken, and by an active or a deleted account.
Use AccountNumberUse(long id);
Use AccountNameUse(const std::string& name);

// The billing amount as the form shows it and the UPDATE writes it: four decimals.
std::string FormatAmountPerLine(double value);
// The billing amount as typed: digits with at most one decimal point, or nullopt.
std::optional<double> ParseAmountPerLine(const std::string& text);
// An account number as typed: ASCII digits giving a real account (1 .. 999999999), or nullopt.
// 0 is not an account and -1 is the template row, so neither can be created or deleted here.
inline constexpr long kMaxAccountNumber = 999999999;
std::optional<long> ParseAccountNumber(const std::string& text);
// What the upload-type filter keeps of typed or pasted text: digits and commas.
std::string UploadFilterText(const std::string& text);

std::string PartitionChangeWarning();

} // namespace accounts
