#include "OvDeviceTest.h"

#include "OvGuard.h"
#include "OvSNMPSession.h"

#include <QTemporaryDir>

namespace ovtest {

std::vector<std::vector<std::string>> setsSent(const Apsim& agent) {
    std::vector<std::vector<std::string>> sets;
    for (const ApsimRequest& request : agent.requests()) {
        if (request.operation != "SET")
            continue;
        std::vector<std::string> bindings;
        for (std::size_t i = 0; i < request.oids.size(); ++i) {
            const ApsimValue value = i < request.values.size() ? request.values[i] : ApsimValue{};
            bindings.push_back(request.oids[i] + "=" + value.type + ":" + value.text);
        }
        sets.push_back(bindings);
    }
    return sets;
}

const std::vector<UnsendableSession>& unsendableSessions() {
    static const std::vector<UnsendableSession> sessions = {
        {"an address that no socket takes", [] { OvSNMPDevice.agentAddress = "bad:address"; },
         true},
        {"an SNMPv3 user whose pass phrase net-snmp cannot use: every send fails at once",
         [] {
             OvSNMPSecurity.version = 3;
             OvSNMPSecurity.securityModel = 3;
             OvSNMPSecurity.securityLevel = 2;
             OvSNMPSecurity.securityName = "amy";
             OvSNMPSecurity.authProtocol = ovproto::hmacMd5;
             OvSNMPSecurity.authPassword = "short";
         },
         false},
    };
    return sessions;
}

void DeviceTest::SetUpTestSuite() {
    WidgetTest::SetUpTestSuite();
    static QTemporaryDir engineFolder;
    static bool done = false;
    if (!done) {
        OvSNMPSetup(engineFolder.path().toStdString());
        ov::installGeneralErrorHandler();
        done = true;
    }
}

void DeviceTest::SetUp() {
    WidgetTest::SetUp();
    restartAgent(agentOptions());
}

void DeviceTest::restartAgent(const std::vector<std::string>& options) {
    agent.reset();
    agent = std::make_unique<Apsim>(options);
    ASSERT_TRUE(agent->isRunning()) << agent->error();
    OvSNMPResetSession();
    OvSNMPDevice.agentAddress = agent->address();
    OvSNMPDevice.agentPort = agent->port();
    OvSNMPSecurity.version = 1;
    OvSNMPSecurity.securityModel = 2;
    OvSNMPSecurity.readCommunity = kReadCommunity;
    OvSNMPSecurity.writeCommunity = kWriteCommunity;
}

void DeviceTest::TearDown() {
    agent.reset();
    WidgetTest::TearDown();
}

} // namespace ovtest
