// What the Advanced windows need of apsim, seen by net-snmp as a client: a
// variable that reads fine but refuses writes (--fail-set), the VLAN group IDs
// and the grouping user limit the firmware refuses, and a SET without
// bindings, which is answered noError.
#include "ApsimFixture.h"
#include "SnmpTools.h"

#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using ovtest::Apsim;
using ovtest::ToolRun;

namespace {

TEST(ApsimAdvanced, FailSetRefusesWritesOfAVariableThatReadsFine) {
    const Apsim device({"--fail-set", "E.2.3.1.17.1=genErr"});
    ASSERT_TRUE(device.isRunning()) << device.error();
    const ToolRun read = ovtest::runAgainst(device, "snmpget", "v2c", {"E.2.3.1.17.1"});
    EXPECT_TRUE(read.contains("INTEGER: 1")) << read.output;
    const ToolRun write =
        ovtest::runAgainst(device, "snmpset", "v2c-rw", {"E.2.3.1.17.1", "i", "0"});
    EXPECT_TRUE(write.contains("genError")) << write.output;
    EXPECT_EQ(device.stateValue("E.2.3.1.17.1")->text, "1") << "nothing written";
    const auto log = device.requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].outcome, "answered");
    EXPECT_EQ(log[1].outcome, "failed:5");
}

TEST(ApsimAdvanced, TheFirmwareRefusesVlanIdsAndUserLimitsOutOfRange) {
    const struct {
        const char* oid;
        const char* value;
        bool taken;
    } cases[] = {
        {"E.2.9.1.1.3.1", "0", false},      {"E.2.9.1.1.3.1", "1", true},
        {"E.2.9.1.1.3.2", "4094", true},    {"E.2.9.1.1.3.2", "4095", false},
        {"E.2.9.2.1.9.1.3", "4095", false}, {"E.2.9.2.1.9.2.1", "20", true},
        {"E.2.6.2.0", "64", true},          {"E.2.6.2.0", "65", false},
        {"E.2.6.2.0", "0", true},
    };
    const Apsim device;
    ASSERT_TRUE(device.isRunning()) << device.error();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.oid) + " = " + c.value);
        const ToolRun run = ovtest::runAgainst(device, "snmpset", "v2c-rw", {c.oid, "i", c.value});
        EXPECT_EQ(run.contains("Reason: wrongValue"), !c.taken) << run.output;
        if (c.taken) {
            EXPECT_EQ(device.stateValue(c.oid)->text, c.value);
        }
    }
}

TEST(ApsimAdvanced, ASetWithoutBindingsIsAnsweredNoError) {
    const Apsim device;
    ASSERT_TRUE(device.isRunning()) << device.error();
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    setenv("MIBS", "", 1);
    init_snmp("apsimtest");
    netsnmp_session setup;
    snmp_sess_init(&setup);
    std::string peer = device.peer();
    std::string community = "trondax";
    setup.peername = peer.data();
    setup.version = SNMP_VERSION_2c;
    setup.community = reinterpret_cast<u_char*>(community.data());
    setup.community_len = community.size();
    setup.timeout = 2000000;
    setup.retries = 0;
    void* session = snmp_sess_open(&setup);
    ASSERT_NE(session, nullptr);
    netsnmp_pdu* answer = nullptr;
    const int status = snmp_sess_synch_response(session, snmp_pdu_create(SNMP_MSG_SET), &answer);
    ASSERT_EQ(status, STAT_SUCCESS);
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->errstat, SNMP_ERR_NOERROR);
    EXPECT_EQ(answer->variables, nullptr);
    snmp_free_pdu(answer);
    snmp_sess_close(session);
    const auto log = device.requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].operation, "SET");
    EXPECT_TRUE(log[0].oids.empty());
    EXPECT_EQ(log[0].outcome, "answered");
}

} // namespace
