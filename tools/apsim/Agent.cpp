// Setting up net-snmp's agent library as an in-process master agent, the
// serving loop, and the device's restart.
#include "AgentGlue.h"

#include <algorithm>
#include <arpa/inet.h>
#include <sys/select.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace apsim {

Agent* AgentTrampolines::agent = nullptr;

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

void configLine(const std::string& line) {
    std::vector<char> text(line.begin(), line.end());
    text.push_back('\0');
    netsnmp_config(text.data());
}

std::string userLine(const V3User& user) {
    std::string line = "createUser " + user.name;
    if (user.auth != "none")
        line += std::string(user.auth == "md5" ? " MD5 " : " SHA ") + quoted(user.authPass);
    if (user.priv != "none")
        line += std::string(user.priv == "des" ? " DES " : " AES ") + quoted(user.privPass);
    return line;
}

std::string userLevel(const V3User& user) {
    if (user.priv != "none")
        return "priv";
    return user.auth != "none" ? "auth" : "noauth";
}

} // namespace

Agent::Agent(Device& device, Journal& journal, const Options& options, FaultRules rules)
    : device_(device), journal_(journal), options_(options), rules_(std::move(rules)),
      bootTime_(std::chrono::steady_clock::now()),
      random_(options.seed ? *options.seed : std::random_device{}()),
      transfers_(options.tftpPort, options.tftpPutAbort, options.tftpGetAbort) {
    AgentTrampolines::agent = this;
}

Agent::~Agent() {
    if (heldPdu_ != nullptr)
        snmp_free_pdu(heldPdu_);
    if (heldScan_ != nullptr)
        snmp_free_pdu(heldScan_);
    if (started_) {
        snmp_shutdown("apsim");
        shutdown_master_agent();
    }
    AgentTrampolines::agent = nullptr;
}

void Agent::start(const std::string& stateDir) {
    configureLibrary(stateDir);
    // The library would open the SMUX port (TCP 199) for subagents: not ours to take.
    char noSmux[] = "-smux";
    add_to_init_list(noSmux);
    if (init_agent("apsim") != 0)
        throw std::runtime_error("the SNMP agent library did not start");
    // Communities and users as configuration lines, read by init_snmp in place of files.
    if (!options_.rwCommunity.empty())
        configLine("rwcommunity " + quoted(options_.rwCommunity));
    if (!options_.roCommunity.empty() && options_.roCommunity != options_.rwCommunity)
        configLine("rocommunity " + quoted(options_.roCommunity));
    for (const V3User& user : options_.users) {
        configLine(userLine(user));
        configLine("rwuser " + user.name + " " + userLevel(user));
    }
    if (!options_.engineId.empty())
        configLine("exactEngineID 0x" + options_.engineId);
    init_snmp("apsim");
    started_ = true;
    registerHandlers();
    if (init_master_agent() != 0)
        throw std::runtime_error("cannot answer on " + options_.address + ":" +
                                 std::to_string(options_.port));
    hookTransport();
    saveState();
    logLinesLeft_ = options_.logLines;
    if (logLinesLeft_ > 0)
        snmp_alarm_register(1, SA_REPEAT, &AgentTrampolines::logLine, nullptr);
}

void Agent::configureLibrary(const std::string& stateDir) {
    // No snmpd.conf, snmp.conf or MIB files: everything comes from the command line,
    // and what the library persists stays in this instance's folder.
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, stateDir.c_str());
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_CONFIGURATION_DIR,
                          stateDir.c_str());
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_ALARM_DONT_USE_SIG, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 0);
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_NO_ROOT_ACCESS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID,
                           NETSNMP_DS_AGENT_DONT_LOG_TCPWRAPPERS_CONNECTS, 1);
    const std::string ports = "udp:" + options_.address + ":" + std::to_string(options_.port);
    netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_PORTS, ports.c_str());
    std::filesystem::create_directories(stateDir + "/cert_indexes");
    setenv("MIBS", "", 1);
    setenv("MIBDIRS", stateDir.c_str(), 1);
    snmp_enable_stderrlog();
}

void Agent::registerHandlers() {
    for (const OvOid* root : {&MibObjects::systemRoot(), &MibObjects::privateRoot()}) {
        const std::vector<oid> arcs = arcsOf(*root);
        netsnmp_handler_registration* registration = netsnmp_create_handler_registration(
            root == &MibObjects::systemRoot() ? "apsim-system" : "apsim-device",
            &AgentTrampolines::handler, arcs.data(), arcs.size(), HANDLER_CAN_RWRITE);
        if (registration == nullptr || netsnmp_register_handler(registration) != MIB_REGISTERED_OK)
            throw std::runtime_error("cannot register " + root->toString());
    }
}

void Agent::hookTransport() {
    void* session = snmp_sess_pointer(main_session);
    transport_ = session ? snmp_sess_transport(session) : nullptr;
    if (transport_ == nullptr)
        throw std::runtime_error("the agent has no transport");
    originalSend_ = transport_->f_send;
    transport_->f_send = &AgentTrampolines::send;
    originalCallback_ = main_session->callback;
    main_session->callback = &AgentTrampolines::request;
}

