// The indication window's reading of the access point's temperature: degrees
// Celsius as the device reports them, shown in Fahrenheit too and on a bar
// scaled from -40 to 120.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ovrules {

// The bar's ends: 0 stands for -40 degrees, 160 for 120.
inline constexpr int kTemperatureBarMinimum = 0, kTemperatureBarMaximum = 160;

// A temperature shown three ways; nothing for a reading that is no number.
struct OvTemperatureView {
    std::int32_t celsius = 0;
    std::int64_t fahrenheit = 0; // c x 9 / 5 + 32, the quotient cut toward zero
    int bar = 0;                 // c + 40 on the bar's 0 to 160, clamped
};
std::optional<OvTemperatureView> temperatureView(const std::string& valueText);

} // namespace ovrules
