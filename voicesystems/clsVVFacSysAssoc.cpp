#include "clsVVFacSysAssoc.h"

#include "Numbers.h"

#include <algorithm>

namespace voicesystems {

std::vector<long> ParseIdList(const std::string& ids) {
    std::vector<long> out;
    size_t pos = 0;
    while (pos <= ids.size()) {
        size_t comma = ids.find(',', pos);
        if (comma == std::string::npos)
            comma = ids.size();
        const std::string item = ids.substr(pos, comma - pos);
        pos = comma + 1;
        const bool negative = !item.empty() && item[0] == '-';
        if (auto n = platform::parseDigits(negative ? item.substr(1) : item))
            out.push_back(static_cast<long>(negative ? -*n : *n));
    }
    return out;
}

void clsVVFacSysAssoc::LoadAcctIds(const std::string& ids) {
    m_acctIds.clear();
    for (long id : ParseIdList(ids))
        AddAcctId(id);
}

void clsVVFacSysAssoc::AddAcctId(long id) {
    if (std::find(m_acctIds.begin(), m_acctIds.end(), id) == m_acctIds.end())
        m_acctIds.push_back(id);
}

int clsVVFacSysAssoc::RemoveAcctIds(const std::string& ids) {
    for (long id : ParseIdList(ids))
        std::erase(m_acctIds, id);
    return AcctIdsCount();
}

std::string clsVVFacSysAssoc::KeyOf(int systemId, long facility) {
    return "S" + std::to_string(systemId) + "F" + std::to_string(facility);
}

} // namespace voicesystems
