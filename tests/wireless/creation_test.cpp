// "Home \ Wireless" as it opens: what it reads from the device and in which
// order, what each page shows, its controls in the design's order with their
// spoken names and limits, and the channel choices.
#include "WirelessTest.h"

#include "DeviceMib.h"
#include "OvEditBox.h"
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "OvWirelessApMode.h"
#include "OvWirelessSecurity.h"
#include "widgettest/OvAccessibility.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

using namespace wirelesstest;

class WirelessCreation : public WirelessTest {};

TEST_F(WirelessCreation, ReadsItsListsInTheDesignedOrder) {
    auto w = open();
    const std::vector<std::vector<std::string>> expected = {
        oidsOf(mib::T11),
        oidsOf(mib::T4),
        oidsOf(mib::T22, {0, 1, 2, 6, 7, 8, 9}),
        oidsOf(mib::T18),
        oidsOf(mib::T20),
        oidsOf(mib::T52),
        oidsOf(mib::T65),
        oidsOf(mib::T67),
        oidsOf(mib::T12),
        oidsOf(mib::T5),
        oidsOf(mib::T22, {3, 4, 5, 10, 11, 12, 13}),
        oidsOf(mib::T19),
        oidsOf(mib::T21),
        oidsOf(mib::T53),
        oidsOf(mib::T8),
        oidsOf(mib::T2),
    };
    EXPECT_EQ(gets(), expected);
    EXPECT_EQ(expected[5], std::vector<std::string>{expandOid("E.2.8.1.1.1")})
        << "the band is last";
    for (const auto& request : agent->requests())
        EXPECT_NE(request.operation, "GETNEXT") << "the survey table is not read at creation";
    EXPECT_TRUE(sets().empty());
}

TEST_F(WirelessCreation, OpensWithWhatTheDeviceHolds) {
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "Home \\ Wireless");
    EXPECT_EQ(w->PC_Wirless->tabText(0), "IEEE 802.11a");
    EXPECT_EQ(w->PC_Wirless->tabText(1), "IEEE 802.11g");
    EXPECT_EQ(w->PC_Wirless->currentWidget(), w->TS_11a);
    const struct {
        const char* ssid;
        const char* frequency;
        QStringList channels;
        const char* channel;
    } bands[] = {
        {"ORW3300-A", "5.180", {"36", "40", "44", "48"}, "36"},
        {"ORW3300-G", "2.437", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}, "6"}};
    for (int b : {0, 1}) {
        SCOPED_TRACE(b == 0 ? "802.11a" : "802.11g");
        TFM_Wirless::Radio& r = w->radio(b);
        EXPECT_EQ(r.ssid->text(), bands[b].ssid);
        EXPECT_EQ(r.frequency->text(), bands[b].frequency);
        EXPECT_TRUE(r.frequency->isReadOnly());
        EXPECT_EQ(ovtest::itemTexts(r.channel), bands[b].channels);
        EXPECT_EQ(r.channel->currentText(), bands[b].channel);
        EXPECT_EQ(r.broadcast->currentText(), "Enable");
        EXPECT_EQ(r.autoScan->currentText(), "Disable");
        EXPECT_TRUE(r.channel->isEnabled());
        EXPECT_EQ(r.superMode->currentText(), "Disable");
        EXPECT_EQ(r.dynamicChannels->text(), b == 0 ? "56 153 161" : "6");
        OvWirelessApMode::Band& mode = w->apMode().band(b);
        EXPECT_EQ(ovtest::itemTexts(mode.apModeChoice),
                  QStringList({"Access Point", "WDS with AP", "WDS"}));
        EXPECT_EQ(mode.apModeChoice->currentText(), "Access Point");
        EXPECT_EQ(mode.apMode->currentText(), "Access Point");
        OvWirelessSecurity::Band& security = w->security().band(b);
        EXPECT_EQ(security.auth->currentText(), "Open System");
        EXPECT_EQ(security.encryption->currentText(), "Disable");
        EXPECT_EQ(security.validKey->currentText(), "First");
        EXPECT_EQ(security.keyType->currentText(), "HEX");
        EXPECT_EQ(security.keySize->currentText(), "64 Bits");
        EXPECT_EQ(security.radiusPort->text(), "1812");
        EXPECT_EQ(security.groupKey->text(), "1800");
        EXPECT_EQ(security.pskGroupKey->text(), "1800");
    }
    // The shown page is arranged: Access Point hides the AP mode groups, Open
    // System shows the key settings.
    OvWirelessApMode::Band& a = w->apMode().band(0);
    EXPECT_FALSE(a.wdsGroup->isVisible());
    EXPECT_FALSE(a.repeaterGroup->isVisible());
    EXPECT_FALSE(a.surveyGroup->isVisible());
    OvWirelessSecurity::Band& sa = w->security().band(0);
    EXPECT_EQ(sa.authChoice->count(), 10);
    EXPECT_EQ(sa.authChoice->currentText(), "Open System");
    EXPECT_TRUE(sa.keyGroup->isVisible());
    EXPECT_FALSE(sa.radiusGroup->isVisible());
    EXPECT_FALSE(sa.pskGroup->isVisible());
    // Encryption off: no key choice, no key to edit.
    EXPECT_FALSE(sa.keyType->isEnabled());
    EXPECT_FALSE(sa.keySize->isEnabled());
    EXPECT_FALSE(sa.validKey->isEnabled());
    for (QLineEdit* key : sa.keys)
        EXPECT_TRUE(key->isReadOnly());
    EXPECT_EQ(w->StatusBar->simpleText(), "");
    EXPECT_TRUE(sets().empty());
}

