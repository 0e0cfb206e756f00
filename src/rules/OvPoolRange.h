// The DHCP server's two pools as the configuration windows compare addresses
// with them. The dynamic pool is a start address and a number of addresses.
// The static pool is a table of fixed slots, walked into a list view one row a
// slot: the slot's number, then the table's columns "IP", "MAC", "Mask" ...
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovrules {

// Whether the pool of `size` addresses from `start` holds the address. The
// pool's end is not wrapped at 2^32, so a pool at the top of the address space
// still holds its last addresses; an empty pool (size 0) holds none.
bool poolCovers(std::uint32_t start, std::uint32_t size, std::uint32_t address);

// The sub-items of a static pool row that the windows look at.
inline constexpr int kStaticPoolIp = 0;
inline constexpr int kStaticPoolMac = 1;

// The first row holding the address, compared by its four numbers (a leading
// zero names the same address), if any.
std::optional<std::size_t> rowOfAddress(const std::vector<std::string>& addresses,
                                        std::string_view address);

} // namespace ovrules
