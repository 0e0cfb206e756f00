#include "OvDeviceContext.h"
#include "TFM_Waiting.h"
#include "widgettest/OvDeviceTest.h"

#include <QLabel>
#include <QTimer>

namespace {

using ovtest::DeviceTest;

using FakeMainWindow = ovtest::StandInMainWindow;

const std::string kRestart = "1.3.6.1.4.1.48213.10.37.14.3.2.1.0";

class WaitingTest : public DeviceTest {
protected:
    int restartsSent() const {
        int sent = 0;
        for (const auto& set : ovtest::setsSent(*agent)) {
            for (const auto& binding : set)
                sent += binding.rfind(kRestart + "=", 0) == 0 ? 1 : 0;
        }
        return sent;
    }
    FakeMainWindow main;
};

TEST_F(WaitingTest, DefaultsSendRestartOnTheFirstTickAndRefuseEarlyClose) {
    TFM_Waiting window(main, nullptr);
    EXPECT_EQ(window.windowTitle(), "Please wait");
    EXPECT_FALSE(window.Ed_FwVer->text().isEmpty()); // read at creation
    int ticksSeenAtRestart = -1;
    bool closedEarly = false;
    ovtest::execWith(&window, [&](QDialog*) {
        ASSERT_TRUE(ovtest::waitFor([&] { return restartsSent() > 0; }));
        ticksSeenAtRestart = 40 - window.countdown;
        window.reject(); // the user's Escape or close button
        closedEarly = !window.isVisible();
    });
    EXPECT_GE(ticksSeenAtRestart, 1);
    EXPECT_LE(ticksSeenAtRestart, 2);
    EXPECT_FALSE(closedEarly);
    EXPECT_EQ(restartsSent(), 1);
    EXPECT_LE(window.countdown, 0); // closed by its own tick once the device was ready
    ASSERT_FALSE(ovtest::setsSent(*agent).empty());
    EXPECT_EQ(ovtest::setsSent(*agent).front().front(), kRestart + "=i:1");
}

TEST_F(WaitingTest, RestartTickFiveSendsWhileShowing36) {
    TFM_Waiting window(main, nullptr);
    window.restartTick = 5;
    QString shownAtRestart;
    ovtest::execWith(&window, [&](QDialog*) {
        ASSERT_TRUE(ovtest::waitFor([&] { return !window.restartPending(); }));
        shownAtRestart = window.La_Time->text();
    });
    EXPECT_EQ(shownAtRestart, "36");
    EXPECT_TRUE(ovtest::waitFor([&] { return restartsSent() == 1; }));
}

TEST_F(WaitingTest, RestartCommandOffSendsNothing) {
    TFM_Waiting window(main, nullptr);
    window.restartCommand = false;
    ovtest::execWith(&window, [&](QDialog*) {});
    EXPECT_EQ(window.countdown, 0);
    EXPECT_TRUE(window.restartPending());
    EXPECT_EQ(restartsSent(), 0);
}

TEST_F(WaitingTest, SilentDeviceClosesAfterSixTicksAndMayBeClosedAfterThree) {
    main.status = QStringLiteral("(SNMPClass) SNMP request timed out!");
    TFM_Waiting window(main, nullptr);
    window.restartCommand = false;
    window.countdown = 1; // as an opener does when a transfer has ended
    bool closableAfterThree = false, openAfterTwo = false;
    ovtest::execWith(&window, [&](QDialog*) {
        ASSERT_TRUE(ovtest::waitFor([&] { return window.notReadyCount() == 2; }));
        window.Timer1->stop();
        window.reject();
        openAfterTwo = window.isVisible();
        window.Timer1->start();
        ASSERT_TRUE(ovtest::waitFor([&] { return window.notReadyCount() >= 3; }));
        window.Timer1->stop();
        window.reject();
        closableAfterThree = !window.isVisible();
    });
    EXPECT_TRUE(openAfterTwo);
    EXPECT_TRUE(closableAfterThree);

    TFM_Waiting silent(main, nullptr);
    silent.restartCommand = false;
    silent.countdown = 1;
    ovtest::execWith(&silent, [&](QDialog*) {});
    EXPECT_EQ(silent.notReadyCount(), 6);
    EXPECT_EQ(silent.La_Time->text(), ""); // the display never changed
}

} // namespace
