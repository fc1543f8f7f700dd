#pragma once

#include <string>

namespace printers {

// One system printer: its System_printers row and, on databases that have it, its
// System_printers_extended row with the settings for originals.
struct clsPrinter {
    long m_lngPrinterId = 0;
    std::string m_strDescription;
    std::string m_strPrintQueue;
    std::string m_strSummaryFont = "Courier New";
    int m_intSummarySize = 10;
    int m_bytBannerBin = 0;
    int m_bytSummaryBin = 0;
    int m_bytSaveType = 0; // 0 Standard Output, 1 Print To File
    std::string m_strSaveToDirectory;
    int m_bytDefaultBin = 0;
    int m_bytDefaultFooterType = 0;
    std::string m_strDefaultPrintMacro;
    long m_lngFlag1 = 0; // designator footer replacement format for copies
    long m_lngFlag2 = 0; // envelope bin
    std::string m_strEnvelopeTemplate = "EnvDefault.doc";
    std::string m_strEnvelopeMacro;
    // The highest batch number of a live batch group and of a live batch using the printer; 0 none.
    long m_lngInUseGroup = 0;
    long m_lngInUseBatch = 0;
    bool m_blnHasOriginals = false; // a System_printers_extended row was read
    int m_bytOrigDefaultBin = 0;
    int m_bytOrigFooterType = 0;
    std::string m_strOrigPrintMacro;
    long m_lngOrigFooterFormat = 0;
    // The partition the printer belongs to (flag4 of its originals row), written when the row is
    // added; an existing row keeps its partition.
    long m_lngPartitionId = 0;

    [[nodiscard]] bool InUse() const { return m_lngInUseGroup != 0 || m_lngInUseBatch != 0; }
    // "P" and the id as three digits: the key of the printer in the printer list.
    [[nodiscard]] std::string Key() const;
};

// Column widths of the printer tables, in characters: text is cut to them before it is written.
struct PrinterLimits {
    static constexpr size_t Description = 50;
    static constexpr size_t PrintQueue = 100;
    static constexpr size_t SummaryFont = 50;
    static constexpr size_t SaveDirectory = 255;
    static constexpr size_t PrintMacro = 100;
    static constexpr size_t EnvelopeTemplate = 255;
    static constexpr size_t EnvelopeMacro = 255;
    static constexpr size_t FormatDescription = 255;
};

// The batch that adds a printer under the id after the highest one in memory, with its originals
// row when the database has the extended table.
std::string NewPrinterStatement(const clsPrinter& p, long highestIdInMemory, bool withOriginals);
// The batch that writes a changed printer back; the originals row is updated or added.
std::string ChangedPrinterStatement(const clsPrinter& p, bool withOriginals);
std::string DeletePrinterStatement(long printerId);
// The in-use test of one printer as the database has it now.
std::string InUseStatement(long printerId);
// The live batches and batch groups that print on the printer: account, batch, group ("" for a batch).
std::string WhereUsedStatement(long printerId);
std::string SaveFormatStatement(long formatId, const std::string& text);
// The printers a partition sees: its own, those of the partitions below it, and those that belong to
// none (no originals row). Columns: printer id, its partition id (NULL for none), the partition's name.
std::string PartitionPrintersStatement(long partitionId);

} // namespace printers
