// A quit request (a quit signal, the session ending) is not a user's close: it
// may come while a handler sits in a nested wait, whose window must not close
// under it. The request is kept and taken at the top of an event loop (the
// innermost modal window's own loop, or the application's, with no handler
// running): windows close one at a time, innermost first, as the user's close
// would close them; a window whose close query refuses is asked again.
#pragma once

class QEvent;
class QObject;

namespace ov {

// Asks for every window to close; the module ends once the last one has.
void requestQuit();

// Whether a quit request waits to be taken.
bool quitRequested();

// Whether the event being handled now was dispatched by the innermost modal
// window's loop or the application's, not by a wait inside a handler.
bool atTopOfEventLoop();

// Counts the events being dispatched, and notes where each modal window's loop
// starts; the application's notify holds one for each event.
class EventDispatch {
public:
    EventDispatch(QObject* receiver, QEvent* event);
    ~EventDispatch();
    EventDispatch(const EventDispatch&) = delete;
    EventDispatch& operator=(const EventDispatch&) = delete;
};

} // namespace ov
