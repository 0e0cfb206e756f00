// The status record that the TFTP server and each of its sessions report
// through, and the server's status codes with their fixed texts.
#pragma once

#include <cstdint>
#include <string>

namespace ovtftp {

// Status codes. -1101 .. -1108 stand for the TFTP error codes 0 .. 7 (RFC 1350).
inline constexpr std::int32_t Success = 3;
inline constexpr std::int32_t Transferring = 2;
inline constexpr std::int32_t Connected = 1;
inline constexpr std::int32_t Disconnected = 0;
inline constexpr std::int32_t UndefinedError = -1101;
inline constexpr std::int32_t FileNotFound = -1102;
inline constexpr std::int32_t AccessViolation = -1103;
inline constexpr std::int32_t DiskFull = -1104;
inline constexpr std::int32_t BadOperation = -1105;
inline constexpr std::int32_t UnknownPort = -1106;
inline constexpr std::int32_t FileExists = -1107;
inline constexpr std::int32_t NoSuchUser = -1108;
inline constexpr std::int32_t SocketOpenFailed = -1109;
inline constexpr std::int32_t SocketIoFailed = -1110;
inline constexpr std::int32_t SocketNotReady = -1111;
inline constexpr std::int32_t BadPacket = -1112;
inline constexpr std::int32_t Timeout = -1113;
inline constexpr std::int32_t Canceled = -1114;

// The fixed text of a status code; "" for a code outside the table.
const char* statusText(std::int32_t code);

// The status that a TFTP error code received from a client stands for
// (codes past 7 count as undefined).
std::int32_t statusOfErrorCode(std::uint16_t errorCode);

// Operations of a request.
inline constexpr std::int32_t ReadRequest = 1;  // the device fetches a file
inline constexpr std::int32_t WriteRequest = 2; // the device sends a file

// The well-known TFTP port.
inline constexpr std::uint16_t kTFTPPort = 69;

} // namespace ovtftp

struct OvTFTPMsg {
    std::int32_t code = ovtftp::SocketNotReady;
    std::string text = ovtftp::statusText(ovtftp::SocketNotReady);
    std::int32_t operation = ovtftp::ReadRequest;
    std::string mode = "octet"; // as requested; every transfer copies octet for octet
    std::string clientAddress = "0.0.0.0";
    std::string serverAddress = "127.0.0.1";
    std::int32_t serverPort = ovtftp::kTFTPPort;
    std::string spareText;
    std::string fileName; // the octets of the request, as received
    std::int32_t bytes = 0;
    std::int32_t lastBlockLength = -1;
    std::int32_t clientPort = 0;
    std::int32_t sessionNumber = -1;
    std::int32_t spareNumber = 0;
    std::int32_t timeout = 1000; // hundredths of a second
    std::int32_t sendCount = 0;

    // Sets the code with its text.
    void setStatus(std::int32_t status);
};
