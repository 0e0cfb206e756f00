// The security part of "Home \ Wireless" against apsim: what each
// authentication sends, WEP keys typed as ASCII or read back masked, the
// additional SSIDs' states on the wire, the RADIUS settings both pages share,
// and the automatic channel scan sets that must end before the restart.
#include "WirelessTest.h"

#include "OvStatusBar.h"
#include "OvWirelessApMode.h"
#include "OvWirelessSecurity.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

using namespace wirelesstest;

// The SETs of an apply in Access Point mode: 0 SSIDs, 1 AP mode a, 2 auto scan
// a, 3 security a, then (with a pass phrase or RADIUS mode) its second list.
constexpr std::size_t kSecurityA = 3;

class WirelessSecurity : public WirelessTest {
protected:
    // The SET whose first binding is this variable; empty when none came.
    std::vector<std::string> setOf(const std::string& firstOid) const {
        for (const auto& set : sets())
            if (!set.empty() && set.front().rfind(expandOid(firstOid) + "=", 0) == 0)
                return set;
        return {};
    }
};

TEST_F(WirelessSecurity, AnAsciiKeyGoesOutAsLowerCaseHex) {
    restartWith({"--set", "E.2.5.1.1.2.1=1"});
    auto w = open();
    OvWirelessSecurity::Band& a = w->security().band(0);
    pick(a.keyType, "ASCII");
    retype(a.keys[0], "First");
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    ASSERT_GT(sets().size(), kSecurityA);
    const std::vector<std::string> security = {
        binding("E.2.5.1.1.1.1", "i:1"), binding("E.2.5.1.1.2.1", "i:1"),
        binding("E.2.5.1.1.3.1", "i:1"), binding("E.2.5.3.1.1.1.1", "s:4669727374")};
    EXPECT_EQ(sets()[kSecurityA], security);
    EXPECT_EQ(a.keys[0]->text(), "4669727374") << "the box shows what was sent";
    EXPECT_EQ(state("E.2.5.3.1.1.1.1"), "4669727374");
    EXPECT_EQ(w->StatusBar->simpleText(), "Setting Success!");
}

TEST_F(WirelessSecurity, AMaskedKeyStaysOnTheDevice) {
    restartWith({"--mask-keys", "--set", "E.2.5.1.1.2.1=1"});
    auto w = open();
    OvWirelessSecurity::Band& a = w->security().band(0);
    EXPECT_EQ(a.keys[0]->text(), "**********");
    EXPECT_EQ(a.keySize->currentText(), "64 Bits");
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    ASSERT_GT(sets().size(), kSecurityA);
    const std::vector<std::string> security = {binding("E.2.5.1.1.1.1", "i:1"),
                                               binding("E.2.5.1.1.2.1", "i:1"),
                                               binding("E.2.5.1.1.3.1", "i:1")};
    EXPECT_EQ(sets()[kSecurityA], security) << "no key";
    EXPECT_EQ(state("E.2.5.3.1.1.1.1"), "1111111111");
}

TEST_F(WirelessSecurity, SharedKeySendsTheValidKeyOnly) {
    auto w = open();
    OvWirelessSecurity::Band& a = w->security().band(0);
    pick(a.authChoice, "Shared Key");
    EXPECT_EQ(a.auth->currentText(), "Shared Key");
    EXPECT_EQ(a.encryption->currentText(), "Enable");
    EXPECT_FALSE(a.encryption->isEnabled()) << "Shared Key needs its keys";
    for (QComboBox* choice : {a.keyType, a.keySize, a.validKey})
        EXPECT_TRUE(choice->isEnabled()) << choice->objectName().toStdString();
    EXPECT_FALSE(a.keys[0]->isReadOnly());
    EXPECT_TRUE(a.keys[1]->isReadOnly());
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    ASSERT_GT(sets().size(), kSecurityA);
    const std::vector<std::string> security = {
        binding("E.2.5.1.1.1.1", "i:2"), binding("E.2.5.1.1.2.1", "i:1"),
        binding("E.2.5.1.1.3.1", "i:1"), binding("E.2.5.3.1.1.1.1", "s:1111111111")};
    EXPECT_EQ(sets()[kSecurityA], security);
}

