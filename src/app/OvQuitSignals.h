// SIGTERM, SIGINT and SIGHUP (a session ending, `kill`, Ctrl+C in the station's
// terminal) close the module's windows as their close boxes do, so requests stop,
// the instance lock goes and the module ends with status 0.
#pragma once

class QObject;

namespace ov {

// Installs the handlers once; the notifier that reacts lives as long as `owner`.
void closeWindowsOnQuitSignals(QObject* owner);

} // namespace ov
