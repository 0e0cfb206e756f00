// "Status \ Device Info" against apsim: what it reads at opening and in which
// order, how it shows the device's values, the per-band Refresh, and that no
// device, address or user stops it from closing.
#include "StatusTest.h"

#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "TFM_DevInfo.h"
#include "widgettest/OvAccessibility.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <memory>

namespace {

using namespace statustest;

const std::string kBandA = "GET E.4.1.2.1.1.1 E.4.1.2.1.2.1 E.4.1.2.1.4.1 E.4.1.2.1.5.1";
const std::string kBandG = "GET E.4.1.2.1.1.2 E.4.1.2.1.2.2 E.4.1.2.1.4.2 E.4.1.2.1.5.2";
const std::string kDevice =
    "GET E.4.1.1.1.0 E.4.1.1.2.0 E.4.1.1.3.0 E.4.1.1.4.0 E.4.1.1.5.0 E.4.1.1.6.0";

class DevInfoWindow : public StatusTest {
protected:
    std::unique_ptr<TFM_DevInfo> open() {
        auto window = std::make_unique<TFM_DevInfo>(nullptr);
        ovtest::showActive(window.get());
        EXPECT_TRUE(ovtest::waitFor([&] { return !window->bandGBinding()->IsBusy(); }));
        return window;
    }
};

TEST_F(DevInfoWindow, ReadsTheBandsThenTheDeviceOnceEach) {
    const auto w = open();
    EXPECT_EQ(w->windowTitle(), "Status \\ Device Info");
    EXPECT_EQ(requestLines(), (std::vector<std::string>{kBandA, kBandG, kDevice}));
    EXPECT_EQ(w->PC_WirlessTraffic->tabText(0), "IEEE 802.11a");
    EXPECT_EQ(w->PC_WirlessTraffic->tabText(1), "IEEE 802.11g");
    EXPECT_TRUE(w->StatusBar->simpleText().isEmpty());
}

TEST_F(DevInfoWindow, ShowsTheDevicesValuesAsItsValueTexts) {
    restartAgent({"--set", "E.4.1.1.2.0=00:11:22:33:44:55", "--set", "E.4.1.1.3.0=2", "--set",
                  "E.4.1.2.1.1.2=Lab \"west\"", "--set", "E.4.1.2.1.2.2=11"});
    const auto w = open();
    const std::pair<QLineEdit*, QString> shown[] = {
        {w->Ed_Firmware, "v1.2.07"},   {w->Ed_Mac, "001122334455"},
        {w->Ed_GetIP, "Dynamic"},      {w->Ed_IPaddr, "127.1.1.1"},
        {w->Ed_SubMask, "255.0.0.0"},  {w->Ed_Gate, "127.1.1.254"},
        {w->Ed_SSIDa, "ORW3300-A"},    {w->Ed_Channela, "36"},
        {w->Ed_DatRata, "54Mbps"},     {w->Ed_SecLevAutha, "Open System"},
        {w->Ed_SSIDg, "Lab \"west\""}, {w->Ed_Channelg, "11"},
        {w->Ed_DatRatg, "54Mbps"},     {w->Ed_SecLevAuthg, "Open System"},
    };
    for (const auto& [box, text] : shown) {
        EXPECT_EQ(box->text(), text) << box->objectName().toStdString();
        EXPECT_TRUE(box->isReadOnly()) << box->objectName().toStdString();
    }
}

TEST_F(DevInfoWindow, ShowsAnAddressModeOutsideItsListAsItsNumber) {
    const std::pair<const char*, QString> cases[] = {{"1", "Manual"}, {"2", "Dynamic"}, {"7", "7"}};
    for (const auto& [value, shown] : cases) {
        SCOPED_TRACE(value);
        restartAgent({"--set", std::string("E.4.1.1.3.0=") + value});
        EXPECT_EQ(open()->Ed_GetIP->text(), shown);
    }
}

TEST_F(DevInfoWindow, RefreshesTheShownBandOnly) {
    const auto w = open();
    const struct {
        const char* what;
        QPushButton* button;
        bool accessibly;
        std::string read;
    } cases[] = {
        {"802.11a by a click", w->Bt_Refa, false, kBandA},
        {"802.11g by a click", w->Bt_Refg, false, kBandG},
        {"802.11a through its accessible action", w->Bt_Refa, true, kBandA},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        w->PC_WirlessTraffic->setCurrentWidget(c.button->parentWidget());
        const std::size_t before = requestCount();
        if (c.accessibly)
            ovtest::doAccessibleAction(c.button, QAccessibleActionInterface::pressAction());
        else
            ovtest::click(c.button);
        ASSERT_TRUE(ovtest::waitFor([&] { return requestCount() > before; }));
        EXPECT_TRUE(ovtest::waitFor([&] { return !w->bandGBinding()->IsBusy(); }));
        EXPECT_EQ(requestLines(before), std::vector<std::string>{c.read});
    }
}

TEST_F(DevInfoWindow, NamesEveryBoxAndButtonByItsCaption) {
    const auto w = open();
    const std::pair<QWidget*, QString> named[] = {
        {w->Ed_SSIDa, "SSID"},
        {w->Ed_Channela, "Channel"},
        {w->Ed_DatRata, "Data Rate"},
        {w->Ed_SecLevAutha, "Authentication"},
        {w->Ed_SSIDg, "SSID"},
        {w->Ed_SecLevAuthg, "Authentication"},
        {w->Ed_Firmware, "Firmware Version:"},
        {w->Ed_Mac, "MAC Address:"},
        {w->Ed_GetIP, "Get IP From:"},
        {w->Ed_IPaddr, "IP Address:"},
        {w->Ed_SubMask, "Subnet Mask:"},
        {w->Ed_Gate, "Gateway:"},
        {w->Bt_Refa, "Refresh"},
        {w->Bt_Refg, "Refresh"},
    };
    for (const auto& [control, name] : named)
        EXPECT_EQ(ovtest::accessibleName(control).trimmed(), name)
            << control->objectName().toStdString();
    EXPECT_EQ(buddyText(w->Ed_Gate), "Gateway: ") << "the label as designed, its blank kept";
}

TEST_F(DevInfoWindow, ClosesWhileTheSecondBandsAnswerIsHeldBack) {
    restartAgent({"--delay-var", "E.4.1.2.1.1.2=1500"});
    auto w = std::make_unique<TFM_DevInfo>(nullptr);
    ovtest::showActive(w.get());
    ASSERT_TRUE(w->bandGBinding()->IsBusy());
    EXPECT_FALSE(survivesClosing(w.get()));
    EXPECT_EQ(w->bandGBinding(), nullptr) << "the bindings went with the window";
    EXPECT_TRUE(w->Ed_SSIDg->text().isEmpty());
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(DevInfoWindow, StaysUsableWhenNothingCanBeSent) {
    // An error of the module's own making shows in the status bar.
    for (const ovtest::UnsendableSession& c : ovtest::unsendableSessions()) {
        SCOPED_TRACE(c.what);
        restartAgent({});
        c.breakSession();
        auto w = std::make_unique<TFM_DevInfo>(nullptr);
        ovtest::showActive(w.get());
        ASSERT_TRUE(ovtest::waitFor([&] { return !w->bandGBinding()->IsBusy(); }));
        EXPECT_EQ(w->StatusBar->simpleText().contains("(OvSNMP++)"), c.raisedAtOnce)
            << w->StatusBar->simpleText().toStdString();
        ovtest::click(w->Bt_Refa);
        ovtest::click(w->Bt_Refg);
        ASSERT_TRUE(ovtest::waitFor([&] { return !w->bandGBinding()->IsBusy(); }));
        EXPECT_TRUE(w->Ed_Firmware->text().isEmpty() || w->Ed_Firmware->text() == "(NULL)");
        EXPECT_TRUE(dialogs.messages().empty());
        EXPECT_FALSE(survivesClosing(w.get()));
        EXPECT_TRUE(requestLines().empty()) << "nothing reached the device";
    }
}

} // namespace
