#pragma once

#include <string>
#include <vector>

namespace physicians {

// The data source the profile report reads through, made for the report and removed after it.
inline constexpr const char* kProfileReportDataSource = "KDADMIN_PPTEMP";

// The report form chosen in PP_Report_Selection.
struct ProfileReportOptions {
    enum class Form { Summary, Extended, Notepad };
    Form form = Form::Extended;
    // The content of an extended report.
    bool demographics = true, output = true, addendums = true, weighting = true;

    // Empty when the choice may go ahead; else the message that refuses it.
    [[nodiscard]] std::string Refusal() const;
};

// One physician named by the values the list shows for it in the report's account.
struct ProfileReportPhysician {
    std::string last_name, first_name, title_1, dictation_id, mis_nbr_1, mis_nbr_2, fax_nbr_1, group_affiliation;
};

// Which physicians of which account the report holds, and in what form: the record selection and
// the formulas a report template is given, and the statements that read the same rows.
class ProfileReportSelection {
public:
    long account = -1;
    std::string accountName;
    // Empty: every physician of the account.
    std::vector<ProfileReportPhysician> physicians;
    ProfileReportOptions options;

    // "{Account_info.hosp_acct_id} = 12 AND (({Physician_profile.last_name} = "Adams" AND ...) OR (...))"
    [[nodiscard]] std::string RecordSelection() const;
    // "frm_group_name= "North"", "frm_suppress_weighting= False", ..., "frm_report_type= 'Full Report'".
    [[nodiscard]] std::vector<std::string> Formulas() const;

    // The report's physicians with their account's attribute row (or the all-accounts row), by name.
    [[nodiscard]] std::string PhysicianStatement() const;
    // Their memberships: physician id, account id, account name.
    [[nodiscard]] std::string AccountsStatement() const;
    // Their addendum lines and weighting in the report's account (the all-accounts rows when the
    // account has none of its own).
    [[nodiscard]] std::string AddendumsStatement() const;
    [[nodiscard]] std::string WeightingStatement() const;

private:
    // The ids of the selected physicians, as a sub-select.
    [[nodiscard]] std::string SelectedIds() const;
    [[nodiscard]] std::string Conditions() const;
};

// The formula name and its value as a template reads it: quotes removed, "True"/"False" kept.
struct ReportFormula {
    std::string name, value;
};
[[nodiscard]] ReportFormula ParseReportFormula(const std::string& formula);

} // namespace physicians
