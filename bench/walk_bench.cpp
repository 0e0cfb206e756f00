// Walks one 2000-row table of four columns (the DHCP lease table: an index and
// three readable columns) on the simulated access point three ways: with
// synchronous requests, with asynchronous requests chained from their
// completions, and with net-snmp's snmpwalk, one run per readable column.
// Prints each time and the ratios.
#include "ApsimFixture.h"
#include "DeviceMib.h"
#include "OvSNMPRequest.h"
#include "OvSNMPSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

namespace {

constexpr int kRows = 2000;

std::unique_ptr<OvSNMPRequest> leaseRequest(int port) {
    auto request = std::make_unique<OvSNMPRequest>();
    request->agentPort = static_cast<std::uint16_t>(port);
    request->version = 1;
    request->timeout = 500;
    request->varList = OvSNMPVarList(mib::T24, MVT_FMV, 1);
    request->resultHook = [](const OvSNMPError& error) {
        std::fprintf(stderr, "request failed: %d %s\n", error.code, error.message.c_str());
    };
    return request;
}

std::optional<int> walkSync(int port) {
    auto request = leaseRequest(port);
    int rows = 0;
    auto step = request->ReadSync(true);
    while (step.moreRows) {
        ++rows;
        step = request->ReadSync(false);
    }
    if (!step.ok)
        return std::nullopt;
    return rows;
}

std::optional<int> walkAsync(int port) {
    auto request = leaseRequest(port);
    int rows = 0;
    bool finished = false;
    bool failed = false;
    OvSNMPRequest::Completion next;
    next = [&](void*, const OvSNMPError& result, OvSNMPVarList&) {
        if (result.code != 0 || result.done) {
            failed = result.code != 0;
            finished = true;
            return;
        }
        ++rows;
        request->ReadAsync(next, nullptr, false);
    };
    request->ReadAsync(next, nullptr, true);
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (failed)
        return std::nullopt;
    return rows;
}

std::optional<int> walkWithSnmpwalk(int port) {
    const auto& rows = mib::T24;
    int lines = 0;
    for (int column = 1; column <= 3; ++column) {
        QProcess walk;
        walk.start("snmpwalk", {"-v2c", "-c", "mulvek", "-On", "-Oq", "-r", "1", "-t", "5",
                                QString("127.0.0.1:%1").arg(port), rows[column].oid});
        if (!walk.waitForFinished(600000) || walk.exitCode() != 0)
            return std::nullopt;
        lines += walk.readAllStandardOutput().count('\n');
    }
    return lines / 3;
}

struct Timing {
    const char* name;
    std::function<std::optional<int>(int)> walk;
    double ms = 0;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    OvSNMPSetup(folder.path().toStdString());
    // Its request log would cost every request a flushed line: not what is measured.
    ovtest::Apsim agent({"--rows", "dhcpleases=" + std::to_string(kRows), "--set", "DynamicGet=1",
                         "--log", "/dev/null"});
    if (!agent.isRunning()) {
        std::fprintf(stderr, "%s\n", agent.error().c_str());
        return 1;
    }
    Timing timings[] = {
        {"synchronous walk", walkSync},
        {"asynchronous walk", walkAsync},
        {"snmpwalk, one run per column", walkWithSnmpwalk},
    };
    std::printf("Walk of %d rows x 4 columns (DHCP lease table) on apsim, SNMPv2c, loopback\n",
                kRows);
    for (Timing& timing : timings) {
        QElapsedTimer clock;
        clock.start();
        const auto rows = timing.walk(agent.port());
        timing.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (!rows) {
            std::printf("%-32s failed\n", timing.name);
            return 1;
        }
        std::printf("%-32s %9.1f ms  %d rows\n", timing.name, timing.ms, *rows);
    }
    std::printf("asynchronous / synchronous      %9.2f\n", timings[1].ms / timings[0].ms);
    std::printf("snmpwalk / synchronous          %9.2f\n", timings[2].ms / timings[0].ms);
    std::printf("snmpwalk / asynchronous         %9.2f\n", timings[2].ms / timings[1].ms);
    agent.stop();
    OvSNMPShutdown();
    return 0;
}
