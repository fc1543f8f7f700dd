#include "AccountCache.h"
#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PhysicianSearch.h"
#include "SessionHelper.h"
#include "clsPartition.h"
#include "clsPhysicianSummaryRecords.h"
#include "modPartition.h"
#include "modPhysicianList.h"

#include <filesystem>
#include <fstream>

using namespace physicians;
using foundation::DatabaseSession;

namespace {

using kdtest::account;
using kdtest::privileges;

// Partitions 0 ── 1 ── 3, 0 ── 2. Accounts 1, 2, 3 in partition 1, 4 deleted, 5 in partition 2,
// 6 in partition 3.
//   10 Adams: member of all accounts, own attribute row for account 2, address, two author ids
//   20 Baker: accounts 1 and 5, partition 1, linked to user 200, hidden
//   30 Clark: account 2 only
//   40 Dunn:  account 5 only, partition 2
class PhysicianList : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 0, '/0/1/', NULL)\n"
             "INSERT System_partitions VALUES (2, 0, 'South', 0, '/0/2/', NULL)\n"
             "INSERT System_partitions VALUES (3, 1, 'North Clinic', 0, '/0/1/3/', NULL)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (1, 'North', 1, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (2, 'South', 1, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (3, 'East', 1, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (4, 'Old', 1, 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (5, 'Far', 2, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (6, 'Clinic', 3, 0)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, title_1, partition_id) VALUES "
             "(10, 'Rita', 'Adams', 'MD', 1)\n"
             "INSERT Physician_membership VALUES (10, -1, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id, address_1, fax_enabled_1, "
             "batch_enabled, email_enabled, elect_signature) VALUES (10, -1, '1001', '1 Main St', 1, 0, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id, fax_enabled_1, batch_enabled, "
             "email_enabled, elect_signature) VALUES (10, 2, '1001R', 0, 1, 0, 0)\n"
             "INSERT Physician_attributes_extended (physician_id, hosp_acct_id, speech_rec_enabled, flag2) VALUES "
             "(10, 2, 1, 1)\n"
             "INSERT Physician_addendums_v2 VALUES (10, 2, 0, 'Read by South.')\n"
             "INSERT Physician_weighting VALUES (10, 2, 5, 1, 1.5)\n"
             "INSERT Physician_external_ids VALUES (10, 'DVI', 'B22', 2, 2)\n"
             "INSERT Physician_external_ids VALUES (10, 'DVI', 'A17', 2, 1)\n"
             "INSERT Groups_physicians VALUES (7, 10, 2)\n"
             "INSERT Groups_physicians VALUES (7, 10, 1)\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES "
             "(200, 'bbaker', 0, 1, 1)\n"
             "INSERT System_security_groups (group_id, user_id) VALUES (5, 200)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id, flag2, flag3) VALUES "
             "(20, 'Ben', 'Baker', 1, 200, 1)\n"
             "INSERT Physician_membership VALUES (20, 1, 0, 0)\n"
             "INSERT Physician_membership VALUES (20, 5, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id, elect_signature) VALUES "
             "(20, -1, '2001', 2)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(30, 'Cora', 'Clark', 1)\n"
             "INSERT Physician_membership VALUES (30, 2, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id) VALUES (30, -1, '3001')\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id) VALUES (30, 2, '3002')\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(40, 'Dan', 'Dunn', 2)\n"
             "INSERT Physician_membership VALUES (40, 5, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id) VALUES (40, -1, '4001')");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        ASSERT_EQ(LoadPartitions(), 4);
        login.SetHospAccounts({account(-1, "", 0), account(1, "", 1), account(2, "", 1), account(3, "", 1),
                               account(4, "", 1, true), account(5, "", 2), account(6, "", 3)});
        loginAs(1, {9});
        Partitions().login = &login;
        Partitions().physicianPartition.reset();
        root = odbc.folder() + "/root";
        std::filesystem::create_directories(root);
    }
    void TearDown() override {
        Partitions() = PartitionState{};
        PartitionCache().clear();
        LinkedUsers() = LinkedUserActions{};
        DatabaseSession::instance().DisconnectFromSQL();
    }
    void loginAs(long partition, std::initializer_list<int> granted, bool paxletAdmin = false) {
        login.user = suite::LoginUser{};
        login.user.user_name = "admin1";
        login.user.Partition_ID = partition;
        login.user.is_paxlet_admin = paxletAdmin;
        login.user.privilegeSet = privileges(granted);
    }
    clsPhysicianSummaryRecord listed(long acct, long id, HiddenFilter hidden = HiddenFilter::All) {
        clsPhysicianSummaryRecords list;
        EXPECT_TRUE(RetrievePhysicians(acct, hidden, list));
        const auto* r = list.Item(std::to_string(id));
        EXPECT_NE(r, nullptr) << id << " not listed for account " << acct;
        return r ? *r : clsPhysicianSummaryRecord{};
    }
    std::string rows(const std::string& sql) {
        std::string out;
        for (const auto& line : exec(sql).lines())
            out += (out.empty() ? "" : ";") + line;
        return out;
    }
    bool logged(const std::string& message) {
        return scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20030 AND msg1 = '" +
                      DatabaseSession::QuoteSQL(message) + "'") == "1";
    }
    size_t sentSince(size_t mark) { return DatabaseSession::instance().history.size() - mark; }

    suite::LoginComponent login;
    platform::MessageRecorder recorder;
    std::string root;
};

