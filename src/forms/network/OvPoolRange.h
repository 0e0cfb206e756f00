// The DHCP server's dynamic pool as the configuration windows compare
// addresses with it: a start address and a number of addresses, as typed or as
// the device sent them.
#pragma once

#include <string_view>

namespace ovnet {

// Whether the address lies in the pool of `size` addresses from `start`, all
// three read as lenient dotted values and compared unsigned. The pool's end is
// not wrapped at 2^32, so a pool at the top of the address space still covers
// its last addresses; an empty pool (size 0, or nothing read yet) covers none.
bool inDynamicPool(std::string_view start, std::string_view size, std::string_view address);

} // namespace ovnet
