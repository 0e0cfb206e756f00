#include "OvDeviceTest.h"

#include "OvGuard.h"
#include "OvSNMPSession.h"
#include "OvSNMPVarList.h"

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

std::vector<std::string> requestsSeen(const Apsim& agent, std::size_t from) {
    static const std::string root = "1.3.6.1.4.1.48213.10.37.14";
    std::vector<std::string> seen;
    const auto requests = agent.requests();
    for (std::size_t i = from; i < requests.size(); ++i) {
        std::string oid = requests[i].oids.empty() ? std::string() : requests[i].oids.front();
        if (oid.rfind(root, 0) == 0)
            oid = "E" + oid.substr(root.size());
        seen.push_back(requests[i].operation + " " + oid);
    }
    return seen;
}

std::vector<std::string> oidsOf(const OvSNMPVarRow* table, std::vector<int> positions) {
    if (positions.empty())
        for (int p = 0; p < ov::tableRowCount(table); ++p)
            positions.push_back(p);
    std::vector<std::string> oids;
    for (int p : positions)
        oids.push_back(table[p].oid);
    return oids;
}

std::vector<std::vector<std::string>> getsSent(const Apsim& agent) {
    std::vector<std::vector<std::string>> gets;
    for (const ApsimRequest& request : agent.requests())
        if (request.operation == "GET")
            gets.push_back(request.oids);
    return gets;
}

std::string stateText(const Apsim& agent, const std::string& oid) {
    const auto value = agent.stateValue(oid);
    return value ? value->text : std::string("(none)");
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
