#include "OvNetSnmpConvert.h"

#include "OvSNMPEngine.h"

#include <cstdlib>
#include <cstring>

namespace ovnetsnmp {

namespace {

std::vector<oid> oidOf(const OvOid& value) {
    return std::vector<oid>(value.arcs().begin(), value.arcs().end());
}

OvOid ourOid(const oid* name, std::size_t length) {
    std::vector<std::uint32_t> arcs;
    arcs.reserve(length);
    for (std::size_t i = 0; i < length; ++i)
        arcs.push_back(static_cast<std::uint32_t>(name[i]));
    return OvOid(std::move(arcs));
}

bool addValue(netsnmp_pdu* pdu, const std::vector<oid>& name, const OvVb& vb) {
    const auto add = [&](u_char type, const void* value, std::size_t length) {
        return snmp_pdu_add_variable(pdu, name.data(), name.size(), type, value, length) != nullptr;
    };
    switch (vb.syntax) {
    case OvSyntax::Integer: {
        const long value = static_cast<std::int32_t>(static_cast<std::uint32_t>(vb.number));
        return add(ASN_INTEGER, &value, sizeof value);
    }
    case OvSyntax::Counter32:
    case OvSyntax::Gauge32:
    case OvSyntax::TimeTicks:
    case OvSyntax::UInteger32: {
        const u_long value = static_cast<std::uint32_t>(vb.number);
        return add(static_cast<u_char>(vb.syntax), &value, sizeof value);
    }
    case OvSyntax::Counter64: {
        counter64 value{};
        value.high = static_cast<u_long>(vb.number >> 32);
        value.low = static_cast<u_long>(vb.number & 0xFFFFFFFFu);
        return add(ASN_COUNTER64, &value, sizeof value);
    }
    case OvSyntax::OctetString:
    case OvSyntax::Opaque:
    case OvSyntax::IpAddress:
    case OvSyntax::NsapAddress:
        return add(static_cast<u_char>(vb.syntax), vb.octets.data(), vb.octets.size());
    case OvSyntax::ObjectId: {
        const std::vector<oid> value = oidOf(vb.objectId);
        return add(ASN_OBJECT_ID, value.data(), value.size() * sizeof(oid));
    }
    default:
        return add(ASN_NULL, nullptr, 0);
    }
}

OvVb valueOf(const netsnmp_variable_list* var) {
    OvVb vb;
    switch (var->type) {
    case ASN_INTEGER:
        return OvVb::integer(static_cast<std::int32_t>(*var->val.integer));
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
    case ASN_UINTEGER:
        return OvVb::unsigned32(static_cast<OvSyntax>(var->type),
                                static_cast<std::uint32_t>(*var->val.integer));
    case ASN_COUNTER64:
        return OvVb::counter64((static_cast<std::uint64_t>(var->val.counter64->high) << 32) |
                               (var->val.counter64->low & 0xFFFFFFFFu));
    case ASN_OCTET_STR:
    case ASN_OPAQUE:
    case ASN_IPADDRESS:
    case ASN_NSAP: {
        const char* octets = reinterpret_cast<const char*>(var->val.string);
        return OvVb::octetString(octets != nullptr ? std::string(octets, var->val_len)
                                                   : std::string(),
                                 static_cast<OvSyntax>(var->type));
    }
    case ASN_OBJECT_ID:
        return OvVb::objectIdentifier(ourOid(var->val.objid, var->val_len / sizeof(oid)));
    case SNMP_NOSUCHOBJECT:
    case SNMP_NOSUCHINSTANCE:
    case SNMP_ENDOFMIBVIEW:
        vb.syntax = static_cast<OvSyntax>(var->type);
        return vb;
    default:
        return vb; // NULL, and types the module has no use for
    }
}

void copyText(char*& field, std::size_t& length, const std::string& text) {
    field = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(field, text.c_str(), text.size() + 1);
    length = text.size();
}

void copyOctets(u_char*& field, std::size_t& length, const std::string& octets) {
    field = static_cast<u_char*>(std::malloc(octets.size() + 1));
    std::memcpy(field, octets.data(), octets.size());
    length = octets.size();
}

} // namespace

bool addBinding(netsnmp_pdu* pdu, const OvVb& binding, bool withValue) {
    const std::vector<oid> name = oidOf(binding.oid);
    if (name.empty() || name.size() > MAX_OID_LEN)
        return false;
    if (!withValue)
        return snmp_add_null_var(pdu, name.data(), name.size()) != nullptr;
    return addValue(pdu, name, binding);
}

netsnmp_pdu* buildPdu(const OvSNMPTarget& target, OvPduType type,
                      const std::vector<OvVb>& bindings) {
    const int command = type == OvPduType::Get       ? SNMP_MSG_GET
                        : type == OvPduType::GetNext ? SNMP_MSG_GETNEXT
                                                     : SNMP_MSG_SET;
    netsnmp_pdu* pdu = snmp_pdu_create(command);
    if (pdu == nullptr)
        return nullptr;
    if (target.version == 3) {
        if (!target.contextName.empty())
            copyText(pdu->contextName, pdu->contextNameLen, target.contextName);
        if (!target.contextEngineId.empty())
            copyOctets(pdu->contextEngineID, pdu->contextEngineIDLen, target.contextEngineId);
    }
    for (const OvVb& binding : bindings) {
        if (!addBinding(pdu, binding, type == OvPduType::Set)) {
            snmp_free_pdu(pdu);
            return nullptr;
        }
    }
    return pdu;
}

std::vector<OvVb> bindingsOf(const netsnmp_pdu* pdu) {
    std::vector<OvVb> bindings;
    for (const netsnmp_variable_list* var = pdu->variables; var; var = var->next_variable) {
        OvVb vb = valueOf(var);
        vb.oid = ourOid(var->name, var->name_length);
        bindings.push_back(std::move(vb));
    }
    return bindings;
}

int statusOfLibraryError(int snmpErrno) {
    switch (snmpErrno) {
    case SNMPERR_SUCCESS:
        return ovstatus::success;
    case SNMPERR_TIMEOUT:
        return ovstatus::timeout;
    case SNMPERR_BAD_ADDRESS:
    case SNMPERR_BAD_LOCPORT:
        return ovstatus::invalidAddress;
    case SNMPERR_NO_SOCKET:
    case SNMPERR_BAD_SENDTO:
    case SNMPERR_BAD_RECVFROM:
    case SNMPERR_TRANSPORT_NO_CONFIG:
    case SNMPERR_TRANSPORT_CONFIG_ERROR:
        return ovstatus::transportFailed;
    case SNMPERR_MALLOC:
        return ovstatus::resourceUnavailable;
    case SNMPERR_BAD_VERSION:
        return ovstatus::unsupported;
    case SNMPERR_TOO_LONG:
    case SNMPERR_V2_IN_V1:
    case SNMPERR_V1_IN_V2:
    case SNMPERR_BAD_ASN1_BUILD:
    case SNMPERR_NULL_PDU:
    case SNMPERR_NO_VARS:
    case SNMPERR_VAR_TYPE:
    case SNMPERR_UNKNOWN_PDU:
        return ovstatus::invalidPdu;
    case SNMPERR_BAD_PARSE:
    case SNMPERR_ASN_PARSE_ERR:
        return ovstatus::v3ParseError;
    case SNMPERR_UNKNOWN_SEC_MODEL:
        return ovstatus::v3UnsupportedSecurityModel;
    case SNMPERR_INVALID_MSG:
        return ovstatus::v3InvalidMessage;
    case SNMPERR_BAD_CONTEXT:
        return ovstatus::v3UnknownContext;
    case SNMPERR_UNKNOWN_ENG_ID:
    case SNMPERR_USM_UNKNOWNENGINEID:
    case SNMPERR_BAD_ENG_ID:
        return ovstatus::usmUnknownEngineId;
    case SNMPERR_UNKNOWN_USER_NAME:
    case SNMPERR_USM_UNKNOWNSECURITYNAME:
    case SNMPERR_BAD_SEC_NAME:
        return ovstatus::usmUnknownSecurityName;
    case SNMPERR_UNSUPPORTED_SEC_LEVEL:
    case SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL:
    case SNMPERR_BAD_SEC_LEVEL:
        return ovstatus::usmUnsupportedSecurityLevel;
    case SNMPERR_AUTHENTICATION_FAILURE:
    case SNMPERR_USM_AUTHENTICATIONFAILURE:
        return ovstatus::usmAuthenticationFailure;
    case SNMPERR_NOT_IN_TIME_WINDOW:
    case SNMPERR_USM_NOTINTIMEWINDOW:
        return ovstatus::usmNotInTimeWindow;
    case SNMPERR_DECRYPTION_ERR:
    case SNMPERR_USM_DECRYPTIONERROR:
        return ovstatus::usmDecryptionError;
    case SNMPERR_USM_ENCRYPTIONERROR:
        return ovstatus::usmEncryptionError;
    case SNMPERR_USM_PARSEERROR:
        return ovstatus::usmParseError;
    case SNMPERR_USM_GENERICERROR:
    case SNMPERR_SC_GENERAL_FAILURE:
    case SNMPERR_SC_NOT_CONFIGURED:
    case SNMPERR_KT_NOT_AVAILABLE:
        return ovstatus::usmError;
    default:
        return ovstatus::error;
    }
}

int statusOfReport(const netsnmp_pdu* report) {
    // usmStats (1.3.6.1.6.3.15.1.1.N), snmpMPDStats (1.3.6.1.6.3.11.2.1.N) and the
    // target MIB's context counters (1.3.6.1.6.3.12.1.N).
    static const oid usmStats[] = {1, 3, 6, 1, 6, 3, 15, 1, 1};
    static const oid mpdStats[] = {1, 3, 6, 1, 6, 3, 11, 2, 1};
    static const oid targetStats[] = {1, 3, 6, 1, 6, 3, 12, 1};
    const netsnmp_variable_list* var = report->variables;
    if (var == nullptr)
        return ovstatus::error;
    const auto under = [var](const oid* prefix, std::size_t length) {
        return var->name_length > length &&
               snmp_oid_compare(var->name, length, prefix, length) == 0;
    };
    if (under(usmStats, 9)) {
        switch (var->name[9]) {
        case 1:
            return ovstatus::usmUnsupportedSecurityLevel;
        case 2:
            return ovstatus::usmNotInTimeWindow;
        case 3:
            return ovstatus::usmUnknownSecurityName;
        case 4:
            return ovstatus::usmUnknownEngineId;
        case 5:
            return ovstatus::usmAuthenticationFailure;
        case 6:
            return ovstatus::usmDecryptionError;
        default:
            return ovstatus::usmError;
        }
    }
    if (under(mpdStats, 9)) {
        switch (var->name[9]) {
        case 1:
            return ovstatus::v3UnsupportedSecurityModel;
        case 2:
            return ovstatus::v3InvalidMessage;
        case 3:
            return ovstatus::v3UnknownPduHandlers;
        default:
            return ovstatus::error;
        }
    }
    if (under(targetStats, 8)) {
        switch (var->name[8]) {
        case 4:
            return ovstatus::v3UnavailableContext;
        case 5:
            return ovstatus::v3UnknownContext;
        default:
            return ovstatus::error;
        }
    }
    return ovstatus::error;
}

} // namespace ovnetsnmp
