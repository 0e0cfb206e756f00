// A rogue AP scan of 1.5 seconds in the sibling model's main window, whose
// LED poll runs on the tests' time scale (every 30 ms): the scan does not
// block, so the LED poll goes on on the wire meanwhile; the rogue AP window
// refuses to close until the result has been read.
#include "OvListView.h"
#include "TFM_RogueAP.h"
#include "TMainForm.h"
#include "widgettest/OvDeviceTest.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

namespace {

const std::string kLed = "GET E.4.4.0";
const std::string kDetect = "SET E.2.10.4.1.1.0";

class RogueScan : public ovtest::DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override { return {"--scan-seconds", "1.5"}; }
};

TEST_F(RogueScan, TheLedPollGoesOnAndTheWindowStaysOpenUntilTheResultIsRead) {
    TMainForm form(nullptr, QStringLiteral("ORW-5200AP"));
    form.HandOver();
    ASSERT_TRUE(ovtest::waitFor([&] { return form.statusText() == kOvReadyText; }));
    QAction* item = ovtest::menuItem(&form, QStringLiteral("Rogue AP "));
    ASSERT_NE(item, nullptr);

    // The window is driven by short steps of a timer, as a user's events come.
    enum class Step { Opening, Scanning, Done } step = Step::Opening;
    QTimer steps;
    std::size_t before = 0;
    bool refusedWhileScanning = true, closedAfter = false;
    int checks = 0, rows = 0;
    std::vector<std::string> seen;
    QObject::connect(&steps, &QTimer::timeout, [&] {
        auto* window = qobject_cast<TFM_RogueAP*>(QApplication::activeModalWidget());
        if (window == nullptr)
            return;
        switch (step) {
        case Step::Opening:
            if (!window->Cancel_Btn->isEnabled())
                return;
            before = agent->requests().size();
            window->DetectBtnClick();
            step = Step::Scanning;
            return;
        case Step::Scanning:
            if (!window->closable()) {
                ++checks;
                window->close();
                refusedWhileScanning = refusedWhileScanning && window->isVisible();
                return;
            }
            seen = ovtest::requestsSeen(*agent, before);
            rows = window->RogueListView->itemCount();
            window->close();
            closedAfter = !window->isVisible();
            step = Step::Done;
            return;
        case Step::Done:
            return;
        }
    });
    steps.start(50);
    QTimer::singleShot(120000, [&] {
        if (QWidget* window = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "the scan did not end";
            static_cast<QDialog*>(window)->done(-1);
        }
    });
    item->trigger();
    steps.stop();

    EXPECT_GE(checks, 20) << "tried to close it every 50 ms of the scan";
    EXPECT_TRUE(refusedWhileScanning);
    EXPECT_TRUE(closedAfter);
    EXPECT_EQ(rows, 16);
    const auto detect = std::find(seen.begin(), seen.end(), kDetect);
    const auto walk = std::find_if(seen.begin(), seen.end(), [](const std::string& r) {
        return r.rfind("GETNEXT E.2.10.4.1.4.1", 0) == 0;
    });
    ASSERT_NE(detect, seen.end());
    ASSERT_NE(walk, seen.end());
    EXPECT_GE(std::count(detect, walk, kLed), 4) << "the LED poll went on during the scan";
}

} // namespace
