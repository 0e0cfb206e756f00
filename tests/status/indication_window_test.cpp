// "Status \ Indication" against apsim: the temperature in Celsius, Fahrenheit
// and on the bar, a reading that is no number, the reading every 10 seconds
// one at a time, and the close rule, also when nothing can be sent.
#include "StatusTest.h"

#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "TIndicationForm.h"
#include "widgettest/OvAccessibility.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

using namespace statustest;

const std::string kReading = "GET E.4.6.1.0";

class IndicationWindow : public StatusTest {
protected:
    // The window's timer follows the time scale; at 1 it does not tick in a test.
    std::unique_ptr<TIndicationForm> open(double timeScale = 1.0) {
        ov::setTimeScale(timeScale);
        auto w = std::make_unique<TIndicationForm>(nullptr);
        ovtest::showActive(w.get());
        EXPECT_TRUE(ovtest::waitFor([&] { return !w->reading(); }));
        return w;
    }
};

TEST_F(IndicationWindow, ShowsTheTemperatureThreeWays) {
    const struct {
        const char* set;
        QString celsius, fahrenheit;
        int bar;
    } cases[] = {
        {"37", "37", "98", 77},   {"-5", "-5", "23", 35},     {"0", "0", "32", 40},
        {"-40", "-40", "-40", 0}, {"120", "120", "248", 160}, {"130", "130", "266", 160},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        restartAgent({"--set", std::string("statusIndicationTemperature=") + c.set});
        const auto w = open();
        EXPECT_EQ(requestLines(), std::vector<std::string>{kReading});
        EXPECT_EQ(w->Lab_Tempreture->text(), c.celsius);
        EXPECT_EQ(w->LAB_Tempretureh->text(), c.fahrenheit);
        EXPECT_EQ(w->ProgressBar1->value(), c.bar);
        EXPECT_EQ(w->StatusBar1->panel(0)->text(), ovtest::kStatusOk);
    }
}

TEST_F(IndicationWindow, ShowsNoNumberForAReadingThatIsNone) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"no sensor", {"--absent", "statusIndicationTemperature"}},
        {"text where a number is due", {"--set", "statusIndicationTemperature=s:warm"}},
    };
    for (const auto& [what, options] : cases) {
        SCOPED_TRACE(what);
        restartAgent(options);
        const auto w = open();
        EXPECT_TRUE(w->Lab_Tempreture->text().isEmpty()) << w->Lab_Tempreture->text().toStdString();
        EXPECT_TRUE(w->LAB_Tempretureh->text().isEmpty());
        EXPECT_EQ(w->ProgressBar1->value(), 0);
        EXPECT_FALSE(w->StatusBar1->panel(0)->text().isEmpty());
    }
}

TEST_F(IndicationWindow, OpensWithoutTheLayoutsNumbers) {
    restartAgent({"--delay-var", "E.4.6.1.0=300"});
    ov::setTimeScale(1.0);
    TIndicationForm w(nullptr);
    EXPECT_TRUE(w.Lab_Tempreture->text().isEmpty());
    EXPECT_TRUE(w.LAB_Tempretureh->text().isEmpty());
    EXPECT_EQ(w.windowTitle(), "Status \\ Indication");
    EXPECT_EQ(w.Label1->text(), "-40");
    EXPECT_EQ(w.Label2->text(), "120");
    EXPECT_EQ(w.TemStaticText->text(), "   Temperature indication ");
    EXPECT_EQ(ovtest::accessibleName(w.ProgressBar1), "Temperature indication");
    EXPECT_EQ(ovtest::accessibleName(w.CloseButton), "Close");
    ASSERT_TRUE(ovtest::waitFor([&] { return !w.reading(); }));
    EXPECT_EQ(w.Lab_Tempreture->text(), "42");
}

TEST_F(IndicationWindow, ReadsAgainEveryTenSecondsOneReadingAtATime) {
    // Each reading is held longer than the period lasts.
    restartAgent({"--delay-var", "E.4.6.1.0=250"});
    const auto w = open(0.01); // a reading every 100 ms
    int mostOutstanding = 0;
    ASSERT_TRUE(ovtest::waitFor(
        [&] {
            mostOutstanding =
                std::max(mostOutstanding, w->temperatureBinding()->request.pendingCount());
            return requestCount() >= 4;
        },
        10000));
    EXPECT_TRUE(ovtest::waitFor([&] { return !w->reading(); }));
    EXPECT_EQ(mostOutstanding, 1) << "a tick while a reading is out asks nothing";
    const auto lines = requestLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), kReading), static_cast<long>(lines.size()));
    EXPECT_EQ(w->Lab_Tempreture->text(), "42");
    EXPECT_EQ(w->ProgressBar1->value(), 82);
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->Timer1->isActive());
}

TEST_F(IndicationWindow, CannotBeClosedWhileAReadingIsOutstanding) {
    restartAgent({"--delay-var", "E.4.6.1.0=300"});
    ov::setTimeScale(1.0);
    auto w = std::make_unique<TIndicationForm>(nullptr);
    ovtest::showActive(w.get());
    ASSERT_TRUE(w->reading());
    ovtest::click(w->CloseButton);
    EXPECT_TRUE(w->isVisible()) << "the Close button";
    EXPECT_TRUE(survivesClosing(w.get())) << "Escape and the title bar";
    ASSERT_TRUE(ovtest::waitFor([&] { return !w->reading(); }));
    ovtest::click(w->CloseButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->temperatureBinding(), nullptr);
}

TEST_F(IndicationWindow, CanBeClosedWhenNothingCanBeSent) {
    std::vector<ovtest::UnsendableSession> cases = ovtest::unsendableSessions();
    cases.push_back({"a device that does not answer", [] { OvSNMPDevice.agentPort = 9; }, false});
    for (const ovtest::UnsendableSession& c : cases) {
        SCOPED_TRACE(c.what);
        restartAgent({});
        c.breakSession();
        ov::setTimeScale(1.0);
        auto w = std::make_unique<TIndicationForm>(nullptr);
        ovtest::showActive(w.get());
        ASSERT_TRUE(ovtest::waitFor([&] { return !w->reading(); }, 10000));
        EXPECT_FALSE(w->StatusBar1->panel(0)->text().isEmpty());
        EXPECT_NE(w->StatusBar1->panel(0)->text(), ovtest::kStatusOk);
        EXPECT_TRUE(w->Lab_Tempreture->text().isEmpty());
        ovtest::click(w->CloseButton);
        EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(requestLines().empty());
    }
}

} // namespace
