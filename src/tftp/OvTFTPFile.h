// The files a session reads from and writes to, named by octets. Only regular
// files are read or replaced: a FIFO or a device would block the UI thread.
// A written file replaces its target only when it is complete, so a failed or
// cancelled transfer leaves the old file as it was.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace ovtftp {

// Why a file could not be opened.
enum class FileFault { None, NotFound, AccessDenied };

// A regular file read from the start, through a read-ahead buffer.
class SourceFile {
public:
    SourceFile() = default;
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;
    ~SourceFile();

    FileFault open(const QByteArray& path);
    bool isOpen() const { return fd_ >= 0; }
    std::int64_t size() const { return size_; }
    // Up to length octets; fewer only at the end of the file; -1 on error.
    int read(char* data, int length);
    void close();

private:
    bool refill();

    int fd_ = -1;
    std::int64_t size_ = 0;
    QByteArray buffer_;
    int bufferStart_ = 0;
    int bufferEnd_ = 0;
    bool atEnd_ = false;
};

// A file written to a uniquely named temporary file in the target's folder and
// renamed over the target by commit(). Destroyed uncommitted, it removes the
// temporary file.
class TargetFile {
public:
    TargetFile() = default;
    TargetFile(const TargetFile&) = delete;
    TargetFile& operator=(const TargetFile&) = delete;
    ~TargetFile();

    // The target must be absent, or a regular file this process may write.
    FileFault open(const QByteArray& folder, const QByteArray& name);
    bool isOpen() const { return fd_ >= 0; }
    bool write(const char* data, int length);
    // Flushes the data and replaces the target; false (and discarded) on failure.
    bool commit();
    void discard();

private:
    int fd_ = -1;
    QByteArray target_;
    QByteArray temporary_;
    unsigned mode_ = 0;
};

} // namespace ovtftp
