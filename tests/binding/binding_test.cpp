// The binding object against the simulated access point: what controls show
// after refreshes, what applies send (read from the agent's request log), list
// views filled from table walks, and status lines.
#include "DeviceMib.h"
#include "DeviceOptions.h"
#include "OvEditBox.h"
#include "OvException.h"
#include "OvGuard.h"
#include "OvListView.h"
#include "OvRadioGroup.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "widgettest/OvDeviceTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

#define E "1.3.6.1.4.1.48213.10.37.14"

const std::string kLoadBalance = E ".2.6.1.0";

// Grouping's load balance switch with the device's list, or with the list
// whose row 0 is "Enable".
const OvSNMPVarRow kLoadBalance01[] = {
    {E ".2.6.1", "LoadBalance", ovtype::integer, ovaccess::readwrite, &mib::optDisableEnable},
    {},
};
const OvSNMPVarRow kLoadBalance10[] = {
    {E ".2.6.1", "LoadBalance", ovtype::integer, ovaccess::readwrite, &mib::optEnableDisable},
    {},
};

// Five writable variables.
const OvSNMPVarRow kFiveWritable[] = {
    {"1.3.6.1.2.1.1.4", "System Contact", ovtype::displaystr, ovaccess::readwrite},
    {"1.3.6.1.2.1.1.5", "System Name", ovtype::displaystr, ovaccess::readwrite},
    {"1.3.6.1.2.1.1.6", "System Location", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.6.1", "LoadBalance", ovtype::integer, ovaccess::readwrite, &mib::optDisableEnable},
    {E ".2.6.2", "UserLimit(0-64)", ovtype::integer, ovaccess::readwrite},
    {},
};

// A window holding whatever the test binds.
struct Window {
    QWidget widget;
    QVBoxLayout* layout = new QVBoxLayout(&widget);
    template <typename T> T* add(const QString& name) {
        auto* control = new T(&widget);
        control->setObjectName(name);
        control->setAccessibleName(name);
        layout->addWidget(control);
        return control;
    }
};

// A synchronous binding of a list built from a table.
std::unique_ptr<OvSNMPRequest2Edits> syncBinding(QWidget* owner, const OvSNMPVarRow* table,
                                                 OvListMode mode, int keys = 0) {
    auto binding = std::make_unique<OvSNMPRequest2Edits>(owner);
    binding->request.varList = OvSNMPVarList(table, mode, keys);
    binding->mode = 0;
    return binding;
}

class BindingTest : public ovtest::DeviceTest {};

TEST_F(BindingTest, ASynchronousRefreshThatTimesOutLeavesNullOrEmptyTexts) {
    restartAgent({"--drop-percent", "100"});
    Window w;
    auto binding = syncBinding(&w.widget, mib::T1, SVT_SV);
    binding->request.timeout = 5;
    binding->request.retries = 0;
    std::vector<QLineEdit*> edits;
    for (int p = 0; p < 6; ++p) {
        edits.push_back(w.add<QLineEdit>(QString("Ed_%1").arg(p)));
        edits.back()->setText("stale");
        binding->BindEdit(p, "%s", edits.back());
    }
    auto* uptime = w.add<QLabel>("La_Uptime");
    binding->BindControl(2, uptime);

    EXPECT_FALSE(binding->Refresh());
    EXPECT_FALSE(binding->IsBusy());
    const QString shown[] = {"", "(NULL)", "(NULL)", "", "", ""};
    for (int p = 0; p < 6; ++p)
        EXPECT_EQ(edits[p]->text(), shown[p]) << mib::T1[p].name;
    EXPECT_EQ(uptime->text(), "(NULL)");
}

TEST_F(BindingTest, AValueOutsideItsOptionListAndWhatAnApplyThenSends) {
    restartAgent({"--set", "LoadBalance=7"});
    // Untouched, every kind of control gives back what the device sent.
    const struct {
        const char* what;
        std::function<QWidget*(Window&)> make;
        std::function<void(QWidget*)> expectShown;
        const char* sent; // nullptr: the apply stops before sending
    } cases[] = {
        {"an edit box shows the number",
         [](Window& w) { return w.add<QLineEdit>("Ed_LoadBalance"); },
         [](QWidget* c) { EXPECT_EQ(static_cast<QLineEdit*>(c)->text(), "7"); }, E ".2.6.1.0=i:7"},
        {"a combo box selects nothing and sends the device's number",
         [](Window& w) { return w.add<QComboBox>("CB_LoadBalance"); },
         [](QWidget* c) { EXPECT_EQ(static_cast<QComboBox*>(c)->currentIndex(), -1); },
         E ".2.6.1.0=i:7"},
        {"a radio group checks nothing and sends the device's number",
         [](Window& w) { return w.add<OvRadioGroup>("RG_LoadBalance"); },
         [](QWidget* c) { EXPECT_EQ(static_cast<OvRadioGroup*>(c)->itemIndex(), -1); },
         E ".2.6.1.0=i:7"},
        {"a check box is unchecked and sends the device's number",
         [](Window& w) { return w.add<QCheckBox>("CK_LoadBalance"); },
         [](QWidget* c) { EXPECT_FALSE(static_cast<QCheckBox*>(c)->isChecked()); },
         E ".2.6.1.0=i:7"},
    };
    for (const auto& c : cases) {
        Window w;
        auto binding = syncBinding(&w.widget, kLoadBalance01, SVT_SV);
        QWidget* control = c.make(w);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            binding->BindEdit(0, "%s", edit);
        else
            binding->BindControl(0, control);
        ASSERT_TRUE(binding->Refresh()) << c.what;
        c.expectShown(control);
        const std::size_t setsBefore = ovtest::setsSent(*agent).size();
        if (c.sent == nullptr) {
            EXPECT_THROW(binding->Apply(false, true), OvException) << c.what;
            EXPECT_EQ(ovtest::setsSent(*agent).size(), setsBefore) << c.what;
        } else {
            binding->Apply(false, true);
            ASSERT_EQ(ovtest::setsSent(*agent).size(), setsBefore + 1) << c.what;
            EXPECT_EQ(ovtest::setsSent(*agent).back(), std::vector<std::string>{c.sent}) << c.what;
            restartAgent({"--set", "LoadBalance=7"});
        }
    }
}

TEST_F(BindingTest, ARadioGroupNeverFilledStopsTheApply) {
    Window w;
    auto* radio = w.add<OvRadioGroup>("RG_LoadBalance");
    auto binding = syncBinding(&w.widget, kLoadBalance01, SVT_SV);
    binding->BindRadioGroup(0, radio);
    EXPECT_THROW(binding->Apply(false, true), OvException);
    EXPECT_TRUE(ovtest::setsSent(*agent).empty());
}

TEST_F(BindingTest, AnApplyChangesOnlyWhatTheUserChanged) {
    // The device holds values its option lists do not name; the user changes
    // only the user limit.
    restartAgent(
        {"--set", "LoadBalance=7", "--set", "UserLimit(0-64)=20", "--set", "LinkIntegrate=5"});
    Window w;
    auto* balance = w.add<QComboBox>("CB_LoadBalance");
    auto* limit = w.add<QLineEdit>("Ed_UserLimit");
    auto* integrate = w.add<QCheckBox>("CK_LinkIntegrate");
    ovtest::showActive(&w.widget);
    auto binding = syncBinding(&w.widget, mib::T23, SVT_SV);
    binding->BindComboBox(0, balance);
    binding->BindEdit(1, "%u{n0x64}", limit);
    binding->BindCheckBox(2, integrate);
    ASSERT_TRUE(binding->Refresh());
    ovtest::focus(limit);
    limit->selectAll();
    ovtest::typeKeys(limit, "12");
    binding->Apply(false, true);
    ASSERT_EQ(ovtest::setsSent(*agent).size(), 1u);
    EXPECT_EQ(ovtest::setsSent(*agent)[0],
              (std::vector<std::string>{E ".2.6.1.0=i:7", E ".2.6.2.0=i:12", E ".2.6.3.0=i:5"}));
    EXPECT_EQ(agent->stateValue(E ".2.6.1.0")->text, "7");
    EXPECT_EQ(agent->stateValue(E ".2.6.3.0")->text, "5");

    // The device refused the out-of-list values and kept everything; what the
    // user does change goes out, and a new refresh is the new base.
    ASSERT_TRUE(binding->Refresh());
    EXPECT_EQ(limit->text(), "20");
    balance->setCurrentIndex(1);
    integrate->setChecked(true);
    binding->Apply(false, true);
    ASSERT_EQ(ovtest::setsSent(*agent).size(), 2u);
    EXPECT_EQ(ovtest::setsSent(*agent)[1],
              (std::vector<std::string>{E ".2.6.1.0=i:1", E ".2.6.2.0=i:20", E ".2.6.3.0=i:1"}));
    ASSERT_TRUE(binding->Refresh());
    binding->Apply(false, true);
    EXPECT_EQ(ovtest::setsSent(*agent).back(),
              (std::vector<std::string>{E ".2.6.1.0=i:1", E ".2.6.2.0=i:20", E ".2.6.3.0=i:1"}));
}

TEST_F(BindingTest, AFailedExitCheckAfterARefreshPutsBackTheDevicesText) {
    restartAgent({"--set", "UserLimit(0-64)=12"});
    Window w;
    auto* limit = w.add<QLineEdit>("Ed_UserLimit");
    auto* other = w.add<QLineEdit>("Ed_Other");
    ovtest::showActive(&w.widget);
    auto binding = syncBinding(&w.widget, mib::T23, SVT_SV);
    binding->BindEdit(1, "%u{n0x64}", limit);
    for (int p : {0, 2})
        binding->request.varList.SetInvalid(p, true);
    ASSERT_TRUE(binding->Refresh());
    ovtest::focus(limit);
    limit->selectAll();
    ovtest::typeKeys(limit, "99");
    ovtest::click(other);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "(OvCommon) Please enter a number between 0 and 64!");
    EXPECT_EQ(limit->text(), "12");
    binding->Apply(false, true);
    EXPECT_EQ(ovtest::setsSent(*agent),
              (std::vector<std::vector<std::string>>{{E ".2.6.2.0=i:12"}}));
}

