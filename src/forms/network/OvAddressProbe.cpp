#include "OvAddressProbe.h"

#include "OvAddressChecks.h"
#include "OvDialogs.h"
#include "OvTimeScale.h"

#include <QCoreApplication>
#include <QString>

#include <arpa/inet.h>
#include <linux/icmp.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace ovnet {
namespace {

constexpr std::uint8_t kEchoRequestType = 8;
constexpr std::uint8_t kEchoReplyType = 0;
constexpr int kRequests = 3;
constexpr int kReplyWaitMs = 1000;

class IcmpSocket {
public:
    explicit IcmpSocket(IcmpSocketKind kind) : kind_(kind) {
        const int type = kind == IcmpSocketKind::Datagram ? SOCK_DGRAM : SOCK_RAW;
        fd_ = ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP);
        error_ = fd_ < 0 ? errno : 0;
        if (fd_ >= 0 && kind == IcmpSocketKind::Raw) {
            // Only echo replies, not every ICMP message the host receives.
            icmp_filter filter{~(1u << kEchoReplyType)};
            ::setsockopt(fd_, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
        }
    }
    ~IcmpSocket() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    IcmpSocket(const IcmpSocket&) = delete;
    IcmpSocket& operator=(const IcmpSocket&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int error() const { return error_; }

    bool send(const EchoRequest& request, std::uint32_t address) const {
        const sockaddr_in to = socketAddress(address);
        return ::sendto(fd_, request.data(), request.size(), 0,
                        reinterpret_cast<const sockaddr*>(&to),
                        sizeof to) == static_cast<ssize_t>(request.size());
    }

    // Waits until the deadline for an echo reply from the address, passing over
    // any other datagram.
    bool awaitReply(std::uint32_t address, std::uint16_t identifier,
                    std::chrono::steady_clock::time_point deadline) const {
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd ready{fd_, POLLIN, 0};
            const int events = ::poll(&ready, 1, static_cast<int>(left.count()));
            if (events < 0 && errno == EINTR)
                continue;
            if (events <= 0)
                return false;
            std::array<std::uint8_t, 1500> datagram;
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t size = ::recvfrom(fd_, datagram.data(), datagram.size(), MSG_DONTWAIT,
                                            reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (size < 0)
                continue;
            if (from.sin_addr.s_addr == htonl(address) &&
                isEchoReply(std::span(datagram.data(), static_cast<std::size_t>(size)), kind_,
                            identifier))
                return true;
        }
    }

private:
    static sockaddr_in socketAddress(std::uint32_t address) {
        sockaddr_in result{};
        result.sin_family = AF_INET;
        result.sin_addr.s_addr = htonl(address);
        return result;
    }

    IcmpSocketKind kind_;
    int fd_ = -1;
    int error_ = 0;
};

// The module's request counter: it starts at 0 and every request takes the next number.
std::uint16_t nextSequence() {
    static std::uint16_t sequence = 0;
    return sequence++;
}

std::uint32_t tickCount() {
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}

bool probeOn(const IcmpSocket& socket, std::uint32_t address) {
    const auto identifier = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
    bool answered = false;
    for (int i = 0; i < kRequests; ++i) {
        if (!socket.send(echoRequest(identifier, nextSequence(), tickCount()), address))
            return false;
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(ov::scaledInterval(kReplyWaitMs));
        // Only the last wait decides; the earlier ones let a slow first reply pass.
        answered = socket.awaitReply(address, identifier, deadline);
    }
    return answered;
}

} // namespace

std::uint16_t internetChecksum(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const std::uint32_t low = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        sum += static_cast<std::uint32_t>(bytes[i]) << 8 | low;
    }
    while (sum > 0xFFFF)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

EchoRequest echoRequest(std::uint16_t identifier, std::uint16_t sequence, std::uint32_t tickCount) {
    EchoRequest request{kEchoRequestType,
                        0,
                        0,
                        0,
                        static_cast<std::uint8_t>(identifier),
                        static_cast<std::uint8_t>(identifier >> 8),
                        static_cast<std::uint8_t>(sequence),
                        static_cast<std::uint8_t>(sequence >> 8),
                        static_cast<std::uint8_t>(tickCount),
                        static_cast<std::uint8_t>(tickCount >> 8),
                        static_cast<std::uint8_t>(tickCount >> 16),
                        static_cast<std::uint8_t>(tickCount >> 24)};
    const std::uint16_t checksum = internetChecksum(request);
    request[2] = static_cast<std::uint8_t>(checksum >> 8);
    request[3] = static_cast<std::uint8_t>(checksum);
    return request;
}

bool isEchoReply(std::span<const std::uint8_t> datagram, IcmpSocketKind kind,
                 std::uint16_t identifier) {
    std::size_t header = 0;
    if (kind == IcmpSocketKind::Raw) {
        // An IPv4 header holds at least five 32-bit words.
        header = datagram.empty() ? 0 : static_cast<std::size_t>(datagram[0] & 0x0F) * 4;
        if (header < 20)
            return false;
    }
    if (datagram.size() < header + kEchoRequestSize || datagram[header] != kEchoReplyType)
        return false;
    if (kind == IcmpSocketKind::Datagram)
        return true; // the kernel delivers only replies to this socket's identifier
    return datagram[header + 4] == static_cast<std::uint8_t>(identifier) &&
           datagram[header + 5] == static_cast<std::uint8_t>(identifier >> 8);
}

std::optional<std::uint32_t> probeTarget(const std::string& text) {
    if (const auto address = ovrules::strictDottedValue(text))
        return address;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(text.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return std::nullopt;
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const std::uint32_t result = ntohl(address->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return result;
}

std::optional<bool> probeAddress(std::uint32_t address, std::optional<IcmpSocketKind> only,
                                 std::string* why) {
    int error = 0;
    for (const IcmpSocketKind kind : {IcmpSocketKind::Datagram, IcmpSocketKind::Raw}) {
        if (only && *only != kind)
            continue;
        const IcmpSocket socket(kind);
        if (socket.isOpen())
            return probeOn(socket, address);
        error = socket.error();
    }
    if (why != nullptr)
        *why = std::strerror(error);
    return std::nullopt;
}

bool addressProbe(QWidget* parent, const QString& text) {
    const auto target = probeTarget(text.toStdString());
    if (!target) {
        ov::messageBox(parent, QCoreApplication::applicationName(),
                       QStringLiteral("Unable to resolve "));
        return false;
    }
    std::string why;
    const auto answer = probeAddress(*target, std::nullopt, &why);
    if (!answer) {
        std::fprintf(stderr,
                     "%s: cannot probe addresses, no ICMP socket (%s); allow it with sysctl "
                     "net.ipv4.ping_group_range or setcap cap_net_raw+ep\n",
                     ov::executableName().toLocal8Bit().constData(), why.c_str());
        std::fflush(stderr);
    }
    return answer.value_or(false);
}

} // namespace ovnet
