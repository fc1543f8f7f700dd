#include "OdbcFixture.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// BACKUP DATABASE on a suite database, with the engine's clock pinned for each backup.
class EngineBackup : public kdtest::SuiteTest {
protected:
    void TearDown() override { unsetenv("TSQL_ENGINE_NOW"); }
    std::string backupFile(const std::string& name) { return (fs::path(odbc.folder()) / name).string(); }
    kdtest::BatchOutcome backup(const std::string& at, const std::string& with = "") {
        setenv("TSQL_ENGINE_NOW", at.c_str(), 1);
        auto out = exec("BACKUP DATABASE KALDRA TO DISK = '" + backupFile("kaldra.bak") + "'" + with);
        unsetenv("TSQL_ENGINE_NOW");
        return out;
    }
};

TEST_F(EngineBackup, AFullBackupCopiesTheDatabaseAndRecordsItInMsdb) {
    exec("INSERT System_log (date_timestamp, severity, type, error_code) VALUES (GETDATE(), 2, 0, 1)");
    auto out = backup("2026-12-01 23:20:00", " WITH INIT");
    ASSERT_NE(out.rc(), SQL_ERROR);
    ASSERT_TRUE(fs::exists(backupFile("kaldra.bak")));
    EXPECT_EQ(scalar("SELECT CONVERT(varchar(30), backup_finish_date, 120) + ' ' + type + ' ' + "
                     "CONVERT(varchar(20), backup_size) FROM msdb.dbo.backupset"),
              "2026-12-01 23:20:00 D " + std::to_string(fs::file_size(backupFile("kaldra.bak"))));
    EXPECT_EQ(scalar("SELECT database_name FROM msdb.dbo.backupset"), "KALDRA");
    EXPECT_EQ(scalar("SELECT f.physical_device_name FROM msdb.dbo.backupmediafamily f JOIN msdb.dbo.backupset b ON "
                     "b.media_set_id = f.media_set_id"),
              backupFile("kaldra.bak"));
    // The copy is a database of its own with the rows of the original.
    odbc.createDatabase("COPY");
    fs::copy_file(backupFile("kaldra.bak"), odbc.databasePath("COPY"), fs::copy_options::overwrite_existing);
    kdtest::OdbcConnection copy;
    ASSERT_TRUE(SQL_SUCCEEDED(copy.connect(kdtest::connectionStringFor(odbc, "COPY"))));
    EXPECT_EQ(copy.exec("SELECT COUNT(*) FROM System_log").scalar(), scalar("SELECT COUNT(*) FROM System_log"));
    // A differential follows the full one.
    ASSERT_NE(backup("2026-12-02 23:20:00", " WITH DIFFERENTIAL").rc(), SQL_ERROR);
    EXPECT_EQ(scalar("SELECT MAX(type) + CONVERT(varchar, COUNT(*)) FROM msdb.dbo.backupset"), "I2");
}

TEST_F(EngineBackup, RefusalsAsASimpleRecoveryServerGivesThem) {
    struct Case {
        const char* sql;
        long first, second;
    };
    const Case cases[] = {
        {"BACKUP LOG KALDRA TO DISK = 'log.trn'", 4208, 3013},
        {"BACKUP DATABASE KALDRA TO DISK = 'diff.bak' WITH DIFFERENTIAL", 3035, 3013},
        {"BACKUP DATABASE NOSUCH TO DISK = 'x.bak'", 911, 3013},
        {"BACKUP DATABASE KALDRA TO DISK = '/no/such/folder/x.bak'", 3201, 3013},
        {"BEGIN TRANSACTION\nBACKUP DATABASE KALDRA TO DISK = 'x.bak'", 3021, 3013},
    };
    for (const auto& c : cases) {
        auto out = exec(c.sql);
        EXPECT_TRUE(out.hasError(c.first)) << c.sql;
        EXPECT_TRUE(out.hasError(c.second)) << c.sql;
        exec("IF @@TRANCOUNT > 0 ROLLBACK");
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM msdb.dbo.backupset"), "0");
    EXPECT_FALSE(fs::exists(backupFile("diff.bak")));
    EXPECT_TRUE(exec("BACKUP DATABASE KALDRA TO DISK 'x.bak'").hasError(102));
}

TEST_F(EngineBackup, ADataFileGrowsWithItsTable) {
    auto dataSize = [&] {
        const auto out = exec("EXEC sp_helpdb 'KALDRA'");
        for (const auto& step : out.steps)
            for (const auto& row : step.rows)
                if (row.size() == 8 && row[7].value_or("") == "data only")
                    return std::stol(row[4].value_or("0"));
        return -1L;
    };
    const long before = dataSize();
    ASSERT_GT(before, 0);
    exec("DECLARE @n int\nSET @n = 0\nWHILE @n < 2000\nBEGIN\nINSERT System_log (date_timestamp, severity, type, "
         "error_code, msg1) VALUES (GETDATE(), 2, 0, @n, REPLICATE('x', 100))\nSET @n = @n + 1\nEND");
    EXPECT_GT(dataSize(), before + 100);
}

} // namespace