TEST_F(BindingTest, LengthLimitsCountTheOctetsThatWillBeSent) {
    // "Caf\xE9" in Latin-1: four octets, five in UTF-8.
    restartAgent({"--set", "System Name=x:436166E9"});
    Window w;
    auto* name = w.add<QLineEdit>("Ed_Name");
    auto* location = w.add<QLineEdit>("Ed_Location");
    ovtest::showActive(&w.widget);
    auto binding = syncBinding(&w.widget, mib::T1, SVT_SV);
    binding->BindEdit(4, "%s{l4n}", name);
    binding->BindEdit(5, "%s", location);
    binding->request.varList.SetInvalid(3, true);
    ASSERT_TRUE(binding->Refresh());
    EXPECT_EQ(name->text(), QString::fromLatin1("Caf\xE9"));
    ovtest::focus(name);
    ovtest::focus(location); // the focus leaves the untouched name
    location->selectAll();
    ovtest::typeKeys(location, "lab");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.messages().front().text.toStdString();
    EXPECT_EQ(name->text(), QString::fromLatin1("Caf\xE9"));
    binding->Apply(false, true);
    ASSERT_EQ(ovtest::setsSent(*agent).size(), 1u);
    EXPECT_EQ(agent->stateValue("1.3.6.1.2.1.1.5.0")->octets(), "Caf\xE9");
    EXPECT_EQ(agent->stateValue("1.3.6.1.2.1.1.6.0")->text, "lab");

    // Typed anew, the text goes out in UTF-8: its last letter takes two octets
    // and no longer fits.
    ovtest::focus(name);
    name->selectAll();
    ovtest::typeKeys(name, QString::fromLatin1("Caf\xE9"));
    EXPECT_EQ(name->text(), "Caf");
}

