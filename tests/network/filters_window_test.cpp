// "Advanced \ Filters" against apsim: the eight access control and partition
// settings read and written in one request each, the list button rule, the
// mirrored between-bands selectors, and the access control lists it opens.
#include "WindowTest.h"

#include "DeviceMib.h"
#include "OvStatusBar.h"
#include "TFM_Filters.h"
#include "widgettest/OvAccessibility.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

namespace {

using ovtest::binding;

constexpr int kA = 0, kG = 1;

std::vector<std::string> filterOids() {
    std::vector<std::string> oids;
    for (const OvSNMPVarRow* row = mib::T17; row->oid != nullptr; ++row)
        oids.push_back(row->oid);
    return oids;
}

// The SET of the eight settings, each "i:N", in the table's order.
std::vector<std::string> filterSet(const std::vector<int>& values) {
    const auto oids = filterOids();
    std::vector<std::string> set;
    for (std::size_t i = 0; i < oids.size(); ++i)
        set.push_back(oids[i] + "=i:" + std::to_string(values[i]));
    return set;
}

class FiltersWindow : public ovtest::WindowTest {
protected:
    std::unique_ptr<TFM_Filters> open() {
        auto w = std::make_unique<TFM_Filters>(main, nullptr);
        ovtest::showActive(w.get());
        return w;
    }
};

TEST_F(FiltersWindow, ReadsTheEightSettingsInOneRequest) {
    auto w = open();
    EXPECT_EQ(gets(), std::vector<std::vector<std::string>>{filterOids()});
    EXPECT_EQ(w->windowTitle(), "Advanced \\ Filters");
    EXPECT_EQ(w->PageControl1->tabText(kA), "IEEE 802.11a");
    EXPECT_EQ(w->PageControl1->tabText(kG), "IEEE 802.11g");
    for (int b : {kA, kG}) {
        TFM_Filters::Band& d = w->band(b);
        EXPECT_EQ(d.accessControl->currentText(), "Disable");
        EXPECT_EQ(d.internalStations->currentText(), "Enable");
        EXPECT_EQ(d.ethernetToWlan->currentText(), "Enable");
        EXPECT_EQ(d.betweenBands->currentText(), "Enable");
        EXPECT_FALSE(d.accessControlList->isEnabled()) << "access control off";
    }
    EXPECT_TRUE(sets().empty());
}

TEST_F(FiltersWindow, EveryControlIsNamedAsItsLabelSays) {
    auto w = open();
    const std::pair<const char*, const char*> names[] = {
        {"CB_ACa", "Access Control"},
        {"CB_InSCa", "Internal Station Connection "},
        {"CB_E2WAa", "Ethernet to WLAN Access"},
        {"CB_InSCBa", "Internal Station Connection Between \n802.11a and 802.11g"},
        {"Bt_MacTaba", "Access Control List"},
        {"CB_ACg", "Access Control"},
        {"Bt_MacTabg", "Access Control List"},
        {"Bt_Apply", "Apply"},
        {"Bt_Refresh", "Refresh"},
        {"Bt_Close", "Close"}};
    for (const auto& [name, spoken] : names)
        EXPECT_EQ(ovtest::spokenName(ovtest::find<QWidget>(w.get(), QString::fromLatin1(name))),
                  QString::fromLatin1(spoken))
            << name;
}

TEST_F(FiltersWindow, ApplySendsTheEightSettingsThenRestarts) {
    auto w = open();
    ovtest::pickItem(w->band(kA).accessControl, 1); // "Accept"
    EXPECT_TRUE(w->band(kA).accessControlList->isEnabled());
    EXPECT_FALSE(w->band(kG).accessControlList->isEnabled());
    ovtest::clickTab(w->PageControl1, kG);
    ovtest::pickItem(w->band(kG).accessControl, 2);  // "Reject"
    ovtest::pickItem(w->band(kG).ethernetToWlan, 1); // "Disable"
    ovtest::click(w->Bt_Apply);
    const std::vector<std::vector<std::string>> expected = {filterSet({2, 1, 1, 1, 3, 1, 0, 1}),
                                                            {binding(ovtest::kRestart, "i:1")}};
    EXPECT_EQ(sets(), expected);
    ASSERT_EQ(waits.shown.size(), 1u);
    EXPECT_EQ(waits.shown[0].countdown, 40);
    EXPECT_EQ(waits.shown[0].restartSentAtTick, 1);
    EXPECT_EQ(state("E.2.4.1.1.1.2"), "3");
}

TEST_F(FiltersWindow, TheBetweenBandsSelectorsMirrorEachOther) {
    auto w = open();
    ovtest::pickItem(w->band(kA).betweenBands, 1);
    EXPECT_EQ(w->band(kG).betweenBands->currentText(), "Disable");
    ovtest::clickTab(w->PageControl1, kG);
    ovtest::pickItem(w->band(kG).betweenBands, 0);
    EXPECT_EQ(w->band(kA).betweenBands->currentText(), "Enable");
    ovtest::pickItem(w->band(kG).betweenBands, 1);
    ovtest::click(w->Bt_Apply);
    ASSERT_FALSE(sets().empty());
    EXPECT_EQ(sets().front(), filterSet({1, 1, 1, 0, 1, 1, 1, 0}));
}

TEST_F(FiltersWindow, ARefreshFollowsTheDeviceWithTheListButtons) {
    restartWith({"--set", "E.2.4.1.1.1.1=2"});
    auto w = open();
    EXPECT_TRUE(w->band(kA).accessControlList->isEnabled());
    ovtest::pickItem(w->band(kA).accessControl, 0);
    EXPECT_FALSE(w->band(kA).accessControlList->isEnabled());
    ovtest::click(w->Bt_Refresh);
    EXPECT_EQ(w->band(kA).accessControl->currentText(), "Accept");
    EXPECT_TRUE(w->band(kA).accessControlList->isEnabled());
    EXPECT_EQ(gets().size(), 2u);
}

TEST_F(FiltersWindow, ARefusedSetShowsSettingErrorAndRestartsNothing) {
    restartWith({"--fail-set", "E.2.4.3.1.2.2=genErr"});
    auto w = open();
    ovtest::click(w->Bt_Apply);
    EXPECT_EQ(w->StatusBar->simpleText(), "Setting Error!");
    EXPECT_TRUE(waits.shown.empty());
    EXPECT_EQ(sets().size(), 1u);
}

TEST_F(FiltersWindow, AFailedReadShowsItsStatusLine) {
    restartWith({"--fail", "E.2.4.3.1.1.1=genErr"});
    auto w = open();
    EXPECT_TRUE(w->StatusBar->simpleText().startsWith("Get: "))
        << w->StatusBar->simpleText().toStdString();
    EXPECT_TRUE(w->StatusBar->simpleText().contains("Receive at "));
}

TEST_F(FiltersWindow, EachBandsButtonOpensItsAccessControlList) {
    restartWith({"--set", "E.2.4.1.1.1.1=2", "--set", "E.2.4.1.1.1.2=3"});
    auto w = open();
    for (int b : {kA, kG}) {
        QString title;
        ovtest::clickTab(w->PageControl1, b);
        ovtest::withModal(w->band(b).accessControlList, [&](QWidget* list) {
            title = list->windowTitle();
            ovtest::waitFor([&] { return list->findChild<QPushButton*>("Bt_Rfrsh")->isEnabled(); });
        });
        EXPECT_EQ(title,
                  b == kA ? "IEEE802.11a MAC Address Table" : "IEEE802.11g MAC Address Table");
    }
}

} // namespace
