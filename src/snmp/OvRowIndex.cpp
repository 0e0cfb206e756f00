// Table row indexes: key record values as sub-identifiers and back.
#include "OvSNMPRequest.h"

#include "OvException.h"
#include "OvValueText.h"

#include <cstring>

namespace {

using Arcs = std::vector<std::uint32_t>;

std::string dotted(const Arcs& arcs) {
    return OvOid(arcs).toString();
}

void appendOctets(Arcs& arcs, const std::string& octets) {
    for (unsigned char octet : octets)
        arcs.push_back(octet);
}

// The two 32-bit halves of eight little-endian octets, low half first.
void appendHalves(Arcs& arcs, const std::string& octets) {
    for (int half = 0; half < 2; ++half) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(octets[half * 4 + i]);
        arcs.push_back(value);
    }
}

std::string octetsOfHalves(std::uint32_t low, std::uint32_t high) {
    std::string octets;
    for (std::uint32_t half : {low, high})
        for (int i = 0; i < 4; ++i)
            octets += static_cast<char>((half >> (8 * i)) & 0xFF);
    return octets;
}

// Reads arcs from the front of an index; running out is a short row index.
class IndexReader {
public:
    explicit IndexReader(const std::string& index) {
        if (index.empty())
            return;
        auto oid = OvOid::parse(index);
        if (!oid)
            throw OvException(ovcode::BadKeyCount);
        arcs_ = oid->arcs();
    }
    std::uint32_t next() {
        if (at_ >= arcs_.size())
            throw OvException(ovcode::BadKeyCount);
        return arcs_[at_++];
    }
    std::string octets(std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += static_cast<char>(next() & 0xFF);
        return text;
    }
    std::size_t remaining() const { return arcs_.size() - at_; }
    std::string rest() const { return dotted(Arcs(arcs_.begin() + at_, arcs_.end())); }

private:
    Arcs arcs_;
    std::size_t at_ = 0;
};

std::string decodeValue(std::uint8_t type, IndexReader& reader, bool implied) {
    switch (type) {
    case ovtype::boolean:
        return reader.next() != 0 ? ovtext::trueText : ovtext::falseText;
    case ovtype::integer:
        return std::to_string(static_cast<std::int32_t>(reader.next()));
    case ovtype::counter:
    case ovtype::guage:
    case ovtype::uinteger:
        return std::to_string(reader.next());
    case ovtype::timeticks:
        return ov::timeText(reader.next());
    case ovtype::ipaddress:
    case ovtype::nsapaddr: {
        std::string text;
        for (int i = 0; i < 4; ++i)
            text += (i ? "." : "") + std::to_string(reader.next() & 0xFF);
        return text;
    }
    case ovtype::macaddress:
        return ov::hexText(reader.octets(6));
    case ovtype::counter64: {
        const std::uint64_t high = reader.next();
        return std::to_string((high << 32) | reader.next());
    }
    case ovtype::double_:
    case ovtype::bcdatetime: {
        const std::uint32_t low = reader.next();
        const double value = ov::doubleFromOctets(octetsOfHalves(low, reader.next()));
        return type == ovtype::double_ ? ov::doubleText(value) : ov::doubleDateTimeText(value);
    }
    case ovtype::datetime:
        return ov::dateAndTimeText(reader.octets(11));
    case ovtype::octetstr:
    case ovtype::bitstr:
    case ovtype::opaque:
    case ovtype::displaystr: {
        const std::size_t length = implied ? reader.remaining() : reader.next();
        const std::string octets = reader.octets(length);
        return type == ovtype::displaystr ? octets : ov::hexText(octets);
    }
    case ovtype::objectid: {
        const std::size_t count = implied ? reader.remaining() : reader.next();
        Arcs arcs;
        for (std::size_t i = 0; i < count; ++i)
            arcs.push_back(reader.next());
        return dotted(arcs);
    }
    case ovtype::null:
        return ovtext::null;
    default:
        throw OvException(ovcode::BadSnmpSyntax);
    }
}

