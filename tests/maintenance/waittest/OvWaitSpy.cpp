#include "OvWaitSpy.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace ovtest {

WaitSpy::WaitSpy() : ShowSpy([this](TFM_Waiting& waiting) { look(waiting); }) {}

void WaitSpy::look(TFM_Waiting& waiting) {
    const std::size_t index = shown.size();
    shown.push_back({waiting.Label2->text(), waiting.Label3->text(), waiting.countdown,
                     waiting.restartCommand, waiting.restartTick});
    // Connected after the window's own handler, so each tick is seen once it has run.
    auto ticks = std::make_shared<int>(0);
    QPointer<TFM_Waiting> window(&waiting);
    QObject::connect(waiting.Timer1, &QTimer::timeout, this, [this, index, ticks, window] {
        ++*ticks;
        if (window && index < shown.size() && !window->restartPending() &&
            shown[index].restartSentAtTick == 0)
            shown[index].restartSentAtTick = *ticks;
    });
}

std::vector<int> WaitSpy::countdowns() const {
    std::vector<int> counts;
    for (const WaitShown& w : shown)
        counts.push_back(w.countdown);
    return counts;
}

} // namespace ovtest
