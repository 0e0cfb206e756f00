// The fixture of tests of windows whose changes end in the restart wait
// window: a device that restarts at once, a main window that reads "Ready. ",
// a spy on every wait window shown, and what reached the device.
#pragma once

#include "waittest/OvWaitSpy.h"
#include "widgettest/OvDeviceTest.h"

#include <QString>

#include <string>
#include <vector>

namespace ovtest {

class WindowTest : public DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override;
    // A fresh agent with the default options and these.
    void restartWith(const std::vector<std::string>& options);

    std::vector<std::vector<std::string>> sets() const { return setsSent(*agent); }
    std::vector<std::vector<std::string>> gets() const { return getsSent(*agent); }
    std::vector<QString> messages() const { return messageLines(dialogs); }
    std::string state(const std::string& oid) const { return stateText(*agent, oid); }

    StandInMainWindow main;
    WaitSpy waits;
};

inline const char* const kRestart = "E.3.2.1.0";

} // namespace ovtest
