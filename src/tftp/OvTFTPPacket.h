// TFTP packets (RFC 1350): parsing requests and building DATA, ACK and ERROR.
// All numbers are two octets, most significant first.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <string>

namespace ovtftp {

enum Opcode : std::uint16_t { RRQ = 1, WRQ = 2, DATA = 3, ACK = 4, ERROR = 5 };

// TFTP error codes.
enum ErrorCode : std::uint16_t {
    ErrNotDefined = 0,
    ErrFileNotFound = 1,
    ErrAccessViolation = 2,
    ErrDiskFull = 3,
    ErrIllegalOperation = 4,
    ErrUnknownTransferId = 5,
    ErrFileExists = 6,
    ErrNoSuchUser = 7,
};

inline constexpr int kBlockSize = 512;
inline constexpr int kHeaderSize = 4;
// Block numbers are 16 bits and block 0 is never data: a file of 65535 full
// blocks would need an empty block 65536, so the largest file is one octet less.
inline constexpr std::int64_t kMaxFileSize = std::int64_t{65535} * kBlockSize - 1;
inline constexpr std::uint16_t kLastBlock = 65535;
// Receive buffer: larger than any packet the server accepts.
inline constexpr int kMaxDatagram = 2048;

// A read or write request. Options after the mode (RFC 2347) are not kept: the
// server answers every request as plain RFC 1350.
struct Request {
    std::uint16_t opcode = 0;
    std::string fileName; // octets as received
    std::string mode;
};

// The opcode, or 0 for a datagram shorter than two octets.
std::uint16_t opcodeOf(const QByteArray& packet);
// The second number of a packet (block number or error code); 0 if too short.
std::uint16_t numberOf(const QByteArray& packet);

// A request whose opcode is RRQ or WRQ and whose file name and mode are both
// terminated by a zero octet inside the datagram; nothing otherwise. The file
// name may be empty; the mode may be any text.
std::optional<Request> parseRequest(const QByteArray& packet);

// "octet" and "netascii", in any case.
bool isTransferMode(const std::string& mode);

// A name that stays inside the served folder: not empty, not "." or "..",
// without "/" or "\".
bool isConfinedFileName(const std::string& name);

QByteArray dataPacket(std::uint16_t block, const char* data, int length);
QByteArray ackPacket(std::uint16_t block);
// An ERROR packet; the message is empty unless given.
QByteArray errorPacket(std::uint16_t errorCode, const std::string& message = {});

} // namespace ovtftp
