// Shows one of the module's windows against an agent and saves a picture of
// it, for the documentation. Run it under xvfb-run with apsim listening:
//     ovshot --port 16161 --out docs/images/main-window.png main
// The windows are listed in `windows`: dhcp is the DHCP server window's
// dynamic pool tab, dhcp-static-pool its static pool tab and static-pool-entry
// the entry dialog editing the first entry; wireless is the wireless window's
// 802.11a page and wireless-g its 802.11g page; mactable is the 802.11a access
// control list; admin, system and misc are the Tools windows; rogueap scans
// first (give apsim a short --scan-seconds); progress is the wait window of a
// firmware upgrade two thirds of the way through; trends is an hour of
// Status \ Trends on a fast time scale (apsim --lively --speed 200).
#include "HomeInformation.h"
#include "OvGuard.h"
#include "OvListView.h"
#include "OvRadioGroup.h"
#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "OvTransferMeter.h"
#include "OvTrendSampler.h"
#include "TClientInformation.h"
#include "TConfigForm.h"
#include "TFM_Admin.h"
#include "TFM_CfgFile.h"
#include "TFM_DHCP.h"
#include "TFM_DevInfo.h"
#include "TFM_Filters.h"
#include "TFM_Firmware.h"
#include "TFM_Grouping.h"
#include "TFM_LAN.h"
#include "TFM_MACTable.h"
#include "TFM_Misc.h"
#include "TFM_MultiSSIDForm.h"
#include "TFM_Performace.h"
#include "TFM_RogueAP.h"
#include "TFM_Static.h"
#include "TFM_StaticPoolEntry.h"
#include "TFM_Sytem.h"
#include "TFM_Waiting.h"
#include "TFM_Wirless.h"
#include "TIndicationForm.h"
#include "TLogForm.h"
#include "TLogSetForm.h"
#include "TMainForm.h"
#include "TTrendsForm.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>
#include <optional>

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

// The DHCP server window once its lists are read: a tab of it, or the entry
// dialog opened on the first used entry (grabbed from inside its modal loop).
bool saveDhcp(TMainForm& owner, const QString& which, const QString& out) {
    TFM_DHCP window(owner, &owner);
    window.show();
    const auto idle = [&] {
        for (OvSNMPRequest2Controls* b : std::initializer_list<OvSNMPRequest2Controls*>{
                 window.staticPoolBinding(), window.usedEntriesBinding(),
                 window.dynamicLeasesBinding(), window.staticLeasesBinding()})
            if (b != nullptr && b->IsBusy())
                return false;
        return !window.busyFlag().isSet();
    };
    waitFor(idle, 5000);
    if (which == QStringLiteral("dhcp")) {
        waitFor([] { return false; }, 300);
        return window.grab().save(out);
    }
    window.PageControl1->setCurrentWidget(window.TabSheet2);
    window.User_ListView->selectRow(0);
    waitFor([] { return false; }, 300);
    if (which == QStringLiteral("dhcp-static-pool"))
        return window.grab().save(out);
    bool saved = false;
    QTimer::singleShot(300, &window, [&] {
        TFM_StaticPoolEntry* entry = window.staticPoolEntry();
        saved = entry->grab().save(out);
        entry->close();
    });
    window.Bt_SetClick();
    return saved;
}

// The wait window as the firmware window opens it, with the figures the
// server's notify would give two thirds of the way through the image.
bool saveProgress(TMainForm& owner, const QString& out) {
    TFM_Waiting waiting(owner, &owner);
    waiting.Label3->setText(QStringLiteral("Updating firmware file...!"));
    waiting.Label1->setText(QStringLiteral("Please wait ...."));
    waiting.seconds->hide();
    waiting.La_Time->hide();
    waiting.restartCommand = false;
    OvTransferMeter meter;
    meter.follow(ovtftp::ReadRequest, "orw3300ap-v1.2.08.tfp");
    waiting.showTransfer(meter, 1572864);
    OvTFTPMsg msg;
    msg.setStatus(ovtftp::Transferring);
    msg.fileName = "orw3300ap-v1.2.08.tfp";
    msg.bytes = 1048576;
    meter.note(msg);
    meter.report();
    waiting.show();
    waitFor([] { return false; }, 300);
    return waiting.grab().save(out);
}

