#include "OutputText.h"
#include "OutputQuery.h"
#include "OutputResend.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace outputlog;

namespace {

TEST(OutputText, OutputTypes) {
    struct Case {
        int type, flag1;
        const char* text;
    } const cases[] = {
        {0, 0, "No Output Type"},
        {1, 0, "Batch Print Output"},
        {2, 0, "Output Type Unknown"},
        {3, 0, "Online Print Copy"},
        {3, 1, "Online Copy w/Envelope"},
        {4, 0, "Online Print Original"},
        {4, 1, "Online Original w/Envelope"},
        {4, 2, "Online Print Original"},
        {5, 0, "Fax Output"},
        {6, 0, "Output Type Unknown"},
        {8, 0, "Fax Output"},
        {9, 0, "Fax Output (Priority)"},
        {10, 0, "Fax Output"},
        {14, 0, "Email"},
        {16, 0, "Output Type Unknown"},
        {199, 0, "Output Type Unknown"},
        {200, 0, "Upload"},
        {207, 0, "Upload"},
        {208, 0, "Output Type Unknown"},
        {-1, 0, "Output Type Unknown"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutputTypeText(c.type, c.flag1), c.text) << c.type << "/" << c.flag1;
}

TEST(OutputText, KnownStatuses) {
    struct Case {
        int status, error;
        const char* text;
    } const cases[] = {
        {10, 0, "Printed"},
        {11, 0, "In Progress"},
        {12, 0, "Removed From Batch"},
        {13, 0, "Cancelled"},
        {14, 0, "Not Printed Yet"},
        {15, 0, "Unknown (15)"},
        {16, 0, "Printed"},
        {17, 0, "Printed"},
        {18, 0, "Unknown (18)"},
        {19, 0, "Removed From Batch"},
        {20, 0, "Printed"},
        {21, 0, "Not Printed Yet"},
        {22, 0, "In Distribution"},
        {23, 0, "Distribution Failed"},
        {30, 0, "Sent, Unconfirmed"},
        {31, 0, "Sent, Confirmed"},
        {34, 4, "Failed - No Answer"},
        {34, 17, "Failed - Error 17"},
        {34, 0, "Failed "},
        {34, 1, "Failed - Number Busy"},
        {34, 22, "Failed - Bad Embedded Code"},
        {34, 20, "Failed - Error 20"},
        {35, 0, "Not Sent Yet"},
        {36, 0, "Failed, Server Error"},
        {37, 2, "Failed, Sent To Batch - Trx/Rx Error"},
        {38, 19, "Failed, Printed - Bad Phone Number"},
        {39, 0, "Cancelled"},
        {40, 0, "In Distribution"},
        {41, 0, "Distribution Failed"},
        {42, 0, "Distribution Pending"},
        {51, 0, "Sent"},
        {53, 0, "Not Sent Yet"},
        {54, 0, "Failed"},
        {81, 0, "In Distribution"},
        {82, 0, "Failed, Interface Error"},
        {83, 0, "Sent"},
        {84, 0, "Not Sent Yet"},
        {85, 0, "Distribution Failed"},
        {86, 0, "CDA Converting"},
        {87, 0, "CDA Converted"},
        {88, 0, "Failed, CDA Conversion"},
        {89, 0, "Cancelled, CDA Conversion"},
        {91, 0, "Upload In Process"},
        {186, 0, "Failed, Rejected"},
        {187, 0, "Link Error, Will Retry"},
        {188, 0, "Timeout, Will Retry"},
        {189, 0, "Failed, Missing Field"},
        {190, 0, "Unknown (190)"},
        {192, 0, "Failed, Missing Data"},
        {193, 0, "Failed, Config Error"},
        {194, 0, "Failed, Data Error"},
        {195, 0, "Failed, Document Error"},
        {196, 0, "Failed, Report Type Error"},
        {197, 0, "Failed, Out Of Date"},
        {198, 0, "Timeout, Will Not Retry"},
        {9, 0, "Unknown (9)"},
        {199, 0, "Unknown (199)"},
        {0, 0, "Unknown (0)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KnownStatusText(c.status, c.error), c.text) << c.status << "/" << c.error;
}

TEST(OutputText, FaxErrorsAndBatchTypes) {
    const char* const named[] = {"",
                                 "- Number Busy",
                                 "- Trx/Rx Error",
                                 "- Poor Quality",
                                 "- No Answer",
                                 "- Bad FCS Info",
                                 "- Convert Error",
                                 "- FCS Create Error",
                                 "- Schedule Error",
                                 "- Board Error",
                                 "- Human Answered",
                                 "- G2 Fax Machine",
                                 "- Dest Rx Error",
                                 "- Line Problem",
                                 "- Invalid Form",
                                 "- Invalid Sig",
                                 "- No Authorization",
                                 "- Error 17",
                                 "- Discarded",
                                 "- Bad Phone Number",
                                 "- Error 20",
                                 "- Invalid Code",
                                 "- Bad Embedded Code",
                                 "- Error 23"};
    for (int code = 0; code < 24; ++code)
        EXPECT_EQ(FaxErrorText(code), named[code]) << code;
    EXPECT_EQ(FaxErrorText(-3), "- Error -3");
    EXPECT_EQ(BatchTypeText(0), "None Assigned Yet");
    EXPECT_EQ(BatchTypeText(1), "Local Printer Batch");
    EXPECT_EQ(BatchTypeText(2), "Stat Transfer Batch");
    EXPECT_EQ(BatchTypeText(3), "Fax Batch");
    EXPECT_EQ(BatchTypeText(4), "Email Batch");
    EXPECT_EQ(BatchTypeText(5), "Unknown");
}

TEST(OutputText, SentByNameForms) {
    struct Case {
        const char* stored;
        const char* id;
        const char* name;
        const char* both;
    } const cases[] = {
        {"12^Smith", "12", "Smith", "Smith (12)"},
        {"Smith", "0", "Smith", "Smith"},
        {"0^Smith", "0", "Smith", "Smith"},
        {"^Smith", "", "Smith", "Smith ()"},
        {"12^", "12", "", " (12)"},
        {"", "0", "", ""},
        {"7^O'Neill^Jr", "7", "O'Neill^Jr", "O'Neill^Jr (7)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SentByNameText(c.stored, SentByForm::Id), c.id) << c.stored;
        EXPECT_EQ(SentByNameText(c.stored, SentByForm::Name), c.name) << c.stored;
        EXPECT_EQ(SentByNameText(c.stored, SentByForm::NameAndId), c.both) << c.stored;
    }
}

TEST(OutputQueryText, FiltersTitlesAndDates) {
    ASSERT_EQ(OutputFilterNames().size(), 11u);
    EXPECT_EQ(OutputFilterNames()[3], "Batch Originals - Unprocessed");
    EXPECT_EQ(ReportTitle(OutputFilter::FaxErrors), "Report Of Fax Output Errors");
    EXPECT_EQ(ReportTitle(OutputFilter::NoOutputs), "Report of No Outputs");
    EXPECT_EQ(DateTypeHeading(DateType::Output), "Output Create Time");
    struct Case {
        LogDateTime when;
        const char* text;
    } const cases[] = {
        {{2026, 3, 14, 0, 0}, "03/14/2026 12:00 AM"},   {{2026, 3, 14, 0, 59}, "03/14/2026 12:59 AM"},
        {{2026, 3, 14, 11, 59}, "03/14/2026 11:59 AM"}, {{2026, 3, 14, 12, 0}, "03/14/2026 12:00 PM"},
        {{2026, 12, 1, 23, 5}, "12/01/2026 11:05 PM"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UsDateTime(c.when), c.text);
}

TEST(OutputQueryText, CriteriaConditionsAndChecks) {
    EXPECT_EQ(CriterionCondition({"Patient Last Name", "dd.patient_last", 0, "", "O'Brien"}),
              " AND dd.patient_last LIKE 'O''Brien%'");
    EXPECT_EQ(CriterionCondition({"Dictating Physician", "dd.dictating_name", 0, "2", "Adams^Robert"}),
              " AND dd.dictating_name LIKE 'Adams, Robert%'");
    EXPECT_EQ(CriterionCondition({"Report Type", "dd.report_type_nbr", 7, "", " 12 "}), " AND dd.report_type_nbr = 12");
    std::string paste(10000, 'x');
    EXPECT_EQ(CriterionCondition({"Patient Last Name", "dd.patient_last", 0, "", paste}).size(),
              std::string(" AND dd.patient_last LIKE '%'").size() + 255);

    OutputQueryOptions o;
    o.m_dtmStart = {2026, 3, 14, 12, 0};
    o.m_dtmEnd = {2026, 3, 14, 11, 59};
    EXPECT_EQ(CheckQuery(o), "The start date is later than the end date.");
    o.m_dtmEnd = o.m_dtmStart;
    EXPECT_EQ(CheckQuery(o), "");
    struct Case {
        const char* text;
        bool accepted;
    } const numbers[] = {{"12", true},           {"-3", true},        {" 7 ", true}, {"1.5", false},
                         {"12a", false},         {"", false},         {"  ", false}, {"'; DROP TABLE x", false},
                         {"99999999999", false}, {"2147483647", true}};
    for (const auto& c : numbers) {
        o.m_colCriteria = {{"Patient Last Name", "dd.patient_last", 0, "", "anything"},
                           {"Report Type", "dd.report_type_nbr", 7, "", c.text}};
        EXPECT_EQ(CheckQuery(o).empty(), c.accepted) << c.text;
        if (!c.accepted) {
            const bool blank = foundation::trimText(c.text).empty();
            EXPECT_EQ(CheckQuery(o),
                      blank ? "Please configure all outputs." : "The value for Report Type must be a whole number.")
                << c.text;
        }
    }
    // A half set-up criterion line is refused whatever its neighbours hold, and before the number check;
    // the date order still comes first.
    const Criterion bad{"Report Type", "dd.report_type_nbr", 7, "", "x"};
    const Criterion lines[] = {{"Patient Last Name", "dd.patient_last", 0, "", ""},
                               {"Patient Last Name", "dd.patient_last", 0, "", " \t "},
                               {"", "", 0, "", "Smith"}};
    for (const auto& line : lines) {
        o.m_colCriteria = {bad, line};
        EXPECT_EQ(CheckQuery(o), "Please configure all outputs.") << line.m_strText;
        o.m_dtmEnd = {2026, 3, 14, 11, 59};
        EXPECT_EQ(CheckQuery(o), "The start date is later than the end date.");
        o.m_dtmEnd = o.m_dtmStart;
    }
    // A text-only line never reaches the statement.
    o.m_colCriteria = {{"", "", 0, "", "Smith"}};
    EXPECT_EQ(BuildOutputQuery(o).find("Smith"), std::string::npos);
}

TEST(OutputResendRules, KindsAndStates) {
    struct Case {
        int type;
        ResendKind kind;
        std::vector<int> resendable;
        int newStatus;
    } const cases[] = {
        {5, ResendKind::Fax, {31, 34, 36, 37, 38, 39, 41}, 40},
        {9, ResendKind::Fax, {31, 34, 36, 37, 38, 39, 41}, 40},
        {14, ResendKind::Email, {51, 54}, 53},
        {203, ResendKind::External, {82, 83, 85, 88, 89, 186, 189, 190, 191, 192, 193, 194, 195, 196, 197, 198}, 81},
        {3, ResendKind::Online, {20, 23}, 22},
        {4, ResendKind::Online, {20, 23}, 22},
        {1, ResendKind::None, {}, 0},
        {16, ResendKind::None, {}, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KindOf(c.type), c.kind) << c.type;
        EXPECT_EQ(ResentStatus(c.kind), c.newStatus) << c.type;
        for (int status = 0; status < 260; ++status) {
            const bool expected = std::find(c.resendable.begin(), c.resendable.end(), status) != c.resendable.end();
            EXPECT_EQ(Resendable(c.kind, status), expected) << c.type << " in " << status;
        }
    }
}

OutputRow row(int type, int status, const std::string& fax = "", const std::string& queue = "") {
    OutputRow r;
    r.m_intOutputType = type;
    r.m_intKnownStatus = status;
    r.m_strFaxNbr = fax;
    r.m_strPrintQueue = queue;
    return r;
}

TEST(OutputResendRules, RefusalsInOrder) {
    const std::string mix = "A mix of output types (i.e. Online and Fax) have been selected.  Only one type of output "
                            "can be resent at a time.";
    const std::string pending = "Some of the records selected cannot be resent.  Only Fax, Online, Email, and External "
                                "(Upload) outputs can be resent from Output Tracking.  These outputs must be in a "
                                "failed or successful state.   Outputs in a pending state cannot be resent.";
    const std::string noNumber = "At least one fax output was found without a fax number.  Faxes without fax numbers "
                                 "can only be sent one at a time.";
    const std::string noAddress = "At least one email output was found without an email address.  Emails without "
                                  "email addresses can only be sent one at a time.";
    struct Case {
        const char* name;
        std::vector<OutputRow> rows;
        std::string message;
    } const cases[] = {
        {"online and fax", {row(3, 20), row(8, 34, "5551234")}, mix},
        {"mix before pending", {row(3, 21), row(8, 35)}, mix},
        {"pending fax", {row(8, 34, "555"), row(8, 35, "555")}, pending},
        {"batch print", {row(1, 10)}, pending},
        {"pending before missing number", {row(8, 35, ""), row(8, 34, "555")}, pending},
        {"two faxes, one without number", {row(8, 34, "555"), row(8, 36, " ")}, noNumber},
        {"one fax without number", {row(8, 34, "")}, ""},
        {"two e-mails, one without address", {row(14, 54, "", "a@b.c"), row(14, 51, "", "")}, noAddress},
        {"online pair", {row(3, 20), row(4, 23)}, ""},
        {"external", {row(200, 82), row(207, 198)}, ""},
    };
    for (const auto& c : cases) {
        std::vector<const OutputRow*> rows;
        for (const auto& r : c.rows)
            rows.push_back(&r);
        EXPECT_EQ(ResendRefusal(rows), c.message) << c.name;
    }
    const OutputRow a = row(8, 34, "5551234"), b = row(8, 34, "5551234"), d = row(8, 34, "5559999");
    EXPECT_EQ(InitialDestination({&a, &b}, ResendKind::Fax), "5551234");
    EXPECT_EQ(InitialDestination({&a, &b, &d}, ResendKind::Fax), "<Various>");
    struct Number {
        const char* text;
        bool valid;
    } const numbers[] = {
        {"12", false}, {"123", true}, {" 12 ", false}, {"\xc3\xa9\xc3\xa9", false}, {"\xc3\xa9\xc3\xa9\xc3\xa9", true},
        {"", false}};
    for (const auto& n : numbers)
        EXPECT_EQ(ValidDestination(n.text), n.valid) << n.text;
}

} // namespace
