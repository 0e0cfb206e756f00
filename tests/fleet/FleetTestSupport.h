// What the fleet library says of one input: its usage error's text, or
// "(accepted)" when it takes it.
#pragma once

#include "FleetCredentials.h"

#include <string>

namespace fleettest {

template <typename Action> std::string usageErrorOf(const Action& action) {
    try {
        action();
    } catch (const FleetUsageError& e) {
        return e.what();
    }
    return "(accepted)";
}

} // namespace fleettest
