// What the commands print: octets as UTF-8 or Latin-1, JSON escapes, aligned
// tables, and the LEDs' states from the device's stLED value.
#include "FleetOutput.h"
#include "FleetStatus.h"

#include <gtest/gtest.h>

TEST(FleetOutput, OctetsBecomeJsonStrings) {
    const struct {
        std::string octets;
        const char* json;
    } cases[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"line\nfeed\x01", "\"line\\u000afeed\\u0001\""},
        {"caf\xc3\xa9", "\"caf\xc3\xa9\""}, // valid UTF-8 stays
        {"caf\xe9", "\"caf\xc3\xa9\""},     // else Latin-1
        {std::string("\0", 1), "\"\\u0000\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fleet::jsonString(c.octets), c.json) << c.json;
}

TEST(FleetOutput, TablesAlignEveryColumn) {
    EXPECT_EQ(fleet::tableText({"A", "LONGER"}, {{"caf\xc3\xa9", "x"}, {"b\x1b[2J", "y"}}),
              "A      LONGER\n"
              "caf\xc3\xa9   x\n"
              "b?[2J  y\n");
}

TEST(FleetOutput, LedStatesFollowTheLitAndBlinkBits) {
    const struct {
        const char* value;
        std::array<std::string, 4> states; // power, LAN, 802.11g, 802.11a
    } cases[] = {
        {"85", {"on", "on", "on", "on"}},           {"0", {"off", "off", "off", "off"}},
        {"1", {"on", "off", "off", "off"}},         {"12", {"off", "blinking", "off", "off"}},
        {"192", {"off", "off", "off", "blinking"}}, {"16", {"off", "off", "on", "off"}},
        {"(NULL)", {"?", "?", "?", "?"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fleet::ledStates(c.value), c.states) << c.value;
}
