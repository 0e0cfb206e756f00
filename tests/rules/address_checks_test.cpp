// The checks every configuration window shares, without widgets: each case is
// a typed text and what the check says of it.
#include "OvAddressChecks.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace ovrules;

struct VerdictCase {
    const char* name;
    const char* text;
    bool accepted;
};

TEST(AddressChecks, TheIpAddressCheckAcceptsUsableHostAddressesOnly) {
    const VerdictCase cases[] = {
        {"an ordinary host is accepted", "10.0.0.1", true},
        {"the highest host of the last class C network is accepted", "223.255.255.254", true},
        {"the lowest first and last parts are accepted", "1.0.0.1", true},
        {"a network address of 0 is refused", "0.1.2.3", false},
        {"loopback is refused", "127.0.0.1", false},
        {"multicast is refused", "224.0.0.1", false},
        {"a last part of 0 is refused", "10.0.0.0", false},
        {"a last part of 255 is refused", "10.0.0.255", false},
        {"a gateway of 0.0.0.0 is refused", "0.0.0.0", false},
        {"a second part above 255 is refused", "10.256.0.1", false},
        {"a third part above 255 is refused", "10.0.256.1", false},
        {"leading zeros read as decimal are accepted", "010.0.0.001", true},
        {"loopback with a leading zero is still refused", "0127.0.0.1", false},
        {"a part too long for 32 bits is refused", "10.0.0.99999999999", false},
        {"a text starting with a dot is refused", ".10.0.0.1", false},
        {"a text whose first dot is its end is refused", "10.", false},
        {"no dot at all is refused", "10", false},
        {"two dots are refused", "10.0.1", false},
        {"four dots are refused", "10.0.0.1.5", false},
        {"an empty middle part is refused", "10..0.1", false},
        {"an empty last part is refused", "10.0.0.", false},
        {"the empty text is refused", "", false},
        {"the LAN window's initial blanks are refused", "   .   .   .   ", false},
        {"a leading blank is refused", " 10.0.0.1", false},
        {"a trailing blank is refused", "10.0.0.1 ", false},
        {"a blank inside a part is refused", "10. 0.0.1", false},
        {"a letter is refused", "10.0.0.x", false},
        {"a sign is refused", "+10.0.0.1", false},
    };
    for (const VerdictCase& c : cases)
        EXPECT_EQ(isHostAddress(c.text), c.accepted) << c.name << ": \"" << c.text << "\"";
}

std::string maskOf(int ones) {
    const std::uint32_t mask = ones == 0 ? 0 : ~std::uint32_t(0) << (32 - ones);
    return std::to_string(mask >> 24) + "." + std::to_string(mask >> 16 & 255) + "." +
           std::to_string(mask >> 8 & 255) + "." + std::to_string(mask & 255);
}

TEST(AddressChecks, TheSubnetMaskCheckAcceptsExactlyTheMasksOfTwoTo31Bits) {
    for (int ones = 0; ones <= 32; ++ones) {
        const bool accepted = ones >= 2 && ones <= 31;
        EXPECT_EQ(isSubnetMask(maskOf(ones)), accepted) << "a mask of " << ones << " bits";
    }
    // Every accepted mask with one more bit set below its run has a hole.
    for (int ones = 2; ones <= 30; ++ones) {
        const std::uint32_t holed = (~std::uint32_t(0) << (32 - ones)) | 1u;
        const std::string text =
            std::to_string(holed >> 24) + "." + std::to_string(holed >> 16 & 255) + "." +
            std::to_string(holed >> 8 & 255) + "." + std::to_string(holed & 255);
        EXPECT_FALSE(isSubnetMask(text)) << text << " has a hole";
    }
}

TEST(AddressChecks, TheSubnetMaskCheckRefusesOddTexts) {
    const VerdictCase cases[] = {
        {"a 30-bit mask is accepted", "255.255.255.252", true},
        {"the usual class C mask is accepted", "255.255.255.0", true},
        {"all ones is refused", "255.255.255.255", false},
        {"a single bit is refused", "128.0.0.0", false},
        {"no bits are refused", "0.0.0.0", false},
        {"a hole between parts is refused", "255.0.255.0", false},
        {"a hole inside a part is refused", "255.255.253.0", false},
        {"a part of 1 is refused", "255.255.255.1", false},
        {"leading zeros read as decimal are accepted", "255.255.255.000", true},
        {"a part above 255 is refused", "256.0.0.0", false},
        {"an empty part is refused", "255..255.0", false},
        {"an empty last part is refused", "255.255.255.", false},
        {"a leading dot is refused", ".255.255.0", false},
        {"three parts are refused", "255.255.0", false},
        {"a blank is refused", "255.255.255.0 ", false},
        {"a letter is refused", "255.255.255.x", false},
        {"the empty text is refused", "", false},
    };
    for (const VerdictCase& c : cases)
        EXPECT_EQ(isSubnetMask(c.text), c.accepted) << c.name << ": \"" << c.text << "\"";
}

