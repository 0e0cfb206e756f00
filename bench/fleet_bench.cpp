// orw3300ap-fleet against a simulated site (apsim --devices): the wall time of
// `status` for one device and for all of them, beside the same reads done one
// device at a time with snmpget and snmpwalk, as a site's script does them
// today; the wall time of `export` for 50 devices; and the program's peak
// memory. Prints the figures side by side; asserts nothing.
//
//     fleet_bench [devices]      (default 200)
#include "ApsimFixture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double seconds = 0;
    long maxRssKiB = 0;
    int exitCode = -1;
};

// Runs the program to its end with its output thrown away.
std::optional<Run> runProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return std::nullopt;
    Run run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.maxRssKiB = usage.ru_maxrss;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string inventoryOf(const ovtest::Apsim& site, int devices, const std::string& path) {
    std::ofstream file(path);
    for (int d = 1; d <= devices; ++d)
        file << site.address(d) << ':' << site.port(d) << '\n';
    return path;
}

// What `status` reads of one device, with net-snmp's tools.
bool scriptedStatus(const ovtest::Apsim& site, int device) {
    const std::string agent = site.address(device) + ":" + std::to_string(site.port(device));
    const std::string e = "1.3.6.1.4.1.48213.10.37.14";
    const auto get =
        runProgram({"snmpget", "-v2c", "-c", "mulvek", agent, "1.3.6.1.2.1.1.1.0",
                    "1.3.6.1.2.1.1.3.0", e + ".4.1.1.1.0", e + ".4.1.1.2.0", e + ".4.4.0"});
    const auto walk = runProgram({"snmpwalk", "-v2c", "-c", "mulvek", agent, e + ".4.5.2.1.2"});
    return get && walk && get->exitCode == 0 && walk->exitCode == 0;
}

} // namespace

int main(int argc, char** argv) {
    const int devices = argc > 1 ? std::atoi(argv[1]) : 200;
    if (devices < 50 || devices > 1000) {
        std::fprintf(stderr, "usage: fleet_bench [devices, 50 to 1000]\n");
        return 2;
    }
    ovtest::Apsim site({}, devices);
    if (!site.isRunning()) {
        std::fprintf(stderr, "%s\n", site.error().c_str());
        return 1;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("fleet_bench." + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string one = inventoryOf(site, 1, folder / "one.txt");
    const std::string fifty = inventoryOf(site, 50, folder / "fifty.txt");
    const std::string all = inventoryOf(site, devices, folder / "all.txt");
    const std::string fleet = OV_FLEET_PATH;
    const struct {
        std::string what;
        std::vector<std::string> command;
    } runs[] = {
        {"status, 1 device", {fleet, "--inventory", one, "--json", "status"}},
        {"status, " + std::to_string(devices) + " devices",
         {fleet, "--inventory", all, "--json", "status"}},
        {"export, 50 devices", {fleet, "--inventory", fifty, "export", folder / "exports"}},
    };
    std::printf("orw3300ap-fleet against %d simulated devices (apsim --devices), SNMPv2c\n",
                devices);
    std::printf("%-28s %10s %12s %6s\n", "", "wall s", "peak MiB", "exit");
    for (const auto& run : runs) {
        // The best of three: the program's own time, not the machine's moods.
        std::optional<Run> best;
        for (int round = 0; round < 3; ++round) {
            const auto r = runProgram(run.command);
            if (!r) {
                std::fprintf(stderr, "cannot run %s\n", fleet.c_str());
                return 1;
            }
            if (!best || r->seconds < best->seconds)
                best = r;
        }
        std::printf("%-28s %10.3f %12.1f %6d\n", run.what.c_str(), best->seconds,
                    double(best->maxRssKiB) / 1024, best->exitCode);
    }
    const auto start = std::chrono::steady_clock::now();
    int answered = 0;
    for (int d = 1; d <= devices; ++d)
        answered += scriptedStatus(site, d) ? 1 : 0;
    const double scripted =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-28s %10.3f %12s %6s  (%d of %d answered)\n", "snmpget+snmpwalk, one by one",
                scripted, "-", "-", answered, devices);
    std::filesystem::remove_all(folder);
    return 0;
}
