#include "ProfileReportDocument.h"

#include "ListExport.h"
#include "clsPhysicianRecord.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

#include <array>

namespace physicians {

namespace {

QString esc(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

bool isTrue(const std::string& formulaValue) {
    return formulaValue == "True";
}

std::string physicianName(const ProfileReportEntry& e) {
    std::string name = e.field("last_name") + ", " + e.field("first_name");
    if (const std::string title = e.field("title_1"); !title.empty())
        name += " " + title;
    return name;
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
    std::string out;
    for (const auto& i : items)
        if (!i.empty())
            out += (out.empty() ? "" : separator) + i;
    return out;
}

const char* onOff(const std::string& flag) {
    return flag.empty() || flag == "0" ? "No" : "Yes";
}

std::string faxTime(const std::string& hour, const std::string& minute) {
    if (hour.empty() || hour == "255")
        return "any time";
    const std::string m = minute.empty() || minute == "255" ? "00" : minute;
    return hour + ":" + (m.size() < 2 ? "0" + m : m);
}

// "Yes  507-555-0141  17:30": whether faxing is on, the number, and for an enabled fax its time.
std::string fax(const ProfileReportEntry& e, const std::string& n) {
    const std::string enabled = e.field("fax_enabled_" + n);
    std::vector<std::string> parts = {onOff(enabled), e.field("fax_nbr_" + n)};
    if (std::string(onOff(enabled)) == "Yes")
        parts.push_back(faxTime(e.field("fax_hour_" + n), e.field("fax_minute_" + n)));
    return joined(parts, "  ");
}

std::string emailMethod(const std::string& type) {
    static const std::array<const char*, 5> methods = {"Use System Default", "HTML", "Password/Encrypted HTML",
                                                       "Word Document", "Password - Word Document"};
    const int n = std::atoi(type.c_str());
    return n >= 0 && n < static_cast<int>(methods.size()) ? methods[static_cast<size_t>(n)] : type;
}

// A two-column block of labels and values; rows without a value are left out.
class Block {
public:
    explicit Block(const char* heading) : m_html("<h4>" + QString(heading) + "</h4><table cellspacing=\"1\">") {}
    Block& row(const char* label, const std::string& value) {
        if (!value.empty()) {
            m_html += "<tr><td width=\"170\"><b>" + QString(label) + "</b></td><td>" + esc(value) + "</td></tr>";
            m_empty = false;
        }
        return *this;
    }
    [[nodiscard]] QString html() const { return m_html + (m_empty ? "<tr><td>None</td></tr>" : "") + "</table>"; }

private:
    QString m_html;
    bool m_empty = true;
};

QString summary(const ProfileReportData& data) {
    QString html = "<table cellspacing=\"2\" width=\"100%\"><tr>";
    for (const char* h :
         {"Physician Name", "Dictation #", "MIS Nbr 1", "MIS Nbr 2", "Fax Nbr", "Group/Spec", "Accounts"})
        html += "<th align=\"left\">" + QString(h) + "</th>";
    html += "</tr>";
    for (const auto& e : data.physicians) {
        // The name stays on one line; the other columns wrap.
        html += "<tr><td style=\"white-space: nowrap\">" + esc(physicianName(e)) + "</td>";
        for (const std::string& v : {e.field("dictation_id"), e.field("mis_nbr_1"), e.field("mis_nbr_2"),
                                     e.field("fax_nbr_1"), e.field("group_affiliation"), joined(e.accounts, ", ")})
            html += "<td>" + esc(v) + "</td>";
        html += "</tr>";
    }
    return html + "</table>";
}

QString profile(const ProfileReportData& data, const ProfileReportEntry& e) {
    QString html = "<hr/><h3>" + esc(physicianName(e)) + "</h3>";
    html += Block("Profile")
                .row("Physician ID", std::to_string(e.physician_id))
                .row("Partition", e.field("partition_name"))
                .row("Initials", e.field("initials"))
                .row("Titles", joined({e.field("title_2"), e.field("title_3"), e.field("title_4"), e.field("title_5"),
                                       e.field("title_6")},
                                      ", "))
                .row("Dictation #", e.field("dictation_id"))
                .row("MIS Nbr 1", e.field("mis_nbr_1"))
                .row("MIS Nbr 2", e.field("mis_nbr_2"))
                .row("Group/Spec", e.field("group_affiliation"))
                .row("Physician Type", e.field("physician_type"))
                .row("Electronic Signature", onOff(e.field("elect_signature")))
                .row("Accounts", joined(e.accounts, ", "))
                .html();
    if (!isTrue(data.formula("frm_suppress_demo")))
        html += Block("Demographics")
                    .row("Address", joined({e.field("address_1"), e.field("address_2"), e.field("address_3")}, ", "))
                    .row("City", e.field("city"))
                    .row("State", e.field("state"))
                    .row("Zip Code", e.field("zip_code"))
                    .row("Country", e.field("country"))
                    .row("Phone 1", e.field("phone_nbr_1"))
                    .row("Phone 2", e.field("phone_nbr_2"))
                    .html();
    if (!isTrue(data.formula("frm_suppress_output")))
        html += Block("Output")
                    .row("Online", onOff(e.field("online_enabled")))
                    .row("Online Queue", e.field("online_queue"))
                    .row("Batch", onOff(e.field("batch_enabled")))
                    .row("Batch Queue", e.field("batch_queue"))
                    .row("Fax 1", fax(e, "1"))
                    .row("Fax 2", fax(e, "2"))
                    .row("E-mail", joined({onOff(e.field("email_enabled")), e.field("email_address")}, "  "))
                    .row("E-mail Method", emailMethod(e.field("email_type")))
                    .html();
    if (!isTrue(data.formula("frm_suppress_addendums"))) {
        Block addendums("Addendums");
        for (const auto& [nbr, line] : e.addendums)
            addendums.row(nbr < kFirstSwitchAddendumNbr ? "Addendum" : "System Switch", line);
        html += addendums.html();
    }
    if (!isTrue(data.formula("frm_suppress_weighting"))) {
        html += "<h4>Weighting</h4><table cellspacing=\"1\"><tr><th align=\"left\">Report Type</th>"
                "<th align=\"left\">Weight Type</th><th align=\"left\">Value</th></tr>";
        if (e.weighting.empty())
            html += "<tr><td>None</td></tr>";
        for (const auto& w : e.weighting)
            html += "<tr><td>" + esc(w.reportName.empty() ? std::to_string(w.reportType) : w.reportName) + "</td><td>" +
                    (w.weightType == 1 ? "Direct" : "Percent") + "</td><td>" + esc(w.value) + "</td></tr>";
        html += "</table>";
    }
    return html;
}

} // namespace

QString ProfileReportHtml(const ProfileReportData& data, const QString& printedDate) {
    QString html = "<h2>Physician Profile Report</h2><p><b>Account:</b> " + esc(data.formula("frm_group_name")) +
                   "&nbsp;&nbsp;&nbsp;<b>" + esc(data.formula("frm_report_type")) + "</b>&nbsp;&nbsp;&nbsp;" +
                   printedDate.toHtmlEscaped() + "</p>";
    if (isTrue(data.formula("frm_summary_report"))) {
        html += summary(data);
    } else {
        for (const auto& e : data.physicians)
            html += profile(data, e);
    }
    return html + "<p>Total Physicians: " + QString::number(data.physicians.size()) + "</p>";
}

void PrintProfileReport(QPrinter& printer, const ProfileReportData& data) {
    QTextDocument document;
    document.setHtml(ProfileReportHtml(data, QString::fromStdString(foundation::ListExportDate())));
    document.print(&printer);
}

void PreviewProfileReport(const ProfileReportData& data, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle("Physician Profile Report");
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&data](QPrinter* p) { PrintProfileReport(*p, data); });
    preview.exec();
}

} // namespace physicians
