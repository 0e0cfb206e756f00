// The one error type for conditions of the module's own making (a bad address,
// an unsupported type, a bad input constraint): a display code and its text.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

class OvException : public std::runtime_error {
public:
    OvException(std::int32_t code, const std::string& text)
        : std::runtime_error(text), code_(code) {}

    // The code with its current catalog text.
    explicit OvException(std::int32_t code);

    std::int32_t code() const { return code_; }
    std::string text() const { return what(); }

private:
    std::int32_t code_;
};

// Codes of the module's own conditions that more than one layer raises.
namespace ovcode {
inline constexpr std::int32_t BadSnmpSyntax = -511;   // type code outside the table
inline constexpr std::int32_t BadKeyCount = -514;     // row index shorter than the keys
inline constexpr std::int32_t BadItemType = -515;     // type the request engine refuses
inline constexpr std::int32_t BadPartialValue = -518; // value with too few bytes for its type
inline constexpr std::int32_t UnknownError = -528;
inline constexpr std::int32_t BadSpecifier = -2; // bad input constraint
inline constexpr std::int32_t OutOfRange = -12;  // position outside a list
} // namespace ovcode
