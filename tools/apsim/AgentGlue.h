// Shared by the agent's source files: net-snmp's headers, conversions between
// its bindings and ours, and the one agent the C callbacks reach.
#pragma once

#include "Agent.h"

// net-snmp-config.h must come first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <net-snmp/agent/net-snmp-agent-includes.h>

// The agent library's first listening session; it has no header of its own.
extern "C" netsnmp_session* main_session;

namespace apsim {

OvOid oidOf(const oid* arcs, std::size_t length);
OvOid nameOf(const netsnmp_variable_list* binding);
std::vector<oid> arcsOf(const OvOid& value);
OvVb valueOf(const netsnmp_variable_list* binding);
void setValue(netsnmp_variable_list* binding, const OvVb& value);

// E.3.3.5.0, the transfer command.
const OvOid& tftpCommandOid();

// The C callbacks' way back to the agent: there is one per process.
struct AgentTrampolines {
    static Agent* agent;
    static int request(int op, netsnmp_session* session, int reqid, netsnmp_pdu* pdu, void* magic);
    static int send(netsnmp_transport* transport, const void* data, int size, void** opaque,
                    int* opaqueLength);
    static int handler(netsnmp_mib_handler* handler, netsnmp_handler_registration* registration,
                       netsnmp_agent_request_info* info, netsnmp_request_info* requests);
    static void sendHeld(unsigned int alarm, void* held);
    static void restartDone(unsigned int alarm, void* unused);
    static void logLine(unsigned int alarm, void* unused);
};

} // namespace apsim
