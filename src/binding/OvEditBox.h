// What the module's edit box has and QLineEdit lacks: a change handler and an
// exit handler that a constraint can take over and still call, a tag, and a
// maximum length that limits typing only.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QLineEdit;
class QWidget;

// Attached to one edit box (its child). "Exit" is the focus moving to another
// control of the same window by Tab, Backtab, a mouse click or code; not the
// window losing activation, a popup, or a message box. When the exit handling
// gives the focus back to the box, the control that took it does not act on
// the click that took it.
class OvEditHooks : public QObject {
public:
    using Handler = std::function<void()>;

    static OvEditHooks* of(QLineEdit* edit);
    static OvEditHooks* find(const QLineEdit* edit);

    QLineEdit* edit() const { return edit_; }

    // The window's own handlers; they run on every text change and every exit
    // unless a constraint has taken over, which then calls them itself.
    void setChangeHandler(Handler handler) { windowChange_ = std::move(handler); }
    void setExitHandler(Handler handler) { windowExit_ = std::move(handler); }
    bool hasChangeHandler() const { return bool(windowChange_); }
    bool hasExitHandler() const { return bool(windowExit_); }
    void runChangeHandler();
    void runExitHandler();

    // A constraint's handlers, run in place of the window's.
    void takeOver(Handler change, Handler exit);

    // The control that took the focus in the exit being handled, if any.
    QWidget* focusTaker() const { return taker_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit OvEditHooks(QLineEdit* edit);
    void changed();
    void leave(QWidget* taker);
    void exited(QWidget* taker);

    QLineEdit* edit_;
    Handler windowChange_, windowExit_, constraintChange_, constraintExit_;
    QPointer<QWidget> taker_;
    bool inExit_ = false;
    bool hadFocus_ = false;
};

namespace ov {

// The window's change and exit handlers of an edit box (either may be empty).
void setEditHandlers(QLineEdit* edit, std::function<void()> change, std::function<void()> exit);

// The box's tag (0 until set); a window's exit handler sets -1 to have the last
// good text put back.
int editTag(const QLineEdit* edit);
void setEditTag(QLineEdit* edit, int tag);

// Limits what the user can type to a number of octets (UTF-8); 0: no limit.
// Text set by code is never cut, and a longer text can still be shortened.
// Use this, never QLineEdit::setMaxLength, which cuts.
void setTypingLimit(QLineEdit* edit, int octets);
int typingLimit(const QLineEdit* edit);

} // namespace ov
