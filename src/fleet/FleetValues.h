// `get NAME...` and `set NAME=VALUE...`: one GET or one SET per device, values
// as the windows show them, each typed value checked before anything is sent.
#pragma once

#include "FleetInventory.h"
#include "FleetRun.h"
#include "FleetVariables.h"

#include <optional>
#include <string>
#include <vector>

// One value to set: the variable and the binding that carries it.
struct FleetAssignment {
    FleetVariable variable;
    std::string text; // as typed
    OvVb value;       // with the variable's OID
};

namespace fleet {

// Checks "NAME=VALUE" as the window that owns the variable would: the name,
// that it can be written, then the value (option labels, addresses and masks,
// SSIDs, pass phrases, the text check, the type's conversion). Throws
// FleetUsageError with the window's message.
FleetAssignment checkedAssignment(const std::string& argument);

// The window's refusal of a typed value, or nothing.
std::optional<std::string> valueRefusal(const FleetVariable& variable, const std::string& text);

} // namespace fleet

struct FleetValueRow {
    std::string device;
    bool done = false;
    bool sent = false; // a SET went out (its answer may not have come)
    bool ok = false;
    std::string error;
    std::vector<std::string> values; // get: one per variable
    bool restarted = false;
};

// Reads the variables (get) or writes the assignments in one SET, then, with
// `restart`, sends the restart command as the windows do.
class FleetValueJob : public FleetJob {
public:
    FleetValueJob(const FleetDevice& device, const std::vector<FleetVariable>* reads,
                  const std::vector<FleetAssignment>* writes, bool restart);
    void start(std::function<void()> finished) override;
    const FleetValueRow& row() const { return row_; }

private:
    void end(const FleetOutcome& outcome);

    OvSNMPTarget target_;
    const std::vector<FleetVariable>* reads_;
    const std::vector<FleetAssignment>* writes_;
    bool restart_;
    FleetValueRow row_;
    std::function<void()> finished_;
};

namespace fleet {

std::string valueTable(const std::vector<FleetValueRow>& rows,
                       const std::vector<std::string>& names, bool set);
std::string valueJson(const std::vector<FleetValueRow>& rows, const std::vector<std::string>& names,
                      bool set, bool interrupted);

} // namespace fleet
