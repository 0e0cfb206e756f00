// net-snmp's command-line tools as an independent SNMP client, run with no
// configuration or MIB files of their own so their output is the same everywhere.
#pragma once

#include <string>
#include <vector>

namespace ovtest {

struct ToolRun {
    int exitCode = -1;
    std::string output; // stdout and stderr together

    bool contains(const std::string& text) const { return output.find(text) != std::string::npos; }
};

// Runs `program` (snmpget, snmpset, snmpwalk, ...) with these arguments.
ToolRun runTool(const std::string& program, const std::vector<std::string>& arguments);

// Security arguments of a named client: "v1" and "v2c" with the read or write
// community ("v1-rw", "v2c-rw"), "v3-md5" (authNoPriv MD5 user "amd5"),
// "v3-aes" (authPriv SHA+AES user "saes").
std::vector<std::string> credentials(const std::string& client);

// The --v3-user arguments that create the users of `credentials`.
std::vector<std::string> v3Users();

} // namespace ovtest
