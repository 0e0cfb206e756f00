// The simulated access point (tools/apsim) as a test fixture: one real SNMP
// agent per object, on a free loopback UDP port, with its request log, state
// file and agent files in a fresh folder. See docs/apsim.md for the options and
// the file formats.
//
//     ovtest::Apsim device({"--rows", "dhcpleases=5", "--absent", "stLED"});
//     ASSERT_TRUE(device.isRunning()) << device.error();
//     ... talk SNMP to device.address():device.port() ...
//     EXPECT_EQ(device.stateValue("E.1.1.1.1.2")->text, "NewSSID");
//     EXPECT_EQ(device.requests().back().operation, "SET");
//
// With `devices` above 1 it is a site (--devices): device K (from 1) answers at
// peer(K), on 127.0.1.K, and has its own log and state; the accessors take K.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace ovtest {

// A value as apsim writes it: a type letter and the text after "X:".
// i Integer32, u Gauge32, c Counter32, C Counter64, t TimeTicks, a IpAddress,
// o OID, s printable octet string, x octet string in hex, n NULL.
struct ApsimValue {
    char type = 0;
    std::string text;

    static ApsimValue parse(const std::string& typed); // "i:5" -> {'i', "5"}
    std::string octets() const;                        // hex decoded for 'x', else the text
    friend bool operator==(const ApsimValue&, const ApsimValue&) = default;
};

// One line of the request log.
struct ApsimRequest {
    long sequence = 0;
    std::string operation;          // GET, GETNEXT, GETBULK, SET
    std::string version;            // v1, v2c, v3
    std::string principal;          // community or SNMPv3 user
    std::string outcome;            // answered, silent, down, dropped, dropset, failed:N, toobig
    std::vector<std::string> oids;  // binding names, in request order
    std::vector<ApsimValue> values; // SET: the value of each binding; else empty
};

class Apsim {
public:
    // Starts apsim with these extra arguments and waits up to 10 s (a site 0.1 s more a device)
    // for its ready lines. The executable is the one built with the tests, or $OV_APSIM.
    explicit Apsim(const std::vector<std::string>& arguments = {}, int devices = 1);
    // Stops it (SIGTERM, then SIGKILL after 5 s) and removes its folder.
    ~Apsim();
    Apsim(const Apsim&) = delete;
    Apsim& operator=(const Apsim&) = delete;

    bool isRunning() const;     // started, answered its ready line, not exited since
    std::string error() const;  // why it is not running, with its output
    std::string output() const; // what it printed (stdout and stderr)

    int devices() const { return static_cast<int>(endpoints_.size()); }
    std::string address(int device = 1) const;
    std::uint16_t port(int device = 1) const;
    std::string peer(int device = 1) const; // "udp:ADDRESS:PORT", for net-snmp
    pid_t pid() const { return pid_; }

    const std::string& folder() const { return folder_; }
    std::string logPath(int device = 1) const { return devicePath("/requests.log", device); }
    std::string statePath(int device = 1) const { return devicePath("/state.txt", device); }

    std::vector<ApsimRequest> requests(int device = 1) const;
    // Current values by OID ("1.3.6..."); `stateValue` also takes "E.x.y" for the private root.
    std::map<std::string, ApsimValue> state(int device = 1) const;
    std::optional<ApsimValue> stateValue(const std::string& oid, int device = 1) const;
    // engineBoots, restarts, restarting; -1 when missing.
    long stateFact(const std::string& key, int device = 1) const;

    // Polls `condition` until it holds or `timeoutMs` passes; answers whether it held.
    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
    // Waits until the device has finished restart number `count` and answers again.
    bool waitForRestart(long count, int timeoutMs = 10000) const;

    // Stops the process now; idempotent.
    void stop();
    // Keeps the folder after the fixture goes (for a failing test's post-mortem).
    void keepFolder() { keep_ = true; }

private:
    std::string devicePath(const std::string& name, int device) const;

    std::string folder_;
    pid_t pid_ = -1;
    bool site_ = false;
    std::vector<std::pair<std::string, std::uint16_t>> endpoints_; // address, port
    std::string error_;
    bool keep_ = false;
};

// "E.4.4.0" -> "1.3.6.1.4.1.48213.10.37.14.4.4.0"; other texts unchanged.
std::string expandOid(const std::string& oid);

// "OID=type:value" as apsim's log writes a binding of a SET; the OID expanded.
std::string binding(const std::string& oid, const std::string& typedValue);

} // namespace ovtest
