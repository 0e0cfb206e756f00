// One transfer between the server and one client, in lock-step: one block in
// flight, on a socket of its own whose port is the transfer's identifier.
#pragma once

#include "OvTFTPFile.h"
#include "OvTFTPMsg.h"
#include "OvUdpPort.h"

#include <QByteArray>
#include <QHostAddress>

#include <cstdint>
#include <functional>
#include <memory>

class TFTPSession {
public:
    // Called on every status change with the session's record and cancel flag.
    using Notify = std::function<void(const OvTFTPMsg& msg, bool& cancel)>;

    enum State { Failed = 0, Running = 1, Finished = 2 };

    // Opens the session's socket; on failure the session has failed with -1109.
    // The root folder is in octets and ends with "/" unless empty.
    TFTPSession(const QByteArray& rootFolder, Notify notify, const OvTFTPMsg& request,
                const QHostAddress& client);
    TFTPSession(const TFTPSession&) = delete;
    TFTPSession& operator=(const TFTPSession&) = delete;
    // Closes the socket, discards an unfinished written file and reports status 0.
    ~TFTPSession();

    // Answers the request: the first DATA block, ACK 0 or an ERROR.
    void start();
    // At a missed deadline, a read session sends its block again while it has
    // been sent fewer than retries times; otherwise, and always in a write
    // session (the client repeats its DATA), the session fails with -1113.
    void expire(std::int64_t now, int retries);

    State state() const { return state_; }
    const OvTFTPMsg& msg() const { return msg_; }
    // True while one of the session's own handlers runs: it is not to be
    // destroyed then.
    bool isBusy() const { return busy_ > 0; }
    // A finished write keeps its socket for one time-out, to acknowledge again a
    // final DATA whose ACK was lost (RFC 1350 section 6).
    bool isDallying() const { return dallyUntil_ != 0; }
    // Ends the dally at once (the server stops).
    void endDally();
    // The local port of the session's socket (0 when it has none).
    quint16 localPort() const;
    // The same client, port, operation, mode and file name as the request.
    bool isRepetitionOf(const OvTFTPMsg& request) const;

    // Milliseconds of a steady clock.
    static std::int64_t now();

private:
    void readPending();
    void handle(const QByteArray& packet, std::uint32_t sender, std::uint16_t senderPort);
    void startRead(const QByteArray& path);
    void startWrite();
    void handleData(const QByteArray& packet);
    void acceptAck();
    void acceptData(const QByteArray& packet, std::uint16_t block);
    void sendBlock(std::uint16_t block);
    void sendAck(std::uint16_t block, std::int32_t status);
    bool send(const QByteArray& packet);
    void fail(std::uint16_t errorCode, std::int32_t status, const std::string& message = {});
    void armDeadline();
    void setStatus(std::int32_t status);
    // Ends the transfer; a dallying write keeps its socket.
    void close(bool keepSocket = false);

    QByteArray root_;
    Notify notify_;
    OvTFTPMsg msg_;
    std::uint32_t client_; // IPv4, host order
    OvUdpPort socket_;
    ovtftp::SourceFile source_;
    ovtftp::TargetFile target_;
    QByteArray buffer_;
    // Read session: the DATA block just sent; write session: the last block ACKed.
    std::int32_t block_ = -1;
    QByteArray lastPacket_;
    std::int64_t deadline_ = 0;   // 0: none
    std::int64_t dallyUntil_ = 0; // 0: not dallying
    State state_ = Running;
    bool cancel_ = false;
    int busy_ = 0;
};
