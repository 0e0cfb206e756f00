// The engine adapter's records of asynchronous sends and engine ID probes,
// shared by its files. Only the engine adapter includes this header.
#pragma once

#include "OvEngineSessions.h"
#include "OvTrace.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace ovengine {

using Clock = std::chrono::steady_clock;

struct Record {
    OvCompletion completion;
    Session* session = nullptr; // the session it went out on, until its outcome is queued
    Clock::time_point watchdog;
    bool queued = false;
    netsnmp_pdu* held = nullptr; // waits for the agent's engine ID
    ovtrace::Ticket trace;
};

// An engine ID probe of an asynchronous SNMPv3 session, and what it learnt.
struct Probe {
    Session* session = nullptr;
    bool done = false;
    int status = 0;
    std::string engineId;
};

struct Ready {
    std::uint64_t id;
    OvSNMPAnswer answer;
};

// An outcome its session must take note of once no session is being read.
struct Noted {
    Session* session;
    int status;
};

struct Pending {
    std::map<std::uint64_t, Record> records;
    std::map<std::uint64_t, Probe> probes;
    std::deque<Ready> ready;
    std::vector<Noted> noted;
    std::uint64_t nextId = 1;
};

Pending& pending();

// Records the outcome; the completion runs when the pump delivers it.
void queue(std::uint64_t id, OvSNMPAnswer answer);

// net-snmp's callback of every asynchronous send, its magic the record's id.
int onAsyncEvent(int operation, netsnmp_session* session, int requestId, netsnmp_pdu* pdu,
                 void* magic);
void* magicOf(std::uint64_t id);

// The latest time the library can take to answer or give up.
Clock::time_point watchdogFor(std::int32_t timeout, std::int32_t retries);

// The status of a failed send; never success.
int failureStatus(int snmpErrno);

// Sends a request on its session; a failure to send is its outcome.
int transmit(std::uint64_t id, Session& session, netsnmp_pdu* pdu);

// Engine ID discovery of asynchronous SNMPv3 sessions (OvEngineDiscovery.cpp).
void onProbeEvent(Probe& probe, int operation, const netsnmp_pdu* pdu);
// Asks the agent for its engine ID with an ordinary asynchronous exchange; the
// session's waiting requests go out (or fail) when it ends. A failure to send
// the probe fails them at once and is returned.
int discover(Session& session);
// Ends the probes that got their outcome in this turn.
void finishProbes();

} // namespace ovengine
