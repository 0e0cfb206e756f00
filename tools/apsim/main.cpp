// apsim: the simulated ORW-3300AP access point, for tests, benchmarks and the demo.
#include "Agent.h"
#include "Device.h"
#include "Journal.h"
#include "Options.h"
#include "Site.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <unistd.h>

namespace {

int wakePipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    // Nothing to do when the pipe is full: a wake-up is already pending.
    [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
}

void installSignals() {
    if (pipe(wakePipe) != 0)
        throw std::runtime_error("cannot make the signal pipe");
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    // A site's device starts with them held back (Site.cpp): now they may come.
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGTERM);
    sigaddset(&stopping, SIGINT);
    sigprocmask(SIG_UNBLOCK, &stopping, nullptr);
}

// The folder for the agent library's persistent files: the one given, or a
// fresh temporary one that goes away at exit.
class StateFolder {
public:
    explicit StateFolder(const std::string& given) {
        if (!given.empty()) {
            std::filesystem::create_directories(given);
            path_ = given;
            return;
        }
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/apsim-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder in " + pattern);
        path_ = pattern;
        owned_ = true;
    }
    ~StateFolder() {
        std::error_code ignored;
        if (owned_)
            std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool owned_ = false;
};

// Serves `device`; its ready line goes to standard output, or to `readyFd`
// (closed then) for a site's device.
int serve(const apsim::Options& options, apsim::Device& device, int readyFd) {
    apsim::FaultRules rules = apsim::resolveFaultRules(options, device);
    apsim::Journal journal(options.logFile, options.stateFile);
    StateFolder folder(options.stateDir);
    installSignals();
    apsim::Agent agent(device, journal, options, std::move(rules));
    agent.start(folder.path());
    if (readyFd < 0) {
        std::printf("apsim: listening on %s\n", agent.listening().c_str());
        std::fflush(stdout);
    } else {
        const std::string line = agent.listening() + "\n";
        // A site that cannot read it has gone, and its device goes with it.
        [[maybe_unused]] const ssize_t written = write(readyFd, line.data(), line.size());
        close(readyFd);
    }
    agent.run(wakePipe[0]);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const apsim::Options options =
            apsim::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::cout << apsim::helpText();
            return 0;
        }
        if (options.version) {
            std::cout << "apsim 1.0 (ORW-3300AP)\n";
            return 0;
        }
        if (options.devices > 1)
            return apsim::runSite(apsim::siteOptions(options), serve);
        apsim::Device device(options.device);
        return serve(options, device, -1);
    } catch (const std::exception& error) {
        std::cerr << "apsim: " << error.what() << "\n";
        return 2;
    }
}
