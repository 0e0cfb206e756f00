// "Status \ Trends" against apsim: charts that a screen reader can read, a gap
// where the device did not answer, and an export of the samples as CSV and of
// the charts as PNG.
#include "StatusTest.h"

#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "OvTrendSampler.h"
#include "TTrendsForm.h"
#include "widgettest/OvAccessibility.h"

#include <QChart>
#include <QChartView>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QTemporaryDir>

#include <memory>

namespace {

using namespace statustest;

class TrendsWindow : public StatusTest {
protected:
    // Ten milliseconds a second: a sample every 100 ms at the default interval.
    std::unique_ptr<OvTrendSampler> fastSampler() {
        OvSNMPDefaultTimeout = 20; // a silent device costs a sample 0.4 s
        auto sampler = std::make_unique<OvTrendSampler>();
        sampler->setTiming(10, [] { return QDateTime::currentMSecsSinceEpoch(); });
        return sampler;
    }
};

TEST_F(TrendsWindow, ShowsReadableChartsWithAGapWhereTheDeviceWasSilent) {
    auto sampler = fastSampler();
    TTrendsForm window(*sampler, nullptr);
    ovtest::showActive(&window);
    ASSERT_TRUE(ovtest::waitFor([&] { return sampler->history().size() >= 3; }));
    restartAgent({"--drop-percent", "100"}); // silent a while
    OvSNMPDefaultTimeout = 20;
    const std::size_t silentFrom = sampler->history().size();
    ASSERT_TRUE(ovtest::waitFor([&] { return sampler->history().size() >= silentFrom + 2; }));
    restartAgent({});
    ASSERT_TRUE(ovtest::waitFor(
        [&] {
            const auto* last = sampler->history().newest();
            return last->has(ovtrends::TransmittedA);
        },
        10000));

    const struct {
        int chart;
        QString name;
        QString lastValues; // the start of the summary
    } charts[] = {
        {0, "Frames", "802.11a transmitted "},
        {1, "Errors and retries", "802.11a errors 0.0 frames/s"},
        {2, "Clients", "802.11a clients no value, 802.11g clients no value"},
        {3, "Temperature", "Temperature 42.0 °C at "},
    };
    for (const auto& c : charts) {
        SCOPED_TRACE(c.name.toStdString());
        QChartView* view = window.ChartViews[c.chart];
        EXPECT_EQ(ovtest::accessibleName(view), c.name);
        EXPECT_TRUE(ovtest::accessibleDescription(view).startsWith(c.lastValues))
            << ovtest::accessibleDescription(view).toStdString();
    }
    // The silence split the temperature's line in two, one legend entry.
    EXPECT_EQ(window.ChartViews[3]->chart()->series().size(), 2);
    EXPECT_TRUE(window.StatusBar->simpleText().contains(" samples, the last at "));
}

TEST_F(TrendsWindow, ExportsTheSamplesAsCsvAndTheChartsAsPng) {
    auto sampler = fastSampler();
    TTrendsForm window(*sampler, nullptr);
    ovtest::showActive(&window);
    ASSERT_TRUE(ovtest::waitFor([&] { return sampler->history().size() >= 2; }));
    QTemporaryDir folder;
    ASSERT_TRUE(window.exportTo(folder.filePath("site")));
    QFile csv(folder.filePath("site.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    EXPECT_TRUE(lines[0].startsWith("Time (ISO 8601),802.11a transmitted (frames/s),"));
    EXPECT_GE(lines.size(), 3);
    EXPECT_FALSE(QImage(folder.filePath("site.png")).isNull());
    // A folder that cannot be written says so and keeps nothing half-written.
    EXPECT_FALSE(window.exportTo("/proc/no-such-folder/site.csv"));
    EXPECT_EQ(dialogs.messages().size(), 1u);
}

} // namespace
