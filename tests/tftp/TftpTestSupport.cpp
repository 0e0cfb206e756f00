#include "TftpTestSupport.h"

#include "OvTFTPPacket.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <filesystem>
#include <random>

namespace tftptest {

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

QByteArray randomBytes(qint64 size, unsigned seed) {
    std::mt19937 generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(generator() & 0xff);
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool makeSparseFile(const QString& path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.resize(size);
}

bool haveProgram(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

ProcessResult runProcess(const QString& program, const QStringList& arguments, int timeoutMs) {
    ProcessResult result;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    result.finished = waitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs) &&
                      process.exitStatus() == QProcess::NormalExit;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.exitCode = process.exitCode();
    result.output = process.readAll();
    return result;
}

void StatusLog::attach(OvTFTPServer& server) {
    server.setNotify(
        [](void* data, const OvTFTPMsg& msg, bool& cancel) {
            auto* log = static_cast<StatusLog*>(data);
            log->entries.push_back(msg);
            if (log->cancelAtTransferring && msg.code == ovtftp::Transferring)
                cancel = true;
        },
        this);
}

bool StatusLog::contains(std::int32_t code) const {
    for (const OvTFTPMsg& msg : entries) {
        if (msg.code == code)
            return true;
    }
    return false;
}

std::vector<std::int32_t> StatusLog::codes() const {
    std::vector<std::int32_t> codes;
    for (const OvTFTPMsg& msg : entries)
        codes.push_back(msg.code);
    return codes;
}

ServedFolder::ServedFolder(int timeout, int retries) {
    server.setTiming(timeout, retries);
    log.attach(server);
    server.start(dir.path(), 0);
}

ServedFolder::~ServedFolder() {
    server.stop();
    std::error_code ignored;
    std::filesystem::remove_all(QFile::encodeName(dir.path()).toStdString(), ignored);
}

bool ServedFolder::waitIdle(int timeoutMs) {
    return waitFor([this] { return server.sessionCount() == 0; }, timeoutMs);
}

CraftedClient::CraftedClient() {
    socket_.bind(QHostAddress::LocalHost, 0);
}

void CraftedClient::send(const QByteArray& packet, quint16 port) {
    socket_.writeDatagram(packet, QHostAddress::LocalHost, port);
}

std::optional<std::pair<QByteArray, quint16>> CraftedClient::receive(int timeoutMs) {
    if (!waitFor([this] { return socket_.hasPendingDatagrams(); }, timeoutMs))
        return std::nullopt;
    QByteArray packet(static_cast<int>(socket_.pendingDatagramSize()), Qt::Uninitialized);
    quint16 port = 0;
    socket_.readDatagram(packet.data(), packet.size(), nullptr, &port);
    return std::make_pair(packet, port);
}

bool CraftedClient::staysQuiet(int timeoutMs) {
    return !waitFor([this] { return socket_.hasPendingDatagrams(); }, timeoutMs);
}

namespace {
void appendNumber(QByteArray& packet, std::uint16_t value) {
    packet.append(static_cast<char>(value >> 8));
    packet.append(static_cast<char>(value & 0xff));
}
} // namespace

QByteArray request(std::uint16_t opcode, const QByteArray& name, const QByteArray& mode,
                   const QByteArray& options) {
    QByteArray packet;
    appendNumber(packet, opcode);
    packet += name;
    packet += '\0';
    packet += mode;
    packet += '\0';
    packet += options;
    return packet;
}

QByteArray data(std::uint16_t block, const QByteArray& content) {
    QByteArray packet;
    appendNumber(packet, ovtftp::DATA);
    appendNumber(packet, block);
    return packet + content;
}

QByteArray ack(std::uint16_t block) {
    QByteArray packet;
    appendNumber(packet, ovtftp::ACK);
    appendNumber(packet, block);
    return packet;
}

QByteArray error(std::uint16_t code, const QByteArray& message) {
    QByteArray packet;
    appendNumber(packet, ovtftp::ERROR);
    appendNumber(packet, code);
    return packet + message + '\0';
}

} // namespace tftptest
