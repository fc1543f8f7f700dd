#include "PrivilegeCodec.h"
#include "LoginComponent.h"
#include "PrivilegePositions.h"
#include "PrivilegeTable.h"

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>

using namespace users;

TEST(PrivilegeCodec, DecodesCodeTwoAsGrantedAndEverythingElseAsNot) {
    struct Case {
        std::string set;
        int length;
        std::string expected; // one digit per position
    };
    const Case cases[] = {
        {"", 4, "0000"},
        {"\x02", 4, "1000"},
        {"\x01\x02\x01\x02", 4, "0101"},
        {"2Y\x02 ", 4, "0010"},                  // the digit 2 and other text grant nothing
        {"\x02\x02\x02\x02\x02\x02", 4, "1111"}, // a longer string is cut at the length
    };
    for (const auto& c : cases) {
        const PrivilegeFlags flags = DecodePrivileges(c.set, c.length);
        std::string digits;
        for (auto f : flags)
            digits += f ? '1' : '0';
        EXPECT_EQ(digits, c.expected) << c.expected;
    }
}

TEST(PrivilegeCodec, EncodesEveryLengthExactlyWithCodesOneAndTwo) {
    for (int length : {kSystemPrivilegeCount, kAccountPrivilegeCount, kReportTypePrivilegeCount}) {
        PrivilegeFlags flags(static_cast<size_t>(length), 0);
        flags.front() = 1;
        flags.back() = 1;
        const std::string set = EncodePrivileges(flags, length);
        ASSERT_EQ(set.size(), static_cast<size_t>(length));
        EXPECT_EQ(set.front(), '\x02');
        EXPECT_EQ(set.back(), '\x02');
        EXPECT_EQ(set.find_first_not_of('\x01', 1), static_cast<size_t>(length - 1));
        EXPECT_EQ(DecodePrivileges(set, length), flags);
    }
    EXPECT_EQ(EncodePrivileges({}, 3), "\x01\x01\x01");
}

// The login component tests what the codec writes: privilege n is the character at index n.
TEST(PrivilegeCodec, TheLoginComponentReadsThePositionTheCodecWrote) {
    for (int n = 0; n < kSystemPrivilegeCount; ++n) {
        PrivilegeFlags flags(kSystemPrivilegeCount, 0);
        flags[static_cast<size_t>(n)] = 1;
        const std::string set = EncodePrivileges(flags, kSystemPrivilegeCount);
        suite::LoginUser user;
        user.privilegeSet = set;
        EXPECT_TRUE(user.privilege(n)) << n;
        EXPECT_FALSE(user.privilege(n + 1)) << n;
        EXPECT_FALSE(user.privilege(n - 1)) << n;
    }
    EXPECT_FALSE(suite::privilegeGranted("", 0));
}

TEST(PrivilegeTable, SystemPositionsWithoutCheckboxAreExactlyTheForcedAndKeptOnes) {
    std::set<int> positions;
    std::set<std::string> controls;
    for (const auto& e : SystemPrivilegeTable()) {
        EXPECT_TRUE(positions.insert(e.position).second) << e.position;
        EXPECT_TRUE(controls.insert(e.control).second) << e.control;
        EXPECT_GE(e.position, 0);
        EXPECT_LT(e.position, kSystemPrivilegeCount);
        if (e.parent) {
            EXPECT_NE(FindPrivilegeEntry(SystemPrivilegeTable(), e.parent), nullptr) << e.control;
        }
    }
    std::set<int> missing;
    for (int p = 0; p < kSystemPrivilegeCount; ++p)
        if (!positions.count(p))
            missing.insert(p);
    EXPECT_EQ(missing, (std::set<int>{15, 60, 83, 88, 89, 98, 150}));
    for (int p : missing)
        EXPECT_EQ(IsKeptSystemPosition(p), p != kForcedOffSystemPosition) << p;
}

