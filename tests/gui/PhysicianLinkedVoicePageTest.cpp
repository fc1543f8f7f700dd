#include "LoginComponent.h"
#include "PP_Add_Phys.h"
#include "PP_Phys_LinkedVoicePage.h"
#include "VoiceFixture.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

using namespace physicians;

namespace {

// Jane Carter (501) has accounts 10 and 11. Account 10 is linked to facility 1 of North Voice
// (database VOICE), 11 to facility 3 of South Voice (VOICE2), and 12, not hers, to facility 2 of
// North Voice.
class LinkedVoicePage : public kdtest::VoiceTest {
protected:
    void SetUp() override {
        VoiceTest::SetUp();
        createVoiceDatabase("VOICE2");
        insertDefinition(1, "North Voice", "VOICE");
        insertDefinition(2, "South Voice", "VOICE2");
        std::string sql = "INSERT System_partitions VALUES (1, 0, 'North', 0, '/0/1/', NULL)\n"
                          "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
                          "(501, 'Jane', 'Carter', 1)\n"
                          "INSERT Physician_membership VALUES (501, 10, 0, 0)\n"
                          "INSERT Physician_membership VALUES (501, 11, 0, 0)\n"
                          "INSERT Physician_attributes (physician_id, hosp_acct_id, fax_enabled_1, fax_enabled_2, "
                          "email_enabled) VALUES (501, -1, 0, 0, 0)\n";
        for (int a : {10, 11, 12})
            sql += "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (" + std::to_string(a) +
                   ", 'A" + std::to_string(a) + "', 1)\n";
        for (const char* link : {"1, 1, 10", "2, 3, 11", "1, 2, 12"})
            sql += std::string("INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, "
                               "flag3, flag4, string1, string2, string3, date1) VALUES (") +
                   link + ", 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n";
        exec(sql);
        ASSERT_EQ(LoadPartitions(), 2);
        std::vector<suite::HospAccount> accounts;
        for (long a : {10, 11, 12}) {
            suite::HospAccount h;
            h.hosp_acct_id = a;
            h.hosp_acct_name = "A" + std::to_string(a);
            h.Partition_ID = 1;
            h.privilegeSet = std::string(160, '\x01');
            accounts.push_back(h);
        }
        login.SetHospAccounts(accounts);
        login.user.user_id = 1;
        login.user.user_name = "ADMIN";
        login.user.Partition_ID = 1;
        login.user.privilegeSet = std::string(160, '\x01');
        login.user.privilegeSet[8] = login.user.privilegeSet[9] = '\x02';
        Partitions().login = &login;
    }
    void TearDown() override {
        Partitions() = PartitionState{};
        PartitionCache().clear();
        VoiceTest::TearDown();
    }
    void existsIn(const std::string& database, long facility) {
        suite::VeltraServices vs;
        vs.SetConnection(adoString(database), 1, 1, kAdminPassword);
        suite::VeltraUser u;
        u.UserId = 501;
        u.Facility = facility;
        u.UserName = "Carter, Jane";
        ASSERT_EQ(vs.AddVeltraUser(u, "pw"), "OK");
    }
    std::string remoteUser(const std::string& database, long facility) {
        return remote(database,
                      "SELECT user_name FROM vv_users WHERE user_id = 501 AND facility = " + std::to_string(facility));
    }
    std::unique_ptr<PP_Add_Phys> open() {
        auto editor = std::make_unique<PP_Add_Phys>(login);
        EXPECT_TRUE(editor->EditPhysician(501, PP_Add_Phys::Mode::Edit));
        page = editor->findChild<PP_Phys_LinkedVoicePage*>("PP_Phys_LinkedVoicePage");
        EXPECT_NE(page, nullptr);
        return editor;
    }
    void chooseSystem(int index) {
        auto* systems = page->findChild<QComboBox*>("cmbVVSystem");
        systems->setCurrentIndex(index);
        emit systems->activated(index);
    }
    void type(QWidget& editor, const char* field, const QString& text) {
        auto* box = editor.findChild<QLineEdit*>(field);
        box->setText(text);
        emit box->textEdited(text);
    }
    void removeAccount(PP_Add_Phys& editor, long account) {
        auto* accounts = editor.findChild<QListWidget*>("LBAccounts");
        accounts->clearSelection();
        for (int r = 0; r < accounts->count(); ++r)
            accounts->item(r)->setSelected(accounts->item(r)->data(Qt::UserRole).toLongLong() == account);
        editor.BDeleteAccount_Click();
    }
    void addAccount(PP_Add_Phys& editor, long account) {
        editor.chooseAccounts = [account](std::vector<long>& accounts) {
            accounts = {account};
            return true;
        };
        editor.BAddAccount_Click();
    }
    [[nodiscard]] QCheckBox* link() const { return page->findChild<QCheckBox*>("chkVVLink"); }
    [[nodiscard]] QString plan() const { return page->findChild<QLabel*>("labVVPlan")->text(); }