TEST_F(BindingTest, AShortAddressIsRefusedNeverCompletedFromTheSelectedRow) {
    const struct {
        const char* what;
        int position;
        const char* format;
        const char* typed;
    } cases[] = {
        {"a MAC address of two octets", 2, "%h", "0011"},
        {"an IP address of three numbers", 1, "%s", "10.0.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Window w;
        auto* list = w.add<OvListView>("LV_StaticPool");
        auto* edit = w.add<QLineEdit>("Ed_Value");
        auto binding = syncBinding(&w.widget, mib::T45, MVT_UMV, 1);
        binding->BindEdit(c.position, c.format, edit);
        binding->BindListView(list, true);
        ASSERT_TRUE(binding->Refresh());
        list->selectRow(0);
        edit->setText(c.typed);
        const std::size_t setsBefore = ovtest::setsSent(*agent).size();
        try {
            binding->Apply(true, true);
            ADD_FAILURE() << "applied " << c.typed;
        } catch (const OvException& e) {
            EXPECT_EQ(e.code(), -518);
            EXPECT_EQ(e.text(),
                      "(OvSNMP++) Bad value of the associated SNMP variable's (partial) data!");
        }
        EXPECT_EQ(ovtest::setsSent(*agent).size(), setsBefore);
    }
}

TEST_F(BindingTest, CheckBoxesFollowTheRowOrderOfTheirOptionList) {
    const struct {
        const char* what;
        const OvSNMPVarRow* table;
        std::vector<std::string> agentOptions;
        bool checked;
        const char* sentWhenToggled;
    } cases[] = {
        {"Enable is checked", kLoadBalance01, {"--set", "LoadBalance=1"}, true, "i:0"},
        {"Disable is unchecked", kLoadBalance01, {"--set", "LoadBalance=0"}, false, "i:1"},
        {"a missing value is unchecked", kLoadBalance01, {"--absent", "LoadBalance"}, false, "i:1"},
        {"row 0 Enable: Disable is checked",
         kLoadBalance10,
         {"--set", "LoadBalance=0"},
         true,
         "i:1"},
        {"row 0 Enable: Enable is unchecked",
         kLoadBalance10,
         {"--set", "LoadBalance=1"},
         false,
         "i:0"},
    };
    for (const auto& c : cases) {
        restartAgent(c.agentOptions);
        Window w;
        auto* check = w.add<QCheckBox>("CK_LoadBalance");
        auto binding = syncBinding(&w.widget, c.table, SVT_SV);
        binding->BindCheckBox(0, check);
        EXPECT_TRUE(binding->Refresh()) << c.what;
        EXPECT_EQ(check->isChecked(), c.checked) << c.what;
        check->setChecked(!check->isChecked());
        binding->Apply(false, true); // an absent variable refuses the set: sent all the same
        ASSERT_FALSE(ovtest::setsSent(*agent).empty()) << c.what;
        EXPECT_EQ(ovtest::setsSent(*agent).back(),
                  std::vector<std::string>{kLoadBalance + "=" + c.sentWhenToggled})
            << c.what;
    }
}

TEST_F(BindingTest, CheckBoxesReadStoredLabelsAndNumbersAlike) {
    const struct {
        const OvSNMPVarRow* table;
        const char* value;
        bool checked;
    } cases[] = {
        {kLoadBalance01, "Enable", true},   {kLoadBalance01, "1", true},
        {kLoadBalance01, "Disable", false}, {kLoadBalance01, "0", false},
        {kLoadBalance01, "(NULL)", false},  {kLoadBalance01, "7", false},
        {kLoadBalance10, "Disable", true},  {kLoadBalance10, "0", true},
        {kLoadBalance10, "Enable", false},
    };
    for (const auto& c : cases) {
        Window w;
        auto* check = w.add<QCheckBox>("CK");
        auto binding = syncBinding(&w.widget, c.table, SVT_SV);
        binding->BindCheckBox(0, check);
        check->setChecked(!c.checked);
        binding->request.varList.Item(0).value = c.value;
        binding->FillControls();
        EXPECT_EQ(check->isChecked(), c.checked)
            << c.value << (c.table == kLoadBalance10 ? " with row 0 Enable" : "");
    }
}

TEST_F(BindingTest, AnApplyWritesEveryWritableVariableAndTheUnboundOnesEmpty) {
    Window w;
    auto binding = syncBinding(&w.widget, kFiveWritable, SVT_SV);
    auto* name = w.add<QLineEdit>("Ed_Name");
    auto* limit = w.add<QLineEdit>("Ed_UserLimit");
    binding->BindEdit(1, "%s", name);
    binding->BindEdit(4, "%u{n0x64}", limit);
    ASSERT_TRUE(binding->Refresh());
    name->setText("lobby-ap");
    limit->setText("12");
    binding->Apply(false, true);
    ASSERT_EQ(ovtest::setsSent(*agent).size(), 1u);
    EXPECT_EQ(ovtest::setsSent(*agent)[0], (std::vector<std::string>{
                                               "1.3.6.1.2.1.1.4.0=s:",
                                               "1.3.6.1.2.1.1.5.0=s:lobby-ap",
                                               "1.3.6.1.2.1.1.6.0=s:",
                                               E ".2.6.1.0=i:0",
                                               E ".2.6.2.0=i:12",
                                           }));
}

TEST_F(BindingTest, ATableRefreshFillsTheListViewAndASelectionFillsTheControls) {
    const struct {
        const char* what;
        const OvSNMPVarRow* table;
        OvListMode mode;
        int rows;
        bool disabledAfterWalk;
        int selected;
        int macPosition;
        const char* macShown;
    } cases[] = {
        {"leases, whole rows (disabled until selected)", mib::T24, MVT_FMV, 3, true, 1, 1,
         "000C41240002"},
        {"static pool, used rows (stay enabled)", mib::T45, MVT_UMV, 8, false, 0, 2,
         "000C41450001"},
    };
    restartAgent({"--set", "DynamicGet=1"}); // the lease table prepared, as after the trigger
    for (const auto& c : cases) {
        Window w;
        auto* list = w.add<OvListView>("LV_Table");
        auto* mac = w.add<QLineEdit>("Ed_MAC");
        auto binding = syncBinding(&w.widget, c.table, c.mode, 1);
        int ownSelections = 0;
        list->setSelectHandler([&](int, bool selected) { ownSelections += selected ? 1 : 0; });
        binding->BindEdit(c.macPosition, "%h{l12}", mac);
        binding->BindListView(list, true);
        ASSERT_TRUE(binding->Refresh()) << c.what;
        EXPECT_EQ(list->itemCount(), c.rows) << c.what;
        EXPECT_EQ(list->caption(0), "1") << c.what; // walk order: the first index first
        EXPECT_EQ(mac->isEnabled(), !c.disabledAfterWalk) << c.what;
        list->selectRow(c.selected);
        EXPECT_TRUE(mac->isEnabled()) << c.what;
        EXPECT_EQ(mac->text(), c.macShown) << c.what;
        EXPECT_EQ(ownSelections, 1) << c.what << ": the list view's own handler still runs";
    }
}

TEST_F(BindingTest, NumberedRowsHideFreeSlots) {
    restartAgent({"--set", E ".2.7.3.1.2.1=10.0.0.5", "--set", E ".2.7.3.1.2.3=10.0.0.7"});
    Window w;
    auto* list = w.add<OvListView>("LV_StaticPool");
    auto binding = std::make_unique<New_req2Edit>(&w.widget);
    binding->request.varList = OvSNMPVarList(mib::T45, MVT_UMV, 1);
    binding->mode = 0;
    binding->stopText = "0.0.0.0";
    binding->BindListView(list, true);
    ASSERT_TRUE(binding->Refresh());
    ASSERT_EQ(list->itemCount(), 2);
    const struct { QString number, ip; } rows[] = {{"1", "10.0.0.5"}, {"2", "10.0.0.7"}};
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(list->caption(r), rows[r].number);
        EXPECT_EQ(list->subItem(r, 0), rows[r].ip);
    }
    // The row number goes on until the window sets it back.
    binding->Refresh();
    EXPECT_EQ(list->caption(0), "3");
    binding->rowNumber = 1;
    binding->Refresh();
    EXPECT_EQ(list->caption(0), "1");
}

