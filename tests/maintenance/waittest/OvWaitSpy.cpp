#include "OvWaitSpy.h"

#include "TFM_Waiting.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>

namespace ovtest {

WaitSpy::WaitSpy() {
    QApplication::instance()->installEventFilter(this);
}

WaitSpy::~WaitSpy() {
    QApplication::instance()->removeEventFilter(this);
}

std::vector<int> WaitSpy::countdowns() const {
    std::vector<int> counts;
    for (const WaitShown& w : shown)
        counts.push_back(w.countdown);
    return counts;
}

bool WaitSpy::eventFilter(QObject* watched, QEvent* event) {
    // Runs before the window's own show handling starts its timer.
    if (event->type() == QEvent::Show)
        if (auto* waiting = qobject_cast<TFM_Waiting*>(watched))
            shown.push_back({waiting->Label2->text(), waiting->Label3->text(), waiting->countdown,
                             waiting->restartCommand, waiting->restartTick});
    return false;
}

} // namespace ovtest
