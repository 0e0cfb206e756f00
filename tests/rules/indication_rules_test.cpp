// The indication window's reading of a temperature, without widgets: degrees
// Fahrenheit cut toward zero, the bar on its printed -40 to 120 scale, and no
// number made up for a reading that is none.
#include "OvTemperatureRules.h"

#include <gtest/gtest.h>

namespace {

using namespace ovrules;

TEST(IndicationRules, ShowsATemperatureThreeWays) {
    const struct {
        const char* reading;
        std::int32_t celsius;
        std::int64_t fahrenheit;
        int bar;
    } cases[] = {
        {"37", 37, 98, 77},                            // 98.6 cut to 98
        {"-5", -5, 23, 35},                            // -9 exactly
        {"-1", -1, 31, 39},                            // 30.2 cut toward zero, not down
        {"-7", -7, 20, 33},                            // 19.4 cut toward zero
        {"0", 0, 32, 40},                              // the bar's 0 stands for -40
        {"-40", -40, -40, 0},                          // the bar's left end
        {"120", 120, 248, 160},                        // its right end
        {"-60", -60, -76, 0},                          // below the scale: an empty bar
        {"150", 150, 302, 160},                        // above it: a full one
        {"+21", 21, 69, 61},                           // a plus sign is a number too
        {"2147483647", 2147483647, 3865470596LL, 160}, // no overflow
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reading);
        const auto view = temperatureView(c.reading);
        ASSERT_TRUE(view.has_value());
        EXPECT_EQ(view->celsius, c.celsius);
        EXPECT_EQ(view->fahrenheit, c.fahrenheit);
        EXPECT_EQ(view->bar, c.bar);
    }
}

TEST(IndicationRules, MakesNoNumberOfAReadingThatIsNone) {
    for (const char* reading : {"(NULL)", "", "warm", "37.5", "37 ", " 37", "0x25", "9999999999"}) {
        SCOPED_TRACE(reading);
        EXPECT_FALSE(temperatureView(reading).has_value());
    }
}

} // namespace
