// "Advanced \ Rogue AP" against apsim, which hears 16 networks (every fifth an
// ad-hoc one) and takes --scan-seconds to scan: the filters as read and as
// written (the band and security masks, the Ad Hoc rule), the scan and its
// order on the wire, the row commands by index, and a window that always
// becomes closable again.
#include "OvListView.h"
#include "OvRadioGroup.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "TFM_RogueAP.h"
#include "TFM_Waiting.h"
#include "widgettest/OvAccessibility.h"
#include "widgettest/OvDeviceTest.h"
#include "widgettest/OvShowSpy.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const std::string kRoot = "1.3.6.1.4.1.48213.10.37.14";
const std::string kBssType = kRoot + ".2.10.1.0";
const std::string kBands = kRoot + ".2.10.2.0";
const std::string kSecurities = kRoot + ".2.10.3.0";
const std::string kDetect = kRoot + ".2.10.4.1.1.0";
const std::string kAdd = kRoot + ".2.10.4.1.2.0";
const std::string kDeleteResult = kRoot + ".2.10.4.1.3.0";
const std::string kDeleteKnown = kRoot + ".2.10.4.2.1.0";
const std::string kRestart = kRoot + ".3.2.1.0";

std::string integerSet(const std::string& oid, int value) {
    return oid + "=i:" + std::to_string(value);
}

class RogueWindow : public ovtest::DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override { return with({}); }
    static std::vector<std::string> with(const std::vector<std::string>& extra) {
        std::vector<std::string> options{"--restart-seconds", "0.2", "--scan-seconds", "0.3"};
        options.insert(options.end(), extra.begin(), extra.end());
        return options;
    }

    // Opens the window and waits until the known AP list has been read.
    void open() {
        window = std::make_unique<TFM_RogueAP>(main, nullptr);
        ovtest::showActive(window.get());
        ASSERT_TRUE(ovtest::waitFor([&] { return window->ListDelBtn->isEnabled(); }));
    }
    // Clicks Detect and waits until the result has been read.
    void detect() {
        ovtest::click(window->DetectBtn);
        ASSERT_TRUE(ovtest::waitFor([&] { return window->closable(); }, 15000));
    }
    // Selects the row whose index (the hidden caption) is `index`.
    static void selectIndex(OvListView* list, const QString& index) {
        for (int row = 0; row < list->itemCount(); ++row)
            if (list->caption(row) == index) {
                list->selectRow(row);
                return;
            }
        ADD_FAILURE() << "no row of index " << index.toStdString();
    }
    static QStringList captions(const OvListView* list) {
        QStringList shown;
        for (int row = 0; row < list->itemCount(); ++row)
            shown << list->caption(row);
        return shown;
    }
    // The SSIDs of the list, row by row.
    static QStringList ssids(const OvListView* list) {
        QStringList shown;
        for (int row = 0; row < list->itemCount(); ++row)
            shown << list->subItem(row, 6);
        return shown;
    }
    std::vector<QPushButton*> sixButtons() const {
        return {window->DetectBtn,  window->AddBtn,     window->DelBtn,
                window->ListDelBtn, window->Cancel_Btn, window->Apply_Btn};
    }
    void expectButtons(bool enabled) const {
        for (QPushButton* b : sixButtons())
            EXPECT_EQ(b->isEnabled(), enabled) << b->objectName().toStdString();
    }
    std::vector<std::vector<std::string>> setsSince(std::size_t from) const {
        const auto all = ovtest::setsSent(*agent);
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
    }
    // The requests from `from` on, each walk of a list once, by its table entry.
    std::vector<std::string> steps(std::size_t from) const {
        static const std::string lists[] = {"GETNEXT E.2.10.4.1.4.1", "GETNEXT E.2.10.4.2.2.1"};
        std::vector<std::string> seen;
        for (std::string r : ovtest::requestsSeen(*agent, from)) {
            for (const std::string& list : lists)
                if (r.rfind(list + ".", 0) == 0)
                    r = list;
            if (seen.empty() || seen.back() != r || r.rfind("GETNEXT", 0) != 0)
                seen.push_back(r);
        }
        return seen;
    }

    ovtest::StandInMainWindow main;
    std::unique_ptr<TFM_RogueAP> window;
    int waitsShown = 0;
    ovtest::ShowSpy<TFM_Waiting> waitSpy{[this](TFM_Waiting& w) {
        ++waitsShown;
        EXPECT_EQ(w.countdown, 40);
        EXPECT_TRUE(w.restartCommand);
    }};
};

