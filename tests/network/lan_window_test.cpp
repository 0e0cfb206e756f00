// "Home \ LAN" against apsim: what the window shows at open, the Static checks
// in their order with their texts, the SETs of Static and Dynamic with the wait
// windows they end in, and the failures its status bar shows.
#include "LanTest.h"

#include "OvEditBox.h"
#include "OvListView.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "widgettest/OvAccessibility.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace {

using namespace lantest;
using nettest::spokenName;

// The status line's clock: "hh:mm:ss AP" and the template's closing full stop.
const QString kTime = QStringLiteral("\\d\\d:\\d\\d:\\d\\d (AM|PM)\\.$");

const WaitShown kJudging{"Please wait...", "Judge the IP whether can be used.", 12, false};

class LanWindow : public LanTest {
protected:
    // The static pool's wait must outlast its walk on a loaded machine.
    void slowEnoughForTheStaticPoolWalk() { ov::setTimeScale(0.03); }

    std::vector<std::string> staticSet(const std::string& address, const std::string& mask,
                                       int restart) const {
        return {binding(kGetIPFrom, "i:1"), binding(kIPAddress, "a:" + address),
                binding(kSubnetMask, "a:" + mask), binding(kDefaultGateway, "a:" + atText(254)),
                binding(kSysRestart, "i:" + std::to_string(restart))};
    }
    std::vector<std::string> restartSet() const { return {binding(kSysRestart, "i:1")}; }
    bool addressFieldsShown(const TFM_LAN& w) const {
        return w.LA_IPAddress->isVisible() && w.ED_IpAddr->isVisible() &&
               w.LA_SubnetMask->isVisible() && w.ED_SubMask->isVisible() &&
               w.LA_DefGW->isVisible() && w.ED_DefGw->isVisible();
    }
    bool addressFieldsHidden(const TFM_LAN& w) const {
        return !w.LA_IPAddress->isVisible() && !w.ED_IpAddr->isVisible() &&
               !w.LA_SubnetMask->isVisible() && !w.ED_SubMask->isVisible() &&
               !w.LA_DefGW->isVisible() && !w.ED_DefGw->isVisible();
    }
};

TEST_F(LanWindow, OpensWithTheDevicesModeAndAddresses) {
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "Home \\ LAN");
    EXPECT_EQ(w->CB_IPFrom->currentText(), "Static (Manual)");
    EXPECT_EQ(w->CB_IPFrom->count(), 2);
    EXPECT_EQ(w->ED_IpAddr->text(), at(1));
    EXPECT_EQ(w->ED_SubMask->text(), "255.255.255.0");
    EXPECT_EQ(w->ED_DefGw->text(), at(254));
    EXPECT_EQ(w->ED_Restart->currentText(), "nothing");
    EXPECT_EQ(w->addressAtOpen(), at(1));
    EXPECT_EQ(w->modeAtOpen(), 0);
    EXPECT_TRUE(addressFieldsShown(*w));
    EXPECT_EQ(w->Ed_IPAF->text(), at(100));
    EXPECT_EQ(w->Ed_PoolRan->text(), "20");
    EXPECT_EQ(ov::typingLimit(w->ED_IpAddr), 15);
    for (QWidget* hidden : std::initializer_list<QWidget*>{w->ED_Restart, w->Ed_IPAF, w->Ed_PoolRan,
                                                           w->Static_ListView})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    // The static pool is walked only when an apply needs it.
    EXPECT_EQ(staticPoolWalkSteps(), 0);
    EXPECT_EQ(w->Static_ListView->rowCount(), 0);
    EXPECT_TRUE(sets().empty());
}

TEST_F(LanWindow, OpensOnDhcpWithTheAddressFieldsHidden) {
    restartAgent(lanOptions(true));
    auto w = open();
    EXPECT_EQ(w->CB_IPFrom->currentText(), "Dynamic (DHCP)");
    EXPECT_EQ(w->modeAtOpen(), 1);
    EXPECT_EQ(w->addressAtOpen(), at(1));
    EXPECT_TRUE(addressFieldsHidden(*w));
    EXPECT_TRUE(w->GetIPFrom->isVisible());
    EXPECT_TRUE(w->CB_IPFrom->isVisible());
}

