#include "OvWidgetTest.h"

#include "OvGuard.h"
#include "OvTimeScale.h"
#include "OvUserChange.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <memory>

namespace ovtest {

void ensureApplication() {
    if (QApplication::instance() != nullptr)
        return;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "ovwidgettest";
    static char* argv[] = {name, nullptr};
    new OvApplication(argc, argv); // lives as long as the test program
}

void showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        ADD_FAILURE() << "window did not become active";
}

void focus(QWidget* control) {
    control->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
}

void typeInto(QLineEdit* edit, const QString& text) {
    if (QApplication::focusWidget() != edit)
        focus(edit);
    typeKeys(edit, text);
}

void typeKeys(QWidget* control, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(control, c.toLatin1());
        else // QTest only maps ASCII to keys; other characters go as text
            QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void retype(QLineEdit* edit, const QString& text) {
    focus(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        typeKeys(edit, text);
}

std::vector<QString> shownMessages(const OvScriptedDialogs& dialogs) {
    std::vector<QString> shown;
    for (const OvShownDialog& box : dialogs.messages())
        shown.push_back(box.title + QLatin1Char('|') + box.text);
    return shown;
}

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr)
        target = QApplication::activeWindow();
    if (target == nullptr) {
        ADD_FAILURE() << "no control to press a key on";
        return;
    }
    QTest::keyClick(target, key, modifiers);
}

void click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
}

void pickItem(QComboBox* comboBox, int index) {
    ASSERT_TRUE(index >= 0 && index < comboBox->count())
        << index << " is not an item of " << comboBox->objectName().toStdString();
    focus(comboBox);
    if (comboBox->currentIndex() < 0)
        QTest::keyClick(comboBox, Qt::Key_Home);
    while (comboBox->currentIndex() != index)
        QTest::keyClick(comboBox, index > comboBox->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
}

void setByCode(QLineEdit* edit, const QString& text) {
    const ov::CodeChange byCode;
    edit->setText(text);
}

void clickTab(QTabWidget* pages, int index) {
    QTabBar* tabs = pages->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
}

QString buddyText(QWidget* control) {
    for (const QLabel* label : control->window()->findChildren<QLabel*>())
        if (label->buddy() == control)
            return label->text();
    return {};
}

QAction* menuItem(const QWidget* window, const QString& caption) {
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>())
        for (QAction* menu : bar->actions())
            if (menu->menu() != nullptr)
                for (QAction* action : menu->menu()->actions())
                    if (action->text() == caption)
                        return action;
    return nullptr;
}

QStringList itemTexts(const QComboBox* comboBox) {
    QStringList texts;
    for (int i = 0; i < comboBox->count(); ++i)
        texts << comboBox->itemText(i);
    return texts;
}

std::vector<QString> messageLines(const OvScriptedDialogs& dialogs) {
    std::vector<QString> shown;
    for (const OvShownDialog& box : dialogs.messages())
        shown.push_back(box.title + QLatin1Char('|') + box.text);
    return shown;
}

bool waitFor(const std::function<bool()>& condition, int milliseconds) {
    return QTest::qWaitFor(condition, milliseconds);
}

void withModal(QWidget* opener, const std::function<void(QWidget* modal)>& script) {
    struct State {
        QWidget* before = QApplication::activeModalWidget();
        bool ran = false;
        bool over = false; // the click has returned without a modal window
    };
    auto state = std::make_shared<State>();
    QTimer::singleShot(0, [state, script] {
        if (state->over)
            return;
        QWidget* modal = nullptr;
        const bool opened = waitFor([&] {
            modal = QApplication::activeModalWidget();
            return modal != nullptr && modal != state->before && modal->isVisible();
        });
        if (!opened)
            return;
        QPointer<QWidget> guarded(modal);
        if (!QTest::qWaitForWindowActive(modal))
            ADD_FAILURE() << "the modal window did not become active";
        state->ran = true;
        script(modal);
        if (guarded && guarded->isVisible())
            guarded->close();
    });
    click(opener);
    state->over = true;
    if (!state->ran)
        ADD_FAILURE() << "no modal window opened from " << opener->objectName().toStdString();
}

int execWith(QDialog* window, const std::function<void(QDialog*)>& script, int deadline) {
    QPointer<QDialog> guarded(window);
    QTimer::singleShot(0, window, [guarded, script, deadline] {
        if (!guarded)
            return;
        if (!QTest::qWaitForWindowActive(guarded))
            ADD_FAILURE() << "modal window did not become active";
        if (guarded)
            script(guarded);
        if (guarded && guarded->isVisible()) {
            QTimer::singleShot(deadline, guarded, [guarded] {
                if (guarded && guarded->isVisible()) {
                    ADD_FAILURE() << "modal window still open after the script";
                    guarded->done(-1);
                }
            });
        }
    });
    return window->exec();
}

bool withDialog(QWidget* opener, QDialog* dialog, const std::function<void()>& script) {
    QPointer<QDialog> shown(dialog);
    bool ran = false;
    // Its own timer, which goes with this call: a click that opens nothing
    // leaves no script to run later.
    QTimer start;
    start.setSingleShot(true);
    QObject::connect(&start, &QTimer::timeout, [&] {
        if (!waitFor([&] { return shown && shown->isVisible(); }))
            return;
        if (!QTest::qWaitForWindowActive(shown))
            ADD_FAILURE() << "the dialog did not become active";
        ran = true;
        script();
        if (shown && shown->isVisible())
            shown->close();
    });
    start.start(0);
    click(opener);
    return ran;
}

void WidgetTest::SetUp() {
    ov::setTimeScale(kTestTimeScale);
}

std::vector<QString> WidgetTest::messages() const {
    return shownMessages(dialogs);
}

void WidgetTest::TearDown() {
    QApplication::processEvents();
}

} // namespace ovtest
