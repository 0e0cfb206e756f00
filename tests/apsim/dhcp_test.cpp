// apsim's LAN and DHCP server as net-snmp's command-line tools see them: one
// consistent LAN from --lan, lease tables that fill only when the manager asks,
// and the refusals of a real device, each SET applied whole or not at all.
#include "ApsimFixture.h"
#include "SnmpTools.h"

#include <gtest/gtest.h>

#include <string>

using ovtest::Apsim;
using ovtest::expandOid;
using ovtest::join;
using ovtest::runAgainst;
using ovtest::ToolRun;
using ovtest::walkedRows;

namespace {

const std::vector<std::string> kLan = {"--lan", "198.51.100.1/24"};

TEST(ApsimDhcp, LeaseTablesAnswerEmptyUntilTheManagerAsksForThem) {
    const Apsim device(join(kLan, {"--rows", "dhcpleases=3", "--rows", "dhcpstatic=2"}));
    ASSERT_TRUE(device.isRunning()) << device.error();

    EXPECT_EQ(walkedRows(device, "E.2.7.4.1"), 0);
    EXPECT_EQ(device.requests().size(), 1u) << "the walk ends after one GETNEXT";
    EXPECT_EQ(walkedRows(device, "E.2.7.4.2"), 0);
    const ToolRun row = runAgainst(device, "snmpget", "v2c", {"E.2.7.4.1.1.2.1"});
    EXPECT_TRUE(row.contains("No Such Instance")) << row.output;

    const ToolRun dynamicGet = runAgainst(device, "snmpset", "v2c-rw", {"E.2.7.4.3.1.0", "i", "1"});
    EXPECT_TRUE(dynamicGet.contains("INTEGER: 1")) << dynamicGet.output;
    EXPECT_EQ(walkedRows(device, "E.2.7.4.1"), 3 * 4) << "three leases of four columns";
    EXPECT_EQ(walkedRows(device, "E.2.7.4.2"), 0) << "StaticGet not set yet";

    // The DHCP window asks for both in one SET.
    runAgainst(device, "snmpset", "v2c-rw", {"E.2.7.4.3.1.0", "i", "1", "E.2.7.4.3.2.0", "i", "1"});
    EXPECT_EQ(walkedRows(device, "E.2.7.4.2"), 2 * 3) << "two leases of three columns";
    const ToolRun lease =
        runAgainst(device, "snmpget", "v2c", {"E.2.7.4.1.1.3.1", "E.2.7.4.2.1.3.2"});
    EXPECT_TRUE(lease.contains("IpAddress: 198.51.100.100")) << lease.output;
    EXPECT_TRUE(lease.contains("IpAddress: 198.51.100.51")) << lease.output;
}

TEST(ApsimDhcp, ServesOneConsistentLan) {
    const Apsim device(join(kLan, {"--set", "DynamicGet=1", "--set", "StaticGet=1"}));
    ASSERT_TRUE(device.isRunning()) << device.error();
    const ToolRun run = runAgainst(device, "snmpbulkwalk", "v2c", {"E"});
    const std::string label = "IpAddress: ";
    int onLan = 0;
    for (std::size_t at = run.output.find(label); at != std::string::npos;
         at = run.output.find(label, at + 1)) {
        const std::size_t start = at + label.size();
        const std::string text = run.output.substr(start, run.output.find('\n', start) - start);
        if (text == "0.0.0.0" || text == "255.255.255.0")
            continue; // a free slot or unset server; a mask
        const std::string lan = "198.51.100.";
        const bool onBlock = text.rfind(lan, 0) == 0;
        const int host = onBlock ? std::stoi(text.substr(lan.size())) : -1;
        EXPECT_TRUE(host >= 1 && host <= 254) << text;
        ++onLan;
    }
    EXPECT_GE(onLan, 10) << run.output;
    const ToolRun lan = runAgainst(device, "snmpget", "v2c",
                                   {"E.1.2.2.0", "E.1.2.3.0", "E.1.2.4.0", "E.2.7.2.1.0"});
    for (const char* value : {"IpAddress: 198.51.100.1\n", "IpAddress: 255.255.255.0",
                              "IpAddress: 198.51.100.254", "IpAddress: 198.51.100.100"})
        EXPECT_TRUE(lan.contains(value)) << value << " in\n" << lan.output;
}

TEST(ApsimDhcp, RefusesWhatARealDeviceRefuses) {
    const struct {
        const char* what;
        const char* client;
        std::vector<std::string> binding;
        const char* reason;
    } cases[] = {
        {"address mode 0", "v2c-rw", {"E.1.2.1.0", "i", "0"}, "wrongValue"},
        {"address mode 3", "v2c-rw", {"E.1.2.1.0", "i", "3"}, "wrongValue"},
        {"address mode 3, SNMPv1", "v1-rw", {"E.1.2.1.0", "i", "3"}, "(badValue)"},
        {"an empty dynamic pool", "v2c-rw", {"E.2.7.2.2.0", "i", "0"}, "wrongValue"},
        {"a dynamic pool of 256", "v2c-rw", {"E.2.7.2.2.0", "i", "256"}, "wrongValue"},
        {"a lease of 59 s", "v2c-rw", {"E.2.7.2.8.0", "i", "59"}, "wrongValue"},
        {"a lease over a year", "v2c-rw", {"E.2.7.2.8.0", "i", "31536001"}, "wrongValue"},
        {"a MAC of two octets", "v2c-rw", {"E.2.7.3.1.3.2", "x", "0011"}, "wrongLength"},
        {"a MAC of seven octets",
         "v2c-rw",
         {"E.2.7.3.1.3.2", "x", "00112233445566"},
         "wrongLength"},
        {"a static entry off the LAN",
         "v2c-rw",
         {"E.2.7.3.1.2.2", "a", "192.168.0.50"},
         "wrongValue"},
        {"the LAN's network address",
         "v2c-rw",
         {"E.2.7.3.1.2.2", "a", "198.51.100.0"},
         "wrongValue"},
        {"the LAN's broadcast address",
         "v2c-rw",
         {"E.2.7.3.1.2.2", "a", "198.51.100.255"},
         "wrongValue"},
        {"a slot past the last", "v2c-rw", {"E.2.7.3.1.2.9", "a", "198.51.100.60"}, "noCreation"},
        {"a slot past the last, SNMPv1",
         "v1-rw",
         {"E.2.7.3.1.2.9", "a", "198.51.100.60"},
         "(noSuchName)"},
    };
    const Apsim device(kLan);
    ASSERT_TRUE(device.isRunning()) << device.error();
    const auto before = device.state();
    for (const auto& c : cases) {
        const ToolRun run = runAgainst(device, "snmpset", c.client, c.binding);
        EXPECT_TRUE(run.contains("Reason: " + std::string(c.reason))) << c.what << ":\n"
                                                                      << run.output;
    }
    EXPECT_EQ(device.state(), before) << "a refused SET changed the device";
}

TEST(ApsimDhcp, AppliesEachSetWholeOrNotAtAll) {
    const Apsim device(kLan);
    ASSERT_TRUE(device.isRunning()) << device.error();
    const ToolRun refused = runAgainst(device, "snmpset", "v2c-rw",
                                       {"E.2.7.2.2.0", "i", "20", "E.2.7.2.8.0", "i", "59"});
    EXPECT_TRUE(refused.contains("Reason: wrongValue")) << refused.output;
    EXPECT_TRUE(refused.contains("Failed object: ." + expandOid("E.2.7.2.8.0"))) << refused.output;
    EXPECT_EQ(device.stateValue("E.2.7.2.2.0")->text, "50") << "the good binding was not applied";

    const ToolRun entry =
        runAgainst(device, "snmpset", "v2c-rw",
                   {"E.2.7.3.1.2.2", "a", "198.51.100.60", "E.2.7.3.1.3.2", "x", "0011"});
    EXPECT_TRUE(entry.contains("Reason: wrongLength")) << entry.output;
    EXPECT_EQ(device.stateValue("E.2.7.3.1.2.2")->text, "0.0.0.0");

    const ToolRun applied =
        runAgainst(device, "snmpset", "v2c-rw",
                   {"E.2.7.3.1.2.2", "a", "198.51.100.60", "E.2.7.3.1.3.2", "x", "000C41AABB02",
                    "E.2.7.2.2.0", "i", "20", "E.2.7.2.8.0", "i", "60"});
    EXPECT_FALSE(applied.contains("Reason:")) << applied.output;
    EXPECT_EQ(device.stateValue("E.2.7.3.1.2.2")->text, "198.51.100.60");
    EXPECT_EQ(device.stateValue("E.2.7.3.1.3.2")->text, "000C41AABB02");
    EXPECT_EQ(device.stateValue("E.2.7.2.2.0")->text, "20");
    EXPECT_EQ(device.stateValue("E.2.7.2.8.0")->text, "60");
}

} // namespace
