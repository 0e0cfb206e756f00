// The request engine where no agent answers: refusals before sending, module
// errors, time-outs against a socket that never answers, and the wire form of
// what is sent (captured on that socket).
#include "OvException.h"
#include "OvSNMPPump.h"
#include "OvSNMPRequest.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QUdpSocket>

namespace {

using snmptest::kSystem;
using snmptest::SilentAgent;

std::unique_ptr<OvSNMPRequest> makeRequest(std::uint16_t port) {
    auto request = std::make_unique<OvSNMPRequest>();
    request->agentPort = port;
    request->varList = OvSNMPVarList(kSystem, SVT_SV, 0);
    request->timeout = 10;
    request->retries = 0;
    return request;
}

void useV3(OvSNMPRequest& r, int level) {
    r.version = 3;
    r.securityModel = 3;
    r.securityLevel = level;
    r.securityName = "admin";
    r.authProtocol = 2;
    r.authPassword = "authpass1";
    r.privProtocol = 2;
    r.privPassword = "privpass1";
}

struct RefusalCase {
    const char* name;
    std::function<void(OvSNMPRequest&)> change;
    std::int32_t code;
};

const std::vector<RefusalCase>& refusalCases() {
    static const std::vector<RefusalCase> cases = {
        {"version 2 is not a version", [](OvSNMPRequest& r) { r.version = 2; }, -404},
        {"version 3 with the SNMPv1 security model",
         [](OvSNMPRequest& r) { useV3(r, 1), r.securityModel = 1; }, -201},
        {"security level 0", [](OvSNMPRequest& r) { useV3(r, 0); }, -303},
        {"security level 4", [](OvSNMPRequest& r) { useV3(r, 4); }, -303},
        {"privacy without authentication",
         [](OvSNMPRequest& r) { useV3(r, 3), r.authProtocol = 1; }, -303},
        {"authentication without a protocol",
         [](OvSNMPRequest& r) { useV3(r, 2), r.authProtocol = 1; }, -303},
        {"unknown authentication protocol",
         [](OvSNMPRequest& r) { useV3(r, 2), r.authProtocol = 4; }, -312},
        {"3DES privacy", [](OvSNMPRequest& r) { useV3(r, 3), r.privProtocol = 3; }, -313},
        {"IDEA privacy", [](OvSNMPRequest& r) { useV3(r, 3), r.privProtocol = 9; }, -313},
        {"unknown privacy protocol", [](OvSNMPRequest& r) { useV3(r, 3), r.privProtocol = 77; },
         -313},
        {"authentication pass phrase of 7 characters",
         [](OvSNMPRequest& r) { useV3(r, 2), r.authPassword = "1234567"; }, -315},
        {"privacy pass phrase of 7 characters",
         [](OvSNMPRequest& r) { useV3(r, 3), r.privPassword = "1234567"; }, -316},
    };
    return cases;
}

TEST(RequestOffline, RefusedCredentialsFailSynchronousRequestsWithoutSending) {
    snmptest::setUpEngine();
    SilentAgent agent;
    for (const RefusalCase& c : refusalCases()) {
        auto request = makeRequest(agent.port());
        c.change(*request);
        std::vector<OvSNMPError> hooked;
        request->resultHook = [&](const OvSNMPError& e) { hooked.push_back(e); };
        const auto read = request->ReadSync(true);
        EXPECT_FALSE(read.ok) << c.name;
        const auto write = request->WriteSync(false);
        EXPECT_FALSE(write.ok) << c.name;
        ASSERT_EQ(hooked.size(), 2u) << c.name;
        EXPECT_EQ(hooked[0].code, c.code) << c.name;
        EXPECT_EQ(hooked[1].code, c.code) << c.name;
        EXPECT_EQ(hooked[1].errorCount, 2u) << c.name;
        EXPECT_EQ(request->varList.Item(1).value, "(NULL)") << c.name;
    }
    EXPECT_TRUE(agent.received().empty()) << "nothing goes out in clear or at all";
}

TEST(RequestOffline, RefusedAsynchronousRequestsCompleteFromThePump) {
    snmptest::setUpEngine();
    SilentAgent agent;
    for (const RefusalCase& c : refusalCases()) {
        auto request = makeRequest(agent.port());
        c.change(*request);
        int hooked = 0;
        request->resultHook = [&](const OvSNMPError&) { ++hooked; };
        std::vector<OvSNMPError> results;
        bool inCall = true;
        bool completedInCall = false;
        const auto completion = [&](void* data, const OvSNMPError& e, OvSNMPVarList&) {
            EXPECT_EQ(data, &agent);
            completedInCall = completedInCall || inCall;
            results.push_back(e);
        };
        request->ReadAsync(completion, &agent, true);
        request->WriteAsync(completion, &agent, false);
        inCall = false;
        EXPECT_EQ(request->pendingCount(), 2) << c.name;
        ASSERT_TRUE(snmptest::waitFor([&] { return results.size() == 2; })) << c.name;
        EXPECT_FALSE(completedInCall) << c.name;
        EXPECT_EQ(request->pendingCount(), 0) << c.name;
        EXPECT_EQ(hooked, 2) << c.name << ": the hook reports each failure once";
        EXPECT_EQ(request->errorCount(), 2u) << c.name;
        for (const OvSNMPError& e : results) {
            EXPECT_EQ(e.code, c.code) << c.name;
            EXPECT_TRUE(e.done) << c.name;
            EXPECT_FALSE(e.message.empty()) << c.name;
        }
    }
    EXPECT_TRUE(agent.received().empty());
}

// net-snmp cannot derive a key from fewer than 8 characters (RFC 3414): the
// message says which pass phrase is short, not just "Authentication error".
TEST(RequestOffline, AShortPassPhraseIsRefusedWithAMessageThatSaysSo) {
    snmptest::setUpEngine();
    SilentAgent agent;
    const struct {
        const char* name;
        std::function<void(OvSNMPRequest&)> change;
        std::int32_t code;
        const char* message;
    } cases[] = {
        {"authentication", [](OvSNMPRequest& r) { useV3(r, 2), r.authPassword = "1234567"; }, -315,
         "(SNMPv3USM) Authentication pass phrase shorter than 8 characters!"},
        {"privacy", [](OvSNMPRequest& r) { useV3(r, 3), r.privPassword = "secret"; }, -316,
         "(SNMPv3USM) Privacy pass phrase shorter than 8 characters!"},
        {"privacy, with both short",
         [](OvSNMPRequest& r) { useV3(r, 3), r.authPassword = "", r.privPassword = ""; }, -315,
         "(SNMPv3USM) Authentication pass phrase shorter than 8 characters!"},
    };
    for (const auto& c : cases) {
        auto request = makeRequest(agent.port());
        c.change(*request);
        std::vector<OvSNMPError> results;
        request->resultHook = [&](const OvSNMPError& e) { results.push_back(e); };
        request->ReadSync(true);
        bool completed = false;
        request->ReadAsync([&](void*, const OvSNMPError& e,
                               OvSNMPVarList&) { results.push_back(e), completed = true; },
                           nullptr, true);
        ASSERT_TRUE(snmptest::waitFor([&] { return completed; })) << c.name;
        ASSERT_EQ(results.size(), 3u) << c.name << ": read, send and completion";
        for (const OvSNMPError& e : results) {
            EXPECT_EQ(e.code, c.code) << c.name;
            EXPECT_EQ(e.message, c.message) << c.name;
        }
    }
    EXPECT_TRUE(agent.received().empty());
}

TEST(RequestOffline, AnAddressTextThatCannotBeAnAddressIsRaised) {
    snmptest::setUpEngine();
    for (const char* address : {"10.0.0.1/24", "host:161", "", "two words", "::1"}) {
        auto request = makeRequest(161);
        request->agentAddress = address;
        for (int operation = 0; operation < 4; ++operation) {
            try {
                if (operation == 0)
                    request->ReadSync(true);
                else if (operation == 1)
                    request->WriteSync(false);
                else if (operation == 2)
                    request->ReadAsync({}, nullptr, true);
                else
                    request->WriteAsync({}, nullptr, false);
                ADD_FAILURE() << address << " operation " << operation;
            } catch (const OvException& e) {
                EXPECT_EQ(e.code(), -509) << address;
                EXPECT_EQ(e.text(), "(OvSNMP++) Invalid IP Address or DNS name!");
            }
        }
        EXPECT_EQ(request->pendingCount(), 0) << address;
    }
}

TEST(RequestOffline, ModuleErrorsOfTheListAreRaisedOrReported) {
    snmptest::setUpEngine();
    auto request = makeRequest(161);
    try {
        request->ReadSync(false);
        ADD_FAILURE() << "continued read of scalars";
    } catch (const OvException& e) {
        EXPECT_EQ(e.code(), -510);
    }
    request->varList.mode = static_cast<OvListMode>(7);
    std::vector<std::int32_t> hooked;
    request->resultHook = [&](const OvSNMPError& e) { hooked.push_back(e.code); };
    const auto read = request->ReadSync(true);
    EXPECT_FALSE(read.ok);
    ASSERT_EQ(hooked.size(), 1u);
    EXPECT_EQ(hooked[0], -515);
    try {
        request->WriteSync(false);
        ADD_FAILURE() << "set of an unknown list mode";
    } catch (const OvException& e) {
        EXPECT_EQ(e.code(), -515);
    }
    EXPECT_EQ(request->varList.Item(0).access, ovaccess::readwrite) << "the list is restored";
    bool completed = false;
    request->ReadAsync(
        [&](void*, const OvSNMPError& e, OvSNMPVarList&) { completed = e.code == -515 && e.done; },
        nullptr, true);
    EXPECT_TRUE(snmptest::waitFor([&] { return completed; }));
    EXPECT_EQ(request->pendingCount(), 0);
}

TEST(RequestOffline, InactiveRequestsDoNothing) {
    snmptest::setUpEngine();
    SilentAgent agent;
    auto request = makeRequest(agent.port());
    request->active = 0;
    const auto read = request->ReadSync(true);
    EXPECT_FALSE(read.ok);
    EXPECT_FALSE(read.moreRows);
    EXPECT_FALSE(request->WriteSync(false).ok);
    request->ReadAsync({}, nullptr, true);
    request->WriteAsync({}, nullptr, false);
    EXPECT_EQ(request->pendingCount(), 0);
    EXPECT_TRUE(agent.received().empty());
}

struct TimeoutCase {
    const char* name;
    int version;
    int retries;
};

// Every attempt reaches the socket: the first send and one per retry.
TEST(RequestOffline, TimeOutAfterTheRetries) {
    snmptest::setUpEngine();
    const TimeoutCase cases[] = {
        {"SNMPv1 without retry", 0, 0},
        {"SNMPv2c with two retries", 1, 2},
        {"SNMPv3 probe with one retry", 3, 1},
    };
    for (const TimeoutCase& c : cases) {
        SilentAgent agent;
        auto request = makeRequest(agent.port());
        if (c.version == 3)
            useV3(*request, 1);
        request->version = static_cast<std::uint8_t>(c.version);
        request->retries = c.retries;
        std::int32_t code = 0;
        request->resultHook = [&](const OvSNMPError& e) { code = e.code; };
        request->varList.Item(0).value = "before";
        EXPECT_FALSE(request->ReadSync(true).ok) << c.name;
        EXPECT_EQ(code, -405) << c.name;
        EXPECT_EQ(request->varList.Item(0).value, "") << c.name << ": a failed read is empty";
        snmptest::waitFor([&] { return agent.socket.hasPendingDatagrams(); }, 1000);
        EXPECT_EQ(agent.received().size(), static_cast<std::size_t>(c.retries + 1)) << c.name;
    }
}

TEST(RequestOffline, AsynchronousTimeOutLeavesTheValuesAlone) {
    snmptest::setUpEngine();
    SilentAgent agent;
    auto request = makeRequest(agent.port());
    request->retries = 1;
    request->varList.Item(0).value = "kept";
    OvSNMPError result;
    bool completed = false;
    request->ReadAsync(
        [&](void*, const OvSNMPError& e, OvSNMPVarList&) { result = e, completed = true; }, nullptr,
        true);
    ASSERT_TRUE(snmptest::waitFor([&] { return completed; }));
    EXPECT_EQ(result.code, -405);
    EXPECT_EQ(result.message, "(SNMPClass) SNMP request timed out!");
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.agentAddress, "127.0.0.1");
    EXPECT_EQ(result.agentPort, agent.port());
    EXPECT_EQ(result.errorCount, 1u);
    EXPECT_EQ(request->varList.Item(0).value, "kept");
    EXPECT_EQ(agent.received().size(), 2u);
}

