// Input constraints driven through real edit boxes: typing, pasting, refreshes
// writing into a box, and the focus leaving it by Tab or a click.
#include "OvDialog.h"
#include "OvEditBox.h"
#include "OvEditConstraint.h"
#include "OvException.h"
#include "OvUserChange.h"
#include "widgettest/OvWidgetTest.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

// Two boxes and a button; the first box is constrained.
class ConstraintWindow : public OvDialog {
public:
    ConstraintWindow() {
        auto* layout = new QVBoxLayout(this);
        for (auto* e : {first, second}) {
            layout->addWidget(e);
            e->setAccessibleName(e->objectName());
        }
        layout->addWidget(button);
        first->setObjectName("Ed_First");
        second->setObjectName("Ed_Second");
        button->setObjectName("Bt_Apply");
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
    }
    QLineEdit* first = new QLineEdit(this);
    QLineEdit* second = new QLineEdit(this);
    QPushButton* button = new QPushButton("Apply", this);
    int clicks = 0;
};

class EditConstraintTest : public ovtest::WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        window = std::make_unique<ConstraintWindow>();
        constraints = std::make_unique<OvEditConstraint>(window.get(), true);
        ovtest::showActive(window.get());
    }
    void TearDown() override {
        constraints.reset();
        window.reset();
        WidgetTest::TearDown();
    }
    void constrain(const char* specifier) {
        constraints->AddSpec(specifier, window->first);
        ov::setEditHandlers(
            window->first, [this] { changes.push_back(window->first->text()); },
            [this] { ++exits; });
    }
    // What the one message box of a failed check said; empty when none.
    QString shownMessage() const {
        const auto shown = dialogs.messages();
        return shown.empty() ? QString() : shown.back().text;
    }

    std::unique_ptr<ConstraintWindow> window;
    std::unique_ptr<OvEditConstraint> constraints;
    QStringList changes;
    int exits = 0;
};

TEST_F(EditConstraintTest, TypingRemovesRejectedCharactersWithOneBeepEach) {
    const struct {
        const char* what;
        const char* specifier;
        QString typed;
        QString left;
        int beeps;
    } cases[] = {
        {"a letter in a ranged number", "%u{n1x4094}", "40a95", "4095", 1},
        {"a minus sign in an unsigned number", "%u", "-5", "5", 1},
        {"a colon in hex digits", "%h", "00:11", "0011", 1},
        {"hex digits of both cases", "%h", "aBc9", "aBc9", 0},
        {"a minus sign after the first place", "%i", "-1-2", "-12", 1},
        {"a second point", "%f", "1.2.3", "1.23", 1},
        {"a doubled delimiter", "%n.", "10..1", "10.1", 1},
        {"anything in a text", "%s", "a-b:c", "a-b:c", 0},
    };
    for (const auto& c : cases) {
        SetUp();
        constrain(c.specifier);
        ovtest::typeInto(window->first, c.typed);
        EXPECT_EQ(window->first->text(), c.left) << c.what;
        EXPECT_EQ(dialogs.beeps(), c.beeps) << c.what;
        EXPECT_TRUE(dialogs.messages().empty()) << c.what;
        TearDown();
        dialogs.clear();
    }
}

TEST_F(EditConstraintTest, TextSetByCodeIsFilteredInOnePassAndKeepsTheCursor) {
    constrain("%u");
    // A refresh writing -5 loses the minus sign the same way typing does.
    window->first->setText("-5");
    EXPECT_EQ(window->first->text(), "5");
    EXPECT_EQ(dialogs.beeps(), 1);

    // A long paste: every bad character goes in one change and one beep, and
    // the window's handler sees the clean text once.
    changes.clear();
    const QString pasted = QString(200000, QLatin1Char('x')) + "42";
    window->first->setText(pasted);
    EXPECT_EQ(window->first->text(), "42");
    EXPECT_EQ(dialogs.beeps(), 2);
    EXPECT_EQ(changes, QStringList{"42"});

    // A rejected key in the middle leaves the cursor where it was.
    window->first->setText("1234");
    window->first->setCursorPosition(2);
    ovtest::typeKeys(window->first, "x5");
    EXPECT_EQ(window->first->text(), "12534");
}

