// The demo site holds relationships of each kind, workstation and viewer locks and messages, and a
// North General administrator sees and releases only the locks of its own partition.

#include "DemoSite.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SiteSession.h"
#include "clsLockedReports.h"
#include "clsPartition.h"
#include "clsSignatureRelationships.h"
#include "modPartition.h"

#include <algorithm>

using namespace users;

namespace {

TEST(DemoRelations, TheDemoSiteHoldsEachKindAndItsLocksAreReleasable) {
    kdtest::OdbcEnvironment odbc;
    const std::string folder = odbc.folder() + "/demo";
    demo::createDemoSite(folder, KD_DRIVER_PATH);
    ASSERT_TRUE(kdtest::connectSiteSession(folder));
    auto& session = foundation::DatabaseSession::instance();
    platform::MessageRecorder recorder;
    suite::LoginComponent login;
    login.user.user_id = 1;
    login.user.user_name = "ADMINISTRATOR";
    login.user.Partition_ID = 3; // North General Hospital
    physicians::Partitions().login = &login;
    ASSERT_GT(physicians::LoadPartitions(), 0);
    std::vector<suite::HospAccount> accounts;
    for (long acct : {1L, 2L, 3L, 6L}) {
        suite::HospAccount a;
        a.hosp_acct_id = acct;
        a.Partition_ID = acct == 6 ? 5 : 3;
        accounts.push_back(a);
    }
    login.SetHospAccounts(accounts);

    clsSignatureRelationships rel;
    ASSERT_TRUE(rel.LoadSurrogates());
    ASSERT_TRUE(rel.LoadDependencies());
    const auto& s = rel.Surrogates();
    EXPECT_TRUE(std::any_of(s.begin(), s.end(), [](const clsSurrogate& r) { return r.IsGroup(); }));
    EXPECT_TRUE(std::any_of(s.begin(), s.end(), [](const clsSurrogate& r) { return !r.m_strExpireDate.empty(); }));
    const auto& d = rel.Dependencies();
    EXPECT_TRUE(std::any_of(d.begin(), d.end(), [](const clsSignatureDependency& r) { return r.IsResident(); }));
    EXPECT_TRUE(std::any_of(d.begin(), d.end(), [](const clsSignatureDependency& r) { return !r.IsResident(); }));

    clsLockedReports locks;
    ASSERT_TRUE(locks.Load());
    std::vector<std::string> seen;
    size_t withMilliseconds = locks.Count();
    for (size_t i = 0; i < locks.Count(); ++i) {
        const auto& l = locks.Items()[i];
        seen.push_back(l.m_strTransId);
        EXPECT_NE(l.m_lngHospAcctId, 6) << "a lock of South Medical is listed";
        if (l.m_strTransId == "MJONES")
            withMilliseconds = i;
    }
    EXPECT_NE(std::find(seen.begin(), seen.end(), "PAXLET"), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), "ASMITH"), seen.end());
    ASSERT_LT(withMilliseconds, locks.Count());
    EXPECT_NE(locks.Items()[withMilliseconds].m_strLockTime.substr(19), ".000");
    ASSERT_TRUE(locks.Release(withMilliseconds));
    EXPECT_EQ(kdtest::sessionScalar(session, "SELECT COUNT(*) FROM Locked_reports WHERE trans_id = 'MJONES'"), "0");
    EXPECT_EQ(
        kdtest::sessionScalar(session, "SELECT COUNT(*) FROM System_user_messages WHERE message LIKE '%O''Brien''s%'"),
        "1");
    EXPECT_TRUE(recorder.shown.empty());
    session.DisconnectFromSQL();
    physicians::Partitions().login = nullptr;
}

} // namespace