TEST(AddressChecks, TheTextCheckRefusesByItsMode) {
    const struct {
        const char* name;
        std::string text;
        TextCheckMode mode;
        const char* refusal; // nullptr: accepted
    } cases[] = {
        {"a domain name passes", "lan.example", TextCheckMode::NoQuotationMark, nullptr},
        {"the empty text passes", "", TextCheckMode::NoQuotationMark, nullptr},
        {"blanks and single quotes pass", "my lab's net", TextCheckMode::NoQuotationMark, nullptr},
        {"a double quote anywhere is refused", "lab\"net", TextCheckMode::NoQuotationMark,
         "Quotation Mark (\") is not accepted"},
        {"a lone double quote is refused", "\"", TextCheckMode::NoQuotationMark,
         "Quotation Mark (\") is not accepted"},
        {"letters and digits make a secret", "Secret42", TextCheckMode::Secret, nullptr},
        {"an empty secret is refused", "", TextCheckMode::Secret,
         "Please input Radius Secret format xxxxxx(x:0-9;A-z)"},
        {"a blank in a secret is refused", "my secret", TextCheckMode::Secret,
         "Please input Radius Secret format xxxxxx(x:0-9;A-z)"},
        {"punctuation in a secret is refused", "secret-1", TextCheckMode::Secret,
         "Please input Radius Secret format xxxxxx(x:0-9;A-z)"},
        {"a letter beyond ASCII in a secret is refused",
         "s\xC3\xA9"
         "cret",
         TextCheckMode::Secret, "Please input Radius Secret format xxxxxx(x:0-9;A-z)"},
        {"a double quote in a secret is refused", "a\"b", TextCheckMode::Secret,
         "Please input Radius Secret format xxxxxx(x:0-9;A-z)"},
    };
    for (const auto& c : cases) {
        const char* refusal = textRefusal(c.text, c.mode);
        if (c.refusal == nullptr)
            EXPECT_EQ(refusal, nullptr) << c.name;
        else
            EXPECT_STREQ(refusal, c.refusal) << c.name;
    }
}

TEST(AddressChecks, TheLenientDottedValueWrapsAndCountsOddPartsAsZero) {
    const struct {
        const char* name;
        const char* text;
        std::uint32_t value;
    } cases[] = {
        {"an address is its four numbers", "192.168.0.100", 0xC0A80064},
        {"a pool size without dots is its number", "20", 20},
        {"leading zeros are decimal", "010.0.0.001", 0x0A000001},
        {"the empty text is 0", "", 0},
        {"dots alone are 0", "...", 0},
        {"an empty part counts 0", "1..1", 0x00010001},
        {"a letter part counts 0", "10.0.0.x", 0x0A000000},
        {"a part with a blank counts 0", " 1.0.0.1", 1},
        {"a negative part counts 0", "-1", 0},
        {"the largest part that counts", "2147483647", 0x7FFFFFFF},
        {"a part beyond a signed 32-bit integer counts 0", "4294967296", 0},
        {"a part above 255 spills into the next", "1.256", 0x00000200},
        {"a first part above 255 wraps away", "256.0.0.1", 1},
        {"a fifth part shifts the first out", "1.2.3.4.5", 0x02030405},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dottedValue(c.text), c.value) << c.name << ": \"" << c.text << "\"";
}

TEST(AddressChecks, TheStrictDottedValueTakesFourDecimalNumbersOnly) {
    const struct {
        const char* name;
        const char* text;
        std::optional<std::uint32_t> value;
    } cases[] = {
        {"an address is its four numbers", "192.168.0.100", 0xC0A80064},
        {"leading zeros are decimal, not octal", "010.000.000.010", 0x0A00000A},
        {"0.0.0.0 is a value", "0.0.0.0", 0},
        {"a part above 255 is refused", "256.0.0.1", std::nullopt},
        {"three parts are refused", "1.2.3", std::nullopt},
        {"five parts are refused", "1.2.3.4.5", std::nullopt},
        {"an empty part is refused", "1..2.3", std::nullopt},
        {"a blank is refused", " 1.2.3.4", std::nullopt},
        {"a letter is refused", "192.168.0.x", std::nullopt},
        {"a number without dots is refused", "20", std::nullopt},
        {"the empty text is refused", "", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(strictDottedValue(c.text), c.value) << c.name << ": \"" << c.text << "\"";
}

TEST(AddressChecks, DecimalValuesAreDigitsOnly) {
    const struct {
        const char* text;
        std::optional<std::uint32_t> value;
    } cases[] = {
        {"20", 20},         {"0060", 60}, {"4294967295", 4294967295u},
        {"4294967296", {}}, {"", {}},     {"-1", {}},
        {" 1", {}},         {"1 ", {}},   {"1.5", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decimalValue(c.text), c.value) << "\"" << c.text << "\"";
}

TEST(AddressChecks, ATypedNumbersRangeCountsWhatIsNoNumberAsZero) {
    const struct {
        const char* text;
        std::uint32_t low, high;
        bool within;
    } cases[] = {
        {"20", 20, 1000, true},
        {"19", 20, 1000, false},
        {"1000", 20, 1000, true},
        {"1001", 20, 1000, false},
        {"0", 0, 64, true},
        {"64", 0, 64, true},
        {"65", 0, 64, false},
        {"", 0, 64, true},
        {"", 1, 255, false},
        {"(NULL)", 0, 64, true},
        {"(NULL)", 1, 255, false},
        {"4294967296", 0, 4294967295u, false},
        {"99999999999999", 0, 64, false},
        {"0064", 0, 64, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numberWithin(c.text, c.low, c.high), c.within)
            << "\"" << c.text << "\" within " << c.low << " to " << c.high;
}

TEST(AddressChecks, TypedAddressesCompareByTheirFourNumbers) {
    const struct {
        const char* name;
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"the same text is the same address", "10.0.0.1", "10.0.0.1", true},
        {"a leading zero cannot slip past", "010.0.0.1", "10.0.0.1", true},
        {"zeros in every part", "000.0.00.0", "0.0.0.0", true},
        {"another host is another address", "10.0.0.1", "10.0.0.2", false},
        {"octal reading would make these equal; decimal does not", "010.0.0.1", "8.0.0.1", false},
        {"a text that is no address compares as text", "10.0.0.1 ", "10.0.0.1", false},
        {"two equal non-addresses are the same text", "host", "host", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sameAddress(c.a, c.b), c.same) << c.name;
}

} // namespace
