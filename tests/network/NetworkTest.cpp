#include "NetworkTest.h"

#include "OvAddressChecks.h"
#include "OvAddressProbe.h"
#include "TFM_Waiting.h"
#include "widgettest/OvAccessibility.h"
#include "widgettest/OvWidgetTest.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QNetworkInterface>

namespace nettest {

WaitSpy::WaitSpy() {
    QApplication::instance()->installEventFilter(this);
}

WaitSpy::~WaitSpy() {
    QApplication::instance()->removeEventFilter(this);
}

bool WaitSpy::eventFilter(QObject* watched, QEvent* event) {
    // Runs before the window's own show handling starts its timer.
    if (event->type() == QEvent::Show)
        if (auto* waiting = qobject_cast<TFM_Waiting*>(watched))
            shown.push_back({waiting->Label2->text(), waiting->Label3->text(), waiting->countdown,
                             waiting->restartCommand, waiting->restartTick});
    return false;
}

std::optional<QString> answeringOwnAddress(std::string* why) {
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol || address.isLoopback())
            continue;
        const QString text = address.toString();
        if (!ovnet::isHostAddress(text.toStdString()))
            continue;
        const std::optional<bool> answered =
            ovnet::probeAddress(address.toIPv4Address(), std::nullopt, why);
        if (!answered) {
            *why = "no ICMP socket opens here (" + *why + ")";
            return std::nullopt;
        }
        if (*answered)
            return text;
        *why = "this machine's address " + text.toStdString() + " does not answer ICMP echo";
        return std::nullopt;
    }
    *why = "this machine has no usable address but loopback";
    return std::nullopt;
}

void pressThroughAccessibility(QAbstractButton* button) {
    bool clicked = false;
    const auto connection =
        QObject::connect(button, &QAbstractButton::clicked, [&] { clicked = true; });
    ovtest::accessible(button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    if (!ovtest::waitFor([&] { return clicked; }))
        ADD_FAILURE() << button->objectName().toStdString() << " was not clicked";
    QObject::disconnect(connection);
}

QString spokenName(QWidget* control) {
    QAccessibleInterface* iface = ovtest::accessible(control);
    for (const auto& [other, relation] : iface->relations(QAccessible::Label))
        return other->text(QAccessible::Name);
    return iface->text(QAccessible::Name);
}

} // namespace nettest
