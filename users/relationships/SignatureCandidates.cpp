#include "SignatureCandidates.h"

#include "clsSecurityGroups.h"
#include "clsUsers.h"

#include <algorithm>

namespace users {

std::vector<SignatureCandidate> SignatureCandidates(const clsUsers& users, const clsSecurityGroups& groups,
                                                    long dictatorPhysicianId, const std::vector<long>& takenPhysicians,
                                                    const std::vector<long>& takenGroups) {
    auto taken = [](const std::vector<long>& list, long id) {
        return std::find(list.begin(), list.end(), id) != list.end();
    };
    std::vector<SignatureCandidate> out;
    for (const clsUser& u : users) {
        const long p = u.m_lngPhysicianId;
        if (p <= 0 || p == dictatorPhysicianId || u.Read_Only() || taken(takenPhysicians, p))
            continue;
        out.push_back({p, u.m_lngUserId, -1, u.m_strUserName});
    }
    for (const clsSecurityGroup& g : groups) {
        if (g.m_lngGroupType != kPhysicianGroupType || g.Read_Only() || taken(takenGroups, g.m_lngGroupId))
            continue;
        out.push_back({0, 0, g.m_lngGroupId, g.m_strGroupName});
    }
    return out;
}

} // namespace users
