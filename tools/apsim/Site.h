// A simulated site: each device of `apsim --devices N` in a process of its own,
// forked from this one, so each keeps its own agent library state (engine ID,
// engine boots, sessions), and one device's restart or stall never touches
// the others. The processes share the program's pages; each device costs its
// own variables and the agent library's few megabytes.
#pragma once

#include "Device.h"
#include "Options.h"

#include <functional>
#include <vector>

namespace apsim {

// Serves one device until SIGTERM; writes "ADDR:PORT\n" to `readyFd` once it
// answers. Answers the exit code.
using ServeDevice = std::function<int(const Options&, Device&, int readyFd)>;

// Starts every device (its Device built here first, so a bad option stops the
// site before anything answers), prints their ready lines in device order, and
// stops them all on SIGTERM or SIGINT. Answers 0, or 2 when a device did not
// start (then none is left running).
int runSite(const std::vector<Options>& site, const ServeDevice& serve);

} // namespace apsim
