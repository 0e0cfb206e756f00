#include "TTrendsForm.h"

#include "OvDialogs.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvStatusBar.h"
#include "OvTrendSampler.h"

#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenuBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScatterSeries>
#include <QSpinBox>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

using namespace ovtrends;

// One colour per line of a chart, the same in every refresh.
const QColor kTrendColours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e)};

QString trendTimeText(qint64 msecs) {
    return QDateTime::fromMSecsSinceEpoch(msecs).toString(QStringLiteral("HH:mm:ss"));
}

QString valueText(float value, const char* unit) {
    return QStringLiteral("%1 %2").arg(double(value), 0, 'f', 1).arg(QString::fromUtf8(unit));
}

} // namespace

const std::array<TTrendsForm::ChartPlan, TTrendsForm::kChartCount>& TTrendsForm::plans() {
    static const std::array<ChartPlan, kChartCount> chartPlans = {{
        {"CV_Frames", "Frames", "frames/s", {TransmittedA, ReceivedA, TransmittedG, ReceivedG}},
        {"CV_Errors", "Errors and retries", "frames/s", {ErrorsA, RetriesA, ErrorsG, RetriesG}},
        {"CV_Clients", "Clients", "clients", {ClientsA, ClientsG}},
        {"CV_Temperature", "Temperature", "°C", {Temperature}},
    }};
    return chartPlans;
}

TTrendsForm::TTrendsForm(OvTrendSampler& sampler, QWidget* owner)
    : OvDialog(owner), sampler_(sampler) {
    buildControls();
    ov::onSignal(&sampler_, &OvTrendSampler::sampled, this, [this] { refresh(); });
    sampler_.start();
    refresh();
}

TTrendsForm::~TTrendsForm() = default;

void TTrendsForm::buildControls() {
    // Attaching series sets the axes' ranges: no zoom of the user's.
    filling_ = true;
    ovkit::frameWindow(this, QStringLiteral("Status \\ Trends"),
                       Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    resize(900, 640);
    auto* column = new QVBoxLayout(this);
    auto* menus = new QMenuBar(this);
    QMenu* file = menus->addMenu(QStringLiteral("File"));
    ExportItem = file->addAction(QStringLiteral("Export..."));
    ExportItem->setObjectName(QStringLiteral("ExportItem"));
    ov::onSignal(ExportItem, &QAction::triggered, this, [this] { ExportClick(); });
    column->setMenuBar(menus);

    auto* controls = new QHBoxLayout;
    auto* every = new QLabel(QStringLiteral("Sample every"), this);
    SE_Interval = new QSpinBox(this);
    SE_Interval->setObjectName(QStringLiteral("SE_Interval"));
    SE_Interval->setRange(1, 3600);
    SE_Interval->setSuffix(QStringLiteral(" s"));
    SE_Interval->setValue(sampler_.intervalSeconds());
    every->setBuddy(SE_Interval);
    ov::onSignal(SE_Interval, &QSpinBox::valueChanged, this,
                 [this](int seconds) { sampler_.setIntervalSeconds(seconds); });
    Bt_WholeHistory = new QPushButton(QStringLiteral("Whole history"), this);
    Bt_WholeHistory->setObjectName(QStringLiteral("Bt_WholeHistory"));
    ov::onSignal(Bt_WholeHistory, &QPushButton::clicked, this, [this] {
        zoomed_ = false;
        refresh();
    });
    controls->addWidget(every);
    controls->addWidget(SE_Interval);
    controls->addStretch();
    controls->addWidget(Bt_WholeHistory);
    column->addLayout(controls);

    Charts = new QWidget(this);
    Charts->setObjectName(QStringLiteral("Charts"));
    auto* grid = new QGridLayout(Charts);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int c = 0; c < kChartCount; ++c) {
        auto* chart = new QChart;
        chart->setTitle(QString::fromLatin1(plans()[c].title));
        chart->legend()->setAlignment(Qt::AlignBottom);
        timeAxes_[c] = new QDateTimeAxis(chart);
        timeAxes_[c]->setTitleText(QStringLiteral("Time"));
        timeAxes_[c]->setFormat(QStringLiteral("HH:mm:ss"));
        valueAxes_[c] = new QValueAxis(chart);
        valueAxes_[c]->setTitleText(QString::fromUtf8(plans()[c].unit));
        valueAxes_[c]->setLabelFormat(QStringLiteral("%g"));
        chart->addAxis(timeAxes_[c], Qt::AlignBottom);
        chart->addAxis(valueAxes_[c], Qt::AlignLeft);
        // A span chosen by the user's drag stays while samples come in.
        connect(timeAxes_[c], &QDateTimeAxis::rangeChanged, this, [this] {
            if (!filling_)
                zoomed_ = true;
        });
        auto* view = new QChartView(chart, Charts);
        view->setObjectName(QString::fromLatin1(plans()[c].name));
        view->setAccessibleName(QString::fromLatin1(plans()[c].title));
        view->setRenderHint(QPainter::Antialiasing);
        view->setRubberBand(QChartView::HorizontalRubberBand);
        view->setMinimumSize(360, 220);
        ChartViews[c] = view;
        for (int series : plans()[c].series) {
            lines_[c].push_back(Line{series, new QScatterSeries, {}, 0, {}});
            lines_[c].back().singles->setMarkerSize(6);
            attach(c, lines_[c].size() - 1, lines_[c].back().singles);
        }
        grid->addWidget(view, c / 2, c % 2);
    }
    column->addWidget(Charts, 1);
    StatusBar = new OvStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    column->addWidget(StatusBar);
    filling_ = false;
}

