// orw3300ap-fleet: many ORW-3300AP access points at once from the command line,
// on the module's engine, catalogs, device MIB and station configuration.
#include "FleetCommandLine.h"
#include "FleetHelpText.h"
#include "FleetInventory.h"
#include "FleetOutput.h"
#include "FleetSettings.h"
#include "FleetStatus.h"
#include "FleetValues.h"
#include "OvCatalog.h"
#include "OvException.h"
#include "OvSNMPSession.h"
#include "OvStartup.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
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

std::vector<std::vector<std::string>> changeLines(const std::vector<FleetDifference>& changes) {
    std::vector<std::vector<std::string>> lines;
    for (const FleetDifference& d : changes)
        lines.push_back({d.key, d.a, d.b});
    return lines;
}

std::string changesJson(const std::vector<FleetDifference>& changes) {
    std::string out = "[";
    for (std::size_t i = 0; i < changes.size(); ++i) {
        out += (i ? ", " : "") + std::string("{\"key\": ") + fleet::jsonString(changes[i].key) +
               ", \"a\": " + fleet::jsonString(changes[i].a) +
               ", \"b\": " + fleet::jsonString(changes[i].b) + "}";
    }
    return out + "]";
}

std::string settingsRowState(const FleetSettingsRow& r, bool dryRun) {
    if (!r.done)
        return r.sent ? "interrupted: sent, answer not awaited" : "interrupted: not sent";
    if (!r.ok)
        return r.error;
    return dryRun && !r.changes.empty() ? "ok (dry run)" : "ok";
}

// export, and apply: a table (or JSON) of the devices; apply also lists each
// device's changes.
int printSettingsRows(const FleetCommandLine& line, const std::vector<FleetSettingsRow>& rows,
                      bool complete, bool allOk) {
    const bool apply = line.command == "apply";
    if (line.json) {
        std::string out = "{\n  \"command\": \"" + line.command + "\",\n  \"devices\": [";
        std::size_t ok = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const FleetSettingsRow& r = rows[i];
            ok += r.ok ? 1 : 0;
            out += std::string(i == 0 ? "\n" : ",\n") +
                   "    {\"device\": " + fleet::jsonString(r.device) +
                   ", \"ok\": " + (r.ok ? "true" : "false") + ", \"error\": " +
                   (r.ok ? "null" : fleet::jsonString(settingsRowState(r, line.dryRun)));
            if (apply)
                out += std::string(", \"sent\": ") + (r.sent ? "true" : "false") +
                       ", \"changes\": " + changesJson(r.changes);
            out += "}";
        }
        std::fputs((out + fleet::jsonSummary(rows.size(), ok, !complete)).c_str(), stdout);
        return allOk ? kAllDone : kSomeFailed;
    }
    std::vector<std::vector<std::string>> cells;
    for (const FleetSettingsRow& r : rows) {
        cells.push_back({r.device, settingsRowState(r, line.dryRun)});
        if (apply)
            cells.back().push_back(std::to_string(r.changes.size()));
    }
    std::vector<std::string> header{"DEVICE", "STATUS"};
    if (apply)
        header.push_back("CHANGES");
    std::string text = fleet::tableText(header, cells);
    for (const FleetSettingsRow& r : rows) {
        if (!apply || r.changes.empty())
            continue;
        text += "\n" + r.device + (line.dryRun ? " would change:\n" : " changed:\n");
        for (const auto& change : r.changes)
            text += "  " + fleet::differenceText(change) + "\n";
    }
    std::fputs(text.c_str(), stdout);
    return allOk ? kAllDone : kSomeFailed;
}

int runExport(const FleetCommandLine& line, const std::vector<FleetDevice>& devices) {
    const std::string folder = line.arguments.front();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "orw3300ap-fleet: %s is no folder\n", folder.c_str());
        return kUsageError;
    }
    bool complete = false;
    bool allOk = false;
    auto rows = runOnEveryDevice<FleetSettingsJob>(
        line, devices, complete, allOk, static_cast<const FleetSettingValues*>(nullptr), false);
    // Only a device that answered replaces its export: a failed one keeps its last.
    for (FleetSettingsRow& r : rows) {
        if (!r.ok)
            continue;
        try {
            fleet::writeExport(folder + "/" + r.device + ".ini",
                               fleet::exportText(r.device, r.values, line.secrets), line.secrets);
        } catch (const std::exception& e) {
            r.ok = false;
            r.error = e.what();
            allOk = false;
        }
    }
    return printSettingsRows(line, rows, complete, allOk);
}

