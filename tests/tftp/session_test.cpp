// Sessions driven by crafted datagrams: what is refused, lock-step in both
// directions, peers, duplicates, client errors, retransmission, limits on
// sessions, cancel and stop.
#include "OvException.h"
#include "OvTFTPPacket.h"
#include "TftpTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace tftptest;
using ovtftp::ACK;
using ovtftp::DATA;
using ovtftp::ERROR;
using ovtftp::RRQ;
using ovtftp::WRQ;

namespace {

constexpr std::int32_t kNoSession = 1; // no session status expected

// The names in a folder, temporary files of the server included.
QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The last status before the session's closing 0.
std::int32_t finalStatus(const StatusLog& log) {
    for (auto it = log.entries.rbegin(); it != log.entries.rend(); ++it) {
        if (it->code != ovtftp::Disconnected)
            return it->code;
    }
    return kNoSession;
}

class TftpSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(served.dir.isValid());
        ASSERT_TRUE(served.server.isListening());
        ASSERT_TRUE(writeFile(served.path("fw.tfp"), content));
        ASSERT_TRUE(writeFile(served.path("old.cfg"), oldConfig));
    }

    // Reads the whole file in lock-step, checking each block's number.
    QByteArray readAll(CraftedClient& client, const QByteArray& name) {
        client.send(request(RRQ, name), served.port());
        QByteArray received;
        for (std::uint16_t block = 1;; ++block) {
            auto reply = client.receive();
            if (!reply)
                return "(no reply)";
            if (opcodeOf(reply->first) != DATA || numberOf(reply->first) != block)
                return "(unexpected packet)";
            received += reply->first.mid(4);
            client.send(ack(block), reply->second);
            if (reply->first.size() < 516)
                return received;
        }
    }

    ServedFolder served;
    const QByteArray content = randomBytes(1024, 7);
    const QByteArray oldConfig = randomBytes(700, 8);
};

struct RefusedCase {
    const char* name;
    QByteArray packet;
    std::uint16_t errorCode;
    std::int32_t status;
};

TEST_F(TftpSession, RefusedRequestsGetTheirErrorAndTouchNoFile) {
    // The folder served is a subfolder, so that escapes can be seen.
    const QString root = served.path("served");
    ASSERT_TRUE(QDir().mkpath(root + "/sub"));
    ASSERT_TRUE(writeFile(served.path("outside.txt"), "outside"));
    ASSERT_TRUE(writeFile(root + "/sub/inner.txt", "inner"));
    ASSERT_TRUE(writeFile(root + "/old.cfg", oldConfig));
    ASSERT_EQ(::mkfifo(QFile::encodeName(root + "/pipe").constData(), 0644), 0);
    served.server.start(root, 0);

    const RefusedCase cases[] = {
        {"mode mail", request(RRQ, "old.cfg", "mail"), 4, ovtftp::BadOperation},
        {"empty mode", request(RRQ, "old.cfg", ""), 4, ovtftp::BadOperation},
        {"write in mode mail", request(WRQ, "old.cfg", "mail"), 4, ovtftp::BadOperation},
        {"name without its terminator", QByteArray("\0\1old.cfg", 9), 4, kNoSession},
        {"mode without its terminator", QByteArray("\0\2old.cfg\0octet", 15), 4, kNoSession},
        {"empty name", request(RRQ, ""), 2, ovtftp::AccessViolation},
        {"dot", request(RRQ, "."), 2, ovtftp::AccessViolation},
        {"dot dot", request(RRQ, ".."), 2, ovtftp::AccessViolation},
        {"parent path", request(RRQ, "../outside.txt"), 2, ovtftp::AccessViolation},
        {"absolute path", request(RRQ, "/etc/passwd"), 2, ovtftp::AccessViolation},
        {"subfolder path", request(RRQ, "sub/inner.txt"), 2, ovtftp::AccessViolation},
        {"backslash path", request(RRQ, "sub\\inner.txt"), 2, ovtftp::AccessViolation},
        {"write to the parent", request(WRQ, "../evil"), 2, ovtftp::AccessViolation},
        {"write into a subfolder", request(WRQ, "sub/evil"), 2, ovtftp::AccessViolation},
        {"write with an empty name", request(WRQ, ""), 2, ovtftp::AccessViolation},
        {"write named dot dot", request(WRQ, ".."), 2, ovtftp::AccessViolation},
        {"missing file", request(RRQ, "nothing.tfp"), 1, ovtftp::FileNotFound},
        {"a folder is not a file to send", request(RRQ, "sub"), 1, ovtftp::FileNotFound},
        {"a FIFO is not read", request(RRQ, "pipe"), 1, ovtftp::FileNotFound},
        {"a FIFO is not replaced", request(WRQ, "pipe"), 2, ovtftp::AccessViolation},
        {"a folder is not replaced", request(WRQ, "sub"), 2, ovtftp::AccessViolation},
    };
    const QStringList outsideBefore = entriesOf(served.dir.path());
    const QStringList rootBefore = entriesOf(root);
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        served.log.entries.clear();
        CraftedClient client;
        client.send(c.packet, served.port());
        const auto reply = client.receive();
        ASSERT_TRUE(reply);
        EXPECT_EQ(opcodeOf(reply->first), ERROR);
        EXPECT_EQ(numberOf(reply->first), c.errorCode);
        if (c.status != kNoSession) {
            EXPECT_EQ(reply->first.size(), 5) << "an empty message";
        }
        ASSERT_TRUE(served.waitIdle());
        EXPECT_EQ(finalStatus(served.log), c.status);
        EXPECT_EQ(entriesOf(root), rootBefore);
    }
    EXPECT_EQ(entriesOf(served.dir.path()), outsideBefore);
    EXPECT_EQ(readFile(root + "/old.cfg"), oldConfig);
    EXPECT_EQ(readFile(served.path("outside.txt")), "outside");
}

