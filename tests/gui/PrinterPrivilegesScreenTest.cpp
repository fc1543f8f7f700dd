#include "PrivilegesFixture.h"
#include "UA_Printer_Privs.h"

#include <QCheckBox>
#include <QPushButton>

#include <memory>

using namespace kdtest;
using users::UA_Printer_Privs;

// Printers of North (1), of North General (3) below it, of South (2), and a fax line of North.
class PrinterPrivilegesScreen : public PrivilegesTest {
protected:
    void SetUp() override {
        PrivilegesTest::SetUp();
        exec("INSERT System_printers (printer_id, description) VALUES (1, 'North Laser')\n"
             "INSERT System_printers (printer_id, description) VALUES (2, 'North FAX Line')\n"
             "INSERT System_printers (printer_id, description) VALUES (3, 'South Laser')\n"
             "INSERT System_printers (printer_id, description) VALUES (4, 'General Laser')\n"
             "INSERT System_printers_extended (printer_id, flag4) VALUES (1, 1)\n"
             "INSERT System_printers_extended (printer_id, flag4) VALUES (2, 1)\n"
             "INSERT System_printers_extended (printer_id, flag4) VALUES (3, 2)\n"
             "INSERT System_printers_extended (printer_id, flag4) VALUES (4, 3)\n"
             "INSERT INTO System_printer_privileges VALUES (60, 0, 1, 0, 0, 0, 0, 0, 0, 0, NULL, NULL)\n"
             "INSERT INTO System_printer_privileges VALUES (60, 1, 0, 1, 0, 0, 0, 0, 0, 0, NULL, NULL)\n"
             "INSERT INTO System_printer_privileges VALUES (60, 2, 1, 1, 0, 0, 0, 0, 0, 0, NULL, NULL)\n"
             "INSERT INTO System_printer_privileges VALUES (70, 1, 1, 0, 0, 0, 0, 0, 0, 0, NULL, NULL)\n"
             "INSERT INTO System_printer_privileges VALUES (70, 3, 1, 1, 0, 0, 0, 0, 0, 0, NULL, NULL)\n"
             "INSERT INTO System_printer_privileges VALUES (61, 4, 1, 1, 0, 0, 0, 0, 0, 0, NULL, NULL)");
        session().history.clear();
    }
    const users::clsPrinterPrivilege* find(UA_Printer_Privs& s, long printerId) {
        for (const auto& p : s.Privileges().Printers())
            if (p.m_lngPrinterId == printerId)
                return &p;
        return nullptr;
    }
};

TEST_F(PrinterPrivilegesScreen, LoadsThePartitionTreesPrintersWithoutFaxAndTheGroupsRights) {
    UA_Printer_Privs s;
    ASSERT_TRUE(s.LoadForm(60, "JDOE", false, 1, true));
    EXPECT_EQ(s.windowTitle(), "System Printer Privileges: JDOE");
    const std::string name = "PAR.partition_name + ' \\ ' + SP.description";
    ASSERT_FALSE(session().history.empty());
    EXPECT_EQ(session().history.back(),
              "SELECT SP.printer_id, " + name +
                  ", copy_access, orig_access, SPP.user_id, SUB.partition_id FROM System_printers SP LEFT JOIN "
                  "System_printers_extended SPE ON (SP.printer_id = SPE.printer_id) LEFT JOIN System_partitions PAR "
                  "ON (SPE.flag4 = PAR.partition_id) FULL OUTER JOIN System_printer_privileges SPP ON SP.printer_id "
                  "= SPP.printer_id AND SPP.user_id in (60, 70) LEFT JOIN System_user_bindery SUB ON "
                  "(SUB.user_id=SPP.user_id) WHERE (" +
                  name + " NOT LIKE '%FAX%' or " + name +
                  " IS NULL) AND (SPP.user_id IN (60, 70) OR SPP.user_id IS NULL) AND (SPE.flag4 = 1 OR "
                  "(PAR.lineage LIKE '%/1/%') OR SPE.flag4 IS NULL) ORDER BY " +
                  name + ", SP.printer_id");
    const auto& printers = s.Privileges().Printers();
    ASSERT_EQ(printers.size(), 3u);
    EXPECT_EQ(printers[0].m_strName, "< All New Printers >");
    EXPECT_TRUE(printers[0].m_blnCopyAccess);
    const auto* north = find(s, 1);
    ASSERT_NE(north, nullptr);
    EXPECT_EQ(north->m_strName, "North \\ North Laser");
    EXPECT_FALSE(north->m_blnCopyAccess);
    EXPECT_TRUE(north->m_blnOriginalAccess);
    EXPECT_TRUE(north->m_blnGroupCopyAccess);
    EXPECT_FALSE(north->m_blnGroupOriginalAccess);
    const auto* general = find(s, 4);
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(general->m_strName, "North General \\ General Laser");
    EXPECT_FALSE(general->m_blnCopyAccess); // another user's rights do not show
    EXPECT_EQ(find(s, 2), nullptr);         // fax
    EXPECT_EQ(find(s, 3), nullptr);         // South
    // The widgets show the same.
    const int northRow = static_cast<int>(north - printers.data());
    EXPECT_TRUE(s.RowBox("chkOriginals", northRow)->isChecked());
    EXPECT_FALSE(s.RowBox("chkCopies", northRow)->isChecked());
    EXPECT_TRUE(s.RowBox("chkCopiesGroup", northRow)->isChecked());
    EXPECT_FALSE(s.RowBox("chkCopiesGroup", northRow)->isEnabled());
}

