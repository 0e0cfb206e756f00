#include "TypedValue.h"

#include "OvSNMPVarList.h"

#include <charconv>
#include <stdexcept>

namespace apsim {
namespace {

template <typename Number> Number parseNumber(const std::string& text, const char* what) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || p != end)
        throw std::invalid_argument("\"" + text + "\" is not " + what);
    return value;
}

std::string parseIpAddress(const std::string& text) {
    std::string octets;
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = part < 3 ? text.find('.', start) : text.size();
        if (dot == std::string::npos)
            throw std::invalid_argument("\"" + text + "\" is not a dotted quad");
        const std::string piece = text.substr(start, dot - start);
        const unsigned value = parseNumber<unsigned>(piece, "a dotted quad");
        if (value > 255 || piece.size() > 3)
            throw std::invalid_argument("\"" + text + "\" is not a dotted quad");
        octets += static_cast<char>(value);
        start = dot + 1;
    }
    return octets;
}

OvOid parseOid(const std::string& text) {
    const auto oid = OvOid::parse(text);
    if (!oid || oid->size() < 2)
        throw std::invalid_argument("\"" + text + "\" is not an object identifier");
    return *oid;
}

std::string parseHex(const std::string& text) {
    std::string octets;
    if (!octetsOfHex(text, octets))
        throw std::invalid_argument("\"" + text + "\" is not hex octets");
    return octets;
}

OvVb parsePrefixed(char prefix, const std::string& text) {
    switch (prefix) {
    case 'i':
        return OvVb::integer(parseNumber<std::int32_t>(text, "a 32-bit integer"));
    case 'u':
        return OvVb::unsigned32(OvSyntax::Gauge32, parseNumber<std::uint32_t>(text, "unsigned"));
    case 'c':
        return OvVb::unsigned32(OvSyntax::Counter32,
                                parseNumber<std::uint32_t>(text, "a 32-bit counter"));
    case 'C':
        return OvVb::counter64(parseNumber<std::uint64_t>(text, "a 64-bit counter"));
    case 't':
        return OvVb::unsigned32(OvSyntax::TimeTicks, parseNumber<std::uint32_t>(text, "ticks"));
    case 'a':
        return OvVb::octetString(parseIpAddress(text), OvSyntax::IpAddress);
    case 'o':
        return OvVb::objectIdentifier(parseOid(text));
    case 's':
        return OvVb::octetString(text);
    case 'x':
        return OvVb::octetString(parseHex(text));
    case 'n':
        return OvVb::null();
    }
    throw std::invalid_argument(std::string("unknown type prefix \"") + prefix + ":\"");
}

bool isPrintable(const std::string& octets) {
    for (const unsigned char c : octets)
        if (c < 0x20 || c > 0x7e)
            return false;
    return true;
}

std::string ipText(const std::string& octets) {
    std::string text;
    for (std::size_t i = 0; i < octets.size(); ++i) {
        if (i != 0)
            text += '.';
        text += std::to_string(static_cast<unsigned char>(octets[i]));
    }
    return text;
}

} // namespace

OvSyntax syntaxOfType(std::uint8_t mibType) {
    switch (mibType) {
    case ovtype::integer:
        return OvSyntax::Integer;
    case ovtype::objectid:
        return OvSyntax::ObjectId;
    case ovtype::ipaddress:
        return OvSyntax::IpAddress;
    case ovtype::counter:
        return OvSyntax::Counter32;
    case ovtype::timeticks:
        return OvSyntax::TimeTicks;
    default:
        return OvSyntax::OctetString;
    }
}

OvVb parseValue(const std::string& text, std::uint8_t mibType) {
    if (text.size() >= 2 && text[1] == ':' &&
        std::string("iucCtaosxn").find(text[0]) != std::string::npos)
        return parsePrefixed(text[0], text.substr(2));
    switch (mibType) {
    case ovtype::integer:
        return parsePrefixed('i', text);
    case ovtype::counter:
        return parsePrefixed('c', text);
    case ovtype::timeticks:
        return parsePrefixed('t', text);
    case ovtype::ipaddress:
        return parsePrefixed('a', text);
    case ovtype::objectid:
        return parsePrefixed('o', text);
    case ovtype::macaddress:
        return parsePrefixed('x', text);
    default:
        return parsePrefixed('s', text);
    }
}

std::string formatValue(const OvVb& value, std::uint8_t mibType) {
    switch (value.syntax) {
    case OvSyntax::Integer:
        return "i:" + std::to_string(static_cast<std::int32_t>(value.number));
    case OvSyntax::Gauge32:
    case OvSyntax::UInteger32:
        return "u:" + std::to_string(value.number);
    case OvSyntax::Counter32:
        return "c:" + std::to_string(value.number);
    case OvSyntax::Counter64:
        return "C:" + std::to_string(value.number);
    case OvSyntax::TimeTicks:
        return "t:" + std::to_string(value.number);
    case OvSyntax::IpAddress:
        return value.octets.size() == 4 ? "a:" + ipText(value.octets) : "x:" + hexOf(value.octets);
    case OvSyntax::ObjectId:
        return "o:" + value.objectId.toString();
    case OvSyntax::OctetString:
    case OvSyntax::Opaque:
    case OvSyntax::NsapAddress:
        if (mibType != ovtype::macaddress && isPrintable(value.octets))
            return "s:" + value.octets;
        return "x:" + hexOf(value.octets);
    default:
        return "n:";
    }
}

std::string hexOf(const std::string& octets) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const unsigned char c : octets) {
        text += digits[c >> 4];
        text += digits[c & 0x0f];
    }
    return text;
}

bool octetsOfHex(const std::string& text, std::string& octets) {
    octets.clear();
    int high = -1;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if ((c == ':' || c == '-') && high < 0 && !octets.empty())
            continue;
        else
            return false;
        if (high < 0) {
            high = digit;
        } else {
            octets += static_cast<char>(high << 4 | digit);
            high = -1;
        }
    }
    return high < 0;
}

} // namespace apsim