TEST_F(WirelessSecurity, Dot1xHasNoGroupKeyInterval) {
    // The device's interval is out of range: 802.1x neither shows nor checks it.
    restartWith({"--set", "E.2.5.1.1.1.1=4", "--set", "E.2.5.1.1.6.1=5", "--set",
                 "E.2.5.2.3.0=198.51.100.9", "--set", "E.2.5.2.5.0=secret1"});
    auto w = open();
    OvWirelessSecurity::Band& a = w->security().band(0);
    EXPECT_TRUE(a.radiusGroup->isVisible());
    EXPECT_FALSE(a.keyGroup->isVisible());
    EXPECT_FALSE(a.pskGroup->isVisible());
    EXPECT_FALSE(a.groupKey->isVisible());
    EXPECT_FALSE(a.groupKeyLabel->isVisible());
    EXPECT_FALSE(a.groupKeyRange->isVisible());
    ASSERT_EQ(a.radiusCipherChoice->count(), 1);
    EXPECT_EQ(a.radiusCipherChoice->currentText(), "WEP");
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    ASSERT_GT(sets().size(), kSecurityA + 1);
    EXPECT_EQ(sets()[kSecurityA], std::vector<std::string>{binding("E.2.5.1.1.1.1", "i:4")});
    const std::vector<std::string> enterprise = {
        binding("E.2.5.1.1.5.1", "i:1"), binding("E.2.5.2.4.0", "i:1812"),
        binding("E.2.5.2.3.0", "a:198.51.100.9"), binding("E.2.5.2.5.0", "s:secret1")};
    EXPECT_EQ(sets()[kSecurityA + 1], enterprise);
    EXPECT_EQ(sets()[kSecurityA + 2], apModeSet(2, 1));
}

TEST_F(WirelessSecurity, PassPhraseModesSendThePersonalList) {
    restartWith({"--set", "E.2.5.1.1.1.1=6", "--set", "E.2.5.1.1.4.1=old phrase"});
    auto w = open();
    OvWirelessSecurity::Band& a = w->security().band(0);
    EXPECT_TRUE(a.pskGroup->isVisible());
    pick(a.pskCipherChoice, "TKIP");
    retype(a.passPhrase, "correct horse battery");
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    ASSERT_GT(sets().size(), kSecurityA + 1);
    EXPECT_EQ(sets()[kSecurityA], std::vector<std::string>{binding("E.2.5.1.1.1.1", "i:6")});
    const std::vector<std::string> personal = {binding("E.2.5.1.1.5.1", "i:4"),
                                               binding("E.2.5.1.1.6.1", "i:1800"),
                                               binding("E.2.5.1.1.4.1", "s:correct horse battery")};
    EXPECT_EQ(sets()[kSecurityA + 1], personal);
}

TEST_F(WirelessSecurity, AWdsBandOnARadiusModeFallsBackToOpenSystem) {
    restartWith({"--set", "E.2.1.1.1.1=3", "--set", "E.2.2.1.2.1.1=001122AABBCC", "--set",
                 "E.2.5.1.1.1.1=5"});
    auto w = open();
    OvWirelessSecurity::Band& a = w->security().band(0);
    EXPECT_EQ(a.authChoice->count(), 4);
    EXPECT_EQ(a.authChoice->currentText(), "Open System");
    EXPECT_TRUE(a.keyGroup->isVisible());
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    ASSERT_GT(sets().size(), kSecurityA);
    EXPECT_EQ(sets()[kSecurityA], openSystemSet(1));
    EXPECT_EQ(state("E.2.5.1.1.1.1"), "1");
    EXPECT_EQ(waits.countdowns(), std::vector<int>{50});
}

