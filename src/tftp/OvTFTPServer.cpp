#include "OvTFTPServer.h"

#include "OvException.h"
#include "OvNetInterface.h"
#include "OvTFTPPacket.h"

#include <QEventLoop>
#include <QFile>
#include <QtDebug>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>

using namespace ovtftp;

namespace {

// The address the server reports as its own: the first address of a running
// interface that is not the loopback. Interfaces are listed rather than the
// host name resolved, which could block the UI thread.
std::string ownAddress() {
    for (const OvNetInterface& interface : localInterfaces()) {
        if (!interface.loopback)
            return interface.address;
    }
    return "127.0.0.1";
}

} // namespace

OvTFTPServer::OvTFTPServer(QObject* parent) : QObject(parent) {
    template_.serverAddress = ownAddress();
    buffer_.resize(kMaxDatagram);
    tickTimer_.setInterval(kTickMs);
    connect(&tickTimer_, &QTimer::timeout, this, &OvTFTPServer::tick);
}

OvTFTPServer::~OvTFTPServer() {
    stop();
    // Sessions still running after the wait end here: each reports status 0
    // and an unfinished written file is discarded.
    while (!sessions_.empty())
        sessions_.pop_back();
}

void OvTFTPServer::setTiming(int timeout, int retries) {
    template_.timeout = std::max(timeout, 1);
    retries_ = std::max(retries, 1);
}

void OvTFTPServer::setNotify(OvTFTPNotify notify, void* data) {
    notify_ = std::move(notify);
    notifyData_ = data;
}

quint16 OvTFTPServer::effectivePort(quint16 port) {
    if (port != kTFTPPort)
        return port;
    const char* text = std::getenv("OV_TFTP_PORT");
    unsigned value = 0;
    if (text == nullptr || *text == '\0')
        return port;
    const char* end = text + std::strlen(text);
    const auto [last, error] = std::from_chars(text, end, value);
    if (error != std::errc() || last != end || value == 0 || value > 65535)
        return port;
    return static_cast<quint16>(value);
}

void OvTFTPServer::start(const QString& folder, quint16 port) {
    // "/" is the only separator here: a trailing "\" is part of a name.
    rootFolder_ = folder;
    if (!folder.isEmpty() && !folder.endsWith('/'))
        rootFolder_ += '/';
    root_ = QFile::encodeName(rootFolder_);
    if (listener_)
        return;
    auto socket = std::make_unique<QUdpSocket>();
    // Never shared: another server on the port would take our requests.
    if (!socket->bind(QHostAddress::AnyIPv4, effectivePort(port),
                      QAbstractSocket::DontShareAddress))
        throw OvException(SocketOpenFailed, statusText(SocketOpenFailed));
    connect(socket.get(), &QUdpSocket::readyRead, this, &OvTFTPServer::readRequests);
    listener_ = std::move(socket);
    template_.serverPort = listener_->localPort();
    tickTimer_.start();
}

quint16 OvTFTPServer::port() const {
    return listener_ ? listener_->localPort() : 0;
}

void OvTFTPServer::stop() {
    if (listener_) {
        listener_->close();
        // Inside its own signal the socket may only be deleted later.
        if (readingRequests_)
            listener_.release()->deleteLater();
        listener_.reset();
    }
    // Finished writes wait for no late DATA once the server stops.
    for (const auto& session : sessions_)
        session->endDally();
    // Inside a notify the session that called is on the stack: no waiting then.
    if (!sessions_.empty() && notifying_ == 0 && stopLoop_ == nullptr) {
        tickTimer_.start();
        QEventLoop loop;
        stopLoop_ = &loop;
        QTimer::singleShot(kStopWaitMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        stopLoop_ = nullptr;
    }
    tickTimer_.stop();
}

void OvTFTPServer::readRequests() {
    readingRequests_ = true;
    while (listener_ && listener_->hasPendingDatagrams()) {
        QHostAddress sender;
        quint16 senderPort = 0;
        const qint64 size =
            listener_->readDatagram(buffer_.data(), kMaxDatagram, &sender, &senderPort);
        if (size < 0)
            break;
        if (size < kHeaderSize || senderPort == 0)
            continue;
        handleRequest(QByteArray(buffer_.constData(), size), sender, senderPort);
    }
    readingRequests_ = false;
}

void OvTFTPServer::handleRequest(const QByteArray& packet, const QHostAddress& sender,
                                 quint16 senderPort) {
    const std::uint16_t opcode = opcodeOf(packet);
    if (opcode != RRQ && opcode != WRQ)
        return;
    const auto request = parseRequest(packet);
    if (!request)
        return refuse(ErrIllegalOperation, "Malformed request", sender, senderPort);
    template_.setStatus(Connected);
    template_.operation = request->opcode;
    template_.fileName = request->fileName;
    template_.mode = request->mode;
    template_.clientAddress = QHostAddress(sender.toIPv4Address()).toString().toStdString();
    template_.clientPort = senderPort;
    // A client repeats its request until answered; the running session answers.
    for (const auto& session : sessions_) {
        if (session->isRepetitionOf(template_))
            return;
    }
    if (accept_ && !accept_(template_.operation, template_.fileName))
        return refuse(ErrAccessViolation, "Access violation", sender, senderPort);
    if (runningSessions() >= kMaxSessions)
        return refuse(ErrNotDefined, "Server busy, try again later", sender, senderPort);
    template_.sendCount = 0;
    ++template_.sessionNumber;
    auto notify = [this](const OvTFTPMsg& msg, bool& cancel) { callNotify(msg, cancel); };
    sessions_.push_back(std::make_unique<TFTPSession>(root_, notify, template_, sender));
    sessions_.back()->start();
}

void OvTFTPServer::refuse(std::uint16_t errorCode, const std::string& message,
                          const QHostAddress& sender, quint16 senderPort) {
    listener_->writeDatagram(errorPacket(errorCode, message), sender, senderPort);
}

int OvTFTPServer::runningSessions() const {
    // A dallying write still holds its socket.
    return static_cast<int>(std::count_if(sessions_.begin(), sessions_.end(), [](const auto& s) {
        return s->state() == TFTPSession::Running || s->isDallying();
    }));
}

void OvTFTPServer::tick() {
    // A notify that runs an event loop must not start a second pass.
    if (ticking_)
        return;
    ticking_ = true;
    const std::int64_t now = TFTPSession::now();
    for (std::size_t i = 0; i < sessions_.size(); ++i)
        sessions_[i]->expire(now, retries_);
    // Every finished session goes at once, so a flood of requests drains fast.
    // A session whose handler is on the stack (a notify running an event loop)
    // waits for a later tick.
    std::vector<std::unique_ptr<TFTPSession>> ended;
    auto done = std::stable_partition(sessions_.begin(), sessions_.end(), [](const auto& s) {
        return s->state() == TFTPSession::Running || s->isBusy() || s->isDallying();
    });
    std::move(done, sessions_.end(), std::back_inserter(ended));
    sessions_.erase(done, sessions_.end());
    ended.clear();
    ticking_ = false;
    if (stopLoop_ != nullptr && sessions_.empty())
        stopLoop_->quit();
}

void OvTFTPServer::callNotify(const OvTFTPMsg& msg, bool& cancel) {
    if (!notify_)
        return;
    ++notifying_;
    // No exception may cross the event loop that delivered the packet.
    try {
        notify_(notifyData_, msg, cancel);
    } catch (const std::exception& error) {
        qWarning("TFTP notify failed: %s", error.what());
    } catch (...) {
        qWarning("TFTP notify failed");
    }
    --notifying_;
}

#include "moc_OvTFTPServer.cpp"
