// The request engine against the simulated access point on loopback.
#include "ApsimFixture.h"
#include "DeviceMib.h"
#include "OvException.h"
#include "OvSNMPRequest.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {

const char* const E = "1.3.6.1.4.1.48213.10.37.14";

const OvSNMPVarRow kSystemGroup[] = {
    {"1.3.6.1.2.1.1.5", "sysName", ovtype::displaystr, ovaccess::readwrite},
    {"1.3.6.1.2.1.1.3", "sysUpTime", ovtype::timeticks, ovaccess::readonly},
    {"1.3.6.1.2.1.1.4", "sysContact", ovtype::displaystr, ovaccess::readwrite},
    {"1.3.6.1.2.1.1.6", "sysLocation", ovtype::displaystr, ovaccess::readwrite},
    {}};

const std::vector<std::string> kUsers = {"--v3-user", "plain:none",
                                         "--v3-user", "amd5:md5:authpass1",
                                         "--v3-user", "mdes:md5:authpass1:des:privpass1",
                                         "--v3-user", "saes:sha:authpass1:aes:privpass1"};

struct Credentials {
    const char* name;
    int version;
    int level;
    const char* user;
    int auth;
    const char* authPass;
    int priv;
    const char* privPass;
};

const Credentials kV1{"SNMPv1", 0, 1, "", 1, "", 1, ""};
const Credentials kV2c{"SNMPv2c", 1, 1, "", 1, "", 1, ""};
const Credentials kCredentials[] = {
    kV1,
    kV2c,
    {"SNMPv3 noAuthNoPriv", 3, 1, "plain", 1, "", 1, ""},
    {"SNMPv3 authNoPriv MD5", 3, 2, "amd5", 2, "authpass1", 1, ""},
    {"SNMPv3 authPriv MD5 DES", 3, 3, "mdes", 2, "authpass1", 2, "privpass1"},
    {"SNMPv3 authPriv SHA AES-128", 3, 3, "saes", 3, "authpass1", 4, "privpass1"},
};

std::unique_ptr<OvSNMPRequest> makeRequest(const ovtest::Apsim& agent, const Credentials& c,
                                           const OvSNMPVarRow* rows = kSystemGroup,
                                           OvListMode mode = SVT_SV, int keys = 0) {
    auto r = std::make_unique<OvSNMPRequest>();
    r->agentPort = agent.port();
    r->version = static_cast<std::uint8_t>(c.version);
    r->securityModel = c.version == 3 ? 3 : c.version + 1;
    r->securityLevel = c.level;
    r->securityName = c.user;
    r->authProtocol = c.auth;
    r->authPassword = c.authPass;
    r->privProtocol = c.priv;
    r->privPassword = c.privPass;
    r->varList = OvSNMPVarList(rows, mode, keys);
    return r;
}

struct Async {
    std::vector<OvSNMPError> results;
    OvSNMPRequest::Completion completion() {
        return [this](void*, const OvSNMPError& e, OvSNMPVarList&) { results.push_back(e); };
    }
    bool wait(std::size_t count = 1) {
        return snmptest::waitFor([&] { return results.size() >= count; });
    }
};

TEST(RequestAgent, ReadsAndWritesWithEveryVersionAndSecurityLevel) {
    snmptest::setUpEngine();
    ovtest::Apsim agent(kUsers);
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    for (const Credentials& c : kCredentials) {
        auto request = makeRequest(agent, c);
        std::int32_t failure = 0;
        request->resultHook = [&](const OvSNMPError& e) { failure = e.code; };
        const auto read = request->ReadSync(true);
        EXPECT_TRUE(read.ok) << c.name << " " << failure;
        EXPECT_FALSE(read.moreRows) << c.name;
        EXPECT_EQ(request->varList.Item(0).value, "ORW-3300AP") << c.name;
        EXPECT_NE(request->varList.Item(1).value, "(NULL)") << c.name;

        const std::vector<std::string> values = {std::string("contact of ") + c.name};
        EXPECT_TRUE(request->WriteSync(true, "2", &values).ok) << c.name << " " << failure;
        EXPECT_EQ(request->varList.Item(2).value, values[0]) << c.name << ": read back";

        Async async;
        request->ReadAsync(async.completion(), nullptr, true);
        ASSERT_TRUE(async.wait()) << c.name;
        EXPECT_EQ(async.results[0].code, 0) << c.name << " " << async.results[0].message;
        EXPECT_TRUE(async.results[0].done) << c.name;
        EXPECT_EQ(request->varList.Item(2).value, values[0]) << c.name;
        EXPECT_EQ(request->pendingCount(), 0) << c.name;
    }
}

