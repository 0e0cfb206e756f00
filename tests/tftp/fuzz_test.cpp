// Random and mutated datagrams, to the server's port and to the ports of the
// sessions they start: nothing may crash, hang, leak a temporary file or
// reach outside the folder, and a real client is served whole afterwards.
// Bounded: OV_TFTP_FUZZ_COUNT datagrams (100000 unless set), then it stops.
#include "TftpTestSupport.h"

#include "OvTFTPPacket.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <random>

using namespace tftptest;

namespace {

int datagramCount() {
    const char* text = std::getenv("OV_TFTP_FUZZ_COUNT");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 100000;
}

int openDescriptors() {
    return static_cast<int>(QDir("/proc/self/fd")
                                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                .size());
}

class Fuzzer {
public:
    explicit Fuzzer(quint16 serverPort) : serverPort_(serverPort) {
        for (int i = 0; i < 8; ++i)
            clients_.push_back(std::make_unique<CraftedClient>());
    }

    // Sends one datagram, to the server's port or to a session's.
    void sendOne() {
        CraftedClient& client = *clients_[pick(clients_.size())];
        const bool toSession = !sessionPorts_.empty() && chance(50);
        const quint16 port = toSession ? sessionPorts_[pick(sessionPorts_.size())] : serverPort_;
        QByteArray packet = toSession ? sessionPacket() : requestPacket();
        if (chance(40))
            mutate(packet);
        client.send(packet, port);
    }

    // Takes every reply, learning the ports of new sessions.
    void drain() {
        for (auto& client : clients_) {
            while (auto reply = client->receive(0)) {
                ++replies_;
                if (reply->second != serverPort_ && !known(reply->second)) {
                    sessionPorts_.push_back(reply->second);
                    if (sessionPorts_.size() > 64)
                        sessionPorts_.pop_front();
                }
            }
        }
    }

    int replies() const { return replies_; }

private:
    bool chance(int percent) { return static_cast<int>(random_() % 100) < percent; }
    std::size_t pick(std::size_t n) { return random_() % n; }
    bool known(quint16 port) const {
        return std::find(sessionPorts_.begin(), sessionPorts_.end(), port) != sessionPorts_.end();
    }

    QByteArray randomBytes(int length) {
        QByteArray bytes(length, Qt::Uninitialized);
        for (char& c : bytes)
            c = static_cast<char>(random_() & 0xff);
        return bytes;
    }

    QByteArray requestPacket() {
        static const QByteArray names[] = {"fw.tfp", "cfg.bin", "new.bin",   "",
                                           ".",      "..",      "../escape", "sub/x",
                                           "a\\b",   "fifo",    "sub",       QByteArray(300, 'n'),
                                           "fw..tfp"};
        static const QByteArray modes[] = {"octet", "NETASCII", "mail", "", "OcTeT", "binary"};
        static const QByteArray options[] = {{},
                                             QByteArray("blksize\0"
                                                        "1428\0",
                                                        13),
                                             QByteArray("tsize\0"
                                                        "0\0timeout\0"
                                                        "1\0",
                                                        18),
                                             QByteArray("blksize\0", 8)};
        if (chance(10))
            return randomBytes(static_cast<int>(pick(chance(5) ? 2100 : 600)));
        const std::uint16_t opcode = chance(50) ? ovtftp::RRQ : ovtftp::WRQ;
        return request(opcode, names[pick(std::size(names))], modes[pick(std::size(modes))],
                       options[pick(std::size(options))]);
    }

    QByteArray sessionPacket() {
        const auto block = static_cast<std::uint16_t>(chance(70) ? pick(4) : random_());
        switch (pick(4)) {
        case 0:
            return ack(block);
        case 1:
            return data(block, randomBytes(static_cast<int>(chance(50) ? 512 : pick(700))));
        case 2:
            return error(static_cast<std::uint16_t>(pick(9)),
                         randomBytes(static_cast<int>(pick(20))));
        default:
            return randomBytes(static_cast<int>(pick(40)));
        }
    }

