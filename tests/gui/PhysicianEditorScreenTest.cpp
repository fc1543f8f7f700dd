#include "AccountCache.h"
#include "Configuration.h"
#include "DatabaseSession.h"
#include "EventLog.h"
#include "LastModifiedText.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PP_Add_Phys.h"
#include "PP_Phys_List.h"
#include "PhysicianProfileValues.h"
#include "PhysicianUserEditor.h"
#include "SessionHelper.h"
#include "UA_User_Mgmt_Edit.h"
#include "clsPartition.h"
#include "clsPrinters.h"
#include "modPartition.h"
#include "modUserStore.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

using namespace physicians;
using platform::MsgAnswer;

namespace {

using kdtest::privileges;

// An account with the report types Consult (3) and Discharge (7).
suite::HospAccount account(long id, const char* name, long partition) {
    suite::HospAccount a = kdtest::account(id, name, partition);
    a.ReportTypes = {{0, 3, "Consult", false}, {0, 7, "Discharge", false}};
    return a;
}

// Accounts Zeta (1) and Alpha (2) in partition 1, Far (5) in partition 2. Adams: every account,
// Alpha with a fax number of its own. The user works in partition 1.
class PhysicianEditorScreen : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 0, '/0/1/', NULL)\n"
             "INSERT System_partitions VALUES (3, 1, 'North Clinics', 0, '/0/1/3/', NULL)\n"
             "INSERT System_partitions VALUES (2, 0, 'South', 0, '/0/2/', NULL)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'Zeta', 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (2, 'Alpha', 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (5, 'Far', 2)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id, last_update, string1) "
             "VALUES (10, 'Rita', 'Adams', 1, '2026-11-02 14:05:00', 'jdoe')\n"
             "INSERT Physician_membership VALUES (10, -1, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, fax_nbr_1, fax_enabled_1, email_enabled, "
             "batch_enabled, elect_signature) VALUES (10, -1, '555-0100', 1, 0, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, fax_nbr_1, fax_enabled_1, email_enabled, "
             "batch_enabled, elect_signature) VALUES (10, 2, '555-0222', 1, 0, 0, 0)\n"
             "INSERT Physician_external_ids VALUES (10, 'DVI', 'B22', 2, 1)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(40, 'Ola', 'Far', 2)\n"
             "INSERT Physician_membership VALUES (40, 5, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, fax_enabled_1, email_enabled) VALUES "
             "(40, -1, 0, 0)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        // The site's time format as the region gives it; other tests leave theirs behind.
        foundation::EventLog::context().timeFormat = "%H:%M:%S";
        ASSERT_EQ(LoadPartitions(), 4);
        login.SetHospAccounts({account(1, "Zeta", 1), account(2, "Alpha", 1), account(5, "Far", 2)});
        grant({8, 9});
        Partitions().login = &login;
        list = std::make_unique<PP_Phys_List>(login);
        list->statusHandler = [this](const QString& t) { status = t; };
        list->MyShow();
    }
    void TearDown() override {
        list.reset();
        LinkedUsers() = LinkedUserActions{};
        users::Users().RemoveAll();
        printers::SystemPrinters() = printers::clsPrinters{};
        Partitions() = PartitionState{};
        PartitionCache().clear();
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }
    void grant(std::initializer_list<int> granted) {
        login.user = suite::LoginUser{};
        login.user.user_id = 7;
        login.user.user_name = "admin1";
        login.user.Partition_ID = 1;
        login.user.privilegeSet = privileges(granted);
    }
    // Runs `drive` on the editor the list opens for its first row (or a new physician).
    void editFirstRow(const std::function<void(PP_Add_Phys&)>& drive) {
        auto* view = list->findChild<QTableView*>("lvwPhysList");
        view->selectionModel()->select(view->model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        list->runEditor = drive;
        list->EditPhysician();
    }
    template <typename T>
    static T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void selectAccounts(PP_Add_Phys& e, const QStringList& names) {
        auto* lb = child<QListWidget>(e, "LBAccounts");
        lb->clearSelection();
        for (int i = 0; i < lb->count(); ++i)
            for (const QString& n : names)
                if (lb->item(i)->text().contains(n))
                    lb->item(i)->setSelected(true);
    }
    static void type(PP_Add_Phys& e, const char* box, const QString& text) {
        auto* t = child<QLineEdit>(e, box);
        t->setText(text);
        emit t->textEdited(text);
    }
    std::string db(const std::string& sql) {
        return kdtest::sessionScalar(foundation::DatabaseSession::instance(), sql);
    }

    suite::LoginComponent login;
    platform::MessageRecorder recorder;
    std::unique_ptr<PP_Phys_List> list;
    QString status;
};

