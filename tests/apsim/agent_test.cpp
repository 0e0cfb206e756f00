// apsim speaks real SNMP: net-snmp's command-line tools, an independent client,
// read, write and walk it over SNMPv1, v2c and v3, and see its faults.
#include "ApsimFixture.h"
#include "SnmpTools.h"

#include <gtest/gtest.h>

using ovtest::Apsim;
using ovtest::credentials;
using ovtest::expandOid;
using ovtest::join;
using ovtest::linesBelow;
using ovtest::runAgainst;
using ovtest::runTool;
using ovtest::toolLine;
using ovtest::ToolRun;

namespace {

ToolRun get(const Apsim& device, const std::string& client, const std::vector<std::string>& oids,
            const std::string& timeout = "2") {
    std::vector<std::string> expanded;
    for (const std::string& oid : oids)
        expanded.push_back(expandOid(oid));
    return runAgainst(device, "snmpget", client, expanded, timeout);
}

ToolRun set(const Apsim& device, const std::string& client, const std::string& oid,
            const std::string& type, const std::string& value, const std::string& timeout = "2") {
    return runAgainst(device, "snmpset", client, {expandOid(oid), type, value}, timeout);
}

TEST(ApsimAgent, ServesValuesOfEveryTypeToEveryVersion) {
    const struct {
        const char* what;
        const char* oid;
        const char* value;
    } values[] = {
        {"LED state 0x55", "E.4.4.0", "INTEGER: 85"},
        {"system object", "1.3.6.1.2.1.1.2.0", "OID: .1.3.6.1.4.1.48213.10.37.14"},
        {"firmware version", "E.4.1.1.1.0", "STRING: \"v1.2.07\""},
        {"802.11a channel list", "E.1.1.1.4.1", "STRING: \"36 40 44 48\""},
        {"802.11g channel list", "E.1.1.1.4.2", "STRING: \"1 2 3 4 5 6 7 8 9 10 11\""},
        {"IP address", "E.1.2.2.0", "IpAddress: 127.1.1.1"},
        {"MAC address", "E.4.1.1.2.0", "Hex-STRING: 00 0C 41 12 34 56"},
        {"frame counter", "E.4.3.1.1.7.1", "Counter32: 284113"},
        {"free MAC list slot", "E.2.4.2.1.2.1.16", "Hex-STRING: 00 00 00 00 00 00"},
        {"free static pool slot", "E.2.7.3.1.2.8", "IpAddress: 0.0.0.0"},
        {"client on the 802.11g radio", "E.4.5.2.1.3.2.1", "INTEGER: 2"},
        {"uptime", "1.3.6.1.2.1.1.3.0", "Timeticks: ("},
    };
    std::vector<std::string> oids;
    for (const auto& v : values)
        oids.push_back(v.oid);
    const Apsim device(ovtest::v3Users());
    ASSERT_TRUE(device.isRunning()) << device.error();
    for (const char* client : {"v1", "v2c", "v3-md5", "v3-aes"}) {
        const ToolRun run = get(device, client, oids);
        for (const auto& v : values)
            EXPECT_TRUE(run.contains(toolLine(v.oid, v.value))) << client << ", " << v.what << ":\n"
                                                                << run.output;
    }
    const auto requests = device.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].version, "v1");
    EXPECT_EQ(requests[0].principal, "mulvek");
    EXPECT_EQ(requests[3].version, "v3");
    EXPECT_EQ(requests[3].principal, "saes");
    EXPECT_EQ(requests[3].oids.size(), oids.size());
}