// Shows a status window once it has what it waits for, and saves its picture.
bool saveShown(QWidget& window, const QString& out, const std::function<bool()>& ready) {
    window.show();
    waitFor(ready, 8000);
    waitFor([] { return false; }, 300);
    return window.grab().save(out);
}

// An hour of trends on a time scale of 1/200, against an apsim started with
// --lively --speed 200 and a transmitted frame counter near its wrap
// (--set E.4.3.1.1.7.1=4294850000): the client window reads both bands'
// clients in turn, and half way through the device restarts (a gap, then the
// rates go on).
bool saveTrends(TMainForm& owner, const QString& out) {
    constexpr double kSpeed = 200;
    // The client window on the real time scale: its page changes read the
    // table, as often as the pictures' time needs.
    TClientInformation clients(&owner);
    ov::setTimeScale(1 / kSpeed);
    OvTrendSampler& sampler = owner.trendSampler();
    QObject::connect(&clients, &TClientInformation::clientsRead, &sampler,
                     &OvTrendSampler::noteClients);
    QTimer pages;
    QObject::connect(&pages, &QTimer::timeout, [&] {
        clients.PageControl1->setCurrentIndex(1 - clients.PageControl1->currentIndex());
    });
    clients.show();
    pages.start(150);
    TTrendsForm window(sampler, &owner);
    window.show();
    const int samplesPerHour = 3600 / sampler.intervalSeconds();
    waitFor([&] { return sampler.history().size() >= std::size_t(samplesPerHour / 2); }, 30000);
    QProcess::execute("snmpset", {"-v2c", "-c", "trondax",
                                  QStringLiteral("127.0.0.1:%1").arg(OvSNMPDevice.agentPort),
                                  "1.3.6.1.4.1.48213.10.37.14.3.2.1.0", "i", "1"});
    waitFor([&] { return sampler.history().size() >= std::size_t(samplesPerHour); }, 30000);
    pages.stop();
    clients.hide();
    ov::setTimeScale(1);
    return saveShown(window, out, [] { return true; });
}

// A status window's picture, saved or not; nothing when `which` names none.
std::optional<bool> saveStatusWindow(TMainForm& owner, const QString& which, const QString& out) {
    bool saved = false;
    if (which == QStringLiteral("devinfo")) {
        TFM_DevInfo window(&owner);
        saved = saveShown(window, out, [&] { return !window.bandGBinding()->IsBusy(); });
    } else if (which == QStringLiteral("stats")) {
        TFM_Static window(&owner);
        saved = saveShown(window, out, [&] { return !window.bandGBinding()->IsBusy(); });
    } else if (which == QStringLiteral("clients")) {
        TClientInformation window(&owner);
        saved = saveShown(window, out, [&] { return !window.refreshing(); });
    } else if (which == QStringLiteral("log") || which == QStringLiteral("logsettings")) {
        TLogForm window(owner, &owner);
        window.show();
        window.GetBtnClick();
        waitFor([&] { return window.CloseBtn->isEnabled(); }, 8000);
        QWidget& shown =
            which == QStringLiteral("log") ? static_cast<QWidget&>(window) : *window.logSettings();
        saved = saveShown(shown, out, [] { return true; });
    } else if (which == QStringLiteral("trends")) {
        saved = saveTrends(owner, out);
    } else if (which == QStringLiteral("indication")) {
        TIndicationForm window(&owner);
        saved = saveShown(window, out, [&] { return !window.reading(); });
    } else {
        return std::nullopt;
    }
    return saved;
}

