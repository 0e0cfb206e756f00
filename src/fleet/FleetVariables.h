// Device variables by the names of the device MIB compiled into the module:
// "NAME" or "NAME.INDEX" (blanks of a name may be left out: "SystemName"), with
// the type, access and option list that the windows use for them.
#pragma once

#include "OvSNMPVarList.h"
#include "OvVb.h"

#include <optional>
#include <string>
#include <vector>

struct FleetVariable {
    std::string name; // as asked, without blanks ("adChannel.2")
    OvOid oid;        // with its instance
    std::uint8_t type = 0;
    std::uint32_t access = 0; // the widest any table gives it
    const OvOptionList* options = nullptr;
    int table = 0; // the first device table that holds it (T<n>)
};

namespace fleet {

// The variable a name stands for. Throws FleetUsageError naming the problem:
// an unknown name, an index that is missing or names no instance.
FleetVariable findVariable(const std::string& name);

// Whether `set` may write it: read-write, or switched on by its window before
// the window writes it (marked invalid only; the channel lists among those
// only show what the device offers).
bool isWritable(const FleetVariable& variable);

// The bindings of a GET of the variables, in their order.
std::vector<OvVb> getBindings(const std::vector<FleetVariable>& variables);

// The value text of a received binding, as the windows show it (option labels,
// MAC text, dotted addresses); "(NULL)" when the device has no such value.
std::string shownValue(const FleetVariable& variable, const OvVb& received);

} // namespace fleet
