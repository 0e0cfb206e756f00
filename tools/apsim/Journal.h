// The files tests read: the request log (one line per request received) and
// the state file (every current value, rewritten after each change).
#pragma once

#include "Device.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace apsim {

struct RequestRecord {
    std::string operation;             // GET, GETNEXT, GETBULK, SET, or the PDU type in hex
    std::string version;               // v1, v2c, v3
    std::string principal;             // community or user name
    std::string outcome;               // answered, silent, down, dropped, dropset, failed:N, toobig
    std::vector<std::string> bindings; // OID, or OID=typed value for a SET
};

struct EngineFacts {
    unsigned long engineBoots = 0;
    std::string engineId; // SNMPv3, in hex
    int restarts = 0;
    bool restarting = false;
    std::uint32_t uptimeTicks = 0;
    std::vector<std::pair<std::string, long long>> transfers; // what TFTP brought and sent
};

class Journal {
public:
    // Empty paths write nothing. Throws std::runtime_error when a file cannot be made.
    Journal(std::string logPath, std::string statePath);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    void logRequest(const RequestRecord& record);
    // Written to a temporary file and renamed, so a reader never sees half a state.
    void writeState(const Device& device, const EngineFacts& facts);

private:
    std::FILE* log_ = nullptr;
    std::string statePath_;
    unsigned long sequence_ = 0;
};

// A principal (community or user name) as a log field: printable text as is,
// anything else as "x:" and hex.
std::string principalField(const std::string& octets);

} // namespace apsim
