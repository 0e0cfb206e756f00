// A variable binding as the module sees it, independent of any SNMP engine:
// the engine adapter converts its own bindings to and from this type.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An object identifier as its arcs.
class OvOid {
public:
    OvOid() = default;
    explicit OvOid(std::vector<std::uint32_t> arcs) : arcs_(std::move(arcs)) {}

    // Dotted decimal ("1.3.6.1", a leading dot allowed); nothing for any other text.
    static std::optional<OvOid> parse(const std::string& text);

    // Dotted decimal, no leading dot.
    std::string toString() const;

    const std::vector<std::uint32_t>& arcs() const { return arcs_; }
    std::vector<std::uint32_t>& arcs() { return arcs_; }
    std::size_t size() const { return arcs_.size(); }
    bool empty() const { return arcs_.empty(); }
    bool startsWith(const OvOid& base) const;

    friend bool operator==(const OvOid&, const OvOid&) = default;
    friend auto operator<=>(const OvOid&, const OvOid&) = default;

private:
    std::vector<std::uint32_t> arcs_;
};

// ASN.1 and SNMP application tags of a value, and the SNMPv2 exceptions.
enum class OvSyntax : std::uint8_t {
    Integer = 0x02,
    OctetString = 0x04,
    Null = 0x05,
    ObjectId = 0x06,
    IpAddress = 0x40,
    Counter32 = 0x41,
    Gauge32 = 0x42,
    TimeTicks = 0x43,
    Opaque = 0x44,
    NsapAddress = 0x45,
    Counter64 = 0x46,
    UInteger32 = 0x47,
    NoSuchObject = 0x80,
    NoSuchInstance = 0x81,
    EndOfMibView = 0x82,
};

struct OvVb {
    OvOid oid;
    OvSyntax syntax = OvSyntax::Null;
    // Integer (its 32-bit pattern), Counter32, Gauge32, TimeTicks, UInteger32, Counter64.
    std::uint64_t number = 0;
    // OctetString, Opaque, IpAddress, NsapAddress.
    std::string octets;
    // ObjectId.
    OvOid objectId;

    static OvVb null() { return {}; }
    static OvVb integer(std::int32_t value);
    static OvVb unsigned32(OvSyntax syntax, std::uint32_t value);
    static OvVb counter64(std::uint64_t value);
    static OvVb octetString(std::string value, OvSyntax syntax = OvSyntax::OctetString);
    static OvVb objectIdentifier(OvOid value);

    // No value: NULL or an SNMPv2 exception.
    bool hasNoValue() const;

    friend bool operator==(const OvVb&, const OvVb&) = default;
};
