#include "OvGuard.h"

#include "OvCatalog.h"
#include "OvDialogs.h"
#include "OvException.h"
#include "OvQuitRequest.h"
#include "OvSNMPSession.h"
#include "OvUserChange.h"

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

void installGeneralErrorHandler() {
    OvSetGeneralErrorHandler(showGeneralError);
}

} // namespace ov

bool OvApplication::notify(QObject* receiver, QEvent* event) {
    const ov::EventDispatch dispatch(receiver, event);
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ov::showGeneralError(std::current_exception());
        return false;
    }
}
