#include "OutputResend.h"

#include "DatabaseSession.h"
#include "Text.h"
#include "Utf8.h"

namespace outputlog {

namespace {

constexpr const char* kBreak = "\r\n";
constexpr size_t kFaxNumberLimit = 30;
constexpr size_t kQueueLimit = 100;
constexpr size_t kSentByLimit = 60;

std::string quote(const std::string& text, size_t limit) {
    return foundation::DatabaseSession::QuoteSQL(platform::utf8Left(text, limit));
}

std::string sentBy(const ResendUser& user) {
    return quote(std::to_string(user.m_lngUserId) + "^" + user.m_strUserName, kSentByLimit);
}

const std::string& ownDestination(const OutputRow& row, ResendKind kind) {
    return kind == ResendKind::Email ? row.m_strPrintQueue : row.m_strFaxNbr;
}

} // namespace

ResendKind KindOf(int type) {
    if (type >= 5 && type <= 10)
        return ResendKind::Fax;
    if (type == 14)
        return ResendKind::Email;
    if (type >= 200 && type <= 207)
        return ResendKind::External;
    if (type == 3 || type == 4)
        return ResendKind::Online;
    return ResendKind::None;
}

bool Resendable(ResendKind kind, int s) {
    switch (kind) {
    case ResendKind::Fax:
        return s == 31 || s == 34 || (s >= 36 && s <= 39) || s == 41;
    case ResendKind::Email:
        return s == 51 || s == 54;
    case ResendKind::External:
        return s == 82 || s == 83 || s == 85 || s == 88 || s == 89 || s == 186 || (s >= 189 && s <= 198);
    case ResendKind::Online:
        return s == 20 || s == 23;
    case ResendKind::None:
        break;
    }
    return false;
}

int ResentStatus(ResendKind kind) {
    switch (kind) {
    case ResendKind::Fax:
        return 40;
    case ResendKind::Email:
        return 53;
    case ResendKind::External:
        return 81;
    case ResendKind::Online:
        return 22;
    case ResendKind::None:
        break;
    }
    return 0;
}

std::string ResendRefusal(const std::vector<const OutputRow*>& rows) {
    if (rows.empty())
        return {};
    const ResendKind kind = KindOf(rows.front()->m_intOutputType);
    for (const OutputRow* r : rows)
        if (KindOf(r->m_intOutputType) != kind)
            return "A mix of output types (i.e. Online and Fax) have been selected.  Only one type of output can be "
                   "resent at a time.";
    for (const OutputRow* r : rows)
        if (!Resendable(kind, r->m_intKnownStatus))
            return "Some of the records selected cannot be resent.  Only Fax, Online, Email, and External (Upload) "
                   "outputs can be resent from Output Tracking.  These outputs must be in a failed or successful "
                   "state.   Outputs in a pending state cannot be resent.";
    if (rows.size() > 1 && (kind == ResendKind::Fax || kind == ResendKind::Email))
        for (const OutputRow* r : rows)
            if (foundation::trimText(ownDestination(*r, kind)).empty())
                return kind == ResendKind::Fax
                           ? "At least one fax output was found without a fax number.  Faxes without fax numbers "
                             "can only be sent one at a time."
                           : "At least one email output was found without an email address.  Emails without email "
                             "addresses can only be sent one at a time.";
    return {};
}

std::string InitialDestination(const std::vector<const OutputRow*>& rows, ResendKind kind) {
    if (rows.empty())
        return {};
    const std::string& first = ownDestination(*rows.front(), kind);
    for (const OutputRow* r : rows)
        if (ownDestination(*r, kind) != first)
            return kVarious;
    return first;
}

bool ValidDestination(const std::string& text) {
    return platform::utf8Length(foundation::trimText(text)) >= 3;
}

std::string RequeueStatement(const OutputRow& row, ResendKind kind, int newType, const std::string& destination,
                             const ResendUser& user) {
    const std::string target = destination.empty() ? ownDestination(row, kind) : destination;
    std::string sql = std::string("UPDATE Output_queue") + kBreak + "SET fax_filename = NULL," + kBreak;
    sql += "    known_status = " + std::to_string(ResentStatus(kind)) + "," + kBreak;
    sql += "    output_type = " + std::to_string(newType) + "," + kBreak;
    sql += "    sent_by_name = '" + sentBy(user) + "'," + kBreak;
    if (kind == ResendKind::Email) {
        sql += "    phys_print_queue = '" + quote(target, kQueueLimit) + "'," + kBreak;
        sql += "    print_queue = '" + quote(target, kQueueLimit) + "'," + kBreak;
    } else {
        sql += "    fax_nbr = '" + quote(target, kFaxNumberLimit) + "'," + kBreak;
    }
    sql += std::string("    record_timestamp = GETDATE(),") + kBreak;
    sql += std::string("    output_time = NULL, time_to_send = NULL, error_code = 0, flag3 = 21") + kBreak;
    sql += "WHERE output_identifier = " + std::to_string(row.m_lngOutputId);
    return sql;
}

std::string FaxResendStatements(const OutputRow& row, int newType, const std::string& number, const ResendUser& user,
                                const std::string& when, bool statusToProcedure) {
    const std::string id = std::to_string(row.m_lngOutputId);
    const std::string target = number.empty() ? row.m_strFaxNbr : number;
    const std::string description = quote("Fax resent to " + target + " at " + when, 100);
    std::string sql = std::string("DECLARE @trans_id varchar(8), @create_date char(22), @hosp_acct_id int, ") +
                      "@physician_id int, @document_id int" + kBreak;
    sql += std::string("SELECT @trans_id = trans_id, @create_date = convert(char(22), create_date, 120), ") +
           "@hosp_acct_id = hosp_acct_id, " + kBreak +
           "       @physician_id = physician_id, @document_id = document_id" + kBreak +
           "FROM Output_queue WHERE output_identifier = " + id + kBreak;
    sql += "INSERT System_log (date_timestamp, severity, type, schedule_id, hosp_acct_id, batch_nbr, physician_id, "
           "document_id, flag2, flag3, error_code, flag4, flag5, flag6, flag1, user_id, string1, string2, date1, "
           "string3, msg1, msg2, msg3, msg4, msg5) VALUES(GETDATE(), 7, 20, " +
           id + ", @hosp_acct_id, -1, @physician_id, " + "@document_id, 0, 0, 21, 0, 0, 0, 0, " +
           std::to_string(user.m_lngUserId) + ", '" + quote(user.m_strUserName, 100) + "', " + "NULL, NULL, NULL, '" +
           description + "', NULL, NULL, NULL, NULL)" + kBreak;
    sql += RequeueStatement(row, ResendKind::Fax, newType, number, user) + kBreak;
    sql += "EXEC send_attachment_faxes " + id +
           ", @trans_id, @create_date, @document_id, @hosp_acct_id, "
           "@physician_id, '" +
           quote(target, kFaxNumberLimit) + "', '" + description + "'" + (statusToProcedure ? ", 21" : "");
    return sql;
}

std::string UploadAuditStatement(const OutputRow& row, const ResendUser& user) {
    return "EXEC upload_requested_audit " + std::to_string(row.m_lngOutputId) + ", " +
           std::to_string(user.m_lngUserId) + ", 21, '" + quote(user.m_strUserName, kSentByLimit) + "'";
}

} // namespace outputlog
