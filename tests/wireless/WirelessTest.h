// The wireless window against apsim: what reached the device is read from
// apsim's request log and state, the boxes from the dialog service, the
// restart wait windows from a spy.
#pragma once

#include "TFM_Wirless.h"
#include "waittest/OvWaitSpy.h"
#include "widgettest/OvDeviceTest.h"

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;

namespace wirelesstest {

class WirelessTest : public ovtest::DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override;
    // The default options with these added.
    void restartWith(const std::vector<std::string>& options);

    // Opens the window, shows it and waits for the auto scan answers.
    std::unique_ptr<TFM_Wirless> open();

    // A control of the window by its design name.
    template <typename T> static T* control(TFM_Wirless& window, const char* name) {
        return ovtest::find<T>(&window, QString::fromLatin1(name));
    }
    // Picks an item with the keyboard, as a user does.
    static void pick(QComboBox* comboBox, const QString& item);
    // Replaces the box's text as a user would: select all, type.
    static void retype(QLineEdit* edit, const QString& text);
    // Shows the band's page by clicking its tab.
    static void showPage(TFM_Wirless& window, int band);

    std::vector<std::vector<std::string>> gets() const;
    std::vector<std::vector<std::string>> sets() const { return ovtest::setsSent(*agent); }
    // The message boxes shown, each "title|text".
    std::vector<QString> messages() const;
    // The value the device holds ("E." OIDs allowed).
    std::string state(const std::string& oid) const;
    // Another manager's SET (snmpset with the write community); answers its output.
    std::string setByOthers(const std::string& oid, const char* type, const std::string& value);

    ovtest::StandInMainWindow main;
    ovtest::WaitSpy waits;
};

using ovtest::binding;   // "OID=type:value" as setsSent writes a binding
using ovtest::expandOid; // "E.x.y" with the private root
using ovtest::oidsOf;

// The SETs of an apply as the device receives them, with the values apsim starts with.
extern const std::string kRestartSet;
std::vector<std::string> ssidSet(const std::string& ssidA = "ORW3300-A",
                                 const std::string& ssidG = "ORW3300-G");
std::vector<std::string> apModeSet(int band, int mode);
std::vector<std::string> autoScanSet(int band);
// Open System with encryption off: the authentication and the encryption.
std::vector<std::string> openSystemSet(int band);
// The VLAN, then per band the additional SSIDs' states and authentications.
std::vector<std::string> guestSet(const std::vector<int>& values = {0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1,
                                                                    1, 1});

} // namespace wirelesstest
