#include "OvTrendRates.h"

namespace ovtrends {

std::optional<double> counterRate(const CounterReading& before, const CounterReading& after) {
    double events = 0;
    double span = (after.uptimeTicks - static_cast<double>(before.uptimeTicks)) / 100.0;
    if (after.uptimeTicks == before.uptimeTicks)
        return std::nullopt;
    if (after.uptimeTicks < before.uptimeTicks) {
        // Restarted in between: only the counts since the restart are known.
        if (after.uptimeTicks == 0)
            return std::nullopt;
        events = after.value;
        span = after.uptimeTicks / 100.0;
    } else if (after.value >= before.value) {
        events = static_cast<double>(after.value - before.value);
    } else {
        events = static_cast<double>((std::uint64_t{1} << 32) - before.value + after.value);
    }
    const double rate = events / span;
    if (rate > kMaxRatePerSecond)
        return std::nullopt;
    return rate;
}

} // namespace ovtrends
