// The driver's setup entry point. unixODBC's SQLConfigDataSource loads the library named by the
// driver's "Setup" entry in odbcinst.ini and hands it the request; this one serves as its own setup
// library, writing and removing data sources in the odbc.ini the driver manager's mode selects.

#pragma GCC visibility push(default)
#include <odbcinst.h>
#pragma GCC visibility pop

#include <string>
#include <utility>
#include <vector>

namespace {

// "KEY=value\0KEY=value\0\0" into pairs; the keys keep their spelling.
std::vector<std::pair<std::string, std::string>> attributePairs(LPCSTR attributes) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const char* p = attributes; p && *p; p += std::char_traits<char>::length(p) + 1) {
        const std::string item(p);
        const size_t eq = item.find('=');
        if (eq != std::string::npos)
            out.emplace_back(item.substr(0, eq), item.substr(eq + 1));
    }
    return out;
}

bool isDsnKey(const std::string& key) {
    return key.size() == 3 && (key[0] == 'D' || key[0] == 'd') && (key[1] == 'S' || key[1] == 's') &&
           (key[2] == 'N' || key[2] == 'n');
}

} // namespace

extern "C" {

#pragma GCC visibility push(default)
BOOL INSTAPI ConfigDSN(HWND, WORD request, LPCSTR driver, LPCSTR attributes) {
    const auto pairs = attributePairs(attributes);
    std::string dsn;
    for (const auto& [key, value] : pairs)
        if (isDsnKey(key))
            dsn = value;
    if (dsn.empty()) {
        SQLPostInstallerError(ODBC_ERROR_INVALID_KEYWORD_VALUE, "No DSN given.");
        return 0;
    }
    switch (request) {
    case ODBC_ADD_DSN:
    case ODBC_ADD_SYS_DSN:
        if (!SQLWriteDSNToIni(dsn.c_str(), driver)) {
            SQLPostInstallerError(ODBC_ERROR_REQUEST_FAILED, "The data source could not be written.");
            return 0;
        }
        [[fallthrough]];
    case ODBC_CONFIG_DSN:
    case ODBC_CONFIG_SYS_DSN:
        for (const auto& [key, value] : pairs)
            if (!isDsnKey(key) && !SQLWritePrivateProfileString(dsn.c_str(), key.c_str(), value.c_str(), "odbc.ini")) {
                SQLPostInstallerError(ODBC_ERROR_REQUEST_FAILED, "The data source could not be written.");
                return 0;
            }
        return 1;
    case ODBC_REMOVE_DSN:
    case ODBC_REMOVE_SYS_DSN:
        if (!SQLRemoveDSNFromIni(dsn.c_str())) {
            SQLPostInstallerError(ODBC_ERROR_REQUEST_FAILED, "The data source could not be removed.");
            return 0;
        }
        return 1;
    default:
        SQLPostInstallerError(ODBC_ERROR_INVALID_REQUEST_TYPE, "Unknown request.");
        return 0;
    }
}
#pragma GCC visibility pop

} // extern "C"
