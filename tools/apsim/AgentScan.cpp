// The device scanning the air for rogue access points: rogueAPDetect = 1 is
// answered when the scan has ended, --scan-seconds after it came; meanwhile the
// device answers every other request (the manager's LED poll goes on). One
// scan at a time: a second one meanwhile is refused with genErr.
#include "AgentGlue.h"

#include <cstdio>

namespace apsim {

namespace {

const OvOid& detectOid() {
    static const OvOid oid = *OvOid::parse(MibObjects::privateRoot().toString() + ".2.10.4.1.1.0");
    return oid;
}

} // namespace

bool Agent::isHeldScan(const netsnmp_pdu* pdu) const {
    if (!isAcceptableSet(pdu))
        return false;
    for (const netsnmp_variable_list* binding = pdu->variables; binding;
         binding = binding->next_variable)
        if (nameOf(binding) == detectOid() && valueOf(binding).number == 1)
            return true;
    return false;
}

void Agent::holdScan(netsnmp_session* session, netsnmp_pdu* pdu) {
    if (heldScan_ != nullptr) {
        answerError(session, pdu, SNMP_ERR_GENERR, 1, true);
        return;
    }
    heldScan_ = snmp_clone_pdu(pdu);
    scanSession_ = session;
    const auto micros = static_cast<long>(options_.scanSeconds * 1e6);
    timeval delay{micros / 1000000, micros % 1000000};
    snmp_alarm_register_hr(delay, 0, &AgentTrampolines::scanDone, nullptr);
}

void AgentTrampolines::scanDone(unsigned int, void*) {
    agent->finishScan();
}

void Agent::finishScan() {
    if (heldScan_ == nullptr)
        return;
    // A device that restarted meanwhile forgot the scan and its manager.
    if (!silent_) {
        for (const netsnmp_variable_list* b = heldScan_->variables; b; b = b->next_variable)
            device_.set(nameOf(b), valueOf(b));
        answerError(scanSession_, heldScan_, SNMP_ERR_NOERROR, 0, true);
        std::printf("apsim: rogue AP scan ended\n");
        std::fflush(stdout);
    }
    snmp_free_pdu(heldScan_);
    heldScan_ = nullptr;
    scanSession_ = nullptr;
    writeState();
}

} // namespace apsim
