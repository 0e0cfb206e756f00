// "Tools \ System" against apsim: Restart and Restore, each confirmed, each
// ending in the wait window; the factory reset's answer retunes that window,
// and the restart goes out only after it.
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "TFM_Sytem.h"
#include "ToolsTest.h"
#include "widgettest/OvAccessibility.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

using namespace toolstest;

const QString kConfirm = "Warning|Device will reboot, continue?";

WaitShown restoring() {
    return {"System is rebooting, please waiting.....!",
            "please waiting.....",
            "Settings saved.",
            "The system IP will be 192.168.0.50 !",
            100,
            false,
            false};
}

class SystemWindow : public ToolsTest {
protected:
    std::unique_ptr<TFM_Sytem> open() {
        auto w = ToolsTest::open<TFM_Sytem>();
        // The opening read is asynchronous.
        EXPECT_TRUE(ovtest::waitFor([&] { return !w->resetBinding()->IsBusy(); }));
        return w;
    }
    // Records how the wait window looks each time a tick has run.
    void watchWaiting(TFM_Sytem& w) {
        auto* timer = new QTimer(&w);
        QObject::connect(timer, &QTimer::timeout, timer, [this, &w] {
            if (TFM_Waiting* waiting = w.waitingWindow())
                lastSeen = describe(*waiting);
        });
        timer->start(1);
    }
    std::vector<std::string> requests(std::size_t from) const {
        std::vector<std::string> seen;
        for (const std::string& r : ovtest::requestsSeen(*agent, from))
            if (r.rfind("SET", 0) == 0)
                seen.push_back(r);
        return seen;
    }
    WaitShown lastSeen;
};

TEST_F(SystemWindow, OpensWithItsTwoCommands) {
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "Tools \\ System");
    EXPECT_EQ(w->Label1->text(), "Apply Settings and Restart ");
    EXPECT_EQ(w->Label2->text(), "Restore to Factory Default Settings");
    EXPECT_EQ(ovtest::accessibleName(w->Button1), "Restart");
    EXPECT_EQ(ovtest::accessibleName(w->Button2), "Restore");
    EXPECT_FALSE(w->CB_Restore->isVisible());
    EXPECT_FALSE(w->CB_Restart->isVisible());
    EXPECT_EQ(w->CB_Restore->currentText(), "nothing");
    EXPECT_EQ(ovtest::requestsSeen(*agent), (std::vector<std::string>{"GET E.3.2.2.0"}));
}

TEST_F(SystemWindow, CancelInEitherConfirmationSendsNothing) {
    auto w = open();
    for (QPushButton* b : {w->Button1, w->Button2}) {
        SCOPED_TRACE(b->text().toStdString());
        dialogs.clear();
        dialogs.queueAnswer(QMessageBox::Cancel);
        ovtest::click(b);
        EXPECT_EQ(messages(), std::vector<QString>{kConfirm});
        EXPECT_EQ(dialogs.messages().front().buttons, QMessageBox::Ok | QMessageBox::Cancel);
    }
    EXPECT_TRUE(sets().empty());
    EXPECT_TRUE(waits.empty());
}

TEST_F(SystemWindow, RestartLeavesTheRestartToTheWaitWindow) {
    auto w = open();
    ovtest::click(w->Button1);
    EXPECT_EQ(messages(), std::vector<QString>{kConfirm});
    WaitShown expected = defaultWait();
    expected.title = "System is rebooting, please waiting.....";
    EXPECT_EQ(waits, std::vector<WaitShown>{expected});
    EXPECT_EQ(sets(), (std::vector<std::vector<std::string>>{{binding(kRestart, "i:1")}}));
    EXPECT_TRUE(agent->waitForRestart(1));
}

TEST_F(SystemWindow, RestoreRestartsOnlyOnceTheResetIsAnswered) {
    auto w = open();
    const std::size_t before = agent->requests().size();
    watchWaiting(*w);
    ovtest::click(w->Button2);
    EXPECT_EQ(messages(), std::vector<QString>{kConfirm});
    EXPECT_EQ(waits, std::vector<WaitShown>{restoring()});
    WaitShown retuned = restoring();
    retuned.label2 = "The device is restarting.";
    retuned.label1 = "Please waiting for ";
    retuned.restartCommand = true;
    retuned.timeShown = true;
    retuned.countdown = lastSeen.countdown; // counting down from 35 since the answer
    EXPECT_EQ(lastSeen, retuned);
    EXPECT_EQ(requests(before), (std::vector<std::string>{"SET E.3.2.2.0", "SET E.3.2.1.0"}));
    const std::vector<std::vector<std::string>> expected = {{binding(kFactoryDefault, "i:1")},
                                                            {binding(kRestart, "i:1")}};
    EXPECT_EQ(sets(), expected);
    // apsim restarts for the factory default, then again for the restart.
    EXPECT_TRUE(agent->waitForRestart(2));
    EXPECT_EQ(w->StatusBar->panel(0)->text(), "(OvSNMP++) Ok!");
    EXPECT_FALSE(w->StatusBar->simplePanel());
}

TEST_F(SystemWindow, AFailedResetEndsTheWaitEarlyAndRestartsNothing) {
    restartAgent(withQuickRestart({"--fail", "FactoryDefault=genErr"}));
    auto w = open();
    const std::size_t before = agent->requests().size();
    watchWaiting(*w);
    ovtest::click(w->Button2);
    EXPECT_LE(lastSeen.countdown, 2) << "cut to 2 by the failure";
    EXPECT_FALSE(lastSeen.restartCommand);
    EXPECT_EQ(requests(before), std::vector<std::string>{"SET E.3.2.2.0"});
    EXPECT_EQ(w->StatusBar->panel(0)->text(), "(SNMP) Cannot perform operation, General Error!");
    EXPECT_EQ(agent->stateFact("restarts"), 0);
}

TEST_F(SystemWindow, ALateAnswerToTheOpeningReadCannotTurnTheResetIntoNothing) {
    // Both the read and the reset are held; the read's answer comes while the
    // confirmation is asked.
    restartAgent(withQuickRestart({"--delay-var", "FactoryDefault=300"}));
    auto w = ToolsTest::open<TFM_Sytem>();
    ASSERT_TRUE(w->resetBinding()->IsBusy());
    dialogs.onShown = [&](const OvShownDialog&) {
        ovtest::waitFor([&] { return !w->resetBinding()->IsBusy(); });
    };
    ovtest::click(w->Button2);
    dialogs.onShown = nullptr;
    ASSERT_FALSE(sets().empty());
    EXPECT_EQ(sets().front(), std::vector<std::string>{binding(kFactoryDefault, "i:1")});
}

TEST_F(SystemWindow, AnAnswerAfterTheWaitWindowHasClosedTouchesNothing) {
    // The wait window (100 ticks on the test's time scale) closes long before.
    restartAgent(withQuickRestart({"--delay-var", "FactoryDefault=2500"}));
    auto w = ToolsTest::open<TFM_Sytem>();
    ovtest::click(w->Button2);
    EXPECT_EQ(w->waitingWindow(), nullptr);
    ASSERT_TRUE(ovtest::waitFor([&] { return !w->StatusBar->panel(0)->text().isEmpty(); }));
    EXPECT_EQ(w->StatusBar->panel(0)->text(), "(OvSNMP++) Ok!");
    EXPECT_EQ(sets(), (std::vector<std::vector<std::string>>{{binding(kFactoryDefault, "i:1")}}));
}

} // namespace
