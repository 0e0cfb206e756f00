// A quit signal that comes while a window waits (for answers, for a SET, for
// the device's restart) is taken once the wait is over: the window finishes
// what it started, closes as on the user's close, and then the main window.
#include "OvQuitRequest.h"
#include "OvQuitSignals.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "TFM_Wirless.h"
#include "TMainForm.h"
#include "widgettest/OvDeviceTest.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <functional>

namespace {

class QuitTest : public ovtest::DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override { return quitAgentOptions; }
    std::vector<std::string> quitAgentOptions;
};

struct QuitCase {
    const char* what;
    std::vector<std::string> agent;
    QString item;
    // Whether the window is ready for the user's step, and the step that
    // starts its wait (none: the window waits from its creation).
    std::function<bool(QWidget* window)> ready;
    std::function<void(QWidget* window)> startWait;
    int quitAfterMs;          // real time after the wait started
    QString statusWhenClosed; // the window's status text as it closed; null: any
};

QString quitStatusOf(QWidget* window) {
    auto* bar = window->findChild<OvStatusBar*>();
    return bar == nullptr ? QString() : bar->simpleText();
}

void quitClick(QWidget* window, const char* button) {
    if (auto* b = window->findChild<QPushButton*>(QString::fromLatin1(button)))
        b->click();
}

TEST_F(QuitTest, AQuitSignalDuringAWaitIsTakenWhenTheWaitIsOver) {
    const QuitCase quitCases[] = {
        {"the wireless window waits for its auto scan answers",
         {"--restart-seconds", "0", "--set", "E.2.3.1.14.1=1", "--delay-var", "E.2.3.1.14.1=900"},
         QStringLiteral("Wireless"),
         [](QWidget* w) {
             // Once the answers of its creation are in, as a user would.
             auto* wireless = qobject_cast<TFM_Wirless*>(w);
             for (int b : {0, 1})
                 if (wireless == nullptr || wireless->radio(b).autoScanList->IsBusy())
                     return false;
             return true;
         },
         [](QWidget* w) { quitClick(w, "Bt_Apply"); },
         300,
         QStringLiteral("Setting Success!")},
        {"the miscellaneous window's apply ends in the restart wait, which finishes first",
         {"--restart-seconds", "0"},
         QStringLiteral("Miscellaneous"),
         [](QWidget*) { return true; },
         [](QWidget* w) { quitClick(w, "Bt_Apply"); },
         100,
         {}},
        {"the client window walks its table, and refuses to close meanwhile",
         {"--delay-var", "E.4.5.2.1.2=150"},
         QStringLiteral("Client Info"),
         [](QWidget*) { return true; },
         nullptr,
         100,
         {}},
    };
    ov::catchQuitSignals();
    for (const QuitCase& c : quitCases) {
        SCOPED_TRACE(c.what);
        quitAgentOptions = c.agent;
        restartAgent(c.agent);
        TMainForm form(nullptr, QStringLiteral(OV_MODEL_NAME));
        form.HandOver();
        ov::closeWindowsOnQuitSignals(&form);
        form.show();
        ASSERT_TRUE(ovtest::waitFor([&] { return form.statusText() == kOvReadyText; }, 20000))
            << form.statusText().toStdString();
        QAction* item = ovtest::menuItem(&form, c.item);
        ASSERT_NE(item, nullptr);

        bool started = false;
        QString status = QStringLiteral("(open)");
        QTimer steps;
        QObject::connect(&steps, &QTimer::timeout, [&] {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (started || window == nullptr || !c.ready(window))
                return;
            started = true;
            QObject::connect(window, &QDialog::finished,
                             [&status, window] { status = quitStatusOf(window); });
            QTimer::singleShot(c.quitAfterMs, [] { std::raise(SIGTERM); });
            if (c.startWait)
                c.startWait(window);
        });
        steps.start(50);
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, [] {
            ADD_FAILURE() << "the quit was never taken";
            while (auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                window->done(-1);
        });
        deadline.start(20000);
        item->trigger();
        steps.stop();
        EXPECT_TRUE(started);
        if (!c.statusWhenClosed.isNull()) {
            EXPECT_EQ(status, c.statusWhenClosed);
        }
        EXPECT_TRUE(ovtest::waitFor([&] { return !form.isVisible(); })) << "then the main window";
        EXPECT_FALSE(ov::quitRequested());
    }
}

} // namespace