TEST_F(PhysicianList, ListsTheAccountsPhysiciansWithTheAccountsOwnRowOrTheAllAccountsRow) {
    clsPhysicianSummaryRecords list;
    const size_t mark = DatabaseSession::instance().history.size();
    ASSERT_TRUE(RetrievePhysicians(2, HiddenFilter::All, list));
    EXPECT_EQ(sentSince(mark), 1u); // one statement for the whole list
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.records()[0].DisplayName(), "Adams, Rita MD"); // ordered by last name
    EXPECT_EQ(list.records()[1].DisplayName(), "Clark, Cora");
    const auto& adams = list.records()[0];
    EXPECT_EQ(adams.dictation_id, "1001R"); // account 2's own row
    EXPECT_EQ(adams.StatusText(), "B R V ");
    EXPECT_EQ(adams.AuthorIdText(), "A17 + ...");
    EXPECT_EQ(list.records()[1].dictation_id, "3002");

    const auto inNorth = listed(1, 10);
    EXPECT_EQ(inNorth.dictation_id, "1001"); // no own row: the -1 row
    EXPECT_EQ(inNorth.StatusText(), "A F ");
}

TEST_F(PhysicianList, TheHiddenFilterChoosesVisibleHiddenOrAll) {
    struct Case {
        HiddenFilter filter;
        std::vector<long> ids;
    };
    const Case cases[] = {
        {HiddenFilter::VisibleOnly, {10}}, {HiddenFilter::HiddenOnly, {20}}, {HiddenFilter::All, {10, 20}}};
    for (const auto& c : cases) {
        clsPhysicianSummaryRecords list;
        ASSERT_TRUE(RetrievePhysicians(1, c.filter, list));
        std::vector<long> ids;
        for (const auto& r : list.records())
            ids.push_back(r.physician_id);
        EXPECT_EQ(ids, c.ids) << static_cast<int>(c.filter);
    }
    EXPECT_EQ(listed(1, 20).paxlet_user_name, "bbaker");
    EXPECT_EQ(listed(1, 20).is_hidden, 1);
}

TEST_F(PhysicianList, AFailedRetrievalShowsItsMessageAndLeavesTheListEmpty) {
    exec("DROP TABLE Physician_external_ids");
    clsPhysicianSummaryRecords list;
    list.Add(clsPhysicianSummaryRecord{});
    EXPECT_FALSE(RetrievePhysicians(1, HiddenFilter::All, list));
    EXPECT_EQ(list.Count(), 0u);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().title, "Physician Profile");
    EXPECT_EQ(recorder.shown.back().text.rfind("Unable to retrieve the list of physicians!  Error: ", 0), 0u);
    EXPECT_NE(recorder.shown.back().text.find("Physician_external_ids"), std::string::npos);
}