TEST_F(TftpSession, NothingIsServedBeforeAFolderIsSet) {
    // The working folder holds a file that an unset folder would expose.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(served.dir.path()));
    served.server.start(QString(), 0);
    for (const QByteArray& packet : {request(RRQ, "fw.tfp"), request(WRQ, "fw.tfp")}) {
        CraftedClient client;
        client.send(packet, served.port());
        const auto reply = client.receive();
        ASSERT_TRUE(reply);
        EXPECT_EQ(opcodeOf(reply->first), ERROR);
        EXPECT_EQ(numberOf(reply->first), 2);
    }
    ASSERT_TRUE(served.waitIdle());
    QDir::setCurrent(previous);
    EXPECT_EQ(readFile(served.path("fw.tfp")), content);
    EXPECT_EQ(served.server.rootFolder(), QString());
}

struct AcceptedCase {
    const char* name;
    QByteArray packet;
    QByteArray firstReply;
};

TEST_F(TftpSession, AcceptedRequestsAreAnsweredAsPlainRfc1350) {
    const QByteArray lines("one\r\ntwo\nthree\rfour\0five", 24);
    ASSERT_TRUE(writeFile(served.path("fw..tfp"), "two dots"));
    ASSERT_TRUE(writeFile(served.path("lines.txt"), lines));
    const QByteArray options("blksize\0"
                             "1428\0tsize\0"
                             "0\0timeout\0"
                             "1\0",
                             30);
    const AcceptedCase cases[] = {
        {"a name with two dots is ordinary", request(RRQ, "fw..tfp"), data(1, "two dots")},
        {"netascii is copied octet for octet", request(RRQ, "lines.txt", "netascii"),
         data(1, lines)},
        {"modes compare without case", request(RRQ, "lines.txt", "OcTeT"), data(1, lines)},
        {"options are ignored: DATA 1 of 512 octets, no OACK",
         request(RRQ, "fw.tfp", "octet", options), data(1, content.left(512))},
        {"a write with options gets ACK 0", request(WRQ, "new.bin", "octet", options), ack(0)},
    };
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(c.name);
        CraftedClient client;
        client.send(c.packet, served.port());
        const auto reply = client.receive();
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->first, c.firstReply);
        client.send(error(0, "done"), reply->second);
        ASSERT_TRUE(served.waitIdle());
    }
}