struct RefusalCase {
    const char* name;
    QString ip, mask, gateway; // "#N" is host N of the device's network
    QString text;
    int emptied; // 0 address, 1 mask, 2 gateway; -1: the device's values come back
    bool judged; // after the static pool walk and its wait window
};

TEST_F(LanWindow, StaticChecksRefuseInTheirOrderWithTheirTexts) {
    slowEnoughForTheStaticPoolWalk();
    const QString badIp = "Please input valid IP Address.";
    const QString badMask = "Please input valid Subnet Mask.";
    const QString badGateway = "Please input valid Gateway.";
    const QString dynamicPool = "Reject: The IP conflicts with Dynamic DHCP Server IP";
    const QString staticPool = "Reject: The IP conflicts with Static DHCP Server IP";
    const RefusalCase cases[] = {
        {"an address in 0.0.0.0/8", "0.1.2.3", "255.255.255.0", "#254", badIp, 0, false},
        {"a broadcast address before a bad mask", "10.0.0.255", "255.255.255.255", "0.0.0.0", badIp,
         0, false},
        {"a loopback address", "127.0.0.1", "255.255.255.0", "#254", badIp, 0, false},
        {"the mask 255.255.255.255", "#7", "255.255.255.255", "#254", badMask, 1, false},
        {"a mask with a hole", "#7", "255.0.255.0", "#254", badMask, 1, false},
        {"a bad mask before a bad gateway", "#7", "128.0.0.0", "0.0.0.0", badMask, 1, false},
        {"the gateway 0.0.0.0", "#7", "255.255.255.0", "0.0.0.0", badGateway, 2, false},
        {"the dynamic pool's first address", "#100", "255.255.255.0", "#254", dynamicPool, -1,
         false},
        {"the dynamic pool's last address", "#119", "255.255.255.0", "#254", dynamicPool, -1,
         false},
        {"a pool address with a leading zero", "#0110", "255.255.255.0", "#254", dynamicPool, -1,
         false},
        {"a static pool entry's address", "#50", "255.255.255.0", "#254", staticPool, -1, true},
        {"a static pool entry's address with a leading zero", "#050", "255.255.255.0", "#254",
         staticPool, -1, true},
    };
    const auto expand = [&](QString text) {
        return text.startsWith('#') ? net + text.mid(1) : text;
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        waits.shown.clear();
        const int walked = staticPoolWalkSteps();
        auto w = open();
        QLineEdit* edits[] = {w->ED_IpAddr, w->ED_SubMask, w->ED_DefGw};
        const QString typed[] = {expand(c.ip), expand(c.mask), expand(c.gateway)};
        for (int i = 0; i < 3; ++i)
            retype(edits[i], typed[i]);
        ovtest::click(w->BT_LanCfgOk);
        ASSERT_EQ(messages(), std::vector<QString>{"Warning|" + c.text});
        EXPECT_EQ(dialogs.messages()[0].buttons, QMessageBox::Ok);
        const QString device[] = {at(1), "255.255.255.0", at(254)};
        for (int i = 0; i < 3; ++i) {
            const QString expected =
                c.emptied < 0 ? device[i] : (i == c.emptied ? QString() : typed[i]);
            EXPECT_EQ(edits[i]->text(), expected) << i;
        }
        if (c.judged) {
            EXPECT_EQ(waits.shown, std::vector<WaitShown>{kJudging});
            EXPECT_GT(staticPoolWalkSteps(), walked);
            EXPECT_EQ(w->Static_ListView->rowCount(), 8);
            EXPECT_FALSE(w->Static_ListView->isVisible());
        } else {
            EXPECT_TRUE(waits.shown.empty());
            EXPECT_EQ(staticPoolWalkSteps(), walked);
        }
        EXPECT_TRUE(sets().empty());
    }
}

