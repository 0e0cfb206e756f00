// "Advanced \ Performance" against apsim: what each page reads and shows,
// which rows the device's answers hide, the range checks at apply and on
// leaving a box, the channel and rate choices, and what one page's apply
// writes, in order, before the restart.
#include "WindowTest.h"

#include "DeviceMib.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "TFM_Performace.h"
#include "widgettest/OvAccessibility.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <map>

namespace {

using ovtest::binding;
using ovtest::expandOid;
using ovtest::oidsOf;

constexpr int kA = 0, kG = 1;

// The main list's SET of a band with the factory values, some replaced.
std::vector<std::string> mainSet(int band, const std::map<std::string, std::string>& changed) {
    const std::string b = std::to_string(band + 1);
    std::vector<std::pair<std::string, std::string>> values = {
        {"11", "i:3"},   {"2", band == kA ? "i:36" : "i:6"},
        {"4", "s:Auto"}, {"6", "i:100"},
        {"7", "i:1"},    {"8", "i:2346"},
        {"9", "i:2346"}, {"10", "i:1"},
        {"12", "i:1"}};
    std::vector<std::string> set;
    for (auto& [column, value] : values) {
        const auto replaced = changed.find(column);
        set.push_back(binding("E.2.3.1." + column + "." + b,
                              replaced != changed.end() ? replaced->second : value));
    }
    return set;
}

class PerformanceWindow : public ovtest::WindowTest {
protected:
    // RTS 2347 ("off"), apsim's factory value, is outside what the window sends.
    std::vector<std::string> agentOptions() const override {
        return {"--restart-seconds", "0", "--set", "E.2.3.1.9.1=2346", "--set", "E.2.3.1.9.2=2346"};
    }
    std::unique_ptr<TFM_Performace> open() {
        auto w = std::make_unique<TFM_Performace>(main, nullptr);
        ovtest::showActive(w.get());
        return w;
    }
    static bool rowShown(TFM_Performace::Band& d, QWidget* field) {
        return d.rows->isRowVisible(field);
    }
};

TEST_F(PerformanceWindow, ReadsEachBandsListsInTheDesignedOrder) {
    auto w = open();
    const std::vector<std::vector<std::string>> expected = {
        oidsOf(mib::T13), oidsOf(mib::T11), oidsOf(mib::T7),  oidsOf(mib::T6),
        oidsOf(mib::T14), oidsOf(mib::T12), oidsOf(mib::T10), oidsOf(mib::T9)};
    EXPECT_EQ(gets(), expected);
    EXPECT_TRUE(sets().empty());
    EXPECT_EQ(w->windowTitle(), "Advanced \\ Performance");
    EXPECT_EQ(w->PC_Performace->tabText(0), "IEEE 802.11a");
    EXPECT_EQ(w->PC_Performace->tabText(1), "IEEE 802.11g");
    EXPECT_EQ(w->PC_Performace->currentIndex(), 0);
}

TEST_F(PerformanceWindow, ShowsWhatTheDeviceHolds) {
    auto w = open();
    const struct {
        const char* frequency;
        QStringList channels;
        QStringList rates;
    } bands[] = {{"5.180",
                  {"36", "40", "44", "48"},
                  {"Auto", "6 Mb", "9 Mb", "12 Mb", "18 Mb", "24 Mb", "36 Mb", "48 Mb", "54 Mb"}},
                 {"2.437",
                  {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"},
                  {"Auto", "1 Mb", "2 Mb", "5.5 Mb", "6 Mb", "9 Mb", "11 Mb", "12 Mb", "18 Mb",
                   "24 Mb", "36 Mb", "48 Mb", "54 Mb"}}};
    for (int b : {kA, kG}) {
        SCOPED_TRACE(b == kA ? "802.11a" : "802.11g");
        TFM_Performace::Band& d = w->band(b);
        EXPECT_EQ(d.frequency->text(), bands[b].frequency);
        EXPECT_TRUE(d.frequency->isReadOnly());
        EXPECT_EQ(ovtest::itemTexts(d.channel), bands[b].channels);
        EXPECT_EQ(d.channel->currentText(), b == kA ? "36" : "6");
        EXPECT_EQ(ovtest::itemTexts(d.dataRate), bands[b].rates) << "every rate but Auto in Mb";
        EXPECT_EQ(d.dataRate->currentText(), "Auto");
        EXPECT_TRUE(d.dataRate->isEnabled()) << "super mode Disable";
        EXPECT_EQ(d.beacon->text(), "100");
        EXPECT_EQ(d.dtim->text(), "1");
        EXPECT_EQ(d.fragment->text(), "2346");
        EXPECT_EQ(d.rts->text(), "2346");
        EXPECT_EQ(d.power->currentText(), "Full");
        EXPECT_EQ(d.radioWave->currentText(), "On");
        EXPECT_EQ(d.xr->currentText(), "Disable");
        EXPECT_EQ(d.shortPreamble->currentText(), "Enable");
        EXPECT_TRUE(rowShown(d, d.xr));
        EXPECT_TRUE(rowShown(d, d.shortPreamble));
        EXPECT_FALSE(rowShown(d, d.autoScan)) << "never visible";
        EXPECT_TRUE(d.XrAvailable && d.AutoScanAvailable && d.ShortPreambleAvailable);
        EXPECT_EQ(d.dynamicChannels->text(), b == kA ? "56 153 161" : "6");
        for (QWidget* hidden :
             std::initializer_list<QWidget*>{d.superMode, d.channelValue, d.channelList,
                                             d.dataRateValue, d.dataRateList, d.dynamicChannels})
            EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    }
    EXPECT_EQ(w->StatusBar->simpleText(), "");
}

TEST_F(PerformanceWindow, EveryControlIsNamedAsItsLabelSays) {
    auto w = open();
    const std::pair<const char*, const char*> names[] = {
        {"Ed_Freqa", "Frequency"},
        {"CB_Chana", "Channel"},
        {"CB_DtRta", "Data Rate"},
        {"Ed_BeInta", "Beacon Interval (20 - 1000)"},
        {"Ed_DTIMa", "DTIM (1 - 255)"},
        {"Ed_FragLena", "Fragment Length (256 - 2346)"},
        {"Ed_RTSa", "RTS Length (256 - 2346)"},
        {"CB_TranPa", "Transmit Power"},
        {"CB_RadWava", "Radio Wave"},
        {"CB_XRa", "XR"},
        {"CboxShortPrea", "Short Preamble"},
        {"Bt_Apply_a", "Apply"},
        {"Bt_Refresh_a", "Refresh"},
        {"Ed_RTSg", "RTS Length (256 - 2346)"},
        {"CboxShortPreg", "Short Preamble"},
        {"Bt_Apply_g", "Apply"},
        {"Bt_Refresh_g", "Refresh"}};
    for (const auto& [name, spoken] : names) {
        QWidget* control = ovtest::find<QWidget>(w.get(), QString::fromLatin1(name));
        EXPECT_EQ(ovtest::spokenName(control), spoken) << name;
    }
}

TEST_F(PerformanceWindow, RowsTheDeviceLacksStayHiddenAndAreNeverSent) {
    const struct {
        const char* what;
        long version;
        std::vector<std::string> options;
    } cases[] = {
        {"SNMPv1: noSuchName", 0, {"--absent", "E.2.3.1.99.1", "--absent", "E.2.3.1.17.1"}},
        {"SNMPv2c: noSuchObject", 1, {"--absent", "E.2.3.1.99.1", "--absent", "E.2.3.1.17.1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restartWith(c.options);
        OvSNMPSecurity.version = c.version;
        auto w = open();
        TFM_Performace::Band& a = w->band(kA);
        EXPECT_FALSE(a.XrAvailable);
        EXPECT_FALSE(rowShown(a, a.xr));
        EXPECT_FALSE(a.ShortPreambleAvailable);
        EXPECT_FALSE(rowShown(a, a.shortPreamble));
        EXPECT_TRUE(a.AutoScanAvailable);
        EXPECT_TRUE(w->band(kG).XrAvailable) << "802.11g has it";
        EXPECT_TRUE(rowShown(w->band(kG), w->band(kG).xr));

        ovtest::click(a.apply);
        ASSERT_EQ(waits.shown.size(), 1u) << "restarted";
        const auto all = sets();
        ASSERT_EQ(all.size(), 3u);
        EXPECT_EQ(all[0], mainSet(kA, {}));
        EXPECT_EQ(all[1], (std::vector<std::string>{binding("E.2.3.1.14.1", "i:0")}))
            << "auto scan, no XR, no short preamble";
        EXPECT_EQ(all[2], (std::vector<std::string>{binding(ovtest::kRestart, "i:1")}));
        waits.shown.clear();
    }
}

TEST_F(PerformanceWindow, ApplySendsItsBandOnlyInOrderThenRestarts) {
    auto w = open();
    TFM_Performace::Band& g = w->band(kG);
    ovtest::clickTab(w->PC_Performace, kG);
    ovtest::retype(g.beacon, "250");
    ovtest::pickItem(g.channel, 10); // "11"
    ovtest::click(g.apply);
    const std::vector<std::vector<std::string>> expected = {
        mainSet(kG, {{"6", "i:250"}, {"2", "i:11"}}),
        {binding("E.2.3.1.17.2", "i:1")},
        {binding("E.2.3.1.99.2", "i:0")},
        {binding("E.2.3.1.14.2", "i:0")},
        {binding(ovtest::kRestart, "i:1")}};
    EXPECT_EQ(sets(), expected) << "nothing for 802.11a";
    ASSERT_EQ(waits.shown.size(), 1u);
    EXPECT_EQ(waits.shown[0].countdown, 40) << "the wait window's defaults";
    EXPECT_EQ(waits.shown[0].restartSentAtTick, 1);
    EXPECT_EQ(state("E.2.3.1.6.2"), "250");
    EXPECT_EQ(state("E.2.3.1.6.1"), "100");
}

TEST_F(PerformanceWindow, ApplyRefusesNumbersOutOfRange) {
    const struct {
        const char* field;
        const char* typed;
        const char* message;
    } cases[] = {
        {"Ed_BeInta", "19", "Please input a number between 20 and 1000."},
        {"Ed_BeInta", "1001", "Please input a number between 20 and 1000."},
        {"Ed_BeInta", "", "Please input a number between 20 and 1000."},
        {"Ed_DTIMa", "0", "Please input a number between 1 and 255."},
        {"Ed_DTIMa", "256", "Please input a number between 1 and 255."},
        {"Ed_DTIMa", "", "Please input a number between 1 and 255."},
        {"Ed_FragLena", "255", "Please input a number between 256 and 2346."},
        {"Ed_FragLena", "2347", "Please input a number between 256 and 2346."},
        {"Ed_RTSa", "255", "Please input a number between 256 and 2346."},
        {"Ed_RTSa", "2347", "Please input a number between 256 and 2346."},
        {"Ed_RTSa", "", "Please input a number between 256 and 2346."},
    };
    auto w = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " \"" + c.typed + "\"");
        auto* box = ovtest::find<QLineEdit>(w.get(), QString::fromLatin1(c.field));
        const QString before = box->text();
        // Set as a refresh would, so that no check on leaving runs first.
        ovtest::setByCode(box, QString::fromLatin1(c.typed));
        dialogs.clear();
        ovtest::click(w->band(kA).apply);
        EXPECT_EQ(messages(), std::vector<QString>{QStringLiteral("Error|") + c.message});
        EXPECT_EQ(box->text(), "") << "emptied";
        EXPECT_EQ(QApplication::focusWidget(), box);
        ovtest::setByCode(box, before);
        ovtest::focus(w->band(kA).frequency); // leaves the box with its good text
    }
    EXPECT_TRUE(sets().empty());
    EXPECT_TRUE(waits.shown.empty());
}

TEST_F(PerformanceWindow, ApplyTakesEachRangesEnds) {
    const std::map<std::string, std::string> ends[] = {
        {{"6", "i:20"}, {"7", "i:1"}, {"8", "i:256"}, {"9", "i:256"}},
        {{"6", "i:1000"}, {"7", "i:255"}, {"8", "i:2346"}, {"9", "i:2346"}}};
    for (const auto& values : ends) {
        restartWith({});
        auto w = open();
        TFM_Performace::Band& a = w->band(kA);
        const std::pair<QLineEdit*, std::string> typed[] = {
            {a.beacon, "6"}, {a.dtim, "7"}, {a.fragment, "8"}, {a.rts, "9"}};
        for (const auto& [box, column] : typed)
            ovtest::retype(box, QString::fromStdString(values.at(column).substr(2)));
        ovtest::click(a.apply);
        EXPECT_TRUE(messages().empty());
        ASSERT_FALSE(sets().empty());
        EXPECT_EQ(sets().front(), mainSet(kA, values));
        waits.shown.clear();
    }
}

TEST_F(PerformanceWindow, LeavingABoxRefusesNumbersOutOfRange) {
    const struct {
        const char* field;
        const char* typed;
        const char* message; // empty: accepted
        const char* left;    // what the box holds afterwards
    } cases[] = {
        {"Ed_BeInta", "19", "Please input a number between 20 and 1000.", "19"},
        {"Ed_BeInta", "20", "", "20"},
        {"Ed_DTIMa", "0", "Please input a number between 1 and 255.", "0"},
        {"Ed_DTIMa", "255", "", "255"},
        {"Ed_FragLena", "2347", "Please input a number between 256 and 2346.", "2347"},
        {"Ed_RTSa", "255", "Please input a number between 256 and 2346.", ""},
        {"Ed_RTSa", "2346", "", "2346"},
        {"Ed_DTIMa", "", "", ""},
    };
    auto w = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " \"" + c.typed + "\"");
        auto* box = ovtest::find<QLineEdit>(w.get(), QString::fromLatin1(c.field));
        const QString valid = box->text();
        ovtest::retype(box, QString::fromLatin1(c.typed));
        dialogs.clear();
        ovtest::pressKey(Qt::Key_Tab);
        if (*c.message == '\0') {
            EXPECT_TRUE(messages().empty());
            EXPECT_NE(QApplication::focusWidget(), box);
        } else {
            EXPECT_EQ(messages(), std::vector<QString>{QStringLiteral("Warning|") + c.message});
            EXPECT_EQ(QApplication::focusWidget(), box) << "the focus comes back";
        }
        EXPECT_EQ(box->text(), c.left);
        if (*c.message != '\0')
            ovtest::setByCode(box, valid); // so that the next case's focus move leaves it
    }
    // The empty DTIM left quietly is refused by Apply.
    dialogs.clear();
    ovtest::retype(w->band(kA).beacon, "100");
    ovtest::retype(w->band(kA).fragment, "2346");
    ovtest::click(w->band(kA).apply);
    EXPECT_EQ(messages(), std::vector<QString>{
                              QStringLiteral("Error|Please input a number between 1 and 255.")});
    EXPECT_EQ(QApplication::focusWidget(), w->band(kA).dtim);
    EXPECT_TRUE(sets().empty());
}

