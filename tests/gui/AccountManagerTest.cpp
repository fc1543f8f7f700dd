#include "AC_Dept_Acct_Mngr.h"
#include "AC_Select.h"
#include "AccountManagerFixture.h"
#include "Configuration.h"
#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsPartition.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using accounts::AC_Dept_Acct_Mngr;
using platform::MessageRecorder;
using platform::MsgAnswer;

namespace {

using kdtest::AccountManager;

TEST_F(AccountManager, ListsTheUsersPartitionsAndShowsTheFirstAccount) {
    EXPECT_EQ(names("lvwAccounts"), (QStringList{"North General", "North Office"})); // child yes, sibling no
    EXPECT_EQ(names("lvwDelAccounts"), QStringList{"Old Wing"});
    EXPECT_EQ(screen->CurrentAccount(), 30);
    EXPECT_EQ(text(1)->text(), "North General");
    EXPECT_TRUE(text(0)->isReadOnly());
    auto* partitions = child<QComboBox>("cboPartition");
    EXPECT_EQ(partitions->count(), 2); // North and North General: the user's partition and below
    EXPECT_EQ(partitions->currentText(), "North General");
    choose("lvwAccounts", "North Office");
    EXPECT_EQ(child<QLineEdit>("TextBox16")->text(), "0.1200");
}

TEST_F(AccountManager, NewAccountWithABlankAmountSavesTheDefaultAndReloadsTheCache) {
    click("Insert_new_account");
    type(text(0), "4x2");
    ASSERT_EQ(texts(), std::vector<std::string>{"Please enter a numeric value."});
    EXPECT_EQ(text(0)->text(), "42");
    type(text(1), "O'Neil's Clinic");
    child<QLineEdit>("TextBox16")->clear();
    recorder.shown.clear();
    click("Save_button");
    ASSERT_EQ(texts(), std::vector<std::string>{"The Billing Amount Per Line is not valid.  A default value of 0.1000 "
                                                "per line will be used."});
    EXPECT_EQ(scalar("SELECT hosp_acct_name + '|' + CONVERT(varchar, amount_per_line) + '|' + "
                     "CONVERT(varchar, partition_id) FROM Account_info WHERE hosp_acct_id = 42"),
              "O'Neil's Clinic|0.1|1");
    EXPECT_GT(login.GetAcctIndex(42), 0); // the account cache was reloaded
    EXPECT_EQ(screen->CurrentAccount(), 42);
    EXPECT_FALSE(screen->IsChanged());
    EXPECT_TRUE(std::filesystem::exists(odbc.folder() + "/root/KALDRA/ROUTINES/PARTITION1/42"));
}

TEST_F(AccountManager, SaveChecksInOrder) {
    click("Insert_new_account");
    click("Save_button");
    EXPECT_EQ(texts(), std::vector<std::string>{"Please enter an account name."});
    recorder.shown.clear();
    type(text(1), "Fresh");
    type(text(0), "31"); // a deleted account's number: asked at entry, refused on save
    recorder.answer(MsgAnswer::Yes);
    text(0)->editingFinished();
    recorder.shown.clear();
    click("Save_button");
    EXPECT_EQ(texts(), std::vector<std::string>{
                           "The specified account has already been defined.  It is currently marked as deleted."});
    recorder.shown.clear();
    type(text(0), "30");
    text(0)->editingFinished();
    EXPECT_EQ(texts(), std::vector<std::string>{"Account North General is already using account number 30.  Please "
                                                "choose another account number."});
    EXPECT_EQ(text(0)->text(), "");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Account_info WHERE hosp_acct_name = 'Fresh'"), "0");
}

TEST_F(AccountManager, ANameOfADeletedAccountIsReusedOnlyAfterYes) {
    click("Insert_new_account");
    type(text(0), "50");
    type(text(1), "Old Wing");
    recorder.answer(MsgAnswer::No);
    click("Save_button");
    EXPECT_EQ(texts(), std::vector<std::string>{"Deleted account already uses this name.  Insert account anyway?"});
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Account_info WHERE hosp_acct_id = 50"), "0");
    recorder.answer(MsgAnswer::Yes);
    click("Save_button");
    EXPECT_EQ(scalar("SELECT hosp_acct_name FROM Account_info WHERE hosp_acct_id = 50"), "Old Wing");
    type(text(1), "North Office"); // an active account's name is refused outright
    recorder.shown.clear();
    click("Save_button");
    EXPECT_EQ(texts(),
              std::vector<std::string>{"Another account already uses this name.  Please choose another name."});
}

TEST_F(AccountManager, PartitionChangeNeedsTheWarningConfirmed) {
    auto* partitions = child<QComboBox>("cboPartition");
    partitions->setCurrentIndex(partitions->findText("North"));
    emit partitions->activated(partitions->currentIndex());
    recorder.answer(MsgAnswer::No);
    click("Save_button");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].title, "Partition Change");
    EXPECT_EQ(recorder.shown[0].text.substr(0, 30), "When an Account's Partition is");
    EXPECT_EQ(scalar("SELECT partition_id FROM Account_info WHERE hosp_acct_id = 30"), "3");
    recorder.answer(MsgAnswer::Yes);
    click("Save_button");
    EXPECT_EQ(scalar("SELECT partition_id FROM Account_info WHERE hosp_acct_id = 30"), "1");
}

