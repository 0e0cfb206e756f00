#include "OvInstanceLock.h"

#include <QCryptographicHash>
#include <QDir>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

std::string OvInstanceLock::pathFor(const std::string& title) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const QString folder = runtime != nullptr && *runtime != '\0' && QDir(runtime).exists()
                               ? QString::fromLocal8Bit(runtime)
                               : QDir::tempPath();
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(title), QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    return QFile::encodeName(folder + "/orw3300ap-" + QString::fromLatin1(hash) + ".lock")
        .toStdString();
}

OvInstanceLock::OvInstanceLock(const std::string& title) : path_(pathFor(title)) {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return;
    int result;
    do {
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    held_ = result == 0;
}

OvInstanceLock::~OvInstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);
}