TEST_F(LanWindow, ANewAddressIsProbedCheckedAgainstTheStaticPoolThenSent) {
    slowEnoughForTheStaticPoolWalk();
    auto w = open();
    // Just past the dynamic pool, with the narrowest mask there is.
    retype(w->ED_IpAddr, at(120));
    retype(w->ED_SubMask, "255.255.255.252");
    ovtest::click(w->BT_LanCfgOk);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    const std::vector<WaitShown> expectedWaits = {
        kJudging, {"Settings saved.", "The system IP will be " + at(120), 5, true}};
    EXPECT_EQ(waits.shown, expectedWaits);
    EXPECT_EQ(w->StatusBar->simpleText(), "Set Success!");
    const std::vector<std::vector<std::string>> expected = {
        staticSet(atText(120), "255.255.255.252", 0), restartSet()};
    EXPECT_EQ(sets(), expected);
    // The static pool was walked before the SET went out.
    const auto requests = agent->requests();
    const auto set = std::find_if(requests.begin(), requests.end(),
                                  [](const auto& r) { return r.operation == "SET"; });
    const auto walk = std::find_if(requests.begin(), requests.end(), [](const auto& r) {
        return r.operation == "GETNEXT" && r.oids.front().rfind(kStaticPoolIP, 0) == 0;
    });
    EXPECT_LT(walk - requests.begin(), set - requests.begin());
    EXPECT_EQ(agent->stateValue("E.1.2.2.0")->text, atText(120));
}

TEST_F(LanWindow, TheUnchangedAddressIsSentWithoutProbeOrStaticPoolCheck) {
    auto w = open();
    ovtest::click(w->BT_LanCfgOk);
    EXPECT_TRUE(messages().empty());
    const std::vector<WaitShown> expectedWaits = {
        {"Settings saved.", "The system IP will be " + at(1), 5, true}};
    EXPECT_EQ(waits.shown, expectedWaits);
    EXPECT_EQ(staticPoolWalkSteps(), 0);
    const std::vector<std::vector<std::string>> expected = {
        staticSet(atText(1), "255.255.255.0", 0), restartSet()};
    EXPECT_EQ(sets(), expected);
}

TEST_F(LanWindow, TheUnchangedAddressIsNotProbedEvenWhenSomeoneAnswersIt) {
    std::string why;
    const std::optional<QString> own = answeringOwnAddress(&why);
    if (!own)
        GTEST_SKIP() << why;
    // The device sits on this machine's address, which answers echo requests.
    restartAgent({"--restart-seconds", "0", "--set", "hIPAddress=" + own->toStdString(), "--set",
                  "hDefaultGateway=" + atText(254)});
    auto w = open();
    ovtest::click(w->BT_LanCfgOk);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    ASSERT_EQ(sets().size(), 2u);
    EXPECT_EQ(sets()[0][1], binding(kIPAddress, "a:" + own->toStdString()));
}

TEST_F(LanWindow, AnAddressThatAnswersIsRefusedAsUsed) {
    std::string why;
    const std::optional<QString> own = answeringOwnAddress(&why);
    if (!own)
        GTEST_SKIP() << why;
    auto w = open();
    retype(w->ED_IpAddr, *own);
    ovtest::click(w->BT_LanCfgOk);
    EXPECT_EQ(messages(), std::vector<QString>{"Warning|Reject: The IP already has been used."});
    EXPECT_EQ(w->ED_IpAddr->text(), at(1)); // the device's values are back
    EXPECT_EQ(QApplication::focusWidget(), w->ED_IpAddr);
    EXPECT_TRUE(waits.shown.empty());
    EXPECT_EQ(staticPoolWalkSteps(), 0);
    EXPECT_TRUE(sets().empty());
}

TEST_F(LanWindow, FromDhcpToStaticTheSetCarriesTheRestartAndTheAddresses) {
    restartAgent(lanOptions(true));
    auto w = open();
    pickMode(*w, 0);
    EXPECT_TRUE(addressFieldsShown(*w));
    ovtest::click(w->BT_LanCfgOk);
    EXPECT_TRUE(messages().empty());
    const std::vector<WaitShown> expectedWaits = {
        {"The device is restarting.", "The system IP will be " + at(1), 40, true}};
    EXPECT_EQ(waits.shown, expectedWaits);
    EXPECT_EQ(w->ED_Restart->currentText(), "reboot");
    const std::vector<std::vector<std::string>> expected = {
        staticSet(atText(1), "255.255.255.0", 1), restartSet()};
    EXPECT_EQ(sets(), expected);
}

