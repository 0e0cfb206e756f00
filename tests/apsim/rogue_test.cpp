// apsim's rogue AP scan as net-snmp's command-line tools see it: the SET that
// starts it is answered when the scan has ended, and everything else is
// answered meanwhile.
#include "ApsimFixture.h"
#include "SnmpTools.h"

#include <gtest/gtest.h>

#include <future>

using ovtest::Apsim;
using ovtest::ToolRun;

namespace {

// A scan outlasts the tools' usual time-out.
ToolRun tool(const Apsim& device, const std::string& program, const std::string& client,
             std::vector<std::string> rest) {
    return ovtest::runAgainst(device, program, client, std::move(rest), "20");
}

TEST(ApsimRogue, AScanIsAnsweredWhenItHasEndedAndTheDeviceAnswersMeanwhile) {
    const Apsim device({"--scan-seconds", "2", "--rows", "rogue=0"});
    ASSERT_TRUE(device.isRunning()) << device.error();
    tool(device, "snmpset", "v2c-rw",
         {"E.2.10.1.0", "i", "2", "E.2.10.2.0", "i", "13", "E.2.10.3.0", "i", "3"});
    auto scan = std::async(std::launch::async, [&] {
        return tool(device, "snmpset", "v2c-rw", {"E.2.10.4.1.1.0", "i", "1"});
    });
    ASSERT_TRUE(Apsim::waitUntil([&] { return device.requests().size() == 2; }));
    const ToolRun led = tool(device, "snmpget", "v2c", {"E.4.4.0"});
    EXPECT_TRUE(led.contains("INTEGER: 85")) << led.output;
    const ToolRun second = tool(device, "snmpset", "v2c-rw", {"E.2.10.4.1.1.0", "i", "1"});
    EXPECT_TRUE(second.contains("genErr")) << "one scan at a time: " << second.output;
    EXPECT_EQ(scan.wait_for(std::chrono::seconds(0)), std::future_status::timeout)
        << "answered before the scan ended";
    const ToolRun answer = scan.get();
    EXPECT_TRUE(answer.contains("INTEGER: 1")) << answer.output;
    const ToolRun result = tool(device, "snmpwalk", "v2c", {"E.2.10.4.1.4.1.8"});
    EXPECT_TRUE(result.contains("\"Rogue-4\"")) << result.output;
    EXPECT_TRUE(result.contains("\"Rogue-9\"")) << result.output;
    EXPECT_TRUE(result.contains("\"Rogue-14\"")) << result.output;
    EXPECT_FALSE(result.contains("\"Rogue-1\"")) << "an access point: " << result.output;
}

TEST(ApsimRogue, RefusesACommandForARowTheListLacksWithBadValue) {
    const Apsim device({"--rows", "rogue=2", "--rows", "knownap=1"});
    ASSERT_TRUE(device.isRunning()) << device.error();
    for (const char* client : {"v2c-rw", "v1-rw"}) {
        SCOPED_TRACE(client);
        const ToolRun refused = tool(device, "snmpset", client, {"E.2.10.4.1.2.0", "i", "3"});
        EXPECT_TRUE(refused.contains("badValue")) << refused.output;
    }
    const ToolRun moved = tool(device, "snmpset", "v2c-rw", {"E.2.10.4.1.2.0", "i", "2"});
    EXPECT_TRUE(moved.contains("INTEGER: 2")) << moved.output;
    const ToolRun known = tool(device, "snmpget", "v2c", {"E.2.10.4.2.2.1.8.2"});
    EXPECT_TRUE(known.contains("\"Rogue-2\"")) << known.output;
}

} // namespace
