// Bound controls driven through Qt's accessibility interface, as a screen
// reader or an automation tool drives them: a change made there is the user's
// change (handlers and constraints run, the apply sends it), while a refresh
// or a window's rule setting a control runs no handler; status texts are
// exposed and announced.
#include "DeviceMib.h"
#include "OvDialogs.h"
#include "OvGuard.h"
#include "OvRadioGroup.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "widgettest/OvAccessibility.h"
#include "widgettest/OvDeviceTest.h"

#include <QAccessibleActionInterface>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace {

#define E "1.3.6.1.4.1.48213.10.37.14"

// The grouping switches and user limit, each with a user-change handler that
// counts, as a window's handler would.
struct GroupingWindow {
    QWidget widget;
    QVBoxLayout* layout = new QVBoxLayout(&widget);
    QComboBox* balance = add<QComboBox>("CB_LoadBalance");
    OvRadioGroup* balanceRadio = add<OvRadioGroup>("RG_LoadBalance");
    QLineEdit* limit = add<QLineEdit>("Ed_UserLimit");
    QCheckBox* integrate = add<QCheckBox>("CK_LinkIntegrate");
    QLineEdit* other = add<QLineEdit>("Ed_Other");
    std::unique_ptr<OvSNMPRequest2Edits> binding;
    int handled = 0;

    template <typename T> T* add(const char* name) {
        auto* control = new T(&widget);
        control->setObjectName(name);
        layout->addWidget(control);
        return control;
    }

    // The combo box or the radio group stands for the load balance switch.
    void bind(bool radioGroup) {
        binding = std::make_unique<OvSNMPRequest2Edits>(&widget);
        binding->request.varList = OvSNMPVarList(mib::T23, SVT_SV, 0);
        binding->mode = 0;
        if (radioGroup)
            binding->BindRadioGroup(0, balanceRadio);
        else
            binding->BindComboBox(0, balance);
        if (!radioGroup)
            balanceRadio->setItems({"Disable", "Enable"});
        binding->BindEdit(1, "%u{n0x64}", limit);
        binding->BindCheckBox(2, integrate);
        integrate->setText("Link Integrate");
        auto count = [this] { ++handled; };
        ov::onUserChange(balance, &widget, count);
        ov::onUserChange(balanceRadio, &widget, count);
        ov::onUserChange(integrate, &widget, count);
    }
};

class AccessibilityTest : public ovtest::DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override {
        return {"--set", "LoadBalance=0",  "--set", "UserLimit(0-64)=12",
                "--set", "LinkIntegrate=0"};
    }
    ovtest::AccessibilityRecorder recorder;
};

void replaceText(QLineEdit* edit, const QString& text) {
    QAccessibleEditableTextInterface* editable = ovtest::accessible(edit)->editableTextInterface();
    ASSERT_NE(editable, nullptr);
    editable->replaceText(0, edit->text().size(), text);
}