TEST_F(TftpSession, ReadsInLockStepAndReportsEveryStatus) {
    CraftedClient client;
    client.send(request(RRQ, "fw.tfp"), served.port());
    auto reply = client.receive();
    ASSERT_TRUE(reply);
    const quint16 sessionPort = reply->second;
    EXPECT_NE(sessionPort, served.port()) << "a transfer has its own port";
    EXPECT_EQ(reply->first, data(1, content.left(512)));
    client.send(ack(1), sessionPort);
    reply = client.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->first, data(2, content.mid(512)));
    client.send(ack(2), sessionPort);
    reply = client.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->first, data(3, {})) << "a file of whole blocks ends with an empty one";
    client.send(ack(3), sessionPort);
    ASSERT_TRUE(served.waitIdle());

    using namespace ovtftp;
    EXPECT_EQ(served.log.codes(), (std::vector<std::int32_t>{Transferring, Transferring,
                                                             Transferring, Success, Disconnected}));
    const OvTFTPMsg& done = served.log.entries.at(3);
    EXPECT_EQ(done.text, "(OvTFTP) Success to transfer file.");
    EXPECT_EQ(done.operation, ReadRequest);
    EXPECT_EQ(done.fileName, "fw.tfp");
    EXPECT_EQ(done.mode, "octet");
    EXPECT_EQ(done.clientAddress, "127.0.0.1");
    EXPECT_EQ(done.clientPort, client.port());
    EXPECT_EQ(done.serverPort, served.port());
    EXPECT_EQ(done.bytes, 1024);
    EXPECT_EQ(done.lastBlockLength, 0);
    EXPECT_EQ(done.sessionNumber, 0);
    EXPECT_EQ(done.timeout, 100);
    EXPECT_EQ(done.sendCount, 1);
}

TEST_F(TftpSession, DuplicateAndStrayAcksNeverDoubleTheBlocks) {
    CraftedClient client;
    CraftedClient stray;
    client.send(request(RRQ, "fw.tfp"), served.port());
    auto reply = client.receive();
    ASSERT_TRUE(reply);
    const quint16 sessionPort = reply->second;
    client.send(ack(1), sessionPort);
    reply = client.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(numberOf(reply->first), 2);

    // A repeated ACK 1 (an older block) gets no resend of block 2.
    client.send(ack(1), sessionPort);
    EXPECT_TRUE(client.staysQuiet(200));

    // Another port is told it is unknown; the transfer goes on undisturbed.
    stray.send(ack(2), sessionPort);
    reply = stray.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->first, error(5));
    EXPECT_TRUE(client.staysQuiet(100));
    stray.send(error(0, "stray"), sessionPort);
    EXPECT_TRUE(stray.staysQuiet(100)) << "an ERROR is never answered";

    client.send(ack(2), sessionPort);
    reply = client.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->first, data(3, {}));
    client.send(ack(3), sessionPort);
    ASSERT_TRUE(served.waitIdle());
    EXPECT_EQ(finalStatus(served.log), ovtftp::Success);
}

TEST_F(TftpSession, WritesInLockStepAndAcknowledgesADuplicateAgainWithoutWritingItTwice) {
    const QByteArray upload = randomBytes(612, 9);
    CraftedClient client;
    client.send(request(WRQ, "old.cfg"), served.port());
    auto reply = client.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->first, ack(0));
    const quint16 sessionPort = reply->second;

    client.send(data(1, upload.left(512)), sessionPort);
    reply = client.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->first, ack(1));
    // Our ACK 1 was "lost": the client sends block 1 again.
    client.send(data(1, upload.left(512)), sessionPort);
    reply = client.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->first, ack(1));
    // A block from the future is ignored.
    client.send(data(5, "x"), sessionPort);
    EXPECT_TRUE(client.staysQuiet(100));
    EXPECT_EQ(readFile(served.path("old.cfg")), oldConfig) << "replaced only when complete";

    client.send(data(2, upload.mid(512)), sessionPort);
    reply = client.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->first, ack(2));
    ASSERT_TRUE(served.waitIdle());
    EXPECT_EQ(finalStatus(served.log), ovtftp::Success);
    EXPECT_EQ(readFile(served.path("old.cfg")), upload);
    EXPECT_EQ(entriesOf(served.dir.path()), (QStringList{"fw.tfp", "old.cfg"}));
}

TEST_F(TftpSession, AShortFirstBlockCompletesAWrite) {
    CraftedClient client;
    client.send(request(WRQ, "small.bin"), served.port());
    auto reply = client.receive();
    ASSERT_TRUE(reply);
    client.send(data(1, randomBytes(100, 3)), reply->second);
    reply = client.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->first, ack(1));
    ASSERT_TRUE(served.waitIdle());
    EXPECT_EQ(finalStatus(served.log), ovtftp::Success);
    EXPECT_EQ(readFile(served.path("small.bin")), randomBytes(100, 3));
}

struct BrokenWriteCase {
    const char* name;
    std::function<void(CraftedClient&, quint16 sessionPort)> action;
    QByteArray clientHears; // empty: nothing
    std::int32_t status;
    bool cancel;
};

