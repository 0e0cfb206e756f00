#include "Options.h"

#include "ApsimHelpText.h"
#include "DeviceContent.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <stdexcept>
#include <utility>

namespace apsim {
namespace {

using Handler = std::function<void(Options&, const std::string&)>;

constexpr int kMaxDevices = 1000;
// Hex octets with their last two counted up by `add` (wrapping), so each
// device of a site has its own engine ID.
std::string countedHex(const std::string& hex, int add) {
    std::string result = hex;
    const std::size_t tail = result.size() - 4;
    const unsigned value = (std::stoul(result.substr(tail), nullptr, 16) + add) & 0xffffu;
    char text[5];
    std::snprintf(text, sizeof text, "%04X", value);
    result.replace(tail, 4, text);
    return result;
}

template <typename Number>
Number number(const std::string& text, Number low, Number high, const std::string& what) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || p != end || value < low || value > high)
        throw std::invalid_argument(what + " must be a number from " + std::to_string(low) +
                                    " to " + std::to_string(high) + ", not \"" + text + "\"");
    return value;
}

double seconds(const std::string& text, const std::string& option) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || p != end || value < 0 || value > 3600)
        throw std::invalid_argument(option + " must be 0 to 3600, not \"" + text + "\"");
    return value;
}

std::pair<std::string, std::string> pairOf(const std::string& text, const std::string& option) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw std::invalid_argument(option + " needs NAME=VALUE, not \"" + text + "\"");
    return {text.substr(0, equals), text.substr(equals + 1)};
}

int errorStatus(const std::string& text, const std::string& option) {
    static const std::map<std::string, int> names = {
        {"tooBig", 1},
        {"noSuchName", 2},
        {"badValue", 3},
        {"readOnly", 4},
        {"genErr", 5},
        {"noAccess", 6},
        {"wrongType", 7},
        {"wrongLength", 8},
        {"wrongEncoding", 9},
        {"wrongValue", 10},
        {"noCreation", 11},
        {"inconsistentValue", 12},
        {"resourceUnavailable", 13},
        {"commitFailed", 14},
        {"undoFailed", 15},
        {"authorizationError", 16},
        {"notWritable", 17},
        {"inconsistentName", 18},
    };
    if (const auto it = names.find(text); it != names.end())
        return it->second;
    return number<int>(text, 1, 19, option + " STATUS");
}

void listen(Options& options, const std::string& text) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos)
        throw std::invalid_argument("--listen needs ADDR:PORT, not \"" + text + "\"");
    options.address = text.substr(0, colon);
    in_addr address{};
    if (inet_pton(AF_INET, options.address.c_str(), &address) != 1)
        throw std::invalid_argument("--listen needs an IPv4 address, not \"" + options.address +
                                    "\"");
    options.port = number<int>(text.substr(colon + 1), 0, 65535, "--listen PORT");
}

std::string community(const std::string& text, const std::string& option) {
    for (const unsigned char c : text)
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\')
            throw std::invalid_argument(option + " takes printable text without quotes or "
                                                 "backslashes");
    return text;
}

std::string passPhrase(const std::string& text, const std::string& what) {
    if (text.size() < 8)
        throw std::invalid_argument(what + " must have at least 8 characters");
    community(text, what);
    return text;
}

V3User v3User(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const auto colon = text.find(':', start);
        fields.push_back(text.substr(start, colon - start));
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    if (fields.size() > 5 || fields[0].empty())
        throw std::invalid_argument("--v3-user needs NAME:AUTH:AUTHPASS:PRIV:PRIVPASS, not \"" +
                                    text + "\"");
    fields.resize(5);
    V3User user{community(fields[0], "--v3-user NAME"), fields[1].empty() ? "none" : fields[1],
                fields[2], fields[3].empty() ? "none" : fields[3], fields[4]};
    if (user.name.find(' ') != std::string::npos)
        throw std::invalid_argument("--v3-user NAME must not contain blanks");
    if (user.auth != "none" && user.auth != "md5" && user.auth != "sha")
        throw std::invalid_argument("--v3-user AUTH must be none, md5 or sha");
    if (user.priv != "none" && user.priv != "des" && user.priv != "aes")
        throw std::invalid_argument("--v3-user PRIV must be none, des or aes");
    if (user.auth == "none" && user.priv != "none")
        throw std::invalid_argument("--v3-user " + user.name + ": privacy needs authentication");
    if (user.auth != "none")
        passPhrase(user.authPass, "--v3-user AUTHPASS");
    if (user.priv != "none")
        passPhrase(user.privPass, "--v3-user PRIVPASS");
    return user;
}

std::pair<std::string, int> varNumber(const std::string& text, const std::string& option,
                                      int high) {
    const auto [var, value] = pairOf(text, option);
    return {var, number<int>(value, 0, high, option + " value")};
}

