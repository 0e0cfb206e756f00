// The real executable, run as a station runs it, with every box answered at
// once (OV_DIALOGS=auto) and printed on standard error.
#include "ApsimFixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ModuleRun {
    int exitCode = -1;
    QString output;
};

class ExecutableTest : public ::testing::Test {
protected:
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("OV_DIALOGS", "auto");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("OV_STATION_CONFIG", dir.filePath("station.ini"));
        env.insert("XDG_RUNTIME_DIR", dir.path());
        return env;
    }
    void startModule(QProcess& process, const QStringList& arguments) {
        process.setProcessEnvironment(environment());
        process.setWorkingDirectory(dir.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(OV_MODULE_PATH), arguments);
        ASSERT_TRUE(process.waitForStarted());
    }
    ModuleRun run(const QStringList& arguments) {
        QProcess process;
        startModule(process, arguments);
        if (!process.waitForFinished(20000))
            process.kill();
        process.waitForFinished();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAll())};
    }
    // A station configuration that finds its profiles here, and a profile of
    // 127.0.0.1 that points at the device with SNMPv2c.
    void writeStationFor(const ovtest::Apsim& device) {
        QFile profile(dir.filePath("127.0.0.1.cfg"));
        ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
        profile.write(QStringLiteral("[Program Information]\nAgentPort=%1\nVersion=1\n"
                                     "SecurityModel=2\nSecurityLevel=0\nAuthProtocol=0\n"
                                     "PrivProtocol=0\n")
                          .arg(device.port())
                          .toUtf8());
        QFile station(dir.filePath("station.ini"));
        ASSERT_TRUE(station.open(QIODevice::WriteOnly));
        station.write(
            ("[SOFTWARE\\Orvane\\Panorel5.1\\MibFile]\nPath=" + dir.path() + "/\n").toUtf8());
    }
    QTemporaryDir dir;
};

