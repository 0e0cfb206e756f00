// "Advanced \ System Log" and its settings window against apsim: what opening
// reads, Get Log (trigger, then walk, buttons off and the window kept open
// meanwhile), Clear (also when the device is silent), the settings window
// shown and hidden, the server check, the settings sent and the restart they
// end in, and that nothing stops the window from closing.
#include "StatusTest.h"

#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "TLogForm.h"
#include "TLogSetForm.h"
#include "widgettest/OvAccessibility.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

using namespace statustest;

const std::string kFetchTrigger = "SET E.2.11.11.1.0=i:1";
const std::string kClearTrigger = "SET E.2.11.10.0=i:1";
const std::string kRestart = "SET E.3.2.1.0=i:1";

std::string settingsSet(const std::string& levels, const std::string& server) {
    std::string line = "SET";
    const char* oids[] = {"E.2.11.1.0", "E.2.11.2.0", "E.2.11.3.0"};
    for (int i = 0; i < 3; ++i)
        line += std::string(" ") + oids[i] + "=i:" + levels[static_cast<std::size_t>(i)];
    return line + " E.2.11.9.0=a:" + server;
}

QStringList logRows(const OvListView* list) {
    QStringList all;
    for (int r = 0; r < list->itemCount(); ++r)
        all << list->caption(r) + "|" + list->subItem(r, 0) + "|" + list->subItem(r, 1);
    return all;
}

class LogWindow : public StatusTest {
protected:
    std::vector<std::string> agentOptions() const override {
        return {"--rows", "log=3", "--restart-seconds", "0.2"};
    }
    std::unique_ptr<TLogForm> open() {
        auto w = std::make_unique<TLogForm>(main, nullptr);
        ovtest::showActive(w.get());
        EXPECT_TRUE(ovtest::waitFor([&] { return !w->clearTriggerBinding()->IsBusy(); }));
        return w;
    }
    static bool buttonsEnabled(const TLogForm& w) {
        return w.Clear_Btn->isEnabled() && w.SetBtn->isEnabled() && w.GetBtn->isEnabled() &&
               w.CloseBtn->isEnabled();
    }
    static bool buttonsDisabled(const TLogForm& w) {
        return !w.Clear_Btn->isEnabled() && !w.SetBtn->isEnabled() && !w.GetBtn->isEnabled() &&
               !w.CloseBtn->isEnabled();
    }
    // Clicks Get Log and waits until the log has arrived (or failed).
    void getLog(TLogForm& w) {
        ovtest::click(w.GetBtn);
        EXPECT_TRUE(buttonsDisabled(w)) << "the buttons are off while the log comes";
        EXPECT_TRUE(ovtest::waitFor([&] { return buttonsEnabled(w); }, 10000));
    }
    // The requests from `from` on, a run of GET-NEXTs as "walk N".
    std::vector<std::string> grouped(std::size_t from) const {
        std::vector<std::string> seen;
        for (const std::string& line : requestLines(from)) {
            const bool next = line.rfind("GETNEXT ", 0) == 0;
            if (next && !seen.empty() && seen.back().rfind("walk ", 0) == 0)
                seen.back() = "walk " + std::to_string(std::stoi(seen.back().substr(5)) + 1);
            else
                seen.push_back(next ? "walk 1" : line);
        }
        return seen;
    }
    // Clicks Log Settings; once its window is up, runs the script in it, then
    // closes it if the script left it open.
    void withSettings(TLogForm& w, const std::function<void(TLogSetForm&)>& script) {
        TLogSetForm* settings = w.logSettings();
        EXPECT_TRUE(ovtest::withDialog(w.SetBtn, settings, [&] { script(*settings); }))
            << "the settings window did not open";
    }
    static void retype(QLineEdit* edit, const QString& text) {
        ovtest::focus(edit);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        ovtest::typeKeys(edit, text);
    }
};

TEST_F(LogWindow, OpensWithTheSettingsButNotTheLog) {
    const auto w = open();
    EXPECT_EQ(w->windowTitle(), "Advanced \\ System Log");
    EXPECT_EQ(requestLines(),
              (std::vector<std::string>{"GET E.2.11.11.1.0",
                                        "GET E.2.11.1.0 E.2.11.2.0 E.2.11.3.0 E.2.11.9.0",
                                        "GET E.2.11.10.0"}));
    TLogSetForm& settings = *w->logSettings();
    EXPECT_EQ(settings.windowTitle(), "Advanced\\System Log\\Log Setting");
    for (QCheckBox* level :
         {settings.SysLevCeBox, settings.WirelessLevCeBox, settings.NoticeLevCeBox})
        EXPECT_TRUE(level->isChecked()) << level->objectName().toStdString();
    EXPECT_EQ(settings.LogServerEdit->text(), "0.0.0.0");
    EXPECT_FALSE(settings.isVisible());
    EXPECT_EQ(w->ViewListView->itemCount(), 0);
    EXPECT_TRUE(buttonsEnabled(*w));
}

