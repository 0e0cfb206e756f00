#include "OvAccessibility.h"

#include "OvWidgetTest.h"

#include <QAbstractButton>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QDBusVirtualObject>
#include <QLabel>

#include <gtest/gtest.h>

// Qt switches its accessibility on when an assistive technology connects (over
// D-Bus on Linux); until then it drops every announcement before the update
// handler. Tests have no assistive technology, so they switch it on as Qt's own
// tests do, through the platform's accessibility object, whose class is not in
// Qt's public headers: these declarations name the exported functions.
class QPlatformAccessibility {
public:
    void setActive(bool active);
};
class QPlatformIntegration {
public:
    QPlatformAccessibility* accessibility() const;
};
class QGuiApplicationPrivate {
public:
    static QPlatformIntegration* platform_integration;
};

namespace ovtest {

namespace {

AccessibilityRecorder* current = nullptr;

void attachAssistiveTechnology(bool attached) {
    QPlatformIntegration* platform = QGuiApplicationPrivate::platform_integration;
    if (platform == nullptr || platform->accessibility() == nullptr) {
        ADD_FAILURE() << "this platform has no accessibility";
        return;
    }
    platform->accessibility()->setActive(attached);
    if (QAccessible::isActive() != attached)
        ADD_FAILURE() << "cannot switch Qt's accessibility " << (attached ? "on" : "off");
}

} // namespace

QAccessibleInterface* accessible(QObject* object) {
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(object);
    if (found == nullptr)
        ADD_FAILURE() << "no accessible interface for " << object->objectName().toStdString();
    return found;
}

QString accessibleName(QObject* object) {
    QAccessibleInterface* found = accessible(object);
    return found != nullptr ? found->text(QAccessible::Name) : QString();
}

QString accessibleDescription(QObject* object) {
    QAccessibleInterface* found = accessible(object);
    return found != nullptr ? found->text(QAccessible::Description) : QString();
}

QString spokenName(QWidget* control) {
    if (!control->accessibleName().isEmpty())
        return control->accessibleName();
    QAccessibleInterface* found = accessible(control);
    if (found == nullptr)
        return {};
    for (const auto& [other, relation] : found->relations(QAccessible::Label))
        if (qobject_cast<QLabel*>(other->object()) != nullptr)
            return other->text(QAccessible::Name);
    return found->text(QAccessible::Name);
}

void doAccessibleAction(QObject* object, const QString& action) {
    QAccessibleInterface* found = accessible(object);
    QAccessibleActionInterface* actions = found != nullptr ? found->actionInterface() : nullptr;
    if (actions == nullptr || !actions->actionNames().contains(action)) {
        ADD_FAILURE() << object->objectName().toStdString() << " has no action "
                      << action.toStdString();
        return;
    }
    actions->doAction(action);
}

namespace {
// Stands for the bridge's D-Bus object; it is never put on a bus.
class AssistiveBridgeStandIn : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage&, const QDBusConnection&) override { return false; }
};
} // namespace

void asAssistiveCall(const std::function<void()>& call) {
    AssistiveBridgeStandIn bridge;
    bool returned = false;
    QMetaObject::invokeMethod(
        &bridge,
        [&] {
            call();
            returned = true;
        },
        Qt::QueuedConnection);
    if (!waitFor([&] { return returned; }))
        ADD_FAILURE() << "the assistive call did not return";
}

void pressAccessibly(QAbstractButton* button) {
    QAccessibleInterface* found = accessible(button);
    if (found == nullptr || found->actionInterface() == nullptr) {
        ADD_FAILURE() << button->objectName().toStdString() << " cannot be pressed";
        return;
    }
    bool clicked = false;
    const auto connection =
        QObject::connect(button, &QAbstractButton::clicked, [&] { clicked = true; });
    found->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    if (!waitFor([&] { return clicked; }))
        ADD_FAILURE() << button->objectName().toStdString() << " was not clicked";
    QObject::disconnect(connection);
}

void selectAccessibly(QComboBox* comboBox, int row) {
    QAccessibleInterface* combo = accessible(comboBox);
    ASSERT_NE(combo, nullptr);
    ASSERT_GT(combo->childCount(), 0);
    QAccessibleTableInterface* list = combo->child(0)->tableInterface();
    ASSERT_NE(list, nullptr);
    list->selectRow(row);
}

namespace {

QString spokenName(QAccessibleInterface* control) {
    const QString own = control->text(QAccessible::Name);
    if (!own.isEmpty())
        return own;
    for (const auto& [label, relation] : control->relations(QAccessible::Label))
        return label->text(QAccessible::Name);
    return {};
}

QAccessibleInterface* findByName(QAccessibleInterface* node, const QString& name) {
    if (node == nullptr || node->state().invisible)
        return nullptr;
    if (node->object() != nullptr && node->object()->isWidgetType() &&
        node->role() != QAccessible::StaticText && spokenName(node) == name)
        return node;
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* found = findByName(node->child(i), name))
            return found;
    return nullptr;
}

} // namespace

QAccessibleInterface* accessibleByName(QWidget* root, const QString& name) {
    QAccessibleInterface* found = findByName(accessible(root), name);
    if (found == nullptr)
        ADD_FAILURE() << "nothing visible under " << root->objectName().toStdString()
                      << " is named " << name.toStdString();
    return found;
}

AccessibilityRecorder::AccessibilityRecorder() {
    current = this;
    previous_ = QAccessible::installUpdateHandler(&AccessibilityRecorder::record);
    attachAssistiveTechnology(true);
}

AccessibilityRecorder::~AccessibilityRecorder() {
    attachAssistiveTechnology(false);
    QAccessible::installUpdateHandler(previous_);
    current = nullptr;
}

void AccessibilityRecorder::record(QAccessibleEvent* event) {
    if (current != nullptr)
        current->events_.push_back({event->object(), event->type()});
}

bool AccessibilityRecorder::announced(const QObject* object, QAccessible::Event type) const {
    for (const Announcement& a : events_) {
        if (a.object == object && a.type == type)
            return true;
    }
    return false;
}

} // namespace ovtest
