#pragma once

#include "OutputQuery.h"
#include "OutputResend.h"
#include "OutputRow.h"

#include <functional>
#include <string>
#include <vector>

namespace outputlog {

struct ResendRequest {
    ResendKind m_enuKind = ResendKind::None;
    std::string m_strDestination; // fax number or e-mail address entered; "" or "<Various>": each row's own
    bool m_blnPriority = false;
    ResendUser m_udtUser;
    std::string m_strWhen; // the time the system log row names
};

// The outputs of the last query, and the resend of some of them.
class clsOutputLog {
public:
    // Runs the query; on failure shows "Error encountered retrieving the outputs." and keeps no rows.
    bool Load(const OutputQueryOptions& options);
    [[nodiscard]] const std::vector<OutputRow>& Rows() const { return m_colRows; }
    [[nodiscard]] std::vector<OutputRow>& Rows() { return m_colRows; }

    // Requeues the rows one by one in list order; cancelled() is asked before each row. A failed
    // statement shows "Error encountered updating the Output Queue." and stops. Returns the number
    // of rows resent; each of them is marked resubmitted.
    int Resend(const std::vector<size_t>& rows, const ResendRequest& request,
               const std::function<bool()>& cancelled = {});

private:
    bool resendOne(OutputRow& row, const ResendRequest& request);

    std::vector<OutputRow> m_colRows;
};

} // namespace outputlog
