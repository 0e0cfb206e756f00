// net-snmp's command-line tools as an independent SNMP client, run with no
// configuration or MIB files of their own so their output is the same everywhere.
#pragma once

#include <string>
#include <vector>

namespace ovtest {

class Apsim;

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

// The two lists one after the other.
std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b);

// One request with a tool against the device: the client's credentials, -On,
// the time-out in seconds and no retry, the agent, then the rest ("E." OIDs
// expanded).
ToolRun runAgainst(const Apsim& device, const std::string& program, const std::string& client,
                   std::vector<std::string> rest, const std::string& timeout = "2");
// The same against a peer ("udp:ADDRESS:PORT"), such as one device of a site.
ToolRun runAgainst(const std::string& peer, const std::string& program, const std::string& client,
                   std::vector<std::string> rest, const std::string& timeout = "2");

// The tools' line for a binding: ".OID = TYPE: value".
std::string toolLine(const std::string& oid, const std::string& value);

// The lines of the run that begin with a binding below the OID.
int linesBelow(const ToolRun& run, const std::string& oid);

// The rows an SNMPv2c snmpwalk prints below the OID. -CI: no GET of the OID
// itself when the walk finds nothing, so an empty table is one GETNEXT.
int walkedRows(const Apsim& device, const std::string& oid);

} // namespace ovtest
