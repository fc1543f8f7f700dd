#include "VoiceFixture.h"
#include "clsVVFacLinkItems.h"
#include "clsVVFacSysAssocs.h"

using namespace voicesystems;

namespace {

class FacilityLinks : public kdtest::VoiceTest {
protected:
    void SetUp() override {
        VoiceTest::SetUp();
        insertDefinition(1, "North Voice", "VOICE");
        insertDefinition(2, "Central Voice", "VOICE");
    }
    void link(int system, long facility, long account, int format = 0) {
        exec("INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, "
             "string1, string2, string3, date1) VALUES (" +
             std::to_string(system) + ", " + std::to_string(facility) + ", " + std::to_string(account) + ", " +
             std::to_string(format) + ", 0, 0, 0, NULL, NULL, NULL, NULL)");
    }
    std::string rows() {
        auto out = exec("SELECT system_id, facility, hosp_acct_id, flag1 FROM voice_facility_links ORDER BY "
                        "system_id, facility, hosp_acct_id");
        std::string text;
        for (const auto& r : out.firstRows()->rows)
            text += *r[0] + "/" + *r[1] + "/" + *r[2] + "/" + *r[3] + " ";
        return text;
    }
};

TEST_F(FacilityLinks, AddEditAndDeleteEachWriteAndLog) {
    clsVVFacLinkItems links;
    ASSERT_TRUE(links.Load());
    EXPECT_EQ(foundation::DatabaseSession::instance().history.back(),
              "SELECT system_id, \r\nfacility, hosp_acct_id, \r\nflag1, flag2, flag3, flag4, \r\nstring1, string2, "
              "string3, date1\r\nFROM voice_facility_links\r\nORDER BY system_id");
    clsVVFacLinkItem* item = links.Add();
    item->SetSystemId(1);
    item->SetFacilityId(12);
    item->SetHospAcctId(10);
    item->SetNameFormat(1);
    ASSERT_TRUE(links.ApplyEdit());
    EXPECT_EQ(
        foundation::DatabaseSession::instance().history[foundation::DatabaseSession::instance().history.size() - 2],
        "INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, "
        "string1, string2, string3, date1)\r\nVALUES(1, 12, 10, 1, 0, 0, 0, NULL, NULL, NULL, NULL)");
    EXPECT_EQ(rows(), "1/12/10/1 ");

    item->BeginEdit();
    item->SetFacilityId(13);
    ASSERT_TRUE(links.ApplyEdit());
    EXPECT_EQ(rows(), "1/13/10/1 ");

    links.Remove(item);
    EXPECT_EQ(links.Count(), 0);
    ASSERT_TRUE(links.ApplyEdit());
    EXPECT_EQ(rows(), "");
    EXPECT_EQ(logged(20050), "Veltra Voice System 1 for Facility 12 and Account 10 added by user ADMIN.\n"
                             "Veltra Voice System 1 for Facility 13 and Account 10 modified by user ADMIN.\n"
                             "Veltra Voice System 1 for Facility 13 and Account 10 deleted by user ADMIN.\n");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20050 AND hosp_acct_id = 10"), "3");
}

TEST_F(FacilityLinks, AChangeThatCannotBeWrittenKeepsTheOldLink) {
    link(1, 5, 10);
    link(1, 6, 10);
    clsVVFacLinkItems links;
    ASSERT_TRUE(links.Load());
    clsVVFacLinkItem* first = links.Item(1);
    first->BeginEdit();
    first->SetFacilityId(6); // the key of the other link: the insert fails
    EXPECT_FALSE(links.ApplyEdit());
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_NE(recorder.shown[0].text.find("A Veltra Voice link with these settings has already been defined."),
              std::string::npos)
        << recorder.shown[0].text;
    EXPECT_EQ(rows(), "1/5/10/0 1/6/10/0 ");
    EXPECT_EQ(logged(20050), "");
}

TEST_F(FacilityLinks, DuplicatesAreFoundAndTheFacilityRuleHasItsMessage) {
    link(1, 5, 10);
    clsVVFacLinkItems links;
    ASSERT_TRUE(links.Load());
    clsVVFacLinkItem* item = links.Add();
    item->SetSystemId(1);
    item->SetFacilityId(5);
    item->SetHospAcctId(10);
    EXPECT_TRUE(links.ContainsMe(*item));
    item->SetHospAcctId(11);
    EXPECT_FALSE(links.ContainsMe(*item));
    EXPECT_FALSE(links.ContainsMe(*links.Item(1))); // a link is not its own duplicate

    int broken = 0;
    item->BrokenRule = [&] { ++broken; };
    item->SetFacilityId(-1);
    EXPECT_EQ(broken, 1);
    EXPECT_FALSE(item->CanBeSaved());
    EXPECT_EQ(item->GetErrString(),
              "Information could not be saved for the following reasons:\n\n"
              "-->\tThe Facility field is not properly defined.\n\n"
              "If you continue to have problems please contact your system administrator for assistance.");
    links.CancelEdit(); // the new link goes, nothing was written
    EXPECT_EQ(links.Count(), 1);
    EXPECT_EQ(rows(), "1/5/10/0 ");
}

TEST_F(FacilityLinks, AssociationsGroupAccountsBySystemAndFacility) {
    link(1, 5, 10, 1);
    link(1, 5, 11, 1);
    link(2, 7, 11);
    link(1, 6, 12);
    foundation::EventLog::context().logDebug = true;
    clsVVFacSysAssocs assocs;
    ASSERT_TRUE(assocs.LoadByAccts("10,11"));
    EXPECT_EQ(foundation::DatabaseSession::instance().history.back(),
              "SELECT VS.system_id, VS.system_name, VF.facility, VF.hosp_acct_id, VF.flag1\r\n"
              "FROM Voice_systems VS, Voice_facility_links VF\r\nWHERE VS.system_id = VF.system_id\r\n"
              "AND VF.hosp_acct_id IN (10,11)\r\nORDER BY VS.system_name, VF.facility");
    EXPECT_EQ(logged(20052).substr(0, 62), "SQL to fetch Veltra Voice links by account: SELECT VS.system_i");
    ASSERT_EQ(assocs.Count(), 2);
    EXPECT_EQ(assocs.Item(1)->SystemName, "Central Voice"); // by system name
    EXPECT_EQ(assocs.Item(2)->AcctIds(), (std::vector<long>{10, 11}));
    EXPECT_EQ(assocs.Item(2)->NameFormat, 1);
    ASSERT_TRUE(assocs.AddByAccts("12"));
    ASSERT_EQ(assocs.Count(), 3);
    EXPECT_EQ(assocs.Item("S1F6")->AcctIdsCount(), 1);
    EXPECT_EQ(assocs.Item("S9F9"), nullptr);
    EXPECT_EQ(assocs.LastError(), "Key value invalid");
    EXPECT_EQ(assocs.Item(2)->RemoveAcctIds("10,99"), 1);
    EXPECT_TRUE(assocs.Remove("S2F7"));
    EXPECT_FALSE(assocs.Remove("S2F7"));
    // Ids that are not numbers never reach the statement.
    ASSERT_TRUE(assocs.LoadByAccts("10,1) OR (1=1"));
    EXPECT_NE(foundation::DatabaseSession::instance().history.back().find("IN (10)"), std::string::npos);
}

} // namespace