TEST_F(RogueWindow, OpensWithTheFiltersReadAndTheKnownAPsListed) {
    const struct {
        const char* what;
        std::vector<std::string> start;
        int bssType;
        bool a, b, g;
        std::vector<int> securities; // bits checked
        bool wpaEnabled;
    } cases[] = {
        {"the factory filters", {}, 2, true, true, true, {0, 1, 2, 3, 4, 5, 6, 7}, true},
        {"ad-hoc networks on a and b with WEP and WPA2-Enterprise",
         {"--set", "bssTypeDetected=2", "--set", "bandTypeDetected=5", "--set",
          "securityTypeDetected=18"},
         1,
         true,
         true,
         false,
         {1, 4},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restartAgent(with(c.start));
        open();
        TFM_RogueAP& w = *window;
        EXPECT_EQ(w.windowTitle(), "Advanced \\ Rogue AP");
        EXPECT_EQ(w.BSSTypRadGrp->items(), (QStringList{"AP BSS", "Ad Hoc", "Both"}));
        EXPECT_EQ(w.BSSTypRadGrp->itemIndex(), c.bssType);
        EXPECT_EQ(w.CheckBox_11a->isChecked(), c.a);
        EXPECT_EQ(w.CheckBox_11b->isChecked(), c.b);
        EXPECT_EQ(w.CheckBox_11g->isChecked(), c.g);
        const QCheckBox* boxes[] = {w.ChcBxo_off,    w.ChcBxo_wep,   w.ChcBxo_eap,
                                    w.ChcBxo_psk,    w.WPA2EAPCkBox, w.WPA2PSKCkBox,
                                    w.WPA2AUTECkBox, w.WPA2AUTPCkBox};
        for (int bit = 0; bit < 8; ++bit) {
            const bool wanted =
                std::find(c.securities.begin(), c.securities.end(), bit) != c.securities.end();
            EXPECT_EQ(boxes[bit]->isChecked(), wanted) << bit;
            EXPECT_EQ(boxes[bit]->isEnabled(), bit < 2 || c.wpaEnabled) << bit;
        }
        // The result list stays empty until the first scan.
        EXPECT_EQ(w.RogueListView->itemCount(), 0);
        EXPECT_EQ(captions(w.AP_ListView), QStringList{"1"});
        EXPECT_FALSE(w.AP_ListView->isColumnShown(0)) << "the index is the hidden caption";
        QStringList columns;
        for (int col = 0; col < w.AP_ListView->columnCount(); ++col)
            columns << w.AP_ListView->horizontalHeaderItem(col)->text();
        EXPECT_EQ(columns, (QStringList{"Index", "Type", "CH", "RSSI", "BSSID", "Security", "Mode",
                                        "SSID"}));
        EXPECT_TRUE(w.DetectBtn->isEnabled());
        EXPECT_FALSE(w.AddBtn->isEnabled());
        EXPECT_FALSE(w.DelBtn->isEnabled());
        for (QPushButton* b : {w.ListDelBtn, w.Apply_Btn, w.Cancel_Btn})
            EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_TRUE(w.closable());
        EXPECT_EQ(steps(0), (std::vector<std::string>{"GET E.2.10.1.0", "GETNEXT E.2.10.4.2.2.1"}));
        EXPECT_TRUE(ovtest::setsSent(*agent).empty());
        window.reset();
    }
}

struct MaskCase {
    const char* what;
    std::function<void(TFM_RogueAP&)> clicks;
    int bssType, bands, securities;
};

TEST_F(RogueWindow, WritesTheFiltersAsTheBoxesSayThenRestarts) {
    const MaskCase cases[] = {
        {"11a and 11g", [](TFM_RogueAP& w) { ovtest::click(w.CheckBox_11b); }, 3, 9, 255},
        {"11b alone",
         [](TFM_RogueAP& w) {
             ovtest::click(w.CheckBox_11a);
             ovtest::click(w.CheckBox_11g);
         },
         3, 4, 255},
        {"Ad Hoc with every security box checked",
         [](TFM_RogueAP& w) { ovtest::click(w.BSSTypRadGrp->button(1)); }, 2, 13, 3},
        {"Ad Hoc, then OFF cleared: WEP alone",
         [](TFM_RogueAP& w) {
             ovtest::click(w.BSSTypRadGrp->button(1));
             ovtest::click(w.ChcBxo_off);
         },
         2, 13, 2},
        {"back from Ad Hoc, every bit counts again",
         [](TFM_RogueAP& w) {
             ovtest::click(w.BSSTypRadGrp->button(1));
             ovtest::click(w.BSSTypRadGrp->button(0));
         },
         1, 13, 255},
        {"WPA2-Personal cleared through an assistive technology",
         [](TFM_RogueAP& w) {
             ovtest::doAccessibleAction(w.WPA2PSKCkBox, QAccessibleActionInterface::toggleAction());
         },
         3, 13, 255 - 32},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.what);
        restartAgent(agentOptions());
        waitsShown = 0;
        open();
        c.clicks(*window);
        ovtest::click(window->Apply_Btn);
        EXPECT_EQ(window->StatusBar1->simpleText(), "Set Success!");
        EXPECT_EQ(waitsShown, 1);
        const std::vector<std::vector<std::string>> expected = {
            {integerSet(kBssType, c.bssType), integerSet(kBands, c.bands),
             integerSet(kSecurities, c.securities)},
            {integerSet(kRestart, 1)}};
        EXPECT_EQ(ovtest::setsSent(*agent), expected);
        window.reset();
    }
}

