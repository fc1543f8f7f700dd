#include "AccountManagerFixture.h"
#include "DecimalCommaLocale.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>

using kdtest::AccountManager;
using platform::MsgAnswer;

namespace {

bool sent(const std::string& fragment) {
    for (const auto& sql : foundation::DatabaseSession::instance().history)
        if (sql.find(fragment) != std::string::npos)
            return true;
    return false;
}

TEST_F(AccountManager, AmountsFollowNoLocale) {
    kdtest::DecimalCommaLocale german;
    KD_REQUIRE_DECIMAL_COMMA(german);
    choose("lvwAccounts", "North Office");
    EXPECT_EQ(child<QLineEdit>("TextBox16")->text(), "0.1200");
    click("Insert_new_account");
    type(text(0), "77");
    type(text(1), "Komma Klinik");
    type(child<QLineEdit>("TextBox16"), "0.25");
    click("Save_button");
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
    EXPECT_TRUE(sent("amount_per_line=        0.2500"));
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, amount_per_line) FROM Account_info WHERE hosp_acct_id = 77"), "0.25");
    EXPECT_EQ(child<QLineEdit>("TextBox16")->text(), "0.2500");
}

TEST_F(AccountManager, AccountNumbersAreAsciiDigitsOfARealAccount) {
    click("Insert_new_account");
    // Fullwidth "30", as an input method commits it.
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xEF\xBC\x93\xEF\xBC\x90"));
    QApplication::sendEvent(text(0), &commit);
    EXPECT_EQ(text(0)->text(), "");
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Please enter a numeric value.");
    paste(text(0), QString::fromUtf8("\xD9\xA7\xD9\xA7")); // Arabic-Indic "77"
    EXPECT_EQ(text(0)->text(), "");
    type(text(1), "Zero Clinic");
    type(text(0), "000");
    text(0)->editingFinished();
    recorder.shown.clear();
    foundation::DatabaseSession::instance().history.clear();
    click("Save_button");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "Account number 000 is not a valid account number.  Please enter a number from 1 to 999999999.");
    EXPECT_TRUE(foundation::DatabaseSession::instance().history.empty()); // no statement built from it
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Account_info WHERE hosp_acct_id = 0"), "0");
}

TEST_F(AccountManager, APartitionWithoutAccountsOpensOnANewAccount) {
    exec("INSERT System_partitions VALUES (4, 0, 'East', 0, '/0/4/', NULL)");
    physicians::LoadPartitions();
    login.user.Partition_ID = 4;
    screen = std::make_unique<accounts::AC_Dept_Acct_Mngr>(login);
    screen->MyShow();
    EXPECT_EQ(screen->CurrentAccount(), -1);
    EXPECT_FALSE(text(0)->isReadOnly());
    type(text(0), "60");
    type(text(1), "East Clinic");
    recorder.shown.clear();
    foundation::DatabaseSession::instance().history.clear();
    click("Save_button");
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text; // no partition-change warning
    EXPECT_FALSE(sent("WHERE hosp_acct_id = 0"));
    EXPECT_EQ(scalar("SELECT hosp_acct_name + '|' + CONVERT(varchar, partition_id) FROM Account_info WHERE "
                     "hosp_acct_id = 60"),
              "East Clinic|4");
    EXPECT_EQ(screen->CurrentAccount(), 60);
}

TEST_F(AccountManager, CancelToTheSaveQuestionKeepsTheShownAccountForUndelete) {
    type(text(3), "Unsaved contact");
    child<QTabWidget>("tabAccounts")->setCurrentIndex(1);
    recorder.answer(MsgAnswer::Cancel);
    choose("lvwDelAccounts", "Old Wing");
    EXPECT_EQ(screen->CurrentAccount(), 30);
    recorder.shown.clear();
    click("Undelete_account");
    EXPECT_TRUE(recorder.shown.empty()); // nothing to undelete: the shown account is not deleted
    EXPECT_EQ(scalar("SELECT is_deleted FROM Account_info WHERE hosp_acct_id = 31"), "1");
    EXPECT_TRUE(screen->IsChanged());
    EXPECT_EQ(text(3)->text(), "Unsaved contact");
    EXPECT_EQ(child<QTreeWidget>("lvwAccounts")->currentItem()->text(0), "North General");
}

