// Errors never cross Qt's event loop: every handler runs through runGuarded,
// which hands an escaping error to the general handler (its text in a box
// captioned with the executable name), and the module goes on.
#pragma once

#include <QApplication>
#include <QObject>
#include <QString>

#include <exception>
#include <functional>
#include <type_traits>

namespace ov {

// The text an error shows: an OvException's or std::exception's text, else the
// catalog's unknown error text.
QString errorText(std::exception_ptr error);

// The general handler: shows the error's text in a message box captioned with
// the executable name, one OK button.
void showGeneralError(std::exception_ptr error);

// Runs the handler; returns false when an error escaped it (already shown).
// Controls the handler sets are set by code (ov::CodeChange): they run no
// handler of a user's change.
bool runGuarded(const std::function<void()>& handler);

// An assistive technology's call (AT-SPI, over D-Bus) reaches the module as a
// queued call to Qt's D-Bus object, and its caller waits for the reply until
// that call returns. While one is being handled, the handlers it sets off wait
// for the next turn of the event loop, so that a box they open never holds the
// caller; they run in the order they were set off, as they would for a click.
bool inAssistiveCall();

// Runs the step now, or at the next turn of the event loop when an assistive
// call set it off (dropped if the context is gone by then).
void afterAssistiveCall(QObject* context, std::function<void()> step);

// Runs a handler of the user's doing through runGuarded, after the assistive
// call that set it off, if any.
void runUserHandler(QObject* context, std::function<void()> handler);

// Connects a handler through runUserHandler. The handler takes the signal's
// arguments or none.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection onSignal(Sender* sender, Signal signal, QObject* context, Handler handler) {
    return QObject::connect(
        sender, signal, context, [handler = std::move(handler), context](auto&&... args) {
            runUserHandler(context, [handler, ... args = std::decay_t<decltype(args)>(args)] {
                if constexpr (std::is_invocable_v<Handler, decltype(args)...>)
                    handler(args...);
                else
                    handler();
            });
        });
}

// Routes the SNMP layer's general error hook (errors escaping completions run
// by the event pump) to showGeneralError. The application calls it at start-up.
void installGeneralErrorHandler();

} // namespace ov

// The last resort: an error that a handler let escape despite runGuarded is
// shown by the general handler instead of ending the module.
class OvApplication : public QApplication {
public:
    OvApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};
