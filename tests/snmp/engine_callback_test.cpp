// The engine adapter's callback as net-snmp calls it when it gives up on a
// request for a security reason: a SEC_ERROR callback with the agent's Report,
// then the Report as a received message (net-snmp 5.9's order). The one case a
// real agent cannot be made to produce on demand, a notInTimeWindow Report
// after the retries are spent, is driven here through the callback itself.
#include "OvEngineRecords.h"
#include "OvSNMPRequest.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

#include <QUdpSocket>

namespace {

const OvSNMPVarRow kSysName[] = {
    {"1.3.6.1.2.1.1.5", "sysName", ovtype::displaystr, ovaccess::readwrite}, {}};

// The Report of one usmStats counter (1.3.6.1.6.3.15.1.1.N.0).
netsnmp_pdu* usmReport(oid counter) {
    netsnmp_pdu* report = snmp_pdu_create(SNMP_MSG_REPORT);
    const oid name[] = {1, 3, 6, 1, 6, 3, 15, 1, 1, counter, 0};
    const u_long value = 1;
    snmp_pdu_add_variable(report, name, 11, ASN_COUNTER, &value, sizeof value);
    return report;
}

// The one asynchronous send that awaits the network.
std::optional<std::uint64_t> awaitedSend() {
    std::optional<std::uint64_t> found;
    for (const auto& [id, record] : ovengine::pending().records) {
        if (!record.queued && record.session != nullptr) {
            if (found)
                return std::nullopt;
            found = id;
        }
    }
    return found;
}

struct SecurityCase {
    const char* name;
    oid counter;
    std::int32_t code;
};

TEST(EngineCallbacks, ASecurityErrorEndsTheRequestAtOnceWithItsOwnCode) {
    snmptest::setUpEngine();
    const SecurityCase cases[] = {
        {"the time window is still wrong after the retries", 2, -311},
        {"a wrong digest", 5, -308},
        {"an unknown user name", 3, -304},
    };
    for (const SecurityCase& c : cases) {
        QUdpSocket silent;
        silent.bind(QHostAddress::LocalHost, 0);
        auto request = std::make_unique<OvSNMPRequest>();
        request->agentPort = silent.localPort();
        request->version = 1;
        request->timeout = 1000; // ten seconds: a time-out would come far later
        request->retries = 0;
        request->varList = OvSNMPVarList(kSysName, SVT_SV, 0);
        std::vector<OvSNMPError> results;
        request->ReadAsync(
            [&](void*, const OvSNMPError& e, OvSNMPVarList&) { results.push_back(e); }, nullptr,
            true);
        const auto id = awaitedSend();
        ASSERT_TRUE(id) << c.name;
        netsnmp_pdu* report = usmReport(c.counter);
        ovengine::onAsyncEvent(NETSNMP_CALLBACK_OP_SEC_ERROR, nullptr, 0, report,
                               ovengine::magicOf(*id));
        ovengine::onAsyncEvent(NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE, nullptr, 0, report,
                               ovengine::magicOf(*id));
        snmp_free_pdu(report);
        ASSERT_TRUE(snmptest::waitFor([&] { return !results.empty(); }, 2000)) << c.name;
        EXPECT_EQ(results.size(), 1u) << c.name;
        EXPECT_EQ(results[0].code, c.code) << c.name << " " << results[0].message;
        EXPECT_TRUE(results[0].done) << c.name;
        EXPECT_EQ(request->pendingCount(), 0) << c.name;
        EXPECT_EQ(request->errorCount(), 1u) << c.name;
    }
}

} // namespace
