// The static pool entry dialog against apsim, opened from the DHCP server
// window as a user opens it: its checks in order with their texts, the probe
// in both modes, the MAC comparison, its three ways to write (into the free
// slot, over the client's own entry, over the entry edited), the columns its
// WINS and DNS boxes go to, and the finish that restarts nothing.
#include "DhcpTest.h"

#include "OvEditBox.h"
#include "OvListView.h"
#include "OvQuitRequest.h"
#include "OvStatusBar.h"
#include "widgettest/OvAccessibility.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {

using namespace dhcptest;
using nettest::WaitShown;

// The finish: no restart command, its own text, tick and countdown.
const WaitShown kFinish{"Settings saved.", "But the device isn't restarting.", 15, false, 22};

// apsim's entry in slot 1 on the device's network.
PoolEntry firstEntry() {
    return {qip(50), "000C41450001", "255.255.255.0", qip(254), qip(254), "0.0.0.0", "lan", 1};
}

class StaticPoolEntry : public DhcpTest {
protected:
    // A second entry in slot 3, so that slot 2 is the first free one.
    std::vector<std::string> withThirdSlot() const {
        return {"--set", poolColumn(2, 3) + "=" + ip(52),
                "--set", poolColumn(3, 3) + "=000C41AABB03",
                "--set", poolColumn(4, 3) + "=255.255.255.0"};
    }
    static PoolEntry thirdEntry() {
        return {qip(52), "000C41AABB03", "255.255.255.0", "0.0.0.0", "0.0.0.0", "0.0.0.0", "", 0};
    }
    // Set on the first used entry with an address off the device's network,
    // which the device refuses.
    void setFirstEntryOffTheNetwork() {
        const QString offNetwork = QString::fromStdString(otherQuietNetwork()) + ".5";
        selectUsedEntry(0);
        withEntry(window->Bt_Set, [&](TFM_StaticPoolEntry& entry) {
            retype(entry.Ed_AsgIP, offNetwork);
            ovtest::click(entry.Apply);
        });
    }
    // The entry apsim holds in the slot now.
    PoolEntry onDevice(int slot) const {
        const auto text = [&](int column) {
            return QString::fromStdString(stateText(poolColumn(column, slot)));
        };
        return {text(2), text(3), text(4), text(5), text(6), text(7), text(8), text(9).toInt()};
    }
    // The SETs since the window opened, each with apsim's outcome.
    std::vector<std::string> setOutcomes() const {
        std::vector<std::string> seen;
        const auto requests = agent->requests();
        std::size_t sets = 0;
        for (const ovtest::ApsimRequest& request : requests) {
            if (request.operation != "SET" || sets++ < setsAtOpen)
                continue;
            seen.push_back(request.oids.front() + " " + request.outcome);
        }
        return seen;
    }
    std::vector<QString> usedAddresses() const {
        std::vector<QString> shown;
        for (int row = 0; row < window->User_ListView->itemCount(); ++row)
            shown.push_back(window->User_ListView->subItem(row, 0));
        return shown;
    }
    bool restartSent() const {
        const auto all = sets();
        return std::any_of(all.begin(), all.end(), [](const std::vector<std::string>& set) {
            return set.front().rfind(kRestart, 0) == 0;
        });
    }
    // The wait of the finish, then the lists read again.
    void expectFinished() {
        EXPECT_EQ(waits.shown, std::vector<WaitShown>{kFinish});
        EXPECT_FALSE(window->staticPoolEntry()->isVisible());
        EXPECT_TRUE(waitUntilIdle());
        EXPECT_FALSE(window->busyFlag().isSet());
        EXPECT_FALSE(restartSent());
        EXPECT_EQ(agent->stateFact("restarts"), 0);
    }
};

