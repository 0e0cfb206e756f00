// The trends window ("Status \ Trends"): charts of the device over time from
// the module's sampler, which goes on sampling while the window is closed.
// Time runs along each chart's x axis; a gap in a line is a sample the device
// did not answer. Drag across a chart to zoom to a span; "Whole history" (or a
// right click) shows all of it again. File > Export writes the samples as CSV
// and the charts as PNG.
#pragma once

#include "OvDialog.h"

#include <QString>

#include <array>
#include <vector>

class OvStatusBar;
class OvTrendSampler;
class QAction;
class QChart;
class QChartView;
class QDateTimeAxis;
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

private:
    void buildControls();
    void refresh();
    void fillChart(int chart);
    void ExportClick();

    OvTrendSampler& sampler_;
    std::array<QDateTimeAxis*, kChartCount> timeAxes_{};
    std::array<QValueAxis*, kChartCount> valueAxes_{};
    bool zoomed_ = false;
    bool filling_ = false;
};
