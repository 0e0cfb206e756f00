// The real orw3300ap-fleet against several simulated devices at once: one that
// answers, one that is silent, one that says it is another model, one that
// refuses a SET. Exit statuses, JSON documents and what reached each device.
#include "ApsimFixture.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

struct FleetRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

} // namespace

class FleetExecutable : public ::testing::Test {
protected:
    // Devices by role; the silent one drops every request.
    void SetUp() override {
        good = std::make_unique<ovtest::Apsim>();
        silent = std::make_unique<ovtest::Apsim>(std::vector<std::string>{"--drop-percent", "100"});
        other = std::make_unique<ovtest::Apsim>(
            std::vector<std::string>{"--set", "sysDescr=Brand X access point"});
        refusing = std::make_unique<ovtest::Apsim>(
            std::vector<std::string>{"--fail-set", "sysName=genErr"});
        for (const auto* device : {good.get(), silent.get(), other.get(), refusing.get()})
            ASSERT_TRUE(device->isRunning()) << device->error();
    }

    std::string name(const ovtest::Apsim& device) const {
        return "127.0.0.1:" + std::to_string(device.port());
    }

    // An inventory of the devices, all SNMPv2c, with short time-outs.
    std::string inventory(const std::vector<const ovtest::Apsim*>& devices,
                          const std::string& extraLine = {}) {
        const std::string path = dir.filePath("site.txt").toStdString();
        std::ofstream file(path);
        file << "# the test site\ngroup test -v 2c -t 0.3 -r 0\n";
        for (const auto* device : devices)
            file << name(*device) << "\n";
        file << extraLine;
        return path;
    }

    FleetRun run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("OV_STATION_CONFIG", dir.filePath("station.ini"));
        env.insert("XDG_STATE_HOME", dir.path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(OV_FLEET_PATH), arguments);
        if (!process.waitForFinished(30000))
            process.kill();
        process.waitForFinished();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    static QJsonObject deviceEntry(const FleetRun& result, const std::string& device) {
        for (const auto& entry : result.json()["devices"].toArray()) {
            if (entry.toObject()["device"].toString().toStdString() == device)
                return entry.toObject();
        }
        return {};
    }

    QTemporaryDir dir;
    std::unique_ptr<ovtest::Apsim> good, silent, other, refusing;
};

namespace {

QStringList args(std::initializer_list<std::string> words) {
    QStringList list;
    for (const auto& w : words)
        list << QString::fromStdString(w);
    return list;
}

} // namespace

TEST_F(FleetExecutable, StatusReportsEachDeviceForItself) {
    const std::string site = inventory({good.get(), silent.get(), other.get()});
    const FleetRun result = run(args({"--inventory", site, "--json", "status"}));
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    const struct {
        const ovtest::Apsim* device;
        bool ok;
        QString error; // the start of the failure's text
    } expected[] = {
        {good.get(), true, {}},
        {silent.get(), false, "(SNMPClass) SNMP request timed out!"},
        {other.get(), false, "not an ORW-3300AP"},
    };
    for (const auto& e : expected) {
        const QJsonObject entry = deviceEntry(result, name(*e.device));
        SCOPED_TRACE(name(*e.device));
        EXPECT_EQ(entry["ok"].toBool(), e.ok);
        EXPECT_TRUE(entry["error"].toString().startsWith(e.error))
            << entry["error"].toString().toStdString();
    }
    const QJsonObject answered = deviceEntry(result, name(*good));
    EXPECT_EQ(answered["model"].toString(), "ORW-3300AP");
    EXPECT_EQ(answered["firmware"].toString(),
              QString::fromStdString(good->stateValue("E.4.1.1.1.0")->text));
    EXPECT_EQ(answered["leds"].toObject()["power"].toString(), "on");
    EXPECT_EQ(answered["clients"].toObject()["11a"].toInt(), 1);
    EXPECT_EQ(answered["clients"].toObject()["11g"].toInt(), 2);
    EXPECT_EQ(result.json()["summary"].toObject()["failed"].toInt(), 2);
}