// Every box starts wrong; each apply is refused by the first check still
// failing, which the next step puts right. Nothing reaches the device until
// the last step, and the dialog stays open throughout.
TEST_F(StaticPoolEntry, ChecksTheEntryInTheDesignedOrderEachEndingTheApply) {
    main.agentAddress = qip(1);
    open();
    const CheckStep<TFM_StaticPoolEntry> steps[] = {
        {"1: another slot holds the address",
         {{&TFM_StaticPoolEntry::Ed_AsgIP, qip(50)},
          {&TFM_StaticPoolEntry::Ed_AsgMac, "000C41"},
          {&TFM_StaticPoolEntry::Ed_SubMask, "255.0.255.0"},
          {&TFM_StaticPoolEntry::Ed_Gatway, "10.0.0"},
          {&TFM_StaticPoolEntry::Ed_Wins, "10.0.0"},
          {&TFM_StaticPoolEntry::Ed_DNS, "10.0.0"},
          {&TFM_StaticPoolEntry::Ed_DomNa, "lab\"net"}},
         "Warning|Reject: The IP has already existed. "},
        {"1: the same address with a leading zero",
         {{&TFM_StaticPoolEntry::Ed_AsgIP, QString::fromStdString(quietNetwork()) + ".050"}},
         "Warning|Reject: The IP has already existed. "},
        {"2: a mask with a hole",
         {{&TFM_StaticPoolEntry::Ed_AsgIP, qip(60)}},
         "Waring|Please input valid SubMask.",
         &TFM_StaticPoolEntry::Ed_SubMask,
         &TFM_StaticPoolEntry::Ed_SubMask},
        {"3: a bad gateway",
         {},
         "Waring|Please input valid Gateway.",
         &TFM_StaticPoolEntry::Ed_Gatway,
         &TFM_StaticPoolEntry::Ed_Gatway},
        {"4: a bad WINS server",
         {},
         "Waring|Please input valid Wins.",
         &TFM_StaticPoolEntry::Ed_Wins,
         &TFM_StaticPoolEntry::Ed_Wins},
        {"5: a bad DNS server",
         {},
         "Waring|Please input valid DNS.",
         &TFM_StaticPoolEntry::Ed_DNS,
         &TFM_StaticPoolEntry::Ed_DNS},
        {"6: a quotation mark in the domain",
         {},
         "Warning|Quotation Mark (\") is not accepted",
         nullptr,
         &TFM_StaticPoolEntry::Ed_DomNa},
        {"7: a broadcast address",
         {{&TFM_StaticPoolEntry::Ed_DomNa, "lab"}, {&TFM_StaticPoolEntry::Ed_AsgIP, "10.0.0.255"}},
         "Waring|Please input valid IP address",
         &TFM_StaticPoolEntry::Ed_AsgIP,
         &TFM_StaticPoolEntry::Ed_AsgIP},
        {"7: the free slot's address",
         {{&TFM_StaticPoolEntry::Ed_AsgIP, "0.0.0.0"}},
         "Waring|Please input valid IP address",
         &TFM_StaticPoolEntry::Ed_AsgIP,
         &TFM_StaticPoolEntry::Ed_AsgIP},
        {"9: a short MAC",
         {{&TFM_StaticPoolEntry::Ed_AsgIP, qip(60)}},
         "Warning|Please input valid MAC."},
        {"9: the free slot's MAC",
         {{&TFM_StaticPoolEntry::Ed_AsgMac, "000000000000"}},
         "Warning|Please input valid MAC."},
        {"10: the dynamic pool's first address",
         {{&TFM_StaticPoolEntry::Ed_AsgMac, "000C41AABB01"},
          {&TFM_StaticPoolEntry::Ed_AsgIP, qip(100)}},
         "Warning|Reject: The IP has already existed in IP Dynamic pool."},
        {"10: the dynamic pool's last address",
         {{&TFM_StaticPoolEntry::Ed_AsgIP, qip(149)}},
         "Warning|Reject: The IP has already existed in IP Dynamic pool."},
        {"11: the device's address",
         {{&TFM_StaticPoolEntry::Ed_AsgIP, qip(1)}},
         "Warning|Reject: The IP is the system IP."},
        {"11: the device's address with leading zeros",
         {{&TFM_StaticPoolEntry::Ed_AsgIP, QString::fromStdString(quietNetwork()) + ".001"}},
         "Warning|Reject: The IP is the system IP."},
    };
    withEntry(window->Bt_Add, [&](TFM_StaticPoolEntry& entry) {
        EXPECT_EQ(entry.windowTitle(), "Static IP Pool Adding");
        EXPECT_EQ(entry.LA_Index->text(), "2") << "the first free slot";
        EXPECT_EQ(shownEntry(entry), freeSlot());
        EXPECT_EQ(ov::typingLimit(entry.Ed_AsgMac), 12);
        refusedInOrder(entry, entry.Apply, steps);
        if (HasFatalFailure())
            return;
        EXPECT_TRUE(waits.shown.empty());
        // Just past the pool; the emptied boxes go out as 0.0.0.0.
        retype(entry.Ed_AsgIP, qip(150));
        pick(entry.CB_Stat, 1);
        dialogs.clear();
        ovtest::click(entry.Apply);
        EXPECT_TRUE(messages().empty());
    });
    const PoolEntry written{qip(150),  "000C41AABB01", "0.0.0.0", "0.0.0.0",
                            "0.0.0.0", "0.0.0.0",      "lab",     1};
    EXPECT_EQ(setsSinceOpen(), addedSets(2, written));
    expectFinished();
    EXPECT_EQ(usedAddresses(), (std::vector<QString>{qip(50), qip(150)}));
}