TEST_F(BindingTest, AnAsynchronousTableWalkEndsWithOneCompletion) {
    restartAgent({"--set", "DynamicGet=1"});
    Window w;
    auto* list = w.add<OvListView>("LV_Leases");
    auto binding = std::make_unique<OvSNMPRequest2Edits>(&w.widget);
    binding->request.varList = OvSNMPVarList(mib::T24, MVT_FMV, 1);
    int completions = 0;
    std::int32_t code = -1;
    binding->OnGetDone = [&](OvSNMPRequest2Controls*, const OvSNMPError& result) {
        ++completions;
        code = result.code;
    };
    binding->BindListView(list, true);
    EXPECT_TRUE(binding->Refresh());
    EXPECT_TRUE(binding->IsBusy());
    ASSERT_TRUE(ovtest::waitFor([&] { return completions > 0; }));
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(list->itemCount(), 3);
    EXPECT_FALSE(binding->IsBusy());
}

TEST_F(BindingTest, StatusLinesFollowTheGetAndSetTemplates) {
    const QRegularExpression time(" Receive at \\d\\d:\\d\\d:\\d\\d (AM|PM)\\.$");
    Window w;
    auto* memo = w.add<QPlainTextEdit>("Memo");
    auto* bar = w.add<OvStatusBar>("StatusBar");
    OvStatusPanel* panel = bar->addPanel(200);
    auto binding = syncBinding(&w.widget, kFiveWritable, SVT_SV);
    binding->ShowStatus(QString("nowhere")); // no target: nothing happens

    binding->SetStatusTarget(memo);
    binding->Refresh();
    binding->ShowStatus(QString("Success"));
    binding->Apply(false, true);
    binding->ShowStatus(QString("(SNMP) General error!"));
    const QStringList lines = memo->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Get: Success. Receive at ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("Set: (SNMP) General error!. Receive at "))
        << lines[1].toStdString();
    for (const QString& line : lines)
        EXPECT_TRUE(time.match(line).hasMatch()) << line.toStdString();

    binding->request.varList.displayName = "System";
    binding->SetStatusTarget(bar);
    binding->ShowStatus(QString("ok"));
    EXPECT_TRUE(bar->simpleText().startsWith("Set: ok Request:System. Receive at "));
    binding->SetStatusTarget(panel);
    binding->Refresh();
    binding->ShowStatus(QString("ok"));
    EXPECT_TRUE(panel->text().startsWith("Get: ok Request:System. Receive at "));
}

