// How much the firmware window adds to a fetch of its image: apsim, the device,
// fetches one image (16 MiB unless given in MiB as the first argument) from this
// module's TFTP server and times it with its own client, from read request to
// last block. Each round, three fetches, each in a process of its own: from the
// bare server in a plain event loop (snmpset tells the device to fetch), and
// through the firmware window and its wait window with Qt's accessibility off
// and on (QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1); 3 rounds unless given as the
// second argument. Prints every round, the medians and the ratios window / bare
// server; asserts nothing about speed.
//
// Runs on the platform QT_QPA_PLATFORM names (offscreen without a display). As a
// screen reader's user has it: xvfb-run -a dbus-run-session bench/firmware_bench
#include "ApsimFixture.h"
#include "OvDeviceContext.h"
#include "OvDialogs.h"
#include "OvGuard.h"
#include "OvSNMPSession.h"
#include "OvTFTPServer.h"
#include "OvTimeScale.h"
#include "TFM_Firmware.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const kFirmwareName = "bench.tfp";
const char* const kTftpOid = "1.3.6.1.4.1.48213.10.37.14.3.3";

class BenchMainWindow : public OvDeviceContext {
public:
    OvDeviceFacts deviceFacts() const override {
        OvDeviceFacts facts;
        facts.ipAddress = QStringLiteral("127.0.0.1");
        facts.subnetMask = QStringLiteral("255.0.0.0");
        return facts;
    }
    QString statusText() const override { return kOvReadyText; }
    QString agentAddressText() const override { return QStringLiteral("127.0.0.1"); }
    QWidget* ownerWindow() const override { return nullptr; }
};

quint16 freeUdpPort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

QByteArray imageOf(qint64 size) {
    std::mt19937_64 generator(11);
    QByteArray image(size, Qt::Uninitialized);
    for (char& octet : image)
        octet = static_cast<char>(generator());
    return image;
}

// A fresh device per fetch, pointed at the server's port; the engine follows it.
std::unique_ptr<ovtest::Apsim> startDevice(quint16 tftpPort) {
    auto device = std::make_unique<ovtest::Apsim>(std::vector<std::string>{
        "--tftp-port", std::to_string(tftpPort), "--restart-seconds", "0.3"});
    if (!device->isRunning()) {
        std::fprintf(stderr, "apsim did not start: %s\n", device->error().c_str());
        return nullptr;
    }
    OvSNMPResetSession();
    OvSNMPDevice.agentAddress = device->address();
    OvSNMPDevice.agentPort = device->port();
    OvSNMPSecurity.version = 1;
    OvSNMPSecurity.securityModel = 2;
    OvSNMPSecurity.readCommunity = "mulvek";
    OvSNMPSecurity.writeCommunity = "trondax";
    return device;
}

// The seconds the device's client took, or nothing when the image did not arrive whole.
std::optional<double> fetchSeconds(ovtest::Apsim& device, qint64 size) {
    // The device writes its facts a moment after it has answered.
    if (!device.waitUntil([&] { return device.stateFact("firmwareBytes") == size; }, 5000)) {
        std::fprintf(stderr, "the image did not arrive whole:\n%s\n", device.output().c_str());
        return std::nullopt;
    }
    return static_cast<double>(device.stateFact("firmwareMicroseconds")) / 1e6;
}