// The community octets of an SNMPv1/v2c message: SEQUENCE, version, community.
std::string communityOf(const QByteArray& message) {
    if (message.size() < 7 || message[2] != 0x02 || message[5] != 0x04)
        return "<not a community message>";
    return message.mid(7, static_cast<unsigned char>(message[6])).toStdString();
}

TEST(RequestOffline, ReadsUseTheReadCommunityAndSetsTheWriteCommunity) {
    snmptest::setUpEngine();
    const struct {
        const char* name;
        std::string read;
        std::string write;
    } cases[] = {
        {"the defaults", "mulvek", "trondax"},
        {"an empty read community goes out empty", "", "w"},
        {"an empty write community goes out empty", "r", ""},
    };
    for (const auto& c : cases) {
        SilentAgent agent;
        auto request = makeRequest(agent.port());
        request->readCommunity = c.read;
        request->writeCommunity = c.write;
        request->ReadSync(true);
        request->WriteSync(false);
        const auto sent = agent.received();
        ASSERT_EQ(sent.size(), 2u) << c.name;
        EXPECT_EQ(communityOf(sent[0]), c.read) << c.name;
        EXPECT_EQ(communityOf(sent[1]), c.write) << c.name;
    }
}

TEST(RequestOffline, DestroyingWaitsForThePendingReadAndCallsNothing) {
    snmptest::setUpEngine();
    SilentAgent agent;
    bool called = false;
    QElapsedTimer timer;
    {
        auto request = makeRequest(agent.port());
        request->timeout = 30;
        request->ReadAsync([&](void*, const OvSNMPError&, OvSNMPVarList&) { called = true; },
                           nullptr, true);
        EXPECT_EQ(request->pendingCount(), 1);
        timer.start();
    }
    EXPECT_FALSE(called) << "a request being destroyed calls no completion";
    EXPECT_LT(timer.elapsed(), 6000) << "the wait ended with the time-out, not the limit";
    EXPECT_EQ(ovengine::outstandingCount(), 0);
}

TEST(RequestOffline, ACompletionErrorReachesTheGeneralHandlerAfterThePumpReArmed) {
    snmptest::setUpEngine();
    SilentAgent agent;
    std::vector<std::string> handled;
    bool armed = false;
    OvSetGeneralErrorHandler([&](std::exception_ptr error) {
        armed =
            !SnmpEventProcessor::instance().inTurn() && SnmpEventProcessor::instance().isRunning();
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            handled.push_back(e.what());
        }
    });
    auto request = makeRequest(agent.port());
    request->ReadAsync([](void*, const OvSNMPError&,
                          OvSNMPVarList&) { throw std::runtime_error("window failed"); },
                       nullptr, true);
    ASSERT_TRUE(snmptest::waitFor([&] { return !handled.empty(); }));
    EXPECT_EQ(handled, std::vector<std::string>{"window failed"});
    EXPECT_TRUE(armed);
    EXPECT_EQ(request->pendingCount(), 0);
    bool later = false;
    request->ReadAsync([&](void*, const OvSNMPError&, OvSNMPVarList&) { later = true; }, nullptr,
                       true);
    EXPECT_TRUE(snmptest::waitFor([&] { return later; })) << "later polls still complete";
    OvSetGeneralErrorHandler({});
}

} // namespace
