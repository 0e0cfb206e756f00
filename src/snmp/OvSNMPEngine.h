// The SNMP engine adapter on net-snmp: sends get, get-next and set PDUs of our
// own bindings (OvVb) to the one agent, synchronously or with a completion that
// the event pump delivers, and reports every outcome as an SNMP++ engine status
// (the numbering that ov::mapStatus maps to display codes).
#pragma once

#include "OvVb.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

// SNMP++ engine statuses the adapter reports besides error statuses 1 .. 19.
namespace ovstatus {
inline constexpr int success = 0;
inline constexpr int error = -1;               // operation failed
inline constexpr int resourceUnavailable = -2; // out of memory or sockets
inline constexpr int internalError = -3;
inline constexpr int unsupported = -4; // version other than 0, 1, 3
inline constexpr int timeout = -5;
inline constexpr int sessionDestroyed = -8;
inline constexpr int invalidPdu = -11; // answer that does not fit its request
inline constexpr int invalidAddress = -18;
inline constexpr int transportFailed = -22;
inline constexpr int usmError = 1401;
inline constexpr int usmUnsupportedSecurityLevel = 1403;
inline constexpr int usmUnknownSecurityName = 1404;
inline constexpr int usmEncryptionError = 1405;
inline constexpr int usmDecryptionError = 1406;
inline constexpr int usmAuthenticationError = 1407;
inline constexpr int usmAuthenticationFailure = 1408;
inline constexpr int usmParseError = 1409;
inline constexpr int usmUnknownEngineId = 1410;
inline constexpr int usmNotInTimeWindow = 1411;
inline constexpr int usmUnsupportedAuthProtocol = 1412;
inline constexpr int usmUnsupportedPrivProtocol = 1413;
// Not SNMP++'s: a pass phrase shorter than the 8 characters a key needs.
inline constexpr int usmShortAuthPassPhrase = 1415;
inline constexpr int usmShortPrivPassPhrase = 1416;
inline constexpr int v3UnsupportedSecurityModel = -1402;
inline constexpr int v3InvalidMessage = -1405;
inline constexpr int v3ParseError = -1408;
inline constexpr int v3UnknownPduHandlers = -1415;
inline constexpr int v3UnavailableContext = -1416;
inline constexpr int v3UnknownContext = -1417;
} // namespace ovstatus

// Where and how one request is sent: the request's copy of the session records
// with its time-out (hundredths of a second) and retry count.
struct OvSNMPTarget {
    std::string agentAddress;
    std::uint16_t agentPort = 161;
    std::string contextEngineId;
    std::string contextName;
    std::uint8_t version = 0;
    std::string readCommunity;
    std::string writeCommunity;
    std::int32_t securityModel = 1;
    std::int32_t securityLevel = 1;
    std::string securityName;
    std::string authPassword;
    std::string privPassword;
    std::int32_t authProtocol = 1;
    std::int32_t privProtocol = 1;
    std::int32_t timeout = 100;
    std::int32_t retries = 1;
};

enum class OvPduType { Get, GetNext, Set };

// The outcome of one request. On success (status 0, or an error status of the
// answer) `answered` is true and the bindings are the answer's.
struct OvSNMPAnswer {
    int status = 0;
    int errorIndex = 0;
    bool answered = false;
    std::vector<OvVb> bindings;
};

namespace ovengine {

// Sets net-snmp up (no configuration files, no MIB files, no persistent state)
// with the local engine ID and boots. Returns false when the library cannot start.
bool initialise(const std::string& localEngineId, std::uint32_t boots);
bool isInitialised();

// Throws OvException -509 when the address text cannot name an agent.
void checkAddress(const std::string& address);

// Sends and waits for the answer or the last time-out. Never runs any
// asynchronous completion. Throws OvException -509 for an unusable address.
OvSNMPAnswer sendSync(const OvSNMPTarget& target, OvPduType type,
                      const std::vector<OvVb>& bindings);

using OvCompletion = std::function<void(const OvSNMPAnswer&)>;

// Sends and returns at once. The completion runs later from the event pump,
// never inside this call, also when the send failed at once (the return value
// then is that failure's status; 0 when the PDU went out). Throws OvException
// -509 for an unusable address (nothing is sent and the completion never runs).
int sendAsync(const OvSNMPTarget& target, OvPduType type, const std::vector<OvVb>& bindings,
              OvCompletion completion);

// Runs the completion with the answer from the next turn of the event pump, as
// if it had come from the agent.
void completeLater(OvSNMPAnswer answer, OvCompletion completion);

// One turn of the event pump: reads the answers that have arrived, resends and
// times out. Runs no completion: the outcomes wait for takeDue.
void collect();

// Takes the oldest outcome that is due: the action returned runs its completion
// (and may throw what the completion throws); empty when none is due.
std::function<void()> takeDue();

// True when some completion is due.
bool hasDue();

// True while a sent request awaits the network (an answer or a time-out).
bool awaitingNetwork();

// Milliseconds until the earliest retransmission or time-out of the requests
// that await the network; -1 when none does.
int msUntilNextTimeout();

// A turn of the pump followed by every due completion, for the end of the
// module. Errors thrown by completions are collected. Returns the number run.
int processPendingEvents(std::vector<std::exception_ptr>& errors);

// Waits up to the given time for an answer to arrive on any asynchronous
// session (or returns at once when some completion is due).
void waitForActivity(int milliseconds);

// Number of asynchronous sends whose completion has not run yet.
int outstandingCount();

// The sockets that asynchronous answers arrive on; the pump watches them.
std::vector<int> asyncSockets();

// Called when the sockets change or a send starts to await the network, so that
// the pump can watch what it must.
void setActivityHook(std::function<void()> hook);

// Closes every session; outstanding completions run with "session destroyed"
// at the next delivery.
void closeAll();

} // namespace ovengine
