// orw3300ap-fleet: many ORW-3300AP access points at once from the command line,
// on the module's engine, catalogs, device MIB and station configuration.
#include "FleetCommandLine.h"
#include "FleetHelpText.h"
#include "FleetInventory.h"
#include "FleetStatus.h"
#include "FleetValues.h"
#include "OvCatalog.h"
#include "OvException.h"
#include "OvSNMPSession.h"
#include "OvStartup.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kAllDone = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

std::string executableFolder() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

std::vector<FleetDevice> inventory(const FleetCommandLine& line, const OvStationFolders& folders) {
    std::vector<FleetDevice> all =
        line.inventory.empty() ? fleet::profileInventory(folders.profileFolder, line.credentials)
                               : fleet::fileInventory(line.inventory, line.credentials);
    std::vector<FleetDevice> chosen = fleet::selectDevices(all, line.only, line.group);
    if (chosen.empty()) {
        const std::string from = line.inventory.empty()
                                     ? "the profile folder \"" + folders.profileFolder + "\""
                                     : line.inventory;
        throw FleetUsageError(all.empty() ? "no device in " + from
                                          : "no device of " + from + " matches");
    }
    return chosen;
}

// The progress line goes to a terminal only, and is wiped before results.
class Progress {
public:
    explicit Progress(const char* what) : what_(what), shown_(::isatty(STDERR_FILENO) == 1) {}
    ~Progress() { clear(); }
    void operator()(int done, int total) {
        if (shown_)
            std::fprintf(stderr, "\r%s: %d of %d devices", what_, done, total);
    }
    void clear() {
        if (shown_)
            std::fputs("\r\033[K", stderr);
    }

private:
    const char* what_;
    bool shown_;
};

// One job per device, run with the progress line: the rows in inventory order,
// and whether every device did it (false too when interrupted).
template <typename Job, typename... Extra>
auto runOnEveryDevice(const FleetCommandLine& line, const std::vector<FleetDevice>& devices,
                      bool& complete, bool& allOk, const Extra&... extra) {
    std::vector<std::unique_ptr<Job>> jobs;
    std::vector<FleetJob*> running;
    for (const FleetDevice& device : devices) {
        jobs.push_back(std::make_unique<Job>(device, extra...));
        running.push_back(jobs.back().get());
    }
    // Each device in flight holds a socket: stay well inside the usual 1024.
    const int parallel =
        line.jobs > 0 ? line.jobs : static_cast<int>(std::min<std::size_t>(jobs.size(), 500));
    {
        Progress progress(line.command.c_str());
        complete =
            fleet::runJobs(running, parallel, [&](int done, int total) { progress(done, total); });
    }
    std::vector<std::decay_t<decltype(jobs.front()->row())>> rows;
    allOk = complete;
    for (const auto& job : jobs) {
        rows.push_back(job->row());
        allOk = allOk && job->row().ok;
    }
    return rows;
}

int runStatus(const FleetCommandLine& line, const std::vector<FleetDevice>& devices) {
    const bool watching = line.watch > 0;
    const bool inPlace = watching && ::isatty(STDOUT_FILENO) == 1;
    for (;;) {
        bool complete = false;
        bool allOk = false;
        const auto rows = runOnEveryDevice<FleetStatusJob>(line, devices, complete, allOk);
        if (inPlace)
            std::fputs("\033[H\033[2J", stdout);
        const std::string text =
            line.json ? fleet::statusJson(rows, !complete) : fleet::statusTable(rows);
        std::fputs(text.c_str(), stdout);
        std::fflush(stdout);
        if (!watching || !complete || !fleet::pause(line.watch))
            return allOk ? kAllDone : kSomeFailed;
        if (!inPlace)
            std::fputs("\n", stdout);
    }
}

int runValues(const FleetCommandLine& line, const std::vector<FleetDevice>& devices,
              const std::vector<FleetVariable>* reads, const std::vector<FleetAssignment>* writes) {
    bool complete = false;
    bool allOk = false;
    const auto rows = runOnEveryDevice<FleetValueJob>(line, devices, complete, allOk, reads, writes,
                                                      line.restart);
    std::vector<std::string> names;
    if (reads != nullptr) {
        for (const FleetVariable& v : *reads)
            names.push_back(v.name);
    }
    const bool set = writes != nullptr;
    const std::string text = line.json ? fleet::valueJson(rows, names, set, !complete)
                                       : fleet::valueTable(rows, names, set);
    std::fputs(text.c_str(), stdout);
    return allOk ? kAllDone : kSomeFailed;
}

int usage(const std::string& text) {
    std::fprintf(stderr, "orw3300ap-fleet: %s\nTry 'orw3300ap-fleet --help'.\n", text.c_str());
    return kUsageError;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    FleetCommandLine line;
    std::vector<FleetVariable> reads;
    std::vector<FleetAssignment> writes;
    std::vector<FleetDevice> devices;
    OvStationFolders folders;
    try {
        line = fleet::parseCommandLine(arguments);
        if (line.help) {
            std::fputs(kFleetHelpText, stdout);
            return kAllDone;
        }
        if (line.version) {
            std::puts("orw3300ap-fleet (" OV_MODEL_NAME ") 1.0");
            return kAllDone;
        }
        // Every name and value is checked before any device is asked anything.
        for (const std::string& argument : line.arguments) {
            if (line.command == "get")
                reads.push_back(fleet::findVariable(argument));
            else if (line.command == "set")
                writes.push_back(fleet::checkedAssignment(argument));
        }
        folders = OvReadStationFolders(ovstation::configPath(), false);
        devices = inventory(line, folders);
    } catch (const FleetUsageError& e) {
        return usage(e.what());
    }

    QCoreApplication application(argc, argv);
    ov::loadCatalogs(OvExecutableCatalogFolder(executableFolder()),
                     {OvCatalog::SnmpClass, OvCatalog::Snmp, OvCatalog::Messages, OvCatalog::OvSnmp,
                      OvCatalog::SnmpV3, OvCatalog::Usm, OvCatalog::Common});
    if (!folders.moduleFolder.empty())
        ov::loadCatalogs(OvCatalogFolderBelow(folders.moduleFolder, "errmsg"),
                         {OvCatalog::Common, OvCatalog::Snmp, OvCatalog::SnmpV3, OvCatalog::Usm,
                          OvCatalog::SnmpClass, OvCatalog::OvSnmp, OvCatalog::Messages});
    try {
        // The boot counter in the user's state folder, never the current one: a
        // command-line tool runs from anywhere.
        OvSNMPSetup(OvStateFolder());
    } catch (const OvException& e) {
        std::fprintf(stderr, "orw3300ap-fleet: %s\n", e.text().c_str());
        return kSomeFailed;
    }
    fleet::catchInterrupts();
    int status = kAllDone;
    if (line.command == "status")
        status = runStatus(line, devices);
    else
        status = runValues(line, devices, line.command == "get" ? &reads : nullptr,
                           line.command == "set" ? &writes : nullptr);
    OvSNMPShutdown();
    return status;
}
