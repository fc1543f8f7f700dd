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
        {"en_US short, no seconds (h:mm AP)", "%I:%M %p", "%I:%M %p"},
        {"none", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(foundation::minutesFormat(c.timeFormat), c.minutes) << c.region;
}

} // namespace
