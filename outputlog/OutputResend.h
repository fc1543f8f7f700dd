#pragma once

#include "OutputRow.h"

#include <string>
#include <vector>

namespace outputlog {

// The kinds of output that can be sent again.
enum class ResendKind { None, Fax, Email, External, Online };

ResendKind KindOf(int outputType);
// Whether an output of the kind may be sent again from its state (a final one).
bool Resendable(ResendKind kind, int knownStatus);
int ResentStatus(ResendKind kind);

struct ResendUser {
    long m_lngUserId = 0;
    std::string m_strUserName;
};

inline constexpr const char* kVarious = "<Various>";

// The refusals before any dialog, in order: a mix of kinds, a row that cannot be resent, several
// faxes or e-mails of which one has no destination. "" when the rows may be resent.
std::string ResendRefusal(const std::vector<const OutputRow*>& rows);
// The destination the fax or e-mail dialog starts with: the rows' common one, or "<Various>".
std::string InitialDestination(const std::vector<const OutputRow*>& rows, ResendKind kind);
// At least 3 characters once trimmed.
bool ValidDestination(const std::string& text);

// The requeue of one row. destination: the number or address to send to ("" keeps the row's own).
std::string RequeueStatement(const OutputRow& row, ResendKind kind, int newType, const std::string& destination,
                             const ResendUser& user);
// The statements of a fax resend inside its transaction: the row's values, the system log row, the
// requeue and the attachments. The version decides whether the status goes to the procedure.
std::string FaxResendStatements(const OutputRow& row, int newType, const std::string& number, const ResendUser& user,
                                const std::string& when, bool statusToProcedure);
std::string UploadAuditStatement(const OutputRow& row, const ResendUser& user);

} // namespace outputlog
