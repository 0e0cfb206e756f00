// The server address announced to the device: the local address on its subnet.
#include "OvNetInterface.h"

#include <gtest/gtest.h>

using namespace ovtftp;

namespace {

OvNetInterface usable(const std::string& address, const std::string& mask) {
    OvNetInterface entry;
    entry.address = address;
    entry.mask = mask;
    entry.up = entry.running = true;
    return entry;
}

struct ChoiceCase {
    const char* name;
    std::string deviceAddress;
    std::string deviceMask;
    std::vector<OvNetInterface> interfaces;
    std::string expected;
};

TEST(ServerAddressChoice, PicksTheFirstInterfaceOnTheDeviceSubnet) {
    const auto lan = usable("192.168.0.10", "255.255.255.0");
    const auto office = usable("10.0.0.2", "255.0.0.0");
    const auto catchAll = usable("192.168.1.1", "0.0.0.0");
    const ChoiceCase cases[] = {
        {"device on the second interface's subnet",
         "192.168.0.50",
         "255.255.255.0",
         {office, lan},
         "192.168.0.10"},
        {"upper half of a /25 matches only the upper half with that mask",
         "192.168.0.200",
         "255.255.255.128",
         {usable("192.168.0.10", "255.255.255.128"), usable("192.168.0.130", "255.255.255.0"),
          usable("192.168.0.140", "255.255.255.128")},
         "192.168.0.140"},
        {"lower half of a /25 is another subnet",
         "192.168.0.200",
         "255.255.255.128",
         {usable("192.168.0.10", "255.255.255.128")},
         ""},
        {"the first of two matching interfaces",
         "10.9.8.7",
         "255.0.0.0",
         {office, usable("10.1.1.1", "255.0.0.0")},
         "10.0.0.2"},
        {"no interface on the subnet", "172.16.5.5", "255.255.0.0", {office, lan}, ""},
        {"no interfaces at all", "192.168.0.50", "255.255.255.0", {}, ""},
        {"a non-numeric part counts 0", "192.168.x.50", "255.255.255.0", {lan}, "192.168.0.10"},
        {"a missing part counts 0", "192.168.0", "255.255.255.0", {lan}, "192.168.0.10"},
        {"empty device address matches nothing", "", "255.255.255.0", {catchAll, lan}, ""},
        {"(NULL) device address matches nothing", "(NULL)", "255.255.255.0", {catchAll}, ""},
        {"0.0.0.0 device address matches nothing", "0.0.0.0", "255.255.255.0", {catchAll}, ""},
        {"empty device mask matches nothing", "192.168.0.50", "", {catchAll, lan}, ""},
        {"(NULL) device mask matches nothing", "192.168.0.50", "(NULL)", {catchAll}, ""},
        {"0.0.0.0 device mask matches nothing", "192.168.0.50", "0.0.0.0", {catchAll}, ""},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chooseServerAddress(c.deviceAddress, c.deviceMask, c.interfaces), c.expected);
    }
}

TEST(ServerAddressChoice, ListsOnlyInterfacesThatAreUpAndRunningAndAtMostTen) {
    std::vector<OvNetInterface> entries;
    auto down = usable("192.168.0.20", "255.255.255.0");
    down.up = false;
    auto notRunning = usable("192.168.0.21", "255.255.255.0");
    notRunning.running = false;
    entries.push_back(down);
    entries.push_back(notRunning);
    for (int i = 0; i < 10; ++i)
        entries.push_back(usable("10.0." + std::to_string(i) + ".1", "255.255.255.0"));
    entries.push_back(usable("192.168.0.22", "255.255.255.0")); // the eleventh usable one

    const auto listed = usableInterfaces(entries);
    ASSERT_EQ(listed.size(), 10u);
    EXPECT_EQ(listed.front().address, "10.0.0.1");
    EXPECT_EQ(listed.back().address, "10.0.9.1");
    EXPECT_EQ(chooseServerAddress("192.168.0.50", "255.255.255.0", listed), "");
    EXPECT_EQ(chooseServerAddress("10.0.4.200", "255.255.255.0", listed), "10.0.4.1");
}

TEST(ServerAddressChoice, FindsTheLoopbackOfThisMachine) {
    const auto interfaces = localInterfaces();
    ASSERT_LE(interfaces.size(), 10u);
    bool loopbackListed = false;
    for (const OvNetInterface& entry : interfaces) {
        EXPECT_TRUE(entry.up && entry.running) << entry.address;
        if (entry.address == "127.0.0.1") {
            loopbackListed = true;
            EXPECT_TRUE(entry.loopback);
            EXPECT_EQ(entry.mask, "255.0.0.0");
        }
    }
    EXPECT_TRUE(loopbackListed);
    EXPECT_EQ(chooseServerAddress("127.1.2.3", "255.0.0.0"), "127.0.0.1");
}

TEST(ServerAddressChoice, NetworksAreDottedPartsAnded) {
    EXPECT_EQ(networkOf("192.168.0.200", "255.255.255.128"), "192.168.0.128");
    EXPECT_EQ(networkOf("10.1.2.3", "255.0.0.0"), "10.0.0.0");
    EXPECT_EQ(networkOf("", ""), "0.0.0.0");
    EXPECT_EQ(networkOf("1.2.3.4.5", "255.255.255.255"), "1.2.3.4");
    // Digit strings of any length read without overflow.
    EXPECT_EQ(networkOf(std::string(40, '9') + ".1.1.1", "0.255.255.255"), "0.1.1.1");
}

} // namespace