TEST(ApsimAgent, WalksTablesInOrderWithTheRowsAsked) {
    const struct {
        const char* what;
        const char* tool;
        const char* oid;
        int rows;
        const char* first; // empty: no check
        const char* last;
    } cases[] = {
        {"DHCP lease MACs", "snmpwalk", "E.2.7.4.1.1.2", 40, "E.2.7.4.1.1.2.1", "E.2.7.4.1.1.2.40"},
        {"whole lease table, bulk", "snmpbulkwalk", "E.2.7.4.1", 160, "E.2.7.4.1.1.1.1",
         "E.2.7.4.1.1.4.40"},
        {"empty log table", "snmpwalk", "E.2.11.12.1", 0, "", ""},
        {"client MACs, band then index", "snmpwalk", "E.4.5.2.1.2", 3, "E.4.5.2.1.2.1.1",
         "E.4.5.2.1.2.2.1"},
        {"system group", "snmpwalk", "1.3.6.1.2.1.1", 6, "1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.6.0"},
    };
    const Apsim device({"--rows", "dhcpleases=40", "--set", "DynamicGet=1", "--rows", "log=0",
                        "--rows", "clients-a=2", "--rows", "clients-g=1"});
    ASSERT_TRUE(device.isRunning()) << device.error();
    for (const auto& c : cases) {
        const ToolRun run = runAgainst(device, c.tool, "v2c", {expandOid(c.oid)});
        EXPECT_EQ(linesBelow(run, c.oid), c.rows) << c.what << ":\n" << run.output;
        EXPECT_FALSE(run.contains("Error")) << c.what << ":\n" << run.output;
        if (*c.first == '\0')
            continue;
        EXPECT_EQ(run.output.find("." + expandOid(c.first) + " = "), 0u) << c.what;
        EXPECT_TRUE(run.contains("." + expandOid(c.last) + " = ")) << c.what;
    }
}

TEST(ApsimAgent, KeepsWhatASetWritesAndRecordsIt) {
    const struct {
        const char* client;
        const char* principal;
        const char* oid;
        const char* type;
        const char* value;
        const char* shown;
        const char* stored;
    } cases[] = {
        {"v2c-rw", "trondax", "E.1.1.1.1.2", "s", "Lobby", "STRING: \"Lobby\"", "s:Lobby"},
        {"v1-rw", "trondax", "E.1.2.2.0", "a", "10.1.2.3", "IpAddress: 10.1.2.3", "a:10.1.2.3"},
        {"v3-aes", "saes", "E.2.4.2.1.2.1.5", "x", "0011AABBCCDD", "Hex-STRING: 00 11 AA BB CC DD",
         "x:0011AABBCCDD"},
        {"v3-md5", "amd5", "1.3.6.1.2.1.1.5.0", "s", "ap-7", "STRING: \"ap-7\"", "s:ap-7"},
        {"v2c-rw", "trondax", "E.2.7.3.1.9.3", "i", "1", "INTEGER: 1", "i:1"},
    };
    const Apsim device(ovtest::v3Users());
    ASSERT_TRUE(device.isRunning()) << device.error();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.client) + " " + c.oid);
        const ToolRun answer = set(device, c.client, c.oid, c.type, c.value);
        EXPECT_TRUE(answer.contains(toolLine(c.oid, c.shown))) << answer.output;
        const ToolRun reread = get(device, "v2c", {c.oid});
        EXPECT_TRUE(reread.contains(toolLine(c.oid, c.shown))) << reread.output;
        ASSERT_TRUE(device.stateValue(c.oid).has_value());
        EXPECT_EQ(*device.stateValue(c.oid), ovtest::ApsimValue::parse(c.stored));
        const auto requests = device.requests();
        ASSERT_GE(requests.size(), 2u);
        const ovtest::ApsimRequest& logged = requests[requests.size() - 2];
        EXPECT_EQ(logged.operation, "SET");
        EXPECT_EQ(logged.principal, c.principal);
        EXPECT_EQ(logged.outcome, "answered");
        ASSERT_EQ(logged.oids.size(), 1u);
        EXPECT_EQ(logged.oids[0], expandOid(c.oid));
        ASSERT_EQ(logged.values.size(), 1u);
        EXPECT_EQ(logged.values[0], ovtest::ApsimValue::parse(c.stored));
    }
}

