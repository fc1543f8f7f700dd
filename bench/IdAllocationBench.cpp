// Two consoles creating users at once, each over its own connection to one site database:
//  - the counter read and advanced by two autocommitted statements (select, then update);
//  - the same pair through DatabaseSession::AllocateIdentifier (one transaction, update lock).
// Reports the duplicate ids each way hands out among 2 x 300 and the time ratio of the two.

#include "DatabaseSession.h"
#include "OdbcFixture.h"
#include "Schema.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <latch>
#include <set>
#include <thread>
#include <vector>

namespace {

constexpr int kPerConnection = 300;
const std::string kSelect = "SELECT user_id = next_user_id FROM User_identifier WITH (UPDLOCK)";
const std::string kUpdate = "UPDATE User_identifier SET next_user_id = next_user_id + 1";

long long twoStatements(foundation::DatabaseSession& s) {
    s.SQLStatement = "SELECT user_id = next_user_id FROM User_identifier";
    if (s.ExecSQL() != 1 || s.FetchRow() != 1)
        return -1;
    long long id = s.GetColumnLong(1);
    s.FlushResults();
    s.SQLStatement = kUpdate;
    if (s.ExecSQL() != 1)
        return -1;
    s.FlushResults();
    return id;
}

long long oneTransaction(foundation::DatabaseSession& s) {
    return s.AllocateIdentifier(kSelect, kUpdate);
}

struct Outcome {
    size_t duplicates = 0;
    size_t failures = 0;
    double ms = 0;
};

Outcome race(const kdtest::OdbcEnvironment& odbc, const std::string& database,
             const std::function<long long(foundation::DatabaseSession&)>& allocate) {
    suite::createSuiteDatabase(odbc.folder(), database);
    foundation::DatabaseSession sessions[2];
    for (auto& s : sessions) {
        s.UseDriverConnect = true;
        s.ServerName = odbc.folder();
        s.DatabaseName = database;
        s.LoginName = "sa";
        s.ConnectToSQL();
    }
    std::vector<long long> ids[2];
    std::latch start(3);
    auto work = [&](int i) {
        start.arrive_and_wait();
        for (int n = 0; n < kPerConnection; ++n)
            ids[i].push_back(allocate(sessions[i]));
    };
    std::thread a(work, 0), b(work, 1);
    auto t0 = std::chrono::steady_clock::now();
    start.arrive_and_wait();
    a.join();
    b.join();
    Outcome out;
    out.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::set<long long> seen;
    for (const auto& list : ids)
        for (long long id : list) {
            if (id < 0)
                ++out.failures;
            else if (!seen.insert(id).second)
                ++out.duplicates;
        }
    for (auto& s : sessions)
        s.DisconnectFromSQL();
    return out;
}

} // namespace

int main() {
    kdtest::OdbcEnvironment odbc;
    Outcome plain = race(odbc, "PLAIN", twoStatements);
    Outcome locked = race(odbc, "LOCKED", oneTransaction);
    std::printf("ids per connection: %d, connections: 2\n", kPerConnection);
    std::printf("two autocommitted statements: %zu duplicate ids, %zu failures, %.1f ms\n", plain.duplicates,
                plain.failures, plain.ms);
    std::printf("AllocateIdentifier (one transaction): %zu duplicate ids, %zu failures, %.1f ms\n", locked.duplicates,
                locked.failures, locked.ms);
    std::printf("time ratio transaction/two statements: %.2f\n", plain.ms > 0 ? locked.ms / plain.ms : 0.0);
    return locked.duplicates == 0 && locked.failures == 0 ? 0 : 1;
}
