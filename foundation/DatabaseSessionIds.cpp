#include "DatabaseSession.h"

#include <charconv>

namespace foundation {

namespace {

constexpr const char* kLineBreak = "\r\n";

} // namespace

// Whatever stopped a batch that opened a transaction, the connection must not keep it (and its
// locks) open into the next statement, nor keep XACT_ABORT on for batches that expect each failed
// statement to leave the earlier ones applied.
void DatabaseSession::RollbackOpenTransaction() {
    CloseStatement();
    const std::string remembered = SQLStatement;
    SQLStatement = "IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION\r\nSET XACT_ABORT OFF";
    ExecSQLNoRetry(true);
    CloseStatement();
    SQLStatement = remembered;
}

int DatabaseSession::ExecSQLAllOrNothing() {
    const std::string statements = SQLStatement;
    SQLStatement = std::string("SET XACT_ABORT ON") + kLineBreak + "BEGIN TRANSACTION" + kLineBreak + statements +
                   kLineBreak + "COMMIT TRANSACTION" + kLineBreak + "SET XACT_ABORT OFF";
    int result = ExecSQL();
    // Every step's result is read, so that an error after the first statement is seen too.
    if (result == 1 && !FlushResults())
        result = 0;
    if (result != 1 && SQLConnected)
        RollbackOpenTransaction();
    SQLStatement = statements;
    return result;
}

long long DatabaseSession::AllocateIdentifier(const std::string& selectStatement, const std::string& updateStatement) {
    SQLStatement = std::string("BEGIN TRANSACTION") + kLineBreak + selectStatement + kLineBreak + updateStatement +
                   kLineBreak + "COMMIT TRANSACTION";
    const std::string batch = SQLStatement;
    if (ExecSQL() != 1) {
        if (SQLConnected)
            RollbackOpenTransaction();
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
        RollbackOpenTransaction();
        SQLStatement = batch;
        return -1;
    }
    return value;
}

} // namespace foundation
