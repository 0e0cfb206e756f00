#include "OvIni.h"
#include "OvInstanceLock.h"
#include "OvStartup.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

namespace {

OvStartupValues defaults() {
    OvStartupValues v;
    v.device = {"127.0.0.1", 161};
    v.security.version = 0;
    v.security.readCommunity = "mulvek";
    v.security.writeCommunity = "trondax";
    v.security.securityModel = 1;
    v.security.securityLevel = 1;
    v.security.authProtocol = 1;
    v.security.privProtocol = 1;
    return v;
}

class StartupTest : public ::testing::Test {
protected:
    std::string folder() const { return dir_.path().toStdString() + "/"; }
    void writeFile(const std::string& name, const std::string& content) {
        std::ofstream(folder() + name, std::ios::binary) << content;
    }
    OvStartupValues run(const std::vector<std::string>& arguments) {
        OvStartupValues v = defaults();
        OvApplyArguments(v, arguments, folder());
        return v;
    }
    QTemporaryDir dir_;
};

const char* kProfileV1 = "[Program Information]\nAgentPort=2161\nVersion=1\nSecurityModel=3\n"
                         "SecurityLevel=0\nAuthProtocol=0\nPrivProtocol=0\n";

const char* kProfileV3 = "[program information]\r\nagentport = 1161 \r\nVersion=3\r\n"
                         "ContextName=\r\nContextEngineID=80001f88\r\nSecurityModel=3\r\n"
                         "SecurityLevel=2\r\nSecurityName=operator\r\nAuthProtocol=1\r\n"
                         "PrivProtocol=2\r\nAuthPassword=\"authpass1\"\r\nPrivPassword=\r\n";

struct ArgumentCase {
    const char* what;
    const char* profile; // written as "<profile folder>10.0.0.5.cfg", or none
    std::vector<std::string> arguments;
    std::function<void(const OvStartupValues&)> check;
};

TEST_F(StartupTest, CommandLineCases) {
    const ArgumentCase cases[] = {
        {"address, communities and version",
         nullptr,
         {"/I10.0.0.5", "/Rpublic", "/Wprivate", "/v1"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.agentAddressText, "10.0.0.5");
             EXPECT_EQ(v.device.agentAddress, "10.0.0.5");
             EXPECT_EQ(v.device.agentPort, 161);
             EXPECT_EQ(v.security.readCommunity, "public");
             EXPECT_EQ(v.security.writeCommunity, "private");
             EXPECT_EQ(v.security.version, 1);
         }},
        {"port ignored below version 3",
         nullptr,
         {"/I10.0.0.5", "/v1", "/t1161"},
         [](const OvStartupValues& v) { EXPECT_EQ(v.device.agentPort, 161); }},
        {"version 3 switches",
         nullptr,
         {"/I10.0.0.5", "/v3", "/t1161", "/nadmin", "/l2", "/a1", "/p3", "/Aauthpass", "/Pprivpass",
          "/cctx", "/d8000", "/m3"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.device.agentPort, 1161);
             EXPECT_EQ(v.security.securityName, "admin");
             EXPECT_EQ(v.security.securityLevel, 2); // /l is stored unchanged
             EXPECT_EQ(v.security.authProtocol, 2);  // /a and /p add one
             EXPECT_EQ(v.security.privProtocol, 4);
             EXPECT_EQ(v.security.authPassword, "authpass");
             EXPECT_EQ(v.security.privPassword, "privpass");
             EXPECT_EQ(v.scope.contextName, "ctx");
             EXPECT_EQ(v.scope.contextEngineId, "8000");
             EXPECT_EQ(v.security.securityModel, 3);
         }},
        {"profile level reloaded, last /l wins",
         kProfileV3,
         {"/I10.0.0.5", "/v3", "/t1161", "/nadmin", "/l2"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.security.securityLevel, 2);
             EXPECT_EQ(v.security.securityName, "operator"); // reloaded before /l2
             EXPECT_EQ(v.device.agentPort, 1161);
             EXPECT_EQ(v.security.authProtocol, 2);
             EXPECT_EQ(v.security.privProtocol, 3);
             EXPECT_EQ(v.security.authPassword, "authpass1");
             EXPECT_EQ(v.scope.contextEngineId, "80001f88");
             EXPECT_EQ(v.profileVersionText, "3");
         }},
        {"profile level when the profile has the last word",
         kProfileV3,
         {"/I10.0.0.5", "/l2", "/v3"},
         [](const OvStartupValues& v) { EXPECT_EQ(v.security.securityLevel, 3); }},
        {"profile version 1 hides /t",
         kProfileV1,
         {"/I10.0.0.5", "/v3", "/t1161"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.security.version, 1);
             EXPECT_EQ(v.device.agentPort, 2161);
             EXPECT_EQ(v.security.securityLevel, 1); // "0" leaves it alone
         }},
        {"profile never sets communities",
         kProfileV1,
         {"/I10.0.0.5", "/Rro", "/Wrw"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.security.readCommunity, "ro");
             EXPECT_EQ(v.security.writeCommunity, "rw");
         }},
        {"late /I: earlier arguments saw no profile",
         kProfileV1,
         {"/v3", "/t1161", "/I10.0.0.5"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.security.version, 3);
             EXPECT_EQ(v.device.agentPort, 1161);
         }},
        {"/R holding /W sets only the read community",
         nullptr,
         {"/Rone/Wtwo"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.security.readCommunity, "one/Wtwo");
             EXPECT_EQ(v.security.writeCommunity, "trondax");
         }},
        {"empty read community",
         nullptr,
         {"/R"},
         [](const OvStartupValues& v) { EXPECT_EQ(v.security.readCommunity, ""); }},
        {"no /I keeps the default address",
         nullptr,
         {"/v1"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.device.agentAddress, "127.0.0.1");
             EXPECT_EQ(v.agentAddressText, "");
         }},
        {"a password holding /I stays a password",
         nullptr,
         {"/I10.0.0.5", "/v3", "/Asecret/Ix"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.agentAddressText, "10.0.0.5");
             EXPECT_EQ(v.security.authPassword, "secret/Ix");
         }},
        {"a version-3 switch below version 3 is no address either",
         nullptr,
         {"/I10.0.0.5", "/Asecret/Ix"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.agentAddressText, "10.0.0.5");
             EXPECT_EQ(v.security.authPassword, "");
         }},
        {"switches found inside other arguments",
         nullptr,
         {"-x/I10.1.1.1", "--/v3", "x/nuser"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.agentAddressText, "10.1.1.1");
             EXPECT_EQ(v.security.version, 3);
             EXPECT_EQ(v.security.securityName, "user");
         }},
        {"switches are case-sensitive",
         nullptr,
         {"/r", "/V3", "/i1.2.3.4"},
         [](const OvStartupValues& v) {
             EXPECT_EQ(v.security.readCommunity, "mulvek");
             EXPECT_EQ(v.security.version, 0);
             EXPECT_EQ(v.agentAddressText, "");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(dir_.path()).remove("10.0.0.5.cfg");
        if (c.profile != nullptr)
            writeFile("10.0.0.5.cfg", c.profile);
        c.check(run(c.arguments));
    }
}

