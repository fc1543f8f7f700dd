#include "AccountCache.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <algorithm>
#include <stdexcept>

using namespace physicians;

namespace {

using kdtest::account;
using kdtest::privileges;

// A tree with the traps the lineage search must avoid: 1 and 11, a partition whose lineage lacks
// its own id, and one whose lineage lost the root.
//   0 ── 1 ── 3 (shares users with 4) , 4
//   ├─ 11
//   └─ 2 ── 5 (lineage /0/2/ only; shares accounts with 3 and 7)
//   9 (lineage /9/, detached)
void buildTree() {
    auto& cache = PartitionCache();
    cache.clear();
    cache.add(clsPartition(0, -1, "Root", 0, "/0/"));
    cache.add(clsPartition(1, 0, "North", 0, "/0/1/"));
    cache.add(clsPartition(3, 1, "North General", 1, "/0/1/3/"));
    cache.add(clsPartition(4, 1, "North Clinics", 0, "/0/1/4/"));
    cache.add(clsPartition(11, 0, "Eleven", 0, "/0/11/"));
    cache.add(clsPartition(2, 0, "South", 0, "/0/2/"));
    cache.add(clsPartition(5, 2, "South Medical", 2, "/0/2/"));
    cache.add(clsPartition(9, 0, "Detached", 0, "/9/"));
    cache.item(3).Set_Sharing_Partitions_String("4");
    cache.item(5).Set_Sharing_Partitions_String("3,7");
}

// A comma list's entries in text order, so a test does not depend on the row order of a query
// without ORDER BY.
std::string sortedList(const std::string& list) {
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t comma; (comma = list.find(',', start)) != std::string::npos; start = comma + 1)
        items.push_back(list.substr(start, comma - start));
    items.push_back(list.substr(start));
    std::sort(items.begin(), items.end());
    std::string out;
    for (const auto& item : items)
        out += (out.empty() ? "" : ",") + item;
    return out;
}

class PartitionModel : public ::testing::Test {
protected:
    void SetUp() override {
        buildTree();
        login.SetHospAccounts({account(30, "", 3), account(40, "", 4), account(50, "", 5), account(-1, "", 0),
                               account(31, "", 3, true), account(99, "", 99), account(10, "", 0)});
        Partitions().login = &login;
        Partitions().physicianPartition.reset();
    }
    void TearDown() override {
        Partitions() = PartitionState{};
        PartitionCache().clear();
    }
    void user(long partition, bool admin = false, std::initializer_list<int> granted = {}) {
        login.user = suite::LoginUser{};
        login.user.Partition_ID = partition;
        login.user.is_administrator = admin;
        login.user.privilegeSet = privileges(granted);
    }
    void grantOnAccount(long acct, std::initializer_list<int> granted) {
        auto accounts = std::vector<suite::HospAccount>();
        for (int i = 1; i <= login.NumberHospAccounts(); ++i) {
            accounts.push_back(login.HospAccountAt(i));
            if (accounts.back().hosp_acct_id == acct)
                accounts.back().privilegeSet = privileges(granted);
        }
        login.SetHospAccounts(std::move(accounts));
    }

    suite::LoginComponent login;
};

