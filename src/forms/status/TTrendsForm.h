// The trends window ("Status \ Trends"): charts of the device over time from
// the module's sampler, which goes on sampling while the window is closed.
// Time runs along each chart's x axis; a gap in a line is a sample the device
// did not answer. Drag across a chart to zoom to a span; "Whole history" (or a
// right click) shows all of it again. File > Export writes the samples as CSV
// and the charts as PNG.
#pragma once

#include "OvDialog.h"

#include <QPointF>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace ovtrends {
struct Sample;
}

class OvStatusBar;
class OvTrendSampler;
class QAction;
class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QXYSeries;
class QPushButton;
class QSpinBox;
class QValueAxis;
class QWidget;

class TTrendsForm : public OvDialog {
    Q_OBJECT
public:
    static constexpr int kChartCount = 4;

    TTrendsForm(OvTrendSampler& sampler, QWidget* owner);
    ~TTrendsForm() override;

    // What each chart shows: its title, its y axis' unit and its series.
    struct ChartPlan {
        const char* name;
        const char* title;
        const char* unit;
        std::vector<int> series;
    };
    static const std::array<ChartPlan, kChartCount>& plans();

    // The text a screen reader gives for a chart: its last values.
    QString summaryOf(int chart) const;
    // Writes the samples to the CSV file and the charts beside it as PNG
    // (same name, ".png"); false after telling the user why not.
    bool exportTo(const QString& csvPath);

    QAction* ExportItem;
    QSpinBox* SE_Interval;
    QPushButton* Bt_WholeHistory;
    QWidget* Charts;
    std::array<QChartView*, kChartCount> ChartViews{};
    OvStatusBar* StatusBar;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // One series of a chart: its runs between gaps, each a line of its own,
    // and the values with a gap on both sides as points of one series (also
    // its legend entry), so that a value that comes and goes (clients, a
    // device that answers one read in two) costs no series per sample.
    struct Line {
        int series = 0;
        QScatterSeries* singles = nullptr;
        std::deque<QLineSeries*> runs;
        int runLength = 0; // values drawn since the last gap
        QPointF last;
    };
    void buildControls();
    void refresh();
    void drawSample(const ovtrends::Sample& sample);
    void dropBefore(std::int64_t msecs);
    void fitAxes(int chart);
    QLineSeries* newRun(int chart, std::size_t line);
    void attach(int chart, std::size_t line, QXYSeries* series);
    void clearLines();
    void ExportClick();

    OvTrendSampler& sampler_;
    std::array<QDateTimeAxis*, kChartCount> timeAxes_{};
    std::array<QValueAxis*, kChartCount> valueAxes_{};
    std::array<double, kChartCount> tops_{}; // the largest value each chart shows
    std::array<std::vector<Line>, kChartCount> lines_;
    std::uint64_t drawn_ = 0; // samples drawn so far, as History::appended() counts
    bool zoomed_ = false;
    bool filling_ = false;
};
