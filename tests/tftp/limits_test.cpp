// Limits of a transfer: 16-bit block numbers, a disk that refuses to grow the
// file, and files or folders the server's user may not touch.
#include "TftpTestSupport.h"

#include "OvTFTPPacket.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace tftptest;
using ovtftp::kMaxFileSize;

namespace {

QStringList argumentsFor(const char* command, quint16 port, const QString& first,
                         const QString& second) {
    return {"-m", "binary", "127.0.0.1", QString::number(port), "-c", command, first, second};
}

bool hasTemporaryFiles(const QString& folder) {
    return !QDir(folder).entryList({".ovtftp-*"}, QDir::Files | QDir::Hidden).isEmpty();
}

// Compares a file with zeros of the given size, without reading it whole.
bool isZeroFileOfSize(const QString& path, qint64 size) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != size)
        return false;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(1 << 20);
        if (chunk.count('\0') != chunk.size())
            return false;
    }
    return true;
}

class TftpLimits : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(haveProgram("tftp")) << "tftp-hpa is missing: scripts/deps.sh installs it";
        ASSERT_TRUE(local.isValid());
    }

    ProcessResult tftp(const char* command, const QString& first, const QString& second) {
        // 65535 lock-step blocks: each waits on both processes being scheduled,
        // which takes a minute when the other tests keep both cores busy.
        return runProcess("tftp", argumentsFor(command, served.port(), first, second), 240000);
    }

    ServedFolder served;
    QTemporaryDir local;
};

TEST_F(TftpLimits, TheLargestFileThatBlockNumbersAllowIsReadWhole) {
    ASSERT_TRUE(makeSparseFile(served.path("largest.bin"), kMaxFileSize));
    const auto result = tftp("get", "largest.bin", local.filePath("largest.bin"));
    ASSERT_TRUE(result.finished);
    EXPECT_FALSE(result.output.contains("Error")) << result.output.constData();
    EXPECT_TRUE(isZeroFileOfSize(local.filePath("largest.bin"), kMaxFileSize));
    ASSERT_TRUE(served.waitIdle());
    const OvTFTPMsg& last = served.log.entries.at(served.log.entries.size() - 2);
    EXPECT_EQ(last.code, ovtftp::Success);
    EXPECT_EQ(last.bytes, kMaxFileSize);
    EXPECT_EQ(last.lastBlockLength, 511);
}

TEST_F(TftpLimits, AnOctetMoreIsRefusedAtOnceWithAClearMessage) {
    ASSERT_TRUE(makeSparseFile(served.path("too-large.bin"), kMaxFileSize + 1));
    const auto result = tftp("get", "too-large.bin", local.filePath("too-large.bin"));
    ASSERT_TRUE(result.finished);
    EXPECT_TRUE(result.output.contains("Error code 0: File too large"))
        << result.output.constData();
    ASSERT_TRUE(served.waitIdle());
    EXPECT_EQ(served.log.codes(),
              (std::vector<std::int32_t>{ovtftp::UndefinedError, ovtftp::Disconnected}));
}

TEST_F(TftpLimits, TheLargestFileIsWrittenWholeAndAnOctetMoreIsRefused) {
    ASSERT_TRUE(makeSparseFile(local.filePath("largest.bin"), kMaxFileSize));
    auto result = tftp("put", local.filePath("largest.bin"), "largest.bin");
    ASSERT_TRUE(result.finished);
    EXPECT_FALSE(result.output.contains("Error")) << result.output.constData();
    ASSERT_TRUE(served.waitIdle());
    EXPECT_TRUE(isZeroFileOfSize(served.path("largest.bin"), kMaxFileSize));

    // The same name again with one octet more: block 65536 would be needed.
    const QByteArray old = randomBytes(3000, 11);
    ASSERT_TRUE(writeFile(served.path("largest.bin"), old));
    ASSERT_TRUE(makeSparseFile(local.filePath("too-large.bin"), kMaxFileSize + 1));
    served.log.entries.clear();
    result = tftp("put", local.filePath("too-large.bin"), "largest.bin");
    ASSERT_TRUE(result.finished);
    EXPECT_TRUE(result.output.contains("Error code 3")) << result.output.constData();
    ASSERT_TRUE(served.waitIdle());
    EXPECT_EQ(served.log.entries.at(served.log.entries.size() - 2).code, ovtftp::DiskFull);
    EXPECT_EQ(readFile(served.path("largest.bin")), old);
    EXPECT_FALSE(hasTemporaryFiles(served.dir.path()));
}

// Lowers the file size limit of this process (and the clients it starts) and
// ignores SIGXFSZ, so that a write past the limit fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    bool active() const { return active_; }

private:
    rlimit saved_{};
    bool active_ = false;
    void (*previous_)(int) = nullptr;
};

