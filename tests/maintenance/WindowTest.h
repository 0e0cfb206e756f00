// The fixture of tests of windows whose changes end in the restart wait
// window: a device that restarts at once, a main window that reads "Ready. ",
// and a spy on every wait window shown.
#pragma once

#include "widgettest/OvDeviceTest.h"

#include <QObject>
#include <QString>

#include <string>
#include <vector>

namespace ovtest {

// Records every restart wait window shown: what its opener set, and the tick
// at which it sent the restart command.
class WaitingSpy : public QObject {
public:
    struct Shown {
        int countdown = 0;
        int restartTick = 0;
        bool restartCommand = false;
        int restartSentAtTick = 0; // 0: not sent
    };

    WaitingSpy();
    ~WaitingSpy() override;
    std::vector<Shown> shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class WindowTest : public DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override;
    // A fresh agent with the default options and these.
    void restartWith(const std::vector<std::string>& options);

    std::vector<std::vector<std::string>> sets() const { return setsSent(*agent); }
    std::vector<std::vector<std::string>> gets() const { return getsSent(*agent); }
    std::vector<QString> messages() const { return messageLines(dialogs); }
    std::string state(const std::string& oid) const { return stateText(*agent, oid); }

    ReadyDevice main;
    WaitingSpy waits;
};

// "E.x.y" with the private root; "OID=type:value" as setsSent writes a binding.
std::string oid(const std::string& shortOid);
std::string binding(const std::string& shortOid, const std::string& typedValue);
inline const char* const kRestart = "E.3.2.1.0";

} // namespace ovtest
