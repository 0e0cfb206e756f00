#include "OvUdpPort.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

OvUdpPort::~OvUdpPort() {
    close();
}

bool OvUdpPort::open(std::function<void()> onReadable) {
    close();
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [callback = std::move(onReadable)] { callback(); });
    return true;
}

void OvUdpPort::close() {
    if (fd_ < 0)
        return;
    // The notifier may be the caller: disabled now, deleted with the port.
    notifier_->setEnabled(false);
    ::close(fd_);
    fd_ = -1;
}

std::uint16_t OvUdpPort::port() const {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (fd_ < 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

bool OvUdpPort::sendTo(const char* data, std::size_t size, std::uint32_t address,
                       std::uint16_t port) const {
    if (fd_ < 0)
        return false;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = htonl(address);
    ssize_t sent;
    do {
        sent = ::sendto(fd_, data, size, 0, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    } while (sent < 0 && errno == EINTR);
    return sent == static_cast<ssize_t>(size);
}

long OvUdpPort::receive(char* buffer, std::size_t capacity, std::uint32_t& address,
                        std::uint16_t& port) const {
    if (fd_ < 0)
        return -1;
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    ssize_t size;
    do {
        size = ::recvfrom(fd_, buffer, capacity, 0, reinterpret_cast<sockaddr*>(&peer), &length);
    } while (size < 0 && errno == EINTR);
    // A refused earlier send (an ICMP error queued on the socket) is consumed
    // and reported as an empty datagram from port 0; any other error ends the read.
    if (size < 0 && errno == ECONNREFUSED) {
        address = 0;
        port = 0;
        return 0;
    }
    if (size < 0)
        return -1;
    address = ntohl(peer.sin_addr.s_addr);
    port = ntohs(peer.sin_port);
    return static_cast<long>(size);
}
