// How far one transfer has got, for a progress display. Fed with every status
// change of the server's sessions (the server's notify function), it reports
// the octets moved at most ten times a second, and nothing at a tick at which
// nothing moved; a transfer's end is reported at once, where it stopped.
#pragma once

#include "OvTFTPMsg.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <string>

class OvTransferMeter : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 100;

    explicit OvTransferMeter(QObject* parent = nullptr);

    // Follows the sessions of this operation (ovtftp::ReadRequest or
    // WriteRequest) and file name as the device asks for it; starts at 0.
    void follow(std::int32_t operation, const std::string& fileName);
    // Follows nothing any more.
    void stop();

    // A session's status change, from the server's notify function.
    void note(const OvTFTPMsg& msg);

    // Reports the octets moved when they changed since the last report.
    // Returns whether it reported. The timer calls it every 100 ms.
    bool report();

    // The octets moved so far (reported or not) and the last reported figure.
    qint64 moved() const { return moved_; }
    qint64 reported() const { return reported_; }
    bool isRunning() const { return timer_.isActive(); }

signals:
    // The octets moved so far.
    void progressed(qint64 octets);
    // The followed session ended: succeeded, or failed at `octets`.
    void ended(bool succeeded, qint64 octets);

private:
    QTimer timer_;
    std::int32_t operation_ = 0;
    std::string fileName_;
    bool following_ = false;
    qint64 moved_ = 0;
    qint64 reported_ = 0;
};
