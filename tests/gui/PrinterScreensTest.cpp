#include "DatabaseSession.h"
#include "DecimalCommaLocale.h"
#include "HelpFile.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PR_Add_Format.h"
#include "PR_Add_Printer.h"
#include "PR_Custom_Printers.h"
#include "PR_Printers.h"
#include "RecordingOpener.h"
#include "SessionHelper.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

using namespace printers;
using foundation::DatabaseSession;
using platform::MessageRecorder;
using platform::MsgAnswer;

namespace {

class PrinterScreens : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North General', 0)\n"
             "INSERT System_printers VALUES (1, 'Records Laser', 'MRLASER', 'Courier New', 10, 1, 1, 0, '', 2, 1, "
             "'', 0, 0, NULL, NULL, 'EnvDefault.doc', '')\n"
             "INSERT System_printers VALUES (2, 'Ward Printer', 'WARD', 'Arial', 11, 0, 0, 0, '', 0, 2, 'M', 8, 0, "
             "NULL, NULL, 'EnvDefault.doc', '')\n"
             "INSERT System_printers_extended VALUES (2, 3, 2, 'OM', 8, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, NULL)\n"
             "INSERT System_printer_formats VALUES (8, 'Dictated by <Last, First, Title>', 0, 0, NULL, NULL, NULL)\n"
             "INSERT Batch_cfg (hosp_acct_id, batch_name, batch_nbr, batch_type, st_printer_id) VALUES (1, 'Night', "
             "4, 1, 2)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        DatabaseSession::instance().ReadDatabaseVersion();
        root = odbc.folder() + "/root";
        std::filesystem::create_directories(root + "/KALDRA/SYSTEM");
        std::ofstream(root + "/KALDRA/SYSTEM/EnvLetter.doc") << "x";
    }
    void TearDown() override { DatabaseSession::instance().DisconnectFromSQL(); }

    template <typename T>
    static T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void type(QWidget& w, const char* name, const QString& text) { child<QLineEdit>(w, name)->setText(text); }
    static void click(QWidget& w, const char* name) { QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton); }
    static void showActive(QWidget& w) {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    static clsPrinter valid() {
        clsPrinter p;
        p.m_strDescription = "New Ward";
        p.m_strPrintQueue = "NEWWARD";
        return p;
    }
    std::string scalar(const std::string& sql) { return SuiteTest::scalar(sql); }

    std::string root;
    MessageRecorder recorder;
};

TEST_F(PrinterScreens, EditorChecksOneAtATimeWithMessageAndFocus) {
    struct Case {
        const char* name;
        void (*arrange)(QWidget&);
        const char* message;
        const char* focus;
    } const cases[] = {
        {"description",
         [](QWidget& w) {
             type(w, "LDescription", "  ");
             type(w, "txtFontName", "");
         },
         "Description cannot be blank.", "LDescription"},
        {"font",
         [](QWidget& w) {
             type(w, "txtFontName", " ");
             type(w, "LPrintQueue", "");
         },
         "Summary Font Name cannot be blank.", "txtFontName"},
        {"queue",
         [](QWidget& w) {
             type(w, "LPrintQueue", "");
             type(w, "txtFontSize", "99");
         },
         "Print Queue cannot be blank.", "LPrintQueue"},
        {"size 5", [](QWidget& w) { type(w, "txtFontSize", "5"); },
         "Invalid Font Size.  Please choose a size between 6 and 16.", "txtFontSize"},
        {"size 17", [](QWidget& w) { type(w, "txtFontSize", "17"); },
         "Invalid Font Size.  Please choose a size between 6 and 16.", "txtFontSize"},
        {"size blank", [](QWidget& w) { type(w, "txtFontSize", ""); },
         "Invalid Font Size.  Please choose a size between 6 and 16.", "txtFontSize"},
        {"directory",
         [](QWidget& w) {
             child<QComboBox>(w, "CBSaveType")->setCurrentIndex(1);
             type(w, "LSaveDirectory", "");
         },
         "For Type - Print To File an Output Directory name must be specified.", "LSaveDirectory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clsPrinters list;
        ASSERT_TRUE(list.LoadPrinters());
        PR_Add_Printer editor(list, root);
        editor.Load(valid());
        showActive(editor);
        c.arrange(editor);
        recorder.shown.clear();
        click(editor, "cmdOK");
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text, c.message);
        EXPECT_EQ(recorder.shown[0].title, "Error");
        EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Exclamation);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), c.focus);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers"), "2");
    }
}

TEST_F(PrinterScreens, FontSizesSixAndSixteenAreSaved) {
    for (const char* size : {"6", "16"}) {
        clsPrinters list;
        ASSERT_TRUE(list.LoadPrinters());
        PR_Add_Printer editor(list, root);
        clsPrinter p = valid();
        p.m_strDescription += size;
        editor.Load(p);
        type(editor, "txtFontSize", size);
        EXPECT_EQ(child<QLabel>(editor, "LSummaryFont")->text().toStdString(),
                  std::string("Courier New (") + size + ")");
        click(editor, "cmdOK");
        EXPECT_TRUE(recorder.shown.empty()) << size;
        EXPECT_EQ(scalar("SELECT CONVERT(varchar, summary_size) FROM System_printers WHERE description = 'New Ward" +
                         std::string(size) + "'"),
                  size);
    }
}

