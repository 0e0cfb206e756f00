// The SNMP event pump: the asynchronous sessions' sockets and net-snmp's next
// time-out wake it on the user-interface thread, and a 20 ms tick runs while a
// request awaits the network. A turn only collects outcomes; their completions
// run after it, one at a time, so a modal box in one leaves the others running.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <map>
#include <memory>

class SnmpEventProcessor : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 20;

    // The process-wide pump, created (disabled) on first use.
    static SnmpEventProcessor& instance();
    // Disables and frees the pump.
    static void destroy();

    void start();
    void stop();
    bool isRunning() const { return enabled_; }
    // True while a turn collects outcomes (no completion runs then).
    bool inTurn() const { return inTurn_; }
    // True while the 20 ms tick runs: some request awaits the network.
    bool isTicking() const { return tick_.isActive(); }

    // One turn: reads answers, resends and times out, then schedules the due
    // completions. Does nothing when called from inside a turn.
    void tick();

private:
    SnmpEventProcessor();
    // Runs one due completion and schedules the next first, so that a nested
    // event loop in this one delivers the others. Errors it throws reach the
    // general error handler after the pump has re-armed.
    void deliverOne();
    void scheduleDelivery();
    void watchSockets();
    void arm();

    QTimer tick_;
    QTimer wake_; // single shot at net-snmp's next retransmission or time-out
    std::map<int, std::unique_ptr<QSocketNotifier>> notifiers_;
    bool enabled_ = false;
    bool inTurn_ = false;
    bool deliveryScheduled_ = false;
};
