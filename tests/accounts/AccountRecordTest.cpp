#include "DecimalCommaLocale.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsAccount.h"
#include "clsBatchConfig.h"
#include <algorithm>

using namespace accounts;

namespace {

TEST(AccountText, AmountPerLineAndUploadFilter) {
    struct Case {
        const char* text;
        std::optional<double> value;
    } const cases[] = {
        {"0.1150", 0.115},     {" 0.1 ", 0.1},          {"2", 2.0},
        {".5", 0.5},           {"", std::nullopt},      {"   ", std::nullopt},
        {"abc", std::nullopt}, {"0.1.2", std::nullopt}, {"-0.1", std::nullopt},
        {"1e3", std::nullopt}, {".", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseAmountPerLine(c.text), c.value) << "'" << c.text << "'";
    EXPECT_EQ(UploadFilterText("1,2,8"), "1,2,8");
    EXPECT_EQ(UploadFilterText("1, 2;x8\t0"), "1,280");
    EXPECT_EQ(UploadFilterText("abc"), "");
}

TEST(AccountText, AccountNumbersAndAmountsUnderADecimalCommaLocale) {
    kdtest::DecimalCommaLocale german;
    KD_REQUIRE_DECIMAL_COMMA(german);
    EXPECT_EQ(FormatAmountPerLine(0.1), "0.1000");
    EXPECT_EQ(ParseAmountPerLine("0.25"), 0.25);
    EXPECT_EQ(ParseAmountPerLine("0,25"), std::nullopt);
    const std::pair<const char*, std::optional<long>> numbers[] = {
        {"1", 1},
        {"42", 42},
        {"999999999", 999999999},
        {"0042", 42},
        {"0", std::nullopt},
        {"000", std::nullopt},
        {"1000000000", std::nullopt},
        {"-1", std::nullopt},
        {"", std::nullopt},
        {"\xEF\xBC\x97\xEF\xBC\x97", std::nullopt}, // fullwidth 77
        {"4 2", std::nullopt},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ParseAccountNumber(text), value) << "'" << text << "'";
}

TEST(AccountText, PartitionChangeWarningLayout) {
    const std::string w = PartitionChangeWarning();
    EXPECT_EQ(w.substr(0, 87),
              "When an Account's Partition is changed, the following items may\nneed to be configured.\n");
    EXPECT_NE(w.find("\n\t-->User and Group Account Privileges:\n\tCurrent user or group privileges for this account "
                     "will\n"),
              std::string::npos);
    EXPECT_NE(w.find("\n\t-->System Printers:\n"), std::string::npos);
    EXPECT_NE(w.find("\tshould also be moved.\nAre you sure you want to proceed?"), std::string::npos);
    EXPECT_EQ(std::count(w.begin(), w.end(), '\n'), 21);
}

TEST(AccountText, UpdatesQuoteTextAndCarryTheAmountWithFourDecimals) {
    clsAccount a;
    a.hosp_acct_id = 42;
    a.hosp_acct_name = "O'Neil's Clinic";
    a.amount_per_line = 0.1;
    a.partition_id = 3;
    a.upload_filter = "1,2";
    const std::string fresh = NewAccountUpdate(a);
    EXPECT_NE(fresh.find("hosp_acct_name =       'O''Neil''s Clinic', "), std::string::npos);
    EXPECT_NE(fresh.find("amount_per_line=        0.1000, "), std::string::npos);
    EXPECT_NE(fresh.find("is_deleted = 0\r\nWHERE hosp_acct_id = 42"), std::string::npos);
    EXPECT_EQ(fresh.find("upload_filter"), std::string::npos); // the filters are set on later saves
    const std::string changed = ChangedAccountUpdate(a, true);
    EXPECT_NE(changed.find("upload_filter = '1,2'\r\nWHERE hosp_acct_id = 42\r\nEXEC update_sr_heading_configs 42"),
              std::string::npos);
    EXPECT_EQ(ChangedAccountUpdate(a, false).find("update_sr_heading_configs"), std::string::npos);
}

class AccountRecords : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 0, '/0/1/', NULL)\n"
             "INSERT System_partitions VALUES (2, 0, 'South', 0, '/0/2/', NULL)\n"
             "INSERT System_partitions VALUES (3, 1, 'North General', 0, '/0/1/3/', NULL)\n"
             "INSERT System_partitions VALUES (11, 0, 'Eleven', 0, '/0/11/', NULL)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (10, 'North Office', 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (30, 'North General', 3)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (31, 'Old "
             "Wing', 3, 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (20, 'South', 2)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (110, 'Eleven', 11)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
    }
    void TearDown() override { foundation::DatabaseSession::instance().DisconnectFromSQL(); }

    static std::vector<long> ids(const std::vector<clsAccountListEntry>& list) {
        std::vector<long> out;
        for (const auto& e : list)
            out.push_back(e.hosp_acct_id);
        std::sort(out.begin(), out.end());
        return out;
    }
    platform::MessageRecorder recorder;
};

