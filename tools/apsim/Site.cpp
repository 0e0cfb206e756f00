#include "Site.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace apsim {
namespace {

int siteWakePipe[2] = {-1, -1};
volatile std::sig_atomic_t stopRequested = 0;

void onSiteSignal(int signal) {
    if (signal != SIGCHLD)
        stopRequested = 1;
    const char byte = 1;
    // A full pipe already holds a pending wake-up.
    [[maybe_unused]] const ssize_t written = write(siteWakePipe[1], &byte, 1);
}

struct Member {
    pid_t pid = -1;
    int readyFd = -1;
    std::string address;
};

// The device's line, or empty when its process ended before it answered.
std::string readyLine(int fd) {
    std::string line;
    char c = 0;
    while (true) {
        const ssize_t got = read(fd, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || c == '\n')
            return line;
        line += c;
    }
}

void stopAll(std::vector<Member>& members) {
    for (const Member& member : members)
        if (member.pid > 0)
            kill(member.pid, SIGTERM);
    for (Member& member : members)
        if (member.pid > 0) {
            while (waitpid(member.pid, nullptr, 0) < 0 && errno == EINTR) {
            }
            member.pid = -1;
        }
}

// In the child: the site's descriptors and signal set-up are not the device's.
[[noreturn]] void runMember(const Options& options, Device& device, int readyFd,
                            const std::vector<Member>& earlier, pid_t site,
                            const ServeDevice& serve) {
    // A site that goes away without its SIGTERM (killed) takes its devices
    // along, also one that went before this could ask for it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != site)
        std::_Exit(2);
    for (const Member& member : earlier)
        close(member.readyFd);
    close(siteWakePipe[0]);
    close(siteWakePipe[1]);
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(SIGCHLD, &fallback, nullptr);
    int code = 2;
    try {
        // serve() installs its own handlers before it lets signals through.
        code = serve(options, device, readyFd);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "apsim: %s: %s\n", options.address.c_str(), error.what());
    }
    std::fflush(stdout);
    std::_Exit(code);
}

} // namespace

int runSite(const std::vector<Options>& devices, const ServeDevice& serve) {
    if (pipe(siteWakePipe) != 0)
        throw std::runtime_error("cannot make the signal pipe");
    struct sigaction action {};
    action.sa_handler = onSiteSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGCHLD})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    // Held back until each device has its own handlers, so none is lost.
    sigset_t stopping, before;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGTERM);
    sigaddset(&stopping, SIGINT);
    sigprocmask(SIG_BLOCK, &stopping, &before);

    // The site holds one pipe per device until all are ready.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    const pid_t site = getpid();
    std::vector<Member> members;
    std::string failure;
    // Built here, and handed over by the fork: devices of the same options
    // share one, page by page, until they change it.
    std::optional<Device> shared;
    const DeviceConfig* sharedConfig = nullptr;
    for (const Options& options : devices) {
        try {
            if (!shared || !(*sharedConfig == options.device)) {
                shared.reset();
                shared.emplace(options.device);
                sharedConfig = &options.device;
            }
            int ready[2];
            if (pipe(ready) != 0)
                throw std::runtime_error(std::string("cannot make a pipe: ") +
                                         std::strerror(errno));
            std::fflush(stdout);
            const pid_t pid = fork();
            if (pid < 0) {
                close(ready[0]);
                close(ready[1]);
                throw std::runtime_error(std::string("cannot start a device: ") +
                                         std::strerror(errno));
            }
            if (pid == 0) {
                close(ready[0]);
                shared->countLanMac(static_cast<std::uint32_t>(members.size()));
                runMember(options, *shared, ready[1], members, site, serve);
            }
            close(ready[1]);
            members.push_back({pid, ready[0], options.address});
        } catch (const std::exception& error) {
            failure = options.address + ": " + error.what();
            break;
        }
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);

    std::vector<std::string> lines;
    for (const Member& member : members) {
        const std::string line = readyLine(member.readyFd);
        close(member.readyFd);
        if (line.empty() && failure.empty())
            failure = member.address + " did not start";
        lines.push_back(line);
    }
    if (!failure.empty()) {
        stopAll(members);
        std::fprintf(stderr, "apsim: the site did not start: %s\n", failure.c_str());
        return 2;
    }
    for (const std::string& line : lines)
        std::printf("apsim: listening on %s\n", line.c_str());
    std::fflush(stdout);

    std::size_t running = members.size();
    while (!stopRequested && running > 0) {
        char byte = 0;
        if (read(siteWakePipe[0], &byte, 1) < 0 && errno != EINTR)
            break;
        int status = 0;
        pid_t ended = 0;
        while ((ended = waitpid(-1, &status, WNOHANG)) > 0)
            for (Member& member : members)
                if (member.pid == ended) {
                    member.pid = -1;
                    --running;
                    std::fprintf(stderr, "apsim: the device at %s has ended\n",
                                 member.address.c_str());
                }
    }
    stopAll(members);
    return 0;
}

} // namespace apsim