TEST_F(LanWindow, SwitchingToDynamicSendsOnlyTheModeThenStaticSendsAllAgain) {
    auto w = open();
    pickMode(*w, 1);
    EXPECT_TRUE(addressFieldsHidden(*w));
    ovtest::click(w->BT_LanCfgOk);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, "Warning");
    EXPECT_EQ(dialogs.messages()[0].text, "Device will reboot,continue?");
    EXPECT_EQ(dialogs.messages()[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(w->StatusBar->simpleText(), "Set Success!");
    std::vector<WaitShown> expectedWaits = {
        {"Settings saved.", "The device is restarting.", 40, true}};
    EXPECT_EQ(waits.shown, expectedWaits);
    std::vector<std::vector<std::string>> expected = {
        {binding(kGetIPFrom, "i:2"), binding(kSysRestart, "i:0")}, restartSet()};
    EXPECT_EQ(sets(), expected);

    // Back to Static in the same window: the addresses are written again, and
    // the wait is the one of a device that was static when the window opened.
    pickMode(*w, 0);
    EXPECT_TRUE(addressFieldsShown(*w));
    ovtest::click(w->BT_LanCfgOk);
    expectedWaits.push_back({"Settings saved.", "The system IP will be " + at(1), 5, true});
    EXPECT_EQ(waits.shown, expectedWaits);
    expected.push_back(staticSet(atText(1), "255.255.255.0", 0));
    expected.push_back(restartSet());
    EXPECT_EQ(sets(), expected);
}

TEST_F(LanWindow, ACancelledSwitchToDynamicSendsNothing) {
    auto w = open();
    pickMode(*w, 1);
    dialogs.queueAnswer(QMessageBox::Cancel);
    ovtest::click(w->BT_LanCfgOk);
    EXPECT_EQ(messages(), std::vector<QString>{"Warning|Device will reboot,continue?"});
    EXPECT_TRUE(waits.shown.empty());
    EXPECT_TRUE(sets().empty());
    EXPECT_EQ(w->StatusBar->simpleText(), "");
}

TEST_F(LanWindow, TheFieldsFollowTheModeAfterEveryRefresh) {
    restartAgent(lanOptions(true));
    auto w = open();
    pickMode(*w, 0);
    ASSERT_TRUE(addressFieldsShown(*w));
    retype(w->ED_IpAddr, at(105));
    ovtest::click(w->BT_LanCfgOk);
    ASSERT_EQ(messages(),
              std::vector<QString>{"Warning|Reject: The IP conflicts with Dynamic DHCP Server IP"});
    // The refusal reloaded the device's values: it is on DHCP.
    EXPECT_EQ(w->CB_IPFrom->currentText(), "Dynamic (DHCP)");
    EXPECT_TRUE(addressFieldsHidden(*w));
}

TEST_F(LanWindow, AFailedRefreshShowsTheGetStatusLine) {
    restartAgent({"--fail", "hGetIPFrom=genErr"});
    auto w = open();
    const QRegularExpression line(
        QStringLiteral("^Get: \\(SNMP\\) Cannot perform operation, General Error!\\. Receive at ") +
        kTime);
    EXPECT_TRUE(line.match(w->StatusBar->simpleText()).hasMatch())
        << w->StatusBar->simpleText().toStdString();
    EXPECT_EQ(w->addressAtOpen(), "");
    EXPECT_EQ(w->modeAtOpen(), 0);
}

TEST_F(LanWindow, ARefusedSetShowsSetErrorForStaticAndTheSetLineForDynamic) {
    // The read community may not write: the device refuses every SET.
    OvSNMPSecurity.writeCommunity = kReadCommunity;
    {
        auto w = open();
        ovtest::click(w->BT_LanCfgOk);
        EXPECT_EQ(w->StatusBar->simpleText(), "Set Error!");
    }
    {
        auto w = open();
        pickMode(*w, 1);
        ovtest::click(w->BT_LanCfgOk);
        const QRegularExpression line(
            QStringLiteral("^Set: \\(SNMP\\) Cannot access variable, No Access!\\. Receive at ") +
            kTime);
        EXPECT_TRUE(line.match(w->StatusBar->simpleText()).hasMatch())
            << w->StatusBar->simpleText().toStdString();
    }
    EXPECT_TRUE(waits.shown.empty());
    EXPECT_EQ(sets().size(), 2u); // both refused, no restart
}

TEST_F(LanWindow, CancelClosesWithoutSending) {
    auto w = open();
    retype(w->ED_IpAddr, at(9));
    ovtest::click(w->BT_LanCfgCancel);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(sets().empty());
}

// ---- Through the accessibility interface, as a screen reader user would.

TEST_F(LanWindow, EveryVisibleControlHasASpokenName) {
    auto w = open();
    const std::pair<QWidget*, QString> names[] = {
        {w->CB_IPFrom, "Get IP From"},  {w->ED_IpAddr, "IP Address"},
        {w->ED_SubMask, "Subnet Mask"}, {w->ED_DefGw, "Default Gateway"},
        {w->BT_LanCfgOk, "Apply"},      {w->BT_LanCfgCancel, "Cancel"},
    };
    for (const auto& [control, name] : names)
        EXPECT_EQ(spokenName(control), name) << control->objectName().toStdString();
}

// What a screen reader selects in a combo box: an item of its list.
void selectInList(QComboBox* comboBox, int row) {
    QAccessibleInterface* combo = ovtest::accessible(comboBox);
    ASSERT_GT(combo->childCount(), 0);
    QAccessibleTableInterface* list = combo->child(0)->tableInterface();
    ASSERT_NE(list, nullptr);
    list->selectRow(row);
}

TEST_F(LanWindow, AModeChosenThroughAccessibilityIsTheUsersChoice) {
    auto w = open();
    selectInList(w->CB_IPFrom, 1);
    EXPECT_EQ(w->CB_IPFrom->currentText(), "Dynamic (DHCP)");
    EXPECT_TRUE(addressFieldsHidden(*w));
    ovtest::pressAccessibly(w->BT_LanCfgOk);
    EXPECT_EQ(messages(), std::vector<QString>{"Warning|Device will reboot,continue?"});
    ASSERT_FALSE(sets().empty());
    const std::vector<std::string> dynamic = {binding(kGetIPFrom, "i:2"),
                                              binding(kSysRestart, "i:0")};
    EXPECT_EQ(sets().front(), dynamic);
    selectInList(w->CB_IPFrom, 0);
    EXPECT_TRUE(addressFieldsShown(*w));
}

TEST_F(LanWindow, AnApplyThroughAccessibilitySendsWhatWasEntered) {
    slowEnoughForTheStaticPoolWalk();
    auto w = open();
    QAccessibleInterface* address = ovtest::accessible(w->ED_IpAddr);
    ASSERT_NE(address->editableTextInterface(), nullptr);
    address->setText(QAccessible::Value, at(77));
    EXPECT_EQ(w->ED_IpAddr->text(), at(77));
    ovtest::pressAccessibly(w->BT_LanCfgOk);
    EXPECT_TRUE(messages().empty());
    const std::vector<std::vector<std::string>> expected = {
        staticSet(atText(77), "255.255.255.0", 0), restartSet()};
    EXPECT_EQ(sets(), expected);
    ovtest::pressAccessibly(w->BT_LanCfgCancel);
    EXPECT_FALSE(w->isVisible());
}

} // namespace