TEST_F(EditConstraintTest, MarkerTextsAreNeitherFilteredNorChecked) {
    constrain("%u{n1x4094}");
    ovtest::focus(window->first);
    for (const char* marker : {"(NULL)", "(NOTDONE)"}) {
        window->first->setText(marker);
        EXPECT_EQ(window->first->text(), marker);
        ovtest::pressKey(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), window->second) << marker;
        EXPECT_EQ(window->first->text(), marker);
        ovtest::focus(window->first);
    }
    EXPECT_EQ(dialogs.beeps(), 0);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(exits, 0); // markers stop before the window's own exit handler
}

TEST_F(EditConstraintTest, LeavingTheBoxChecksTheWholeText) {
    const QString range1 = "(OvCommon) Please enter a number between 1 and 4094!";
    const struct {
        const char* what;
        const char* specifier;
        QString text;    // set by code: typing limits would stop some of them
        QString message; // empty: passes
    } cases[] = {
        {"a number above the range", "%u{n1x4094}", "4095", range1},
        {"zero below the range", "%u{n1x4094}", "0", range1},
        {"the range's top", "%u{n1x4094}", "4094", ""},
        {"an unsigned number past 32 bits", "%u", "4294967296",
         "(OvCommon) Please enter a number between 0 and 4294967295!"},
        {"the largest unsigned number", "%u", "4294967295", ""},
        {"eight characters of at most eight", "%s{l8}", "abcdefgh", ""},
        {"nine characters of at most eight", "%s{l8}", "abcdefghi",
         "(OvCommon) Please enter a string whose length is less than 8!"},
        {"hex of any length without a limit", "%h", "0011223344556677", ""},
        {"the lower bound of a wide range", "%u{n300x9999999}", "300", ""},
        {"the upper bound of a wide range", "%u{n300x9999999}", "9999999", ""},
        {"just below a wide range", "%u{n300x9999999}", "299",
         "(OvCommon) Please enter a number between 300 and 9999999!"},
        {"an empty text where one is required", "%s{l8n}", "",
         "(OvCommon) Empty value is not allowed!"},
    };
    for (const auto& c : cases) {
        SetUp();
        constrain(c.specifier);
        ovtest::focus(window->first);
        {
            const ov::CodeChange byCode;
            window->first->setText(c.text);
        }
        exits = 0;
        ovtest::pressKey(Qt::Key_Tab);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(dialogs.messages().empty()) << c.what;
            EXPECT_EQ(window->first->text(), c.text) << c.what;
            EXPECT_EQ(QApplication::focusWidget(), window->second) << c.what;
            EXPECT_EQ(exits, c.text.isEmpty() ? 0 : 1) << c.what;
            EXPECT_EQ(constraints->FindConstraint(window->first)->lastGoodText, c.text) << c.what;
        } else {
            ASSERT_EQ(dialogs.messages().size(), 1u) << c.what;
            EXPECT_EQ(shownMessage(), c.message) << c.what;
            EXPECT_EQ(dialogs.messages()[0].title, ov::executableName()) << c.what;
            // Nothing passed before: the last good text is the empty one.
            EXPECT_EQ(window->first->text(), "") << c.what;
            EXPECT_EQ(QApplication::focusWidget(), window->first) << c.what;
            EXPECT_EQ(exits, 0) << c.what;
        }
        TearDown();
        dialogs.clear();
    }
}

TEST_F(EditConstraintTest, AFailedExitPutsBackTheLastTextThatPassed) {
    constrain("%u{n1x4094}");
    ovtest::typeInto(window->first, "4094");
    ovtest::pressKey(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window->second);

    ovtest::focus(window->first);
    window->first->selectAll();
    ovtest::typeKeys(window->first, "5000");
    ovtest::click(window->second); // the mouse takes the focus elsewhere
    EXPECT_EQ(shownMessage(), "(OvCommon) Please enter a number between 1 and 4094!");
    EXPECT_EQ(window->first->text(), "4094");
    EXPECT_EQ(QApplication::focusWidget(), window->first);

    // Text a window's code sets does not become the last good one (a refresh's
    // does: the binding tells the constraint).
    window->first->setText("77");
    window->first->setText("9999");
    ovtest::pressKey(Qt::Key_Tab);
    EXPECT_EQ(window->first->text(), "4094");
}