TEST_F(StartupTest, ConversionErrors) {
    const struct {
        const char* what;
        const char* profile;
        std::vector<std::string> arguments;
    } cases[] = {
        {"letters for the version", nullptr, {"/vx"}},
        {"empty version", nullptr, {"/v"}},
        {"version past 32 bits", nullptr, {"/v4294967296"}},
        {"letters for the port", nullptr, {"/v3", "/t16x"}},
        {"letters for the auth protocol", nullptr, {"/v3", "/a"}},
        {"empty AgentPort in a profile",
         "[Program Information]\nVersion=1\nSecurityModel=1\n",
         {"/I10.0.0.5", "/v1"}},
        {"letters for SecurityLevel",
         "[Program Information]\nAgentPort=161\nVersion=3\nSecurityModel=3\nSecurityLevel=x\n",
         {"/I10.0.0.5", "/v3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(dir_.path()).remove("10.0.0.5.cfg");
        if (c.profile != nullptr)
            writeFile("10.0.0.5.cfg", c.profile);
        EXPECT_THROW(run(c.arguments), OvConversionError);
    }
    try {
        run({"/vthree"});
    } catch (const OvConversionError& e) {
        EXPECT_STREQ(e.what(), "'three' is not a valid integer value");
    }
}

TEST_F(StartupTest, StationFolders) {
    const struct {
        const char* what;
        const char* config;
        const char* moduleFolder;
        const char* profileFolder;
    } cases[] = {
        {"nothing configured", "", "", ""},
        {"help file names the module folder",
         "[SOFTWARE\\Orvane\\Modules\\HelpPath]\n1.3.6.1.4.1.48213.10.37.14=/opt/orw/"
         "ORW3300A.HLP\n",
         "/opt/orw/", ""},
        {"short help path",
         "[software\\orvane\\modules\\helppath]\n1.3.6.1.4.1.48213.10.37.14=x.hlp\n", "", ""},
        {"station executable folder",
         "[SOFTWARE\\Orvane\\Panorel5.1\\ExePath]\nPath=/opt/panorel/bin/\n", "",
         "/opt/panorel/bin/../Conf/MBF/"},
        {"profile path replaces it",
         "[SOFTWARE\\Orvane\\Panorel5.1\\ExePath]\nPath=/opt/panorel/bin/\n"
         "[SOFTWARE\\Orvane\\Panorel5.1\\MibFile]\npath=/var/lib/panorel/profiles\n",
         "", "/var/lib/panorel/profiles"},
        {"executable key without its value", "[SOFTWARE\\Orvane\\Panorel5.1\\ExePath]\n", "",
         "../Conf/MBF/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile("station.ini", c.config);
        const OvStationFolders folders = OvReadStationFolders(folder() + "station.ini");
        EXPECT_EQ(folders.moduleFolder, c.moduleFolder);
        EXPECT_EQ(folders.profileFolder, c.profileFolder);
        // The module's own key is created when missing.
        EXPECT_TRUE(OvIni(folder() + "station.ini").HasSection(ovstation::helpPathKey));
    }
}

TEST_F(StartupTest, IniValues) {
    writeFile("p.ini", "; comment\n[A]\nkey=  first \n KEY = second\n[a]\nother=x\n[B]\n"
                       "quoted=\"  spaced  \"\nlong=" +
                           std::string(5000, 'z') + "\nempty=\n");
    const OvIni ini(folder() + "p.ini");
    EXPECT_EQ(ini.Read("a", "Key"), "first");
    EXPECT_EQ(ini.Read("A", "other", "none"), "none"); // only the first [A] counts
    EXPECT_EQ(ini.Read("B", "quoted"), "spaced");
    EXPECT_EQ(ini.Read("B", "long").size(), 4095u);
    EXPECT_EQ(ini.Read("B", "empty", "dflt"), "dflt");
    EXPECT_EQ(ini.Read("C", "key", "dflt"), "dflt");
}

TEST_F(StartupTest, CatalogFolderFoundWithoutRegardToCase) {
    QDir(dir_.path()).mkdir("ErrMsg");
    EXPECT_EQ(OvFindFolderIgnoringCase(folder(), "errmsg"), "ErrMsg");
    EXPECT_EQ(OvFindFolderIgnoringCase(folder(), "errMSg"), "ErrMsg");
    EXPECT_EQ(OvFindFolderIgnoringCase(folder(), "missing"), "missing");
}

// Beside the executable (a build tree, the station's module folder), else the
// installed layout: <prefix>/bin/orw3300ap and <prefix>/share/orw3300ap/errMSg.
TEST_F(StartupTest, CatalogsBesideTheExecutableOrInTheInstalledDataFolder) {
    QDir root(dir_.path());
    root.mkpath("usr/bin");
    root.mkpath("usr/share/orw3300ap/errMSg");
    root.mkpath("module/ErrMsg");
    const std::string base = dir_.path().toStdString();
    EXPECT_EQ(OvExecutableCatalogFolder(base + "/usr/bin"), base + "/usr/share/orw3300ap/errMSg");
    EXPECT_EQ(OvExecutableCatalogFolder(base + "/module"), base + "/module/ErrMsg");
}

TEST(TraceOption, IsTakenOutOfTheStationSwitches) {
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        std::string file;
        std::vector<std::string> left;
    } cases[] = {
        {"none", {"/I10.0.0.5", "/Rpublic"}, "", {"/I10.0.0.5", "/Rpublic"}},
        {"separate", {"/I10.0.0.5", "--trace", "/tmp/Ix", "/Rp"}, "/tmp/Ix", {"/I10.0.0.5", "/Rp"}},
        {"joined", {"--trace=/srv/R/t", "/I10.0.0.5"}, "/srv/R/t", {"/I10.0.0.5"}},
        {"the last wins", {"--trace", "a", "--trace=b"}, "b", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        EXPECT_EQ(OvTakeTraceOption(arguments), c.file) << c.what;
        EXPECT_EQ(arguments, c.left) << c.what;
    }
    for (std::vector<std::string> bad :
         {std::vector<std::string>{"/I10.0.0.5", "--trace"}, {"--trace="}, {"--trace", ""}})
        EXPECT_THROW(OvTakeTraceOption(bad), std::invalid_argument);
}

// docs/orw3300ap.md is the source of --help and the manual page: its table
// holds every switch the command line takes, in the order they are looked for.
TEST(Switches, ThePageListsEverySwitch) {
    std::ifstream page(OV_DOCS_DIR "/orw3300ap.md");
    ASSERT_TRUE(page);
    std::vector<std::string> listed;
    bool switches = false;
    for (std::string line; std::getline(page, line);) {
        if (line.rfind("## ", 0) == 0)
            switches = line == "## Switches";
        else if (switches && line.rfind("| `/", 0) == 0)
            listed.push_back(line.substr(3, 2));
    }
    EXPECT_EQ(listed, OvSwitchNames());
}

// Runs the lock in a child process; its exit status tells whether it got it.
bool childGetsLock(const std::string& title) {
    const pid_t pid = fork();
    if (pid == 0) {
        OvInstanceLock lock(title);
        _exit(lock.held() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(InstanceLock, OneModulePerTitleAcrossProcesses) {
    const std::string title = "ORW-3300AP : 10.9.8.7/" + std::to_string(getpid());
    {
        OvInstanceLock first(title);
        ASSERT_TRUE(first.held());
        EXPECT_FALSE(childGetsLock(title));
        EXPECT_TRUE(childGetsLock(title + "x")); // another address runs
    }
    EXPECT_TRUE(childGetsLock(title));

    // A module that dies without cleaning up does not block the next start.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        OvInstanceLock lock(title);
        char c = lock.held() ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    EXPECT_FALSE(OvInstanceLock(title).held());
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(OvInstanceLock(title).held());
}

} // namespace
