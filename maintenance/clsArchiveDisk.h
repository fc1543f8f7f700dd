#pragma once

#include <string>

namespace maintenance {

// Writes archive disks. A new disk takes the next number after the highest one ever used (deleted
// rows included), 1 on an empty table. Saving a disk as the active one makes every other disk
// inactive in the same batch, so exactly one disk is ever the current archive disk.
class clsArchiveDisk {
public:
    long disk_nbr = 0; // 0 for a disk not saved yet
    std::string disk_label;
    std::string disk_location;
    bool is_active = false;

    [[nodiscard]] std::string SaveStatement() const;
    // Sent all or nothing; false after the session has shown the error.
    bool Save() const;

    // A disk that holds reports is never deleted, even when the list read earlier said it had none.
    [[nodiscard]] static std::string DeleteStatement(long diskNbr);
    static bool Delete(long diskNbr);
};

} // namespace maintenance