TEST_F(WirelessCreation, TheOtherPageIsArrangedWhenItIsShown) {
    auto w = open();
    OvWirelessSecurity::Band& g = w->security().band(1);
    EXPECT_EQ(g.authChoice->count(), 0) << "arranged when shown";
    showPage(*w, 1);
    EXPECT_EQ(w->PC_Wirless->currentWidget(), w->TS_11g);
    EXPECT_EQ(g.authChoice->count(), 10);
    EXPECT_EQ(g.authChoice->currentText(), "Open System");
    EXPECT_TRUE(g.keyGroup->isVisible());
    EXPECT_FALSE(g.pskGroup->isVisible());
    EXPECT_FALSE(w->apMode().band(1).wdsGroup->isVisible());
}

TEST_F(WirelessCreation, NeverVisibleControlsStayHidden) {
    auto w = open();
    for (const char* name : {"Ed_Chana",
                             "Ed_Chang",
                             "Ed_ChanLista",
                             "Ed_ChanListg",
                             "Ed_DynChLista",
                             "Ed_DynChListg",
                             "AD_SuperMode",
                             "AD_SuperModeg",
                             "ED_APModeComboBox",
                             "ED_APModeComboBoxg",
                             "Ed_CRoMAddra0",
                             "Ed_CRoMAddrg0",
                             "SiteScanComboBox",
                             "SiteScanComboBoxg",
                             "Ed_SecAutha",
                             "Ed_SecAuthg",
                             "CiphertypeComboBox",
                             "CiphertypeComboBox_g",
                             "CipherforPSKBox",
                             "CipherforPSKBox_g",
                             "CB_VLANState",
                             "Guest1_ComboBox",
                             "Guest3_ComboBoxg",
                             "GuestEncry2_ComboBox",
                             "GuestEncry3_ComboBox_g",
                             "GuestKeyIndex1_ComboBox",
                             "GuestKeyIndex3_ComboBoxg"}) {
        QWidget* hidden = control<QWidget>(*w, name);
        EXPECT_FALSE(hidden->isVisible()) << name;
        EXPECT_EQ(hidden->accessibleName(), name);
    }
}

// The name a screen reader gives the control: the one it was given, else the
// text of the label whose buddy it is, else its caption. (A group box is a
// label of the controls in it too: it names the group, not the control.)
QString spokenName(QWidget* control) {
    if (!control->accessibleName().isEmpty())
        return control->accessibleName();
    QAccessibleInterface* iface = ovtest::accessible(control);
    for (const auto& [other, relation] : iface->relations(QAccessible::Label))
        if (qobject_cast<QLabel*>(other->object()) != nullptr)
            return other->text(QAccessible::Name);
    return iface->text(QAccessible::Name);
}

