// The transfer meter that feeds the progress displays: it follows one
// session, reports only what moved, and reports an end where it happened.
#include "OvTransferMeter.h"
#include "TftpTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

using namespace tftptest;

namespace {

OvTFTPMsg status(std::int32_t code, std::int32_t bytes, const char* name = "fw.tfp",
                 std::int32_t operation = ovtftp::ReadRequest) {
    OvTFTPMsg msg;
    msg.setStatus(code);
    msg.bytes = bytes;
    msg.fileName = name;
    msg.operation = operation;
    return msg;
}

struct Recorded {
    std::vector<qint64> progress;
    std::vector<std::pair<bool, qint64>> ends;
    explicit Recorded(OvTransferMeter& meter) {
        QObject::connect(&meter, &OvTransferMeter::progressed,
                         [this](qint64 octets) { progress.push_back(octets); });
        QObject::connect(&meter, &OvTransferMeter::ended,
                         [this](bool ok, qint64 octets) { ends.emplace_back(ok, octets); });
    }
};

// Each step is one status change noted, or a tick ("tick"), with what the
// meter must have reported by then.
struct Step {
    const char* what;
    std::optional<OvTFTPMsg> noted; // nothing: a tick of the timer
    std::vector<qint64> progress;
    std::vector<std::pair<bool, qint64>> ends;
};

TEST(TransferMeter, ReportsWhatMovedAtMostOncePerTickAndEndsWhereItStopped) {
    const Step steps[] = {
        {"a block of another file", status(ovtftp::Transferring, 512, "other.tfp"), {}, {}},
        {"a block written, not read", status(ovtftp::Transferring, 512, "fw.tfp", 2), {}, {}},
        {"the first block", status(ovtftp::Transferring, 512), {}, {}},
        {"the second block", status(ovtftp::Transferring, 1024), {}, {}},
        {"a tick reports the latest figure only", std::nullopt, {1024}, {}},
        {"a tick with nothing moved", std::nullopt, {1024}, {}},
        {"a resent block moves nothing", status(ovtftp::Transferring, 1024), {1024}, {}},
        {"a tick after it", std::nullopt, {1024}, {}},
        {"the third block", status(ovtftp::Transferring, 1536), {1024}, {}},
        {"the device stops answering",
         status(ovtftp::Timeout, 1536),
         {1024, 1536},
         {{false, 1536}}},
        {"the session closes", status(ovtftp::Disconnected, 0), {1024, 1536}, {{false, 1536}}},
        {"a tick after the end", std::nullopt, {1024, 1536}, {{false, 1536}}},
    };
    OvTransferMeter meter;
    Recorded recorded(meter);
    meter.follow(ovtftp::ReadRequest, "fw.tfp");
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.noted)
            meter.note(*step.noted);
        else
            meter.report();
        EXPECT_EQ(recorded.progress, step.progress);
        EXPECT_EQ(recorded.ends, step.ends);
    }
    EXPECT_FALSE(meter.isRunning());
}

TEST(TransferMeter, ASuccessReportsTheWholeFileAtOnce) {
    OvTransferMeter meter;
    Recorded recorded(meter);
    meter.follow(ovtftp::WriteRequest, "save.cfg");
    meter.note(status(ovtftp::Transferring, 512, "save.cfg", ovtftp::WriteRequest));
    EXPECT_TRUE(meter.isRunning()) << "ticks while the transfer runs";
    meter.note(status(ovtftp::Success, 700, "save.cfg", ovtftp::WriteRequest));
    EXPECT_EQ(recorded.progress, std::vector<qint64>{700});
    EXPECT_EQ(recorded.ends, (std::vector<std::pair<bool, qint64>>{{true, 700}}));
    EXPECT_FALSE(meter.isRunning());
    meter.follow(ovtftp::WriteRequest, "save.cfg");
    EXPECT_EQ(meter.moved(), 0) << "a new transfer starts at 0";
}

// With the real server and curl: the figures rise to the file's size, one
// report per tick at most, however many blocks went by.
TEST(TransferMeter, FollowsARealFetchToTheFileSize) {
    if (!haveProgram("curl"))
        GTEST_SKIP() << "curl is not installed";
    // The meter outlives the server: a session still open when the server
    // goes reports its end to it.
    OvTransferMeter meter;
    Recorded recorded(meter);
    ServedFolder served;
    const QByteArray content = randomBytes(300 * 512 + 77);
    ASSERT_TRUE(writeFile(served.path("image.tfp"), content));
    int notes = 0;
    served.server.setNotify(
        [&](void*, const OvTFTPMsg& msg, bool&) {
            ++notes;
            meter.note(msg);
        },
        nullptr);
    meter.follow(ovtftp::ReadRequest, "image.tfp");
    const ProcessResult fetched =
        runProcess("curl", {"-sS", "-o", served.path("copy"),
                            QString("tftp://127.0.0.1:%1/image.tfp").arg(served.port())});
    ASSERT_EQ(fetched.exitCode, 0) << fetched.output.toStdString();
    ASSERT_TRUE(waitFor([&] { return !recorded.ends.empty(); }, 10000));
    ASSERT_FALSE(recorded.progress.empty());
    EXPECT_TRUE(std::is_sorted(recorded.progress.begin(), recorded.progress.end()));
    EXPECT_EQ(recorded.progress.back(), content.size());
    EXPECT_EQ(recorded.ends.back(), std::make_pair(true, qint64{content.size()}));
    EXPECT_LT(recorded.progress.size(), static_cast<std::size_t>(notes))
        << "fewer reports than status changes";
}

} // namespace