TEST_F(StaticPoolEntry, AddsIntoTheFreeSlotWithWinsInColumnSixAndDnsInColumnSeven) {
    openWith(withThirdSlot());
    const PoolEntry typed{qip(60),  "000C41AABB02", "255.255.255.0", qip(254),
                          qip(201), qip(202),       "office",        1};
    withEntry(window->Bt_Add, [&](TFM_StaticPoolEntry& entry) {
        EXPECT_EQ(entry.LA_Index->text(), "2");
        typeEntry(entry, typed);
        ovtest::click(entry.Apply);
    });
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(setsSinceOpen(), addedSets(2, typed));
    expectFinished();
    EXPECT_EQ(stateText(poolColumn(6, 2)), ip(201)) << "the WINS box";
    EXPECT_EQ(stateText(poolColumn(7, 2)), ip(202)) << "the DNS box";
    EXPECT_EQ(onDevice(2), typed);
    EXPECT_EQ(usedAddresses(), (std::vector<QString>{qip(50), qip(60), qip(52)}));
    EXPECT_EQ(window->StatusBar1->panel(0)->text(), ovtest::kStatusOk);
    EXPECT_EQ(window->StatusBar2->panel(0)->text(), ovtest::kStatusOk);
}

// A quit that comes while the entry waits for its clearing SET is taken once
// the entry is written whole: then the dialog and the window close.
TEST_F(StaticPoolEntry, AQuitDuringTheClearingSetIsTakenOnceTheEntryIsWritten) {
    std::vector<std::string> options = withThirdSlot();
    options.insert(options.end(), {"--delay-var", poolColumn(3, 2) + "=400"});
    openWith(options);
    const PoolEntry typed{qip(60),  "000C41AABB02", "255.255.255.0", qip(254),
                          qip(201), qip(202),       "office",        1};
    withEntry(window->Bt_Add, [&](TFM_StaticPoolEntry& entry) {
        typeEntry(entry, typed);
        QTimer::singleShot(150, [] { ov::requestQuit(); });
        ovtest::click(entry.Apply);
    });
    EXPECT_TRUE(ovtest::waitFor([&] { return !window->isVisible(); }, 20000));
    EXPECT_FALSE(ov::quitRequested());
    EXPECT_EQ(onDevice(2), typed);
}