TEST_F(PerformanceWindow, DynamicTurboOffersItsChannelsAndNoRateChoice) {
    restartWith({"--set", "E.2.3.1.11.1=2", "--set", "E.2.3.1.11.2=2"});
    auto w = open();
    const QStringList turbo[] = {{"56", "153", "161"}, {"6"}};
    for (int b : {kA, kG}) {
        TFM_Performace::Band& d = w->band(b);
        EXPECT_EQ(ovtest::itemTexts(d.channel), turbo[b]);
        EXPECT_EQ(d.channel->currentIndex(), 0);
        EXPECT_FALSE(d.dataRate->isEnabled());
        EXPECT_EQ(d.dataRate->currentIndex(), 0);
    }
    ovtest::click(w->band(kA).apply);
    ASSERT_FALSE(sets().empty());
    EXPECT_EQ(sets().front(), mainSet(kA, {{"11", "i:2"}, {"2", "i:56"}}))
        << "the first turbo channel, the first rate";
}

TEST_F(PerformanceWindow, RatesGoOutWithoutTheirUnit) {
    const struct {
        int item;
        const char* sent;
    } cases[] = {{8, "s:54"}, {0, "s:Auto"}};
    for (const auto& c : cases) {
        restartWith({"--set", "E.2.3.1.4.1=6"});
        auto w = open();
        EXPECT_EQ(w->band(kA).dataRate->currentText(), "6 Mb");
        ovtest::pickItem(w->band(kA).dataRate, c.item);
        ovtest::click(w->band(kA).apply);
        ASSERT_FALSE(sets().empty());
        EXPECT_EQ(sets().front(), mainSet(kA, {{"4", c.sent}}));
        EXPECT_EQ(state("E.2.3.1.4.1"), std::string(c.sent).substr(2));
    }
}

