#include "clsPrinters.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "MessageService.h"
#include "Text.h"

#include <algorithm>

namespace printers {

using foundation::DatabaseSession;
using foundation::EventLog;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr long kLoadPrintersFailed = 80157;
constexpr int kGeneralSystem = 0;
constexpr int kWarning = 4;

DatabaseSession& session() {
    return DatabaseSession::instance();
}

int intColumn(int column) {
    return static_cast<int>(session().GetColumnLong(column));
}

// Text compared as the server's default collation does: case and trailing blanks do not count.
std::string collationKey(const std::string& text) {
    std::string key = foundation::upperText(text);
    while (!key.empty() && key.back() == ' ')
        key.pop_back();
    return key;
}

} // namespace

clsPrinters& SystemPrinters() {
    static clsPrinters list;
    return list;
}

bool clsPrinters::OriginalsInUse() {
    return session().VersionGreaterThan(2.0355);
}

bool clsPrinters::LoadPrinters() {
    m_colPrinters.clear();
    m_colFormats.clear();
    m_colSeen.clear();
    m_blnPartitionsRead = false;
    if (readPrinters() && (!OriginalsInUse() || readOriginals()) && readFormats())
        return true;
    m_colPrinters.clear();
    m_colFormats.clear();
    EventLog::LogEvent(EventLog::SystemLog | EventLog::LocalFile | EventLog::MessageBox, kGeneralSystem, kWarning,
                       kLoadPrintersFailed, 0, 0, 0, 0, 0, -1, 0, "Unable to load the Veltra system printers.", {},
                       MsgIcon::Critical);
    return false;
}

bool clsPrinters::readPrinters() {
    auto& s = session();
    s.SQLStatement = "SELECT printer_id, description, print_queue, summary_font, summary_size, banner_bin, "
                     "summary_bin, save_type, save_to_directory, default_bin, default_footer_type, "
                     "default_print_macro, flag1, flag2, string2, string3, in_use1 = (SELECT max(batch_nbr) FROM "
                     "Batch_groups_cfg BG WHERE BG.printer_id = BP.printer_id and is_deleted = 0), in_use2 = (SELECT "
                     "max(batch_nbr) FROM Batch_cfg BC WHERE BC.st_printer_id = BP.printer_id and is_deleted = 0) "
                     "FROM System_printers BP ORDER BY printer_id";
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        clsPrinter p;
        p.m_lngPrinterId = s.GetColumnLong(1);
        p.m_strDescription = s.GetColumnText(2, 1);
        p.m_strPrintQueue = s.GetColumnText(3, 1);
        p.m_strSummaryFont = s.GetColumnText(4, 1);
        p.m_intSummarySize = intColumn(5);
        p.m_bytBannerBin = intColumn(6);
        p.m_bytSummaryBin = intColumn(7);
        p.m_bytSaveType = intColumn(8);
        p.m_strSaveToDirectory = s.GetColumnText(9, 1);
        p.m_bytDefaultBin = intColumn(10);
        p.m_bytDefaultFooterType = intColumn(11);
        p.m_strDefaultPrintMacro = s.GetColumnText(12, 1);
        p.m_lngFlag1 = s.GetColumnLong(13);
        p.m_lngFlag2 = s.GetColumnLong(14);
        p.m_strEnvelopeTemplate = s.GetColumnText(15, 1);
        p.m_strEnvelopeMacro = s.GetColumnText(16, 1);
        p.m_lngInUseGroup = s.GetColumnLong(17);
        p.m_lngInUseBatch = s.GetColumnLong(18);
        m_colPrinters.push_back(std::move(p));
    }
    s.CloseStatement();
    return true;
}

bool clsPrinters::readOriginals() {
    auto& s = session();
    s.SQLStatement = "SELECT printer_id, orig_default_bin, orig_default_footer_type, orig_default_print_macro, "
                     "orig_footer_format FROM System_printers_extended ORDER BY printer_id";
    if (s.ExecSQL() != 1)
        return false;
    // Both lists are in id order, so one pass merges them.
    auto it = m_colPrinters.begin();
    while (s.FetchRow() == 1) {
        const long id = s.GetColumnLong(1);
        while (it != m_colPrinters.end() && it->m_lngPrinterId < id)
            ++it;
        if (it == m_colPrinters.end() || it->m_lngPrinterId != id)
            continue;
        it->m_blnHasOriginals = true;
        it->m_bytOrigDefaultBin = intColumn(2);
        it->m_bytOrigFooterType = intColumn(3);
        it->m_strOrigPrintMacro = s.GetColumnText(4, 1);
        it->m_lngOrigFooterFormat = s.GetColumnLong(5);
    }
    s.CloseStatement();
    return true;
}

bool clsPrinters::readFormats() {
    auto& s = session();
    s.SQLStatement =
        "SELECT custom_format_id, format_description FROM System_printer_formats ORDER BY custom_format_id";
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1)
        m_colFormats.push_back({s.GetColumnLong(1), s.GetColumnText(2, 1)});
    s.CloseStatement();
    return true;
}

const clsPrinter* clsPrinters::Find(long printerId) const {
    for (const auto& p : m_colPrinters)
        if (p.m_lngPrinterId == printerId)
            return &p;
    return nullptr;
}

