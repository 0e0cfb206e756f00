// Shows one of the module's windows against an agent and saves a picture of
// it, for the documentation. Run it under xvfb-run with apsim listening:
//     ovshot --port 16161 --out docs/images/main-window.png main
#include "OvGuard.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "TMainForm.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace {

bool waitFor(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

} // namespace

int main(int argc, char** argv) {
    OvApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"port", "UDP port of the agent on 127.0.0.1.", "port", "161"});
    parser.addOption({"out", "PNG file to write.", "file"});
    parser.addPositionalArgument("window", "The window to show: main.");
    parser.process(app);
    if (parser.positionalArguments().value(0) != QStringLiteral("main") ||
        !parser.isSet("out")) {
        std::fputs("ovshot: give --out FILE and the window (main)\n", stderr);
        return 2;
    }
    OvSNMPSetup("");
    OvSNMPDevice.agentPort = static_cast<std::uint16_t>(parser.value("port").toUInt());
    OvSNMPSecurity.version = 1;

    TMainForm window;
    window.setWindowTitle(window.windowTitle() + QStringLiteral(" : 127.0.0.1"));
    window.HandOver();
    window.setFixedSize(window.sizeHint());
    window.show();
    waitFor([&] { return window.statusText() == QStringLiteral("Ready. ") &&
                         !window.deviceFacts().firmwareVersion.isEmpty(); },
            5000);
    waitFor([] { return false; }, 300); // let the LEDs settle in a lit phase
    if (!window.grab().save(parser.value("out"))) {
        std::fputs("ovshot: cannot write the picture\n", stderr);
        return 1;
    }
    return 0;
}