TEST_F(PerformanceWindow, AScanningBandSendsTheChannelShown) {
    restartWith({"--set", "E.2.3.1.14.1=1", "--set", "E.2.3.1.2.1=44"});
    auto w = open();
    TFM_Performace::Band& a = w->band(kA);
    EXPECT_FALSE(a.channel->isEnabled());
    EXPECT_EQ(a.channel->currentText(), "44");
    ovtest::click(a.apply);
    ASSERT_GE(sets().size(), 4u);
    EXPECT_EQ(sets()[0], mainSet(kA, {{"2", "i:44"}}));
    EXPECT_EQ(sets()[3], (std::vector<std::string>{binding("E.2.3.1.14.1", "i:1")}));
}

TEST_F(PerformanceWindow, SwitchingPagesKeepsAChosenChannelButNotAChosenRate) {
    auto w = open();
    TFM_Performace::Band& a = w->band(kA);
    ovtest::pickItem(a.channel, 2); // "44"
    ovtest::pickItem(a.dataRate, 8);
    ovtest::clickTab(w->PC_Performace, kG);
    ovtest::clickTab(w->PC_Performace, kA);
    EXPECT_EQ(a.channel->currentText(), "44");
    EXPECT_EQ(a.dataRate->currentText(), "Auto") << "the device's value again";
}