// Only the samples not drawn yet are added, and those the history let go
// removed: redrawing whole lines every sample would cost the idle module more
// than the sampling itself.
void TTrendsForm::refresh() {
    if (!isVisible())
        return; // drawn when shown
    const History& history = sampler_.history();
    const std::uint64_t firstKept = history.appended() - history.size();
    if (drawn_ < firstKept) {
        clearLines();
        drawn_ = firstKept;
    }
    filling_ = true;
    for (; drawn_ < history.appended(); ++drawn_)
        drawSample(history.at(drawn_ - firstKept));
    if (history.size() > 0)
        dropBefore(history.at(0).msecsSinceEpoch);
    for (int c = 0; c < kChartCount; ++c) {
        fitAxes(c);
        ChartViews[c]->setAccessibleDescription(summaryOf(c));
    }
    filling_ = false;
    QString text = QStringLiteral("%1 samples").arg(history.size());
    if (const Sample* last = history.newest())
        text += QStringLiteral(", the last at %1").arg(trendTimeText(last->msecsSinceEpoch));
    if (sampler_.skipped() > 0)
        text += QStringLiteral(", %1 skipped while the device was slow").arg(sampler_.skipped());
    StatusBar->setSimpleText(text);
}

void TTrendsForm::showEvent(QShowEvent* event) {
    OvDialog::showEvent(event);
    refresh();
}

void TTrendsForm::attach(int c, std::size_t k, QXYSeries* series) {
    const SeriesInfo& info = seriesInfo(lines_[c][k].series);
    QChart* chart = ChartViews[c]->chart();
    series->setName(QString::fromUtf8(info.name));
    series->setColor(kTrendColours[k]);
    chart->addSeries(series);
    series->attachAxis(timeAxes_[c]);
    series->attachAxis(valueAxes_[c]);
    connect(series, &QXYSeries::hovered, this, [info](const QPointF& point, bool over) {
        if (over)
            QToolTip::showText(QCursor::pos(), QStringLiteral("%1: %2 at %3")
                                                   .arg(QString::fromUtf8(info.name),
                                                        valueText(float(point.y()), info.unit),
                                                        trendTimeText(qint64(point.x()))));
    });
}

QLineSeries* TTrendsForm::newRun(int c, std::size_t k) {
    auto* run = new QLineSeries;
    attach(c, k, run);
    lines_[c][k].runs.push_back(run);
    return run;
}

void TTrendsForm::drawSample(const Sample& sample) {
    for (int c = 0; c < kChartCount; ++c)
        for (std::size_t k = 0; k < lines_[c].size(); ++k) {
            Line& line = lines_[c][k];
            if (!sample.has(line.series)) {
                line.runLength = 0; // a gap: the next value starts a new run
                continue;
            }
            const QPointF point(double(sample.msecsSinceEpoch), double(sample.values[line.series]));
            if (line.runLength == 0) {
                line.singles->append(point);
            } else if (line.runLength == 1) {
                // A second value in a row: the two become a line.
                line.singles->remove(line.last);
                newRun(c, k)->append({line.last, point});
            } else {
                line.runs.back()->append(point);
            }
            ++line.runLength;
            line.last = point;
        }
}