TEST_F(PhysicianList, StatusFilterShowsRowsWithEveryOnlyLetterAndNoExcludedLetter) {
    clsPhysicianSummaryRecord fax; // F only
    fax.fax_enabled_1 = 1;
    clsPhysicianSummaryRecord faxMail = fax; // F and M
    faxMail.email_enabled = 1;
    clsPhysicianSummaryRecord none;
    struct Case {
        std::vector<std::pair<char, StatusChoice>> choices;
        bool fax, faxMail, none;
        const char* text;
    };
    const Case cases[] = {
        {{}, true, true, true, "A, E, B, F, M, R, V"},
        {{{'F', StatusChoice::Only}}, true, true, false, "A, E, B, F only, M, R, V"},
        {{{'M', StatusChoice::Exclude}}, true, false, true, "A, E, B, F, R, V"},
        {{{'F', StatusChoice::Only}, {'M', StatusChoice::Only}}, false, true, false, "A, E, B, F only, M only, R, V"},
        {{{'F', StatusChoice::Only}, {'M', StatusChoice::Exclude}}, true, false, false, "A, E, B, F only, R, V"},
    };
    for (const auto& c : cases) {
        StatusFilter filter;
        for (const auto& [letter, choice] : c.choices)
            filter.Set(letter, choice);
        EXPECT_EQ(filter.Passes(fax), c.fax) << c.text;
        EXPECT_EQ(filter.Passes(faxMail), c.faxMail) << c.text;
        EXPECT_EQ(filter.Passes(none), c.none) << c.text;
        EXPECT_EQ(filter.Text(), c.text);
    }
}

