#pragma once

#include "PartitionPicker.h"

namespace physicians {

// Asks for the partition to move physicians to.
class PP_Chg_Partition : public PartitionPicker {
    Q_OBJECT
public:
    explicit PP_Chg_Partition(QWidget* parent = nullptr);

    // Offers the partitions of the comma list, the first selected; partitionId receives the choice
    // (also on Cancel), ok whether OK was pressed.
    void GetNewPartition(long& partitionId, const std::string& list, bool& ok);
};

} // namespace physicians
