// The standard report database shipped with the suite, which the configuration wizard copies into a
// new site for its first account.

#include "DemoSite.h"

#include "Schema.h"
#include "Session.h"

#include <array>
#include <stdexcept>

namespace demo {

namespace fs = std::filesystem;

namespace {

constexpr int kStandardAccount = 1;
constexpr int kStandardFields = 30;

constexpr std::array kReportNames = {"History and Physical",      "Consultation",     "Discharge Summary",
                                     "Operative Report",          "Radiology Report", "Progress Note",
                                     "Emergency Department Note", "Clinic Letter",    "Procedure Note",
                                     "Cardiology Report",         "Pathology Report", "Physical Therapy Evaluation"};
constexpr std::array kFieldNames = {"Patient Name",
                                    "Medical Record Number",
                                    "Date of Birth",
                                    "Date of Service",
                                    "Dictating Physician",
                                    "Account Number",
                                    "Admission Date",
                                    "Discharge Date",
                                    "Room Number",
                                    "Attending Physician",
                                    "Sex",
                                    "Visit Number",
                                    "Order Number",
                                    "Accession Number",
                                    "Location"};
constexpr std::array kCustomFieldNames = {"Referring Physician", "Primary Care Physician", "Dictation Location",
                                          "Insurance Carrier"};
constexpr std::array kPrinterNames = {"Standard Printer", "Standard Fax", "Medical Records Printer"};

// The name of entry n (from 0) of a list, numbered once the list runs out.
template <size_t N>
std::string nameOf(const std::array<const char*, N>& names, int n, const char* numbered) {
    return n < static_cast<int>(N) ? names[static_cast<size_t>(n)] : numbered + std::to_string(n + 1);
}

std::string reportRows(const StandardContent& c) {
    std::string sql;
    for (int t = 1; t <= c.reportTypes; ++t) {
        const std::string name = nameOf(kReportNames, t - 1, "Report Type ");
        for (int account : {-1, kStandardAccount})
            sql += "INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, "
                   "billing_linecount_cfg, payroll_linecount_cfg) VALUES (" +
                   std::to_string(account) + ", 0, " + std::to_string(t) + ", 0, '" + name + "', 1, 1)\n";
    }
    // Output n of a report type: the first an online printed copy, the next faxed, the rest batch
    // printed; printers taken in turn.
    for (int k = 0; k < c.outputs; ++k) {
        const int type = k % c.reportTypes + 1, number = k / c.reportTypes + 1;
        const int outputType = number == 1 ? 3 : number == 2 ? 5 : 1;
        sql += "INSERT Report_outputs_cfg (hosp_acct_id, dept_id, report_type_nbr, output_nbr, output_type, "
               "printer_id, copies) VALUES (" +
               std::to_string(kStandardAccount) + ", 0, " + std::to_string(type) + ", " + std::to_string(number) +
               ", " + std::to_string(outputType) + ", " + std::to_string(c.printers ? k % c.printers + 1 : 0) +
               ", 1)\n";
    }
    // Field n of a report type: the first one of the custom fields, then the standard fields in order.
    for (int k = 0; k < c.fields; ++k) {
        const int type = k % c.reportTypes + 1, position = k / c.reportTypes;
        const int field = position == 0 && c.customFields > 0 ? 201 + (type - 1) % c.customFields
                                                              : (position - 1) % kStandardFields + 1;
        sql += "INSERT Report_fields_cfg (hosp_acct_id, dept_id, report_type_nbr, field_nbr, is_required, "
               "field_order) VALUES (" +
               std::to_string(kStandardAccount) + ", 0, " + std::to_string(type) + ", " + std::to_string(field) + ", " +
               (position < 2 ? "1" : "0") + ", " + std::to_string(position + 1) + ")\n";
    }
    return sql;
}

std::string fieldAndPrinterRows(const StandardContent& c) {
    std::string sql;
    for (int f = 1; f <= kStandardFields; ++f)
        sql += "INSERT System_fields VALUES (" + std::to_string(f) + ", '" + nameOf(kFieldNames, f - 1, "Field ") +
               "', 0, 60, 0, NULL)\n";
    for (int f = 0; f < c.customFields; ++f)
        sql += "INSERT System_fields VALUES (" + std::to_string(201 + f) + ", '" +
               nameOf(kCustomFieldNames, f, "Custom Field ") + "', 0, 60, 0, NULL)\n";
    for (int p = 1; p <= c.printers; ++p) {
        const std::string id = std::to_string(p);
        sql += "INSERT System_printers VALUES (" + id + ", '" + nameOf(kPrinterNames, p - 1, "Standard Printer ") +
               "', 'STDPRN" + id +
               "', 'Courier New', 10, 0, 0, 0, '', 0, 0, '', 0, 0, NULL, NULL, 'EnvDefault.doc', "
               "'')\n"
               "INSERT System_printers_extended VALUES (" +
               id + ", 1, 1, '', 0, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, NULL)\n";
    }
    return sql;
}

} // namespace

void createStandardDatabase(const fs::path& formats, const fs::path& scratch, const StandardContent& content) {
    if (content.reportTypes < 1)
        throw std::runtime_error("a standard database needs at least one report type");
    {
        auto standard = suite::createSuiteDatabase(scratch.string(), "K2STANDARD_DB");
        for (const std::string& part : {reportRows(content), fieldAndPrinterRows(content)}) {
            const auto errors = suite::runScript(*standard, part);
            if (!errors.empty())
                throw std::runtime_error("standard database: " + errors.front());
        }
    }
    fs::create_directories(formats);
    fs::rename(tsql::Session::databasePath(scratch.string(), "K2STANDARD_DB"), formats / "K2STANDARD_DB.MDF");
}

} // namespace demo
