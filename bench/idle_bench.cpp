// Runs the real module against the simulated access point, as a station starts
// it, with no window open beyond the main one: it only polls its LEDs and the
// device facts. Measures the processor time it takes over a stated period
// (utime + stime of /proc/<pid>/stat) and prints it as a share of one core,
// with the main thread's wake-ups per second and the requests it sent. Then
// the same with the trends sampled from the start ([Trends] Sample=always, the
// window closed), and with the trends window open (this program, built on the
// module's main window, opens it: the module has no switch that does).
//
//     idle_bench [seconds]      (default 30, each of the three)
#include "ApsimFixture.h"
#include "OvGuard.h"
#include "TMainForm.h"
#include "TTrendsForm.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include <unistd.h>

namespace {

constexpr int kDefaultSeconds = 30;
constexpr int kWarmUpMs = 4000;

struct Sample {
    long long cpuTicks = 0; // utime + stime, in clock ticks
    long long wakeUps = 0;  // voluntary context switches of the main thread
    double wallSeconds = 0;
};

std::optional<long long> cpuTicksOf(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = stat.readAll();
    // The command name may hold blanks: the fields follow its closing parenthesis.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return std::nullopt;
    // Fields 14 and 15 of the line are 12 and 13 after the state (field 3).
    return fields[11].toLongLong() + fields[12].toLongLong();
}

long long wakeUpsOf(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("voluntary_ctxt_switches:"))
            return line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return 0;
}

std::optional<Sample> sample(qint64 pid) {
    const auto ticks = cpuTicksOf(pid);
    if (!ticks)
        return std::nullopt;
    Sample s;
    s.cpuTicks = *ticks;
    s.wakeUps = wakeUpsOf(pid);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    s.wallSeconds = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    return s;
}

bool writeFile(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

struct Figures {
    double wall = 0, cpuSeconds = 0, wakeUpsPerSecond = 0, requestsPerSecond = 0;
};

// The module with its main window and the trends window open, as a child.
int runWithTrendsWindow(int argc, char** argv) {
    OvApplication app(argc, argv);
    ov::installGeneralErrorHandler();
    TMainForm mainForm;
    std::optional<int> exitStatus;
    const std::vector<std::string> arguments(argv + 2, argv + argc);
    if (!ov::runGuarded([&] { exitStatus = mainForm.FormCreate(arguments); }) || exitStatus)
        return 1;
    mainForm.show();
    TTrendsForm trends(mainForm.trendSampler(), &mainForm);
    trends.show();
    return app.exec();
}

std::optional<Figures> measure(const ovtest::Apsim& agent, const QString& folder,
                               const QString& program, const QStringList& arguments, int seconds) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("OV_DIALOGS", "auto");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("OV_STATION_CONFIG", folder + "/station.ini");
    env.insert("XDG_RUNTIME_DIR", folder);
    QProcess module;
    module.setProcessEnvironment(env);
    module.setWorkingDirectory(folder);
    module.setProcessChannelMode(QProcess::ForwardedChannels);
    module.start(program, arguments + QStringList{"/I127.0.0.1", "/Rmulvek", "/Wtrondax"});
    if (!module.waitForStarted()) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(program));
        return std::nullopt;
    }
    const qint64 pid = module.processId();
    const std::size_t requestsAtStart = agent.requests().size();
    if (!ovtest::Apsim::waitUntil([&] { return agent.requests().size() > requestsAtStart; })) {
        std::fprintf(stderr, "the module never polled the device\n");
        return std::nullopt;
    }
    // Start-up (catalogs, window, first requests) is not what is measured.
    QThread::msleep(kWarmUpMs);

    const std::size_t requestsBefore = agent.requests().size();
    const auto before = sample(pid);
    QThread::sleep(static_cast<unsigned long>(seconds));
    const auto after = sample(pid);
    const std::size_t requestsAfter = agent.requests().size();
    module.kill();
    module.waitForFinished();
    if (!before || !after) {
        std::fprintf(stderr, "the module ended while it was measured\n");
        return std::nullopt;
    }
    Figures f;
    f.wall = after->wallSeconds - before->wallSeconds;
    f.cpuSeconds = static_cast<double>(after->cpuTicks - before->cpuTicks) /
                   static_cast<double>(sysconf(_SC_CLK_TCK));
    f.wakeUpsPerSecond = static_cast<double>(after->wakeUps - before->wakeUps) / f.wall;
    f.requestsPerSecond = static_cast<double>(requestsAfter - requestsBefore) / f.wall;
    return f;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--trends-window")
        return runWithTrendsWindow(argc, argv);
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : kDefaultSeconds;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: idle_bench [seconds]\n");
        return 2;
    }
    // Its request log is read to count the module's polls.
    ovtest::Apsim agent;
    if (!agent.isRunning()) {
        std::fprintf(stderr, "%s\n", agent.error().c_str());
        return 1;
    }
    QTemporaryDir dir;
    // A station configuration and a device profile, as the management station keeps them.
    const QString station = "[SOFTWARE\\Orvane\\Panorel5.1\\MibFile]\nPath=" + dir.path() + "/\n";
    const bool written =
        writeFile(dir.filePath("127.0.0.1.cfg"),
                  QStringLiteral("[Program Information]\nAgentPort=%1\nVersion=1\n"
                                 "SecurityModel=2\nSecurityLevel=0\nAuthProtocol=0\n"
                                 "PrivProtocol=0\n")
                      .arg(agent.port()));
    if (!written) {
        std::fprintf(stderr, "cannot write the station files in %s\n", qPrintable(dir.path()));
        return 1;
    }
    const struct {
        const char* what;
        QString stationExtra;
        QString program;
        QStringList arguments;
    } runs[] = {
        {"main window only", {}, QStringLiteral(OV_MODULE_PATH), {}},
        {"trends sampled, window closed",
         "[Trends]\nSample=always\n",
         QStringLiteral(OV_MODULE_PATH),
         {}},
        {"trends window open", {}, QCoreApplication::applicationFilePath(), {"--trends-window"}},
    };
    std::printf("Idle module against apsim, SNMPv2c, loopback, %d s each\n", seconds);
    std::printf("%-30s %10s %10s %12s %12s\n", "", "CPU s", "% of core", "wake-ups/s",
                "requests/s");
    for (const auto& run : runs) {
        if (!writeFile(dir.filePath("station.ini"), station + run.stationExtra))
            return 1;
        const auto f = measure(agent, dir.path(), run.program, run.arguments, seconds);
        if (!f)
            return 1;
        std::printf("%-30s %10.3f %10.3f %12.1f %12.2f\n", run.what, f->cpuSeconds,
                    100.0 * f->cpuSeconds / f->wall, f->wakeUpsPerSecond, f->requestsPerSecond);
        std::fflush(stdout);
    }
    return 0;
}
