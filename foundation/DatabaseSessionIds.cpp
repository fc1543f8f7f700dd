#include "DatabaseSession.h"

#include <charconv>

namespace foundation {

namespace {

constexpr const char* kLineBreak = "\r\n";

// Whatever stopped the allocation batch, the connection must not keep its transaction (and the
// update lock on the counter) open into the next statement.
void abandonTransaction(DatabaseSession& session) {
    session.CloseStatement();
    const std::string remembered = session.SQLStatement;
    session.SQLStatement = "IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION";
    session.ExecSQLNoRetry(true);
    session.CloseStatement();
    session.SQLStatement = remembered;
}

} // namespace

long long DatabaseSession::AllocateIdentifier(const std::string& selectStatement, const std::string& updateStatement) {
    SQLStatement = std::string("BEGIN TRANSACTION") + kLineBreak + selectStatement + kLineBreak + updateStatement +
                   kLineBreak + "COMMIT TRANSACTION";
    const std::string batch = SQLStatement;
    if (ExecSQL() != 1) {
        if (SQLConnected)
            abandonTransaction(*this);
        return -1;
    }
    long long value = -1;
    bool haveValue = false;
    bool finished = false;
    if (FetchRow() == 1) {
        const std::string text = GetColumnText(1, 1);
        const char* end = text.data() + text.size();
        auto [ptr, ec] = std::from_chars(text.data(), end, value);
        haveValue = ec == std::errc() && ptr == end;
        // The update and the commit are the batch's later results: the server only finishes the
        // batch when they are read, so every one of them is fetched before the value counts.
        finished = FlushResults();
    }
    if (!finished || !haveValue) {
        abandonTransaction(*this);
        SQLStatement = batch;
        return -1;
    }
    return value;
}

} // namespace foundation
