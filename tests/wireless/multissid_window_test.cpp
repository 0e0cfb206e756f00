// "Advanced \ Multi-SSID" against apsim: what it reads, the guest capability
// and its warnings, the enable, VLAN and key rules, the checks in their order
// with their exact texts, the key preparation, and the chain of SETs.
#include "WindowTest.h"

#include "DeviceMib.h"
#include "OvStatusBar.h"
#include "TFM_MultiSSIDForm.h"
#include "widgettest/OvAccessibility.h"

#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

using ovtest::binding;
using ovtest::expandOid;

constexpr int kA = 0, kG = 1;
// Guest list columns (E.2.9.2.1.<column>.<band>.<guest>).
constexpr int kState = 2, kSsid = 3, kAuth = 4, kKeyIndex = 6, kKey = 7, kVlan = 9;

std::string guestOid(int band, int guest, int column) {
    return "E.2.9.2.1." + std::to_string(column) + "." + std::to_string(band + 1) + "." +
           std::to_string(guest);
}
std::string guestBinding(int band, int guest, int column, const std::string& value) {
    return binding(guestOid(band, guest, column), value);
}
std::string primaryVlan(int band) {
    return "E.2.9.1.1.3." + std::to_string(band + 1);
}
const std::string kVlanState = "E.2.9.3.1.1.0";

using Sets = std::vector<std::vector<std::string>>;

// The SET of a guest that is on: its state, SSID and security, then `more`.
std::vector<std::string> guestOnSet(int band, int guest, const std::string& ssid, int auth,
                                    const std::vector<std::string>& more = {}) {
    std::vector<std::string> set = {guestBinding(band, guest, kState, "i:1"),
                                    guestBinding(band, guest, kSsid, "s:" + ssid),
                                    guestBinding(band, guest, kAuth, "i:" + std::to_string(auth))};
    set.insert(set.end(), more.begin(), more.end());
    return set;
}

// Every guest of a band sent as off (state 0 only).
void addGuestsOff(Sets& sets, int band, int from = 1) {
    for (int n = from; n <= 3; ++n)
        sets.push_back({guestBinding(band, n, kState, "i:0")});
}

