// The event pump against the simulated access point: completions run after the
// pump's turn, one at a time, so a nested event loop (a modal box) inside one
// leaves the others running; every error that escapes a completion reaches the
// general handler with the request's counts intact.
#include "ApsimFixture.h"
#include "OvSNMPPump.h"
#include "OvSNMPRequest.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QUdpSocket>

#include <stdexcept>

namespace {

using snmptest::kSystem;
using snmptest::SilentAgent;

// A request whose reading of an answer can be made to fail.
class FailingRequest : public OvSNMPRequest {
public:
    std::function<void()> whileReading;
    void TextFromValue(int position, const OvVb& received) override {
        if (whileReading)
            whileReading();
        OvSNMPRequest::TextFromValue(position, received);
    }
};

std::unique_ptr<FailingRequest> makeRequest(std::uint16_t port, int timeout = 100) {
    auto request = std::make_unique<FailingRequest>();
    request->agentPort = port;
    request->version = 1;
    request->timeout = timeout;
    request->retries = 0;
    request->varList = OvSNMPVarList(kSystem, SVT_SV, 0);
    return request;
}

struct NestedCase {
    const char* name;
    bool silent; // the other request gets no answer and must time out
    std::int32_t code;
};

TEST(Pump, ACompletionInANestedEventLoopLeavesTheOthersRunning) {
    snmptest::setUpEngine();
    ovtest::Apsim agent;
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    SilentAgent silent;
    const NestedCase cases[] = {
        {"another request's answer arrives while the box is open", false, 0},
        {"another request's time-out fires while the box is open", true, -405},
    };
    for (const NestedCase& c : cases) {
        auto first = makeRequest(agent.port());
        auto other = makeRequest(c.silent ? silent.port() : agent.port(), 10);
        bool boxOpen = false;
        bool otherDone = false;
        bool otherDoneInBox = false;
        std::int32_t otherCode = 1;
        first->ReadAsync(
            [&](void*, const OvSNMPError&, OvSNMPVarList&) {
                other->ReadAsync(
                    [&](void*, const OvSNMPError& e, OvSNMPVarList&) {
                        otherDone = true;
                        otherCode = e.code;
                        otherDoneInBox = boxOpen;
                    },
                    nullptr, true);
                // What a modal box does: an event loop of its own until it closes.
                QEventLoop box;
                QTimer watch;
                QObject::connect(&watch, &QTimer::timeout, [&] {
                    if (otherDone)
                        box.quit();
                });
                watch.start(5);
                QTimer::singleShot(3000, &box, &QEventLoop::quit);
                boxOpen = true;
                box.exec();
                boxOpen = false;
            },
            nullptr, true);
        ASSERT_TRUE(snmptest::waitFor([&] { return otherDone && !boxOpen; })) << c.name;
        EXPECT_TRUE(otherDoneInBox) << c.name;
        EXPECT_EQ(otherCode, c.code) << c.name;
        EXPECT_EQ(first->pendingCount(), 0) << c.name;
        EXPECT_EQ(other->pendingCount(), 0) << c.name;
    }
}

// A window that closes itself in its completion destroys its request there: the
// destructor waits for the request's other answers, never for the one running.
TEST(Pump, ARequestDestroyedInItsOwnCompletionDoesNotWaitForIt) {
    snmptest::setUpEngine();
    ovtest::Apsim agent;
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    auto request = makeRequest(agent.port());
    bool called = false;
    QElapsedTimer destroying;
    qint64 destroyMs = -1;
    request->ReadAsync(
        [&](void*, const OvSNMPError&, OvSNMPVarList&) {
            called = true;
            destroying.start();
            request.reset();
            destroyMs = destroying.elapsed();
        },
        nullptr, true);
    ASSERT_TRUE(snmptest::waitFor([&] { return called; }));
    EXPECT_FALSE(request);
    EXPECT_GE(destroyMs, 0);
    EXPECT_LT(destroyMs, 3000) << "not the 6 s a pending answer may be waited for";
    EXPECT_EQ(ovengine::outstandingCount(), 0);
}

// Idle, the pump sleeps on its sockets: its 20 ms tick runs only while a request
// awaits the network, and a time-out still comes at its time.
TEST(Pump, TicksOnlyWhileARequestAwaitsTheNetwork) {
    snmptest::setUpEngine();
    ovtest::Apsim agent;
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    SilentAgent silent;
    SnmpEventProcessor& pump = SnmpEventProcessor::instance();
    for (const bool answered : {true, false}) {
        const char* name = answered ? "an answer" : "a time-out";
        auto request = makeRequest(answered ? agent.port() : silent.port(), 20);
        request->retries = 1;
        bool done = false;
        std::int32_t code = 1;
        request->ReadAsync(
            [&](void*, const OvSNMPError& e, OvSNMPVarList&) { done = true, code = e.code; },
            nullptr, true);
        EXPECT_TRUE(pump.isTicking()) << name << ": a request awaits the network";
        QElapsedTimer waited;
        waited.start();
        ASSERT_TRUE(snmptest::waitFor([&] { return done; })) << name;
        EXPECT_EQ(code, answered ? 0 : -405) << name;
        if (!answered) {
            EXPECT_GE(waited.elapsed(), 2 * 200 - 20) << name << ": every retry was waited for";
        }
        EXPECT_FALSE(pump.isTicking()) << name << ": nothing awaits the network";
        EXPECT_TRUE(pump.isRunning()) << name;
    }
}

// The text of an error as the general handler gets it.
std::string textOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "not an error class";
    }
}

