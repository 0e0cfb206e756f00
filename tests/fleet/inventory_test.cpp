// Inventory files line by line: what each line makes of a device's target, and
// the file and line named for each line that cannot be used.
#include "FleetInventory.h"

#include "FleetTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

FleetCredentials commandLineOptions(std::vector<std::string> words) {
    FleetCredentials credentials;
    for (std::size_t at = 0; at < words.size();)
        EXPECT_TRUE(fleet::takeCredentialOption(words, at, credentials)) << words[at];
    return credentials;
}

} // namespace

TEST(FleetInventory, LinesGroupsAndOptionsMakeEachTarget) {
    const std::string text = "# a site\n"
                             "10.0.0.1\n"
                             "10.0.0.2:1161 -c lineread   # a comment\n"
                             "group roof -v 3 -u admin -l authPriv -A authpass1 -X privpass1\n"
                             "ap-roof-1\n"
                             "ap-roof-2 -a SHA -x AES -t 2.5 -r 0\n"
                             "group lobby -v 2c --write-community \"two words\"\n"
                             "\n"
                             "10.0.1.7 -cjoined\n";
    const auto devices =
        fleet::parseInventory(text, "site.txt", commandLineOptions({"-c", "everywhere"}));
    const struct {
        const char* name;
        const char* group;
        const char* address;
        int port;
        int version;
        const char* read;
        const char* write;
        const char* user;
        int level, auth, priv, timeout, retries;
    } expected[] = {
        {"10.0.0.1", "", "10.0.0.1", 161, 0, "everywhere", "trondax", "", 1, 1, 1, 100, 1},
        {"10.0.0.2:1161", "", "10.0.0.2", 1161, 0, "lineread", "trondax", "", 1, 1, 1, 100, 1},
        {"ap-roof-1", "roof", "ap-roof-1", 161, 3, "everywhere", "trondax", "admin", 3, 2, 2, 100,
         1},
        {"ap-roof-2", "roof", "ap-roof-2", 161, 3, "everywhere", "trondax", "admin", 3, 3, 4, 250,
         0},
        {"10.0.1.7", "lobby", "10.0.1.7", 161, 1, "joined", "two words", "", 1, 1, 1, 100, 1},
    };
    ASSERT_EQ(devices.size(), std::size(expected));
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const auto& d = devices[i];
        const auto& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(d.name, e.name);
        EXPECT_EQ(d.group, e.group);
        EXPECT_EQ(d.target.agentAddress, e.address);
        EXPECT_EQ(d.target.agentPort, e.port);
        EXPECT_EQ(d.target.version, e.version);
        EXPECT_EQ(d.target.securityModel, e.version == 3 ? 3 : e.version + 1);
        EXPECT_EQ(d.target.readCommunity, e.read);
        EXPECT_EQ(d.target.writeCommunity, e.write);
        EXPECT_EQ(d.target.securityName, e.user);
        EXPECT_EQ(d.target.securityLevel, e.level);
        EXPECT_EQ(d.target.authProtocol, e.auth);
        EXPECT_EQ(d.target.privProtocol, e.priv);
        EXPECT_EQ(d.target.timeout, e.timeout);
        EXPECT_EQ(d.target.retries, e.retries);
    }
}

