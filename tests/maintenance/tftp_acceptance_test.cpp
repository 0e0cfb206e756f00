// What the transfer windows ask of the TFTP server: a per-request acceptance
// filter, and an address choice that finds loopback for a device on 127/8.
#include "OvNetInterface.h"
#include "OvTFTPPacket.h"
#include "TftpTestSupport.h"

#include <gtest/gtest.h>

using namespace tftptest;
using ovtftp::ACK;
using ovtftp::DATA;
using ovtftp::ERROR;
using ovtftp::RRQ;
using ovtftp::WRQ;

namespace {

struct FilterCase {
    const char* name;
    QByteArray packet;
    std::uint16_t opcode; // of the first reply
    std::uint16_t number; // its block or error code
};

TEST(TftpAcceptance, TheFilterDecidesPerOperationAndName) {
    ServedFolder served;
    ASSERT_TRUE(served.server.isListening());
    ASSERT_TRUE(writeFile(served.path("fw.tfp"), "image"));
    ASSERT_TRUE(writeFile(served.path("keep.cfg"), "old backup"));
    std::vector<std::pair<std::int32_t, std::string>> asked;
    served.server.setAcceptance([&](std::int32_t operation, const std::string& name) {
        asked.emplace_back(operation, name);
        return operation == ovtftp::ReadRequest || name == "save.cfg";
    });
    const FilterCase cases[] = {
        {"a read is served", request(RRQ, "fw.tfp"), DATA, 1},
        {"a write of the expected name is served", request(WRQ, "save.cfg"), ACK, 0},
        {"a write of another name is an access violation", request(WRQ, "keep.cfg"), ERROR, 2},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.name);
        CraftedClient client;
        client.send(c.packet, served.port());
        const auto reply = client.receive();
        ASSERT_TRUE(reply);
        EXPECT_EQ(opcodeOf(reply->first), c.opcode);
        EXPECT_EQ(numberOf(reply->first), c.number);
        if (c.opcode != ERROR)
            client.send(error(0, "done"), reply->second);
        ASSERT_TRUE(served.waitIdle());
    }
    EXPECT_EQ(readFile(served.path("keep.cfg")), "old backup");
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[2], std::make_pair(ovtftp::WriteRequest, std::string("keep.cfg")));

    served.server.setAcceptance({}); // back to serving everything the folder allows
    CraftedClient client;
    client.send(request(WRQ, "keep.cfg"), served.port());
    const auto reply = client.receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->first, ack(0));
    client.send(error(0, "done"), reply->second);
    ASSERT_TRUE(served.waitIdle());
}

TEST(TftpAcceptance, ADeviceOnLoopbackGetsALoopbackServerAddress) {
    const std::string chosen = ovtftp::chooseServerAddress("127.0.0.5", "255.0.0.0");
    EXPECT_EQ(chosen.rfind("127.", 0), 0u) << chosen;
}

} // namespace