const std::map<std::string, Handler>& handlers() {
    static const std::map<std::string, Handler> table = {
        {"--listen", listen},
        {"--ro-community",
         [](Options& o, const std::string& v) { o.roCommunity = community(v, "--ro-community"); }},
        {"--rw-community",
         [](Options& o, const std::string& v) { o.rwCommunity = community(v, "--rw-community"); }},
        {"--v3-user", [](Options& o, const std::string& v) { o.users.push_back(v3User(v)); }},
        {"--engine-id",
         [](Options& o, const std::string& v) {
             if (v.size() < 10 || v.size() > 64 ||
                 v.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos ||
                 v.size() % 2 != 0)
                 throw std::invalid_argument("--engine-id takes 5 to 32 octets in hex");
             o.engineId = v;
         }},
        {"--restart-seconds",
         [](Options& o, const std::string& v) {
             o.restartSeconds = seconds(v, "--restart-seconds");
         }},
        {"--scan-seconds",
         [](Options& o, const std::string& v) { o.scanSeconds = seconds(v, "--scan-seconds"); }},
        {"--speed",
         [](Options& o, const std::string& v) {
             o.device.speed = number<double>(v, 0.001, 10000, "--speed");
         }},
        {"--air",
         [](Options& o, const std::string& v) { o.device.air = number<int>(v, 0, 1000, "--air"); }},
        {"--rows",
         [](Options& o, const std::string& v) {
             o.device.rows.push_back(varNumber(v, "--rows", 65535));
         }},
        {"--set",
         [](Options& o, const std::string& v) { o.device.values.push_back(pairOf(v, "--set")); }},
        {"--absent", [](Options& o, const std::string& v) { o.device.absent.push_back(v); }},
        {"--log-lines",
         [](Options& o, const std::string& v) {
             o.logLines = number<int>(v, 0, 65535, "--log-lines");
         }},
        {"--lan", [](Options& o, const std::string& v) { o.device.lan = parseLan(v); }},
        {"--delay-ms",
         [](Options& o, const std::string& v) {
             o.delayMs = number<int>(v, 0, 600000, "--delay-ms");
         }},
        {"--drop-percent",
         [](Options& o, const std::string& v) {
             o.dropPercent = number<int>(v, 0, 100, "--drop-percent");
         }},
        {"--seed",
         [](Options& o, const std::string& v) {
             o.seed = number<unsigned>(v, 0, 4294967295u, "--seed");
         }},
        {"--fail",
         [](Options& o, const std::string& v) {
             const auto [var, status] = pairOf(v, "--fail");
             o.fail.emplace_back(var, errorStatus(status, "--fail"));
         }},
        {"--fail-set",
         [](Options& o, const std::string& v) {
             const auto [var, status] = pairOf(v, "--fail-set");
             o.failSet.emplace_back(var, errorStatus(status, "--fail-set"));
         }},
        {"--drop-set",
         [](Options& o, const std::string& v) {
             o.dropSet.push_back(varNumber(v, "--drop-set", 1000000));
         }},
        {"--delay-var",
         [](Options& o, const std::string& v) {
             o.delayVar.push_back(varNumber(v, "--delay-var", 600000));
         }},
        {"--too-big", [](Options& o, const std::string& v) { o.tooBig.push_back(v); }},
        {"--max-varbinds",
         [](Options& o, const std::string& v) {
             o.maxVarbinds = number<int>(v, 0, 100000, "--max-varbinds");
         }},
        {"--tftp-port",
         [](Options& o, const std::string& v) {
             o.tftpPort = number<int>(v, 1, 65535, "--tftp-port");
         }},
        {"--tftp-put-abort",
         [](Options& o, const std::string& v) {
             o.tftpPutAbort = number<long>(v, 0, 100000000, "--tftp-put-abort");
         }},
        {"--tftp-get-abort",
         [](Options& o, const std::string& v) {
             o.tftpGetAbort = number<long>(v, 0, 100000000, "--tftp-get-abort");
         }},
        {"--answer-oid",
         [](Options& o, const std::string& v) {
             o.answerOid.push_back(pairOf(v, "--answer-oid"));
         }},
        {"--log", [](Options& o, const std::string& v) { o.logFile = v; }},
        {"--state", [](Options& o, const std::string& v) { o.stateFile = v; }},
        {"--state-dir", [](Options& o, const std::string& v) { o.stateDir = v; }},
    };
    return table;
}

} // namespace