TEST_F(PhysicianEditorScreen, EditingSeveralAccountsShowsVariousAndWritesOnlyTheChangedValue) {
    bool ran = false;
    editFirstRow([&](PP_Add_Phys& e) {
        ran = true;
        EXPECT_EQ(e.windowTitle(), "Edit Physician");
        EXPECT_EQ(child<QPushButton>(e, "BOK")->text(), "&Update");
        EXPECT_EQ(child<QLabel>(e, "labPhysId")->text(), "Physician ID: 10");
        EXPECT_TRUE(child<QLabel>(e, "labLastModified")->text().endsWith(" 14:05 by jdoe."));
        EXPECT_EQ(child<QListWidget>(e, "LBAccounts")->count(), 3);
        selectAccounts(e, {"Zeta", "Alpha"});
        EXPECT_EQ(child<QLineEdit>(e, "TFaxNbr1")->text(), "<various>");
        type(e, "TCity", "Bergen");
        type(e, "TVerifyPhysId", "V'41");
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    });
    ASSERT_TRUE(ran);
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10 AND city = 'Bergen'"), "2");
    // The verify id is the attribute row's string1, the list's alerting-system id.
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10 AND string1 = 'V''41'"), "2");
    EXPECT_EQ(db("SELECT fax_nbr_1 FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 2"),
              "555-0222");
    EXPECT_EQ(db("SELECT fax_nbr_1 FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 1"),
              "555-0100");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 5"), "0");
    EXPECT_EQ(db("SELECT COUNT(*) FROM System_log WHERE error_code = 20030 AND msg1 = 'A physician record was "
                 "edited.'"),
              "1");
    EXPECT_EQ(status, "Physician Profile Updated.");
}

TEST_F(PhysicianEditorScreen, AddRefusesANamelessPhysicianThenInsertsIt) {
    list->runEditor = [&](PP_Add_Phys& e) {
        EXPECT_EQ(e.windowTitle(), "Add Physician");
        EXPECT_EQ(child<QPushButton>(e, "BOK")->text(), "&Insert");
        child<QTabWidget>(e, "tabPages")->setCurrentIndex(2);
        child<QPushButton>(e, "BOK")->click();
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text, "Please enter a valid physician name.");
        EXPECT_EQ(recorder.shown[0].title, "Invalid Entry");
        EXPECT_EQ(child<QTabWidget>(e, "tabPages")->currentIndex(), 0); // back on the name
        EXPECT_FALSE(e.saved());
        type(e, "TLastName", "Novak");
        type(e, "TFirstName", "Ida");
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    };
    list->findChild<QAction*>("tbrAdd")->trigger();
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_profile WHERE last_name = 'Novak' AND partition_id = 1"), "1");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_membership PM, Physician_profile PP WHERE PP.last_name = 'Novak' "
                 "AND PM.physician_id = PP.physician_id"),
              "1");
    EXPECT_EQ(db("SELECT COUNT(*) FROM System_log WHERE msg1 = 'A new physician was entered.'"), "1");
    // Add another starts from the values just saved.
    list->runEditor = [&](PP_Add_Phys& e) {
        EXPECT_EQ(child<QLineEdit>(e, "TLastName")->text(), "Novak");
        type(e, "TFirstName", "Jon");
        child<QPushButton>(e, "BOK")->click();
    };
    list->AddAnother();
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_profile WHERE last_name = 'Novak'"), "2");
}

