// "Tools \ Misc." against apsim: the console switch and its time-out, the SNMP
// switch, one SET of the three and the restart after it, and what the device
// refuses.
#include "OvStatusBar.h"
#include "TFM_Misc.h"
#include "ToolsTest.h"
#include "widgettest/OvAccessibility.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

using namespace toolstest;

class MiscWindow : public ToolsTest {
protected:
    std::unique_ptr<TFM_Misc> openOn(const std::string& telnet, const std::string& timeout,
                                     const std::string& snmp) {
        restartAgent(withQuickRestart(
            {"--set", "telnet=" + telnet, "--set", "timeout=" + timeout, "--set", "snmp=" + snmp}));
        return open<TFM_Misc>();
    }
    std::vector<std::string> miscSet(int telnet, int timeout, int snmp) const {
        return {binding(kTelnet, "i:" + std::to_string(telnet)),
                binding(kTimeout, "i:" + std::to_string(timeout)),
                binding(kSnmp, "i:" + std::to_string(snmp))};
    }
    // Picks a time-out with the keyboard, as a user would.
    static void pickTimeout(TFM_Misc& w, int item) {
        ASSERT_TRUE(w.CB_Timeout->isEnabled());
        ovtest::focus(w.CB_Timeout);
        const Qt::Key key = item > w.CB_Timeout->currentIndex() ? Qt::Key_Down : Qt::Key_Up;
        while (w.CB_Timeout->currentIndex() != item)
            QTest::keyClick(w.CB_Timeout, key);
    }
};

TEST_F(MiscWindow, OpensWithTheDevicesSettings) {
    const struct {
        const char* what;
        std::string telnet, timeout, snmp;
        bool console;
        QString shownTimeout;
        bool agent;
    } cases[] = {
        {"console on, 5 minutes, SNMP on", "1", "3", "1", true, "5 Mins", true},
        {"console off: its time-out box is off", "0", "6", "1", false, "Never", true},
        {"SNMP off", "1", "1", "0", true, "1 Min", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto w = openOn(c.telnet, c.timeout, c.snmp);
        EXPECT_EQ(w->windowTitle(), "Tools \\ Misc.");
        EXPECT_EQ(w->GB_Telnet->title(), " Console Settings  ");
        EXPECT_EQ(w->CB_Status->isChecked(), c.console);
        EXPECT_EQ(w->CB_Timeout->isEnabled(), c.console);
        EXPECT_EQ(w->CB_Timeout->currentText(), c.shownTimeout);
        EXPECT_EQ(w->CB_Timeout->count(), 6);
        EXPECT_EQ(w->ChekbxSNMP->isChecked(), c.agent);
        EXPECT_TRUE(sets().empty());
    }
}

TEST_F(MiscWindow, ReadsItsControlsByTheirLabels) {
    auto w = openOn("1", "3", "1");
    const std::pair<QWidget*, QString> names[] = {{w->CB_Status, "Status"},
                                                  {w->ChekbxSNMP, "SNMP"},
                                                  {w->Bt_Rfresh, "Refresh"},
                                                  {w->Bt_Apply, "Apply"}};
    for (const auto& [control, name] : names)
        EXPECT_EQ(ovtest::accessibleName(control), name) << control->objectName().toStdString();
    EXPECT_EQ(ovtest::accessibleDescription(w->CB_Status), "Enabled");
    // Qt reads a combo box by the item chosen; its label is the one whose buddy it is.
    EXPECT_EQ(w->Label2->buddy(), w->CB_Timeout);
    EXPECT_EQ(w->Label2->text(), "Timeout");
}

TEST_F(MiscWindow, TheConsoleSwitchTurnsItsTimeoutBoxOnAndOff) {
    auto w = openOn("1", "3", "1");
    ovtest::click(w->CB_Status);
    EXPECT_FALSE(w->CB_Timeout->isEnabled());
    ovtest::doAccessibleAction(w->CB_Status, QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(w->CB_Status->isChecked());
    EXPECT_TRUE(w->CB_Timeout->isEnabled());
    EXPECT_TRUE(sets().empty()) << "a switch sends nothing by itself";
}

struct ApplyCase {
    const char* what;
    std::function<void(TFM_Misc&)> change;
    int telnet, timeout, snmp;
};

TEST_F(MiscWindow, WritesTheThreeInOneSetThenRestarts) {
    const ApplyCase cases[] = {
        {"as read", [](TFM_Misc&) {}, 1, 3, 1},
        {"a new time-out", [](TFM_Misc& w) { pickTimeout(w, 4); }, 1, 5, 1},
        {"console off still writes its time-out",
         [](TFM_Misc& w) {
             pickTimeout(w, 1);
             ovtest::click(w.CB_Status);
         },
         0, 2, 1},
        {"SNMP off, without a question", [](TFM_Misc& w) { ovtest::click(w.ChekbxSNMP); }, 1, 3, 0},
    };
    for (const ApplyCase& c : cases) {
        SCOPED_TRACE(c.what);
        waits.clear();
        auto w = openOn("1", "3", "1");
        c.change(*w);
        ovtest::click(w->Bt_Apply);
        EXPECT_TRUE(messages().empty());
        const std::vector<std::vector<std::string>> expected = {
            miscSet(c.telnet, c.timeout, c.snmp), {binding(kRestart, "i:1")}};
        EXPECT_EQ(sets(), expected);
        EXPECT_EQ(waits, std::vector<WaitShown>{defaultWait()});
        EXPECT_EQ(stateText(kTimeout), std::to_string(c.timeout));
    }
}

TEST_F(MiscWindow, ATimeoutOutsideTheListShowsNoneAndIsWrittenBackAsItWas) {
    // The device refuses it (1 to 6 only), so nothing restarts.
    auto w = openOn("1", "i:7", "1");
    EXPECT_EQ(w->CB_Timeout->currentIndex(), -1);
    ovtest::click(w->Bt_Apply);
    EXPECT_EQ(w->StatusBar->simpleText(), "Setting Error!");
    EXPECT_EQ(sets(), (std::vector<std::vector<std::string>>{miscSet(1, 7, 1)}));
    EXPECT_TRUE(waits.empty());
}

TEST_F(MiscWindow, RefreshReadsAgainAndTheTimeoutBoxFollowsTheSwitch) {
    auto w = openOn("1", "3", "1");
    pickTimeout(*w, 0);
    ovtest::click(w->CB_Status);
    ovtest::click(w->Bt_Rfresh);
    EXPECT_TRUE(w->CB_Status->isChecked());
    EXPECT_TRUE(w->CB_Timeout->isEnabled());
    EXPECT_EQ(w->CB_Timeout->currentText(), "5 Mins");
    EXPECT_TRUE(sets().empty());
}

// What was never read is never sent: an apply after the failed read writes
// nothing, says so, and reads again.
TEST_F(MiscWindow, ShowsAFailedReadAsItsStatusLineAndWritesNothingUnread) {
    restartAgent(withQuickRestart({"--fail", "timeout=genErr"}));
    auto w = open<TFM_Misc>();
    EXPECT_TRUE(w->StatusBar->simpleText().startsWith("Get: "))
        << w->StatusBar->simpleText().toStdString();
    const std::size_t reads = ovtest::getsSent(*agent).size();
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(sets().empty());
    EXPECT_EQ(ovtest::getsSent(*agent).size(), reads + 1) << "read again";
    EXPECT_EQ(messages(), std::vector<QString>{ov::executableName() +
                                               "|The device's settings could not be read: nothing "
                                               "was written. They are read again."});
}

} // namespace
