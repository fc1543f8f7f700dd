#include "Text.h"

#include <gtest/gtest.h>

namespace {

// Each region's long time format as the region component hands it over (Qt's pattern turned into
// strftime's), and the minutes form stamps are shown in.
TEST(MinutesFormat, DropsTheSecondsOfEachRegionsTimeFormat) {
    struct Case {
        const char* region;
        const char* timeFormat;
        const char* minutes;
    };
    const Case cases[] = {
        {"console default", "%H:%M:%S", "%H:%M"},
        {"en_US, 12-hour (h:mm:ss AP t)", "%I:%M:%S %p %Z", "%I:%M %p %Z"},
        {"de_DE, 24-hour (HH:mm:ss t)", "%H:%M:%S %Z", "%H:%M %Z"},
        {"zh_CN, zone first (t HH:mm:ss)", "%Z %H:%M:%S", "%Z %H:%M"},
        {"fi_FI, dots (H.mm.ss t)", "%H.%M.%S %Z", "%H.%M %Z"},
        {"da_DK, dots (HH.mm.ss t)", "%H.%M.%S %Z", "%H.%M %Z"},
        {"ja_JP, unit signs (H時mm分ss秒 t)", "%H時%M分%S秒 %Z", "%H時%M分 %Z"},
        {"ko_KR, blank and unit signs (AP h시 m분 s초 t)", "%p %I시 %M분 %S초 %Z", "%p %I시 %M분 %Z"},
        {"fr_CA, units after blanks (HH 'h' mm 'min' ss 's' t)", "%H h %M min %S s %Z", "%H h %M min %Z"},
        {"a literal percent before S is no seconds", "%H:%M %%S", "%H:%M %%S"},
        {"en_US short, no seconds (h:mm AP)", "%I:%M %p", "%I:%M %p"},
        {"none", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(foundation::minutesFormat(c.timeFormat), c.minutes) << c.region;
}

} // namespace