TEST_F(PhysicianEditorScreen, AccessFollowsPrivilegesAndTheAccountsPartitions) {
    editFirstRow([&](PP_Add_Phys& e) {
        selectAccounts(e, {"Far"}); // partition 2: not the user's
        EXPECT_FALSE(child<QLabel>(e, "LViewOnlyOutput")->isHidden());
        EXPECT_FALSE(child<QCheckBox>(e, "CHKAllowFax1")->isEnabled());
        EXPECT_TRUE(child<QLineEdit>(e, "TFirstName")->isEnabled());
        selectAccounts(e, {"Zeta", "Far"});
        child<QPushButton>(e, "BDeleteAccount")->click();
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].title, "Security");
        EXPECT_NE(recorder.shown[0].text.find("-->  South \\ Far"), std::string::npos);
        EXPECT_EQ(e.edit().accounts(), (std::vector<long>{2, 5}));
        selectAccounts(e, {"Alpha"});
        EXPECT_TRUE(child<QLabel>(e, "LViewOnlyOutput")->isHidden());
        e.reject();
    });
    grant({8});
    editFirstRow([&](PP_Add_Phys&) { ADD_FAILURE() << "opened without privilege 9"; });
    // Without privilege 9 the editor only shows (the list refuses to open it for changes).
    PP_Add_Phys viewer(login);
    ASSERT_TRUE(viewer.EditPhysician(10, PP_Add_Phys::Mode::Edit));
    EXPECT_FALSE(child<QPushButton>(viewer, "BOK")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(viewer, "BAddAccount")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(viewer, "TLastName")->isEnabled());
}

TEST_F(PhysicianEditorScreen, TheDefaultPhysicianIsEditedForAllNewAccounts) {
    list->runEditor = [&](PP_Add_Phys& e) {
        EXPECT_EQ(e.windowTitle(), "Edit Default Physician");
        auto* lb = child<QListWidget>(e, "LBAccounts");
        ASSERT_EQ(lb->count(), 1);
        EXPECT_EQ(lb->item(0)->text(), "<All New Accounts>");
        EXPECT_FALSE(child<QPushButton>(e, "BAddAccount")->isEnabled());
        type(e, "TGroupAffiliation", "Cardiology");
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    };
    list->EditDefaultPhysician();
    EXPECT_EQ(db("SELECT group_affiliation FROM Physician_attributes WHERE physician_id = -1 AND hosp_acct_id = -1"),
              "Cardiology");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_profile WHERE physician_id > 0"), "2"); // no new physician
}

TEST_F(PhysicianEditorScreen, OutputAndWeightingRefuseImpossibleValuesAndWriteWhatWasTyped) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    editFirstRow([&](PP_Add_Phys& e) {
        selectAccounts(e, {"Zeta"});
        auto* faxTime = child<QCheckBox>(e, "CHKFaxTime1");
        faxTime->setChecked(true);
        child<QLineEdit>(e, "MFaxTime1")->setText("13:30");
        child<QPushButton>(e, "BOK")->click();
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text, kImpossibleFaxTime);
        EXPECT_FALSE(e.saved());
        child<QLineEdit>(e, "MFaxTime1")->setText("05:30");
        child<QComboBox>(e, "CBFaxAmPm1")->setCurrentIndex(1);
        // Report types: the account's, with "<Default Report>" first; e-mail without Discharge.
        child<QPushButton>(e, "BEmailReports")->click();
        auto* reports = child<QListWidget>(e, "LBReportTypes");
        ASSERT_EQ(reports->count(), 3);
        EXPECT_EQ(reports->item(0)->text(), "<Default Report>");
        reports->item(2)->setCheckState(Qt::Unchecked);
        // Weighting: a percentage typed with a decimal comma; text gets "Data Error".
        auto* types = child<QComboBox>(e, "CBWeightReportTypes");
        types->setCurrentIndex(1);
        emit types->activated(1);
        child<QRadioButton>(e, "OPTPercentWeighting")->setChecked(true);
        child<QLineEdit>(e, "TReportPercentWeight")->setText("abc");
        child<QPushButton>(e, "BOK")->click();
        ASSERT_EQ(recorder.shown.size(), 2u);
        EXPECT_EQ(recorder.shown[1].text, "The weight value entered was not valid.  Please enter again.");
        EXPECT_EQ(recorder.shown[1].title, "Data Error");
        child<QLineEdit>(e, "TReportPercentWeight")->setText("12,5");
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    });
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(recorder.shown.size(), 2u);
    const std::string zeta = " FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 1";
    EXPECT_EQ(db("SELECT fax_hour_1" + zeta), "17");
    EXPECT_EQ(db("SELECT fax_minute_1" + zeta), "30");
    EXPECT_EQ(db("SELECT email_includes" + zeta), "FE" + std::string(62, 'F')); // report type 7 off
    EXPECT_EQ(db("SELECT weight_type FROM Physician_weighting WHERE physician_id = 10 AND hosp_acct_id = 1 AND "
                 "report_type_nbr = 3"),
              "1");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_weighting WHERE physician_id = 10 AND report_type_nbr = 3 AND "
                 "weight_value = 12.5"),
              "1");
    EXPECT_EQ(db("SELECT fax_hour_1 FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 2"), "255");
}

