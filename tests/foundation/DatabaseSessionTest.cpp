#include "DatabaseSession.h"
#include "DecimalCommaLocale.h"
#include "MessageService.h"
#include "OdbcFixture.h"

using foundation::DatabaseSession;
using platform::MessageRecorder;
using platform::MsgIcon;
using namespace kdtest;

namespace {

struct ProgramEnded {
    int code;
};

// Reports Cancel after a number of polls, like a user pressing BCancel while the statement runs.
class ScriptedWait : public platform::WaitIndicator {
public:
    explicit ScriptedWait(int cancelAfter) : m_cancelAfter(cancelAfter) {}
    bool isCancelled() const override { return m_cancelAfter >= 0 && m_polls >= m_cancelAfter; }
    void setMessage(const std::string& text) override { messages.push_back(text); }
    void processEvents() override { ++m_polls; }
    std::vector<std::string> messages;

private:
    int m_cancelAfter;
    int m_polls = 0;
};

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        odbc.createDatabase("site");
        auto& s = session();
        s.DisconnectFromSQL();
        s = DatabaseSession{};
        s.UseDriverConnect = true;
        s.ServerName = odbc.folder();
        s.DatabaseName = "site";
        s.LoginName = "sa";
        s.Password = "";
        s.pollIntervalMs = 10;
        s.terminateHook = [](int code) { throw ProgramEnded{code}; };
        ASSERT_TRUE(s.ConnectToSQL());
        run("CREATE TABLE Notes (id int NOT NULL PRIMARY KEY, txt varchar(400) NULL, code char(10) NULL)\n"
            "INSERT Notes VALUES (1, NULL, 'ab')\n"
            "INSERT Notes VALUES (2, '" +
            std::string(299, 'x') + "y', NULL)");
        recorder.shown.clear();
        s.history.clear();
    }
    void TearDown() override {
        session().waitWindow = nullptr;
        session().DisconnectFromSQL();
    }
    static DatabaseSession& session() { return DatabaseSession::instance(); }
    int run(const std::string& sql) {
        session().SQLStatement = sql;
        int r = session().ExecSQL();
        if (r == 1)
            session().FlushResults();
        return r;
    }
    std::vector<std::string> column(const std::string& sql, int col) {
        std::vector<std::string> out;
        session().SQLStatement = sql;
        if (session().ExecSQL() != 1)
            return out;
        while (session().FetchRow() == 1)
            out.push_back(session().GetColumnText(col, 1));
        return out;
    }

    OdbcEnvironment odbc;
    MessageRecorder recorder;
};

TEST_F(SessionTest, ReadsColumnsAsTrimmedTextWithNullEmptyAndLongValuesCut) {
    auto txt = column("SELECT txt FROM Notes ORDER BY id", 1);
    ASSERT_EQ(txt.size(), 2u);
    EXPECT_EQ(txt[0], "");
    EXPECT_EQ(txt[1], std::string(255, 'x')); // first 255 characters, no message
    EXPECT_EQ(column("SELECT code FROM Notes WHERE id = 1", 1), std::vector<std::string>{"ab"});
    EXPECT_EQ(column("SELECT id * 10, GETDATE() FROM Notes WHERE id = 2", 1), std::vector<std::string>{"20"});
    EXPECT_TRUE(recorder.shown.empty());
}

