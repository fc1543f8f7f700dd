#include "clsAccount.h"

#include "DatabaseSession.h"
#include "MessageService.h"
#include "Numbers.h"

namespace accounts {

using foundation::DatabaseSession;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

std::string quoted(const std::string& text) {
    return DatabaseSession::QuoteSQL(text) + "', ";
}

std::string commonAssignments(const clsAccount& a) {
    return "UPDATE Account_info SET \r\n"
           "hosp_acct_name =       '" +
           quoted(a.hosp_acct_name) + "\r\nhosp_acct_description= '" + quoted(a.hosp_acct_description) +
           "\r\ncontact =              '" + quoted(a.contact) + "\r\ntitle =                '" + quoted(a.title) +
           "\r\naddress_1 =            '" + quoted(a.address_1) + "\r\naddress_2=             '" + quoted(a.address_2) +
           "\r\ncity=                  '" + quoted(a.city) + "\r\nstate=                 '" + quoted(a.state) +
           "\r\nzip_code=              '" + quoted(a.zip_code) + "\r\nphone_nbr_1=           '" +
           quoted(a.phone_nbr_1) + "\r\nphone_nbr_2=           '" + quoted(a.phone_nbr_2) +
           "\r\nemail_address=         '" + quoted(a.email_address) +
           "\r\nemail_type =            " + std::to_string(a.email_type) +
           ", \r\namount_per_line=        " + FormatAmountPerLine(a.amount_per_line) +
           ", \r\npartition_id=" + std::to_string(a.partition_id) + ", \r\n";
}

Use useOf(const std::string& sql) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = sql;
    if (s.ExecSQL() != 1)
        return Use::Failed;
    Use use = Use::Free;
    while (s.FetchRow() == 1) {
        const Use row = s.GetColumnText(2, 1) == "1" ? Use::Deleted : Use::Active;
        if (use != Use::Active)
            use = row; // an active holder outweighs deleted ones
    }
    return use;
}

} // namespace

std::string AccountListQuery(long userPartition) {
    const std::string p = std::to_string(userPartition);
    return "SELECT hosp_acct_id, hosp_acct_name, is_deleted, AI.partition_id\r\n"
           "FROM Account_info AI LEFT JOIN System_partitions SP ON (AI.partition_id = SP.partition_id)\r\n"
           "WHERE hosp_acct_id > -1 AND AI.partition_id = " +
           p + "\r\nOR SP.lineage LIKE '%/" + p + "/%'";
}

bool LoadAccountList(long userPartition, std::vector<clsAccountListEntry>& list) {
    list.clear();
    auto& s = DatabaseSession::instance();
    s.SQLStatement = AccountListQuery(userPartition);
    if (s.ExecSQL() != 1) {
        MsgBox("Error Encounter retrieving the outputs.", MsgButtons::OK, MsgIcon::Exclamation, "Account Manager");
        return false;
    }
    while (s.FetchRow() == 1) {
        clsAccountListEntry e;
        e.hosp_acct_id = s.GetColumnLong(1);
        e.hosp_acct_name = s.GetColumnText(2, 1);
        e.is_deleted = s.GetColumnText(3, 1) == "1";
        e.partition_id = s.GetColumnLong(4);
        // The lineage test also matches the template row's partition; the template is not an account.
        if (e.hosp_acct_id > -1)
            list.push_back(std::move(e));
    }
    return true;
}

