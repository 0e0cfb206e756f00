// Engine ID discovery for asynchronous SNMPv3 sessions. net-snmp would probe
// inside the first send and wait for the answer; here the probe (RFC 3414
// section 4) is an ordinary asynchronous exchange, and the session's requests
// wait for it, held, until the agent's Report names its engine ID.
#include "OvEngineRecords.h"

namespace ovengine {

namespace {

// Ends the wait of the session's held requests: sent when the engine ID is
// known, otherwise failed with the probe's outcome (a time-out when the agent
// is silent).
void releaseWaiting(Session& session, int status) {
    std::vector<std::uint64_t> waiting;
    waiting.swap(session.waiting);
    for (std::uint64_t id : waiting) {
        auto it = pending().records.find(id);
        if (it == pending().records.end() || it->second.queued)
            continue;
        if (session.engineKnown) {
            transmit(id, session, it->second.held);
        } else {
            OvSNMPAnswer answer;
            answer.status = status != ovstatus::success ? status : ovstatus::usmUnknownEngineId;
            queue(id, answer);
        }
    }
}

} // namespace

// A probe ends with the agent's engine ID (a Report names it) or without.
void onProbeEvent(Probe& probe, int operation, const netsnmp_pdu* pdu) {
    if (probe.done)
        return;
    switch (operation) {
    case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
    case NETSNMP_CALLBACK_OP_SEC_ERROR:
        if (pdu == nullptr)
            return;
        if (pdu->securityEngineIDLen > 0)
            probe.engineId.assign(reinterpret_cast<const char*>(pdu->securityEngineID),
                                  pdu->securityEngineIDLen);
        else
            probe.status = pdu->command == SNMP_MSG_REPORT ? ovnetsnmp::statusOfReport(pdu)
                                                           : ovstatus::usmUnknownEngineId;
        break;
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
        probe.status = ovstatus::timeout;
        break;
    case NETSNMP_CALLBACK_OP_SEND_FAILED:
        probe.status = ovstatus::transportFailed;
        break;
    case NETSNMP_CALLBACK_OP_DISCONNECT:
        probe.status = ovstatus::sessionDestroyed;
        break;
    default:
        return;
    }
    probe.done = true;
}

int discover(Session& session) {
    netsnmp_pdu* probe = makeProbePdu();
    const std::uint64_t id = pending().nextId++;
    prepareSend(session);
    if (probe == nullptr ||
        snmp_sess_async_send(session.handle, probe, onAsyncEvent, magicOf(id)) == 0) {
        const int status = failureStatus(snmp_sess_session(session.handle)->s_snmp_errno);
        snmp_free_pdu(probe);
        releaseWaiting(session, status);
        return status;
    }
    pending().probes[id].session = &session;
    session.discovering = true;
    ++session.outstanding;
    return 0;
}

void finishProbes() {
    std::vector<Probe> done;
    for (auto it = pending().probes.begin(); it != pending().probes.end();) {
        if (it->second.done) {
            done.push_back(std::move(it->second));
            it = pending().probes.erase(it);
        } else {
            ++it;
        }
    }
    for (Probe& probe : done) {
        Session& session = *probe.session;
        --session.outstanding;
        session.discovering = false;
        if (!probe.engineId.empty())
            adoptEngineId(session, probe.engineId);
        releaseWaiting(session, probe.status);
    }
}

} // namespace ovengine