TEST_F(ExecutableTest, RefusesToRunWithoutArgumentsOrWithBadIntegers) {
    const struct {
        const char* what;
        QStringList arguments;
        const char* shown;
    } cases[] = {
        {"no arguments", {}, "ORW-3300AP: This module is only used in the Panorel or HP-Openview."},
        {"version not a number",
         {"/I10.0.0.9", "/vx"},
         "ORW-3300AP: 'x' is not a valid integer value"},
        {"port past 32 bits",
         {"/I10.0.0.9", "/v3", "/t99999999999"},
         "ORW-3300AP: '99999999999' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        const ModuleRun result = run(c.arguments);
        EXPECT_NE(result.exitCode, 0) << c.what;
        EXPECT_TRUE(result.output.contains(QString::fromLatin1(c.shown)))
            << c.what << ": " << result.output.toStdString();
    }
}

TEST_F(ExecutableTest, ABootCounterItCannotReadStopsStartUp) {
    // Our engine's line without its count: the file is damaged.
    QByteArray line;
    for (const char octet : QByteArray("OvSNMP_PP_Application")) {
        line += char('@' + ((static_cast<unsigned char>(octet) >> 4) & 0x0F));
        line += char('@' + (static_cast<unsigned char>(octet) & 0x0F));
    }
    QFile counter(dir.filePath("OvSNMP_PP_BootCounter"));
    ASSERT_TRUE(counter.open(QIODevice::WriteOnly));
    counter.write("# boots\n" + line + "\n");
    counter.close();
    const ModuleRun result = run({"/I10.0.0.9", "/Rpublic"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.output.contains(
        "ORW-3300AP: (OvSNMP++) Error when loading SNMP engine boots counter!"))
        << result.output.toStdString();
}

TEST_F(ExecutableTest, AnAddressThatNamesNoDeviceKeepsTheModuleRunningUntilItIsClosed) {
    const char* addresses[] = {"/I10.0.0.300", "/I999.1.1.1", "/Inosuch.invalid", "/I"};
    for (const char* address : addresses) {
        SCOPED_TRACE(address);
        QProcess process;
        QProcessEnvironment env = environment();
        env.insert("OV_TIME_SCALE", "0.1"); // an LED poll every 300 ms
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(OV_MODULE_PATH), {QString::fromLatin1(address), "/Rmulvek"});
        ASSERT_TRUE(process.waitForStarted());
        // Several LED polls fail, and no box opens for them.
        EXPECT_FALSE(process.waitForFinished(1500));
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        const QString output = QString::fromLocal8Bit(process.readAll());
        EXPECT_FALSE(output.contains("ORW-3300AP:")) << output.toStdString();
    }
}

// Other engines' lines live in the same file: one the module cannot read stops
// start-up with its message instead of being replaced by a fresh one.
TEST_F(ExecutableTest, AnUnreadableBootCounterStopsStartUpAndStaysAsItWas) {
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0777), 0);
    const QString path = dir.filePath("OvSNMP_PP_BootCounter");
    QFile counter(path);
    ASSERT_TRUE(counter.open(QIODevice::WriteOnly));
    const QByteArray content = "# boots\nDOGF 7\nAB 3\n";
    counter.write(content);
    counter.close();
    // Owned by root and readable by root only: unreadable to the user nobody.
    ASSERT_EQ(::chmod(path.toLocal8Bit().constData(), root ? 0600 : 0), 0);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

    QProcess process;
    process.setProcessEnvironment(environment());
    process.setWorkingDirectory(dir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList arguments = {"/I10.0.0.9", "/Rpublic"};
    if (root)
        process.start("setpriv", QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                             QStringLiteral(OV_MODULE_PATH)} +
                                     arguments);
    else
        process.start(QStringLiteral(OV_MODULE_PATH), arguments);
    if (!process.waitForFinished(10000))
        process.kill();
    process.waitForFinished();
    const QString output = QString::fromLocal8Bit(process.readAll());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "it stopped by itself";
    EXPECT_EQ(process.exitCode(), 1) << output.toStdString();
    EXPECT_TRUE(
        output.contains("ORW-3300AP: (OvSNMP++) Error when loading SNMP engine boots counter!"))
        << output.toStdString();

    ASSERT_EQ(::chmod(path.toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(counter.open(QIODevice::ReadOnly)) << "the file is still there";
    EXPECT_EQ(counter.readAll(), content) << "byte for byte as it was";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before)
        << "no file was added";
}

TEST_F(ExecutableTest, HelpAndVersionPrintAndEnd) {
    const ModuleRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.startsWith("Usage: orw3300ap /I<address>"))
        << help.output.toStdString();
    const ModuleRun version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.output.contains("ORW-3300AP Management Module v1.00"));
}

