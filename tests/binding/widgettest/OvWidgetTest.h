// What every window test uses: an offscreen QApplication, the scripted dialog
// service, a small time scale, and helpers that find controls by name, type,
// move the focus, click and drive a modal window from inside its event loop.
#pragma once

#include "OvDialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include <ostream>

// Test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace ovtest {

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

// Presses a key on the control that has the focus (Tab, Escape ...).
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Clicks the control with the mouse at its centre (the focus moves first).
void click(QWidget* control);

// Processes events until the condition holds or the deadline passes.
bool waitFor(const std::function<bool()>& condition, int milliseconds = 5000);

// Runs exec() on the window; once it is shown and active inside its own event
// loop, the script runs. A window still open once the script has returned and
// `deadline` milliseconds have passed is ended with done(-1), so a test never
// hangs. Returns exec()'s result.
int execWith(QDialog* window, const std::function<void(QDialog*)>& script, int deadline = 10000);

// Clicks `opener`; once `dialog` shows (modally, inside the click) and is
// active, runs the script, then closes the dialog if the script left it open.
// Answers whether the script ran.
bool withDialog(QWidget* opener, QDialog* dialog, const std::function<void()>& script);

// The fixture of widget tests: the application, scripted dialogs, test time scale.
class WidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override;
    void TearDown() override;

    OvScriptedDialogs dialogs;
};

} // namespace ovtest
