// The AP mode part of "Home \ Wireless" against apsim: a WDS band with one
// peer, a device in a repeater mode, the site survey scan, and the automatic
// channel scan answer that arrives after the arrangement.
#include "WirelessTest.h"

#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "OvWirelessApMode.h"
#include "OvWirelessSecurity.h"
#include "widgettest/OvAccessibility.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

using namespace wirelesstest;

const std::string kPeerA1 = "E.2.2.1.2.1.1";
const std::string kSurveyTypeA = "E.2.8.2.1.2.1";

std::vector<std::string> wdsPeerSet(int mode, const std::string& firstPeer) {
    std::vector<std::string> set = apModeSet(1, mode);
    set.push_back(binding(kPeerA1, "x:" + firstPeer));
    for (int slot = 2; slot <= 8; ++slot)
        set.push_back(binding("E.2.2.1.2.1." + std::to_string(slot), "x:000000000000"));
    return set;
}

class WirelessApMode : public WirelessTest {
protected:
    // The GETs and GET-NEXTs that carry an OID below `prefix`.
    long readsBelow(const std::string& prefix) const {
        long count = 0;
        for (const ovtest::ApsimRequest& request : agent->requests())
            if (request.operation != "SET" && !request.oids.empty() &&
                request.oids.front().rfind(expandOid(prefix), 0) == 0)
                ++count;
        return count;
    }
};

TEST_F(WirelessApMode, AWdsBandWithOnePeerSendsPlaceholdersAndWaitsFifty) {
    auto w = open();
    OvWirelessApMode::Band& a = w->apMode().band(0);
    // As a screen reader user: the AP mode, the first peer, Apply.
    ovtest::selectAccessibly(a.apModeChoice, 1);
    EXPECT_EQ(a.apMode->currentText(), "WDS with AP");
    EXPECT_TRUE(a.wdsGroup->isVisible());
    EXPECT_EQ(a.wdsGroup->title(), " WDS with AP ");
    EXPECT_FALSE(a.repeaterGroup->isVisible());
    EXPECT_FALSE(a.surveyGroup->isVisible());
    EXPECT_EQ(w->radio(0).autoScan->currentText(), "Disable");
    EXPECT_FALSE(w->radio(0).autoScan->isEnabled());
    EXPECT_TRUE(w->radio(0).channel->isEnabled());
    EXPECT_EQ(w->security().band(0).authChoice->count(), 4);
    for (QLineEdit* peer : a.remote)
        EXPECT_FALSE(peer->isReadOnly());
    QAccessibleInterface* first = ovtest::accessibleByName(w->TS_11a, "Remote AP MAC Address 1");
    ASSERT_NE(first, nullptr);
    first->setText(QAccessible::Value, "001122AABBCC");
    EXPECT_EQ(a.remote[0]->text(), "001122AABBCC");
    ovtest::pressAccessibly(w->Bt_Apply);

    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    const std::vector<std::vector<std::string>> expected = {
        ssidSet(),        wdsPeerSet(2, "001122AABBCC"),
        autoScanSet(1),   openSystemSet(1),
        apModeSet(2, 1),  autoScanSet(2),
        openSystemSet(2), guestSet(),
        {kRestartSet}};
    EXPECT_EQ(sets(), expected);
    EXPECT_EQ(waits.countdowns(), std::vector<int>{50});
    EXPECT_EQ(w->StatusBar->simpleText(), "Setting Success!");
    // The placeholders went out and show empty again.
    EXPECT_EQ(a.remote[0]->text(), "001122AABBCC");
    for (int slot = 1; slot < 8; ++slot)
        EXPECT_EQ(a.remote[slot]->text(), "") << "slot " << slot;
    EXPECT_EQ(state("E.2.1.1.1.1"), "2");
    EXPECT_EQ(state(kPeerA1), "001122AABBCC");
    EXPECT_EQ(state("E.2.2.1.2.1.8"), "000000000000");
}

