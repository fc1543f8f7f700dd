#include "OdbcFixture.h"

#include <fstream>

using namespace kdtest;

namespace {

class ConnectTest : public ::testing::Test {
protected:
    OdbcEnvironment odbc;
};

TEST_F(ConnectTest, DriverStringOpensTheNamedDatabaseInTheServerFolder) {
    odbc.createDatabase("site");
    OdbcConnection c;
    ASSERT_TRUE(SQL_SUCCEEDED(c.connect(connectionStringFor(odbc, "site"))));
    EXPECT_EQ(c.exec("SELECT DB_NAME()").scalar(), "site");
}

TEST_F(ConnectTest, SessionStringPaddedTo150CharactersConnects) {
    odbc.createDatabase("site");
    OdbcConnection c;
    // The console's exact layout: UID, PWD, Database, Server, Driver, DSN='', APP, blank-padded.
    std::string cs =
        "UID=kdadmin;PWD=secret;Database=site;Server=" + odbc.folder() + ";Driver={SQL Server};DSN='';APP=KDADMIN.EXE";
    ASSERT_LE(cs.size(), 150u);
    ASSERT_TRUE(SQL_SUCCEEDED(c.connect(cs, true))) << (c.connectDiags().empty() ? "" : c.connectDiags()[0].text);
    EXPECT_EQ(c.exec("SELECT APP_NAME()").scalar(), "KDADMIN.EXE");
    EXPECT_EQ(c.exec("SELECT SUSER_SNAME()").scalar(), "kdadmin");
}

TEST_F(ConnectTest, DsnIsFoundInTheSystemFileThenTheUserFile) {
    odbc.createDatabase("sysdb");
    odbc.createDatabase("userdb");
    std::string sys = odbc.addSystemDsn("SYSSITE", "sysdb");
    std::string user = odbc.addUserDsn("USERSITE", "userdb");
    OdbcConnection a, b;
    ASSERT_TRUE(SQL_SUCCEEDED(a.connect("DSN=" + sys + ";UID=sa;PWD=;APP=KDADMIN.EXE")));
    EXPECT_EQ(a.exec("SELECT DB_NAME()").scalar(), "sysdb");
    ASSERT_TRUE(SQL_SUCCEEDED(b.connect("DSN=" + user + ";UID=sa;PWD=;APP=KDADMIN.EXE")));
    EXPECT_EQ(b.exec("SELECT DB_NAME()").scalar(), "userdb");
}

TEST_F(ConnectTest, UnknownDsnIsRefusedByTheDriverManager) {
    OdbcConnection c;
    EXPECT_EQ(c.connect("DSN=NOSUCH;UID=sa;PWD=x"), SQL_ERROR);
    ASSERT_FALSE(c.connectDiags().empty());
    EXPECT_EQ(c.connectDiags()[0].state, "IM002");
}

TEST_F(ConnectTest, MissingDatabaseIsRefusedWith4060) {
    OdbcConnection c;
    EXPECT_EQ(c.connect(connectionStringFor(odbc, "nosuch")), SQL_ERROR);
    ASSERT_FALSE(c.connectDiags().empty());
    EXPECT_EQ(c.connectDiags()[0].native, 4060);
}

TEST_F(ConnectTest, SqlLoginsCheckThePassword) {
    odbc.createDatabase("site");
    {
        OdbcConnection admin;
        ASSERT_TRUE(SQL_SUCCEEDED(admin.connect(connectionStringFor(odbc, "site"))));
        ASSERT_EQ(admin.exec("EXEC sp_addlogin 'kdadmin', 'right'").rc(), SQL_SUCCESS);
    }
    struct Case {
        const char* uid;
        const char* pwd;
        bool ok;
    };
    const Case cases[] = {{"kdadmin", "right", true},  {"KDADMIN", "right", true}, {"kdadmin", "wrong", false},
                          {"kdadmin", "RIGHT", false}, {"nobody", "right", false}, {"kdadmin", "", false}};
    for (const auto& tc : cases) {
        OdbcConnection c;
        SQLRETURN rc = c.connect(connectionStringFor(odbc, "site", std::string("UID=") + tc.uid + ";PWD=" + tc.pwd));
        EXPECT_EQ(SQL_SUCCEEDED(rc), tc.ok) << tc.uid << "/" << tc.pwd;
        if (!tc.ok) {
            ASSERT_FALSE(c.connectDiags().empty());
            EXPECT_EQ(c.connectDiags()[0].state, "28000");
            EXPECT_EQ(c.connectDiags()[0].native, 18456);
            EXPECT_NE(c.connectDiags()[0].text.find(std::string("Login failed for user '") + tc.uid + "'."),
                      std::string::npos);
        }
    }
}

TEST_F(ConnectTest, DriverReportsOdbc2BackToAnOdbc2Application) {
    odbc.createDatabase("site");
    OdbcConnection c;
    ASSERT_TRUE(SQL_SUCCEEDED(c.connect(connectionStringFor(odbc, "site"))));
    // An ODBC 2 application sees ODBC 2 SQLSTATEs: S0002 for a missing table.
    auto r = c.exec("SELECT * FROM missing_table");
    ASSERT_FALSE(r.allDiags().empty());
    EXPECT_EQ(r.allDiags()[0].state, "S0002");
}

TEST_F(ConnectTest, Odbc3ApplicationGetsOdbc3States) {
    odbc.createDatabase("site");
    SQLHENV env;
    SQLHDBC dbc;
    SQLHSTMT stmt;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string cs = connectionStringFor(odbc, "site");
    ASSERT_TRUE(SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(cs.data()), SQL_NTS, nullptr, 0,
                                               nullptr, SQL_DRIVER_NOPROMPT)));
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    EXPECT_EQ(
        SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELECT * FROM missing_table")), SQL_NTS),
        SQL_ERROR);
    SQLCHAR state[6];
    SQLINTEGER native = 0;
    SQLCHAR text[512];
    SQLSMALLINT len;
    ASSERT_EQ(SQLGetDiagRec(SQL_HANDLE_STMT, stmt, 1, state, &native, text, sizeof text, &len), SQL_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<char*>(state), "42S02");
    EXPECT_EQ(native, 208);
    SQLINTEGER count = 0;
    EXPECT_EQ(SQLGetDiagField(SQL_HANDLE_STMT, stmt, 0, SQL_DIAG_NUMBER, &count, 0, nullptr), SQL_SUCCESS);
    EXPECT_EQ(count, 1);
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
}

TEST_F(ConnectTest, DriverCanBeNamedByPath) {
    odbc.createDatabase("site");
    OdbcConnection c;
    ASSERT_TRUE(SQL_SUCCEEDED(
        c.connect(std::string("Driver=") + KD_DRIVER_PATH + ";Server=" + odbc.folder() + ";Database=site")));
    EXPECT_EQ(c.exec("SELECT 1 + 1").scalar(), "2");
}

TEST_F(ConnectTest, UnknownAttributesAreIgnored) {
    odbc.createDatabase("site");
    OdbcConnection c;
    EXPECT_TRUE(SQL_SUCCEEDED(c.connect(connectionStringFor(odbc, "site",
                                                            "Network=DBMSSOCN;Trusted_Connection=no;"
                                                            "WSID=WS01;Encrypt={yes; really}"))));
    EXPECT_EQ(c.exec("SELECT HOST_NAME()").scalar(), "WS01");
}

} // namespace
