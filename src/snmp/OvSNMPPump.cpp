#include "OvSNMPPump.h"

#include "OvSNMPEngine.h"
#include "OvSNMPSession.h"

#include <set>

namespace {
SnmpEventProcessor* thePump = nullptr;
}

SnmpEventProcessor& SnmpEventProcessor::instance() {
    if (thePump == nullptr) {
        thePump = new SnmpEventProcessor();
        ovengine::setActivityHook([] {
            // A turn re-arms when it ends.
            if (thePump != nullptr && !thePump->inTurn_) {
                thePump->arm();
                thePump->scheduleDelivery();
            }
        });
    }
    return *thePump;
}

void SnmpEventProcessor::destroy() {
    ovengine::setActivityHook({});
    delete thePump;
    thePump = nullptr;
}

SnmpEventProcessor::SnmpEventProcessor() {
    tick_.setInterval(kIntervalMs);
    connect(&tick_, &QTimer::timeout, this, &SnmpEventProcessor::tick);
    wake_.setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, &SnmpEventProcessor::tick);
}

void SnmpEventProcessor::start() {
    enabled_ = true;
    if (!inTurn_) {
        arm();
        scheduleDelivery();
    }
}

void SnmpEventProcessor::stop() {
    enabled_ = false;
    tick_.stop();
    wake_.stop();
    for (auto& [socket, notifier] : notifiers_)
        notifier->setEnabled(false);
}

// Sleeps on the sockets and on the next time-out; ticks only while a request
// awaits the network. QTimer::start restarts a running timer: the tick is only
// started when it is not running.
void SnmpEventProcessor::arm() {
    watchSockets();
    for (auto& [socket, notifier] : notifiers_)
        notifier->setEnabled(enabled_);
    if (!enabled_) {
        tick_.stop();
        wake_.stop();
        return;
    }
    if (!ovengine::awaitingNetwork())
        tick_.stop();
    else if (!tick_.isActive())
        tick_.start();
    const int wait = ovengine::msUntilNextTimeout();
    if (wait >= 0)
        wake_.start(wait);
    else
        wake_.stop();
}

// One notifier per asynchronous session socket, so that an answer is read as
// soon as it arrives.
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
        notifier->setEnabled(enabled_);
        notifiers_.emplace(socket, std::move(notifier));
    }
}

void SnmpEventProcessor::tick() {
    if (inTurn_ || !enabled_)
        return;
    inTurn_ = true;
    std::exception_ptr error;
    try {
        ovengine::collect();
    } catch (...) {
        error = std::current_exception();
    }
    inTurn_ = false;
    arm();
    scheduleDelivery();
    if (error)
        OvReportGeneralError(error);
}

void SnmpEventProcessor::scheduleDelivery() {
    if (deliveryScheduled_ || !enabled_ || !ovengine::hasDue())
        return;
    deliveryScheduled_ = true;
    QMetaObject::invokeMethod(this, &SnmpEventProcessor::deliverOne, Qt::QueuedConnection);
}

void SnmpEventProcessor::deliverOne() {
    deliveryScheduled_ = false;
    if (!enabled_)
        return;
    const auto run = ovengine::takeDue();
    if (!run)
        return;
    scheduleDelivery();
    std::exception_ptr error;
    try {
        run();
    } catch (...) {
        error = std::current_exception();
    }
    arm();
    if (error)
        OvReportGeneralError(error);
}

#include "moc_OvSNMPPump.cpp"
