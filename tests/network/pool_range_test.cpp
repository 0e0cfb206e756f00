// The dynamic pool's range as the windows compare addresses with it.
#include "OvPoolRange.h"

#include <gtest/gtest.h>

namespace {

struct PoolCase {
    const char* name;
    const char* start;
    const char* size;
    const char* address;
    bool inside;
};

TEST(DynamicPool, CoversItsAddressesAndNoOthers) {
    const PoolCase cases[] = {
        {"the address before the pool", "192.168.0.100", "20", "192.168.0.99", false},
        {"the pool's first address", "192.168.0.100", "20", "192.168.0.100", true},
        {"the pool's last address", "192.168.0.100", "20", "192.168.0.119", true},
        {"the address after the pool", "192.168.0.100", "20", "192.168.0.120", false},
        {"leading zeros are decimal", "192.168.0.100", "20", "192.168.000.0110", true},
        {"another network", "192.168.0.100", "20", "10.168.0.105", false},
        {"a pool not yet read", "", "", "192.168.0.100", false},
        {"an empty pool", "192.168.0.100", "0", "192.168.0.100", false},
        {"the top of the address space", "223.255.255.250", "20", "223.255.255.254", true},
        {"a pool that reaches past 2^32", "255.255.255.250", "20", "255.255.255.254", true},
        {"nothing wraps round to 0", "255.255.255.250", "20", "0.0.0.3", false},
    };
    for (const PoolCase& c : cases)
        EXPECT_EQ(ovnet::inDynamicPool(c.start, c.size, c.address), c.inside) << c.name;
}

} // namespace