TEST_F(TftpSession, AWriteThatEndsEarlyNeverDestroysTheOldFile) {
    const BrokenWriteCase cases[] = {
        {"the client sends an ERROR",
         [](CraftedClient& c, quint16 port) { c.send(error(3, "disk full"), port); },
         {},
         ovtftp::DiskFull,
         false},
        {"a DATA packet over 512 octets",
         [](CraftedClient& c, quint16 port) { c.send(data(2, randomBytes(513)), port); }, error(4),
         ovtftp::BadPacket, false},
        {"the client falls silent", [](CraftedClient&, quint16) {}, {}, ovtftp::Timeout, false},
        {"the transfer is cancelled",
         [](CraftedClient& c, quint16 port) { c.send(data(2, randomBytes(512)), port); },
         error(0, "Transfer canceled"), ovtftp::Canceled, true},
    };
    served.server.setTiming(5, 3);
    for (const BrokenWriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        served.log.entries.clear();
        served.log.cancelAtTransferring = false;
        CraftedClient client;
        client.send(request(WRQ, "old.cfg"), served.port());
        auto reply = client.receive();
        ASSERT_TRUE(reply);
        // The notify function raises the flag when block 1 has been taken.
        served.log.cancelAtTransferring = c.cancel;
        client.send(data(1, randomBytes(512)), reply->second);
        ASSERT_EQ(client.receive()->first, ack(1));
        c.action(client, reply->second);
        if (!c.clientHears.isEmpty()) {
            const auto heard = client.receive();
            ASSERT_TRUE(heard);
            EXPECT_EQ(heard->first, c.clientHears);
        }
        ASSERT_TRUE(served.waitIdle());
        EXPECT_EQ(finalStatus(served.log), c.status);
        EXPECT_EQ(readFile(served.path("old.cfg")), oldConfig);
        EXPECT_EQ(entriesOf(served.dir.path()), (QStringList{"fw.tfp", "old.cfg"}));
    }
}

TEST_F(TftpSession, AnErrorFromTheClientEndsAReadAtOnce) {
    CraftedClient client;
    client.send(request(RRQ, "fw.tfp"), served.port());
    auto reply = client.receive();
    ASSERT_TRUE(reply);
    client.send(error(0, "stop"), reply->second);
    ASSERT_TRUE(waitFor([&] { return served.log.contains(ovtftp::UndefinedError); }, 5000));
    client.send(ack(1), reply->second);
    EXPECT_TRUE(client.staysQuiet(100));
    ASSERT_TRUE(served.waitIdle());
}

TEST_F(TftpSession, ALostAckMakesTheBlockGoOutAgainUntilTheRetriesAreSpent) {
    served.server.setTiming(5, 3); // 50 ms, three sends in all
    CraftedClient client;
    client.send(request(RRQ, "fw.tfp"), served.port());
    ASSERT_TRUE(waitFor([&] { return served.log.contains(ovtftp::Timeout); }, 5000));
    int sends = 0;
    while (auto reply = client.receive(100)) {
        EXPECT_EQ(reply->first, data(1, content.left(512)));
        ++sends;
    }
    EXPECT_EQ(sends, 3);
    ASSERT_TRUE(served.waitIdle());
    EXPECT_EQ(finalStatus(served.log), ovtftp::Timeout);
    EXPECT_EQ(served.log.entries.at(served.log.entries.size() - 2).sendCount, 3);
}

TEST_F(TftpSession, ARepeatedRequestIsAnsweredByTheRunningSession) {
    CraftedClient client;
    client.send(request(RRQ, "fw.tfp"), served.port());
    const auto first = client.receive();
    ASSERT_TRUE(first);
    // The same request again, with options this time: still a repetition.
    client.send(request(RRQ, "fw.tfp", "octet",
                        QByteArray("tsize\0"
                                   "0\0",
                                   8)),
                served.port());
    EXPECT_TRUE(client.staysQuiet(100));
    EXPECT_EQ(served.server.sessionCount(), 1);
    // The same file from another port is another transfer.
    CraftedClient other;
    other.send(request(RRQ, "fw.tfp"), served.port());
    const auto reply = other.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(served.server.sessionCount(), 2);
    other.send(error(0), reply->second);
    client.send(error(0), first->second);
    ASSERT_TRUE(served.waitIdle());
}

