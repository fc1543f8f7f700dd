#include "PP_Chg_Partition.h"

namespace physicians {

PP_Chg_Partition::PP_Chg_Partition(QWidget* parent)
    : PartitionPicker("PP_Chg_Partition", "Change Partition", "Move to &partition:", parent) {}

void PP_Chg_Partition::GetNewPartition(long& partitionId, const std::string& list, bool& ok) {
    fill(list, -1);
    ok = pick();
    partitionId = selectedId();
}

} // namespace physicians
