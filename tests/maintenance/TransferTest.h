// The transfer windows against apsim on loopback: the module's TFTP server on
// a free port (OV_TFTP_PORT), apsim told the same (--tftp-port), and a main
// window whose device facts put the device on 127.0.0.0/8.
#pragma once

#include "OvDeviceContext.h"
#include "widgettest/OvDeviceTest.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace transfertest {

// The main window, its device on loopback (address and mask as the facts give them).
class FakeMainWindow : public ovtest::StandInMainWindow {
public:
    FakeMainWindow() {
        facts.ipAddress = QStringLiteral("127.0.0.1");
        facts.subnetMask = QStringLiteral("255.0.0.0");
    }
};

std::uint32_t crc32Of(const QByteArray& octets);
bool writeFile(const QString& path, const QByteArray& content);
QByteArray readFile(const QString& path);

class TransferTest : public ovtest::DeviceTest {
protected:
    TransferTest();
    ~TransferTest() override;
    std::vector<std::string> agentOptions() const override;
    virtual std::vector<std::string> extraOptions() const { return {}; }
    // Starts apsim again with these options besides the TFTP port.
    void restartWith(const std::vector<std::string>& options);

    QString path(const QString& name) const { return folder.filePath(name); }
    // The bindings of every SET apsim received.
    std::vector<std::vector<std::string>> sets() const { return ovtest::setsSent(*agent); }
    // The last message box: "title|text".
    QString lastMessage() const;
    // Waits until a message box with this text has been shown.
    bool waitForMessage(const QString& text, int milliseconds = 20000);

    quint16 tftpPort = 0;
    QTemporaryDir folder;
    FakeMainWindow main;
};

using ovtest::binding; // "OID=type:value" as setsSent writes a binding

inline const std::string kServer = "1.3.6.1.4.1.48213.10.37.14.3.3.1.0";
inline const std::string kRemoteFile = "1.3.6.1.4.1.48213.10.37.14.3.3.2.0";
inline const std::string kLocalFile = "1.3.6.1.4.1.48213.10.37.14.3.3.3.0";
inline const std::string kCommand = "1.3.6.1.4.1.48213.10.37.14.3.3.5.0";
inline const std::string kRestartOid = "1.3.6.1.4.1.48213.10.37.14.3.2.1.0";

} // namespace transfertest