TEST_F(TftpSession, SixteenSessionsRunAtOnceAndTheSeventeenthIsTurnedAway) {
    std::vector<std::unique_ptr<CraftedClient>> clients;
    std::vector<quint16> sessionPorts;
    for (int i = 0; i < OvTFTPServer::kMaxSessions; ++i) {
        clients.push_back(std::make_unique<CraftedClient>());
        clients.back()->send(request(RRQ, "fw.tfp"), served.port());
        const auto reply = clients.back()->receive();
        ASSERT_TRUE(reply);
        sessionPorts.push_back(reply->second);
    }
    CraftedClient late;
    late.send(request(RRQ, "fw.tfp"), served.port());
    const auto refused = late.receive();
    ASSERT_TRUE(refused);
    EXPECT_EQ(opcodeOf(refused->first), ERROR);
    EXPECT_EQ(numberOf(refused->first), 0);
    EXPECT_TRUE(refused->first.contains("busy")) << refused->first.constData();

    // A session that ends makes room.
    clients.front()->send(error(0), sessionPorts.front());
    ASSERT_TRUE(waitFor([&] { return served.server.sessionCount() < 16; }, 5000));
    late.send(request(RRQ, "fw.tfp"), served.port());
    const auto accepted = late.receive();
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->first, data(1, content.left(512)));

    late.send(error(0), accepted->second);
    for (std::size_t i = 1; i < clients.size(); ++i)
        clients[i]->send(error(0), sessionPorts[i]);
    ASSERT_TRUE(served.waitIdle());
}

TEST_F(TftpSession, StopReturnsAsSoonAsTheLastSessionHasEnded) {
    served.server.setTiming(5, 2);
    CraftedClient client;
    client.send(request(RRQ, "fw.tfp"), served.port());
    ASSERT_TRUE(client.receive());
    QElapsedTimer clock;
    clock.start();
    served.server.stop();
    EXPECT_LT(clock.elapsed(), OvTFTPServer::kStopWaitMs) << "the tick ran during stop";
    EXPECT_EQ(served.server.sessionCount(), 0);
    EXPECT_FALSE(served.server.isListening());
    EXPECT_EQ(finalStatus(served.log), ovtftp::Timeout);
    served.server.start(served.dir.path(), 0);
    EXPECT_TRUE(served.server.isListening());
}

TEST_F(TftpSession, ThePortIsNeverShared) {
    OvTFTPServer second;
    try {
        second.start(served.dir.path(), served.port());
        FAIL() << "a second server took the port";
    } catch (const OvException& error) {
        EXPECT_EQ(error.code(), ovtftp::SocketOpenFailed);
        EXPECT_EQ(error.text(),
                  "(OvTFTP) Fail to open socket!Please check if the network is ready.");
    }
    // Even a socket that asks to share cannot join ours (no SO_REUSEADDR).
    QUdpSocket sharing;
    EXPECT_FALSE(sharing.bind(QHostAddress::AnyIPv4, served.port(),
                              QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint));
    // Starting again while listening changes only the folder.
    const quint16 port = served.port();
    served.server.start(served.path("elsewhere"), 0);
    EXPECT_EQ(served.server.port(), port);
    EXPECT_EQ(served.server.rootFolder(), served.path("elsewhere") + "/");
}

TEST(TftpServerPort, TheEnvironmentMovesOnlyTheStandardPort) {
    const std::pair<const char*, quint16> cases[] = {
        {nullptr, 69}, {"6969", 6969}, {"", 69}, {"0", 69}, {"70000", 69}, {"69x", 69}, {"-5", 69},
    };
    for (const auto& [value, expected] : cases) {
        if (value)
            ::setenv("OV_TFTP_PORT", value, 1);
        else
            ::unsetenv("OV_TFTP_PORT");
        EXPECT_EQ(OvTFTPServer::effectivePort(69), expected) << (value ? value : "(unset)");
        EXPECT_EQ(OvTFTPServer::effectivePort(1069), 1069);
    }
    ::unsetenv("OV_TFTP_PORT");
}

