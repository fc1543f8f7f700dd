#pragma once

#include "clsLockedReport.h"

#include <string>
#include <vector>

namespace users {

// The locked reports of the accounts whose partitions the logged-in user governs, oldest lock
// first, and their release.
class clsLockedReports {
public:
    // The one statement: workstation locks and viewer locks of accounts in the partitions of
    // partitionIds (a comma list of ids), ordered by lock time.
    static std::string LoadStatement(const std::string& partitionIds);
    // The release statement of one lock.
    static std::string ReleaseStatement(const clsLockedReport& lock);

    // Loads the locks of the logged-in user's governed partitions; false after a failed statement
    // (the list then stays as it was).
    bool Load();
    bool Load(const std::string& partitionIds);

    [[nodiscard]] const std::vector<clsLockedReport>& Items() const { return m_colLocks; }
    [[nodiscard]] size_t Count() const { return m_colLocks.size(); }

    // Releases the lock at index: deletes it, records the release and removes it from the list.
    // A lock of an account outside the governed partitions is refused. On failure "Failed to delete
    // the lock." is shown and the lock stays.
    bool Release(size_t index);
    // The same for a lock held elsewhere (it is not taken from the list).
    static bool ReleaseLock(const clsLockedReport& lock);

private:
    std::vector<clsLockedReport> m_colLocks;
};

// The partitions the logged-in user governs as a comma list: its own partition and all below it.
std::string GovernedPartitionIds();

extern const char* const kReleaseFailed;

} // namespace users
