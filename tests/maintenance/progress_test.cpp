// How far a transfer has got, as the user and a screen reader see it, against
// apsim fetching and sending over TFTP like the device.
#include "OvDialogs.h"
#include "OvStatusBar.h"
#include "OvTFTPServer.h"
#include "OvTimeScale.h"
#include "OvTransferMeter.h"
#include "TFM_CfgFile.h"
#include "TFM_Firmware.h"
#include "TFM_Waiting.h"
#include "TransferTest.h"
#include "widgettest/OvAccessibility.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

namespace {

using namespace transfertest;

// What the wait window showed, sampled while it was open.
struct Shown {
    std::vector<int> bar;
    QString movedText;
    QString accessibleName;
    int accessibleValue = -1;
    int accessibleMaximum = -1;
    bool progressVisible = false;

    void sample(TFM_Waiting& waiting) {
        if (!waiting.isVisible())
            return;
        const int value = waiting.PB_Transfer->value();
        if (bar.empty() || bar.back() != value)
            bar.push_back(value);
        movedText = waiting.La_Moved->text();
        progressVisible =
            progressVisible || (waiting.PB_Transfer->isVisible() && waiting.La_Moved->isVisible());
        QAccessibleInterface* a = ovtest::accessible(waiting.PB_Transfer);
        accessibleName = a->text(QAccessible::Name);
        if (QAccessibleValueInterface* v = a->valueInterface()) {
            accessibleValue = v->currentValue().toInt();
            accessibleMaximum = v->maximumValue().toInt();
        }
    }
};

class Progress : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        ov::setTimeScale(0.05);
    }
    // Samples the wait window of a transfer window while the window lives.
    template <typename Window> void watch(Window& window, Shown& shown) {
        QObject::connect(&sampler_, &QTimer::timeout, &window, [&window, &shown] {
            if (TFM_Waiting* waiting = window.waitingWindow())
                shown.sample(*waiting);
        });
        sampler_.start(2);
    }
    static QByteArray content(qsizetype size) {
        QByteArray bytes(size, 0);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7 + 3);
        return bytes;
    }
    // A configuration apsim applies, padded with comment lines to the size.
    static QByteArray configuration(qsizetype size) {
        const QByteArray last = "1.3.6.1.2.1.1.5.0\ts:restored-ap\n";
        QByteArray text = "#apsim configuration\n";
        while (text.size() + last.size() < size) {
            const qsizetype room = size - text.size() - last.size();
            text += "#" + QByteArray(std::min<qsizetype>(room, 72) - 1, 'x');
            text.back() = '\n';
        }
        return text + last;
    }
    QTimer sampler_;
};

struct RisingCase {
    const char* what;
    bool firmware;
    qsizetype size;
};

TEST_F(Progress, TheFiguresRiseToTheFileSizeOfAnUpgradeOrARestore) {
    const RisingCase cases[] = {
        {"firmware upgrade", true, 150001},
        {"configuration restore", false, 40000},
    };
    for (const RisingCase& c : cases) {
        SCOPED_TRACE(c.what);
        restartWith({});
        Shown shown;
        const QString file = path(c.firmware ? "fw.tfp" : "restore.cfg");
        const QByteArray bytes = c.firmware ? content(c.size) : configuration(c.size);
        ASSERT_EQ(bytes.size(), c.size);
        ASSERT_TRUE(writeFile(file, bytes));
        if (c.firmware) {
            TFM_Firmware window(main, nullptr);
            window.Ed_UpgFile->setText(file);
            watch(window, shown);
            window.Bt_OKClick(); // returns once the wait window has closed
        } else {
            TFM_CfgFile window(main, nullptr);
            window.Ed_UpgFile->setText(file);
            watch(window, shown);
            window.Bt_OKClick();
        }
        ASSERT_FALSE(shown.bar.empty());
        EXPECT_TRUE(shown.progressVisible);
        EXPECT_TRUE(std::is_sorted(shown.bar.begin(), shown.bar.end()));
        EXPECT_EQ(shown.bar.back(), c.size);
        EXPECT_EQ(shown.movedText, QStringLiteral("%1 of %1 bytes").arg(c.size));
        EXPECT_EQ(shown.accessibleName, "Transfer progress");
        EXPECT_EQ(shown.accessibleValue, c.size);
        EXPECT_EQ(shown.accessibleMaximum, c.size);
        EXPECT_TRUE(dialogs.messages().empty()) << lastMessage().toStdString();
    }
}

// The device gives the fetch up part way: the failure text comes, and the bar
// stays where the transfer stopped.
TEST_F(Progress, AFailedUpgradeLeavesTheBarWhereItStopped) {
    restartWith({"--tftp-get-abort", "20000"});
    const qsizetype size = 70001;
    ASSERT_TRUE(writeFile(path("fw.tfp"), content(size)));
    TFM_Firmware window(main, nullptr);
    ASSERT_TRUE(window.serviceReady());
    // The device's silence fails the session within half a second.
    window.server()->setTiming(50, 1);
    window.Ed_UpgFile->setText(path("fw.tfp"));
    Shown shown;
    int barAtMessage = -1;
    dialogs.onShown = [&](const OvShownDialog&) {
        if (TFM_Waiting* waiting = window.waitingWindow())
            barAtMessage = waiting->PB_Transfer->value();
    };
    bool endedFailed = false;
    QObject::connect(window.transferMeter(), &OvTransferMeter::ended,
                     [&](bool ok, qint64) { endedFailed = !ok; });
    watch(window, shown);
    window.Bt_OKClick();
    ASSERT_TRUE(ovtest::waitFor([&] { return endedFailed; }, 10000));
    ASSERT_EQ(dialogs.messages().size(), 1u) << lastMessage().toStdString();
    EXPECT_EQ(lastMessage(), "Warning|Cant Perform Operation,Please try again!");
    const qint64 stopped = window.transferMeter()->moved();
    EXPECT_GT(stopped, 0);
    EXPECT_LT(stopped, size);
    EXPECT_GT(barAtMessage, 0);
    EXPECT_LE(barAtMessage, stopped);
    ASSERT_FALSE(shown.bar.empty());
    EXPECT_TRUE(std::is_sorted(shown.bar.begin(), shown.bar.end()));
    EXPECT_LE(shown.bar.back(), stopped) << "never past where it stopped";
    EXPECT_EQ(shown.accessibleMaximum, size);
    EXPECT_EQ(agent->stateFact("restarts"), 0);
}

// A save has no wait window: its status bar counts what has arrived, then
// shows the command's outcome again.
TEST_F(Progress, ASaveCountsTheArrivingOctetsInTheStatusBar) {
    TFM_CfgFile window(main, nullptr);
    ASSERT_TRUE(window.serviceReady());
    std::vector<QString> texts;
    QObject::connect(window.transferMeter(), &OvTransferMeter::progressed,
                     [&](qint64) { texts.push_back(window.StatusBar->panel(0)->text()); });
    window.Ed_SaveFile->setText(path("backup.cfg"));
    window.Bt_UploadClick();
    ASSERT_TRUE(waitForMessage("The configuration file saved successfully!"))
        << lastMessage().toStdString();
    const qsizetype saved = readFile(path("backup.cfg")).size();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), QStringLiteral("Receiving: %1 bytes").arg(saved));
    EXPECT_FALSE(window.StatusBar->panel(0)->text().startsWith("Receiving"))
        << window.StatusBar->panel(0)->text().toStdString();
}

} // namespace
