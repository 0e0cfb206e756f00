// The generic editor and the "Home \ Information" window against the simulated
// access point: rows and looks, the buttons each layout shows, and what
// "Set Checked" sends (read from the agent's request log).
#include "DeviceMib.h"
#include "HomeInformation.h"
#include "OvException.h"
#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "TConfigForm.h"
#include "TSNMPPanels.h"
#include "widgettest/OvAccessibility.h"
#include "widgettest/OvDeviceTest.h"

#include <QAccessibleEditableTextInterface>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

#define E "1.3.6.1.4.1.48213.10.37.14"

// The generic editor of a list built from rows of the device's tables.
std::unique_ptr<TConfigForm> editorOf(std::vector<OvSNMPVarRow> rows) {
    rows.push_back({});
    auto form = std::make_unique<TConfigForm>(nullptr);
    auto binding = std::make_unique<OvSNMPRequest2Edits>(form.get());
    binding->request.varList = OvSNMPVarList(rows.data(), SVT_SV, 0);
    form->SetValueWidth(form->SetEditor(std::move(binding)), 180);
    return form;
}

class ConfigFormTest : public ovtest::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        savedTimeout = OvSNMPDefaultTimeout;
    }
    void TearDown() override {
        OvSNMPDefaultTimeout = savedTimeout;
        DeviceTest::TearDown();
    }
    // Opens the window and waits until both reads of the opening have ended
    // (the busy flag alone clears when the first one does).
    void open(TConfigForm& form) {
        ovtest::showActive(&form);
        ASSERT_TRUE(ovtest::waitFor([&] { return !busy(form); }));
    }
    static bool busy(TConfigForm& form) {
        const OvSNMPRequest2Edits& binding = *form.binding(0);
        return binding.IsBusy() || binding.request.pendingCount() > 0;
    }
    template <typename T> static T* control(TConfigForm& form, const QString& name) {
        return ovtest::find<T>(&form, name);
    }
    static QPushButton* button(TConfigForm& form, const char* name) {
        return control<QPushButton>(form, name);
    }
    QStringList memoLines(TConfigForm& form) {
        return control<QPlainTextEdit>(form, "Memo_Messages")
            ->toPlainText()
            .split('\n', Qt::SkipEmptyParts);
    }
    std::int32_t savedTimeout = 0;
};

TEST_F(ConfigFormTest, TheSystemGroupShowsItsRowsWithTheirLooks) {
    auto form = CreateInformationForm(nullptr);
    EXPECT_EQ(form->windowTitle(), "Home \\ Information");
    open(*form);
    ASSERT_TRUE(ovtest::waitFor(
        [&] { return control<QLineEdit>(*form, "Ed_Value4")->text() == "ORW-3300AP"; }));
    const struct {
        const char* name;
        bool editable;
    } rows[] = {
        {"System Description", false}, {"System Object ID", false}, {"System Uptime", false},
        {"System Contact", true},      {"System Name", true},       {"System Location", true},
    };
    for (int p = 0; p < 6; ++p) {
        const QString n = QString::number(p);
        auto* edit = control<QLineEdit>(*form, "Ed_Value" + n);
        auto* check = control<QCheckBox>(*form, "CK_Row" + n);
        EXPECT_EQ(control<QLabel>(*form, "La_Name" + n)->text(), rows[p].name);
        EXPECT_EQ(edit->accessibleName(), rows[p].name);
        EXPECT_EQ(edit->isReadOnly(), !rows[p].editable) << rows[p].name;
        EXPECT_EQ(edit->focusPolicy() == Qt::NoFocus, !rows[p].editable) << rows[p].name;
        EXPECT_EQ(check->isVisible(), rows[p].editable) << rows[p].name;
        EXPECT_FALSE(check->isChecked()) << rows[p].name;
        EXPECT_EQ(edit->width(), 180) << rows[p].name;
    }
    EXPECT_EQ(control<QLineEdit>(*form, "Ed_Value1")->text(), mib::enterpriseRoot);
    for (const char* shown :
         {"Bt_Refresh", "Bt_SetChecked", "Bt_CheckAll", "Bt_ClearChecks", "Bt_Close"})
        EXPECT_TRUE(button(*form, shown)->isVisible()) << shown;
    for (const char* hidden : {"Bt_Edit", "Bt_Add", "Bt_Delete"})
        EXPECT_FALSE(button(*form, hidden)->isVisible()) << hidden;
    EXPECT_FALSE(button(*form, "Bt_SetChecked")->isEnabled());
    ovtest::click(control<QCheckBox>(*form, "CK_Row3"));
    EXPECT_TRUE(button(*form, "Bt_SetChecked")->isEnabled());
    ovtest::click(control<QCheckBox>(*form, "CK_Row3"));
    EXPECT_FALSE(button(*form, "Bt_SetChecked")->isEnabled());
    ovtest::click(button(*form, "Bt_CheckAll"));
    EXPECT_TRUE(button(*form, "Bt_SetChecked")->isEnabled());
    ovtest::click(button(*form, "Bt_ClearChecks"));
    EXPECT_FALSE(button(*form, "Bt_SetChecked")->isEnabled());
}