// The MAC comparison: a lower-case letter typed matches the upper-case one
// listed, so the client keeps one entry, in its own row.
TEST_F(StaticPoolEntry, AddingAClientThatHasAnEntryReplacesItInItsOwnRow) {
    open();
    const PoolEntry typed{qip(70), "000c41450001", "", "", "", "", "moved", 0};
    withEntry(window->Bt_Add, [&](TFM_StaticPoolEntry& entry) {
        EXPECT_EQ(entry.LA_Index->text(), "2");
        typeEntry(entry, typed);
        ovtest::click(entry.Apply);
    });
    EXPECT_TRUE(messages().empty());
    const PoolEntry written{qip(70),   "000C41450001", "0.0.0.0", "0.0.0.0",
                            "0.0.0.0", "0.0.0.0",      "moved",   0};
    EXPECT_EQ(setsSinceOpen(), rewrittenSets(1, written));
    expectFinished();
    EXPECT_EQ(onDevice(1), written);
    EXPECT_EQ(onDevice(2), freeSlot()) << "the free slot chosen stays free";
    EXPECT_EQ(usedAddresses(), std::vector<QString>{qip(70)});
}

TEST_F(StaticPoolEntry, EditingWritesTheEntryOverItselfAfterClearingIt) {
    openWith(withThirdSlot());
    selectUsedEntry(0);
    PoolEntry changed = firstEntry();
    withEntry(window->Bt_Set, [&](TFM_StaticPoolEntry& entry) {
        EXPECT_EQ(entry.windowTitle(), "Static IP Pool Setting");
        EXPECT_EQ(entry.LA_Index->text(), "1");
        EXPECT_EQ(shownEntry(entry), firstEntry()) << "the entry loaded, WINS and DNS as bound";
        EXPECT_FALSE(entry.Ed_OldIP->isEnabled()) << "edit mode";
        EXPECT_EQ(entry.Ed_OldIP->text(), qip(50));
        EXPECT_EQ(entry.ED_OldMAC->text(), "000C41450001");
        retype(entry.Ed_AsgIP, qip(61));
        retype(entry.Ed_DomNa, "office");
        changed.ip = qip(61);
        changed.domain = "office";
        ovtest::click(entry.Apply);
    });
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(setsSinceOpen(), rewrittenSets(1, changed));
    expectFinished();
    EXPECT_EQ(onDevice(1), changed);
    EXPECT_EQ(onDevice(3), thirdEntry());
    EXPECT_EQ(usedAddresses(), (std::vector<QString>{qip(61), qip(52)}));
}

// Edit mode goes by the MAC typed: the first row holding it is written.
TEST_F(StaticPoolEntry, EditingToAnotherEntrysMacWritesThatEntrysRow) {
    openWith(withThirdSlot());
    selectUsedEntry(0);
    const PoolEntry typed{qip(62), "000c41aabb03", "255.255.255.0", "", "", "", "", 1};
    withEntry(window->Bt_Set, [&](TFM_StaticPoolEntry& entry) {
        typeEntry(entry, typed);
        ovtest::click(entry.Apply);
    });
    const PoolEntry written{
        qip(62), "000C41AABB03", "255.255.255.0", "0.0.0.0", "0.0.0.0", "0.0.0.0", "", 1};
    EXPECT_EQ(setsSinceOpen(), rewrittenSets(3, written));
    expectFinished();
    EXPECT_EQ(onDevice(1), firstEntry());
    EXPECT_EQ(onDevice(3), written);
}

