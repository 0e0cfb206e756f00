// The DHCP server's pools as the windows compare addresses with them: the
// dynamic pool's cover and the static pool's rows by address.
#include "OvAddressChecks.h"
#include "OvPoolRange.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// The texts are read as the LAN window reads its boxes, by the lenient dotted
// value; the DHCP windows read them strictly, to the same numbers.
TEST(DynamicPool, CoversItsAddressesAndNoOthers) {
    const struct {
        const char* name;
        const char* start;
        const char* size;
        const char* address;
        bool inside;
    } cases[] = {
        {"the address before the pool", "192.168.0.100", "20", "192.168.0.99", false},
        {"the pool's first address", "192.168.0.100", "20", "192.168.0.100", true},
        {"the pool's last address", "192.168.0.100", "20", "192.168.0.119", true},
        {"start plus size, after the pool", "192.168.0.100", "20", "192.168.0.120", false},
        {"the design's example: size 10 stops short of .110", "192.168.0.100", "10",
         "192.168.0.110", false},
        {"leading zeros are decimal", "192.168.0.100", "20", "192.168.000.0110", true},
        {"another network", "192.168.0.100", "20", "10.168.0.105", false},
        {"a pool not yet read", "", "", "192.168.0.100", false},
        {"an empty pool", "192.168.0.100", "0", "192.168.0.100", false},
        {"the top of the address space", "223.255.255.250", "20", "223.255.255.254", true},
        {"a pool that reaches past 2^32", "255.255.255.250", "20", "255.255.255.254", true},
        {"the last address of all, unwrapped", "255.255.255.240", "32", "255.255.255.255", true},
        {"nothing wraps round to 0", "255.255.255.250", "20", "0.0.0.3", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ovrules::poolCovers(ovrules::dottedValue(c.start), ovrules::dottedValue(c.size),
                                      ovrules::dottedValue(c.address)),
                  c.inside)
            << c.name;
}

TEST(StaticPool, RowsAreFoundByTheFourNumbersOfTheirAddress) {
    const std::vector<std::string> addresses{"10.0.0.50", "0.0.0.0", "10.0.0.51", "0.0.0.0"};
    const struct {
        const char* name;
        const char* address;
        std::optional<std::size_t> row;
    } cases[] = {
        {"the first row holding it", "10.0.0.51", 2},
        {"leading zeros name the same address", "010.0.0.051", 2},
        {"the first of two rows holding it", "0.0.0.0", 1},
        {"no row holds it", "10.0.0.52", std::nullopt},
        {"a text that is no address matches only itself", "10.0.0.51 ", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ovrules::rowOfAddress(addresses, c.address), c.row) << c.name;
    EXPECT_EQ(ovrules::rowOfAddress({}, "10.0.0.50"), std::nullopt) << "no rows at all";
}

} // namespace
