#include "OvSNMPRequest2Controls.h"

#include "OvCatalog.h"
#include "OvDialogs.h"
#include "OvException.h"
#include "OvGuard.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "OvWidgetText.h"

#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTime>

namespace ov {

QString statusLine(const std::string& pattern, const std::string& listName, const QString& message,
                   const QString& time) {
    std::string text = pattern;
    if (listName.empty()) {
        const std::size_t a = text.find("[ERROR]");
        const std::size_t v = text.find("[VARLIST]");
        // Drops what stands between the two, the list's placeholder included.
        if (a != std::string::npos && v != std::string::npos && v >= a)
            text.erase(std::min(a + 7, text.size()), v - a + 2);
    } else {
        text = fillPlaceholder(text, "[VARLIST]", listName);
    }
    QString line = widgetText(text);
    line.replace(QStringLiteral("[ERROR]"), message);
    line.replace(QStringLiteral("[TIME]"), time);
    return line;
}

QString statusTime() {
    return QLocale::c().toString(QTime::currentTime(), QStringLiteral("hh:mm:ss AP"));
}

} // namespace ov

namespace {

// A window's closure runs from a copy: it may destroy the binding, and with it
// the closure object it is running from.
void callDone(const OvSNMPRequest2Controls::DoneClosure& done, OvSNMPRequest2Controls* sender,
              const OvSNMPError& result) {
    if (!done)
        return;
    const OvSNMPRequest2Controls::DoneClosure call = done;
    const ov::CodeChange byCode;
    call(sender, result);
}

} // namespace

OvSNMPRequest2Controls::OvSNMPRequest2Controls(QWidget* owner) : owner_(owner) {}

// The request's own destructor waits for outstanding answers; they call nothing.
OvSNMPRequest2Controls::~OvSNMPRequest2Controls() {
    *alive_ = false;
}

bool OvSNMPRequest2Controls::tableMode() const {
    return request.varList.mode == MVT_FMV || request.varList.mode == MVT_UMV;
}

bool OvSNMPRequest2Controls::Refresh() {
    // One walk at a time on a request: a second would mix its rows with the
    // first's. The refresh asked for runs once the walk under way has ended.
    // Reads of single values may overlap (a poll that outlasts its period).
    if (mode != 0 && walking_) {
        walkAgain_ = true;
        return true;
    }
    const auto alive = lifetime();
    lastOperation_ = 0;
    BeforeGet();
    if (!*alive)
        return false;
    if (mode == 0)
        return refreshSync();
    busy_ = 1;
    if (!request.active) {
        settleBusy();
        return true;
    }
    walking_ = tableMode() ? 1 : 0;
    try {
        readAsync(true);
    } catch (...) {
        walking_ = 0;
        settleBusy();
        throw;
    }
    return true;
}

void OvSNMPRequest2Controls::settleBusy() {
    busy_ = walking_;
}

bool OvSNMPRequest2Controls::refreshSync() {
    const auto alive = lifetime();
    busy_ = 1;
    try {
        OvSNMPRequest::Result read = request.ReadSync(true);
        bool ok = read.ok;
        if (!tableMode()) {
            // The controls show whatever the read left, also after a failure.
            RowArrived();
        } else {
            while (read.moreRows) {
                RowArrived();
                if (!*alive || !read.ok)
                    break;
                read = request.ReadSync(false);
                ok = ok && read.ok;
            }
        }
        if (*alive)
            AfterGet();
        if (*alive)
            busy_ = 0;
        return ok;
    } catch (...) {
        if (*alive)
            busy_ = 0;
        throw;
    }
}

void OvSNMPRequest2Controls::readAsync(bool first) {
    request.ReadAsync([this](void*, const OvSNMPError& result, OvSNMPVarList&) { GetStep(result); },
                      this, first);
}

