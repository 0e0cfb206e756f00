// The busy flag and the close rule of windows that walk tables, without a
// window: bindings against apsim, whose request log shows what went out.
#include "DeviceMib.h"
#include "OvException.h"
#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "OvWindowBindings.h"
#include "widgettest/OvDeviceTest.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

// The static pool's "IP" column, which every walk of the table carries.
const std::string kStaticPoolIpColumn = "1.3.6.1.4.1.48213.10.37.14.2.7.3.1.2";
// The dynamic lease table's MAC column, likewise.
const std::string kLeaseMacColumn = "1.3.6.1.4.1.48213.10.37.14.2.7.4.1.1.2";

class WindowBindings : public ovtest::DeviceTest {
protected:
    std::vector<std::string> agentOptions() const override {
        return {"--delay-var", kStaticPoolIpColumn + "=100"};
    }
    static void useStaticPool(OvSNMPRequest2Edits& binding) {
        binding.request.varList.Assign(OvSNMPVarList(mib::T45, MVT_UMV, 1));
    }
    std::size_t walkRequests() const {
        std::size_t n = 0;
        for (const auto& request : agent->requests())
            n += request.operation == "GETNEXT" ? 1 : 0;
        return n;
    }
    // The GETNEXTs that carry the column.
    std::size_t requestsFor(const std::string& column) const {
        std::size_t n = 0;
        for (const auto& request : agent->requests())
            n += request.operation == "GETNEXT" && !request.oids.empty() &&
                         request.oids.front().rfind(column, 0) == 0
                     ? 1
                     : 0;
        return n;
    }
    static void runEventsFor(int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
};

TEST_F(WindowBindings, TheBusyFlagStaysSetWhileAWalkIsUnderWay) {
    OvWindowBindings bindings;
    OvSNMPRequest2Edits* binding = bindings.make<OvSNMPRequest2Edits>(nullptr);
    useStaticPool(*binding);
    OvBusyFlag busy;
    busy.set();
    busy.startWalk(*binding);
    EXPECT_TRUE(busy.isSet()) << "the walk's end clears it, through the window's closure";
    EXPECT_TRUE(binding->IsBusy());
}

TEST_F(WindowBindings, AWalkThatCannotStartClearsTheBusyFlag) {
    const struct {
        const char* what;
        std::string agentAddress;
        bool active;
        bool raises;
    } cases[] = {
        {"an inactive request starts nothing", agent->address(), false, false},
        {"an agent address that no socket takes raises", "bad:address", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OvSNMPDevice.agentAddress = c.agentAddress;
        OvWindowBindings bindings;
        OvSNMPRequest2Edits* binding = bindings.make<OvSNMPRequest2Edits>(nullptr);
        useStaticPool(*binding);
        binding->request.active = c.active ? 1 : 0;
        OvBusyFlag busy;
        busy.set();
        if (c.raises) {
            EXPECT_THROW(busy.startWalk(*binding), OvException);
        } else {
            busy.startWalk(*binding);
        }
        EXPECT_FALSE(busy.isSet());
        OvSNMPDevice.agentAddress = agent->address();
    }
    EXPECT_EQ(walkRequests(), 0u);
}

// The newest binding goes first and waits for its answer; the older one must
// not go on walking (and reach its end, and its closures) meanwhile.
TEST_F(WindowBindings, ReleasingStopsEveryWalkBeforeFreeingAnyAndCallsNoClosureAgain) {
    restartAgent({"--set", "DynamicGet=1", "--delay-var", kLeaseMacColumn + "=100", "--delay-var",
                  kStaticPoolIpColumn + "=400"});
    OvWindowBindings bindings;
    int closuresCalled = 0;
    const std::pair<const OvSNMPVarRow*, OvListMode> tables[] = {{mib::T24, MVT_FMV},
                                                                 {mib::T45, MVT_UMV}};
    for (const auto& [table, mode] : tables) {
        OvSNMPRequest2Edits* binding = bindings.make<OvSNMPRequest2Edits>(nullptr);
        binding->request.varList.Assign(OvSNMPVarList(table, mode, 1));
        binding->OnGetDone = [&](OvSNMPRequest2Controls*, const OvSNMPError&) { ++closuresCalled; };
        binding->AfterRefresh = [&] { ++closuresCalled; };
        binding->Refresh();
    }
    // The lease walk is on its second row, the static pool's first answer due.
    runEventsFor(150);
    ASSERT_EQ(closuresCalled, 0);
    bindings.release();
    EXPECT_TRUE(bindings.empty());
    runEventsFor(300);
    EXPECT_LT(requestsFor(kLeaseMacColumn), 4u) << "the lease walk went on to its end";
    EXPECT_EQ(closuresCalled, 0);
    bindings.release(); // twice is harmless
}

} // namespace
