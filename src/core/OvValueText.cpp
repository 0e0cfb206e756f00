#include "OvValueText.h"

#include "OvException.h"
#include "OvSNMPVarList.h"

namespace {

bool isNumber32(OvSyntax s) {
    return s == OvSyntax::Integer || s == OvSyntax::Counter32 || s == OvSyntax::Gauge32 ||
           s == OvSyntax::TimeTicks || s == OvSyntax::UInteger32;
}

bool isOctets(OvSyntax s) {
    return s == OvSyntax::OctetString || s == OvSyntax::Opaque;
}

bool isAddress(OvSyntax s) {
    return s == OvSyntax::IpAddress || s == OvSyntax::NsapAddress;
}

bool isOctetType(std::uint8_t type) {
    return type == ovtype::bitstr || type == ovtype::octetstr || type == ovtype::opaque ||
           type == ovtype::macaddress;
}

[[noreturn]] void badSyntax() {
    throw OvException(ovcode::BadSnmpSyntax);
}
[[noreturn]] void badValue() {
    throw OvException(ovcode::BadPartialValue);
}

std::string dottedQuad(const std::string& octets) {
    std::string text;
    for (std::size_t i = 0; i < 4; ++i) {
        if (i != 0)
            text += '.';
        text += std::to_string(static_cast<unsigned char>(octets[i]));
    }
    return text;
}

// An address text parsed as an object identifier, each arc cut to its low 8
// bits; fewer than four arcs are a bad value, more are ignored.
std::optional<std::string> addressOctets(const std::string& text) {
    const auto oid = OvOid::parse(text);
    if (!oid)
        return std::nullopt;
    if (oid->size() < 4)
        badValue();
    std::string octets;
    for (std::size_t i = 0; i < 4; ++i)
        octets += static_cast<char>(oid->arcs()[i] & 0xFF);
    return octets;
}

// Received value to text, before the option list; nullopt means "no fitting value".
std::optional<std::string> plainText(const OvVb& vb, std::uint8_t type) {
    const auto n32 = static_cast<std::uint32_t>(vb.number);
    switch (type) {
    case ovtype::boolean:
        if (!isNumber32(vb.syntax))
            return std::nullopt;
        return n32 != 0 ? ovtext::trueText : ovtext::falseText;
    case ovtype::integer:
        if (!isNumber32(vb.syntax))
            return std::nullopt;
        return std::to_string(static_cast<std::int32_t>(n32));
    case ovtype::counter:
    case ovtype::guage:
    case ovtype::uinteger:
        if (!isNumber32(vb.syntax))
            return std::nullopt;
        return std::to_string(n32);
    case ovtype::timeticks:
        if (!isNumber32(vb.syntax))
            return std::nullopt;
        return ov::timeText(n32);
    case ovtype::counter64:
        if (!isNumber32(vb.syntax) && vb.syntax != OvSyntax::Counter64)
            return std::nullopt;
        return std::to_string(vb.syntax == OvSyntax::Counter64 ? vb.number : n32);
    case ovtype::null:
        return std::nullopt;
    case ovtype::objectid:
        if (vb.syntax != OvSyntax::ObjectId)
            return std::nullopt;
        return vb.objectId.toString();
    case ovtype::ipaddress:
    case ovtype::nsapaddr:
        if (!isAddress(vb.syntax) || vb.octets.size() != 4)
            return std::nullopt;
        return dottedQuad(vb.octets);
    case ovtype::bitstr:
    case ovtype::octetstr:
    case ovtype::opaque:
    case ovtype::macaddress:
        if (!isOctets(vb.syntax))
            return std::nullopt;
        return ov::hexText(vb.octets);
    case ovtype::double_:
        if (!isOctets(vb.syntax) || vb.octets.size() < 8)
            return std::nullopt;
        return ov::doubleText(ov::doubleFromOctets(vb.octets));
    case ovtype::bcdatetime:
        if (!isOctets(vb.syntax) || vb.octets.size() < 8)
            return std::nullopt;
        return ov::doubleDateTimeText(ov::doubleFromOctets(vb.octets));
    case ovtype::datetime:
        if (!isOctets(vb.syntax) || vb.octets.size() < 8)
            return std::nullopt;
        return ov::dateAndTimeText(vb.octets);
    case ovtype::displaystr:
        if (!isOctets(vb.syntax))
            return std::nullopt;
        return vb.octets;
    default:
        badSyntax();
    }
}

} // namespace

