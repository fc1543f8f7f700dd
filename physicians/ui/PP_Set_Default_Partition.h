#pragma once

#include "PartitionPicker.h"

namespace physicians {

// Asks for the partition new physicians are created in.
class PP_Set_Default_Partition : public PartitionPicker {
    Q_OBJECT
public:
    explicit PP_Set_Default_Partition(QWidget* parent = nullptr);

    // Offers the partitions of the comma list with partitionId preselected (the first when it is not
    // offered); partitionId changes only when OK was pressed.
    void GetDefaultPartition(long& partitionId, const std::string& list, bool& ok);
};

} // namespace physicians
