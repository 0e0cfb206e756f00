// apsim as a whole site (--devices): each device on its own address with its
// own values, engine ID, MAC address, log and state, as net-snmp's tools see
// them; --for gives single devices their own faults; a site starts whole or
// not at all.
#include "ApsimFixture.h"
#include "Options.h"
#include "SnmpTools.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

using ovtest::Apsim;
using ovtest::runAgainst;
using ovtest::toolLine;
using ovtest::ToolRun;

namespace {

std::string engineIdOf(const Apsim& site, int device) {
    std::ifstream file(site.statePath(device));
    std::string line;
    while (std::getline(file, line))
        if (line.rfind("#engineId\t", 0) == 0)
            return line.substr(10);
    return {};
}

TEST(ApsimSite, EachDeviceHasItsOwnAddressValuesEngineAndFiles) {
    const Apsim site(ovtest::v3Users(), 3);
    ASSERT_TRUE(site.isRunning()) << site.error();
    ASSERT_EQ(site.devices(), 3);
    for (int k = 1; k <= 3; ++k) {
        const ToolRun set = runAgainst(site.peer(k), "snmpset", "v2c-rw",
                                       {"1.3.6.1.2.1.1.5.0", "s", "ap-" + std::to_string(k)});
        ASSERT_EQ(set.exitCode, 0) << set.output;
    }
    std::set<std::string> engineIds;
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("device " + std::to_string(k));
        EXPECT_EQ(site.address(k), "127.0.1." + std::to_string(k));
        // SNMPv3 too: each device is an engine of its own.
        const ToolRun read =
            runAgainst(site.peer(k), "snmpget", "v3-aes", {"1.3.6.1.2.1.1.5.0", "E.4.1.1.2.0"});
        EXPECT_TRUE(read.contains(
            toolLine("1.3.6.1.2.1.1.5.0", "STRING: \"ap-" + std::to_string(k) + "\"")))
            << read.output;
        EXPECT_TRUE(read.contains("00 0C 41 12 34 5" + std::to_string(5 + k))) << read.output;
        EXPECT_EQ(site.stateValue("1.3.6.1.2.1.1.5.0", k)->text, "ap-" + std::to_string(k));
        // Its own log: its SET and its GET, nothing of the others.
        ASSERT_EQ(site.requests(k).size(), 2u);
        EXPECT_EQ(site.requests(k)[0].values[0].text, "ap-" + std::to_string(k));
        engineIds.insert(engineIdOf(site, k));
    }
    EXPECT_EQ(engineIds.size(), 3u);
    EXPECT_FALSE(engineIds.count(""));
}

