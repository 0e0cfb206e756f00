#include "TFTPSession.h"

#include "OvTFTPPacket.h"

#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>

using namespace ovtftp;

namespace {

const std::string kTooLarge = "File too large for TFTP: more than 33553919 octets";

// Marks a session busy for the length of one of its handlers.
class BusyScope {
public:
    explicit BusyScope(int& busy) : busy_(busy) { ++busy_; }
    ~BusyScope() { --busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& busy_;
};

// Whether the file's real path, links resolved, lies in the served folder: a
// link in the folder may point anywhere. A name that does not resolve is left
// to the open, which reports it missing.
bool liesInside(const QByteArray& root, const QByteArray& path) {
    char realRoot[PATH_MAX];
    char realPath[PATH_MAX];
    if (::realpath(root.constData(), realRoot) == nullptr)
        return false;
    if (::realpath(path.constData(), realPath) == nullptr)
        return true;
    const std::string folder = std::string(realRoot) == "/" ? "/" : std::string(realRoot) + "/";
    return std::string(realPath).rfind(folder, 0) == 0;
}

} // namespace

std::int64_t TFTPSession::now() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TFTPSession::TFTPSession(const QByteArray& rootFolder, Notify notify, const OvTFTPMsg& request,
                         const QHostAddress& client)
    : root_(rootFolder), notify_(std::move(notify)), msg_(request), client_(client),
      socket_(std::make_unique<QUdpSocket>()) {
    buffer_.resize(kMaxDatagram);
    if (!socket_->bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::DontShareAddress)) {
        socket_.reset();
        setStatus(SocketOpenFailed);
        return;
    }
    QObject::connect(socket_.get(), &QUdpSocket::readyRead, socket_.get(),
                     [this] { readPending(); });
}

TFTPSession::~TFTPSession() {
    close();
    setStatus(Disconnected);
}

quint16 TFTPSession::localPort() const {
    return socket_ ? socket_->localPort() : 0;
}

bool TFTPSession::isRepetitionOf(const OvTFTPMsg& request) const {
    return state_ == Running && msg_.operation == request.operation && msg_.mode == request.mode &&
           msg_.clientAddress == request.clientAddress && msg_.clientPort == request.clientPort &&
           msg_.fileName == request.fileName;
}

void TFTPSession::start() {
    if (state_ != Running)
        return;
    BusyScope busy(busy_);
    if (cancel_)
        return fail(ErrNotDefined, Canceled, "Transfer canceled");
    // Both modes are copied octet for octet; anything else touches no file.
    if (!isTransferMode(msg_.mode))
        return fail(ErrIllegalOperation, BadOperation);
    // Nothing is served before a folder is set, and no name leaves the folder.
    if (root_.isEmpty() || !isConfinedFileName(msg_.fileName))
        return fail(ErrAccessViolation, AccessViolation);
    if (msg_.operation == ReadRequest)
        startRead(root_ + QByteArray::fromStdString(msg_.fileName));
    else if (msg_.operation == WriteRequest)
        startWrite();
    else
        fail(ErrIllegalOperation, BadOperation);
}

void TFTPSession::startRead(const QByteArray& path) {
    if (!liesInside(root_, path))
        return fail(ErrAccessViolation, AccessViolation);
    switch (source_.open(path)) {
    case FileFault::NotFound:
        return fail(ErrFileNotFound, FileNotFound);
    case FileFault::AccessDenied:
        return fail(ErrAccessViolation, AccessViolation);
    case FileFault::None:
        break;
    }
    // Refused at once rather than stalling at block 65535.
    if (source_.size() > kMaxFileSize)
        return fail(ErrNotDefined, UndefinedError, kTooLarge);
    sendBlock(1);
}

void TFTPSession::startWrite() {
    if (target_.open(root_, QByteArray::fromStdString(msg_.fileName)) != FileFault::None)
        return fail(ErrAccessViolation, AccessViolation);
    sendAck(0, Transferring);
}

void TFTPSession::readPending() {
    BusyScope busy(busy_);
    while (socket_ && socket_->state() == QAbstractSocket::BoundState &&
           socket_->hasPendingDatagrams()) {
        QHostAddress sender;
        quint16 senderPort = 0;
        const qint64 size =
            socket_->readDatagram(buffer_.data(), kMaxDatagram, &sender, &senderPort);
        if (size < 0)
            break;
        handle(QByteArray::fromRawData(buffer_.constData(), size), sender, senderPort);
    }
}

void TFTPSession::handle(const QByteArray& packet, const QHostAddress& sender, quint16 senderPort) {
    const std::uint16_t opcode = opcodeOf(packet);
    if (isDallying()) {
        // The client did not hear our final ACK and sends its last block again.
        if (opcode == DATA && packet.size() >= kHeaderSize && numberOf(packet) == block_ &&
            sender.toIPv4Address() == client_.toIPv4Address() && senderPort == msg_.clientPort)
            send(lastPacket_);
        return;
    }
    if (state_ != Running)
        return;
    // The transfer belongs to the request's address and port (RFC 1350 section 4).
    if (sender.toIPv4Address() != client_.toIPv4Address() || senderPort != msg_.clientPort) {
        if (opcode != ERROR)
            socket_->writeDatagram(errorPacket(ErrUnknownTransferId), sender, senderPort);
        return;
    }
    if (packet.size() < kHeaderSize)
        return;
    if (opcode == ERROR)
        return setStatus(statusOfErrorCode(numberOf(packet)));
    if (opcode == ACK && msg_.operation == ReadRequest && numberOf(packet) == block_)
        return acceptAck();
    if (opcode == DATA && msg_.operation == WriteRequest)
        return handleData(packet);
    // Anything else, older ACKs and duplicates included, is ignored: answering a
    // duplicate ACK would double every later block (Sorcerer's Apprentice).
}

