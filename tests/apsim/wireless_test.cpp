// apsim's radios as net-snmp's command-line tools see them: a site survey that a
// band's adRefresh runs, keys and pass phrases that --mask-keys hides while the
// device keeps them, and the radios' refusals, each SET applied whole or not at all.
#include "ApsimFixture.h"
#include "SnmpTools.h"

#include <gtest/gtest.h>

#include <string>

using ovtest::Apsim;
using ovtest::join;
using ovtest::runAgainst;
using ovtest::toolLine;
using ovtest::ToolRun;
using ovtest::walkedRows;

namespace {

TEST(ApsimWireless, ABandsRefreshRunsItsSiteSurvey) {
    const Apsim device({"--rows", "sitesurvey-a=2", "--rows", "sitesurvey-g=0"});
    ASSERT_TRUE(device.isRunning()) << device.error();
    EXPECT_EQ(walkedRows(device, "E.2.8.2.1.7.1"), 2);
    EXPECT_EQ(walkedRows(device, "E.2.8.2.1.7.2"), 0);

    const ToolRun scan = runAgainst(device, "snmpset", "v2c-rw", {"E.2.8.1.1.2", "i", "1"});
    EXPECT_TRUE(scan.contains(toolLine("E.2.8.1.1.2", "INTEGER: 1"))) << scan.output;
    EXPECT_EQ(walkedRows(device, "E.2.8.2.1.7.2"), 1) << "the scan found a neighbour";
    const ToolRun found =
        runAgainst(device, "snmpget", "v2c", {"E.2.8.2.1.7.2.1", "E.2.8.2.1.5.2.1"});
    EXPECT_TRUE(found.contains("STRING: \"Neighbour-g-1\"")) << found.output;
    EXPECT_TRUE(found.contains("Hex-STRING: 00 0C 41 52 00 01")) << found.output;
    EXPECT_EQ(walkedRows(device, "E.2.8.2.1.7.1"), 2) << "802.11a was not scanned";

    runAgainst(device, "snmpset", "v2c-rw", {"E.2.8.1.1.1", "i", "1"});
    EXPECT_EQ(walkedRows(device, "E.2.8.2.1.7.1"), 3);
    const ToolRun refused = runAgainst(device, "snmpset", "v2c-rw", {"E.2.8.1.1.1", "i", "2"});
    EXPECT_TRUE(refused.contains("Reason: wrongValue")) << refused.output;
    EXPECT_EQ(walkedRows(device, "E.2.8.2.1.7.1"), 3);
}

// A manager that takes adRefresh for a scalar asks for it with ".0": the same
// variable as the banded form, which reads what either was set to.
TEST(ApsimWireless, TheScalarFormsOfTheSurveyTriggersAreTheSameVariables) {
    const Apsim device({"--rows", "sitesurvey-a=2", "--rows", "sitesurvey-g=0"});
    ASSERT_TRUE(device.isRunning()) << device.error();
    const ToolRun walked = runAgainst(device, "snmpwalk", "v2c", {"E.2.8.1.1"});
    EXPECT_EQ(ovtest::linesBelow(walked, "E.2.8.1.1"), 4) << walked.output;
    struct Case {
        const char* set;    // the form written
        const char* other;  // the other form of the same band
        const char* column; // a column of the band's survey table
        int rows;           // after the scan
    };
    const Case cases[] = {
        {"E.2.8.1.1.1.0", "E.2.8.1.1.1", "E.2.8.2.1.7.1", 3},
        {"E.2.8.1.1.2.0", "E.2.8.1.1.2", "E.2.8.2.1.7.2", 1},
        {"E.2.8.1.1.2", "E.2.8.1.1.2.0", "E.2.8.2.1.7.2", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        const ToolRun scan = runAgainst(device, "snmpset", "v2c-rw", {c.set, "i", "1"});
        EXPECT_TRUE(scan.contains(toolLine(c.set, "INTEGER: 1"))) << scan.output;
        const ToolRun read = runAgainst(device, "snmpget", "v2c", {c.set, c.other});
        EXPECT_TRUE(read.contains(toolLine(c.other, "INTEGER: 1"))) << read.output;
        EXPECT_EQ(walkedRows(device, c.column), c.rows);
        runAgainst(device, "snmpset", "v2c-rw", {c.other, "i", "0"});
        EXPECT_EQ(device.stateValue(c.set)->text, "0");
    }
}

TEST(ApsimWireless, MaskedKeysReadBackAsStarsWhileTheDeviceKeepsThem) {
    const std::string key = "E.2.5.3.1.1.1.2", phrase = "E.2.5.1.1.4.2", guest = "E.2.9.2.1.7.1.1";
    for (const bool masked : {false, true}) {
        SCOPED_TRACE(masked ? "--mask-keys" : "plain");
        const Apsim device(masked ? std::vector<std::string>{"--mask-keys"}
                                  : std::vector<std::string>{});
        ASSERT_TRUE(device.isRunning()) << device.error();
        const ToolRun written = runAgainst(
            device, "snmpset", "v2c-rw",
            {key, "s", "0123456789", phrase, "s", "pass phrase", guest, "s", "abcdefABCD"});
        ASSERT_FALSE(written.contains("Reason:")) << written.output;
        const ToolRun read =
            runAgainst(device, "snmpget", "v2c", {key, phrase, guest, "E.2.5.2.4.0"});
        const std::string keyText = masked ? "**********" : "0123456789";
        const std::string phraseText = masked ? "***********" : "pass phrase";
        EXPECT_TRUE(read.contains(toolLine(key, "STRING: \"" + keyText + "\""))) << read.output;
        EXPECT_TRUE(read.contains(toolLine(phrase, "STRING: \"" + phraseText + "\"")))
            << read.output;
        EXPECT_TRUE(read.contains(
            toolLine(guest, "STRING: \"" + (masked ? std::string(10, '*') : "abcdefABCD") + "\"")))
            << read.output;
        EXPECT_TRUE(read.contains(toolLine("E.2.5.2.4.0", "INTEGER: 1812"))) << "not a secret";
        const ToolRun walked = runAgainst(device, "snmpwalk", "v2c", {"E.2.5.3.1.1.1"});
        EXPECT_TRUE(walked.contains(toolLine(key, "STRING: \"" + keyText + "\""))) << walked.output;
        EXPECT_EQ(device.stateValue(key)->text, "0123456789");
        EXPECT_EQ(device.stateValue(phrase)->text, "pass phrase");
    }
}

TEST(ApsimWireless, RefusesWhatTheRadiosRefuseWithTheWholeSet) {
    const struct {
        const char* what;
        std::vector<std::string> bad;
        const char* reason;
    } cases[] = {
        {"an SSID of 33 octets", {"E.1.1.1.1.2", "s", std::string(33, 'x')}, "wrongLength"},
        {"a WEP key of 12 digits", {"E.2.5.3.1.1.2.1", "s", "0123456789AB"}, "wrongLength"},
        {"a WEP key that is not hex",
         {"E.2.5.3.1.1.2.1", "s", "0123456789AZ0123456789ABCD"},
         "wrongValue"},
        {"a channel outside the 802.11a list", {"E.1.1.1.3.1", "i", "52"}, "wrongValue"},
    };
    const Apsim device;
    ASSERT_TRUE(device.isRunning()) << device.error();
    const auto before = device.state();
    for (const auto& c : cases) {
        // A good SSID first: it is not written either.
        const ToolRun run =
            runAgainst(device, "snmpset", "v2c-rw", join({"E.1.1.1.1.1", "s", "Lobby"}, c.bad));
        EXPECT_TRUE(run.contains("Reason: " + std::string(c.reason))) << c.what << ":\n"
                                                                      << run.output;
    }
    EXPECT_EQ(device.state(), before) << "a refused SET changed the device";
    const ToolRun good = runAgainst(device, "snmpset", "v2c-rw",
                                    {"E.1.1.1.1.1", "s", "Lobby", "E.1.1.1.3.1", "i", "48"});
    EXPECT_FALSE(good.contains("Reason:")) << good.output;
    EXPECT_EQ(device.stateValue("E.1.1.1.1.1")->text, "Lobby");
    EXPECT_EQ(device.stateValue("E.1.1.1.3.1")->text, "48");
}

} // namespace
