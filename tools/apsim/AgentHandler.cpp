// The MIB handler: GET, GET-NEXT and the SET phases, served from the device's
// ordered map. GET-BULK reaches it as a series of GET-NEXTs.
#include "AgentGlue.h"

#include <cstring>

namespace apsim {

OvOid oidOf(const oid* arcs, std::size_t length) {
    return OvOid(std::vector<std::uint32_t>(arcs, arcs + length));
}

OvOid nameOf(const netsnmp_variable_list* binding) {
    return oidOf(binding->name, binding->name_length);
}

std::vector<oid> arcsOf(const OvOid& value) {
    return std::vector<oid>(value.arcs().begin(), value.arcs().end());
}

OvVb valueOf(const netsnmp_variable_list* binding) {
    const auto octets = [binding] {
        return std::string(reinterpret_cast<const char*>(binding->val.string), binding->val_len);
    };
    switch (binding->type) {
    case ASN_INTEGER:
        return OvVb::integer(static_cast<std::int32_t>(*binding->val.integer));
    case ASN_OCTET_STR:
        return OvVb::octetString(octets());
    case ASN_OPAQUE:
        return OvVb::octetString(octets(), OvSyntax::Opaque);
    case ASN_IPADDRESS:
        return OvVb::octetString(octets(), OvSyntax::IpAddress);
    case ASN_COUNTER:
        return OvVb::unsigned32(OvSyntax::Counter32,
                                static_cast<std::uint32_t>(*binding->val.integer));
    case ASN_GAUGE:
        return OvVb::unsigned32(OvSyntax::Gauge32,
                                static_cast<std::uint32_t>(*binding->val.integer));
    case ASN_TIMETICKS:
        return OvVb::unsigned32(OvSyntax::TimeTicks,
                                static_cast<std::uint32_t>(*binding->val.integer));
    case ASN_COUNTER64:
        return OvVb::counter64(std::uint64_t(binding->val.counter64->high) << 32 |
                               binding->val.counter64->low);
    case ASN_OBJECT_ID:
        return OvVb::objectIdentifier(oidOf(binding->val.objid, binding->val_len / sizeof(oid)));
    default:
        return OvVb::null();
    }
}

void setValue(netsnmp_variable_list* binding, const OvVb& value) {
    switch (value.syntax) {
    case OvSyntax::Integer: {
        const long number = static_cast<std::int32_t>(value.number);
        snmp_set_var_typed_value(binding, ASN_INTEGER, &number, sizeof number);
        return;
    }
    case OvSyntax::Counter32:
    case OvSyntax::Gauge32:
    case OvSyntax::UInteger32:
    case OvSyntax::TimeTicks: {
        const u_long number = static_cast<std::uint32_t>(value.number);
        snmp_set_var_typed_value(binding, static_cast<u_char>(value.syntax), &number,
                                 sizeof number);
        return;
    }
    case OvSyntax::Counter64: {
        counter64 number{static_cast<u_long>(value.number >> 32),
                         static_cast<u_long>(value.number & 0xffffffffu)};
        snmp_set_var_typed_value(binding, ASN_COUNTER64, &number, sizeof number);
        return;
    }
    case OvSyntax::ObjectId: {
        const std::vector<oid> arcs = arcsOf(value.objectId);
        snmp_set_var_typed_value(binding, ASN_OBJECT_ID, arcs.data(), arcs.size() * sizeof(oid));
        return;
    }
    case OvSyntax::OctetString:
    case OvSyntax::IpAddress:
    case OvSyntax::Opaque:
    case OvSyntax::NsapAddress:
        snmp_set_var_typed_value(binding, static_cast<u_char>(value.syntax), value.octets.data(),
                                 value.octets.size());
        return;
    default:
        snmp_set_var_typed_value(binding, ASN_NULL, nullptr, 0);
    }
}

int AgentTrampolines::handler(netsnmp_mib_handler*, netsnmp_handler_registration* registration,
                              netsnmp_agent_request_info* info, netsnmp_request_info* requests) {
    return agent->onHandler(registration, info, requests);
}

int Agent::onHandler(netsnmp_handler_registration* registration, netsnmp_agent_request_info* info,
                     netsnmp_request_info* requests) {
    const OvOid root = oidOf(registration->rootoid, registration->rootoid_len);
    for (netsnmp_request_info* request = requests; request; request = request->next) {
        if (request->processed)
            continue;
        const OvOid name = nameOf(request->requestvb);
        switch (info->mode) {
        case MODE_GET:
            answerGet(info, request);
            break;
        case MODE_GETNEXT:
            answerNext(request, root);
            break;
        case MODE_SET_RESERVE1:
            if (const int status = device_.checkSet(name, valueOf(request->requestvb)))
                netsnmp_set_request_error(info, request, status);
            break;
        case MODE_SET_COMMIT:
            pendingRestart_ =
                std::max(pendingRestart_, device_.set(name, valueOf(request->requestvb)));
            pendingPut_ = pendingPut_ ||
                          (name == tftpCommandOid() && valueOf(request->requestvb).number == 3);
            changed_ = true;
            break;
        default:
            break;
        }
    }
    return SNMP_ERR_NOERROR;
}

void Agent::answerGet(netsnmp_agent_request_info* info, netsnmp_request_info* request) {
    const OvOid name = nameOf(request->requestvb);
    const bool absent = device_.isAbsent(name);
    if (const DeviceVariable* variable = absent ? nullptr : device_.find(name)) {
        serve(request->requestvb, name, *variable);
        return;
    }
    // A missing row of a known column is no such instance; anything else no such object.
    const bool knownObject = !absent && device_.mib().objectOf(name) != nullptr;
    netsnmp_set_request_error(info, request, knownObject ? SNMP_NOSUCHINSTANCE : SNMP_NOSUCHOBJECT);
}

void Agent::answerNext(netsnmp_request_info* request, const OvOid& root) {
    // Nothing further below this root: the agent goes on to the next subtree.
    if (const Device::Entry* entry = device_.next(nameOf(request->requestvb), root))
        serve(request->requestvb, entry->first, entry->second);
}

void Agent::serve(netsnmp_variable_list* binding, const OvOid& name,
                  const DeviceVariable& variable) {
    const auto renamed = rules_.answerOid.find(name);
    const std::vector<oid> arcs =
        arcsOf(renamed == rules_.answerOid.end() ? name : renamed->second);
    snmp_set_var_objid(binding, arcs.data(), arcs.size());
    setValue(binding, currentValue(variable, uptimeTicks()));
}

} // namespace apsim