std::string Agent::listening() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getsockname(transport_->sock, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return options_.address + ":" + std::to_string(options_.port);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

void Agent::run(int wakeFd) {
    while (true) {
        int count = 0;
        fd_set readable;
        FD_ZERO(&readable);
        timeval timeout{};
        int block = 1;
        snmp_select_info(&count, &readable, &timeout, &block);
        FD_SET(wakeFd, &readable);
        FD_SET(transfers_.wakeFd(), &readable);
        count = std::max({count, wakeFd + 1, transfers_.wakeFd() + 1});
        const int ready = select(count, &readable, nullptr, nullptr, block ? nullptr : &timeout);
        if (ready < 0 && errno != EINTR)
            throw std::runtime_error(std::string("select: ") + std::strerror(errno));
        if (ready > 0 && FD_ISSET(wakeFd, &readable))
            return;
        packet_ = Packet{false, rules_.delayMs};
        if (ready > 0 && FD_ISSET(transfers_.wakeFd(), &readable))
            transferEnded();
        if (ready > 0)
            snmp_read(&readable);
        else if (ready == 0)
            snmp_timeout();
        afterPacket();
        run_alarms();
        netsnmp_check_outstanding_agent_requests();
    }
}

void Agent::afterPacket() {
    if (pendingPut_) {
        pendingPut_ = false;
        startPut();
    }
    if (pendingRestart_ != 0) {
        beginRestart(pendingRestart_ == 2);
        pendingRestart_ = 0;
    } else if (changed_) {
        writeState();
    }
    changed_ = false;
}

void Agent::beginRestart(bool factoryDefault) {
    silent_ = true;
    ++restarts_;
    factoryPending_ = factoryPending_ || factoryDefault;
    writeState();
    const auto micros = static_cast<long>(options_.restartSeconds * 1e6);
    timeval delay{micros / 1000000, micros % 1000000};
    snmp_alarm_register_hr(delay, 0, &AgentTrampolines::restartDone, nullptr);
}

void AgentTrampolines::restartDone(unsigned int, void*) {
    agent->finishRestart();
}

void AgentTrampolines::logLine(unsigned int alarm, void*) {
    if (--agent->logLinesLeft_ <= 0)
        snmp_alarm_unregister(alarm);
    agent->logNextLine();
}

// The device logs while it runs, restarting or not; the log table shows the
// line after the manager's next "adGetLog".
void Agent::logNextLine() {
    device_.appendLogLine();
}

void Agent::finishRestart() {
    device_.restart(factoryPending_);
    factoryPending_ = false;
    restartEngineClock();
    bootTime_ = std::chrono::steady_clock::now();
    silent_ = false;
    writeState();
}

void Agent::restartEngineClock() {
    // A real device counts its boots and starts its engine time again, which
    // moves SNMPv3 managers out of their time window until they resynchronise.
    // The library sets its engine clock only in init_snmpv3, whose other work
    // is idempotent enough to repeat; its wrap check may count a boot on the
    // next reading, so the count is set explicitly afterwards.
    const std::string boots = std::to_string(snmpv3_local_snmpEngineBoots());
    // It would say, rightly, that USM is registered already: a silent handler
    // takes the messages meanwhile.
    snmp_disable_stderrlog();
    netsnmp_log_handler* quiet = netsnmp_register_loghandler(NETSNMP_LOGHANDLER_NONE, LOG_DEBUG);
    init_snmpv3("apsim");
    netsnmp_remove_loghandler(quiet);
    snmp_enable_stderrlog();
    snmpv3_local_snmpEngineTime();
    std::vector<char> text(boots.begin(), boots.end());
    text.push_back('\0');
    engineBoots_conf("engineBoots", text.data());
    // Reports and discovery answers take boots and time from the USM's timing
    // cache, the time-window check from the clock: both must agree.
    u_char engineId[SNMP_MAXBUF_SMALL];
    const size_t length = snmpv3_get_engineID(engineId, sizeof engineId);
    set_enginetime(engineId, static_cast<u_int>(length),
                   static_cast<u_int>(snmpv3_local_snmpEngineBoots()),
                   static_cast<u_int>(snmpv3_local_snmpEngineTime()), TRUE);
}

std::uint32_t Agent::uptimeTicks() const {
    const auto elapsed = std::chrono::steady_clock::now() - bootTime_;
    const double ms =
        static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    return static_cast<std::uint32_t>(ms * options_.device.speed / 10);
}

void Agent::writeState() {
    // Called from the library's callbacks, where no exception may pass: a state
    // file that cannot be written is reported and serving goes on.
    try {
        saveState();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "apsim: %s\n", error.what());
    }
}

void Agent::saveState() {
    u_char engineId[SNMP_MAXBUF_SMALL];
    const size_t length = snmpv3_get_engineID(engineId, sizeof engineId);
    std::string hex;
    for (size_t i = 0; i < length; ++i) {
        char octet[3];
        std::snprintf(octet, sizeof octet, "%02X", engineId[i]);
        hex += octet;
    }
    journal_.writeState(device_, {snmpv3_local_snmpEngineBoots(), hex, restarts_, silent_,
                                  uptimeTicks(), transferFacts_});
}

} // namespace apsim
