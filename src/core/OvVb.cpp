#include "OvVb.h"

#include <algorithm>
#include <charconv>

std::optional<OvOid> OvOid::parse(const std::string& text) {
    const char* p = text.data();
    const char* end = p + text.size();
    if (p != end && *p == '.')
        ++p;
    std::vector<std::uint32_t> arcs;
    while (true) {
        if (p == end || *p < '0' || *p > '9')
            return std::nullopt;
        std::uint32_t arc = 0;
        const auto [next, ec] = std::from_chars(p, end, arc);
        if (ec != std::errc())
            return std::nullopt;
        arcs.push_back(arc);
        p = next;
        if (p == end)
            break;
        if (*p != '.')
            return std::nullopt;
        ++p;
    }
    return OvOid(std::move(arcs));
}

std::string OvOid::toString() const {
    std::string text;
    for (std::size_t i = 0; i < arcs_.size(); ++i) {
        if (i != 0)
            text += '.';
        text += std::to_string(arcs_[i]);
    }
    return text;
}

bool OvOid::startsWith(const OvOid& base) const {
    return base.arcs_.size() <= arcs_.size() &&
           std::equal(base.arcs_.begin(), base.arcs_.end(), arcs_.begin());
}

OvVb OvVb::integer(std::int32_t value) {
    OvVb vb;
    vb.syntax = OvSyntax::Integer;
    vb.number = static_cast<std::uint32_t>(value);
    return vb;
}

OvVb OvVb::unsigned32(OvSyntax syntax, std::uint32_t value) {
    OvVb vb;
    vb.syntax = syntax;
    vb.number = value;
    return vb;
}

OvVb OvVb::counter64(std::uint64_t value) {
    OvVb vb;
    vb.syntax = OvSyntax::Counter64;
    vb.number = value;
    return vb;
}

OvVb OvVb::octetString(std::string value, OvSyntax syntax) {
    OvVb vb;
    vb.syntax = syntax;
    vb.octets = std::move(value);
    return vb;
}

OvVb OvVb::objectIdentifier(OvOid value) {
    OvVb vb;
    vb.syntax = OvSyntax::ObjectId;
    vb.objectId = std::move(value);
    return vb;
}

bool OvVb::hasNoValue() const {
    return syntax == OvSyntax::Null || syntax == OvSyntax::NoSuchObject ||
           syntax == OvSyntax::NoSuchInstance || syntax == OvSyntax::EndOfMibView;
}