TEST_F(StaticPoolEntry, EditingKeepsAnAddressOnlyWithItsOwnMac) {
    const struct {
        const char* what;
        QString mac;
        bool refused;
    } cases[] = {
        {"another MAC", "000C41AABB03", true},
        {"its own MAC in lower case", "000c41450001", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        openWith(withThirdSlot());
        waits.shown.clear();
        dialogs.clear();
        selectUsedEntry(0);
        withEntry(window->Bt_Set, [&](TFM_StaticPoolEntry& entry) {
            retype(entry.Ed_AsgMac, c.mac);
            retype(entry.Ed_SubMask, "255.255.255.128");
            retype(entry.Ed_DomNa, "changed");
            pick(entry.CB_Stat, 0);
            ovtest::click(entry.Apply);
            if (!c.refused)
                return;
            EXPECT_EQ(messages(),
                      std::vector<QString>{
                          "Warning|Reject: DHCPS static IP already exists in static DHCP server!"});
            EXPECT_EQ(shownEntry(entry), firstEntry()) << "every old value back";
            EXPECT_TRUE(entry.isVisible());
        });
        if (c.refused) {
            EXPECT_TRUE(setsSinceOpen().empty());
            EXPECT_TRUE(waits.shown.empty());
        } else {
            EXPECT_TRUE(messages().empty());
            const auto sent = setsSinceOpen();
            ASSERT_EQ(sent.size(), 3u);
            EXPECT_EQ(sent[2][1], binding(poolColumn(3, 1), "x:000C41450001"));
            EXPECT_EQ(sent[2][2], binding(poolColumn(4, 1), "a:255.255.255.128"));
            expectFinished();
        }
        window.reset();
    }
}

// A clearing SET that gets lost is sent again by the engine; the entry goes
// out only once the device has answered it, so the late clear cannot wipe it.
TEST_F(StaticPoolEntry, ALostClearingSetIsAnsweredBeforeTheEntryIsWritten) {
    openWith({"--drop-set", poolColumn(2, 1) + "=1"});
    const PoolEntry typed{qip(71), "000C41450001", "255.255.255.0", qip(254), "", "", "kept", 1};
    withEntry(window->Bt_Add, [&](TFM_StaticPoolEntry& entry) {
        typeEntry(entry, typed);
        ovtest::click(entry.Apply);
    });
    const std::string ipColumn = poolColumn(2, 1);
    EXPECT_EQ(setOutcomes(),
              (std::vector<std::string>{ipColumn + " dropset", ipColumn + " answered",
                                        kSwitch + " answered", ipColumn + " answered"}));
    expectFinished();
    PoolEntry written = typed;
    written.wins = written.dns = "0.0.0.0";
    EXPECT_EQ(onDevice(1), written);
    EXPECT_EQ(usedAddresses(), std::vector<QString>{qip(71)});
}

// The two SETs stand alone: the device takes the clear and refuses the entry
// (an address off its network), so the slot stays free and both status bars
// say why.
TEST_F(StaticPoolEntry, AnEntryTheDeviceRefusesLeavesItsSlotFreeAndIsReported) {
    open();
    setFirstEntryOffTheNetwork();
    EXPECT_TRUE(messages().empty());
    const auto sent = setOutcomes();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2], poolColumn(2, 1) + " answered");
    EXPECT_TRUE(waitUntilIdle());
    EXPECT_EQ(onDevice(1), freeSlot());
    for (OvStatusBar* bar : {window->StatusBar1, window->StatusBar2}) {
        const QString text = bar->panel(0)->text();
        EXPECT_TRUE(text.contains("Wrong Value")) << text.toStdString();
    }
}

