#include "OvPoolRange.h"

#include "OvAddressChecks.h"

#include <cstdint>

namespace ovnet {

bool inDynamicPool(std::string_view start, std::string_view size, std::string_view address) {
    const std::uint64_t first = dottedValue(start);
    const std::uint64_t end = first + dottedValue(size);
    const std::uint64_t ip = dottedValue(address);
    return first <= ip && ip < end;
}

} // namespace ovnet
