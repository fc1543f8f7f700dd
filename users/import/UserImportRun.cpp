#include "UserImportRun.h"

#include "MessageService.h"

#include <csv.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace users {

namespace {

// Takes the messages the store and the session would show while one user is written.
class CollectedMessages : public platform::MessageService {
public:
    CollectedMessages() : m_previous(&platform::MessageService::instance()) { install(this); }
    ~CollectedMessages() override { install(m_previous); }
    CollectedMessages(const CollectedMessages&) = delete;
    CollectedMessages& operator=(const CollectedMessages&) = delete;

    platform::MsgAnswer show(const std::string& text, platform::MsgButtons buttons, platform::MsgIcon,
                             const std::string&) override {
        m_text += (m_text.empty() ? "" : "  ") + text;
        switch (buttons) {
        case platform::MsgButtons::YesNo:
        case platform::MsgButtons::YesNoCancel:
            return platform::MsgAnswer::No;
        case platform::MsgButtons::RetryCancel:
            return platform::MsgAnswer::Cancel;
        case platform::MsgButtons::AbortRetryIgnore:
            return platform::MsgAnswer::Abort;
        default:
            return platform::MsgAnswer::OK;
        }
    }
    std::string take() { return std::exchange(m_text, {}); }

private:
    platform::MessageService* m_previous;
    std::string m_text;
};

} // namespace

UserImportSummary RunUserImport(const std::vector<UserImportRow>& rows, const ImportProgress& progress, clsUsers& users,
                                clsSecurityGroups& groups) {
    UserImportSummary summary;
    summary.results.reserve(rows.size());
    size_t total = 0;
    for (const auto& r : rows)
        total += r.outcome == ImportOutcome::New || r.outcome == ImportOutcome::Update;
    size_t done = 0;
    CollectedMessages messages;
    for (const UserImportRow& row : rows) {
        UserImportResult result;
        result.line = row.line;
        if (row.outcome == ImportOutcome::Skip) {
            result.outcome = "skipped";
            ++summary.skipped;
        } else if (row.outcome == ImportOutcome::Error) {
            result.outcome = "error";
            result.message = row.message;
            ++summary.refused;
        } else if (summary.cancelled || (progress && !progress(done, total))) {
            summary.cancelled = true;
            result.outcome = "not imported (cancelled)";
            ++summary.notImported;
        } else {
            clsUser user;
            user.CopyClass(row.user);
            UserEditChanges changes = row.changes;
            for (long g : row.groupsAfter)
                if (std::find(row.groupsBefore.begin(), row.groupsBefore.end(), g) == row.groupsBefore.end())
                    changes.groupsJoined.push_back(g);
            for (long g : row.groupsBefore)
                if (std::find(row.groupsAfter.begin(), row.groupsAfter.end(), g) == row.groupsAfter.end())
                    changes.groupsLeft.push_back(g);
            const bool isNew = row.outcome == ImportOutcome::New;
            // A new user goes into a collection of its own that is dropped once it is written: the
            // import's memory stays flat in the number of users, and the screens read the list again.
            clsUsers written;
            const bool saved = isNew ? SaveNewUser(user, changes, written) : SaveChangedUser(user, changes, users);
            result.message = messages.take();
            if (saved) {
                result.outcome = isNew ? "added" : "updated";
                result.userId = user.m_lngUserId;
                result.password = row.generatedPassword;
                ++(isNew ? summary.added : summary.updated);
                for (long g : changes.groupsJoined)
                    if (clsSecurityGroup* held = groups.Item(clsSecurityGroups::Key(g)))
                        held->AddUserId(user.m_lngUserId);
                for (long g : changes.groupsLeft)
                    if (clsSecurityGroup* held = groups.Item(clsSecurityGroups::Key(g)))
                        held->RemoveUserIdAndUserRelation(user.m_lngUserId);
            } else {
                result.outcome = "failed";
                ++summary.failed;
            }
            ++done;
        }
        summary.results.push_back(std::move(result));
    }
    if (progress && !summary.cancelled)
        progress(done, total);
    return summary;
}

std::string ImportResultPath(const std::string& sourcePath) {
    std::filesystem::path p(sourcePath);
    return (p.parent_path() / (p.stem().string() + "-result.csv")).string();
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& f : fields) {
        if (!line.empty())
            line += ',';
        std::string quoted(f.size() * 2 + 2, '\0');
        quoted.resize(csv_write(quoted.data(), quoted.size(), f.data(), f.size()));
        line += quoted;
    }
    return line + "\r\n";
}

bool WriteImportResult(const std::string& path, const std::vector<UserImportRow>& rows,
                       const UserImportSummary& summary) {
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!out)
        return false;
    const auto write = [&out](const std::string& line) {
        return std::fwrite(line.data(), 1, line.size(), out.get()) == line.size();
    };
    bool ok = write(CsvLine({"Line", "User Name", "Outcome", "User ID", "Message", "Password"}));
    for (size_t i = 0; i < summary.results.size() && i < rows.size(); ++i) {
        const UserImportResult& r = summary.results[i];
        ok = ok && write(CsvLine({std::to_string(r.line), rows[i].userName, r.outcome,
                                  r.userId ? std::to_string(r.userId) : "", r.message, r.password}));
    }
    return ok && std::fflush(out.get()) == 0;
}

} // namespace users
