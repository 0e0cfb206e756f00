// The device as a TFTP client: tftpcommand 1 ("Connect") fetches a firmware
// image, 2 ("Get") a configuration that it then applies, both answered when
// the fetch has ended (genErr when it failed); 3 ("Put") is answered at once
// and then sends the configuration as localfilename.
#include "AgentGlue.h"

#include "TypedValue.h"

#include <cstdio>
#include <sstream>

namespace apsim {

namespace {

constexpr int kServerArc = 1, kRemoteFileArc = 2, kLocalFileArc = 3;

OvOid transferOid(int arc) {
    return *OvOid::parse(MibObjects::privateRoot().toString() + ".3.3." + std::to_string(arc) +
                         ".0");
}

void announce(const std::string& line) {
    std::printf("apsim: %s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

const OvOid& tftpCommandOid() {
    static const OvOid oid = transferOid(5);
    return oid;
}

std::string Agent::transferText(int arc) const {
    const DeviceVariable* variable = device_.find(transferOid(arc));
    if (variable == nullptr)
        return {};
    const std::string& octets = variable->value.octets;
    if (arc != kServerArc)
        return octets;
    if (octets.size() != 4)
        return "0.0.0.0";
    std::string dotted;
    for (const unsigned char part : octets)
        dotted += (dotted.empty() ? "" : ".") + std::to_string(part);
    return dotted;
}

bool Agent::isHeldTransfer(const netsnmp_pdu* pdu) const {
    if (!isAcceptableSet(pdu))
        return false;
    bool command = false;
    for (const netsnmp_variable_list* binding = pdu->variables; binding;
         binding = binding->next_variable) {
        if (nameOf(binding) == tftpCommandOid()) {
            const OvVb value = valueOf(binding);
            command = value.number == 1 || value.number == 2;
        }
    }
    return command;
}

void Agent::holdTransfer(netsnmp_session* session, netsnmp_pdu* pdu) {
    int command = 0;
    for (const netsnmp_variable_list* b = pdu->variables; b; b = b->next_variable)
        if (nameOf(b) == tftpCommandOid())
            command = static_cast<int>(valueOf(b).number);
    if (transfers_.busy() || heldPdu_ != nullptr) {
        announce("transfer refused: another one is running");
        answerError(session, pdu, SNMP_ERR_GENERR, 1, true);
        return;
    }
    heldPdu_ = snmp_clone_pdu(pdu);
    heldSession_ = session;
    const std::string name = transferText(kRemoteFileArc);
    announce(std::string(command == 1 ? "fetching firmware " : "fetching configuration ") + name +
             " from " + transferText(kServerArc) + ":" + std::to_string(options_.tftpPort));
    transfers_.fetch(command, transferText(kServerArc), name);
}

void Agent::startPut() {
    if (transfers_.busy()) {
        announce("configuration not sent: another transfer is running");
        return;
    }
    const std::string name = transferText(kLocalFileArc);
    announce("sending configuration " + name + " to " + transferText(kServerArc) + ":" +
             std::to_string(options_.tftpPort));
    transfers_.send(transferText(kServerArc), name, configurationText());
}

void Agent::transferEnded() {
    const std::optional<TransferResult> result = transfers_.finished();
    if (!result)
        return;
    const bool ok = result->command == 3 ? result->ok : fetched(*result);
    if (!ok)
        transferFacts_.emplace_back("transferFailed", result->command);
    if (heldPdu_ != nullptr) {
        if (ok) {
            for (const netsnmp_variable_list* b = heldPdu_->variables; b; b = b->next_variable)
                device_.set(nameOf(b), valueOf(b));
        }
        answerError(heldSession_, heldPdu_, ok ? SNMP_ERR_NOERROR : SNMP_ERR_GENERR, ok ? 0 : 1,
                    true);
        snmp_free_pdu(heldPdu_);
        heldPdu_ = nullptr;
        heldSession_ = nullptr;
    }
    if (result->command == 3) {
        announce("configuration " + result->name +
                 (ok ? " sent: " + std::to_string(result->bytes) + " bytes"
                     : " not sent: " + result->error));
        if (ok)
            transferFacts_.emplace_back("savedBytes", static_cast<long long>(result->bytes));
    }
    writeState();
}

bool Agent::fetched(const TransferResult& result) {
    if (!result.ok) {
        announce("fetching " + result.name + " failed: " + result.error);
        return false;
    }
    if (result.command == 1) {
        const std::uint32_t crc = crc32Of(result.content);
        announce("firmware " + result.name + " received: " + std::to_string(result.bytes) +
                 " bytes, crc32 " + std::to_string(crc));
        transferFacts_.emplace_back("firmwareBytes", static_cast<long long>(result.bytes));
        transferFacts_.emplace_back("firmwareCrc32", crc);
        transferFacts_.emplace_back("firmwareMicroseconds", result.microseconds);
        return true;
    }
    if (!applyConfiguration(result.content)) {
        announce("configuration " + result.name + " refused: not a configuration of this device");
        return false;
    }
    announce("configuration " + result.name + " applied: " + std::to_string(result.bytes) +
             " bytes");
    transferFacts_.emplace_back("restoredBytes", static_cast<long long>(result.bytes));
    return true;
}

std::string Agent::configurationText() const {
    std::string text = "#apsim configuration\n";
    for (const auto& [oid, variable] : device_.variables()) {
        if (variable.writable && !variable.uptime && oid != tftpCommandOid())
            text += oid.toString() + '\t' + formatValue(variable.value, variable.type) + '\n';
    }
    return text;
}

bool Agent::applyConfiguration(const std::string& text) {
    // All or nothing: every line must name a writable variable with a value it takes.
    std::vector<std::pair<OvOid, OvVb>> values;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t tab = line.find('\t');
        const auto oid = OvOid::parse(line.substr(0, tab));
        const DeviceVariable* variable = oid ? device_.find(*oid) : nullptr;
        if (tab == std::string::npos || variable == nullptr)
            return false;
        try {
            OvVb value = parseValue(line.substr(tab + 1), variable->type);
            if (device_.checkSet(*oid, value) != 0)
                return false;
            values.emplace_back(*oid, std::move(value));
        } catch (const std::exception&) {
            return false;
        }
    }
    for (const auto& [oid, value] : values)
        device_.set(oid, value);
    return !values.empty();
}

} // namespace apsim
