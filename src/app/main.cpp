// The module's entry: a management station starts it once per access point with
// the device's address and SNMP credentials as switches (/I10.90.90.90 /Rpublic ...).
#include "OvGuard.h"
#include "OvQuitSignals.h"
#include "TMainForm.h"

#include <QTimer>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* kUsage =
    "Usage: orw3300ap /I<address> [/R<read community>] [/W<write community>] [/v<version>]\n"
    "                 [/t<port>] [/c<context name>] [/d<context engine ID>] [/m<model>]\n"
    "                 [/l<level>] [/n<user>] [/A<auth pass>] [/P<priv pass>] [/a<auth>] "
    "[/p<priv>]\n"
    "Manages one " OV_MODEL_NAME " access point over SNMP; a management station starts it.\n"
    "Switches /t to /p count only under SNMPv3 (/v3, or Version=3 in the device profile).\n"
    "Environment: OV_STATION_CONFIG (station configuration file, default "
    "/etc/orvane/station.ini).\n";

// --help and --version hold no switch, so asking for them changes nothing else.
bool printsAndEnds(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts(OV_MODEL_NAME " Management Module v1.00");
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (printsAndEnds(argc, argv))
        return 0;
    ov::catchQuitSignals();
    OvApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(OV_MODEL_NAME));
    // Errors that escape an SNMP completion are shown like those of any handler.
    ov::installGeneralErrorHandler();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);

    TMainForm mainForm;
    std::optional<int> exitStatus;
    // Start-up runs outside the event loop: what escapes it is shown, then the module ends.
    if (!ov::runGuarded([&] { exitStatus = mainForm.FormCreate(arguments); }))
        return 1;
    if (exitStatus)
        return *exitStatus;
    ov::closeWindowsOnQuitSignals(&mainForm);
    mainForm.setFixedSize(mainForm.sizeHint());
    mainForm.show();
    return app.exec();
}