namespace {

bool isSwitch(const std::string& name) {
    return name == "--help" || name == "-h" || name == "--version" || name == "--mask-keys" ||
           name == "--lively";
}

// "K" or "K-L", device numbers from 1.
DeviceArguments deviceRange(const std::string& text) {
    const auto dash = text.find('-');
    DeviceArguments range;
    range.first = number<int>(text.substr(0, dash), 1, kMaxDevices, "--for K");
    range.last = dash == std::string::npos
                     ? range.first
                     : number<int>(text.substr(dash + 1), range.first, kMaxDevices, "--for L");
    return range;
}

// Options that a site derives per device, or that only the whole site takes.
bool isSiteWide(const std::string& name) {
    static const char* const names[] = {"--listen",    "--devices", "--for", "--log",    "--state",
                                        "--state-dir", "--help",    "-h",    "--version"};
    return std::any_of(std::begin(names), std::end(names),
                       [&](const char* siteWide) { return name == siteWide; });
}

void applyArguments(Options& options, const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--version") {
            options.version = true;
            continue;
        }
        if (name == "--mask-keys") {
            options.maskKeys = true;
            continue;
        }
        if (name == "--lively") {
            options.device.lively = true;
            continue;
        }
        std::optional<std::string> value;
        if (const auto equals = name.find('=');
            equals != std::string::npos && name.rfind("--", 0) == 0) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const bool known = handlers().count(name) != 0 || name == "--for" || name == "--devices";
        if (!known)
            throw std::invalid_argument("unknown option \"" + name + "\" (see --help)");
        if (!value) {
            if (i + 1 >= arguments.size())
                throw std::invalid_argument(name + " needs a value");
            value = arguments[++i];
        }
        if (name == "--devices") {
            options.devices = number<int>(*value, 1, kMaxDevices, "--devices");
            continue;
        }
        if (name != "--for") {
            handlers().at(name)(options, *value);
            continue;
        }
        DeviceArguments device = deviceRange(*value);
        if (i + 1 >= arguments.size())
            throw std::invalid_argument("--for " + *value + " needs an option after it");
        const std::string option = arguments[++i];
        const std::string optionName = option.substr(0, option.find('='));
        if (isSiteWide(optionName))
            throw std::invalid_argument("--for " + *value + ": " + optionName +
                                        " is for the whole site");
        device.arguments.push_back(option);
        if (!isSwitch(option) && option.find('=') == std::string::npos && i + 1 < arguments.size())
            device.arguments.push_back(arguments[++i]);
        // Checked now, so a bad one is reported before any device starts.
        Options scratch;
        applyArguments(scratch, device.arguments);
        options.forDevices.push_back(std::move(device));
    }
}

std::string deviceFile(const std::string& path, const std::string& address) {
    return path.empty() ? path : path + "." + address;
}

} // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    applyArguments(options, arguments);
    for (const DeviceArguments& device : options.forDevices)
        if (device.last > options.devices)
            throw std::invalid_argument("--for " + std::to_string(device.last) + ": the site has " +
                                        std::to_string(options.devices) + " device(s)");
    // A lone device (--for 1 without --devices) simply takes them.
    if (options.devices == 1) {
        for (const DeviceArguments& device : std::exchange(options.forDevices, {}))
            applyArguments(options, device.arguments);
    }
    return options;
}

std::vector<Options> siteOptions(const Options& options) {
    in_addr first{};
    inet_pton(AF_INET, options.address.c_str(), &first);
    const std::uint64_t start = ntohl(first.s_addr);
    if (start + static_cast<std::uint64_t>(options.devices) - 1 > 0xffffffffu)
        throw std::invalid_argument("--devices " + std::to_string(options.devices) + " from " +
                                    options.address + " runs past 255.255.255.255");
    // A fresh engine ID base for the run (enterprise format, octets), unless given.
    std::string engineBase = options.engineId;
    if (engineBase.empty()) {
        char random[9];
        std::snprintf(random, sizeof random, "%08x", std::random_device{}());
        engineBase = std::string("8000bc5505") + random + "0000";
    }
    std::vector<Options> site;
    for (int k = 1; k <= options.devices; ++k) {
        Options device = options;
        device.devices = 1;
        device.forDevices.clear();
        in_addr address{htonl(static_cast<std::uint32_t>(start + k - 1))};
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &address, text, sizeof text);
        device.address = text;
        device.engineId = countedHex(engineBase, k - 1);
        if (options.seed)
            device.seed = *options.seed + static_cast<unsigned>(k - 1);
        device.logFile = deviceFile(options.logFile, device.address);
        device.stateFile = deviceFile(options.stateFile, device.address);
        if (!options.stateDir.empty())
            device.stateDir = options.stateDir + "/" + device.address;
        for (const DeviceArguments& extra : options.forDevices)
            if (k >= extra.first && k <= extra.last)
                applyArguments(device, extra.arguments);
        site.push_back(std::move(device));
    }
    return site;
}

std::vector<std::string> optionNames() {
    // Switches and the site's options, without handlers.
    std::vector<std::string> names{"--help",   "--version", "--mask-keys",
                                   "--lively", "--devices", "--for"};
    for (const auto& [name, handler] : handlers())
        names.push_back(name);
    return names;
}

// The options as docs/apsim.md lists them (the build makes the text from that
// page), and the tables --rows knows, from the device model itself.
std::string helpText() {
    std::string tables = "\nTABLE of --rows:\n";
    for (const RowTable& table : rowTables())
        tables += "  " + std::string(table.name) +
                  std::string(22 - std::string(table.name).size(), ' ') + table.what +
                  " (default " + std::to_string(table.defaultRows) + ")\n";
    tables += "  clients               both client tables: N/2 on 802.11a, the rest on 802.11g\n";
    return kApsimHelpText + tables;
}

} // namespace apsim
