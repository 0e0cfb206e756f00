#include "OvPoolRange.h"

#include "OvAddressChecks.h"
#include "OvListView.h"

#include <algorithm>

namespace ovnet {

bool poolCovers(std::uint32_t start, std::uint32_t size, std::uint32_t address) {
    return start <= address && std::uint64_t{address} < std::uint64_t{start} + size;
}

std::vector<std::string> staticPoolColumn(const OvListView& list, int subItem) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.itemCount(); ++row)
        texts.push_back(list.subItem(row, subItem).toStdString());
    return texts;
}

std::optional<std::size_t> rowOfAddress(const std::vector<std::string>& addresses,
                                        std::string_view address) {
    const auto found = std::find_if(addresses.begin(), addresses.end(),
                                    [&](const std::string& a) { return sameAddress(a, address); });
    if (found == addresses.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - addresses.begin());
}

} // namespace ovnet
