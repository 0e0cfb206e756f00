#include "OvBootCounter.h"
#include "OvException.h"
#include "OvSNMPSession.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <fstream>
#include <functional>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kEncodedAppId = ovboot::encodeEngineId("OvSNMP_PP_Application");

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
    bool asNobody; // a permission is what must stop it
    std::function<void(const std::string& folder)> prepare;
    std::int32_t code;
};

std::string counterIn(const std::string& folder) {
    return folder + "/OvSNMP_PP_BootCounter";
}

// The code that set-up raises, from a child process: as the user nobody when
// asked and we are root (tests run as root in CI, where a permission would stop
// nothing). 0 when nothing was raised, 1 when the text is not the counter's.
std::int32_t setupFailure(const std::string& folder, bool asNobody) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (asNobody && ::getuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        try {
            OvSNMPSetup(folder);
        } catch (const OvException& e) {
            ::_exit(e.text().find("boots counter") == std::string::npos ? 1 : -e.code() - 500);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) < 2 || WEXITSTATUS(status) >= 100)
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return -500 - WEXITSTATUS(status);
}

TEST(SessionSetup, RaisesTheBootCounterFailures) {
    snmptest::setUpEngine();
    const std::string otherEngines = "AB 3\n" + kEncodedAppId + " 4\nCD 5\n";
    const FailureCase cases[] = {
        {"a malformed line of ours cannot be loaded", false,
         [](const std::string& folder) {
             std::ofstream(counterIn(folder)) << kEncodedAppId << "\n";
         },
         -507},
        {"a counter nobody may read cannot be loaded", true,
         [&](const std::string& folder) {
             std::ofstream(counterIn(folder)) << otherEngines;
             ::chmod(counterIn(folder).c_str(), 0);
         },
         -507},
        {"a folder in the counter's place cannot be loaded", false,
         [](const std::string& folder) {
             QDir(QString::fromStdString(folder)).mkdir("OvSNMP_PP_BootCounter");
         },
         -507},
        {"a counter in a folder nobody may write cannot be saved", true,
         [&](const std::string& folder) {
             std::ofstream(counterIn(folder)) << otherEngines;
             ::chmod(folder.c_str(), 0555);
         },
         -508},
    };
    for (const FailureCase& c : cases) {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        ::chmod(folder.c_str(), 0777);
        c.prepare(folder);
        EXPECT_EQ(setupFailure(folder, c.asNobody), c.code) << c.name;
        ::chmod(folder.c_str(), 0700);
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
        const std::string expected =
            statePath + "/" + program_invocation_short_name + "/OvSNMP_PP_BootCounter";
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
