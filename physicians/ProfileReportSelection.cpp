#include "ProfileReportSelection.h"

#include "DatabaseSession.h"

#include <array>

namespace physicians {

using foundation::DatabaseSession;

namespace {

// The columns by which a selected physician is named: the template's field and the statement's.
struct NamingField {
    const char* formulaField;
    const char* column;
    std::string ProfileReportPhysician::*value;
};
const std::array<NamingField, 8> kNamingFields = {{
    {"{Physician_profile.last_name}", "PP.last_name", &ProfileReportPhysician::last_name},
    {"{Physician_profile.first_name}", "PP.first_name", &ProfileReportPhysician::first_name},
    {"{Physician_profile.title_1}", "PP.title_1", &ProfileReportPhysician::title_1},
    {"{Physician_attributes.dictation_id}", "PA.dictation_id", &ProfileReportPhysician::dictation_id},
    {"{Physician_attributes.mis_nbr_1}", "PA.mis_nbr_1", &ProfileReportPhysician::mis_nbr_1},
    {"{Physician_attributes.mis_nbr_2}", "PA.mis_nbr_2", &ProfileReportPhysician::mis_nbr_2},
    {"{Physician_attributes.fax_nbr_1}", "PA.fax_nbr_1", &ProfileReportPhysician::fax_nbr_1},
    {"{Physician_attributes.group_affiliation}", "PA.group_affiliation", &ProfileReportPhysician::group_affiliation},
}};

// A text in the template's formula language: between double quotes, inner ones doubled.
std::string formulaText(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

const char* boolText(bool b) {
    return b ? "True" : "False";
}

// The account's own row of a per-account table, or the all-accounts row when it has none.
std::string accountRow(const char* alias, const char* table, const std::string& account) {
    return std::string("(") + alias + ".hosp_acct_id = " + account + " OR (" + alias +
           ".hosp_acct_id = -1 AND NOT EXISTS (SELECT * FROM " + table + " X WHERE X.physician_id = " + alias +
           ".physician_id AND X.hosp_acct_id = " + account + ")))";
}

} // namespace

std::string ProfileReportOptions::Refusal() const {
    if (form == Form::Extended && !demographics && !output && !addendums && !weighting)
        return "At least one of the items must be checked before generating an extended report.";
    return {};
}

std::string ProfileReportSelection::RecordSelection() const {
    std::string out = "{Account_info.hosp_acct_id} = " + std::to_string(account);
    if (physicians.empty())
        return out;
    out += " AND (";
    for (size_t i = 0; i < physicians.size(); ++i) {
        out += i ? " OR (" : "(";
        for (size_t f = 0; f < kNamingFields.size(); ++f)
            out += std::string(f ? " AND " : "") + kNamingFields[f].formulaField + " = " +
                   formulaText(physicians[i].*kNamingFields[f].value);
        out += ")";
    }
    return out + ")";
}

std::vector<std::string> ProfileReportSelection::Formulas() const {
    const bool summary = options.form == ProfileReportOptions::Form::Summary;
    return {
        "frm_group_name= " + formulaText(accountName),
        std::string("frm_suppress_weighting= ") + boolText(summary || !options.weighting),
        std::string("frm_suppress_addendums= ") + boolText(summary || !options.addendums),
        std::string("frm_suppress_output= ") + boolText(summary || !options.output),
        std::string("frm_suppress_demo= ") + boolText(summary || !options.demographics),
        std::string("frm_summary_report= ") + boolText(summary),
        std::string("frm_report_type= ") + (summary ? "'Summary Report'" : "'Full Report'"),
    };
}

std::string ProfileReportSelection::Conditions() const {
    const std::string acct = std::to_string(account);
    std::string out = "WHERE  PP.is_deleted = 0 AND PP.physician_id > -1 AND\r\n"
                      "       AI.hosp_acct_id = " +
                      acct +
                      " AND\r\n"
                      "       PA.physician_id = PP.physician_id AND\r\n"
                      "       EXISTS (SELECT * FROM Physician_membership PM WHERE PM.physician_id = PP.physician_id "
                      "AND (PM.hosp_acct_id = AI.hosp_acct_id OR PM.hosp_acct_id = -1)) AND\r\n       " +
                      accountRow("PA", "Physician_attributes", acct);
    if (!physicians.empty()) {
        out += " AND\r\n       (";
        for (size_t i = 0; i < physicians.size(); ++i) {
            out += i ? "\r\n        OR (" : "(";
            for (size_t f = 0; f < kNamingFields.size(); ++f)
                out += std::string(f ? " AND " : "") + "ISNULL(" + kNamingFields[f].column + ", '') = '" +
                       DatabaseSession::QuoteSQL(physicians[i].*kNamingFields[f].value) + "'";
            out += ")";
        }
        out += ")";
    }
    return out + "\r\n";
}

std::string ProfileReportSelection::SelectedIds() const {
    return "(SELECT PP.physician_id FROM Physician_profile PP, Physician_attributes PA, Account_info AI\r\n" +
           Conditions() + ")\r\n";
}

std::string ProfileReportSelection::PhysicianStatement() const {
    return "SELECT PP.physician_id, PP.last_name, PP.first_name, PP.title_1, PP.initials,\r\n"
           "       partition_name = (SELECT partition_name FROM System_partitions WHERE partition_id = "
           "PP.partition_id),\r\n"
           "       PA.title_2, PA.title_3, PA.title_4, PA.title_5, PA.title_6,\r\n"
           "       PA.dictation_id, PA.mis_nbr_1, PA.mis_nbr_2, PA.physician_type, PA.group_affiliation, "
           "PA.elect_signature,\r\n"
           "       PA.phone_nbr_1, PA.phone_nbr_2, PA.address_1, PA.address_2, PA.address_3,\r\n"
           "       PA.city, PA.state, PA.zip_code, PA.country,\r\n"
           "       PA.online_enabled, PA.online_queue, PA.batch_enabled, PA.batch_queue,\r\n"
           "       PA.fax_enabled_1, PA.fax_nbr_1, PA.fax_hour_1, PA.fax_minute_1,\r\n"
           "       PA.fax_enabled_2, PA.fax_nbr_2, PA.fax_hour_2, PA.fax_minute_2,\r\n"
           "       PA.email_enabled, PA.email_address, PA.email_type\r\n"
           "FROM   Physician_profile PP, Physician_attributes PA, Account_info AI\r\n" +
           Conditions() + "ORDER BY LTRIM(PP.last_name) + LTRIM(PP.first_name)";
}

std::string ProfileReportSelection::AccountsStatement() const {
    return "SELECT PM.physician_id, PM.hosp_acct_id,\r\n"
           "       ISNULL((SELECT hosp_acct_name FROM Account_info WHERE hosp_acct_id = PM.hosp_acct_id), '')\r\n"
           "FROM   Physician_membership PM\r\n"
           "WHERE  PM.physician_id IN " +
           SelectedIds() +
           "       AND NOT EXISTS (SELECT * FROM Account_info D WHERE D.hosp_acct_id = PM.hosp_acct_id AND "
           "D.is_deleted = "
           "1)\r\n"
           "ORDER BY PM.physician_id, PM.hosp_acct_id";
}

std::string ProfileReportSelection::AddendumsStatement() const {
    return "SELECT PA2.physician_id, PA2.addendum_nbr, PA2.addendum\r\n"
           "FROM   Physician_addendums_v2 PA2\r\n"
           "WHERE  PA2.physician_id IN " +
           SelectedIds() + "       AND " + accountRow("PA2", "Physician_addendums_v2", std::to_string(account)) +
           "\r\nORDER BY PA2.physician_id, PA2.addendum_nbr";
}

std::string ProfileReportSelection::WeightingStatement() const {
    return "SELECT PW.physician_id, PW.report_type_nbr, PW.weight_type, PW.weight_value,\r\n"
           "       ISNULL((SELECT MAX(report_name) FROM Reports_cfg RC WHERE RC.hosp_acct_id = " +
           std::to_string(account) +
           " AND RC.report_type_nbr = PW.report_type_nbr), '')\r\n"
           "FROM   Physician_weighting PW\r\n"
           "WHERE  PW.physician_id IN " +
           SelectedIds() + "       AND " + accountRow("PW", "Physician_weighting", std::to_string(account)) +
           "\r\nORDER BY PW.physician_id, PW.report_type_nbr";
}

ReportFormula ParseReportFormula(const std::string& formula) {
    ReportFormula out;
    const size_t eq = formula.find('=');
    out.name = formula.substr(0, eq);
    if (eq == std::string::npos)
        return out;
    std::string value = formula.substr(eq + 1);
    value.erase(0, value.find_first_not_of(' '));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        const char quote = value.front();
        for (size_t i = 1; i + 1 < value.size(); ++i) {
            out.value += value[i];
            if (value[i] == quote && value[i + 1] == quote)
                ++i;
        }
    } else {
        out.value = value;
    }
    return out;
}

} // namespace physicians
