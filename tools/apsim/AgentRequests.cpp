// What happens to a request before and after the agent proper: the log line,
// silence while restarting, dropped requests and SETs, forced errors, tooBig,
// and answers held back.
#include "AgentGlue.h"

#include "TypedValue.h"

#include <cstdlib>
#include <cstring>

namespace apsim {
namespace {

std::string operationName(int command) {
    switch (command) {
    case SNMP_MSG_GET:
        return "GET";
    case SNMP_MSG_GETNEXT:
        return "GETNEXT";
    case SNMP_MSG_GETBULK:
        return "GETBULK";
    case SNMP_MSG_SET:
        return "SET";
    }
    static const char digits[] = "0123456789ABCDEF";
    return std::string("PDU-") + digits[(command >> 4) & 15] + digits[command & 15];
}

std::string versionName(long version) {
    switch (version) {
    case SNMP_VERSION_1:
        return "v1";
    case SNMP_VERSION_2c:
        return "v2c";
    case SNMP_VERSION_3:
        return "v3";
    }
    return "v?";
}

// A held answer: the packet and the transport's address data, sent by an alarm.
struct HeldAnswer {
    netsnmp_transport* transport;
    std::string packet;
    std::string opaque;
    int (*send)(netsnmp_transport*, const void*, int, void**, int*);
};

} // namespace

FaultRules resolveFaultRules(const Options& options, const Device& device) {
    FaultRules rules;
    const auto resolved = [&device](const std::vector<std::pair<std::string, int>>& list) {
        std::vector<FaultRules::Rule> out;
        for (const auto& [var, value] : list)
            out.push_back({device.mib().resolve(var), value});
        return out;
    };
    rules.fail = resolved(options.fail);
    rules.failSet = resolved(options.failSet);
    rules.dropSet = resolved(options.dropSet);
    rules.delayVar = resolved(options.delayVar);
    for (const std::string& var : options.tooBig) {
        if (var == "all")
            rules.tooBigAll = true;
        else
            rules.tooBig.push_back(device.mib().resolve(var));
    }
    rules.maxVarbinds = options.maxVarbinds;
    rules.delayMs = options.delayMs;
    rules.dropPercent = options.dropPercent;
    for (const auto& [var, answered] : options.answerOid) {
        const OvOid from = device.mib().resolve(var);
        const OvOid to = device.mib().resolve(answered);
        const bool sameRoot = (from.startsWith(MibObjects::systemRoot()) &&
                               to.startsWith(MibObjects::systemRoot())) ||
                              (from.startsWith(MibObjects::privateRoot()) &&
                               to.startsWith(MibObjects::privateRoot()));
        if (!sameRoot)
            throw std::invalid_argument("--answer-oid " + var + ": both OIDs must lie below " +
                                        MibObjects::systemRoot().toString() + " or below " +
                                        MibObjects::privateRoot().toString());
        rules.answerOid[from] = to;
    }
    return rules;
}

int AgentTrampolines::request(int op, netsnmp_session* session, int reqid, netsnmp_pdu* pdu,
                              void* magic) {
    return agent->onRequest(op, session, reqid, pdu, magic);
}

int Agent::onRequest(int op, netsnmp_session* session, int reqid, netsnmp_pdu* pdu, void* magic) {
    if (op != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE || pdu == nullptr)
        return originalCallback_(op, session, reqid, pdu, magic);
    // The log line goes out before the answer (see onSend), so whoever reads
    // the log after the answer finds it there.
    pending_ = describe(pdu);
    if (const char* fate = ignoredAs(pdu)) {
        packet_.swallow = true;
        logPending(fate);
        return 1;
    }
    for (const FaultRules::Rule& rule : rules_.delayVar)
        if (carries(pdu, rule.oid))
            packet_.delayMs = std::max(packet_.delayMs, rule.value);
    int position = 0;
    int result = 1;
    const FaultRules::Rule* fail = match(rules_.fail, pdu, &position);
    if (fail == nullptr && pdu->command == SNMP_MSG_SET)
        fail = match(rules_.failSet, pdu, &position);
    if (fail != nullptr) {
        pending_->outcome = "failed:" + std::to_string(fail->value);
        answerError(session, pdu, fail->value, position, true);
    } else if (tooBigFor(pdu)) {
        pending_->outcome = "toobig";
        answerError(session, pdu, SNMP_ERR_TOOBIG, 0, false);
    } else if (isHeldTransfer(pdu)) {
        pending_->outcome = "answered";
        logPending(nullptr);
        holdTransfer(session, pdu);
    } else if (isHeldScan(pdu)) {
        pending_->outcome = "answered";
        logPending(nullptr);
        holdScan(session, pdu);
    } else {
        pending_->outcome = "answered";
        result = originalCallback_(op, session, reqid, pdu, magic);
    }
    logPending("silent"); // nothing was sent
    return result;
}

const char* Agent::ignoredAs(const netsnmp_pdu* pdu) {
    if (silent_)
        return "down";
    if (rules_.dropPercent > 0 && static_cast<int>(random_() % 100) < rules_.dropPercent)
        return "dropped";
    if (pdu->command != SNMP_MSG_SET)
        return nullptr;
    for (FaultRules::Rule& rule : rules_.dropSet) {
        if (rule.value > 0 && carries(pdu, rule.oid)) {
            --rule.value;
            return "dropset";
        }
    }
    return nullptr;
}

void Agent::logPending(const char* outcome) {
    if (!pending_)
        return;
    if (outcome != nullptr)
        pending_->outcome = outcome;
    journal_.logRequest(*pending_);
    pending_.reset();
}

RequestRecord Agent::describe(const netsnmp_pdu* pdu) const {
    RequestRecord record;
    record.operation = operationName(pdu->command);
    record.version = versionName(pdu->version);
    if (pdu->version == SNMP_VERSION_3)
        record.principal.assign(pdu->securityName ? pdu->securityName : "", pdu->securityNameLen);
    else if (pdu->community != nullptr)
        record.principal.assign(reinterpret_cast<const char*>(pdu->community), pdu->community_len);
    for (const netsnmp_variable_list* binding = pdu->variables; binding;
         binding = binding->next_variable) {
        const OvOid name = nameOf(binding);
        std::string text = name.toString();
        if (pdu->command == SNMP_MSG_SET) {
            const DeviceVariable* variable = device_.find(name);
            text += '=' + formatValue(valueOf(binding), variable ? variable->type : 0);
        }
        record.bindings.push_back(std::move(text));
    }
    return record;
}

bool Agent::carries(const netsnmp_pdu* pdu, const OvOid& oid, int* position) const {
    int index = 1;
    for (const netsnmp_variable_list* binding = pdu->variables; binding;
         binding = binding->next_variable, ++index) {
        if (nameOf(binding).startsWith(oid)) {
            if (position != nullptr)
                *position = index;
            return true;
        }
    }
    return false;
}

FaultRules::Rule* Agent::match(std::vector<FaultRules::Rule>& rules, const netsnmp_pdu* pdu,
                               int* position) const {
    for (FaultRules::Rule& rule : rules)
        if (carries(pdu, rule.oid, position))
            return &rule;
    return nullptr;
}

bool Agent::tooBigFor(const netsnmp_pdu* pdu) const {
    if (rules_.tooBigAll)
        return true;
    if (rules_.maxVarbinds > 0) {
        int count = 0;
        for (const netsnmp_variable_list* b = pdu->variables; b; b = b->next_variable)
            ++count;
        if (count > rules_.maxVarbinds)
            return true;
    }
    for (const OvOid& oid : rules_.tooBig)
        if (carries(pdu, oid))
            return true;
    return false;
}

bool Agent::isAcceptableSet(const netsnmp_pdu* pdu) const {
    if (pdu->command != SNMP_MSG_SET)
        return false;
    // A SET the agent itself would refuse (community, checks) goes to it.
    if (pdu->version != SNMP_VERSION_3 && std::string(reinterpret_cast<const char*>(pdu->community),
                                                      pdu->community_len) != options_.rwCommunity)
        return false;
    for (const netsnmp_variable_list* binding = pdu->variables; binding;
         binding = binding->next_variable) {
        const OvOid name = nameOf(binding);
        if (device_.isAbsent(name) || device_.checkSet(name, valueOf(binding)) != 0)
            return false;
    }
    return true;
}

void Agent::answerError(netsnmp_session* session, const netsnmp_pdu* pdu, int status, int index,
                        bool keepBindings) {
    // The clone keeps the security state, so an SNMPv3 answer goes out with the
    // request's keys.
    netsnmp_pdu* answer = snmp_clone_pdu(const_cast<netsnmp_pdu*>(pdu));
    if (answer == nullptr)
        return;
    if (!keepBindings) {
        snmp_free_varbind(answer->variables);
        answer->variables = nullptr;
    }
    answer->command = SNMP_MSG_RESPONSE;
    answer->errstat = status;
    answer->errindex = index;
    if (snmp_send(session, answer) == 0)
        snmp_free_pdu(answer);
}

int AgentTrampolines::send(netsnmp_transport* transport, const void* data, int size, void** opaque,
                           int* opaqueLength) {
    return agent->onSend(transport, data, size, opaque, opaqueLength);
}

int Agent::onSend(netsnmp_transport* transport, const void* data, int size, void** opaque,
                  int* opaqueLength) {
    logPending(nullptr);
    if (changed_) {
        writeState();
        changed_ = false;
    }
    if (silent_ || packet_.swallow)
        return size;
    if (packet_.delayMs <= 0)
        return originalSend_(transport, data, size, opaque, opaqueLength);
    auto* held = new HeldAnswer{
        transport, std::string(static_cast<const char*>(data), size), {}, originalSend_};
    if (opaque != nullptr && *opaque != nullptr && opaqueLength != nullptr)
        held->opaque.assign(static_cast<const char*>(*opaque), *opaqueLength);
    timeval delay{packet_.delayMs / 1000, packet_.delayMs % 1000 * 1000};
    snmp_alarm_register_hr(delay, 0, &AgentTrampolines::sendHeld, held);
    return size;
}

void AgentTrampolines::sendHeld(unsigned int, void* data) {
    auto* held = static_cast<HeldAnswer*>(data);
    void* opaque = held->opaque.empty() ? nullptr : held->opaque.data();
    int opaqueLength = static_cast<int>(held->opaque.size());
    held->send(held->transport, held->packet.data(), static_cast<int>(held->packet.size()), &opaque,
               &opaqueLength);
    delete held;
}

} // namespace apsim
