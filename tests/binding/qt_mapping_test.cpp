// The Qt side of the module's controls: typing limits that never cut text set
// by code, one close query for every way out, errors that never cross the
// event loop, radio groups, list views and the dialog service.
#include "OvCatalog.h"
#include "OvDialog.h"
#include "OvEditBox.h"
#include "OvException.h"
#include "OvGuard.h"
#include "OvListView.h"
#include "OvRadioGroup.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "OvUserChange.h"
#include "widgettest/OvWidgetTest.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include <QFileInfo>

namespace {

class QtMappingTest : public ovtest::WidgetTest {};

TEST_F(QtMappingTest, ATypingLimitNeverCutsTextSetByCode) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(edit);
    ovtest::showActive(&window);
    ov::setTypingLimit(edit, 8);
    const QString userName = QString(40, QLatin1Char('u'));
    const QString huge = QString(40000, QLatin1Char('k')); // past QLineEdit's default limit

    const struct {
        const char* what;
        QString start;
        int cursor; // -1: the end, -2: the whole text selected
        QString typed;
        QString left;
    } cases[] = {
        {"a refresh keeps the whole long text", userName, -1, "", userName},
        {"a very long text set by code stays whole", huge, -1, "", huge},
        {"typing at the end of a long text adds nothing", userName, -1, "x", userName},
        {"typing stops at the limit", "", -1, "abcdefghij", "abcdefgh"},
        {"typing fills up to the limit", "abc", -1, "defghij", "abcdefgh"},
        {"typing in the middle counts too", "abcdefg", 3, "XYZ", "abcXdefg"},
        {"the limit counts octets", "", -1, QString::fromUtf8("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9x"),
         QString::fromUtf8("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9")},
        {"typing over a selection of the same text replaces it", "1", -2, "10", "10"},
        {"typing over a full box replaces it", "abcdefgh", -2, "aX", "aX"},
    };
    // Text the module's code sets (a refresh, a window's handler) is set under
    // ov::CodeChange.
    auto setByCode = [edit](const QString& text) {
        const ov::CodeChange byCode;
        edit->setText(text);
    };
    for (const auto& c : cases) {
        setByCode(c.start);
        if (c.cursor >= 0)
            edit->setCursorPosition(c.cursor);
        ovtest::focus(edit);
        if (c.cursor == -2)
            edit->selectAll();
        ovtest::typeKeys(edit, c.typed);
        EXPECT_EQ(edit->text(), c.left) << c.what;
    }

    // A long text can still be shortened.
    setByCode(userName);
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text().size(), 39);

    // A paste is cut to what fits.
    setByCode("abc");
    edit->end(false);
    QApplication::clipboard()->setText("123456789");
    if (QApplication::clipboard()->text() == "123456789") {
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), "abc12345");
    }

    // No limit: anything goes.
    ov::setTypingLimit(edit, 0);
    edit->clear();
    ovtest::typeKeys(edit, "abcdefghijkl");
    EXPECT_EQ(edit->text(), "abcdefghijkl");
}

// A window whose close query refuses until it is told otherwise.
class StubbornWindow : public OvDialog {
public:
    bool allow = false;
    int queries = 0;
    int closes = 0;

protected:
    bool FormCloseQuery() override {
        ++queries;
        return allow;
    }
    void FormClose() override { ++closes; }
};

TEST_F(QtMappingTest, TheCloseQueryHoldsForEveryWayOut) {
    StubbornWindow window;
    auto* layout = new QVBoxLayout(&window);
    auto* close = new QPushButton("Close", &window);
    layout->addWidget(close);
    ov::onSignal(close, &QPushButton::clicked, &window, [&] { window.close(); });

    const int result = ovtest::execWith(&window, [&](QDialog*) {
        ovtest::pressKey(Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible()) << "Escape";
        ovtest::click(close);
        EXPECT_TRUE(window.isVisible()) << "the Close button";
        window.close(); // the title bar's close sends the same close event
        EXPECT_TRUE(window.isVisible()) << "the title bar";
        EXPECT_EQ(window.queries, 3);
        EXPECT_EQ(window.closes, 0);
        window.allow = true;
        ovtest::pressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.closes, 1);
}

TEST_F(QtMappingTest, AnErrorInAHandlerIsShownAndTheModuleGoesOn) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* failing = new QPushButton("Fail", &window);
    auto* working = new QPushButton("Work", &window);
    layout->addWidget(failing);
    layout->addWidget(working);
    ovtest::showActive(&window);

    const struct {
        const char* what;
        std::function<void()> raise;
        QString shown;
    } cases[] = {
        {"the module's own error", [] { throw OvException(-518); },
         "(OvSNMP++) Bad value of the associated SNMP variable's (partial) data!"},
        {"a standard error", [] { throw std::runtime_error("disk on fire"); }, "disk on fire"},
        {"anything else", [] { throw 42; }, QString::fromStdString(ov::textOfCode(-528))},
    };
    int worked = 0;
    ov::onSignal(working, &QPushButton::clicked, &window, [&] { ++worked; });
    for (const auto& c : cases) {
        dialogs.clear();
        const auto connection = ov::onSignal(failing, &QPushButton::clicked, &window, c.raise);
        ovtest::click(failing);
        QObject::disconnect(connection);
        ASSERT_EQ(dialogs.messages().size(), 1u) << c.what;
        EXPECT_EQ(dialogs.messages()[0].title, ov::executableName()) << c.what;
        EXPECT_EQ(dialogs.messages()[0].text, c.shown) << c.what;
        EXPECT_EQ(dialogs.messages()[0].buttons, QMessageBox::Ok) << c.what;
        ovtest::click(working);
    }
    EXPECT_EQ(worked, 3);
}

