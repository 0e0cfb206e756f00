// The PC's IPv4 interfaces and the choice of the server address that the device
// is told to fetch from or send to: the local address on the device's subnet.
#pragma once

#include <string>
#include <vector>

// One IPv4 address of a local interface.
struct OvNetInterface {
    std::string address; // dotted
    std::string mask;    // dotted
    bool up = false;
    bool running = false;
    bool broadcast = false;
    bool loopback = false;
    bool pointToPoint = false;
    bool multicast = false;
};

namespace ovtftp {

inline constexpr int kMaxInterfaces = 10;

// What the caller shows when no interface is on the device's subnet.
inline constexpr const char* kNoServerAddressText = "Invalid Server IP Address or SNMP timed out!";

// The address entries of interfaces that are up and running, in order, at most
// kMaxInterfaces of them.
std::vector<OvNetInterface> usableInterfaces(const std::vector<OvNetInterface>& entries);

// Every IPv4 address entry of this machine's interfaces, unfiltered.
std::vector<OvNetInterface> interfaceEntries();

// usableInterfaces(interfaceEntries()).
std::vector<OvNetInterface> localInterfaces();

// The network of an address under a mask, as dotted text: each of the four
// parts ANDed, a missing or non-numeric part counting 0.
std::string networkOf(const std::string& address, const std::string& mask);

// The address of the first interface whose network equals the device's, or ""
// when none does. A device address or mask that is empty, "(NULL)" or
// "0.0.0.0" matches no interface.
std::string chooseServerAddress(const std::string& deviceAddress, const std::string& deviceMask,
                                const std::vector<OvNetInterface>& interfaces);

// The same over localInterfaces().
std::string chooseServerAddress(const std::string& deviceAddress, const std::string& deviceMask);

} // namespace ovtftp
