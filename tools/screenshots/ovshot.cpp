// Shows one of the module's windows against an agent and saves a picture of
// it, for the documentation. Run it under xvfb-run with apsim listening:
//     ovshot --port 16161 --out docs/images/main-window.png main
// The windows are those of kWindows below: wireless is its 802.11a page and
// wireless-g its 802.11g page; mactable is the 802.11a access control list.
#include "HomeInformation.h"
#include "OvGuard.h"
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "TConfigForm.h"
#include "TFM_CfgFile.h"
#include "TFM_Filters.h"
#include "TFM_Firmware.h"
#include "TFM_Grouping.h"
#include "TFM_LAN.h"
#include "TFM_MACTable.h"
#include "TFM_MultiSSIDForm.h"
#include "TFM_Performace.h"
#include "TFM_Wirless.h"
#include "TMainForm.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>

namespace {

bool waitFor(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

// The transfer windows' TFTP server on a free port unless OV_TFTP_PORT names one,
// so no privilege is needed for port 69.
void moveTftpPort() {
    if (qEnvironmentVariableIsSet("OV_TFTP_PORT"))
        return;
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    qputenv("OV_TFTP_PORT", QByteArray::number(probe.localPort()));
}

// Shows the window over the main window and saves its picture.
template <typename Window>
bool saveWindow(TMainForm& owner, const QString& out, const std::function<void(Window&)>& fill) {
    moveTftpPort();
    Window window(owner, &owner);
    fill(window);
    window.show();
    waitFor([] { return false; }, 300);
    return window.grab().save(out);
}

const QStringList kWindows{"main",    "information", "firmware",   "configfile",
                           "lan",     "wireless",    "wireless-g", "performance",
                           "filters", "mactable",    "multissid",  "grouping"};

} // namespace

int main(int argc, char** argv) {
    OvApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"port", "UDP port of the agent on 127.0.0.1.", "port", "161"});
    parser.addOption({"out", "PNG file to write.", "file"});
    parser.addPositionalArgument(
        "window", "The window to show: " + kWindows.join(QStringLiteral(", ")) + ".");
    parser.process(app);
    const QString which = parser.positionalArguments().value(0);
    if (!kWindows.contains(which) || !parser.isSet("out")) {
        const QString usage = "ovshot: give --out FILE and the window (" +
                              kWindows.join(QStringLiteral(", ")) + ")\n";
        std::fputs(usage.toLocal8Bit().constData(), stderr);
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
    waitFor(
        [&] {
            return window.statusText() == QStringLiteral("Ready. ") &&
                   !window.deviceFacts().firmwareVersion.isEmpty();
        },
        5000);
    waitFor([] { return false; }, 300); // let the LEDs settle in a lit phase
    const QString out = parser.value("out");
    bool saved = false;
    if (which == QStringLiteral("firmware")) {
        saved = saveWindow<TFM_Firmware>(window, out, [](TFM_Firmware& w) {
            w.Ed_UpgFile->setText(QStringLiteral("/home/admin/firmware/orw3300ap-v1.2.08.tfp"));
        });
    } else if (which == QStringLiteral("information")) {
        const auto form = CreateInformationForm(&window);
        form->show();
        waitFor([&] { return !form->binding(0)->IsBusy(); }, 5000);
        waitFor([] { return false; }, 300);
        saved = form->grab().save(out);
    } else if (which == QStringLiteral("configfile")) {
        saved = saveWindow<TFM_CfgFile>(window, out, [](TFM_CfgFile& w) {
            w.Ed_UpgFile->setText(QStringLiteral("/home/admin/backup/ap-settings.cfg"));
            w.Ed_SaveFile->setText(QStringLiteral("/home/admin/backup/ap-settings-new.cfg"));
        });
    } else if (which.startsWith(QStringLiteral("wireless"))) {
        const int page = which == QStringLiteral("wireless-g") ? 1 : 0;
        saved = saveWindow<TFM_Wirless>(
            window, out, [page](TFM_Wirless& w) { w.PC_Wirless->setCurrentIndex(page); });
    } else if (which == QStringLiteral("lan")) {
        saved = saveWindow<TFM_LAN>(window, out, [](TFM_LAN&) {});
    } else if (which == QStringLiteral("performance")) {
        saved = saveWindow<TFM_Performace>(window, out, [](TFM_Performace&) {});
    } else if (which == QStringLiteral("filters")) {
        saved = saveWindow<TFM_Filters>(window, out, [](TFM_Filters&) {});
    } else if (which == QStringLiteral("grouping")) {
        saved = saveWindow<TFM_Grouping>(window, out, [](TFM_Grouping&) {});
    } else if (which == QStringLiteral("multissid")) {
        saved = saveWindow<TFM_MultiSSIDForm>(window, out, [](TFM_MultiSSIDForm&) {});
    } else if (which == QStringLiteral("mactable")) {
        TFM_MACTable table(0, &window);
        table.show();
        waitFor([&] { return !table.busyFlag().isSet() && !table.usedListBinding()->IsBusy(); },
                5000);
        table.User_ListView->selectRow(0);
        waitFor([] { return false; }, 300);
        saved = table.grab().save(out);
    } else {
        saved = window.grab().save(out);
    }
    if (!saved) {
        std::fputs("ovshot: cannot write the picture\n", stderr);
        return 1;
    }
    return 0;
}
