// The DHCP server window against apsim: what it reads and asks for at
// creation, its busy flag, its two views of the static pool, its mirrored
// selectors, its closures, the dynamic pool apply's checks in order and what
// it sends, the lease refresh buttons, and closing.
#include "DhcpTest.h"

#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "TFM_Waiting.h"
#include "widgettest/OvAccessibility.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <map>

namespace {

using namespace dhcptest;

class DhcpWindow : public DhcpTest {
protected:
    // Where an operation first appears in the log, or -1.
    long firstIndexOf(const std::string& operation) const {
        const auto ops = operations();
        const auto found = std::find_if(ops.begin(), ops.end(), [&](const std::string& op) {
            return op.rfind(operation, 0) == 0;
        });
        return found == ops.end() ? -1 : static_cast<long>(found - ops.begin());
    }
    long countOf(const std::string& operation, std::size_t from = 0) const {
        const auto ops = operations(from);
        return std::count_if(ops.begin(), ops.end(),
                             [&](const std::string& op) { return op.rfind(operation, 0) == 0; });
    }
    static void runEventsFor(int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    static QStringList captions(const OvListView* list) {
        QStringList shown;
        for (int row = 0; row < list->itemCount(); ++row)
            shown << list->caption(row);
        return shown;
    }
    // The text of the label whose buddy the control is.
    static QString buddyText(QWidget* window, QWidget* control) {
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (label->buddy() == control)
                return label->text();
        return {};
    }
    static QColor base(const QWidget* list) { return list->palette().color(QPalette::Base); }
    static QColor appColour(QPalette::ColorRole role) {
        return QApplication::palette().color(QPalette::Active, role);
    }
};

TEST_F(DhcpWindow, AsksTheDeviceForItsLeasesBeforeWalkingThem) {
    open();
    EXPECT_EQ(window->windowTitle(), "Advanced \\ DHCP Server");
    const long trigger = firstIndexOf("SET E.2.7.4.3.1.0");
    ASSERT_GE(trigger, 0) << "no lease trigger sent";
    ASSERT_FALSE(sets().empty());
    EXPECT_EQ(sets().front(),
              (std::vector<std::string>{binding(kDynamicGet, "i:1"), binding(kStaticGet, "i:1")}));
    // In the order of creation: dynamic pool, switch, triggers, walks, address.
    EXPECT_LT(firstIndexOf("GET E.2.7.2.1.0"), firstIndexOf("GET E.2.7.1.0"));
    EXPECT_LT(firstIndexOf("GET E.2.7.1.0"), trigger);
    for (const char* walk :
         {"GETNEXT E.2.7.3.1.2", "GETNEXT E.2.7.4.1.1.2", "GETNEXT E.2.7.4.2.1.2"})
        EXPECT_LT(trigger, firstIndexOf(walk)) << walk;
    EXPECT_LT(firstIndexOf("GETNEXT E.2.7.4.2.1.2"), firstIndexOf("GET E.1.2.2.0"));
    // apsim's default leases, numbered from 1 since the device filled its tables.
    EXPECT_EQ(captions(window->LV_DynPool), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(captions(window->LV_StaticPool), (QStringList{"1", "2"}));
    EXPECT_EQ(window->Ed_ext->text(), qip(1));
}

TEST_F(DhcpWindow, ShowsTheUsedEntriesAndWorksOnTheFullTableUnseen) {
    openWith(
        {"--set", poolColumn(2, 3) + "=" + ip(52), "--set", poolColumn(3, 3) + "=000C41AABB03"});
    OvListView* used = window->User_ListView;
    OvListView* full = window->LV_StaticPoolSet;
    EXPECT_EQ(captions(used), (QStringList{"1", "2"})) << "numbered, free slots left out";
    EXPECT_EQ(used->subItem(0, 0), qip(50));
    EXPECT_EQ(used->subItem(1, 0), qip(52));
    EXPECT_EQ(captions(full), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(full->subItem(1, 0), "0.0.0.0");
    QStringList columns;
    for (int c = 0; c < full->columnCount(); ++c)
        columns << full->horizontalHeaderItem(c)->text();
    EXPECT_EQ(columns, (QStringList{"Index", "IP", "MAC", "Mask", "Gateway", "DNS", "Wins",
                                    "Domain", "Status"}));
    window->PageControl1->setCurrentWidget(window->TabSheet2);
    EXPECT_TRUE(used->isVisible());
    EXPECT_FALSE(full->isVisible()) << "the full table is never shown";
    EXPECT_TRUE(used->isEnabled());
    EXPECT_EQ(base(used), appColour(QPalette::Base)) << "the window colour once usable";
}

TEST_F(DhcpWindow, StaysOpenUntilItsFirstStaticPoolWalkHasEnded) {
    restartAgent(withLan({"--delay-var", "E.2.7.3.1.2=60"}));
    window = std::make_unique<TFM_DHCP>(main, nullptr);
    ovtest::showActive(window.get());
    ASSERT_TRUE(window->busyFlag().isSet());
    for (QPushButton* b :
         {window->Bt_Cancel, window->Bt_Apply, window->StaticApply, window->Bt_Add})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    window->close();
    EXPECT_TRUE(window->isVisible()) << "closed by close()";
    ovtest::pressKey(Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible()) << "closed by Escape";

    ASSERT_TRUE(ovtest::waitFor([&] { return !window->busyFlag().isSet(); }));
    EXPECT_FALSE(window->staticPoolBinding()->IsBusy());
    for (QPushButton* b : {window->Bt_Cancel, window->Bt_Apply, window->StaticApply})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    ovtest::click(window->Bt_Cancel);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->staticPoolBinding(), nullptr) << "the bindings went with the window";
    EXPECT_EQ(window->staticPoolEntry(), nullptr);
}

TEST_F(DhcpWindow, CanBeClosedWhenItsFirstStaticPoolWalkCouldNotStart) {
    // A failure raised at creation shows in the simple text, else the walk's result.
    for (const ovtest::UnsendableSession& c : ovtest::unsendableSessions()) {
        SCOPED_TRACE(c.what);
        restartAgent(withLan({}));
        c.breakSession();
        window = std::make_unique<TFM_DHCP>(main, nullptr);
        ovtest::showActive(window.get());
        ASSERT_TRUE(ovtest::waitFor([&] { return !window->busyFlag().isSet(); }));
        EXPECT_TRUE(window->Bt_Cancel->isEnabled());
        EXPECT_FALSE(window->Bt_Apply->isEnabled());
        EXPECT_FALSE(window->StaticApply->isEnabled());
        if (c.raisedAtOnce) {
            for (OvStatusBar* bar : {window->StatusBar1, window->StatusBar2, window->StatusBar3})
                EXPECT_TRUE(bar->simpleText().contains("(OvSNMP++)"))
                    << bar->simpleText().toStdString();
        } else {
            EXPECT_FALSE(window->StatusBar2->panel(0)->text().isEmpty());
            EXPECT_NE(window->StatusBar2->panel(0)->text(), ovtest::kStatusOk);
        }
        ovtest::click(window->Bt_Cancel);
        EXPECT_FALSE(window->isVisible());
        window.reset();
    }
}

TEST_F(DhcpWindow, ShowsTheStaticPoolWalksResultInBothStatusBars) {
    open();
    EXPECT_EQ(window->StatusBar1->panel(0)->text(), ovtest::kStatusOk);
    EXPECT_EQ(window->StatusBar2->panel(0)->text(), ovtest::kStatusOk);
}

TEST_F(DhcpWindow, ShowsAFailedSynchronousOperationAsItsStatusLine) {
    openWith({"--fail", "E.2.7.2.8.0=genErr"});
    EXPECT_TRUE(window->StatusBar1->simplePanel());
    EXPECT_TRUE(window->StatusBar1->simpleText().startsWith("Get: "))
        << window->StatusBar1->simpleText().toStdString();
    for (auto [edit, text] : {std::pair{window->Ed_IPAF, qip(110)},
                              {window->Ed_PoolRan, "20"},
                              {window->Ed_SubMask, "255.255.255.0"},
                              {window->Ed_Gateway, ""},
                              {window->Ed_Wins, ""},
                              {window->Ed_DNS, ""},
                              {window->Ed_DomNa, "lab"},
                              {window->Ed_Lease, "3600"}})
        retype(edit, text);
    pick(window->CB_Status, 1);
    ovtest::click(window->Bt_Apply);
    EXPECT_TRUE(window->StatusBar1->simpleText().startsWith("Set: "))
        << window->StatusBar1->simpleText().toStdString();
    const auto sent = setsSinceOpen();
    ASSERT_EQ(sent.size(), 2u) << "the switch, the refused pool, and no restart";
    EXPECT_EQ(sent[0], (std::vector<std::string>{binding(kSwitch, "i:1")}));
    EXPECT_EQ(agent->stateFact("restarts"), 0);
}

TEST_F(DhcpWindow, MirrorsItsSelectorsAndFollowsTheEnableRule) {
    open();
    TFM_DHCP& w = *window;
    window->PageControl1->setCurrentWidget(window->TabSheet2);
    const QList<QWidget*> dynamicControls{w.Ed_IPAF,    w.Ed_PoolRan, w.Ed_SubMask,
                                          w.Ed_Gateway, w.Ed_Wins,    w.Ed_DNS,
                                          w.Ed_DomNa,   w.Ed_Lease,   w.CB_Status};
    const struct {
        const char* what;
        std::function<void()> change;
        int index;
    } cases[] = {
        {"the dynamic tab's selector on Disable", [&] { pick(w.CB_Fuction1, 0); }, 0},
        {"the static tab's selector on Enable", [&] { pick(w.CB_Fuction2, 1); }, 1},
        {"the static tab's selector on Disable", [&] { pick(w.CB_Fuction2, 0); }, 0},
        {"the dynamic tab's selector on Enable", [&] { pick(w.CB_Fuction1, 1); }, 1},
        {"Disable picked by an assistive technology",
         [&] {
             QAccessibleInterface* combo = ovtest::accessible(w.CB_Fuction1);
             combo->child(0)->tableInterface()->selectRow(0);
         },
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.change();
        const bool on = c.index == 1;
        EXPECT_EQ(w.CB_Fuction1->currentIndex(), c.index);
        EXPECT_EQ(w.CB_Fuction2->currentIndex(), c.index);
        for (QWidget* control : dynamicControls)
            EXPECT_EQ(control->isEnabled(), on) << control->objectName().toStdString();
        EXPECT_EQ(w.User_ListView->isEnabled(), on);
        EXPECT_EQ(w.LV_StaticPoolSet->isEnabled(), on);
        EXPECT_EQ(base(w.User_ListView), appColour(on ? QPalette::Base : QPalette::Button));
        if (!on) {
            for (QPushButton* b : {w.Bt_Add, w.Bt_Set, w.Bt_Del})
                EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        }
        EXPECT_EQ(ov::typingLimit(w.Ed_PoolRan), 3);
        EXPECT_EQ(ov::typingLimit(w.Ed_Lease), 8);
    }
    EXPECT_TRUE(setsSinceOpen().empty()) << "a selector sends nothing by itself";
}

TEST_F(DhcpWindow, EnablesSetAndDelWhileAUsedEntryIsSelected) {
    open();
    window->PageControl1->setCurrentWidget(window->TabSheet2);
    EXPECT_TRUE(window->Bt_Add->isEnabled());
    EXPECT_FALSE(window->Bt_Set->isEnabled());
    OvListView* used = window->User_ListView;
    QTest::mouseClick(used->viewport(), Qt::LeftButton, Qt::NoModifier,
                      used->visualRect(used->model()->index(0, 1)).center());
    EXPECT_EQ(used->selectedRow(), 0);
    EXPECT_TRUE(window->Bt_Set->isEnabled());
    EXPECT_TRUE(window->Bt_Del->isEnabled());
    used->clearSelection();
    EXPECT_FALSE(window->Bt_Set->isEnabled());
    EXPECT_FALSE(window->Bt_Del->isEnabled());
}

// Every field starts wrong; each apply is refused by the first check still
// failing, which the next step puts right. Nothing reaches the device until
// the last step.
TEST_F(DhcpWindow, ChecksTheDynamicPoolInTheDesignedOrderEachEndingTheApply) {
    main.agentAddress = qip(120); // the address the module was started for
    open();
    const CheckStep<TFM_DHCP> steps[] = {
        {"1: no start",
         {{&TFM_DHCP::Ed_IPAF, ""},
          {&TFM_DHCP::Ed_PoolRan, ""},
          {&TFM_DHCP::Ed_SubMask, "255.0.255.0"},
          {&TFM_DHCP::Ed_Gateway, "10.0.0"},
          {&TFM_DHCP::Ed_Wins, "10.0.0"},
          {&TFM_DHCP::Ed_DNS, "10.0.0"},
          {&TFM_DHCP::Ed_DomNa, "lab\"net"},
          {&TFM_DHCP::Ed_Lease, ""}},
         "Warning|Please input valid IP address",
         nullptr,
         &TFM_DHCP::Ed_IPAF},
        {"2: no size",
         {{&TFM_DHCP::Ed_IPAF, qip(1)}},
         "Warning|Please input a number between 1 and 255.",
         nullptr,
         &TFM_DHCP::Ed_PoolRan},
        {"3: the pool covers the device",
         {{&TFM_DHCP::Ed_PoolRan, "10"}},
         "Warning|Reject: The DHCP dynamic IP pool will cover system IP."},
        {"4: the pool covers a static entry",
         {{&TFM_DHCP::Ed_IPAF, qip(45)}},
         "Warning|Reject: The DHCP dynamic IP pool will cover Static IP."},
        {"5: an empty pool",
         {{&TFM_DHCP::Ed_IPAF, qip(255)}, {&TFM_DHCP::Ed_PoolRan, "0"}},
         "Error|Please input a number between 1 and 255.",
         &TFM_DHCP::Ed_PoolRan,
         &TFM_DHCP::Ed_PoolRan},
        {"5: a pool of 256",
         {{&TFM_DHCP::Ed_PoolRan, "256"}},
         "Error|Please input a number between 1 and 255.",
         &TFM_DHCP::Ed_PoolRan,
         &TFM_DHCP::Ed_PoolRan},
        {"6: no lease",
         {{&TFM_DHCP::Ed_PoolRan, "20"}},
         "Warning|Please input a number between 60 and 31536000.",
         nullptr,
         &TFM_DHCP::Ed_Lease},
        {"7: a quotation mark in the domain",
         {{&TFM_DHCP::Ed_Lease, "59"}},
         "Warning|Quotation Mark (\") is not accepted",
         nullptr,
         &TFM_DHCP::Ed_DomNa},
        {"8: a lease of 59 s",
         {{&TFM_DHCP::Ed_DomNa, "lab"}},
         "Error|Please input a number between 60 and 31536000.",
         &TFM_DHCP::Ed_Lease,
         &TFM_DHCP::Ed_Lease},
        {"8: a lease over a year",
         {{&TFM_DHCP::Ed_Lease, "31536001"}},
         "Error|Please input a number between 60 and 31536000.",
         &TFM_DHCP::Ed_Lease,
         &TFM_DHCP::Ed_Lease},
        {"10: the start is no host address",
         {{&TFM_DHCP::Ed_Lease, "60"}},
         "Waring|Please input valid IP address",
         &TFM_DHCP::Ed_IPAF,
         &TFM_DHCP::Ed_IPAF},
        {"11: a bad gateway",
         {{&TFM_DHCP::Ed_IPAF, qip(110)}},
         "Waring|Please input valid Gateway.",
         &TFM_DHCP::Ed_Gateway,
         &TFM_DHCP::Ed_Gateway},
        {"12: a bad WINS server",
         {},
         "Waring|Please input valid Wins.",
         &TFM_DHCP::Ed_Wins,
         &TFM_DHCP::Ed_Wins},
        {"13: a bad DNS server",
         {},
         "Waring|Please input valid DNS.",
         &TFM_DHCP::Ed_DNS,
         &TFM_DHCP::Ed_DNS},
        {"14: a mask with a hole",
         {},
         "Waring|Please input valid SubMask.",
         &TFM_DHCP::Ed_SubMask,
         &TFM_DHCP::Ed_SubMask},
        {"15: the start is the module's agent address, with a leading zero",
         {{&TFM_DHCP::Ed_IPAF, QString::fromStdString(quietNetwork()) + ".0120"}},
         "Waring|Reject:DHCPS dynamic IP pool will cover system IP",
         &TFM_DHCP::Ed_IPAF},
    };
    TFM_DHCP& w = *window;
    refusedInOrder(w, w.Bt_Apply, steps);
    if (HasFatalFailure())
        return;
    // Empty mask, gateway, WINS and DNS boxes go out as 0.0.0.0.
    const std::string status = stateText("E.2.7.2.9.0");
    retype(w.Ed_IPAF, qip(110));
    dialogs.clear();
    ovtest::click(w.Bt_Apply);
    EXPECT_TRUE(messages().empty());
    const auto sent = setsSinceOpen();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], (std::vector<std::string>{binding(kSwitch, "i:1")}));
    EXPECT_EQ(
        sent[1],
        (std::vector<std::string>{
            binding(kDynamicPool + "1.0", "a:" + ip(110)), binding(kDynamicPool + "2.0", "i:20"),
            binding(kDynamicPool + "3.0", "a:0.0.0.0"), binding(kDynamicPool + "4.0", "a:0.0.0.0"),
            binding(kDynamicPool + "5.0", "a:0.0.0.0"), binding(kDynamicPool + "6.0", "a:0.0.0.0"),
            binding(kDynamicPool + "7.0", "s:lab"), binding(kDynamicPool + "8.0", "i:60"),
            binding(kDynamicPool + "9.0", "i:" + status)}));
    EXPECT_EQ(sent[2], (std::vector<std::string>{binding(kRestart, "i:1")}))
        << "the restart wait window with its defaults";
}

TEST_F(DhcpWindow, TakesALeaseOfOneMinuteAndOfOneYear) {
    for (const char* lease : {"60", "31536000"}) {
        SCOPED_TRACE(lease);
        openWith({});
        retype(window->Ed_Lease, lease);
        ovtest::click(window->Bt_Apply);
        EXPECT_EQ(messages(), std::vector<QString>{});
        EXPECT_EQ(stateText("E.2.7.2.8.0"), lease);
        window.reset();
    }
}

TEST_F(DhcpWindow, EndsTheApplyWithTheApplicationsReportWhenAnAddressIsNoNumber) {
    const struct {
        const char* what;
        std::function<void(TFM_DHCP&)> change;
        QString text;
    } cases[] = {
        {"a start with a letter",
         [](TFM_DHCP& w) { retype(w.Ed_IPAF, QString::fromStdString(quietNetwork()) + ".x"); },
         "'x' is not a valid integer value"},
        {"the device's address not read yet", [](TFM_DHCP& w) { w.Ed_ext->clear(); },
         "'' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        openWith({});
        c.change(*window);
        dialogs.clear();
        ovtest::click(window->Bt_Apply);
        ASSERT_EQ(dialogs.messages().size(), 1u);
        EXPECT_EQ(dialogs.messages()[0].title, ov::executableName());
        EXPECT_EQ(dialogs.messages()[0].text, c.text);
        EXPECT_TRUE(setsSinceOpen().empty());
        window.reset();
    }
}

TEST_F(DhcpWindow, SendsOnlyTheSwitchWhileTheServerIsOff) {
    const struct {
        const char* what;
        QPushButton* TFM_DHCP::*button;
        QWidget* TFM_DHCP::*tab;
    } cases[] = {
        {"the dynamic tab's Apply", &TFM_DHCP::Bt_Apply, &TFM_DHCP::TabSheet1},
        {"the static tab's Apply", &TFM_DHCP::StaticApply, &TFM_DHCP::TabSheet2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        openWith({});
        window->PageControl1->setCurrentWidget(window.get()->*c.tab);
        pick(window->CB_Fuction1, 0);
        retype(window->Ed_IPAF, "not checked while off");
        ovtest::click(window.get()->*c.button);
        EXPECT_TRUE(messages().empty());
        const auto sent = setsSinceOpen();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], (std::vector<std::string>{binding(kSwitch, "i:0")}));
        EXPECT_EQ(sent[1], (std::vector<std::string>{binding(kRestart, "i:1")}));
        window.reset();
    }
}

TEST_F(DhcpWindow, RefreshButtonsAskForTheLeasesAgainAndWalkThemFromRowOne) {
    open();
    EXPECT_EQ(window->findChild<QWidget*>("Bt_Rfrsh"), nullptr) << "no such button";
    const struct {
        const char* what;
        QPushButton* TFM_DHCP::*button;
        OvListView* TFM_DHCP::*list;
        const char* walk;
        QStringList rows;
    } cases[] = {
        {"dynamic leases",
         &TFM_DHCP::Bt_RefreshDynamicPool,
         &TFM_DHCP::LV_DynPool,
         "GETNEXT E.2.7.4.1.1.2",
         {"1", "2", "3"}},
        {"static leases",
         &TFM_DHCP::Bt_RefreshStaticPool,
         &TFM_DHCP::LV_StaticPool,
         "GETNEXT E.2.7.4.2.1.2",
         {"1", "2"}},
    };
    window->PageControl1->setCurrentWidget(window->TabSheet3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t from = agent->requests().size();
        ovtest::click(window.get()->*c.button);
        ASSERT_TRUE(waitUntilIdle());
        const auto ops = operations(from);
        ASSERT_FALSE(ops.empty());
        EXPECT_EQ(ops.front(), "SET E.2.7.4.3.1.0") << "the triggers first";
        EXPECT_EQ(agent->requests()[from].values.size(), 2u);
        EXPECT_GE(countOf(c.walk, from), 1);
        EXPECT_EQ(captions(window.get()->*c.list), c.rows);
    }
}

TEST_F(DhcpWindow, ClosingStopsTheWalksStillUnderWay) {
    const std::string leaseColumn = "E.2.7.4.1.1.2";
    restartAgent(withLan({"--rows", "dhcpleases=40", "--delay-var", leaseColumn + "=30"}));
    window = std::make_unique<TFM_DHCP>(main, nullptr);
    ovtest::showActive(window.get());
    // The static pool's walk ends long before the slow lease walk.
    ASSERT_TRUE(ovtest::waitFor([&] { return !window->busyFlag().isSet(); }));
    ASSERT_TRUE(window->dynamicLeasesBinding()->IsBusy());
    ovtest::click(window->Bt_Cancel);
    EXPECT_FALSE(window->isVisible());
    const long walked = countOf("GETNEXT " + leaseColumn);
    runEventsFor(200);
    EXPECT_EQ(countOf("GETNEXT " + leaseColumn), walked) << "the walk went on after closing";
    EXPECT_LT(window->LV_DynPool->itemCount(), 40);
}

TEST_F(DhcpWindow, ReadsEveryControlByItsCaptionOrLabel) {
    open();
    TFM_DHCP& w = *window;
    const std::map<QString, QString> designed{
        {"CB_Fuction1", "Function Enable/Disable"},
        {"Ed_IPAF", "IP Assigned From"},
        {"Ed_PoolRan", "The Range of Pool (1-255)"},
        {"Ed_Lease", "Lease Time (60 - 31536000 sec)"},
        {"CB_Status", "Status"},
        {"Bt_Apply", "Apply"},
        {"CB_Fuction2", "Function Enable/Disable"},
        {"User_ListView", "Static Pool Settings : Assigned Static Pool"},
        {"Bt_Del", "Del"},
        {"LV_DynPool", "Current DHCP Dynamic Pools"},
        {"LV_StaticPool", "Current DHCP Static Pools"},
        {"Bt_RefreshStaticPool", "Refresh"},
    };
    for (QWidget* tab : {w.TabSheet1, w.TabSheet2, w.TabSheet3}) {
        w.PageControl1->setCurrentWidget(tab);
        for (QWidget* control : tab->findChildren<QWidget*>()) {
            const bool named = qobject_cast<QAbstractButton*>(control) != nullptr ||
                               qobject_cast<QLineEdit*>(control) != nullptr ||
                               qobject_cast<QComboBox*>(control) != nullptr ||
                               qobject_cast<OvListView*>(control) != nullptr;
            if (!named || !control->isVisible() || control->objectName().isEmpty())
                continue;
            SCOPED_TRACE(control->objectName().toStdString());
            const QString name = ovtest::accessibleName(control);
            EXPECT_FALSE(name.isEmpty());
            EXPECT_NE(name, control->objectName());
            // Qt reads a combo box with an item chosen by that item; its label
            // is the one whose buddy it is.
            const bool combo = qobject_cast<QComboBox*>(control) != nullptr;
            const auto found = designed.find(control->objectName());
            if (found != designed.end()) {
                EXPECT_EQ(combo ? buddyText(&w, control) : name, found->second);
            }
        }
    }
}

} // namespace
