#pragma once

#include <string>
#include <utility>
#include <vector>

namespace physicians {

// A user data source that lives as long as this object: added to the user's odbc.ini through the
// driver manager's installer (SQLConfigDataSource, ODBC_ADD_DSN) and removed again (ODBC_REMOVE_DSN)
// when the object goes, also when the work done with it failed or threw.
class TemporaryDataSource {
public:
    // attributes: further "KEY=value" entries of the data source (Server, Database, ...).
    TemporaryDataSource(std::string name, std::string driver,
                        std::vector<std::pair<std::string, std::string>> attributes);
    ~TemporaryDataSource();
    TemporaryDataSource(const TemporaryDataSource&) = delete;
    TemporaryDataSource& operator=(const TemporaryDataSource&) = delete;

    [[nodiscard]] bool created() const { return m_created; }
    [[nodiscard]] const std::string& name() const { return m_name; }
    // The installer's message when the data source could not be added.
    [[nodiscard]] const std::string& error() const { return m_error; }

private:
    std::string m_name, m_driver, m_error;
    bool m_created = false;
};

} // namespace physicians
