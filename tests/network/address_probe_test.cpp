// The address probe: its request bytes against hand-computed ones, which
// replies count, and real ICMP echo on this machine (loopback and its own
// address answer, a documentation address of RFC 5737 off its networks does not).
#include "OvAddressProbe.h"
#include "OvDialogs.h"
#include "OvTimeScale.h"

#include <QCoreApplication>
#include <QStringList>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace ovnet {
// Test names and failures show the socket kind by name.
void PrintTo(IcmpSocketKind kind, std::ostream* os) {
    *os << (kind == IcmpSocketKind::Datagram ? "datagram" : "raw");
}
} // namespace ovnet

namespace {

using namespace ovnet;

constexpr std::uint32_t kLoopback = 0x7F000001;      // 127.0.0.1
constexpr std::uint32_t kDocumentation = 0xC0000201; // 192.0.2.1

// The IPv4 addresses and masks of this machine's interfaces (host order).
std::vector<std::pair<std::uint32_t, std::uint32_t>> localNetworks() {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> networks;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return networks;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_netmask == nullptr ||
            entry->ifa_addr->sa_family != AF_INET)
            continue;
        const auto address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        const auto mask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask);
        networks.emplace_back(ntohl(address->sin_addr.s_addr), ntohl(mask->sin_addr.s_addr));
    }
    ::freeifaddrs(list);
    return networks;
}

// An address of the documentation networks (RFC 5737) that nobody answers: one
// outside every network this machine is on (a test machine may well sit on
// 192.0.2.0/24 itself, with its gateway at 192.0.2.1).
std::uint32_t silentAddress() {
    const auto networks = localNetworks();
    for (const std::uint32_t candidate : {0xC0000201u, 0xC6336401u, 0xCB007101u}) {
        const bool local = std::any_of(networks.begin(), networks.end(), [&](const auto& n) {
            return (candidate & n.second) == (n.first & n.second);
        });
        if (!local)
            return candidate;
    }
    return 0xCB007101u; // 203.0.113.1
}

// This machine's first address that is not loopback, or nothing.
std::optional<std::uint32_t> ownAddress() {
    for (const auto& [address, mask] : localNetworks())
        if (address >> 24 != 127)
            return address;
    return std::nullopt;
}

std::string dotted(std::uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 255) + "." +
           std::to_string(address >> 8 & 255) + "." + std::to_string(address & 255);
}

TEST(AddressProbe, TheChecksumIsRfc1071s) {
    // The example of RFC 1071 section 3: the sum is ddf2, its complement 220d.
    const std::uint8_t bytes[] = {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7};
    EXPECT_EQ(internetChecksum(bytes), 0x220D);
    // An odd length counts a zero byte after the last.
    const std::uint8_t odd[] = {0x08, 0x00, 0x01};
    EXPECT_EQ(internetChecksum(odd), static_cast<std::uint16_t>(~0x0900));
}

