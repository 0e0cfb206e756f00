// The SNMP side of apsim: net-snmp's agent library in-process as a master
// agent, one handler over the system group and the private root, and two hooks
// that let the device fall silent, hold answers or refuse requests as a
// misbehaving device would: one on the agent session (sees each request after
// the security layer) and one on the transport's send (sees each answer).
#pragma once

#include "Device.h"
#include "Journal.h"
#include "Options.h"
#include "Transfers.h"

#include <chrono>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

struct netsnmp_transport_s;
struct snmp_pdu;
struct snmp_session;
struct variable_list;
struct netsnmp_mib_handler_s;
struct netsnmp_handler_registration_s;
struct netsnmp_agent_request_info_s;
struct netsnmp_request_info_s;

namespace apsim {

// Fault rules of the command line with their VARs resolved.
struct FaultRules {
    struct Rule {
        OvOid oid;
        int value = 0; // error status, SETs left to ignore, or milliseconds
    };
    std::vector<Rule> fail;
    std::vector<Rule> dropSet;
    std::vector<Rule> delayVar;
    std::vector<OvOid> tooBig;
    bool tooBigAll = false;
    int maxVarbinds = 0;
    int delayMs = 0;
    int dropPercent = 0;
    std::map<OvOid, OvOid> answerOid;
};

// Throws std::invalid_argument for a VAR that names nothing.
FaultRules resolveFaultRules(const Options& options, const Device& device);

class Agent {
public:
    Agent(Device& device, Journal& journal, const Options& options, FaultRules rules);
    ~Agent();
    Agent(const Agent&) = delete;
    Agent& operator=(const Agent&) = delete;

    // Sets up the library and opens the port; throws std::runtime_error.
    void start(const std::string& stateDir);
    // "ADDR:PORT" as bound (the port the system chose for port 0).
    std::string listening() const;
    // Serves until a byte arrives on `wakeFd` (the signal pipe).
    void run(int wakeFd);

private:
    struct Packet {
        bool swallow = false;
        int delayMs = 0;
    };

    void configureLibrary(const std::string& stateDir);
    void registerHandlers();
    void hookTransport();
    void writeState();
    void saveState();

    // Agent session callback: every request after the security layer.
    int onRequest(int op, snmp_session* session, int reqid, snmp_pdu* pdu, void* magic);
    RequestRecord describe(const snmp_pdu* pdu) const;
    // The outcome of a request the device ignores (restarting, dropped), or nullptr.
    const char* ignoredAs(const snmp_pdu* pdu);
    void logPending(const char* outcome);
    FaultRules::Rule* match(std::vector<FaultRules::Rule>& rules, const snmp_pdu* pdu,
                            int* position = nullptr) const;
    bool carries(const snmp_pdu* pdu, const OvOid& oid, int* position = nullptr) const;
    bool tooBigFor(const snmp_pdu* pdu) const;
    void answerError(snmp_session* session, const snmp_pdu* pdu, int status, int index,
                     bool keepBindings);

    // Transport send: swallows answers while silent, holds them when delayed.
    int onSend(netsnmp_transport_s* transport, const void* data, int size, void** opaque,
               int* opaqueLength);

    // The MIB handler.
    int onHandler(netsnmp_handler_registration_s* registration, netsnmp_agent_request_info_s* info,
                  netsnmp_request_info_s* requests);
    void answerGet(netsnmp_agent_request_info_s* info, netsnmp_request_info_s* request);
    void answerNext(netsnmp_request_info_s* request, const OvOid& root);
    void serve(variable_list* binding, const OvOid& oid, const DeviceVariable& variable);

    // Transfers: tftpcommand 1 and 2 are answered when their fetch has ended,
    // 3 at once, and then the configuration goes out.
    bool isHeldTransfer(const snmp_pdu* pdu) const;
    void holdTransfer(snmp_session* session, snmp_pdu* pdu);
    void startPut();
    void transferEnded();
    bool fetched(const TransferResult& result);
    bool applyConfiguration(const std::string& text);
    std::string configurationText() const;
    std::string transferText(int arc) const;

    void afterPacket();
    void logNextLine();
    void beginRestart(bool factoryDefault);
    void finishRestart();
    void restartEngineClock();
    std::uint32_t uptimeTicks() const;

    Device& device_;
    Journal& journal_;
    const Options& options_;
    FaultRules rules_;
    Packet packet_;
    std::optional<RequestRecord> pending_; // the request being answered, not yet logged
    bool silent_ = false;                  // restarting: nothing is answered
    int pendingRestart_ = 0;               // 1 restart, 2 factory default, after the packet
    bool factoryPending_ = false;
    bool changed_ = false;
    int restarts_ = 0;
    int logLinesLeft_ = 0;
    std::chrono::steady_clock::time_point bootTime_;
    std::mt19937 random_;
    netsnmp_transport_s* transport_ = nullptr;
    int (*originalSend_)(netsnmp_transport_s*, const void*, int, void**, int*) = nullptr;
    int (*originalCallback_)(int, snmp_session*, int, snmp_pdu*, void*) = nullptr;
    bool started_ = false;
    Transfers transfers_;
    snmp_pdu* heldPdu_ = nullptr; // the tftpcommand SET answered when its fetch ends
    snmp_session* heldSession_ = nullptr;
    bool pendingPut_ = false;
    std::vector<std::pair<std::string, long long>> transferFacts_;

    friend struct AgentTrampolines;
};

} // namespace apsim
