#include "OvQuitSignals.h"

#include "OvQuitRequest.h"

#include <QSocketNotifier>

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace ov {

namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop does the rest.
void onQuitSignal(int) {
    const char octet = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &octet, 1);
}

} // namespace

void catchQuitSignals() {
    if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

void closeWindowsOnQuitSignals(QObject* owner) {
    if (signalPipe[1] < 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
        char octets[16];
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[1], octets, sizeof octets);
        // Never from here: the signal may have come inside a window's wait.
        requestQuit();
    });
}

} // namespace ov
