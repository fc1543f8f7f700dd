#include "DatabaseSession.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "ProfileReportData.h"
#include "SessionHelper.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

using namespace physicians;

namespace {

std::string userOdbcIni() {
    const char* path = std::getenv("ODBCINI");
    std::ifstream in(path ? path : "");
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool dataSourceListed() {
    return userOdbcIni().find(std::string("[") + kProfileReportDataSource + "]") != std::string::npos;
}

// Accounts North (1) and South (2), South deleted later in one case. Physicians:
//   10 Müller, Zoë (2-byte letters): all accounts, own row for North with dictation 1001N
//   20 Nguyễn, Văn (3-byte letters): North and South
//   30 O'Brien, "Kit": South only
//   40 Gone: North, deleted
class ProfileReport : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'East', 0, '/0/1/', NULL)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North', 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (2, 'South', 1)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, title_1, partition_id) VALUES "
             "(10, 'Zoë', 'Müller', 'MD', 1)\n"
             "INSERT Physician_membership VALUES (10, -1, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id, mis_nbr_1, city) VALUES "
             "(10, -1, '1001', 'M1', 'Malmö')\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id, mis_nbr_1, city) VALUES "
             "(10, 1, '1001N', 'M1', 'Lund')\n"
             "INSERT Physician_addendums_v2 VALUES (10, -1, 1, 'For all accounts.')\n"
             "INSERT Physician_addendums_v2 VALUES (10, 1, 1, 'For North only.')\n"
             "INSERT Physician_weighting VALUES (10, -1, 4, 0, 110)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(20, 'Văn', 'Nguyễn', 1)\n"
             "INSERT Physician_membership VALUES (20, 1, 0, 0)\n"
             "INSERT Physician_membership VALUES (20, 2, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id) VALUES (20, -1, '2002')\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(30, '\"Kit\"', 'O''Brien', 1)\n"
             "INSERT Physician_membership VALUES (30, 2, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id) VALUES (30, -1, '3003')\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id, is_deleted) VALUES "
             "(40, 'Old', 'Gone', 1, 1)\n"
             "INSERT Physician_membership VALUES (40, 1, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id) VALUES (40, -1, '4004')");
        kdtest::connectSession(odbc.folder(), "KALDRA");
    }
    void TearDown() override { foundation::DatabaseSession::instance().DisconnectFromSQL(); }

    static ProfileReportPhysician named(const char* last, const char* first, const char* title, const char* dictation,
                                        const char* mis1 = "") {
        ProfileReportPhysician p;
        p.last_name = last;
        p.first_name = first;
        p.title_1 = title;
        p.dictation_id = dictation;
        p.mis_nbr_1 = mis1;
        return p;
    }
    // The ids the report holds, in its order; "failed" when nothing was rendered.
    std::string run(const ProfileReportSelection& selection) {
        std::string ids;
        if (!GenerateProfileReport(selection, [&](const ProfileReportData& data) {
                last = data;
                for (const auto& e : data.physicians)
                    ids += std::to_string(e.physician_id) + " ";
            }))
            return "failed";
        return ids;
    }

    platform::MessageRecorder recorder;
    ProfileReportData last;
};

TEST_F(ProfileReport, TheSelectionPicksThePhysiciansOfTheAccountByTheValuesTheListShows) {
    struct Case {
        const char* name;
        long account;
        std::vector<ProfileReportPhysician> physicians;
        const char* ids;
    };
    const Case cases[] = {
        // Members of all accounts are in every account; deleted physicians in none.
        {"whole North", 1, {}, "10 20 "},
        {"whole South", 2, {}, "10 20 30 "},
        // The account's own attribute row names the physician there, not the all-accounts row.
        {"by North's row", 1, {named("Müller", "Zoë", "MD", "1001N", "M1")}, "10 "},
        {"by the -1 row in North", 1, {named("Müller", "Zoë", "MD", "1001", "M1")}, ""},
        {"by the -1 row in South", 2, {named("Müller", "Zoë", "MD", "1001", "M1")}, "10 "},
        {"two of them", 2, {named("O'Brien", "\"Kit\"", "", "3003"), named("Nguyễn", "Văn", "", "2002")}, "20 30 "},
        {"not in the account", 1, {named("O'Brien", "\"Kit\"", "", "3003")}, ""},
        {"one value off", 2, {named("Nguyễn", "Văn", "", "2003")}, ""},
        {"deleted", 1, {named("Gone", "Old", "", "4004")}, ""},
    };
    for (const auto& c : cases) {
        ProfileReportSelection s;
        s.account = c.account;
        s.accountName = c.account == 1 ? "North" : "South";
        s.physicians = c.physicians;
        EXPECT_EQ(run(s), c.ids) << c.name;
    }
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
}

