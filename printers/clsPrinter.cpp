#include "clsPrinter.h"

#include "DatabaseSession.h"
#include "Utf8.h"

#include <cstdio>

namespace printers {

namespace {

constexpr const char* kBreak = "\r\n";

// A text value cut to its column and quoted, without the surrounding apostrophes.
std::string q(const std::string& text, size_t limit) {
    return foundation::DatabaseSession::QuoteSQL(platform::utf8Left(text, limit));
}

std::string n(long value) {
    return std::to_string(value);
}

std::string originalsValues(const clsPrinter& p) {
    return n(p.m_bytOrigDefaultBin) + ", " + n(p.m_bytOrigFooterType) + ", '" +
           q(p.m_strOrigPrintMacro, PrinterLimits::PrintMacro) + "', " + n(p.m_lngOrigFooterFormat) + ", " +
           "0, 0, 0, " + n(p.m_lngPartitionId) + ", 0, NULL, NULL, NULL, NULL, NULL)";
}

} // namespace

std::string clsPrinter::Key() const {
    char key[24];
    std::snprintf(key, sizeof key, "P%03ld", m_lngPrinterId);
    return key;
}

std::string NewPrinterStatement(const clsPrinter& p, long highestIdInMemory, bool withOriginals) {
    std::string sql = std::string("DECLARE @printer_id INT") + kBreak +
                      "IF EXISTS (SELECT printer_id FROM System_printers)" + kBreak +
                      "SELECT @printer_id = " + n(highestIdInMemory + 1) + kBreak + "ELSE" + kBreak +
                      "SELECT @printer_id = 1" + kBreak;
    sql += "INSERT System_printers VALUES (@printer_id, '" + q(p.m_strDescription, PrinterLimits::Description) +
           "', '" + q(p.m_strPrintQueue, PrinterLimits::PrintQueue) + "', '" +
           q(p.m_strSummaryFont, PrinterLimits::SummaryFont) + "', " + n(p.m_intSummarySize) + ", " +
           n(p.m_bytBannerBin) + ", " + n(p.m_bytSummaryBin) + ", " + n(p.m_bytSaveType) + ", '" +
           q(p.m_strSaveToDirectory, PrinterLimits::SaveDirectory) + "', " + n(p.m_bytDefaultBin) + ", " +
           n(p.m_bytDefaultFooterType) + ", '" + q(p.m_strDefaultPrintMacro, PrinterLimits::PrintMacro) + "', " +
           n(p.m_lngFlag1) + ", " + n(p.m_lngFlag2) + ", NULL, NULL, '" +
           q(p.m_strEnvelopeTemplate, PrinterLimits::EnvelopeTemplate) + "', '" +
           q(p.m_strEnvelopeMacro, PrinterLimits::EnvelopeMacro) + "')";
    if (withOriginals)
        sql += std::string(kBreak) + "INSERT INTO System_printers_extended VALUES(@printer_id, " + originalsValues(p);
    return sql;
}

std::string ChangedPrinterStatement(const clsPrinter& p, bool withOriginals) {
    const std::string id = n(p.m_lngPrinterId);
    std::string sql = std::string("UPDATE System_printers") + kBreak;
    sql += "SET description =   '" + q(p.m_strDescription, PrinterLimits::Description) + "'," + kBreak;
    sql += "    print_queue =   '" + q(p.m_strPrintQueue, PrinterLimits::PrintQueue) + "'," + kBreak;
    sql += "    summary_font =  '" + q(p.m_strSummaryFont, PrinterLimits::SummaryFont) + "'," + kBreak;
    sql += "    summary_size =   " + n(p.m_intSummarySize) + "," + kBreak;
    sql += "    banner_bin =     " + n(p.m_bytBannerBin) + "," + kBreak;
    sql += "    save_to_directory = '" + q(p.m_strSaveToDirectory, PrinterLimits::SaveDirectory) + "'," + kBreak;
    sql += "    save_type =      " + n(p.m_bytSaveType) + "," + kBreak;
    sql += "    summary_bin  =    " + n(p.m_bytSummaryBin) + "," + kBreak;
    sql += "    default_bin =     " + n(p.m_bytDefaultBin) + "," + kBreak;
    sql += "    default_footer_type = " + n(p.m_bytDefaultFooterType) + "," + kBreak;
    sql += "    default_print_macro = '" + q(p.m_strDefaultPrintMacro, PrinterLimits::PrintMacro) + "'," + kBreak;
    sql += "    flag1 = " + n(p.m_lngFlag1) + "," + kBreak;
    sql += "    flag2 = " + n(p.m_lngFlag2) + "," + kBreak;
    sql += "    string2 = '" + q(p.m_strEnvelopeTemplate, PrinterLimits::EnvelopeTemplate) + "'," + kBreak;
    sql += "    string3 = '" + q(p.m_strEnvelopeMacro, PrinterLimits::EnvelopeMacro) + "'" + kBreak;
    sql += "WHERE printer_id = " + id;
    if (!withOriginals)
        return sql;
    sql += std::string(kBreak) + "IF EXISTS (SELECT * FROM System_printers_extended WHERE printer_id = " + id + ")" +
           kBreak;
    sql += std::string("  UPDATE System_printers_extended SET") + kBreak;
    sql += "  orig_default_bin = " + n(p.m_bytOrigDefaultBin) + "," + kBreak;
    sql += "  orig_default_footer_type = " + n(p.m_bytOrigFooterType) + "," + kBreak;
    sql += "  orig_default_print_macro = '" + q(p.m_strOrigPrintMacro, PrinterLimits::PrintMacro) + "'," + kBreak;
    sql += "  orig_footer_format = " + n(p.m_lngOrigFooterFormat) + kBreak;
    sql += "  WHERE printer_id = " + id + kBreak + "ELSE" + kBreak;
    sql += "  INSERT INTO System_printers_extended VALUES(" + id + ", " + originalsValues(p);
    return sql;
}

std::string DeletePrinterStatement(long printerId) {
    return "DELETE System_printers_extended WHERE printer_id = " + n(printerId) + kBreak +
           "DELETE System_printers WHERE printer_id = " + n(printerId);
}

std::string InUseStatement(long printerId) {
    const std::string id = n(printerId);
    return "SELECT in_use1 = (SELECT max(batch_nbr) FROM Batch_groups_cfg BG WHERE BG.printer_id = " + id +
           " and is_deleted = 0), in_use2 = (SELECT max(batch_nbr) FROM Batch_cfg BC WHERE BC.st_printer_id = " + id +
           " and is_deleted = 0)";
}

std::string WhereUsedStatement(long printerId) {
    const std::string id = n(printerId);
    return "SELECT AI.hosp_acct_name, BC.batch_name, '' FROM Batch_cfg BC JOIN Account_info AI ON AI.hosp_acct_id = "
           "BC.hosp_acct_id WHERE BC.st_printer_id = " +
           id + " AND BC.is_deleted = 0" + kBreak +
           "UNION ALL SELECT AI.hosp_acct_name, ISNULL(BC.batch_name, ''), BG.group_name FROM Batch_groups_cfg BG "
           "JOIN Account_info AI ON AI.hosp_acct_id = BG.hosp_acct_id LEFT JOIN Batch_cfg BC ON BC.hosp_acct_id = "
           "BG.hosp_acct_id AND BC.batch_nbr = BG.batch_nbr WHERE BG.printer_id = " +
           id + " AND BG.is_deleted = 0" + kBreak + "ORDER BY 1, 2, 3";
}

std::string SaveFormatStatement(long formatId, const std::string& text) {
    const std::string id = n(formatId);
    const std::string value = q(text, PrinterLimits::FormatDescription);
    return "IF EXISTS (SELECT * FROM System_printer_formats WHERE custom_format_id = " + id + ")" + kBreak +
           "UPDATE System_printer_formats" + kBreak + "SET format_description = '" + value + "'" + kBreak +
           "WHERE custom_format_id = " + id + kBreak + "ELSE" + kBreak + "INSERT System_printer_formats VALUES(" + id +
           ", '" + value + "', 0, 0, NULL, NULL, NULL)";
}

std::string PartitionPrintersStatement(long partitionId) {
    const std::string id = n(partitionId);
    return "SELECT SP.printer_id, SPE.flag4, PAR.partition_name FROM System_printers SP LEFT JOIN "
           "System_printers_extended SPE ON (SP.printer_id = SPE.printer_id) LEFT JOIN System_partitions PAR ON "
           "(SPE.flag4 = PAR.partition_id) WHERE SPE.flag4 = " +
           id + " OR PAR.lineage LIKE '%/" + id + "/%' OR SPE.flag4 IS NULL ORDER BY SP.printer_id";
}

} // namespace printers
