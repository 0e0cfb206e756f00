#include "OvTrendRates.h"

namespace ovtrends {

std::optional<double> counterRate(const CounterReading& before, const CounterReading& after) {
    // Restarted in between (uptime went back): what the counters started again
    // from is not known (not always zero), so the interval has no rate.
    if (after.uptimeTicks <= before.uptimeTicks)
        return std::nullopt;
    const double span = (after.uptimeTicks - static_cast<double>(before.uptimeTicks)) / 100.0;
    const double events =
        after.value >= before.value
            ? static_cast<double>(after.value - before.value)
            : static_cast<double>((std::uint64_t{1} << 32) - before.value + after.value);
    const double rate = events / span;
    if (rate > kMaxRatePerSecond)
        return std::nullopt;
    return rate;
}

} // namespace ovtrends