TEST_F(ConfigFormTest, OpeningReadsTheSystemGroupTwice) {
    auto form = CreateInformationForm(nullptr);
    open(*form);
    ASSERT_TRUE(ovtest::Apsim::waitUntil([&] {
        int gets = 0;
        for (const auto& r : agent->requests())
            gets += r.operation == "GET" && r.oids.size() == 6 ? 1 : 0;
        return gets == 2;
    }));
}

TEST_F(ConfigFormTest, TickingOnlySystemNameWritesOnlySysName) {
    auto form = CreateInformationForm(nullptr);
    open(*form);
    auto* name = control<QLineEdit>(*form, "Ed_Value4");
    ASSERT_TRUE(ovtest::waitFor([&] { return name->text() == "ORW-3300AP"; }));
    name->selectAll();
    ovtest::typeInto(name, "lobby-ap");
    ovtest::click(control<QCheckBox>(*form, "CK_Row4"));
    ovtest::click(button(*form, "Bt_SetChecked"));
    const auto sets = ovtest::setsSent(*agent);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0], std::vector<std::string>{"1.3.6.1.2.1.1.5.0=s:lobby-ap"});
    EXPECT_EQ(agent->stateValue("1.3.6.1.2.1.1.5.0")->text, "lobby-ap");
    // Nothing is marked left out afterwards, and the binding is asynchronous again.
    const OvSNMPRequest2Edits& binding = *form->binding(0);
    for (int p = 0; p < 6; ++p)
        EXPECT_FALSE(binding.request.varList.Item(p).access & ovaccess::invalid) << p;
    EXPECT_EQ(binding.mode, 1);
}

TEST_F(ConfigFormTest, AnEmptyTickedRowStopsTheWholeSet) {
    auto form = CreateInformationForm(nullptr);
    open(*form);
    auto* contact = control<QLineEdit>(*form, "Ed_Value3");
    ASSERT_TRUE(ovtest::waitFor([&] { return !contact->text().isEmpty(); }));
    contact->clear();
    ovtest::click(control<QCheckBox>(*form, "CK_Row3"));
    ovtest::click(control<QCheckBox>(*form, "CK_Row4"));
    ovtest::click(button(*form, "Bt_SetChecked"));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, "Warning");
    EXPECT_EQ(dialogs.messages()[0].text, "Some items are empty!");
    EXPECT_TRUE(ovtest::setsSent(*agent).empty());
}

