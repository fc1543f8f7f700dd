#include "DatabaseSession.h"
#include "EventLog.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PrinterListExport.h"
#include "RecordingOpener.h"
#include "SessionHelper.h"
#include "clsPrinters.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace printers;
using foundation::DatabaseSession;
using platform::MessageRecorder;
using platform::MsgAnswer;

namespace {

class PrinterStoreTest : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North General', 0)\n"
             "INSERT System_printers VALUES (3, 'Cardiology', 'CARD', 'Arial', 11, 2, 2, 0, '', 2, 2, 'M3', 2, 3, "
             "NULL, NULL, 'EnvLetter.doc', 'ENV3')\n"
             "INSERT System_printers VALUES (1, 'Records Laser', 'MRLASER', 'Courier New', 10, 1, 1, 0, '', 2, 1, "
             "'', 0, 0, NULL, NULL, 'EnvDefault.doc', '')\n"
             "INSERT System_printers VALUES (2, 'Archive Files', 'FILES', 'Courier New', 9, 0, 0, 1, '/srv/out', 0, 0, "
             "'', 8, 0, NULL, NULL, 'EnvDefault.doc', '')\n"
             "INSERT System_printers_extended VALUES (3, 3, 2, 'ORIG3', 8, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, "
             "NULL)\n"
             "INSERT System_printers_extended VALUES (2, 1, 1, 'ORIG2', 6, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, "
             "NULL)\n"
             "INSERT System_printers_extended VALUES (9, 4, 3, 'ORPHAN', 7, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, "
             "NULL)\n"
             "INSERT System_printer_formats VALUES (8, 'Dictated by <Last, First, Title>', 0, 0, NULL, NULL, NULL)\n"
             "INSERT Batch_cfg (hosp_acct_id, batch_name, batch_nbr, batch_type, st_printer_id, is_deleted) VALUES "
             "(1, 'Old Stat', 4, 2, 2, 1)\n"
             "INSERT Batch_groups_cfg (hosp_acct_id, batch_nbr, group_nbr, group_name, printer_id, is_deleted) "
             "VALUES (1, 6, 1, 'Cardiology Copies', 3, 0)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        foundation::EventLog::context().logFolder = odbc.folder();
        setVersion("8.10");
    }
    void TearDown() override { DatabaseSession::instance().DisconnectFromSQL(); }

    void setVersion(const std::string& version) {
        exec("UPDATE Database_version SET version = " + version);
        DatabaseSession::instance().ReadDatabaseVersion();
    }
    // The latest statement sent that holds the text; "" when none does.
    static std::string sent(const std::string& text) {
        const auto& h = DatabaseSession::instance().history;
        const auto it =
            std::find_if(h.rbegin(), h.rend(), [&](const std::string& s) { return s.find(text) != std::string::npos; });
        return it == h.rend() ? std::string() : *it;
    }

    static clsPrinter newPrinter(const std::string& description) {
        clsPrinter p;
        p.m_strDescription = description;
        p.m_strPrintQueue = "WARD";
        p.m_intSummarySize = 12;
        p.m_bytDefaultBin = 2;
        p.m_bytDefaultFooterType = 1;
        p.m_lngFlag1 = 3;
        p.m_lngFlag2 = 5;
        p.m_bytOrigDefaultBin = 4;
        p.m_bytOrigFooterType = 2;
        p.m_strOrigPrintMacro = "OM";
        p.m_lngOrigFooterFormat = 8;
        return p;
    }
    MessageRecorder recorder;
};

