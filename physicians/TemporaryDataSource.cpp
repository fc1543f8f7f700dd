#include "TemporaryDataSource.h"

#include <odbcinst.h>

namespace physicians {

namespace {

// The installer's attribute list: each "KEY=value" ended by a NUL, the list by a second NUL.
std::string attributeList(const std::vector<std::pair<std::string, std::string>>& attributes) {
    std::string out;
    for (const auto& [key, value] : attributes) {
        out += key + "=" + value;
        out += '\0';
    }
    out += '\0';
    return out;
}

std::string installerError() {
    std::string text;
    for (WORD i = 1; i <= 8; ++i) {
        DWORD code = 0;
        char message[SQL_MAX_MESSAGE_LENGTH] = {};
        WORD length = 0;
        if (SQLInstallerError(i, &code, message, sizeof message, &length) != SQL_SUCCESS)
            break;
        if (!text.empty())
            text += "  ";
        text += message;
    }
    return text.empty() ? "The driver manager gave no reason." : text;
}

} // namespace

TemporaryDataSource::TemporaryDataSource(std::string name, std::string driver,
                                         std::vector<std::pair<std::string, std::string>> attributes)
    : m_name(std::move(name)), m_driver(std::move(driver)) {
    attributes.insert(attributes.begin(), {"DSN", m_name});
    const std::string list = attributeList(attributes);
    m_created = SQLConfigDataSource(nullptr, ODBC_ADD_DSN, m_driver.c_str(), list.c_str());
    if (!m_created)
        m_error = installerError();
}

TemporaryDataSource::~TemporaryDataSource() {
    if (!m_created)
        return;
    std::string list = "DSN=" + m_name;
    list += '\0';
    list += '\0';
    SQLConfigDataSource(nullptr, ODBC_REMOVE_DSN, m_driver.c_str(), list.c_str());
}

} // namespace physicians