TEST_F(QtMappingTest, ARadioGroupWithNothingCheckedStopsWhoeverReadsIt) {
    OvRadioGroup group("Mode");
    group.setItems({"Disable", "Enable"});
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_THROW(group.checkedItemText(), OvException);
    group.setItemIndex(1);
    EXPECT_EQ(group.checkedItemText(), "Enable");
    group.setItemIndex(-1);
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_FALSE(group.button(0)->isChecked() || group.button(1)->isChecked());
    int clicked = -1;
    QObject::connect(&group, &OvRadioGroup::clicked, [&](int index) { clicked = index; });
    group.setItemIndex(0); // code selects: no click
    EXPECT_EQ(clicked, -1);
    group.button(1)->click();
    EXPECT_EQ(clicked, 1);
}

TEST_F(QtMappingTest, AListViewReportsSelectionsOfRealRowsOnly) {
    OvListView list;
    list.addColumn("Index", 0);
    list.addColumn("Address", -1);
    EXPECT_FALSE(list.isColumnShown(0));
    EXPECT_TRUE(list.isColumnShown(1));
    list.addItem("1", {"10.0.0.1"});
    list.addItem("2", {"10.0.0.2"});
    QStringList seen;
    list.setSelectHandler([&](int row, bool selected) {
        seen << QString("%1%2").arg(row).arg(selected ? "+" : "-");
    });
    list.selectRow(1);
    list.selectRow(0);
    EXPECT_EQ(seen, QStringList({"1+", "1-", "0+"}));
    EXPECT_EQ(list.selectedRow(), 0);
    EXPECT_EQ(list.subItem(0, 0), "10.0.0.1");
    seen.clear();
    list.clearItems();
    for (const QString& s : seen)
        EXPECT_TRUE(s.endsWith('-')) << s.toStdString();
    EXPECT_EQ(list.itemCount(), 0);
    EXPECT_EQ(list.selectedRow(), -1);
}

TEST_F(QtMappingTest, AStatusBarShowsItsSimpleTextOrItsPanels) {
    OvStatusBar bar;
    bar.setSimpleText("Set Success!");
    EXPECT_EQ(bar.simpleText(), "Set Success!");
    OvStatusPanel* panel = bar.addPanel(120);
    panel->setText("<b>not rich</b>");
    EXPECT_EQ(panel->textFormat(), Qt::PlainText);
    EXPECT_EQ(bar.panel(0), panel);
    EXPECT_EQ(bar.panel(1), nullptr);
}

TEST_F(QtMappingTest, TheTimeScaleShrinksDesignedIntervals) {
    ov::setTimeScale(0.01);
    EXPECT_EQ(ov::scaledInterval(3000), 30);
    EXPECT_EQ(ov::scaledInterval(20), 1);
    ov::setTimeScale(-1); // ignored
    EXPECT_EQ(ov::timeScale(), 0.01);
    ov::setTimeScale(1);
    EXPECT_EQ(ov::scaledInterval(1200), 1200);
    ov::setTimeScale(ovtest::kTestTimeScale);
}

TEST_F(QtMappingTest, AutomaticModeAnswersEveryBoxAndPrintsIt) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("OV_DIALOGS", "auto");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.start(OV_DIALOGS_PROBE);
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0);
    const QString printed = QString::fromUtf8(child.readAllStandardError());
    EXPECT_TRUE(printed.contains("Warning: Reset the device?")) << printed.toStdString();
    const QString caption = QFileInfo(OV_DIALOGS_PROBE).fileName();
    EXPECT_TRUE(printed.contains(caption + ": (OvCommon) Empty value is not allowed!"))
        << printed.toStdString();
}

} // namespace