    void mutate(QByteArray& packet) {
        const int edits = 1 + static_cast<int>(pick(4));
        for (int i = 0; i < edits; ++i) {
            switch (pick(4)) {
            case 0: // flip a bit
                if (!packet.isEmpty())
                    packet[pick(packet.size())] ^= static_cast<char>(1 << pick(8));
                break;
            case 1: // cut
                packet.truncate(static_cast<int>(pick(packet.size() + 1)));
                break;
            case 2: // insert
                packet.insert(static_cast<int>(pick(packet.size() + 1)), randomBytes(1 + pick(8)));
                break;
            default: // drop or add a terminator
                if (!packet.isEmpty())
                    packet[pick(packet.size())] = chance(50) ? '\0' : 'x';
                break;
            }
        }
    }

    quint16 serverPort_;
    std::vector<std::unique_ptr<CraftedClient>> clients_;
    std::deque<quint16> sessionPorts_;
    std::mt19937 random_{20240613};
    int replies_ = 0;
};

TEST(TftpFuzz, RandomAndMutatedDatagramsLeaveTheServerServing) {
    std::map<std::int32_t, int> statuses; // outlives the server that reports into it
    ServedFolder served(5, 2);            // short timeouts, so that sessions churn
    const QString root = served.path("served");
    ASSERT_TRUE(QDir().mkpath(root + "/sub"));
    ASSERT_TRUE(writeFile(root + "/fw.tfp", randomBytes(1500, 1)));
    ASSERT_TRUE(writeFile(root + "/cfg.bin", randomBytes(100, 2)));
    ASSERT_TRUE(writeFile(served.path("escape"), "outside"));
    served.server.start(root, 0);
    served.server.setNotify(
        [](void* data, const OvTFTPMsg& msg, bool&) {
            ++(*static_cast<std::map<std::int32_t, int>*>(data))[msg.code];
        },
        &statuses);
    const QStringList outsideBefore =
        QDir(served.dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

    const int count = datagramCount();
    Fuzzer fuzzer(served.port());
    const int descriptorsBefore = openDescriptors();
    for (int sent = 0; sent < count;) {
        for (int i = 0; i < 32 && sent < count; ++i, ++sent)
            fuzzer.sendOne();
        QCoreApplication::processEvents();
        fuzzer.drain();
        // Running sessions hold a socket and a file each; finished ones hold none.
        ASSERT_LE(openDescriptors(), descriptorsBefore + 2 * OvTFTPServer::kMaxSessions);
    }
    ASSERT_TRUE(served.waitIdle());
    fuzzer.drain();
    std::printf("[ fuzz     ] %d datagrams, %d replies, %d sessions; statuses:", count,
                fuzzer.replies(), served.server.requestTemplate().sessionNumber + 1);
    for (const auto& [code, times] : statuses)
        std::printf(" %d x%d", code, times);
    std::printf("\n");

    EXPECT_TRUE(served.server.isListening());
    EXPECT_EQ(QDir(served.dir.path()).entryList(QDir::AllEntries | QDir::Hidden), outsideBefore);
    EXPECT_EQ(readFile(served.path("escape")), "outside");
    EXPECT_TRUE(QDir(root).entryList({".ovtftp-*"}, QDir::Files | QDir::Hidden).isEmpty())
        << "no temporary file outlives its session";

    const QByteArray content = randomBytes(100 * 1024, 3);
    ASSERT_TRUE(writeFile(root + "/check.bin", content));
    QTemporaryDir local;
    const auto result =
        runProcess("tftp", {"-m", "binary", "127.0.0.1", QString::number(served.port()), "-c",
                            "get", "check.bin", local.filePath("check.bin")});
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(readFile(local.filePath("check.bin")), content) << result.output.constData();
}

} // namespace
