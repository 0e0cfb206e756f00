// What the firmware and configuration file windows share: splitting a path,
// the server address the device is told, and starting the window's server.
#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <utility>

class OvDeviceContext;
class OvTFTPServer;
class QWidget;

namespace tfm {

// A path split at its last "/": the folder ("/" for a file directly under the
// root) and the name; nothing when the path has no "/".
std::optional<std::pair<QString, QString>> splitPath(const QString& path);

// The local address on the device's subnet, or "" after showing why there is none.
QString chooseServerAddress(const OvDeviceContext& device, QWidget* parent);

// Creates the window's TFTP server on port 69 (OV_TFTP_PORT moves it) with an
// empty folder. On failure shows "TFTP Service Init Error:" and the error's
// text and answers null.
std::unique_ptr<OvTFTPServer> startServer(QWidget* parent, int timeout, int retries);

} // namespace tfm
