// What the simulated device does for the status windows, without the agent:
// client tables rebuilt on request, the log and its snapshot, counters that
// grow while it runs.
#include "Device.h"
#include "DeviceMib.h"
#include "TypedValue.h"

#include <gtest/gtest.h>

using apsim::Device;
using apsim::DeviceConfig;

namespace {

OvOid statusOid(const std::string& text) {
    return *OvOid::parse(std::string(mib::enterpriseRoot) + text.substr(1));
}

std::string typed(const Device& device, const std::string& var) {
    const apsim::DeviceVariable* variable = device.find(statusOid(var));
    return variable == nullptr ? "(none)" : apsim::formatValue(variable->value, variable->type);
}

// The typed values of a table column's rows, in index order.
std::vector<std::string> column(const Device& device, const std::string& var) {
    std::vector<std::string> values;
    const OvOid base = statusOid(var);
    for (auto it = device.variables().upper_bound(base);
         it != device.variables().end() && it->first.startsWith(base); ++it)
        values.push_back(apsim::formatValue(it->second.value, it->second.type));
    return values;
}

const std::string kFree = "x:000000000000";

TEST(ApsimStatus, RebuildsABandsClientTableFromItsAssociationList) {
    Device device{DeviceConfig{
        {{"clients-a", 3}, {"clients-g", 2}}, {{"E.4.5.2.1.2.1.1", "000000000000"}}, {}, {}}};
    const auto macs = column(device, "E.4.5.2.1.2.1");
    ASSERT_EQ(macs.size(), 3u);
    EXPECT_EQ(macs[0], kFree) << "slot 1 starts free";
    const auto rssi = column(device, "E.4.5.2.1.5.1");
    const auto bandG = column(device, "E.4.5.2.1.2.2");

    device.set(statusOid("E.4.5.1.1.1.1"), OvVb::integer(1));
    EXPECT_EQ(column(device, "E.4.5.2.1.2.1"), (std::vector<std::string>{macs[1], macs[2], kFree}))
        << "the stations packed from slot 1, the free slot behind them";
    EXPECT_EQ(column(device, "E.4.5.2.1.5.1"), (std::vector<std::string>{rssi[1], rssi[2], "i:0"}));
    EXPECT_EQ(column(device, "E.4.5.2.1.1.1"), (std::vector<std::string>{"i:1", "i:2", "i:3"}))
        << "the slots keep their index";
    EXPECT_EQ(column(device, "E.4.5.2.1.2.2"), bandG) << "the other band is left alone";
}

TEST(ApsimStatus, TriggersOtherThanOneChangeNoTable) {
    Device device{DeviceConfig{{{"clients-a", 2}}, {{"E.4.5.2.1.2.1.1", "000000000000"}}, {}, {}}};
    const auto before = column(device, "E.4.5.2.1.2.1");
    device.set(statusOid("E.4.5.1.1.1.1"), OvVb::integer(0));
    EXPECT_EQ(column(device, "E.4.5.2.1.2.1"), before);
}

TEST(ApsimStatus, ShowsTheLogAsOfTheLastSnapshot) {
    Device device{DeviceConfig{{{"log", 2}}, {}, {}, {}}};
    ASSERT_EQ(column(device, "E.2.11.12.1.3").size(), 2u);
    device.appendLogLine();
    device.appendLogLine();
    EXPECT_EQ(column(device, "E.2.11.12.1.3").size(), 2u) << "new lines wait for a snapshot";

    device.set(statusOid("E.2.11.11.1.0"), OvVb::integer(1));
    const auto messages = column(device, "E.2.11.12.1.3");
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[2], "s:802.11g radio on, channel 6");
    EXPECT_EQ(column(device, "E.2.11.12.1.1"),
              (std::vector<std::string>{"i:1", "i:2", "i:3", "i:4"}));
    EXPECT_EQ(typed(device, "E.2.11.12.1.2.4").rfind("s:Jan  1 ", 0), 0u);

    device.set(statusOid("E.2.11.10.0"), OvVb::integer(1));
    EXPECT_TRUE(column(device, "E.2.11.12.1.2").empty()) << "clearing empties the table at once";
    device.appendLogLine();
    device.set(statusOid("E.2.11.11.1.0"), OvVb::integer(1));
    EXPECT_EQ(column(device, "E.2.11.12.1.3"), (std::vector<std::string>{"s:System started"}))
        << "the log starts again from its first line";
}

TEST(ApsimStatus, AnAbsentLogStaysAbsent) {
    Device device{DeviceConfig{{}, {}, {"E.2.11.12"}, {}}};
    device.appendLogLine();
    device.set(statusOid("E.2.11.11.1.0"), OvVb::integer(1));
    EXPECT_TRUE(column(device, "E.2.11.12.1").empty());
}

TEST(ApsimStatus, CountsTrafficWhileItRuns) {
    const Device device{DeviceConfig{
        {}, {{"E.4.3.1.1.7.1", "4294967290"}, {"E.4.3.1.1.18.1", "3000000000"}}, {}, {}}};
    const struct {
        const char* name;
        const char* var;
        std::uint32_t ticks; // hundredths of a second since the start
        const char* shown;
    } cases[] = {
        {"a frame counter at its start", "E.4.3.1.1.7.1", 0, "c:4294967290"},
        {"a frame counter wraps at 2^32", "E.4.3.1.1.7.1", 100, "c:114"},
        {"received frames of 802.11a", "E.4.3.1.1.12.1", 1000, "c:203377"},
        {"an integer counter of 802.11g grows too", "E.4.3.1.1.12.2", 200, "i:202177"},
        {"an error counter stays put", "E.4.3.1.1.18.1", 100000, "c:3000000000"},
        {"a rate stays put", "E.4.3.1.1.1.1", 100000, "i:98"},
        {"the uptime", "1.3.6.1.2.1.1.3.0", 4200, "t:4200"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string var = c.var;
        const OvOid instance = var[0] == 'E' ? statusOid(var) : *OvOid::parse(var);
        const apsim::DeviceVariable* variable = device.find(instance);
        ASSERT_NE(variable, nullptr);
        EXPECT_EQ(apsim::formatValue(apsim::currentValue(*variable, c.ticks), variable->type),
                  c.shown);
    }
}

} // namespace
