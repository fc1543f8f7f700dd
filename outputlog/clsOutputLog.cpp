#include "clsOutputLog.h"

#include "DatabaseSession.h"
#include "MessageService.h"

#include <algorithm>

namespace outputlog {

using foundation::DatabaseSession;

namespace {

DatabaseSession& session() {
    return DatabaseSession::instance();
}

int intColumn(int column) {
    return static_cast<int>(session().GetColumnLong(column));
}

// Reads the current row into r, a row already in place in the list.
void readRow(OutputRow& r) {
    auto& s = session();
    r.m_lngOutputId = s.GetColumnLong(1);
    r.m_lngDocumentId = s.GetColumnLong(2);
    r.m_lngAccountId = s.GetColumnLong(3);
    r.m_intOutputType = intColumn(4);
    r.m_intFlag1 = intColumn(5);
    r.m_strOutputTime = s.GetColumnText(6, 1);
    r.m_intKnownStatus = intColumn(7);
    r.m_intErrorCode = intColumn(8);
    r.m_strFirstName = s.GetColumnText(9, 1);
    r.m_strLastName = s.GetColumnText(10, 1);
    r.m_lngBatchIdentifier = s.GetColumnLong(11);
    r.m_intBatchType = intColumn(12);
    r.m_lngBatchNbr = s.GetColumnLong(13);
    r.m_lngGroupNbr = s.GetColumnLong(14);
    r.m_strPrintQueue = s.GetColumnText(15, 1);
    r.m_strPhysPrintQueue = s.GetColumnText(16, 1);
    r.m_strTimeToSend = s.GetColumnText(17, 1);
    r.m_strFaxNbr = s.GetColumnText(18, 1);
    r.m_strFaxFilename = s.GetColumnText(19, 1);
    r.m_strSentByName = s.GetColumnText(20, 1);
    r.m_strRecordTimestamp = s.GetColumnText(21, 1);
    r.m_strCreateTimestamp = s.GetColumnText(22, 1);
    r.m_intCopyFlag = intColumn(23);
    r.m_intFlag3 = intColumn(24);
    r.m_strDictated = s.GetColumnText(25, 1);
    r.m_strAccountName = s.GetColumnText(26, 1);
    r.m_strBatchName = s.GetColumnText(27, 1);
    r.m_strGroupName = s.GetColumnText(28, 1);
}

} // namespace

bool clsOutputLog::Load(const OutputQueryOptions& options) {
    m_colRows.clear();
    // Room for every row the limit allows, taken once: growing the list row by row moves every row
    // read so far at each growth, and the pages of the list are touched only as rows fill them.
    m_colRows.reserve(static_cast<size_t>(std::clamp(options.m_intLimit, 0, kAllRecords)));
    auto& s = session();
    s.SQLStatement = BuildOutputQuery(options);
    bool ok = s.ExecSQL() == 1;
    if (ok) {
        while (s.FetchRow() == 1)
            readRow(m_colRows.emplace_back());
        s.CloseStatement();
    }
    // The limit stays with the connection until it is set back, so it is set back whatever happened.
    s.RunStatement("SET ROWCOUNT 0");
    if (!ok) {
        m_colRows.clear();
        platform::MsgBox("Error encountered retrieving the outputs.", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, "Error");
    }
    return ok;
}

bool clsOutputLog::resendOne(OutputRow& row, const ResendRequest& request) {
    auto& s = session();
    const std::string destination = request.m_strDestination == kVarious ? std::string() : request.m_strDestination;
    switch (request.m_enuKind) {
    case ResendKind::Fax: {
        const int type = request.m_blnPriority ? 9 : 8;
        s.SQLStatement =
            FaxResendStatements(row, type, destination, request.m_udtUser, request.m_strWhen, s.VersionAtLeast(5.08));
        if (s.ExecSQLAllOrNothing() != 1)
            return false;
        s.CloseStatement();
        row.m_intOutputType = type;
        if (!destination.empty())
            row.m_strFaxNbr = destination;
        break;
    }
    case ResendKind::Email:
        if (!s.RunStatement(RequeueStatement(row, ResendKind::Email, 14, destination, request.m_udtUser)))
            return false;
        if (!destination.empty())
            row.m_strPrintQueue = row.m_strPhysPrintQueue = destination;
        break;
    case ResendKind::External: {
        std::string sql = RequeueStatement(row, ResendKind::External, row.m_intOutputType, "", request.m_udtUser);
        if (s.VersionAtLeast(5.25))
            sql += "\r\n" + UploadAuditStatement(row, request.m_udtUser);
        if (!s.RunStatement(sql))
            return false;
        break;
    }
    case ResendKind::Online:
        if (!s.RunStatement(RequeueStatement(row, ResendKind::Online, row.m_intOutputType, "", request.m_udtUser)))
            return false;
        break;
    case ResendKind::None:
        return false;
    }
    row.m_intKnownStatus = ResentStatus(request.m_enuKind);
    row.m_blnResubmitted = true;
    return true;
}

int clsOutputLog::Resend(const std::vector<size_t>& rows, const ResendRequest& request,
                         const std::function<bool()>& cancelled) {
    int sent = 0;
    for (size_t index : rows) {
        if (cancelled && cancelled())
            break;
        if (index >= m_colRows.size())
            continue;
        if (!resendOne(m_colRows[index], request)) {
            platform::MsgBox("Error encountered updating the Output Queue.", platform::MsgButtons::OK,
                             platform::MsgIcon::Exclamation, "Update Error");
            break;
        }
        ++sent;
    }
    return sent;
}

} // namespace outputlog
