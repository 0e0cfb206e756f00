// Widget tests against the simulated access point: apsim (tests/support) runs
// on a free loopback port for each test, the session records point at it, and
// the test reads what went out on the wire from apsim's request log and state.
#pragma once

#include "ApsimFixture.h"
#include "OvDeviceContext.h"
#include "OvWidgetTest.h"

#include "OvSNMPVarList.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ovtest {

// The bindings of every SET the agent received, in order, each written
// "OID=type:value" as the request log has them.
std::vector<std::vector<std::string>> setsSent(const Apsim& agent);

// The requests the agent received from `from` on, each its operation and its
// first binding's name, the private root written "E": "SET E.3.2.2.0",
// "GETNEXT E.2.10.4.1.4.1.2".
std::vector<std::string> requestsSeen(const Apsim& agent, std::size_t from = 0);

// The names of every GET the agent received, in order.
std::vector<std::vector<std::string>> getsSent(const Apsim& agent);

// The OIDs a GET of these positions of a table sends (all when none given).
std::vector<std::string> oidsOf(const OvSNMPVarRow* table, std::vector<int> positions = {});

// The value the agent holds ("E." OIDs allowed), or "(none)".
std::string stateText(const Apsim& agent, const std::string& oid);

// A session that sends nothing: how it is broken, and whether that shows as an
// error of the module's own making, raised at once, or as a failed answer.
struct UnsendableSession {
    const char* what;
    std::function<void()> breakSession;
    bool raisedAtOnce;
};

// An address that no socket takes, and an SNMPv3 user whose pass phrase
// net-snmp cannot use (every send fails at once). Breaking sets the session
// records; DeviceTest::restartAgent mends them.
const std::vector<UnsendableSession>& unsendableSessions();

// The main window as the windows see it: device facts, a status text ("Ready. "
// while the device answers) and an agent address that a test sets.
class StandInMainWindow : public OvDeviceContext {
public:
    OvDeviceFacts deviceFacts() const override { return facts; }
    QString statusText() const override { return status; }
    QString agentAddressText() const override { return agentAddress; }
    QWidget* ownerWindow() const override { return nullptr; }

    OvDeviceFacts facts;
    QString status = kOvReadyText;
    QString agentAddress = QStringLiteral("127.0.0.1");
};

// The fixture: the SNMP engine set up once per program (with the general error
// handler routed to the dialog service), a fresh agent per test (options from
// agentOptions()), and the session records pointing at it with SNMPv2c and the
// agent's default communities.
class DeviceTest : public WidgetTest {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    virtual std::vector<std::string> agentOptions() const { return {}; }
    // Starts a new agent with other options; the session records follow it.
    void restartAgent(const std::vector<std::string>& options);

    static constexpr const char* kReadCommunity = "mulvek";
    static constexpr const char* kWriteCommunity = "trondax";

    std::unique_ptr<Apsim> agent;
};

} // namespace ovtest