TEST_F(AccountManager, FiltersWaitUntilTheAccountExists) {
    click("Insert_new_account");
    EXPECT_FALSE(child<QLineEdit>("txtHospIDFilter")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>("txtUploadTypeFilter")->isEnabled());
    type(text(0), "61");
    type(text(1), "Filtered Later");
    click("Save_button");
    EXPECT_EQ(screen->CurrentAccount(), 61);
    EXPECT_TRUE(child<QLineEdit>("txtHospIDFilter")->isEnabled());
    type(child<QLineEdit>("txtUploadTypeFilter"), "3");
    click("Save_button");
    EXPECT_EQ(scalar("SELECT upload_filter FROM Account_info WHERE hosp_acct_id = 61"), "3");
}

TEST_F(AccountManager, SaveRefusalsAndTheirTexts) {
    auto* partitions = child<QComboBox>("cboPartition");
    partitions->setCurrentIndex(-1);
    click("Save_button");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Partition is a required field");
    EXPECT_EQ(recorder.shown[0].title, "Invalid Entry");
    recorder.shown.clear();

    click("Insert_new_account");
    type(text(1), "Second North");
    type(text(0), "30"); // taken by an active account; the entry check did not run
    click("Save_button");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The specified account has already been defined.");
    EXPECT_EQ(recorder.shown[0].title, "Account Manager");
    recorder.shown.clear();

    type(text(0), "31");
    recorder.answer(MsgAnswer::No);
    text(0)->editingFinished();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Deleted account Old Wing already uses account number 31.  Insert the account "
                                      "anyway?");
    EXPECT_EQ(text(0)->text(), ""); // No: the number is given up
}

TEST_F(AccountManager, DeleteFailureIsShown) {
    exec("DROP TABLE Account_info");
    recorder.answer(MsgAnswer::Yes);
    click("Delete_existing_account");
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error encountered deleting the account.");
}

TEST_F(AccountManager, UndeleteFailureIsShown) {
    child<QTabWidget>("tabAccounts")->setCurrentIndex(1);
    choose("lvwDelAccounts", "Old Wing");
    exec("DROP TABLE Account_info");
    recorder.shown.clear();
    recorder.answer(MsgAnswer::Yes);
    click("Undelete_account");
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error Undeleting the account.");
}

TEST_F(AccountManager, IncentiveQuestionAnsweredNoLocksNothing) {
    exec("INSERT Trans_incentive (trans_id, hosp_acct_id, shift_date, locked) VALUES ('MJONES', 30, "
         "DATEADD(day, -3, GETDATE()), 0)");
    auto* method = child<QComboBox>("cmbIncentiveMethod");
    method->setCurrentIndex(1);
    emit method->activated(1);
    recorder.answer(MsgAnswer::No);
    click("Save_button");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Trans_incentive WHERE locked = 1"), "0");
    EXPECT_EQ(scalar("SELECT email_type FROM Account_info WHERE hosp_acct_id = 30"), "1");
}

TEST_F(AccountManager, HospitalIdErrors) {
    foundation::Configuration::instance().combinedInterfaceDB = true;
    screen->MyShow();
    click("cmdHospID");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "No hospital ID values were found.");
    recorder.shown.clear();
    exec("DROP TABLE patient_adt");
    click("cmdHospID");
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error encountered retrieving the hospital ID values.");
    recorder.shown.clear();
    // An earlier failure must not stand for a later successful read.
    exec("CREATE TABLE patient_adt (hospital_id varchar(20) NULL, patient_id varchar(20) NULL)\n"
         "INSERT patient_adt VALUES ('NGH', '1')");
    QTimer::singleShot(0, screen.get(), [] {
        if (QWidget* picker = QApplication::activeModalWidget())
            picker->close();
    });
    click("cmdHospID");
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
}

} // namespace
