// Locked reports: the list of the governed partitions' locks, release by trans id and both
// timestamps with their milliseconds, viewer locks, locks already gone and locks out of reach.

#include "RelationshipFixture.h"
#include "clsLockedReports.h"

using namespace users;

namespace {

class LockedReports : public kdtest::RelationshipTest {
protected:
    void SetUp() override {
        RelationshipTest::SetUp();
        const auto r = exec(
            "INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name) VALUES "
            "(10, 0, 4, 0, 'Discharge Summary')\n"
            // Two locks of one report that differ only in the lock time's milliseconds.
            "INSERT Locked_reports VALUES ('TNONE', '2026-12-05 08:00:00.123', '2026-12-05 09:30:15.123', 501, 10, 4, "
            "1, 305, 'Kurt', 'O''Neil', 'MRN1', '7001', 'One, Ann', '')\n"
            "INSERT Locked_reports VALUES ('TNONE', '2026-12-05 08:00:00.123', '2026-12-05 09:30:15.127', 501, 10, 4, "
            "1, 305, 'Kurt', 'O''Neil', 'MRN1', '7001', 'One, Ann', '')\n"
            "INSERT Locked_reports VALUES ('TNONE', '2026-12-05 07:00:00', '2026-12-05 07:10:00', 502, 11, 9, 2, 305, "
            "'Ana', 'Lopez', 'MRN2', '7002', 'Two, Bob', 'x')\n"
            // Account 20 is in partition 2, which MGR does not govern.
            "INSERT Locked_reports VALUES ('TNONE', '2026-12-05 06:00:00', '2026-12-05 06:10:00', 503, 20, 4, 1, 305, "
            "'Out', 'Side', 'MRN3', '7003', 'Four, Di', '')\n"
            "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, patient_last, patient_first, "
            "dictating_name, create_date) VALUES (601, 11, 4, 'Berg', 'Ola', 'Three, Cy', '2026-12-04 10:00:00.500')\n"
            "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, patient_last, patient_first, "
            "dictating_name, create_date) VALUES (602, 20, 4, 'Far', 'Away', 'Four, Di', '2026-12-04 10:00:00')\n"
            "INSERT Signature_session_locks VALUES (601, 3, '2026-12-05 08:45:00.250')\n"
            "INSERT Signature_session_locks VALUES (602, 4, '2026-12-05 08:46:00')");
        ASSERT_TRUE(SQL_SUCCEEDED(r.rc()));
        ASSERT_TRUE(locks.Load());
        session().history.clear();
        recorder.shown.clear();
    }
    std::vector<std::string> workstationLocks() {
        return rows("SELECT document_id, CONVERT(char(23), lock_time, 121) FROM Locked_reports ORDER BY document_id, "
                    "lock_time");
    }
    clsLockedReports locks;
};

TEST_F(LockedReports, ListsTheGovernedPartitionsLocksOldestFirst) {
    EXPECT_EQ(GovernedPartitionIds(), "1,3");
    ASSERT_EQ(locks.Count(), 4u);
    std::vector<std::string> seen;
    for (const auto& l : locks.Items())
        seen.push_back(l.m_strTransId + "|" + l.m_strLockTime + "|" + std::to_string(l.m_lngDocumentId));
    EXPECT_EQ(seen,
              (std::vector<std::string>{"TNONE|2026-12-05 07:10:00.000|502", "PAXLET|2026-12-05 08:45:00.250|601",
                                        "TNONE|2026-12-05 09:30:15.123|501", "TNONE|2026-12-05 09:30:15.127|501"}));
    const auto& ws = locks.Items()[2];
    EXPECT_EQ(ws.m_strCreateDate, "2026-12-05 08:00:00.123");
    EXPECT_EQ(ws.m_lngHospAcctId, 10);
    EXPECT_EQ(ws.m_strReportName, "Discharge Summary");
    EXPECT_EQ(ws.m_lngLockType, 1);
    EXPECT_EQ(ws.m_strUserName, "TNONE");
    EXPECT_EQ(ws.PatientName(), "O'Neil, Kurt");
    EXPECT_EQ(ws.m_strPatientId, "MRN1");
    EXPECT_EQ(ws.m_strDictationNbr, "7001");
    EXPECT_EQ(ws.m_strDictatingName, "One, Ann");
    const auto& viewer = locks.Items()[1];
    EXPECT_TRUE(viewer.IsViewerLock());
    EXPECT_EQ(viewer.m_strCreateDate, "2026-12-04 10:00:00.500");
    EXPECT_EQ(viewer.m_strUserName, "DRTHREE");
    EXPECT_EQ(viewer.m_strReportName, "");
    EXPECT_EQ(viewer.m_strPatientId, "");
    EXPECT_EQ(viewer.PatientName(), "Berg, Ola");
    EXPECT_EQ(viewer.m_strDictatingName, "Three, Cy");
    EXPECT_EQ(viewer.m_lngHospAcctId, 11);
}

TEST_F(LockedReports, AWorkstationLockIsReleasedByItsTimestampsToTheMillisecond) {
    ASSERT_TRUE(locks.Release(2));
    EXPECT_TRUE(sent("DELETE FROM Locked_reports WHERE trans_id = 'TNONE' AND create_date = '2026-12-05 08:00:00.123' "
                     "AND lock_time = '2026-12-05 09:30:15.123'"));
    EXPECT_EQ(workstationLocks(),
              (std::vector<std::string>{"501|2026-12-05 09:30:15.127", "502|2026-12-05 07:10:00.000",
                                        "503|2026-12-05 06:10:00.000"}));
    EXPECT_EQ(locks.Count(), 3u);
    EXPECT_EQ(logRows(), (std::vector<std::string>{
                             "20045|2|2|50|1|Report (docid=501) locked by TNONE was manually unlocked by MGR."}));
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(LockedReports, AViewerLockIsReleasedByItsDocument) {
    ASSERT_TRUE(locks.Release(1));
    EXPECT_TRUE(sent("DELETE FROM Signature_session_locks WHERE document_id = 601"));
    EXPECT_EQ(rows("SELECT document_id FROM Signature_session_locks"), (std::vector<std::string>{"602"}));
    EXPECT_EQ(workstationLocks().size(), 4u);
}

TEST_F(LockedReports, ALockAlreadyRemovedElsewhereDeletesNothing) {
    exec("DELETE FROM Locked_reports WHERE document_id = 502");
    ASSERT_TRUE(locks.Release(0));
    EXPECT_EQ(workstationLocks(),
              (std::vector<std::string>{"501|2026-12-05 09:30:15.123", "501|2026-12-05 09:30:15.127",
                                        "503|2026-12-05 06:10:00.000"}));
    EXPECT_TRUE(recorder.shown.empty());
    ASSERT_TRUE(locks.Load());
    EXPECT_EQ(locks.Count(), 3u);
}

TEST_F(LockedReports, ALockOutsideTheGovernedPartitionsIsNotReleasable) {
    clsLockedReport outside;
    outside.m_strTransId = "TNONE";
    outside.m_strCreateDate = "2026-12-05 06:00:00.000";
    outside.m_strLockTime = "2026-12-05 06:10:00.000";
    outside.m_lngDocumentId = 503;
    outside.m_lngHospAcctId = 20;
    outside.m_lngLockType = 1;
    EXPECT_FALSE(clsLockedReports::ReleaseLock(outside));
    EXPECT_EQ(workstationLocks().size(), 4u);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Failed to delete the lock.");
    EXPECT_EQ(recorder.shown[0].title, "Locked Reports");
    clsLockedReport viewer;
    viewer.m_lngDocumentId = 602;
    viewer.m_lngHospAcctId = 20;
    viewer.m_lngLockType = clsLockedReport::kViewerLock;
    EXPECT_FALSE(clsLockedReports::ReleaseLock(viewer));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_session_locks"), (std::vector<std::string>{"2"}));
    EXPECT_TRUE(logRows().empty());
    EXPECT_TRUE(session().history.empty());
}

TEST_F(LockedReports, AFailedReleaseKeepsTheRowAndSaysSo) {
    exec("DROP TABLE Locked_reports");
    EXPECT_FALSE(locks.Release(0));
    EXPECT_EQ(locks.Count(), 4u);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Failed to delete the lock.");
    EXPECT_TRUE(logRows().empty());
}

TEST_F(LockedReports, TheRootAdministratorSeesEveryPartition) {
    login.user.Partition_ID = 0;
    EXPECT_EQ(GovernedPartitionIds().substr(0, 2), "0,");
    ASSERT_TRUE(locks.Load());
    EXPECT_EQ(locks.Count(), 6u);
    EXPECT_EQ(locks.Items()[0].m_lngDocumentId, 503);
}

} // namespace
