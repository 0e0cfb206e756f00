// Rates from cumulative counters and the bounded history they are kept in.
#include "OvTrendHistory.h"
#include "OvTrendRates.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using ovtrends::counterRate;

TEST(TrendRates, AreRightAcrossAWrapAndARestartAndNeverASpike) {
    const struct {
        const char* what;
        ovtrends::CounterReading before, after; // value, uptime in 1/100 s
        std::optional<double> rate;
    } cases[] = {
        {"steady traffic", {1000, 100000}, {3000, 101000}, 200.0},
        {"no traffic", {1000, 100000}, {1000, 101000}, 0.0},
        {"the 32-bit counter wrapped", {4294967000u, 100000}, {704, 101000}, 100.0},
        {"the device restarted: counted since", {900000, 500000}, {500, 500}, 100.0},
        {"restarted and answered at once", {900000, 500000}, {0, 0}, std::nullopt},
        {"no time passed on the device", {1000, 100000}, {2000, 100000}, std::nullopt},
        {"a jump no radio carries", {0, 100000}, {4000000000u, 100100}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto rate = counterRate(c.before, c.after);
        ASSERT_EQ(rate.has_value(), c.rate.has_value());
        if (rate) {
            EXPECT_DOUBLE_EQ(*rate, *c.rate);
        }
    }
}

TEST(TrendHistory, KeepsTheNewestSamplesUpToItsSizeAndWritesThemWithUnits) {
    ovtrends::History history(3);
    for (int i = 1; i <= 5; ++i) {
        ovtrends::Sample sample;
        sample.msecsSinceEpoch = i * 10000;
        if (i != 4) // the device did not answer the fourth
            sample.values[ovtrends::Temperature] = static_cast<float>(40 + i);
        history.append(sample);
    }
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history.at(0).msecsSinceEpoch, 30000);
    EXPECT_EQ(history.newest()->msecsSinceEpoch, 50000);
    EXPECT_FALSE(history.at(1).has(ovtrends::Temperature));

    const std::string csv = ovtrends::csvText(history);
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "Time (ISO 8601),802.11a transmitted (frames/s),802.11a received (frames/s),"
              "802.11a errors (frames/s),802.11a retries (frames/s),802.11a clients (clients),"
              "802.11g transmitted (frames/s),802.11g received (frames/s),"
              "802.11g errors (frames/s),802.11g retries (frames/s),802.11g clients (clients),"
              "Temperature (°C)");
    EXPECT_NE(csv.find(",,,,,,,,,,43.000\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",,,,,,,,,,\n"), std::string::npos) << "a gap is empty";
    // A day at the default interval fits, in well under the memory allowed.
    EXPECT_GE(ovtrends::kHistoryCapacity, 24u * 3600 / 10);
    EXPECT_LT(ovtrends::kHistoryCapacity * sizeof(ovtrends::Sample), 1u << 20);
}

} // namespace
