#include "clsArchiveDisk.h"

#include "DatabaseSession.h"

namespace maintenance {

using foundation::DatabaseSession;

std::string clsArchiveDisk::SaveStatement() const {
    const std::string active = is_active ? "1" : "0";
    const std::string label = "'" + DatabaseSession::QuoteSQL(disk_label) + "'";
    const std::string location = "'" + DatabaseSession::QuoteSQL(disk_location) + "'";
    std::string sql;
    std::string number;
    if (disk_nbr == 0) {
        // MAX over an empty table is NULL: the first disk is number 1.
        sql = "DECLARE @new_disk_nbr int\n"
              "SELECT @new_disk_nbr = (ISNULL(MAX(disk_nbr), 0) + 1)\n"
              "FROM Archive_disks\n"
              "INSERT Archive_disks\n"
              "VALUES (@new_disk_nbr, " +
              label + ", " + location + ", NULL, NULL, NULL, -1, 0, 0, " + active + ", 0, 0, 0, NULL, NULL, NULL)";
        number = "@new_disk_nbr";
    } else {
        number = std::to_string(disk_nbr);
        sql = "UPDATE Archive_disks\n"
              "SET disk_label    = " +
              label + ", \n    disk_location = " + location + ", \n    is_active =      " + active +
              "\nWHERE disk_nbr = " + number;
    }
    if (is_active)
        sql += "\nUPDATE Archive_disks\nSET is_active = 0\nWHERE disk_nbr <> " + number;
    return sql;
}

bool clsArchiveDisk::Save() const {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = SaveStatement();
    return s.ExecSQLAllOrNothing() == 1;
}

std::string clsArchiveDisk::DeleteStatement(long diskNbr) {
    return "DELETE \nFROM Archive_disks \nWHERE disk_nbr = " + std::to_string(diskNbr) + " AND reports = 0";
}

bool clsArchiveDisk::Delete(long diskNbr) {
    return DatabaseSession::instance().RunStatement(DeleteStatement(diskNbr));
}

} // namespace maintenance