TEST_F(LogWindow, GetLogAsksForASnapshotThenWalksIt) {
    const auto w = open();
    const std::size_t before = requestCount();
    getLog(*w);
    // Three lines: a GET-NEXT each, one more to find the table's end.
    EXPECT_EQ(grouped(before), (std::vector<std::string>{kFetchTrigger, "walk 4"}));
    EXPECT_EQ(logRows(w->ViewListView),
              (QStringList{"1|Jan  1 00:00:59|System started",
                           "2|Jan  1 00:01:46|802.11a radio on, channel 36",
                           "3|Jan  1 00:02:33|802.11g radio on, channel 6"}));
    QStringList columns;
    for (int c = 0; c < w->ViewListView->columnCount(); ++c)
        columns << w->ViewListView->horizontalHeaderItem(c)->text();
    EXPECT_EQ(columns, (QStringList{"Index", "Time", "Message"}));
    EXPECT_EQ(w->StatusBar1->panel(0)->text(), ovtest::kStatusOk);
}

TEST_F(LogWindow, GetLogShowsWhatTheDeviceLoggedSince) {
    restartAgent({"--rows", "log=1", "--log-lines", "3"});
    const auto w = open();
    getLog(*w);
    ASSERT_EQ(w->ViewListView->itemCount(), 1);
    // The device logs a line a second; each fetch shows what it has by then.
    EXPECT_TRUE(ovtest::waitFor(
        [&] {
            if (buttonsEnabled(*w) && w->ViewListView->itemCount() < 2)
                ovtest::click(w->GetBtn);
            return buttonsEnabled(*w) && w->ViewListView->itemCount() >= 2;
        },
        8000));
    EXPECT_EQ(w->ViewListView->subItem(1, 1), "802.11a radio on, channel 36");
}

TEST_F(LogWindow, GetLogOfAnEmptyLogShowsNoRowsAndSuccess) {
    restartAgent({"--rows", "log=0"});
    const auto w = open();
    getLog(*w);
    EXPECT_EQ(w->ViewListView->itemCount(), 0);
    EXPECT_EQ(w->StatusBar1->panel(0)->text(), ovtest::kStatusOk);
}

TEST_F(LogWindow, StaysOpenWhileTheLogIsComing) {
    restartAgent({"--rows", "log=3", "--delay-var", "E.2.11.12.1.3=300"});
    const auto w = open();
    ovtest::click(w->GetBtn);
    ASSERT_TRUE(buttonsDisabled(*w));
    EXPECT_TRUE(survivesClosing(w.get()));
    ASSERT_TRUE(ovtest::waitFor([&] { return buttonsEnabled(*w); }));
    EXPECT_EQ(w->ViewListView->itemCount(), 3);
    QPointer<TLogSetForm> settings = w->logSettings();
    ovtest::click(w->CloseBtn);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(settings.isNull()) << "the settings window goes with the log window";
}