// After a refused entry no refresh is left waiting: the next entry's clearing
// SET starts no walk before the entry is written, and the one walk after it
// shows every row.
TEST_F(StaticPoolEntry, AfterARefusedEntryTheNextOneIsWrittenBeforeAnyWalk) {
    open();
    setFirstEntryOffTheNetwork();
    ASSERT_TRUE(waitUntilIdle());
    const std::size_t from = agent->requests().size();
    selectUsedEntry(0);
    withEntry(window->Bt_Set, [&](TFM_StaticPoolEntry& entry) {
        retype(entry.Ed_AsgIP, qip(60));
        ovtest::click(entry.Apply);
    });
    ASSERT_TRUE(waitUntilIdle());
    std::vector<std::string> operations;
    for (const std::string& request : ovtest::requestsSeen(*agent, from)) {
        const std::string operation = request.substr(0, request.find(' '));
        if (operations.empty() || operations.back() != operation)
            operations.push_back(operation);
    }
    ASSERT_FALSE(operations.empty());
    EXPECT_EQ(operations.front(), "SET");
    EXPECT_EQ(std::count(operations.begin(), operations.end(), "SET"), 1)
        << "the three SETs, then the reads";
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(onDevice(1).ip, qip(60));
    EXPECT_EQ(usedAddresses(), std::vector<QString>{qip(60)});
}

TEST_F(StaticPoolEntry, AnAddressThatAnswersIsRefusedAsUsedInBothModes) {
    std::string why;
    const std::optional<QString> own = nettest::answeringOwnAddress(&why);
    if (!own)
        GTEST_SKIP() << why;
    const struct {
        const char* what;
        QPushButton* TFM_DHCP::*button;
        std::vector<std::string> options;
    } cases[] = {
        {"a new entry on that address", &TFM_DHCP::Bt_Add, {}},
        {"the entry edited keeps its address",
         &TFM_DHCP::Bt_Set,
         {"--set", poolColumn(2, 1) + "=" + own->toStdString()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        openWith(c.options);
        selectUsedEntry(0);
        withEntry(window.get()->*c.button, [&](TFM_StaticPoolEntry& entry) {
            retype(entry.Ed_AsgIP, *own);
            dialogs.clear();
            ovtest::click(entry.Apply);
            EXPECT_EQ(messages(),
                      std::vector<QString>{"Warning|Reject: The IP already has been used."});
            EXPECT_EQ(QApplication::focusWidget(), entry.Ed_AsgIP);
            EXPECT_EQ(entry.Ed_AsgIP->text(), *own) << "not emptied";
        });
        EXPECT_TRUE(setsSinceOpen().empty());
        window.reset();
    }
}

TEST_F(StaticPoolEntry, ReadsEveryBoxByItsLabel) {
    open();
    withEntry(window->Bt_Add, [&](TFM_StaticPoolEntry& entry) {
        const std::pair<QWidget*, QString> names[] = {
            {entry.Ed_AsgIP, "Assigned IP"}, {entry.Ed_AsgMac, "Assigned MAC Address"},
            {entry.Ed_SubMask, "SubMask"},   {entry.Ed_Gatway, "Gateway"},
            {entry.Ed_Wins, "Wins"},         {entry.Ed_DNS, "DNS"},
            {entry.Ed_DomNa, "Domain Name"}, {entry.CB_Stat, "Status"},
            {entry.Apply, "Apply"},
        };
        for (const auto& [control, name] : names)
            EXPECT_EQ(nettest::spokenName(control), name) << control->objectName().toStdString();
    });
}

TEST_F(StaticPoolEntry, AnEntryGivenThroughAccessibilityIsWritten) {
    open();
    withEntry(window->Bt_Add, [&](TFM_StaticPoolEntry& entry) {
        const std::pair<QLineEdit*, QString> given[] = {
            {entry.Ed_AsgIP, qip(80)}, {entry.Ed_AsgMac, "000C41AABB08"}, {entry.Ed_DomNa, "ax"}};
        for (const auto& [box, text] : given)
            ovtest::accessible(box)->setText(QAccessible::Value, text);
        ovtest::pressAccessibly(entry.Apply);
    });
    EXPECT_TRUE(messages().empty());
    const PoolEntry written{qip(80),   "000C41AABB08", "0.0.0.0", "0.0.0.0",
                            "0.0.0.0", "0.0.0.0",      "ax",      0};
    EXPECT_EQ(setsSinceOpen(), addedSets(2, written));
    expectFinished();
}

} // namespace
