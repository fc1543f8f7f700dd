#include "EventLog.h"
#include "MaintenanceDialogFixture.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <map>

using platform::MsgAnswer;

namespace {

// The purge dialog's Configure button opens the criteria list, whose Add and Edit open the editor;
// each dialog runs the script registered under its object name.
class DictationPurgingScreens : public kdtest::MaintenanceDialogFixture {
protected:
    void seed() override {
        exec("INSERT Dictation_purge_criteria VALUES ('', '', -1, '', 1, 1, 30, -1, 0, 0, 0, 0, NULL, NULL, NULL, "
             "NULL)\n"
             "INSERT Dictation_purge_criteria VALUES ('ER', '', -1, '', 1, 0, 1, 0, 0, 0, 0, 0, NULL, NULL, NULL, "
             "NULL)\n"
             "INSERT Dictation_purge_criteria VALUES ('', '', 10, '2', 1, 0, 14, 4, 0, 0, 0, 0, NULL, NULL, NULL, "
             "NULL)");
        foundation::EventLog::context() = foundation::LogContext{};
        std::vector<suite::HospAccount> cache;
        for (auto [id, name] : {std::pair{-1L, "<All New Accounts>"}, {10L, "North"}, {20L, "South"}}) {
            suite::HospAccount a;
            a.hosp_acct_id = id;
            a.hosp_acct_name = name;
            for (long n : {1L, 2L, 3L})
                a.ReportTypes.push_back({0, n, std::string(name) + " type", n == 3});
            cache.push_back(a);
        }
        login.SetHospAccounts(cache);
        login.user.user_name = "ADMIN";
    }
    void SetUp() override {
        MaintenanceDialogFixture::SetUp();
        script = [this] {
            if (auto it = scripts.find(dialog->objectName().toStdString()); it != scripts.end())
                it->second();
        };
        scripts["DB_Purge_Options"] = [this] { click("cmdConfigureDictationPurging"); };
    }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    QStringList lines() {
        QStringList out;
        auto* list = child<QTreeWidget>("lvwPurgeCriteria");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(0);
        return out;
    }
    void select(int row) {
        auto* list = child<QTreeWidget>("lvwPurgeCriteria");
        list->setCurrentItem(list->topLevelItem(row));
    }
    std::string lastMessage() { return recorder.shown.empty() ? "" : recorder.shown.back().text; }