void TFTPSession::handleData(const QByteArray& packet) {
    if (packet.size() > kHeaderSize + kBlockSize)
        return fail(ErrIllegalOperation, BadPacket);
    const std::uint16_t block = numberOf(packet);
    if (block == block_ + 1)
        return acceptData(packet, block);
    // Our ACK was lost: acknowledge again, without writing the block twice.
    if (block == block_ && block_ > 0) {
        ++msg_.sendCount;
        if (!send(lastPacket_))
            return setStatus(SocketIoFailed);
        armDeadline();
    }
}

void TFTPSession::acceptAck() {
    deadline_ = 0;
    if (cancel_)
        return fail(ErrNotDefined, Canceled, "Transfer canceled");
    if (msg_.lastBlockLength < kBlockSize)
        return setStatus(Success);
    if (block_ == kLastBlock)
        return fail(ErrNotDefined, UndefinedError, kTooLarge);
    sendBlock(static_cast<std::uint16_t>(block_ + 1));
}

void TFTPSession::acceptData(const QByteArray& packet, std::uint16_t block) {
    deadline_ = 0;
    if (cancel_)
        return fail(ErrNotDefined, Canceled, "Transfer canceled");
    const int length = static_cast<int>(packet.size()) - kHeaderSize;
    if (!target_.write(packet.constData() + kHeaderSize, length))
        return fail(ErrDiskFull, DiskFull);
    msg_.bytes += length;
    msg_.lastBlockLength = length;
    if (length == kBlockSize) {
        // A full block 65535 would need a block 65536 to end the file.
        if (block == kLastBlock)
            return fail(ErrDiskFull, DiskFull, kTooLarge);
        return sendAck(block, Transferring);
    }
    // The last block: the file replaces its target before the client hears so.
    if (!target_.commit())
        return fail(ErrDiskFull, DiskFull);
    sendAck(block, Success);
}

void TFTPSession::sendBlock(std::uint16_t block) {
    char data[kBlockSize];
    const int count = source_.read(data, kBlockSize);
    if (count < 0)
        return fail(ErrNotDefined, UndefinedError, "Read error");
    block_ = block;
    lastPacket_ = dataPacket(block, data, count);
    msg_.bytes += count;
    msg_.lastBlockLength = count;
    msg_.sendCount = 1;
    if (!send(lastPacket_))
        return setStatus(SocketIoFailed);
    armDeadline();
    setStatus(Transferring);
}

void TFTPSession::sendAck(std::uint16_t block, std::int32_t status) {
    block_ = block;
    lastPacket_ = ackPacket(block);
    msg_.sendCount = 1;
    if (!send(lastPacket_))
        return setStatus(SocketIoFailed);
    if (status == Transferring)
        armDeadline();
    setStatus(status);
}

void TFTPSession::expire(std::int64_t now, int retries) {
    if (isDallying() && now >= dallyUntil_)
        return endDally();
    if (state_ != Running || deadline_ == 0 || now < deadline_)
        return;
    BusyScope busy(busy_);
    if (msg_.operation != ReadRequest || msg_.sendCount >= retries)
        return setStatus(Timeout);
    ++msg_.sendCount;
    if (!send(lastPacket_))
        return setStatus(SocketIoFailed);
    armDeadline();
    setStatus(Transferring);
}

bool TFTPSession::send(const QByteArray& packet) {
    return socket_ && socket_->writeDatagram(
                          packet, client_, static_cast<quint16>(msg_.clientPort)) == packet.size();
}

void TFTPSession::fail(std::uint16_t errorCode, std::int32_t status, const std::string& message) {
    send(errorPacket(errorCode, message));
    setStatus(status);
}

void TFTPSession::armDeadline() {
    deadline_ = now() + std::int64_t{msg_.timeout} * 10;
}

void TFTPSession::setStatus(std::int32_t status) {
    msg_.setStatus(status);
    if (notify_)
        notify_(msg_, cancel_);
    if (status == Success) {
        state_ = Finished;
        const bool dally = msg_.operation == WriteRequest && socket_ != nullptr;
        close(dally);
        if (dally)
            dallyUntil_ = now() + std::int64_t{msg_.timeout} * 10;
    } else if (status < 0) {
        state_ = Failed;
        close();
    }
}

void TFTPSession::endDally() {
    if (!isDallying())
        return;
    dallyUntil_ = 0;
    close();
}

void TFTPSession::close(bool keepSocket) {
    deadline_ = 0;
    source_.close();
    target_.discard();
    // Closed, not deleted: this may run inside the socket's own signal.
    if (socket_ && !keepSocket) {
        dallyUntil_ = 0;
        socket_->close();
    }
}
