#include "OvTFTPPacket.h"

#include <QtGlobal>

#include <algorithm>

namespace ovtftp {

namespace {

std::uint16_t numberAt(const QByteArray& packet, int offset) {
    if (packet.size() < offset + 2)
        return 0;
    return static_cast<std::uint16_t>((static_cast<std::uint8_t>(packet[offset]) << 8) |
                                      static_cast<std::uint8_t>(packet[offset + 1]));
}

void appendNumber(QByteArray& packet, std::uint16_t value) {
    packet.append(static_cast<char>(value >> 8));
    packet.append(static_cast<char>(value & 0xff));
}

// The zero-terminated text starting at offset; nothing when the datagram ends
// before the terminator.
std::optional<std::string> textAt(const QByteArray& packet, qsizetype& offset) {
    const qsizetype end = packet.indexOf('\0', offset);
    if (end < 0)
        return std::nullopt;
    std::string text(packet.constData() + offset, static_cast<std::size_t>(end - offset));
    offset = end + 1;
    return text;
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
    const std::string other(b);
    return a.size() == other.size() &&
           std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return (x >= 'A' && x <= 'Z' ? x - 'A' + 'a' : x) == y;
           });
}

} // namespace

std::uint16_t opcodeOf(const QByteArray& packet) {
    return numberAt(packet, 0);
}

std::uint16_t numberOf(const QByteArray& packet) {
    return numberAt(packet, 2);
}

std::optional<Request> parseRequest(const QByteArray& packet) {
    const std::uint16_t opcode = opcodeOf(packet);
    if (opcode != RRQ && opcode != WRQ)
        return std::nullopt;
    qsizetype offset = 2;
    auto fileName = textAt(packet, offset);
    if (!fileName)
        return std::nullopt;
    auto mode = textAt(packet, offset);
    if (!mode)
        return std::nullopt;
    return Request{opcode, std::move(*fileName), std::move(*mode)};
}

bool isTransferMode(const std::string& mode) {
    return equalsIgnoringCase(mode, "octet") || equalsIgnoringCase(mode, "netascii");
}

bool isConfinedFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

QByteArray dataPacket(std::uint16_t block, const char* data, int length) {
    QByteArray packet;
    packet.reserve(kHeaderSize + length);
    appendNumber(packet, DATA);
    appendNumber(packet, block);
    packet.append(data, length);
    return packet;
}

QByteArray ackPacket(std::uint16_t block) {
    QByteArray packet;
    appendNumber(packet, ACK);
    appendNumber(packet, block);
    return packet;
}

QByteArray errorPacket(std::uint16_t errorCode, const std::string& message) {
    QByteArray packet;
    appendNumber(packet, ERROR);
    appendNumber(packet, errorCode);
    packet.append(message.data(), static_cast<qsizetype>(message.size()));
    packet.append('\0');
    return packet;
}

} // namespace ovtftp
