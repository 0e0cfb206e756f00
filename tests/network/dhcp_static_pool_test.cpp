// The DHCP server window's static pool against apsim: Add takes the first
// free slot, Set and Del the row of the used entry selected, each write ends
// in a fresh read of both lists; a full pool, and a selected address that no
// row holds any more. Also the dynamic pool apply's cover checks at their
// edges and a switch the device refuses.
#include "DhcpTest.h"

#include "OvDhcpRules.h"
#include "OvEditBox.h"
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {

using namespace dhcptest;
using nettest::WaitShown;

const std::string kPoolIpColumn = "1.3.6.1.4.1.48213.10.37.14.2.7.3.1.2";

// An entry in use in the slot: its address and MAC.
std::vector<std::string> usedSlot(int slot, int host) {
    char mac[13];
    std::snprintf(mac, sizeof mac, "000C41AABB%02X", slot);
    return {"--set", poolColumn(2, slot) + "=" + ip(host), "--set",
            poolColumn(3, slot) + "=" + mac};
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class DhcpStaticPool : public DhcpTest {
protected:
    std::vector<QString> usedAddresses() const {
        std::vector<QString> shown;
        for (int row = 0; row < window->User_ListView->itemCount(); ++row)
            shown.push_back(window->User_ListView->subItem(row, 0));
        return shown;
    }
    // Walks of the static pool table that began after request `from`.
    long poolWalksSince(std::size_t from) const {
        const auto requests = agent->requests();
        return std::count_if(requests.begin() + static_cast<std::ptrdiff_t>(from), requests.end(),
                             [](const ovtest::ApsimRequest& r) {
                                 return r.operation == "GETNEXT" && r.oids.front() == kPoolIpColumn;
                             });
    }
    // Clicks the button and tells whether the entry dialog opened (it is
    // closed again at once).
    bool opensEntry(QPushButton* button) {
        bool opened = false;
        TFM_StaticPoolEntry* entry = window->staticPoolEntry();
        QTimer::singleShot(0, entry, [&] {
            if (entry->isVisible()) {
                opened = true;
                entry->close();
            }
        });
        ovtest::click(button);
        ovtest::waitFor([] { return false; }, 50);
        return opened;
    }
};

TEST_F(DhcpStaticPool, AddWritesIntoTheFirstFreeSlot) {
    const struct {
        const char* what;
        std::vector<std::string> options;
        int slot;
    } cases[] = {
        {"slot 1 in use", {}, 2},
        {"slots 1 and 2 in use", usedSlot(2, 51), 3},
        {"a gap at slot 3", joined({usedSlot(2, 51), usedSlot(4, 53)}), 3},
        {"only the last slot free",
         joined({usedSlot(2, 51), usedSlot(3, 52), usedSlot(4, 53), usedSlot(5, 54),
                 usedSlot(6, 55), usedSlot(7, 56)}),
         8},
    };
    const PoolEntry typed{qip(90), "000C41CCDD01", "255.255.255.0", qip(254), "", "", "", 1};
    PoolEntry written = typed;
    written.wins = written.dns = "0.0.0.0";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        openWith(c.options);
        withEntry(window->Bt_Add, [&](TFM_StaticPoolEntry& entry) {
            EXPECT_EQ(entry.windowTitle(), "Static IP Pool Adding");
            EXPECT_EQ(entry.LA_Index->text(), QString::number(c.slot));
            EXPECT_EQ(shownEntry(entry), freeSlot());
            EXPECT_TRUE(entry.Ed_OldIP->isEnabled()) << "add mode";
            EXPECT_FALSE(entry.Ed_AsgIP->isReadOnly());
            EXPECT_FALSE(entry.Ed_AsgMac->isReadOnly());
            EXPECT_EQ(ov::typingLimit(entry.Ed_AsgMac), 12);
            typeEntry(entry, typed);
            ovtest::click(entry.Apply);
        });
        EXPECT_EQ(setsSinceOpen(), addedSets(c.slot, written));
        ASSERT_TRUE(waitUntilIdle());
        window.reset();
    }
}

TEST_F(DhcpStaticPool, SetEditsTheRowOfTheUsedEntrySelected) {
    openWith(usedSlot(3, 52));
    ASSERT_EQ(usedAddresses(), (std::vector<QString>{qip(50), qip(52)}));
    selectUsedEntry(1);
    PoolEntry changed;
    withEntry(window->Bt_Set, [&](TFM_StaticPoolEntry& entry) {
        EXPECT_EQ(entry.windowTitle(), "Static IP Pool Setting");
        EXPECT_EQ(entry.LA_Index->text(), "3");
        EXPECT_EQ(entry.Ed_AsgIP->text(), qip(52));
        retype(entry.Ed_AsgIP, qip(57));
        changed = shownEntry(entry);
        ovtest::click(entry.Apply);
    });
    EXPECT_EQ(setsSinceOpen(), rewrittenSets(3, changed));
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(usedAddresses(), (std::vector<QString>{qip(50), qip(57)}));
}

// Deleting writes the free slot's values into the entry's row, with no
// question asked, then waits for the lists to be read again.
TEST_F(DhcpStaticPool, DelFreesTheRowOfTheUsedEntrySelectedAndReadsBothListsAgain) {
    openWith(joined({usedSlot(3, 52), usedSlot(4, 53)}));
    selectUsedEntry(1);
    // Another manager adds an entry meanwhile; the fresh read shows it.
    changeOnDevice(poolColumn(2, 6), "a", ip(56));
    setsAtOpen = sets().size();
    const std::size_t from = agent->requests().size();
    ovtest::click(window->Bt_Del);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(setsSinceOpen(), std::vector<std::vector<std::string>>{slotSet(3, freeSlot())});
    const WaitShown listing{"Settings saved.", "Waiting for listing data...", 20, true, 22};
    EXPECT_EQ(waits.shown, std::vector<WaitShown>{listing});
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(poolWalksSince(from), 2) << "the full list and the used list";
    EXPECT_EQ(usedAddresses(), (std::vector<QString>{qip(50), qip(53), qip(56)}));
    EXPECT_EQ(window->User_ListView->caption(2), "3") << "numbered from 1 again";
    EXPECT_EQ(window->LV_StaticPoolSet->itemCount(), 8);
    EXPECT_EQ(window->LV_StaticPoolSet->subItem(2, 0), "0.0.0.0");
    EXPECT_EQ(window->LV_StaticPoolSet->subItem(5, 0), qip(56));
    // The wait ends before its restart tick: nothing restarts.
    EXPECT_EQ(agent->stateFact("restarts"), 0);
    EXPECT_EQ(setsSinceOpen().size(), 1u);
    EXPECT_EQ(window->StatusBar1->panel(0)->text(), "(OvSNMP++) Ok!");
}

TEST_F(DhcpStaticPool, AddRefusesAFullPool) {
    const struct {
        const char* what;
        std::vector<std::string> options;
    } cases[] = {
        {"every slot in use", {"--rows", "staticpool=1"}},
        {"eight slots in use",
         joined({usedSlot(2, 51), usedSlot(3, 52), usedSlot(4, 53), usedSlot(5, 54),
                 usedSlot(6, 55), usedSlot(7, 56), usedSlot(8, 57)})},
        {"a device without slots", {"--rows", "staticpool=0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        openWith(c.options);
        dialogs.clear();
        window->PageControl1->setCurrentWidget(window->TabSheet2);
        EXPECT_FALSE(opensEntry(window->Bt_Add));
        EXPECT_EQ(messages(), std::vector<QString>{"Warning|The static pool is full!"});
        EXPECT_TRUE(setsSinceOpen().empty());
        window.reset();
    }
}

// The lists are read at different times: once the full table no longer holds
// the address the used list shows, Set and Del leave every row alone (they
// would work on the row loaded last).
TEST_F(DhcpStaticPool, SetAndDelWriteNothingWhenNoRowHoldsTheSelectedAddress) {
    open();
    changeOnDevice(poolColumn(2, 1), "a", ip(70));
    window->staticPoolBinding()->Refresh();
    ASSERT_TRUE(waitUntilIdle());
    ASSERT_EQ(window->LV_StaticPoolSet->subItem(0, 0), qip(70));
    ASSERT_EQ(usedAddresses(), std::vector<QString>{qip(50)});
    const std::size_t setsBefore = sets().size();
    for (QPushButton* button : {window->Bt_Set, window->Bt_Del}) {
        SCOPED_TRACE(button->text().toStdString());
        window->LV_StaticPoolSet->item(0, 1)->setText(qip(71));
        selectUsedEntry(0);
        if (button == window->Bt_Set)
            EXPECT_FALSE(opensEntry(button));
        else
            ovtest::click(button);
        EXPECT_EQ(window->StatusBar2->simpleText(), ovrules::kEntryGoneText);
        ASSERT_TRUE(waitUntilIdle());
        EXPECT_EQ(window->LV_StaticPoolSet->subItem(0, 0), qip(70)) << "read again";
    }
    EXPECT_EQ(sets().size(), setsBefore);
    EXPECT_TRUE(waits.shown.empty());
    EXPECT_EQ(stateText(poolColumn(2, 1)), ip(70));
}

// Steps 3 and 4 at their edges: a pool that ends just before the device or a
// static entry passes them and is stopped by the empty lease of step 6.
TEST_F(DhcpStaticPool, TheDynamicPoolMayEndJustBeforeTheDeviceAndTheStaticEntries) {
    open();
    const QString coversSystem = "Warning|Reject: The DHCP dynamic IP pool will cover system IP.";
    const QString coversStatic = "Warning|Reject: The DHCP dynamic IP pool will cover Static IP.";
    const QString passes = "Warning|Please input a number between 60 and 31536000.";
    const struct {
        int start;
        const char* size;
        QString shown;
    } cases[] = {
        {1, "1", coversSystem}, {0, "2", coversSystem},   {0, "1", passes},
        {2, "10", passes},      {41, "10", coversStatic}, {50, "1", coversStatic},
        {40, "10", passes},     {51, "49", passes},       {45, "6", coversStatic},
    };
    retype(window->Ed_Lease, "");
    for (const auto& c : cases) {
        SCOPED_TRACE(ip(c.start) + " + " + c.size);
        retype(window->Ed_IPAF, qip(c.start));
        retype(window->Ed_PoolRan, c.size);
        dialogs.clear();
        ovtest::click(window->Bt_Apply);
        EXPECT_EQ(messages(), std::vector<QString>{c.shown});
    }
    EXPECT_TRUE(setsSinceOpen().empty());
}

TEST_F(DhcpStaticPool, ASwitchTheDeviceRefusesStopsTheApply) {
    OvSNMPSecurity.writeCommunity = kReadCommunity; // the device refuses every SET
    open();
    ovtest::click(window->Bt_Apply);
    EXPECT_TRUE(messages().empty());
    const auto sent = setsSinceOpen();
    ASSERT_EQ(sent.size(), 1u) << "no pool and no restart after the refused switch";
    EXPECT_EQ(sent[0], (std::vector<std::string>{binding(kSwitch, "i:1")}));
    EXPECT_TRUE(waits.shown.empty());
    EXPECT_TRUE(window->StatusBar1->simpleText().startsWith("Set: "))
        << window->StatusBar1->simpleText().toStdString();
}

} // namespace