std::optional<clsAccount> LoadAccount(long id) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT hosp_acct_id, hosp_acct_name, hosp_acct_description, contact, title, address_1, "
                     "address_2, city, state, zip_code, phone_nbr_1, phone_nbr_2, fax_nbr, email_address, email_type, "
                     "amount_per_line, partition_id, hospital_id_filter, upload_filter FROM Account_info WHERE "
                     "hosp_acct_id = " +
                     std::to_string(id);
    if (s.ExecSQL() != 1 || s.FetchRow() != 1) {
        MsgBox("Error encountered retrieving the account data.", MsgButtons::OK, MsgIcon::Exclamation,
               "Account Manager");
        return std::nullopt;
    }
    clsAccount a;
    auto text = [&s](int c) { return s.GetColumnText(c, 1); };
    a.hosp_acct_id = s.GetColumnLong(1);
    int column = 2; // the form's text fields, in the statement's order
    for (auto field : clsAccount::kFormText)
        a.*field = text(column++);
    a.fax_nbr = text(13);
    a.email_address = text(14);
    a.email_type = static_cast<int>(s.GetColumnLong(15));
    a.amount_per_line = platform::parseNumber(text(16)).value_or(0);
    a.partition_id = s.GetColumnLong(17);
    a.hospital_id_filter = text(18);
    a.upload_filter = text(19);
    s.FlushResults();
    return a;
}

std::string NewAccountUpdate(const clsAccount& a) {
    return commonAssignments(a) + "is_deleted = 0\r\nWHERE hosp_acct_id = " + std::to_string(a.hosp_acct_id);
}

std::string ChangedAccountUpdate(const clsAccount& a, bool partitionChanged) {
    std::string sql = commonAssignments(a) + "hospital_id_filter = '" + quoted(a.hospital_id_filter) +
                      "\r\nupload_filter = '" + DatabaseSession::QuoteSQL(a.upload_filter) +
                      "'\r\nWHERE hosp_acct_id = " + std::to_string(a.hosp_acct_id);
    if (partitionChanged)
        sql += "\r\nEXEC update_sr_heading_configs " + std::to_string(a.hosp_acct_id);
    return sql;
}

Use AccountNumberUse(long id) {
    return useOf("SELECT hosp_acct_id, is_deleted FROM Account_info WHERE hosp_acct_id = " + std::to_string(id));
}

Use AccountNameUse(const std::string& name) {
    return useOf("SELECT hosp_acct_name,is_deleted from Account_info where hosp_acct_name = '" +
                 DatabaseSession::QuoteSQL(name) + "'");
}

std::string FormatAmountPerLine(double value) {
    return platform::formatFixed(value, 4);
}

std::optional<double> ParseAmountPerLine(const std::string& text) {
    size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos)
        return std::nullopt;
    const std::string t = text.substr(b, text.find_last_not_of(' ') - b + 1);
    bool digits = false, point = false;
    for (char c : t) {
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    return platform::parseNumber(t);
}

std::optional<long> ParseAccountNumber(const std::string& text) {
    const auto number = platform::parseDigits(text);
    if (!number || *number <= 0 || *number > kMaxAccountNumber)
        return std::nullopt;
    return static_cast<long>(*number);
}

std::string UploadFilterText(const std::string& text) {
    std::string out;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == ',')
            out += c;
    return out;
}

std::string PartitionChangeWarning() {
    const char* const lines[] = {
        "When an Account's Partition is changed, the following items may",
        "need to be configured.",
        "\t-->User and Group Account Privileges:",
        "\tCurrent user or group privileges for this account will",
        "\tbe cleared. An Administrator for the destination",
        "\tpartition will need to grant access to this account.",
        "\t-->Speech Recognition Headings:",
        "\tSpeech recognition heading formats currently defined",
        "\tfor this account will be removed. New headings and",
        "\theading formats may need to be assigned to this",
        "\taccount in the Speech Recognition Headings Editor.",
        "\t-->Physicians:",
        "\tIt may be necessary to change a physician's assigned",
        "\tpartition to this newly selected partition in the",
        "\tPhysician Profile Editor.",
        "\t-->System Printers:",
        "\tPrinters used for report outputs and physician",
        "\toutputs need to be assigned to the same partition",
        "\tas the accounts that use them.  After changing an",
        "\taccount's partition associated system printers",
        "\tshould also be moved.",
        "Are you sure you want to proceed?",
    };
    std::string text;
    for (const char* line : lines)
        text += (text.empty() ? "" : "\n") + std::string(line);
    return text;
}

} // namespace accounts
