#include "OvBootCounter.h"
#include "OvException.h"
#include "OvSNMPSession.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kEncoded = ovboot::encodeEngineId("OvSNMP_PP_Application");

std::uint32_t storedBoots(const std::string& folder) {
    std::uint32_t boots = 0;
    ovboot::getBootCounter(folder + "/OvSNMP_PP_BootCounter", "OvSNMP_PP_Application", boots);
    return boots;
}

TEST(SessionSetup, FirstStartWritesBootsOneAndEveryStartOneMore) {
    snmptest::setUpEngine();
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    OvSNMPSetup(folder);
    EXPECT_EQ(storedBoots(folder), 1u);
    OvSNMPSetup(folder + "/");
    EXPECT_EQ(storedBoots(folder), 2u);
}

TEST(SessionSetup, ResetsTheSessionRecordsToTheirDefaults) {
    snmptest::setUpEngine();
    OvSNMPDevice.agentAddress = "10.1.1.1";
    OvSNMPSecurity.version = 3;
    OvSNMPSecurity.authPassword = "changed!";
    OvSNMPDefaultTimeout = 7;
    QTemporaryDir dir;
    OvSNMPSetup(dir.path().toStdString());
    EXPECT_EQ(OvSNMPDevice.agentAddress, "127.0.0.1");
    EXPECT_EQ(OvSNMPDevice.agentPort, 161);
    EXPECT_TRUE(OvSNMPScope.contextEngineId.empty());
    EXPECT_TRUE(OvSNMPScope.contextName.empty());
    EXPECT_EQ(OvSNMPSecurity.version, 0);
    EXPECT_EQ(OvSNMPSecurity.readCommunity, "mulvek");
    EXPECT_EQ(OvSNMPSecurity.writeCommunity, "trondax");
    EXPECT_EQ(OvSNMPSecurity.securityModel, 1);
    EXPECT_EQ(OvSNMPSecurity.securityLevel, 1);
    EXPECT_TRUE(OvSNMPSecurity.securityName.empty());
    EXPECT_TRUE(OvSNMPSecurity.authPassword.empty());
    EXPECT_TRUE(OvSNMPSecurity.privPassword.empty());
    EXPECT_EQ(OvSNMPSecurity.authProtocol, 1);
    EXPECT_EQ(OvSNMPSecurity.privProtocol, 1);
    EXPECT_EQ(OvSNMPDefaultTimeout, 100);
}

struct FailureCase {
    const char* name;
    std::function<void(const std::string& folder)> prepare;
    std::int32_t code;
};

TEST(SessionSetup, RaisesTheBootCounterFailures) {
    snmptest::setUpEngine();
    const FailureCase cases[] = {
        {"a malformed line of ours cannot be loaded",
         [](const std::string& folder) {
             std::ofstream(folder + "/OvSNMP_PP_BootCounter") << kEncoded << "\n";
         },
         -507},
        {"a counter that cannot be replaced cannot be saved",
         [](const std::string& folder) {
             QDir(QString::fromStdString(folder)).mkdir("OvSNMP_PP_BootCounter");
         },
         -508},
    };
    for (const FailureCase& c : cases) {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        c.prepare(folder);
        try {
            OvSNMPSetup(folder);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const OvException& e) {
            EXPECT_EQ(e.code(), c.code) << c.name;
            EXPECT_NE(e.text().find("boots counter"), std::string::npos) << c.name;
        }
    }
}

// As an unprivileged user in a read-only current folder, the counter lives in the
// user's state folder under the executable's name.
TEST(SessionSetup, UnwritableCurrentFolderUsesTheStateFolder) {
    QTemporaryDir readOnly;
    QTemporaryDir state;
    ::chmod(readOnly.path().toLocal8Bit().constData(), 0555);
    ::chmod(state.path().toLocal8Bit().constData(), 0777);
    const std::string statePath = state.path().toStdString();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(readOnly.path().toLocal8Bit().constData()) != 0)
            ::_exit(2);
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        if (::access(".", W_OK) == 0)
            ::_exit(4);
        ::setenv("XDG_STATE_HOME", statePath.c_str(), 1);
        const std::string path = OvBootCounterPath("");
        const std::string expected = statePath + "/snmp_session_tests/OvSNMP_PP_BootCounter";
        if (path != expected)
            ::_exit(5);
        if (ovboot::saveBootCounter(path, "x", 1) != ovboot::ok)
            ::_exit(6);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
