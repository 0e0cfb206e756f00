// Windows seen through Qt's accessibility interface, as a screen reader or an
// automation tool sees and drives them: names, descriptions, actions, text
// set through the editable-text interface, and the announcements Qt sends.
#pragma once

#include <QAccessible>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QAbstractButton;
class QComboBox;
class QObject;
class QWidget;

namespace ovtest {

// The control's accessible interface; fails the test when there is none.
QAccessibleInterface* accessible(QObject* object);
QString accessibleName(QObject* object);
QString accessibleDescription(QObject* object);

// The name a screen reader gives the control: the one it was given, else the
// text of the label whose buddy it is, else its caption.
QString spokenName(QWidget* control);

// Does one of the control's accessible actions (Toggle, Press ...), as an
// assistive technology does; fails the test when the control has no such one.
void doAccessibleAction(QObject* object, const QString& action);

// Presses the button through its accessible press action, which clicks it a
// moment later, and waits until its handler has returned.
void pressAccessibly(QAbstractButton* button);

// Selects a row of the combo box's list, as an assistive technology does.
void selectAccessibly(QComboBox* comboBox, int row);

// The first visible control under `root`, in the order of the accessible tree,
// whose accessible name (its own, or its label's) is `name`; fails the test and
// answers nullptr when there is none.
QAccessibleInterface* accessibleByName(QWidget* root, const QString& name);

// Runs `call` as Qt's AT-SPI bridge runs an assistive technology's call: as a
// queued call to a D-Bus object, whose caller waits for the reply until it
// returns. Returns once it has returned (the handlers it set off may still
// wait for their turn of the event loop).
void asAssistiveCall(const std::function<void()>& call);

// Records what Qt announces to assistive technologies. Qt passes announcements
// on only while an assistive technology is attached, so the recorder attaches
// one for its life.
class AccessibilityRecorder {
public:
    AccessibilityRecorder();
    ~AccessibilityRecorder();
    AccessibilityRecorder(const AccessibilityRecorder&) = delete;
    AccessibilityRecorder& operator=(const AccessibilityRecorder&) = delete;

    // Whether an announcement of this kind about the object came since the
    // last clear().
    bool announced(const QObject* object, QAccessible::Event type) const;
    void clear() { events_.clear(); }

private:
    struct Announcement {
        QPointer<QObject> object;
        QAccessible::Event type;
    };
    static void record(QAccessibleEvent* event);

    std::vector<Announcement> events_;
    QAccessible::UpdateHandler previous_ = nullptr;
};

} // namespace ovtest
