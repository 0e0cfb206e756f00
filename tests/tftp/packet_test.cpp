// Requests as the server reads them: what a name and a mode are, and which
// names stay in the served folder.
#include "OvTFTPPacket.h"
#include "TftpTestSupport.h"

#include <gtest/gtest.h>

using namespace ovtftp;

namespace {

struct ParseCase {
    const char* name;
    QByteArray packet;
    bool parsed;
    std::string fileName;
    std::string mode;
};

TEST(TftpPacket, RequestsParseUpToTheirTerminatedModeAndIgnoreOptions) {
    using tftptest::request;
    const ParseCase cases[] = {
        {"plain read request", request(RRQ, "fw.tfp"), true, "fw.tfp", "octet"},
        {"write request", request(WRQ, "cfg.bin", "netascii"), true, "cfg.bin", "netascii"},
        {"options after the mode",
         request(RRQ, "f", "octet",
                 QByteArray("blksize\0"
                            "1428\0tsize\0"
                            "0\0",
                            20)),
         true, "f", "octet"},
        {"empty name is parsed (and refused later)", request(RRQ, ""), true, "", "octet"},
        {"empty mode is parsed (and refused later)", request(RRQ, "f", ""), true, "f", ""},
        {"mode without its terminator", QByteArray("\0\1f\0octet", 9), false, "", ""},
        {"name without its terminator", QByteArray("\0\1fw.tfp", 8), false, "", ""},
        {"opcode only", QByteArray("\0\1", 2), false, "", ""},
        {"DATA is no request", QByteArray("\0\3f\0octet\0", 11), false, "", ""},
        {"opcode 0", QByteArray("\0\0f\0octet\0", 11), false, "", ""},
        {"name with octets above 127", request(WRQ, "\xe4\xf6.bin"), true, "\xe4\xf6.bin", "octet"},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = parseRequest(c.packet);
        ASSERT_EQ(parsed.has_value(), c.parsed);
        if (parsed) {
            EXPECT_EQ(parsed->fileName, c.fileName);
            EXPECT_EQ(parsed->mode, c.mode);
        }
    }
}

TEST(TftpPacket, OnlyPlainNamesStayInTheServedFolder) {
    const std::pair<std::string, bool> cases[] = {
        {"fw.tfp", true}, {"fw..tfp", true},      {"...", true},    {".hidden", true},
        {"", false},      {".", false},           {"..", false},    {"../x", false},
        {"sub/x", false}, {"/etc/passwd", false}, {"..\\x", false}, {"a\\b", false},
        {"x/", false},
    };
    for (const auto& [name, confined] : cases)
        EXPECT_EQ(isConfinedFileName(name), confined) << '"' << name << '"';
}

TEST(TftpPacket, OctetAndNetasciiInAnyCaseAreTheOnlyModes) {
    const std::pair<std::string, bool> cases[] = {
        {"octet", true}, {"OCTET", true}, {"netascii", true}, {"NetAscii", true},
        {"mail", false}, {"", false},     {"octet ", false},  {"binary", false},
    };
    for (const auto& [mode, accepted] : cases)
        EXPECT_EQ(isTransferMode(mode), accepted) << '"' << mode << '"';
}

TEST(TftpPacket, ErrorPacketsCarryAnEmptyMessageUnlessGiven) {
    EXPECT_EQ(errorPacket(ErrFileNotFound), QByteArray("\0\5\0\1\0", 5));
    EXPECT_EQ(errorPacket(ErrNotDefined, "busy"), QByteArray("\0\5\0\0busy\0", 9));
    EXPECT_EQ(kMaxFileSize, 33553919);
}

} // namespace
