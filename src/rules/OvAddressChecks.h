// The address and text checks that every configuration window shares: pure
// functions of the typed text. A window shows the text check's refusal through
// the window kit's textCheck.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ovrules {

// A check's refusal as the window shows it: the message box's title and text.
struct Refusal {
    std::string title;
    std::string text;
};

// IP address check: a usable host address, four decimal parts with the first
// 1 to 223 but not 127, the middle two 0 to 255 and the last 1 to 254.
bool isHostAddress(std::string_view text);

// Subnet mask check: a run of two to 31 one bits from the top, then zeros.
bool isSubnetMask(std::string_view text);

enum class TextCheckMode {
    NoQuotationMark, // a double quote would break the device's configuration file
    Secret,          // RADIUS secrets: ASCII letters and digits, not empty
};

// The message that refuses the text, or nullptr when it passes. Its title is
// always kTextCheckTitle.
const char* textRefusal(std::string_view text, TextCheckMode mode);

inline constexpr const char* kTextCheckTitle = "Warning";

// Dotted value, lenient: the parts between dots are added up, shifting by 8
// bits at each dot, in 32-bit arithmetic that wraps; a part that is empty or
// not a decimal number counts 0. A text without dots yields its number.
std::uint32_t dottedValue(std::string_view text);

// The dotted value's arithmetic with each part read by `partValue`: the parts
// are added up, shifting by 8 bits at each dot, in 32-bit arithmetic that wraps.
template <typename PartValue>
std::uint32_t sumDottedParts(std::string_view text, const PartValue& partValue) {
    std::uint32_t accumulator = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '.')
            continue;
        accumulator += partValue(text.substr(start, i - start));
        accumulator <<= 8;
        start = i + 1;
    }
    return accumulator + partValue(text.substr(start));
}

// Dotted value, strict: exactly four decimal numbers 0 to 255 (leading zeros
// allowed, nothing else), first number highest; nothing otherwise.
std::optional<std::uint32_t> strictDottedValue(std::string_view text);

// A plain decimal number of at most 32 bits (digits only), for pool sizes and
// lease times that a window converts strictly; nothing otherwise.
std::optional<std::uint32_t> decimalValue(std::string_view text);

// A typed number's range check: its decimal value, 0 when it is empty or not
// a number, lies within low to high. Digits too many for 32 bits lie above
// any range.
bool numberWithin(std::string_view text, std::uint32_t low, std::uint32_t high);

// Whether two typed addresses name the same address: by their four numbers when
// both are strict dotted quads ("010.0.0.1" is 10.0.0.1), else by their text.
bool sameAddress(std::string_view a, std::string_view b);

} // namespace ovrules