class MultiSsidWindow : public ovtest::WindowTest {
protected:
    std::unique_ptr<TFM_MultiSSIDForm> open() {
        auto w = std::make_unique<TFM_MultiSSIDForm>(main, nullptr);
        ovtest::showActive(w.get());
        return w;
    }
    // apsim options that switch a guest on with an SSID and a security item.
    static std::vector<std::string> guestOn(int band, int guest, const std::string& ssid,
                                            int auth) {
        return {"--set", guestOid(band, guest, kState) + "=1",
                "--set", guestOid(band, guest, kSsid) + "=" + ssid,
                "--set", guestOid(band, guest, kAuth) + "=" + std::to_string(auth)};
    }
    static std::vector<std::string> join(std::vector<std::string> a,
                                         const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
};

TEST_F(MultiSsidWindow, ReadsItsTenListsInOrder) {
    auto w = open();
    std::vector<std::string> expected{expandOid(kVlanState)};
    const auto all = gets();
    ASSERT_EQ(all.size(), 10u);
    EXPECT_EQ(all[0], expected);
    const OvSNMPVarRow* tables[] = {mib::T57, mib::T59, mib::T61, mib::T63, mib::T58,
                                    mib::T60, mib::T62, mib::T64, mib::T66};
    for (std::size_t i = 0; i < std::size(tables); ++i) {
        std::vector<std::string> oids;
        for (const OvSNMPVarRow* row = tables[i]; row->oid != nullptr; ++row)
            oids.push_back(row->oid);
        EXPECT_EQ(all[i + 1], oids) << "list " << i + 1;
    }
    EXPECT_EQ(w->windowTitle(), "Advanced \\ Multi-SSID");
    EXPECT_EQ(w->PageControl1->tabText(kA), "IEEE 802.11a");
    EXPECT_EQ(w->PageControl1->tabText(kG), "IEEE 802.11g");
    EXPECT_TRUE(messages().empty()) << "both bands are access points";
}

TEST_F(MultiSsidWindow, OpensWithEveryGuestOffAndTheirControlsDisabled) {
    auto w = open();
    for (int b : {kA, kG}) {
        SCOPED_TRACE(b == kA ? "802.11a" : "802.11g");
        TFM_MultiSSIDForm::Band& d = w->band(b);
        EXPECT_EQ(d.masterSsid->text(), b == kA ? "ORW3300-A" : "ORW3300-G");
        EXPECT_EQ(d.security->currentText(), "Open System");
        EXPECT_FALSE(d.masterSsid->isEnabled());
        EXPECT_FALSE(d.security->isEnabled());
        EXPECT_FALSE(d.masterKey->isEnabled());
        EXPECT_FALSE(d.vlanState->isChecked());
        EXPECT_FALSE(d.vlanId->isEnabled()) << "VLAN off";
        for (int n = 1; n <= 3; ++n) {
            TFM_MultiSSIDForm::Guest& g = w->guest(b, n);
            EXPECT_TRUE(g.enable->isEnabled()) << n;
            EXPECT_FALSE(g.enable->isChecked()) << n;
            for (QWidget* off : std::initializer_list<QWidget*>{
                     g.ssid, g.security, g.keyIndex, g.keyType, g.keySize, g.key, g.vlanId})
                EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
            EXPECT_EQ(g.keyType->currentText(), "HEX");
            EXPECT_EQ(g.keySize->currentText(), "64 Bits");
            EXPECT_EQ(g.key->echoMode(), QLineEdit::Password);
        }
    }
    EXPECT_EQ(w->guest(kA, 2).enable->text(), "Enable Guest SSID2 ");
}

TEST_F(MultiSsidWindow, EveryControlIsNamedAsItsLabelOrCaptionSays) {
    auto w = open();
    const std::pair<const char*, const char*> names[] = {
        {"VLan_State", "Enable VLAN State "},
        {"MasterSSIDEdit", "Master SSID"},
        {"SecurityBox", "Security "},
        {"DefaultKey", "Master Key"},
        {"GroupIDBox", "VLAN Group ID"},
        {"Guest1CheckBox", "Enable Guest SSID1"},
        {"GuestSSIDEdit1", "SSID"},
        {"GuestSecurity1", "Security "},
        {"GuestKey1", "Key Index"},
        {"GuestKeyType1", "Key Type"},
        {"GuestKeySize1", "Key Size"},
        {"GuestKeyvalueEdit1", "Key Value"},
        {"GuestGroupID1", "VLAN Group ID"},
        {"Guest3CheckBox_g", "Enable Guest SSID3 "},
        {"GuestSSIDEdit3_g", "SSID"},
        {"VLan_State_g", "Enable VLAN State "},
        {"Bt_Apply", "Apply"},
        {"Bt_Refresh", "Refresh"},
        {"Bt_Close", "Close"}};
    for (const auto& [name, spoken] : names) {
        QWidget* control = ovtest::find<QWidget>(w.get(), QString::fromLatin1(name));
        EXPECT_EQ(ovtest::spokenName(control), QString::fromLatin1(spoken)) << name;
    }
}

TEST_F(MultiSsidWindow, AWdsBandIsWarnedAboutAndSendsItsGuestsOff) {
    restartWith(join({"--set", "E.2.1.1.1.2=3"}, guestOn(kG, 1, "Cafe", 2)));
    auto w = open();
    EXPECT_EQ(messages(), std::vector<QString>{QStringLiteral(
                              "Warning|Please modify IEEE802.11g AP Mode to \"Access point\"!")});
    for (int n = 1; n <= 3; ++n)
        EXPECT_FALSE(w->guest(kG, n).enable->isEnabled());
    TFM_MultiSSIDForm::Guest& a1 = w->guest(kA, 1);
    ovtest::focus(a1.enable);
    ovtest::pressKey(Qt::Key_Space);
    EXPECT_TRUE(a1.ssid->isEnabled());
    ovtest::retype(a1.ssid, "Lobby");
    ovtest::click(w->Bt_Apply);

    Sets expected = {{binding(kVlanState, "i:0")}, {}};
    expected.push_back(guestOnSet(kA, 1, "Lobby", 1));
    addGuestsOff(expected, kA, 2);
    expected.push_back({}); // the 802.11g primary: nothing without VLAN
    addGuestsOff(expected, kG);
    expected.push_back({binding(ovtest::kRestart, "i:1")});
    EXPECT_EQ(sets(), expected);
    EXPECT_FALSE(w->guest(kG, 1).enable->isChecked());
    EXPECT_EQ(state(guestOid(kG, 1, kState)), "0");
    EXPECT_EQ(state(guestOid(kA, 1, kSsid)), "Lobby");
    ASSERT_EQ(waits.shown.size(), 1u);
    EXPECT_EQ(waits.shown[0].countdown, 40);
    EXPECT_EQ(w->StatusBar1->simpleText(), "Set Success!");
}

TEST_F(MultiSsidWindow, APrimaryWithWpaLeavesItsGuestsNoSecurity) {
    restartWith(join({"--set", "E.2.9.1.1.2.1=6"}, guestOn(kA, 1, "Lobby", 3)));
    auto w = open();
    TFM_MultiSSIDForm::Guest& g = w->guest(kA, 1);
    EXPECT_EQ(w->band(kA).security->currentText(), "WPA-PSK");
    EXPECT_EQ(g.security->currentText(), "None");
    EXPECT_FALSE(g.security->isEnabled());
    EXPECT_FALSE(g.key->isEnabled());
    ovtest::click(w->Bt_Apply);
    const auto all = sets();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[2], guestOnSet(kA, 1, "Lobby", 1));
}