TEST_F(PrinterScreens, ACommaSizeIsRefusedInADecimalCommaLocale) {
    kdtest::DecimalCommaLocale locale;
    KD_REQUIRE_DECIMAL_COMMA(locale);
    for (const char* size : {"10,5", "10.5", ""}) {
        clsPrinters list;
        ASSERT_TRUE(list.LoadPrinters());
        PR_Add_Printer editor(list, root);
        editor.Load(valid());
        type(editor, "txtFontSize", size);
        recorder.shown.clear();
        click(editor, "cmdOK");
        ASSERT_EQ(recorder.shown.size(), 1u) << size;
        EXPECT_EQ(recorder.shown[0].text, "Invalid Font Size.  Please choose a size between 6 and 16.");
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers"), "2");
}

TEST_F(PrinterScreens, DuplicateDescriptionAsksAndYesSaves) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    PR_Add_Printer editor(list, root);
    clsPrinter p = valid();
    p.m_strDescription = "WARD PRINTER  ";
    editor.Load(p);
    EXPECT_EQ(editor.windowTitle(), "Add Printer");
    recorder.answer(MsgAnswer::No);
    click(editor, "cmdOK");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "A printer with the same description has already been defined.  Would you still like to add this "
              "printer?");
    EXPECT_EQ(recorder.shown[0].title, "Add Printer");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers"), "2");
    recorder.answer(MsgAnswer::Yes);
    click(editor, "cmdOK");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers"), "3");
    EXPECT_EQ(editor.result(), QDialog::Accepted);
}

TEST_F(PrinterScreens, EditorShowsStoredCodesAndWritesThemBack) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    PR_Add_Printer editor(list, root);
    editor.Load(*list.Find(2));
    EXPECT_EQ(editor.windowTitle(), "Edit Printer - Ward Printer");
    EXPECT_EQ(child<QComboBox>(editor, "CBDefaultFooterType")->currentText(), "Leave Footer As Is");
    EXPECT_EQ(child<QComboBox>(editor, "cmbDesignatorFooter")->currentText(),
              "CUSTOM 1:  Dictated by <Last, First, Title>");
    EXPECT_EQ(child<QComboBox>(editor, "CBDefaultOrigBin")->currentText(), "Middle Paper Tray");
    EXPECT_EQ(child<QComboBox>(editor, "CBDefaultOrigFooterType")->currentText(), "Leave Footer As Is");
    EXPECT_GE(child<QComboBox>(editor, "cmbEnvelopeTemplate")->findText("EnvLetter.doc"), 0);
    const clsPrinter back = editor.Collect();
    const clsPrinter& stored = *list.Find(2);
    EXPECT_EQ(back.m_lngFlag1, stored.m_lngFlag1);
    EXPECT_EQ(back.m_bytOrigDefaultBin, stored.m_bytOrigDefaultBin);
    EXPECT_EQ(back.m_lngOrigFooterFormat, stored.m_lngOrigFooterFormat);
    EXPECT_EQ(back.m_strOrigPrintMacro, stored.m_strOrigPrintMacro);
    EXPECT_EQ(back.m_intSummarySize, 11);
    // Help opens the manual; with none in the program's folder, it says so.
    kdtest::RecordingOpener opener;
    foundation::HelpFile::setFolder(root);
    click(editor, "cmdHelp");
    EXPECT_TRUE(opener.documents.empty());
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text.rfind("The help file ", 0), 0u) << recorder.shown[0].text;
}

TEST_F(PrinterScreens, ListRefusesChangesWithoutTheRight) {
    PR_Printers screen(false, root);
    ASSERT_TRUE(screen.DisplayConfig());
    auto* list = child<QTreeWidget>(screen, "LVPrinters");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->data(0, Qt::UserRole).toString(), "P002");
    for (const char* button : {"BAdd", "BChange", "cmdCopyInsert", "BDelete"}) {
        recorder.shown.clear();
        click(screen, button);
        ASSERT_EQ(recorder.shown.size(), 1u) << button;
        EXPECT_EQ(recorder.shown[0].text, "ACCESS DENIED:  You do not have access to change printers.");
        EXPECT_EQ(recorder.shown[0].title, "Security");
    }
}

