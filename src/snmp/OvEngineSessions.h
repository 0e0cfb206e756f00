// net-snmp sessions of the engine adapter, one synchronous and one asynchronous
// per credential set. Only the engine adapter includes this header.
#pragma once

#include "OvSNMPEngine.h"

#include <functional>
#include <string>

namespace ovengine {

struct Session {
    void* handle = nullptr; // net-snmp single session
    int socket = -1;
    std::string peer;          // address ":" port
    std::string credentialKey; // the USM user's credentials (SNMPv3)
    std::string userName;
    bool v3 = false;
    int outstanding = 0; // asynchronous sends whose outcome is not delivered
};

bool startLibrary(const std::string& localEngineId, std::uint32_t boots);
bool libraryStarted();

// Sets the boots of the local engine after set-up advanced the counter again.
void setEngineBoots(std::uint32_t boots);

// The status that refuses a request before anything is sent: a version other than
// 0, 1, 3, and SNMPv3 credentials net-snmp cannot serve; 0 when they are usable.
int credentialStatus(const OvSNMPTarget& target);

// The session for the target, opened when first needed (SNMPv3: probing the
// agent's engine ID once per agent). Null with the failure's status when it
// cannot be opened; throws OvException -509 when the name does not resolve.
Session* sessionFor(const OvSNMPTarget& target, bool write, bool async, int& status);

// Applies the request's time-out and retries and makes the session's USM user
// the one the engine holds for its name.
void prepareSend(Session& session, const OvSNMPTarget& target);

// After an unknown engine ID the agent is probed again by new sessions.
void noteOutcome(Session& session, int status);

void forEachAsyncSession(const std::function<void(Session&)>& action);
void closeRetiredSessions();
void closeAllSessions();

// Calls the activity hook (OvSNMPEngine.h): the sockets changed or a send
// started to await the network.
void notifyActivity();

} // namespace ovengine
