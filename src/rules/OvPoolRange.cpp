#include "OvPoolRange.h"

#include "OvAddressChecks.h"

#include <algorithm>

namespace ovrules {

bool poolCovers(std::uint32_t start, std::uint32_t size, std::uint32_t address) {
    return start <= address && std::uint64_t{address} < std::uint64_t{start} + size;
}

std::optional<std::size_t> rowOfAddress(const std::vector<std::string>& addresses,
                                        std::string_view address) {
    const auto found = std::find_if(addresses.begin(), addresses.end(),
                                    [&](const std::string& a) { return sameAddress(a, address); });
    if (found == addresses.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - addresses.begin());
}

} // namespace ovrules