void OvSNMPRequest2Controls::GetStep(const OvSNMPError& result) {
    const auto alive = lifetime();
    if (result.code != 0) {
        walking_ = walkAgain_ = 0;
        busy_ = 0;
        lastOperation_ = 0;
        callDone(OnGetDone, this, result);
        return;
    }
    try {
        if (!tableMode()) {
            RowArrived();
        } else if (!result.done) {
            RowArrived();
            if (*alive && request.active) {
                readAsync(false);
                return;
            }
        }
        if (*alive)
            AfterGet();
    } catch (...) {
        if (*alive)
            reportStepError(std::current_exception());
        return;
    }
    if (!*alive)
        return;
    walking_ = 0;
    const bool again = walkAgain_ != 0;
    walkAgain_ = 0;
    busy_ = 0;
    lastOperation_ = 0;
    callDone(OnGetDone, this, result);
    // The refresh asked for meanwhile: every read still reports its own end,
    // so a poll faster than the device's answers cannot starve its window.
    if (!again || !*alive || !request.active)
        return;
    try {
        Refresh();
    } catch (...) {
        if (*alive)
            reportStepError(std::current_exception());
    }
}

// A read that a step ended is still an end of the read: the window hears of it
// with the error, or it would wait for the read for good.
void OvSNMPRequest2Controls::reportStepError(std::exception_ptr error) {
    const auto alive = lifetime();
    walking_ = walkAgain_ = 0;
    busy_ = 0;
    lastOperation_ = 0;
    OvSNMPError ended;
    ended.code = ovcode::UnknownError;
    ended.done = true;
    try {
        std::rethrow_exception(error);
    } catch (const OvException& e) {
        ended.code = e.code();
    } catch (...) {
    }
    ended.message = ov::errorText(error).toStdString();
    if (statusTarget_)
        ShowStatus(ended.message);
    else
        ov::errorBox(owner_, QString::fromStdString(ended.message));
    if (*alive)
        callDone(OnGetDone, this, ended);
}

bool OvSNMPRequest2Controls::Apply(bool reread, bool collect) {
    const auto alive = lifetime();
    lastOperation_ = 1;
    rereadAfterSet_ = reread ? 1 : 0;
    BeforeSet();
    if (!*alive)
        return false;
    if (collect)
        Collect();
    busy_ = 1;
    if (mode != 0) {
        if (!request.active) {
            settleBusy();
            return true;
        }
        try {
            request.WriteAsync(
                [this](void*, const OvSNMPError& result, OvSNMPVarList&) { SetDone(result); }, this,
                false);
        } catch (...) {
            settleBusy();
            throw;
        }
        return true;
    }
    bool ok = false;
    try {
        ok = request.WriteSync(false).ok;
        AfterSet();
        if (!*alive)
            return ok;
        settleBusy();
    } catch (...) {
        if (*alive)
            settleBusy();
        throw;
    }
    if (tableMode() && reread)
        Refresh();
    return ok;
}

// A walk still under way keeps the binding busy.
void OvSNMPRequest2Controls::SetDone(const OvSNMPError& result) {
    const auto alive = lifetime();
    if (result.code != 0) {
        settleBusy();
        lastOperation_ = 1;
        callDone(OnSetDone, this, result);
        return;
    }
    AfterSet();
    if (!*alive)
        return;
    settleBusy();
    lastOperation_ = 1;
    callDone(OnSetDone, this, result);
    if (*alive && tableMode() && rereadAfterSet_)
        Refresh();
}

void OvSNMPRequest2Controls::SetStatusTarget(QObject* target) {
    statusTarget_ = target;
}

void OvSNMPRequest2Controls::ShowStatus(const std::string& message) {
    ShowStatus(ov::widgetText(message));
}

void OvSNMPRequest2Controls::ShowStatus(const QString& message) {
    ShowStatusOf(lastOperation_, message);
}

void OvSNMPRequest2Controls::ShowStatusOf(int operation, const QString& message) {
    if (!statusTarget_)
        return;
    const std::string& pattern = ov::catalogEntry(OvCatalog::Messages, operation == 0 ? 0 : 1);
    const QString line =
        ov::statusLine(pattern, request.varList.displayName, message, ov::statusTime());
    if (auto* memo = qobject_cast<QPlainTextEdit*>(statusTarget_)) {
        memo->appendPlainText(line);
    } else if (auto* bar = qobject_cast<OvStatusBar*>(statusTarget_)) {
        bar->setSimpleText(line);
        bar->setSimplePanel(true);
    } else if (auto* label = qobject_cast<QLabel*>(statusTarget_)) {
        ov::showStatusText(label, line);
    }
}

void OvSNMPRequest2Controls::ListViewSelect(int, bool) {}
