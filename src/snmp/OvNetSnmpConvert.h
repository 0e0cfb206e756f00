// Conversions between net-snmp's types and ours: variable bindings, and
// net-snmp's outcomes (SNMPERR_* numbers, Report PDUs) as SNMP++ engine statuses.
// Only the engine adapter includes this header.
#pragma once

#include "OvSNMPEngine.h"
#include "OvVb.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <vector>

namespace ovnetsnmp {

// Appends a binding to the PDU: the value for a set, NULL for a read. False when
// net-snmp refuses it (an OID it cannot hold).
bool addBinding(netsnmp_pdu* pdu, const OvVb& binding, bool withValue);

// A request PDU of the bindings, with the SNMPv3 context of the target; null
// when net-snmp refuses a binding.
netsnmp_pdu* buildPdu(const OvSNMPTarget& target, OvPduType type,
                      const std::vector<OvVb>& bindings);

std::vector<OvVb> bindingsOf(const netsnmp_pdu* pdu);

// SNMP++ status of a net-snmp library error (s_snmp_errno).
int statusOfLibraryError(int snmpErrno);

// SNMP++ status of a Report PDU, by the statistics counter it carries.
int statusOfReport(const netsnmp_pdu* report);

} // namespace ovnetsnmp
