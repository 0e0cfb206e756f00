#include "WindowTest.h"

#include "TFM_Waiting.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace ovtest {

WaitingSpy::WaitingSpy() {
    QApplication::instance()->installEventFilter(this);
}

WaitingSpy::~WaitingSpy() {
    QApplication::instance()->removeEventFilter(this);
}

bool WaitingSpy::eventFilter(QObject* watched, QEvent* event) {
    auto* waiting = qobject_cast<TFM_Waiting*>(watched);
    if (event->type() != QEvent::Show || waiting == nullptr)
        return false;
    const std::size_t index = shown.size();
    shown.push_back({waiting->countdown, waiting->restartTick, waiting->restartCommand, 0});
    // Connected after the window's own handler, so each tick is seen once it has run.
    auto ticks = std::make_shared<int>(0);
    QPointer<TFM_Waiting> window(waiting);
    QObject::connect(waiting->Timer1, &QTimer::timeout, this, [this, index, ticks, window] {
        ++*ticks;
        if (window && !window->restartPending() && shown[index].restartSentAtTick == 0)
            shown[index].restartSentAtTick = *ticks;
    });
    return false;
}

std::vector<std::string> WindowTest::agentOptions() const {
    return {"--restart-seconds", "0"};
}

void WindowTest::restartWith(const std::vector<std::string>& options) {
    std::vector<std::string> all = agentOptions();
    all.insert(all.end(), options.begin(), options.end());
    restartAgent(all);
}

std::string oid(const std::string& shortOid) {
    return expandOid(shortOid);
}

std::string binding(const std::string& shortOid, const std::string& typedValue) {
    return oid(shortOid) + "=" + typedValue;
}

} // namespace ovtest
