#pragma once

#include "clsDictationPurging.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace suite {
class LoginComponent;
}

namespace maintenance {

// The dictation purging criteria being edited, in the order they were read (the default last), and
// their save: the purge procedure the dictation processor runs is written again from the kept
// criteria, and only when that succeeded are the criteria rows replaced.
class clsDictationPurgings {
public:
    static const char* const kLoadQuery;
    static const char* const kDropStatement;
    static const char* const kGrantStatement;
    static const char* const kSavedMessage;
    static const char* const kSaveFailedMessage;
    static constexpr long kChangedEvent = 20020;

    // False when the query failed (the session has shown why).
    bool Load();
    // The three statements that regenerate the procedure, each to be sent alone.
    [[nodiscard]] std::array<std::string, 3> ProcedureStatements() const;
    // The procedure's text: one block per kept criterion, in collection order.
    [[nodiscard]] std::string CreateStatement() const;
    // The batch that replaces the stored criteria with the kept ones.
    [[nodiscard]] std::string CriteriaBatch() const;
    // Applies the date type to every criterion, regenerates the procedure, writes the criteria and
    // the log entry; on failure shows the message and leaves the criteria rows as they were.
    bool Save(int dateType, const std::string& userName);

    // The dry run: how many completed jobs each criterion would queue now, exactly as the procedure's
    // blocks would, in their order, inside a transaction that is rolled back, so nothing is kept.
    // One count per criterion, -1 for an obsolete one (it has no block); nullopt when it failed.
    [[nodiscard]] std::string DryRunStatement() const;
    [[nodiscard]] std::optional<std::vector<long>> DryRun() const;

    // The list's lines, one per criterion.
    [[nodiscard]] std::vector<std::string> Descriptions(const suite::LoginComponent& accounts) const;
    // The warning shown when criteria of an obsolete source are held; "" when there are none.
    [[nodiscard]] std::string ObsoleteWarning(const suite::LoginComponent& accounts) const;
    // The default criterion's date type, 0 when there is no default.
    [[nodiscard]] int DateType() const;

    std::vector<clsDictationPurging> items;

private:
    [[nodiscard]] std::string block(const clsDictationPurging& c) const;
};

} // namespace maintenance
