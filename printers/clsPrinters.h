#pragma once

#include "PrinterText.h"
#include "clsPrinter.h"

#include <map>
#include <string>
#include <vector>

namespace printers {

// A live batch or batch group that prints on a printer.
struct PrinterUse {
    std::string m_strAccount;
    std::string m_strBatch;
    std::string m_strGroup; // empty for a batch
};

// The system printers and custom footer formats in memory: the list the printer screens edit and
// the other screens choose from (the output log's printer choice, batch configuration, printer
// privileges).
class clsPrinters {
public:
    // Three reads merged by printer id: the printers with their in-use marks, the originals rows
    // (databases above 2.0355) and the custom formats. On failure the list is empty and
    // "Unable to load the Veltra system printers." is shown and logged.
    bool LoadPrinters();

    [[nodiscard]] const std::vector<clsPrinter>& Printers() const { return m_colPrinters; }
    [[nodiscard]] size_t Count() const { return m_colPrinters.size(); }
    [[nodiscard]] const std::vector<clsCustomFormat>& Formats() const { return m_colFormats; }
    [[nodiscard]] const clsPrinter* Find(long printerId) const;
    [[nodiscard]] long HighestId() const;
    // True when another printer (not excludeId) has the description, compared as the server compares
    // text: without regard to case or trailing blanks.
    [[nodiscard]] bool DescriptionTaken(const std::string& description, long excludeId) const;

    // Adds the printer (id 0) or writes a changed one. A failure shows "An error was encountered
    // trying to save the printer.  Printer not saved." and leaves nothing of the save applied.
    // The list is read again afterwards either way, so it shows what the database holds.
    bool SavePrinter(const clsPrinter& printer);
    // In-use refusal from the database as it is now, then the question, then the delete.
    // Returns true when the printer was deleted.
    bool DeletePrinter(long printerId);
    // The batches and groups using the printer now, read from the database.
    [[nodiscard]] std::vector<PrinterUse> WhereUsed(long printerId) const;
    // Whether the database says a live batch or batch group uses the printer; -1 when the read failed.
    [[nodiscard]] int InUseNow(long printerId) const;

    // Adds (id 0) or changes a custom footer format; the id of the saved format or -1.
    long SaveFormat(long formatId, const std::string& text);
    // The id a new custom format receives: above the built-in formats and every custom one.
    [[nodiscard]] long NextFormatId() const;

    // The printers the partition sees, by id, with the name of the partition each belongs to ("" for
    // none). Databases without the extended table keep no partition: every printer is seen. Stamps
    // each printer's partition; false when the read failed (nothing is seen then). Until it is called
    // (and again after each load) every printer counts as seen.
    bool ReadPartitions(long partitionId);
    [[nodiscard]] bool SeenByPartition(long printerId) const;
    [[nodiscard]] std::string PartitionName(long printerId) const;

    static bool OriginalsInUse(); // the database has System_printers_extended (above 2.0355)

private:
    bool readPrinters();
    bool readOriginals();
    bool readFormats();

    std::vector<clsPrinter> m_colPrinters;
    std::vector<clsCustomFormat> m_colFormats;
    std::map<long, std::string> m_colSeen; // printer id -> partition name, after ReadPartitions
    bool m_blnPartitionsRead = false;
};

// The program's printer list, read at start-up, that the screens choosing a printer read from.
clsPrinters& SystemPrinters();

} // namespace printers
