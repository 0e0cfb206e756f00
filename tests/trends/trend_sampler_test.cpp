// The sampler against the simulated access point: rates from its growing
// counters across a wrap, its temperature, gaps where it does not answer, and
// no read beside one that is still out.
#include "ApsimFixture.h"
#include "OvTrendSampler.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Ten milliseconds a second, so that a 10 s interval passes in 100 ms.
constexpr int kFastSecondMs = 10;

void pointAt(const ovtest::Apsim& device, int timeoutMs) {
    snmptest::setUpEngine();
    OvSNMPDevice.agentAddress = device.address();
    OvSNMPDevice.agentPort = device.port();
    OvSNMPSecurity.version = 1;
    OvSNMPSecurity.securityModel = 2;
    OvSNMPSecurity.readCommunity = "mulvek";
    OvSNMPDefaultTimeout = timeoutMs / 10;
}

TEST(TrendSampler, SamplesRatesAndTemperatureWithGapsAndNoOverlap) {
    const struct {
        const char* what;
        std::vector<std::string> agent;
        bool answers;
        bool skips; // samples come due while a read is out
    } cases[] = {
        {"a device whose transmitted frames wrap",
         {"--set", "E.4.3.1.1.7.1=4294967290"},
         true,
         false},
        {"a device slower than the interval", {"--delay-ms", "250"}, true, true},
        {"a silent device", {"--drop-percent", "100"}, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ovtest::Apsim device(c.agent);
        ASSERT_TRUE(device.isRunning()) << device.error();
        pointAt(device, 300);
        OvTrendSampler sampler;
        sampler.setTiming(kFastSecondMs, [] { return QDateTime::currentMSecsSinceEpoch(); });
        sampler.start();
        ASSERT_TRUE(snmptest::waitFor([&] { return sampler.history().size() >= 4; }, 15000));
        const ovtrends::Sample& last = *sampler.history().newest();
        EXPECT_EQ(last.has(ovtrends::Temperature), c.answers);
        if (c.answers) {
            EXPECT_EQ(last.values[ovtrends::Temperature], 42.0f);
            for (std::size_t i = 1; i < sampler.history().size(); ++i) {
                const float rate = sampler.history().at(i).values[ovtrends::TransmittedA];
                EXPECT_TRUE(rate >= 0 && rate < ovtrends::kMaxRatePerSecond) << i << ": " << rate;
            }
        }
        EXPECT_FALSE(last.has(ovtrends::ClientsA)) << "clients only as their window reads them";
        EXPECT_EQ(sampler.skipped() > 0, c.skips) << sampler.skipped();
        const auto reads = [&] {
            std::size_t n = 0;
            for (const auto& r : device.requests())
                n += r.operation == "GET" ? 1 : 0;
            return n;
        }();
        if (c.answers) {
            EXPECT_EQ(reads, sampler.history().size() + (sampler.history().size() < reads));
        }
    }
}

} // namespace
