#include "PP_Unknown_Details.h"

#include "EventLog.h"
#include "ExportList.h"
#include "UnknownPhysicianModel.h"
#include "modUnknownPhysicians.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <ctime>

namespace physicians {

namespace {

// "mm/dd/yyyy" as the region shows dates, with its "yyyymmdd" sort key; other text stays as it is.
std::pair<QString, QVariant> regionalDate(const std::string& mdy) {
    std::tm t{};
    if (mdy.size() != 10 || std::sscanf(mdy.c_str(), "%2d/%2d/%4d", &t.tm_mon, &t.tm_mday, &t.tm_year) != 3)
        return {QString::fromStdString(mdy), QString::fromStdString(mdy)};
    const long key = t.tm_year * 10000L + t.tm_mon * 100L + t.tm_mday;
    t.tm_mon -= 1;
    t.tm_year -= 1900;
    char buf[64];
    const size_t n = std::strftime(buf, sizeof buf, foundation::EventLog::context().dateFormat.c_str(), &t);
    return {QString::fromUtf8(buf, static_cast<qsizetype>(n)), static_cast<qlonglong>(key)};
}

} // namespace

PP_Unknown_Details::PP_Unknown_Details(QWidget* parent)
    : QDialog(parent), m_model(new UnknownPhysicianModel({"Document ID", "Patient Last Name", "Patient First Name",
                                                          "Patient ID", "Transcribed", "User", "Account", "Report"},
                                                         this)) {
    setObjectName("PP_Unknown_Details");
    setWindowTitle("Report Details");
    auto* layout = new QVBoxLayout(this);
    lvwDetails = new QTableView(this);
    lvwDetails->setObjectName("lvwDetails");
    lvwDetails->setModel(m_model);
    lvwDetails->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwDetails->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwDetails->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    lvwDetails->setSortingEnabled(true);
    lvwDetails->verticalHeader()->setVisible(false);
    layout->addWidget(lvwDetails, 1);
    auto* buttons = new QDialogButtonBox(this);
    BExport = buttons->addButton("E&xport", QDialogButtonBox::ActionRole);
    BExport->setObjectName("BExport");
    cmdClose = buttons->addButton("&Close", QDialogButtonBox::RejectRole);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setDefault(true);
    layout->addWidget(buttons);
    connect(BExport, &QPushButton::clicked, this, [this] { foundation::ExportList(lvwDetails); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    resize(760, 360);
}

bool PP_Unknown_Details::ShowPhysicianDetails(const std::string& value) {
    setWindowTitle(QString::fromStdString("Report Details: " + value));
    std::vector<UnknownPhysicianReport> reports;
    const bool ok = LoadUnknownPhysicianDetails(value, reports);
    std::vector<UnknownPhysicianModel::Row> rows;
    rows.reserve(reports.size());
    for (const auto& r : reports) {
        const auto [date, dateKey] = regionalDate(r.transcribed_date);
        const auto text = [](const std::string& s) { return QString::fromStdString(s); };
        UnknownPhysicianModel::Row row;
        row.texts = {QString::number(r.document_id),
                     text(r.patient_last),
                     text(r.patient_first),
                     text(r.patient_id),
                     date,
                     text(r.user_name),
                     text(r.hosp_acct_name),
                     text(r.report_name)};
        for (int c = 0; c < row.texts.size(); ++c)
            row.keys.emplace_back(row.texts[c].toLower());
        row.keys[0] = static_cast<qlonglong>(r.document_id);
        row.keys[4] = dateKey;
        rows.push_back(std::move(row));
    }
    m_model->setRows(std::move(rows));
    return ok;
}

} // namespace physicians