TEST(StatusLine, TemplatesFillTheirPlaceholders) {
    const struct {
        const char* what;
        std::string pattern, listName;
        QString line;
    } cases[] = {
        {"the get template without a list name",
         "Get: [ERROR] Request:[VARLIST]. Receive at [TIME].", "",
         "Get: E. Receive at 01:02:03 PM."},
        {"the set template with a list name", "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].",
         "LAN", "Set: E Request:LAN. Receive at 01:02:03 PM."},
        {"a list placeholder before the error stays", "[VARLIST] [ERROR] at [TIME]", "",
         "[VARLIST] E at 01:02:03 PM"},
        {"no placeholders", "plain", "", "plain"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ov::statusLine(c.pattern, c.listName, "E", "01:02:03 PM"), c.line) << c.what;
    EXPECT_TRUE(
        QRegularExpression("^\\d\\d:\\d\\d:\\d\\d (AM|PM)$").match(ov::statusTime()).hasMatch())
        << ov::statusTime().toStdString();
}

TEST_F(BindingTest, ARefreshThatSelectsAComboBoxItemRunsNoChangeHandler) {
    restartAgent({"--set", "LoadBalance=1"});
    Window w;
    auto* combo = w.add<QComboBox>("CB_LoadBalance");
    combo->addItems({"layout item"});
    auto binding = syncBinding(&w.widget, kLoadBalance01, SVT_SV);
    binding->BindComboBox(0, combo);
    EXPECT_EQ(combo->count(), 2); // the layout's items are replaced
    EXPECT_EQ(combo->currentIndex(), -1);
    int picked = 0;
    ov::onSignal(combo, &QComboBox::activated, combo, [&] { ++picked; });
    ovtest::showActive(&w.widget);
    binding->Refresh();
    EXPECT_EQ(combo->currentText(), "Enable");
    EXPECT_EQ(picked, 0);
    ovtest::focus(combo);
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(combo->currentText(), "Disable");
    EXPECT_EQ(picked, 1);
}

TEST_F(BindingTest, ErrorsOfTheModuleItselfReachTheCallerOrTheOwner) {
    // A check box without an option list on a number variable cannot be filled.
    const OvSNMPVarRow noList[] = {
        {E ".2.6.2", "UserLimit(0-64)", ovtype::integer, ovaccess::readwrite},
        {},
    };
    Window w;
    auto* check = w.add<QCheckBox>("CK_UserLimit");
    auto binding = syncBinding(&w.widget, noList, SVT_SV);
    binding->BindCheckBox(0, check);
    try {
        binding->Refresh();
        ADD_FAILURE() << "filled a check box from a number";
    } catch (const OvException& e) {
        EXPECT_EQ(e.code(), -517);
    }
    EXPECT_FALSE(binding->IsBusy());

    // Asynchronously the owner shows it, and the window's closure hears of the
    // end of the read once, with the error, so no window waits for it for good.
    binding->mode = 1;
    std::vector<std::int32_t> ends;
    binding->OnGetDone = [&](OvSNMPRequest2Controls*, const OvSNMPError& result) {
        ends.push_back(result.code);
    };
    binding->Refresh();
    ASSERT_TRUE(ovtest::waitFor([&] { return !binding->IsBusy(); }));
    EXPECT_EQ(ends, std::vector<std::int32_t>{-517});
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, ov::executableName());
    EXPECT_EQ(dialogs.messages()[0].text.toStdString(),
              "(OvSNMP++) Bad syntax of the associated SNMP variable's (partial) data!");
}