TEST_F(PrinterStoreTest, LoadMergesThePrintersTheirOriginalsAndTheFormatsById) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    ASSERT_EQ(list.Count(), 3u);
    const auto& p = list.Printers();
    EXPECT_EQ(p[0].m_lngPrinterId, 1);
    EXPECT_EQ(p[2].m_lngPrinterId, 3);
    EXPECT_FALSE(p[0].m_blnHasOriginals);
    EXPECT_EQ(p[0].m_bytOrigDefaultBin, 0);
    EXPECT_TRUE(p[1].m_blnHasOriginals);
    EXPECT_EQ(p[1].m_strOrigPrintMacro, "ORIG2");
    EXPECT_EQ(p[1].m_lngOrigFooterFormat, 6);
    EXPECT_EQ(p[1].m_strSaveToDirectory, "/srv/out");
    EXPECT_EQ(p[2].m_bytOrigDefaultBin, 3);
    EXPECT_EQ(p[2].m_bytOrigFooterType, 2);
    EXPECT_EQ(p[2].m_strEnvelopeMacro, "ENV3");
    EXPECT_EQ(p[2].m_lngFlag2, 3);
    // A live group makes Cardiology in use; a deleted batch does not count for Archive Files.
    EXPECT_EQ(p[2].m_lngInUseGroup, 6);
    EXPECT_TRUE(p[2].InUse());
    EXPECT_FALSE(p[1].InUse());
    ASSERT_EQ(list.Formats().size(), 1u);
    EXPECT_EQ(list.Formats()[0].m_lngFormatId, 8);
    EXPECT_EQ(list.NextFormatId(), 9);
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(PrinterStoreTest, OldDatabasesReadNoOriginals) {
    setVersion("2.03");
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    for (const auto& p : list.Printers())
        EXPECT_FALSE(p.m_blnHasOriginals);
    for (const auto& sent : DatabaseSession::instance().history)
        EXPECT_EQ(sent.find("System_printers_extended"), std::string::npos);
}

TEST_F(PrinterStoreTest, AFailedReadShowsTheLoadMessageAndLeavesTheListEmpty) {
    exec("DROP TABLE System_printer_formats");
    clsPrinters list;
    EXPECT_FALSE(list.LoadPrinters());
    EXPECT_EQ(list.Count(), 0u);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text.find("Unable to load the Veltra system printers."), 0u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 80157 AND severity = 4"), "1");
}

TEST_F(PrinterStoreTest, NewPrinterTakesTheNextIdWithItsOriginalsRow) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    ASSERT_TRUE(list.SavePrinter(newPrinter("Ward 4 O'Neill")));
    const auto& sent = DatabaseSession::instance().history;
    const auto batch = std::find_if(sent.rbegin(), sent.rend(), [](const std::string& s) {
        return s.find("INSERT System_printers VALUES") != std::string::npos;
    });
    ASSERT_NE(batch, sent.rend());
    EXPECT_NE(batch->find("DECLARE @printer_id INT\r\nIF EXISTS (SELECT printer_id FROM System_printers)\r\nSELECT "
                          "@printer_id = 4\r\nELSE\r\nSELECT @printer_id = 1\r\nINSERT System_printers VALUES "
                          "(@printer_id, 'Ward 4 O''Neill', 'WARD', 'Courier New', 12, 0, 0, 0, '', 2, 1, '', 3, 5, "
                          "NULL, NULL, 'EnvDefault.doc', '')\r\nINSERT INTO System_printers_extended "
                          "VALUES(@printer_id, 4, 2, 'OM', 8, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, NULL)"),
              std::string::npos);
    EXPECT_EQ(scalar("SELECT description FROM System_printers WHERE printer_id = 4"), "Ward 4 O'Neill");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, orig_footer_format) + orig_default_print_macro FROM "
                     "System_printers_extended WHERE printer_id = 4"),
              "8OM");
    EXPECT_EQ(list.Count(), 4u);
}

TEST_F(PrinterStoreTest, FirstPrinterOfAnEmptyTableIsOne) {
    exec("DELETE System_printers\nDELETE System_printers_extended");
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    ASSERT_TRUE(list.SavePrinter(newPrinter("First")));
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, printer_id) FROM System_printers"), "1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers_extended WHERE printer_id = 1"), "1");
}

TEST_F(PrinterStoreTest, VersionGateDecidesTheOriginalsRow) {
    struct Case {
        const char* version;
        const char* rows;
    } const cases[] = {{"2.03", "0"}, {"2.04", "1"}, {"8.10", "1"}};
    for (const auto& c : cases) {
        exec("DELETE System_printers WHERE printer_id > 3\nDELETE System_printers_extended WHERE printer_id > 3");
        setVersion(c.version);
        clsPrinters list;
        ASSERT_TRUE(list.LoadPrinters());
        ASSERT_TRUE(list.SavePrinter(newPrinter("Gate"))) << c.version;
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers WHERE printer_id = 4"), "1") << c.version;
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers_extended WHERE printer_id = 4"), c.rows) << c.version;
    }
}