TEST(TftpServerTexts, EveryStatusHasItsFixedText) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {3, "(OvTFTP) Success to transfer file."},
        {2, "(OvTFTP) File is transferring..."},
        {1, "(OvTFTP) A TFTP session is connected..."},
        {0, "(OvTFTP) A TFTP session is disconnected..."},
        {-1101, "(OvTFTP) Undefined error:"},
        {-1102, "(OvTFTP) File not found!"},
        {-1103, "(OvTFTP) Access violation!"},
        {-1104, "(OvTFTP) Disk full!"},
        {-1105, "(OvTFTP) Bad operation!"},
        {-1106, "(OvTFTP) Unknown port!"},
        {-1107, "(OvTFTP) File already exist!"},
        {-1108, "(OvTFTP) No such user!"},
        {-1109, "(OvTFTP) Fail to open socket!Please check if the network is ready."},
        {-1110, "(OvTFTP) Fail to send or receive socket packet!"},
        {-1111, "(OvTFTP) Socket is not ready!"},
        {-1112, "(OvTFTP) Bad packet!"},
        {-1113, "(OvTFTP) Timeout!"},
        {-1114, "(OvTFTP) Transfer has been canceled."},
        {4, ""},
    };
    for (const auto& [code, text] : cases)
        EXPECT_STREQ(ovtftp::statusText(code), text) << code;
    EXPECT_EQ(ovtftp::statusOfErrorCode(1), ovtftp::FileNotFound);
    EXPECT_EQ(ovtftp::statusOfErrorCode(7), ovtftp::NoSuchUser);
    EXPECT_EQ(ovtftp::statusOfErrorCode(99), ovtftp::UndefinedError);
}

} // namespace

namespace {

// The client did not hear the final ACK and sends its last block again: the
// server, dallying, acknowledges it again and writes nothing twice; once the
// dally is over the session has gone (RFC 1350 section 6).
TEST_F(TftpSession, ARepeatedFinalBlockIsAcknowledgedAgainDuringTheDally) {
    served.server.setTiming(30, 3); // a dally of 300 ms
    CraftedClient client;
    client.send(request(WRQ, "up.cfg"), served.port());
    const auto ack0 = client.receive();
    ASSERT_TRUE(ack0);
    ASSERT_EQ(ack0->first, ack(0));
    const QByteArray last = randomBytes(100, 9);
    client.send(data(1, last), ack0->second);
    const auto ack1 = client.receive();
    ASSERT_TRUE(ack1);
    EXPECT_EQ(ack1->first, ack(1));
    EXPECT_EQ(readFile(served.path("up.cfg")), last) << "whole when the owner hears of it";
    EXPECT_EQ(finalStatus(served.log), ovtftp::Success);

    client.send(data(1, last), ack0->second); // the final ACK was lost
    const auto again = client.receive();
    ASSERT_TRUE(again) << "no ACK for the repeated final block";
    EXPECT_EQ(again->first, ack(1));
    EXPECT_EQ(readFile(served.path("up.cfg")), last);
    const auto codes = served.log.codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), ovtftp::Success), 1);

    EXPECT_TRUE(served.waitIdle(2000)) << "the dally ends after one time-out";
}

TEST_F(TftpSession, StoppingTheServerEndsADallyAtOnce) {
    served.server.setTiming(500, 3); // a dally of 5 s
    CraftedClient client;
    client.send(request(WRQ, "up.cfg"), served.port());
    const auto ack0 = client.receive();
    ASSERT_TRUE(ack0);
    client.send(data(1, "short"), ack0->second);
    ASSERT_TRUE(client.receive());
    QElapsedTimer clock;
    clock.start();
    served.server.stop();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(served.server.sessionCount(), 0);
    EXPECT_EQ(readFile(served.path("up.cfg")), "short");
}

// A link in the folder may point anywhere: only what really lies in the folder
// is served.
TEST_F(TftpSession, LinksAreServedOnlyWhenTheyStayInTheFolder) {
    QTemporaryDir outside;
    ASSERT_TRUE(writeFile(outside.filePath("secret"), "not for the device"));
    ASSERT_EQ(::symlink(outside.filePath("secret").toLocal8Bit().constData(),
                        served.path("out.cfg").toLocal8Bit().constData()),
              0);
    ASSERT_EQ(::symlink("fw.tfp", served.path("in.tfp").toLocal8Bit().constData()), 0);
    const struct {
        const char* what;
        QByteArray name;
        bool served;
    } cases[] = {
        {"a link to a file outside", "out.cfg", false},
        {"a link inside", "in.tfp", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CraftedClient client;
        if (c.served) {
            EXPECT_EQ(readAll(client, c.name), content);
            continue;
        }
        client.send(request(RRQ, c.name), served.port());
        const auto reply = client.receive();
        ASSERT_TRUE(reply);
        EXPECT_EQ(opcodeOf(reply->first), ERROR);
        EXPECT_EQ(numberOf(reply->first), ovtftp::ErrAccessViolation);
        EXPECT_FALSE(reply->first.contains("not for the device"));
    }
    QFile::remove(served.path("out.cfg"));
    QFile::remove(served.path("in.tfp"));
}

} // namespace
