#include "WizardSteps.h"

#include "DatabaseSession.h"

#include <algorithm>
#include <vector>

namespace wizard {

namespace {

constexpr const char* kCrLf = "\r\n";

// The parts of a dotted version as numbers; the digits at the start of each part.
std::vector<long long> versionParts(const std::string& version) {
    std::vector<long long> parts;
    size_t start = 0;
    while (start <= version.size()) {
        size_t end = version.find('.', start);
        if (end == std::string::npos)
            end = version.size();
        long long value = 0;
        for (size_t i = start; i < end && version[i] >= '0' && version[i] <= '9'; ++i)
            value = value < 100000000 ? value * 10 + (version[i] - '0') : value;
        parts.push_back(value);
        start = end + 1;
    }
    return parts;
}

} // namespace

std::string StepCompletionBatch() {
    std::string batch;
    for (const char* line : {"SET ROWCOUNT 1", "SELECT * FROM Account_info WHERE hosp_acct_id > -1",
                             "SELECT * FROM System_user_bindery WHERE user_id > 2", "SELECT * FROM System_printers",
                             "SELECT * FROM Physician_profile WHERE physician_id > 0", "SET ROWCOUNT 0"}) {
        if (!batch.empty())
            batch += kCrLf;
        batch += line;
    }
    return batch;
}

std::optional<StepMarks> ReadStepMarks() {
    auto& session = foundation::DatabaseSession::instance();
    session.SQLStatement = StepCompletionBatch();
    if (session.ExecSQL() != 1)
        return std::nullopt;
    StepMarks marks{};
    int sets = 0;
    for (;;) {
        const bool hasRow = session.FetchBatchRow() == 1;
        if (sets < kWizardSteps)
            marks[static_cast<size_t>(sets)] = hasRow;
        ++sets;
        if (session.NextResultSet() != 1)
            break;
    }
    session.CloseStatement();
    // A read that failed part-way ends the walk early; its error has been shown.
    if (sets < kWizardSteps)
        return std::nullopt;
    return marks;
}

bool VersionAbove(const std::string& version, const std::string& minimum) {
    const auto a = versionParts(version), b = versionParts(minimum);
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const long long x = i < a.size() ? a[i] : 0, y = i < b.size() ? b[i] : 0;
        if (x != y)
            return x > y;
    }
    return false;
}

} // namespace wizard
