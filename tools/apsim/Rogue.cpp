#include "Rogue.h"

#include <charconv>

namespace apsim {
namespace {

// The number of a typed integer text ("i:5"); 0 for anything else.
std::int32_t numberOf(const std::string& typed) {
    std::int32_t value = 0;
    if (typed.size() > 2)
        std::from_chars(typed.data() + 2, typed.data() + typed.size(), value);
    return value;
}

bool bitSet(std::int32_t mask, std::int32_t bit) {
    return bit >= 0 && bit < 31 && (mask >> bit & 1) != 0;
}

// Column positions in a result row's values.
constexpr std::size_t kType = 0, kSecurity = 4, kMode = 5;

} // namespace

bool reported(const AirNetwork& network, const ScanFilters& filters) {
    const bool typeWanted = network.adHoc ? filters.bssType == 2 || filters.bssType == 3
                                          : filters.bssType == 1 || filters.bssType == 3;
    return typeWanted && bitSet(filters.bands, network.mode) &&
           bitSet(filters.securities, network.security);
}

AirNetwork networkOf(const std::vector<std::string>& rowValues) {
    AirNetwork network;
    if (rowValues.size() <= kMode)
        return network;
    network.adHoc = rowValues[kType] == "s:Ad Hoc";
    network.security = numberOf(rowValues[kSecurity]);
    network.mode = numberOf(rowValues[kMode]);
    return network;
}

} // namespace apsim