TEST_F(LogWindow, ClearEmptiesTheListWhateverTheDeviceAnswers) {
    const struct {
        const char* what;
        std::vector<std::string> options;
        bool cleared; // on the device
    } cases[] = {
        {"a device that answers", {"--rows", "log=3"}, true},
        {"a device that ignores the clear and its retry",
         {"--rows", "log=3", "--drop-set", "E.2.11.10.0=2"},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restartAgent(c.options);
        const auto w = open();
        getLog(*w);
        ASSERT_EQ(w->ViewListView->itemCount(), 3);
        const std::size_t before = requestCount();
        ovtest::click(w->Clear_Btn);
        EXPECT_EQ(w->ViewListView->itemCount(), 0) << "at once";
        // Answered, or given up on: the device's state holds what it did.
        EXPECT_TRUE(ovtest::waitFor([&] { return !w->clearTriggerBinding()->IsBusy(); }));
        EXPECT_EQ(requestLines(before).front(), kClearTrigger);
        EXPECT_EQ(agent->stateValue("E.2.11.12.1.3.1").has_value(), !c.cleared);
        EXPECT_TRUE(buttonsEnabled(*w));
    }
}

TEST_F(LogWindow, ShowsAFailedFetchAndLetsTheUserGoOn) {
    restartAgent({"--drop-percent", "100"});
    const auto w = open();
    getLog(*w);
    EXPECT_NE(w->StatusBar1->panel(0)->text(), ovtest::kStatusOk);
    EXPECT_FALSE(w->StatusBar1->panel(0)->text().isEmpty());
    ovtest::click(w->CloseBtn);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(LogWindow, CanBeClosedWhenNothingCanBeSent) {
    for (const ovtest::UnsendableSession& c : ovtest::unsendableSessions()) {
        SCOPED_TRACE(c.what);
        restartAgent({});
        c.breakSession();
        auto w = std::make_unique<TLogForm>(main, nullptr);
        ovtest::showActive(w.get());
        ovtest::click(w->GetBtn);
        ASSERT_TRUE(ovtest::waitFor([&] { return buttonsEnabled(*w); }));
        EXPECT_FALSE(w->StatusBar1->panel(0)->text().isEmpty());
        ovtest::click(w->Clear_Btn);
        EXPECT_FALSE(survivesClosing(w.get()));
        EXPECT_TRUE(requestLines().empty());
        EXPECT_TRUE(messages().empty());
    }
}

TEST_F(LogWindow, KeepsOneSettingsWindowThatCancelOnlyHides) {
    const auto w = open();
    TLogSetForm* first = w->logSettings();
    withSettings(*w, [&](TLogSetForm& s) {
        EXPECT_EQ(&s, first);
        retype(s.LogServerEdit, "10.0.0.7");
        clickCheckBox(s.SysLevCeBox);
        ovtest::click(s.Bt_Cancel);
        EXPECT_FALSE(s.isVisible());
    });
    withSettings(*w, [&](TLogSetForm& s) {
        EXPECT_EQ(&s, first);
        EXPECT_EQ(s.LogServerEdit->text(), "10.0.0.7") << "the entries stay as they were";
        EXPECT_FALSE(s.SysLevCeBox->isChecked());
        EXPECT_EQ(ovtest::accessibleName(s.LogServerEdit).trimmed(), "Log Server / IP address");
        EXPECT_EQ(ovtest::accessibleName(s.NoticeLevCeBox).trimmed(), "Notice");
        EXPECT_EQ(ovtest::accessibleName(s.Bt_Apply), "Apply");
    });
    EXPECT_TRUE(ovtest::setsSent(*agent).empty());
    EXPECT_EQ(ovtest::accessibleName(w->ViewListView), "View Log");
    EXPECT_EQ(ovtest::accessibleName(w->GetBtn), "Get Log");
}

TEST_F(LogWindow, ChecksTheServerThenSendsTheSettingsAndRestarts) {
    const QString refused = QStringLiteral("Warning|Please input valid IP Address.");
    const struct {
        const char* what;
        QString typed;
        std::string sent; // empty: refused
    } cases[] = {
        {"no server", "", "0.0.0.0"},
        {"0.0.0.0 itself", "0.0.0.0", "0.0.0.0"},
        {"a host", "10.0.0.7", "10.0.0.7"},
        {"a multicast address", "224.1.1.1", ""},
        {"a broadcast address", "10.0.0.255", ""},
        {"a network address", "10.0.0.0", ""},
        {"a loopback address", "127.0.0.1", ""},
        {"a host name", "loghost", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restartAgent(agentOptions());
        dialogs.clear();
        const auto w = open();
        const std::size_t before = requestCount();
        withSettings(*w, [&](TLogSetForm& s) {
            retype(s.LogServerEdit, c.typed);
            clickCheckBox(s.WirelessLevCeBox);
            ovtest::click(s.Bt_Apply);
            if (c.sent.empty()) {
                EXPECT_TRUE(s.LogServerEdit->text().isEmpty()) << "the refused entry is emptied";
                EXPECT_TRUE(s.isVisible());
            } else {
                EXPECT_EQ(s.StatusBar1->panel(0)->text(), "Set Success!");
            }
        });
        if (c.sent.empty()) {
            EXPECT_EQ(messages(), std::vector<QString>{refused});
            EXPECT_TRUE(requestLines(before).empty());
            continue;
        }
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(w->StatusBar1->panel(0)->text(), "Set Success!");
        const auto sets = [&] {
            std::vector<std::string> seen;
            for (const std::string& line : requestLines(before))
                if (line.rfind("SET ", 0) == 0)
                    seen.push_back(line);
            return seen;
        };
        // The restart wait window sends the restart.
        EXPECT_EQ(sets(), (std::vector<std::string>{settingsSet("101", c.sent), kRestart}));
        EXPECT_EQ(agent->stateValue("E.2.11.9.0")->text, c.sent);
        EXPECT_EQ(agent->stateValue("E.2.11.2.0")->text, "0");
    }
}

TEST_F(LogWindow, ShowsAFailedSettingsWriteAndDoesNotRestart) {
    // The device ignores the write and the one retry: it times out.
    restartAgent({"--drop-set", "E.2.11.9.0=2"});
    const auto w = open();
    const std::size_t before = requestCount();
    withSettings(*w, [&](TLogSetForm& s) {
        retype(s.LogServerEdit, "10.0.0.7");
        ovtest::click(s.Bt_Apply);
        EXPECT_EQ(s.StatusBar1->panel(0)->text(), "Set Error!");
        EXPECT_EQ(s.LogServerEdit->text(), "10.0.0.7") << "the entry stays";
    });
    EXPECT_EQ(requestLines(before), (std::vector<std::string>{settingsSet("111", "10.0.0.7"),
                                                              settingsSet("111", "10.0.0.7")}));
    EXPECT_TRUE(w->StatusBar1->panel(0)->text().isEmpty());
    EXPECT_TRUE(messages().empty());
}

} // namespace