TEST_F(RogueWindow, DetectWritesTheFiltersScansThenReadsTheResult) {
    restartAgent(with({"--scan-seconds", "1"}));
    open();
    const std::size_t before = agent->requests().size();
    ovtest::click(window->CheckBox_11b); // bands a and g: ten of the sixteen
    ovtest::click(window->DetectBtn);
    EXPECT_FALSE(window->closable());
    expectButtons(false);
    window->close();
    EXPECT_TRUE(window->isVisible()) << "closed by close() while scanning";
    ovtest::pressKey(Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible()) << "closed by Escape while scanning";

    ASSERT_TRUE(ovtest::waitFor([&] { return window->closable(); }, 15000));
    expectButtons(true);
    EXPECT_EQ(steps(before), (std::vector<std::string>{"SET E.2.10.1.0", "SET E.2.10.4.1.1.0",
                                                       "GETNEXT E.2.10.4.1.4.1"}));
    const std::vector<std::vector<std::string>> expected = {
        {integerSet(kBssType, 3), integerSet(kBands, 9), integerSet(kSecurities, 255)},
        {integerSet(kDetect, 1)}};
    EXPECT_EQ(setsSince(0), expected);
    EXPECT_EQ(captions(window->RogueListView),
              (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(window->RogueListView->subItem(0, 6), "Rogue-2");
    ovtest::click(window->Cancel_Btn);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(RogueWindow, AddMovesTheSelectedNetworkByItsIndexAndReadsBothLists) {
    open();
    detect();
    const std::size_t setsBefore = ovtest::setsSent(*agent).size();
    const std::size_t before = agent->requests().size();
    selectIndex(window->RogueListView, "5");
    ovtest::click(window->AddBtn);
    ASSERT_TRUE(ovtest::waitFor([&] { return window->AddBtn->isEnabled(); }));
    ASSERT_TRUE(ovtest::waitFor([&] { return !window->apListBinding()->IsBusy(); }));
    EXPECT_EQ(setsSince(setsBefore),
              (std::vector<std::vector<std::string>>{{integerSet(kAdd, 5)}}));
    const auto seen = steps(before);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0], "SET E.2.10.4.1.2.0");
    EXPECT_NE(std::find(seen.begin(), seen.end(), "GETNEXT E.2.10.4.1.4.1"), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), "GETNEXT E.2.10.4.2.2.1"), seen.end());
    EXPECT_FALSE(captions(window->RogueListView).contains("5"));
    EXPECT_EQ(window->RogueListView->itemCount(), 15);
    EXPECT_EQ(captions(window->AP_ListView), (QStringList{"1", "2"}));
    EXPECT_EQ(ssids(window->AP_ListView), (QStringList{"Known-1", "Rogue-5"}));
}

