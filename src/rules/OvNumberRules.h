// The typed numbers windows check, each with its accepted range and the
// message that refuses any other, as the windows word them.
#pragma once

#include <cstdint>
#include <string_view>

namespace ovrules {

struct NumberField {
    std::uint32_t low;
    std::uint32_t high;
    const char* refusal;
};

// The field's refusal of the typed text, empty or a number outside the range
// (read as numberWithin reads it), or nullptr.
const char* numberRefusal(std::string_view text, const NumberField& field);

// Performance: the beacon interval, the DTIM period, the fragment length and
// the RTS threshold.
inline constexpr NumberField kBeaconInterval{20, 1000,
                                             "Please input a number between 20 and 1000."};
inline constexpr NumberField kDtimPeriod{1, 255, "Please input a number between 1 and 255."};
inline constexpr NumberField kFrameLength{256, 2346, "Please input a number between 256 and 2346."};
// Grouping: the users of a group.
inline constexpr NumberField kGroupUsers{0, 64, "Please input a number between 0 and 64."};
// Security: the group key update interval and the RADIUS port.
inline constexpr NumberField kGroupKeyInterval{300, 9999999,
                                               "Please input a number between 300 and 9999999."};
inline constexpr NumberField kRadiusPort{1, 65535, "Please input a number between 1 and 65535."};

} // namespace ovrules
