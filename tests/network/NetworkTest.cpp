#include "NetworkTest.h"

#include "OvAddressChecks.h"
#include "OvAddressProbe.h"
#include "TFM_Waiting.h"
#include "widgettest/OvAccessibility.h"
#include "widgettest/OvWidgetTest.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>

namespace nettest {

namespace {

bool onThisMachine(const QHostAddress& address) {
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces())
        for (const QNetworkAddressEntry& entry : i.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol &&
                address.isInSubnet(entry.ip(), entry.prefixLength()))
                return true;
    return false;
}

// The documentation networks off this machine's networks (a test machine may
// sit on one), best first; two at least.
const std::vector<std::string>& quietNetworks() {
    static const std::vector<std::string> networks = [] {
        std::vector<std::string> quiet;
        for (const char* candidate : {"198.51.100", "203.0.113", "192.0.2"})
            if (!onThisMachine(QHostAddress(QString::fromLatin1(candidate) + ".1")))
                quiet.emplace_back(candidate);
        for (const char* fallback : {"198.51.100", "203.0.113"})
            if (quiet.size() < 2 && (quiet.empty() || quiet[0] != fallback))
                quiet.emplace_back(fallback);
        return quiet;
    }();
    return networks;
}

} // namespace

std::string quietNetwork() {
    return quietNetworks()[0];
}

std::string otherQuietNetwork() {
    return quietNetworks()[1];
}

void NetworkWindowTest::retype(QLineEdit* edit, const QString& text) {
    ovtest::retype(edit, text);
}

std::optional<QString> answeringOwnAddress(std::string* why) {
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol || address.isLoopback())
            continue;
        const QString text = address.toString();
        if (!ovrules::isHostAddress(text.toStdString()))
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

QString spokenName(QWidget* control) {
    QAccessibleInterface* iface = ovtest::accessible(control);
    for (const auto& [other, relation] : iface->relations(QAccessible::Label))
        return other->text(QAccessible::Name);
    return iface->text(QAccessible::Name);
}

} // namespace nettest