TEST_F(MultiSsidWindow, KeysAreCheckedForLengthAndSentAsHex) {
    const struct {
        const char* what;
        int keyType, keySize;
        const char* typed;
        const char* refusal; // nullptr: sent
        const char* sent;
    } cases[] = {
        {"HEX, 25 digits at 128 bits", 0, 1, "0123456789abcdef012345678",
         "Warning|The Length of Guest SSID1's key in IEEE802.11a must be 26!", nullptr},
        {"ASCII, 4 characters at 64 bits", 1, 0, "abcd",
         "Warning|The Length of Guest SSID1's key in IEEE802.11a must be 5!", nullptr},
        {"ASCII, 16 characters wanted at 152 bits", 1, 2, "abc",
         "Warning|The Lengh of Guest SSID1's key in IEEE802.11a must be 16!", nullptr},
        {"HEX with a letter that is no digit", 0, 0, "01234567zz",
         "orw3300ap|Please input  Hexadecimal digits!", nullptr},
        {"ASCII, 5 characters at 64 bits", 1, 0, "Pass1", nullptr, "s:5061737331"},
        {"HEX, 10 digits", 0, 0, "00AABBCCDD", nullptr, "s:00AABBCCDD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restartWith(guestOn(kA, 1, "Lobby", 3));
        auto w = open();
        TFM_MultiSSIDForm::Guest& g = w->guest(kA, 1);
        ASSERT_TRUE(g.key->isEnabled());
        ovtest::pickItem(g.keyType, c.keyType);
        ovtest::pickItem(g.keySize, c.keySize);
        ovtest::retype(g.key, QString::fromLatin1(c.typed));
        dialogs.clear();
        ovtest::click(w->Bt_Apply);
        if (c.refusal != nullptr) {
            ASSERT_EQ(messages().size(), 1u);
            // The hex check's box carries the executable's name, whatever it is.
            const QString shown = messages()[0];
            const QString wanted = QString::fromLatin1(c.refusal);
            EXPECT_EQ(shown.section('|', 1), wanted.section('|', 1));
            if (!wanted.startsWith("orw3300ap|")) {
                EXPECT_EQ(shown.section('|', 0, 0), wanted.section('|', 0, 0));
            }
            EXPECT_TRUE(sets().empty());
            continue;
        }
        EXPECT_TRUE(messages().empty());
        const auto all = sets();
        ASSERT_GE(all.size(), 3u);
        EXPECT_EQ(all[2], guestOnSet(kA, 1, "Lobby", 3,
                                     {guestBinding(kA, 1, kKeyIndex, "i:1"),
                                      guestBinding(kA, 1, kKey, c.sent)}));
        if (c.keyType == 1) {
            EXPECT_EQ(g.key->text(), QString::fromLatin1(c.sent + 2).toLower())
                << "the box shows what went out";
        }
    }
}

TEST_F(MultiSsidWindow, AKeyShownAsStarsIsTheDevicesAndNeverSent) {
    for (int keyType : {0, 1}) {
        SCOPED_TRACE(keyType == 0 ? "HEX" : "ASCII");
        restartWith(join({"--mask-keys", "--set", guestOid(kA, 1, kKey) + "=0123456789"},
                         guestOn(kA, 1, "Lobby", 3)));
        auto w = open();
        TFM_MultiSSIDForm::Guest& g = w->guest(kA, 1);
        EXPECT_EQ(g.key->text(), "**********");
        EXPECT_EQ(g.keySize->currentText(), "64 Bits");
        if (keyType == 1) { // five stars for an ASCII key of 64 bits
            ovtest::pickItem(g.keyType, 1);
            ovtest::retype(g.key, "*****");
        }
        ovtest::click(w->Bt_Apply);
        EXPECT_TRUE(messages().empty());
        const auto all = sets();
        ASSERT_GE(all.size(), 3u);
        EXPECT_EQ(all[2], guestOnSet(kA, 1, "Lobby", 3, {guestBinding(kA, 1, kKeyIndex, "i:1")}))
            << "no key";
        EXPECT_EQ(ovtest::stateText(*agent, guestOid(kA, 1, kKey)), "0123456789");
        EXPECT_EQ(waits.shown.size(), 1u) << "the apply went on";
        waits.shown.clear();
    }
}

TEST_F(MultiSsidWindow, WithVlanOnEverySsidsGroupIdGoesOut) {
    restartWith({"--set", kVlanState + "=1", "--set", primaryVlan(kG) + "=20"});
    auto w = open();
    EXPECT_TRUE(w->band(kG).vlanState->isChecked()) << "the 802.11g box mirrors";
    EXPECT_TRUE(w->band(kA).vlanId->isEnabled());
    EXPECT_TRUE(w->guest(kA, 2).vlanId->isEnabled());
    ovtest::click(w->Bt_Apply);
    Sets expected = {{binding(kVlanState, "i:1")}};
    for (int b : {kA, kG}) {
        expected.push_back({binding(primaryVlan(b), b == kA ? "i:1" : "i:20")});
        for (int n = 1; n <= 3; ++n)
            expected.push_back(
                {guestBinding(b, n, kState, "i:0"), guestBinding(b, n, kVlan, "i:1")});
    }
    expected.push_back({binding(ovtest::kRestart, "i:1")});
    EXPECT_EQ(sets(), expected);
}

TEST_F(MultiSsidWindow, EitherTabsVlanBoxSwitchesTheVlan) {
    auto w = open();
    ovtest::clickTab(w->PageControl1, kG);
    // As a screen reader would tick it.
    ovtest::doAccessibleAction(w->band(kG).vlanState, QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(w->band(kA).vlanState->isChecked());
    EXPECT_TRUE(w->band(kG).vlanId->isEnabled());
    EXPECT_TRUE(w->band(kA).vlanId->isEnabled());
    ovtest::click(w->Bt_Apply);
    ASSERT_FALSE(sets().empty());
    EXPECT_EQ(sets().front(), std::vector<std::string>{binding(kVlanState, "i:1")});
    EXPECT_EQ(state(kVlanState), "1");
}

TEST_F(MultiSsidWindow, EmptyVlanIdsAreRefusedInOrder) {
    const struct {
        int band;
        const char* box;
        const char* message;
    } cases[] = {
        {kA, "GroupIDBox", "The 11a master SSID's ID is invalid.The range of ID is 1 to 4095."},
        {kA, "GuestGroupID1", "The 11a guest SSID1's ID is invalid.The range of ID is 1 to 4095."},
        {kA, "GuestGroupID3", "The 11a guest SSID3's ID is invalid.The range of ID is 1 to 4095."},
        {kG, "GroupIDBox_g", "The 11g master SSID's ID is invalid.The range of ID is 1 to 4095."},
        {kG, "GuestGroupID2_g",
         "The 11g guest SSID2's ID is invalid.The range of ID is 1 to 4095."},
    };
    restartWith({"--set", kVlanState + "=1"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        auto w = open();
        auto* box = ovtest::find<QLineEdit>(w.get(), QString::fromLatin1(c.box));
        ovtest::setByCode(box, QString());
        ovtest::clickTab(w->PageControl1, 1 - c.band);
        dialogs.clear();
        ovtest::click(w->Bt_Apply);
        EXPECT_EQ(messages(), std::vector<QString>{QStringLiteral("Warning|") + c.message});
        EXPECT_EQ(w->PageControl1->currentIndex(), c.band) << "its tab is shown";
        EXPECT_EQ(QApplication::focusWidget(), box);
    }
    EXPECT_TRUE(sets().empty());
}

TEST_F(MultiSsidWindow, GuestSsidsAreCheckedBeforeAnythingIsSent) {
    const struct {
        const char* typed;
        const char* message;
    } cases[] = {
        {"", "Warning|Please Input SSID in Guest SSID1."},
        {" Lobby", "Error|The first character can't be blank in Guest SSID1."},
        {"Lob\"by", "Warning|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        restartWith(guestOn(kA, 1, "Lobby", 1));
        auto w = open();
        ovtest::setByCode(w->guest(kA, 1).ssid, QString::fromLatin1(c.typed));
        dialogs.clear();
        ovtest::click(w->Bt_Apply);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].startsWith(QString::fromLatin1(c.message)))
            << messages()[0].toStdString();
        EXPECT_EQ(QApplication::focusWidget(), w->guest(kA, 1).ssid);
        EXPECT_TRUE(sets().empty());
    }
}

TEST_F(MultiSsidWindow, KeyIndexesMayNotRepeatTheMastersOrAnotherGuests) {
    const std::vector<std::string> masterKeySecond = {"--set", "E.2.5.1.1.3.1=2"};
    const std::vector<std::string> guest2KeySecond = {"--set", guestOid(kA, 2, kKeyIndex) + "=2"};
    const struct {
        const char* what;
        std::vector<std::string> options;
        const char* message; // nullptr: accepted
    } cases[] = {
        {"the master's key while its encryption is on",
         join(masterKeySecond, {"--set", "E.2.5.1.1.2.1=1"}),
         "Warning|The 11a Guest SSID1's key index is same as master SSID"},
        {"the master's key while its encryption is off", masterKeySecond, nullptr},
        {"another secured guest's", join(guestOn(kA, 2, "Hall", 2), guest2KeySecond),
         "Warning|The 11a Guest SSID1's key index is same as Guest SSID2"},
        {"the key index of a guest that is off", guest2KeySecond, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restartWith(
            join(join(guestOn(kA, 1, "Lobby", 2), {"--set", guestOid(kA, 1, kKey) + "=0123456789"}),
                 c.options));
        auto w = open();
        TFM_MultiSSIDForm::Guest& g = w->guest(kA, 1);
        dialogs.clear();
        ovtest::pickItem(g.keyIndex, 1); // "Second"
        if (c.message != nullptr) {
            EXPECT_EQ(messages(), std::vector<QString>{QString::fromLatin1(c.message)})
                << "checked on the change";
            EXPECT_EQ(QApplication::focusWidget(), g.keyIndex);
        } else {
            EXPECT_TRUE(messages().empty());
        }
        dialogs.clear();
        ovtest::click(w->Bt_Apply);
        if (c.message != nullptr) {
            EXPECT_EQ(messages(), std::vector<QString>{QString::fromLatin1(c.message)})
                << "and again on apply";
            EXPECT_TRUE(sets().empty());
        } else {
            EXPECT_TRUE(messages().empty());
            EXPECT_EQ(waits.shown.size(), 1u);
            waits.shown.clear();
        }
    }
}

TEST_F(MultiSsidWindow, LeavingAGuestsBoxesChecksTheSsids) {
    restartWith(join(guestOn(kA, 1, "Lobby", 1), guestOn(kA, 2, "Hall", 1)));
    auto w = open();
    ovtest::retype(w->guest(kA, 1).ssid, "Hall");
    ovtest::pressKey(Qt::Key_Tab);
    EXPECT_EQ(messages(), std::vector<QString>{QStringLiteral(
                              "Warning|The 11a Guest SSID1's SSID is same as SSID2's SSID")});
    EXPECT_EQ(QApplication::focusWidget(), w->guest(kA, 1).ssid);
    ovtest::retype(w->guest(kA, 1).ssid, "Lobby");
    ovtest::pressKey(Qt::Key_Tab);
    dialogs.clear();
    // The third guest's VLAN ID checks the second guest's SSID.
    ovtest::setByCode(w->guest(kA, 2).ssid, QStringLiteral("Lobby"));
    ovtest::focus(w->band(kA).vlanState);
    ovtest::pressKey(Qt::Key_Space);
    ovtest::focus(w->guest(kA, 3).vlanId);
    ovtest::pressKey(Qt::Key_Tab);
    EXPECT_EQ(messages(), std::vector<QString>{QStringLiteral(
                              "Warning|The 11a Guest SSID2's SSID is same as SSID1's SSID")});
    EXPECT_EQ(QApplication::focusWidget(), w->guest(kA, 2).ssid);
}

TEST_F(MultiSsidWindow, AFailingSetEndsTheChainWithoutARestart) {
    restartWith({"--fail-set", guestOid(kG, 1, kState) + "=genErr"});
    auto w = open();
    ovtest::click(w->Bt_Apply);
    Sets expected = {{binding(kVlanState, "i:0")}, {}};
    addGuestsOff(expected, kA);
    expected.push_back({});
    expected.push_back({guestBinding(kG, 1, kState, "i:0")});
    EXPECT_EQ(sets(), expected) << "nothing after the failure";
    EXPECT_EQ(agent->requests().back().outcome, "failed:5");
    EXPECT_EQ(w->StatusBar1->simpleText(), "Set Error.");
    EXPECT_TRUE(w->StatusBar1->simplePanel());
    EXPECT_TRUE(waits.shown.empty());
}

TEST_F(MultiSsidWindow, AFailedVlanReadShowsInPanelZero) {
    restartWith({"--fail", kVlanState + "=genErr"});
    auto w = open();
    EXPECT_TRUE(w->StatusBar1->panel(0)->text().startsWith("Get: "))
        << w->StatusBar1->panel(0)->text().toStdString();
    EXPECT_FALSE(w->StatusBar1->simplePanel());
}

} // namespace