// The 255-character limit counts characters: multi-byte letters on both sides of it arrive whole.
TEST_F(SessionTest, ColumnLimitCountsCharactersAndNeverSplitsOne) {
    const std::string e = "\xC3\xA9";       // 2 bytes
    const std::string han = "\xE6\xBC\xA2"; // 3 bytes
    auto times = [](const std::string& piece, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += piece;
        return out;
    };
    struct Case {
        const char* what;
        std::string stored;
        std::string read;
    };
    const Case cases[] = {
        {"100 three-byte letters", times(han, 100), times(han, 100)},
        {"255 two-byte letters", times(e, 255), times(e, 255)},
        {"256 two-byte letters", times(e, 256), times(e, 255)},
        {"254 + a three-byte letter + one more", std::string(254, 'x') + han + "y", std::string(254, 'x') + han},
        {"256 three-byte letters", times(han, 256), times(han, 255)},
        {"a two-byte letter on the 256-byte edge", std::string(255, 'x') + e, std::string(255, 'x')},
        {"a three-byte letter across the edge", std::string(254, 'x') + han, std::string(254, 'x') + han},
    };
    int id = 10;
    for (const auto& c : cases) {
        ASSERT_EQ(run("INSERT Notes VALUES (" + std::to_string(id) + ", '" + c.stored + "', NULL)"), 1) << c.what;
        EXPECT_EQ(column("SELECT txt FROM Notes WHERE id = " + std::to_string(id), 1), std::vector<std::string>{c.read})
            << c.what;
        ++id;
    }
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(SessionTest, ASuccessfulStatementClearsTheLastError) {
    EXPECT_EQ(run("SELECT * FROM Missing"), 0);
    EXPECT_FALSE(session().LastSQLError.empty());
    EXPECT_EQ(column("SELECT code FROM Notes WHERE id = 1", 1), std::vector<std::string>{"ab"});
    EXPECT_TRUE(session().LastSQLError.empty());
}

TEST_F(SessionTest, FetchOnAnExhaustedResultClosesAndClosingAgainIsHarmless) {
    session().SQLStatement = "SELECT id FROM Notes WHERE id = 1";
    ASSERT_EQ(session().ExecSQL(), 1);
    EXPECT_EQ(session().FetchRow(), 1);
    EXPECT_EQ(session().FetchRow(), 0);
    session().CloseStatement();
    EXPECT_EQ(session().FetchRow(), 0);
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(run("SELECT 1"), 1);
}

TEST_F(SessionTest, PrintCountsAsFailureAndShowsItsMessage) {
    EXPECT_EQ(run("PRINT 'hello there'"), 0);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].title, "Veltra Desktop - SQL Error");
    EXPECT_EQ(recorder.shown[0].icon, MsgIcon::Critical);
    EXPECT_NE(recorder.shown[0].text.find("hello there"), std::string::npos);
}

TEST_F(SessionTest, FailedStatementShowsTheDriversMessagesAndKeepsTheLast) {
    EXPECT_EQ(run("SELECT * FROM Missing"), 0);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_NE(recorder.shown[0].text.find("Invalid object name 'Missing'."), std::string::npos);
    EXPECT_NE(session().LastSQLError.find("Invalid object name 'Missing'."), std::string::npos);
    EXPECT_TRUE(session().SQLConnected);
    EXPECT_EQ(session().history, std::vector<std::string>{"SELECT * FROM Missing"});
}

TEST_F(SessionTest, LostLinkReconnectsTellsTheUserAndRetriesOnce) {
    odbc.arrangeFault("site", "drop-link 1");
    EXPECT_EQ(run("INSERT Notes VALUES (3, 'after the drop', NULL)"), 1);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Connection to SQL Server reestablished.");
    EXPECT_EQ(recorder.shown[0].icon, MsgIcon::None);
    EXPECT_EQ(recorder.shown[0].title, "Veltra Desktop");
    EXPECT_TRUE(session().LastSQLError.empty());
    EXPECT_EQ(column("SELECT COUNT(*) FROM Notes WHERE id = 3", 1), std::vector<std::string>{"1"});
    EXPECT_EQ(session().history.front(), session().history[1]); // sent, then sent once more
}

TEST_F(SessionTest, FailedReconnectShowsConnectErrorAndEndsTheProgram) {
    odbc.arrangeFault("site", "drop-link 1");
    odbc.arrangeFault("site", "refuse-connect 1");
    session().SQLStatement = "SELECT 1";
    EXPECT_THROW(session().ExecSQL(), ProgramEnded);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().title, "Connect Error");
    EXPECT_FALSE(session().SQLConnected);
}

