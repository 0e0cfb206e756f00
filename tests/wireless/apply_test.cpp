// Apply and Refresh of "Home \ Wireless" against apsim: the eight sets of a
// default apply in their order and the restart, every refusal with its exact
// title and text and nothing sent, a failed set ending the sequence, and the
// access marks of an apply shaping what the next refresh reads.
#include "WirelessTest.h"

#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvWirelessApMode.h"
#include "OvWirelessSecurity.h"
#include "widgettest/OvAccessibility.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <functional>

namespace {

using namespace wirelesstest;

std::vector<std::vector<std::string>> defaultApply() {
    return {ssidSet(),      apModeSet(1, 1),  autoScanSet(1), openSystemSet(1), apModeSet(2, 1),
            autoScanSet(2), openSystemSet(2), guestSet(),     {kRestartSet}};
}

class WirelessApply : public WirelessTest {
protected:
    QComboBox* combo(TFM_Wirless& w, const char* name) { return control<QComboBox>(w, name); }
    QLineEdit* edit(TFM_Wirless& w, const char* name) { return control<QLineEdit>(w, name); }
};

TEST_F(WirelessApply, ADefaultApplySendsEightSetsInOrderThenRestarts) {
    auto w = open();
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    EXPECT_EQ(sets(), defaultApply());
    EXPECT_EQ(waits.countdowns(), std::vector<int>{40});
    EXPECT_EQ(w->StatusBar->simpleText(), "Setting Success!");
    EXPECT_TRUE(agent->waitForRestart(1));
}

// The wait for the auto scan SETs ends on their own answers, not on a read of
// the same list that ends meanwhile: a refused SET stops the apply.
TEST_F(WirelessApply, ARefusedAutoScanSetIsNoticedWhileARefreshReadsTheList) {
    restartWith({"--delay-var", "E.2.3.1.14.1=300", "--fail-set", "E.2.3.1.14.1=genErr"});
    auto w = open();
    ovtest::click(w->Bt_Refresh);
    ASSERT_TRUE(w->radio(0).autoScanList->IsBusy()) << "the read is out";
    ovtest::click(w->Bt_Apply);
    EXPECT_EQ(w->StatusBar->simpleText(), "Setting error!");
    EXPECT_TRUE(waits.countdowns().empty());
}

struct Refusal {
    const char* name;
    std::vector<std::string> device; // apsim's start values
    std::function<void(TFM_Wirless&)> enter;
    QString shown;     // "title|text"
    const char* page;  // the page shown afterwards
    const char* focus; // the control with the focus afterwards, or nullptr
};

TEST_F(WirelessApply, EveryRefusalShowsItsBoxAndSendsNothing) {
    const auto type = [](const char* name, QString text) {
        return [name, text](TFM_Wirless& w) { retype(control<QLineEdit>(w, name), text); };
    };
    const auto choose = [](std::vector<std::pair<const char*, QString>> picks) {
        return [picks](TFM_Wirless& w) {
            for (const auto& [name, item] : picks) {
                if (QString(name).endsWith('g') || QString(name).endsWith("_g"))
                    showPage(w, 1);
                pick(control<QComboBox>(w, name), item);
            }
        };
    };
    const auto both = [](std::function<void(TFM_Wirless&)> a, std::function<void(TFM_Wirless&)> b) {
        return [a, b](TFM_Wirless& w) {
            a(w);
            b(w);
        };
    };
    const std::string longSsid(33, 's');
    const Refusal cases[] = {
        {"an SSID of 33 octets from the device",
         {"--set", "E.1.1.1.1.1=" + longSsid},
         [](TFM_Wirless&) {},
         "Error|The Max Length of SSID is 32 in 11a!",
         "TS_11a",
         "Ed_SSIDa"},
        {"an SSID of one blank",
         {},
         type("Ed_SSIDa", " "),
         "Error|The first character can't be blank.",
         "TS_11a",
         "Ed_SSIDa"},
        {"an empty 802.11g SSID, seen from the 802.11a page",
         {},
         type("Ed_SSIDg", ""),
         "Warning|Please Input SSID in 11g",
         "TS_11g",
         "Ed_SSIDg"},
        {"an SSID with a double quote",
         {},
         type("Ed_SSIDa", "Lobby \"1\""),
         "Warning|Quotation Mark (\") is not accepted",
         "TS_11a",
         "Ed_SSIDa"},
        {"both bands in WDS, applied from the 802.11g page",
         {"--set", "E.2.1.1.1.1=3"},
         choose({{"ED_APModeTempComboBoxg", "WDS"}}),
         "Warning|If you want to set IEEE802.11g AP Mode to \"WDS\" or \"WDS with AP\", \n"
         "please modify IEEE802.11a AP Mode to \"Access Point\".",
         "TS_11g",
         nullptr},
        {"both bands in WDS, applied from the 802.11a page",
         {"--set", "E.2.1.1.1.2=2"},
         choose({{"ED_APModeTempComboBox", "WDS with AP"}}),
         "Warning|If you want to set IEEE802.11a AP Mode to \"WDS\" or \"WDS with AP\", \n"
         "please modify IEEE802.11g AP Mode to \"Access Point\".",
         "TS_11a",
         nullptr},
        {"the same peer twice on 802.11a, in two cases",
         {"--set", "E.2.1.1.1.1=2"},
         both(type("Ed_ReMAddra0", "001122AABBCC"), type("Ed_ReMAddra5", "001122aabbcc")),
         "Warning|Exist same MAC address in 802.11a.",
         "TS_11a",
         nullptr},
        {"the same peer twice on 802.11g, in two cases",
         {"--set", "E.2.1.1.1.2=2"},
         [](TFM_Wirless& w) {
             showPage(w, 1);
             retype(control<QLineEdit>(w, "Ed_ReMAddrg0"), "001122AABBCC");
             retype(control<QLineEdit>(w, "Ed_ReMAddrg5"), "001122aabbcc");
         },
         "Warning|Exist same MAC address in 802.11g.",
         "TS_11g",
         nullptr},
        {"WDS without a first peer",
         {"--set", "E.2.1.1.1.1=3"},
         type("Ed_ReMAddra2", "001122AABBCC"),
         "Warning|Please input MAC address in first blank space!",
         "TS_11a",
         "Ed_ReMAddra0"},
        {"a first peer of 11 digits",
         {"--set", "E.2.1.1.1.1=3"},
         type("Ed_ReMAddra0", "001122AABBC"),
         "Error|The length is 12 in IEEE802.11a MAC address.",
         "TS_11a",
         "Ed_ReMAddra0"},
        {"a repeater without its root address",
         {"--set", "E.2.1.1.1.2=4"},
         [](TFM_Wirless&) {},
         "Error|Please input MAC address in blank space!",
         "TS_11g",
         "Ed_RoMAddrg0"},
        {"a repeater's root address of 6 digits",
         {"--set", "E.2.1.1.1.1=4"},
         type("Ed_RoMAddra0", "001122"),
         "Error|The length is 12 in IEEE802.11a Root AP MAC Address.",
         "TS_11a",
         "Ed_RoMAddra0"},
        {"a client without the SSID of its network",
         {"--set", "E.2.1.1.1.1=5"},
         [](TFM_Wirless&) {},
         "Warning|Please input the SSID.",
         "TS_11a",
         "Ed_SSID"},
        {"a client SSID that starts with a blank",
         {"--set", "E.2.1.1.1.1=5"},
         type("Ed_SSID", " Upstream"),
         "Error|The first character can't be blank.",
         "TS_11a",
         "Ed_SSID"},
        {"a 64-bit HEX key of 5 digits",
         {"--set", "E.2.5.1.1.2.1=1"},
         type("Ed_Key1a", "12345"),
         "Warning|The Length of the 1st key in IEEE802.11a must be 10!",
         "TS_11a",
         "Ed_Key1a"},
        {"a 152-bit ASCII key of 15 characters, encryption off",
         {"--set", "E.2.5.1.1.3.2=3"},
         [](TFM_Wirless& w) {
             showPage(w, 1);
             w.security().band(1).keyType->setEnabled(true);
             w.security().band(1).keySize->setEnabled(true);
             pick(control<QComboBox>(w, "Ed_KeyType_g"), "ASCII");
             pick(control<QComboBox>(w, "Ed_KeySize_g"), "152 Bits");
             showPage(w, 0);
         },
         "Warning|The Lengh of the 3rd key in IEEE802.11g must be 16!",
         "TS_11g",
         "Ed_Key3g"},
        {"an ASCII key with a character past ASCII, given through accessibility",
         {"--set", "E.2.5.1.1.2.1=1"},
         [](TFM_Wirless& w) {
             pick(control<QComboBox>(w, "Ed_KeyType"), "ASCII");
             ovtest::accessible(control<QLineEdit>(w, "Ed_Key1a"))
                 ->setText(QAccessible::Value, QString::fromUtf8("F\u00efrst"));
         },
         "Warning|Please input printable ASCII characters in the key!",
         "TS_11a",
         "Ed_Key1a"},
        {"a HEX key with a letter past F",
         {"--set", "E.2.5.1.1.2.1=1"},
         type("Ed_Key1a", "012345678G"),
         QCoreApplication::applicationName() + "|Please input  Hexadecimal digits!",
         "TS_11a",
         "Ed_Key1a"},
        {"WPA-PSK without a group key interval",
         {"--set", "E.2.5.1.1.1.1=6", "--set", "E.2.5.1.1.4.1=passphrase"},
         type("GroupKeyPSKEdit", ""),
         "Error|Please input a number between 300 and 9999999.",
         "TS_11a",
         "GroupKeyPSKEdit"},
        {"WPA2-PSK with a pass phrase of 7 characters",
         {"--set", "E.2.5.1.1.1.2=8"},
         type("PassPhrasePSKEdit_g", "1234567"),
         "Error|The length of 802.11g PassPhrase is between 8 and 63.",
         "TS_11g",
         "PassPhrasePSKEdit_g"},
        {"a pass phrase with a double quote",
         {"--set", "E.2.5.1.1.1.1=10"},
         type("PassPhrasePSKEdit", "say \"hello\""),
         "Warning|Quotation Mark (\") is not accepted",
         "TS_11a",
         "PassPhrasePSKEdit"},
        {"WPA-EAP without a group key interval",
         {"--set", "E.2.5.1.1.1.1=5", "--set", "E.2.5.2.3.0=198.51.100.9", "--set",
          "E.2.5.2.5.0=secret1"},
         type("GroupKeyEdit", ""),
         "Error|Please input a number between 300 and 9999999.",
         "TS_11a",
         "GroupKeyEdit"},
        {"a RADIUS server of 0.0.0.0",
         {"--set", "E.2.5.1.1.1.1=7"},
         [](TFM_Wirless&) {},
         "Error|The Radius server's IP is illegal.",
         "TS_11a",
         "RadiusServerEdit"},
        {"an empty RADIUS port",
         {"--set", "E.2.5.1.1.1.2=9", "--set", "E.2.5.2.3.0=198.51.100.9"},
         type("RadiusportEdit_g", ""),
         "Error|Please input a number between 1 and 65535.",
         "TS_11g",
         "RadiusportEdit_g"},
        {"a RADIUS secret with a blank",
         {"--set", "E.2.5.1.1.1.1=4", "--set", "E.2.5.2.3.0=198.51.100.9"},
         type("RadiusSecretEdit", "two words"),
         "Warning|Please input Radius Secret format xxxxxx(x:0-9;A-z)",
         "TS_11a",
         "RadiusSecretEdit"},
        {"a guest SSID on the master's key",
         {"--set", "E.2.5.1.1.2.1=1", "--set", "E.2.5.1.1.3.1=2", "--set",
          "E.2.5.3.1.1.1.2=0123456789", "--set", "E.2.9.2.1.2.1.2=1", "--set", "E.2.9.2.1.4.1.2=2",
          "--set", "E.2.9.2.1.6.1.2=2"},
         [](TFM_Wirless&) {},
         "Warning|The 11a master SSID's key index is same as Guest SSID2",
         "TS_11a",
         nullptr},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        restartWith(c.device);
        dialogs.clear();
        auto w = open();
        c.enter(*w);
        ovtest::click(w->Bt_Apply);
        ASSERT_EQ(messages(), std::vector<QString>{c.shown});
        EXPECT_EQ(dialogs.messages()[0].buttons, QMessageBox::Ok);
        EXPECT_EQ(w->PC_Wirless->currentWidget()->objectName(), c.page);
        if (c.focus != nullptr) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focus);
        }
        EXPECT_TRUE(sets().empty());
        EXPECT_TRUE(waits.countdowns().empty());
        EXPECT_EQ(w->StatusBar->simpleText(), "");
    }
}

