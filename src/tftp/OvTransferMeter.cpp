#include "OvTransferMeter.h"

OvTransferMeter::OvTransferMeter(QObject* parent) : QObject(parent) {
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { report(); });
}

void OvTransferMeter::follow(std::int32_t operation, const std::string& fileName) {
    operation_ = operation;
    fileName_ = fileName;
    following_ = true;
    moved_ = 0;
    reported_ = 0;
    timer_.stop();
}

void OvTransferMeter::stop() {
    following_ = false;
    timer_.stop();
}

void OvTransferMeter::note(const OvTFTPMsg& msg) {
    if (!following_ || msg.operation != operation_ || msg.fileName != fileName_)
        return;
    // A session that closes reports "disconnected" after its end: nothing moved.
    if (msg.code == ovtftp::Disconnected)
        return;
    moved_ = msg.bytes;
    if (msg.code == ovtftp::Success || msg.code < 0) {
        timer_.stop();
        report();
        emit ended(msg.code == ovtftp::Success, moved_);
        return;
    }
    // A block every few milliseconds must not redraw the window each time.
    if (!timer_.isActive())
        timer_.start();
}

bool OvTransferMeter::report() {
    if (moved_ == reported_)
        return false;
    reported_ = moved_;
    emit progressed(reported_);
    return true;
}

#include "moc_OvTransferMeter.cpp"