TEST(RequestAgent, SetsSendOnlyThePositionsWithTheirValues) {
    snmptest::setUpEngine();
    ovtest::Apsim agent;
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    auto request = makeRequest(agent, kV2c);
    request->varList.Item(0).value = "name";
    request->varList.Item(2).value = "contact";
    request->varList.Item(3).value = "location";
    request->varList.SetInvalid(3, true);
    const std::vector<std::string> values = {"a", "b"};
    ASSERT_TRUE(request->WriteSync(false, "0,2", &values).ok);
    snmptest::waitFor([&] { return !agent.requests().empty(); }, 2000);
    const auto log = agent.requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].operation, "SET");
    EXPECT_EQ(log[0].oids, (std::vector<std::string>{"1.3.6.1.2.1.1.5.0", "1.3.6.1.2.1.1.4.0"}));
    EXPECT_EQ(log[0].values, (std::vector<ovtest::ApsimValue>{{'s', "a"}, {'s', "b"}}));
    EXPECT_EQ(request->varList.Item(0).value, "name") << "the list is restored";
    EXPECT_EQ(request->varList.Item(2).value, "contact");
    EXPECT_TRUE(request->varList.Item(3).access & ovaccess::invalid);
    EXPECT_FALSE(request->varList.Item(1).access & ovaccess::invalid);

    Async async;
    request->WriteAsync(async.completion(), nullptr, false, "3", &values);
    ASSERT_TRUE(async.wait());
    EXPECT_EQ(async.results[0].code, 0);
    snmptest::waitFor([&] { return agent.requests().size() == 2; }, 2000);
    const auto after = agent.requests();
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back().oids, std::vector<std::string>{"1.3.6.1.2.1.1.6.0"});
    EXPECT_EQ(after.back().values, (std::vector<ovtest::ApsimValue>{{'s', "a"}}));
}

struct WalkCase {
    const char* name;
    std::vector<std::string> arguments;
    int table;
    std::vector<std::string> rows; // the value texts of each row, "|"-joined
};

// The value texts of a row; a lease time counts down, so it shows as "t".
std::string rowText(const OvSNMPVarList& list) {
    std::string text;
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& value = list.Item(i).value;
        const bool lease = list.Item(i).name == "Current Dynamic Lease" && value != "(NOTDONE)";
        text += (i ? "|" : "") + (lease ? std::string("t") : value);
    }
    return text;
}

