// apsim's command line.
#pragma once

#include "Device.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace apsim {

struct V3User {
    std::string name;
    std::string auth = "none"; // none, md5, sha
    std::string authPass;
    std::string priv = "none"; // none, des, aes
    std::string privPass;
};

// Options that one device of a site takes on top of the others (--for).
struct DeviceArguments {
    int first = 1; // device numbers, from 1
    int last = 1;
    std::vector<std::string> arguments; // the option and its value
};

struct Options {
    std::string address = "127.0.0.1";
    int port = 161;
    std::string roCommunity = "mulvek";
    std::string rwCommunity = "trondax";
    std::vector<V3User> users;
    std::string engineId; // hex; empty: a fresh one per run
    double restartSeconds = 3;
    double scanSeconds = 3; // how long a rogue AP scan takes before its SET is answered
    int logLines = 0;       // lines the device logs after start, one a second
    DeviceConfig device;
    int delayMs = 0;
    int dropPercent = 0;
    std::optional<unsigned> seed;
    std::vector<std::pair<std::string, int>> fail;              // VAR, error status
    std::vector<std::pair<std::string, int>> failSet;           // VAR, error status of SETs
    std::vector<std::pair<std::string, int>> dropSet;           // VAR, SETs to ignore
    std::vector<std::pair<std::string, int>> delayVar;          // VAR, milliseconds
    std::vector<std::string> tooBig;                            // VAR or "all"
    int maxVarbinds = 0;                                        // 0: no limit
    std::vector<std::pair<std::string, std::string>> answerOid; // VAR, OID answered instead
    bool maskKeys = false; // WEP keys and pass phrases read back as '*'; the state keeps them
    int tftpPort = 69;
    long tftpPutAbort = -1; // octets after which a configuration upload gives up; -1 never
    long tftpGetAbort = -1; // octets after which a fetch (firmware, restore) gives up; -1 never
    std::string logFile;
    std::string stateFile;
    std::string stateDir;
    int devices = 1; // a site: devices on consecutive addresses from `address`
    std::vector<DeviceArguments> forDevices;
    bool help = false;
    bool version = false;
};

// Throws std::invalid_argument with a message naming the bad option.
Options parseOptions(const std::vector<std::string>& arguments);

// The options of each device of a site, device 1 first: its address (the
// first one counted up), engine ID, seed, files and the --for
// options of its number. Throws std::invalid_argument.
std::vector<Options> siteOptions(const Options& options);

// Every option the command line takes.
std::vector<std::string> optionNames();
std::string helpText();

} // namespace apsim