TEST_F(AccessibilityTest, AChangeThroughTheAccessibilityInterfaceIsTheUsersChange) {
    const struct {
        const char* what;
        bool radioGroup;
        std::function<void(GroupingWindow&)> change;
        std::vector<std::string> sent;
    } cases[] = {
        {"a check box ticked by its Toggle action",
         false,
         [](GroupingWindow& w) { ovtest::doAccessibleAction(w.integrate, "Toggle"); },
         {E ".2.6.1.0=i:0", E ".2.6.2.0=i:12", E ".2.6.3.0=i:1"}},
        {"a combo box item selected in its list",
         false,
         [](GroupingWindow& w) { ovtest::selectAccessibly(w.balance, 1); },
         {E ".2.6.1.0=i:1", E ".2.6.2.0=i:12", E ".2.6.3.0=i:0"}},
        {"a radio button checked by its Toggle action",
         true,
         [](GroupingWindow& w) { ovtest::doAccessibleAction(w.balanceRadio->button(1), "Toggle"); },
         {E ".2.6.1.0=i:1", E ".2.6.2.0=i:12", E ".2.6.3.0=i:0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restartAgent(agentOptions());
        GroupingWindow w;
        w.bind(c.radioGroup);
        ovtest::showActive(&w.widget);
        ASSERT_TRUE(w.binding->Refresh());
        EXPECT_EQ(w.handled, 0) << "a refresh is no user's change";
        c.change(w);
        EXPECT_EQ(w.handled, 1);
        w.binding->Apply(false, true);
        EXPECT_EQ(ovtest::setsSent(*agent), std::vector<std::vector<std::string>>{c.sent});
    }
}

TEST_F(AccessibilityTest, TextSetThroughTheEditableTextInterfaceIsCheckedAsTyping) {
    GroupingWindow w;
    w.bind(false);
    ovtest::showActive(&w.widget);
    ASSERT_TRUE(w.binding->Refresh());
    ovtest::focus(w.other);

    // Into a box that has not the focus the change is complete: it is left at
    // once, its exit check refuses 99, the device's 12 comes back and the
    // focus goes to the box, as after typing and leaving it.
    replaceText(w.limit, "99");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "(OvCommon) Please enter a number between 0 and 64!");
    EXPECT_EQ(w.limit->text(), "12");
    EXPECT_EQ(QApplication::focusWidget(), w.limit);

    // Characters the box may not hold go as typed ones do.
    ovtest::focus(w.other);
    replaceText(w.limit, "4x0");
    EXPECT_EQ(w.limit->text(), "40");
    EXPECT_EQ(dialogs.beeps(), 1);
    w.binding->Apply(false, true);
    ASSERT_EQ(ovtest::setsSent(*agent).size(), 1u);
    EXPECT_EQ(ovtest::setsSent(*agent)[0][1], E ".2.6.2.0=i:40");

    // A typing limit holds too; text set by code is never cut.
    auto* name = w.add<QLineEdit>("Ed_Name");
    auto nameBinding = std::make_unique<OvSNMPRequest2Edits>(&w.widget);
    nameBinding->request.varList = OvSNMPVarList(mib::T1, SVT_SV, 0);
    nameBinding->BindEdit(4, "%s{l4}", name);
    name->show();
    replaceText(name, "lobby-ap");
    EXPECT_EQ(name->text(), "lobb");
    ovtest::accessible(name)->setText(QAccessible::Value, "office-ap"); // the value text too
    EXPECT_EQ(name->text(), "offi");
    {
        const ov::CodeChange byCode;
        name->setText("lobby-ap");
    }
    EXPECT_EQ(name->text(), "lobby-ap");
}

TEST_F(AccessibilityTest, AnAssistiveCallReturnsBeforeTheBoxItSetsOffOpens) {
    const QString refusal = "(OvCommon) Please enter a number between 0 and 64!";
    const struct {
        const char* what;
        std::function<void(GroupingWindow&)> prepare, call;
        QString box;
    } cases[] = {
        {"text set into a box whose exit check refuses", [](GroupingWindow&) {},
         [](GroupingWindow& w) { replaceText(w.limit, "99"); }, refusal},
        {"the focus moved out of a box whose exit check refuses",
         [](GroupingWindow& w) { ovtest::retype(w.limit, "99"); },
         [](GroupingWindow& w) {
             ovtest::doAccessibleAction(w.other, QAccessibleActionInterface::setFocusAction());
         },
         refusal},
        {"a menu item whose handler shows a box",
         [](GroupingWindow& w) {
             auto* menu = w.add<QMenu>("Menu");
             QAction* item = menu->addAction("Item");
             ov::onSignal(item, &QAction::triggered, &w.widget,
                          [&w] { ov::errorBox(&w.widget, "Item chosen"); });
         },
         [](GroupingWindow& w) {
             QAccessibleInterface* item =
                 ovtest::accessible(w.widget.findChild<QMenu*>())->child(0);
             item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
         },
         "Item chosen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GroupingWindow w;
        w.bind(false);
        ovtest::showActive(&w.widget);
        ASSERT_TRUE(w.binding->Refresh());
        c.prepare(w);
        dialogs.clear();
        std::size_t boxesDuringCall = 99;
        ovtest::asAssistiveCall([&] {
            c.call(w);
            boxesDuringCall = dialogs.messages().size();
        });
        EXPECT_EQ(boxesDuringCall, 0u);
        ASSERT_TRUE(ovtest::waitFor([&] { return !dialogs.messages().empty(); }));
        EXPECT_EQ(dialogs.messages()[0].text, c.box);
    }
}

TEST_F(AccessibilityTest, AWindowsRuleSettingAControlRunsNoHandler) {
    GroupingWindow w;
    w.bind(false);
    ovtest::showActive(&w.widget);
    ASSERT_TRUE(w.binding->Refresh());
    // A handler of the window (a button's, a timer's) sets other controls.
    ov::runGuarded([&] {
        w.integrate->setChecked(true);
        w.balance->setCurrentIndex(1);
        w.balanceRadio->setItemIndex(1);
    });
    EXPECT_EQ(w.handled, 0);
    // The user's own changes run them, by mouse and keyboard as before.
    ovtest::click(w.integrate);
    EXPECT_EQ(w.handled, 1);
    ovtest::focus(w.balance);
    QTest::keyClick(w.balance, Qt::Key_Up);
    EXPECT_EQ(w.handled, 2);
}

TEST_F(AccessibilityTest, StatusTextsAreExposedAndAnnounced) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new OvStatusBar(&window);
    auto* panelBar = new OvStatusBar(&window);
    OvStatusPanel* panel = panelBar->addPanel(0);
    panel->setAccessibleName("Status"); // as a window names its panel
    auto* label = new QLabel(&window);
    label->setAccessibleName("Result");
    for (QWidget* w : std::initializer_list<QWidget*>{bar, panelBar, label})
        layout->addWidget(w);
    ovtest::showActive(&window);
    OvSNMPRequest2Edits binding(&window);
    binding.request.varList = OvSNMPVarList(mib::T1, SVT_SV, 0);

    const struct {
        const char* what;
        QObject* target;
        QObject* part; // what shows the text
        QAccessible::Text exposedAs;
        QAccessible::Event announcement;
    } cases[] = {
        {"a status bar's simple text", bar, bar->findChild<OvStatusPanel*>(), QAccessible::Name,
         QAccessible::NameChanged},
        {"a status panel a window named", panel, panel, QAccessible::Name,
         QAccessible::NameChanged},
        {"a label with a name of its own", label, label, QAccessible::Description,
         QAccessible::DescriptionChanged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        binding.SetStatusTarget(c.target);
        recorder.clear();
        binding.ShowStatus(QString("(SNMPClass) SNMP request timed out!"));
        QAccessibleInterface* part = ovtest::accessible(c.part);
        ASSERT_NE(part, nullptr);
        EXPECT_TRUE(part->text(c.exposedAs).startsWith("Get: (SNMPClass) SNMP request timed out!"))
            << part->text(c.exposedAs).toStdString();
        EXPECT_TRUE(recorder.announced(c.part, c.announcement));
    }
    EXPECT_EQ(ovtest::accessibleDescription(panel), "Status");
    EXPECT_EQ(ovtest::accessibleName(panelBar), "Status");
}

} // namespace