TEST(RequestAgent, WalksTablesSynchronouslyAndAsynchronously) {
    snmptest::setUpEngine();
    const WalkCase cases[] = {
        {"one key",
         {"--rows", "dhcpleases=2", "--set", "DynamicGet=1"},
         24,
         {"1|000C41240001|127.1.1.100|t", "2|000C41240002|127.1.1.101|t"}},
        // A middle one: the columns after it must keep their own answers.
        {"a column that ends early",
         {"--rows", "dhcpleases=3", "--set", "DynamicGet=1", "--absent",
          std::string(E) + ".2.7.4.1.1.3.3"},
         24,
         {"1|000C41240001|127.1.1.100|t", "2|000C41240002|127.1.1.101|t",
          "3|000C41240003|(NOTDONE)|t"}},
        {"two keys", {"--rows", "clients-a=1", "--rows", "clients-g=1"}, 40, {}},
    };
    for (const WalkCase& c : cases) {
        ovtest::Apsim agent(c.arguments);
        ASSERT_TRUE(agent.isRunning()) << agent.error();
        const auto& info = mib::tables()[c.table - 1];
        auto request = makeRequest(agent, kV2c, info.rows, info.mode, info.keyCount);
        std::vector<std::string> syncRows;
        auto step = request->ReadSync(true);
        while (step.moreRows && syncRows.size() < 100) {
            syncRows.push_back(rowText(request->varList));
            step = request->ReadSync(false);
        }
        EXPECT_TRUE(step.ok) << c.name;
        if (!c.rows.empty())
            EXPECT_EQ(syncRows, c.rows) << c.name;
        else
            EXPECT_EQ(syncRows.size(), 2u) << c.name;

        auto asyncRequest = makeRequest(agent, kV2c, info.rows, info.mode, info.keyCount);
        std::vector<std::string> asyncRows;
        bool finished = false;
        OvSNMPRequest::Completion next = [&](void*, const OvSNMPError& e, OvSNMPVarList& list) {
            EXPECT_EQ(e.code, 0) << c.name;
            if (e.done || e.code != 0) {
                finished = true;
                return;
            }
            asyncRows.push_back(rowText(list));
            asyncRequest->ReadAsync(next, nullptr, false);
        };
        asyncRequest->ReadAsync(next, nullptr, true);
        ASSERT_TRUE(snmptest::waitFor([&] { return finished; })) << c.name;
        EXPECT_EQ(asyncRows, syncRows) << c.name;
    }
}

TEST(RequestAgent, TwoKeyRowsCarryBothKeys) {
    snmptest::setUpEngine();
    ovtest::Apsim agent({"--rows", "clients-a=1", "--rows", "clients-g=2"});
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    const auto& info = mib::tables()[40 - 1];
    auto request = makeRequest(agent, kV1, info.rows, info.mode, info.keyCount);
    std::vector<std::string> keys;
    for (auto step = request->ReadSync(true); step.moreRows; step = request->ReadSync(false))
        keys.push_back(request->varList.Item(0).value + "." + request->varList.Item(1).value);
    EXPECT_EQ(keys, (std::vector<std::string>{"1.1", "2.1", "2.2"}));
}

TEST(RequestAgent, AnEmptyTableUnderSNMPv1EndsWithNoSuchName) {
    snmptest::setUpEngine();
    // The client table is the last table of the agent's MIB view once what
    // follows it is absent, so GET-NEXT past it draws noSuchName under SNMPv1.
    ovtest::Apsim agent({"--rows", "clients=0", "--absent", std::string(E) + ".4.6", "--absent",
                         std::string(E) + ".99"});
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    const auto& info = mib::tables()[40 - 1];
    auto request = makeRequest(agent, kV1, info.rows, info.mode, info.keyCount);
    std::vector<std::int32_t> codes;
    request->resultHook = [&](const OvSNMPError& e) { codes.push_back(e.code); };
    const auto step = request->ReadSync(true);
    EXPECT_FALSE(step.moreRows);
    EXPECT_FALSE(step.ok);
    EXPECT_EQ(codes, std::vector<std::int32_t>(5, -102)) << "once per readable column";
    for (int i = 2; i < request->varList.Count(); ++i)
        EXPECT_EQ(request->varList.Item(i).value, "(NOTDONE)") << i;

    Async async;
    request->ReadAsync(async.completion(), nullptr, true);
    ASSERT_TRUE(async.wait());
    EXPECT_EQ(async.results[0].code, -102);
    EXPECT_TRUE(async.results[0].done);
}

struct RequestFailureCase {
    const char* name;
    std::vector<std::string> arguments;
    Credentials credentials;
    std::int32_t code;
};

