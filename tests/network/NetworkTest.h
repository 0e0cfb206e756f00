// What the tests of the network windows share: the device on a documentation
// network (RFC 5737) that nobody answers, a stand-in for the main window, a
// spy on the restart wait windows, the fixture's ways to type and to read what
// was shown and sent, an address of this machine that answers the probe, and
// the controls as a screen reader names and presses them.
#pragma once

#include "waittest/OvWaitSpy.h"
#include "widgettest/OvDeviceTest.h"
#include "widgettest/OvShowSpy.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QWidget;

namespace nettest {

// The main window as the network windows see it: a device that is ready, at
// the address the module was started for.
using FakeMainWindow = ovtest::StandInMainWindow;
using ovtest::WaitShown;
using ovtest::WaitSpy;

// "198.51.100", or another /24 of RFC 5737 when this machine is on that one.
std::string quietNetwork();
// Another of them, off the device's network.
std::string otherQuietNetwork();

using ovtest::binding; // "OID=type:value" as setsSent writes a binding

inline const std::string kRoot = "1.3.6.1.4.1.48213.10.37.14";
inline const std::string kSysRestart = kRoot + ".3.2.1.0"; // also the wait window's Restart

class NetworkWindowTest : public ovtest::DeviceTest {
protected:
    // Replaces the box's text as a user would: all selected, the new text typed.
    static void retype(QLineEdit* edit, const QString& text);
    std::vector<std::vector<std::string>> sets() const { return ovtest::setsSent(*agent); }

    FakeMainWindow main;
    WaitSpy waits;
};

// An IPv4 address of this machine that is not loopback, and whether it
// answers the probe; nothing when there is none or no ICMP socket opens
// (`why` then says so).
std::optional<QString> answeringOwnAddress(std::string* why);

// The name a screen reader gives the control: its label's, or its own.
QString spokenName(QWidget* control);

} // namespace nettest
