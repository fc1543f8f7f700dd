#pragma once

#include <map>
#include <string>

namespace physicians {

// One partition of the installation, as the partition cache holds it.
class clsPartition {
public:
    long Partition_ID = 0;
    long Parent_ID = 0;
    std::string Partition_Name;
    long Share_Bitmask = 0;
    std::string Lineage; // "/0/1/3/"
    std::string Sharing_Partitions_String;

    static std::string key(long id) { return "ID_" + std::to_string(id); }
};

// The program-wide partition cache, keyed "ID_" + id.
using PartitionMap = std::map<std::string, clsPartition>;
PartitionMap& PartitionCache();

// Loads the partitions that are not deleted, then each one's shares; returns how many loaded.
int LoadPartitions();
void LoadPartitionShares(clsPartition& partition);
std::string GetPartitionName(long id);

} // namespace physicians