TEST(ApsimAgent, RefusesBadSetsWithTheStatusOfEachVersion) {
    const struct {
        const char* what;
        const char* client;
        const char* oid;
        const char* type;
        const char* value;
        const char* reason;
    } cases[] = {
        {"read-only variable", "v1-rw", "E.4.4.0", "i", "3", "(noSuchName)"},
        {"read-only variable", "v2c-rw", "E.4.4.0", "i", "3", "notWritable"},
        {"read-only variable", "v3-aes", "E.4.4.0", "i", "3", "notWritable"},
        {"wrong type", "v1-rw", "E.1.1.1.1.2", "i", "3", "(badValue)"},
        {"wrong type", "v2c-rw", "E.1.1.1.1.2", "i", "3", "wrongType"},
        {"value outside the options", "v1-rw", "E.2.1.1.1.1", "i", "9", "(badValue)"},
        {"value outside the options", "v2c-rw", "E.2.1.1.1.1", "i", "9", "wrongValue"},
        {"short MAC address", "v2c-rw", "E.2.4.2.1.2.1.1", "x", "0011", "wrongLength"},
        {"row that does not exist", "v2c-rw", "E.2.7.3.1.2.99", "a", "1.2.3.4", "noCreation"},
        {"read community", "v2c", "E.1.1.1.1.2", "s", "x", "noAccess"},
        {"read community", "v1", "E.1.1.1.1.2", "s", "x", "(noSuchName)"},
    };
    const Apsim device(ovtest::v3Users());
    ASSERT_TRUE(device.isRunning()) << device.error();
    const auto before = device.state();
    for (const auto& c : cases) {
        const ToolRun run = set(device, c.client, c.oid, c.type, c.value);
        EXPECT_TRUE(run.contains("Reason: " + std::string(c.reason)))
            << c.what << " with " << c.client << ":\n"
            << run.output;
    }
    EXPECT_EQ(device.state(), before) << "a refused set changed the device";
}

TEST(ApsimAgent, GivesNoAnswerToAWrongCommunity) {
    const Apsim device;
    ASSERT_TRUE(device.isRunning()) << device.error();
    const ToolRun run = runTool("snmpget", {"-v2c", "-c", "nobody", "-t", "0.3", "-r", "0", "-On",
                                            device.peer(), "1.3.6.1.2.1.1.5.0"});
    EXPECT_TRUE(run.contains("Timeout")) << run.output;
    ASSERT_EQ(device.requests().size(), 1u);
    EXPECT_EQ(device.requests()[0].principal, "nobody");
    EXPECT_EQ(device.requests()[0].outcome, "silent");
}

