#include "OvLedShape.h"
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "TMainForm.h"
#include "widgettest/OvAccessibility.h"
#include "widgettest/OvDeviceTest.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <tuple>

namespace {

using ovtest::DeviceTest;

const QString kReady = QStringLiteral("Ready. ");

class MainFormTest : public DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override { return options; }
    void start(const std::vector<std::string>& agentOptions, bool handOver = true,
               const QString& model = QStringLiteral(OV_MODEL_NAME)) {
        restartAgent(agentOptions);
        ASSERT_TRUE(agent->isRunning()) << agent->error();
        form = std::make_unique<TMainForm>(nullptr, model);
        if (handOver)
            form->HandOver();
    }
    // The first poll waits on the session's set-up, which takes seconds when
    // other tests keep both cores busy.
    bool waitForStatus(const QString& text) {
        return ovtest::waitFor([&] { return form->statusText() == text; }, 20000);
    }
    QMenu* menu(const QString& title) {
        for (QAction* action : form->menuBar()->actions()) {
            if (action->text() == title)
                return action->menu();
        }
        return nullptr;
    }
    QAction* menuItem(const char* menuTitle, const char* caption) {
        if (QMenu* m = menu(QString::fromLatin1(menuTitle)))
            for (QAction* action : m->actions())
                if (action->text() == QString::fromLatin1(caption))
                    return action;
        return nullptr;
    }
    // Triggers the item and answers the title of the modal window it opened,
    // closed once it is up; a window that refuses while it reads is asked again.
    static QString titleOfWindowOpenedBy(QAction* item) {
        QString title;
        QTimer closer;
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            QWidget* window = QApplication::activeModalWidget();
            if (window == nullptr || !window->isVisible())
                return;
            title = window->windowTitle();
            window->close();
        });
        closer.start();
        item->trigger();
        return title;
    }
    bool agentAsked(const std::string& oid) {
        for (const auto& request : agent->requests()) {
            for (const auto& asked : request.oids) {
                if (asked.rfind(oid, 0) == 0)
                    return true;
            }
        }
        return false;
    }
    // Watches an LED over several blink periods: did its colour change?
    bool changesColour(OvLedShape* led) {
        const QColor first = led->colour();
        return ovtest::waitFor([&] { return led->colour() != first; }, 500);
    }

    std::vector<std::string> options;
    std::unique_ptr<TMainForm> form;
};

struct LedCase {
    const char* what;
    const char* stLED;
    bool power, lan, g, a;       // lit after the update
    bool powerBlinks, lanBlinks; // colour keeps changing
};