TEST(RequestAgent, FailuresMapToTheirDisplayCodes) {
    snmptest::setUpEngine();
    std::vector<RequestFailureCase> cases = {
        {"unknown user name", kUsers, {"v3", 3, 1, "nobody", 1, "", 1, ""}, -304},
        {"wrong authentication pass phrase",
         kUsers,
         {"v3", 3, 2, "amd5", 2, "wrongpass", 1, ""},
         -308},
        {"wrong privacy pass phrase draws no Report",
         kUsers,
         {"v3", 3, 3, "saes", 3, "authpass1", 4, "wrongpass"},
         -405},
        {"level above the user's",
         kUsers,
         {"v3", 3, 3, "amd5", 2, "authpass1", 4, "privpass1"},
         -303},
        {"every request dropped", {"--drop-percent", "100"}, kV2c, -405},
        {"wrong community", {"--ro-community", "other"}, kV2c, -405},
    };
    for (int status = 1; status <= 19; ++status)
        cases.push_back(
            {"error status", {"--fail", "sysName=" + std::to_string(status)}, kV1, -100 - status});
    for (const RequestFailureCase& c : cases) {
        ovtest::Apsim agent(c.arguments);
        ASSERT_TRUE(agent.isRunning()) << agent.error();
        auto request = makeRequest(agent, c.credentials);
        request->timeout = 20;
        std::vector<OvSNMPError> hooked;
        request->resultHook = [&](const OvSNMPError& e) { hooked.push_back(e); };
        EXPECT_FALSE(request->ReadSync(true).ok) << c.name;
        ASSERT_EQ(hooked.size(), 1u) << c.name;
        EXPECT_EQ(hooked[0].code, c.code) << c.name << " " << hooked[0].message;
        Async async;
        request->ReadAsync(async.completion(), nullptr, true);
        ASSERT_TRUE(async.wait()) << c.name;
        EXPECT_EQ(async.results[0].code, c.code) << c.name;
        EXPECT_TRUE(async.results[0].done) << c.name;
    }
}

TEST(RequestAgent, TimeOutSendsEveryRetry) {
    snmptest::setUpEngine();
    ovtest::Apsim agent({"--drop-percent", "100"});
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    auto request = makeRequest(agent, kV2c);
    request->timeout = 10;
    request->retries = 2;
    EXPECT_FALSE(request->ReadSync(true).ok);
    snmptest::waitFor([&] { return agent.requests().size() >= 3; }, 2000);
    EXPECT_EQ(agent.requests().size(), 3u);
}

// Under SNMPv1 noSuchName also ends a walk, when the agent echoes the OID that a
// column's walk stands on. A set of that very cell after a walk echoes the same
// OID: it must still fail, never pass for the end of a walk.
TEST(RequestAgent, ASetRefusedWithNoSuchNameUnderSNMPv1Fails) {
    snmptest::setUpEngine();
    ovtest::Apsim agent; // a set with the read community draws noSuchName under SNMPv1
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    const auto& info = mib::tables()[45 - 1];
    auto request = makeRequest(agent, kV1, info.rows, info.mode, info.keyCount);
    request->writeCommunity = request->readCommunity;
    std::vector<std::int32_t> codes;
    request->resultHook = [&](const OvSNMPError& e) { codes.push_back(e.code); };
    ASSERT_TRUE(request->ReadSync(true).moreRows);
    const std::string ipOfSlot1 = std::string(E) + ".2.7.3.1.2.1";
    ASSERT_EQ(request->varList.Item(1).nextOid, ipOfSlot1) << "the walk stands on the cell";
    const std::vector<std::string> address = {"127.1.1.60"};

    EXPECT_FALSE(request->WriteSync(true, "1", &address).ok);
    EXPECT_EQ(codes, std::vector<std::int32_t>{-102});
    Async async;
    request->WriteAsync(async.completion(), nullptr, true, "1", &address);
    ASSERT_TRUE(async.wait());
    EXPECT_EQ(async.results[0].code, -102) << "never success";
    const auto log = agent.requests();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().operation, "SET");
    EXPECT_EQ(log.back().oids, std::vector<std::string>{ipOfSlot1});
}