int runApply(const FleetCommandLine& line, const std::vector<FleetDevice>& devices,
             const FleetSettingValues& wanted) {
    bool complete = false;
    bool allOk = false;
    const auto rows =
        runOnEveryDevice<FleetSettingsJob>(line, devices, complete, allOk, &wanted, line.dryRun);
    return printSettingsRows(line, rows, complete, allOk);
}

// A side of diff: an export file, or a device of the inventory read now.
bool diffSide(const FleetCommandLine& line, const std::string& operand,
              const std::vector<FleetDevice>& devices, FleetSettingValues& values,
              std::string& error) {
    if (std::filesystem::is_regular_file(operand)) {
        values = fleet::readExport(operand);
    } else {
        const auto device = std::find_if(devices.begin(), devices.end(), [&](const FleetDevice& d) {
            return d.name == operand || d.target.agentAddress == operand;
        });
        if (device == devices.end())
            throw FleetUsageError("\"" + operand +
                                  "\" is neither an export nor a device of the inventory");
        bool complete = false;
        bool allOk = false;
        const auto rows = runOnEveryDevice<FleetSettingsJob>(
            line, {*device}, complete, allOk, static_cast<const FleetSettingValues*>(nullptr),
            false);
        if (!allOk) {
            error = operand + ": " + (complete ? rows.front().error : std::string("interrupted"));
            return false;
        }
        values = rows.front().values;
    }
    if (!line.secrets) {
        for (const FleetSetting& s : fleet::settings()) {
            if (s.secret)
                values.erase(s.key);
        }
    }
    return true;
}

int runDiff(const FleetCommandLine& line, const std::vector<FleetDevice>& devices) {
    FleetSettingValues a;
    FleetSettingValues b;
    std::string error;
    try {
        if (!diffSide(line, line.arguments[0], devices, a, error) ||
            !diffSide(line, line.arguments[1], devices, b, error)) {
            std::fprintf(stderr, "orw3300ap-fleet: %s\n", error.c_str());
            return kSomeFailed;
        }
    } catch (const FleetUsageError& e) {
        std::fprintf(stderr, "orw3300ap-fleet: %s\n", e.what());
        return kUsageError;
    }
    const auto found = fleet::differences(a, b);
    if (line.json) {
        std::fputs(
            ("{\n  \"command\": \"diff\",\n  \"a\": " + fleet::jsonString(line.arguments[0]) +
             ",\n  \"b\": " + fleet::jsonString(line.arguments[1]) +
             ",\n  \"differences\": " + changesJson(found) + "\n}\n")
                .c_str(),
            stdout);
    } else if (!found.empty()) {
        std::fputs(
            fleet::tableText({"SETTING", line.arguments[0], line.arguments[1]}, changeLines(found))
                .c_str(),
            stdout);
    }
    // As diff(1): 0 the same, 1 different.
    return found.empty() ? kAllDone : kSomeFailed;
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
    FleetSettingValues wanted;
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
        if (line.command == "apply")
            wanted = fleet::readExport(line.arguments.front());
        folders = OvReadStationFolders(ovstation::configPath(), false);
        // diff of two exports asks no device.
        const bool filesOnly =
            line.command == "diff" &&
            std::all_of(line.arguments.begin(), line.arguments.end(),
                        [](const std::string& a) { return std::filesystem::is_regular_file(a); });
        if (!filesOnly)
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
    else if (line.command == "export")
        status = runExport(line, devices);
    else if (line.command == "diff")
        status = runDiff(line, devices);
    else if (line.command == "apply")
        status = runApply(line, devices, wanted);
    else
        status = runValues(line, devices, line.command == "get" ? &reads : nullptr,
                           line.command == "set" ? &writes : nullptr);
    OvSNMPShutdown();
    return status;
}
