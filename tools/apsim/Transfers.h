// The device's TFTP client: fetches a firmware image or a configuration from
// the module's server, or sends its configuration there, with libcurl on a
// thread of its own, so the agent goes on answering meanwhile. The agent loop
// waits on wakeFd() and collects the ended transfer with finished().
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace apsim {

struct TransferResult {
    int command = 0; // tftpcommand: 1 firmware, 2 configuration restore, 3 save
    std::string name;
    bool ok = false;
    std::string error;   // curl's text when not ok
    std::string content; // what a fetch received
    std::size_t bytes = 0;
    long long microseconds = 0; // how long the client took, request to end
};

// CRC-32 (IEEE 802.3, as zlib computes it).
std::uint32_t crc32Of(const std::string& octets);

class Transfers {
public:
    // port: the TFTP port of the server; abortPutAfter: a save gives up after
    // sending that many octets, abortGetAfter: a fetch after receiving that
    // many (negative: never).
    Transfers(int port, long abortPutAfter, long abortGetAfter = -1);
    ~Transfers();
    Transfers(const Transfers&) = delete;
    Transfers& operator=(const Transfers&) = delete;

    int wakeFd() const { return pipe_[0]; }
    bool busy() const { return running_; }

    void fetch(int command, const std::string& server, const std::string& name);
    void send(const std::string& server, const std::string& name, std::string content);
    // The transfer that has ended, once wakeFd() is readable.
    std::optional<TransferResult> finished();

private:
    void run(TransferResult result, const std::string& server, std::string upload);
    std::string url(const std::string& server, const std::string& name) const;

    int port_;
    long abortPutAfter_;
    long abortGetAfter_;
    int pipe_[2] = {-1, -1};
    std::thread worker_;
    std::atomic<bool> running_{false};
    std::mutex mutex_;
    std::optional<TransferResult> done_;
};

} // namespace apsim