TEST_F(WirelessApMode, AChangedModeIsArrangedOnItsPage) {
    auto w = open();
    showPage(*w, 1);
    OvWirelessApMode::Band& g = w->apMode().band(1);
    const struct {
        const char* choice;
        bool wdsShown;
        const char* caption;
        int authentications;
        bool autoScanEnabled;
    } cases[] = {
        {"WDS", true, " WDS without AP ", 4, false},
        {"WDS with AP", true, " WDS with AP ", 4, false},
        {"Access Point", false, nullptr, 10, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.choice);
        pick(g.apModeChoice, c.choice);
        EXPECT_EQ(g.apMode->currentText(), c.choice);
        EXPECT_EQ(g.wdsGroup->isVisible(), c.wdsShown);
        if (c.caption != nullptr) {
            EXPECT_EQ(g.wdsGroup->title(), c.caption);
        }
        EXPECT_FALSE(g.repeaterGroup->isVisible());
        EXPECT_FALSE(g.surveyGroup->isVisible());
        EXPECT_EQ(w->security().band(1).authChoice->count(), c.authentications);
        EXPECT_EQ(w->radio(1).autoScan->isEnabled(), c.autoScanEnabled);
        EXPECT_TRUE(w->radio(1).broadcast->isEnabled());
        for (QLineEdit* peer : g.remote)
            EXPECT_EQ(peer->isReadOnly(), !c.wdsShown);
    }
    EXPECT_TRUE(sets().empty());
}