TEST_F(SessionTest, ConnectingTwiceConnectsOnce) {
    SQLHDBC before = session().connectionHandle();
    EXPECT_TRUE(session().ConnectToSQL());
    EXPECT_EQ(session().connectionHandle(), before);
}

TEST_F(SessionTest, ConnectionStringsFollowTheLayoutAndAreCutAt150) {
    DatabaseSession s;
    s.UseDriverConnect = true;
    s.LoginName = "sa";
    s.Password = "pw";
    s.DatabaseName = "KALDRA";
    s.ServerName = "SQLHOST";
    std::string cs = s.ConnectionString();
    EXPECT_EQ(cs.size(), 150u);
    EXPECT_EQ(cs.rfind("UID=sa;PWD=pw;Database=KALDRA;Server=SQLHOST;Driver={SQL Server};DSN='';APP=KDADMIN.EXE", 0),
              0u);
    EXPECT_EQ(cs.find_last_not_of(' '), cs.find("APP=KDADMIN.EXE") + 14);
    s.UseDriverConnect = false;
    s.DataSourceName = "KALDRA";
    EXPECT_EQ(s.ConnectionString().rfind("DSN=KALDRA;UID=sa;PWD=pw;APP=KDADMIN.EXE", 0), 0u);
    s.UseDriverConnect = true;
    s.ServerName = std::string(200, 's');
    EXPECT_EQ(s.ConnectionString().size(), 150u);
}

TEST_F(SessionTest, ConnectFailureShowsTheDriverErrorThenConnectError) {
    DatabaseSession& s = session();
    s.DisconnectFromSQL();
    s.DatabaseName = "nosuch";
    EXPECT_FALSE(s.ConnectToSQL());
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_NE(recorder.shown[0].text.find("Cannot open database \"nosuch\""), std::string::npos);
    EXPECT_EQ(recorder.shown[1].title, "Connect Error");
    EXPECT_EQ(recorder.shown[1].icon, MsgIcon::Exclamation);
    const std::string& t = recorder.shown[1].text;
    EXPECT_EQ(t.rfind("A connection could not be made to the SQL database.\n\nPossible causes include:\n\n", 0), 0u);
    EXPECT_NE(t.find("-->\tThe SQL Server " + odbc.folder() + "\n\tor the SQL Database nosuch\n\tdo not exist.\n"),
              std::string::npos);
    EXPECT_NE(t.find("\nContact your system administrator for assistance.\n"), std::string::npos);
    EXPECT_FALSE(s.SQLConnected);
}

TEST_F(SessionTest, AsyncStatementsSucceedFailOrAreCancelledWithoutAMessage) {
    session().SQLStatement = "SELECT COUNT(*) FROM Notes";
    EXPECT_EQ(session().ExecSQLAsync(true), 1);
    EXPECT_EQ(session().FetchRow(), 1);
    EXPECT_EQ(session().GetColumnText(1, 1), "2");
    session().CloseStatement();

    session().SQLStatement = "SELECT * FROM Missing";
    EXPECT_EQ(session().ExecSQLAsync(false), 0);
    EXPECT_EQ(recorder.shown.size(), 1u);

    recorder.shown.clear();
    ScriptedWait wait(2);
    session().waitWindow = &wait;
    session().SQLStatement = "DECLARE @i int SET @i = 0 WHILE 1 = 1 SET @i = @i + 1";
    EXPECT_EQ(session().ExecSQLAsync(true), 5);
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(wait.messages, std::vector<std::string>{"Cancelling the operation...Please Wait..."});
    // The next synchronous statement switches asynchronous mode off again.
    EXPECT_EQ(column("SELECT COUNT(*) FROM Notes", 1), std::vector<std::string>{"2"});
}