TEST_F(WirelessCreation, EveryControlHasASpokenName) {
    auto w = open();
    const std::pair<const char*, const char*> names[] = {
        {"Ed_RaFreqa", "Radio Frequency "},
        {"Ed_SSIDa", "SSID"},
        {"CB_SSIDBcasta", "SSID Broadcast "},
        {"CB_Chana", "Channel"},
        {"CB_AuSc", "Auto Channel Scan"},
        {"CB_AuScg", "Auto Channel Scan"},
        {"ED_APModeTempComboBox", "AP Mode"},
        {"Ed_ReMAddra0", "Remote AP MAC Address 1"},
        {"Ed_ReMAddrg7", "Remote AP MAC Address 8"},
        {"Ed_RoMAddra0", "Root AP MAC Address  "},
        {"Ed_SSID", "SSID"},
        {"Ed_SSID_11g", "SSID"},
        {"SiteServeyListView", "Site Survey"},
        {"SiteScan", "Scan"},
        {"Ed_SecAuthaTemp", "Authentication"},
        {"Ed_SecEncypg", "Encryption "},
        {"Ed_KeyType", "Key Type "},
        {"Ed_KeySize_g", "Key Size"},
        {"Ed_SecValKeya", "Valid Key"},
        {"Ed_Key1a", "First Key "},
        {"Ed_Key2g", "Second Key"},
        {"Ed_Key3a", "Third Key "},
        {"Ed_Key4g", "Fourth Key "},
        {"CiphertypeComBx", "Cipher Type"},
        {"CiphertypeComboBx_g", "Cipher Type"},
        {"GroupKeyEdit", "Group Key Update Interval  "},
        {"RadiusServerEdit_g", "Radius Server "},
        {"RadiusportEdit", "Radius Port (1-65535)"},
        {"RadiusSecretEdit", "Radius Secret"},
        {"CipherforPSKBx_g", "Cipher Type"},
        {"GroupKeyPSKEdit", "Group Key Update Interval"},
        {"PassPhrasePSKEdit_g", "PassPhrase "},
        {"Bt_Apply", "Apply"},
        {"Bt_Refresh", "Refresh"},
        {"Bt_Close", "Close"},
    };
    for (const auto& [name, spoken] : names)
        EXPECT_EQ(spokenName(control<QWidget>(*w, name)), spoken) << name;
}

TEST_F(WirelessCreation, ControlsFollowTheDesignsOrder) {
    auto w = open();
    // The order of the focus chain is the order in which they were made.
    const char* order[] = {"PC_Wirless",
                           "Ed_RaFreqa",
                           "Ed_SSIDa",
                           "CB_SSIDBcasta",
                           "CB_Chana",
                           "CB_AuSc",
                           "ED_APModeTempComboBox",
                           "Ed_ReMAddra0",
                           "Ed_ReMAddra7",
                           "Ed_RoMAddra0",
                           "Ed_SSID",
                           "SiteServeyListView",
                           "SiteScan",
                           "Ed_SecAuthaTemp",
                           "Ed_SecEncypa",
                           "Ed_KeyType",
                           "Ed_KeySize",
                           "Ed_SecValKeya",
                           "Ed_Key1a",
                           "Ed_Key4a",
                           "CiphertypeComBx",
                           "GroupKeyEdit",
                           "RadiusServerEdit",
                           "RadiusportEdit",
                           "RadiusSecretEdit",
                           "CipherforPSKBx",
                           "GroupKeyPSKEdit",
                           "PassPhrasePSKEdit",
                           "Ed_RaFreqg",
                           "PassPhrasePSKEdit_g",
                           "Bt_Apply",
                           "Bt_Refresh",
                           "Bt_Close"};
    std::vector<QWidget*> chain;
    QWidget* start = w->PC_Wirless;
    for (QWidget* c = start; c != nullptr; c = c->nextInFocusChain()) {
        chain.push_back(c);
        if (c->nextInFocusChain() == start)
            break;
    }
    std::size_t at = 0;
    for (const char* name : order) {
        QWidget* wanted = control<QWidget>(*w, name);
        const auto found = std::find(chain.begin() + static_cast<long>(at), chain.end(), wanted);
        ASSERT_NE(found, chain.end()) << name << " comes too early";
        at = static_cast<std::size_t>(found - chain.begin());
    }
}

