#include "TFTPSession.h"

#include "OvTFTPPacket.h"

#include <algorithm>
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

// How long a session polls for the next packet after answering, and the most
// time one wake-up spends handling and polling before the event loop runs again.
constexpr std::int64_t kLingerMicros = 40;
constexpr std::int64_t kSliceMicros = 2000;

std::int64_t nowMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

std::int64_t TFTPSession::now() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TFTPSession::TFTPSession(const QByteArray& rootFolder, Notify notify, const OvTFTPMsg& request,
                         const QHostAddress& client)
    : root_(rootFolder), notify_(std::move(notify)), msg_(request),
      client_(client.toIPv4Address()) {
    buffer_.resize(kMaxDatagram);
    if (!socket_.open([this] { readPending(); }))
        setStatus(SocketOpenFailed);
}

TFTPSession::~TFTPSession() {
    close();
    setStatus(Disconnected);
}

quint16 TFTPSession::localPort() const {
    return socket_.port();
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
    // The datagrams that wait are handled in this one wake-up. After each
    // answer sent, the session polls its socket a moment longer: on loopback or
    // a LAN the next packet comes within it, saving the event loop's wake-up,
    // which costs more than the rest of a block. The slice keeps the event
    // loop turning during a long transfer or a flood; the notifier calls again
    // for what is left.
    const std::int64_t sliceEnd = nowMicros() + kSliceMicros;
    std::uint32_t sender = 0;
    std::uint16_t senderPort = 0;
    for (std::int64_t now = nowMicros(); now < sliceEnd; now = nowMicros()) {
        long size = socket_.receive(buffer_.data(), kMaxDatagram, sender, senderPort);
        if (size < 0 && state_ == Running && deadline_ != 0) {
            const std::int64_t until = std::min(now + kLingerMicros, sliceEnd);
            while (size < 0 && nowMicros() < until)
                size = socket_.receive(buffer_.data(), kMaxDatagram, sender, senderPort);
        }
        if (size < 0)
            return;
        if (senderPort != 0)
            handle(QByteArray::fromRawData(buffer_.constData(), size), sender, senderPort);
    }
}

void TFTPSession::handle(const QByteArray& packet, std::uint32_t sender, std::uint16_t senderPort) {
    const std::uint16_t opcode = opcodeOf(packet);
    if (isDallying()) {
        // The client did not hear our final ACK and sends its last block again.
        if (opcode == DATA && packet.size() >= kHeaderSize && numberOf(packet) == block_ &&
            sender == client_ && senderPort == msg_.clientPort)
            send(lastPacket_);
        return;
    }
    if (state_ != Running)
        return;
    // The transfer belongs to the request's address and port (RFC 1350 section 4).
    if (sender != client_ || senderPort != msg_.clientPort) {
        if (opcode != ERROR) {
            const QByteArray error = errorPacket(ErrUnknownTransferId);
            socket_.sendTo(error.constData(), static_cast<std::size_t>(error.size()), sender,
                           senderPort);
        }
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
    // The block is read straight into the packet, whose buffer serves every block.
    lastPacket_.resize(kHeaderSize + kBlockSize);
    char* packet = lastPacket_.data();
    const int count = source_.read(packet + kHeaderSize, kBlockSize);
    if (count < 0)
        return fail(ErrNotDefined, UndefinedError, "Read error");
    block_ = block;
    packet[0] = 0;
    packet[1] = static_cast<char>(DATA);
    packet[2] = static_cast<char>(block >> 8);
    packet[3] = static_cast<char>(block & 0xFF);
    lastPacket_.resize(kHeaderSize + count);
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
    return socket_.sendTo(packet.constData(), static_cast<std::size_t>(packet.size()), client_,
                          static_cast<std::uint16_t>(msg_.clientPort));
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
        const bool dally = msg_.operation == WriteRequest && socket_.isOpen();
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
    if (!keepSocket) {
        dallyUntil_ = 0;
        socket_.close();
    }
}
