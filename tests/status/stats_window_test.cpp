// "Status \ Stats" against apsim: what it reads and in which order, the labels
// of both pages as designed, counters shown unsigned, the per-page Refresh,
// and that no device, address or user stops it from closing.
#include "StatusTest.h"

#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "TFM_Static.h"
#include "widgettest/OvAccessibility.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <memory>

namespace {

using namespace statustest;

// The GET of a band's 18 variables, E.4.3.1.1.1.<band> to E.4.3.1.1.18.<band>.
std::string bandRead(int band) {
    std::string line = "GET";
    for (int column = 1; column <= 18; ++column)
        line += " E.4.3.1.1." + std::to_string(column) + "." + std::to_string(band);
    return line;
}

std::uint64_t number(const QString& text) {
    bool ok = false;
    const std::uint64_t value = text.toULongLong(&ok);
    EXPECT_TRUE(ok) << text.toStdString() << " is no unsigned number";
    return value;
}

class StatsWindow : public StatusTest {
protected:
    std::unique_ptr<TFM_Static> open() {
        auto window = std::make_unique<TFM_Static>(nullptr);
        ovtest::showActive(window.get());
        EXPECT_TRUE(ovtest::waitFor([&] { return !window->bandGBinding()->IsBusy(); }));
        return window;
    }
};

TEST_F(StatsWindow, ReadsBothBandsOnceAtOpening) {
    const auto w = open();
    EXPECT_EQ(w->windowTitle(), "Status \\ Stats");
    EXPECT_EQ(requestLines(), (std::vector<std::string>{bandRead(1), bandRead(2)}));
    EXPECT_EQ(w->PC_Static->tabText(0), "IEEE 802.11a");
    EXPECT_EQ(w->PC_Static->tabText(1), "IEEE 802.11g");
}

TEST_F(StatsWindow, ShowsCountersAboveTwoToTheThirtyFirstUnsigned) {
    restartAgent({"--set", "E.4.3.1.1.18.1=3000000000", "--set", "E.4.3.1.1.7.1=3000000000",
                  "--set", "E.4.3.1.1.18.2=4294967295"});
    const auto w = open();
    EXPECT_EQ(w->boxesA[17]->text(), "3000000000") << "WEP ICV errors, which do not grow";
    EXPECT_EQ(w->boxesG[17]->text(), "4294967295");
    const std::uint64_t frames = number(w->boxesA[6]->text());
    EXPECT_GE(frames, 3000000000u) << "transmitted frames, growing from their start";
    EXPECT_LT(frames, 4294967296u);
    EXPECT_EQ(w->boxesA[0]->text(), "98") << "a rate in percent";
    EXPECT_EQ(w->boxesG[3]->text(), "1");
}

TEST_F(StatsWindow, ShowsEachFieldWithItsLabelAsDesigned) {
    const auto w = open();
    const struct {
        int position;
        const char* boxA;
        QString labelA;
        QString labelG;
        bool percent;
    } cases[] = {
        {0, "Ed_TranSuRata", "Transmit Success Rate", "Transmit Success Rate", true},
        {3, "Ed_RcvDuRata", "Receive Duplicate Rate", "Receive Duplicate Rate", true},
        {4, "Ed_RTSSuCnta", "RTS Success Count", "RTS Success Count", false},
        {8, "Ed_TranErrCnta", "Transmitted Error Count ", "Transmitted Error Count", false},
        {9, "Ed_TranTtlRtyCnta", "Transmitted Total Retry Count ", "Transmitted Total Retry Count",
         false},
        {13, "Ed_RcvFrmErrCnta", "Received Frame FCS Error Count",
         "Received Frame FCS Error Count ", false},
        {15, "Ed_AckRcvfCnta", "Ack Rcv failure Count", "Ack Rcv failure Count", false},
        {17, "Ed_WEPIErrCnta", "WEP ICV Error Count", "WEP ICV Error Count", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boxA);
        QLineEdit* a = w->boxesA[static_cast<std::size_t>(c.position)];
        QLineEdit* g = w->boxesG[static_cast<std::size_t>(c.position)];
        EXPECT_EQ(a->objectName(), c.boxA);
        EXPECT_EQ(g->objectName(), QString(c.boxA).chopped(1) + "g");
        EXPECT_EQ(buddyText(a), c.labelA);
        EXPECT_EQ(buddyText(g), c.labelG);
        EXPECT_EQ(ovtest::accessibleName(a).trimmed(), c.labelA.trimmed());
        EXPECT_TRUE(a->isReadOnly());
        EXPECT_FALSE(a->hasFrame());
        const auto units =
            a->parentWidget()->findChildren<QLabel*>("La_" + a->objectName().mid(3) + "Unit");
        EXPECT_EQ(units.size(), c.percent ? 1 : 0);
        if (c.percent) {
            EXPECT_EQ(units.front()->text(), "%");
        }
    }
}

TEST_F(StatsWindow, RefreshShowsTheCountersGrown) {
    const auto w = open();
    const QString first = w->boxesA[6]->text();
    const std::size_t before = requestCount();
    // The device counts on while the window is open: a later Refresh shows it.
    EXPECT_TRUE(ovtest::waitFor(
        [&] {
            ovtest::click(w->Bt_RfrshA);
            return number(w->boxesA[6]->text()) > number(first);
        },
        5000));
    for (const std::string& line : requestLines(before))
        EXPECT_EQ(line, bandRead(1)) << "only the 802.11a page is read";
}

TEST_F(StatsWindow, RefreshOfAPageAsksAgainWhileAnAnswerIsOnItsWay) {
    restartAgent({"--delay-var", "E.4.3.1.1.1.2=300"});
    const auto w = open();
    const std::size_t before = requestCount();
    w->PC_Static->setCurrentWidget(w->TabSheetG);
    ovtest::click(w->Bt_RfrshG);
    ovtest::doAccessibleAction(w->Bt_RfrshG, QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(w->bandGBinding()->IsBusy());
    EXPECT_TRUE(ovtest::waitFor([&] { return !w->bandGBinding()->IsBusy(); }));
    EXPECT_EQ(requestLines(before), (std::vector<std::string>{bandRead(2), bandRead(2)}));
    EXPECT_EQ(w->boxesG[0]->text(), "98");
}

TEST_F(StatsWindow, ClosesWhileTheSecondBandsAnswerIsHeldBack) {
    restartAgent({"--delay-var", "E.4.3.1.1.1.2=1500"});
    auto w = std::make_unique<TFM_Static>(nullptr);
    ovtest::showActive(w.get());
    ASSERT_TRUE(w->bandGBinding()->IsBusy());
    EXPECT_FALSE(survivesClosing(w.get()));
    EXPECT_EQ(w->bandGBinding(), nullptr);
    EXPECT_TRUE(w->boxesG[0]->text().isEmpty());
}

TEST_F(StatsWindow, StaysUsableWhenNothingCanBeSent) {
    for (const ovtest::UnsendableSession& c : ovtest::unsendableSessions()) {
        SCOPED_TRACE(c.what);
        restartAgent({});
        c.breakSession();
        auto w = std::make_unique<TFM_Static>(nullptr);
        ovtest::showActive(w.get());
        ASSERT_TRUE(ovtest::waitFor([&] { return !w->bandGBinding()->IsBusy(); }));
        ovtest::click(w->Bt_RfrshG);
        ASSERT_TRUE(ovtest::waitFor([&] { return !w->bandGBinding()->IsBusy(); }));
        EXPECT_FALSE(survivesClosing(w.get()));
        EXPECT_TRUE(requestLines().empty());
    }
}

} // namespace