TEST_F(PhysicianList, WithoutPrivilege9EveryChangingCommandIsRefusedWithItsText) {
    loginAs(1, {});
    struct Case {
        ListCommand command;
        const char* text;
    };
    const Case cases[] = {
        {ListCommand::Add, "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {ListCommand::Edit, "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {ListCommand::Delete, "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {ListCommand::Hide, "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {ListCommand::RemoveFromAccount, "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {ListCommand::SetDefaultAccounts, "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {ListCommand::SetExtendedProfile, "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {ListCommand::ChangePartition, "ACCESS DENIED:  You do not have access to change partition assignment."},
        {ListCommand::SetDefaultPartition,
         "ACCESS DENIED:  You do not have access to set the default partition assignment."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListCommandRefusal(c.command), c.text) << static_cast<int>(c.command);
    PhysicianListDefaults defaults;
    EXPECT_EQ(SetDefaultAccounts(defaults, {1}), kDeniedAlterPhysician);
    EXPECT_EQ(SetExtendedProfile(defaults, true), kDeniedAlterPhysician);
    EXPECT_EQ(SetDefaultPartition(defaults, 1), kDeniedDefaultPartition);
    EXPECT_TRUE(defaults.defaultAccounts.empty());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log"), "0");

    loginAs(1, {9});
    for (const auto& c : cases)
        EXPECT_EQ(ListCommandRefusal(c.command), "") << static_cast<int>(c.command);
}

TEST_F(PhysicianList, DeleteRemovesEveryAccountsRowsKeepsTheProfileMarkedAndDeletesTheLinkedUser) {
    std::vector<long> deletedUsers;
    LinkedUsers().deleteUser = [&deletedUsers](long id) {
        deletedUsers.push_back(id);
        return true;
    };
    auto baker = listed(1, 20);
    EXPECT_EQ(DeleteRefusal(baker, {1, 5}), "ACCESS DENIED: The physician Baker, Ben cannot be deleted because this "
                                            "physician is a Paxlet physician and you do not have Paxlet "
                                            "Administrator privileges.");
    loginAs(1, {9}, true);
    EXPECT_EQ(DeleteRefusal(baker, {1, 5}), "");
    ASSERT_TRUE(DeletePhysician(baker));
    for (const char* table : {"Physician_attributes", "Physician_membership", "Physician_external_ids",
                              "Groups_physicians", "Physician_addendums_v2", "Physician_weighting"})
        EXPECT_EQ(scalar(std::string("SELECT COUNT(*) FROM ") + table + " WHERE physician_id = 20"), "0") << table;
    EXPECT_EQ(scalar("SELECT is_deleted FROM Physician_profile WHERE physician_id = 20"), "1");
    EXPECT_EQ(deletedUsers, std::vector<long>{200});
    EXPECT_TRUE(logged("A physician was deleted."));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 10"), "1"); // others untouched
}

TEST_F(PhysicianList, DeleteIsRefusedWhenTheUserMayEditNoneOfThePhysiciansAccounts) {
    loginAs(2, {9}); // South: account 1 and 5's physician 20 is in North
    const auto dunn = listed(5, 40);
    const auto baker = listed(1, 20);
    loginAs(2, {9}, true);
    EXPECT_EQ(DeleteRefusal(dunn, {5}), "");
    EXPECT_EQ(DeleteRefusal(baker, {1}), "ACCESS DENIED: The physician Baker, Ben cannot be deleted because you do "
                                         "not have authority to delete this physician.");
}

TEST_F(PhysicianList, RemovingAMemberOfAllAccountsLeavesExplicitMembershipsForEveryOtherLiveAccount) {
    auto adams = listed(2, 10);
    EXPECT_EQ(RemoveFromAccountRefusal(adams, 2), "");
    const size_t mark = DatabaseSession::instance().history.size();
    ASSERT_TRUE(RemovePhysicianFromAccount(adams, 2, "O'Neil"));
    EXPECT_NE(DatabaseSession::instance().history[mark].find("string1 = 'O''Neil'"), std::string::npos);
    EXPECT_EQ(rows("SELECT hosp_acct_id FROM Physician_membership WHERE physician_id = 10 ORDER BY hosp_acct_id"),
              "1;3;5;6"); // not -1, not 2, not the deleted 4
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 2"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_attributes_extended WHERE physician_id = 10"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_addendums_v2 WHERE physician_id = 10"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_weighting WHERE physician_id = 10"), "0");
    EXPECT_EQ(rows("SELECT hosp_acct_id FROM Groups_physicians WHERE physician_id = 10"), "1");
    EXPECT_EQ(rows("SELECT is_deleted, string1 FROM Physician_profile WHERE physician_id = 10"), "0|O'Neil");
    EXPECT_FALSE(adams.is_deleted);
    EXPECT_TRUE(logged("A physician was removed from an account."));
}

TEST_F(PhysicianList, RemovingTheLastAccountMarksTheProfileDeleted) {
    auto clark = listed(2, 30);
    EXPECT_EQ(RemoveFromAccountRefusal(clark, 2), "");
    ASSERT_TRUE(RemovePhysicianFromAccount(clark, 2, "admin1"));
    EXPECT_EQ(scalar("SELECT is_deleted FROM Physician_profile WHERE physician_id = 30"), "1");
    EXPECT_TRUE(clark.is_deleted);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 30 AND hosp_acct_id = -1"), "1");
}

TEST_F(PhysicianList, ARemovalThatLeavesNoAccountInThePhysiciansPartitionIsRefused) {
    auto baker = listed(1, 20); // accounts 1 (partition 1) and 5 (partition 2); physician in partition 1
    EXPECT_EQ(RemoveFromAccountRefusal(baker, 1), kMustRemainMember);
    EXPECT_EQ(RemoveFromAccountRefusal(baker, 5), ""); // account 1 remains in partition 1
}

TEST_F(PhysicianList, HidingAndShowingStampsTheProfileAndLogs) {
    auto adams = listed(1, 10);
    ASSERT_TRUE(SetPhysicianHidden(adams, true, "admin1"));
    EXPECT_EQ(rows("SELECT flag3, string1 FROM Physician_profile WHERE physician_id = 10"), "1|admin1");
    EXPECT_EQ(adams.is_hidden, 1);
    EXPECT_TRUE(logged("A physician was hidden."));
    ASSERT_TRUE(SetPhysicianHidden(adams, false, "admin1"));
    EXPECT_EQ(scalar("SELECT flag3 FROM Physician_profile WHERE physician_id = 10"), "0");
    EXPECT_TRUE(logged("A physician was made visible."));
}

TEST_F(PhysicianList, ChangingToThePartitionThePhysicianHasDoesNothing) {
    auto adams = listed(1, 10);
    const size_t mark = DatabaseSession::instance().history.size();
    EXPECT_EQ(ChangePhysicianPartition(adams, 1, "admin1", root), PartitionChange::Unchanged);
    EXPECT_EQ(sentSince(mark), 0u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log"), "0");
}

TEST_F(PhysicianList, ChangingThePartitionMovesTheProfileAndTheLinkedUser) {
    loginAs(0, {9}, true);
    std::vector<long> followedUp;
    LinkedUsers().afterPartitionChange = [&followedUp](long id) {
        followedUp.push_back(id);
        return true;
    };
    exec("INSERT Trans_info (trans_id) VALUES ('bbaker')");
    auto baker = listed(1, 20);
    EXPECT_EQ(ChangePartitionRefusal(baker, 2, {1, 5}), "");
    EXPECT_EQ(ChangePartitionWarning({&baker}), "Changing the partition of the selected physician(s) will:\r\n\r\n"
                                                "--> remove the physician from assigned User Management Groups\r\n"
                                                "--> remove Paxlet signature relationships from the physician\r\n"
                                                "--> reset the physician's privileges\r\n"
                                                "Would you still like to continue?");
    EXPECT_EQ(ChangePhysicianPartition(baker, 2, "admin1", root), PartitionChange::Changed);
    EXPECT_EQ(rows("SELECT partition_id, string1 FROM Physician_profile WHERE physician_id = 20"), "2|admin1");
    EXPECT_EQ(scalar("SELECT partition_id FROM System_user_bindery WHERE user_id = 200"), "2");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_security_groups WHERE user_id = 200"), "0");
    EXPECT_EQ(scalar("SELECT extra3 FROM Trans_info WHERE trans_id = 'bbaker'"), "2");
    EXPECT_EQ(followedUp, std::vector<long>{200});
    EXPECT_EQ(baker.Partition_ID, 2); // no routines folder to move: the move succeeds
    EXPECT_TRUE(logged("The partition of a physician was changed."));
}

TEST_F(PhysicianList, PartitionChangeRefusalsNameThePhysicianAndTheReason) {
    const auto adams = listed(1, 10);
    const auto baker = listed(1, 20);
    const auto dunn = listed(5, 40);
    const std::string prefix = "ACCESS DENIED: The partition of physician ";
    struct Case {
        long userPartition;
        bool paxletAdmin;
        const clsPhysicianSummaryRecord* physician;
        std::vector<long> accounts;
        long destination;
        std::string refusal;
    };
    const Case cases[] = {
        {1, false, &adams, {-1}, 3, ""},
        {1, false, &adams, {-1}, 2, ""}, // a member of all: account 5 is in partition 2
        {2,
         false,
         &baker,
         {1, 5},
         2,
         prefix + "Baker, Ben cannot be changed because this physician is a member of a partition outside your "
                  "partition or sub-partition."},
        {1,
         false,
         &baker,
         {1, 5},
         2,
         prefix + "Baker, Ben cannot be changed because this physician is a Paxlet physician and you do not have "
                  "Paxlet Administrator privileges."},
        {1,
         true,
         &baker,
         {1, 5},
         3,
         prefix + "Baker, Ben cannot be changed because this physician is not a member of any accounts in the "
                  "destination partition."},
        {1,
         true,
         &dunn,
         {5},
         1,
         "ACCESS DENIED:  You do not have sufficient privileges to change the partition of the selected "
         "physician, Dunn, Dan."},
    };
    for (const auto& c : cases) {
        loginAs(c.userPartition, {9}, c.paxletAdmin);
        EXPECT_EQ(ChangePartitionRefusal(*c.physician, c.destination, c.accounts), c.refusal)
            << c.physician->DisplayName() << " to " << c.destination;
    }
    EXPECT_EQ(ChangePartitionWarning({&adams, &dunn}), "");
}

TEST_F(PhysicianList, AccountAndPartitionListsHoldEachIdOnceWithoutBlanks) {
    EXPECT_EQ(HospAccountsVisibleToUser(), "1,2,3,6");
    EXPECT_EQ(ListOfPotentialDefaultPartitionIdsByAcct(), "1,3");
    EXPECT_EQ(ListOfPotentialChangePartitionIdsByAcct(), "1,3");
    loginAs(0, {9});
    EXPECT_EQ(HospAccountsVisibleToUser(), "1,2,3,5,6");
    EXPECT_EQ(ListOfPotentialDefaultPartitionIdsByAcct(), "1,2,3");
}

TEST_F(PhysicianList, DefaultsKeepOnlyVisibleAccountsAndOfferedPartitions) {
    PhysicianListDefaults defaults;
    EXPECT_EQ(SetDefaultAccounts(defaults, {2, 5, 2, 4, 1}), "");
    EXPECT_EQ(defaults.defaultAccounts, (std::vector<long>{2, 1})); // 5 another partition, 4 deleted
    EXPECT_TRUE(logged("The default accounts for new physicians were changed."));
    EXPECT_EQ(SetExtendedProfile(defaults, true), "");
    EXPECT_TRUE(defaults.extendedProfile);
    EXPECT_EQ(SetDefaultPartition(defaults, 2), kDeniedDefaultPartition);
    EXPECT_EQ(defaults.DefaultPartitionId, 0);
    EXPECT_EQ(SetDefaultPartition(defaults, 3), "");
    EXPECT_EQ(defaults.DefaultPartitionId, 3);
}

TEST_F(PhysicianList, SearchOffersPhysiciansUnderTheUsersPartitionAndThoseOfSharedAccountsOnly) {
    auto names = [](const clsPhysicianSummaryRecords& found) {
        std::vector<std::string> out;
        for (const auto& r : found.records())
            out.push_back(r.DisplayName());
        return out;
    };
    clsPhysicianSummaryRecords found;
    ASSERT_TRUE(SearchPhysicians("n", found)); // Dunn's account 5 is in South, not shared
    EXPECT_EQ(names(found), std::vector<std::string>{"Baker, Ben"});
    EXPECT_TRUE(logged("User admin1 searched for n from other partitions."));

    PartitionCache().item(2).Set_Sharing_Partitions_String("1");
    PartitionCache().item(2).Set_Sharing_Option(clsPartition::kShareAccountsForPhysicians, true);
    ASSERT_TRUE(SearchPhysicians("n", found));
    EXPECT_EQ(names(found), (std::vector<std::string>{"Baker, Ben", "Dunn, Dan"}));
    EXPECT_EQ(found.Item("40")->dictation_id, "4001");

    ASSERT_TRUE(SearchPhysicians("RiT", found)); // first names too, any case
    EXPECT_EQ(names(found), std::vector<std::string>{"Adams, Rita MD"});
    EXPECT_EQ(found.Item("10")->AuthorIdText(), "A17 + ...");
    ASSERT_TRUE(SearchPhysicians("O'Hara", found)); // an apostrophe stays inside the literal
    EXPECT_EQ(found.Count(), 0u);
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(PhysicianList, AddingAFoundPhysicianToAnAccountMakesItAMemberOnce) {
    const auto dunn = listed(5, 40);
    ASSERT_TRUE(AddPhysicianToAccount(dunn, 1));
    ASSERT_TRUE(AddPhysicianToAccount(dunn, 1));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 40 AND hosp_acct_id = 1"), "1");
    const auto adams = listed(1, 10); // a member of all accounts gets no row of its own
    ASSERT_TRUE(AddPhysicianToAccount(adams, 1));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 10"), "1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE msg1 = 'A physician was added to an account.'"), "3");
}

} // namespace
