// The request trace: what went over the wire, for a support desk. One line per
// request the engine sends and one per its answer, time-out or failure, in a
// file only its owner may read. Secrets never reach it: communities and pass
// phrases are not written at all, and the values of secret variables
// (mib::isSecret) are written as "***".
//
// Fields are separated by one TAB:
//   TIME  NUMBER  request  OPERATION  VERSION  PRINCIPAL  AGENT  BINDING...
//   TIME  NUMBER  answer   OPERATION  VERSION  PRINCIPAL  AGENT  OUTCOME  RTT  BINDING...
// TIME is UTC with milliseconds; NUMBER pairs an answer with its request;
// PRINCIPAL is "community" (SNMPv1, SNMPv2c) or the SNMPv3 user name; a binding
// is its OID, with "=" and a typed value (as apsim's request log writes them)
// where it has one.
#pragma once

#include "OvSNMPEngine.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace ovtrace {

// The environment variable a station sets to trace without a switch.
inline constexpr const char* variable = "OV_TRACE";

// Starts tracing into the file: created with mode 0600, or appended to (its
// mode narrowed to 0600) so that several modules may share one. Throws
// std::runtime_error with the reason when it cannot.
void open(const std::string& path);
// Stops tracing and closes the file.
void close();
bool isOpen();

// A request on its way: what its answer line repeats.
struct Ticket {
    std::uint64_t number = 0; // 0: not traced
    std::chrono::steady_clock::time_point sent;
    std::string head; // OPERATION to AGENT
};

// Writes the request's line; an untraced ticket when no trace is open.
Ticket request(const OvSNMPTarget& target, OvPduType type, const std::vector<OvVb>& bindings);
// Writes the line of the request's outcome.
void outcome(const Ticket& ticket, const OvSNMPAnswer& answer);

// A binding as the trace writes it: "OID" or "OID=typed value", "OID=***" for
// a secret variable.
std::string bindingText(const OvVb& binding, bool withValue);

} // namespace ovtrace