Arcs encodeValue(std::uint8_t type, const std::string& text, bool implied) {
    Arcs arcs;
    switch (type) {
    case ovtype::boolean:
        arcs.push_back(text == ovtext::trueText ? 1 : 0);
        break;
    case ovtype::integer:
    case ovtype::counter:
    case ovtype::guage:
    case ovtype::uinteger:
        arcs.push_back(ov::numberRule(text));
        break;
    case ovtype::timeticks:
        arcs.push_back(ov::timeFromText(text));
        break;
    case ovtype::ipaddress:
    case ovtype::nsapaddr: {
        const auto oid = OvOid::parse(text);
        if (!oid || oid->size() < 4)
            throw OvException(ovcode::BadPartialValue);
        arcs.assign(oid->arcs().begin(), oid->arcs().begin() + 4);
        break;
    }
    case ovtype::macaddress: {
        const std::string octets = ov::octetsFromHex(text);
        if (octets.size() >= 6)
            appendOctets(arcs, octets.substr(0, 6));
        break;
    }
    case ovtype::counter64: {
        const std::uint64_t value = ov::numberRule64(text);
        arcs.push_back(static_cast<std::uint32_t>(value >> 32));
        arcs.push_back(static_cast<std::uint32_t>(value));
        break;
    }
    case ovtype::double_:
    case ovtype::bcdatetime: {
        double value = 0;
        const bool parsed = type == ovtype::double_ ? ov::doubleFromText(text, value)
                                                    : ov::doubleDateTimeFromText(text, value);
        if (!parsed)
            throw OvException(ovcode::BadPartialValue);
        appendHalves(arcs, ov::octetsFromDouble(value));
        break;
    }
    case ovtype::datetime: {
        std::string octets;
        if (!ov::dateAndTimeFromText(text, octets))
            throw OvException(ovcode::BadPartialValue);
        octets.resize(11, '\0');
        appendOctets(arcs, octets);
        break;
    }
    case ovtype::octetstr:
    case ovtype::bitstr:
    case ovtype::opaque:
    case ovtype::displaystr: {
        const std::string octets = type == ovtype::displaystr ? text : ov::octetsFromHex(text);
        if (!implied)
            arcs.push_back(static_cast<std::uint32_t>(octets.size()));
        appendOctets(arcs, octets);
        break;
    }
    case ovtype::objectid: {
        const auto oid = OvOid::parse(text);
        const Arcs value = oid ? oid->arcs() : Arcs{};
        if (!implied)
            arcs.push_back(static_cast<std::uint32_t>(value.size()));
        arcs.insert(arcs.end(), value.begin(), value.end());
        break;
    }
    case ovtype::null:
        break;
    default:
        throw OvException(ovcode::BadSnmpSyntax);
    }
    return arcs;
}

} // namespace

std::string OvSNMPRequest::RowIndexText() {
    std::string index;
    for (int i = 0; i < varList.keyCount && i < varList.Count(); ++i) {
        const std::string part = EncodeIndexPart(i);
        if (part.empty())
            continue;
        index += (index.empty() ? "" : ".") + part;
    }
    return index;
}

void OvSNMPRequest::DecodeRowIndex(const std::string& rowIndex) {
    std::string rest = rowIndex;
    for (int i = 0; i < varList.keyCount && i < varList.Count(); ++i) {
        if (rest.empty())
            throw OvException(ovcode::BadKeyCount);
        if (!varList.IsReadable(i))
            varList.Item(i).nextOid = baseOid(i) + "." + rowIndex;
        rest = DecodeIndexPart(i, rest);
    }
}

std::string OvSNMPRequest::DecodeIndexPart(int position, const std::string& index) {
    OvSNMPVar& record = varList.Item(position);
    const bool implied = position == varList.keyCount - 1 && varList.IsImplied(position);
    IndexReader reader(index);
    const std::string text = decodeValue(record.type, reader, implied);
    record.value = record.options != nullptr ? record.options->ValueToLabel(text) : text;
    return implied ? std::string() : reader.rest();
}

std::string OvSNMPRequest::EncodeIndexPart(int position) {
    const OvSNMPVar& record = varList.Item(position);
    const std::string text =
        record.options != nullptr ? record.options->LabelToValue(record.value) : record.value;
    const bool implied = position == varList.keyCount - 1 && varList.IsImplied(position);
    return dotted(encodeValue(record.type, text, implied));
}