TEST_F(TftpLimits, AWriteThatTheDiskRefusesMidwayLeavesTheOldFileUntouched) {
    const QByteArray old = randomBytes(5000, 12);
    ASSERT_TRUE(writeFile(served.path("firmware.tfp"), old));
    ASSERT_TRUE(writeFile(local.filePath("firmware.tfp"), randomBytes(1 << 20, 13)));
    ProcessResult result;
    {
        FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        result = tftp("put", local.filePath("firmware.tfp"), "firmware.tfp");
    }
    ASSERT_TRUE(result.finished);
    EXPECT_TRUE(result.output.contains("Error code 3")) << result.output.constData();
    ASSERT_TRUE(served.waitIdle());
    const OvTFTPMsg& failed = served.log.entries.at(served.log.entries.size() - 2);
    EXPECT_EQ(failed.code, ovtftp::DiskFull);
    EXPECT_EQ(failed.bytes, 64 * 1024) << "every block up to the limit was taken";
    EXPECT_EQ(readFile(served.path("firmware.tfp")), old);
    EXPECT_FALSE(hasTemporaryFiles(served.dir.path()));
}

// Runs the server's side of a request as an unprivileged user: as root every
// permission check would pass and the test would prove nothing.
class Unprivileged {
public:
    Unprivileged() {
        if (::geteuid() == 0)
            dropped_ = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
    }
    ~Unprivileged() {
        if (dropped_) {
            ::seteuid(0);
            ::setegid(0);
        }
    }
    bool effective() const { return ::geteuid() != 0; }

private:
    bool dropped_ = false;
};

struct PermissionCase {
    const char* name;
    const char* folder;
    QByteArray packet;
    QByteArray firstReply;
    std::int32_t status;
};

TEST(TftpPermissions, FilesAndFoldersTheUserMayNotTouchAreRefused) {
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString readOnly = base.filePath("read-only");
    const QString writable = base.filePath("writable");
    ASSERT_TRUE(QDir().mkpath(readOnly) && QDir().mkpath(writable));
    ASSERT_TRUE(writeFile(readOnly + "/readable.cfg", "readable"));
    ASSERT_TRUE(writeFile(readOnly + "/secret.cfg", "secret"));
    ASSERT_TRUE(writeFile(writable + "/locked.cfg", "locked"));
    const auto rwx = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                     QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    const auto rx = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                    QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(base.path(), rwx));
    ASSERT_TRUE(QFile::setPermissions(readOnly, rx));
    ASSERT_TRUE(QFile::setPermissions(writable, rwx | QFile::WriteGroup | QFile::WriteOther));
    ASSERT_TRUE(QFile::setPermissions(readOnly + "/readable.cfg",
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(readOnly + "/secret.cfg", {}));
    ASSERT_TRUE(QFile::setPermissions(writable + "/locked.cfg",
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

    const PermissionCase cases[] = {
        {"a readable file in a read-only folder is served", "read-only",
         request(ovtftp::RRQ, "readable.cfg"), data(1, "readable"), ovtftp::Success},
        {"an unreadable file", "read-only", request(ovtftp::RRQ, "secret.cfg"), error(2),
         ovtftp::AccessViolation},
        {"a new file in a read-only folder", "read-only", request(ovtftp::WRQ, "new.cfg"), error(2),
         ovtftp::AccessViolation},
        {"a read-only file in a writable folder", "writable", request(ovtftp::WRQ, "locked.cfg"),
         error(2), ovtftp::AccessViolation},
    };
    OvTFTPServer server;
    StatusLog log;
    log.attach(server);
    server.start(readOnly, 0);
    for (const PermissionCase& c : cases) {
        SCOPED_TRACE(c.name);
        server.start(base.filePath(c.folder), 0);
        log.entries.clear();
        CraftedClient client;
        std::optional<std::pair<QByteArray, quint16>> reply;
        {
            Unprivileged user;
            ASSERT_TRUE(user.effective());
            client.send(c.packet, server.port());
            reply = client.receive();
            if (reply && c.status == ovtftp::Success)
                client.send(ack(1), reply->second);
            ASSERT_TRUE(waitFor([&] { return server.sessionCount() == 0; }, 5000));
        }
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->first, c.firstReply);
        ASSERT_GE(log.entries.size(), 2u);
        EXPECT_EQ(log.entries.at(log.entries.size() - 2).code, c.status);
    }
    EXPECT_EQ(readFile(writable + "/locked.cfg"), "locked");
    EXPECT_EQ(QDir(readOnly).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_EQ(QDir(writable).entryList(QDir::Files | QDir::Hidden).size(), 1);
    QFile::setPermissions(readOnly, rwx); // so that the folder can be removed
}

} // namespace
