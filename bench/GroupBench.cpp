// A security group with 5 000 members on a large site (50 000 users and groups): opening its member
// list in the group editor and saving one added member, with the statements each save sends.
// Baselines measured in the same run: the plain fetch of the group's membership rows through the
// session, and the one membership statement sent on its own. Targets:
//  - opening the member list and saving one added member each under 500 ms (medians);
//  - one statement per changed membership at most.
//
//   group_bench [--site <folder>] [benchmark options]
// --site uses a site made with "kdsite demo" and "kdsite scale --seed 7" (its group 10120 is given
// the members); without it such a site is generated in a temporary folder.

#include "BenchSite.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "GroupMembersModel.h"
#include "GroupStatements.h"
#include "LoginComponent.h"
#include "RatioReporter.h"
#include "clsPartition.h"
#include "modPartition.h"
#include "modSecurityGroups.h"
#include "modUserStore.h"

#include <QSortFilterProxyModel>
#include <benchmark/benchmark.h>
#include <cstring>
#include <filesystem>
#include <iostream>

using foundation::DatabaseSession;

namespace {

constexpr long kGroup = 10120; // a generated general group of partition 1 (North Region)
constexpr int kMembers = 5000;

std::string g_temporary;
suite::LoginComponent g_login;
users::clsUsers g_users;
users::clsSecurityGroups g_groups;
long g_newcomer = 0; // a user who is not a member yet
size_t g_statementsPerSave = 0, g_membershipStatementsPerSave = 0;

std::string generateSite() {
    demo::ScaleOptions o = kdbench::smallSite();
    o.users = 50000;
    g_temporary = kdbench::makeSite("kdgroupbench", o);
    return g_temporary + "/site";
}

users::clsSecurityGroup& group() {
    return *g_groups.Item(users::clsSecurityGroups::Key(kGroup));
}

bool prepare(const std::string& site) {
    kdbench::connectSession(site);
    g_login.user.user_name = demo::kAdministrator;
    g_login.user.Partition_ID = 0;
    g_login.user.is_administrator = true;
    physicians::Partitions().login = &g_login;
    physicians::LoadPartitions();
    auto& s = DatabaseSession::instance();
    // 5 000 active users of the group's partition tree become its members.
    const bool ok = s.RunStatement(
        "DELETE FROM System_security_groups WHERE group_id = " + std::to_string(kGroup) +
        "\r\nINSERT INTO System_security_groups (group_id, user_id, group_relations, flag1, flag2, flag3, string1, "
        "string2, date1)\r\nSELECT TOP " +
        std::to_string(kMembers) + " " + std::to_string(kGroup) +
        ", user_id, NULL, 0, 0, 0, NULL, NULL, NULL FROM System_user_bindery WHERE flag3 = 0 AND is_deleted = 0 "
        "AND user_id >= 10000 AND partition_id IN (SELECT partition_id FROM System_partitions WHERE partition_id = 1 "
        "OR lineage LIKE '%/1/%') ORDER BY user_id");
    if (!ok || !users::LoadActiveUsers(&g_users) || !users::LoadGroupsIntoCollection(&g_groups) ||
        !users::LoadGroupMembers(g_groups) || !g_groups.Item(users::clsSecurityGroups::Key(kGroup)))
        return false;
    for (const users::clsUser* u : users::OfferedMembers(group(), g_users)) {
        g_newcomer = u->m_lngUserId;
        break;
    }
    return group().UserIdsCount() == kMembers && g_newcomer != 0;
}

void BM_PlainMemberFetch(benchmark::State& state) {
    long rows = 0;
    for (auto _ : state)
        rows = kdbench::fetchAllColumns(users::GroupMembersQuery(kGroup), 2);
    state.counters["rows"] = static_cast<double>(rows);
}

// The group's members read from the database and shown in the editor's list, sorted by user name.
void BM_OpenMemberList(benchmark::State& state) {
    int shown = 0;
    for (auto _ : state) {
        users::clsSecurityGroup edited = group();
        users::ReloadGroupMembers(edited);
        users::GroupMembersModel model(edited, g_users);
        QSortFilterProxyModel sorted;
        sorted.setSourceModel(&model);
        sorted.sort(users::GroupMembersModel::UserName);
        shown = sorted.rowCount();
        benchmark::DoNotOptimize(sorted.index(0, 0).data());
    }
    state.counters["members"] = shown;
}

void BM_PlainMembershipStatement(benchmark::State& state) {
    auto& s = DatabaseSession::instance();
    for (auto _ : state) {
        s.RunStatement(users::AddMemberStatement(kGroup, g_newcomer, ""));
        state.PauseTiming();
        s.RunStatement(users::RemoveMemberStatement(kGroup, g_newcomer));
        state.ResumeTiming();
    }
}

// The editor's copy with one member more, saved as User Management saves an edited group.
void BM_SaveOneAddedMember(benchmark::State& state) {
    auto& s = DatabaseSession::instance();
    for (auto _ : state) {
        users::clsSecurityGroup edited = group();
        edited.AddUserId(g_newcomer);
        const size_t before = s.history.size();
        users::UpdateGroup(edited, g_groups);
        state.PauseTiming();
        g_statementsPerSave = s.history.size() - before;
        g_membershipStatementsPerSave = 0;
        for (size_t i = before; i < s.history.size(); ++i)
            if (s.history[i].find("System_security_groups") != std::string::npos)
                ++g_membershipStatementsPerSave;
        s.RunStatement(users::RemoveMemberStatement(kGroup, g_newcomer));
        group().RemoveUserIdAndUserRelation(g_newcomer);
        s.history.clear();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_PlainMemberFetch)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9);
BENCHMARK(BM_OpenMemberList)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9);
BENCHMARK(BM_PlainMembershipStatement)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9);
BENCHMARK(BM_SaveOneAddedMember)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9);

