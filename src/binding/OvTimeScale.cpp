#include "OvTimeScale.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

double initialScale() {
    const char* text = std::getenv("OV_TIME_SCALE");
    if (text == nullptr)
        return 1.0;
    double value = 0;
    const auto result = std::from_chars(text, text + std::strlen(text), value);
    return result.ec == std::errc() && value > 0 && std::isfinite(value) ? value : 1.0;
}

double& scale() {
    static double factor = initialScale();
    return factor;
}

} // namespace

namespace ov {

double timeScale() {
    return scale();
}

void setTimeScale(double factor) {
    if (factor > 0 && std::isfinite(factor))
        scale() = factor;
}

int scaledInterval(int milliseconds) {
    if (milliseconds <= 0)
        return milliseconds;
    const double scaled = std::round(milliseconds * scale());
    if (scaled < 1)
        return 1;
    return scaled > 2147483647.0 ? 2147483647 : static_cast<int>(scaled);
}

} // namespace ov
