#include "clsViewer.h"

#include "PrivateProfile.h"
#include "SuiteConnection.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace suite {

namespace {

int seconds(const std::string& text, int fallback) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() || n < 0 || n > 86400 ? fallback : static_cast<int>(n);
}

// What the temp file holds, at most 64 KiB of it; a relative name is under the network root.
std::string fileText(const std::string& name, const std::string& iniFile) {
    namespace fs = std::filesystem;
    fs::path path(name);
    if (path.is_relative() && !iniFile.empty())
        path = fs::path(platform::PrivateProfile::read("System", "NetworkRootDir", "", iniFile)) / path;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "The file " + path.string() + " is not available.";
    std::string text(64 * 1024, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

} // namespace

bool clsViewer::ViewRecord(long outputIdentifier, QWidget* parent) {
    SuiteConnection db;
    db.setTimeouts(seconds(ViewerTimeout, 60), seconds(SqlTimeout, 0));
    if (!db.open(ConnectionString))
        return false;
    static const char* const labels[] = {
        "Output:",      "Document:",   "Account:",        "Output Type:", "Status:",      "Error Code:", "Patient:",
        "Destination:", "Fax Number:", "Temp File Name:", "Sent By:",     "Output Time:", "Created:"};
    const auto rows = db.query(
        "SELECT oq.output_identifier, oq.document_id, "
        "(SELECT hosp_acct_name FROM Account_info AI WHERE AI.hosp_acct_id = oq.hosp_acct_id), oq.output_type, "
        "oq.known_status, oq.error_code, ISNULL(oq.last_name, '') + ', ' + ISNULL(oq.first_name, ''), "
        "oq.print_queue, oq.fax_nbr, oq.fax_filename, oq.sent_by_name, CONVERT(varchar(20), oq.output_time, 120), "
        "CONVERT(varchar(20), oq.output_create_timestamp, 120) FROM Output_queue oq WHERE oq.output_identifier = " +
        std::to_string(outputIdentifier));
    if (!rows || rows->empty())
        return false;
    const SuiteConnection::Row& row = rows->front();

    auto* window = new QDialog(parent);
    window->setObjectName("frmUploadViewer");
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Upload Viewer - Output %1").arg(outputIdentifier));
    auto* form = new QFormLayout;
    for (size_t i = 0; i < std::size(labels) && i < row.size(); ++i) {
        auto* value = new QLabel(QString::fromStdString(row[i].value_or("")));
        value->setObjectName(QStringLiteral("lblValue%1").arg(i));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(labels[i], value);
    }
    auto* content = new QPlainTextEdit;
    content->setObjectName("txtContent");
    content->setReadOnly(true);
    const std::string file = row.size() > 9 ? row[9].value_or("") : "";
    content->setPlainText(QString::fromStdString(file.empty() ? std::string() : fileText(file, IniFile)));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
    auto* layout = new QVBoxLayout(window);
    layout->addLayout(form);
    layout->addWidget(content, 1);
    layout->addWidget(buttons);
    m_window = window;
    window->show();
    return true;
}

} // namespace suite