TEST_F(PhysicianEditorScreen, ADuplicateAuthorIdIsSavedOnlyWhenConfirmedAndThenLogged) {
    list->runEditor = [&](PP_Add_Phys& e) {
        type(e, "TLastName", "Novak");
        type(e, "txtDVIid", "B22");
        recorder.answer(MsgAnswer::No);
        child<QPushButton>(e, "BOK")->click();
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].title, "Duplicate IDs");
        EXPECT_EQ(recorder.shown[0].text, "Warning:  The following duplicate IDs have been assigned.\r\n\r\n"
                                          "Dictation Author ID: B22 - Adams, Rita\r\n\r\n"
                                          "These duplicates will likely cause conflicts.  Save anyway?");
        EXPECT_FALSE(e.saved());
        recorder.answer(MsgAnswer::Yes);
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    };
    list->findChild<QAction*>("tbrAdd")->trigger();
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_external_ids WHERE source_physician_id = 'B22'"), "2");
    EXPECT_EQ(db("SELECT COUNT(*) FROM System_log WHERE error_code = 20026"), "1");
}

TEST_F(PhysicianEditorScreen, UserAccessAddendumsAndAnEmptyAccountListAskBeforeActing) {
    editFirstRow([&](PP_Add_Phys& e) {
        bool opened = false;
        e.openUserEditor = [&opened](const PhysicianUserRequest&) {
            opened = true;
            return std::optional<PendingPhysicianUser>();
        };
        auto* access = child<QCheckBox>(e, "chkElectSignature");
        recorder.answer(MsgAnswer::Cancel);
        access->click();
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].title, "Physician User Access");
        EXPECT_FALSE(access->isChecked());
        EXPECT_FALSE(opened);
        recorder.answer(MsgAnswer::OK);
        access->click();
        EXPECT_TRUE(opened);
        // A line over 77 characters is cut, with the message, and the rest is saved.
        child<QPlainTextEdit>(e, "TAddendumNormal")->setPlainText(QString(80, 'a') + "\nshort");
        recorder.shown.clear();
        child<QPushButton>(e, "BOK")->click();
        ASSERT_FALSE(recorder.shown.empty());
        EXPECT_EQ(recorder.shown[0].text,
                  "The Addendum Text contains one or more lines that exceed 77 characters.\r\nThis text will be "
                  "truncated.");
        EXPECT_EQ(recorder.shown[0].title, "Error");
        EXPECT_TRUE(e.saved());
    });
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_addendums_v2 WHERE physician_id = 10 AND addendum_nbr = 0 AND "
                 "addendum = '" +
                 std::string(77, 'a') + "'"),
              "2"); // the -1 rows and Alpha's own; Zeta and Far follow the -1 rows
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10 AND elect_signature = 1"), "2");
    // Every account removed: the physician is offered for deletion; No keeps it.
    recorder.shown.clear();
    editFirstRow([&](PP_Add_Phys& e) {
        selectAccounts(e, {"Zeta", "Alpha"});
        child<QPushButton>(e, "BDeleteAccount")->click();
        EXPECT_EQ(e.edit().accounts(), std::vector<long>{5});
        EXPECT_EQ(recorder.shown.size(), 0u);
        e.edit().RemoveAccounts({5}); // the user's partition rules aside: nothing is left
        recorder.answer(MsgAnswer::No);
        child<QPushButton>(e, "BOK")->click();
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text,
                  "No accounts are listed for this physician.\r\nDo you wish to delete this physician from all "
                  "accounts?");
        EXPECT_FALSE(e.saved());
        recorder.answer(MsgAnswer::Yes);
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    });
    EXPECT_EQ(db("SELECT is_deleted FROM Physician_profile WHERE physician_id = 10"), "1");
}

