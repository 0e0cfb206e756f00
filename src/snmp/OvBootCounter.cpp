#include "OvBootCounter.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <sstream>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovboot {

namespace {

// The line's engine field when the line is an entry (not a comment, not empty).
bool isEntryOf(const std::string& line, const std::string& encoded) {
    return !line.empty() && line[0] != '#' && line.compare(0, encoded.size(), encoded) == 0 &&
           (line.size() == encoded.size() || line[encoded.size()] == ' ');
}

// The count after the blank: decimal digits (blanks around them allowed), at most maxBoots.
bool parseCount(const std::string& text, std::uint32_t& boots) {
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t\r");
    if (begin == std::string::npos || end < begin)
        return false;
    const char* first = text.data() + begin;
    const char* last = text.data() + end + 1;
    if (*first < '0' || *first > '9')
        return false;
    std::uint64_t value = 0;
    const auto [next, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || next != last || value > maxBoots)
        return false;
    boots = static_cast<std::uint32_t>(value);
    return true;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

const char* const kHeader = "#\n"
                            "# SNMPv3 engine boots counters of this management module.\n"
                            "# Lines beginning with '#' are comments; every other line is\n"
                            "# <encoded engine ID> <boots>\n"
                            "#\n";

// Holds an exclusive flock on a folder for the life of the object.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ >= 0)
            ::flock(fd_, LOCK_EX);
    }
    ~FolderLock() {
        if (fd_ >= 0)
            ::close(fd_); // closing releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

// The whole file: ok, noFile when it does not exist, unreadable for any other
// failure. Not blocking on open keeps a FIFO in its place from hanging start-up.
int readWhole(const std::string& path, std::string& content) {
    content.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? noFile : unreadable;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return unreadable;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return unreadable;
        }
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok;
}

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string encodeEngineId(const std::string& engineId) {
    std::string encoded;
    for (unsigned char octet : engineId) {
        encoded += static_cast<char>('@' + (octet >> 4));
        encoded += static_cast<char>('@' + (octet & 0x0F));
    }
    return encoded;
}

int getBootCounter(const std::string& path, const std::string& engineId, std::uint32_t& boots) {
    boots = 0;
    std::string content;
    if (const int read = readWhole(path, content); read != ok)
        return read;
    const std::string encoded = encodeEngineId(engineId);
    std::istringstream in(content);
    std::string line;
    while (std::getline(in, line)) {
        if (!isEntryOf(line, encoded))
            continue;
        if (line.size() == encoded.size())
            return fileError;
        std::uint32_t count = 0;
        if (!parseCount(line.substr(encoded.size() + 1), count))
            return fileError;
        boots = count;
        return ok;
    }
    return noEntry;
}

int saveBootCounter(const std::string& path, const std::string& engineId, std::uint32_t boots) {
    std::string content;
    const int read = readWhole(path, content);
    if (read == noFile)
        content = kHeader;
    else if (read != ok)
        return read; // replacing it would lose the lines we could not read
    const std::string encoded = encodeEngineId(engineId);
    std::string out;
    bool written = false;
    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line)) {
        if (isEntryOf(line, encoded)) {
            if (written)
                continue; // a duplicate of our line
            line = encoded + " " + std::to_string(boots);
            written = true;
        }
        out += line;
        out += '\n';
    }
    if (!written)
        out += encoded + " " + std::to_string(boots) + "\n";

    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return createError;
    const bool good = writeAll(fd, out) && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    if (!good) {
        ::unlink(temporary.c_str());
        return createError;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return renameError;
    }
    return ok;
}

std::uint32_t advanceBootCounter(const std::string& path, const std::string& engineId,
                                 int& readResult, int& saveResult) {
    FolderLock lock(folderOf(path));
    std::uint32_t count = 0;
    saveResult = ok;
    readResult = getBootCounter(path, engineId, count);
    if (readResult < noFile)
        return 0;
    const std::uint32_t boots = count < maxBoots ? count + 1 : maxBoots;
    saveResult = saveBootCounter(path, engineId, boots);
    return saveResult == ok ? boots : 0;
}

} // namespace ovboot
