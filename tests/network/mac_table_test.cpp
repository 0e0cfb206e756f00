// An access control list against apsim: its two walks of the band's MAC table,
// the busy flag and the buttons its closures set, and the entry dialog's Add,
// Set and Del, each one SET into one slot.
#include "WindowTest.h"

#include "OvDhcpRules.h"
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "TFM_MACAddr.h"
#include "TFM_MACTable.h"
#include "widgettest/OvAccessibility.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using ovtest::binding;

std::string slotOid(int slot) {
    return "E.2.4.2.1.2.1." + std::to_string(slot);
}

QStringList captions(const OvListView* list) {
    QStringList shown;
    for (int row = 0; row < list->itemCount(); ++row)
        shown << list->caption(row);
    return shown;
}

QStringList macs(const OvListView* list) {
    QStringList shown;
    for (int row = 0; row < list->itemCount(); ++row)
        shown << list->subItem(row, 0);
    return shown;
}

class MacTable : public ovtest::WindowTest {
protected:
    // The 802.11a list, shown, its first walks ended.
    std::unique_ptr<TFM_MACTable> open() {
        auto w = std::make_unique<TFM_MACTable>(0, nullptr);
        ovtest::showActive(w.get());
        if (!waitUntilIdle(*w))
            ADD_FAILURE() << "the walks did not end";
        return w;
    }
    static bool waitUntilIdle(TFM_MACTable& w) {
        return ovtest::waitFor([&] {
            return !w.busyFlag().isSet() && !w.fullListBinding()->IsBusy() &&
                   !w.usedListBinding()->IsBusy();
        });
    }
    // Opens the entry dialog with the button, types the MAC and applies it.
    void enter(QPushButton* button, const QString& mac, const QString& expectedTitle = {}) {
        ovtest::withModal(button, [&](QWidget* modal) {
            auto* entry = qobject_cast<TFM_MACAddr*>(modal);
            ASSERT_NE(entry, nullptr);
            if (!expectedTitle.isEmpty()) {
                EXPECT_EQ(entry->windowTitle(), expectedTitle);
            }
            ovtest::retype(entry->Ed_MACAddr, mac);
            ovtest::click(entry->Bt_Apply);
        });
    }
    std::vector<std::vector<std::string>> setsInto(const std::string& slot,
                                                   const std::string& mac) const {
        return {{binding(slot, "x:" + mac)}};
    }
};

TEST_F(MacTable, ShowsEverySlotAndTheUsedEntriesNumbered) {
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "IEEE802.11a MAC Address Table");
    QStringList numbers;
    for (int i = 1; i <= 16; ++i)
        numbers << QString::number(i);
    EXPECT_EQ(captions(w->LV_StaticPoolSet), numbers);
    EXPECT_EQ(macs(w->LV_StaticPoolSet).mid(0, 3),
              (QStringList{"000C41A00001", "000C41A00002", "000000000000"}));
    EXPECT_EQ(captions(w->User_ListView), (QStringList{"1", "2"}));
    EXPECT_EQ(macs(w->User_ListView), (QStringList{"000C41A00001", "000C41A00002"}));
    EXPECT_TRUE(w->Bt_Add->isEnabled()) << "a free slot";
    EXPECT_TRUE(w->Bt_Rfrsh->isEnabled());
    EXPECT_FALSE(w->Bt_Set->isEnabled());
    EXPECT_FALSE(w->Bt_Del->isEnabled());
    EXPECT_EQ(w->StatusBar->panel(0)->text(), "(OvSNMP++) Ok!");
    EXPECT_EQ(ovtest::spokenName(w->User_ListView), "Access Control List");
    w->User_ListView->selectRow(1);
    EXPECT_TRUE(w->Bt_Set->isEnabled());
    EXPECT_TRUE(w->Bt_Del->isEnabled());
    EXPECT_TRUE(sets().empty());
}

TEST_F(MacTable, StaysOpenWhileItsFirstWalkRuns) {
    restartWith({"--delay-var", "E.2.4.2.1.2.1=40"});
    auto w = std::make_unique<TFM_MACTable>(0, nullptr);
    ovtest::showActive(w.get());
    ASSERT_TRUE(w->busyFlag().isSet());
    for (QPushButton* b : {w->Bt_Add, w->Bt_Set, w->Bt_Del, w->Bt_Rfrsh})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    w->close();
    EXPECT_TRUE(w->isVisible()) << "closed by close()";
    ovtest::pressKey(Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible()) << "closed by Escape";
    // A refresh now starts no second walk.
    const auto walked = [&] {
        long count = 0;
        for (const auto& request : agent->requests())
            count += request.operation == "GETNEXT" && !request.oids.empty() &&
                     request.oids[0] == ovtest::expandOid("E.2.4.2.1.2.1");
        return count;
    };
    w->Bt_RfrshClick();
    ASSERT_TRUE(waitUntilIdle(*w));
    EXPECT_EQ(walked(), 2) << "one walk of every slot, one of the used entries";
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MacTable, AddWritesTheFirstFreeSlotAndReadsTheTableAgain) {
    auto w = open();
    enter(w->Bt_Add, "000C41AABB03", "Adding MAC address");
    ASSERT_TRUE(ovtest::waitFor([&] { return !sets().empty(); }));
    ASSERT_TRUE(waitUntilIdle(*w));
    EXPECT_EQ(sets(), setsInto(ovtest::expandOid(slotOid(3)), "000C41AABB03"));
    EXPECT_EQ(macs(w->User_ListView),
              (QStringList{"000C41A00001", "000C41A00002", "000C41AABB03"}));
    EXPECT_EQ(state(slotOid(3)), "000C41AABB03");
    EXPECT_TRUE(waits.shown.empty()) << "no restart for the list";
}