TEST_F(BindingTest, BindingOperationsRefuseWhatTheyCannotBind) {
    const OvSNMPVarRow prefixList[] = {
        {E ".2.6.2", "UserLimit(0-64)", ovtype::integer, ovaccess::readwrite},
        {},
    };
    static const OvOptionPair prefixes[] = {{0, "ab", "A"}, {0, nullptr, nullptr}};
    static const OvOptionList prefixOptions(prefixes, OvOptionList::Prefix, false);
    Window w;
    auto binding = syncBinding(&w.widget, prefixList, SVT_SV);
    auto codeOf = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const OvException& e) {
            return e.code();
        }
        return 0;
    };
    auto* combo = w.add<QComboBox>("CB");
    auto* radio = w.add<OvRadioGroup>("RG");
    auto* group = w.add<QGroupBox>("GB");
    auto* edit = w.add<QLineEdit>("Ed");
    EXPECT_EQ(codeOf([&] { binding->BindComboBox(0, combo); }), -520);
    EXPECT_EQ(codeOf([&] { binding->BindRadioGroup(0, radio); }), -520);
    EXPECT_EQ(codeOf([&] { binding->BindEdit(5, "%s", edit); }), -12);
    EXPECT_EQ(codeOf([&] { binding->BindEdit(0, "%q", edit); }), -2);
    EXPECT_EQ(binding->bindingCount(), 0);
    binding->request.varList.Item(0).options = &prefixOptions;
    EXPECT_EQ(codeOf([&] { binding->BindComboBox(0, combo); }), -522);
    binding->BindControl(0, group);
    EXPECT_EQ(codeOf([&] { binding->FillControls(); }), -521);

    // "%s" takes away a limit the layout gave the box.
    ov::setTypingLimit(edit, 4);
    binding->BindEdit(0, "%s", edit);
    EXPECT_EQ(ov::typingLimit(edit), 0);
}

