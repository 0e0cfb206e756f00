// The devices a command works on: every device profile of the station's profile
// folder, or the lines of an inventory file, narrowed by --only and --group.
#pragma once

#include "FleetCredentials.h"
#include "OvSNMPEngine.h"

#include <string>
#include <vector>

struct FleetDevice {
    std::string name;    // as the inventory or profile names it ("10.0.0.5:1161", "ap-7")
    std::string group;   // the inventory group, empty outside one
    OvSNMPTarget target; // address, port, version, credentials, time-out, retries
};

namespace fleet {

// The request target every device starts from: the module's session defaults.
OvSNMPTarget defaultTarget();

// Every "*.cfg" profile of the folder, by file name: the address is the name
// without ".cfg"; the profile then the options fill the target, as the module
// applies a profile and then the station's switches. Throws FleetUsageError
// naming the profile that cannot be read.
std::vector<FleetDevice> profileInventory(const std::string& profileFolder,
                                          const FleetCredentials& options);

// An inventory file: one device a line ("ADDRESS[:PORT] [OPTIONS]"), "group NAME
// [OPTIONS]" starting a group whose options its devices take, "#" starting a
// comment. A line's options win over its group's, which win over `options`.
// Throws FleetUsageError "FILE:LINE: what is wrong" for the first bad line.
std::vector<FleetDevice> fileInventory(const std::string& fileName,
                                       const FleetCredentials& options);
// The same for the text of a file, for tests and messages.
std::vector<FleetDevice> parseInventory(const std::string& text, const std::string& fileName,
                                        const FleetCredentials& options);

// The devices whose name or address matches the shell pattern (empty: all) and
// that belong to the group (empty: all), in inventory order.
std::vector<FleetDevice> selectDevices(const std::vector<FleetDevice>& devices,
                                       const std::string& pattern, const std::string& group);

} // namespace fleet