TEST_F(FleetExecutable, ExitStatusSaysWhetherEveryDeviceDidIt) {
    const std::string goodOnly = inventory({good.get()});
    const struct {
        const char* what;
        QStringList arguments;
        int exitCode;
        const char* err; // part of standard error
    } cases[] = {
        {"all answered", args({"--inventory", goodOnly, "status"}), 0, ""},
        {"unknown command", args({"--inventory", goodOnly, "reboot"}), 2, "unknown command"},
        {"no inventory and no profiles", args({"status"}), 2, "no device in the profile folder"},
        {"nothing matches", args({"--inventory", goodOnly, "--only", "10.*", "status"}), 2,
         "matches"},
        {"unknown variable", args({"--inventory", goodOnly, "get", "noSuchThing"}), 2,
         "\"noSuchThing\" is no variable of the device MIB"},
    };
    for (const auto& c : cases) {
        const FleetRun result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.what << ": " << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(c.err)) << c.what << ": " << result.err.toStdString();
    }
}

TEST_F(FleetExecutable, BadInventoryOrValueSendsNothing) {
    const struct {
        const char* what;
        std::string extraLine;
        QStringList command;
        const char* err;
    } cases[] = {
        {"bad inventory line", "127.0.0.1:1 -v 5\n", args({"status"}), "site.txt:4: -v takes"},
        {"value the window refuses", "", args({"set", "hIPAddress=127.0.0.1"}),
         "hIPAddress: Please input valid IP Address."},
        {"read-only variable", "", args({"set", "stLED=0"}), "stLED cannot be written"},
    };
    for (const auto& c : cases) {
        const std::string site = inventory({good.get()}, c.extraLine);
        const FleetRun result = run(args({"--inventory", site}) + c.command);
        EXPECT_EQ(result.exitCode, 2) << c.what;
        EXPECT_TRUE(result.err.contains(c.err)) << c.what << ": " << result.err.toStdString();
        EXPECT_TRUE(good->requests().empty()) << c.what;
    }
}

TEST_F(FleetExecutable, GetShowsValuesAsTheWindowsDo) {
    const std::string site = inventory({good.get(), silent.get()});
    const FleetRun result =
        run(args({"--inventory", site, "--json", "get", "adTransmitPower.1", "SystemName"}));
    EXPECT_EQ(result.exitCode, 1);
    const QJsonObject values = deviceEntry(result, name(*good))["values"].toObject();
    EXPECT_EQ(values["adTransmitPower.1"].toString(), "Full");
    EXPECT_EQ(values["SystemName"].toString(), "ORW-3300AP");
    EXPECT_TRUE(deviceEntry(result, name(*silent))["values"].isNull());
}

TEST_F(FleetExecutable, SetWritesEveryDeviceThatTakesItInOneRequest) {
    const std::string site = inventory({good.get(), refusing.get()});
    const FleetRun result = run(args({"--inventory", site, "--json", "--restart", "set",
                                      "SystemName=lab", "adTransmitPower.2=Half(-3dB)"}));
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_TRUE(deviceEntry(result, name(*good))["ok"].toBool());
    EXPECT_TRUE(deviceEntry(result, name(*good))["restarted"].toBool());
    const QJsonObject refused = deviceEntry(result, name(*refusing));
    EXPECT_FALSE(refused["ok"].toBool());
    EXPECT_TRUE(refused["error"].toString().contains("(SystemName)"))
        << refused["error"].toString().toStdString();
    EXPECT_FALSE(refused["restarted"].toBool());

    ASSERT_TRUE(good->stateValue("1.3.6.1.2.1.1.5.0") && good->stateValue("E.2.3.1.10.2"));
    EXPECT_EQ(good->stateValue("1.3.6.1.2.1.1.5.0")->text, "lab");
    EXPECT_EQ(good->stateValue("E.2.3.1.10.2")->text, "2");
    ASSERT_TRUE(good->waitForRestart(1));
    // One SET with both values, then the restart command.
    std::vector<std::vector<std::string>> sets;
    for (const auto& request : good->requests()) {
        if (request.operation == "SET")
            sets.push_back(request.oids);
    }
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0].size(), 2u);
    EXPECT_EQ(sets[1], std::vector<std::string>{ovtest::expandOid("E.3.2.1.0")});
    EXPECT_EQ(refusing->stateFact("restarts"), 0);
}