TEST_F(PrinterStoreTest, ChangedPrinterUpdatesOrAddsItsOriginalsRow) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    for (long id : {1L, 3L}) { // printer 1 has no originals row yet, printer 3 has one
        clsPrinter p = *list.Find(id);
        p.m_strDescription = "Changed " + std::to_string(id);
        p.m_bytOrigDefaultBin = 5;
        p.m_strOrigPrintMacro = "NEW";
        ASSERT_TRUE(list.SavePrinter(p));
        EXPECT_NE(sent("UPDATE System_printers\r\n")
                      .find("UPDATE System_printers\r\nSET description =   'Changed " + std::to_string(id) +
                            "',\r\n    print_queue =   '"),
                  std::string::npos);
        EXPECT_EQ(scalar("SELECT description FROM System_printers WHERE printer_id = " + std::to_string(id)),
                  "Changed " + std::to_string(id));
        EXPECT_EQ(scalar("SELECT CONVERT(varchar, orig_default_bin) + orig_default_print_macro FROM "
                         "System_printers_extended WHERE printer_id = " +
                         std::to_string(id)),
                  "5NEW");
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers_extended WHERE printer_id IN (1, 3)"), "2");
}

TEST_F(PrinterStoreTest, AnIdTakenByAnotherConsoleFailsWithoutAnOriginalsRowForTheOtherPrinter) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    // Another console on an older release adds printer 4 without an originals row.
    exec("INSERT System_printers VALUES (4, 'Other Console', 'OTHER', 'Courier New', 10, 0, 0, 0, '', 0, 0, '', 0, "
         "0, NULL, NULL, 'EnvDefault.doc', '')");
    EXPECT_FALSE(list.SavePrinter(newPrinter("Mine")));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "An error was encountered trying to save the printer.  Printer not saved.");
    EXPECT_EQ(recorder.shown.back().title, "Error");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers_extended WHERE printer_id = 4"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers WHERE description = 'Mine'"), "0");
    EXPECT_EQ(kdtest::sessionScalar(DatabaseSession::instance(), "SELECT @@TRANCOUNT"), "0");
    // The list was read again and now holds the other console's printer: a second try gets id 5.
    ASSERT_NE(list.Find(4), nullptr);
    ASSERT_TRUE(list.SavePrinter(newPrinter("Mine")));
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, printer_id) FROM System_printers WHERE description = 'Mine'"), "5");
}

TEST_F(PrinterStoreTest, LongPastesAreCutToTheColumnsInCharacters) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    std::string paste;
    for (int i = 0; i < 5000; ++i)
        paste += "\xc3\xa9'"; // é and an apostrophe: 10 000 characters
    clsPrinter p = newPrinter(paste);
    p.m_strPrintQueue = paste;
    p.m_strSaveToDirectory = paste;
    p.m_strDefaultPrintMacro = paste;
    p.m_strOrigPrintMacro = paste;
    p.m_strEnvelopeMacro = paste;
    ASSERT_TRUE(list.SavePrinter(p));
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, LEN(description)) + '/' + CONVERT(varchar, LEN(print_queue)) + '/' + "
                     "CONVERT(varchar, LEN(save_to_directory)) FROM System_printers WHERE printer_id = 4"),
              "50/100/255");
    EXPECT_EQ(list.Find(4)->m_strDescription.substr(0, 3), "\xc3\xa9'");
}

TEST_F(PrinterStoreTest, DuplicatesIgnoreCaseAndTrailingBlanks) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    struct Case {
        const char* description;
        long exclude;
        bool taken;
    } const cases[] = {
        {"Cardiology", 0, true},    {"CARDIOLOGY", 0, true},  {"cardiology   ", 0, true},
        {"  Cardiology", 0, false}, {"Cardiology", 3, false}, {"Cardio", 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(list.DescriptionTaken(c.description, c.exclude), c.taken) << c.description;
}

TEST_F(PrinterStoreTest, DeleteRechecksUseInTheDatabaseAndNamesTheUsers) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    ASSERT_FALSE(list.Find(1)->InUse());
    // Meanwhile a batch starts printing on printer 1.
    exec("INSERT Batch_cfg (hosp_acct_id, batch_name, batch_nbr, batch_type, st_printer_id, is_deleted) VALUES (1, "
         "'Night Print', 9, 1, 1, 0)");
    EXPECT_FALSE(list.DeletePrinter(1));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "This printer cannot be deleted since it is in use by at least one batch.\n\n"
                                      "North General, Night Print");
    EXPECT_EQ(recorder.shown[0].title, "Error");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers WHERE printer_id = 1"), "1");
    EXPECT_TRUE(list.Find(1)->InUse());

    recorder.shown.clear();
    EXPECT_FALSE(list.DeletePrinter(3));
    EXPECT_NE(recorder.shown[0].text.find("North General, , Cardiology Copies"), std::string::npos);
}

