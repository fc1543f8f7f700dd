#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace physicians {

// One live partition of the installation as the partition cache holds it. The cache loader fills
// it; screens only read it.
class clsPartition {
public:
    clsPartition() = default;
    clsPartition(long id, long parentId, std::string name, long shareBitmask, std::string lineage)
        : m_strPartitionName(std::move(name)), m_lngPartitionId(id), m_lngParentId(parentId),
          m_lngShareBitmask(shareBitmask), m_strLineage(std::move(lineage)) {}

    [[nodiscard]] const std::string& Partition_Name() const { return m_strPartitionName; }
    [[nodiscard]] long Partition_ID() const { return m_lngPartitionId; }
    [[nodiscard]] long Parent_ID() const { return m_lngParentId; }
    [[nodiscard]] long Share_Bitmask() const { return m_lngShareBitmask; }
    [[nodiscard]] const std::string& Lineage() const { return m_strLineage; }
    [[nodiscard]] const std::string& Sharing_Partitions_String() const { return m_strSharingPartitions; }

    // Sharing bits: 1 the partition shares its users, 2 its accounts for physician look-up.
    static constexpr long kShareUsers = 1;
    static constexpr long kShareAccountsForPhysicians = 2;

    // True when every bit of option is set.
    [[nodiscard]] bool Get_Sharing_Option(long option) const { return (m_lngShareBitmask & option) == option; }
    // True for the partition itself and for each of its ancestors.
    [[nodiscard]] bool Is_Under(long id) const;
    [[nodiscard]] bool Is_Sharing_With(long id) const;
    // This partition and all its descendants, as a comma list in cache order.
    [[nodiscard]] std::string GovernsSet() const;

    // Written by the cache loader only.
    void Set_Sharing_Option(long option, bool on);
    void Set_Sharing_Partitions_String(std::string list) { m_strSharingPartitions = std::move(list); }

    static std::string key(long id) { return "ID_" + std::to_string(id); }

private:
    std::string m_strPartitionName;
    long m_lngPartitionId = 0;
    long m_lngParentId = 0;
    long m_lngShareBitmask = 0;
    std::string m_strLineage; // ancestors' ids, each in "/": "/0/1/3/"
    std::string m_strSharingPartitions;
};

// The program-wide partition cache: the live partitions in the order they were loaded, looked up by
// id. A lookup of an id that is not cached (a deleted partition, a stale row) throws
// std::out_of_range; find() is the form that does not.
class clsPartitions {
public:
    void clear();
    // Adds a partition; an id already cached is refused (false), as a keyed collection refuses a key.
    bool add(clsPartition partition);
    [[nodiscard]] const clsPartition& item(long id) const;
    [[nodiscard]] clsPartition& item(long id);
    [[nodiscard]] const clsPartition* find(long id) const;
    [[nodiscard]] bool contains(long id) const { return m_index.count(id) != 0; }
    [[nodiscard]] size_t size() const { return m_items.size(); }
    [[nodiscard]] bool empty() const { return m_items.empty(); }

    [[nodiscard]] std::vector<clsPartition>::const_iterator begin() const { return m_items.begin(); }
    [[nodiscard]] std::vector<clsPartition>::const_iterator end() const { return m_items.end(); }
    [[nodiscard]] std::vector<clsPartition>::iterator begin() { return m_items.begin(); }
    [[nodiscard]] std::vector<clsPartition>::iterator end() { return m_items.end(); }

private:
    std::vector<clsPartition> m_items;
    std::unordered_map<long, size_t> m_index;
};

clsPartitions& PartitionCache();

// Replaces the cache by the partitions that are not deleted and loads every one's shares; returns
// how many were loaded.
int LoadPartitions();
void LoadPartitionShares(clsPartition& partition);

// For every partition that shares its users: "ID_" + id -> the comma list of partitions it shares
// them with, appended to what map already holds.
using SharingMap = std::map<std::string, std::string>;
void LoadUserSharingMap(SharingMap& map);

} // namespace physicians
