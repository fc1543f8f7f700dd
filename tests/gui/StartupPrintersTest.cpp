#include "CupsServer.h"
#include "StartupFixture.h"
#include "clsPrinterTrays.h"
#include "clsPrinters.h"

#include "SuiteConnection.h"

namespace {

using kdtest::StartupTest;

// After the log-in the program's printer list holds the site's printers, each with its originals
// row and the custom formats; a list that cannot be read is reported and start-up goes on.
TEST_F(StartupTest, LoadsTheSystemPrintersAfterTheLogIn) {
    suite::SuiteConnection db;
    ASSERT_TRUE(db.open(kdtest::siteConnectionString(site)));
    db.execute("UPDATE System_printers_extended SET orig_default_bin = 3 WHERE printer_id = 4\n"
               "INSERT System_printer_formats VALUES (8, 'Copy for <First Last, Title>', 0, 0, NULL, NULL, NULL)");
    const auto count = db.query("SELECT COUNT(*), (SELECT COUNT(*) FROM System_printer_formats) FROM System_printers");
    ASSERT_TRUE(count && !count->empty());
    db.close();

    auto& list = printers::SystemPrinters();
    list = printers::clsPrinters{};
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    ASSERT_TRUE(start(window, login)) << stoppedAt;
    EXPECT_TRUE(recorder.shown.empty());
    ASSERT_EQ(std::to_string(list.Count()), *count->front()[0]);
    const printers::clsPrinter* cardiology = list.Find(4);
    ASSERT_NE(cardiology, nullptr);
    EXPECT_EQ(cardiology->m_strDescription, "Cardiology Office");
    EXPECT_TRUE(cardiology->m_blnHasOriginals);
    EXPECT_EQ(cardiology->m_bytOrigDefaultBin, 3);
    ASSERT_EQ(std::to_string(list.Formats().size()), *count->front()[1]);
    EXPECT_EQ(list.Formats().back().m_strDescription, "Copy for <First Last, Title>");

    ASSERT_TRUE(db.open(kdtest::siteConnectionString(site)));
    db.execute("DROP TABLE System_printer_formats");
    db.close();
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    suite::LoginComponent again;
    EXPECT_TRUE(start(window, again)) << stoppedAt;
    EXPECT_EQ(list.Count(), 0u);
    // The driver's message for the failed read, then the list's own.
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_NE(recorder.shown[0].text.find("Invalid object name 'System_printer_formats'"), std::string::npos);
    EXPECT_EQ(recorder.shown[1].text, "Unable to load the Veltra system printers. (Message number 80157)");
}

// Step 14 also reads the trays of the workstation queues the site's printers print on: here the
// demo's "MRLASER1" is a queue of the private scheduler with four trays, the other queues are not.
TEST_F(StartupTest, ReadsTheTraysOfTheQueuesTheSystemPrintersUse) {
    KD_REQUIRE_CUPSD();
    kdtest::TestQueue queue("MRLASER1");
    auto& trays = printers::PrinterTrays();
    trays.Clear();
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    ASSERT_TRUE(start(window, login)) << stoppedAt;
    for (const char* queueName : {"MRLASER1", "RADPRN", "CARDOFC"})
        EXPECT_TRUE(trays.Read(queueName)) << queueName;
    EXPECT_FALSE(trays.Read("")); // the print-to-file printer names no queue
    ASSERT_TRUE(trays.Trays("MRLASER1").has_value());
    EXPECT_EQ(trays.Trays("MRLASER1")->size(), 4u);
    EXPECT_FALSE(trays.Trays("RADPRN").has_value());
    trays.Clear();
}

} // namespace