TEST_F(FleetExecutable, WithoutInventoryTheStationsProfilesAreTheSite) {
    std::ofstream(dir.filePath("127.0.0.1.cfg").toStdString())
        << "[Program Information]\nAgentPort=" << good->port()
        << "\nVersion=1\nSecurityModel=2\nSecurityLevel=0\nAuthProtocol=0\nPrivProtocol=0\n";
    std::ofstream(dir.filePath("station.ini").toStdString())
        << "[SOFTWARE\\Orvane\\Panorel5.1\\MibFile]\nPath=" << dir.path().toStdString() << "/\n";
    const FleetRun result = run(args({"--json", "status"}));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(deviceEntry(result, "127.0.0.1")["ok"].toBool()) << result.out.toStdString();
    ASSERT_FALSE(good->requests().empty());
    EXPECT_EQ(good->requests().front().version, "v2c");
}

TEST_F(FleetExecutable, InterruptStopsAtOnceAndSaysWhatWasDone) {
    const struct {
        QStringList command;
        const char* error; // of the silent device
        bool sent;
    } cases[] = {
        {args({"status"}), "interrupted", false},
        {args({"set", "SystemName=lab"}), "interrupted: sent, answer not awaited", true},
    };
    for (const auto& c : cases) {
        // A long time-out: the silent device's answer would keep the command for minutes.
        const std::string site = inventory({silent.get()});
        const std::size_t before = silent->requests().size();
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_STATE_HOME", dir.path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(OV_FLEET_PATH),
                      args({"--inventory", site, "--json", "-t", "60"}) + c.command);
        ASSERT_TRUE(process.waitForStarted());
        ASSERT_TRUE(ovtest::Apsim::waitUntil([&] { return silent->requests().size() > before; }));
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 1);
        const FleetRun result{process.exitCode(), process.readAllStandardOutput(), {}};
        EXPECT_TRUE(result.json()["summary"].toObject()["interrupted"].toBool());
        const QJsonObject entry = deviceEntry(result, name(*silent));
        EXPECT_EQ(entry["error"].toString(), c.error);
        EXPECT_EQ(entry["sent"].toBool(), c.sent); // status has no "sent": false
        // Nothing went out after the interrupt.
        EXPECT_EQ(silent->requests().size(), before + 1);
    }
}

namespace {

std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

} // namespace

TEST_F(FleetExecutable, ExportsAreStableAndAFailedDeviceKeepsItsLast) {
    const std::string site = inventory({good.get(), silent.get()});
    const std::string folder = dir.filePath("exports").toStdString();
    const std::string goodFile = folder + "/" + name(*good) + ".ini";
    const std::string silentFile = folder + "/" + name(*silent) + ".ini";
    std::filesystem::create_directories(folder);
    std::ofstream(silentFile) << "the last good export\n";

    EXPECT_EQ(run(args({"--inventory", site, "export", folder})).exitCode, 1);
    const std::string first = fileText(goodFile);
    EXPECT_EQ(run(args({"--inventory", site, "export", folder})).exitCode, 1);
    EXPECT_EQ(fileText(goodFile), first);
    EXPECT_EQ(fileText(silentFile), "the last good export\n");
    EXPECT_NE(first.find("\nSystemName=ORW-3300AP\n"), std::string::npos) << first;
    EXPECT_EQ(first.find("Password="), std::string::npos);
    EXPECT_EQ(std::filesystem::status(goodFile).permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0644));

    const std::string goodOnly = inventory({good.get()});
    EXPECT_EQ(run(args({"--inventory", goodOnly, "--secrets", "export", folder})).exitCode, 0);
    EXPECT_NE(fileText(goodFile).find("\nPassword="), std::string::npos);
    EXPECT_EQ(std::filesystem::status(goodFile).permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0600));
}