// Privileges 8 and 9 x the physician's partition (the user's own, below it, another) x account
// privilege 10 on the physician's one account, which lies in another partition.
TEST_F(PhysicianEditorScreen, AccessFollowsPrivilegeNineThePhysiciansPartitionAndAccountPrivilegeTen) {
    struct Case {
        bool priv9;
        long partition;
        bool acctPriv10;
        bool names, output;
    };
    const Case cases[] = {
        {false, 1, true, false, false}, {true, 1, false, true, false}, {true, 1, true, true, true},
        {true, 3, false, true, false},  {true, 3, true, true, true},   {true, 2, false, false, false},
        {true, 2, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("privilege 9 " + std::to_string(c.priv9) + ", partition " + std::to_string(c.partition) +
                     ", account privilege 10 " + std::to_string(c.acctPriv10));
        exec("UPDATE Physician_profile SET partition_id = " + std::to_string(c.partition) + " WHERE physician_id = 40");
        suite::HospAccount far = account(5, "Far", 2);
        far.privilegeSet = c.acctPriv10 ? privileges({10}) : privileges({});
        login.SetHospAccounts({account(1, "Zeta", 1), account(2, "Alpha", 1), far});
        grant(c.priv9 ? std::initializer_list<int>{8, 9} : std::initializer_list<int>{8});
        PP_Add_Phys e(login);
        ASSERT_TRUE(e.EditPhysician(40, PP_Add_Phys::Mode::Edit));
        EXPECT_EQ(child<QPushButton>(e, "BOK")->isEnabled(), c.priv9);
        EXPECT_EQ(child<QPushButton>(e, "BAddAccount")->isEnabled(), c.priv9);
        EXPECT_EQ(child<QLineEdit>(e, "TLastName")->isEnabled(), c.names);
        EXPECT_EQ(child<QCheckBox>(e, "chkHidePhysician")->isEnabled(), c.names);
        EXPECT_EQ(child<QLabel>(e, "LViewOnlyOutput")->isHidden(), c.output);
        EXPECT_EQ(child<QLabel>(e, "LViewOnlyWeight")->isHidden(), c.output);
        EXPECT_EQ(child<QCheckBox>(e, "CHKAllowEmail")->isEnabled(), c.output);
    }
}

} // namespace

namespace {

// "Set Password..." opens the e-mail password dialog over the editor; its password is written to
// the selected accounts on the editor's save.
TEST_F(PhysicianEditorScreen, SetPasswordWritesTheChosenPasswordToTheSelectedAccounts) {
    bool ran = false;
    editFirstRow([&](PP_Add_Phys& e) {
        ran = true;
        selectAccounts(e, {"Alpha"});
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->objectName(), "PP_Password");
            child<QLineEdit>(*dialog, "txtPassword")->setText("K\xc3\xa4se-123");
            child<QLineEdit>(*dialog, "txtConfirmPassword")->setText("K\xc3\xa4se-123");
            child<QPushButton>(*dialog, "cmdOK")->click();
        });
        child<QPushButton>(e, "cmdSetPassword")->click();
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    });
    ASSERT_TRUE(ran);
    EXPECT_EQ(db("SELECT string2 FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 2"),
              "K\xc3\xa4se-123");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10 AND string2 = 'K\xc3\xa4se-123'"),
              "1");
}

