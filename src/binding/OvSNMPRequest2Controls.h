// The binding object's base: one request, refresh and apply in the synchronous
// and asynchronous modes, their completions, and the status line of the last
// operation. What happens to controls is left to the derived class.
#pragma once

#include "OvSNMPRequest.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QObject;
class QWidget;

class OvSNMPRequest2Controls {
public:
    // Called when an asynchronous refresh or apply ends.
    using DoneClosure = std::function<void(OvSNMPRequest2Controls*, const OvSNMPError&)>;

    explicit OvSNMPRequest2Controls(QWidget* owner);
    virtual ~OvSNMPRequest2Controls();
    OvSNMPRequest2Controls(const OvSNMPRequest2Controls&) = delete;
    OvSNMPRequest2Controls& operator=(const OvSNMPRequest2Controls&) = delete;

    OvSNMPRequest request;
    DoneClosure OnGetDone;
    DoneClosure OnSetDone;
    std::uint8_t mode = 1; // 1 asynchronous, 0 synchronous

    // Reads the list and shows it. Synchronous: true when every read of the
    // refresh succeeded; asynchronous: the read was started. Errors of the
    // module's own making clear busy and reach the caller.
    bool Refresh();
    // Collects the controls first when asked, then writes every writable
    // variable. Synchronous: true when the set succeeded; asynchronous: true.
    bool Apply(bool reread, bool collect);

    // A QPlainTextEdit (a line is appended), an OvStatusBar (its single text)
    // or a status panel or label (its text); null for none.
    void SetStatusTarget(QObject* target);
    QObject* statusTarget() const { return statusTarget_; }
    // Writes the status line of the last operation with the message in it.
    void ShowStatus(const QString& message);
    void ShowStatus(const std::string& message);
    // The same with the template of an operation (0 refresh, 1 apply).
    void ShowStatusOf(int operation, const QString& message);

    bool IsBusy() const { return busy_ != 0; }
    QWidget* owner() const { return owner_; }
    int lastOperation() const { return lastOperation_; }
    bool rereadAfterSet() const { return rereadAfterSet_ != 0; }

    // The virtual operations, in the order of the design's table.
    virtual void BeforeGet() {}
    virtual void BeforeSet() {}
    virtual void RowArrived() = 0;
    virtual void Collect() {}
    virtual void AfterGet() {}
    virtual void AfterSet() {}
    virtual void ListViewSelect(int row, bool selected);

protected:
    // The completions of asynchronous reads and writes.
    void GetStep(const OvSNMPError& result);
    void SetDone(const OvSNMPError& result);

    // False once the binding is destroyed. A window may close and delete itself,
    // and its bindings with it, inside any handler the binding calls (the
    // closures, the hooks, a list view's selection handler, or the events that
    // a table row lets through), so whatever runs after such a call holds a copy
    // and looks at it before touching the binding again.
    std::shared_ptr<const bool> lifetime() const { return alive_; }

private:
    bool tableMode() const;
    bool refreshSync();
    void readAsync(bool first);
    void reportStepError(std::exception_ptr error);
    // Busy while a walk is under way, else idle.
    void settleBusy();

    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    QPointer<QWidget> owner_;
    QPointer<QObject> statusTarget_;
    std::uint8_t busy_ = 0;
    std::uint8_t walking_ = 0;   // an asynchronous walk is under way
    std::uint8_t walkAgain_ = 0; // a refresh came during it
    std::int32_t lastOperation_ = 0;
    std::uint8_t rereadAfterSet_ = 1;
};

namespace ov {

// A status template filled in: without a list name the " Request:[VARLIST]"
// part goes; [ERROR] is the message, [TIME] the 12-hour clock "hh:mm:ss AP".
QString statusLine(const std::string& pattern, const std::string& listName, const QString& message,
                   const QString& time);

// The current local time as status lines show it, in the C locale.
QString statusTime();

} // namespace ov
