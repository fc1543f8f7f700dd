#pragma once

#include "PrivilegeCodec.h"
#include "PrivilegeTable.h"

#include <span>
#include <string>
#include <vector>

namespace suite {
class LoginComponent;
}

namespace users {

// One report type row of an account as the privileges screen offers it: the slots of the account's
// first department, slot 0 being report type 0 ("<All New Reports>").
struct ReportTypeSlot {
    long report_type_nbr = 0;
    std::string name;
    bool is_deleted = false;
};

// The privileges of one user or security group at the three levels, with the privileges the user
// holds through its groups, as the privileges screen edits them. Accounts are those of the login
// component's account cache, held at their cache index (1-based; slot index - 1 here).
class clsPrivileges {
public:
    static constexpr const char* kAllNewAccounts = "<All New Accounts>";
    static constexpr const char* kAllNewReports = "<All New Reports>";
    static constexpr const char* kLoadFailed = "Could not retrieve the user's privileges.";
    static constexpr const char* kGroupLoadFailed = "Could not retrieve the group privileges.";
    static constexpr const char* kSaveFailed =
        "An error was encountered trying to save the user's privilege settings.  \nChanges were not saved";

    // Prepares empty privileges for the id (a user or a group) of the given partition, over the
    // accounts of the login component's cache.
    void Init(const suite::LoginComponent& login, long id, const std::string& name, bool isGroup, long partitionId);

    // Reads the three levels with one batch of three SELECTs; shows kLoadFailed on failure.
    bool Load();
    // For a user: reads and combines the privileges of every group the user belongs to; shows
    // kGroupLoadFailed on failure. Groups have none.
    bool LoadGroupPrivileges();
    // Writes the three levels in one all-or-nothing batch, then the system log line; on failure shows
    // kSaveFailed and the stored privileges are left as they were.
    bool Save();

    // ---- what the lists offer ----------------------------------------------------------------
    // The cache indexes of the accounts the screen lists and saves: "<All New Accounts>" and every
    // non-deleted account whose partition lies under the edited id's partition, in cache order.
    [[nodiscard]] const std::vector<int>& VisibleAccounts() const { return m_colVisible; }
    [[nodiscard]] std::string AccountCaption(int accountIndex) const;
    [[nodiscard]] const std::vector<ReportTypeSlot>& ReportTypes(int accountIndex) const;
    // The slots the report type list offers: "<All New Reports>" and the non-deleted report types.
    [[nodiscard]] std::vector<int> OfferedReportTypes(int accountIndex) const;
    [[nodiscard]] long AccountId(int accountIndex) const;

    // ---- flags -------------------------------------------------------------------------------
    PrivilegeFlags& System() { return m_bytSystem; }
    [[nodiscard]] const PrivilegeFlags& System() const { return m_bytSystem; }
    [[nodiscard]] const PrivilegeFlags& Account(int accountIndex) const {
        return m_colAccounts.at(static_cast<size_t>(accountIndex - 1));
    }
    [[nodiscard]] const PrivilegeFlags& ReportType(int accountIndex, int slot) const {
        return m_colReportTypes.at(static_cast<size_t>(accountIndex - 1)).at(static_cast<size_t>(slot));
    }
    PrivilegeFlags& Account(int accountIndex) { return m_colAccounts.at(static_cast<size_t>(accountIndex - 1)); }
    PrivilegeFlags& ReportType(int accountIndex, int slot) {
        return m_colReportTypes.at(static_cast<size_t>(accountIndex - 1)).at(static_cast<size_t>(slot));
    }
    [[nodiscard]] const PrivilegeFlags& GroupSystem() const { return m_bytGroupSystem; }
    [[nodiscard]] const PrivilegeFlags& GroupAccount(int accountIndex) const {
        return m_colGroupAccounts.at(static_cast<size_t>(accountIndex - 1));
    }
    [[nodiscard]] const PrivilegeFlags& GroupReportType(int accountIndex, int slot) const {
        return m_colGroupReportTypes.at(static_cast<size_t>(accountIndex - 1)).at(static_cast<size_t>(slot));
    }

    // ---- the copy buttons ----------------------------------------------------------------------
    // Copies the given account positions of one account to every listed account.
    void CopyAccountPositions(int fromAccount, std::span<const int> positions);
    // Copies the given report type positions of one slot to every report type of the same account,
    // or (allAccounts) to the report types of every listed account.
    void CopyReportTypePositions(int fromAccount, int fromSlot, std::span<const int> positions, bool allAccounts);

    // A group may not hold the Transcription Desktop (14) or job player (86) privilege: clears them
    // with their dependent system privileges and the transcription account and report type
    // positions of every account. True when anything was granted and is now cleared.
    bool ApplyGroupRestriction();
    static std::string GroupRestrictionMessage();

    // The statement texts of the three-statement load batch.
    [[nodiscard]] std::string LoadBatch() const { return LoadBatch(m_lngId); }
    static std::string LoadBatch(long id);

    [[nodiscard]] long Id() const { return m_lngId; }
    [[nodiscard]] const std::string& Name() const { return m_strName; }
    [[nodiscard]] bool IsGroup() const { return m_blnIsGroup; }
    [[nodiscard]] int AccountCount() const { return static_cast<int>(m_colAccounts.size()); }
    [[nodiscard]] const std::vector<long>& GroupIds() const { return m_colGroupIds; }

    // The privileges of one level set: system flags, flags per account, flags per account and slot.
    struct Levels {
        PrivilegeFlags system;
        std::vector<PrivilegeFlags> accounts;
        std::vector<std::vector<PrivilegeFlags>> reportTypes;
    };
    struct GroupPrivileges {
        long id = 0;
        std::string name;
        Levels levels;
    };
    // Each group of the edited user with its own privileges, in group id order.
    [[nodiscard]] const std::vector<GroupPrivileges>& Groups() const { return m_colGroups; }

private:
    Levels emptyLevels() const;
    bool readBatch(long id, Levels& into);
    int slotOf(int accountIndex, long reportTypeNbr) const;

    const suite::LoginComponent* m_login = nullptr;
    long m_lngId = 0;
    std::string m_strName;
    bool m_blnIsGroup = false;
    long m_lngPartitionId = 0;

    PrivilegeFlags m_bytSystem;
    std::vector<PrivilegeFlags> m_colAccounts;
    std::vector<std::vector<PrivilegeFlags>> m_colReportTypes;
    PrivilegeFlags m_bytGroupSystem;
    std::vector<PrivilegeFlags> m_colGroupAccounts;
    std::vector<std::vector<PrivilegeFlags>> m_colGroupReportTypes;
    std::vector<long> m_colGroupIds;
    std::vector<GroupPrivileges> m_colGroups;

    std::vector<std::vector<ReportTypeSlot>> m_colSlots; // per account index - 1
    std::vector<int> m_colVisible;
};

} // namespace users
