// The address probe: whether an address answers ICMP echo, so that a window
// does not hand out an address that some host already holds. Three echo
// requests go out one after the other; the answer is whether the third brought
// an echo reply from the probed address within one second (on the module's
// time scale). It blocks its caller for up to three such seconds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class QString;
class QWidget;

namespace ovnet {

enum class IcmpSocketKind {
    // Unprivileged ICMP (allowed by net.ipv4.ping_group_range): the kernel sets
    // identifier and checksum and hands over replies without their IP header.
    Datagram,
    // Needs CAP_NET_RAW: sees every ICMP datagram of the host, IP header first.
    Raw,
};

inline constexpr std::size_t kEchoRequestSize = 12;
using EchoRequest = std::array<std::uint8_t, kEchoRequestSize>;

// The Internet checksum (RFC 1071) of the bytes, as the two bytes of the
// checksum field read in network order.
std::uint16_t internetChecksum(std::span<const std::uint8_t> bytes);

// The echo request: type 8, code 0, the checksum over all 12 bytes, then the
// identifier, the sequence number and the tick count, each least significant
// byte first.
EchoRequest echoRequest(std::uint16_t identifier, std::uint16_t sequence, std::uint32_t tickCount);

// Whether a datagram that came from the probed address is its echo reply: type
// 0 after the IP header (raw) or at the start (datagram), the whole request's
// length present, and on a raw socket our identifier, since that socket also
// gets other programs' replies.
bool isEchoReply(std::span<const std::uint8_t> datagram, IcmpSocketKind kind,
                 std::uint16_t identifier);

// The address a text names, in host order: four decimal numbers as such (the
// resolver would read "010" as octal, another host), else the first IPv4
// address the resolver gives for the name; nothing when neither works.
std::optional<std::uint32_t> probeTarget(const std::string& text);

// Probes the address (host order) on the first ICMP socket that opens, the
// datagram one before the raw one, or only on `only`. Nothing when no socket
// opened; `why` then holds the system's reason.
std::optional<bool> probeAddress(std::uint32_t address,
                                 std::optional<IcmpSocketKind> only = std::nullopt,
                                 std::string* why = nullptr);

// The probe as the windows use it: "Unable to resolve " in a plain message box
// when the text names no address, and no answer but "no" (with one line on
// standard error saying how to allow ICMP) when no socket opens.
bool addressProbe(QWidget* parent, const QString& text);

} // namespace ovnet
