// The administrator, system and miscellaneous windows against apsim, opened
// over a stand-in for the main window whose LED poll reads "Ready. ". What
// reached the device is read from apsim's request log and state, the boxes
// from the dialog service, the wait windows from a spy.
#pragma once

#include "TFM_Waiting.h"
#include "widgettest/OvDeviceTest.h"
#include "widgettest/OvShowSpy.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace toolstest {

// A restart wait window as its opener prepared it.
struct WaitShown {
    QString title, label1, label2, label3;
    int countdown = 0;
    bool restartCommand = false;
    bool timeShown = false; // La_Time and "seconds"
    friend bool operator==(const WaitShown&, const WaitShown&) = default;
};
WaitShown describe(const TFM_Waiting& waiting);
void PrintTo(const WaitShown& shown, std::ostream* os);

// The wait window with its defaults, as a plain change opens it.
WaitShown defaultWait();

class ToolsTest : public ovtest::DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override { return withQuickRestart({}); }
    static std::vector<std::string> withQuickRestart(const std::vector<std::string>& extra);

    // Makes the window, shows it and waits until it is active.
    template <typename Window> std::unique_ptr<Window> open() {
        auto window = std::make_unique<Window>(main, nullptr);
        ovtest::showActive(window.get());
        return window;
    }

    std::vector<std::vector<std::string>> sets() const { return ovtest::setsSent(*agent); }
    std::vector<QString> messages() const { return ovtest::shownMessages(dialogs); }
    std::string stateText(const std::string& oid) const;

    ovtest::StandInMainWindow main;
    std::vector<WaitShown> waits;
    ovtest::ShowSpy<TFM_Waiting> waitSpy{
        [this](TFM_Waiting& waiting) { waits.push_back(describe(waiting)); }};
};

using ovtest::binding; // "OID=type:value" as setsSent writes a binding

inline const std::string kRoot = "1.3.6.1.4.1.48213.10.37.14";
inline const std::string kUserName = kRoot + ".3.1.1.0";
inline const std::string kPassword = kRoot + ".3.1.2.0";
inline const std::string kRestart = kRoot + ".3.2.1.0";
inline const std::string kFactoryDefault = kRoot + ".3.2.2.0";
inline const std::string kTelnet = kRoot + ".3.4.1.0";
inline const std::string kTimeout = kRoot + ".3.4.2.0";
inline const std::string kSnmp = kRoot + ".3.4.4.0";

} // namespace toolstest
