// Rates from the device's cumulative counters: the difference of two readings
// over the time between them, right across a 32-bit counter's wrap and a
// device restart, and never a negative or implausibly large value.
#pragma once

#include <cstdint>
#include <optional>

namespace ovtrends {

// Above this many events a second a difference is taken as a counter that
// jumped (reset by hand, or wrapped more than once), not as traffic: no radio
// of the device carries a tenth of it.
inline constexpr double kMaxRatePerSecond = 1.0e6;

struct CounterReading {
    std::uint32_t value = 0;
    std::uint32_t uptimeTicks = 0; // the device's sysUpTime with the reading (1/100 s)
};

// Events a second between two readings, over the device's own time between
// them (its uptime), so that a late answer makes no spike; nothing when no time
// passed or the result is not a rate. A device that restarted (uptime went
// back) counted from zero: its rate is the new value over its uptime. A smaller
// value without a restart is one wrap of the 32-bit counter.
std::optional<double> counterRate(const CounterReading& before, const CounterReading& after);

} // namespace ovtrends
