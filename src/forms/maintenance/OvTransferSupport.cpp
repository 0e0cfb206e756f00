#include "OvTransferSupport.h"

#include "OvDeviceContext.h"
#include "OvDialogs.h"
#include "OvGuard.h"
#include "OvNetInterface.h"
#include "OvTFTPServer.h"

#include <QCoreApplication>

namespace tfm {

std::optional<std::pair<QString, QString>> splitPath(const QString& path) {
    const qsizetype p = path.lastIndexOf(QLatin1Char('/'));
    if (p < 0)
        return std::nullopt;
    return std::make_pair(p == 0 ? QStringLiteral("/") : path.left(p), path.mid(p + 1));
}

QString chooseServerAddress(const OvDeviceContext& device, QWidget* parent) {
    const OvDeviceFacts facts = device.deviceFacts();
    const std::string address =
        ovtftp::chooseServerAddress(facts.ipAddress.toStdString(), facts.subnetMask.toStdString());
    if (address.empty())
        ov::messageBox(parent, QCoreApplication::applicationName(),
                       QString::fromLatin1(ovtftp::kNoServerAddressText));
    return QString::fromStdString(address);
}

std::unique_ptr<OvTFTPServer> startServer(QWidget* parent, int timeout, int retries) {
    auto server = std::make_unique<OvTFTPServer>();
    try {
        server->setTiming(timeout, retries);
        server->setNotify({}, nullptr);
        server->start(QString(), ovtftp::kTFTPPort);
        return server;
    } catch (...) {
        // A port that is privileged or held by another transfer window is common
        // here: the window closes and the module goes on.
        ov::messageBox(parent, QCoreApplication::applicationName(),
                       QStringLiteral("TFTP Service Init Error:") +
                           ov::errorText(std::current_exception()));
        return nullptr;
    }
}

} // namespace tfm