TEST_F(PartitionModel, IsUnderMatchesWholeIdsOfTheLineageAndTheOwnId) {
    struct Case {
        long partition, id;
        bool under;
    } const cases[] = {
        {5, 5, true},                                                // its own id, though the lineage lacks /5/
        {5, 2, true},   {5, 0, true}, {11, 1, false},                // /1/ does not occur in /0/11/
        {11, 11, true}, {3, 1, true}, {3, 4, false},  {1, 3, false}, // an ancestor is not under its child
        {9, 0, false},                                               // the lineage lost the root
        {3, -1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PartitionCache().item(c.partition).Is_Under(c.id), c.under) << c.partition << " under " << c.id;
}

TEST_F(PartitionModel, SharingListsAndOptions) {
    const auto& p5 = PartitionCache().item(5);
    EXPECT_TRUE(p5.Is_Sharing_With(3));
    EXPECT_TRUE(p5.Is_Sharing_With(7));
    EXPECT_FALSE(p5.Is_Sharing_With(37));
    EXPECT_FALSE(PartitionCache().item(3).Is_Sharing_With(44));
    EXPECT_FALSE(PartitionCache().item(4).Is_Sharing_With(0)); // nothing shared: the empty list holds no id

    clsPartition p(20, 0, "Bits", 8 | 1, "/0/20/");
    EXPECT_TRUE(p.Get_Sharing_Option(1));
    EXPECT_FALSE(p.Get_Sharing_Option(2));
    EXPECT_FALSE(p.Get_Sharing_Option(3)); // every bit of the option must be set
    EXPECT_TRUE(p.Get_Sharing_Option(0));
    p.Set_Sharing_Option(2, true);
    EXPECT_EQ(p.Share_Bitmask(), 11);
    p.Set_Sharing_Option(1 | 2, false);
    EXPECT_EQ(p.Share_Bitmask(), 8); // bits this program does not know stay as they were
}

TEST_F(PartitionModel, GovernsSetListsThePartitionAndItsDescendantsInCacheOrder) {
    EXPECT_EQ(PartitionCache().item(0).GovernsSet(), "0,1,3,4,11,2,5");
    EXPECT_EQ(PartitionCache().item(1).GovernsSet(), "1,3,4");
    EXPECT_EQ(PartitionCache().item(2).GovernsSet(), "2,5");
    EXPECT_EQ(PartitionCache().item(4).GovernsSet(), "4");
    EXPECT_EQ(PartitionCache().item(9).GovernsSet(), "9");
}

TEST_F(PartitionModel, CacheLookupOfAnUnknownIdFails) {
    EXPECT_THROW((void)PartitionCache().item(7), std::out_of_range);
    EXPECT_EQ(PartitionCache().find(7), nullptr);
    EXPECT_FALSE(PartitionCache().add(clsPartition(3, 0, "Again", 0, "/0/3/")));
    EXPECT_EQ(PartitionCache().item(3).Partition_Name(), "North General");
    EXPECT_EQ(clsPartition::key(5), "ID_5");
}

TEST(PartitionNames, IsInListTrimsOnlyTheEndsAndIgnoresCase) {
    struct Case {
        const char* list;
        const char* item;
        bool in;
    } const cases[] = {
        {"3,7", " 7 ", true}, {"3, 7", "7", false},  {" 3,7 ", "3", true}, {"3,7", "37", false},
        {"37", "3", false},   {"", "", true},        {"  ", "", true},     {"", "3", false},
        {"3", "", false},     {"ab,Cd", "cD", true}, {"3,,7", "", true}, // an empty entry is an entry
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsInList(c.list, c.item), c.in) << "'" << c.list << "' / '" << c.item << "'";
}

TEST_F(PartitionModel, NamesOfDeletedPartitionsAreEmptyNotErrors) {
    EXPECT_EQ(GetPartitionName(3), "North General");
    EXPECT_EQ(GetPartitionName(7), "");
    EXPECT_EQ(QualifyWithPartition("Inpatient", 3), "North General \\ Inpatient");
    EXPECT_EQ(PartitionFolderName("JDOE", 3), "North General\\JDOE");
    EXPECT_EQ(PartitionFolderName("JDOE", 7), "JDOE");
    EXPECT_FALSE(PartitionIsUnder(7, 0));
    EXPECT_FALSE(PartitionIsSharingWith(7, 3));
    EXPECT_FALSE(PartitionSharesUsers(7));
}

TEST_F(PartitionModel, UserPredicates) {
    struct Case {
        long partition;
        bool admin, trans, paxlet;
        bool root, global, globalTrans, any, globalAny;
    } const cases[] = {
        {0, true, false, false, true, true, false, true, true},
        {0, false, true, false, true, false, true, true, true},
        {0, false, false, true, true, false, false, true, true},
        {0, false, false, false, true, false, false, false, false},
        {3, true, true, true, false, false, false, true, false},
    };
    for (const auto& c : cases) {
        user(c.partition, c.admin);
        login.user.is_trans_admin = c.trans;
        login.user.is_paxlet_admin = c.paxlet;
        SCOPED_TRACE(testing::Message() << c.partition << c.admin << c.trans << c.paxlet);
        EXPECT_EQ(IsRootPartitionUser(), c.root);
        EXPECT_EQ(IsGlobalAdministrator(), c.global);
        EXPECT_EQ(IsGlobalTransAdministrator(), c.globalTrans);
        EXPECT_EQ(IsAnyAdministrator(), c.any);
        EXPECT_EQ(IsGlobalAnyAdministrator(), c.globalAny);
    }
    Partitions().login = nullptr; // before the log-in nobody is anything
    EXPECT_FALSE(IsRootPartitionUser());
    EXPECT_FALSE(IsAnyAdministrator());
}

TEST_F(PartitionModel, PartitionSharesUsersSecondFormExcludesTheRoot) {
    PartitionCache().item(0).Set_Sharing_Option(1, true);
    EXPECT_TRUE(PartitionSharesUsers(0));
    EXPECT_FALSE(PartitionSharesUsers(0, true));
    EXPECT_TRUE(PartitionSharesUsers(3, true));
    EXPECT_FALSE(PartitionSharesUsers(4, true));
}

TEST_F(PartitionModel, AccountVisibility) {
    struct Case {
        long userPartition;
        bool admin;
        long acct;
        bool underUser, administers, visible;
    } const cases[] = {
        {0, false, 30, true, false, true},   // everything is under the root
        {1, false, 30, true, false, true},   // account of 3, under 1
        {1, false, 50, false, false, false}, // account of 5, not under 1
        {3, false, 40, false, false, false},  {4, true, 40, true, true, true},
        {4, true, 30, false, false, false},   // an administrator of another partition
        {0, true, 50, true, true, true},      // the global administrator administers all
        {0, true, -1, true, true, false},     // the all-accounts row is never visible
        {0, true, 31, true, true, false},     // nor a deleted account
        {0, true, 99, false, true, true},     // its partition is gone: the global administrator still sees it
        {0, false, 99, false, false, false},  // and nobody else does
        {0, true, 12345, false, false, false} // not an account of the login at all
    };
    for (const auto& c : cases) {
        user(c.userPartition, c.admin);
        SCOPED_TRACE(testing::Message() << "user in " << c.userPartition << " admin " << c.admin << " acct " << c.acct);
        EXPECT_EQ(AccountUnderUserPartition(c.acct), c.underUser);
        EXPECT_EQ(UserAdministersAccountPartition(c.acct), c.administers);
        EXPECT_EQ(AccountVisibleToUser(c.acct), c.visible);
    }
    EXPECT_TRUE(AccountUnderPartition(30, 1));
    EXPECT_FALSE(AccountUnderPartition(30, 2));
    EXPECT_FALSE(AccountUnderPartition(-1, 0));
    EXPECT_FALSE(AccountUnderPartition(31, 0));
}

TEST_F(PartitionModel, PhysicianPermissions) {
    constexpr int kAlter = kPrivAlterPhysicianProfiles;
    constexpr int kAcct = kAcctPrivPhysicians;
    struct Case {
        long userPartition;
        bool alter;     // system privilege 9
        bool acctPriv;  // privilege 10 on account 50 (partition 5)
        long physician; // -1: no physician record loaded
        long acct;
        bool forAccount, accountPhysician, currentPhysician, search;
    } const cases[] = {
        {1, true, false, -1, 30, true, true, true, true},
        {1, false, false, -1, 30, false, false, false, false}, // without privilege 9 and 10 nothing
        {1, true, false, -1, 50, false, false, false, false},
        {1, true, true, -1, 50, false, false, false, true}, // account privilege 10 alone: search only
        {1, true, true, 3, 50, false, true, true, true},    // the physician lives under the user's partition
        {1, true, false, 3, 50, false, false, true, false}, // current physician without account privilege 10
        {1, false, true, 3, 50, false, false, false, true},
        {1, true, false, 5, 50, false, false, false, false}, // physician of partition 5: not under 1
        {3, true, false, -1, 50, false, false, false, true}, // 5 shares its accounts (bit 2) with 3
    };
    for (const auto& c : cases) {
        user(c.userPartition, false, c.alter ? std::initializer_list<int>{kAlter} : std::initializer_list<int>{});
        grantOnAccount(50, c.acctPriv ? std::initializer_list<int>{kAcct} : std::initializer_list<int>{});
        if (c.physician >= 0)
            Partitions().physicianPartition = c.physician;
        else
            Partitions().physicianPartition.reset();
        SCOPED_TRACE(testing::Message() << "user " << c.userPartition << " alter " << c.alter << " acct10 "
                                        << c.acctPriv << " physician " << c.physician << " acct " << c.acct);
        EXPECT_EQ(CanEditPhysicianForAccount(c.acct), c.forAccount);
        EXPECT_EQ(CanEditAccountPhysician(c.acct), c.accountPhysician);
        EXPECT_EQ(CanEditCurrentPhysician(c.acct), c.currentPhysician);
        EXPECT_EQ(AccountSharedForPhysicianSearch(c.acct), c.search);
    }
}

TEST_F(PartitionModel, PhysicianSearchFollowsAccountSharingOnlyWithBitTwo) {
    user(3); // no privileges at all
    grantOnAccount(50, {});
    EXPECT_TRUE(AccountSharedForPhysicianSearch(50)); // 5 shares with 3 and has bit 2
    user(7);
    EXPECT_TRUE(AccountSharedForPhysicianSearch(50)); // 7 is in 5's list; it needs no cache entry of its own
    user(4);
    EXPECT_FALSE(AccountSharedForPhysicianSearch(50));
    PartitionCache().item(5).Set_Sharing_Option(2, false);
    user(3);
    EXPECT_FALSE(AccountSharedForPhysicianSearch(50)); // sharing without bit 2 is not for physician search
    user(4);
    EXPECT_FALSE(AccountSharedForPhysicianSearch(30)); // 3 shares its users with 4, not its accounts
}

// ---- loading from the database ------------------------------------------------------------

class PartitionLoad : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 1, '/0/1/', NULL)\n"
             "INSERT System_partitions VALUES (3, 1, 'North General', 3, '/0/1/3/', NULL)\n"
             "INSERT System_partitions VALUES (7, 0, 'Closed', 1, '/0/7/', '2025-06-30')\n"
             "INSERT System_partitions VALUES (11, 0, 'Eleven', 2, '/0/11/', NULL)\n"
             "INSERT System_partitions_shares VALUES (3, 11)\n"
             "INSERT System_partitions_shares VALUES (3, 1)\n"
             "INSERT System_partitions_shares VALUES (7, 1)\n"
             "INSERT System_partitions_shares VALUES (11, 3)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
    }
    void TearDown() override {
        foundation::DatabaseSession::instance().DisconnectFromSQL();
        PartitionCache().clear();
    }
};

