// SNMPv3 against the simulated access point: the agent's engine ID is learnt
// without ever blocking an asynchronous send, and security failures are
// reported when they happen, with their own codes.
#include "ApsimFixture.h"
#include "OvSNMPPump.h"
#include "OvSNMPRequest.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <csignal>

namespace {

using snmptest::kSystem;
const std::vector<std::string> kUsers = {"--v3-user", "amd5:md5:authpass1", "--v3-user",
                                         "saes:sha:authpass1:aes:privpass1"};

struct Credentials {
    const char* user;
    int level;
    int auth;
    const char* authPass;
    int priv;
    const char* privPass;
};

const Credentials kAuth{"amd5", 2, 2, "authpass1", 1, ""};
const Credentials kPriv{"saes", 3, 3, "authpass1", 4, "privpass1"};

std::unique_ptr<OvSNMPRequest> makeRequest(std::uint16_t port, const Credentials& c,
                                           int timeout = 100, int retries = 0) {
    auto r = std::make_unique<OvSNMPRequest>();
    r->agentPort = port;
    r->version = 3;
    r->securityModel = 3;
    r->securityLevel = c.level;
    r->securityName = c.user;
    r->authProtocol = c.auth;
    r->authPassword = c.authPass;
    r->privProtocol = c.priv;
    r->privPassword = c.privPass;
    r->timeout = timeout;
    r->retries = retries;
    r->varList = OvSNMPVarList(kSystem, SVT_SV, 0);
    return r;
}

struct Async {
    std::vector<OvSNMPError> results;
    OvSNMPRequest::Completion completion() {
        return [this](void*, const OvSNMPError& e, OvSNMPVarList&) { results.push_back(e); };
    }
    bool wait(std::size_t count = 1, int deadlineMs = 10000) {
        return snmptest::waitFor([&] { return results.size() >= count; }, deadlineMs);
    }
};

// Holds the simulated device stopped (it receives, answers nothing) until the
// scope ends or it is resumed.
class Frozen {
public:
    explicit Frozen(const ovtest::Apsim& agent) : pid_(agent.pid()) { ::kill(pid_, SIGSTOP); }
    ~Frozen() { resume(); }
    Frozen(const Frozen&) = delete;
    Frozen& operator=(const Frozen&) = delete;
    void resume() {
        if (pid_ > 0)
            ::kill(pid_, SIGCONT);
        pid_ = -1;
    }

private:
    pid_t pid_;
};

TEST(Discovery, AnAsynchronousSendToASilentDeviceNeverWaitsOnTheNetwork) {
    snmptest::setUpEngine();
    ovtest::Apsim agent(kUsers);
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    Frozen frozen(agent);
    // Ten seconds of probing, were the probe to wait for its answer.
    auto request = makeRequest(agent.port(), kAuth, 500, 1);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    Async async;
    request->ReadAsync(async.completion(), nullptr, true);
    EXPECT_TRUE(snmptest::waitFor([&] { return ticks >= 10; }, 5000))
        << "the event loop keeps running";
    EXPECT_TRUE(async.results.empty()) << "the request waits for the device's engine ID";
    EXPECT_EQ(request->pendingCount(), 1);
    frozen.resume();
    ASSERT_TRUE(async.wait());
    EXPECT_EQ(async.results[0].code, 0) << async.results[0].message;
    EXPECT_EQ(request->varList.Item(0).value, "ORW-3300AP");
}

TEST(Discovery, WaitingRequestsTimeOutAndTheNextPollSucceedsOnceTheDeviceAnswers) {
    snmptest::setUpEngine();
    ovtest::Apsim agent(kUsers);
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    Frozen frozen(agent);
    auto first = makeRequest(agent.port(), kPriv, 20);
    auto second = makeRequest(agent.port(), kPriv, 20);
    Async async;
    first->ReadAsync(async.completion(), nullptr, true);
    second->ReadAsync(async.completion(), nullptr, true);
    ASSERT_TRUE(async.wait(2));
    for (const OvSNMPError& e : async.results) {
        EXPECT_EQ(e.code, -405) << "each waiting request fails with its time-out";
        EXPECT_TRUE(e.done);
    }
    EXPECT_EQ(first->errorCount() + second->errorCount(), 2u);
    frozen.resume();
    Async next;
    first->ReadAsync(next.completion(), nullptr, true);
    ASSERT_TRUE(next.wait());
    EXPECT_EQ(next.results[0].code, 0) << next.results[0].message;
    EXPECT_EQ(first->pendingCount(), 0);
    EXPECT_EQ(second->pendingCount(), 0);
}

// A read through one of the two paths; its result code (1: no completion within
// three seconds).
std::int32_t readCode(OvSNMPRequest& request, bool synchronous) {
    if (synchronous) {
        std::int32_t code = 0;
        request.resultHook = [&](const OvSNMPError& e) { code = e.code; };
        request.ReadSync(true);
        return code;
    }
    Async async;
    request.ReadAsync(async.completion(), nullptr, true);
    return async.wait(1, 3000) ? async.results[0].code : 1;
}

// Keys localised with another engine ID fail as a wrong digest, so after one
// the engine ID is learnt again. Seen here with a device replaced by one of
// another engine ID at the same address: it answers no request that carries
// the old engine ID (net-snmp drops its unknownEngineID Report, which names
// another engine), so only a request that learns the engine ID again reaches it.
TEST(Discovery, AfterAWrongDigestTheNextRequestLearnsTheEngineIdAgain) {
    snmptest::setUpEngine();
    int engine = 0x10;
    for (const bool synchronous : {true, false}) {
        const char* name = synchronous ? "synchronous" : "asynchronous";
        std::vector<std::string> arguments = kUsers;
        arguments.insert(arguments.end(), {"--engine-id", "80001F88" + std::to_string(engine++)});
        auto before = std::make_unique<ovtest::Apsim>(arguments);
        ASSERT_TRUE(before->isRunning()) << before->error();
        const std::uint16_t port = before->port();
        Credentials wrongPass = kAuth;
        wrongPass.authPass = "wrongpass";
        // Ten seconds: a Report that ended as a time-out would come far too late.
        auto wrong = makeRequest(port, wrongPass, 1000);
        EXPECT_EQ(readCode(*wrong, synchronous), -308) << name << ": reported at once";
        before.reset();
        arguments.insert(arguments.end(), {"--engine-id", "80001F88" + std::to_string(engine++),
                                           "--listen", "127.0.0.1:" + std::to_string(port)});
        ovtest::Apsim after(arguments);
        ASSERT_TRUE(after.isRunning()) << after.error();
        auto right = makeRequest(port, kAuth, 50);
        EXPECT_EQ(readCode(*right, synchronous), 0) << name << ": the engine ID is learnt again";
        EXPECT_EQ(readCode(*wrong, synchronous), -308) << name;
        EXPECT_EQ(readCode(*right, synchronous), 0) << name << ": and again";
    }
}

// The device restarts with its engine boots advanced: net-snmp resends after the
// agent's notInTimeWindow Report, even without retries.
TEST(Discovery, AnAsynchronousRequestResynchronisesAfterTheDeviceRestarted) {
    snmptest::setUpEngine();
    std::vector<std::string> arguments = kUsers;
    arguments.insert(arguments.end(), {"--restart-seconds", "0.2"});
    ovtest::Apsim agent(arguments);
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    auto request = makeRequest(agent.port(), kPriv, 50);
    EXPECT_EQ(readCode(*request, false), 0);
    const OvSNMPVarRow restart[] = {
        {"1.3.6.1.4.1.48213.10.37.14.3.2.1", "Restart", ovtype::integer, ovaccess::readwrite}, {}};
    auto restarter = makeRequest(agent.port(), kPriv, 50);
    restarter->varList = OvSNMPVarList(restart, SVT_SV, 0);
    restarter->varList.Item(0).value = "1";
    ASSERT_TRUE(restarter->WriteSync(false).ok);
    ASSERT_TRUE(agent.waitForRestart(1));
    EXPECT_EQ(readCode(*request, false), 0) << "the first request after the restart";
}

} // namespace
