// The SNMP event pump: a 20 ms timer and the asynchronous sessions' sockets drive
// the engine on the user-interface thread; a turn of the pump never nests.
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
    // True while a turn runs (completions included).
    bool inTurn() const { return inTurn_; }

    // One turn: reads answers, handles time-outs, runs due completions. Does
    // nothing when called from inside a turn. Errors thrown by completions reach
    // the general error handler after the pump has re-armed.
    void tick();

private:
    SnmpEventProcessor();
    void watchSockets();
    void arm();

    QTimer timer_;
    std::map<int, std::unique_ptr<QSocketNotifier>> notifiers_;
    bool enabled_ = false;
    bool inTurn_ = false;
};