TEST_F(FleetExecutable, ApplySendsOnlyWhatDiffers) {
    const std::string site = inventory({good.get(), other.get()});
    const std::string folder = dir.filePath("exports").toStdString();
    const std::string template_ = folder + "/" + name(*good) + ".ini";
    ASSERT_EQ(run(args({"--inventory", inventory({good.get()}), "export", folder})).exitCode, 0);
    // The wanted site: the exported device with another name and channel.
    std::string text = fileText(template_);
    text.replace(text.find("SystemName=ORW-3300AP"), 21, "SystemName=lobby");
    text.replace(text.find("adChannel.1=36"), 14, "adChannel.1=40");
    const std::string wanted = folder + "/wanted.ini";
    std::ofstream(wanted) << text;

    const FleetRun diff = run(args({"--inventory", site, "--json", "diff", wanted, name(*good)}));
    EXPECT_EQ(diff.exitCode, 1);
    const QJsonArray found = diff.json()["differences"].toArray();
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0].toObject()["key"].toString(), "SystemName");
    EXPECT_EQ(found[1].toObject()["b"].toString(), "36");

    const std::size_t before = good->requests().size();
    const FleetRun dryRun =
        run(args({"--inventory", inventory({good.get()}), "--json", "--dry-run", "apply", wanted}));
    EXPECT_EQ(dryRun.exitCode, 0);
    EXPECT_EQ(deviceEntry(dryRun, name(*good))["changes"].toArray().size(), 2);
    for (std::size_t i = before; i < good->requests().size(); ++i)
        EXPECT_NE(good->requests()[i].operation, "SET");

    const FleetRun applied = run(args({"--inventory", inventory({good.get()}), "apply", wanted}));
    EXPECT_EQ(applied.exitCode, 0) << applied.out.toStdString();
    EXPECT_EQ(good->stateValue("1.3.6.1.2.1.1.5.0")->text, "lobby");
    EXPECT_EQ(good->stateValue("E.2.3.1.2.1")->text, "40");
    EXPECT_EQ(good->requests().back().operation, "SET");
    EXPECT_EQ(good->requests().back().oids.size(), 2u);
    EXPECT_EQ(run(args({"--inventory", site, "diff", wanted, name(*good)})).exitCode, 0);

    std::ofstream(folder + "/profile.cfg") << "[Program Information]\nAgentPort=161\n";
    const FleetRun refused = run(args({"--inventory", site, "apply", folder + "/profile.cfg"}));
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("profile.cfg:1: not an export")) << refused.err.toStdString();
}

TEST(FleetFaults, ADeviceThatAnswersGarbageIsReportedForItself) {
    const struct {
        const char* what;
        std::vector<std::string> apsim;
        bool ok;
        const char* error; // part of the failure's text
    } cases[] = {
        {"LED state of another type", {"--set", "stLED=s:85"}, true, ""},
        {"error status", {"--fail", "stLED=genErr"}, false, "(SNMP)"},
        {"too big", {"--too-big", "all"}, false, "(SNMP)"},
        {"client row named short",
         {"--answer-oid", "E.4.5.2.1.2.2.1=E.4.5.2.1.2.2"},
         false,
         "the client table names a row wrongly"},
        {"client row that does not grow",
         {"--answer-oid", "E.4.5.2.1.2.1.1=E.4.5.2.1.2.1.1.9"},
         false,
         "the client table names a row wrongly"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        ovtest::Apsim device(c.apsim);
        ASSERT_TRUE(device.isRunning()) << device.error();
        const std::string site = dir.filePath("site.txt").toStdString();
        std::ofstream(site) << "127.0.0.1:" << device.port() << " -v 2c -t 0.3 -r 0\n";
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_STATE_HOME", dir.path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(OV_FLEET_PATH),
                      args({"--inventory", site, "--json", "status"}));
        ASSERT_TRUE(process.waitForFinished(30000));
        const QJsonObject entry = QJsonDocument::fromJson(process.readAllStandardOutput())
                                      .object()["devices"]
                                      .toArray()
                                      .first()
                                      .toObject();
        EXPECT_EQ(process.exitCode(), c.ok ? 0 : 1) << c.what;
        EXPECT_EQ(entry["ok"].toBool(), c.ok) << c.what;
        EXPECT_TRUE(entry["error"].toString().contains(c.error))
            << c.what << ": " << entry["error"].toString().toStdString();
    }
}