TEST(RequestAgent, AShortRowIndexBecomesTheCompletionsResult) {
    snmptest::setUpEngine();
    const std::string column = std::string(E) + ".4.5.2.1.2";
    ovtest::Apsim agent({"--rows", "clients-a=1", "--rows", "clients-g=0", "--answer-oid",
                         column + ".1.1=" + column + ".1"});
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    const auto& info = mib::tables()[40 - 1];
    auto request = makeRequest(agent, kV2c, info.rows, info.mode, info.keyCount);
    try {
        request->ReadSync(true);
        ADD_FAILURE() << "a short row index is raised by a synchronous read";
    } catch (const OvException& e) {
        EXPECT_EQ(e.code(), -514);
    }
    Async async;
    request->ReadAsync(async.completion(), nullptr, true);
    ASSERT_TRUE(async.wait());
    EXPECT_EQ(async.results[0].code, -514);
    EXPECT_EQ(async.results[0].message, "(OvSNMP++) Bad key count of SNMP variable list!");
    EXPECT_TRUE(async.results[0].done);
    auto other = makeRequest(agent, kV2c);
    Async later;
    other->ReadAsync(later.completion(), nullptr, true);
    ASSERT_TRUE(later.wait()) << "the pump goes on after a bad answer";
    EXPECT_EQ(later.results[0].code, 0);
}

TEST(RequestAgent, AnAnswerForOtherOidsIsRefused) {
    snmptest::setUpEngine();
    ovtest::Apsim agent({"--answer-oid", "1.3.6.1.2.1.1.5.0=1.3.6.1.2.1.1.5.1"});
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    auto request = makeRequest(agent, kV2c);
    std::vector<std::int32_t> codes;
    request->resultHook = [&](const OvSNMPError& e) { codes.push_back(e.code); };
    EXPECT_FALSE(request->ReadSync(true).ok);
    EXPECT_EQ(codes, std::vector<std::int32_t>{-411});
    EXPECT_EQ(request->varList.Item(0).value, "");
}

TEST(RequestAgent, DestroyingARequestWithAPendingReadWaitsForIt) {
    snmptest::setUpEngine();
    ovtest::Apsim agent({"--delay-ms", "300"});
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    bool called = false;
    QElapsedTimer timer;
    {
        auto request = makeRequest(agent, kV2c);
        request->ReadAsync([&](void*, const OvSNMPError&, OvSNMPVarList&) { called = true; },
                           nullptr, true);
        timer.start();
    }
    EXPECT_FALSE(called);
    EXPECT_GE(timer.elapsed(), 200) << "the destructor waited for the answer";
    EXPECT_LT(timer.elapsed(), 6000);
    EXPECT_EQ(ovengine::outstandingCount(), 0);
}

TEST(RequestAgent, SNMPv3RecoversAfterTheAgentRestarts) {
    snmptest::setUpEngine();
    std::vector<std::string> arguments = kUsers;
    arguments.insert(arguments.end(), {"--restart-seconds", "0.5"});
    ovtest::Apsim agent(arguments);
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    auto request = makeRequest(agent, kCredentials[5]);
    ASSERT_TRUE(request->ReadSync(true).ok);
    const OvSNMPVarRow restart[] = {
        {"1.3.6.1.4.1.48213.10.37.14.3.2.1", "Restart", ovtype::integer, ovaccess::readwrite}, {}};
    auto restarter = makeRequest(agent, kCredentials[5], restart);
    restarter->varList.Item(0).value = "1";
    ASSERT_TRUE(restarter->WriteSync(false).ok);
    request->timeout = 20;
    request->retries = 0;
    EXPECT_TRUE(snmptest::waitFor([&] { return request->ReadSync(true).ok; }, 10000))
        << "requests succeed again with the agent's new boots and time";
    Async async;
    request->ReadAsync(async.completion(), nullptr, true);
    ASSERT_TRUE(async.wait());
    EXPECT_EQ(async.results[0].code, 0);
}

} // namespace
