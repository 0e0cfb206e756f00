// A UDP socket of a transfer, on the system's own calls: a session sends and
// receives one small datagram per block, and QUdpSocket's bookkeeping (a peek
// before every read, an address object per datagram) costs more than the copy.
#pragma once

#include <QSocketNotifier>

#include <cstdint>
#include <functional>
#include <memory>

class OvUdpPort {
public:
    OvUdpPort() = default;
    OvUdpPort(const OvUdpPort&) = delete;
    OvUdpPort& operator=(const OvUdpPort&) = delete;
    ~OvUdpPort();

    // Binds a non-blocking socket to a free IPv4 port of every interface and
    // calls onReadable whenever datagrams wait. False when no socket opens.
    bool open(std::function<void()> onReadable);
    // Closes the socket; safe inside onReadable.
    void close();
    bool isOpen() const { return fd_ >= 0; }
    // The bound port, 0 when closed.
    std::uint16_t port() const;

    // One datagram to an IPv4 address and port (host order); true when all of
    // it went out.
    bool sendTo(const char* data, std::size_t size, std::uint32_t address,
                std::uint16_t port) const;
    // The next waiting datagram into buffer: its size, or -1 when none waits
    // (or the socket is closed). A longer datagram is cut to capacity. A
    // refusal of an earlier send reads as an empty datagram from port 0.
    long receive(char* buffer, std::size_t capacity, std::uint32_t& address,
                 std::uint16_t& port) const;

private:
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};