TEST_F(WirelessApMode, ARepeaterDeviceShowsNoChoiceReadsItsSurveyAndSendsNoSsid) {
    restartWith({"--set", "E.2.1.1.1.1=4"});
    auto w = open();
    OvWirelessApMode::Band& a = w->apMode().band(0);
    EXPECT_EQ(a.apModeChoice->currentIndex(), -1);
    EXPECT_EQ(a.apModeChoice->currentText(), "");
    EXPECT_TRUE(a.repeaterGroup->isVisible());
    EXPECT_TRUE(a.surveyGroup->isVisible());
    EXPECT_FALSE(a.root->isReadOnly());
    EXPECT_TRUE(a.remote[0]->isReadOnly());
    EXPECT_TRUE(a.clientSsid->isReadOnly());
    EXPECT_EQ(readsBelow(kSurveyTypeA), 0) << "the survey is not read at creation";

    ovtest::click(w->Bt_Refresh);
    EXPECT_EQ(readsBelow(kSurveyTypeA), 4) << "three rows and the end";
    ASSERT_EQ(a.survey->rowCount(), 3);
    EXPECT_TRUE(a.survey->isColumnHidden(0)) << "the Index column";
    // A row clicked gives the root address and the client SSID.
    const QRect row = a.survey->visualItemRect(a.survey->item(1, 4));
    QTest::mouseClick(a.survey->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    EXPECT_EQ(a.root->text().toStdString(), state("E.2.8.2.1.5.1.2")) << "the second row's BSSID";
    EXPECT_EQ(a.clientSsid->text(), "Neighbour-a-2");

    ovtest::click(w->Bt_Apply);
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    std::vector<std::string> ssids = ssidSet();
    ssids.erase(ssids.begin()); // 802.11a's SSID stays
    const std::vector<std::vector<std::string>> expected = {
        ssids,          apModeSet(1, 4),  autoScanSet(1), openSystemSet(1), apModeSet(2, 1),
        autoScanSet(2), openSystemSet(2), guestSet(),     {kRestartSet}};
    EXPECT_EQ(sets(), expected);
    EXPECT_EQ(waits.countdowns(), std::vector<int>{40});
    ASSERT_TRUE(agent->waitForRestart(1));

    // What the apply left out is not read again either; the survey is.
    const long surveyReads = readsBelow(kSurveyTypeA);
    const std::size_t before = gets().size();
    ovtest::click(w->Bt_Refresh);
    const auto all = gets();
    bool ssidListRead = false;
    for (std::size_t i = before; i < all.size(); ++i) {
        const auto& oids = all[i];
        if (std::find(oids.begin(), oids.end(), expandOid("E.1.1.1.2.1")) == oids.end())
            continue;
        ssidListRead = true;
        EXPECT_EQ(std::find(oids.begin(), oids.end(), expandOid("E.1.1.1.1.1")), oids.end())
            << "802.11a's SSID was read";
        EXPECT_NE(std::find(oids.begin(), oids.end(), expandOid("E.1.1.1.1.2")), oids.end());
    }
    EXPECT_TRUE(ssidListRead);
    EXPECT_GT(readsBelow(kSurveyTypeA), surveyReads);
}

TEST_F(WirelessApMode, AScanRefillsTheSurveyAndHoldsTheWindowOpenMeanwhile) {
    restartWith({"--set", "E.2.1.1.1.1=4"});
    ov::setTimeScale(0.1); // ticks far enough apart to look between them
    auto w = open();
    OvWirelessApMode::Band& a = w->apMode().band(0);
    ovtest::click(a.scan);
    EXPECT_FALSE(a.scan->isEnabled());
    EXPECT_FALSE(w->apMode().ScanIdle);
    EXPECT_EQ(w->apMode().ScanBand, 0);
    ASSERT_TRUE(ovtest::waitFor([&] { return !sets().empty(); }));
    const std::vector<std::vector<std::string>> trigger = {{binding("E.2.8.1.1.1", "i:1")}};
    EXPECT_EQ(sets(), trigger) << "the band is the last arc";
    // No way out while the table read is pending.
    ovtest::click(w->Bt_Close);
    EXPECT_TRUE(w->isVisible());
    ovtest::pressKey(Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible());
    w->close();
    EXPECT_TRUE(w->isVisible());

    ASSERT_TRUE(ovtest::waitFor([&] { return w->apMode().ScanIdle; }));
    EXPECT_TRUE(a.scan->isEnabled());
    EXPECT_EQ(a.survey->rowCount(), 4) << "the scan found one neighbour more";
    EXPECT_EQ(readsBelow(kSurveyTypeA), 5);
    EXPECT_TRUE(a.survey->isColumnHidden(0));
    ovtest::click(w->Bt_Close);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(WirelessApMode, ASurveyReadInProgressTakesNoSecondOperation) {
    // Each step of the walk is slow; the list view lets clicks through between rows.
    restartWith({"--set", "E.2.1.1.1.1=4", "--delay-var", kSurveyTypeA + "=150"});
    auto w = open();
    const std::size_t before = gets().size();
    bool clicked = false;
    QStringList said;
    QTimer::singleShot(250, w.get(), [&] {
        ovtest::click(w->Bt_Refresh);
        said << w->StatusBar->simpleText();
        w->StatusBar->setSimpleText({});
        ovtest::click(w->Bt_Apply);
        said << w->StatusBar->simpleText();
        ovtest::click(w->apMode().band(0).scan);
        ovtest::click(w->Bt_Close);
        clicked = true;
    });
    ovtest::click(w->Bt_Refresh);
    ASSERT_TRUE(clicked) << "the clicks came after the read";
    const QString pending =
        QStringLiteral("A site survey is under way: try again when it has ended.");
    EXPECT_EQ(said, (QStringList{pending, pending})) << "the refused clicks say why";
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(sets().empty());
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(readsBelow(kSurveyTypeA), 4) << "one walk, not two";
    long ssidReads = 0;
    const auto all = gets();
    for (std::size_t i = before; i < all.size(); ++i)
        if (all[i].front() == expandOid("E.1.1.1.1.1"))
            ++ssidReads;
    EXPECT_EQ(ssidReads, 1);
    ovtest::click(w->Bt_Close);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(WirelessApMode, ALateAutoScanAnswerLeavesTheArrangement) {
    // 802.11a in WDS, both bands scanning, the answers late.
    restartWith({"--set", "E.2.1.1.1.1=3", "--set", "E.2.3.1.14.1=1", "--set", "E.2.3.1.14.2=1",
                 "--delay-var", "E.2.3.1.14.1=300", "--delay-var", "E.2.3.1.14.2=300"});
    auto w = open();
    EXPECT_EQ(w->radio(0).autoScan->currentText(), "Disable") << "WDS scans no channels";
    EXPECT_FALSE(w->radio(0).autoScan->isEnabled());
    EXPECT_TRUE(w->radio(0).channel->isEnabled());
    EXPECT_EQ(w->radio(1).autoScan->currentText(), "Enable");
    EXPECT_FALSE(w->radio(1).channel->isEnabled()) << "a scanning band has no channel to pick";
    showPage(*w, 1);
    pick(w->radio(1).autoScan, "Disable");
    EXPECT_TRUE(w->radio(1).channel->isEnabled());
}

} // namespace
