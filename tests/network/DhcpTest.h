// The DHCP server window and its static pool entry dialog against apsim: the
// device on a LAN of the documentation networks (RFC 5737) that nobody
// answers, the window opened over a stand-in for the main window, and helpers
// that drive the entry dialog from inside its modal loop.
#pragma once

#include "OvDeviceContext.h"
#include "TFM_DHCP.h"
#include "TFM_StaticPoolEntry.h"
#include "widgettest/OvDeviceTest.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TFM_Waiting;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace dhcptest {

class FakeMainWindow : public OvDeviceContext {
public:
    OvDeviceFacts deviceFacts() const override { return {}; }
    QString statusText() const override { return kOvReadyText; }
    QString agentAddressText() const override { return agentAddress; }
    QWidget* ownerWindow() const override { return nullptr; }
    QString agentAddress = QStringLiteral("127.0.0.1");
};

// "198.51.100" or another /24 of RFC 5737 that this machine is not on.
std::string quietNetwork();
// An address of that network: ip(50) is "198.51.100.50".
std::string ip(int host);
QString qip(int host);

// "E.2.7.3.1.2.N=a:..." style bindings as setsSent writes them.
std::string binding(const std::string& oid, const std::string& typedValue);

class DhcpTest : public ovtest::DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override;
    // The LAN option and apsim's quick restart, then `extra`.
    std::vector<std::string> withLan(const std::vector<std::string>& extra) const;

    // Opens the window (shown, not modal) and waits until its walks have ended.
    void open();
    // Starts apsim again with these options besides the LAN, then opens.
    void openWith(const std::vector<std::string>& extra);
    bool waitUntilIdle(int milliseconds = 10000);

    // Clicks the button; once the entry dialog is up, runs the script in it,
    // then closes the dialog if the script left it open.
    void withEntry(QPushButton* button, const std::function<void(TFM_StaticPoolEntry&)>& script);
    // Runs `look` once, in the first restart wait window that shows from now on.
    void onWaiting(const std::function<void(TFM_Waiting&)>& look);
    // Replaces the box's text as a user would: all selected, the new text typed.
    static void retype(QLineEdit* edit, const QString& text);
    // Picks the item as a user would, through the combo box's popup list.
    static void pick(QComboBox* comboBox, int index);

    std::vector<std::vector<std::string>> sets() const { return ovtest::setsSent(*agent); }
    // The request log's operations from `from` on, "SET", "GETNEXT E.2.7.3.1.2" ...
    std::vector<std::string> operations(std::size_t from = 0) const;
    // "title|text" of every message box, in order.
    std::vector<QString> messages() const;
    std::string stateText(const std::string& oid) const;
    // The SETs sent since the window opened (its lease triggers left out).
    std::vector<std::vector<std::string>> setsSinceOpen() const;

    FakeMainWindow main;
    std::unique_ptr<TFM_DHCP> window;
    std::size_t setsAtOpen = 0;
};

// OIDs of the tables the window works on, with their instance.
inline std::string poolColumn(int column, int row) {
    return "1.3.6.1.4.1.48213.10.37.14.2.7.3.1." + std::to_string(column) + "." +
           std::to_string(row);
}
inline const std::string kSwitch = "1.3.6.1.4.1.48213.10.37.14.2.7.1.0";
inline const std::string kDynamicGet = "1.3.6.1.4.1.48213.10.37.14.2.7.4.3.1.0";
inline const std::string kStaticGet = "1.3.6.1.4.1.48213.10.37.14.2.7.4.3.2.0";
inline const std::string kDynamicPool = "1.3.6.1.4.1.48213.10.37.14.2.7.2.";
inline const std::string kRestart = "1.3.6.1.4.1.48213.10.37.14.3.2.1.0";

} // namespace dhcptest
