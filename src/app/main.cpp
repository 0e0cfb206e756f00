// The module's entry: a management station starts it once per access point with
// the device's address and SNMP credentials as switches (/I10.90.90.90 /Rpublic ...).
#include "OvDialogs.h"
#include "OvGuard.h"
#include "OvHelpText.h"
#include "OvQuitSignals.h"
#include "OvStartup.h"
#include "OvTrace.h"
#include "TMainForm.h"

#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The folder of this executable, from the kernel (no application object yet).
std::string executableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

// --help and --version hold no switch, so asking for them changes nothing else.
bool printsAndEnds(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            // docs/orw3300ap.md, made into this text by the build
            std::fputs(kOvHelpText, stdout);
            std::printf("\nMessage catalogs: %s\n",
                        OvExecutableCatalogFolder(executableFolder()).c_str());
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts(OV_MODEL_NAME " Management Module v1.00");
            return true;
        }
    }
    return false;
}

// The trace file from --trace, else from OV_TRACE; "" for none.
std::string traceFile(std::vector<std::string>& arguments) {
    std::string file = OvTakeTraceOption(arguments);
    if (file.empty()) {
        if (const char* variable = std::getenv(ovtrace::variable))
            file = variable;
    }
    return file;
}

} // namespace

int main(int argc, char** argv) {
    if (printsAndEnds(argc, argv))
        return 0;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string trace;
    try {
        trace = traceFile(arguments);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "orw3300ap: %s\n", e.what());
        return 2;
    }
    ov::catchQuitSignals();
    OvApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(OV_MODEL_NAME));
    // Errors that escape an SNMP completion are shown like those of any handler.
    ov::installGeneralErrorHandler();
    if (!trace.empty()) {
        try {
            ovtrace::open(trace);
        } catch (const std::exception& e) {
            // Asked for a trace and none can be written: running on would lose it.
            ov::messageBox(nullptr, QStringLiteral(OV_MODEL_NAME),
                           QStringLiteral("Cannot write the request trace ") +
                               QString::fromLocal8Bit(e.what()));
            return 1;
        }
    }

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