TEST_F(PrinterStoreTest, DeleteAsksAndRemovesBothRows) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    recorder.answer(MsgAnswer::No);
    EXPECT_FALSE(list.DeletePrinter(2)); // used only by a deleted batch
    EXPECT_EQ(recorder.shown.back().text, "Are you sure you want to delete system printer Archive Files?");
    EXPECT_EQ(recorder.shown.back().title, "Delete Printer");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers WHERE printer_id = 2"), "1");
    recorder.answer(MsgAnswer::Yes);
    EXPECT_TRUE(list.DeletePrinter(2));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers WHERE printer_id = 2"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers_extended WHERE printer_id = 2"), "0");
    EXPECT_EQ(list.Find(2), nullptr);
}

TEST_F(PrinterStoreTest, CustomFormatsAreAddedAboveTheBuiltInsAndChangedInPlace) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    EXPECT_EQ(list.SaveFormat(0, "Signed by <First Last, Title>"), 9);
    EXPECT_EQ(sent("System_printer_formats WHERE custom_format_id = 9"),
              "IF EXISTS (SELECT * FROM System_printer_formats WHERE custom_format_id = 9)\r\n"
              "UPDATE System_printer_formats\r\nSET format_description = 'Signed by <First Last, Title>'\r\n"
              "WHERE custom_format_id = 9\r\nELSE\r\nINSERT System_printer_formats VALUES(9, 'Signed by "
              "<First Last, Title>', 0, 0, NULL, NULL, NULL)");
    EXPECT_EQ(list.SaveFormat(8, "O'Brien's <Last, First, Title>"), 8);
    EXPECT_EQ(scalar("SELECT format_description FROM System_printer_formats WHERE custom_format_id = 8"),
              "O'Brien's <Last, First, Title>");
    ASSERT_EQ(list.Formats().size(), 2u);
    EXPECT_EQ(FooterFormatText(9, list.Formats()), "CUSTOM 2:  Signed by <First Last, Title>");
}

} // namespace

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(PrinterStoreTest, DetailedListIsWrittenAsLaidOutAndOpened) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    const std::string expected = readFile(KD_PRINTERS_DATA "/NPTEMP.expected");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(DetailedPrinterList(list, "12/06/2026 01:30:00 PM"), expected);

    const std::string root = odbc.folder() + "/root";
    std::filesystem::create_directories(root + "/KALDRA");
    kdtest::RecordingOpener opener;
    const std::string path = ExportDetailedList(list, root, "12/06/2026 01:30:00 PM");
    EXPECT_EQ(path, root + "/KALDRA/NPTEMP.TXT");
    EXPECT_EQ(readFile(path), expected);
    EXPECT_EQ(opener.textFiles, std::vector<std::string>{path});
    // No KALDRA folder: nothing written, nothing opened.
    EXPECT_EQ(ExportDetailedList(list, odbc.folder() + "/missing", "x"), "");
    EXPECT_EQ(opener.textFiles.size(), 1u);
}