struct DeleteCase {
    const char* what;
    bool knownList;
    std::vector<QString> indexes; // deleted one after the other
    std::string command;
    QStringList left;
};

TEST_F(RogueWindow, DeletesRowsByTheIndexTheDeviceGaveThem) {
    const DeleteCase cases[] = {
        {"two detected networks: row 3, then the one of index 4",
         false,
         {"3", "4"},
         kDeleteResult,
         {"1", "2", "5", "6"}},
        {"a known AP", true, {"2"}, kDeleteKnown, {"1", "3"}},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.what);
        restartAgent(with({"--air", "6", "--rows", "knownap=3"}));
        open();
        detect();
        const std::size_t setsBefore = ovtest::setsSent(*agent).size();
        OvListView* list = c.knownList ? window->AP_ListView : window->RogueListView;
        QPushButton* del = c.knownList ? window->ListDelBtn : window->DelBtn;
        std::vector<std::vector<std::string>> expected;
        for (const QString& index : c.indexes) {
            selectIndex(list, index);
            ovtest::click(del);
            ASSERT_TRUE(ovtest::waitFor([&] {
                return del->isEnabled() && !window->apListBinding()->IsBusy() &&
                       !window->resultListBinding()->IsBusy();
            }));
            expected.push_back({integerSet(c.command, index.toInt())});
        }
        EXPECT_EQ(setsSince(setsBefore), expected);
        EXPECT_EQ(captions(list), c.left);
        window.reset();
    }
}

