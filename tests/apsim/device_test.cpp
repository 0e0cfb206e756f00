// The simulated device's model without the agent: every variable of the device
// tables is there with its type, names resolve, sets are checked as an agent
// would, typed values read and write back.
#include "Device.h"
#include "DeviceMib.h"
#include "Options.h"
#include "TypedValue.h"
#include "Wireless.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

using apsim::Device;
using apsim::DeviceConfig;

namespace {

OvOid deviceOid(const std::string& text) {
    if (text.rfind("E.", 0) == 0)
        return *OvOid::parse(std::string(mib::enterpriseRoot) + text.substr(1));
    return *OvOid::parse(text);
}

bool hasInstanceBelow(const Device& device, const OvOid& column) {
    const Device::Entry* entry = device.next(column, column);
    return entry != nullptr;
}

TEST(ApsimDevice, ServesEveryVariableOfEveryTableWithItsType) {
    // The lease tables as after the manager's trigger.
    const Device device{DeviceConfig{{}, {{"DynamicGet", "1"}, {"StaticGet", "1"}}, {}, {}}};
    int checked = 0;
    for (const mib::TableInfo& table : mib::tables()) {
        for (const OvSNMPVarRow* row = table.rows; row->oid != nullptr; ++row) {
            if (*row->oid == '\0')
                continue;
            OvOid instance = *OvOid::parse(row->oid);
            SCOPED_TRACE("T" + std::to_string(table.number) + " " + row->name);
            if (table.mode == MVT_FMV || table.mode == MVT_UMV) {
                EXPECT_TRUE(hasInstanceBelow(device, instance)) << "no rows below the column";
                ++checked;
                continue;
            }
            if (table.mode == SVT_SV)
                instance.arcs().push_back(0);
            const apsim::DeviceVariable* variable = device.find(instance);
            ASSERT_NE(variable, nullptr) << instance.toString() << " is not served";
            EXPECT_EQ(variable->value.syntax, apsim::syntaxOfType(row->type));
            if (row->type == ovtype::macaddress) {
                EXPECT_EQ(variable->value.octets.size(), 6u);
            }
            if (row->access == ovaccess::readonly) {
                EXPECT_FALSE(variable->writable);
            }
            if (row->access == ovaccess::readwrite) {
                EXPECT_TRUE(variable->writable);
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 300);
}

TEST(ApsimDevice, HoldsTheValuesWindowsExpect) {
    const struct {
        const char* oid;
        const char* typed;
    } cases[] = {
        {"E.4.4.0", "i:85"},                          // stLED 0x55
        {"E.1.1.1.4.1", "s:36 40 44 48"},             // hChannelList, 802.11a
        {"E.1.1.1.4.2", "s:1 2 3 4 5 6 7 8 9 10 11"}, // hChannelList, 802.11g
        {"E.4.1.1.1.0", "s:v1.2.07"},                 // firmware version
        {"E.2.4.2.1.2.1.16", "x:000000000000"},       // a free MAC list slot
        {"E.2.7.3.1.2.8", "a:0.0.0.0"},               // a free static pool slot
        {"E.2.7.3.1.3.8", "x:000000000000"},
        {"E.3.2.1.0", "i:0"},   // Restart
        {"E.2.8.1.1.1", "i:0"}, // adRefresh of 802.11a: the band is the last arc
        {"E.2.8.1.1.2", "i:0"}, // adRefresh of 802.11g
        {"1.3.6.1.2.1.1.2.0", "o:1.3.6.1.4.1.48213.10.37.14"},
    };
    const Device device{DeviceConfig{}};
    for (const auto& c : cases) {
        const apsim::DeviceVariable* variable = device.find(deviceOid(c.oid));
        ASSERT_NE(variable, nullptr) << c.oid;
        EXPECT_EQ(apsim::formatValue(variable->value, variable->type), c.typed) << c.oid;
    }
}

TEST(ApsimDevice, SizesTablesByRowCount) {
    const struct {
        const char* table;
        int rows;
        const char* column; // below which the rows are counted
        int expected;
    } cases[] = {
        {"dhcpleases", 0, "E.2.7.4.1.1.2", 0},   {"dhcpleases", 2000, "E.2.7.4.1.1.2", 2000},
        {"log", 0, "E.2.11.12.1.3", 0},          {"clients", 5, "E.4.5.2.1.2.1", 2},
        {"clients", 5, "E.4.5.2.1.2.2", 3},      {"clients-g", 4, "E.4.5.2.1.2.2", 4},
        {"staticpool", 12, "E.2.7.3.1.2", 12},   {"maclist-a", 1, "E.2.4.2.1.2.1", 1},
        {"sitesurvey-g", 7, "E.2.8.2.1.7.2", 7}, {"rogue", 3, "E.2.10.4.1.4.1.8", 3},
        {"knownap", 0, "E.2.10.4.2.2.1.2", 0},
    };
    for (const auto& c : cases) {
        const Device device{DeviceConfig{{{c.table, c.rows}}, {}, {}, {}}};
        const OvOid column = deviceOid(c.column);
        int count = 0;
        for (const auto& [name, variable] : device.variables())
            count += name.startsWith(column) && name.size() > column.size() ? 1 : 0;
        EXPECT_EQ(count, c.expected) << c.table << "=" << c.rows << " below " << c.column;
    }
}

TEST(ApsimDevice, ResolvesNamesAndOids) {
    const struct {
        const char* var;
        const char* expected; // empty: refused
    } cases[] = {
        {"stLED", "E.4.4.0"},
        {"Restart", "E.3.2.1.0"},
        {"sysRestart", "E.3.2.1.0"},
        {"FactoryDefault", "E.3.2.2.0"},
        {"sysName", "1.3.6.1.2.1.1.5.0"},
        {"System Location", "1.3.6.1.2.1.1.6.0"},
        {"E.2.7.4.1.1.2.1", "E.2.7.4.1.1.2.1"},
        {".1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.1.0"},
        {"adAPMode", ""}, // one per band: not unique
        {"noSuchVariable", ""},
        {"1.3.x", ""},
    };
    const Device device{DeviceConfig{}};
    for (const auto& c : cases) {
        if (*c.expected == '\0') {
            EXPECT_THROW(device.mib().resolve(c.var), std::invalid_argument) << c.var;
            continue;
        }
        EXPECT_EQ(device.mib().resolve(c.var), deviceOid(c.expected)) << c.var;
    }
}

TEST(ApsimDevice, ChecksSetsAsAnAgentWould) {
    const struct {
        const char* name;
        const char* oid;
        OvVb value;
        int status;
    } cases[] = {
        {"writable text", "E.1.1.1.1.1", OvVb::octetString("Lobby"), 0},
        {"read-only variable", "E.4.4.0", OvVb::integer(3), apsim::snmperr::notWritable},
        {"text as an integer", "E.1.1.1.1.1", OvVb::integer(3), apsim::snmperr::wrongType},
        {"value outside the option list", "E.2.1.1.1.1", OvVb::integer(9),
         apsim::snmperr::wrongValue},
        {"value of the option list", "E.2.1.1.1.1", OvVb::integer(5), 0},
        {"short MAC address", "E.2.4.2.1.2.1.1", OvVb::octetString("\x01\x02"),
         apsim::snmperr::wrongLength},
        {"row that does not exist", "E.2.7.3.1.2.99",
         OvVb::octetString(std::string(4, '\0'), OvSyntax::IpAddress), apsim::snmperr::noCreation},
        {"object that does not exist", "E.9.9.0", OvVb::integer(1), apsim::snmperr::notWritable},
        {"absent variable", "E.4.6.1.0", OvVb::integer(1), apsim::snmperr::notWritable},
    };
    const Device device{DeviceConfig{{}, {}, {"statusIndicationTemperature"}, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(device.checkSet(deviceOid(c.oid), c.value), c.status) << c.name;
}

TEST(ApsimDevice, RestartsAndRestoresFactoryValues) {
    Device device{DeviceConfig{{}, {{"sysName", "Start"}}, {}, {}}};
    const OvOid name = deviceOid("1.3.6.1.2.1.1.5.0");
    const OvOid ssid = deviceOid("E.1.1.1.1.2");
    EXPECT_EQ(device.set(name, OvVb::octetString("Changed")), 0);
    EXPECT_EQ(device.set(ssid, OvVb::octetString("Lobby")), 0);
    EXPECT_EQ(device.set(deviceOid("E.3.2.1.0"), OvVb::integer(1)), 1);
    device.restart(false);
    EXPECT_EQ(device.find(name)->value.octets, "Changed");
    EXPECT_EQ(device.find(deviceOid("E.4.1.2.1.1.2"))->value.octets, "Lobby")
        << "status shows config";
    EXPECT_EQ(device.find(deviceOid("E.3.2.1.0"))->value.number, 0u);
    EXPECT_EQ(device.set(deviceOid("E.3.2.2.0"), OvVb::integer(1)), 2);
    device.restart(true);
    EXPECT_EQ(device.find(name)->value.octets, "Start");
    EXPECT_EQ(device.find(ssid)->value.octets, "ORW3300-G");
}

TEST(ApsimDevice, RefusesWhatTheRadiosFirmwareRefuses) {
    const std::string key26(26, 'a');
    const struct {
        const char* name;
        const char* oid;
        OvVb value;
        int status;
        bool turbo = false; // 802.11a in "Super Mode with Dynamic Turbo"
    } cases[] = {
        {"an SSID of 32 octets", "E.1.1.1.1.1", OvVb::octetString(std::string(32, 'S')), 0},
        {"an SSID of 33 octets", "E.1.1.1.1.2", OvVb::octetString(std::string(33, 'S')),
         apsim::snmperr::wrongLength},
        {"an SSID of 32 characters but 33 octets", "E.1.1.1.1.1",
         OvVb::octetString(std::string(31, 'S') + "\xC3\xA9"), apsim::snmperr::wrongLength},
        {"a multi-SSID primary SSID of 33 octets", "E.2.9.1.1.1.2",
         OvVb::octetString(std::string(33, 'S')), apsim::snmperr::wrongLength},
        {"an additional SSID of 33 octets", "E.2.9.2.1.3.1.3",
         OvVb::octetString(std::string(33, 'S')), apsim::snmperr::wrongLength},
        {"a 64-bit WEP key", "E.2.5.3.1.1.1.1", OvVb::octetString("0123456789"), 0},
        {"a 128-bit WEP key", "E.2.5.3.1.1.2.4", OvVb::octetString(key26), 0},
        {"a 152-bit WEP key in capitals", "E.2.5.3.1.1.1.2",
         OvVb::octetString("0123456789ABCDEF0123456789ABCDEF"), 0},
        {"a WEP key of 11 digits", "E.2.5.3.1.1.1.1", OvVb::octetString("01234567890"),
         apsim::snmperr::wrongLength},
        {"an empty WEP key", "E.2.5.3.1.1.2.1", OvVb::octetString(""), apsim::snmperr::wrongLength},
        {"a WEP key of five ASCII characters", "E.2.5.3.1.1.1.3", OvVb::octetString("abcde"),
         apsim::snmperr::wrongLength},
        {"a WEP key of ten characters not all hex", "E.2.5.3.1.1.1.1",
         OvVb::octetString("012345678g"), apsim::snmperr::wrongValue},
        {"a masked WEP key", "E.2.5.3.1.1.1.1", OvVb::octetString("**********"),
         apsim::snmperr::wrongValue},
        {"a channel of the 802.11a list", "E.1.1.1.3.1", OvVb::integer(44), 0},
        {"an 802.11g channel on 802.11a", "E.1.1.1.3.1", OvVb::integer(6),
         apsim::snmperr::wrongValue},
        {"channel 0", "E.1.1.1.3.2", OvVb::integer(0), apsim::snmperr::wrongValue},
        {"the last 802.11g channel", "E.1.1.1.3.2", OvVb::integer(11), 0},
        {"channel 12 on 802.11g", "E.1.1.1.3.2", OvVb::integer(12), apsim::snmperr::wrongValue},
        {"a radio channel outside its list", "E.2.3.1.2.1", OvVb::integer(52),
         apsim::snmperr::wrongValue},
        {"a turbo channel in dynamic turbo mode", "E.1.1.1.3.1", OvVb::integer(153), 0, true},
        {"a listed channel in dynamic turbo mode", "E.1.1.1.3.1", OvVb::integer(36),
         apsim::snmperr::wrongValue, true},
        {"a turbo channel without dynamic turbo", "E.1.1.1.3.1", OvVb::integer(153),
         apsim::snmperr::wrongValue},
        {"802.11g stays on its list when 802.11a is in turbo", "E.1.1.1.3.2", OvVb::integer(1), 0,
         true},
    };
    const Device device{DeviceConfig{}};
    const Device turbo{DeviceConfig{{}, {{"E.2.3.1.11.1", "2"}}, {}, {}}};
    for (const auto& c : cases)
        EXPECT_EQ((c.turbo ? turbo : device).checkSet(deviceOid(c.oid), c.value), c.status)
            << c.name;
}

// The rows below a site survey column, and their signal levels.
std::vector<std::string> surveyColumn(const Device& device, const std::string& column) {
    std::vector<std::string> values;
    const OvOid base = deviceOid(column);
    for (const auto& [name, variable] : device.variables())
        if (name.startsWith(base) && name.size() > base.size())
            values.push_back(apsim::formatValue(variable.value, variable.type));
    return values;
}

TEST(ApsimDevice, ASiteSurveyFillsTheBandsTableAnew) {
    Device device{DeviceConfig{{{"sitesurvey-a", 2}}, {}, {}, {}}};
    const std::string ssidA = "E.2.8.2.1.7.1", signalA = "E.2.8.2.1.4.1";
    const std::string ssidG = "E.2.8.2.1.7.2";
    const auto before = surveyColumn(device, signalA);
    ASSERT_EQ(surveyColumn(device, ssidA).size(), 2u);

    EXPECT_EQ(device.set(deviceOid("E.2.8.1.1.1"), OvVb::integer(1)), 0);
    const std::vector<std::string> found = {"s:Neighbour-a-1", "s:Neighbour-a-2",
                                            "s:Neighbour-a-3"};
    EXPECT_EQ(surveyColumn(device, ssidA), found) << "one neighbour more";
    const auto after = surveyColumn(device, signalA);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_NE(std::vector<std::string>(after.begin(), after.begin() + 2), before)
        << "the signals were measured again";
    EXPECT_EQ(surveyColumn(device, ssidG).size(), 4u) << "the other band was not scanned";

    device.set(deviceOid("E.2.8.1.1.1"), OvVb::integer(1));
    EXPECT_EQ(surveyColumn(device, ssidA).size(), 4u) << "each SET of 1 is a scan";
    device.set(deviceOid("E.2.8.1.1.1"), OvVb::integer(0));
    EXPECT_EQ(surveyColumn(device, ssidA).size(), 4u) << "0 scans nothing";
    device.set(deviceOid("E.2.8.1.1.2"), OvVb::integer(1));
    EXPECT_EQ(surveyColumn(device, ssidG).size(), 5u);

    device.restart(false);
    EXPECT_EQ(surveyColumn(device, ssidA).size(), 4u) << "a restart keeps what was found";
    device.restart(true);
    EXPECT_EQ(surveyColumn(device, ssidA).size(), 2u) << "a factory default forgets it";
    device.set(deviceOid("E.2.8.1.1.1"), OvVb::integer(1));
    EXPECT_EQ(surveyColumn(device, ssidA).size(), 3u);
}

TEST(ApsimDevice, KnowsWhichVariablesAreSecrets) {
    const struct {
        const char* oid;
        bool secret;
    } cases[] = {
        {"E.2.5.3.1.1.1.1", true},  {"E.2.5.3.1.1.2.4", true},    {"E.2.5.1.1.4.1", true},
        {"E.2.5.1.1.4.2", true},    {"E.2.9.2.1.7.1.1", true},    {"E.2.9.2.1.7.2.3", true},
        {"E.2.5.2.5.0", false},     {"E.1.1.1.1.1", false},       {"E.2.5.1.1.5.1", false},
        {"E.2.9.2.1.6.1.1", false}, {"1.3.6.1.2.1.1.5.0", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(apsim::isSecret(deviceOid(c.oid)), c.secret) << c.oid;
}

TEST(ApsimDevice, ClearsTheLogOnRequest) {
    Device device{DeviceConfig{}};
    const OvOid message = deviceOid("E.2.11.12.1.3.1");
    ASSERT_NE(device.find(message), nullptr);
    device.set(deviceOid("E.2.11.10.0"), OvVb::integer(1));
    EXPECT_EQ(device.find(message), nullptr);
}

apsim::Lan lanOf(const std::string& text) {
    return apsim::parseLan(text);
}

OvVb ipValue(const std::string& dotted) {
    return apsim::parseValue(dotted, ovtype::ipaddress);
}

std::string typedAt(const Device& device, const std::string& instance) {
    const apsim::DeviceVariable* variable = device.find(deviceOid(instance));
    return variable ? apsim::formatValue(variable->value, variable->type) : "(none)";
}

TEST(ApsimDevice, LeaseTablesStayEmptyUntilTheManagerAsksForThem) {
    Device device{DeviceConfig{}};
    const OvOid root = apsim::MibObjects::privateRoot();
    const OvOid dynamicTable = deviceOid("E.2.7.4.1");
    const OvOid staticTable = deviceOid("E.2.7.4.2");
    // Held, but neither found nor walked: a walk of either table ends at once.
    EXPECT_EQ(device.find(deviceOid("E.2.7.4.1.1.2.1")), nullptr);
    EXPECT_TRUE(device.isHidden(deviceOid("E.2.7.4.1.1.2.1")));
    EXPECT_EQ(device.next(dynamicTable, root)->first, deviceOid("E.2.7.4.3.1.0"));
    EXPECT_EQ(device.next(staticTable, root)->first, deviceOid("E.2.7.4.3.1.0"));

    EXPECT_EQ(device.set(deviceOid("E.2.7.4.3.1.0"), OvVb::integer(1)), 0); // DynamicGet
    EXPECT_EQ(typedAt(device, "E.2.7.4.1.1.2.1"), "x:000C41240001");
    EXPECT_EQ(device.next(dynamicTable, root)->first, deviceOid("E.2.7.4.1.1.1.1"));
    EXPECT_EQ(device.next(staticTable, root)->first, deviceOid("E.2.7.4.3.1.0"))
        << "StaticGet not set";

    device.set(deviceOid("E.2.7.4.3.2.0"), OvVb::integer(1)); // StaticGet
    EXPECT_EQ(device.next(staticTable, root)->first, deviceOid("E.2.7.4.2.1.1.1"));
    device.set(deviceOid("E.2.7.4.3.1.0"), OvVb::integer(0));
    EXPECT_NE(device.find(deviceOid("E.2.7.4.1.1.2.1")), nullptr) << "a prepared table stays";

    device.restart(false);
    EXPECT_NE(device.find(deviceOid("E.2.7.4.1.1.2.1")), nullptr) << "a restart keeps the tables";
    device.restart(true);
    EXPECT_EQ(device.find(deviceOid("E.2.7.4.1.1.2.1")), nullptr) << "a factory default hides them";

    const Device asked{DeviceConfig{{}, {{"StaticGet", "1"}}, {}, {}}};
    EXPECT_NE(asked.find(deviceOid("E.2.7.4.2.1.2.1")), nullptr)
        << "a start value of 1 prepares it";
    EXPECT_EQ(asked.find(deviceOid("E.2.7.4.1.1.2.1")), nullptr);
}

TEST(ApsimDevice, TheLanOptionPutsEveryAddressOfTheConfigurationOnOneLan) {
    const struct {
        const char* name;
        const char* lan;
        std::uint32_t network;
        std::uint32_t mask;
    } cases[] = {
        {"the default LAN on loopback", "127.1.1.1/8", 0x7F000000, 0xFF000000},
        {"a /24 of the documentation networks", "198.51.100.1/24", 0xC6336400, 0xFFFFFF00},
        {"a /16 whose device sits at .40 of some /24", "10.20.30.40/16", 0x0A140000, 0xFFFF0000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceConfig config{{{"dhcpleases", 120}, {"dhcpstatic", 3}, {"staticpool", 8}},
                            {{"DynamicGet", "1"}, {"StaticGet", "1"}},
                            {},
                            lanOf(c.lan)};
        const Device device{config};
        int addresses = 0;
        for (const auto& [name, variable] : device.variables()) {
            if (variable.value.syntax != OvSyntax::IpAddress ||
                !name.startsWith(apsim::MibObjects::privateRoot()))
                continue;
            std::uint32_t address = 0;
            for (const char octet : variable.value.octets)
                address = address << 8 | static_cast<unsigned char>(octet);
            if (address == 0)
                continue; // a free slot or an unset server
            ++addresses;
            const bool isMask = name.startsWith(deviceOid("E.1.2.3")) ||
                                name.startsWith(deviceOid("E.2.7.2.3")) ||
                                name.startsWith(deviceOid("E.2.7.3.1.4")) ||
                                name.startsWith(deviceOid("E.4.1.1.5"));
            if (isMask)
                EXPECT_EQ(address, c.mask) << name.toString();
            else
                EXPECT_TRUE(apsim::isUsableHost(address, c.network, c.mask))
                    << name.toString() << " = " << apsim::dottedQuad(address);
        }
        EXPECT_GT(addresses, 120 + 3 + 10);
    }
}

TEST(ApsimDevice, TheLanOptionLaysOutTheDhcpServer) {
    DeviceConfig config{{{"dhcpleases", 60}},
                        {{"DynamicGet", "1"}, {"StaticGet", "1"}},
                        {},
                        lanOf("198.51.100.1/24")};
    const Device device{config};
    const struct {
        const char* what;
        const char* oid;
        const char* typed;
    } cases[] = {
        {"device address", "E.1.2.2.0", "a:198.51.100.1"},
        {"device mask", "E.1.2.3.0", "a:255.255.255.0"},
        {"gateway", "E.1.2.4.0", "a:198.51.100.254"},
        {"status: device address", "E.4.1.1.4.0", "a:198.51.100.1"},
        {"dynamic pool start", "E.2.7.2.1.0", "a:198.51.100.100"},
        {"dynamic pool range", "E.2.7.2.2.0", "i:50"},
        {"dynamic pool mask", "E.2.7.2.3.0", "a:255.255.255.0"},
        {"dynamic pool gateway", "E.2.7.2.4.0", "a:198.51.100.254"},
        {"static pool entry", "E.2.7.3.1.2.1", "a:198.51.100.50"},
        {"static pool entry mask", "E.2.7.3.1.4.1", "a:255.255.255.0"},
        {"a free static pool slot", "E.2.7.3.1.2.2", "a:0.0.0.0"},
        {"first dynamic lease", "E.2.7.4.1.1.3.1", "a:198.51.100.100"},
        {"last dynamic lease inside the pool", "E.2.7.4.1.1.3.50", "a:198.51.100.149"},
        {"leases beyond the pool's size wrap into it", "E.2.7.4.1.1.3.51", "a:198.51.100.100"},
        {"static lease", "E.2.7.4.2.1.3.1", "a:198.51.100.50"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(typedAt(device, c.oid), c.typed) << c.what;
}

TEST(ApsimDevice, RefusesWhatTheDevicesFirmwareRefuses) {
    const struct {
        const char* name;
        const char* oid;
        OvVb value;
        int status;
    } cases[] = {
        {"address from DHCP", "E.1.2.1.0", OvVb::integer(2), 0},
        {"address mode 0", "E.1.2.1.0", OvVb::integer(0), apsim::snmperr::wrongValue},
        {"address mode 3", "E.1.2.1.0", OvVb::integer(3), apsim::snmperr::wrongValue},
        {"the smallest pool", "E.2.7.2.2.0", OvVb::integer(1), 0},
        {"the largest pool", "E.2.7.2.2.0", OvVb::integer(255), 0},
        {"an empty pool", "E.2.7.2.2.0", OvVb::integer(0), apsim::snmperr::wrongValue},
        {"a pool of 256", "E.2.7.2.2.0", OvVb::integer(256), apsim::snmperr::wrongValue},
        {"the shortest lease", "E.2.7.2.8.0", OvVb::integer(60), 0},
        {"the longest lease", "E.2.7.2.8.0", OvVb::integer(31536000), 0},
        {"a lease of 59 s", "E.2.7.2.8.0", OvVb::integer(59), apsim::snmperr::wrongValue},
        {"a lease over a year", "E.2.7.2.8.0", OvVb::integer(31536001), apsim::snmperr::wrongValue},
        {"a negative lease", "E.2.7.2.8.0", OvVb::integer(-60), apsim::snmperr::wrongValue},
        {"a static entry on the LAN", "E.2.7.3.1.2.2", ipValue("198.51.100.60"), 0},
        {"freeing a static entry", "E.2.7.3.1.2.1", ipValue("0.0.0.0"), 0},
        {"a static entry off the LAN", "E.2.7.3.1.2.2", ipValue("192.168.0.50"),
         apsim::snmperr::wrongValue},
        {"the LAN's network address", "E.2.7.3.1.2.2", ipValue("198.51.100.0"),
         apsim::snmperr::wrongValue},
        {"the LAN's broadcast address", "E.2.7.3.1.2.2", ipValue("198.51.100.255"),
         apsim::snmperr::wrongValue},
        {"a static entry of five octets", "E.2.7.3.1.2.2",
         OvVb::octetString("\xC6\x33\x64\x3C\x01", OvSyntax::IpAddress),
         apsim::snmperr::wrongLength},
        {"a MAC address of five octets", "E.2.7.3.1.3.2",
         OvVb::octetString(std::string("\x00\x0C\x41\x01\x02", 5)), apsim::snmperr::wrongLength},
        {"a MAC address of seven octets", "E.2.7.3.1.3.2",
         OvVb::octetString(std::string("\x00\x0C\x41\x01\x02\x03\x04", 7)),
         apsim::snmperr::wrongLength},
        {"a slot past the last", "E.2.7.3.1.2.9", ipValue("198.51.100.60"),
         apsim::snmperr::noCreation},
        {"slot 0", "E.2.7.3.1.2.0", ipValue("198.51.100.60"), apsim::snmperr::noCreation},
        {"a name of 40 octets", "E.3.1.1.0", OvVb::octetString(std::string(40, 'n')), 0},
        {"a name of 41 octets", "E.3.1.1.0", OvVb::octetString(std::string(41, 'n')),
         apsim::snmperr::wrongLength},
        {"an empty password", "E.3.1.2.0", OvVb::octetString(""), 0},
        {"a password of 12 octets", "E.3.1.2.0", OvVb::octetString(std::string(12, 'p')), 0},
        {"a password of 13 octets", "E.3.1.2.0", OvVb::octetString(std::string(13, 'p')),
         apsim::snmperr::wrongLength},
        {"a console time-out of 1 minute", "E.3.4.2.0", OvVb::integer(1), 0},
        {"a console that never times out", "E.3.4.2.0", OvVb::integer(6), 0},
        {"a console time-out of 0", "E.3.4.2.0", OvVb::integer(0), apsim::snmperr::wrongValue},
        {"a console time-out of 7", "E.3.4.2.0", OvVb::integer(7), apsim::snmperr::wrongValue},
        {"console access 2", "E.3.4.1.0", OvVb::integer(2), apsim::snmperr::wrongValue},
    };
    const Device device{DeviceConfig{{}, {}, {}, lanOf("198.51.100.1/24")}};
    for (const auto& c : cases)
        EXPECT_EQ(device.checkSet(deviceOid(c.oid), c.value), c.status) << c.name;
}

TEST(ApsimTypedValue, ReadsAndWritesEveryType) {
    const struct {
        const char* text;
        std::uint8_t type;
        const char* typed; // empty: refused
    } cases[] = {
        {"85", ovtype::integer, "i:85"},
        {"-7", ovtype::integer, "i:-7"},
        {"x", ovtype::integer, ""},
        {"4294967296", ovtype::counter, ""},
        {"12", ovtype::counter, "c:12"},
        {"100", ovtype::timeticks, "t:100"},
        {"10.0.0.1", ovtype::ipaddress, "a:10.0.0.1"},
        {"10.0.0.256", ovtype::ipaddress, ""},
        {"10.0.1", ovtype::ipaddress, ""},
        {"00:0c:41:AA:bb:01", ovtype::macaddress, "x:000C41AABB01"},
        {"0C4", ovtype::macaddress, ""},
        {"Lobby 1", ovtype::displaystr, "s:Lobby 1"},
        {"", ovtype::displaystr, "s:"},
        {"1.3.6.1.4.1", ovtype::objectid, "o:1.3.6.1.4.1"},
        {"s:85", ovtype::integer, "s:85"},
        {"i:85", ovtype::displaystr, "i:85"},
        {"u:7", ovtype::integer, "u:7"},
        {"C:5000000000", ovtype::integer, "C:5000000000"},
        {"x:00FF", ovtype::displaystr, "x:00FF"},
        {"x:414243", ovtype::displaystr, "s:ABC"},
        {"q:1", ovtype::displaystr, "s:q:1"},
    };
    for (const auto& c : cases) {
        if (*c.typed == '\0') {
            EXPECT_THROW(apsim::parseValue(c.text, c.type), std::invalid_argument) << c.text;
            continue;
        }
        EXPECT_EQ(apsim::formatValue(apsim::parseValue(c.text, c.type), c.type), c.typed) << c.text;
    }
}

TEST(ApsimOptions, RefusesBadCommandLinesWithAMessage) {
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{"--bogus"}, "unknown option"},
        {{"--listen", "localhost"}, "ADDR:PORT"},
        {{"--listen", "example:161"}, "IPv4"},
        {{"--listen", "127.0.0.1:70000"}, "PORT"},
        {{"--rows", "dhcpleases"}, "NAME=VALUE"},
        {{"--v3-user", "bob:md5:short"}, "at least 8"},
        {{"--v3-user", "bob:none::aes:longenough"}, "privacy needs authentication"},
        {{"--v3-user", "bob:sha256:longenough"}, "AUTH"},
        {{"--v3-user", "bob smith:none"}, "blanks"},
        {{"--fail", "stLED=20"}, "1 to 19"},
        {{"--drop-percent", "101"}, "0 to 100"},
        {{"--restart-seconds", "-1"}, "0 to 3600"},
        {{"--scan-seconds", "x"}, "--scan-seconds must be 0 to 3600"},
        {{"--air", "1001"}, "0 to 1000"},
        {{"--ro-community", "a\"b"}, "quotes"},
        {{"--set"}, "needs a value"},
        {{"--lan", "198.51.100.1"}, "ADDRESS/PREFIX"},
        {{"--lan", "198.51.100/24"}, "IPv4 address"},
        {{"--lan", "198.51.100.1/25"}, "8 to 24"},
        {{"--lan", "10.1.1.1/7"}, "8 to 24"},
        {{"--lan", "198.51.100.1/x"}, "8 to 24"},
        {{"--lan", "198.51.100.0/24"}, "host address"},
        {{"--lan", "198.51.100.255/24"}, "host address"},
        {{"--lan", "224.0.0.1/24"}, "host address"},
        {{"--lan", "198.51.100.120/24"}, "DHCP pools"},
        {{"--lan", "198.51.100.50/24"}, "DHCP pools"},
        {{"--lan", "198.51.100.254/24"}, "gateway"},
    };
    for (const auto& c : cases) {
        try {
            apsim::parseOptions(c.arguments);
            ADD_FAILURE() << c.arguments[0] << " was accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << c.arguments[0] << ": " << error.what();
        }
    }
}

// docs/apsim.md is the source of the help and the manual page: every option
// the command line takes is in its table, and so in both.
TEST(ApsimOptions, ThePageTheHelpAndTheManualListEveryOption) {
    std::ifstream page(OV_DOCS_DIR "/apsim.md");
    ASSERT_TRUE(page) << "docs/apsim.md";
    std::set<std::string> listed;
    for (std::string line; std::getline(page, line);) {
        if (line.rfind("| `--", 0) == 0)
            listed.insert(line.substr(3, line.find_first_of(" `", 3) - 3));
    }
    const std::string help = apsim::helpText();
    for (const std::string& name : apsim::optionNames()) {
        EXPECT_EQ(listed.count(name), 1u) << name << " is missing in docs/apsim.md's options";
        EXPECT_NE(help.find("  " + name), std::string::npos) << name << " is missing in --help";
    }
    EXPECT_EQ(listed.size(), apsim::optionNames().size()) << "the page lists no other option";
    EXPECT_EQ(help.rfind("Usage: apsim [OPTION]...\n", 0), 0u) << help.substr(0, 80);
    for (const char* table : {"clients", "dhcpleases", "staticpool", "maclist-a", "sitesurvey-g",
                              "rogue", "knownap", "log"})
        EXPECT_NE(help.find("  " + std::string(table) + " "), std::string::npos) << table;
}

TEST(ApsimOptions, MaskKeysIsASwitch) {
    EXPECT_FALSE(apsim::parseOptions({"--rows", "log=1"}).maskKeys);
    const apsim::Options options = apsim::parseOptions({"--mask-keys", "--rows", "log=1"});
    EXPECT_TRUE(options.maskKeys);
    ASSERT_EQ(options.device.rows.size(), 1u) << "the switch takes no value";
}

TEST(ApsimOptions, RefusesStartValuesTheDeviceCannotHold) {
    const struct {
        std::pair<std::string, std::string> value;
        const char* message;
    } cases[] = {
        {{"E.2.7.4.1.1.2", "x:00"}, "table column"},
        {{"E.9.9.0", "5"}, "type prefix"},
        {{"1.3.6.1.9.0", "i:5"}, "below"},
        {{"stLED", "lit"}, "not a 32-bit integer"},
    };
    for (const auto& c : cases) {
        try {
            Device device{DeviceConfig{{}, {c.value}, {}, {}}};
            ADD_FAILURE() << c.value.first << "=" << c.value.second << " was accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

} // namespace

namespace {

// The SSIDs of the rogue AP result table, in index order.
std::vector<std::string> resultSsids(const Device& device) {
    std::vector<std::string> ssids;
    const OvOid column = deviceOid("E.2.10.4.1.4.1.8");
    for (const Device::Entry* e = device.next(column, column); e != nullptr;
         e = device.next(e->first, column))
        ssids.push_back(e->second.value.octets);
    return ssids;
}

std::vector<std::string> named(std::initializer_list<int> networks) {
    std::vector<std::string> ssids;
    for (int n : networks)
        ssids.push_back("Rogue-" + std::to_string(n));
    return ssids;
}

void scan(Device& device, int bssType, int bands, int securities) {
    device.set(deviceOid("E.2.10.1.0"), OvVb::integer(bssType));
    device.set(deviceOid("E.2.10.2.0"), OvVb::integer(bands));
    device.set(deviceOid("E.2.10.3.0"), OvVb::integer(securities));
    device.set(deviceOid("E.2.10.4.1.1.0"), OvVb::integer(1));
}

} // namespace

TEST(ApsimDevice, AScanReportsTheNetworksThatPassItsFilters) {
    const struct {
        const char* name;
        int bssType, bands, securities;
        std::vector<std::string> expected;
    } cases[] = {
        {"everything", 3, 13, 255, named({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})},
        {"bands a and g", 3, 9, 255, named({2, 3, 5, 6, 8, 9, 11, 12, 14, 15})},
        {"access points on b", 1, 4, 255, named({1, 7, 10, 13, 16})},
        {"ad-hoc networks, open or WEP", 2, 13, 3, named({4, 9, 14})},
        {"ad-hoc networks with WEP", 2, 13, 2, named({9})},
        {"open access points", 1, 13, 1, named({8, 16})},
        {"no security type", 3, 13, 0, {}},
        {"no band", 3, 0, 255, {}},
    };
    for (const auto& c : cases) {
        Device device{DeviceConfig{}};
        scan(device, c.bssType, c.bands, c.securities);
        EXPECT_EQ(resultSsids(device), c.expected) << c.name;
        EXPECT_EQ(typedAt(device, "E.2.10.4.1.1.0"), "i:0") << "the trigger reads nothing again";
    }
    DeviceConfig quiet;
    quiet.air = 0;
    Device device{quiet};
    scan(device, 3, 13, 255);
    EXPECT_TRUE(resultSsids(device).empty()) << "nothing in the air";
}

TEST(ApsimDevice, MovesAndRemovesRogueRowsByTheirIndex) {
    Device device{DeviceConfig{}};
    scan(device, 3, 9, 255); // 2, 3, 5, 6, 8 ... as rows 1 to 10
    const OvOid add = deviceOid("E.2.10.4.1.2.0");
    const OvOid deleteResult = deviceOid("E.2.10.4.1.3.0");
    const OvOid deleteKnown = deviceOid("E.2.10.4.2.1.0");
    ASSERT_EQ(device.checkSet(add, OvVb::integer(5)), 0);
    device.set(add, OvVb::integer(5));
    EXPECT_EQ(typedAt(device, "E.2.10.4.2.2.1.8.2"), "s:Rogue-8") << "after the known AP 1";
    EXPECT_EQ(typedAt(device, "E.2.10.4.2.2.1.1.2"), "i:2");
    EXPECT_EQ(typedAt(device, "E.2.10.4.2.2.1.5.2"), "x:000C41720008");
    EXPECT_EQ(typedAt(device, "E.2.10.4.1.4.1.8.5"), "(none)");
    EXPECT_EQ(typedAt(device, "E.2.10.4.1.4.1.8.6"), "s:Rogue-9") << "the others keep theirs";

    device.set(deleteResult, OvVb::integer(6));
    EXPECT_EQ(resultSsids(device), named({2, 3, 5, 6, 11, 12, 14, 15}));
    device.set(deleteKnown, OvVb::integer(1));
    EXPECT_EQ(typedAt(device, "E.2.10.4.2.2.1.8.1"), "(none)");
    EXPECT_EQ(typedAt(device, "E.2.10.4.2.2.1.8.2"), "s:Rogue-8");

    const struct {
        const char* name;
        const OvOid& command;
        int row;
    } refused[] = {
        {"adding a row moved already", add, 5},
        {"adding row 0", add, 0},
        {"deleting a result row deleted already", deleteResult, 6},
        {"deleting a result row past the last", deleteResult, 11},
        {"deleting a known AP deleted already", deleteKnown, 1},
        {"deleting a known AP by a negative index", deleteKnown, -2},
    };
    for (const auto& r : refused)
        EXPECT_EQ(device.checkSet(r.command, OvVb::integer(r.row)), apsim::snmperr::badValue)
            << r.name;
}