long clsPrinters::HighestId() const {
    long highest = 0;
    for (const auto& p : m_colPrinters)
        highest = std::max(highest, p.m_lngPrinterId);
    return highest;
}

bool clsPrinters::DescriptionTaken(const std::string& description, long excludeId) const {
    const std::string key = collationKey(description);
    return std::any_of(m_colPrinters.begin(), m_colPrinters.end(), [&](const clsPrinter& p) {
        return p.m_lngPrinterId != excludeId && collationKey(p.m_strDescription) == key;
    });
}

bool clsPrinters::SavePrinter(const clsPrinter& printer) {
    auto& s = session();
    // A new printer takes the id after the highest one in memory. When another console took that id
    // meanwhile the insert fails on the key, and the all-or-nothing batch then writes no originals
    // row either (it would have belonged to the other console's printer).
    s.SQLStatement = printer.m_lngPrinterId == 0 ? NewPrinterStatement(printer, HighestId(), OriginalsInUse())
                                                 : ChangedPrinterStatement(printer, OriginalsInUse());
    const bool saved = s.ExecSQLAllOrNothing() == 1;
    s.CloseStatement();
    if (!saved)
        MsgBox("An error was encountered trying to save the printer.  Printer not saved.", MsgButtons::OK,
               MsgIcon::Exclamation, "Error");
    LoadPrinters();
    return saved;
}

int clsPrinters::InUseNow(long printerId) const {
    auto& s = session();
    s.SQLStatement = InUseStatement(printerId);
    if (s.ExecSQL() != 1)
        return -1;
    int inUse = 0;
    if (s.FetchRow() == 1)
        inUse = (s.GetColumnLong(1) != 0 || s.GetColumnLong(2) != 0) ? 1 : 0;
    s.CloseStatement();
    return inUse;
}

std::vector<PrinterUse> clsPrinters::WhereUsed(long printerId) const {
    std::vector<PrinterUse> uses;
    auto& s = session();
    s.SQLStatement = WhereUsedStatement(printerId);
    if (s.ExecSQL() != 1)
        return uses;
    while (s.FetchRow() == 1)
        uses.push_back({s.GetColumnText(1, 1), s.GetColumnText(2, 1), s.GetColumnText(3, 1)});
    s.CloseStatement();
    return uses;
}

bool clsPrinters::DeletePrinter(long printerId) {
    const clsPrinter* printer = Find(printerId);
    if (!printer)
        return false;
    const std::string description = printer->m_strDescription;
    // What the list read may be old: another console may have given the printer to a batch since.
    const int inUse = InUseNow(printerId);
    if (inUse < 0)
        return false;
    if (inUse == 1) {
        std::string text = "This printer cannot be deleted since it is in use by at least one batch.";
        const auto uses = WhereUsed(printerId);
        if (!uses.empty()) {
            text += "\n";
            for (const auto& u : uses)
                text += "\n" + u.m_strAccount + ", " + u.m_strBatch + (u.m_strGroup.empty() ? "" : ", " + u.m_strGroup);
        }
        MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, "Error");
        LoadPrinters();
        return false;
    }
    if (MsgBox("Are you sure you want to delete system printer " + description + "?", MsgButtons::YesNo,
               MsgIcon::Question, "Delete Printer") != platform::MsgAnswer::Yes)
        return false;
    auto& s = session();
    s.SQLStatement = DeletePrinterStatement(printerId);
    const bool deleted = s.ExecSQLAllOrNothing() == 1;
    s.CloseStatement();
    LoadPrinters();
    return deleted;
}

bool clsPrinters::ReadPartitions(long partitionId) {
    m_colSeen.clear();
    m_blnPartitionsRead = true;
    if (!OriginalsInUse()) {
        for (const auto& p : m_colPrinters)
            m_colSeen[p.m_lngPrinterId] = {};
        return true;
    }
    auto& s = session();
    s.SQLStatement = PartitionPrintersStatement(partitionId);
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        const long id = s.GetColumnLong(1);
        const std::string partition = s.GetColumnText(2, 1);
        m_colSeen[id] = s.GetColumnText(3, 1);
        const auto printer = std::find_if(m_colPrinters.begin(), m_colPrinters.end(),
                                          [id](const clsPrinter& p) { return p.m_lngPrinterId == id; });
        if (printer != m_colPrinters.end() && !partition.empty())
            printer->m_lngPartitionId = std::stol(partition);
    }
    s.CloseStatement();
    return true;
}

bool clsPrinters::SeenByPartition(long printerId) const {
    return !m_blnPartitionsRead || m_colSeen.count(printerId) != 0;
}

std::string clsPrinters::PartitionName(long printerId) const {
    const auto it = m_colSeen.find(printerId);
    return it == m_colSeen.end() ? std::string() : it->second;
}

long clsPrinters::NextFormatId() const {
    long highest = static_cast<long>(FooterFormatNames().back().first);
    for (const auto& f : m_colFormats)
        highest = std::max(highest, f.m_lngFormatId);
    return highest + 1;
}

long clsPrinters::SaveFormat(long formatId, const std::string& text) {
    const long id = formatId == 0 ? NextFormatId() : formatId;
    if (!session().RunStatement(SaveFormatStatement(id, text)))
        return -1;
    LoadPrinters();
    return id;
}

} // namespace printers