TEST_F(WirelessApply, ARefusedHexKeyLosesItsText) {
    restartWith({"--set", "E.2.5.1.1.2.1=1"});
    auto w = open();
    retype(w->security().band(0).keys[0], "012345678G");
    ovtest::click(w->Bt_Apply);
    EXPECT_EQ(w->security().band(0).keys[0]->text(), "");
}

TEST_F(WirelessApply, AFailedSetEndsTheSequenceWithoutARestart) {
    // The device refuses 802.11a's security: its SSID, AP mode and auto scan
    // are set already; 802.11g's AP mode and what follows are not sent.
    restartWith({"--fail-set", "E.2.5.1.1.1.1=wrongValue"});
    auto w = open();
    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty());
    const std::vector<std::vector<std::string>> expected = {ssidSet(), apModeSet(1, 1),
                                                            autoScanSet(1), openSystemSet(1)};
    EXPECT_EQ(sets(), expected);
    EXPECT_EQ(w->StatusBar->simpleText(), "Setting error!");
    EXPECT_TRUE(waits.countdowns().empty());
}

TEST_F(WirelessApply, TheMarksOfAnApplyShapeTheNextRefresh) {
    auto w = open();
    ovtest::click(w->Bt_Apply);
    ASSERT_EQ(w->StatusBar->simpleText(), "Setting Success!");
    ASSERT_TRUE(agent->waitForRestart(1));
    const std::size_t before = gets().size();
    ovtest::click(w->Bt_Refresh);
    ASSERT_TRUE(ovtest::waitFor([&] { return !w->radio(1).autoScanList->IsBusy(); }));
    const auto all = gets();
    const std::vector<std::vector<std::string>> after(all.begin() + static_cast<long>(before),
                                                      all.end());
    const auto has = [&](const std::vector<std::string>& oids) {
        return std::find(after.begin(), after.end(), oids) != after.end();
    };
    // Access Point: the AP mode without the peers; Open System with encryption
    // off: the authentication and the encryption only, no key, nothing of the
    // RADIUS or pass phrase settings.
    EXPECT_TRUE(has({expandOid("E.2.1.1.1.1")}));
    EXPECT_TRUE(has({expandOid("E.2.1.1.1.2")}));
    EXPECT_TRUE(has({expandOid("E.2.5.1.1.1.1"), expandOid("E.2.5.1.1.2.1")}));
    EXPECT_TRUE(has({expandOid("E.2.5.1.1.1.2"), expandOid("E.2.5.1.1.2.2")}));
    for (const auto& oids : after)
        for (const std::string& o : oids) {
            EXPECT_EQ(o.rfind(expandOid("E.2.2.1.2"), 0), std::string::npos) << "a peer was read";
            EXPECT_EQ(o.rfind(expandOid("E.2.5.3.1.1"), 0), std::string::npos) << "a key was read";
            EXPECT_EQ(o.rfind(expandOid("E.2.5.2"), 0), std::string::npos) << "RADIUS was read";
            EXPECT_EQ(o.rfind(expandOid("E.2.5.1.1.4"), 0), std::string::npos) << "a pass phrase";
        }
    // The SSIDs are still read, and the key types are HEX again.
    EXPECT_TRUE(has({expandOid("E.1.1.1.1.1"), expandOid("E.1.1.1.2.1"), expandOid("E.1.1.1.3.1"),
                     expandOid("E.1.1.1.4.1"), expandOid("E.2.3.1.1.1"), expandOid("E.1.1.1.1.2"),
                     expandOid("E.1.1.1.2.2"), expandOid("E.1.1.1.3.2"), expandOid("E.1.1.1.4.2"),
                     expandOid("E.2.3.1.1.2")}));
}

TEST_F(WirelessApply, RefreshShowsWhatTheDeviceHoldsNowAndResetsKeyTypes) {
    restartWith({"--set", "E.2.5.1.1.2.1=1"}); // encryption on: the key type can be chosen
    auto w = open();
    retype(w->radio(0).ssid, "Changed");
    pick(w->security().band(0).keyType, "ASCII");
    // Another manager changes the device meanwhile.
    setByOthers("E.1.1.1.1.1", "s", "Elsewhere");
    setByOthers("E.1.1.1.3.1", "i", "44");
    const std::size_t before = agent->requests().size();
    ovtest::click(w->Bt_Refresh);
    EXPECT_EQ(w->radio(0).ssid->text(), "Elsewhere");
    EXPECT_EQ(w->radio(0).channel->currentText(), "44");
    EXPECT_EQ(w->security().band(0).keyType->currentText(), "HEX");
    EXPECT_EQ(w->StatusBar->simpleText(), "");
    EXPECT_EQ(sets().size(), 2u) << "only the other manager's";
    EXPECT_GT(agent->requests().size(), before);
}

} // namespace
