#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace accounts {

// What stops a line-count configuration from being saved: the message, its title, and where the
// user has to go (a setting's position in LC_Settings, or one of the fields below).
struct clsLCRule {
    enum Field : int { Name = -1, Attributes = -2, Functions = -3 };
    std::string message;
    std::string title;
    int field = 0;
};

// One line-count configuration (Linecount_cfg) as the screen edits it. The settings are kept as
// the text the user typed or chose, in the order of LC_Settings, and are checked on save.
class clsLineCountConfig {
public:
    static constexpr std::size_t kNameLength = 30;   // characters
    static constexpr std::size_t kPieceLength = 255; // characters per attribute or function set column
    static constexpr std::size_t kCodesLength = 765; // characters in all

    long config_id = -1; // -1 until a new configuration is saved
    std::string config_name;
    std::vector<std::string> values; // one per LC_Settings entry
    std::string attributes, functions;

    clsLineCountConfig();

    static std::string ListQuery();
    // (id, name) in name order; false after the session showed the error
    static bool LoadList(std::vector<std::pair<long, std::string>>& list);
    // nullopt after "Error.  Could not retrieve configuration."
    static std::optional<clsLineCountConfig> Load(long id);

    // The first rule the configuration breaks, in the screen's order, or nullopt.
    [[nodiscard]] std::optional<clsLCRule> Validate() const;
    // A typed setting as a number within its range, or nullopt.
    [[nodiscard]] static std::optional<long> ParseSetting(std::size_t index, const std::string& text);

    static std::string NextIdQuery();
    [[nodiscard]] static std::string InsertStatement(long id, const std::string& name);
    [[nodiscard]] std::string UpdateStatement() const; // only for a valid configuration

    // The codes in three column values of at most 255 characters; an empty piece is NULL (nullopt).
    static std::array<std::optional<std::string>, 3> SplitPieces(const std::string& codes);

    // Writes a new (config_id -1) or existing configuration and logs it; false after the failure was
    // shown. A new configuration gets its id here.
    bool Save();

    static std::string ReferenceQuery(long id);
    // How many report types use the configuration for billing or payroll; -1 after an error.
    static long ReferenceCount(long id);
    static std::string InUseMessage(long count);
    // Deletes the configuration and logs it; false after the error was shown.
    bool Delete() const;
};

} // namespace accounts
