// SIGTERM, SIGINT and SIGHUP (a session ending, `kill`, Ctrl+C in the station's
// terminal) close the module's windows as their close boxes do, so requests stop,
// the instance lock goes and the module ends with status 0.
#pragma once

class QObject;

namespace ov {

// Installs the handlers; a signal that arrives from now on is kept until the
// event loop can act on it.
void catchQuitSignals();

// Asks for the windows to close (ov::requestQuit) for every signal caught; the
// notifier lives as long as `owner`.
void closeWindowsOnQuitSignals(QObject* owner);

} // namespace ov