TEST_F(PrinterPrivilegesScreen, WithoutPartitionsTheNameIsTheDescription) {
    UA_Printer_Privs s;
    ASSERT_TRUE(s.LoadForm(70, "NURSES", true, 1, false));
    EXPECT_EQ(session().history.back().rfind("SELECT SP.printer_id, SP.description, copy_access", 0), 0u);
    EXPECT_NE(session().history.back().find("SPP.user_id in (70) "), std::string::npos);
    EXPECT_EQ(find(s, 1)->m_strName, "North Laser");
    EXPECT_TRUE(find(s, 1)->m_blnCopyAccess); // the group's own right
    EXPECT_TRUE(s.RowBox("chkCopiesGroup", 0)->isHidden());
}

TEST_F(PrinterPrivilegesScreen, SelectAllWritesEveryOfferedPrinterAndDropsTheFaxRow) {
    UA_Printer_Privs s;
    ASSERT_TRUE(s.LoadForm(60, "JDOE", false, 1, true));
    s.findChild<QPushButton*>("cmdSelectAll")->click();
    EXPECT_TRUE(s.RowBox("chkCopies", 2)->isChecked());
    session().history.clear();
    s.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(s.result(), QDialog::Accepted);
    ASSERT_FALSE(session().history.empty());
    const std::string& batch = session().history.front();
    EXPECT_EQ(batch.rfind("SET XACT_ABORT ON\r\nBEGIN TRANSACTION\r\nDELETE FROM System_printer_privileges WHERE "
                          "user_id = 60\r\nINSERT INTO System_printer_privileges VALUES(60, 0, 1, 1, 0, 0, 0, 0, 0, "
                          "0, NULL, NULL)\r\n",
                          0),
              0u)
        << batch;
    EXPECT_EQ(rows("SELECT printer_id, copy_access, orig_access FROM System_printer_privileges WHERE user_id = 60 "
                   "ORDER BY printer_id"),
              (std::vector<std::string>{"0|1|1", "1|1|1", "4|1|1"}));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM System_printer_privileges WHERE user_id <> 60"),
              std::vector<std::string>{"3"});
    EXPECT_EQ(logRows(),
              (std::vector<std::string>{"20023|2|2|50|1|Printer privileges for user JDOE have been modified."}));
}

TEST_F(PrinterPrivilegesScreen, ClearAllLeavesNoRowForTheUser) {
    UA_Printer_Privs s;
    ASSERT_TRUE(s.LoadForm(60, "JDOE", false, 1, true));
    s.findChild<QPushButton*>("cmdClearAll")->click();
    EXPECT_FALSE(s.RowBox("chkOriginals", 1)->isChecked());
    s.RowBox("chkCopies", 1)->setChecked(true); // one right set by hand
    s.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(rows("SELECT printer_id, copy_access, orig_access FROM System_printer_privileges WHERE user_id = 60"),
              std::vector<std::string>{std::to_string(s.Privileges().Printers()[1].m_lngPrinterId) + "|1|0"});
}

TEST_F(PrinterPrivilegesScreen, ALinkLostInTheMiddleOfTheSaveKeepsTheStoredRightsAndTheScreen) {
    const std::string query = "SELECT user_id, printer_id, copy_access, orig_access FROM System_printer_privileges "
                              "ORDER BY user_id, printer_id";
    const auto stored = rows(query);
    UA_Printer_Privs s;
    ASSERT_TRUE(s.LoadForm(60, "JDOE", false, 1, true));
    s.findChild<QPushButton*>("cmdSelectAll")->click();
    // SET XACT_ABORT ON, BEGIN TRANSACTION, the delete and the first insert run; then the link drops,
    // on the first try and on the session's retry.
    odbc.arrangeFault("KALDRA", "drop-link-after 4\ndrop-link-after 4");
    s.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_NE(s.result(), QDialog::Accepted);
    EXPECT_EQ(rows(query), stored);
    EXPECT_TRUE(logRows().empty());
    EXPECT_TRUE(s.RowBox("chkCopies", 2)->isChecked()); // the edits are still on the screen
}