TEST_F(WirelessSecurity, TheAdditionalSsidsGiveWayOnTheWire) {
    // The VLAN on, every additional SSID enabled with Open System.
    const std::vector<std::string> guestsOn = {
        "--set", "E.2.9.3.1.1.0=1",   "--set", "E.2.9.2.1.2.1.1=1", "--set", "E.2.9.2.1.2.1.2=1",
        "--set", "E.2.9.2.1.2.1.3=1", "--set", "E.2.9.2.1.2.2.1=1", "--set", "E.2.9.2.1.2.2.2=1",
        "--set", "E.2.9.2.1.2.2.3=1", "--set", "E.2.9.2.1.4.1.1=2", "--set", "E.2.9.2.1.4.1.2=2",
        "--set", "E.2.9.2.1.4.1.3=2", "--set", "E.2.9.2.1.4.2.1=2", "--set", "E.2.9.2.1.4.2.2=2",
        "--set", "E.2.9.2.1.4.2.3=2"};
    const struct {
        const char* name;
        std::vector<std::string> device;
        std::vector<int> sent; // VLAN, 802.11a states and authentications, 802.11g's
    } cases[] = {
        {"both bands Access Points on Open System", {}, {1, 1, 1, 1, 2, 2, 2, 1, 1, 1, 2, 2, 2}},
        {"802.11a in WDS: the VLAN and its guests off",
         {"--set", "E.2.1.1.1.1=3", "--set", "E.2.2.1.2.1.1=001122AABBCC"},
         {0, 0, 0, 0, 2, 2, 2, 1, 1, 1, 2, 2, 2}},
        {"802.11g in WDS with AP",
         {"--set", "E.2.1.1.1.2=2", "--set", "E.2.2.1.2.2.1=001122AABBCC"},
         {0, 1, 1, 1, 2, 2, 2, 0, 0, 0, 2, 2, 2}},
        {"802.11a on WPA-PSK: its guests without authentication",
         {"--set", "E.2.5.1.1.1.1=6", "--set", "E.2.5.1.1.4.1=passphrase"},
         {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2}},
        {"802.11g on Shared Key keeps its guests' authentication",
         {"--set", "E.2.5.1.1.1.2=2", "--set", "E.2.5.1.1.2.2=1", "--set", "E.2.9.2.1.6.2.1=2",
          "--set", "E.2.9.2.1.6.2.2=3", "--set", "E.2.9.2.1.6.2.3=4"},
         {1, 1, 1, 1, 2, 2, 2, 1, 1, 1, 2, 2, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> device = guestsOn;
        device.insert(device.end(), c.device.begin(), c.device.end());
        restartWith(device);
        dialogs.clear();
        auto w = open();
        ovtest::click(w->Bt_Apply);
        EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
        EXPECT_EQ(setOf("E.2.9.3.1.1.0"), guestSet(c.sent));
        ASSERT_FALSE(sets().empty());
        EXPECT_EQ(sets().back(), std::vector<std::string>{kRestartSet}) << "the guests went last";
        EXPECT_EQ(state("E.2.9.3.1.1.0"), std::to_string(c.sent[0]));
    }
}

TEST_F(WirelessSecurity, ChoosingAGuestsKeyAsValidKeyWarnsAtOnce) {
    // Additional SSID 2 of 802.11a: enabled, Open System, on the second key.
    restartWith({"--set", "E.2.5.1.1.2.1=1", "--set", "E.2.9.2.1.2.1.2=1", "--set",
                 "E.2.9.2.1.4.1.2=2", "--set", "E.2.9.2.1.6.1.2=2"});
    auto w = open();
    OvWirelessSecurity::Band& a = w->security().band(0);
    pick(a.validKey, "Second");
    EXPECT_EQ(messages(), std::vector<QString>{
                              "Warning|The 11a master SSID's key index is same as Guest SSID2"});
    EXPECT_FALSE(a.keys[1]->isReadOnly()) << "the choice stands; apply refuses it";
    EXPECT_TRUE(a.keys[0]->isReadOnly());
    EXPECT_TRUE(sets().empty());
}

TEST_F(WirelessSecurity, TheRadiusSettingsAreOneForBothPages) {
    restartWith({"--set", "E.2.5.1.1.1.1=7", "--set", "E.2.5.1.1.1.2=7", "--set",
                 "E.2.5.2.3.0=198.51.100.9", "--set", "E.2.5.2.5.0=secret1"});
    auto w = open();
    OvWirelessSecurity::Band& a = w->security().band(0);
    OvWirelessSecurity::Band& g = w->security().band(1);
    retype(a.radiusServer, "198.51.100.20");
    EXPECT_EQ(g.radiusServer->text(), "198.51.100.20");
    showPage(*w, 1);
    retype(g.radiusPort, "1645");
    EXPECT_EQ(a.radiusPort->text(), "1645");
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    const auto enterprise = [](int band) {
        const std::string b = std::to_string(band);
        return std::vector<std::string>{
            binding("E.2.5.1.1.5." + b, "i:2"), binding("E.2.5.2.4.0", "i:1645"),
            binding("E.2.5.1.1.6." + b, "i:1800"), binding("E.2.5.2.3.0", "a:198.51.100.20"),
            binding("E.2.5.2.5.0", "s:secret1")};
    };
    EXPECT_EQ(setOf("E.2.5.1.1.5.1"), enterprise(1));
    EXPECT_EQ(setOf("E.2.5.1.1.5.2"), enterprise(2));
    EXPECT_EQ(state("E.2.5.2.3.0"), "198.51.100.20");
    EXPECT_EQ(state("E.2.5.2.4.0"), "1645");
}

// A failed 802.11g read fills its page with nothing: the 802.11a page keeps
// the values read, at creation and at a Refresh.
TEST_F(WirelessSecurity, AFailedReadOfOneBandLeavesTheOthersRadiusSettings) {
    restartWith({"--set", "E.2.5.2.3.0=198.51.100.9", "--set", "E.2.5.2.4.0=1645", "--set",
                 "E.2.5.2.5.0=secret1", "--fail", "E.2.5.1.1.5.2=genErr"});
    auto w = open();
    OvWirelessSecurity::Band& a = w->security().band(0);
    for (const char* when : {"at creation", "after Refresh"}) {
        SCOPED_TRACE(when);
        EXPECT_EQ(a.radiusServer->text(), "198.51.100.9");
        EXPECT_EQ(a.radiusPort->text(), "1645");
        EXPECT_EQ(a.radiusSecret->text(), "secret1");
        ovtest::click(w->Bt_Refresh);
    }
}

TEST_F(WirelessSecurity, EachBandsKeySizeFollowsItsKey) {
    // An untouched 128-bit key on the page not shown.
    const std::string key128 = "0123456789ABCDEF0123456789";
    restartWith({"--set", "E.2.5.1.1.2.2=1", "--set", "E.2.5.3.1.1.2.1=" + key128});
    auto w = open();
    EXPECT_EQ(w->security().band(0).keySize->currentText(), "64 Bits");
    EXPECT_EQ(w->security().band(1).keySize->currentText(), "128 Bits");
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    const std::vector<std::string> security = {
        binding("E.2.5.1.1.1.2", "i:1"), binding("E.2.5.1.1.2.2", "i:1"),
        binding("E.2.5.1.1.3.2", "i:1"), binding("E.2.5.3.1.1.2.1", "s:" + key128)};
    EXPECT_EQ(setOf("E.2.5.1.1.1.2"), security);
    ASSERT_TRUE(agent->waitForRestart(1));
    ovtest::click(w->Bt_Refresh);
    EXPECT_EQ(w->security().band(1).keySize->currentText(), "128 Bits");
}

TEST_F(WirelessSecurity, TheAutoScanSetsEndBeforeTheRestart) {
    const struct {
        const char* name;
        std::vector<std::string> device;
    } cases[] = {
        {"802.11g's refused", {"--fail-set", "E.2.3.1.14.2=genErr"}},
        {"802.11a's never answered", {"--drop-set", "E.2.3.1.14.1=2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        restartWith(c.device);
        auto w = open();
        ovtest::click(w->Bt_Apply);
        EXPECT_EQ(w->StatusBar->simpleText(), "Setting error!");
        EXPECT_TRUE(waits.countdowns().empty());
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(setOf("E.2.9.3.1.1.0"), guestSet()) << "every list was sent";
        const auto all = sets();
        EXPECT_EQ(std::count(all.begin(), all.end(), std::vector<std::string>{kRestartSet}), 0);
    }
}

} // namespace