void TTrendsForm::dropBefore(std::int64_t msecs) {
    const auto goneFrom = [msecs](QXYSeries* series) {
        int gone = 0;
        while (gone < series->count() && series->at(gone).x() < double(msecs))
            ++gone;
        return gone;
    };
    for (int c = 0; c < kChartCount; ++c)
        for (Line& line : lines_[c]) {
            if (const int gone = goneFrom(line.singles))
                line.singles->removePoints(0, gone);
            while (!line.runs.empty()) {
                QLineSeries* run = line.runs.front();
                const int gone = goneFrom(run);
                if (gone < run->count()) {
                    if (gone > 0)
                        run->removePoints(0, gone);
                    break;
                }
                ChartViews[c]->chart()->removeSeries(run);
                delete run;
                line.runs.pop_front();
            }
        }
}

void TTrendsForm::clearLines() {
    for (int c = 0; c < kChartCount; ++c)
        for (Line& line : lines_[c]) {
            line.singles->clear();
            for (QLineSeries* run : line.runs) {
                ChartViews[c]->chart()->removeSeries(run);
                delete run;
            }
            line.runs.clear();
            line.runLength = 0;
        }
}

void TTrendsForm::fitAxes(int c) {
    // One legend entry per series: its points' (the legend makes entries anew
    // as lines come and go).
    for (QLegendMarker* marker : ChartViews[c]->chart()->legend()->markers())
        marker->setVisible(qobject_cast<QScatterSeries*>(marker->series()) != nullptr);
    const History& history = sampler_.history();
    // The time first: points far outside an old span cost the chart dearly.
    if (!zoomed_ && history.size() > 0) {
        const std::int64_t from = history.at(0).msecsSinceEpoch;
        const std::int64_t to =
            std::max<std::int64_t>(history.newest()->msecsSinceEpoch, from + 1000);
        timeAxes_[c]->setRange(QDateTime::fromMSecsSinceEpoch(from),
                               QDateTime::fromMSecsSinceEpoch(to));
    }
    double top = 1;
    for (std::size_t i = 0; i < history.size(); ++i)
        for (const Line& line : lines_[c])
            if (history.at(i).has(line.series))
                top = std::max(top, double(history.at(i).values[line.series]));
    // Each change of a range lays the chart out again: only when it changes.
    if (top != tops_[c]) {
        tops_[c] = top;
        valueAxes_[c]->setRange(0, top * 1.1);
        valueAxes_[c]->applyNiceNumbers();
    }
}

QString TTrendsForm::summaryOf(int c) const {
    const Sample* last = sampler_.history().newest();
    if (last == nullptr)
        return QStringLiteral("No samples yet");
    QStringList parts;
    for (int series : plans()[c].series) {
        const SeriesInfo& info = seriesInfo(series);
        parts << QStringLiteral("%1 %2").arg(QString::fromUtf8(info.name),
                                             last->has(series)
                                                 ? valueText(last->values[series], info.unit)
                                                 : QStringLiteral("no value"));
    }
    return parts.join(QStringLiteral(", ")) +
           QStringLiteral(" at %1").arg(trendTimeText(last->msecsSinceEpoch));
}

void TTrendsForm::ExportClick() {
    const QString path = ov::saveFileDialog(this, QStringLiteral("Export"), QDir::homePath(),
                                            QStringLiteral("Comma-separated values (*.csv)"));
    if (!path.isEmpty())
        exportTo(path);
}

bool TTrendsForm::exportTo(const QString& csvPath) {
    QString csv = csvPath;
    if (QFileInfo(csv).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) != 0)
        csv += QStringLiteral(".csv");
    const QString png = QFileInfo(csv).path() + QLatin1Char('/') +
                        QFileInfo(csv).completeBaseName() + QStringLiteral(".png");
    // Written whole or not at all: an older export of the same name stays
    // until the new one is complete.
    QSaveFile file(csv);
    const std::string text = csvText(sampler_.history());
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        ov::errorBox(this, QStringLiteral("The samples could not be written to %1: %2")
                               .arg(csv, file.errorString()));
        return false;
    }
    QSaveFile picture(png);
    if (!picture.open(QIODevice::WriteOnly) || !Charts->grab().save(&picture, "PNG") ||
        !picture.commit()) {
        ov::errorBox(this, QStringLiteral("The charts could not be written to %1: %2")
                               .arg(png, picture.errorString()));
        return false;
    }
    StatusBar->setSimpleText(QStringLiteral("Exported to %1 and %2").arg(csv, png));
    return true;
}

#include "moc_TTrendsForm.cpp"
