// Reading spreadsheet CSV files: what each file gives, or its one refusal.

#include "UserCsvReader.h"

#include <gtest/gtest.h>

using users::UserCsvReader;

namespace {

struct CsvCase {
    const char* name;
    std::string bytes;
    std::string expected; // records as "line:field|field" joined by "\n", or "error:" + the refusal
};

std::string describe(const UserCsvReader::Result& r) {
    if (!r.error.empty())
        return "error:" + r.error;
    std::string out;
    for (const auto& rec : r.records) {
        out += (out.empty() ? "" : "\n") + std::to_string(rec.line) + ":";
        for (size_t i = 0; i < rec.fields.size(); ++i)
            out += (i ? "|" : "") + rec.fields[i];
    }
    return out;
}

class CsvFiles : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvFiles, ReadAsASpreadsheetWroteThem) {
    EXPECT_EQ(describe(UserCsvReader::Parse(GetParam().bytes)), GetParam().expected);
}

const std::string eacute = "\xC3\xA9", euro = "\xE2\x82\xAC";

INSTANTIATE_TEST_SUITE_P(
    Reader, CsvFiles,
    ::testing::Values(
        CsvCase{"Plain", "User Name,First Name\nJDOE,Jane\n", "1:User Name|First Name\n2:JDOE|Jane"},
        CsvCase{"ByteOrderMarkAndCrLf", "\xEF\xBB\xBFUser Name,Last Name\r\nJDOE,Doe\r\n",
                "1:User Name|Last Name\n2:JDOE|Doe"},
        // A decimal-comma spreadsheet separates with semicolons; commas are then ordinary text.
        CsvCase{"Semicolons", "User Name;Groups\nJDOE;NURSES,DOCS\n", "1:User Name|Groups\n2:JDOE|NURSES,DOCS"},
        CsvCase{"QuotedSeparatorQuoteAndLineBreak",
                "User Name,Last Name,First Name\n\"A,B\",\"O\"\"Hara\",\"two\nlines\"\nNEXT,x,y\n",
                "1:User Name|Last Name|First Name\n2:A,B|O\"Hara|two\nlines\n4:NEXT|x|y"},
        CsvCase{"RecordStartingWithAMultiLineField", "User Name,Last Name\n\"a\nb\",c\nD,e\n",
                "1:User Name|Last Name\n2:a\nb|c\n4:D|e"},
        CsvCase{"BlankLinesAreSkippedButCounted", "User Name\n\nJDOE\n\n\nTOM", "1:User Name\n3:JDOE\n6:TOM"},
        CsvCase{"ApostropheAndMultiByteText", "User Name,Last Name\nOBRIEN,O'Br" + eacute + "n " + euro + "\n",
                "1:User Name|Last Name\n2:OBRIEN|O'Br" + eacute + "n " + euro},
        CsvCase{"NotUtf8NamesItsLine", "User Name\nJDOE\nM\xFCLLER\n", "error:Line 3 of the file is not UTF-8 text."},
        CsvCase{"OverlongFormIsNotUtf8", "User Name\n\xC0\xAF\n", "error:Line 2 of the file is not UTF-8 text."},
        CsvCase{"TruncatedCharacterAtTheEnd", "User Name\nJ\xE2\x82", "error:Line 2 of the file is not UTF-8 text."},
        CsvCase{"Empty", "", "error:The file is empty."},
        CsvCase{"OnlyAByteOrderMarkAndBlanks", "\xEF\xBB\xBF \r\n\n", "error:The file is empty."},
        CsvCase{"HeaderOnly", "User Name,First Name\r\n", "error:The file has a header row but no users."},
        CsvCase{"UnclosedQuote", "User Name\nJDOE\n\"TOM\nX\n",
                "error:Line 3 of the file is not valid CSV: a quoted field is not closed."},
        CsvCase{"TextAfterAClosingQuote", "User Name\n\"TOM\"x\n",
                "error:Line 2 of the file is not valid CSV: error parsing data while strict checking enabled."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvSeparator, TheHeaderDecidesAndQuotedSeparatorsDoNotCount) {
    EXPECT_EQ(UserCsvReader::DetectSeparator("User Name,First Name"), ',');
    EXPECT_EQ(UserCsvReader::DetectSeparator("User Name;First Name"), ';');
    EXPECT_EQ(UserCsvReader::DetectSeparator("\"a,b,c\";User Name"), ';');
    EXPECT_EQ(UserCsvReader::DetectSeparator("User Name"), ',');
}

TEST(CsvFields, AVeryLongFieldIsKeptWhole) {
    const std::string longName(10000, 'x');
    const auto r = UserCsvReader::Parse("User Name,Last Name\nJDOE,\"" + longName + "\"\n");
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.records.at(1).fields.at(1), longName);
}

} // namespace