namespace {

TEST_F(LanWindow, AStaticPoolWalkStillRunningIsNotStartedAgain) {
    // Each step of the walk takes longer than the whole wait; the device
    // refuses the SETs, so the window stays as it was between the applies.
    restartAgent([&] {
        auto options = lanOptions(false);
        options.insert(options.end(),
                       {"--rows", "staticpool=2", "--delay-var", kStaticPoolIP + "=400"});
        return options;
    }());
    OvSNMPSecurity.writeCommunity = kReadCommunity;
    auto w = open();
    retype(w->ED_IpAddr, at(77));
    ovtest::click(w->BT_LanCfgOk);
    ASSERT_EQ(w->StatusBar->simpleText(), "Set Error!");
    retype(w->ED_IpAddr, at(78));
    ovtest::click(w->BT_LanCfgOk);
    ASSERT_EQ(w->StatusBar->simpleText(), "Set Error!");
    ASSERT_TRUE(ovtest::waitFor([&] { return w->Static_ListView->rowCount() >= 2; }, 10000));
    ovtest::waitFor([] { return false; }, 500); // room for rows that should not come
    EXPECT_EQ(w->Static_ListView->rowCount(), 2);
    int walksStarted = 0;
    for (const ovtest::ApsimRequest& request : agent->requests())
        walksStarted += request.operation == "GETNEXT" && request.oids.front() == kStaticPoolIP;
    EXPECT_EQ(walksStarted, 1);
}

} // namespace