TEST(AddressProbe, EchoRequestsMatchHandComputedBytes) {
    const struct {
        const char* name;
        std::uint16_t identifier;
        std::uint16_t sequence;
        std::uint32_t ticks;
        EchoRequest bytes;
    } cases[] = {
        // Words 0800 0000 3412 0100 0d0c 0b0a sum to 5528: checksum aad7.
        {"no carry in the sum",
         0x1234,
         0x0001,
         0x0A0B0C0D,
         {0x08, 0x00, 0xAA, 0xD7, 0x34, 0x12, 0x01, 0x00, 0x0D, 0x0C, 0x0B, 0x0A}},
        // Words 0800 0000 efbe feff efcd ab89 sum to 39213, folded 9216: checksum 6de9.
        {"carries folded back in",
         0xBEEF,
         0xFFFE,
         0x89ABCDEF,
         {0x08, 0x00, 0x6D, 0xE9, 0xEF, 0xBE, 0xFE, 0xFF, 0xEF, 0xCD, 0xAB, 0x89}},
        // Words 0800 0000 0000 0000 0000 0000: checksum f7ff.
        {"the first request of process 65536",
         0x0000,
         0x0000,
         0,
         {0x08, 0x00, 0xF7, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(echoRequest(c.identifier, c.sequence, c.ticks), c.bytes) << c.name;
}

std::vector<std::uint8_t> ipHeader(int words) {
    std::vector<std::uint8_t> header(static_cast<std::size_t>(words) * 4, 0);
    header[0] = static_cast<std::uint8_t>(0x40 | words);
    return header;
}

std::vector<std::uint8_t> concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(AddressProbe, CountsOnlyEchoRepliesToUs) {
    const std::vector<std::uint8_t> reply = {0, 0, 0x12, 0x34, 0x34, 0x12, 0, 0, 1, 2, 3, 4};
    std::vector<std::uint8_t> request = reply;
    request[0] = 8;
    std::vector<std::uint8_t> otherIdentifier = reply;
    otherIdentifier[4] = 0x99;
    const struct {
        const char* name;
        std::vector<std::uint8_t> datagram;
        IcmpSocketKind kind;
        bool counts;
    } cases[] = {
        {"a reply without IP header counts", reply, IcmpSocketKind::Datagram, true},
        {"another identifier on a datagram socket was the kernel's choice", otherIdentifier,
         IcmpSocketKind::Datagram, true},
        {"an echo request is no reply", request, IcmpSocketKind::Datagram, false},
        {"a reply cut short does not count",
         std::vector<std::uint8_t>(reply.begin(), reply.end() - 1), IcmpSocketKind::Datagram,
         false},
        {"nothing is no reply", {}, IcmpSocketKind::Datagram, false},
        {"a reply after a 20-byte IP header counts", concat(ipHeader(5), reply),
         IcmpSocketKind::Raw, true},
        {"a reply after an IP header with options counts", concat(ipHeader(7), reply),
         IcmpSocketKind::Raw, true},
        {"another program's reply does not count", concat(ipHeader(5), otherIdentifier),
         IcmpSocketKind::Raw, false},
        {"our own request seen on loopback does not count", concat(ipHeader(5), request),
         IcmpSocketKind::Raw, false},
        {"a raw datagram read without its header does not count", reply, IcmpSocketKind::Raw,
         false},
        {"an IP header alone does not count", ipHeader(5), IcmpSocketKind::Raw, false},
        {"an empty raw datagram does not count", {}, IcmpSocketKind::Raw, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isEchoReply(c.datagram, c.kind, 0x1234), c.counts) << c.name;
}

TEST(AddressProbe, ReadsDottedQuadsAsDecimalAndResolvesNames) {
    const struct {
        const char* name;
        const char* text;
        std::optional<std::uint32_t> address;
    } cases[] = {
        {"a dotted quad", "192.0.2.1", kDocumentation},
        {"leading zeros stay decimal", "010.0.0.010", 0x0A00000A},
        {"a name resolves", "localhost", kLoopback},
        {"a name under .invalid never resolves", "no-such-host.invalid", std::nullopt},
        {"the empty text names nothing", "", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(probeTarget(c.text), c.address) << c.name;
}

TEST(AddressProbe, AnUnresolvableNameShowsUnableToResolve) {
    OvScriptedDialogs dialogs;
    EXPECT_FALSE(addressProbe(nullptr, QStringLiteral("no-such-host.invalid")));
    const auto shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Unable to resolve "));
    EXPECT_EQ(shown[0].title, QCoreApplication::applicationName());
    EXPECT_EQ(shown[0].buttons, QMessageBox::Ok);
}

const char* kindName(IcmpSocketKind kind) {
    return kind == IcmpSocketKind::Datagram ? "datagram" : "raw";
}

class ProbeOnEachSocket : public testing::TestWithParam<IcmpSocketKind> {
protected:
    void SetUp() override {
        previousScale = ov::timeScale();
        ov::setTimeScale(0.02); // a second's wait becomes 20 ms
    }
    void TearDown() override { ov::setTimeScale(previousScale); }

    std::optional<bool> probe(std::uint32_t address) {
        std::string why;
        const auto answer = probeAddress(address, GetParam(), &why);
        if (!answer)
            skipReason =
                std::string("no ") + kindName(GetParam()) + " ICMP socket here (" + why + ")";
        return answer;
    }

    double previousScale = 1;
    std::string skipReason;
};

TEST_P(ProbeOnEachSocket, LoopbackAnswers) {
    const auto answer = probe(kLoopback);
    if (!answer)
        GTEST_SKIP() << skipReason;
    EXPECT_TRUE(*answer);
}

TEST_P(ProbeOnEachSocket, TheDocumentationNetworkDoesNotAnswer) {
    const std::uint32_t address = silentAddress();
    const auto answer = probe(address);
    if (!answer)
        GTEST_SKIP() << skipReason;
    EXPECT_FALSE(*answer) << dotted(address);
}

TEST_P(ProbeOnEachSocket, TheMachinesOwnAddressAnswers) {
    const auto address = ownAddress();
    if (!address)
        GTEST_SKIP() << "this machine has no address but loopback";
    const auto answer = probe(*address);
    if (!answer)
        GTEST_SKIP() << skipReason;
    EXPECT_TRUE(*answer) << dotted(*address);
}

INSTANTIATE_TEST_SUITE_P(Sockets, ProbeOnEachSocket,
                         testing::Values(IcmpSocketKind::Datagram, IcmpSocketKind::Raw),
                         [](const testing::TestParamInfo<IcmpSocketKind>& info) {
                             return std::string(kindName(info.param));
                         });

TEST(AddressProbe, TheWindowsProbeAnswersWithoutABox) {
    ov::setTimeScale(0.02);
    if (!probeAddress(kLoopback))
        GTEST_SKIP() << "no ICMP socket opens here";
    OvScriptedDialogs dialogs;
    EXPECT_TRUE(addressProbe(nullptr, QStringLiteral("127.0.0.1")));
    EXPECT_FALSE(addressProbe(nullptr, QString::fromStdString(dotted(silentAddress()))));
    EXPECT_TRUE(dialogs.shown().empty());
}

// What went out on the wire, seen from a second raw socket: three requests of
// 12 bytes, our identifier and consecutive sequence numbers, checksums right.
TEST(AddressProbe, RawRequestsCarryOurIdentifierAndCountUp) {
    const int sniffer = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (sniffer < 0)
        GTEST_SKIP() << "no raw ICMP socket here (" << std::strerror(errno) << ")";
    ov::setTimeScale(0.02);
    ASSERT_EQ(probeAddress(kLoopback, IcmpSocketKind::Raw), true);
    const auto identifier = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
    std::vector<std::uint16_t> sequences;
    std::array<std::uint8_t, 1500> datagram;
    pollfd ready{sniffer, POLLIN, 0};
    while (::poll(&ready, 1, 0) > 0) {
        const ssize_t size = ::recv(sniffer, datagram.data(), datagram.size(), 0);
        const std::size_t header = static_cast<std::size_t>(datagram[0] & 0x0F) * 4;
        if (size < 0 || datagram[header] != 8 || datagram[header + 4] != (identifier & 0xFF) ||
            datagram[header + 5] != identifier >> 8)
            continue; // someone else's ICMP, or a reply
        EXPECT_EQ(static_cast<std::size_t>(size), header + kEchoRequestSize);
        EXPECT_EQ(datagram[header + 1], 0) << "code";
        EXPECT_EQ(internetChecksum(std::span(datagram.data() + header, kEchoRequestSize)), 0)
            << "a checksum over a correct request sums to all ones";
        sequences.push_back(
            static_cast<std::uint16_t>(datagram[header + 6] | datagram[header + 7] << 8));
    }
    ::close(sniffer);
    ASSERT_EQ(sequences.size(), 3u);
    EXPECT_EQ(static_cast<std::uint16_t>(sequences[1] - sequences[0]), 1);
    EXPECT_EQ(static_cast<std::uint16_t>(sequences[2] - sequences[1]), 1);
}

QString readText(const std::string& path) {
    std::ifstream file(path);
    return QString::fromStdString(std::string(std::istreambuf_iterator<char>(file), {}));
}

struct ToolRun {
    bool ready = false; // the network namespace could be set up
    std::string why;    // when not ready
    QString output;
    QStringList errors; // lines on standard error
};

// Runs the probe tool as nobody (uid and gid 65534, no capabilities) in a
// network namespace of its own, whose loopback is up and whose
// net.ipv4.ping_group_range is `pingRange`: the host's settings do not matter.
ToolRun runProbeToolAsNobody(const std::string& pingRange, const std::string& addresses) {
    ToolRun run;
    if (::geteuid() != 0) {
        run.why = "needs root to make a network namespace and drop privileges";
        return run;
    }
    const std::string stem = ::testing::TempDir() + "probe_tool." + std::to_string(::getpid());
    const std::string out = stem + ".out";
    const std::string err = stem + ".err";
    const std::string command =
        "unshare --net sh -c 'ip link set lo up && echo " + pingRange +
        " >/proc/sys/net/ipv4/ping_group_range || exit 97; OV_TIME_SCALE=0.02 exec setpriv "
        "--reuid=65534 --regid=65534 --clear-groups " +
        OV_PROBE_TOOL + " " + addresses + "' >" + out + " 2>" + err;
    const int status = std::system(command.c_str());
    run.output = readText(out);
    run.errors = readText(err).split('\n', Qt::SkipEmptyParts);
    std::remove(out.c_str());
    std::remove(err.c_str());
    run.ready = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!run.ready)
        run.why = "cannot set up a network namespace here: " + run.errors.join(' ').toStdString();
    return run;
}

// An unprivileged user gets the datagram socket where ping_group_range allows it.
TEST(AddressProbe, AnUnprivilegedUserProbesOnTheDatagramSocket) {
    const ToolRun run = runProbeToolAsNobody("0 2147483647", "127.0.0.1");
    if (!run.ready)
        GTEST_SKIP() << run.why;
    EXPECT_EQ(run.output, "127.0.0.1 yes\n");
    EXPECT_TRUE(run.errors.empty()) << run.errors.join('\n').toStdString();
}

// Without permission for either socket the probe answers no and says why, one
// line per probe, on standard error.
TEST(AddressProbe, WithoutAnIcmpSocketTheProbeAnswersNoAndSaysHowToAllowIt) {
    const ToolRun run = runProbeToolAsNobody("1 0", "127.0.0.1 127.0.0.1");
    if (!run.ready)
        GTEST_SKIP() << run.why;
    EXPECT_EQ(run.output, "127.0.0.1 no\n127.0.0.1 no\n");
    ASSERT_EQ(run.errors.size(), 2) << run.errors.join('\n').toStdString();
    for (const QString& line : run.errors) {
        EXPECT_TRUE(line.contains("net.ipv4.ping_group_range")) << line.toStdString();
        EXPECT_TRUE(line.contains("setcap cap_net_raw+ep")) << line.toStdString();
    }
}

} // namespace
