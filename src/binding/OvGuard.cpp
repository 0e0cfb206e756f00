#include "OvGuard.h"

#include "OvCatalog.h"
#include "OvDialogs.h"
#include "OvException.h"
#include "OvQuitRequest.h"
#include "OvSNMPSession.h"
#include "OvUserChange.h"

#include <QEvent>
#include <QTimer>

namespace ov {

QString errorText(std::exception_ptr error) {
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromStdString(e.what());
    } catch (...) {
    }
    return QString::fromStdString(textOfCode(ovcode::UnknownError));
}

void showGeneralError(std::exception_ptr error) {
    errorBox(QApplication::activeWindow(), errorText(error));
}

bool runGuarded(const std::function<void()>& handler) {
    // What a handler does to controls is the module's doing, not the user's.
    const CodeChange byCode;
    try {
        handler();
        return true;
    } catch (...) {
        showGeneralError(std::current_exception());
        return false;
    }
}

namespace {
int assistiveCallDepth = 0;

// The AT-SPI adaptor is the module's only D-Bus object; a call to it comes as a
// queued call from the D-Bus connection's thread.
bool isAssistiveCall(const QObject* receiver, const QEvent* event) {
    return event->type() == QEvent::MetaCall && receiver != nullptr &&
           receiver->inherits("QDBusVirtualObject");
}

struct AssistiveCallScope {
    const bool counts;
    AssistiveCallScope(const QObject* receiver, const QEvent* event)
        : counts(isAssistiveCall(receiver, event)) {
        assistiveCallDepth += counts ? 1 : 0;
    }
    ~AssistiveCallScope() { assistiveCallDepth -= counts ? 1 : 0; }
};
} // namespace

bool inAssistiveCall() {
    return assistiveCallDepth > 0;
}

void afterAssistiveCall(QObject* context, std::function<void()> step) {
    if (!inAssistiveCall()) {
        step();
        return;
    }
    QObject* owner = context != nullptr ? context : QCoreApplication::instance();
    QTimer::singleShot(0, owner, std::move(step));
}

void runUserHandler(QObject* context, std::function<void()> handler) {
    afterAssistiveCall(context, [handler = std::move(handler)] { runGuarded(handler); });
}

void installGeneralErrorHandler() {
    OvSetGeneralErrorHandler(showGeneralError);
}

} // namespace ov

bool OvApplication::notify(QObject* receiver, QEvent* event) {
    const ov::EventDispatch dispatch(receiver, event);
    const ov::AssistiveCallScope assistive(receiver, event);
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ov::showGeneralError(std::current_exception());
        return false;
    }
}
