// "Status \ Client Info" against apsim: the shown band's trigger alone and
// before each walk of the client table, the stations of the shown band
// numbered from 1 (free slots left out), both counts, the page switch, the
// periodic refresh with one walk at a time, the firmware check, and the close
// rule, also when nothing can be sent.
#include "StatusTest.h"

#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "TClientInformation.h"
#include "widgettest/OvAccessibility.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

using namespace statustest;

const std::string kTriggerA = "SET E.4.5.1.1.1.1=i:1";
const std::string kTriggerG = "SET E.4.5.1.1.1.2=i:1";
const QString kOldFirmware =
    QStringLiteral("Warning|Maybe this firmware is so old that client info function is not "
                   "supported.");

QStringList row(const OvListView* list, int r) {
    QStringList shown{list->caption(r)};
    for (int i = 0; i < 5; ++i)
        shown << list->subItem(r, i);
    return shown;
}

QStringList clientRows(const OvListView* list) {
    QStringList all;
    for (int r = 0; r < list->itemCount(); ++r)
        all << row(list, r).join('|');
    return all;
}

class ClientWindow : public StatusTest {
protected:
    std::vector<std::string> agentOptions() const override {
        return {"--rows", "clients-a=2", "--rows", "clients-g=1"};
    }
    // The window's timers follow the time scale; at 1 neither ticks in a test.
    std::unique_ptr<TClientInformation> make(double timeScale = 1.0) {
        ov::setTimeScale(timeScale);
        return std::make_unique<TClientInformation>(nullptr);
    }
    std::unique_ptr<TClientInformation> open(double timeScale = 1.0) {
        auto w = make(timeScale);
        ovtest::showActive(w.get());
        EXPECT_TRUE(ovtest::waitFor([&] { return !w->refreshing(); }));
        return w;
    }
    static void clickTab(QTabWidget* pages, int index) {
        QTabBar* bar = pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
    }
    // The requests from `from` on: one line per trigger, "walk N" for a run
    // of N GET-NEXTs.
    std::vector<std::string> cycles(std::size_t from = 0) const {
        std::vector<std::string> seen;
        int walked = 0;
        for (const std::string& line : requestLines(from)) {
            if (line.rfind("GETNEXT ", 0) == 0) {
                ++walked;
                continue;
            }
            if (walked > 0)
                seen.push_back("walk " + std::to_string(walked));
            walked = 0;
            seen.push_back(line);
        }
        if (walked > 0)
            seen.push_back("walk " + std::to_string(walked));
        return seen;
    }
};

TEST_F(ClientWindow, WritesTheShownBandsTriggerAloneThenWalksBothBands) {
    const auto w = open();
    EXPECT_EQ(w->windowTitle(), "Status \\ Client Info");
    // Three stations: a GET-NEXT for each, one more to find the table's end.
    EXPECT_EQ(cycles(), (std::vector<std::string>{kTriggerA, "walk 4"}));
    EXPECT_EQ(clientRows(w->User_ListView),
              (QStringList{"1|000C41410001|A|WPA2-PSK|27|Off", "2|000C41410002|A|WPA-PSK|34|Off"}));
    EXPECT_EQ(w->User_ListView_g->itemCount(), 0);
    EXPECT_EQ(w->NumOfRecord->text(), "2");
    EXPECT_EQ(w->NumOfRecord_g->text(), "0");
    EXPECT_EQ(w->StatusBar->panel(0)->text(), ovtest::kStatusOk);
    EXPECT_EQ(w->ClientListView->itemCount(), 3) << "the raw rows of both bands";
    EXPECT_FALSE(w->ClientListView->isVisible());
    QStringList columns;
    for (int c = 0; c < w->User_ListView->columnCount(); ++c)
        columns << w->User_ListView->horizontalHeaderItem(c)->text();
    EXPECT_EQ(columns, (QStringList{"Index", "Client MAC Address", "Band", "Authentication",
                                    "RSSI (%)", "Power Saving Mode"}));
}

TEST_F(ClientWindow, LeavesFreeSlotsOutOfTheListAndTheCount) {
    restartAgent({"--rows", "clients-a=3", "--rows", "clients-g=1", "--set",
                  "E.4.5.2.1.2.1.2=000000000000"});
    const auto w = open();
    EXPECT_EQ(agent->stateValue("E.4.5.2.1.2.1.3")->text, "000000000000")
        << "the device rebuilt its table: the free slot last";
    EXPECT_EQ(clientRows(w->User_ListView),
              (QStringList{"1|000C41410001|A|WPA2-PSK|27|Off", "2|000C41410003|A|WPA2-PSK|41|On"}));
    EXPECT_EQ(w->NumOfRecord->text(), "2");
    EXPECT_EQ(w->ClientListView->itemCount(), 4) << "the free slot is walked, not shown";
}