TEST_F(ExecutableTest, OneModulePerDevice) {
    ovtest::Apsim device;
    ASSERT_TRUE(device.isRunning()) << device.error();
    writeStationFor(device);
    if (HasFatalFailure())
        return;

    QProcess first;
    startModule(first, {"/I127.0.0.1", "/Rmulvek", "/Wtrondax"});
    ASSERT_TRUE(ovtest::Apsim::waitUntil([&] { return !device.requests().empty(); }))
        << first.readAll().toStdString();

    const ModuleRun second = run({"/I127.0.0.1", "/Rmulvek", "/Wtrondax"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.output.contains("Warning: Another ORW3300AP module is running!"))
        << second.output.toStdString();

    // Another device runs beside it.
    QProcess other;
    startModule(other, {"/I127.0.0.2", "/Rmulvek"});
    EXPECT_FALSE(other.waitForFinished(1500));
    other.kill();
    other.waitForFinished();

    // The lock goes with the process, however it ends.
    first.kill();
    first.waitForFinished();
    QProcess third;
    startModule(third, {"/I127.0.0.1", "/Rmulvek", "/Wtrondax"});
    EXPECT_FALSE(third.waitForFinished(1500)) << third.readAll().toStdString();
    third.kill();
    third.waitForFinished();
}

// The trace file never reaches the station's switches: a name holding "/I"
// leaves the device address alone. OV_TRACE serves stations that pass only
// switches.
TEST_F(ExecutableTest, TracesTheLedPollIntoTheFileTheSwitchOrTheVariableNames) {
    ovtest::Apsim device;
    ASSERT_TRUE(device.isRunning()) << device.error();
    writeStationFor(device);
    if (HasFatalFailure())
        return;
    QDir(dir.path()).mkdir("Ix");
    const struct {
        const char* how;
        QStringList extra;
        const char* variable;
        QString file;
    } cases[] = {
        {"--trace FILE",
         {"--trace", dir.filePath("Ix/a.trace")},
         nullptr,
         dir.filePath("Ix/a.trace")},
        {"--trace=FILE",
         {"--trace=" + dir.filePath("Ix/b.trace")},
         nullptr,
         dir.filePath("Ix/b.trace")},
        {"OV_TRACE", {}, "c.trace", dir.filePath("c.trace")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        QProcess module;
        QProcessEnvironment env = environment();
        if (c.variable != nullptr)
            env.insert("OV_TRACE", c.variable);
        module.setProcessEnvironment(env);
        module.setWorkingDirectory(dir.path());
        module.setProcessChannelMode(QProcess::MergedChannels);
        module.start(QStringLiteral(OV_MODULE_PATH),
                     QStringList{"/I127.0.0.1", "/Rmulvek"} + c.extra + QStringList{"/Wtrondax"});
        ASSERT_TRUE(module.waitForStarted());
        QByteArray trace;
        EXPECT_TRUE(ovtest::Apsim::waitUntil([&] {
            QFile file(c.file);
            trace = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            return trace.contains("\tanswer\t");
        })) << module.readAll().toStdString();
        ::kill(static_cast<pid_t>(module.processId()), SIGTERM);
        ASSERT_TRUE(module.waitForFinished(10000));
        EXPECT_EQ(module.exitCode(), 0);
        EXPECT_TRUE(trace.contains(
            "\tGET\tv2c\tcommunity\t127.0.0.1:" + QByteArray::number(device.port()) + "\t"))
            << trace.toStdString();
        EXPECT_FALSE(trace.contains("mulvek"));
        EXPECT_EQ(QFile(c.file).permissions() &
                      ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
                  QFile::Permissions());
    }
}

TEST_F(ExecutableTest, ATraceItCannotWriteOrNoFileNameStopsStartUp) {
    const ModuleRun noName = run({"/I10.0.0.9", "/Rpublic", "--trace"});
    EXPECT_EQ(noName.exitCode, 2);
    EXPECT_TRUE(noName.output.contains("orw3300ap: --trace needs a file name"))
        << noName.output.toStdString();
    const ModuleRun folder = run({"/I10.0.0.9", "/Rpublic", "--trace", dir.path()});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_TRUE(folder.output.contains("ORW-3300AP: Cannot write the request trace " + dir.path()))
        << folder.output.toStdString();
}

TEST_F(ExecutableTest, UnwritableCurrentFolderKeepsTheBootCounterInTheStateFolder) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to drop privileges";
    QDir(dir.path()).mkdir("readonly");
    QDir(dir.path()).mkdir("state");
    const QString state = dir.filePath("state");
    ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0755), 0);
    ASSERT_EQ(::chown(state.toLocal8Bit().constData(), 65534, 65534), 0);
    QProcess process;
    QProcessEnvironment env = environment();
    env.insert("XDG_STATE_HOME", state);
    env.insert("XDG_RUNTIME_DIR", state);
    env.insert("HOME", state);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir.filePath("readonly"));
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                              QStringLiteral(OV_MODULE_PATH)});
    ASSERT_TRUE(process.waitForFinished(20000));
    const QString output = QString::fromLocal8Bit(process.readAll());
    EXPECT_TRUE(output.contains("This module is only used in the Panorel")) << output.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("readonly/OvSNMP_PP_BootCounter")));
    EXPECT_TRUE(QFile::exists(state + "/orw3300ap/OvSNMP_PP_BootCounter")) << output.toStdString();
}

} // namespace
