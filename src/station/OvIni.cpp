#include "OvIni.h"

#include "OvOptionList.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace {

constexpr std::size_t kValueBuffer = 4096; // a value holds at most 4095 characters

std::string readAll(const std::string& fileName, bool& ok) {
    std::ifstream in(fileName, std::ios::binary);
    ok = static_cast<bool>(in) && QFileInfo(QFile::decodeName(fileName.c_str())).isFile();
    if (!ok)
        return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Holds an exclusive lock on the INI file's folder for one read-modify-write
// (the file itself is replaced, so its own lock would not last).
class FileLock {
public:
    explicit FileLock(const std::string& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ >= 0)
            ::flock(fd_, LOCK_EX);
    }
    ~FileLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};

} // namespace

namespace ov {

std::string trimBlanksAndControls(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; };
    std::size_t first = 0, last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

} // namespace ov

OvIni::OvIni(std::string fileName) : fileName_(std::move(fileName)) {
    bool ok = false;
    const std::string content = readAll(fileName_, ok);
    exists_ = ok;
    parse(content);
}

void OvIni::parse(const std::string& content) {
    entries_.clear();
    std::string section;
    bool inSection = false;
    std::size_t start = 0;
    while (start <= content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        const std::string line = ov::trimBlanksAndControls(content.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = ov::trimBlanksAndControls(
                line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = true;
            entries_.push_back({section, {}, {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos)
            continue;
        entries_.push_back(
            {section, ov::trimBlanksAndControls(line.substr(0, equals)), line.substr(equals + 1)});
    }
}

const OvIni::Entry* OvIni::find(const std::string& section, const std::string& key) const {
    // Only the first section of a name counts, as the station's own reader does.
    bool seenSection = false;
    bool inFirst = false;
    for (const Entry& entry : entries_) {
        if (entry.key.empty()) {
            const bool same = ov::equalIgnoringAsciiCase(entry.section, section);
            inFirst = same && !seenSection;
            seenSection = seenSection || same;
            continue;
        }
        if (inFirst && ov::equalIgnoringAsciiCase(entry.key, key))
            return &entry;
    }
    return nullptr;
}

std::string OvIni::Read(const std::string& section, const std::string& key,
                        const std::string& defaultValue) const {
    const Entry* entry = find(section, key);
    if (entry == nullptr)
        return defaultValue;
    std::string value = ov::trimBlanksAndControls(entry->value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    value = ov::trimBlanksAndControls(value.substr(0, kValueBuffer - 1));
    return value.empty() ? defaultValue : value;
}

bool OvIni::HasSection(const std::string& section) const {
    for (const Entry& entry : entries_) {
        if (entry.key.empty() && ov::equalIgnoringAsciiCase(entry.section, section))
            return true;
    }
    return false;
}

bool OvIni::CreateSection(const std::string& section) {
    if (HasSection(section))
        return true;
    const QString path = QFile::decodeName(fileName_.c_str());
    const QFileInfo info(path);
    const bool writable = info.exists() ? info.isFile() && info.isWritable()
                                        : QFileInfo(info.absolutePath()).isWritable();
    if (!writable)
        return false;
    FileLock lock(QFile::encodeName(info.absolutePath()).toStdString());
    bool ok = false;
    std::string content = readAll(fileName_, ok); // again: another module may have written
    parse(content);
    if (HasSection(section))
        return true;
    if (!content.empty() && content.back() != '\n')
        content += '\n';
    content += "[" + section + "]\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(content.data(), static_cast<qint64>(content.size())) !=
            static_cast<qint64>(content.size()) ||
        !file.commit())
        return false;
    exists_ = true;
    parse(content);
    return true;
}