// The online printer offers what the user may print on; a stored printer that is gone, or that
// the user may not use, is reset with its message. Unselecting every report type of an output
// says so in the summary.
TEST_F(PhysicianEditorScreen, AStoredPrinterTheUserMayNotUseIsResetAndAnOutputWithoutReportsSaysSo) {
    exec("INSERT System_printers (printer_id, description, print_queue) VALUES (1, 'Laser', 'LASER1')\n"
         "INSERT System_printers (printer_id, description, print_queue) VALUES (2, 'Radiology', 'RADPRN')\n"
         "INSERT System_printers (printer_id, description, print_queue, save_type) VALUES (3, 'Files', '', 1)\n"
         "INSERT System_printers_extended (printer_id, flag4) VALUES (1, 1)\n"
         "INSERT System_printers_extended (printer_id, flag4) VALUES (2, 1)\n"
         "INSERT System_printers_extended (printer_id, flag4) VALUES (3, 1)\n"
         "INSERT INTO System_printer_privileges VALUES (7, 1, 1, 0, 0, 0, 0, 0, 0, 0, NULL, NULL)\n"
         "INSERT INTO System_printer_privileges VALUES (7, 3, 0, 1, 0, 0, 0, 0, 0, 0, NULL, NULL)\n"
         "UPDATE Physician_attributes SET online_queue = 'radprn' WHERE physician_id = 10 AND hosp_acct_id = -1\n"
         "UPDATE Physician_attributes SET online_queue = 'GONE' WHERE physician_id = 10 AND hosp_acct_id = 2");
    ASSERT_TRUE(printers::SystemPrinters().LoadPrinters());
    editFirstRow([&](PP_Add_Phys& e) {
        auto* printer = child<QComboBox>(e, "CBPrinter");
        selectAccounts(e, {"Zeta"});
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text,
                  "Online Printing Printer Destination of Radiology is invalid.  This setting will be reset.");
        ASSERT_EQ(printer->count(), 2); // no Radiology (no rights), no Files (no queue)
        EXPECT_EQ(printer->itemText(0), "<None>");
        EXPECT_EQ(printer->itemText(1), "North \\ Laser");
        EXPECT_EQ(printer->currentIndex(), 0);
        selectAccounts(e, {"Alpha"});
        ASSERT_EQ(recorder.shown.size(), 2u);
        EXPECT_EQ(recorder.shown[1].text, ProfilePrinterChoice::kNotFound);
        printer->setCurrentIndex(1);
        emit printer->activated(1);
        selectAccounts(e, {"Alpha"}); // shown again: a usable printer stays, without a message
        EXPECT_EQ(printer->currentIndex(), 1);
        EXPECT_EQ(recorder.shown.size(), 2u);
        auto* summary = child<QLabel>(e, "labAccountSummary");
        child<QPushButton>(e, "BFax2Reports")->click();
        EXPECT_EQ(summary->text(), "All Accounts, All Reports");
        child<QPushButton>(e, "BReportsUnSelectAll")->click();
        EXPECT_EQ(summary->text(), "Selected Accounts, No Reports");
        child<QListWidget>(e, "LBReportTypes")->item(1)->setCheckState(Qt::Checked);
        EXPECT_EQ(summary->text(), "All Accounts, All Reports");
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    });
    EXPECT_EQ(db("SELECT online_queue FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 2"),
              "LASER1");
    // Zeta was shown and reset, with a row of its own; the all-accounts row was not shown.
    EXPECT_EQ(db("SELECT online_queue FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 1"), "");
    EXPECT_EQ(db("SELECT online_queue FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = -1"),
              "radprn");
}

