// Reads one file (16 MiB unless given in MiB as the first argument) with
// tftp-hpa's client from this module's TFTP server and from tftpd-hpa's
// in.tftpd serving the same file, alternately, several rounds (3 unless given
// as the second argument). Prints every run, the median times, throughputs and
// the ratio. Asserts nothing about speed.
#include "OvTFTPServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kClientTimeoutMs = 600000;

// Runs a program to its end while this thread's events (our server's) run.
bool runToEnd(const QString& program, const QStringList& arguments, QByteArray* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(kClientTimeoutMs, &loop, &QEventLoop::quit);
    process.start(program, arguments);
    loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Reads the file with the client; the seconds it took, or nothing on failure.
std::optional<double> timedRead(quint16 port, const QString& remote, const QString& local,
                                const QByteArray& expected) {
    QFile::remove(local);
    QByteArray output;
    QElapsedTimer clock;
    clock.start();
    const bool ran = runToEnd(
        "tftp", {"-m", "binary", "127.0.0.1", QString::number(port), "-c", "get", remote, local},
        &output);
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    QFile file(local);
    if (!ran || output.contains("Error") || !file.open(QIODevice::ReadOnly) ||
        file.readAll() != expected) {
        std::fprintf(stderr, "read from port %u failed: %s\n", port, output.constData());
        return std::nullopt;
    }
    return seconds;
}

quint16 freePort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress);
    return probe.localPort();
}

// Waits until a TFTP server answers on the port (an ERROR for a missing file).
bool answers(quint16 port) {
    QUdpSocket socket;
    socket.bind(QHostAddress::LocalHost, 0);
    const QByteArray probe("\0\1no-such-file\0octet\0", 21);
    for (int attempt = 0; attempt < 100; ++attempt) {
        socket.writeDatagram(probe, QHostAddress::LocalHost, port);
        if (socket.waitForReadyRead(50))
            return true;
    }
    return false;
}

struct ReferenceServer {
    QProcess process;
    quint16 port = 0;
    QString remoteName; // what the client asks for

    bool start(const QString& folder, const QString& name) {
        const QString program =
            QStandardPaths::findExecutable("in.tftpd", {"/usr/sbin", "/sbin", "/usr/bin"});
        if (program.isEmpty()) {
            std::fprintf(stderr, "in.tftpd not found: install tftpd-hpa (scripts/deps.sh)\n");
            return false;
        }
        port = freePort();
        QStringList arguments{"--foreground", "--address", QString("127.0.0.1:%1").arg(port)};
        if (::geteuid() == 0) {
            // Chrooted into the folder as the default user, like a packaged tftpd.
            arguments << "--secure" << folder;
            remoteName = name;
        } else {
            // Without root: no chroot and no user change; full names are asked for.
            arguments << "--user" << qEnvironmentVariable("USER", "nobody") << folder;
            remoteName = folder + "/" + name;
        }
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        return process.waitForStarted(5000) && answers(port);
    }

    ~ReferenceServer() {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(3000))
                process.kill();
            process.waitForFinished(3000);
        }
    }
};

QByteArray randomContent(qint64 size) {
    std::mt19937_64 generator(42);
    QByteArray content(size, Qt::Uninitialized);
    for (qint64 i = 0; i + 8 <= size; i += 8) {
        const auto word = generator();
        std::memcpy(content.data() + i, &word, 8);
    }
    return content;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 mebibytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 16;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    if (QStandardPaths::findExecutable("tftp").isEmpty()) {
        std::fprintf(stderr, "tftp not found: install tftp-hpa (scripts/deps.sh)\n");
        return 1;
    }

    QTemporaryDir served;
    QTemporaryDir local;
    // Readable by the unprivileged user in.tftpd runs as.
    QFile::setPermissions(served.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                             QFile::ExeOther);
    const QString name = "bench.bin";
    const QByteArray content = randomContent(mebibytes * 1024 * 1024);
    {
        QFile file(served.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return 1;
    }

    OvTFTPServer ours;
    ours.start(served.path(), 0);
    ReferenceServer reference;
    if (!reference.start(served.path(), name)) {
        std::fprintf(stderr, "in.tftpd did not start: %s\n",
                     reference.process.readAll().constData());
        return 1;
    }

    std::printf("TFTP read of %lld MiB with tftp-hpa's client on loopback, %d rounds\n",
                static_cast<long long>(mebibytes), rounds);
    std::vector<double> oursTimes;
    std::vector<double> referenceTimes;
    for (int round = 1; round <= rounds; ++round) {
        const auto a = timedRead(ours.port(), name, local.filePath("ours.bin"), content);
        const auto b = timedRead(reference.port, reference.remoteName,
                                 local.filePath("reference.bin"), content);
        if (!a || !b)
            return 1;
        std::printf("  round %d: ours %.3f s, in.tftpd %.3f s\n", round, *a, *b);
        oursTimes.push_back(*a);
        referenceTimes.push_back(*b);
    }
    const double oursSeconds = median(oursTimes);
    const double referenceSeconds = median(referenceTimes);
    const double mib = static_cast<double>(mebibytes);
    std::printf("ours      (OvTFTPServer): %.3f s  %.2f MiB/s\n", oursSeconds, mib / oursSeconds);
    std::printf("reference (in.tftpd)    : %.3f s  %.2f MiB/s\n", referenceSeconds,
                mib / referenceSeconds);
    std::printf("ratio in.tftpd time / ours: %.2f (above 1: ours is faster)\n",
                referenceSeconds / oursSeconds);
    return 0;
}
