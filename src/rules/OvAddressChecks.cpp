#include "OvAddressChecks.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>

namespace ovrules {
namespace {

// A part as the checks read it: decimal digits only, so a blank, a sign or an
// empty part is not a number. Parts beyond 32 bits are not numbers either.
std::optional<std::uint32_t> digitsValue(std::string_view part) {
    if (part.empty() ||
        !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (error != std::errc() || end != part.data() + part.size())
        return std::nullopt;
    return value;
}

// The shape both address checks demand first: exactly three dots, and a first
// dot neither at the start nor at the end.
std::optional<std::array<std::string_view, 4>> fourParts(std::string_view text) {
    const std::size_t firstDot = text.find('.');
    if (firstDot == 0 || (firstDot != std::string_view::npos && firstDot + 1 == text.size()))
        return std::nullopt;
    if (std::count(text.begin(), text.end(), '.') != 3)
        return std::nullopt;
    std::array<std::string_view, 4> parts;
    for (std::string_view& part : parts) {
        const std::size_t dot = text.find('.');
        part = text.substr(0, dot);
        text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    }
    return parts;
}

// A part of the IP address check: -1 when empty or not a number.
long long partNumber(std::string_view part) {
    const auto value = digitsValue(part);
    return value ? static_cast<long long>(*value) : -1;
}

} // namespace

bool isHostAddress(std::string_view text) {
    const auto parts = fourParts(text);
    if (!parts)
        return false;
    const long long first = partNumber((*parts)[0]);
    const long long second = partNumber((*parts)[1]);
    const long long third = partNumber((*parts)[2]);
    const long long fourth = partNumber((*parts)[3]);
    return first >= 1 && first <= 223 && first != 127 && second >= 0 && second <= 255 &&
           third >= 0 && third <= 255 && fourth >= 1 && fourth <= 254;
}

bool isSubnetMask(std::string_view text) {
    const auto parts = fourParts(text);
    if (!parts)
        return false;
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < parts->size(); ++i) {
        const auto value = digitsValue((*parts)[i]);
        if (!value || *value > 255 || *value == 1 || (i == 0 && *value == 0))
            return false;
        mask = mask << 8 | *value;
    }
    // Ones from the top, then only zeros: the complement plus one is a power of two.
    const int ones = std::countl_one(mask);
    return std::countr_zero(mask) == 32 - ones && ones >= 2 && ones <= 31;
}

const char* textRefusal(std::string_view text, TextCheckMode mode) {
    if (mode == TextCheckMode::NoQuotationMark)
        return text.find('"') == std::string_view::npos ? nullptr
                                                        : "Quotation Mark (\") is not accepted";
    const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
    return plain ? nullptr : "Please input Radius Secret format xxxxxx(x:0-9;A-z)";
}

std::uint32_t dottedValue(std::string_view text) {
    // A part beyond a signed 32-bit integer is no integer, and counts 0 like
    // any other text that is none.
    const auto partValue = [](std::string_view part) -> std::uint32_t {
        const auto value = digitsValue(part);
        return value && *value <= 0x7FFFFFFFu ? *value : 0;
    };
    return sumDottedParts(text, partValue);
}

std::optional<std::uint32_t> strictDottedValue(std::string_view text) {
    if (std::count(text.begin(), text.end(), '.') != 3)
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t dot = text.find('.');
        const auto part = digitsValue(text.substr(0, dot));
        if (!part || *part > 255)
            return std::nullopt;
        value = value << 8 | *part;
        text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    }
    return value;
}

std::optional<std::uint32_t> decimalValue(std::string_view text) {
    return digitsValue(text);
}

bool numberWithin(std::string_view text, std::uint32_t low, std::uint32_t high) {
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    const auto value = digitsValue(text);
    if (digits && !value)
        return false; // beyond 32 bits
    const std::uint32_t number = value.value_or(0);
    return number >= low && number <= high;
}

bool sameAddress(std::string_view a, std::string_view b) {
    const auto first = strictDottedValue(a);
    const auto second = strictDottedValue(b);
    if (first && second)
        return *first == *second;
    return a == b;
}

} // namespace ovrules