// Each case runs its own device with the option under test.
TEST(ApsimAgent, MisbehavesAsItsOptionsSay) {
    const struct {
        const char* what;
        std::vector<std::string> options;
        const char* tool;
        const char* client;
        std::vector<std::string> rest;
        const char* timeout;
        const char* output;
        const char* outcome;
    } cases[] = {
        {"absent variable, SNMPv1",
         {"--absent", "stLED"},
         "snmpget",
         "v1",
         {"E.4.4.0"},
         "2",
         "(noSuchName)",
         "answered"},
        {"absent variable, SNMPv2c",
         {"--absent", "stLED"},
         "snmpget",
         "v2c",
         {"E.4.4.0"},
         "2",
         "No Such Object",
         "answered"},
        {"absent column, SNMPv3",
         {"--absent", "E.2.7.4.1.1.2"},
         "snmpget",
         "v3-md5",
         {"E.2.7.4.1.1.2.1"},
         "2",
         "No Such Object",
         "answered"},
        {"forced genErr",
         {"--fail", "E.4.6.1.0=genErr"},
         "snmpget",
         "v2c",
         {"E.4.6.1.0"},
         "2",
         "(genError)",
         "failed:5"},
        {"forced status 19, SNMPv1",
         {"--fail", "E.4.6.1.0=19"},
         "snmpget",
         "v1",
         {"E.4.6.1.0"},
         "2",
         "Failed object: .1.3.6.1.4.1.48213.10.37.14.4.6.1.0",
         "failed:19"},
        {"forced status on a walked column",
         {"--fail", "E.2.7.4.1.1.2=notWritable"},
         "snmpgetnext",
         "v2c",
         {"E.2.7.4.1.1.2.1"},
         "2",
         "notWritable",
         "failed:17"},
        {"tooBig",
         {"--too-big", "stLED"},
         "snmpget",
         "v2c",
         {"E.4.4.0"},
         "2",
         "(tooBig)",
         "toobig"},
        {"too many bindings",
         {"--max-varbinds", "2"},
         "snmpget",
         "v2c",
         {"E.4.4.0", "E.4.6.1.0", "E.1.2.2.0"},
         "2",
         "(tooBig)",
         "toobig"},
        {"wrongly typed start value",
         {"--set", "stLED=s:85"},
         "snmpget",
         "v2c",
         {"E.4.4.0"},
         "2",
         "= STRING: \"85\"",
         "answered"},
        {"row answered without its index",
         {"--answer-oid", "E.2.7.4.1.1.2.1=E.2.7.4.1.1.2", "--set", "DynamicGet=1"},
         "snmpgetnext",
         "v2c",
         {"E.2.7.4.1.1.2"},
         "2",
         ".1.3.6.1.4.1.48213.10.37.14.2.7.4.1.1.2 = Hex-STRING: 00 0C 41 24 00 01",
         "answered"},
        {"every request dropped",
         {"--drop-percent", "100"},
         "snmpget",
         "v2c",
         {"E.4.4.0"},
         "0.3",
         "Timeout",
         "dropped"},
        {"every answer held past the time-out",
         {"--delay-ms", "1500"},
         "snmpget",
         "v2c",
         {"E.4.4.0"},
         "0.3",
         "Timeout",
         "answered"},
        {"answer held past the time-out",
         {"--delay-var", "E.4.6.1.0=1500"},
         "snmpget",
         "v2c",
         {"E.4.6.1.0"},
         "0.3",
         "Timeout",
         "answered"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Apsim device(join(c.options, ovtest::v3Users()));
        ASSERT_TRUE(device.isRunning()) << device.error();
        std::vector<std::string> rest;
        for (const std::string& oid : c.rest)
            rest.push_back(expandOid(oid));
        const ToolRun run = runAgainst(device, c.tool, c.client, rest, c.timeout);
        EXPECT_TRUE(run.contains(c.output)) << run.output;
        ASSERT_EQ(device.requests().size(), 1u);
        EXPECT_EQ(device.requests()[0].outcome, c.outcome);
    }
}

TEST(ApsimAgent, IgnoresTheFirstSetsOfADroppedVariable) {
    const Apsim device({"--drop-set", "hIPAddress=1"});
    ASSERT_TRUE(device.isRunning()) << device.error();
    const ToolRun dropped = set(device, "v2c-rw", "E.1.2.2.0", "a", "10.9.9.9", "0.3");
    EXPECT_TRUE(dropped.contains("Timeout")) << dropped.output;
    EXPECT_EQ(device.stateValue("E.1.2.2.0")->text, "127.1.1.1");
    const ToolRun applied = set(device, "v2c-rw", "E.1.2.2.0", "a", "10.9.9.9");
    EXPECT_TRUE(applied.contains("IpAddress: 10.9.9.9")) << applied.output;
    EXPECT_EQ(device.stateValue("E.1.2.2.0")->text, "10.9.9.9");
    const auto requests = device.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].outcome, "dropset");
    EXPECT_EQ(requests[1].outcome, "answered");
}