    suite::LoginComponent login;
    PP_Phys_LinkedVoicePage* page = nullptr;
};

TEST_F(LinkedVoicePage, EnablingAddsAChangedSettingUpdatesAndDisablingRemovesEachWithOneEvent) {
    existsIn("VOICE", 1);
    auto editor = open();
    auto* systems = page->findChild<QComboBox*>("cmbVVSystem");
    ASSERT_EQ(systems->count(), 2);
    EXPECT_EQ(systems->itemText(0), "North Voice");
    EXPECT_TRUE(link()->isChecked());
    EXPECT_EQ(link()->toolTip(), "Uncheck to Remove from VV");
    EXPECT_EQ(plan(), "");
    page->findChild<QSpinBox*>("spnVVGain")->setValue(4);
    EXPECT_EQ(plan(), "On saving:\nNorth Voice, Facility 1: update\n");
    chooseSystem(1);
    EXPECT_FALSE(link()->isChecked());
    EXPECT_EQ(link()->toolTip(), "Check to Add to VV");
    link()->click();
    EXPECT_EQ(plan(), "On saving:\nNorth Voice, Facility 1: update\nSouth Voice, Facility 3: add\n");
    // An account with a facility link of its own brings its association.
    editor->chooseAccounts = [](std::vector<long>& accounts) {
        accounts = {12};
        return true;
    };
    editor->BAddAccount_Click();
    EXPECT_EQ(page->editor().GetFacilities(1), (std::vector<long>{1, 2}));
    editor->BOK_Click();
    ASSERT_TRUE(editor->saved());
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(remote("VOICE", "SELECT gain FROM vv_users WHERE user_id = 501 AND facility = 1"), "4");
    EXPECT_EQ(remoteUser("VOICE2", 3), "Carter, Jane");
    EXPECT_EQ(remoteUser("VOICE", 2), "<none>") << "facility 2 was never enabled";
    EXPECT_EQ(logged(20048), "Physician Carter, Jane updated on North Voice, Facility 1 by user ADMIN.\n"
                             "Physician Carter, Jane added to South Voice, Facility 3 by user ADMIN.\n");

    editor = open();
    chooseSystem(1);
    EXPECT_TRUE(link()->isChecked());
    link()->click();
    EXPECT_EQ(plan(), "On saving:\nSouth Voice, Facility 3: remove\n");
    editor->BOK_Click();
    EXPECT_EQ(remoteUser("VOICE2", 3), "<none>");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20048"), "3");
}

TEST_F(LinkedVoicePage, ARefusingRemoteDatabaseShowsItsErrorWhileTheSaveAndTheNextAssociationStand) {
    existsIn("VOICE", 1);
    existsIn("VOICE2", 3);
    auto editor = open();
    link()->click(); // North Voice, Facility 1 off
    chooseSystem(1);
    link()->click(); // South Voice, Facility 3 off
    odbc.arrangeFault("VOICE", "refuse-connect 1");
    editor->findChild<QLineEdit*>("TCity")->setText("Bergen");
    emit editor->findChild<QLineEdit*>("TCity")->textEdited("Bergen");
    editor->BOK_Click();
    EXPECT_TRUE(editor->saved());
    EXPECT_EQ(scalar("SELECT city FROM Physician_attributes WHERE physician_id = 501 AND hosp_acct_id = -1"), "Bergen");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text.rfind("An error was encountered while trying to remove from Veltra Voice "
                                           "system:\n\n--> \tNorth Voice, Facility 1.\n",
                                           0),
              0u)
        << recorder.shown[0].text;
    EXPECT_EQ(remoteUser("VOICE", 1), "Carter, Jane");
    EXPECT_EQ(remoteUser("VOICE2", 3), "<none>");
    EXPECT_EQ(page->findChild<QLabel*>("labVVStatus")->text(),
              "Not saved to the voice systems:\nNorth Voice, Facility 1: remove\n");
    EXPECT_EQ(logged(20048), "Physician Carter, Jane removed from South Voice, Facility 3 by user ADMIN.\n");
}