TEST_F(BindingTest, ARefreshIntoALengthLimitedBoxKeepsTheWholeText) {
    Window w;
    auto* description = w.add<QLineEdit>("Ed_Description");
    auto binding = syncBinding(&w.widget, mib::T1, SVT_SV);
    binding->BindEdit(0, "%s{l8}", description);
    ovtest::showActive(&w.widget);
    ASSERT_TRUE(binding->Refresh());
    const QString whole = "ORW-3300AP dual-band wireless access point, firmware v1.2.07";
    EXPECT_EQ(description->text(), whole);
    description->end(false);
    ovtest::typeInto(description, "x");
    EXPECT_EQ(description->text(), whole);
    description->clear();
    ovtest::typeInto(description, "abcdefghij");
    EXPECT_EQ(description->text(), "abcdefgh");
}

TEST_F(BindingTest, ATableApplyWritesTheSelectedRowAndRereadsTheTable) {
    Window w;
    auto* list = w.add<OvListView>("LV_StaticPool");
    auto* domain = w.add<QLineEdit>("Ed_Domain");
    auto binding = syncBinding(&w.widget, mib::T45, MVT_UMV, 1);
    binding->BindEdit(7, "%s", domain); // the other columns come from the selected row
    binding->BindListView(list, true);
    ASSERT_TRUE(binding->Refresh());
    list->selectRow(0);
    EXPECT_EQ(domain->text(), list->subItem(0, 6));
    const QString address = list->subItem(0, 0);
    domain->setText("office");
    const std::size_t before = agent->requests().size();
    EXPECT_TRUE(binding->Apply(true, true));
    const auto sets = ovtest::setsSent(*agent);
    ASSERT_EQ(sets.size(), 1u);
    // The selected row's values go back with the new domain, at the row's index.
    EXPECT_EQ(sets[0].size(), 8u);
    EXPECT_EQ(sets[0][0], E ".2.7.3.1.2.1=a:" + address.toStdString());
    EXPECT_EQ(sets[0][6], E ".2.7.3.1.8.1=s:office");
    const auto requests = agent->requests();
    ASSERT_GT(requests.size(), before + 1);
    EXPECT_EQ(requests[before + 1].operation, "GETNEXT"); // the reread after the set
    EXPECT_EQ(list->itemCount(), 8);
    EXPECT_EQ(list->subItem(0, 6), "office");
}

