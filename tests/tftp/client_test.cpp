// Real Debian clients (tftp-hpa's tftp in binary mode, atftp, curl with its
// default options, which asks for blksize and tsize) read and write whole files.
#include "TftpTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

#include <gtest/gtest.h>

using namespace tftptest;

namespace {

struct Client {
    const char* name;
    QString program;
    std::function<QStringList(quint16 port, const QString& remote, const QString& local)> get;
    std::function<QStringList(quint16 port, const QString& remote, const QString& local)> put;
    // How the client shows that the server answered "file not found".
    std::function<bool(const ProcessResult&)> reportsNotFound;
};

const Client kClients[] = {
    {"tftp_hpa", "tftp",
     [](quint16 port, const QString& remote, const QString& local) {
         return QStringList{"-m", "binary", "127.0.0.1", QString::number(port),
                            "-c", "get",    remote,      local};
     },
     [](quint16 port, const QString& remote, const QString& local) {
         return QStringList{"-m", "binary", "127.0.0.1", QString::number(port),
                            "-c", "put",    local,       remote};
     },
     // tftp-hpa exits 0 after an error packet; it prints the code.
     [](const ProcessResult& r) { return r.output.contains("Error code 1"); }},
    {"atftp", "atftp",
     [](quint16 port, const QString& remote, const QString& local) {
         return QStringList{"-g", "-r", remote, "-l", local, "127.0.0.1", QString::number(port)};
     },
     [](quint16 port, const QString& remote, const QString& local) {
         return QStringList{"-p", "-r", remote, "-l", local, "127.0.0.1", QString::number(port)};
     },
     [](const ProcessResult& r) {
         return r.exitCode != 0 && r.output.contains("error received from server");
     }},
    {"curl", "curl",
     [](quint16 port, const QString& remote, const QString& local) {
         return QStringList{"-sS", "-o", local,
                            QString("tftp://127.0.0.1:%1/%2").arg(port).arg(remote)};
     },
     [](quint16 port, const QString& remote, const QString& local) {
         return QStringList{"-sS", "-T", local,
                            QString("tftp://127.0.0.1:%1/%2").arg(port).arg(remote)};
     },
     // 68: CURLE_TFTP_NOTFOUND, the client's reading of TFTP error code 1.
     [](const ProcessResult& r) { return r.exitCode == 68; }},
};

// Names the case in test lists instead of dumping its bytes.
void PrintTo(const Client& client, std::ostream* out) {
    *out << client.name;
}

const qint64 kSizes[] = {0, 511, 512, 513, 1024, 1024 * 1024};

class RealClient : public ::testing::TestWithParam<Client> {
protected:
    void SetUp() override {
        ASSERT_TRUE(haveProgram(GetParam().program))
            << GetParam().program.toStdString() << " is missing: scripts/deps.sh installs it";
        ASSERT_TRUE(local.isValid());
    }

    ServedFolder served;
    QTemporaryDir local;
};

TEST_P(RealClient, ReadsFilesByteForByte) {
    const Client& client = GetParam();
    for (qint64 size : kSizes) {
        SCOPED_TRACE(size);
        const QString name = QString("read-%1.bin").arg(size);
        const QByteArray content = randomBytes(size, static_cast<unsigned>(size));
        ASSERT_TRUE(writeFile(served.path(name), content));
        const auto result =
            runProcess(client.program, client.get(served.port(), name, local.filePath(name)));
        ASSERT_TRUE(result.finished) << result.output.constData();
        EXPECT_EQ(result.exitCode, 0) << result.output.constData();
        EXPECT_EQ(readFile(local.filePath(name)), content);
        ASSERT_TRUE(served.waitIdle());
    }
    const auto codes = served.log.codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), ovtftp::Success), std::ssize(kSizes));
    EXPECT_TRUE(std::none_of(codes.begin(), codes.end(), [](auto code) { return code < 0; }));
}

TEST_P(RealClient, WritesFilesWholeOverOlderOnes) {
    const Client& client = GetParam();
    for (qint64 size : kSizes) {
        SCOPED_TRACE(size);
        const QString name = QString("write-%1.bin").arg(size);
        const QByteArray content = randomBytes(size, static_cast<unsigned>(size) + 100);
        ASSERT_TRUE(writeFile(local.filePath(name), content));
        ASSERT_TRUE(writeFile(served.path(name), randomBytes(2000, 5))); // an older file
        const auto result =
            runProcess(client.program, client.put(served.port(), name, local.filePath(name)));
        ASSERT_TRUE(result.finished) << result.output.constData();
        EXPECT_EQ(result.exitCode, 0) << result.output.constData();
        ASSERT_TRUE(served.waitIdle());
        EXPECT_EQ(readFile(served.path(name)), content);
    }
    const auto codes = served.log.codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), ovtftp::Success), std::ssize(kSizes));
    EXPECT_TRUE(std::none_of(codes.begin(), codes.end(), [](auto code) { return code < 0; }));
    EXPECT_EQ(served.dir.path() + "/", served.server.rootFolder());
    EXPECT_EQ(QDir(served.dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
              static_cast<int>(std::size(kSizes)))
        << "no temporary file is left";
}

TEST_P(RealClient, IsToldThatAMissingFileIsNotFound) {
    const Client& client = GetParam();
    const auto result =
        runProcess(client.program, client.get(served.port(), "missing.tfp", local.filePath("m")));
    ASSERT_TRUE(result.finished) << result.output.constData();
    EXPECT_TRUE(client.reportsNotFound(result))
        << "exit " << result.exitCode << ": " << result.output.constData();
    ASSERT_TRUE(served.waitIdle());
    EXPECT_EQ(served.log.codes(),
              (std::vector<std::int32_t>{ovtftp::FileNotFound, ovtftp::Disconnected}));
}

// A session answers its client at once and briefly waits for the next packet,
// yet other work of the thread (the windows, the LED poll) still runs often
// while a long transfer in either direction goes on.
TEST(LongTransfer, LeavesTheEventLoopTurning) {
    const Client& client = kClients[0];
    ASSERT_TRUE(haveProgram(client.program));
    ServedFolder served;
    QTemporaryDir local;
    const QByteArray content = randomBytes(12 * 1024 * 1024, 9);
    ASSERT_TRUE(writeFile(served.path("long.bin"), content));
    ASSERT_TRUE(writeFile(local.filePath("up.bin"), content));
    const QStringList runs[] = {
        client.get(served.port(), "long.bin", local.filePath("down.bin")),
        client.put(served.port(), "up.bin", local.filePath("up.bin")),
    };
    for (const QStringList& arguments : runs) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, clock.elapsed() - last);
            last = clock.elapsed();
        });
        clock.start();
        ticker.start();
        const auto result = runProcess(client.program, arguments);
        ticker.stop();
        ASSERT_TRUE(result.finished) << result.output.constData();
        ASSERT_TRUE(served.waitIdle());
        EXPECT_LT(longestGap, 250) << "ms without the thread's timers";
    }
    EXPECT_EQ(readFile(local.filePath("down.bin")), content);
    EXPECT_EQ(readFile(served.path("up.bin")), content);
}

INSTANTIATE_TEST_SUITE_P(Debian, RealClient, ::testing::ValuesIn(kClients),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