    std::map<std::string, std::function<void()>> scripts;
};

TEST_F(DictationPurgingScreens, TheListWarnsOfObsoleteRulesEditsInOrderAndSavesOnlyKeptOnes) {
    std::vector<std::string> editorMessages;
    int editorRun = 0;
    scripts["DB_Dictation_Purge_Edit"] = [&] {
        ++editorRun;
        if (editorRun == 1) { // Add: each check in turn, then a source rule
            EXPECT_EQ(dialog->windowTitle(), "Add Dictation Purging Criteria");
            EXPECT_EQ(child<QComboBox>("cmbSourceType")->count(), 7);
            for (auto [days, dept, types] :
                 {std::tuple{"0", "", ""}, {"10000", "", ""}, {"7", "ER, ICU", ""}, {"7", "", "1,,2"}, {"7", "", ""}}) {
                type("txtNbrDays", days);
                child<QRadioButton>("optSource")->click();
                type("txtDepartment", dept);
                type("txtWorkTypes", types);
                click("cmdOK");
                editorMessages.push_back(lastMessage());
                EXPECT_EQ(dialog->result(), QDialog::Rejected);
            }
            child<QComboBox>("cmbSourceType")->setCurrentIndex(3); // Veltra Voice
            type("txtDepartment", " O'Hara ");
            type("txtWorkTypes", "12, 15");
            click("cmdOK");
        } else if (editorRun == 2) { // Edit the account rule: the account's undeleted report types
            EXPECT_EQ(dialog->windowTitle(), "Edit Dictation Purging Criteria");
            EXPECT_TRUE(child<QRadioButton>("optK2")->isChecked());
            EXPECT_FALSE(child<QLineEdit>("txtDepartment")->isEnabled());
            auto* types = child<QListWidget>("lstReportTypes");
            ASSERT_EQ(types->count(), 3);
            EXPECT_EQ(types->item(2)->text(), "North type (2)");
            EXPECT_TRUE(types->item(2)->isSelected());
            types->item(1)->setSelected(true);
            click("cmdOK");
        } else { // the default: only its days
            EXPECT_FALSE(child<QComboBox>("cmbSourceType")->isEnabled());
            EXPECT_FALSE(child<QRadioButton>("optSource")->isEnabled());
            EXPECT_FALSE(child<QComboBox>("cmbAccount")->isEnabled());
            EXPECT_TRUE(child<QLineEdit>("txtNbrDays")->isEnabled());
            type("txtNbrDays", "1");
            click("cmdOK");
        }
    };
    scripts["DB_Dictation_Purging"] = [&] {
        dialog->show(); // activation shows the obsolete warning
        ASSERT_FALSE(recorder.shown.empty());
        EXPECT_EQ(recorder.shown.back().title, "Obsolete Source Type");
        EXPECT_EQ(lastMessage(), "Warning:  The following purge criteria no longer have a valid or current source "
                                 "type.\n\nPurge after 1 day with department equal to ER from Veltra Text\n\nUnless "
                                 "explicitly edited, these criteria will be removed upon saving.");
        EXPECT_EQ(child<QComboBox>("cmbDateType")->currentText(), "Dictated Date");
        EXPECT_EQ(lines(), QStringList({"Purge after 1 day with department equal to ER from Veltra Text",
                                        "Purge after 14 days with account equal to Account North report types equal "
                                        "to 2 from Veltra Dictate",
                                        "DEFAULT - For ALL other jobs:  Purge after 30 days"}));
        select(2);
        click("cmdDelete");
        EXPECT_EQ(lastMessage(), "Error.  The default criteria cannot be deleted.");
        click("cmdAdd");
        select(1);
        click("cmdEdit");
        select(2);
        click("cmdEdit");
        select(0);
        click("cmdDelete");
        EXPECT_EQ(lines(), QStringList({"Purge after 14 days with account equal to Account North report types equal "
                                        "to 1,2 from Veltra Dictate",
                                        "DEFAULT - For ALL other jobs:  Purge after 1 day",
                                        "Purge after 7 days with department equal to O'Hara work type equal to 12, 15 "
                                        "from Veltra Voice"}));
        recorder.answer(MsgAnswer::No);
        click("cmdCancel");
        EXPECT_EQ(lastMessage(),
                  "You have made changes to the purging criteria. Are you sure you want to discard these changes?");
        EXPECT_TRUE(dialog->isVisible());
        child<QComboBox>("cmbDateType")->setCurrentIndex(0);
        click("cmdOK");
    };
    commands->PurgeOptions(nullptr);
    EXPECT_EQ(editorMessages,
              std::vector<std::string>({"Pleaser enter a number between 1 and 9999 for the Days to Keep Sound Files.",
                                        "Pleaser enter a number between 1 and 9999 for the Days to Keep Sound Files.",
                                        "Please enter only one department.",
                                        "The list of work types is not valid.  Please correct this setting.",
                                        "Either the department field or the work types field must be set."}));
    EXPECT_EQ(editorRun, 3);
    EXPECT_EQ(exec("SELECT source_department, source_work_types, hosp_acct_id, report_types, date_type, "
                   "default_criteria, nbr_days, source_type FROM Dictation_purge_criteria")
                  .table(';'),
              ";;10;1,2;0;0;14;4;|;;-1;;0;1;1;-1;|O'Hara;12, 15;-1;;0;0;7;6;|");
    EXPECT_EQ(exec("SELECT msg1 FROM System_log WHERE error_code = 20020").scalar(),
              "Dictation purging criteria changed by user ADMIN.");
}

TEST_F(DictationPurgingScreens, CancelWithoutChangesClosesAndWritesNothing) {
    scripts["DB_Dictation_Purging"] = [&] {
        click("cmdCancel");
        EXPECT_FALSE(dialog->isVisible());
    };
    EXPECT_FALSE(commands->DictationPurging(nullptr));
    EXPECT_EQ(exec("SELECT COUNT(*) FROM Dictation_purge_criteria").scalar(), "3");
    EXPECT_EQ(exec("SELECT COUNT(*) FROM sysobjects WHERE name = 'purge_dictation_jobs'").scalar(), "0");
}

TEST_F(DictationPurgingScreens, DryRunCountsTheRulesAsShownWithTheChosenDateTypeAndQueuesNothing) {
    // Job 1: account 10, report type 2, dictated 20 days ago but completed yesterday. Job 2: another
    // account, dictated and completed 40 days ago.
    exec("INSERT Dictation_jobs_complete VALUES (1, NULL, 1, 4, 10, 2, DATEADD(day, -20, GETDATE()), "
         "DATEADD(day, -1, GETDATE()), 0, 0, 10, 2)\n"
         "INSERT Dictation_jobs_complete VALUES (2, NULL, 1, 4, 20, 1, DATEADD(day, -40, GETDATE()), "
         "DATEADD(day, -40, GETDATE()), 0, 0, 20, 1)");
    std::vector<std::string> shown;
    scripts["DB_Dictation_Purging"] = [&] {
        for (int type : {1, 0}) {
            child<QComboBox>("cmbDateType")->setCurrentIndex(type);
            recorder.shown.clear();
            click("cmdDryRun");
            ASSERT_EQ(recorder.shown.size(), 1u);
            EXPECT_EQ(recorder.shown[0].title, "Dry Run");
            shown.push_back(recorder.shown[0].text);
        }
        click("cmdCancel");
    };
    commands->DictationPurging(nullptr);
    ASSERT_EQ(shown.size(), 2u);
    const QStringList lines = QString::fromStdString(shown[0]).split('\n');
    ASSERT_EQ(lines.size(), 5) << shown[0];
    // Dictated date: the account rule takes job 1 (20 days > 14), the default job 2.
    EXPECT_TRUE(lines[2].endsWith(": none, the rule is removed on saving")) << shown[0];
    EXPECT_TRUE(lines[3].endsWith(": 1 job")) << shown[0];
    EXPECT_TRUE(lines[4].endsWith(": 1 job")) << shown[0];
    // Completion date: job 1 finished yesterday and waits.
    EXPECT_TRUE(QString::fromStdString(shown[1]).split('\n')[3].endsWith(": 0 jobs")) << shown[1];
    EXPECT_EQ(exec("SELECT COUNT(*) FROM Dictation_purge_queue").scalar(), "0");
    EXPECT_EQ(exec("SELECT COUNT(*) FROM sysobjects WHERE name = 'purge_dictation_jobs'").scalar(), "0");
}

} // namespace
