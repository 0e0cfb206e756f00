// One module per device: a lock named after the window title, held for the
// life of the process and freed by the kernel when the process ends, even
// after a crash.
#pragma once

#include <string>

class OvInstanceLock {
public:
    // Takes the lock for a title; held() tells whether this process got it.
    explicit OvInstanceLock(const std::string& title);
    ~OvInstanceLock();
    OvInstanceLock(const OvInstanceLock&) = delete;
    OvInstanceLock& operator=(const OvInstanceLock&) = delete;

    bool held() const { return held_; }
    const std::string& path() const { return path_; }

    // The lock file for a title: in $XDG_RUNTIME_DIR, else the temporary
    // folder, named by a hash of the title (which may hold "/").
    static std::string pathFor(const std::string& title);

private:
    std::string path_;
    int fd_ = -1;
    bool held_ = false;
};
