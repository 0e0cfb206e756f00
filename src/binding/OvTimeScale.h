// One time scale for the module's own timers (blinking, countdowns, polls), so
// that tests can shrink long waits. SNMP time-outs are not scaled.
#pragma once

namespace ov {

// The process-wide factor, 1 unless set. The environment variable OV_TIME_SCALE
// (a positive decimal number, C locale) gives its first value.
double timeScale();

// Sets the factor; values that are not positive are ignored.
void setTimeScale(double factor);

// A designed interval in milliseconds on the current scale; never below 1 ms
// for a positive interval.
int scaledInterval(int milliseconds);

} // namespace ov