TEST_F(PerformanceWindow, AFailedSetStopsTheBandAndRestartsNothing) {
    restartWith({"--fail-set", "E.2.3.1.17.1=genErr"});
    auto w = open();
    EXPECT_TRUE(w->band(kA).ShortPreambleAvailable) << "it reads fine";
    ovtest::click(w->band(kA).apply);
    ASSERT_EQ(sets().size(), 2u) << "main list, then the short preamble that fails";
    EXPECT_EQ(agent->requests().back().outcome, "failed:5");
    EXPECT_EQ(w->StatusBar->simpleText(), "IEEE802.11a Setting Error!");
    EXPECT_TRUE(waits.shown.empty());
    ovtest::click(w->band(kG).apply);
    EXPECT_EQ(w->StatusBar->simpleText(), "IEEE802.11a Setting Error!") << "802.11g went through";
    EXPECT_EQ(waits.shown.size(), 1u);
}

TEST_F(PerformanceWindow, RefreshReadsItsBandAgainButNotTheXrList) {
    auto w = open();
    TFM_Performace::Band& a = w->band(kA);
    ovtest::retype(a.beacon, "300");
    ovtest::pickItem(a.dataRate, 8);
    const std::size_t before = gets().size();
    ovtest::click(a.refresh);
    const auto all = gets();
    const std::vector<std::vector<std::string>> read(all.begin() + static_cast<long>(before),
                                                     all.end());
    const std::vector<std::vector<std::string>> expected = {oidsOf(mib::T6), oidsOf(mib::T7),
                                                            oidsOf(mib::T11)};
    EXPECT_EQ(read, expected);
    EXPECT_EQ(a.beacon->text(), "100") << "the device's value again";
    EXPECT_EQ(a.dataRate->currentText(), "Auto");
    EXPECT_TRUE(sets().empty());
}

} // namespace
