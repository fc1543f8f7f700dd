#include "clsLineCountConfig.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "LC_Settings.h"
#include "MessageService.h"
#include "Numbers.h"
#include "Text.h"
#include "Utf8.h"

namespace accounts {

using foundation::DatabaseSession;
using foundation::EventLog;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr long kUpdatedEvent = 20025;
constexpr long kDeletedEvent = 20028;

const char* const kSetColumns[2][3] = {{"attribute_set1", "attribute_set2", "attribute_set3"},
                                       {"function_set1", "function_set2", "function_set3"}};

bool run(const std::string& sql) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = sql;
    if (s.ExecSQL() != 1)
        return false;
    s.FlushResults();
    return true;
}

std::string sqlPiece(const std::optional<std::string>& piece) {
    return piece ? "'" + DatabaseSession::QuoteSQL(*piece) + "'" : std::string("NULL");
}

} // namespace

clsLineCountConfig::clsLineCountConfig() : values(LC_SettingCount(), "0") {}

std::string clsLineCountConfig::ListQuery() {
    return "SELECT config_id, config_name FROM Linecount_cfg ORDER BY config_name";
}

bool clsLineCountConfig::LoadList(std::vector<std::pair<long, std::string>>& list) {
    list.clear();
    auto& s = DatabaseSession::instance();
    s.SQLStatement = ListQuery();
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1)
        list.emplace_back(s.GetColumnLong(1), s.GetColumnText(2, 1));
    return true;
}

std::optional<clsLineCountConfig> clsLineCountConfig::Load(long id) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT * FROM Linecount_cfg WHERE config_id = " + std::to_string(id);
    if (s.ExecSQL() != 1 || s.FetchRow() != 1) {
        MsgBox("Error.  Could not retrieve configuration.", MsgButtons::OK, MsgIcon::Exclamation, "Retrieve Error");
        return std::nullopt;
    }
    // The columns come in the table's order: the id, the name, the settings, then the six sets.
    clsLineCountConfig c;
    c.config_id = s.GetColumnLong(1);
    c.config_name = s.GetColumnText(2, 1);
    int column = 3;
    for (auto& value : c.values)
        value = s.GetColumnText(column++, 1);
    for (std::string* codes : {&c.attributes, &c.functions})
        for (int piece = 0; piece < 3; ++piece) {
            // A piece may begin or end with a blank that belongs to the codes: read untrimmed.
            const std::string raw = s.GetColumnText(column++, 0);
            *codes += raw.substr(0, raw.find('\0'));
        }
    s.FlushResults();
    s.CloseStatement();
    return c;
}

std::optional<long> clsLineCountConfig::ParseSetting(std::size_t index, const std::string& text) {
    const LC_Setting& setting = LC_SettingsBegin()[index];
    std::string_view digits = platform::detail::trimBlanks(text);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative)
        digits.remove_prefix(1);
    const auto parsed = digits.size() <= 6 ? platform::parseDigits(digits) : std::nullopt;
    if (!parsed)
        return std::nullopt;
    const long value = negative ? -static_cast<long>(*parsed) : static_cast<long>(*parsed);
    if (setting.kind == LCKind::Number && (value < setting.minimum || value > setting.maximum))
        return std::nullopt;
    return value;
}

std::optional<clsLCRule> clsLineCountConfig::Validate() const {
    for (std::size_t i = 0; i < LC_SettingCount(); ++i) {
        const LC_Setting& setting = LC_SettingsBegin()[i];
        if (setting.kind != LCKind::Number || ParseSetting(i, values[i]))
            continue;
        return clsLCRule{std::string("Configuration cannot be saved.  The ") + setting.settingName +
                             " setting is invalid.  Valid values are " + setting.rangeText + ".",
                         "Invalid Entry", static_cast<int>(i)};
    }
    if (foundation::trimText(config_name).empty())
        return clsLCRule{"The configuration name is not set.  Configuration cannot be saved.", "Save Error",
                         clsLCRule::Name};
    if (platform::utf8Length(attributes) > kCodesLength)
        return clsLCRule{"The RTF Attribute Codes text is too long.  The maximum number of characters is 765.",
                         "Save Error", clsLCRule::Attributes};
    if (platform::utf8Length(functions) > kCodesLength)
        return clsLCRule{"The RTF Function Codes text is too long.  The maximum number of characters is 765.",
                         "Save Error", clsLCRule::Functions};
    return std::nullopt;
}

