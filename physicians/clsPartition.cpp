#include "clsPartition.h"

#include "DatabaseSession.h"

#include <charconv>
#include <stdexcept>
#include <utility>

namespace physicians {

using foundation::DatabaseSession;

namespace {

// "/" + id + "/" without building a string per call: the predicates run per row of long lists.
bool lineageHolds(const std::string& lineage, long id) {
    char needle[24];
    needle[0] = '/';
    char* end = std::to_chars(needle + 1, needle + sizeof needle - 1, id).ptr;
    *end++ = '/';
    return lineage.find(needle, 0, static_cast<size_t>(end - needle)) != std::string::npos;
}

const char* const kSharesQuery = "SELECT shared_by_id, shared_with_id FROM System_partitions_shares SPS\r\n"
                                 "LEFT JOIN System_partitions SP on (shared_by_id = partition_id)\r\n";

} // namespace

bool clsPartition::Is_Under(long id) const {
    return m_lngPartitionId == id || lineageHolds(m_strLineage, id);
}

bool clsPartition::Is_Sharing_With(long id) const {
    if (m_strSharingPartitions.empty())
        return false;
    const std::string needle = "," + std::to_string(id) + ",";
    return ("," + m_strSharingPartitions + ",").find(needle) != std::string::npos;
}

std::string clsPartition::GovernsSet() const {
    std::string set;
    for (const clsPartition& p : PartitionCache()) {
        if (p.m_lngPartitionId != m_lngPartitionId && !lineageHolds(p.m_strLineage, m_lngPartitionId))
            continue;
        if (!set.empty())
            set += ',';
        set += std::to_string(p.m_lngPartitionId);
    }
    return set;
}

void clsPartition::Set_Sharing_Option(long option, bool on) {
    if (on)
        m_lngShareBitmask |= option;
    else
        m_lngShareBitmask &= ~option;
}

void clsPartitions::clear() {
    m_items.clear();
    m_index.clear();
}

bool clsPartitions::add(clsPartition partition) {
    const long id = partition.Partition_ID();
    if (m_index.count(id))
        return false;
    m_index.emplace(id, m_items.size());
    m_items.push_back(std::move(partition));
    return true;
}

const clsPartition& clsPartitions::item(long id) const {
    auto it = m_index.find(id);
    if (it == m_index.end())
        throw std::out_of_range("partition " + std::to_string(id) + " is not cached");
    return m_items[it->second];
}

clsPartition& clsPartitions::item(long id) {
    return const_cast<clsPartition&>(std::as_const(*this).item(id));
}

const clsPartition* clsPartitions::find(long id) const {
    auto it = m_index.find(id);
    return it == m_index.end() ? nullptr : &m_items[it->second];
}

clsPartitions& PartitionCache() {
    static clsPartitions cache;
    return cache;
}

int LoadPartitions() {
    auto& cache = PartitionCache();
    cache.clear();
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT partition_id, parent_id, partition_name, share_bitmask, lineage FROM System_partitions "
                     "WHERE delete_date IS NULL";
    int count = 0;
    if (s.ExecSQL() == 1) {
        while (s.FetchRow() == 1) {
            cache.add(clsPartition(s.GetColumnLong(1), s.GetColumnLong(2), s.GetColumnText(3, 1), s.GetColumnLong(4),
                                   s.GetColumnText(5, 1)));
            ++count;
        }
    }
    if (count > 0)
        for (clsPartition& partition : cache)
            LoadPartitionShares(partition);
    return count;
}

void LoadPartitionShares(clsPartition& partition) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = std::string(kSharesQuery) + "WHERE partition_id = " + std::to_string(partition.Partition_ID());
    std::string list;
    if (s.ExecSQL() == 1) {
        while (s.FetchRow() == 1) {
            if (!list.empty())
                list += ',';
            list += s.GetColumnText(2, 1);
        }
    }
    partition.Set_Sharing_Partitions_String(std::move(list));
}

void LoadUserSharingMap(SharingMap& map) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = std::string(kSharesQuery) + "WHERE share_bitmask & 1 = 1";
    if (s.ExecSQL() != 1)
        return;
    while (s.FetchRow() == 1) {
        std::string& entry = map[clsPartition::key(s.GetColumnLong(1))];
        if (!entry.empty())
            entry += ',';
        entry += s.GetColumnText(2, 1);
    }
}

} // namespace physicians
