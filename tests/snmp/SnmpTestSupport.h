// Shared by the SNMP engine tests: a Qt application for the event pump, a set-up
// engine with its boot counter in a temporary folder, and waiting for conditions.
#pragma once

#include "OvSNMPEngine.h"
#include "OvSNMPSession.h"
#include "OvSNMPVarList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <cstdint>
#include <functional>
#include <vector>

namespace snmptest {

// Creates the application and sets the engine up once per process; resets the
// session records to their defaults on every call.
inline void setUpEngine() {
    static int argc = 1;
    static char name[] = "snmp_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    static QTemporaryDir folder;
    static bool done = false;
    (void)app;
    if (!done) {
        OvSNMPSetup(folder.path().toStdString());
        done = true;
    }
    OvSNMPResetSession();
}

// Processes events until the condition holds or the deadline passes.
inline bool waitFor(const std::function<bool()>& condition, int deadlineMs = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > deadlineMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        ovengine::waitForActivity(5);
    }
    return true;
}

// Two variables of the system group: one the agent lets write, one it does not.
inline const OvSNMPVarRow kSystem[] = {
    {"1.3.6.1.2.1.1.5", "sysName", ovtype::displaystr, ovaccess::readwrite},
    {"1.3.6.1.2.1.1.3", "sysUpTime", ovtype::timeticks, ovaccess::readonly},
    {}};

// A UDP port on loopback that receives and never answers.
struct SilentAgent {
    QUdpSocket socket;
    SilentAgent() { socket.bind(QHostAddress::LocalHost, 0); }
    std::uint16_t port() const { return socket.localPort(); }
    std::vector<QByteArray> received() {
        std::vector<QByteArray> datagrams;
        while (socket.hasPendingDatagrams()) {
            QByteArray datagram(static_cast<int>(socket.pendingDatagramSize()), '\0');
            socket.readDatagram(datagram.data(), datagram.size());
            datagrams.push_back(datagram);
        }
        return datagrams;
    }
};

} // namespace snmptest
