#include "OvTemperatureRules.h"

#include "OvOptionList.h"

#include <algorithm>

namespace ovrules {

std::optional<OvTemperatureView> temperatureView(const std::string& valueText) {
    std::int32_t celsius = 0;
    if (!ov::parseInt32(valueText, celsius))
        return std::nullopt;
    OvTemperatureView view;
    view.celsius = celsius;
    view.fahrenheit = std::int64_t{celsius} * 9 / 5 + 32;
    // The bar's left end stands for -40 degrees.
    view.bar = static_cast<int>(std::clamp<std::int64_t>(
        std::int64_t{celsius} + 40, kTemperatureBarMinimum, kTemperatureBarMaximum));
    return view;
}

} // namespace ovrules