TEST_F(ClientWindow, SwitchingToTheOtherPageAsksForItsBandAlone) {
    const auto w = open();
    const std::size_t before = requestCount();
    clickTab(w->PageControl1, 1);
    ASSERT_TRUE(ovtest::waitFor([&] { return requestCount() > before && !w->refreshing(); }));
    EXPECT_EQ(cycles(before), (std::vector<std::string>{kTriggerG, "walk 4"}));
    EXPECT_EQ(clientRows(w->User_ListView_g), (QStringList{"1|000C41420001|G|WPA2-PSK|27|Off"}));
    EXPECT_EQ(w->User_ListView->itemCount(), 0) << "emptied when the refresh started";
    EXPECT_EQ(w->NumOfRecord->text(), "0");
    EXPECT_EQ(w->NumOfRecord_g->text(), "1");
}

// A page change that comes while the walk is out is not dropped: its band's
// trigger and walk follow once the walk has ended.
TEST_F(ClientWindow, APageChangeDuringAWalkRunsWhenTheWalkEnds) {
    restartAgent(
        {"--rows", "clients-a=2", "--rows", "clients-g=1", "--delay-var", "E.4.5.2.1.2=50"});
    const auto w = make();
    ovtest::showActive(w.get());
    ASSERT_TRUE(w->refreshing());
    clickTab(w->PageControl1, 1);
    ASSERT_TRUE(ovtest::waitFor([&] { return !w->refreshing(); }));
    EXPECT_EQ(cycles(), (std::vector<std::string>{kTriggerA, "walk 4", kTriggerG, "walk 4"}));
    EXPECT_EQ(clientRows(w->User_ListView_g), (QStringList{"1|000C41420001|G|WPA2-PSK|27|Off"}));
}

TEST_F(ClientWindow, RefreshesOnRequestThroughButtonsAndAccessibleActions) {
    const auto w = open();
    const struct {
        const char* what;
        int page;
        QPushButton* button;
        bool accessibly;
        std::string trigger;
    } cases[] = {
        {"Refresh of 802.11a, clicked", 0, w->Bt_Rfrsh, false, kTriggerA},
        {"Refresh of 802.11a, pressed by a screen reader", 0, w->Bt_Rfrsh, true, kTriggerA},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t before = requestCount();
        if (c.accessibly)
            ovtest::doAccessibleAction(c.button, QAccessibleActionInterface::pressAction());
        else
            ovtest::click(c.button);
        ASSERT_TRUE(ovtest::waitFor([&] { return requestCount() > before && !w->refreshing(); }));
        EXPECT_EQ(cycles(before), (std::vector<std::string>{c.trigger, "walk 4"}));
        EXPECT_EQ(w->User_ListView->itemCount(), 2);
    }
    EXPECT_EQ(ovtest::accessibleName(w->User_ListView), "Client Information");
    EXPECT_EQ(ovtest::accessibleName(w->User_ListView_g), "Client Information");
    for (QPushButton* b : {w->Bt_Rfrsh, w->Bt_Close, w->Bt_Rfrsh_g, w->Bt_Close_g})
        EXPECT_EQ(ovtest::accessibleName(b), b->text());
}

