// The command line: common options, credentials, the command and its arguments.
#pragma once

#include "FleetCredentials.h"

#include <string>
#include <vector>

struct FleetCommandLine {
    std::string command; // status, get, set, export, diff, apply
    std::vector<std::string> arguments;
    FleetCredentials credentials;
    std::string inventory; // --inventory FILE; empty: the station's profiles
    std::string only;      // --only PATTERN
    std::string group;     // --group NAME
    bool json = false;
    bool restart = false;
    bool secrets = false; // export: write the secret settings too
    bool dryRun = false;  // apply: show what would be sent
    bool help = false;
    bool version = false;
    int jobs = 0;     // 0: sized to the site
    double watch = 0; // seconds between refreshes; 0: once
};

namespace fleet {

// Options may come before and after the command. Throws FleetUsageError.
FleetCommandLine parseCommandLine(const std::vector<std::string>& arguments);

} // namespace fleet
