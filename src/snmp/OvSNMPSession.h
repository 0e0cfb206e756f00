// The process-wide SNMP session: the agent, the SNMPv3 scope and the credentials,
// filled once at start-up and copied by every request, and the set-up of the engine.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

// The agent.
struct OvSNMPDeviceRecord {
    std::string agentAddress; // IPv4 address or DNS name
    std::uint16_t agentPort = 0;
};

// SNMPv3 context placed in every PDU.
struct OvSNMPScopeRecord {
    std::string contextEngineId;
    std::string contextName;
};

// Version and credentials, with the engine's codes.
struct OvSNMPSecurityRecord {
    std::uint8_t version = 0; // 0 SNMPv1, 1 SNMPv2c, 3 SNMPv3
    std::string readCommunity;
    std::string writeCommunity;
    std::int32_t securityModel = 0; // 1 SNMPv1, 2 SNMPv2c, 3 USM
    std::int32_t securityLevel = 0; // 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv
    std::string securityName;
    std::string authPassword;
    std::string privPassword;
    std::int32_t authProtocol = 0; // 1 none, 2 HMAC-MD5, 3 HMAC-SHA
    std::int32_t privProtocol = 0; // 1 none, 2 DES, 4 AES-128, 20 AES-192, 21 AES-256
};

// Authentication and privacy protocol codes.
namespace ovproto {
inline constexpr std::int32_t none = 1;
inline constexpr std::int32_t hmacMd5 = 2;
inline constexpr std::int32_t hmacSha = 3;
inline constexpr std::int32_t des = 2;
inline constexpr std::int32_t tripleDes = 3;
inline constexpr std::int32_t aes128 = 4;
inline constexpr std::int32_t idea = 9;
inline constexpr std::int32_t aes192 = 20;
inline constexpr std::int32_t aes256 = 21;
} // namespace ovproto

extern OvSNMPDeviceRecord OvSNMPDevice;
extern OvSNMPScopeRecord OvSNMPScope;
extern OvSNMPSecurityRecord OvSNMPSecurity;

// Time-out every request starts with, in hundredths of a second.
extern std::int32_t OvSNMPDefaultTimeout;

// The engine's own SNMPv3 identity.
inline const std::string kOvLocalEngineId = "OvSNMP_PP_Application";
inline const std::string kOvBootCounterFileName = "OvSNMP_PP_BootCounter";

// Creates the engine, advances the boot counter in the folder (the current folder
// when empty), resets the session records to their defaults, sets the default
// time-out and starts the event pump. Throws OvException -506, -507 or -508.
// A second call only advances the boot counter and resets the records.
void OvSNMPSetup(const std::string& folder);

// Puts the session records and the default time-out back to their defaults.
void OvSNMPResetSession();

// Stops the pump and closes the engine's sessions; outstanding asynchronous
// requests complete with "session destroyed".
void OvSNMPShutdown();

// The user's state folder for this program ($XDG_STATE_HOME, else
// ~/.local/state, then the executable's name), created when missing.
std::string OvStateFolder();

// The boot counter file that set-up uses for a folder: the folder's file, or the
// user's state folder when the current folder (empty folder text) is not writable.
std::string OvBootCounterPath(const std::string& folder);

// Errors that escape a completion handler reach this handler, after the event
// pump has re-armed. The default prints the error text to stderr.
using OvGeneralErrorHandler = std::function<void(std::exception_ptr)>;
void OvSetGeneralErrorHandler(OvGeneralErrorHandler handler);
void OvReportGeneralError(std::exception_ptr error);