TEST(ApsimSite, ForGivesSingleDevicesTheirOwnFaults) {
    const Apsim site({"--for", "2", "--drop-percent=100", "--for", "3", "--fail-set",
                      "sysName=genErr", "--for", "4-5", "--ro-community", "other"},
                     5);
    ASSERT_TRUE(site.isRunning()) << site.error();
    struct Case {
        int device;
        const char* client;
        const char* expected; // in the tool's output
    };
    const Case cases[] = {
        {1, "v2c-rw", "STRING: \"renamed\""},
        {2, "v2c-rw", "Timeout"},
        {3, "v2c-rw", "genError"},
        {4, "v2c", "Timeout"},
        {5, "v2c", "Timeout"},
        {5, "v2c-rw", "STRING: \"renamed\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("device " + std::to_string(c.device) + " " + c.client);
        const ToolRun run =
            std::string(c.client) == "v2c"
                ? runAgainst(site.peer(c.device), "snmpget", c.client, {"1.3.6.1.2.1.1.5.0"}, "1")
                : runAgainst(site.peer(c.device), "snmpset", c.client,
                             {"1.3.6.1.2.1.1.5.0", "s", "renamed"}, "1");
        EXPECT_TRUE(run.contains(c.expected)) << run.output;
    }
    EXPECT_EQ(site.requests(2).back().outcome, "dropped");
}

TEST(ApsimSite, ASiteWithATakenAddressDoesNotStart) {
    const Apsim taken({"--listen", "127.0.1.2:0"});
    ASSERT_TRUE(taken.isRunning()) << taken.error();
    const std::string port = std::to_string(taken.port());
    const Apsim site({"--listen", "127.0.1.1:" + port}, 3);
    EXPECT_FALSE(site.isRunning());
    EXPECT_NE(site.output().find("127.0.1.2"), std::string::npos) << site.output();
    // Device 1 had started: it went with the site.
    const ToolRun first =
        runAgainst("udp:127.0.1.1:" + port, "snmpget", "v2c", {"1.3.6.1.2.1.1.5.0"}, "1");
    EXPECT_TRUE(first.contains("Timeout")) << first.output;
}

TEST(ApsimSite, SiteOptionsCountUpPerDevice) {
    const auto site = apsim::siteOptions(apsim::parseOptions({"--devices",   "3",
                                                              "--listen",    "127.0.1.254:161",
                                                              "--engine-id", "8000BC5505AABB00FE",
                                                              "--seed",      "7",
                                                              "--log",       "/x/log",
                                                              "--state-dir", "/x/agent",
                                                              "--delay-ms",  "5",
                                                              "--for",       "2-3",
                                                              "--delay-ms",  "9",
                                                              "--for",       "3",
                                                              "--set",       "sysName=c"}));
    ASSERT_EQ(site.size(), 3u);
    const char* addresses[] = {"127.0.1.254", "127.0.1.255", "127.0.2.0"};
    const char* engines[] = {"8000BC5505AABB00FE", "8000BC5505AABB00FF", "8000BC5505AABB0100"};
    const int delays[] = {5, 9, 9};
    for (std::size_t i = 0; i < site.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(site[i].address, addresses[i]);
        EXPECT_EQ(site[i].engineId, engines[i]);
        EXPECT_EQ(site[i].seed, 7u + i);
        EXPECT_EQ(site[i].logFile, std::string("/x/log.") + addresses[i]);
        EXPECT_EQ(site[i].stateDir, std::string("/x/agent/") + addresses[i]);
        EXPECT_EQ(site[i].delayMs, delays[i]);
        EXPECT_EQ(site[i].device.values.size(), i == 2 ? 1u : 0u);
    }
}

TEST(ApsimSite, BadSiteOptionsAreRefusedWithAMessage) {
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"--devices", "0"}, "--devices must be a number from 1 to 1000"},
        {{"--devices", "1001"}, "--devices must be"},
        {{"--devices", "2", "--for", "3", "--delay-ms", "5"}, "the site has 2 device(s)"},
        {{"--devices", "3", "--for", "3-2", "--delay-ms", "5"}, "--for L must be"},
        {{"--devices", "2", "--for", "x", "--delay-ms", "5"}, "--for K must be"},
        {{"--devices", "2", "--for", "1"}, "needs an option after it"},
        {{"--devices", "2", "--for", "1", "--listen", "127.0.0.1:1"}, "for the whole site"},
        {{"--devices", "2", "--for", "1", "--log=x"}, "for the whole site"},
        {{"--devices", "2", "--for", "1", "--bogus", "1"}, "unknown option \"--bogus\""},
        {{"--devices", "2", "--for", "1", "--delay-ms"}, "--delay-ms needs a value"},
        {{"--devices", "2", "--for", "1", "--delay-ms", "x"}, "--delay-ms must be"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            apsim::parseOptions(c.arguments);
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(apsim::parseOptions({"--for", "1", "--delay-ms", "7"}).delayMs, 7)
        << "a lone device takes its --for options";
    const auto past = apsim::parseOptions({"--devices", "3", "--listen", "255.255.255.254:1"});
    EXPECT_THROW(apsim::siteOptions(past), std::invalid_argument);
}

} // namespace
