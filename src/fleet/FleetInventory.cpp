#include "FleetInventory.h"

#include "OvSNMPSession.h"
#include "OvStartup.h"

#include <algorithm>
#include <filesystem>
#include <fnmatch.h>
#include <fstream>
#include <sstream>

namespace {

// Splits a line into words at blanks; a double-quoted word may hold blanks.
// A "#" outside quotes at the start of a word ends the line.
std::vector<std::string> inventoryWords(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r'))
            ++at;
        if (at >= line.size() || line[at] == '#')
            break;
        std::string word;
        if (line[at] == '"') {
            const std::size_t close = line.find('"', at + 1);
            if (close == std::string::npos)
                throw FleetUsageError("a quotation mark is not closed");
            word = line.substr(at + 1, close - at - 1);
            at = close + 1;
        } else {
            while (at < line.size() && line[at] != ' ' && line[at] != '\t' && line[at] != '\r')
                word += line[at++];
        }
        words.push_back(word);
    }
    return words;
}

FleetCredentials lineOptions(const std::vector<std::string>& words, std::size_t from) {
    FleetCredentials credentials;
    for (std::size_t at = from; at < words.size();) {
        if (!fleet::takeCredentialOption(words, at, credentials))
            throw FleetUsageError("\"" + words[at] + "\" is not a credential option");
    }
    return credentials;
}

bool isHostName(const std::string& host) {
    if (host.empty() || host.size() > 253)
        return false;
    return std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-' || c == '_';
    });
}

// "host" or "host:port" into the target; false when it names no device.
bool takeAddress(const std::string& text, OvSNMPTarget& target) {
    const std::size_t colon = text.find(':');
    const std::string host = text.substr(0, colon);
    if (!isHostName(host))
        return false;
    target.agentAddress = host;
    if (colon == std::string::npos)
        return true;
    std::int32_t port = 0;
    if (!ov::parseInt32(text.substr(colon + 1), port) || port < 1 || port > 65535)
        return false;
    target.agentPort = static_cast<std::uint16_t>(port);
    return true;
}

void checkVersionThree(const OvSNMPTarget& target) {
    if (target.version == 3 && target.securityName.empty())
        throw FleetUsageError("SNMPv3 needs a user (-u)");
}

} // namespace