std::array<std::optional<std::string>, 3> clsLineCountConfig::SplitPieces(const std::string& codes) {
    std::array<std::optional<std::string>, 3> pieces;
    std::string rest = codes;
    for (auto& piece : pieces) {
        const std::string part = platform::utf8Left(rest, kPieceLength);
        rest.erase(0, part.size());
        if (!part.empty())
            piece = part;
    }
    return pieces;
}

std::string clsLineCountConfig::NextIdQuery() {
    return "SELECT MAX(config_id) + 1 FROM Linecount_cfg";
}

// The table's other columns take their defaults; the update that follows writes every setting.
std::string clsLineCountConfig::InsertStatement(long id, const std::string& name) {
    return "INSERT INTO Linecount_cfg (config_id, config_name) VALUES (" + std::to_string(id) + ", '" +
           DatabaseSession::QuoteSQL(name) + "')";
}

std::string clsLineCountConfig::UpdateStatement() const {
    std::string sql = "UPDATE Linecount_cfg \r\nSET config_name = '" + DatabaseSession::QuoteSQL(config_name) + "', ";
    for (std::size_t i = 0; i < LC_SettingCount(); ++i)
        sql += std::string("\r\n") + LC_SettingsBegin()[i].column + " = " +
               std::to_string(ParseSetting(i, values[i]).value_or(0)) + ", ";
    const std::string* codes[2] = {&attributes, &functions};
    for (int set = 0; set < 2; ++set) {
        const auto pieces = SplitPieces(*codes[set]);
        for (int piece = 0; piece < 3; ++piece)
            sql += std::string("\r\n") + kSetColumns[set][piece] + " = " +
                   sqlPiece(pieces[static_cast<size_t>(piece)]) + (set == 1 && piece == 2 ? "" : ", ");
    }
    return sql + "\r\nWHERE config_id = " + std::to_string(config_id);
}

bool clsLineCountConfig::Save() {
    auto& s = DatabaseSession::instance();
    long id = config_id;
    if (id < 0) {
        s.SQLStatement = NextIdQuery();
        if (s.ExecSQL() != 1 || s.FetchRow() != 1)
            return false;
        id = s.GetColumnLong(1);
        s.FlushResults();
        s.CloseStatement();
        if (!run(InsertStatement(id, config_name))) {
            MsgBox("Unable to insert the new configuration.  Save failed.", MsgButtons::OK, MsgIcon::Exclamation,
                   "Save Error");
            return false;
        }
        config_id = id;
    }
    if (!run(UpdateStatement()))
        return false;
    EventLog::LogEvent(EventLog::SystemLog, 0, 2, kUpdatedEvent, 0, 0, 0, 0, 0, -1, 0,
                       "Line count configuration " + config_name + " updated.");
    return true;
}

std::string clsLineCountConfig::ReferenceQuery(long id) {
    const std::string n = std::to_string(id);
    return "SELECT count(*) FROM Reports_cfg \r\nWHERE payroll_linecount_cfg = " + n + " OR \r\n" +
           "      billing_linecount_cfg = " + n;
}

long clsLineCountConfig::ReferenceCount(long id) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = ReferenceQuery(id);
    if (s.ExecSQL() != 1 || s.FetchRow() != 1)
        return -1;
    const long count = s.GetColumnLong(1);
    s.FlushResults();
    s.CloseStatement();
    return count;
}

std::string clsLineCountConfig::InUseMessage(long count) {
    return "This configuration can not be deleted.  It is currently referenced by " + std::to_string(count) +
           " report" + (count != 1 ? "s." : ".");
}

bool clsLineCountConfig::Delete() const {
    if (!run("DELETE FROM Linecount_cfg WHERE config_id = " + std::to_string(config_id)))
        return false;
    EventLog::LogEvent(EventLog::SystemLog, 0, 2, kDeletedEvent, 0, 0, 0, 0, 0, -1, 0,
                       "Line count configuration " + config_name + " deleted.");
    return true;
}

} // namespace accounts