// A partition sees its own printers, those of the partitions below it and the printers of no partition
// (no originals row); a printer the list adds or gives its originals row belongs to the partition.
TEST_F(PrinterStoreTest, APartitionSeesItsOwnAndLowerPrintersAndAddsIntoItself) {
    exec("INSERT System_partitions VALUES (5, 0, 'North', 0, '/0/5/', NULL)\n"
         "INSERT System_partitions VALUES (6, 5, 'North Clinics', 0, '/0/5/6/', NULL)\n"
         "INSERT System_partitions VALUES (7, 0, 'South', 0, '/0/7/', NULL)\n"
         "INSERT System_partitions VALUES (15, 0, 'West', 0, '/0/15/', NULL)\n"
         "INSERT System_printers VALUES (4, 'North Laser', 'NL', 'Arial', 10, 0, 0, 0, '', 0, 1, '', 0, 0, NULL, "
         "NULL, 'EnvDefault.doc', '')\n"
         "INSERT System_printers VALUES (5, 'Clinic Laser', 'CL', 'Arial', 10, 0, 0, 0, '', 0, 1, '', 0, 0, NULL, "
         "NULL, 'EnvDefault.doc', '')\n"
         "INSERT System_printers VALUES (6, 'South Laser', 'SL', 'Arial', 10, 0, 0, 0, '', 0, 1, '', 0, 0, NULL, "
         "NULL, 'EnvDefault.doc', '')\n"
         "INSERT System_printers VALUES (7, 'West Laser', 'WL', 'Arial', 10, 0, 0, 0, '', 0, 1, '', 0, 0, NULL, "
         "NULL, 'EnvDefault.doc', '')\n"
         "INSERT System_printers_extended VALUES (4, 0, 1, '', 0, 0, 0, 0, 5, 0, NULL, NULL, NULL, NULL, NULL)\n"
         "INSERT System_printers_extended VALUES (5, 0, 1, '', 0, 0, 0, 0, 6, 0, NULL, NULL, NULL, NULL, NULL)\n"
         "INSERT System_printers_extended VALUES (6, 0, 1, '', 0, 0, 0, 0, 7, 0, NULL, NULL, NULL, NULL, NULL)\n"
         "INSERT System_printers_extended VALUES (7, 0, 1, '', 0, 0, 0, 0, 15, 0, NULL, NULL, NULL, NULL, NULL)");
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    struct Case {
        long partition;
        std::vector<long> seen;
    } const cases[] = {
        {0, {1, 2, 3, 4, 5, 6, 7}}, // the root sees all
        {5, {1, 4, 5}},             // its own, its sub-partition's, and the one of no partition
        {6, {1, 5}},                // not its parent's
        {1, {1}},                   // "/1/" is not part of "/0/15/"
        {99, {1}},                  // an unknown partition: only the printers of none
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(list.ReadPartitions(c.partition));
        std::vector<long> seen;
        for (const auto& p : list.Printers())
            if (list.SeenByPartition(p.m_lngPrinterId))
                seen.push_back(p.m_lngPrinterId);
        EXPECT_EQ(seen, c.seen) << c.partition;
    }
    ASSERT_TRUE(list.ReadPartitions(5));
    EXPECT_EQ(list.PartitionName(5), "North Clinics");
    EXPECT_EQ(list.PartitionName(1), "");
    EXPECT_EQ(list.Find(5)->m_lngPartitionId, 6);
    const std::string exported = DetailedPrinterList(list, "now");
    EXPECT_NE(exported.find("North Laser"), std::string::npos);
    EXPECT_EQ(exported.find("South Laser"), std::string::npos);

    clsPrinter added = newPrinter("North Ward");
    added.m_lngPartitionId = 5;
    ASSERT_TRUE(list.SavePrinter(added));
    EXPECT_EQ(scalar("SELECT flag4 FROM System_printers_extended SPE JOIN System_printers SP ON SP.printer_id = "
                     "SPE.printer_id WHERE description = 'North Ward'"),
              "5");
    // Printer 1 had no originals row: it gets one in the partition it was saved from.
    clsPrinter records = *list.Find(1);
    records.m_lngPartitionId = 5;
    ASSERT_TRUE(list.SavePrinter(records));
    EXPECT_EQ(scalar("SELECT flag4 FROM System_printers_extended WHERE printer_id = 1"), "5");
    // A printer that has its row keeps its partition when changed.
    clsPrinter south = *list.Find(6);
    south.m_lngPartitionId = 5;
    ASSERT_TRUE(list.SavePrinter(south));
    EXPECT_EQ(scalar("SELECT flag4 FROM System_printers_extended WHERE printer_id = 6"), "7");
    // A load forgets the partition: every printer counts until it is read again.
    EXPECT_TRUE(list.SeenByPartition(6));

    // Databases without the extended table keep no partitions.
    setVersion("2.03");
    ASSERT_TRUE(list.LoadPrinters());
    const size_t before = DatabaseSession::instance().history.size();
    ASSERT_TRUE(list.ReadPartitions(6));
    EXPECT_TRUE(list.SeenByPartition(6));
    EXPECT_EQ(DatabaseSession::instance().history.size(), before);
}

} // namespace