TEST_F(AccountManager, AFailingUpdateShowsItsMessageAndKeepsTheList) {
    type(text(3), "Dana Webb");
    exec("DROP TABLE Account_info");
    click("Save_button");
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error Updating values into table.");
    EXPECT_EQ(names("lvwAccounts"), (QStringList{"North General", "North Office"}));
    EXPECT_TRUE(screen->IsChanged());
}

TEST_F(AccountManager, InputRulesForTheFilters) {
    auto* hosp = child<QLineEdit>("txtHospIDFilter");
    type(hosp, "ngh,ngr");
    EXPECT_EQ(hosp->text(), "NGH,NGR");
    auto* upload = child<QLineEdit>("txtUploadTypeFilter");
    paste(upload, "1, 2;x8");
    EXPECT_EQ(upload->text(), "1,28");
    QTest::keyClicks(upload, "a,3");
    EXPECT_EQ(upload->text(), "1,28,3");
    paste(text(2), QString(500, 'x')); // a long paste is cut to the column
    EXPECT_EQ(text(2)->text().size(), 100);
    click("Save_button");
    EXPECT_EQ(scalar("SELECT hospital_id_filter + '|' + upload_filter + '|' + CONVERT(varchar, "
                     "LEN(hosp_acct_description)) FROM Account_info WHERE hosp_acct_id = 30"),
              "NGH,NGR|1,28,3|100");
}

TEST_F(AccountManager, LettersPastedIntoNumberFields) {
    click("Insert_new_account");
    QApplication::clipboard()->setText("12ab3");
    text(0)->setFocus();
    QTest::keyClick(text(0), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(0)->text(), "123");
    EXPECT_EQ(texts(), std::vector<std::string>{"Please enter a numeric value."});
    type(text(1), "Pasted");
    paste(child<QLineEdit>("TextBox16"), "ten cents");
    recorder.shown.clear();
    click("Save_button");
    EXPECT_EQ(recorder.shown.size(), 1u); // the default-amount warning, then saved
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, amount_per_line) FROM Account_info WHERE hosp_acct_id = 123"), "0.1");
}

TEST_F(AccountManager, LeavingAChangedAccountAsksToSave) {
    type(text(3), "Changed contact");
    recorder.answer(MsgAnswer::Cancel);
    choose("lvwAccounts", "North Office");
    EXPECT_EQ(screen->CurrentAccount(), 30); // stayed
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Current account information has been changed.  Save changes?");
    EXPECT_EQ(recorder.shown[0].title, "Save?");
    recorder.answer(MsgAnswer::No);
    choose("lvwAccounts", "North Office");
    EXPECT_EQ(screen->CurrentAccount(), 10);
    EXPECT_EQ(scalar("SELECT ISNULL(contact, '') FROM Account_info WHERE hosp_acct_id = 30"), "");
    type(text(3), "Kept");
    recorder.answer(MsgAnswer::Yes);
    choose("lvwAccounts", "North General");
    EXPECT_EQ(scalar("SELECT contact FROM Account_info WHERE hosp_acct_id = 10"), "Kept");
}

