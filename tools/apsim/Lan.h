// The wired LAN the simulated access point sits on (--lan ADDRESS/PREFIX), and
// where the addresses of its configuration lie in it: gateway, DHCP dynamic
// pool, static pool entries and leases all fall in the /24 block that holds the
// device's address, so one option gives a consistent LAN.
#pragma once

#include <cstdint>
#include <string>

namespace apsim {

struct Lan {
    // Loopback by default, so that the manager's TFTP server address choice
    // finds the local interface in tests and the demo.
    std::uint32_t address = 0x7F010101; // 127.1.1.1
    int prefix = 8;

    static constexpr int kPoolOffset = 100; // the dynamic pool starts at .100 of the block
    static constexpr int kPoolRange = 50;
    static constexpr int kStaticOffset = 50; // static pool entries and their leases from .50
    static constexpr int kGatewayOffset = 254;

    friend bool operator==(const Lan&, const Lan&) = default;

    std::uint32_t mask() const;
    std::uint32_t block() const { return address & 0xFFFFFF00u; }
    std::uint32_t host(int offset) const { return block() + static_cast<std::uint32_t>(offset); }
    std::uint32_t gateway() const { return host(kGatewayOffset); }
    std::uint32_t poolStart() const { return host(kPoolOffset); }
    // The address of static pool entry `row` (1-based) in use.
    std::uint32_t staticEntry(int row) const { return host(kStaticOffset + row - 1); }
    // Lease `row` (1-based): inside the dynamic pool, or among the static entries.
    std::uint32_t dynamicLease(int row) const { return poolStart() + (row - 1) % kPoolRange; }
    std::uint32_t staticLease(int row) const {
        return host(kStaticOffset + (row - 1) % kPoolRange);
    }
};

// "198.51.100.1/24": a host address outside the block's pools and gateway and a
// prefix of 8 to 24. Throws std::invalid_argument naming what is wrong.
Lan parseLan(const std::string& text);

std::string dottedQuad(std::uint32_t address);

// A host the DHCP server can hand out on the LAN of `deviceAddress`/`mask`:
// inside that subnet, neither its network nor its broadcast address.
bool isUsableHost(std::uint32_t address, std::uint32_t deviceAddress, std::uint32_t mask);

} // namespace apsim