TEST_F(PartitionLoad, LoadsLivePartitionsAndTheirShares) {
    ASSERT_EQ(LoadPartitions(), 4);
    EXPECT_EQ(PartitionCache().size(), 4u);
    EXPECT_FALSE(PartitionCache().contains(7)); // deleted
    EXPECT_EQ(GetPartitionName(7), "");
    const auto& p3 = PartitionCache().item(3);
    EXPECT_EQ(p3.Partition_Name(), "North General");
    EXPECT_EQ(p3.Parent_ID(), 1);
    EXPECT_EQ(p3.Share_Bitmask(), 3);
    EXPECT_EQ(p3.Lineage(), "/0/1/3/");
    EXPECT_EQ(sortedList(p3.Sharing_Partitions_String()), "1,11"); // comma list without blanks
    EXPECT_EQ(PartitionCache().item(0).Sharing_Partitions_String(), "");
    EXPECT_EQ(PartitionCache().item(0).GovernsSet(), "0,1,3,11");

    // A reload replaces the cache rather than adding to it.
    exec("UPDATE System_partitions SET delete_date = GETDATE() WHERE partition_id = 11");
    ASSERT_EQ(LoadPartitions(), 3);
    EXPECT_FALSE(PartitionCache().contains(11));
}

TEST_F(PartitionLoad, UserSharingMapHoldsOnlyPartitionsThatShareUsers) {
    SharingMap map{{"ID_3", "5"}, {"ID_40", "41"}};
    LoadUserSharingMap(map);
    // 3 and 7 have bit 1; 11 has only bit 2. The deleted partition's rows come along: the map is
    // built from the shares table, and the screens look up only live partitions in it.
    EXPECT_EQ(sortedList(map.at("ID_3")), "1,11,5");
    EXPECT_EQ(map.at("ID_3").substr(0, 2), "5,"); // appended to what was there
    EXPECT_EQ(map.at("ID_7"), "1");
    EXPECT_EQ(map.count("ID_11"), 0u);
    EXPECT_EQ(map.at("ID_40"), "41");
}

TEST_F(PartitionLoad, AFailedStatementLeavesAnEmptyCache) {
    platform::MessageRecorder recorder;
    exec("DROP TABLE System_partitions");
    EXPECT_EQ(LoadPartitions(), 0);
    EXPECT_TRUE(PartitionCache().empty());
    ASSERT_FALSE(recorder.shown.empty()); // the session showed the driver's message
}

} // namespace
