// Starts a simulated site of 200 apsim devices (--devices) and prints how long
// it takes until every device answers, the memory the site takes (the sum of
// its processes' proportional set sizes, shared pages split among them, and
// their resident sizes), one device's figures for comparison, and how long a
// read of every device's sysName with snmpget takes. Asserts nothing.
#include "ApsimFixture.h"
#include "SnmpTools.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Memory {
    long pssKiB = 0;
    long rssKiB = 0;
    int processes = 0;
};

long field(const std::string& path, const std::string& name) {
    std::ifstream file(path);
    std::string key;
    long value = 0;
    while (file >> key) {
        if (key == name && file >> value)
            return value;
        file.ignore(4096, '\n');
    }
    return 0;
}

void add(Memory& memory, pid_t pid) {
    const std::string base = "/proc/" + std::to_string(pid);
    memory.pssKiB += field(base + "/smaps_rollup", "Pss:");
    memory.rssKiB += field(base + "/smaps_rollup", "Rss:");
    ++memory.processes;
}

// The site's process and its devices (its children).
Memory memoryOf(pid_t site) {
    Memory memory;
    add(memory, site);
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string pid, command, state;
        long parent = 0;
        if (stat >> pid >> command >> state >> parent && parent == site)
            add(memory, std::stoi(name));
    }
    return memory;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void report(int devices) {
    const auto start = std::chrono::steady_clock::now();
    ovtest::Apsim site({}, devices);
    const double started = secondsSince(start);
    if (!site.isRunning()) {
        std::printf("%d device(s) did not start: %s\n", devices, site.error().c_str());
        return;
    }
    const Memory memory = memoryOf(site.pid());
    const auto reading = std::chrono::steady_clock::now();
    int answered = 0;
    for (int k = 1; k <= devices; ++k)
        answered += ovtest::runAgainst(site.peer(k), "snmpget", "v2c", {"1.3.6.1.2.1.1.5.0"})
                        .contains("STRING:");
    const double read = secondsSince(reading);
    const auto stopping = std::chrono::steady_clock::now();
    site.stop();
    std::printf("%4d device(s) in %3d process(es): ready after %6.2f s, PSS %7.1f MiB "
                "(%5.2f MiB a device), RSS %7.1f MiB; snmpget of each sysName %6.2f s "
                "(%d answered); stopped in %5.2f s\n",
                devices, memory.processes, started, memory.pssKiB / 1024.0,
                memory.pssKiB / 1024.0 / devices, memory.rssKiB / 1024.0, read, answered,
                secondsSince(stopping));
}

} // namespace

int main(int argc, char** argv) {
    const int devices = argc > 1 ? std::atoi(argv[1]) : 200;
    if (devices < 2 || devices > 1000) {
        std::fprintf(stderr, "usage: site_bench [DEVICES, 2 to 1000; default 200]\n");
        return 2;
    }
    report(1);
    report(devices);
    return 0;
}
