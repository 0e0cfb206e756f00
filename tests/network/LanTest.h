// The LAN window against apsim: a device on a documentation network (RFC 5737)
// that nobody answers (apsim's --lan), with its dynamic pool at .100 (20
// addresses) and one static pool entry at .50; what reached the device is read from apsim's
// request log, the boxes from the dialog service, the wait windows from a spy.
#pragma once

#include "NetworkTest.h"
#include "TFM_LAN.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace lantest {

using nettest::answeringOwnAddress;
using nettest::binding;
using nettest::FakeMainWindow;
using nettest::kRoot;
using nettest::kSysRestart;
using nettest::WaitShown;
using nettest::WaitSpy;

class LanTest : public nettest::NetworkWindowTest {
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
    // Picks the item of the mode box with the keyboard (activated, as a user).
    static void pickMode(TFM_LAN& window, int item);

    // GET-NEXTs of the static pool table so far.
    int staticPoolWalkSteps() const;

    QString net; // "198.51.100." or another documentation network off this machine's
};

inline const std::string kGetIPFrom = kRoot + ".1.2.1.0";
inline const std::string kIPAddress = kRoot + ".1.2.2.0";
inline const std::string kSubnetMask = kRoot + ".1.2.3.0";
inline const std::string kDefaultGateway = kRoot + ".1.2.4.0";
inline const std::string kStaticPoolIP = kRoot + ".2.7.3.1.2";

} // namespace lantest