TEST_F(LinkedVoicePage, WithdrawnUserAccessRemovesThePhysicianFromEveryLinkedSystem) {
    existsIn("VOICE", 1);
    existsIn("VOICE2", 3);
    exec("INSERT System_user_bindery (user_id, user_name, first_name, last_name, flag3, partition_id, enabled) "
         "VALUES (200, 'jcarter', 'Jane', 'Carter', 0, 1, 1)\n"
         "UPDATE Physician_profile SET flag2 = 200 WHERE physician_id = 501\n"
         "UPDATE Physician_attributes SET elect_signature = 1 WHERE physician_id = 501");
    login.user.is_paxlet_admin = true;
    auto editor = open();
    editor->findChild<QCheckBox*>("chkElectSignature")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_NE(recorder.shown[0].text.find("will delete the user jcarter upon saving"), std::string::npos);
    editor->BOK_Click();
    ASSERT_TRUE(editor->saved());
    EXPECT_EQ(remoteUser("VOICE", 1), "<none>");
    EXPECT_EQ(remoteUser("VOICE2", 3), "<none>");
    EXPECT_EQ(logged(20048), "Physician Carter, Jane removed from North Voice, Facility 1 by user ADMIN.\n"
                             "Physician Carter, Jane removed from South Voice, Facility 3 by user ADMIN.\n");
}

// The new physician gets id 1, which the remote administrator of North Voice, Facility 1 already
// has: adding there is refused and leaves the administrator alone; Facility 2 still gets its user.
TEST_F(LinkedVoicePage, ANewPhysicianIsLinkedOnceTheSaveGivesItsId) {
    PP_Add_Phys editor(login);
    ASSERT_TRUE(editor.AddPhysician({10, 11, 12}, 1));
    page = editor.findChild<PP_Phys_LinkedVoicePage*>("PP_Phys_LinkedVoicePage");
    ASSERT_EQ(page->findChild<QComboBox*>("cmbVVSystem")->count(), 2);
    EXPECT_TRUE(link()->isEnabled());
    EXPECT_FALSE(link()->isChecked()) << "a physician not saved is a user nowhere";
    EXPECT_FALSE(page->findChild<QPushButton*>("cmdVVPassword")->isEnabled());
    link()->click(); // North Voice, Facility 1
    auto* facilities = page->findChild<QComboBox*>("cmbVVFacility");
    facilities->setCurrentIndex(1);
    emit facilities->activated(1);
    link()->click(); // North Voice, Facility 2
    page->findChild<QSpinBox*>("spnVVGain")->setValue(3);
    chooseSystem(1);
    link()->click(); // South Voice, Facility 3, whose only account is then taken away
    EXPECT_EQ(plan(), "On saving:\nNorth Voice, Facility 1: add\nNorth Voice, Facility 2: add\n"
                      "South Voice, Facility 3: add\n");
    removeAccount(editor, 11);
    EXPECT_EQ(plan(), "On saving:\nNorth Voice, Facility 1: add\nNorth Voice, Facility 2: add\n");
    EXPECT_FALSE(link()->isEnabled());
    type(editor, "TLastName", "Novak");
    type(editor, "TFirstName", "Ida");
    editor.BOK_Click();
    ASSERT_TRUE(editor.saved());
    ASSERT_EQ(scalar("SELECT physician_id FROM Physician_profile WHERE last_name = 'Novak'"), "1");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text.rfind(
                  "An error was encountered while trying to add from Veltra Voice system:\n\n"
                  "--> \tNorth Voice, Facility 1.\n[Embedded][SQL Server Driver][SQL Server]The user "
                  "already exists in this facility.\n",
                  0),
              0u)
        << recorder.shown[0].text;
    EXPECT_EQ(remoteUser("VOICE", 1), "<none>") << "user 501 was never there";
    EXPECT_EQ(remote("VOICE", "SELECT user_name FROM vv_users WHERE user_id = 1 AND facility = 1"),
              "Voice Administrator");
    EXPECT_EQ(remote("VOICE", "SELECT user_name + '/' + CONVERT(varchar(10), gain) FROM vv_users WHERE user_id = 1 "
                              "AND facility = 2"),
              "Novak, Ida/3");
    EXPECT_EQ(remote("VOICE2", "SELECT COUNT(*) FROM vv_users WHERE facility = 3"), "0");
    EXPECT_EQ(logged(20048), "Physician Novak, Ida added to North Voice, Facility 2 by user ADMIN.\n");
}