TEST_F(MacTable, AFullTableKeepsAddDisabled) {
    restartWith({"--rows", "maclist-a=2"});
    auto w = open();
    EXPECT_EQ(captions(w->LV_StaticPoolSet), (QStringList{"1", "2"}));
    EXPECT_FALSE(w->Bt_Add->isEnabled());
    w->Bt_AddClick();
    EXPECT_TRUE(sets().empty());
}

TEST_F(MacTable, TheEntryDialogRefusesWhatTheTableCannotHold) {
    const struct {
        const char* typed;
        const char* message;
    } cases[] = {
        {"000C41AABB0", "Error|The length is 12 in MAC Address."},
        {"000000000000", "Warning|Please input a valid MAC Address."},
        {"000c41a00002", "Warning|Reject: The MAC already exists "},
        {"000C41A00001", "Warning|Reject: The MAC already exists "},
    };
    auto w = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs.clear();
        bool stayedOpen = false;
        ovtest::withModal(w->Bt_Add, [&](QWidget* modal) {
            auto* entry = qobject_cast<TFM_MACAddr*>(modal);
            ovtest::retype(entry->Ed_MACAddr, QString::fromLatin1(c.typed));
            ovtest::click(entry->Bt_Apply);
            stayedOpen = entry->isVisible();
        });
        EXPECT_EQ(messages(), std::vector<QString>{QString::fromLatin1(c.message)});
        EXPECT_TRUE(stayedOpen);
    }
    EXPECT_TRUE(sets().empty());
}

TEST_F(MacTable, SetWritesTheEntrysOwnSlotAndAcceptsItsOwnMac) {
    auto w = open();
    const struct {
        const char* typed;
        const char* sent;
    } cases[] = {{"000c41a00002", "000C41A00002"}, {"000C41CCDD02", "000C41CCDD02"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::size_t before = sets().size();
        w->User_ListView->selectRow(1);
        enter(w->Bt_Set, QString::fromLatin1(c.typed), "Set MAC Address");
        EXPECT_TRUE(messages().empty());
        ASSERT_TRUE(ovtest::waitFor([&] { return sets().size() == before + 1; }));
        const auto all = sets();
        EXPECT_EQ(all.back(), setsInto(ovtest::expandOid(slotOid(2)), c.sent).front());
        ASSERT_TRUE(waitUntilIdle(*w)) << "the SET's walks clear the busy flag";
    }
    EXPECT_EQ(state(slotOid(2)), "000C41CCDD02");
}

TEST_F(MacTable, DelFreesTheEntrysSlot) {
    auto w = open();
    w->User_ListView->selectRow(0);
    ovtest::click(w->Bt_Del);
    EXPECT_TRUE(w->busyFlag().isSet());
    ASSERT_TRUE(waitUntilIdle(*w));
    EXPECT_EQ(sets(), setsInto(ovtest::expandOid(slotOid(1)), "000000000000"));
    EXPECT_EQ(macs(w->User_ListView), QStringList{"000C41A00002"});
    EXPECT_EQ(captions(w->User_ListView), QStringList{"1"}) << "numbered again";
    EXPECT_EQ(macs(w->LV_StaticPoolSet).front(), "000000000000");
    EXPECT_TRUE(w->Bt_Add->isEnabled());
}

TEST_F(MacTable, SetAndDelSendNothingWhenNoSlotHoldsTheEntryAndReadTheListsAgain) {
    auto w = open();
    const QString onDevice = w->LV_StaticPoolSet->item(0, 1)->text();
    for (QPushButton* button : {w->Bt_Del, w->Bt_Set}) {
        SCOPED_TRACE(button->text().toStdString());
        // The lists were read at different times: the slot has changed since.
        w->LV_StaticPoolSet->item(0, 1)->setText(QStringLiteral("000C41FFFF01"));
        w->User_ListView->selectRow(0);
        ovtest::click(button);
        EXPECT_EQ(w->StatusBar->panel(0)->text(), ovrules::kEntryGoneText);
        EXPECT_TRUE(waitUntilIdle(*w));
        EXPECT_EQ(w->LV_StaticPoolSet->item(0, 1)->text(), onDevice) << "read again";
        EXPECT_TRUE(sets().empty());
        EXPECT_FALSE(w->entryDialog()->isVisible());
    }
}

TEST_F(MacTable, ClosingWhileASetIsOutstandingLeavesNothingBehind) {
    restartWith({"--rows", "maclist-a=4", "--delay-var", "E.2.4.2.1.2.1=60"});
    auto w = open();
    enter(w->Bt_Add, "000C41AABB03");
    EXPECT_FALSE(w->busyFlag().isSet()) << "Add does not hold the window";
    w->close();
    EXPECT_FALSE(w->isVisible());
    w.reset();
    QApplication::processEvents();
    EXPECT_EQ(state(slotOid(3)), "000C41AABB03") << "the SET still went out";
}

} // namespace
