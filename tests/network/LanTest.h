// The LAN window against apsim: a device on a documentation network (RFC 5737)
// that nobody answers (apsim's --lan), with its dynamic pool at .100 (20
// addresses) and one static pool entry at .50; what reached the device is read from apsim's
// request log, the boxes from the dialog service, the wait windows from the spy.
#pragma once

#include "OvDeviceContext.h"
#include "TFM_LAN.h"
#include "waittest/OvWaitSpy.h"
#include "widgettest/OvDeviceTest.h"
#include "widgettest/OvFakeMainWindow.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace lantest {

using ovtest::FakeMainWindow;
using ovtest::WaitShown;
using ovtest::WaitSpy;

// An IPv4 address of this machine that is not loopback, and whether it
// answers the probe; nothing when there is none or no ICMP socket opens
// (`why` then says so).
std::optional<QString> answeringOwnAddress(std::string* why);

class LanTest : public ovtest::DeviceTest {
protected:
    LanTest();
    std::vector<std::string> agentOptions() const override;
    // The device's start values: on `net` + ".1", static or on DHCP.
    std::vector<std::string> lanOptions(bool dhcp) const;

    // An address on the device's network: `net` followed by the host number.
    QString at(int host) const { return net + QString::number(host); }
    std::string atText(int host) const { return at(host).toStdString(); }

    // Opens the window, shows it and waits for the dynamic pool's answer.
    std::unique_ptr<TFM_LAN> open();
    // Replaces the box's text as a user would: select all, type.
    static void retype(QLineEdit* edit, const QString& text);
    // Picks the item of the mode box with the keyboard (activated, as a user).
    static void pickMode(TFM_LAN& window, int item);

    std::vector<std::vector<std::string>> sets() const { return ovtest::setsSent(*agent); }
    // The message boxes shown, each "title|text".
    std::vector<QString> messages() const;
    // GET-NEXTs of the static pool table so far.
    int staticPoolWalkSteps() const;

    QString net; // "198.51.100." or another documentation network off this machine's
    FakeMainWindow main;
    WaitSpy waits;
};

// "OID=type:value" as setsSent writes a binding.
std::string binding(const std::string& oid, const std::string& typedValue);

inline const std::string kRoot = "1.3.6.1.4.1.48213.10.37.14";
inline const std::string kGetIPFrom = kRoot + ".1.2.1.0";
inline const std::string kIPAddress = kRoot + ".1.2.2.0";
inline const std::string kSubnetMask = kRoot + ".1.2.3.0";
inline const std::string kDefaultGateway = kRoot + ".1.2.4.0";
inline const std::string kSysRestart = kRoot + ".3.2.1.0"; // also the wait window's Restart
inline const std::string kStaticPoolIP = kRoot + ".2.7.3.1.2";

} // namespace lantest
