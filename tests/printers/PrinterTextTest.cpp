#include "PrinterText.h"
#include "PrinterRules.h"
#include "clsPrinter.h"
#include "clsPrinters.h"

#include <gtest/gtest.h>

using namespace printers;

namespace {

TEST(PrinterText, BinCodes) {
    struct Case {
        int code;
        const char* text;
    } const cases[] = {
        {0, "Automatically Select"},
        {1, "Upper Paper Tray"},
        {2, "Lower Paper Tray"},
        {3, "Middle Paper Tray"},
        {4, "Manual Paper Feed"},
        {5, "Envelope Feeder"},
        {6, "Envelope, Manual Feed"},
        {7, "Auto Select"},
        {8, "Tractor Feeder"},
        {9, "Small Paper Feeder"},
        {10, "Large Paper Bin"},
        {11, "Large Capacity"},
        {12, "Bin: 12"},
        {13, "Bin: 13"},
        {14, "Cassette"},
        {15, "Form Source"},
        {16, "Bin: 16"},
        {259, "Bin: 259"},
        {-1, "NONE"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BinText(c.code), c.text) << c.code;
    EXPECT_EQ(PaperBinNames().size(), 14u);
}

TEST(PrinterText, FooterTypesForCopiesAndOriginals) {
    struct Case {
        int code;
        const char* copies;
        const char* originals;
    } const cases[] = {
        {0, "UNKNOWN", "UNKNOWN"},
        {1, "Replace With Designator Text", "Use Replacement Text"},
        {2, "Leave Footer As Is", "Leave Footer As Is"},
        {3, "Clear Footer Text", "Clear Footer Text"},
        {4, "UNKNOWN", "UNKNOWN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FooterTypeText(c.code, false), c.copies) << c.code;
        EXPECT_EQ(FooterTypeText(c.code, true), c.originals) << c.code;
    }
}

TEST(PrinterText, FooterFormatsBuiltInThenCustomByPosition) {
    const std::vector<clsCustomFormat> customs = {{8, "Dictated by <Last, First, Title>"}, {12, "Signed"}};
    struct Case {
        long code;
        const char* text;
    } const cases[] = {
        {0, "Copy for <Designator>"},
        {1, "Copy For <Designator>"},
        {2, "COPY FOR <Designator>"},
        {3, "<Designator>"},
        {4, "<Designator> Copy"},
        {5, "<Designator> COPY"},
        {6, "Original"},
        {7, "Medical Records"},
        {8, "CUSTOM 1:  Dictated by <Last, First, Title>"},
        {12, "CUSTOM 2:  Signed"},
        {9, "UNKNOWN"},
        {-1, "UNKNOWN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FooterFormatText(c.code, customs), c.text) << c.code;
    EXPECT_EQ(SaveTypeText(0), "Standard Output");
    EXPECT_EQ(SaveTypeText(1), "Print To File");
}

TEST(PrinterText, KeyIsIdInThreeDigits) {
    clsPrinter p;
    p.m_lngPrinterId = 7;
    EXPECT_EQ(p.Key(), "P007");
    p.m_lngPrinterId = 1234;
    EXPECT_EQ(p.Key(), "P1234");
}

clsPrinter validPrinter() {
    clsPrinter p;
    p.m_strDescription = "Ward Printer";
    p.m_strPrintQueue = "WARD1";
    return p;
}

TEST(PrinterRules, ChecksInOrderWithTheirField) {
    clsPrinters empty;
    struct Case {
        const char* name;
        void (*change)(clsPrinter&);
        const char* size;
        const char* message;
        PrinterField field;
    } const cases[] = {
        {"all blank",
         [](clsPrinter& p) {
             p = clsPrinter{};
             p.m_strSummaryFont = "";
         },
         "", "Description cannot be blank.", PrinterField::Description},
        {"blank description only", [](clsPrinter& p) { p.m_strDescription = "   "; }, "10",
         "Description cannot be blank.", PrinterField::Description},
        {"font and queue blank",
         [](clsPrinter& p) {
             p.m_strSummaryFont = "";
             p.m_strPrintQueue = "";
         },
         "99", "Summary Font Name cannot be blank.", PrinterField::SummaryFont},
        {"queue blank, bad size", [](clsPrinter& p) { p.m_strPrintQueue = " "; }, "99", "Print Queue cannot be blank.",
         PrinterField::PrintQueue},
        {"size and directory", [](clsPrinter& p) { p.m_bytSaveType = 1; }, "17",
         "Invalid Font Size.  Please choose a size between 6 and 16.", PrinterField::FontSize},
        {"directory",
         [](clsPrinter& p) {
             p.m_bytSaveType = 1;
             p.m_strSaveToDirectory = "  ";
         },
         "10", "For Type - Print To File an Output Directory name must be specified.", PrinterField::SaveDirectory},
        {"standard output needs no directory", [](clsPrinter&) {}, "10", "", PrinterField::None},
    };
    for (const auto& c : cases) {
        clsPrinter p = validPrinter();
        c.change(p);
        const PrinterCheck check = CheckPrinter(p, c.size, empty);
        EXPECT_EQ(check.m_strMessage, c.message) << c.name;
        EXPECT_EQ(check.m_enuField, c.field) << c.name;
    }
}

TEST(PrinterRules, FontSizeBoundariesAndForms) {
    clsPrinters empty;
    struct Case {
        const char* size;
        bool accepted;
    } const cases[] = {
        {"5", false},
        {"6", true},
        {"16", true},
        {"17", false},
        {"", false},
        {"  ", false},
        {"10,5", false},
        {"10.5", false},
        {" 10 ", true},
        {"-8", false},
        {"+8", false},
        {"1e1", false},
        {"0010", true},
        {"\xd9\xa1\xd9\xa0", false},
        {"99999999999999999999", false},
    };
    for (const auto& c : cases) {
        const PrinterCheck check = CheckPrinter(validPrinter(), c.size, empty);
        EXPECT_EQ(check.m_strMessage.empty(), c.accepted) << "'" << c.size << "'";
    }
}

} // namespace
