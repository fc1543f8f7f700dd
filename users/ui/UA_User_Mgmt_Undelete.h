#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QTreeWidget;

namespace users {

class clsUser;
class clsUsers;

// "Undelete a Transcriptionist": the deleted transcriptionists of the logged-in user's partition and
// its sub-partitions; OK restores the chosen one with a new user row.
class UA_User_Mgmt_Undelete : public QDialog {
    Q_OBJECT
public:
    UA_User_Mgmt_Undelete(long partitionId, clsUsers& users, QWidget* parent = nullptr);

    // Reads the list; false after a failed statement (shown by the session) or, when there is none,
    // after "There are no transcriptionists available to undelete.".
    bool LoadList();
    // The restored user's id, 0 before a restore.
    [[nodiscard]] long RestoredUserId() const { return m_lngRestoredUserId; }

    static std::string ListQuery(long partitionId);
    static constexpr const char* kNoneToUndelete = "There are no transcriptionists available to undelete.";

private Q_SLOTS:
    void cmdOK_Click();

private:
    long m_lngPartitionId;
    clsUsers& m_users;
    std::vector<clsUser> m_rows;
    long m_lngRestoredUserId = 0;
    QTreeWidget* m_lvwTranscriptionists = nullptr;
};

} // namespace users