TEST(FleetInventory, ABadLineNamesItsFileAndLine) {
    const struct {
        const char* what;
        const char* text;
        const char* message;
    } cases[] = {
        {"unknown option", "10.0.0.1\n10.0.0.2 -q x\n",
         "site.txt:2: \"-q\" is not a credential option"},
        {"option without value", "10.0.0.1 -c\n", "site.txt:1: -c needs a value"},
        {"bad version", "\n\n10.0.0.1 -v 4\n", "site.txt:3: -v takes 1, 2c or 3, not \"4\""},
        {"bad level", "10.0.0.1 -v 3 -u a -l high\n",
         "site.txt:1: -l takes noAuthNoPriv, authNoPriv or authPriv, not \"high\""},
        {"bad time-out", "10.0.0.1 -t 0\n",
         "site.txt:1: -t takes seconds from 0.01 to 600, not \"0\""},
        {"port out of range", "10.0.0.1:70000\n",
         "site.txt:1: \"10.0.0.1:70000\" is no address or host name"},
        {"not an address", "10.0.0.1/24\n",
         "site.txt:1: \"10.0.0.1/24\" is no address or host name"},
        {"group without name", "group\n", "site.txt:1: \"group\" needs a name"},
        {"open quotation mark", "10.0.0.1 -c \"public\n",
         "site.txt:1: a quotation mark is not closed"},
        {"v3 without user", "group g -v 3\n# fine so far\n10.0.0.1\n",
         "site.txt:3: SNMPv3 needs a user (-u)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fleettest::usageErrorOf([&] { fleet::parseInventory(c.text, "site.txt", {}); }),
                  c.message)
            << c.what;
    }
}

TEST(FleetInventory, OnlyAndGroupNarrowTheSite) {
    const auto devices = fleet::parseInventory(
        "10.0.0.1\n10.0.0.2\ngroup lobby\nap-1\nap-2:1161\ngroup roof\nap-3\n", "f", {});
    const struct {
        const char* pattern;
        const char* group;
        std::vector<std::string> names;
    } cases[] = {
        {"", "", {"10.0.0.1", "10.0.0.2", "ap-1", "ap-2:1161", "ap-3"}},
        {"10.0.0.*", "", {"10.0.0.1", "10.0.0.2"}},
        {"ap-2", "", {"ap-2:1161"}}, // by its address too
        {"", "lobby", {"ap-1", "ap-2:1161"}},
        {"ap-[13]", "lobby", {"ap-1"}},
        {"", "cellar", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names;
        for (const auto& d : fleet::selectDevices(devices, c.pattern, c.group))
            names.push_back(d.name);
        EXPECT_EQ(names, c.names) << c.pattern << " " << c.group;
    }
}

TEST(FleetInventory, ProfilesAreReadAsTheModuleReadsThem) {
    const std::string folder = ::testing::TempDir() + "fleet-profiles/";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "10.0.0.9.cfg")
        << "[Program Information]\nAgentPort=16161\nVersion=3\nSecurityModel=3\n"
           "SecurityLevel=2\nSecurityName=admin\nAuthProtocol=2\nPrivProtocol=0\n"
           "AuthPassword=authpass1\n";
    std::ofstream(folder + "10.0.0.8.cfg")
        << "[Program Information]\nAgentPort=1161\nVersion=1\nSecurityModel=2\n"
           "SecurityLevel=0\nAuthProtocol=0\nPrivProtocol=0\n";
    std::ofstream(folder + "notes.txt") << "not a profile\n";
    const auto devices = fleet::profileInventory(folder, commandLineOptions({"-c", "public"}));
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].name, "10.0.0.8");
    EXPECT_EQ(devices[0].target.agentPort, 1161);
    EXPECT_EQ(devices[0].target.version, 1);
    EXPECT_EQ(devices[0].target.readCommunity, "public");
    EXPECT_EQ(devices[1].target.version, 3);
    EXPECT_EQ(devices[1].target.securityLevel, 3); // the station's codes are zero-based
    EXPECT_EQ(devices[1].target.securityName, "admin");
    EXPECT_EQ(devices[1].target.authProtocol, 3);
    EXPECT_EQ(devices[1].target.authPassword, "authpass1");

    std::ofstream(folder + "10.0.0.7.cfg") << "[Program Information]\nAgentPort=x\n";
    EXPECT_EQ(fleettest::usageErrorOf([&] { fleet::profileInventory(folder, {}); }),
              folder + "10.0.0.7.cfg: 'x' is not a valid integer value");
    std::filesystem::remove_all(folder);
}
