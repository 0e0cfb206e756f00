#include "OvTFTPFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovtftp {

namespace {

constexpr int kReadAhead = 64 * 1024;

FileFault faultOf(int error) {
    return error == EACCES || error == EPERM ? FileFault::AccessDenied : FileFault::NotFound;
}

// The permissions a newly created file gets from this process.
unsigned defaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

bool writeAll(int fd, const char* data, int length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(length));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        length -= static_cast<int>(written);
    }
    return true;
}

} // namespace

SourceFile::~SourceFile() {
    close();
}

FileFault SourceFile::open(const QByteArray& path) {
    close();
    // Non-blocking, so that opening a FIFO cannot wait for a writer.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return faultOf(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return FileFault::NotFound;
    }
    fd_ = fd;
    size_ = info.st_size;
    buffer_.resize(kReadAhead);
    bufferStart_ = bufferEnd_ = 0;
    atEnd_ = false;
    return FileFault::None;
}

bool SourceFile::refill() {
    bufferStart_ = bufferEnd_ = 0;
    for (;;) {
        const ssize_t count = ::read(fd_, buffer_.data(), kReadAhead);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        bufferEnd_ = static_cast<int>(count);
        atEnd_ = count == 0;
        return true;
    }
}

int SourceFile::read(char* data, int length) {
    if (fd_ < 0)
        return -1;
    int done = 0;
    while (done < length) {
        if (bufferStart_ == bufferEnd_) {
            if (atEnd_)
                break;
            if (!refill())
                return -1;
            if (atEnd_)
                break;
        }
        const int count = std::min(length - done, bufferEnd_ - bufferStart_);
        std::copy_n(buffer_.constData() + bufferStart_, count, data + done);
        bufferStart_ += count;
        done += count;
    }
    return done;
}

void SourceFile::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    buffer_ = QByteArray();
}

TargetFile::~TargetFile() {
    discard();
}

FileFault TargetFile::open(const QByteArray& folder, const QByteArray& name) {
    discard();
    target_ = folder + name;
    mode_ = defaultFileMode();
    struct stat info {};
    if (::stat(target_.constData(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return FileFault::AccessDenied;
        // A file this process could not overwrite is not replaced either.
        if (::faccessat(AT_FDCWD, target_.constData(), W_OK, AT_EACCESS) != 0)
            return FileFault::AccessDenied;
        mode_ = info.st_mode & 07777;
    } else if (errno != ENOENT) {
        return faultOf(errno);
    }
    QByteArray pattern = folder + ".ovtftp-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return FileFault::AccessDenied;
    fd_ = fd;
    temporary_ = pattern;
    return FileFault::None;
}

bool TargetFile::write(const char* data, int length) {
    return fd_ >= 0 && writeAll(fd_, data, length);
}

bool TargetFile::commit() {
    if (fd_ < 0)
        return false;
    const bool flushed = ::fchmod(fd_, mode_) == 0 && ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed || ::rename(temporary_.constData(), target_.constData()) != 0) {
        ::unlink(temporary_.constData());
        temporary_.clear();
        return false;
    }
    temporary_.clear();
    return true;
}

void TargetFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.isEmpty()) {
        ::unlink(temporary_.constData());
        temporary_.clear();
    }
}

} // namespace ovtftp