std::optional<double> fetchFromBareServer(const QString& folder, qint64 size) {
    OvTFTPServer server;
    server.setTiming(3000, 3);
    server.start(folder, 0);
    const auto device = startDevice(server.port());
    if (!device)
        return std::nullopt;
    // Where and what first; the device answers the command's SET once its
    // fetch has ended, while this loop serves it.
    const QString oid = QString::fromLatin1(kTftpOid);
    const QStringList session{
        "-v2c", "-c", "trondax", "-t",
        "120",  "-r", "0",       QStringLiteral("127.0.0.1:%1").arg(device->port())};
    const QList<QStringList> sets{
        {oid + ".1.0", "a", "127.0.0.1", oid + ".2.0", "s", kFirmwareName},
        {oid + ".5.0", "i", "1"}};
    for (const QStringList& set : sets) {
        QProcess snmpset;
        QEventLoop loop;
        QObject::connect(&snmpset, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&snmpset, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        snmpset.start("snmpset", session + set);
        loop.exec();
        if (snmpset.exitCode() != 0) {
            std::fprintf(stderr, "snmpset failed: %s%s\n",
                         snmpset.readAllStandardError().constData(), device->output().c_str());
            return std::nullopt;
        }
    }
    return fetchSeconds(*device, size);
}

std::optional<double> fetchThroughWindow(const QString& image, qint64 size) {
    const quint16 port = freeUdpPort();
    qputenv("OV_TFTP_PORT", QByteArray::number(port));
    const auto device = startDevice(port);
    if (!device)
        return std::nullopt;
    BenchMainWindow main;
    TFM_Firmware window(main, nullptr);
    if (!window.serviceReady())
        return std::nullopt;
    window.show();
    window.Ed_UpgFile->setText(image);
    window.Bt_OKClick(); // returns once the wait window has closed
    return fetchSeconds(*device, size);
}

// One fetch in a child process: "bare" serves from a plain event loop, as a
// server without windows runs; "window" from the firmware window of the module.
// Prints the seconds the device's client took.
int measureOne(int argc, char** argv, qint64 size, const std::string& way) {
    setenv("OV_DIALOGS", "auto", 1); // a box never waits for a person
    std::unique_ptr<QCoreApplication> app;
    if (way == "bare")
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<OvApplication>(argc, argv);
    QTemporaryDir engineFolder, folder;
    OvSNMPSetup(engineFolder.path().toStdString());
    ov::setTimeScale(0.05); // the restart wait after the fetch, shortened
    const QString image = folder.filePath(kFirmwareName);
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || file.write(imageOf(size)) != size)
        return 1;
    file.close();
    const auto seconds =
        way == "bare" ? fetchFromBareServer(folder.path(), size) : fetchThroughWindow(image, size);
    if (!seconds)
        return 1;
    std::printf("%.6f\n", *seconds);
    return 0;
}

std::optional<double> runChild(const char* self, qint64 size, const char* way, bool accessible) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (accessible)
        environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    else
        environment.remove("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(self, {QString::number(size >> 20), "1", "--measure", way});
    child.waitForFinished(-1);
    bool ok = false;
    const double seconds = child.readAllStandardOutput().trimmed().toDouble(&ok);
    if (child.exitCode() != 0 || !ok) {
        std::fprintf(stderr, "the %s fetch failed\n", way);
        return std::nullopt;
    }
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const qint64 size = (argc > 1 ? std::atoll(argv[1]) : 16) * 1024 * 1024;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    if (size <= 0 || rounds <= 0) {
        std::fprintf(stderr, "usage: firmware_bench [MiB] [rounds]\n");
        return 2;
    }
    if (argc > 4 && std::string(argv[3]) == "--measure")
        return measureOne(argc, argv, size, argv[4]);

    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", std::getenv("DISPLAY") ? "xcb" : "offscreen", 1);
    std::printf("%lld MiB fetched by apsim, %d rounds; window on %s, accessibility bus %s\n",
                size >> 20, rounds, std::getenv("QT_QPA_PLATFORM"),
                std::getenv("DBUS_SESSION_BUS_ADDRESS") ? "reachable" : "absent");
    std::vector<double> bare, quiet, accessible;
    for (int round = 1; round <= rounds; ++round) {
        const auto b = runChild(argv[0], size, "bare", false);
        const auto q = runChild(argv[0], size, "window", false);
        const auto a = runChild(argv[0], size, "window", true);
        if (!b || !q || !a)
            return 1;
        bare.push_back(*b);
        quiet.push_back(*q);
        accessible.push_back(*a);
        std::printf("  round %d: bare server %.3f s, window %.3f s, window with accessibility "
                    "%.3f s\n",
                    round, *b, *q, *a);
    }
    const double b = median(bare);
    std::printf("median: bare server %.3f s\n", b);
    std::printf("        window, accessibility off %.3f s  ratio %.2f\n", median(quiet),
                median(quiet) / b);
    std::printf("        window, accessibility on  %.3f s  ratio %.2f\n", median(accessible),
                median(accessible) / b);
    return 0;
}