namespace fleet {

OvSNMPTarget defaultTarget() {
    const OvSNMPDeviceRecord device = OvSNMPDevice;
    const OvSNMPScopeRecord scope = OvSNMPScope;
    const OvSNMPSecurityRecord security = OvSNMPSecurity;
    const std::int32_t timeout = OvSNMPDefaultTimeout;
    OvSNMPResetSession();
    OvSNMPTarget target;
    target.agentPort = OvSNMPDevice.agentPort;
    target.version = OvSNMPSecurity.version;
    target.readCommunity = OvSNMPSecurity.readCommunity;
    target.writeCommunity = OvSNMPSecurity.writeCommunity;
    target.securityModel = OvSNMPSecurity.securityModel;
    target.securityLevel = OvSNMPSecurity.securityLevel;
    target.authProtocol = OvSNMPSecurity.authProtocol;
    target.privProtocol = OvSNMPSecurity.privProtocol;
    target.timeout = OvSNMPDefaultTimeout;
    target.retries = 1;
    // The records belong to whoever set them; this only reads their defaults.
    OvSNMPDevice = device;
    OvSNMPScope = scope;
    OvSNMPSecurity = security;
    OvSNMPDefaultTimeout = timeout;
    return target;
}

std::vector<FleetDevice> profileInventory(const std::string& profileFolder,
                                          const FleetCredentials& options) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(profileFolder.empty() ? "." : profileFolder, error)) {
        const std::string file = entry.path().filename().string();
        if (file.size() > 4 && file.ends_with(".cfg") && entry.is_regular_file(error))
            names.push_back(file.substr(0, file.size() - 4));
    }
    if (error)
        throw FleetUsageError("cannot read the profile folder " + profileFolder + ": " +
                              error.message());
    std::sort(names.begin(), names.end());
    std::vector<FleetDevice> devices;
    const OvSNMPTarget base = defaultTarget();
    for (const std::string& name : names) {
        const std::string path = OvProfilePath(profileFolder, name);
        OvStartupValues values;
        values.device.agentPort = base.agentPort;
        values.security.version = base.version;
        values.security.securityModel = base.securityModel;
        values.security.securityLevel = base.securityLevel;
        values.security.authProtocol = base.authProtocol;
        values.security.privProtocol = base.privProtocol;
        try {
            OvReadProfile(values, path);
        } catch (const std::exception& e) {
            throw FleetUsageError(path + ": " + e.what());
        }
        FleetDevice device{name, {}, base};
        OvSNMPTarget& t = device.target;
        if (!isHostName(name))
            throw FleetUsageError(path + ": \"" + name + "\" names no device");
        t.agentAddress = name;
        t.agentPort = values.device.agentPort;
        t.contextEngineId = values.scope.contextEngineId;
        t.contextName = values.scope.contextName;
        t.version = values.security.version;
        t.securityModel = values.security.securityModel;
        t.securityLevel = values.security.securityLevel;
        t.securityName = values.security.securityName;
        t.authProtocol = values.security.authProtocol;
        t.authPassword = values.security.authPassword;
        t.privProtocol = values.security.privProtocol;
        t.privPassword = values.security.privPassword;
        options.applyTo(t);
        try {
            checkVersionThree(t);
        } catch (const FleetUsageError& e) {
            throw FleetUsageError(path + ": " + e.what());
        }
        devices.push_back(std::move(device));
    }
    return devices;
}

std::vector<FleetDevice> parseInventory(const std::string& text, const std::string& fileName,
                                        const FleetCredentials& options) {
    std::vector<FleetDevice> devices;
    std::string group;
    FleetCredentials groupOptions;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        try {
            const std::vector<std::string> words = inventoryWords(line);
            if (words.empty())
                continue;
            if (words[0] == "group") {
                if (words.size() < 2 || words[1].empty() || words[1][0] == '-')
                    throw FleetUsageError("\"group\" needs a name");
                group = words[1];
                groupOptions = lineOptions(words, 2);
                continue;
            }
            FleetCredentials credentials = options;
            credentials.overlay(groupOptions);
            credentials.overlay(lineOptions(words, 1));
            FleetDevice device{words[0], group, defaultTarget()};
            if (!takeAddress(words[0], device.target))
                throw FleetUsageError("\"" + words[0] + "\" is no address or host name");
            credentials.applyTo(device.target);
            checkVersionThree(device.target);
            devices.push_back(std::move(device));
        } catch (const FleetUsageError& e) {
            throw FleetUsageError(fileName + ":" + std::to_string(number) + ": " + e.what());
        }
    }
    return devices;
}

std::vector<FleetDevice> fileInventory(const std::string& fileName,
                                       const FleetCredentials& options) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file || std::filesystem::is_directory(fileName))
        throw FleetUsageError(fileName + ": cannot read the inventory");
    std::ostringstream text;
    text << file.rdbuf();
    return parseInventory(text.str(), fileName, options);
}

std::vector<FleetDevice> selectDevices(const std::vector<FleetDevice>& devices,
                                       const std::string& pattern, const std::string& group) {
    std::vector<FleetDevice> chosen;
    for (const FleetDevice& device : devices) {
        if (!group.empty() && device.group != group)
            continue;
        if (!pattern.empty() && fnmatch(pattern.c_str(), device.name.c_str(), 0) != 0 &&
            fnmatch(pattern.c_str(), device.target.agentAddress.c_str(), 0) != 0)
            continue;
        chosen.push_back(device);
    }
    return chosen;
}

} // namespace fleet
