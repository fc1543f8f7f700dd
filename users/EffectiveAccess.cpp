#include "EffectiveAccess.h"

#include "LoginComponent.h"

namespace users {

namespace {

std::string captionOf(std::span<const PrivilegeEntry> table, int position) {
    for (const auto& e : table)
        if (e.position == position && e.caption[0] != '\0')
            return e.caption;
    for (const auto& e : table)
        if (e.position == position)
            return e.control;
    return "Privilege " + std::to_string(position);
}

// Adds the granted positions of one level: own flags first, then each group's, combined by the
// login component's rule.
void addLevel(std::vector<EffectiveGrant>& out, const std::string& ownSource, const char* level,
              const std::string& scope, std::span<const PrivilegeEntry> table, int length, const PrivilegeFlags& own,
              const std::vector<std::pair<std::string, const PrivilegeFlags*>>& groups) {
    std::vector<std::string> sets{EncodePrivileges(own, length)};
    for (const auto& g : groups)
        sets.push_back(EncodePrivileges(*g.second, length));
    const std::string effective = suite::combinePrivileges(sets, static_cast<size_t>(length));
    for (int n = 0; n < length; ++n) {
        if (!suite::privilegeGranted(effective, n))
            continue;
        EffectiveGrant g;
        g.level = level;
        g.scope = scope;
        g.position = n;
        g.caption = captionOf(table, n);
        if (suite::privilegeGranted(sets[0], n))
            g.sources = ownSource;
        for (size_t i = 0; i < groups.size(); ++i)
            if (suite::privilegeGranted(sets[i + 1], n))
                g.sources += (g.sources.empty() ? "" : ", ") + std::string("Group ") + groups[i].first;
        out.push_back(std::move(g));
    }
}

} // namespace

std::vector<EffectiveGrant> EffectiveAccess(const clsPrivileges& p) {
    std::vector<EffectiveGrant> out;
    // A group's own rights are what it grants each of its members.
    const std::string own = p.IsGroup() ? "Group " + p.Name() : std::string("Own");
    std::vector<std::pair<std::string, const PrivilegeFlags*>> groups;
    for (const auto& g : p.Groups())
        groups.emplace_back(g.name, &g.levels.system);
    PrivilegeFlags system = p.System();
    system[kForcedOffSystemPosition] = 0; // never stored as granted
    addLevel(out, own, "System", "", SystemPrivilegeTable(), kSystemPrivilegeCount, system, groups);
    for (int index : p.VisibleAccounts()) {
        const std::string account = p.AccountCaption(index);
        groups.clear();
        for (const auto& g : p.Groups())
            groups.emplace_back(g.name, &g.levels.accounts[static_cast<size_t>(index - 1)]);
        addLevel(out, own, "Account", account, AccountPrivilegeTable(), kAccountPrivilegeCount, p.Account(index),
                 groups);
        const auto& slots = p.ReportTypes(index);
        for (int slot : p.OfferedReportTypes(index)) {
            groups.clear();
            for (const auto& g : p.Groups())
                groups.emplace_back(g.name,
                                    &g.levels.reportTypes[static_cast<size_t>(index - 1)][static_cast<size_t>(slot)]);
            addLevel(out, own, "Report Type", account + " / " + slots[static_cast<size_t>(slot)].name,
                     ReportTypePrivilegeTable(), kReportTypePrivilegeCount, p.ReportType(index, slot), groups);
        }
    }
    return out;
}

} // namespace users
