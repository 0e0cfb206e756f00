// Shared pieces of the TFTP tests: a served folder, a crafted client on
// loopback, real client programs run while the server's events are processed,
// and a record of the statuses the server reported.
#pragma once

#include "OvTFTPPacket.h"
#include "OvTFTPServer.h"

#include <QByteArray>
#include <QHostAddress>
#include <QStringList>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tftptest {

// Processes events until the condition holds or the deadline passes.
bool waitFor(const std::function<bool()>& condition, int timeoutMs);

// Random octets, the same for the same size and seed.
QByteArray randomBytes(qint64 size, unsigned seed = 1);
bool writeFile(const QString& path, const QByteArray& content);
QByteArray readFile(const QString& path);
// A file of the size holding zeros only, without using disk space.
bool makeSparseFile(const QString& path, qint64 size);

// Whether a program is on the PATH.
bool haveProgram(const QString& program);

struct ProcessResult {
    bool finished = false;
    int exitCode = -1;
    QByteArray output; // stdout and stderr together
};

// Runs a program to its end while this thread's events are processed.
ProcessResult runProcess(const QString& program, const QStringList& arguments,
                         int timeoutMs = 60000);

// The statuses a server reported through its notify function.
struct StatusLog {
    std::vector<OvTFTPMsg> entries;
    // Set by the test to cancel transfers from inside the notify function.
    bool cancelAtTransferring = false;

    void attach(OvTFTPServer& server);
    bool contains(std::int32_t code) const;
    std::vector<std::int32_t> codes() const;
};

// A served folder and a server listening on a free loopback port.
struct ServedFolder {
    QTemporaryDir dir;
    OvTFTPServer server;
    StatusLog log;

    explicit ServedFolder(int timeout = 100, int retries = 3);
    // Removes what clients wrote, names that are not UTF-8 included.
    ~ServedFolder();
    ServedFolder(const ServedFolder&) = delete;
    ServedFolder& operator=(const ServedFolder&) = delete;
    QString path(const QString& name) const { return dir.filePath(name); }
    quint16 port() const { return server.port(); }
    // Waits until every session has ended and been removed.
    bool waitIdle(int timeoutMs = 10000);
};

// A client made of datagrams, on 127.0.0.1.
class CraftedClient {
public:
    CraftedClient();
    quint16 port() const { return socket_.localPort(); }
    void send(const QByteArray& packet, quint16 port);
    // The next datagram and the port it came from, or nothing within the time.
    std::optional<std::pair<QByteArray, quint16>> receive(int timeoutMs = 5000);
    // No datagram arrives within the time.
    bool staysQuiet(int timeoutMs);

private:
    QUdpSocket socket_;
};

QByteArray request(std::uint16_t opcode, const QByteArray& name, const QByteArray& mode = "octet",
                   const QByteArray& options = {});
QByteArray data(std::uint16_t block, const QByteArray& content);
QByteArray ack(std::uint16_t block);
QByteArray error(std::uint16_t code, const QByteArray& message = {});

// Opcode and number of a received packet, for messages.
using ovtftp::numberOf;
using ovtftp::opcodeOf;

} // namespace tftptest