TEST_F(LinkedVoicePage, AnAssociationLeftWithoutAccountsIsSwitchedOffAndARenameUpdatesTheRemoteName) {
    existsIn("VOICE", 1);
    existsIn("VOICE2", 3);
    auto editor = open();
    chooseSystem(1);
    ASSERT_TRUE(link()->isChecked());
    removeAccount(*editor, 11);
    EXPECT_FALSE(link()->isChecked());
    EXPECT_FALSE(link()->isEnabled());
    EXPECT_EQ(link()->toolTip(), "None of this physician's accounts is linked to this facility.");
    EXPECT_EQ(plan(), "On saving:\nSouth Voice, Facility 3: remove\n");
    EXPECT_NE(
        page->editor().DisplayCandidatesForRemoval().find("South Voice, Facility 3 would be a cadidate for deletion."),
        std::string::npos);
    addAccount(*editor, 11); // given back: the link is what it was
    EXPECT_TRUE(link()->isChecked());
    EXPECT_EQ(plan(), "");
    removeAccount(*editor, 11);
    type(*editor, "TFirstName", "Janet");
    editor->BOK_Click();
    ASSERT_TRUE(editor->saved());
    EXPECT_EQ(remoteUser("VOICE2", 3), "<none>");
    EXPECT_EQ(remoteUser("VOICE", 1), "Carter, Janet");
    EXPECT_EQ(logged(20048), "Physician Carter, Janet updated on North Voice, Facility 1 by user ADMIN.\n"
                             "Physician Carter, Janet removed from South Voice, Facility 3 by user ADMIN.\n");
}

TEST_F(LinkedVoicePage, DeletingThePhysicianFromTheEditorRemovesItFromEveryLinkedSystem) {
    existsIn("VOICE", 1);
    existsIn("VOICE2", 3);
    auto editor = open();
    removeAccount(*editor, 10);
    removeAccount(*editor, 11);
    recorder.answer(platform::MsgAnswer::Yes);
    editor->BOK_Click();
    ASSERT_TRUE(editor->saved());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 501"), "0");
    EXPECT_EQ(remoteUser("VOICE", 1), "<none>");
    EXPECT_EQ(remoteUser("VOICE2", 3), "<none>");
    EXPECT_EQ(logged(20048), "Physician Carter, Jane removed from North Voice, Facility 1 by user ADMIN.\n"
                             "Physician Carter, Jane removed from South Voice, Facility 3 by user ADMIN.\n");
}

TEST_F(LinkedVoicePage, ThePasswordReachesEverySystemWhereThePhysicianIsAUser) {
    existsIn("VOICE", 1);
    auto editor = open();
    auto* password = page->findChild<QPushButton*>("cmdVVPassword");
    ASSERT_TRUE(password->isEnabled());
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "VV_Password_Change" && w->isVisible()) {
                for (const char* field : {"txtNewPassword", "txtConfirmPassword"})
                    w->findChild<QLineEdit*>(field)->setText("fresh-pw");
                w->findChild<QPushButton*>("cmdOK")->click();
            }
    });
    password->click();
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(remote("VOICE", "SELECT password_digest FROM vv_users WHERE user_id = 501 AND facility = 1"),
              suite::VeltraServices::PasswordDigest(1, 501, "fresh-pw"));
    EXPECT_EQ(remote("VOICE2", "SELECT COUNT(*) FROM vv_users WHERE user_id = 501"), "0")
        << "not a user of South Voice: nothing added there";
}

} // namespace
