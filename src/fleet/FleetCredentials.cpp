#include "FleetCredentials.h"

#include "OvOptionList.h"
#include "OvSNMPSession.h"

#include <charconv>
#include <cmath>

namespace {

template <typename T> void layOver(std::optional<T>& field, const std::optional<T>& over) {
    if (over)
        field = over;
}

struct Choice {
    const char* spelling;
    std::int32_t code;
};

// The code of the spelling the option was given (any case), else a usage
// error that names the choices: "-a takes MD5 or SHA, not ...".
std::int32_t choiceCode(const char* option, const std::string& text,
                        std::initializer_list<Choice> choices) {
    std::string names;
    std::size_t n = 0;
    for (const Choice& choice : choices) {
        if (ov::equalIgnoringAsciiCase(text, choice.spelling))
            return choice.code;
        if (n > 0)
            names += n + 1 == choices.size() ? " or " : ", ";
        names += choice.spelling;
        ++n;
    }
    throw FleetUsageError(std::string(option) + " takes " + names + ", not \"" + text + "\"");
}

std::int32_t retryCount(const std::string& text) {
    std::int32_t value = -1;
    if (!ov::parseInt32(text, value) || value < 0 || value > 20)
        throw FleetUsageError("-r takes a number of retries from 0 to 20, not \"" + text + "\"");
    return value;
}

std::int32_t timeoutCode(const std::string& text) {
    const auto value = fleet::hundredthsOfSeconds(text);
    if (!value)
        throw FleetUsageError("-t takes seconds from 0.01 to 600, not \"" + text + "\"");
    return *value;
}

// One option: its spellings and what its value sets.
struct CredentialOption {
    const char* shortName; // "-c", or nullptr
    const char* longName;  // "--timeout", or nullptr
    void (*apply)(FleetCredentials&, const std::string&);
};

const CredentialOption kCredentialOptions[] = {
    {"-v", nullptr,
     [](FleetCredentials& c, const std::string& s) {
         c.version =
             static_cast<std::uint8_t>(choiceCode("-v", s, {{"1", 0}, {"2c", 1}, {"3", 3}}));
     }},
    {"-c", "--community", [](FleetCredentials& c, const std::string& s) { c.readCommunity = s; }},
    {nullptr, "--write-community",
     [](FleetCredentials& c, const std::string& s) { c.writeCommunity = s; }},
    {"-u", nullptr, [](FleetCredentials& c, const std::string& s) { c.securityName = s; }},
    {"-l", nullptr,
     [](FleetCredentials& c, const std::string& s) {
         c.securityLevel =
             choiceCode("-l", s, {{"noAuthNoPriv", 1}, {"authNoPriv", 2}, {"authPriv", 3}});
     }},
    {"-a", nullptr,
     [](FleetCredentials& c, const std::string& s) {
         c.authProtocol =
             choiceCode("-a", s, {{"MD5", ovproto::hmacMd5}, {"SHA", ovproto::hmacSha}});
     }},
    {"-A", nullptr, [](FleetCredentials& c, const std::string& s) { c.authPassword = s; }},
    {"-x", nullptr,
     [](FleetCredentials& c, const std::string& s) {
         c.privProtocol = choiceCode("-x", s, {{"DES", ovproto::des}, {"AES", ovproto::aes128}});
     }},
    {"-X", nullptr, [](FleetCredentials& c, const std::string& s) { c.privPassword = s; }},
    {"-t", "--timeout",
     [](FleetCredentials& c, const std::string& s) { c.timeout = timeoutCode(s); }},
    {"-r", "--retries",
     [](FleetCredentials& c, const std::string& s) { c.retries = retryCount(s); }},
};

} // namespace

void FleetCredentials::overlay(const FleetCredentials& over) {
    layOver(version, over.version);
    layOver(readCommunity, over.readCommunity);
    layOver(writeCommunity, over.writeCommunity);
    layOver(securityName, over.securityName);
    layOver(securityLevel, over.securityLevel);
    layOver(authProtocol, over.authProtocol);
    layOver(authPassword, over.authPassword);
    layOver(privProtocol, over.privProtocol);
    layOver(privPassword, over.privPassword);
    layOver(timeout, over.timeout);
    layOver(retries, over.retries);
}

void FleetCredentials::applyTo(OvSNMPTarget& target) const {
    if (version) {
        target.version = *version;
        target.securityModel = *version == 3 ? 3 : *version + 1;
    }
    target.readCommunity = readCommunity.value_or(target.readCommunity);
    target.writeCommunity = writeCommunity.value_or(target.writeCommunity);
    target.securityName = securityName.value_or(target.securityName);
    target.securityLevel = securityLevel.value_or(target.securityLevel);
    target.authProtocol = authProtocol.value_or(target.authProtocol);
    target.authPassword = authPassword.value_or(target.authPassword);
    target.privProtocol = privProtocol.value_or(target.privProtocol);
    target.privPassword = privPassword.value_or(target.privPassword);
    target.timeout = timeout.value_or(target.timeout);
    target.retries = retries.value_or(target.retries);
    // net-snmp's tools authenticate with MD5 and encrypt with DES unless told;
    // a profile's own level keeps the protocols the profile gives.
    if (securityLevel && target.version == 3 && target.securityLevel >= 2 &&
        target.authProtocol == ovproto::none)
        target.authProtocol = ovproto::hmacMd5;
    if (securityLevel && target.version == 3 && target.securityLevel >= 3 &&
        target.privProtocol == ovproto::none)
        target.privProtocol = ovproto::des;
}

namespace fleet {

std::optional<std::int32_t> hundredthsOfSeconds(const std::string& text) {
    double seconds = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seconds);
    if (text.empty() || error != std::errc() || stop != end || !(seconds >= 0.01) || seconds > 600)
        return std::nullopt;
    return static_cast<std::int32_t>(std::lround(seconds * 100));
}

bool takeCredentialOption(const std::vector<std::string>& arguments, std::size_t& at,
                          FleetCredentials& credentials) {
    const std::string& argument = arguments[at];
    for (const CredentialOption& option : kCredentialOptions) {
        for (const char* name : {option.shortName, option.longName}) {
            if (name == nullptr)
                continue;
            const std::string spelt = name;
            const bool isLong = spelt.rfind("--", 0) == 0;
            std::string value;
            if (argument == spelt) {
                if (at + 1 >= arguments.size())
                    throw FleetUsageError(spelt + " needs a value");
                value = arguments[at + 1];
                at += 2;
            } else if (isLong && argument.rfind(spelt + "=", 0) == 0) {
                value = argument.substr(spelt.size() + 1);
                ++at;
            } else if (!isLong && argument.size() > spelt.size() && argument.rfind(spelt, 0) == 0) {
                value = argument.substr(spelt.size());
                ++at;
            } else {
                continue;
            }
            option.apply(credentials, value);
            return true;
        }
    }
    return false;
}

} // namespace fleet