TEST_F(WirelessCreation, TypingLimitsCountOctets) {
    auto w = open();
    const std::pair<const char*, int> limits[] = {
        {"Ed_SSIDa", 32},           {"Ed_SSIDg", 32},           {"Ed_ReMAddra0", 12},
        {"Ed_ReMAddrg7", 12},       {"Ed_RoMAddra0", 12},       {"Ed_SSID_11g", 32},
        {"GroupKeyEdit", 7},        {"RadiusServerEdit_g", 15}, {"RadiusportEdit", 5},
        {"RadiusSecretEdit_g", 32}, {"GroupKeyPSKEdit", 7},     {"PassPhrasePSKEdit_g", 63},
        {"Ed_Key1a", 10},           {"Ed_Key4g", 10},
    };
    for (const auto& [name, octets] : limits)
        EXPECT_EQ(ov::typingLimit(control<QLineEdit>(*w, name)), octets) << name;
    for (const char* secret : {"Ed_Key1a", "Ed_Key4g", "RadiusSecretEdit", "PassPhrasePSKEdit_g"})
        EXPECT_EQ(control<QLineEdit>(*w, secret)->echoMode(), QLineEdit::Password) << secret;
    // An SSID of 32 octets takes no 33rd.
    QLineEdit* ssid = w->radio(0).ssid;
    retype(ssid, QString(31, 'x') + QChar(0xE9));
    EXPECT_EQ(ssid->text(), QString(31, 'x')) << "two octets do not fit in one";
}

TEST_F(WirelessCreation, DynamicTurboOffersItsOwnChannels) {
    restartWith({"--set", "E.2.3.1.11.1=2", "--set", "E.2.3.1.11.2=2", "--set", "E.1.1.1.3.1=153"});
    auto w = open();
    EXPECT_EQ(ovtest::itemTexts(w->radio(0).channel), QStringList({"56", "153", "161"}));
    EXPECT_EQ(w->radio(0).channel->currentText(), "153");
    EXPECT_EQ(ovtest::itemTexts(w->radio(1).channel), QStringList({"6"}));
    EXPECT_EQ(w->radio(1).channel->currentText(), "6");
}

TEST_F(WirelessCreation, AChannelOffTheListShowsTheFirstChannel) {
    restartWith({"--set", "E.1.1.1.3.1=0", "--set", "E.1.1.1.4.2= 1  6 11"});
    auto w = open();
    EXPECT_EQ(w->radio(0).channel->currentText(), "36");
    EXPECT_EQ(w->radio(0).channel->currentIndex(), 0);
    // Blanks that do not end a channel join the next one.
    EXPECT_EQ(ovtest::itemTexts(w->radio(1).channel), QStringList({" 1", " 6", "11"}));
    EXPECT_EQ(w->radio(1).channel->currentIndex(), 0);
}

TEST_F(WirelessCreation, AWindowThatCannotReachTheDeviceStillOpens) {
    // An address the engine refuses: every list fails as it is first read.
    OvSNMPDevice.agentAddress = "bad:address";
    auto w = std::make_unique<TFM_Wirless>(main, nullptr);
    ovtest::showActive(w.get());
    EXPECT_FALSE(w->StatusBar->simpleText().isEmpty());
    EXPECT_TRUE(w->apMode().band(0).apModeList == nullptr) << "the group ended at its failure";
    EXPECT_TRUE(w->apMode().band(1).apModeList == nullptr);
    EXPECT_TRUE(gets().empty());
    // Nothing built is used: refresh reads what exists, apply sends nothing.
    ovtest::click(w->Bt_Refresh);
    ovtest::click(w->Bt_Apply);
    EXPECT_EQ(w->StatusBar->simpleText(), "Setting error!");
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(agent->requests().empty());
    ovtest::click(w->Bt_Close);
    EXPECT_FALSE(w->isVisible());
}

} // namespace