TEST(PrivilegeTable, NamedPositionsAndCaptions) {
    struct Case {
        const char* control;
        int position;
        const char* caption;
        PrivilegeTab tab;
    };
    const Case cases[] = {
        {"CHKSS", 0, "Veltra Sort", PrivilegeTab::General},
        {"CHKDBMgt", 3, "Database \\ Archive Mgmt", PrivilegeTab::General},
        {"CHKED", 14, "Transcription Desktop", PrivilegeTab::Transcription},
        {"chkConsAllowTransfers", 63, "Allow Job Transfers", PrivilegeTab::VeltraDictation},
        {"chkK2Transcription", 86, "Veltra Text Job Player", PrivilegeTab::VeltraDictation},
        {"chkDictAllowSelectJob", 97, "Allow \"Select Job\" from Job List", PrivilegeTab::VeltraDictation},
        {"chkVeltraExpert", 99, "Veltra Expert", PrivilegeTab::VeltraExpert},
        {"chkEDSendTo", 108, "Can Access Word \"Send To\"", PrivilegeTab::Transcription},
        {"chkCanAccessLockedReports", 148, "Access to Locked Reports", PrivilegeTab::General},
        {"CHKRSQaModule", 151, "Can Access DO Ravadidoz Connector", PrivilegeTab::General},
        {"chkConsViewVoxEmrText", 159, "Can View VoxEMR Text", PrivilegeTab::VeltraDictation},
    };
    for (const auto& c : cases) {
        const PrivilegeEntry* e = FindPrivilegeEntry(SystemPrivilegeTable(), c.control);
        ASSERT_NE(e, nullptr) << c.control;
        EXPECT_EQ(e->position, c.position) << c.control;
        EXPECT_STREQ(e->caption, c.caption) << c.control;
        EXPECT_EQ(e->tab, c.tab) << c.control;
    }
    EXPECT_EQ(AccountPrivilegeTable().size(), 13u);
    EXPECT_EQ(ReportTypePrivilegeTable().size(), 8u);
    EXPECT_TRUE(FindPrivilegeEntry(AccountPrivilegeTable(), "chkPDAddMembership")->groupOnly);
    EXPECT_EQ(FindPrivilegeEntry(ReportTypePrivilegeTable(), "CHKRSView")->position, 7);
}

TEST(PrivilegeTable, DependentsFollowTheChainOfParents) {
    auto names = [](const std::string& control) {
        std::set<std::string> out;
        for (const auto* e : DependentsOf(SystemPrivilegeTable(), control))
            out.insert(e->control);
        return out;
    };
    const auto rs = names("CHKRS");
    EXPECT_TRUE(rs.count("CHKRSFax"));
    EXPECT_TRUE(rs.count("chkRsFaxToPersonalNumbers")); // through CHKRSFax
    EXPECT_TRUE(rs.count("chkRsEmailToPersonalAddrs")); // through CHKRSEmail
    EXPECT_FALSE(rs.count("CHKRS"));
    EXPECT_EQ(names("CHKRSFax"), std::set<std::string>{"chkRsFaxToPersonalNumbers"});
    const auto in = names("CHKIncentive");
    EXPECT_TRUE(in.count("CHKINOperator"));
    EXPECT_TRUE(in.count("CHKINModifyHours"));
    EXPECT_TRUE(names("CHKSTAdmin").count("CHKSTChangeDir"));
    EXPECT_TRUE(names("chkSystemLog").empty());
}

// Every position of the three strings against the independent list: the checkbox that edits it,
// or none.
TEST(PrivilegeTable, EveryPositionHasTheCheckboxTheApplicationsExpect) {
    struct Level {
        std::span<const PrivilegeEntry> table;
        std::span<const char* const> expected;
    };
    const Level levels[] = {{SystemPrivilegeTable(), kdtest::kSystemControlAt},
                            {AccountPrivilegeTable(), kdtest::kAccountControlAt},
                            {ReportTypePrivilegeTable(), kdtest::kReportTypeControlAt}};
    for (const auto& level : levels) {
        for (size_t n = 0; n < level.expected.size(); ++n) {
            std::string found;
            for (const auto& e : level.table)
                if (e.position == static_cast<int>(n))
                    found += e.control;
            EXPECT_EQ(found, level.expected[n]) << "position " << n;
        }
    }
}