std::string TextFromValue(const OvVb& received, std::uint8_t type, const OvOptionList* options) {
    const auto plain = plainText(received, type);
    std::string text = plain                                               ? *plain
                       : (type == ovtype::displaystr || isOctetType(type)) ? std::string()
                                                                           : ovtext::null;
    return options != nullptr ? options->ValueToLabel(text) : text;
}

OvVb ValueFromText(const std::string& valueText, std::uint8_t type, const OvOptionList* options) {
    const std::string text = options != nullptr ? options->LabelToValue(valueText) : valueText;
    if (!ov::isValueType(type))
        badSyntax();
    if (text == ovtext::null)
        return OvVb::null();
    switch (type) {
    case ovtype::boolean:
        return OvVb::integer(text == ovtext::trueText ? 1 : 0);
    case ovtype::integer:
        return OvVb::integer(static_cast<std::int32_t>(ov::numberRule(text)));
    case ovtype::bitstr:
    case ovtype::octetstr:
    case ovtype::opaque:
    case ovtype::macaddress:
        return OvVb::octetString(ov::octetsFromHex(text));
    case ovtype::null:
        return OvVb::null();
    case ovtype::objectid:
        if (auto oid = OvOid::parse(text))
            return OvVb::objectIdentifier(*oid);
        badValue();
    case ovtype::ipaddress:
    case ovtype::nsapaddr:
        if (auto octets = addressOctets(text))
            return OvVb::octetString(*octets, OvSyntax::IpAddress);
        badValue();
    case ovtype::counter:
        return OvVb::unsigned32(OvSyntax::Counter32, ov::numberRule(text));
    case ovtype::guage:
        return OvVb::unsigned32(OvSyntax::Gauge32, ov::numberRule(text));
    case ovtype::uinteger:
        return OvVb::unsigned32(OvSyntax::UInteger32, ov::numberRule(text));
    case ovtype::timeticks:
        return OvVb::unsigned32(OvSyntax::TimeTicks, ov::timeFromText(text));
    case ovtype::counter64:
        return OvVb::counter64(ov::numberRule64(text));
    case ovtype::double_: {
        double value = 0;
        if (!ov::doubleFromText(text, value))
            badValue();
        return OvVb::octetString(ov::octetsFromDouble(value));
    }
    case ovtype::datetime: {
        std::string octets;
        if (!ov::dateAndTimeFromText(text, octets))
            badValue();
        return OvVb::octetString(octets);
    }
    case ovtype::bcdatetime: {
        double value = 0;
        if (!ov::doubleDateTimeFromText(text, value))
            badValue();
        return OvVb::octetString(ov::octetsFromDouble(value));
    }
    case ovtype::displaystr:
        return OvVb::octetString(text);
    }
    badSyntax();
}

std::string NormaliseText(const std::string& text, std::uint8_t type) {
    // The value the text would be sent as, read back as a received value.
    if (type == ovtype::displaystr)
        return text == ovtext::null ? std::string() : text;
    if (type == ovtype::ipaddress || type == ovtype::nsapaddr) {
        if (text == ovtext::null)
            return ovtext::null;
        const auto octets = addressOctets(text);
        return octets ? dottedQuad(*octets) : ovtext::null;
    }
    if (type == ovtype::objectid) {
        const auto oid = text == ovtext::null ? std::nullopt : OvOid::parse(text);
        return oid ? oid->toString() : ovtext::null;
    }
    const OvVb value = ValueFromText(text, type, nullptr);
    if (isOctetType(type)) {
        if (value.hasNoValue() || value.octets.empty())
            return ovtext::null;
        if (type == ovtype::macaddress && value.octets.size() < 6)
            badValue();
    }
    if (value.hasNoValue())
        return ovtext::null;
    return TextFromValue(value, type, nullptr);
}

namespace ov {

bool isValueType(std::uint8_t type) {
    return (type >= ovtype::boolean && type <= ovtype::objectid) ||
           (type >= ovtype::ipaddress && type <= ovtype::displaystr);
}

} // namespace ov
