#include "OvSNMPPump.h"

#include "OvEngineSessions.h"
#include "OvSNMPEngine.h"
#include "OvSNMPSession.h"

#include <set>

namespace {
SnmpEventProcessor* thePump = nullptr;
}

SnmpEventProcessor& SnmpEventProcessor::instance() {
    if (thePump == nullptr) {
        thePump = new SnmpEventProcessor();
        ovengine::setSocketsChangedHook([] {
            if (thePump != nullptr && !thePump->inTurn_)
                thePump->watchSockets();
        });
    }
    return *thePump;
}

void SnmpEventProcessor::destroy() {
    ovengine::setSocketsChangedHook({});
    delete thePump;
    thePump = nullptr;
}

SnmpEventProcessor::SnmpEventProcessor() {
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &SnmpEventProcessor::tick);
}

void SnmpEventProcessor::start() {
    enabled_ = true;
    if (!inTurn_)
        arm();
}

void SnmpEventProcessor::stop() {
    enabled_ = false;
    timer_.stop();
    for (auto& [socket, notifier] : notifiers_)
        notifier->setEnabled(false);
}

void SnmpEventProcessor::arm() {
    watchSockets();
    for (auto& [socket, notifier] : notifiers_)
        notifier->setEnabled(enabled_);
    if (enabled_ && !timer_.isActive())
        timer_.start();
}

// One notifier per asynchronous session socket, so that an answer is delivered
// as soon as it arrives rather than at the next timer tick.
void SnmpEventProcessor::watchSockets() {
    const auto sockets = ovengine::asyncSockets();
    const std::set<int> wanted(sockets.begin(), sockets.end());
    for (auto it = notifiers_.begin(); it != notifiers_.end();) {
        if (!wanted.count(it->first)) {
            // It may be the notifier whose signal runs this turn.
            it->second->setEnabled(false);
            it->second.release()->deleteLater();
            it = notifiers_.erase(it);
        } else
            ++it;
    }
    for (int socket : wanted) {
        if (notifiers_.count(socket))
            continue;
        auto notifier = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
        connect(notifier.get(), &QSocketNotifier::activated, this, &SnmpEventProcessor::tick);
        notifier->setEnabled(enabled_ && !inTurn_);
        notifiers_.emplace(socket, std::move(notifier));
    }
}

void SnmpEventProcessor::tick() {
    if (inTurn_ || !enabled_)
        return;
    inTurn_ = true;
    timer_.stop();
    for (auto& [socket, notifier] : notifiers_)
        notifier->setEnabled(false);
    std::vector<std::exception_ptr> errors;
    try {
        ovengine::processPendingEvents(errors);
    } catch (...) {
        errors.push_back(std::current_exception());
    }
    inTurn_ = false;
    arm();
    for (const auto& error : errors)
        OvReportGeneralError(error);
}
