// The administrator, system and miscellaneous windows when the device holds
// its answers back or every send fails at once: they close, and every button
// ends, with no crash and no hang.
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "TFM_Admin.h"
#include "TFM_Misc.h"
#include "TFM_Sytem.h"
#include "ToolsTest.h"

#include <QPointer>
#include <QPushButton>

namespace {

using namespace toolstest;

struct WindowCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>(const OvDeviceContext&)> make;
    std::function<std::vector<QPushButton*>(QDialog&)> buttons;
};

std::vector<WindowCase> windows() {
    return {
        {"admin", [](const OvDeviceContext& d) { return std::make_unique<TFM_Admin>(d, nullptr); },
         [](QDialog& w) { return std::vector<QPushButton*>{static_cast<TFM_Admin&>(w).OK}; }},
        {"system", [](const OvDeviceContext& d) { return std::make_unique<TFM_Sytem>(d, nullptr); },
         [](QDialog& w) {
             auto& s = static_cast<TFM_Sytem&>(w);
             return std::vector<QPushButton*>{s.Button1, s.Button2};
         }},
        {"misc", [](const OvDeviceContext& d) { return std::make_unique<TFM_Misc>(d, nullptr); },
         [](QDialog& w) {
             auto& m = static_cast<TFM_Misc&>(w);
             return std::vector<QPushButton*>{m.Bt_Rfresh, m.Bt_Apply};
         }},
    };
}

class ToolsRobustness : public ToolsTest {};

TEST_F(ToolsRobustness, ClosingWhileAnAnswerIsHeldBack) {
    for (const WindowCase& c : windows()) {
        SCOPED_TRACE(c.name);
        restartAgent(withQuickRestart({"--delay-ms", "700"}));
        auto w = c.make(main);
        ovtest::showActive(w.get());
        ovtest::pressKey(Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible());
        w.reset();
        // A late answer reaches nothing that is gone.
        ovtest::waitFor([] { return false; }, 800);
    }
}

TEST_F(ToolsRobustness, SessionsThatSendNothing) {
    for (const WindowCase& c : windows()) {
        for (const ovtest::UnsendableSession& session : ovtest::unsendableSessions()) {
            SCOPED_TRACE(std::string(c.name) + ": " + session.what);
            restartAgent(agentOptions());
            session.breakSession();
            auto w = c.make(main);
            ovtest::showActive(w.get());
            for (QPushButton* b : c.buttons(*w))
                ovtest::click(b);
            w->close();
            EXPECT_FALSE(w->isVisible());
            EXPECT_TRUE(agent->requests().empty()) << "nothing reached the device";
        }
    }
}

} // namespace
