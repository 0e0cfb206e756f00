// Many devices at once on the module's asynchronous engine: each device's work
// is a job of chained requests, and the runner keeps at most N jobs in flight,
// so one slow or silent device holds back only itself.
#pragma once

#include "OvSNMPEngine.h"

#include <functional>
#include <string>
#include <vector>

// The outcome of one request, checked: answered, error status 0 and, for GET
// and SET, the bindings asked for in their order. `error` is the catalog's
// text otherwise (time-out, authentication, the device's error status ...).
struct FleetOutcome {
    bool ok = false;
    int status = 0;
    int errorIndex = 0;
    std::string error;
    std::vector<OvVb> bindings;
};

class FleetJob {
public:
    virtual ~FleetJob() = default;
    // Starts the job's first request; `finished` runs once, when it has ended.
    virtual void start(std::function<void()> finished) = 0;
};

namespace fleet {

// Sends one request. The completion runs from the event pump, never inside
// this call, and never once the run has been interrupted.
void send(const OvSNMPTarget& target, OvPduType type, std::vector<OvVb> bindings,
          std::function<void(const FleetOutcome&)> completion);

// SIGINT and SIGTERM from now on interrupt the run in progress (or the next).
void catchInterrupts();

// True once SIGINT or SIGTERM has come.
bool interrupted();

// Runs the jobs, at most `parallel` at once, in an event loop, until every one
// has finished or an interrupt came (then at once: no further request goes
// out). `progress` runs after each finished job with (finished, total).
// Answers false when interrupted.
bool runJobs(const std::vector<FleetJob*>& jobs, int parallel,
             const std::function<void(int, int)>& progress = {});

// Waits in the event loop for the seconds, or until an interrupt; false then.
bool pause(double seconds);

} // namespace fleet