void verdict(const kdbench::RatioReporter& reporter, const char* name, const char* baseline, const char* what) {
    const auto& t = reporter.realMs;
    if (!t.count(name) || !t.count(baseline))
        return;
    const double ms = t.at(name);
    std::cout << what << ": " << ms << " ms median (target < 500 ms) " << (ms < 500 ? "MET" : "MISSED") << "; "
              << ms / t.at(baseline) << "x the baseline of " << t.at(baseline) << " ms; CPU " << reporter.ms.at(name)
              << " ms against " << reporter.ms.at(baseline) << " ms\n";
}

} // namespace

int main(int argc, char** argv) {
    std::string site;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--site") == 0) {
            site = argv[i + 1];
            for (int j = i; j + 2 <= argc; ++j)
                argv[j] = argv[j + 2];
            argc -= 2;
            break;
        }
    if (site.empty())
        site = generateSite();
    if (!prepare(site)) {
        std::cerr << "the site could not be prepared\n";
        return 1;
    }
    std::cout << g_users.Count() << " active users, " << g_groups.Count() << " groups; group " << kGroup << " has "
              << group().UserIdsCount() << " members\n";

    kdbench::Initialize(&argc, argv);
    kdbench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << "\n";
    verdict(reporter, "BM_OpenMemberList", "BM_PlainMemberFetch", "Opening the member list");
    verdict(reporter, "BM_SaveOneAddedMember", "BM_PlainMembershipStatement", "Saving one added member");
    std::cout << "Statements per save of one added member: " << g_statementsPerSave << " (group row, "
              << g_membershipStatementsPerSave << " membership, system log); target: at most 1 membership statement "
              << (g_membershipStatementsPerSave <= 1 ? "MET" : "MISSED") << "\n";

    DatabaseSession::instance().DisconnectFromSQL();
    physicians::Partitions().login = nullptr;
    if (!g_temporary.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(g_temporary, ec);
    }
    return 0;
}
