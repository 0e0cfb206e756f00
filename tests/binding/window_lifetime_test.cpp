// Windows that close and delete themselves, their bindings with them, inside a
// handler the binding calls (as windows that show "Setting Success!" and close
// do): nothing of the binding may run after that handler has returned. Under
// the sanitizer build any touch of the freed binding is an error; in every
// build a table binding must not reread a table for a window that is gone.
#include "DeviceMib.h"
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "widgettest/OvDeviceTest.h"

#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace {

// A window owning one binding, as the module's windows do.
struct OwningWindow : QWidget {
    std::unique_ptr<OvSNMPRequest2Edits> binding;
    OvListView* list = nullptr;
    QLineEdit* edit = nullptr;
};

enum class Handler { OnGetDone, OnSetDone, AfterRefresh, AfterApply };
enum class Operation { Refresh, Apply };

struct LifetimeCase {
    const char* what;
    bool async;
    bool table;
    Handler handler;
    Operation operation;
    std::vector<std::string> agentOptions;
};

class WindowLifetimeTest : public ovtest::DeviceTest {
protected:
    // A window on the system group (scalars, System Name bound) or on the
    // static pool (a table in a list view, its first row selected).
    OwningWindow* makeWindow(const LifetimeCase& c) {
        auto* window = new OwningWindow;
        auto* layout = new QVBoxLayout(window);
        window->edit = new QLineEdit(window);
        layout->addWidget(window->edit);
        window->binding = std::make_unique<OvSNMPRequest2Edits>(window);
        OvSNMPRequest2Edits& b = *window->binding;
        if (c.table) {
            window->list = new OvListView(window);
            layout->addWidget(window->list);
            b.request.varList = OvSNMPVarList(mib::T45, MVT_UMV, 1);
            b.mode = 0;
            b.BindEdit(7, "%s", window->edit);
            b.BindListView(window->list, true);
            EXPECT_TRUE(b.Refresh());
            window->list->selectRow(0);
        } else {
            b.request.varList = OvSNMPVarList(mib::T1, SVT_SV, 0);
            b.BindEdit(4, "%s", window->edit);
        }
        b.mode = c.async ? 1 : 0;
        return window;
    }

    // The handler closes and deletes its window.
    static void closeInHandler(OwningWindow* window, Handler handler) {
        auto closeAndDelete = [window] {
            window->close();
            delete window;
        };
        OvSNMPRequest2Edits& b = *window->binding;
        switch (handler) {
        case Handler::OnGetDone:
            b.OnGetDone = [closeAndDelete](OvSNMPRequest2Controls*, const OvSNMPError&) {
                closeAndDelete();
            };
            break;
        case Handler::OnSetDone:
            b.OnSetDone = [closeAndDelete](OvSNMPRequest2Controls*, const OvSNMPError&) {
                closeAndDelete();
            };
            break;
        case Handler::AfterRefresh:
            b.AfterRefresh = closeAndDelete;
            break;
        case Handler::AfterApply:
            b.AfterApply = closeAndDelete;
            break;
        }
    }

    // What the agent was asked after the last SET, up to a marker GET that a
    // binding of its own sends now: a request the gone window's binding sent
    // went out before the marker.
    std::vector<std::string> operationsAfterTheLastSet() {
        OvSNMPRequest2Edits marker(nullptr);
        marker.request.varList = OvSNMPVarList(mib::T41, SVT_SV, 0);
        marker.mode = 0;
        EXPECT_TRUE(marker.Refresh());
        std::vector<std::string> after;
        for (const auto& request : agent->requests()) {
            if (request.operation == "SET")
                after.clear();
            else
                after.push_back(request.operation);
        }
        return after;
    }
};

TEST_F(WindowLifetimeTest, AWindowDeletedInsideAHandlerIsNeverTouchedAgain) {
    const std::vector<std::string> failing = {"--fail", "System Name=genErr", "--fail",
                                              "System Description=genErr"};
    const LifetimeCase cases[] = {
        {"OnGetDone of an asynchronous refresh",
         true,
         false,
         Handler::OnGetDone,
         Operation::Refresh,
         {}},
        {"OnGetDone of a failed asynchronous refresh", true, false, Handler::OnGetDone,
         Operation::Refresh, failing},
        {"OnGetDone of an asynchronous table walk",
         true,
         true,
         Handler::OnGetDone,
         Operation::Refresh,
         {}},
        {"AfterRefresh of an asynchronous refresh",
         true,
         false,
         Handler::AfterRefresh,
         Operation::Refresh,
         {}},
        {"AfterRefresh of a synchronous refresh",
         false,
         false,
         Handler::AfterRefresh,
         Operation::Refresh,
         {}},
        {"AfterRefresh of a synchronous table walk",
         false,
         true,
         Handler::AfterRefresh,
         Operation::Refresh,
         {}},
        {"OnSetDone of an asynchronous apply",
         true,
         false,
         Handler::OnSetDone,
         Operation::Apply,
         {}},
        {"OnSetDone of a failed asynchronous apply", true, false, Handler::OnSetDone,
         Operation::Apply, failing},
        {"OnSetDone of an asynchronous table apply with reread",
         true,
         true,
         Handler::OnSetDone,
         Operation::Apply,
         {}},
        {"AfterApply of an asynchronous apply",
         true,
         false,
         Handler::AfterApply,
         Operation::Apply,
         {}},
        {"AfterApply of an asynchronous table apply with reread",
         true,
         true,
         Handler::AfterApply,
         Operation::Apply,
         {}},
        {"AfterApply of a synchronous apply",
         false,
         false,
         Handler::AfterApply,
         Operation::Apply,
         {}},
        {"AfterApply of a synchronous table apply with reread",
         false,
         true,
         Handler::AfterApply,
         Operation::Apply,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restartAgent(c.agentOptions);
        OwningWindow* window = makeWindow(c);
        QPointer<QWidget> watched = window;
        closeInHandler(window, c.handler);
        window->show();
        if (c.operation == Operation::Refresh)
            window->binding->Refresh();
        else
            window->binding->Apply(true, true);
        ASSERT_TRUE(ovtest::waitFor([&] { return watched.isNull(); }));
        if (c.operation == Operation::Apply) {
            EXPECT_EQ(operationsAfterTheLastSet(), std::vector<std::string>{"GET"})
                << "a table was reread for a window that is gone";
        }
    }
}

} // namespace