TEST_F(RogueWindow, AFailedCommandLeavesTheButtonsOffButTheWindowClosable) {
    restartAgent(with({"--fail", "addRogueAPtoAPList=genErr"}));
    open();
    detect();
    selectIndex(window->RogueListView, "2");
    ovtest::click(window->AddBtn);
    ASSERT_TRUE(ovtest::waitFor([&] { return !window->addBinding()->IsBusy(); }));
    EXPECT_TRUE(window->StatusBar1->simpleText().startsWith("Set: "))
        << window->StatusBar1->simpleText().toStdString();
    expectButtons(false);
    EXPECT_TRUE(window->closable());
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(RogueWindow, AFailedResultWalkStillGivesTheButtonsAndTheCloseBack) {
    restartAgent(with({"--fail", "E.2.10.4.1.4.1.2=genErr"}));
    open();
    detect();
    expectButtons(true);
    EXPECT_TRUE(window->StatusBar1->simpleText().startsWith("Get: "))
        << window->StatusBar1->simpleText().toStdString();
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(RogueWindow, ASessionThatSendsNothingLeavesTheWindowUsableToLeave) {
    for (const ovtest::UnsendableSession& session : ovtest::unsendableSessions()) {
        SCOPED_TRACE(session.what);
        restartAgent(agentOptions());
        session.breakSession();
        window = std::make_unique<TFM_RogueAP>(main, nullptr);
        ovtest::showActive(window.get());
        ASSERT_TRUE(ovtest::waitFor([&] { return window->Cancel_Btn->isEnabled(); }));
        if (session.raisedAtOnce) {
            // The first request raised: the status bar says so, and the
            // buttons that reach the device stay off.
            EXPECT_TRUE(window->StatusBar1->simpleText().contains("(OvSNMP++)"))
                << window->StatusBar1->simpleText().toStdString();
        }
        ovtest::click(window->DetectBtn);
        ASSERT_TRUE(ovtest::waitFor([&] { return window->closable(); }));
        EXPECT_TRUE(window->Cancel_Btn->isEnabled());
        EXPECT_TRUE(agent->requests().empty());
        ovtest::click(window->Cancel_Btn);
        EXPECT_FALSE(window->isVisible());
        window.reset();
    }
}

TEST_F(RogueWindow, ClosesWhileAnAnswerIsHeldBack) {
    restartAgent(with({"--delay-var", "E.2.10.4.2.2.1=700"}));
    window = std::make_unique<TFM_RogueAP>(main, nullptr);
    ovtest::showActive(window.get());
    ASSERT_TRUE(window->apListBinding()->IsBusy());
    ovtest::pressKey(Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->apListBinding(), nullptr) << "the bindings went with the window";
    window.reset();
    ovtest::waitFor([] { return false; }, 800); // the late answer reaches nothing
}

TEST_F(RogueWindow, ResizingSharesTheHeightAndKeepsTheButtonsAtTheirFractions) {
    open();
    for (const QSize size : {QSize(700, 640), QSize(900, 760)}) {
        window->resize(size);
        ovtest::waitFor([&] { return window->size() == size; }, 1000);
        ASSERT_EQ(window->size(), size);
        EXPECT_LE(std::abs(window->GB_RogueList->height() - window->GB_APList->height()), 1);
        // Each button's left edge at its share of its row: the group's width, or
        // the window's for Apply and Cancel.
        const std::pair<QPushButton*, double> buttons[] = {
            {window->DetectBtn, 0.4323}, {window->AddBtn, 0.6215},
            {window->DelBtn, 0.8108},    {window->ListDelBtn, 0.8108},
            {window->Apply_Btn, 0.5089}, {window->Cancel_Btn, 0.7575}};
        for (const auto& [b, share] : buttons) {
            const QWidget* row = b->parentWidget();
            EXPECT_EQ(b->x(), static_cast<int>(row->width() * share))
                << b->objectName().toStdString();
            // A group's row takes the group's whole inside, the window's the whole width.
            EXPECT_EQ(row->width(), row->parentWidget()->contentsRect().width())
                << b->objectName().toStdString();
        }
    }
}

TEST_F(RogueWindow, ReadsItsControlsByTheirCaptions) {
    open();
    const std::pair<QWidget*, QString> names[] = {{window->BSSTypRadGrp, "BSS Type"},
                                                  {window->BSSTypRadGrp->button(1), "Ad Hoc"},
                                                  {window->CheckBox_11a, "11a"},
                                                  {window->ChcBxo_psk, "WPA-Personal  "},
                                                  {window->WPA2AUTECkBox, "WPA-Enterprise-AUTO "},
                                                  {window->RogueListView, "Rogue AP List"},
                                                  {window->AP_ListView, "AP List"},
                                                  {window->DetectBtn, "Detect"},
                                                  {window->ListDelBtn, "Del"},
                                                  {window->Apply_Btn, "Apply"},
                                                  {window->Cancel_Btn, "Cancel"}};
    for (const auto& [control, name] : names)
        EXPECT_EQ(ovtest::accessibleName(control), name) << control->objectName().toStdString();
}

} // namespace
