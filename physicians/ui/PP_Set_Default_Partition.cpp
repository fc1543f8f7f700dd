#include "PP_Set_Default_Partition.h"

namespace physicians {

PP_Set_Default_Partition::PP_Set_Default_Partition(QWidget* parent)
    : PartitionPicker("PP_Set_Default_Partition", "Default Partition",
                      "Default &partition for new physicians:", parent) {}

void PP_Set_Default_Partition::GetDefaultPartition(long& partitionId, const std::string& list, bool& ok) {
    fill(list, partitionId);
    ok = pick();
    if (ok)
        partitionId = selectedId();
}

} // namespace physicians