TEST_F(AccountRecords, ListHoldsTheUsersPartitionAndThoseBelowIt) {
    std::vector<clsAccountListEntry> list;
    ASSERT_TRUE(LoadAccountList(1, list));
    EXPECT_EQ(ids(list), (std::vector<long>{10, 30, 31})); // not the sibling 2, not 11 (/1/ is not /11/)
    ASSERT_TRUE(LoadAccountList(3, list));
    EXPECT_EQ(ids(list), (std::vector<long>{30, 31}));
    ASSERT_TRUE(LoadAccountList(0, list));
    EXPECT_EQ(ids(list), (std::vector<long>{10, 20, 30, 31, 110})); // never the -1 template
    EXPECT_TRUE(recorder.shown.empty());
    exec("DROP TABLE Account_info");
    EXPECT_FALSE(LoadAccountList(1, list));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error Encounter retrieving the outputs.");
}

TEST_F(AccountRecords, NumberAndNameUse) {
    EXPECT_EQ(AccountNumberUse(30), Use::Active);
    EXPECT_EQ(AccountNumberUse(31), Use::Deleted);
    EXPECT_EQ(AccountNumberUse(77), Use::Free);
    EXPECT_EQ(AccountNameUse("north general"), Use::Active); // names compare without case, as the server does
    EXPECT_EQ(AccountNameUse("Old Wing"), Use::Deleted);
    EXPECT_EQ(AccountNameUse("O'Brien"), Use::Free);
    exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (32, 'Old Wing', 3)");
    EXPECT_EQ(AccountNameUse("Old Wing"), Use::Active); // an active holder counts, whatever the row order
}

TEST_F(AccountRecords, RoundTripThroughTheUpdate) {
    auto a = LoadAccount(30);
    ASSERT_TRUE(a.has_value());
    a->hosp_acct_description = std::string(100, 'd');
    a->contact = "Ann O'Hara";
    a->amount_per_line = 0.1234;
    a->hospital_id_filter = "NGH,NGR";
    a->upload_filter = "0";
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement = ChangedAccountUpdate(*a, false);
    ASSERT_EQ(s.ExecSQL(), 1);
    s.FlushResults();
    const auto back = LoadAccount(30);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->hosp_acct_description, std::string(100, 'd'));
    EXPECT_EQ(back->contact, "Ann O'Hara");
    EXPECT_NEAR(back->amount_per_line, 0.1234, 1e-6);
    EXPECT_EQ(back->hospital_id_filter, "NGH,NGR");
    EXPECT_EQ(back->upload_filter, "0");
    EXPECT_FALSE(LoadAccount(999).has_value());
    EXPECT_EQ(recorder.shown.back().text, "Error encountered retrieving the account data.");
}

TEST_F(AccountRecords, BatchFieldsOfTheAskedLocationsInNumberOrder) {
    exec("INSERT Batch_fields VALUES (3, 'patient_last', 'Patient Last Name', 2, 1, NULL, 0, 1, 30)\n"
         "INSERT Batch_fields VALUES (1, 'dictation_nbr', 'Dictation Number', 1, 0, NULL, 0, 0, 0)\n"
         "INSERT Batch_fields VALUES (2, 'report_name', 'Report Type', 3, 0, 'UPPER', 0, 0, 0)");
    auto& history = foundation::DatabaseSession::instance().history;
    const auto fields = LoadBatchFields({1, 2});
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].batch_field_name, "Dictation Number");
    EXPECT_EQ(fields[1].sql_field_name, "patient_last");
    EXPECT_EQ(fields[1].end_character, 30);
    EXPECT_NE(history.back().find("WHERE field_location = 1 OR       field_location = 2 ORDER BY batch_field_nbr"),
              std::string::npos);
    EXPECT_TRUE(LoadBatchFields({}).empty());
}

} // namespace