TEST_F(MainFormTest, LedStatesFollowTheDevice) {
    const LedCase cases[] = {
        {"power, LAN and 802.11a lit", "69", true, true, false, true, false, false},
        {"power lit and blinking", "3", true, false, false, false, true, false},
        {"LAN blinking", "12", false, false, false, false, false, true},
        {"not a number counts as 0", "s:abc", false, false, false, false, false, false},
        {"every LED lit", "85", true, true, true, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        start({"--set", std::string("stLED=") + c.stLED});
        ASSERT_TRUE(waitForStatus(kReady)) << form->statusText().toStdString() << agent->output();
        if (!c.powerBlinks) {
            EXPECT_EQ(form->Sh_power->isLit(), c.power);
        }
        if (!c.lanBlinks) {
            EXPECT_EQ(form->Sh_Lan->isLit(), c.lan);
        }
        EXPECT_EQ(form->Sh_11g->isLit(), c.g);
        EXPECT_EQ(form->Sh_11a->isLit(), c.a);
        EXPECT_EQ(changesColour(form->Sh_power), c.powerBlinks);
        EXPECT_EQ(changesColour(form->Sh_Lan), c.lanBlinks);
        EXPECT_EQ(form->Sh_power->accessibleDescription(),
                  c.powerBlinks ? "blinking" : (c.power ? "lit" : "off"));
        EXPECT_EQ(form->Sh_11g->accessibleName(), "802.11g LED");
        form.reset();
    }
}

TEST_F(MainFormTest, PollFailureBlackensTheLedsAndShowsTheText) {
    start({"--set", "stLED=3"});
    ASSERT_TRUE(waitForStatus(kReady));
    ASSERT_TRUE(changesColour(form->Sh_power));
    form->ledBinding()->request.timeout = 20; // a silent device is found out quickly
    agent.reset();
    ASSERT_TRUE(waitForStatus(QStringLiteral("(SNMPClass) SNMP request timed out!")));
    for (OvLedShape* led : {form->Sh_power, form->Sh_Lan, form->Sh_11g, form->Sh_11a}) {
        EXPECT_FALSE(led->isLit()) << led->objectName().toStdString();
        EXPECT_FALSE(changesColour(led)) << led->objectName().toStdString();
        EXPECT_EQ(led->accessibleDescription(), "off");
    }
    EXPECT_FALSE(form->Timer2->isActive());
    EXPECT_FALSE(form->Timer3->isActive());
}

TEST_F(MainFormTest, AnAddressThatNamesNoDeviceFailsEachPollAndPollingGoesOn) {
    const char* addresses[] = {"10.0.0.300", "999.1.1.1", "nosuch.invalid", ""};
    for (const char* address : addresses) {
        SCOPED_TRACE(address);
        restartAgent({"--set", "stLED=85"});
        const std::string reachable = OvSNMPDevice.agentAddress;
        OvSNMPDevice.agentAddress = address;
        form = std::make_unique<TMainForm>();
        ASSERT_NO_THROW(form->HandOver());
        OvSNMPDevice.agentAddress = reachable;
        EXPECT_EQ(form->statusText(), "(OvSNMP++) Invalid IP Address or DNS name!");
        for (OvLedShape* led : {form->Sh_power, form->Sh_Lan, form->Sh_11g, form->Sh_11a})
            EXPECT_FALSE(led->isLit()) << led->objectName().toStdString();
        EXPECT_TRUE(form->Timer1->isActive());
        // A later poll, with an address that names the device, works.
        form->ledBinding()->request.agentAddress = reachable;
        QMetaObject::invokeMethod(form->Timer1, "timeout");
        EXPECT_TRUE(waitForStatus(kReady)) << form->statusText().toStdString();
        EXPECT_TRUE(form->Sh_11g->isLit());
        form.reset();
    }
}

// Whether a screen reader walking the window from its top finds this text.
bool readableInWindow(QAccessibleInterface* node, const QString& text, int depth = 0) {
    if (node == nullptr || depth > 12)
        return false;
    if (node->text(QAccessible::Name) == text)
        return true;
    for (int i = 0; i < node->childCount(); ++i) {
        if (readableInWindow(node->child(i), text, depth + 1))
            return true;
    }
    return false;
}

TEST_F(MainFormTest, AScreenReaderReadsAndHearsThePollsStatus) {
    ovtest::AccessibilityRecorder recorder;
    start({});
    ASSERT_TRUE(waitForStatus(kReady));
    OvStatusPanel* panel = form->MainStatusBar->panel(0);
    EXPECT_EQ(ovtest::accessibleName(panel), kReady);
    EXPECT_EQ(ovtest::accessibleDescription(panel), "Status");
    EXPECT_TRUE(recorder.announced(panel, QAccessible::NameChanged));
    EXPECT_TRUE(readableInWindow(ovtest::accessible(form.get()), kReady));

    recorder.clear();
    form->ledBinding()->request.timeout = 20;
    agent.reset();
    const QString failure = QStringLiteral("(SNMPClass) SNMP request timed out!");
    ASSERT_TRUE(waitForStatus(failure));
    EXPECT_EQ(ovtest::accessibleName(panel), failure);
    EXPECT_TRUE(recorder.announced(panel, QAccessible::NameChanged));
    EXPECT_TRUE(readableInWindow(ovtest::accessible(form.get()), failure));
}

TEST_F(MainFormTest, DeviceFactsFill) {
    start({"--set", "stFirmwareVersion=1.2.3 b45", "--set", "hIPAddress=10.1.2.3", "--set",
           "hSubnetMask=255.255.0.0"});
    ASSERT_TRUE(ovtest::waitFor([&] {
        const OvDeviceFacts facts = form->deviceFacts();
        return facts.firmwareVersion == "1.2.3 b45" && facts.ipAddress == "10.1.2.3" &&
               facts.subnetMask == "255.255.0.0" && !facts.countryCode.isEmpty() &&
               !facts.turboMode.isEmpty() && !facts.turboModeG.isEmpty() &&
               !facts.apModeSupport.isEmpty() && !facts.multiSsid.isEmpty();
    }));
}

TEST_F(MainFormTest, ClientInfoItemFollowsTheDevice) {
    const std::string clientInfo = "1.3.6.1.4.1.48213.10.37.14.99.1.1.7";
    const struct {
        const char* what;
        std::vector<std::string> agentOptions;
        bool waitForPoll;
        bool shown;
        bool asked;
    } cases[] = {
        {"no poll answered yet", {"--set", "clientinfosupported=1"}, false, false, false},
        {"not supported", {"--set", "clientinfosupported=0"}, true, false, true},
        {"supported", {"--set", "clientinfosupported=1"}, true, true, true},
        {"query fails", {"--fail", "clientinfosupported=5"}, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        start(c.agentOptions, c.waitForPoll);
        if (c.waitForPoll) {
            ASSERT_TRUE(ovtest::waitFor([&] { return form->savedStatusText() == kReady; }));
        }
        QMenu* status = menu(QStringLiteral("Status"));
        ASSERT_NE(status, nullptr);
        emit status->aboutToShow();
        EXPECT_EQ(form->ClientInfoItem->isVisible(), c.shown);
        EXPECT_EQ(agentAsked(clientInfo), c.asked);
        form.reset();
    }
}

TEST_F(MainFormTest, RogueApItemShownOnlyForTheSiblingModel) {
    const std::pair<const char*, bool> models[] = {{"ORW-3300AP", false}, {"ORW-5200AP", true}};
    for (const auto& [model, shown] : models) {
        SCOPED_TRACE(model);
        start({}, true, QString::fromLatin1(model));
        EXPECT_EQ(form->windowTitle(), QString::fromLatin1(model));
        QMenu* advanced = menu(QStringLiteral("Advanced"));
        ASSERT_NE(advanced, nullptr);
        emit advanced->aboutToShow();
        EXPECT_EQ(form->RogueAPItem->isVisible(), shown);
        // Qt disables an item it hides; the sibling's opens its window (below).
        EXPECT_EQ(form->RogueAPItem->isEnabled(), shown);
        EXPECT_EQ(form->RogueAPItem->text(), "Rogue AP ");
        form.reset();
    }
}

// Each item opens its window modally; a window that keeps itself open while
// an answer is outstanding is asked again until it goes. The sibling model
// shows every item.
TEST_F(MainFormTest, MenuItemsOpenTheirWindows) {
    const struct {
        const char* menu;
        const char* item;
        QString title;
    } cases[] = {
        {"Home", "Information", "Home \\ Information"},
        {"Home", "Wireless", "Home \\ Wireless"},
        {"Home", "LAN", "Home \\ LAN"},
        {"Advanced", "Performance", "Advanced \\ Performance"},
        {"Advanced", "Filters", "Advanced \\ Filters"},
        {"Advanced", "Grouping", "Advanced \\ Grouping"},
        {"Advanced", "DHCP Server", "Advanced \\ DHCP Server"},
        {"Advanced", "Multi-SSID", "Advanced \\ Multi-SSID"},
        {"Advanced", "Rogue AP ", "Advanced \\ Rogue AP"},
        {"Advanced", "System Log", "Advanced \\ System Log"},
        {"Tools", "Admin", "Tools \\ Admin"},
        {"Tools", "System", "Tools \\ System"},
        {"Tools", "Miscellaneous", "Tools \\ Misc."},
        {"Status", "Device Info", "Status \\ Device Info"},
        {"Status", "Stats", "Status \\ Stats"},
        {"Status", "Indication", "Status \\ Indication"},
        {"Status", "Client Info", "Status \\ Client Info"},
    };
    start({}, true, QStringLiteral("ORW-5200AP"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        QAction* item = menuItem(c.menu, c.item);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isEnabled());
        EXPECT_EQ(titleOfWindowOpenedBy(item), c.title);
    }
}

TEST_F(MainFormTest, MenusOpenTheWindowsThatExist) {
    start({});
    const std::pair<const char*, bool> items[] = {{"Information", true},
                                                  {"Wireless", true},
                                                  {"LAN", true},
                                                  {"Performance", true},
                                                  {"Filters", true},
                                                  {"Grouping", true},
                                                  {"DHCP Server", true},
                                                  {"Multi-SSID", true},
                                                  {"System Log", true},
                                                  {"Admin", true},
                                                  {"System", true},
                                                  {"Firmware", true},
                                                  {"Configuration File", true},
                                                  {"Miscellaneous", true},
                                                  {"Device Info", true},
                                                  {"Stats", true},
                                                  {"Indication", true},
                                                  {"Client Info", true},
                                                  {"About", true}};
    QList<QAction*> actions;
    for (QAction* menu : form->menuBar()->actions())
        actions += menu->menu()->actions();
    for (const auto& [caption, enabled] : items) {
        const auto found = std::find_if(actions.begin(), actions.end(), [&](QAction* a) {
            return a->text() == QString::fromLatin1(caption);
        });
        ASSERT_NE(found, actions.end()) << caption;
        EXPECT_EQ((*found)->isEnabled(), enabled) << caption;
    }
}

} // namespace