TEST_F(ConfigFormTest, LayoutsFollowTheNumberOfWritableRows) {
    const OvSNMPVarRow* t1 = mib::T1;
    const struct {
        const char* what;
        std::vector<OvSNMPVarRow> rows;
        std::vector<const char*> shown, hidden;
        bool checksShown;
        QString setCaption;
    } cases[] = {
        {"one writable row: a Set button and no check boxes",
         {t1[0], t1[4]},
         {"Bt_Refresh", "Bt_SetChecked", "Bt_Close"},
         {"Bt_CheckAll", "Bt_ClearChecks", "Bt_Edit", "Bt_Add", "Bt_Delete"},
         false,
         "Set"},
        {"no writable row: Refresh and Close only",
         {t1[0], t1[1], t1[2]},
         {"Bt_Refresh", "Bt_Close"},
         {"Bt_SetChecked", "Bt_CheckAll", "Bt_ClearChecks", "Bt_Edit", "Bt_Add", "Bt_Delete"},
         false,
         "Set Checked"},
    };
    for (const auto& c : cases) {
        auto form = editorOf(c.rows);
        open(*form);
        for (const char* b : c.shown)
            EXPECT_TRUE(button(*form, b)->isVisible()) << c.what << ": " << b;
        for (const char* b : c.hidden)
            EXPECT_FALSE(button(*form, b)->isVisible()) << c.what << ": " << b;
        for (int p = 0; p < static_cast<int>(c.rows.size()); ++p)
            EXPECT_EQ(control<QCheckBox>(*form, "CK_Row" + QString::number(p))->isVisible(),
                      c.checksShown)
                << c.what;
        EXPECT_EQ(button(*form, "Bt_SetChecked")->text(), c.setCaption) << c.what;
    }

    // The Set button writes the one writable row.
    auto form = editorOf({t1[0], t1[4]});
    open(*form);
    EXPECT_TRUE(button(*form, "Bt_SetChecked")->isEnabled());
    auto* name = control<QLineEdit>(*form, "Ed_Value1");
    ASSERT_TRUE(ovtest::waitFor([&] { return name->text() == "ORW-3300AP"; }));
    name->setText("single");
    ovtest::click(button(*form, "Bt_SetChecked"));
    ASSERT_EQ(ovtest::setsSent(*agent).size(), 1u);
    EXPECT_EQ(ovtest::setsSent(*agent)[0], std::vector<std::string>{"1.3.6.1.2.1.1.5.0=s:single"});
}

TEST_F(ConfigFormTest, HomeInformationWorksThroughTheAccessibilityInterface) {
    // As a screen reader or an automation tool: tick the row, enter the name,
    // press "Set Checked".
    auto form = CreateInformationForm(nullptr);
    open(*form);
    auto* name = control<QLineEdit>(*form, "Ed_Value4");
    ASSERT_TRUE(ovtest::waitFor([&] { return name->text() == "ORW-3300AP"; }));
    auto* tick = control<QCheckBox>(*form, "CK_Row4");
    QPushButton* set = button(*form, "Bt_SetChecked");
    EXPECT_EQ(ovtest::accessibleName(tick), "Write System Name");
    EXPECT_EQ(ovtest::accessibleName(name), "System Name");
    EXPECT_EQ(ovtest::accessibleName(set), "Set Checked");
    EXPECT_FALSE(set->isEnabled());

    ovtest::doAccessibleAction(tick, "Toggle");
    EXPECT_TRUE(tick->isChecked());
    EXPECT_TRUE(set->isEnabled());
    QAccessibleEditableTextInterface* editable = ovtest::accessible(name)->editableTextInterface();
    ASSERT_NE(editable, nullptr);
    editable->replaceText(0, name->text().size(), "lobby-ap");
    ovtest::doAccessibleAction(set, "Press");
    ASSERT_TRUE(ovtest::waitFor([&] { return !ovtest::setsSent(*agent).empty(); }));
    EXPECT_EQ(ovtest::setsSent(*agent),
              std::vector<std::vector<std::string>>{{"1.3.6.1.2.1.1.5.0=s:lobby-ap"}});

    // Clearing every tick through the same interface disables the button again.
    ovtest::doAccessibleAction(tick, "Toggle");
    EXPECT_FALSE(set->isEnabled());
}

