// Shows the "Home \ Information" window against the simulated access point and
// saves a picture of it: information_screenshot OUT.png (run it under Xvfb).
#include "ApsimFixture.h"
#include "HomeInformation.h"
#include "OvSNMPRequest2Edits.h"
#include "OvSNMPSession.h"
#include "TConfigForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    ovtest::Apsim device;
    if (!device.isRunning()) {
        std::fprintf(stderr, "%s\n", device.error().c_str());
        return 1;
    }
    QTemporaryDir engineFolder;
    OvSNMPSetup(engineFolder.path().toStdString());
    OvSNMPDevice.agentAddress = device.address();
    OvSNMPDevice.agentPort = device.port();
    OvSNMPSecurity.version = 1;
    OvSNMPSecurity.securityModel = 2;
    OvSNMPSecurity.readCommunity = "mulvek";
    OvSNMPSecurity.writeCommunity = "trondax";

    auto form = CreateInformationForm(nullptr);
    form->show();
    auto* name = form->findChild<QLineEdit*>("Ed_Value4");
    QElapsedTimer waited;
    waited.start();
    while ((name->text().isEmpty() || form->binding(0)->IsBusy()) && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
    const bool saved = form->grab().save(QString::fromLocal8Bit(argv[1]));
    form.reset();
    OvSNMPShutdown();
    return saved ? 0 : 1;
}
