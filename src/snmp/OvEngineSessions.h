// net-snmp sessions of the engine adapter, one synchronous and one asynchronous
// per credential set. Only the engine adapter includes this header.
#pragma once

#include "OvNetSnmpConvert.h"
#include "OvSNMPEngine.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ovengine {

struct Session {
    void* handle = nullptr; // net-snmp single session
    int socket = -1;
    std::string peer;          // address ":" port
    std::string credentialKey; // the USM user's credentials (SNMPv3)
    std::string userName;
    bool v3 = false;
    std::int32_t timeout = 100; // hundredths of a second
    std::int32_t retries = 1;
    int outstanding = 0; // asynchronous sends (and probes) whose outcome is not queued
    // SNMPv3, asynchronous: the agent's engine ID is learnt by an ordinary
    // asynchronous exchange; the sends of the session wait for it.
    bool engineKnown = true;
    bool discovering = false;
    std::vector<std::uint64_t> waiting;
};

bool startLibrary(const std::string& localEngineId, std::uint32_t boots);
bool libraryStarted();

// Sets the boots of the local engine after set-up advanced the counter again.
void setEngineBoots(std::uint32_t boots);

// The status that refuses a request before anything is sent: a version other than
// 0, 1, 3, and SNMPv3 credentials net-snmp cannot serve; 0 when they are usable.
int credentialStatus(const OvSNMPTarget& target);

// The session for the target, opened when first needed. SNMPv3: a synchronous
// session probes the agent's engine ID once per agent, waiting for the answer;
// an asynchronous one never waits (engineKnown false until the engine adapter
// has learnt it). Null with the failure's status when it cannot be opened;
// throws OvException -509 when the name does not resolve.
Session* sessionFor(const OvSNMPTarget& target, bool write, bool async, int& status);

// An engine ID probe (RFC 3414 section 4): an empty unauthenticated GET that the
// agent answers with a Report carrying its engine ID.
netsnmp_pdu* makeProbePdu();

// Takes the agent's engine ID that a probe of the session learnt.
void adoptEngineId(Session& session, const std::string& engineId);

// Applies the session's time-out and retries and makes its USM user the one
// the engine holds for its name.
void prepareSend(Session& session);

// After a wrong digest or an unknown engine ID the agent is probed again by new
// sessions.
void noteOutcome(Session& session, int status);

void forEachAsyncSession(const std::function<void(Session&)>& action);
void closeRetiredSessions();
void closeAllSessions();

// Calls the activity hook (OvSNMPEngine.h): the sockets changed or a send
// started to await the network.
void notifyActivity();

} // namespace ovengine
