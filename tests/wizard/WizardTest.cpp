// The configuration wizard: which set-up steps are done, read in one batch, and what each step opens.

#include "CupsServer.h"
#include "DatabaseSession.h"
#include "Gen_Wizard.h"
#include "MessageService.h"
#include "NewSiteFixture.h"
#include "PasswordCipher.h"
#include "SiteKey.h"
#include "WizardSteps.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <filesystem>

using namespace wizard;
using foundation::DatabaseSession;
using platform::MsgAnswer;

namespace {

// The site of a new installation: its built-in rows never mark a step.
class WizardSite : public kdtest::NewSiteTest {
protected:
    platform::MessageRecorder recorder;
};

// The site is set up with its password key file, under which the built-in users' passwords are
// stored, and holds no row beyond the built-in ones.
TEST_F(WizardSite, TheNewInstallationHasItsKeyFileAndOnlyBuiltInUsers) {
    const auto key = suite::SiteKey::Load(suite::SiteKey::PathUnder(site));
    ASSERT_TRUE(key.ok()) << key.message;
    EXPECT_EQ(std::filesystem::status(key.path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(suite::PasswordCipher::decryptWith(
                  key.key, scalar("SELECT password FROM System_user_bindery WHERE user_name = 'ADMINISTRATOR'")),
              "demo");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_id NOT IN (-1, 0, 1, 2)"), "0");
    EXPECT_EQ(scalar("SELECT key_value FROM System_user_cfg WHERE user_id = 1 AND key_name = 'SHOWWIZARD'"), "YES");
    EXPECT_TRUE(std::filesystem::is_regular_file(site + "/KALDRA/INSTALL/FORMATS/K2STANDARD_DB.MDF"));
}

TEST_F(WizardSite, EachKindOfRowMarksExactlyItsStep) {
    const auto none = ReadStepMarks();
    ASSERT_TRUE(none);
    EXPECT_EQ(*none, (StepMarks{false, false, false, false}));
    const struct {
        const char* name;
        const char* insert;
        StepMarks marks;
    } cases[] = {
        {"the unknown physician (0)",
         "INSERT Physician_profile (physician_id, first_name, last_name, is_deleted, partition_id) "
         "VALUES (0, '', 'Unknown', 0, 0)",
         {false, false, false, false}},
        {"an account",
         "INSERT Account_info (hosp_acct_id, hosp_acct_name, is_deleted) VALUES (0, 'Main', 0)",
         {true, false, false, false}},
        {"a user", "INSERT System_user_bindery (user_id, user_name) VALUES (3, 'FIRST')", {false, true, false, false}},
        {"a printer",
         "INSERT System_printers (printer_id, description) VALUES (1, 'Ward printer')",
         {false, false, true, false}},
        {"a physician",
         "INSERT Physician_profile (physician_id, first_name, last_name, is_deleted, partition_id) "
         "VALUES (1, 'Ann', 'Lee', 0, 0)",
         {false, false, false, true}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(exec(c.insert).rc(), SQL_SUCCESS) << c.name;
        const auto marks = ReadStepMarks();
        ASSERT_TRUE(marks) << c.name;
        EXPECT_EQ(*marks, c.marks) << c.name;
        const std::string table = std::string(c.insert).substr(7, std::string(c.insert).find(' ', 7) - 7);
        ASSERT_EQ(exec("DELETE FROM " + table + " WHERE " +
                       (table == "Account_info"          ? "hosp_acct_id = 0"
                        : table == "System_user_bindery" ? "user_id = 3"
                        : table == "System_printers"     ? "printer_id = 1"
                                                         : "physician_id = 1"))
                      .rc(),
                  SQL_SUCCESS);
    }
    // The batch as sent: the reads are stopped at their first row.
    EXPECT_EQ(StepCompletionBatch(), "SET ROWCOUNT 1\r\nSELECT * FROM Account_info WHERE hosp_acct_id > -1\r\n"
                                     "SELECT * FROM System_user_bindery WHERE user_id > 2\r\n"
                                     "SELECT * FROM System_printers\r\n"
                                     "SELECT * FROM Physician_profile WHERE physician_id > 0\r\nSET ROWCOUNT 0");
}

// A read that fails part-way (here the printers' table is missing) gives no marks at all rather
// than marks that stop at the failure.
TEST_F(WizardSite, AFailedReadPartWayGivesNoMarksAndSaysSo) {
    ASSERT_EQ(
        exec("INSERT System_user_bindery (user_id, user_name) VALUES (3, 'FIRST')\nDROP TABLE System_printers").rc(),
        SQL_SUCCESS);
    EXPECT_FALSE(ReadStepMarks());
    EXPECT_FALSE(recorder.shown.empty());
}

TEST(WizardVersions, ComparedNumberByNumber) {
    const struct {
        const char* version;
        bool above;
    } cases[] = {{"4.0.0", false}, {"4.0.1", true}, {"10.0.0", true},     {"3.9.9", false}, {"4.1", true},
                 {"4", false},     {"", false},     {"5.0.0 beta", true}, {"4.0.0.1", true}};
    for (const auto& c : cases)
        EXPECT_EQ(VersionAbove(c.version, "4.0.0"), c.above) << c.version;
}

// The screen over a site with nothing set up: what each step opens and asks.
class WizardScreen : public WizardSite {
protected:
    WizardScreens screens() {
        WizardScreens s;
        s.addAccount = [this] {
            opened.push_back("account");
            exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, is_deleted) VALUES (" +
                 std::to_string(opened.size()) + ", 'Acct', 0)");
        };
        s.addUser = [this] { opened.push_back("user"); };
        s.addPrinterWizard = [this] { opened.push_back("printer wizard"); };
        s.showPrinterList = [this] { opened.push_back("printer list"); };
        s.showPhysicianList = [this] { opened.push_back("physician list"); };
        s.printerComponentVersion = [this] { return version; };
        s.showAtStartUp = [this] { return showWizard; };
        s.setShowAtStartUp = [this](bool on) { showWizard = on; };
        return s;
    }
    template <typename T>
    T* child(QWidget& w, const QString& name) {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    std::vector<std::string> opened;
    std::string version = "4.0.1";
    bool showWizard = true;
};

TEST_F(WizardScreen, AccountsRepeatWhileYesAndTheCaptionFollowsTheMark) {
    Gen_Wizard w(screens(), true);
    EXPECT_EQ(child<QPushButton>(w, "cmdConfig_0")->text(), "Accounts");
    EXPECT_EQ(child<QLabel>(w, "lblDone_0")->text(), "");
    recorder.answer(MsgAnswer::Yes);
    recorder.answer(MsgAnswer::No);
    child<QPushButton>(w, "cmdConfig_0")->click();
    EXPECT_EQ(opened, (std::vector<std::string>{"account", "account"}));
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].text, "Would you like to add another account?");
    EXPECT_EQ(recorder.shown[0].title, "Configuration Wizard");
    EXPECT_EQ(recorder.shown[0].buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(child<QLabel>(w, "lblDone_0")->text(), "Done");
    EXPECT_EQ(child<QPushButton>(w, "cmdConfig_0")->text(), "Add Accounts");
    EXPECT_EQ(child<QLabel>(w, "lblDone_1")->text(), "");
}

TEST_F(WizardScreen, PrintersGoThroughTheComponentsWizardOnlyAbove400) {
    const struct {
        const char* version;
        std::vector<std::string> opened;
        std::string message;
    } cases[] = {
        {"4.0.1", {"printer wizard"}, "Would you like to add another printer?"},
        {"10.0.0", {"printer wizard"}, "Would you like to add another printer?"},
        {"4.0.0",
         {"printer list"},
         "Unable to add new system printers through the wizard.\nPlease upgrade the System Printers library "
         "(KdSysPrn.DLL)  or add printers without using the wizard."},
    };
    for (const auto& c : cases) {
        opened.clear();
        recorder.shown.clear();
        version = c.version;
        recorder.answer(MsgAnswer::No);
        Gen_Wizard w(screens(), true);
        child<QPushButton>(w, "cmdConfig_2")->click();
        EXPECT_EQ(opened, c.opened) << c.version;
        ASSERT_EQ(recorder.shown.size(), 1u) << c.version;
        EXPECT_EQ(recorder.shown[0].text, c.message) << c.version;
    }
    EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Exclamation);
}

TEST_F(WizardScreen, WithoutPrivilegeSixTheStepsAreDisabledAndTheOptionIsKept) {
    Gen_Wizard w(screens(), false);
    for (int i = 0; i < kWizardSteps; ++i) {
        EXPECT_FALSE(child<QPushButton>(w, QString("cmdConfig_%1").arg(i))->isEnabled()) << i;
        EXPECT_FALSE(child<QPushButton>(w, QString("cmdStep_%1").arg(i))->isEnabled()) << i;
    }
    w.cmdConfig_Click(0);
    EXPECT_TRUE(opened.empty());
    auto* box = child<QCheckBox>(w, "chkShowWizard");
    EXPECT_TRUE(box->isChecked());
    box->click();
    EXPECT_FALSE(showWizard);
}

} // namespace

namespace {

// The printers' mark warns of printers with a blank queue or one the workstation does not know.
TEST_F(WizardScreen, ThePrintersMarkWarnsOfBlankAndUnknownQueues) {
    const std::string tail = "\nSet their queues in the printer list.";
    std::string tenBlank;
    for (int i = 10; i < 20; ++i)
        tenBlank += "INSERT System_printers (printer_id, description, print_queue) VALUES (" + std::to_string(i) +
                    ", 'P" + std::to_string(i) + "', '')\n";
    const struct {
        const char* name;
        std::string rows;
        std::string warning;
    } cases[] = {
        {"no printer", "", ""},
        {"a known queue, in another case and with blanks",
         "INSERT System_printers (printer_id, description, print_queue) VALUES (1, 'Ward', ' wardq ')", ""},
        {"a blank, a NULL and an unknown queue",
         "INSERT System_printers (printer_id, description, print_queue) VALUES (1, 'Ward', 'WARDQ')\n"
         "INSERT System_printers (printer_id, description, print_queue) VALUES (2, 'Lab', '')\n"
         "INSERT System_printers (printer_id, description, print_queue) VALUES (3, 'Annex', NULL)\n"
         "INSERT System_printers (printer_id, description, print_queue) VALUES (4, 'Front', 'WARDQ2')",
         "3 system printers cannot print from this workstation:\n    Annex: no print queue\n"
         "    Front: the queue WARDQ2 is not known to this workstation\n    Lab: no print queue" +
             tail},
        {"more than the warning lists", tenBlank,
         "10 system printers cannot print from this workstation:\n    P10: no print queue\n    P11: no print queue\n"
         "    P12: no print queue\n    P13: no print queue\n    P14: no print queue\n    P15: no print queue\n"
         "    P16: no print queue\n    P17: no print queue\n    and 2 more" +
             tail},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(exec("DELETE FROM System_printers\n" + c.rows).rc(), SQL_SUCCESS) << c.name;
        auto s = screens();
        s.workstationQueues = [] { return std::vector<std::string>{"WARDQ", "OTHER"}; };
        Gen_Wizard w(s, true);
        auto* warning = child<QLabel>(w, "lblPrintersWarning");
        EXPECT_EQ(warning->text().toStdString(), c.warning) << c.name;
        EXPECT_EQ(warning->isHidden(), c.warning.empty()) << c.name;
        const auto* mark = child<QLabel>(w, "lblDone_2");
        EXPECT_EQ(mark->text(), c.rows.empty() ? "" : c.warning.empty() ? "Done" : "Done (!)") << c.name;
        EXPECT_EQ(mark->toolTip().toStdString(), c.warning) << c.name;
    }
}

// Without a list given, the known queues are those of the workstation's CUPS scheduler.
TEST_F(WizardScreen, TheKnownQueuesAreTheWorkstationsCupsQueues) {
    KD_REQUIRE_CUPSD();
    auto& cups = kdtest::CupsServer::shared();
    ASSERT_TRUE(cups.addFileQueue("KDWIZARDQ")) << cups.error();
    ASSERT_EQ(exec("INSERT System_printers (printer_id, description, print_queue) VALUES (1, 'Known', 'KDWIZARDQ')\n"
                   "INSERT System_printers (printer_id, description, print_queue) VALUES (2, 'Elsewhere', 'NOSUCHQ')")
                  .rc(),
              SQL_SUCCESS);
    Gen_Wizard w(screens(), true);
    EXPECT_EQ(
        child<QLabel>(w, "lblPrintersWarning")->text().toStdString(),
        "1 system printer cannot print from this workstation:\n"
        "    Elsewhere: the queue NOSUCHQ is not known to this workstation\nSet their queues in the printer list.");
    cups.removeQueue("KDWIZARDQ");
}

} // namespace