TEST(ApsimAgent, RefusesTheSetsOfAFailedSetVariableAndAnswersItsGets) {
    const Apsim device({"--fail-set", "hIPAddress=wrongValue"});
    ASSERT_TRUE(device.isRunning()) << device.error();
    const ToolRun read = get(device, "v2c", {"E.1.2.2.0"});
    EXPECT_TRUE(read.contains("IpAddress: 127.1.1.1")) << read.output;
    const ToolRun refused = set(device, "v2c-rw", "E.1.2.2.0", "a", "10.9.9.9");
    EXPECT_TRUE(refused.contains("wrongValue")) << refused.output;
    EXPECT_EQ(device.stateValue("E.1.2.2.0")->text, "127.1.1.1");
    const auto requests = device.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].outcome, "answered");
    EXPECT_EQ(requests[1].outcome, "failed:10");
}

TEST(ApsimAgent, FallsSilentWhileRestartingAndComesBackWithBootsAdvanced) {
    const Apsim device(join({"--restart-seconds", "2"}, ovtest::v3Users()));
    ASSERT_TRUE(device.isRunning()) << device.error();
    EXPECT_EQ(device.stateFact("engineBoots"), 1);
    EXPECT_TRUE(get(device, "v3-aes", {"1.3.6.1.2.1.1.5.0"}).contains("STRING:"));

    const ToolRun restart = set(device, "v2c-rw", "E.3.2.1.0", "i", "1");
    EXPECT_TRUE(restart.contains(toolLine("E.3.2.1.0", "INTEGER: 1"))) << restart.output;
    ASSERT_TRUE(Apsim::waitUntil([&] { return device.stateFact("restarting") == 1; }));
    const ToolRun silent = get(device, "v2c", {"E.4.4.0"}, "0.3");
    ASSERT_EQ(device.stateFact("restarting"), 1) << "restart ended before the check";
    EXPECT_TRUE(silent.contains("Timeout")) << silent.output;
    EXPECT_EQ(device.requests().back().outcome, "down");

    ASSERT_TRUE(device.waitForRestart(1));
    EXPECT_EQ(device.stateFact("engineBoots"), 2);
    const ToolRun back = get(device, "v3-aes", {"E.3.2.1.0"});
    EXPECT_TRUE(back.contains(toolLine("E.3.2.1.0", "INTEGER: 0"))) << back.output;
}

TEST(ApsimAgent, FactoryDefaultRestoresTheStartValues) {
    const Apsim device({"--restart-seconds", "0.2", "--set", "sysName=Start"});
    ASSERT_TRUE(device.isRunning()) << device.error();
    set(device, "v2c-rw", "1.3.6.1.2.1.1.5.0", "s", "Changed");
    set(device, "v2c-rw", "E.1.1.1.1.1", "s", "Lobby");
    EXPECT_EQ(device.stateValue("1.3.6.1.2.1.1.5.0")->text, "Changed");
    const ToolRun reset = set(device, "v2c-rw", "E.3.2.2.0", "i", "1");
    EXPECT_TRUE(reset.contains(toolLine("E.3.2.2.0", "INTEGER: 1"))) << reset.output;
    ASSERT_TRUE(device.waitForRestart(1));
    const ToolRun after = get(device, "v2c", {"1.3.6.1.2.1.1.5.0", "E.1.1.1.1.1", "E.3.2.2.0"});
    EXPECT_TRUE(after.contains(toolLine("1.3.6.1.2.1.1.5.0", "STRING: \"Start\""))) << after.output;
    EXPECT_TRUE(after.contains(toolLine("E.1.1.1.1.1", "STRING: \"ORW3300-A\""))) << after.output;
    EXPECT_TRUE(after.contains(toolLine("E.3.2.2.0", "INTEGER: 0"))) << after.output;
}

TEST(ApsimAgent, RefusesABadCommandLineWithAMessage) {
    const Apsim device({"--rows", "nosuchtable=3"});
    EXPECT_FALSE(device.isRunning());
    EXPECT_NE(device.error().find("nosuchtable"), std::string::npos) << device.error();
}

} // namespace
