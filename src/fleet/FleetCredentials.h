// Credentials as net-snmp's tools spell them (-v -c -u -l -a -A -x -X -t -r),
// read from the command line and from inventory lines alike. Each field is set
// only when given, so a line's options lay over its group's, and those over
// the command line's.
#pragma once

#include "OvSNMPEngine.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A command line or inventory that cannot be used: exit status 2.
class FleetUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct FleetCredentials {
    std::optional<std::uint8_t> version; // the engine's codes: 0 v1, 1 v2c, 3 v3
    std::optional<std::string> readCommunity;
    std::optional<std::string> writeCommunity;
    std::optional<std::string> securityName;
    std::optional<std::int32_t> securityLevel; // 1 noAuthNoPriv .. 3 authPriv
    std::optional<std::int32_t> authProtocol;
    std::optional<std::string> authPassword;
    std::optional<std::int32_t> privProtocol;
    std::optional<std::string> privPassword;
    std::optional<std::int32_t> timeout; // hundredths of a second
    std::optional<std::int32_t> retries;

    // The fields set in `over` replace these.
    void overlay(const FleetCredentials& over);
    // Writes the fields that are set into the target, with net-snmp's
    // defaults for what SNMPv3 leaves open (MD5, DES, the model of the version).
    void applyTo(OvSNMPTarget& target) const;
};

namespace fleet {

// When arguments[at] is a credential option, reads it and its value (the next
// argument, or the rest of the same one: "-cpublic", "--timeout=2"), advances
// `at` past them and answers true. Throws FleetUsageError for a bad value or a
// missing one.
bool takeCredentialOption(const std::vector<std::string>& arguments, std::size_t& at,
                          FleetCredentials& credentials);

// The seconds of -t and --timeout ("2", "0.5") in hundredths; nothing for any
// other text.
std::optional<std::int32_t> hundredthsOfSeconds(const std::string& text);

} // namespace fleet
