// The device over time: one sample per interval, each a value per series or a
// gap, kept in a ring of fixed size so that a module left running for days
// holds a bounded history; written out as CSV with each column's unit.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ovtrends {

enum Series : int {
    TransmittedA,
    ReceivedA,
    ErrorsA,
    RetriesA,
    ClientsA,
    TransmittedG,
    ReceivedG,
    ErrorsG,
    RetriesG,
    ClientsG,
    Temperature,
    SeriesCount
};

struct SeriesInfo {
    const char* name; // CSV column and chart legend
    const char* unit;
};
const SeriesInfo& seriesInfo(int series);
// The first series of a band's five (0: 802.11a, 1: 802.11g).
inline int bandSeries(int band, int offset) {
    return (band == 0 ? TransmittedA : TransmittedG) + offset;
}

inline constexpr float kGap = NAN;

struct Sample {
    std::int64_t msecsSinceEpoch = 0;
    std::array<float, SeriesCount> values{};

    Sample() { values.fill(kGap); }
    bool has(int series) const { return !std::isnan(values[series]); }
};

// A day at the default interval of 10 s, and a margin.
inline constexpr std::size_t kHistoryCapacity = 10000;

class History {
public:
    explicit History(std::size_t capacity = kHistoryCapacity);

    // Adds the newest sample; the oldest goes once the ring is full.
    void append(const Sample& sample);
    std::size_t size() const { return count_; }
    std::size_t capacity() const { return ring_.size(); }
    // The i-th oldest sample kept.
    const Sample& at(std::size_t i) const;
    const Sample* newest() const { return count_ == 0 ? nullptr : &at(count_ - 1); }

private:
    std::vector<Sample> ring_;
    std::size_t first_ = 0, count_ = 0;
};

// One row per sample, oldest first, under a header naming each column and its
// unit; the time in ISO 8601 with the local offset; a gap is an empty field.
std::string csvText(const History& history);

} // namespace ovtrends
