#include "LanTest.h"

#include "OvAddressChecks.h"
#include "OvAddressProbe.h"
#include "TFM_Waiting.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QTest>

namespace lantest {

namespace {

// The documentation networks (RFC 5737), the first one off this machine's
// networks serving as the device's LAN: a test machine may sit on one.
QString silentNetwork() {
    const char* candidates[] = {"198.51.100.", "203.0.113.", "192.0.2."};
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const char* candidate : candidates) {
        const QHostAddress probe(QString::fromLatin1(candidate) + QStringLiteral("1"));
        bool local = false;
        for (const QNetworkInterface& i : interfaces)
            for (const QNetworkAddressEntry& entry : i.addressEntries())
                local = local || (entry.ip().protocol() == QAbstractSocket::IPv4Protocol &&
                                  probe.isInSubnet(entry.ip(), entry.prefixLength()));
        if (!local)
            return QString::fromLatin1(candidate);
    }
    return QString::fromLatin1(candidates[0]);
}

} // namespace

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

LanTest::LanTest() : net(silentNetwork()) {}

std::vector<std::string> LanTest::agentOptions() const {
    return lanOptions(false);
}

std::vector<std::string> LanTest::lanOptions(bool dhcp) const {
    // The pool of the design's example: 20 addresses from .100. The first
    // static pool entry is .50.
    return {"--restart-seconds",
            "0",
            "--lan",
            atText(1) + "/24",
            "--set",
            "Dynamic Range=20",
            "--set",
            std::string("hGetIPFrom=") + (dhcp ? "2" : "1")};
}

std::unique_ptr<TFM_LAN> LanTest::open() {
    auto window = std::make_unique<TFM_LAN>(main, nullptr);
    ovtest::showActive(window.get());
    if (!ovtest::waitFor([&] { return !window->Ed_PoolRan->text().isEmpty(); }))
        ADD_FAILURE() << "the dynamic pool never arrived";
    return window;
}

void LanTest::retype(QLineEdit* edit, const QString& text) {
    ovtest::focus(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    ovtest::typeKeys(edit, text);
}

void LanTest::pickMode(TFM_LAN& window, int item) {
    ovtest::focus(window.CB_IPFrom);
    const Qt::Key key = item > window.CB_IPFrom->currentIndex() ? Qt::Key_Down : Qt::Key_Up;
    while (window.CB_IPFrom->currentIndex() != item)
        QTest::keyClick(window.CB_IPFrom, key);
}

std::vector<QString> LanTest::messages() const {
    std::vector<QString> shown;
    for (const OvShownDialog& d : dialogs.messages())
        shown.push_back(d.title + QStringLiteral("|") + d.text);
    return shown;
}

int LanTest::staticPoolWalkSteps() const {
    int steps = 0;
    for (const ovtest::ApsimRequest& request : agent->requests())
        if (request.operation == "GETNEXT" && !request.oids.empty() &&
            request.oids.front().rfind(kRoot + ".2.7.3.1.", 0) == 0)
            ++steps;
    return steps;
}

std::string binding(const std::string& oid, const std::string& typedValue) {
    return oid + "=" + typedValue;
}

} // namespace lantest
