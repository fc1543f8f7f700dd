#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wizard {

// The standard configuration shipped with the suite (report formats with their outputs and fields,
// custom fields and printers in a standard database) copied into the live database for the site's
// first account.
class StandardConfiguration {
public:
    static constexpr const char* kCaption = "Installing Standard Configuration";
    static constexpr const char* kFailed = "The standard report formats could not be copied.";
    static constexpr const char* kDatabaseName = "k2standard_db";

    struct Report {
        bool ok = false;
        std::string message;                                  // the failure as shown, empty after success
        std::vector<std::pair<std::string, long>> rowsCopied; // report tables, rows under the account
        long fieldsAdded = 0;
        long printersAdded = 0;
        std::vector<std::string> blankQueues; // descriptions of the printers with no queue now
        // The closing summary shown after a successful install.
        [[nodiscard]] std::string summary() const;
    };

    // The account the install is offered for: the system has exactly one account and its
    // email_type is 1. nullopt otherwise (or when the read failed).
    static std::optional<long> OfferedAccount();

    // The standard database under the network root, and its temporary copy and log under the local root.
    static std::string SourcePath(const std::string& networkRoot);
    static std::string TemporaryPath(const std::string& localRoot);
    static std::string TemporaryLogPath(const std::string& localRoot);

    // Copies the standard database to the local temporary folder, attaches it, copies the report
    // formats, fields and printers statement by statement (each only after the one before
    // succeeded, none retried), then detaches it and removes the copy. The wait window shows each
    // stage. A failure is shown with its reason and stops the install; what was copied before it
    // stays, and the standard database never stays attached.
    static Report Install(long account, const std::string& networkRoot, const std::string& localRoot);
};

} // namespace wizard
