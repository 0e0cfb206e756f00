// The rules the DHCP server window and its entry dialog share, as plain
// functions: the MAC comparison, the strict dotted value and the searches of
// the static pool by free slot and MAC.
#include "OvDhcpRules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace ovrules;

TEST(DhcpRules, MacComparisonMatchesATypedLowerCaseLetterToAListedUpperCaseOne) {
    const struct {
        const char* what;
        const char* typed;
        const char* listed;
        bool same;
    } cases[] = {
        {"the same text", "000C41AABB01", "000C41AABB01", true},
        {"typed in lower case, listed in upper case", "000c41aabb01", "000C41AABB01", true},
        {"typed in upper case, listed in lower case", "000C41AABB01", "000c41aabb01", false},
        {"one digit differs", "000C41AABB02", "000C41AABB01", false},
        {"the typed text is a prefix of the listed one", "000C41", "000C41AABB01", true},
        {"nothing typed matches anything", "", "000C41AABB01", true},
        {"the listed text is shorter", "000C41AABB01", "000C41", false},
        {"a digit plus 32 is a letter: '0' listed matches 'P' typed", "P00C41AABB01",
         "000C41AABB01", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sameMac(c.typed, c.listed), c.same) << c.what;
}

TEST(DhcpRules, TheStrictDottedValueAddsItsPartsAndNamesThePartItCannotRead) {
    const struct {
        const char* what;
        const char* text;
        std::optional<std::uint32_t> value; // nothing: raises
        const char* message;
    } cases[] = {
        {"a dotted quad", "192.168.0.100", 0xC0A80064u, ""},
        {"a leading zero", "192.168.000.010", 0xC0A8000Au, ""},
        {"a pool size without dots", "20", 20u, ""},
        {"a part above 255 carries into the next", "0.0.1.256", 0x200u, ""},
        {"a letter in the last part", "192.168.0.x", std::nullopt,
         "'x' is not a valid integer value"},
        {"an empty text", "", std::nullopt, "'' is not a valid integer value"},
        {"an empty part", "10..0.1", std::nullopt, "'' is not a valid integer value"},
        {"a blank in a part", "10.0.0. 1", std::nullopt, "' 1' is not a valid integer value"},
        {"a sign", "10.0.0.-1", std::nullopt, "'-1' is not a valid integer value"},
        {"beyond a signed 32-bit integer", "2147483648", std::nullopt,
         "'2147483648' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.value) {
            EXPECT_EQ(checkedDottedValue(c.text), *c.value);
            continue;
        }
        try {
            checkedDottedValue(c.text);
            ADD_FAILURE() << "no error raised";
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(DhcpRules, TheStrictIntegerTakesDigitsOnly) {
    EXPECT_EQ(checkedInteger("31536000"), 31536000u);
    EXPECT_EQ(checkedInteger("060"), 60u);
    for (const char* bad : {"", "6 0", "1.5", "+60", "abc"})
        EXPECT_THROW(checkedInteger(bad), ConversionError) << bad;
}

TEST(DhcpRules, AddTakesTheFirstFreeSlot) {
    const struct {
        const char* what;
        std::vector<std::string> addresses;
        std::optional<std::size_t> slot;
    } cases[] = {
        {"the first of two free slots", {"10.0.0.50", "0.0.0.0", "10.0.0.51", "0.0.0.0"}, 1},
        {"a free slot written with leading zeros", {"10.0.0.50", "000.0.0.0"}, 1},
        {"a full pool", {"10.0.0.50"}, std::nullopt},
        {"no slots at all", {}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firstFreeSlot(c.addresses), c.slot) << c.what;
}

TEST(DhcpRules, StaticPoolRowsAreFoundByTheMacComparison) {
    const std::vector<std::string> macs{"000C41AABB01", "000000000000", "000C41AABB02"};
    EXPECT_EQ(rowOfMac(macs, "000C41AABB02"), 2u);
    EXPECT_EQ(rowOfMac(macs, "000c41aabb02"), 2u);
    EXPECT_EQ(rowOfMac(macs, "000C41AABB03"), std::nullopt);
}

TEST(DhcpRules, AnAddressIsTakenWhenAnotherRowThanTheOneWrittenHoldsIt) {
    const std::vector<std::string> addresses{"10.0.0.50", "0.0.0.0", "10.0.0.51"};
    const struct {
        const char* what;
        const char* typed;
        long long index;
        bool taken;
    } cases[] = {
        {"another row holds it", "10.0.0.50", 2, true},
        {"another row holds it, typed with leading zeros", "10.0.0.050", 2, true},
        {"the row written holds it", "10.0.0.50", 1, false},
        {"no row holds it", "10.0.0.52", 2, false},
        {"the free slot's address is never taken", "0.0.0.0", 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(addressTakenElsewhere(addresses, c.typed, c.index), c.taken) << c.what;
}

TEST(DhcpRules, AMacIsTakenWhenAnotherSlotThanTheOneWrittenHoldsIt) {
    const std::vector<std::string> macs{"000C41AABB01", "000000000000", "000C41AABB02"};
    const struct {
        const char* what;
        const char* typed;
        long long index;
        bool taken;
    } cases[] = {
        {"another slot holds it", "000C41AABB02", 2, true},
        {"another slot holds it, typed in lower case", "000c41aabb02", 2, true},
        {"the slot written holds it", "000C41AABB02", 3, false},
        {"its lower case in the slot written", "000c41aabb02", 3, false},
        {"no slot holds it", "000C41AABB03", 2, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(macTakenElsewhere(macs, c.typed, c.index), c.taken) << c.what;
}

} // namespace
