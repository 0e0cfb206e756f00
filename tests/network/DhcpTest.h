// The DHCP server window and its static pool entry dialog against apsim: the
// device on a LAN of the documentation networks (RFC 5737) that nobody
// answers, the window opened over a stand-in for the main window, and helpers
// that drive the entry dialog from inside its modal loop.
#pragma once

#include "NetworkTest.h"
#include "TFM_DHCP.h"
#include "TFM_StaticPoolEntry.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class TFM_Waiting;
class QComboBox;

namespace dhcptest {

using nettest::binding;
using nettest::FakeMainWindow;
using nettest::otherQuietNetwork;
using nettest::quietNetwork;

// An address of the device's network: ip(50) is "198.51.100.50".
std::string ip(int host);
QString qip(int host);

// A static pool entry as the dialog's boxes show it, in their order.
struct PoolEntry {
    QString ip, mac, mask, gateway, wins, dns, domain;
    int status = 0; // 0 "OFF", 1 "ON"
    friend bool operator==(const PoolEntry&, const PoolEntry&) = default;
};
void PrintTo(const PoolEntry& entry, std::ostream* os);
// What a free slot holds.
PoolEntry freeSlot();
// The SET of an entry into the slot, as setsSent writes it. The WINS box goes
// to column 6 and the DNS box to column 7, as the device's columns lie.
std::vector<std::string> slotSet(int slot, const PoolEntry& entry);

// One step of a window's checks in order: what is typed before the apply,
// the one box it shows ("title|text"), the box it empties and the box that
// has the focus afterwards.
template <typename Window> struct CheckStep {
    using Box = QLineEdit* Window::*;
    const char* what;
    std::vector<std::pair<Box, QString>> typed;
    QString shown;
    Box emptied = nullptr;
    Box focused = nullptr;
};

class DhcpTest : public nettest::NetworkWindowTest {
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
    // Shows the static pool tab and clicks the row of the used entries.
    void selectUsedEntry(int row);
    // Changes a variable on the device as another manager would (snmpset).
    void changeOnDevice(const std::string& oid, const std::string& type, const std::string& value);
    // Types each step and applies: each apply is refused with the step's box
    // (OK only), empties and focuses as the step says, leaves the window open
    // and sends nothing.
    template <typename Window, std::size_t N>
    void refusedInOrder(Window& window, QPushButton* apply, const CheckStep<Window> (&steps)[N]) {
        for (const CheckStep<Window>& step : steps) {
            SCOPED_TRACE(step.what);
            for (const auto& [box, text] : step.typed)
                retype(window.*box, text);
            dialogs.clear();
            ovtest::click(apply);
            ASSERT_EQ(messages(), std::vector<QString>{step.shown});
            EXPECT_EQ(dialogs.messages()[0].buttons, QMessageBox::Ok);
            if (step.emptied != nullptr) {
                EXPECT_TRUE((window.*step.emptied)->text().isEmpty());
            }
            if (step.focused != nullptr) {
                EXPECT_EQ(QApplication::focusWidget(), window.*step.focused);
            }
            ASSERT_TRUE(window.isVisible()) << "a refusal closed the window";
            ASSERT_TRUE(setsSinceOpen().empty()) << "sent despite the refusal";
        }
    }
    // Types the entry into the dialog's boxes and picks its status.
    static void typeEntry(TFM_StaticPoolEntry& entry, const PoolEntry& typed);
    // What the dialog's boxes show.
    static PoolEntry shownEntry(const TFM_StaticPoolEntry& entry);
    // Picks the item as a user would, through the combo box's popup list.
    static void pick(QComboBox* comboBox, int index);

    // The request log's operations from `from` on, "SET", "GETNEXT E.2.7.3.1.2" ...
    std::vector<std::string> operations(std::size_t from = 0) const;
    std::string stateText(const std::string& oid) const;
    // The SETs sent since the window opened (its lease triggers left out).
    std::vector<std::vector<std::string>> setsSinceOpen() const;

    std::unique_ptr<TFM_DHCP> window;
    std::size_t setsAtOpen = 0;
};

// OIDs of the tables the window works on, with their instance.
inline std::string poolColumn(int column, int row) {
    return nettest::kRoot + ".2.7.3.1." + std::to_string(column) + "." + std::to_string(row);
}
inline const std::string kSwitch = nettest::kRoot + ".2.7.1.0";
inline const std::string kDynamicGet = nettest::kRoot + ".2.7.4.3.1.0";
inline const std::string kStaticGet = nettest::kRoot + ".2.7.4.3.2.0";
inline const std::string kDynamicPool = nettest::kRoot + ".2.7.2.";
inline const std::string kRestart = nettest::kSysRestart;

// The SETs of an entry written into a free slot: the switch, then the entry.
inline std::vector<std::vector<std::string>> addedSets(int slot, const PoolEntry& entry) {
    return {{binding(kSwitch, "i:1")}, slotSet(slot, entry)};
}

// The SETs of an entry written over a row: the row cleared, the switch, the entry.
inline std::vector<std::vector<std::string>> rewrittenSets(int slot, const PoolEntry& entry) {
    return {slotSet(slot, freeSlot()), {binding(kSwitch, "i:1")}, slotSet(slot, entry)};
}

} // namespace dhcptest
