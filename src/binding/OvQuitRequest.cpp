#include "OvQuitRequest.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace ov {

namespace {

// How often a kept quit request looks for the top of the event loop.
constexpr int kQuitRetryMs = 20;

struct ModalLoop {
    QPointer<QWidget> window;
    int dispatchDepth; // events of its loop are dispatched at this depth
};

int dispatchDepth = 0;
std::vector<ModalLoop> modalLoops;
bool quitPending = false;
bool quitTaking = false;
QPointer<QTimer> quitRetry;

void forgetModalLoop(const QWidget* window) {
    modalLoops.erase(std::remove_if(modalLoops.begin(), modalLoops.end(),
                                    [window](const ModalLoop& loop) {
                                        return loop.window == nullptr || loop.window == window;
                                    }),
                     modalLoops.end());
}

bool anyWindowOpen() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](const QWidget* window) { return window->isVisible(); });
}

// One step: the innermost modal window closes, else every other window.
void takeQuit() {
    if (!quitPending || quitTaking || !atTopOfEventLoop())
        return;
    quitTaking = true;
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
    else
        QApplication::closeAllWindows();
    quitTaking = false;
    if (!anyWindowOpen()) {
        quitPending = false;
        if (quitRetry)
            quitRetry->stop();
    }
}

} // namespace

void requestQuit() {
    quitPending = true;
    if (!quitRetry) {
        quitRetry = new QTimer(QCoreApplication::instance());
        quitRetry->setInterval(kQuitRetryMs);
        QObject::connect(quitRetry, &QTimer::timeout, quitRetry, [] { takeQuit(); });
    }
    if (!quitRetry->isActive())
        quitRetry->start();
}

bool quitRequested() {
    return quitPending;
}

bool atTopOfEventLoop() {
    // The caller's own event is one level below the loop that dispatched it.
    const int loopDepth = modalLoops.empty() ? 0 : modalLoops.back().dispatchDepth;
    return dispatchDepth <= loopDepth + 1;
}

EventDispatch::EventDispatch(QObject* receiver, QEvent* event) {
    // A modal window shown from a handler runs its own loop (exec) from there.
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && !event->spontaneous() &&
        receiver->isWidgetType()) {
        auto* window = static_cast<QWidget*>(receiver);
        if (window->isWindow() && window->isModal()) {
            forgetModalLoop(window);
            if (type == QEvent::Show)
                modalLoops.push_back({window, dispatchDepth});
        }
    }
    ++dispatchDepth;
}

EventDispatch::~EventDispatch() {
    --dispatchDepth;
}

} // namespace ov
