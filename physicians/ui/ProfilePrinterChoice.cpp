#include "ProfilePrinterChoice.h"

#include "LoginComponent.h"
#include "Text.h"
#include "clsPartition.h"
#include "clsPrinterPrivileges.h"
#include "clsPrinters.h"
#include "modPartition.h"

namespace physicians {

namespace {

// Queues are compared as the server compares text: without regard to case or trailing blanks.
bool sameQueue(const std::string& a, const std::string& b) {
    return foundation::upperText(foundation::trimText(a)) == foundation::upperText(foundation::trimText(b));
}

} // namespace

bool ProfilePrinterChoice::Load(const suite::LoginComponent& login) {
    m_colUsable.clear();
    users::clsPrinterPrivileges rights;
    if (!rights.Load(login.user.user_id, login.user.user_name, false, login.user.Partition_ID, login.groupIds(),
                     PartitionCache().size() > 1))
        return false;
    for (const auto& r : rights.Printers()) {
        if (r.m_lngPrinterId == 0 ||
            !(r.m_blnCopyAccess || r.m_blnOriginalAccess || r.m_blnGroupCopyAccess || r.m_blnGroupOriginalAccess))
            continue;
        const printers::clsPrinter* p = printers::SystemPrinters().Find(r.m_lngPrinterId);
        // A printer that prints to files has no queue to name as a destination.
        if (p && !foundation::trimText(p->m_strPrintQueue).empty())
            m_colUsable.push_back({r.m_lngPrinterId, r.m_strName, p->m_strPrintQueue});
    }
    return true;
}

int ProfilePrinterChoice::IndexOf(const std::string& queue) const {
    for (size_t i = 0; i < m_colUsable.size(); ++i)
        if (sameQueue(m_colUsable[i].queue, queue))
            return static_cast<int>(i);
    return -1;
}

std::string ProfilePrinterChoice::ResetMessage(const std::string& queue) const {
    if (foundation::trimText(queue).empty() || IndexOf(queue) >= 0)
        return {};
    for (const auto& p : printers::SystemPrinters().Printers())
        if (sameQueue(p.m_strPrintQueue, queue))
            return "Online Printing Printer Destination of " + p.m_strDescription +
                   " is invalid.  This setting will "
                   "be reset.";
    return kNotFound;
}

} // namespace physicians