struct ThrowCase {
    const char* name;
    std::function<void()> whileReading;
    std::function<void()> inCompletion;
    bool refusedListMode; // the request is refused before sending (list mode -515)
    std::string handled;
    std::int32_t code;
    std::uint64_t errors;
};

TEST(Pump, EveryErrorOfACompletionReachesTheGeneralHandlerWithTheCountsKept) {
    snmptest::setUpEngine();
    ovtest::Apsim agent;
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    const auto standard = [] { throw std::logic_error("window failed"); };
    const auto notAnError = [] { throw 7; };
    const ThrowCase cases[] = {
        {"a standard error while the answer is read",
         standard,
         {},
         false,
         "window failed",
         -528,
         1},
        {"a value of no error class while the answer is read",
         notAnError,
         {},
         false,
         "not an error class",
         -528,
         1},
        {"a standard error from the completion", {}, standard, false, "window failed", 0, 0},
        {"a value of no error class from the completion",
         {},
         notAnError,
         false,
         "not an error class",
         0,
         0},
        {"an error from the completion of a refused list mode",
         {},
         standard,
         true,
         "window failed",
         -515,
         1},
    };
    for (const ThrowCase& c : cases) {
        std::vector<std::string> handled;
        bool armed = false;
        OvSetGeneralErrorHandler([&](std::exception_ptr error) {
            armed = !SnmpEventProcessor::instance().inTurn() &&
                    SnmpEventProcessor::instance().isRunning();
            handled.push_back(textOf(error));
        });
        auto request = makeRequest(agent.port());
        request->whileReading = c.whileReading;
        if (c.refusedListMode)
            request->varList.mode = static_cast<OvListMode>(7);
        std::vector<OvSNMPError> results;
        request->ReadAsync(
            [&](void*, const OvSNMPError& e, OvSNMPVarList&) {
                results.push_back(e);
                if (c.inCompletion)
                    c.inCompletion();
            },
            nullptr, true);
        EXPECT_TRUE(snmptest::waitFor([&] { return !handled.empty(); })) << c.name;
        EXPECT_EQ(handled, std::vector<std::string>{c.handled}) << c.name;
        EXPECT_TRUE(armed) << c.name << ": the handler runs with the pump armed";
        ASSERT_EQ(results.size(), 1u) << c.name << ": the completion learns that it ended";
        EXPECT_EQ(results[0].code, c.code) << c.name;
        EXPECT_TRUE(results[0].done) << c.name;
        EXPECT_EQ(results[0].errorCount, c.errors) << c.name;
        EXPECT_EQ(request->errorCount(), c.errors) << c.name;
        EXPECT_EQ(request->pendingCount(), 0) << c.name;

        request->whileReading = {};
        request->varList.mode = SVT_SV;
        bool later = false;
        request->ReadAsync([&](void*, const OvSNMPError&, OvSNMPVarList&) { later = true; },
                           nullptr, true);
        EXPECT_TRUE(snmptest::waitFor([&] { return later; })) << c.name << ": later polls run";
        EXPECT_EQ(request->pendingCount(), 0) << c.name;
        OvSetGeneralErrorHandler({});
    }
}

} // namespace