// User access: OK opens the user editor on a new physician user, linked both ways; opened again on
// that user it shows and writes its groups; un-checking deletes the user when the physician is
// saved. A new physician's user waits for its id.
TEST_F(PhysicianEditorScreen, UserAccessMakesALinkedUserAndUncheckingDeletesItOnSave) {
    exec("UPDATE User_identifier SET next_user_id = 300");
    std::vector<PhysicianUserRequest> requests;
    std::string userName;
    const auto noGroups = [](QDialog& d) { EXPECT_EQ(child<QTreeWidget>(d, "lvwMembers")->topLevelItemCount(), 0); };
    std::function<void(QDialog&)> onGroupsTab = noGroups;
    list->openUserEditor = [&](const PhysicianUserRequest& r) {
        requests.push_back(r);
        PhysicianUserEditor users(login, "");
        users.chooseGroups = [](QWidget*, const users::clsUser& u, const std::vector<long>& current) {
            EXPECT_EQ(u.m_lngUserId, 300);
            EXPECT_EQ(current, std::vector<long>{});
            return std::vector<users::UserGroupEntry>{{201, "Day Shift", "Readers by day", false}};
        };
        users.runDialog = [&](QDialog& d) {
            const auto enter = [&d](const char* box, const std::string& text) {
                child<QLineEdit>(d, box)->setText(QString::fromStdString(text));
            };
            enter("txtUserName", userName);
            enter("txtPassword", "abc123");
            enter("txtConfirmPassword", "abc123");
            onGroupsTab(d);
            static_cast<users::UA_User_Mgmt_Edit&>(d).cmdOK_Click();
            return d.result();
        };
        return users.Edit(r, nullptr);
    };
    userName = "radams";
    // The user accepted in the user editor is written with the physician: Cancel leaves none.
    editFirstRow([&](PP_Add_Phys& e) {
        recorder.answer(MsgAnswer::OK);
        child<QCheckBox>(e, "chkElectSignature")->click();
        child<QPushButton>(e, "BCancel")->click();
    });
    EXPECT_EQ(db("SELECT COUNT(*) FROM System_user_bindery WHERE user_name = 'RADAMS'"), "0");
    EXPECT_EQ(db("SELECT flag2 FROM Physician_profile WHERE physician_id = 10"), "0");
    requests.clear();
    editFirstRow([&](PP_Add_Phys& e) {
        recorder.answer(MsgAnswer::OK);
        child<QCheckBox>(e, "chkElectSignature")->click();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].physicianId, 10);
        EXPECT_EQ(requests[0].userId, 0);
        EXPECT_EQ(requests[0].lastName, "Adams");
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    });
    const std::string user = db("SELECT user_id FROM System_user_bindery WHERE user_name = 'RADAMS' AND flag1 = 10");
    ASSERT_EQ(user, "300") << (recorder.shown.empty() ? std::string() : recorder.shown.back().text);
    EXPECT_EQ(db("SELECT flag2 FROM Physician_profile WHERE physician_id = 10"), user);
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10 AND elect_signature = 0"), "0");

    // Given access again, the editor opens on the linked user with its groups: one removed, one
    // added, both written with the user.
    exec("INSERT System_user_bindery (user_id, user_name, description, flag3, partition_id, is_shared, enabled) "
         "VALUES (200, 'Night Shift', 'Typists at night', 1, 1, 0, 1)\n"
         "INSERT System_user_bindery (user_id, user_name, description, flag3, partition_id, is_shared, enabled) "
         "VALUES (201, 'Day Shift', 'Readers by day', 3, 1, 0, 1)\n"
         "INSERT System_security_groups VALUES (200, 300, NULL, 0, 0, 0, NULL, NULL, NULL)");
    onGroupsTab = [](QDialog& d) {
        auto* members = child<QTreeWidget>(d, "lvwMembers");
        ASSERT_EQ(members->topLevelItemCount(), 1);
        EXPECT_EQ(members->topLevelItem(0)->text(0), "Night Shift");
        members->setCurrentItem(members->topLevelItem(0));
        child<QPushButton>(d, "cmdRemove")->click();
        child<QPushButton>(d, "cmdAdd")->click();
        ASSERT_EQ(members->topLevelItemCount(), 1);
        EXPECT_EQ(members->topLevelItem(0)->text(0), "Day Shift");
    };
    editFirstRow([&](PP_Add_Phys& e) {
        auto* access = child<QCheckBox>(e, "chkElectSignature");
        access->click(); // off: the user would be deleted on saving
        recorder.answer(MsgAnswer::OK);
        access->click();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[1].userId, 300);
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    });
    EXPECT_EQ(db("SELECT group_id FROM System_security_groups WHERE user_id = 300"), "201");
    EXPECT_EQ(db("SELECT is_deleted FROM System_user_bindery WHERE user_id = 300"), "0");
    onGroupsTab = noGroups;

    // Un-checking names the user and deletes it only when the physician is saved (by a Paxlet
    // administrator: nobody else may take a Paxlet user's e-signature away).
    login.user.is_paxlet_admin = true;
    users::Users().RemoveAll();
    LinkedUsers().deleteUser = [](long id) {
        return users::LoadActiveUsers(&users::Users()) && users::DeleteUser(users::clsUsers::Key(id));
    };
    recorder.shown.clear();
    editFirstRow([&](PP_Add_Phys& e) {
        child<QCheckBox>(e, "chkElectSignature")->click();
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text, "This physician has been assigned a user name.  Unchecking this option will "
                                          "delete the user RADAMS upon saving this physician.");
        EXPECT_EQ(db("SELECT is_deleted FROM System_user_bindery WHERE user_id = 300"), "0");
        // A profile save that fails keeps the physician linked to its user in the editor.
        odbc.arrangeFault("KALDRA", "fail-text flag2 = 0");
        child<QPushButton>(e, "BOK")->click();
        ASSERT_FALSE(e.saved());
        EXPECT_EQ(e.edit().allAccounts().paxlet_user_id, 300);
        EXPECT_EQ(e.edit().allAccounts().paxlet_user_name, "RADAMS");
        recorder.shown.clear();
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved()) << (recorder.shown.empty() ? std::string() : recorder.shown.back().text);
    });
    EXPECT_EQ(db("SELECT is_deleted FROM System_user_bindery WHERE user_id = 300"), "1");
    EXPECT_EQ(db("SELECT flag2 FROM Physician_profile WHERE physician_id = 10"), "0");

    // A new physician: the user editor opens once the physician is saved, on its new id.
    userName = "inovak";
    list->runEditor = [&](PP_Add_Phys& e) {
        type(e, "TLastName", "Novak");
        type(e, "TFirstName", "Ida");
        recorder.answer(MsgAnswer::OK);
        child<QCheckBox>(e, "chkElectSignature")->click();
        EXPECT_EQ(requests.size(), 2u);
        child<QPushButton>(e, "BOK")->click();
        EXPECT_TRUE(e.saved());
    };
    list->findChild<QAction*>("tbrAdd")->trigger();
    ASSERT_EQ(requests.size(), 3u);
    const std::string novak = db("SELECT physician_id FROM Physician_profile WHERE last_name = 'Novak'");
    EXPECT_EQ(std::to_string(requests[2].physicianId), novak);
    EXPECT_EQ(db("SELECT flag2 FROM Physician_profile WHERE physician_id = " + novak),
              db("SELECT user_id FROM System_user_bindery WHERE user_name = 'INOVAK' AND flag1 = " + novak));
    EXPECT_NE(db("SELECT flag2 FROM Physician_profile WHERE physician_id = " + novak), "0");
}

// The last change: the long date and the site's time without seconds.
TEST_F(PhysicianEditorScreen, LastModifiedShowsTheLongDateAndTheSitesMinutes) {
    auto& context = foundation::EventLog::context();
    const std::string kept = context.timeFormat;
    context.timeFormat = "%I:%M:%S %p";
    PP_Add_Phys e(login);
    ASSERT_TRUE(e.EditPhysician(10, PP_Add_Phys::Mode::Edit));
    EXPECT_EQ(child<QLabel>(e, "labLastModified")->text(),
              "Last modified on Monday, November 02, 2026 02:05 PM by jdoe.");
    context.timeFormat = kept;
    EXPECT_EQ(LastModifiedText("2026-02-29 10:00:00", "x"), ""); // no such day
    EXPECT_EQ(LastModifiedText("", "x"), "");
}

} // namespace
