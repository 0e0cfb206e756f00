// What every window test uses: an offscreen QApplication, the scripted dialog
// service, a small time scale, and helpers that find controls by name, type,
// move the focus, click and drive a modal window from inside its event loop.
#pragma once

#include "OvDialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QWidget>

class QAction;
class QComboBox;
class QTabWidget;

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include <ostream>

// Test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace ovtest {

// The status bar's text after a request that succeeded.
inline const QString kStatusOk = QStringLiteral("(OvSNMP++) Ok!");

// Creates the process's QApplication once (offscreen unless QT_QPA_PLATFORM
// says otherwise).
void ensureApplication();

// The module's timers run this much faster in tests.
inline constexpr double kTestTimeScale = 0.01;

// The control of that objectName under root; throws when there is none.
template <typename T> T* find(QWidget* root, const QString& name) {
    T* found = root->objectName() == name ? qobject_cast<T*>(root) : nullptr;
    if (found == nullptr)
        found = root->findChild<T*>(name);
    if (found == nullptr)
        throw std::runtime_error("no control named " + name.toStdString());
    return found;
}

// Shows the window and waits until it is the active window.
void showActive(QWidget* window);

// Puts the focus on the control as a click would, so exits run.
void focus(QWidget* control);

// Types the text key by key into the box (the focus goes there first), so the
// box's change handlers and constraints run as for a person.
void typeInto(QLineEdit* edit, const QString& text);

// Types the text key by key into the control as it is (any characters).
void typeKeys(QWidget* control, const QString& text);

// Replaces the box's text as a user would: the focus there, all selected, the
// new text typed (an empty one deletes the old).
void retype(QLineEdit* edit, const QString& text);

// Presses a key on the control that has the focus (Tab, Escape ...).
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Clicks the control with the mouse at its centre (the focus moves first).
void click(QWidget* control);

// Picks the item with the keyboard, as a user does (the focus moves first).
void pickItem(QComboBox* comboBox, int index);

// Sets the text as the module's code does (a refresh): no handler of a user's
// change, no check on leaving runs.
void setByCode(QLineEdit* edit, const QString& text);

// Shows a page by clicking its tab.
void clickTab(QTabWidget* pages, int index);

// The text of the label whose buddy the control is; empty when none.
QString buddyText(QWidget* control);

// The item of a window's menus with this caption, or null.
QAction* menuItem(const QWidget* window, const QString& caption);

// The texts of a drop-down list's items, in order.
QStringList itemTexts(const QComboBox* comboBox);

// Every message box shown, each "title|text", in order.
std::vector<QString> messageLines(const OvScriptedDialogs& dialogs);

// Processes events until the condition holds or the deadline passes.
bool waitFor(const std::function<bool()>& condition, int milliseconds = 5000);

// Runs exec() on the window; once it is shown and active inside its own event
// loop, the script runs. A window still open once the script has returned and
// `deadline` milliseconds have passed is ended with done(-1), so a test never
// hangs. Returns exec()'s result.
int execWith(QDialog* window, const std::function<void(QDialog*)>& script, int deadline = 10000);

// "title|text" of every message box the service showed, in order.
std::vector<QString> shownMessages(const OvScriptedDialogs& dialogs);

// Clicks `opener`; once `dialog` shows (modally, inside the click) and is
// active, runs the script, then closes the dialog if the script left it open.
// Answers whether the script ran.
bool withDialog(QWidget* opener, QDialog* dialog, const std::function<void()>& script);

// Clicks the control; once a modal window that the click creates has opened and
// is active, runs the script in it, then closes that window if the script left
// it open. Fails the test when no modal window opened.
void withModal(QWidget* opener, const std::function<void(QWidget* modal)>& script);

// The fixture of widget tests: the application, scripted dialogs, test time scale.
class WidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override;
    void TearDown() override;
    // "title|text" of every message box shown, in order.
    std::vector<QString> messages() const;

    OvScriptedDialogs dialogs;
};

} // namespace ovtest
