// A long-lived SNMPv3 session, as the module keeps one, survives the device's
// restart: the new engine boots and time move it out of its time window, the
// agent reports that, and net-snmp resynchronises on its own.
#include "ApsimFixture.h"

#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

class V3Session {
public:
    explicit V3Session(const std::string& peer) {
        static const bool initialised = [] {
            netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
            netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
            netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD,
                                   1);
            setenv("MIBS", "", 1);
            init_snmp("apsimtest");
            return true;
        }();
        (void)initialised;
        netsnmp_session setup;
        snmp_sess_init(&setup);
        peer_ = peer;
        setup.peername = peer_.data();
        setup.version = SNMP_VERSION_3;
        setup.securityName = user_.data();
        setup.securityNameLen = user_.size();
        setup.securityLevel = SNMP_SEC_LEVEL_AUTHPRIV;
        setup.securityAuthProto = usmHMACSHA1AuthProtocol;
        setup.securityAuthProtoLen = USM_AUTH_PROTO_SHA_LEN;
        setup.securityAuthKeyLen = USM_AUTH_KU_LEN;
        generate_Ku(setup.securityAuthProto, setup.securityAuthProtoLen,
                    reinterpret_cast<const u_char*>("sha-secret"), 10, setup.securityAuthKey,
                    &setup.securityAuthKeyLen);
        setup.securityPrivProto = usmAESPrivProtocol;
        setup.securityPrivProtoLen = USM_PRIV_PROTO_AES_LEN;
        setup.securityPrivKeyLen = USM_PRIV_KU_LEN;
        generate_Ku(setup.securityAuthProto, setup.securityAuthProtoLen,
                    reinterpret_cast<const u_char*>("aes-secret"), 10, setup.securityPrivKey,
                    &setup.securityPrivKeyLen);
        setup.timeout = 500000;
        setup.retries = 3;
        session_ = snmp_sess_open(&setup);
    }
    ~V3Session() {
        if (session_ != nullptr)
            snmp_sess_close(session_);
    }
    bool isOpen() const { return session_ != nullptr; }

    // The integer or text of one variable, or a description of the failure.
    std::string get(const std::vector<oid>& name) { return request(SNMP_MSG_GET, name, nullptr); }
    std::string setInteger(const std::vector<oid>& name, long value) {
        return request(SNMP_MSG_SET, name, &value);
    }

private:
    std::string request(int command, const std::vector<oid>& name, const long* value) {
        netsnmp_pdu* pdu = snmp_pdu_create(command);
        if (value != nullptr)
            snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_INTEGER, value, sizeof *value);
        else
            snmp_add_null_var(pdu, name.data(), name.size());
        netsnmp_pdu* answer = nullptr;
        const int status = snmp_sess_synch_response(session_, pdu, &answer);
        std::string result;
        if (status != STAT_SUCCESS)
            result = "failure " + std::to_string(status) + ": " +
                     snmp_api_errstring(snmp_sess_session(session_)->s_snmp_errno);
        else if (answer->errstat != SNMP_ERR_NOERROR)
            result = "error status " + std::to_string(answer->errstat);
        else if (answer->variables->type == ASN_INTEGER)
            result = std::to_string(*answer->variables->val.integer);
        else if (answer->variables->type == ASN_OCTET_STR)
            result.assign(reinterpret_cast<const char*>(answer->variables->val.string),
                          answer->variables->val_len);
        else
            result = "type " + std::to_string(answer->variables->type);
        if (answer != nullptr)
            snmp_free_pdu(answer);
        return result;
    }

    std::string peer_;
    std::string user_ = "saes";
    void* session_ = nullptr;
};

const std::vector<oid> sysName = {1, 3, 6, 1, 2, 1, 1, 5, 0};
const std::vector<oid> restart = {1, 3, 6, 1, 4, 1, 48213, 10, 37, 14, 3, 2, 1, 0};

TEST(ApsimSession, V3SessionWorksAgainAfterTheDeviceRestarts) {
    const ovtest::Apsim device(
        {"--restart-seconds", "1.2", "--v3-user", "saes:sha:sha-secret:aes:aes-secret"});
    ASSERT_TRUE(device.isRunning()) << device.error();
    V3Session session(device.peer());
    ASSERT_TRUE(session.isOpen());
    EXPECT_EQ(session.get(sysName), "ORW-3300AP");
    EXPECT_EQ(session.setInteger(restart, 1), "1");
    ASSERT_TRUE(device.waitForRestart(1));
    ASSERT_EQ(device.stateFact("engineBoots"), 2);
    // Same session, old boots and time: the agent's notInTimeWindow report resynchronises it.
    EXPECT_EQ(session.get(sysName), "ORW-3300AP");
    EXPECT_EQ(session.get(restart), "0");
}

} // namespace