TEST_F(AccountManager, DeleteAndUndelete) {
    recorder.answer(MsgAnswer::Yes);
    click("Delete_existing_account");
    EXPECT_EQ(recorder.shown[0].text, "Are you sure the selected account should be marked as deleted?");
    EXPECT_EQ(names("lvwDelAccounts"), (QStringList{"North General", "Old Wing"}));
    EXPECT_EQ(scalar("SELECT is_deleted FROM Account_info WHERE hosp_acct_id = 30"), "1");
    child<QTabWidget>("tabAccounts")->setCurrentIndex(1);
    choose("lvwDelAccounts", "Old Wing");
    recorder.answer(MsgAnswer::Yes);
    click("Undelete_account");
    EXPECT_EQ(recorder.shown.back().title, "Undelete Account");
    EXPECT_EQ(scalar("SELECT is_deleted FROM Account_info WHERE hosp_acct_id = 31"), "0");
    EXPECT_EQ(names("lvwAccounts"), (QStringList{"North Office", "Old Wing"}));
}

TEST_F(AccountManager, IncentiveMethodChangeOffersToLockEarlierData) {
    exec("INSERT Trans_incentive (trans_id, hosp_acct_id, shift_date, locked) VALUES ('MJONES', 30, "
         "DATEADD(day, -3, GETDATE()), 0)\n"
         "INSERT Trans_incentive (trans_id, hosp_acct_id, shift_date, locked) VALUES ('MJONES', 30, "
         "DATEADD(day, 1, GETDATE()), 0)");
    auto* method = child<QComboBox>("cmbIncentiveMethod");
    method->setCurrentIndex(1);
    emit method->activated(1);
    recorder.answer(MsgAnswer::Yes);
    click("Save_button");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text.substr(0, 70),
              "You have changed the incentive counting method for this account.  Chan");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Trans_incentive WHERE locked = 1"), "1"); // only before today
    EXPECT_EQ(scalar("SELECT email_type FROM Account_info WHERE hosp_acct_id = 30"), "1");
}

TEST_F(AccountManager, HospitalIdPickerTicksTheFilterAndWritesTheChoice) {
    EXPECT_FALSE(child<QPushButton>("cmdHospID")->isEnabled()); // only with the combined interface database
    foundation::Configuration::instance().combinedInterfaceDB = true;
    screen->MyShow();
    exec("INSERT patient_adt (hospital_id, patient_id) VALUES ('NGH', '1')\n"
         "INSERT patient_adt (hospital_id, patient_id) VALUES ('NGR', '2')\n"
         "INSERT patient_adt (hospital_id, patient_id) VALUES ('', '3')");
    type(child<QLineEdit>("txtHospIDFilter"), "NGR");
    QStringList offered;
    QTimer::singleShot(0, screen.get(), [&] {
        auto* picker = qobject_cast<accounts::AC_Select*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        auto* list = picker->findChild<QListWidget*>("lstValues");
        for (int i = 0; i < list->count(); ++i)
            offered << list->item(i)->text() + (list->item(i)->checkState() == Qt::Checked ? "*" : "");
        list->item(0)->setCheckState(Qt::Checked);
        picker->findChild<QPushButton*>("cmdOK")->click();
    });
    click("cmdHospID");
    EXPECT_EQ(offered, (QStringList{"NGH", "NGR*"}));
    EXPECT_EQ(child<QLineEdit>("txtHospIDFilter")->text(), "NGH,NGR");
    EXPECT_TRUE(screen->IsChanged());
}

} // namespace
