#include "clsPartition.h"

#include "DatabaseSession.h"

#include <cstdlib>

namespace physicians {

using foundation::DatabaseSession;

PartitionMap& PartitionCache() {
    static PartitionMap cache;
    return cache;
}

int LoadPartitions() {
    PartitionMap fresh;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT partition_id, parent_id, partition_name, share_bitmask, lineage FROM System_partitions "
                     "WHERE delete_date IS NULL";
    if (s.ExecSQL() == 1) {
        while (s.FetchRow() == 1) {
            clsPartition p;
            p.Partition_ID = std::atol(s.GetColumnText(1, 1).c_str());
            p.Parent_ID = std::atol(s.GetColumnText(2, 1).c_str());
            p.Partition_Name = s.GetColumnText(3, 1);
            p.Share_Bitmask = std::atol(s.GetColumnText(4, 1).c_str());
            p.Lineage = s.GetColumnText(5, 1);
            fresh[clsPartition::key(p.Partition_ID)] = p;
        }
    }
    PartitionCache() = std::move(fresh);
    for (auto& [key, partition] : PartitionCache())
        LoadPartitionShares(partition);
    return static_cast<int>(PartitionCache().size());
}

void LoadPartitionShares(clsPartition& partition) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT shared_by_id, shared_with_id FROM System_partitions_shares SPS\r\n"
                     "LEFT JOIN System_partitions SP on (shared_by_id = partition_id)\r\n"
                     "WHERE partition_id = " +
                     std::to_string(partition.Partition_ID);
    partition.Sharing_Partitions_String.clear();
    if (s.ExecSQL() != 1)
        return;
    while (s.FetchRow() == 1) {
        if (!partition.Sharing_Partitions_String.empty())
            partition.Sharing_Partitions_String += ",";
        partition.Sharing_Partitions_String += s.GetColumnText(2, 1);
    }
}

std::string GetPartitionName(long id) {
    auto it = PartitionCache().find(clsPartition::key(id));
    return it == PartitionCache().end() ? std::string() : it->second.Partition_Name;
}

} // namespace physicians