TEST_F(SessionTest, NoRetryIsQuietOnRequest) {
    session().SQLStatement = "SELECT * FROM Missing";
    EXPECT_EQ(session().ExecSQLNoRetry(true), 1);
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(session().ExecSQLNoRetry(false), 0);
    EXPECT_EQ(recorder.shown.size(), 1u);
}

TEST_F(SessionTest, FlushResultsWalksABatchAndReportsMessagesOnTheWay) {
    session().SQLStatement = "SELECT 1\nSELECT 2\nUPDATE Notes SET code = 'z' WHERE id = 1";
    ASSERT_EQ(session().ExecSQL(), 1);
    EXPECT_TRUE(session().FlushResults());
    session().SQLStatement = "SELECT 1\nPRINT 'note'";
    ASSERT_EQ(session().ExecSQL(), 1);
    EXPECT_FALSE(session().FlushResults());
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_NE(recorder.shown[0].text.find("note"), std::string::npos);
}

TEST_F(SessionTest, DatabaseVersionAndItsTests) {
    session().ReadDatabaseVersion();
    EXPECT_EQ(session().DatabaseVersion, 2); // no Database_version table: stays 2 (the error is shown)
    recorder.shown.clear();
    run("CREATE TABLE Database_version (version decimal(8,4) NOT NULL)\nINSERT Database_version VALUES (8.1)");
    session().ReadDatabaseVersion();
    EXPECT_DOUBLE_EQ(session().DatabaseVersion, 8.1);
    EXPECT_TRUE(session().VersionGreaterThan(8.08));
    EXPECT_TRUE(session().VersionAtLeast(8.1));
    EXPECT_TRUE(session().VersionEquals(8.1));
    EXPECT_TRUE(session().VersionAtMost(8.1));
    EXPECT_FALSE(session().VersionLessThan(8.1));
    EXPECT_TRUE(session().VersionLessThan(8.11));
}

TEST_F(SessionTest, DatabaseVersionIsReadWithoutTheLocale) {
    std::optional<kdtest::DecimalCommaLocale> german(std::in_place);
    KD_REQUIRE_DECIMAL_COMMA(*german);
    run("CREATE TABLE Database_version (version decimal(8,4) NOT NULL)\nINSERT Database_version VALUES (8.1)");
    session().ReadDatabaseVersion();
    german.reset();
    EXPECT_DOUBLE_EQ(session().DatabaseVersion, 8.1);
    EXPECT_TRUE(session().VersionGreaterThan(8.08));
}

TEST_F(SessionTest, TheStatementHistoryKeepsOnlyTheLatest) {
    for (size_t i = 0; i < DatabaseSession::kHistoryLimit + 5; ++i) {
        session().SQLStatement = "SELECT " + std::to_string(i);
        ASSERT_EQ(session().ExecSQL(), 1);
        session().CloseStatement();
    }
    EXPECT_LE(session().history.size(), DatabaseSession::kHistoryLimit);
    EXPECT_EQ(session().history.back(), "SELECT " + std::to_string(DatabaseSession::kHistoryLimit + 4));
}

TEST(QuoteSQL, DoublesEveryApostrophe) {
    const std::pair<const char*, const char*> cases[] = {{"O'Brien", "O''Brien"},
                                                         {"", ""},
                                                         {"''", "''''"},
                                                         {"plain", "plain"},
                                                         {"'; DROP TABLE x --", "''; DROP TABLE x --"}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(DatabaseSession::QuoteSQL(in), out);
}

TEST(DSNExists, LooksInTheSystemThenTheUserDataSources) {
    OdbcEnvironment env;
    std::string sys = env.addSystemDsn("MACHINE_DSN", "db");
    std::string user = env.addUserDsn("USER_DSN", "db");
    EXPECT_TRUE(DatabaseSession::DSNExists(sys));
    EXPECT_TRUE(DatabaseSession::DSNExists(user));
    EXPECT_FALSE(DatabaseSession::DSNExists("NOT_DEFINED"));
    EXPECT_FALSE(DatabaseSession::DSNExists(""));
}

} // namespace