TEST_F(EditConstraintTest, AClickThatTookTheFocusFromAFailingBoxDoesNotAct) {
    constrain("%u{n1x4094}");
    ovtest::typeInto(window->first, "5000");
    ovtest::click(window->button);
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(window->clicks, 0);
    EXPECT_EQ(QApplication::focusWidget(), window->first);

    // Once the box holds a good text, the same click acts.
    window->first->selectAll();
    ovtest::typeKeys(window->first, "12");
    ovtest::click(window->button);
    EXPECT_EQ(window->clicks, 1);
    EXPECT_EQ(dialogs.messages().size(), 1u);
}

TEST_F(EditConstraintTest, TheJumpCharacterMovesOn) {
    constrain("%u{e.}");
    ovtest::typeInto(window->first, "192.");
    EXPECT_EQ(window->first->text(), "192");
    EXPECT_EQ(QApplication::focusWidget(), window->second);
    EXPECT_EQ(dialogs.beeps(), 0);
}

TEST_F(EditConstraintTest, AFullBoxMovesOnWithTheAFlag) {
    constrain("%h{l4fa}");
    ovtest::typeInto(window->first, "0a1");
    EXPECT_EQ(QApplication::focusWidget(), window->first);
    ovtest::typeKeys(window->first, "b");
    EXPECT_EQ(window->first->text(), "0a1b");
    EXPECT_EQ(QApplication::focusWidget(), window->second);
}

TEST_F(EditConstraintTest, AnExitHandlerThatSetsTagMinusOneRestoresTheLastGoodText) {
    constraints->AddSpec("%u", window->first);
    ov::setEditHandlers(window->first, {}, [this] { ov::setEditTag(window->first, -1); });
    ovtest::typeInto(window->first, "12");
    ovtest::pressKey(Qt::Key_Tab);
    EXPECT_EQ(window->first->text(), "");
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(EditConstraintTest, WindowHandlersRegisteredBeforeTheConstraintStillRun) {
    ov::setEditHandlers(
        window->first, [this] { changes.push_back(window->first->text()); }, [this] { ++exits; });
    constraints->AddSpec("%u", window->first);
    ovtest::typeInto(window->first, "7");
    ovtest::pressKey(Qt::Key_Tab);
    EXPECT_EQ(changes, QStringList{"7"});
    EXPECT_EQ(exits, 1);
    // An empty text calls no change handler.
    ovtest::focus(window->first);
    window->first->clear();
    EXPECT_EQ(changes, QStringList{"7"});
}

TEST_F(EditConstraintTest, FocusLeavingTheWindowIsNoExit) {
    constrain("%u{n1x4094}");
    ovtest::typeInto(window->first, "5000");
    QWidget other;
    ovtest::showActive(&other);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(window->first->text(), "5000");
}

TEST_F(EditConstraintTest, FormatsBindOneBoxPerSpecifierAndBadOnesRaiseMinusTwo) {
    constraints->AddFormat("%u{n1x9}%h{l4}", {window->first, window->second});
    EXPECT_EQ(constraints->FindConstraint(window->first)->format.letter, 'u');
    EXPECT_EQ(constraints->FindConstraint(window->second)->format.lengthLimit, 4);
    EXPECT_EQ(ov::typingLimit(window->second), 4);
    QLineEdit third(window.get());
    try {
        constraints->AddSpec("%q", &third);
        ADD_FAILURE() << "a bad specifier was accepted";
    } catch (const OvException& e) {
        EXPECT_EQ(e.code(), -2);
    }
    EXPECT_EQ(constraints->FindConstraint(&third), nullptr);
}

} // namespace
