#include "OvTrendHistory.h"

#include <QDateTime>

#include <cstdio>

namespace ovtrends {

namespace {
const SeriesInfo kSeriesInfo[SeriesCount] = {
    {"802.11a transmitted", "frames/s"},
    {"802.11a received", "frames/s"},
    {"802.11a errors", "frames/s"},
    {"802.11a retries", "frames/s"},
    {"802.11a clients", "clients"},
    {"802.11g transmitted", "frames/s"},
    {"802.11g received", "frames/s"},
    {"802.11g errors", "frames/s"},
    {"802.11g retries", "frames/s"},
    {"802.11g clients", "clients"},
    {"Temperature", "°C"},
};
} // namespace

const SeriesInfo& seriesInfo(int series) {
    return kSeriesInfo[series];
}

History::History(std::size_t capacity) : ring_(capacity > 0 ? capacity : 1) {}

void History::append(const Sample& sample) {
    if (count_ < ring_.size()) {
        ring_[(first_ + count_++) % ring_.size()] = sample;
        return;
    }
    ring_[first_] = sample;
    first_ = (first_ + 1) % ring_.size();
}

const Sample& History::at(std::size_t i) const {
    return ring_[(first_ + i) % ring_.size()];
}

std::string csvText(const History& history) {
    std::string text = "Time (ISO 8601)";
    for (const SeriesInfo& info : kSeriesInfo)
        text += std::string(",") + info.name + " (" + info.unit + ")";
    text += '\n';
    for (std::size_t i = 0; i < history.size(); ++i) {
        const Sample& sample = history.at(i);
        // The local time with its own offset, right on both sides of a DST change.
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(sample.msecsSinceEpoch);
        text += local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate).toStdString();
        for (int s = 0; s < SeriesCount; ++s) {
            text += ',';
            if (sample.has(s)) {
                char number[32];
                std::snprintf(number, sizeof number, "%.3f", sample.values[s]);
                text += number;
            }
        }
        text += '\n';
    }
    return text;
}

} // namespace ovtrends
