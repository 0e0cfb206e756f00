// Widget tests against the simulated access point: apsim runs on a free
// loopback port for each test, the session records point at it, and the test
// reads what went out on the wire from apsim's request log and state file.
#pragma once

#include "OvWidgetTest.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ovtest {

// One line of apsim's request log.
struct AgentRequest {
    std::string operation; // GET, GETNEXT, SET ...
    std::string version;
    std::string community;
    std::string outcome;
    std::vector<std::string> bindings; // SET: "OID=type:value"
};

// The simulated access point, started with extra options.
class Agent {
public:
    explicit Agent(const QStringList& options = {});
    ~Agent();
    Agent(const Agent&) = delete;
    Agent& operator=(const Agent&) = delete;

    bool running() const { return port_ != 0; }
    std::uint16_t port() const { return port_; }
    std::string output() const { return output_.toStdString(); }

    std::vector<AgentRequest> requests() const;
    // The bindings of every SET that was answered, in order.
    std::vector<std::vector<std::string>> sets() const;
    // The current value of a variable ("OID.instance" -> "type:value").
    std::string value(const std::string& oid) const;

    static constexpr const char* readCommunity = "mulvek";
    static constexpr const char* writeCommunity = "trondax";

private:
    QTemporaryDir folder_;
    QProcess process_;
    QByteArray output_;
    std::uint16_t port_ = 0;
};

// The fixture: the SNMP engine set up once per program, a fresh agent per test
// (options from agentOptions()), and the session records pointing at it with
// SNMPv2c and the agent's communities.
class DeviceTest : public WidgetTest {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    virtual QStringList agentOptions() const { return {}; }
    // Restarts the agent with other options (the records follow it).
    void restartAgent(const QStringList& options);

    std::unique_ptr<Agent> agent;
};

} // namespace ovtest