// The list opened for a partition shows the printers it sees, named with their partition, and a
// printer added from it joins the partition.
TEST_F(PrinterScreens, TheListShowsThePartitionsPrintersAndAddsIntoIt) {
    exec("INSERT System_partitions VALUES (5, 0, 'North', 0, '/0/5/', NULL)\n"
         "INSERT System_printers VALUES (3, 'North Laser', 'NL', 'Arial', 10, 0, 0, 0, '', 0, 1, '', 0, 0, NULL, "
         "NULL, 'EnvDefault.doc', '')\n"
         "INSERT System_printers_extended VALUES (3, 0, 1, '', 0, 0, 0, 0, 5, 0, NULL, NULL, NULL, NULL, NULL)");
    PR_Printers screen(true, root);
    ASSERT_TRUE(screen.DisplayConfig(5, true));
    auto* list = child<QTreeWidget>(screen, "LVPrinters");
    EXPECT_EQ(list->headerItem()->text(3), "Partition");
    ASSERT_EQ(list->topLevelItemCount(), 2); // not "Ward Printer", which belongs to the root
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Records Laser");
    EXPECT_EQ(list->topLevelItem(0)->text(3), "");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "North Laser");
    EXPECT_EQ(list->topLevelItem(1)->text(3), "North");
    QTimer::singleShot(0, &screen, [] {
        auto* editor = qobject_cast<PR_Add_Printer*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        type(*editor, "LDescription", "North Ward");
        type(*editor, "LPrintQueue", "NW");
        click(*editor, "cmdOK");
    });
    click(screen, "BAdd");
    EXPECT_TRUE(recorder.shown.empty());
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(2)->text(3), "North");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, flag4) FROM System_printers_extended WHERE printer_id = 4"), "5");

    // Without partitions in use the list has no partition column.
    PR_Printers plain(true, root);
    ASSERT_TRUE(plain.DisplayConfig());
    EXPECT_EQ(child<QTreeWidget>(plain, "LVPrinters")->columnCount(), 3);
    EXPECT_EQ(child<QTreeWidget>(plain, "LVPrinters")->topLevelItemCount(), 4);
}

TEST_F(PrinterScreens, DeleteFromTheListRefusesAPrinterInUse) {
    PR_Printers screen(true, root);
    ASSERT_TRUE(screen.DisplayConfig());
    auto* list = child<QTreeWidget>(screen, "LVPrinters");
    list->setCurrentItem(list->topLevelItem(1));
    click(screen, "BDelete");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(
        recorder.shown[0].text.rfind("This printer cannot be deleted since it is in use by at least one batch.", 0),
        0u);
    list->setCurrentItem(list->topLevelItem(0));
    recorder.answer(MsgAnswer::Yes);
    click(screen, "BDelete");
    EXPECT_EQ(recorder.shown.back().text, "Are you sure you want to delete system printer Records Laser?");
    EXPECT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_printers"), "1");
}

TEST_F(PrinterScreens, ExportWritesTheDetailedListAndOpensIt) {
    kdtest::RecordingOpener opener;
    PR_Printers screen(false, root);
    ASSERT_TRUE(screen.DisplayConfig());
    screen.now = [] { return std::string("12/06/2026 01:30:00 PM"); };
    recorder.answer(MsgAnswer::No);
    click(screen, "BExport");
    EXPECT_TRUE(opener.textFiles.empty());
    recorder.answer(MsgAnswer::Yes);
    click(screen, "BExport");
    EXPECT_EQ(recorder.shown.back().text, "Would you like to export a detailed list?");
    ASSERT_EQ(opener.textFiles.size(), 1u);
    std::ifstream in(opener.textFiles[0]);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "Detailed Veltra Text System Printer List     12/06/2026 01:30:00 PM");
}

TEST_F(PrinterScreens, FormatEditorTakesOnePlaceholderAndNeedsText) {
    PR_Add_Format editor;
    EXPECT_EQ(editor.windowTitle(), "Add Custom Footer Format");
    editor.Load("");
    click(editor, "cmdOK");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Please enter a value for the custom format");
    EXPECT_EQ(recorder.shown[0].title, "Error");
    type(editor, "txtFormat", "Signed by ");
    child<QLineEdit>(editor, "txtFormat")->setCursorPosition(10);
    click(editor, "cmdInsertLast");
    EXPECT_EQ(editor.Text(), "Signed by <First Last, Title>");
    recorder.shown.clear();
    click(editor, "cmdInsertFirst");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "Designator has already been inserted into the custom footer.  Please clear the entry first.");
    EXPECT_EQ(editor.Text(), "Signed by <First Last, Title>");
    recorder.shown.clear();
    click(editor, "cmdOK");
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(editor.result(), QDialog::Accepted);
}

TEST_F(PrinterScreens, CustomFormatListShowsPositions) {
    clsPrinters list;
    ASSERT_TRUE(list.LoadPrinters());
    ASSERT_EQ(list.SaveFormat(0, "Signed"), 9);
    PR_Custom_Printers formats(list);
    formats.Fill();
    auto* lvw = child<QTreeWidget>(formats, "lvwFormats");
    ASSERT_EQ(lvw->topLevelItemCount(), 2);
    EXPECT_EQ(lvw->topLevelItem(1)->text(0), "CUSTOM 2");
    EXPECT_EQ(lvw->topLevelItem(1)->text(1), "Signed");
}

} // namespace