TEST_F(ConfigFormTest, ThirtyRowsScrollInAWindowOfAtMost550Pixels) {
    std::vector<OvSNMPVarRow> rows;
    for (int i = 0; i < 5; ++i)
        rows.insert(rows.end(), mib::T1, mib::T1 + 6);
    auto form = editorOf(rows);
    EXPECT_LE(form->height(), TConfigForm::kMaxHeight);
    EXPECT_LE(form->width(), TConfigForm::kMaxWidth);
    EXPECT_GT(form->editorPanel()->fittingSize().height(), TConfigForm::kMaxHeight);
}

TEST_F(ConfigFormTest, SnmpFailuresOfRefreshAndSetBecomeStatusLines) {
    restartAgent({"--rw-community", "other"});
    OvSNMPDefaultTimeout = 10; // a refused request ends in 200 ms
    auto form = CreateInformationForm(nullptr);
    open(*form);
    auto* name = control<QLineEdit>(*form, "Ed_Value4");
    ASSERT_TRUE(ovtest::waitFor([&] { return name->text() == "ORW-3300AP"; }));
    const int before = memoLines(*form).size();
    ovtest::click(control<QCheckBox>(*form, "CK_Row4"));
    ovtest::click(button(*form, "Bt_SetChecked"));
    const QStringList lines = memoLines(*form);
    ASSERT_EQ(lines.size(), before + 1);
    EXPECT_TRUE(lines.back().startsWith("Set: ")) << lines.back().toStdString();
    EXPECT_TRUE(lines.back().contains("Receive at")) << lines.back().toStdString();

    // A refresh that gets no answer says so too.
    restartAgent({"--drop-percent", "100"});
    OvSNMPDefaultTimeout = 10;
    auto silent = CreateInformationForm(nullptr);
    open(*silent);
    ASSERT_TRUE(ovtest::waitFor([&] { return memoLines(*silent).size() >= 2; }));
    for (const QString& line : memoLines(*silent))
        EXPECT_TRUE(line.startsWith("Get: ")) << line.toStdString();
}

TEST_F(ConfigFormTest, SetCheckedRestoresModeAndMarksWhenCollectingRaises) {
    auto form =
        editorOf({{E ".1.2.2", "hIPAddress", ovtype::ipaddress, ovaccess::readwrite}, mib::T1[4]});
    open(*form);
    auto* address = control<QLineEdit>(*form, "Ed_Value0");
    ASSERT_TRUE(ovtest::waitFor([&] { return address->text() == "127.1.1.1"; }));
    address->setText("192.168.0");
    ovtest::click(control<QCheckBox>(*form, "CK_Row0"));
    ovtest::click(button(*form, "Bt_SetChecked"));
    const QStringList lines = memoLines(*form);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.back().startsWith(
        "Set: (OvSNMP++) Bad value of the associated SNMP variable's (partial) data!"))
        << lines.back().toStdString();
    EXPECT_TRUE(ovtest::setsSent(*agent).empty());
    const OvSNMPRequest2Edits& binding = *form->binding(0);
    EXPECT_EQ(binding.mode, 1);
    for (int p = 0; p < 2; ++p)
        EXPECT_FALSE(binding.request.varList.Item(p).access & ovaccess::invalid) << p;
}

TEST_F(ConfigFormTest, ASecondEditorIsRefusedAndEscapeClosesOnceTheReadHasEnded) {
    restartAgent({"--delay-ms", "300"}); // the reads are still out when Escape comes
    auto form = CreateInformationForm(nullptr);
    EXPECT_THROW(form->SetEditor(std::make_unique<OvSNMPRequest2Edits>(form.get())), OvException);
    const int result =
        ovtest::execWith(form.get(), [](QDialog*) { ovtest::pressKey(Qt::Key_Escape); });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(form->binding(0)->IsBusy());
    EXPECT_EQ(form->binding(0)->request.active, 0);
}

} // namespace