TEST_F(ClientWindow, RefreshesPeriodicallyWithOneWalkAtATime) {
    // Each GET-NEXT is held longer than the refresh period lasts: a tick that
    // comes during a walk starts the next refresh once the walk has ended.
    restartAgent(
        {"--rows", "clients-a=2", "--rows", "clients-g=1", "--delay-var", "E.4.5.2.1.2=120"});
    auto w = make(0.02); // a refresh every 200 ms
    w->PageControl1->setCurrentWidget(w->TabSheet11g);
    ovtest::showActive(w.get());
    int mostRows = 0;
    const auto triggers = [&] {
        const auto lines = requestLines();
        return std::count(lines.begin(), lines.end(), kTriggerG);
    };
    const auto watchRows = [&] {
        mostRows = std::max(mostRows, w->ClientListView->itemCount());
        return !w->refreshing();
    };
    ASSERT_TRUE(ovtest::waitFor([&] { return watchRows(), triggers() >= 3; }, 15000));
    w->Timer1->stop();
    ASSERT_TRUE(ovtest::waitFor(watchRows, 15000));
    auto seen = cycles();
    ASSERT_GE(seen.size(), 8u);
    EXPECT_EQ(seen[0], kTriggerA) << "the page shown at creation";
    // Then each trigger of the 802.11g page followed by its whole walk.
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], i % 2 == 1 ? "walk 4" : kTriggerG) << "request group " << i;
    EXPECT_LE(mostRows, 3) << "no walk added its rows to another's";
    EXPECT_EQ(clientRows(w->User_ListView_g), (QStringList{"1|000C41420001|G|WPA2-PSK|27|Off"}));
    EXPECT_TRUE(dialogs.messages().empty()) << "the 802.11g page has no firmware check";
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ClientWindow, WarnsOfOldFirmwareOnThe80211aPageOnly) {
    restartAgent({"--fail", "E.4.5.2.1.2=genErr"});
    {
        SCOPED_TRACE("802.11a shown");
        auto w = make(0.05);
        ovtest::showActive(w.get());
        ASSERT_TRUE(ovtest::waitFor([&] { return !w->isVisible(); }));
        EXPECT_EQ(messages(), std::vector<QString>{kOldFirmware});
        EXPECT_TRUE(w->forcedClose());
        EXPECT_TRUE(w->NumOfRecord->text().isEmpty());
        EXPECT_EQ(w->triggerBinding(), nullptr) << "closed for good";
    }
    dialogs.clear();
    {
        SCOPED_TRACE("802.11g shown");
        auto w = make(0.05);
        w->PageControl1->setCurrentWidget(w->TabSheet11g);
        ovtest::showActive(w.get());
        // Three periodic refreshes: the check has run many times by then.
        ASSERT_TRUE(ovtest::waitFor(
            [&] {
                const auto lines = requestLines();
                return std::count(lines.begin(), lines.end(), kTriggerG) >= 3;
            },
            10000));
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(messages().empty());
        EXPECT_NE(w->StatusBar->panel(0)->text(), ovtest::kStatusOk);
        ASSERT_TRUE(ovtest::waitFor([&] { return !w->refreshing(); }));
        w->close();
        EXPECT_FALSE(w->isVisible());
    }
}

TEST_F(ClientWindow, CannotBeClosedWhileAWalkIsOutstanding) {
    restartAgent(
        {"--rows", "clients-a=2", "--rows", "clients-g=1", "--delay-var", "E.4.5.2.1.2=600"});
    auto w = make();
    ovtest::showActive(w.get());
    ASSERT_TRUE(w->refreshing());
    ovtest::click(w->Bt_Close);
    EXPECT_TRUE(w->isVisible()) << "the Close button";
    EXPECT_FALSE(w->Timer1->isActive()) << "a refused close stops the refreshes";
    EXPECT_FALSE(w->Timer2->isActive());
    // Each refusal waits a second; the walk takes longer than two.
    EXPECT_TRUE(survivesClosing(w.get())) << "Escape and the title bar";
    ASSERT_TRUE(ovtest::waitFor([&] { return !w->refreshing(); }));
    EXPECT_EQ(w->NumOfRecord->text(), "2");
    ovtest::click(w->Bt_Close);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->tableBinding(), nullptr);
}

// Closes that come while a refused close waits its second (a window manager's,
// a signal's) are refused at once: they never nest a wait in the wait.
TEST_F(ClientWindow, ClosesDuringTheWaitAreRefusedWithoutNesting) {
    restartAgent(
        {"--rows", "clients-a=2", "--rows", "clients-g=1", "--delay-var", "E.4.5.2.1.2=600"});
    auto w = make();
    ovtest::showActive(w.get());
    ASSERT_TRUE(w->refreshing());
    const int base = QThread::currentThread()->loopLevel();
    int deepest = base, closes = 0;
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, [&] {
        deepest = std::max(deepest, QThread::currentThread()->loopLevel());
        ++closes;
        w->close();
    });
    again.start(10);
    w->close();
    again.stop();
    EXPECT_GT(closes, 5);
    EXPECT_EQ(deepest, base + 1) << "one wait, however many closes came";
    EXPECT_TRUE(w->isVisible());
    ASSERT_TRUE(ovtest::waitFor([&] { return !w->refreshing(); }));
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ClientWindow, CanBeClosedWhenNothingCanBeSent) {
    for (const ovtest::UnsendableSession& c : ovtest::unsendableSessions()) {
        SCOPED_TRACE(c.what);
        restartAgent({});
        c.breakSession();
        auto w = make();
        ovtest::showActive(w.get());
        ASSERT_TRUE(ovtest::waitFor([&] { return !w->refreshing(); }));
        EXPECT_FALSE(w->StatusBar->panel(0)->text().isEmpty());
        EXPECT_NE(w->StatusBar->panel(0)->text(), ovtest::kStatusOk);
        ovtest::click(w->Bt_Rfrsh);
        ASSERT_TRUE(ovtest::waitFor([&] { return !w->refreshing(); }));
        ovtest::click(w->Bt_Close);
        EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(requestLines().empty());
        EXPECT_TRUE(messages().empty());
    }
}

} // namespace