TEST_F(ProfileReport, TheTemplateFormulasFollowTheChosenForm) {
    ProfileReportSelection s;
    s.account = 2;
    s.accountName = "South \"B\"";
    s.physicians = {named("O'Brien", "\"Kit\"", "", "3003")};
    EXPECT_EQ(s.RecordSelection(),
              "{Account_info.hosp_acct_id} = 2 AND (({Physician_profile.last_name} = \"O'Brien\" AND "
              "{Physician_profile.first_name} = \"\"\"Kit\"\"\" AND {Physician_profile.title_1} = \"\" AND "
              "{Physician_attributes.dictation_id} = \"3003\" AND {Physician_attributes.mis_nbr_1} = \"\" AND "
              "{Physician_attributes.mis_nbr_2} = \"\" AND {Physician_attributes.fax_nbr_1} = \"\" AND "
              "{Physician_attributes.group_affiliation} = \"\"))");
    s.options.form = ProfileReportOptions::Form::Extended;
    s.options.weighting = false;
    EXPECT_EQ(s.Formulas(), (std::vector<std::string>{"frm_group_name= \"South \"\"B\"\"\"",
                                                      "frm_suppress_weighting= True", "frm_suppress_addendums= False",
                                                      "frm_suppress_output= False", "frm_suppress_demo= False",
                                                      "frm_summary_report= False", "frm_report_type= 'Full Report'"}));
    ASSERT_EQ(run(s), "30 ");
    EXPECT_EQ(last.formula("frm_group_name"), "South \"B\"");
    EXPECT_EQ(last.formula("frm_report_type"), "Full Report");
    s.options.form = ProfileReportOptions::Form::Summary;
    EXPECT_EQ(s.Formulas()[4], "frm_suppress_demo= True");
    EXPECT_EQ(s.Formulas()[6], "frm_report_type= 'Summary Report'");

    // An extended report needs some content; a summary has none to choose.
    ProfileReportOptions o;
    o.demographics = o.output = o.addendums = o.weighting = false;
    EXPECT_EQ(o.Refusal(), "At least one of the items must be checked before generating an extended report.");
    o.addendums = true;
    EXPECT_EQ(o.Refusal(), "");
    o.addendums = false;
    o.form = ProfileReportOptions::Form::Summary;
    EXPECT_EQ(o.Refusal(), "");
}

TEST_F(ProfileReport, TheAccountsAddendumsAndWeightingAreTheAccountsOwnOrTheDefaults) {
    ProfileReportSelection s;
    s.account = 1;
    s.accountName = "North";
    ASSERT_EQ(run(s), "10 20 ");
    const auto& a = last.physicians[0];
    EXPECT_EQ(a.field("last_name"), "Müller");
    EXPECT_EQ(a.field("city"), "Lund");
    EXPECT_EQ(a.field("partition_name"), "East");
    EXPECT_EQ(a.accounts, std::vector<std::string>{"All Accounts"});
    EXPECT_EQ(a.addendums, (std::vector<std::pair<int, std::string>>{{1, "For North only."}}));
    ASSERT_EQ(a.weighting.size(), 1u);
    EXPECT_EQ(a.weighting[0].reportType, 4);
    EXPECT_EQ(a.weighting[0].value, "110");
    EXPECT_EQ(last.physicians[1].accounts, (std::vector<std::string>{"North", "South"}));

    // A deleted account is no longer one of the physician's accounts.
    exec("UPDATE Account_info SET is_deleted = 1 WHERE hosp_acct_id = 2");
    s.account = 1;
    ASSERT_EQ(run(s), "10 20 ");
    EXPECT_EQ(last.physicians[1].accounts, std::vector<std::string>{"North"});
}

TEST_F(ProfileReport, TheDataSourceExistsOnlyWhileTheReportRuns) {
    ASSERT_FALSE(dataSourceListed());
    ProfileReportSelection s;
    s.account = 1;
    s.accountName = "North";
    std::string during;
    ASSERT_TRUE(GenerateProfileReport(s, [&](const ProfileReportData&) { during = userOdbcIni(); }));
    EXPECT_NE(during.find(std::string("[") + kProfileReportDataSource + "]"), std::string::npos) << during;
    EXPECT_NE(during.find("Database=KALDRA"), std::string::npos) << during;
    EXPECT_FALSE(dataSourceListed());

    // Rendering fails midway: the data source goes all the same.
    EXPECT_THROW(GenerateProfileReport(s, [](const ProfileReportData&) { throw std::runtime_error("printer gone"); }),
                 std::runtime_error);
    EXPECT_FALSE(dataSourceListed());

    // A statement fails after the first ones were read: the session shows it, nothing is rendered.
    exec("DROP TABLE Physician_weighting");
    bool rendered = false;
    EXPECT_FALSE(GenerateProfileReport(s, [&](const ProfileReportData&) { rendered = true; }));
    EXPECT_FALSE(rendered);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_NE(recorder.shown.back().text.find("Physician_weighting"), std::string::npos) << recorder.shown.back().text;
    EXPECT_FALSE(dataSourceListed());
}

// A driver without a setup library cannot take the data source: the report says so and stops.
TEST_F(ProfileReport, ADriverThatCannotAddTheDataSourceStopsTheReportWithItsReason) {
    const char* ini = std::getenv("ODBCINI");
    ASSERT_NE(ini, nullptr);
    std::ofstream(ini, std::ios::app) << "[NO_SETUP_SITE]\nDriver=No Such Driver\nServer=x\nDatabase=KALDRA\n";
    auto& session = foundation::DatabaseSession::instance();
    session.UseDriverConnect = false;
    session.DataSourceName = "NO_SETUP_SITE";
    ProfileReportSelection s;
    s.account = 1;
    bool rendered = false;
    EXPECT_FALSE(GenerateProfileReport(s, [&](const ProfileReportData&) { rendered = true; }));
    EXPECT_FALSE(rendered);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text.rfind("The data source KDADMIN_PPTEMP could not be created.  ", 0), 0u)
        << recorder.shown[0].text;
    EXPECT_GT(recorder.shown[0].text.size(), 56u); // the driver manager's reason follows
    EXPECT_FALSE(dataSourceListed());
}

} // namespace
