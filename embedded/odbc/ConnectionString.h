#pragma once

#include <map>
#include <string>
#include <string_view>

namespace odbcdrv {

// Attributes of an ODBC connection string ("KEY=value;KEY={value};..."), keys upper-cased,
// values with surrounding blanks removed (the console pads its string to 150 characters).
class ConnectionString {
public:
    explicit ConnectionString(std::string_view text);

    [[nodiscard]] std::string get(const std::string& upperKey) const;
    [[nodiscard]] bool has(const std::string& upperKey) const { return m_values.count(upperKey) > 0; }

private:
    std::map<std::string, std::string> m_values;
};

// A value that names nothing: empty, or the two apostrophes of "DSN='';".
bool isBlankValue(const std::string& value);

} // namespace odbcdrv
