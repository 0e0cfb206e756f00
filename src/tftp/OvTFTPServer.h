// The module's TFTP server (RFC 1350, octet copies): it listens on one UDP port,
// turns each read or write request into a TFTPSession and drives retransmission
// and clean-up from a 20 ms tick. Everything runs on the thread that owns it.
#pragma once

#include "OvTFTPMsg.h"
#include "TFTPSession.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUdpSocket>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QEventLoop;

// Called with (notify data, the session's record, the session's cancel flag) on
// every status change of a session. Setting the flag cancels the transfer at
// the next packet. It must not destroy the server.
using OvTFTPNotify = std::function<void(void* data, const OvTFTPMsg& msg, bool& cancel)>;

// Decides whether a request is served, from its operation (ovtftp::ReadRequest
// or WriteRequest) and its file name as received. A refused request gets
// ERROR 2 (access violation) and starts no session, so no file is touched.
using OvTFTPAcceptance = std::function<bool(std::int32_t operation, const std::string& fileName)>;

class OvTFTPServer : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 20;
    static constexpr int kStopWaitMs = 10000;
    // Further requests are refused as busy while this many sessions run.
    static constexpr int kMaxSessions = 16;

    explicit OvTFTPServer(QObject* parent = nullptr);
    // Stops, then ends the sessions that remain.
    ~OvTFTPServer() override;

    // Retransmission timeout in hundredths of a second (at least 1) and how
    // often a data block is sent in all (at least 1).
    void setTiming(int timeout, int retries);
    void setNotify(OvTFTPNotify notify, void* data);
    // Empty (the default): every request that the folder allows is served.
    void setAcceptance(OvTFTPAcceptance accept) { accept_ = std::move(accept); }

    // Serves the folder (names in it, nothing below or above it; an empty
    // folder refuses every request). Opens the port unless already listening,
    // when only the folder changes. Port 69 is replaced by the environment
    // variable OV_TFTP_PORT when it holds a port number; port 0 takes any free
    // port. Throws OvException -1109 when the port cannot be opened.
    void start(const QString& folder, quint16 port);
    // Closes the port, then lets events other than user input run until no
    // session remains, for at most 10 s.
    void stop();

    bool isListening() const { return listener_ != nullptr; }
    // The port listened on, 0 when not listening.
    quint16 port() const;
    // The served folder as set by start, with a trailing "/" unless empty.
    QString rootFolder() const { return rootFolder_; }
    int retries() const { return retries_; }
    // The record each request starts from.
    const OvTFTPMsg& requestTemplate() const { return template_; }
    // Sessions in the list, finished ones not yet removed included.
    int sessionCount() const { return static_cast<int>(sessions_.size()); }

    // The port that start uses for a requested port (see start).
    static quint16 effectivePort(quint16 port);

private:
    void readRequests();
    void handleRequest(const QByteArray& packet, const QHostAddress& sender, quint16 senderPort);
    void refuse(std::uint16_t errorCode, const std::string& message, const QHostAddress& sender,
                quint16 senderPort);
    int runningSessions() const;
    void tick();
    void callNotify(const OvTFTPMsg& msg, bool& cancel);

    int retries_ = 3;
    OvTFTPMsg template_;
    OvTFTPNotify notify_;
    OvTFTPAcceptance accept_;
    void* notifyData_ = nullptr;
    QString rootFolder_;
    QByteArray root_; // rootFolder_ in octets
    std::unique_ptr<QUdpSocket> listener_;
    std::vector<std::unique_ptr<TFTPSession>> sessions_;
    QTimer tickTimer_;
    QByteArray buffer_;
    QEventLoop* stopLoop_ = nullptr;
    int notifying_ = 0;
    bool readingRequests_ = false;
    bool ticking_ = false;
};