// An Advanced window's or the wireless window's picture, saved or not; nothing
// when `which` names none of them.
std::optional<bool> saveSettingsWindow(TMainForm& owner, const QString& which, const QString& out) {
    if (which.startsWith(QStringLiteral("wireless"))) {
        const int page = which == QStringLiteral("wireless-g") ? 1 : 0;
        return saveWindow<TFM_Wirless>(
            owner, out, [page](TFM_Wirless& w) { w.PC_Wirless->setCurrentIndex(page); });
    }
    if (which == QStringLiteral("performance"))
        return saveWindow<TFM_Performace>(owner, out, [](TFM_Performace&) {});
    if (which == QStringLiteral("filters"))
        return saveWindow<TFM_Filters>(owner, out, [](TFM_Filters&) {});
    if (which == QStringLiteral("multissid"))
        return saveWindow<TFM_MultiSSIDForm>(owner, out, [](TFM_MultiSSIDForm&) {});
    if (which == QStringLiteral("grouping"))
        return saveWindow<TFM_Grouping>(owner, out, [](TFM_Grouping&) {});
    if (which == QStringLiteral("mactable")) {
        TFM_MACTable table(0, &owner);
        return saveShown(table, out, [&] {
            const bool idle = !table.busyFlag().isSet() && !table.usedListBinding()->IsBusy();
            if (idle)
                table.User_ListView->selectRow(0);
            return idle;
        });
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    OvApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"port", "UDP port of the agent on 127.0.0.1.", "port", "161"});
    parser.addOption({"out", "PNG file to write.", "file"});
    const QStringList windows{"main",
                              "information",
                              "firmware",
                              "configfile",
                              "lan",
                              "wireless",
                              "wireless-g",
                              "dhcp",
                              "dhcp-static-pool",
                              "static-pool-entry",
                              "performance",
                              "filters",
                              "mactable",
                              "multissid",
                              "grouping",
                              "devinfo",
                              "stats",
                              "clients",
                              "log",
                              "logsettings",
                              "indication",
                              "trends",
                              "admin",
                              "system",
                              "misc",
                              "rogueap",
                              "progress"};
    const QString names = windows.join(QStringLiteral(", "));
    parser.addPositionalArgument("window", QStringLiteral("The window to show: %1.").arg(names));
    parser.process(app);
    const QString which = parser.positionalArguments().value(0);
    if (!windows.contains(which) || !parser.isSet("out")) {
        std::fprintf(stderr, "ovshot: give --out FILE and the window (%s)\n",
                     names.toUtf8().constData());
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
    } else if (which == QStringLiteral("lan")) {
        saved = saveWindow<TFM_LAN>(window, out, [](TFM_LAN&) {});
    } else if (which == QStringLiteral("admin")) {
        saved = saveWindow<TFM_Admin>(window, out, [](TFM_Admin& w) {
            w.Ed_OPwd->setText(QStringLiteral("secret"));
            w.Ed_NPwd->setText(QStringLiteral("n3wsecret"));
            w.Ed_CNP->setText(QStringLiteral("n3wsecret"));
        });
    } else if (which == QStringLiteral("system")) {
        saved = saveWindow<TFM_Sytem>(window, out, [](TFM_Sytem&) {});
    } else if (which == QStringLiteral("misc")) {
        saved = saveWindow<TFM_Misc>(window, out, [](TFM_Misc&) {});
    } else if (which == QStringLiteral("rogueap")) {
        // After a scan, with a detected network selected.
        saved = saveWindow<TFM_RogueAP>(window, out, [](TFM_RogueAP& w) {
            w.show();
            waitFor([&] { return w.ListDelBtn->isEnabled(); }, 5000);
            w.DetectBtnClick();
            waitFor([&] { return w.closable(); }, 20000);
            w.RogueListView->selectRow(1);
        });
    } else if (which == QStringLiteral("progress")) {
        saved = saveProgress(window, out);
    } else if (which.startsWith(QStringLiteral("dhcp")) ||
               which == QStringLiteral("static-pool-entry")) {
        saved = saveDhcp(window, which, out);
    } else if (const auto status = saveStatusWindow(window, which, out)) {
        saved = *status;
    } else if (const auto settings = saveSettingsWindow(window, which, out)) {
        saved = *settings;
    } else {
        saved = window.grab().save(out);
    }
    if (!saved) {
        std::fputs("ovshot: cannot write the picture\n", stderr);
        return 1;
    }
    return 0;
}
