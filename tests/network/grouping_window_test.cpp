// "Advanced \ Grouping" against apsim: the user limit rule and check, what
// Apply sends, and its wait window, which restarts the device at tick 5.
#include "WindowTest.h"

#include "DeviceMib.h"
#include "OvStatusBar.h"
#include "TFM_Grouping.h"
#include "widgettest/OvAccessibility.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

using ovtest::binding;

std::vector<std::string> groupingSet(int loadBalance, int limit, int linkIntegrate) {
    return {binding("E.2.6.1.0", "i:" + std::to_string(loadBalance)),
            binding("E.2.6.2.0", "i:" + std::to_string(limit)),
            binding("E.2.6.3.0", "i:" + std::to_string(linkIntegrate))};
}

class GroupingWindow : public ovtest::WindowTest {
protected:
    std::unique_ptr<TFM_Grouping> open() {
        auto w = std::make_unique<TFM_Grouping>(main, nullptr);
        ovtest::showActive(w.get());
        return w;
    }
    static QColor base(const QWidget* box) { return box->palette().color(QPalette::Base); }
    static QColor appColour(QPalette::ColorRole role) {
        return QApplication::palette().color(QPalette::Active, role);
    }
};

TEST_F(GroupingWindow, ReadsTheFourSettingsAndShowsThem) {
    auto w = open();
    std::vector<std::string> oids;
    for (const OvSNMPVarRow* row = mib::T23; row->oid != nullptr; ++row)
        oids.push_back(std::string(row->oid) + ".0");
    EXPECT_EQ(gets(), std::vector<std::vector<std::string>>{oids});
    EXPECT_EQ(w->windowTitle(), "Advanced \\ Grouping");
    EXPECT_EQ(w->LA_Grouping->text(), "AP Grouping Settings:");
    EXPECT_EQ(w->CB_LoadB->currentText(), "Disable");
    EXPECT_EQ(w->Ed_UsrL->text(), "32");
    EXPECT_EQ(w->CB_LinkInt->currentText(), "Disable");
    EXPECT_EQ(w->Ed_EthLS->text(), "100Mbps Full-Duplex");
    EXPECT_TRUE(w->Ed_EthLS->isReadOnly());
    const std::pair<QWidget*, const char*> names[] = {{w->CB_LoadB, "Load Balance"},
                                                      {w->Ed_UsrL, "User Limit (0-64)"},
                                                      {w->CB_LinkInt, "Link Integrate"},
                                                      {w->Ed_EthLS, "Ethernet Link Status"},
                                                      {w->Bt_Apply, "Apply"},
                                                      {w->Bt_Refresh, "Refresh"},
                                                      {w->Bt_Cancel, "Cancel"}};
    for (const auto& [control, spoken] : names)
        EXPECT_EQ(ovtest::spokenName(control), spoken);
}

TEST_F(GroupingWindow, TheUserLimitCanBeTypedOnlyWhileLoadBalancing) {
    auto w = open();
    EXPECT_TRUE(w->Ed_UsrL->isReadOnly());
    EXPECT_EQ(base(w->Ed_UsrL), appColour(QPalette::Button));
    ovtest::pickItem(w->CB_LoadB, 1);
    EXPECT_FALSE(w->Ed_UsrL->isReadOnly());
    EXPECT_EQ(base(w->Ed_UsrL), appColour(QPalette::Base));
    ovtest::retype(w->Ed_UsrL, "123");
    EXPECT_EQ(w->Ed_UsrL->text(), "12") << "two digits at most";
    ovtest::pickItem(w->CB_LoadB, 0);
    EXPECT_TRUE(w->Ed_UsrL->isReadOnly());
    // A refresh shows the device's choice and follows it.
    ovtest::click(w->Bt_Refresh);
    EXPECT_EQ(w->Ed_UsrL->text(), "32");
    EXPECT_TRUE(w->Ed_UsrL->isReadOnly());
}

TEST_F(GroupingWindow, ApplyChecksTheUserLimit) {
    const struct {
        const char* limit;
        bool loadBalancing;
        bool accepted;
    } cases[] = {
        {"64", true, true}, {"0", true, true},  {"65", true, false},
        {"", true, false},  {"", false, false}, {"99", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.limit + "\"" +
                     (c.loadBalancing ? ", balancing" : ", not balancing"));
        restartWith({"--set", std::string("E.2.6.1.0=") + (c.loadBalancing ? "1" : "0")});
        auto w = open();
        ovtest::setByCode(w->Ed_UsrL, QString::fromLatin1(c.limit));
        ovtest::click(w->Bt_Apply);
        if (c.accepted) {
            EXPECT_TRUE(messages().empty());
            ASSERT_FALSE(sets().empty());
            EXPECT_EQ(sets().front(), groupingSet(1, std::stoi(c.limit), 0));
        } else {
            EXPECT_EQ(messages(), std::vector<QString>{QStringLiteral(
                                      "Error|Please input a number between 0 and 64.")});
            EXPECT_EQ(w->Ed_UsrL->text(), "") << "emptied";
            EXPECT_TRUE(sets().empty());
        }
        dialogs.clear();
        waits.shown.clear();
    }
}

TEST_F(GroupingWindow, ADisabledLoadBalanceStillSendsTheLimitAndRestartsAtTickFive) {
    auto w = open();
    ovtest::pickItem(w->CB_LinkInt, 1);
    ovtest::click(w->Bt_Apply);
    const std::vector<std::vector<std::string>> expected = {groupingSet(0, 32, 1),
                                                            {binding(ovtest::kRestart, "i:1")}};
    EXPECT_EQ(sets(), expected);
    ASSERT_EQ(waits.shown.size(), 1u);
    EXPECT_EQ(waits.shown[0].countdown, 40);
    EXPECT_TRUE(waits.shown[0].restartCommand);
    EXPECT_EQ(waits.shown[0].restartTick, 5);
    EXPECT_EQ(waits.shown[0].restartSentAtTick, 5);
    EXPECT_EQ(state("E.2.6.3.0"), "1");
}

TEST_F(GroupingWindow, ASuccessfulApplyClearsAnEarlierFailure) {
    // The first SET and its one retry go unanswered.
    restartWith({"--drop-set", "E.2.6.2.0=2"});
    auto w = open();
    ovtest::click(w->Bt_Apply);
    EXPECT_EQ(w->StatusBar->simpleText(), "Setting Error!");
    EXPECT_TRUE(waits.shown.empty());
    ovtest::click(w->Bt_Apply);
    EXPECT_EQ(w->StatusBar->simpleText(), "");
    EXPECT_EQ(waits.shown.size(), 1u);
}

TEST_F(GroupingWindow, AFailedReadShowsItsStatusLine) {
    restartWith({"--fail", "E.2.6.4.0=genErr"});
    auto w = open();
    EXPECT_TRUE(w->StatusBar->simpleText().startsWith("Get: "))
        << w->StatusBar->simpleText().toStdString();
}

} // namespace