TEST_F(BindingTest, AnAsynchronousApplyEndsInOneCompletion) {
    Window w;
    auto* name = w.add<QLineEdit>("Ed_Name");
    auto binding = std::make_unique<OvSNMPRequest2Edits>(&w.widget);
    binding->request.varList = OvSNMPVarList(kFiveWritable, SVT_SV, 0);
    binding->BindEdit(1, "%s", name);
    for (int p : {0, 2, 3, 4})
        binding->request.varList.SetInvalid(p, true);
    int completions = 0;
    std::int32_t code = -1;
    binding->OnSetDone = [&](OvSNMPRequest2Controls*, const OvSNMPError& result) {
        ++completions;
        code = result.code;
    };
    name->setText("async-ap");
    EXPECT_TRUE(binding->Apply(false, true));
    EXPECT_TRUE(binding->IsBusy());
    ASSERT_TRUE(ovtest::waitFor([&] { return completions > 0; }));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(binding->IsBusy());
    EXPECT_EQ(agent->stateValue("1.3.6.1.2.1.1.5.0")->text, "async-ap");
    EXPECT_EQ(ovtest::setsSent(*agent),
              std::vector<std::vector<std::string>>{{"1.3.6.1.2.1.1.5.0=s:async-ap"}});
}

} // namespace
