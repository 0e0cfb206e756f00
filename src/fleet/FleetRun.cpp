#include "FleetRun.h"

#include "OvCatalog.h"
#include "OvException.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int interruptPipe[2] = {-1, -1};
volatile std::sig_atomic_t interruptCame = 0;

void onInterrupt(int) {
    interruptCame = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(interruptPipe[1], &byte, 1);
}

bool sameNames(const std::vector<OvVb>& asked, const std::vector<OvVb>& answered) {
    if (asked.size() != answered.size())
        return false;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (asked[i].oid != answered[i].oid)
            return false;
    }
    return true;
}

FleetOutcome checkedOutcome(OvPduType type, const std::vector<OvVb>& asked,
                            const OvSNMPAnswer& answer) {
    FleetOutcome outcome;
    outcome.status = answer.status;
    outcome.errorIndex = answer.errorIndex;
    outcome.bindings = answer.bindings;
    int status = answer.status;
    if (answer.answered && status == 0 && type != OvPduType::GetNext &&
        !sameNames(asked, answer.bindings))
        status = ovstatus::invalidPdu;
    if (answer.answered && status == 0 && type == OvPduType::GetNext &&
        answer.bindings.size() != asked.size())
        status = ovstatus::invalidPdu;
    outcome.ok = answer.answered && status == 0;
    if (!outcome.ok)
        outcome.error = ov::mapStatus(status).text;
    return outcome;
}

// Runs an event loop until `done` holds or an interrupt comes.
bool loopUntil(const std::function<bool()>& done, QEventLoop& loop) {
    if (interruptCame)
        return false;
    if (done())
        return true;
    QSocketNotifier notifier(interruptPipe[0], QSocketNotifier::Read);
    if (interruptPipe[0] < 0)
        notifier.setEnabled(false);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&loop] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(interruptPipe[0], &byte, 1);
        loop.quit();
    });
    loop.exec();
    return !interruptCame;
}

} // namespace

namespace fleet {

void send(const OvSNMPTarget& target, OvPduType type, std::vector<OvVb> bindings,
          std::function<void(const FleetOutcome&)> completion) {
    auto deliver = [type, asked = bindings, completion](const OvSNMPAnswer& answer) {
        if (!interruptCame)
            completion(checkedOutcome(type, asked, answer));
    };
    try {
        ovengine::sendAsync(target, type, bindings, deliver);
    } catch (const OvException& e) {
        // An address that names no agent fails this device only, as a failed send would.
        FleetOutcome failed;
        failed.status = e.code();
        failed.error = e.text();
        ovengine::completeLater(OvSNMPAnswer{}, [failed, completion](const OvSNMPAnswer&) {
            if (!interruptCame)
                completion(failed);
        });
    }
}

void catchInterrupts() {
    if (interruptPipe[0] >= 0 || ::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool interrupted() {
    return interruptCame != 0;
}

bool runJobs(const std::vector<FleetJob*>& jobs, int parallel,
             const std::function<void(int, int)>& progress) {
    QEventLoop loop;
    const int total = static_cast<int>(jobs.size());
    int started = 0;
    int finished = 0;
    std::function<void()> startNext;
    startNext = [&] {
        while (!interruptCame && started < total && started - finished < std::max(1, parallel)) {
            FleetJob* job = jobs[static_cast<std::size_t>(started++)];
            job->start([&] {
                ++finished;
                if (progress)
                    progress(finished, total);
                if (finished == total)
                    loop.quit();
                else
                    startNext();
            });
        }
    };
    startNext();
    return loopUntil([&] { return finished == total; }, loop);
}

bool pause(double seconds) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    return loopUntil([] { return false; }, loop);
}

} // namespace fleet
