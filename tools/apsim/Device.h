// The simulated access point's variables: one ordered map from instance OID to
// value, so a GET is one look-up and a GET-NEXT one upper bound, whatever the
// size of the tables.
#pragma once

#include "DeviceContent.h"
#include "Lan.h"
#include "MibObjects.h"

#include <array>
#include <chrono>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace mib {
struct TableInfo;
}

namespace apsim {

struct GeneratedRow;

struct DeviceVariable {
    OvVb value; // as served; its syntax may differ from the type on purpose
    std::uint8_t type = 0;
    bool writable = false;
    bool uptime = false;      // served as the time since the last restart
    std::uint32_t growth = 0; // a counter: counts up this much a second since the last restart
    bool drifts = false;      // a reading that wanders around its value with the time
    const MibObject* object = nullptr;
};

struct DeviceConfig {
    std::vector<std::pair<std::string, int>> rows;           // --rows NAME=N
    std::vector<std::pair<std::string, std::string>> values; // --set VAR=VALUE
    std::vector<std::string> absent;                         // --absent VAR
    Lan lan;                                                 // --lan ADDRESS/PREFIX
    int air = 16;        // --air N: the networks a rogue AP scan can hear
    bool lively = false; // --lively: the temperature drifts, clients come and go
    double speed = 1;    // --speed N: device time (uptime, counters, drift) runs N times as fast

    friend bool operator==(const DeviceConfig&, const DeviceConfig&) = default;
};

// The value served now, `uptimeTicks` after the last (re)start: the uptime, a
// counter that has grown meanwhile (wrapping at 2^32), or the value held.
OvVb currentValue(const DeviceVariable& variable, std::uint32_t uptimeTicks);

// RFC 3416 error statuses a SET may be refused with.
namespace snmperr {
inline constexpr int badValue = 3;
inline constexpr int wrongType = 7;
inline constexpr int wrongLength = 8;
inline constexpr int wrongValue = 10;
inline constexpr int noCreation = 11;
inline constexpr int notWritable = 17;
} // namespace snmperr

class Device {
public:
    using Entry = std::pair<const OvOid, DeviceVariable>;

    // Throws std::invalid_argument with a message for a bad row count, VAR or VALUE.
    explicit Device(const DeviceConfig& config);

    const MibObjects& mib() const { return mib_; }
    const std::map<OvOid, DeviceVariable>& variables() const { return variables_; }

    // A served variable; nullptr for one that is absent or hidden.
    const DeviceVariable* find(const OvOid& oid) const;
    // The first served variable after `oid` that lies below `root`; nullptr when none.
    const Entry* next(const OvOid& oid, const OvOid& root) const;
    bool isAbsent(const OvOid& oid) const;
    // A row of a lease table that the manager has not asked the device to
    // prepare yet ("DynamicGet" or "StaticGet" = 1): held, but not served.
    bool isHidden(const OvOid& oid) const;

    // 0 when a SET may write `value` into `oid`, else the error status.
    int checkSet(const OvOid& oid, const OvVb& value) const;
    // Writes a checked value; answers whether the device must restart
    // (1 restart, 2 factory default) once the answer has gone out.
    int set(const OvOid& oid, const OvVb& value);

    // The device's log gets its next line (as it logs events while it runs);
    // the log table shows it after the next "adGetLog" = 1.
    void appendLogLine();

    // A site's device K has the LAN MAC address configured plus K-1 (in its
    // last two octets), at the start and after a factory default.
    void countLanMac(std::uint32_t add);

    // The device has come back: restart triggers read 0 again, the status
    // variables show the configuration, a factory default restores the start values.
    void restart(bool factoryDefault);

private:
    void addObjects();
    void addRows(const std::vector<std::pair<std::string, int>>& counts);
    // Adds one row of a table with its column values; the index column, if
    // the table has one, holds the row's last index arc.
    void addRow(const mib::TableInfo& info, const GeneratedRow& row);
    void addTableRows(const RowTable& table, int rows, int used, int scan);
    void removeTableRows(const RowTable& table);
    // A site survey of the band: its table holds what the scan found, one
    // neighbour more than the scan before.
    void scanSurvey(int band);
    void applyValue(const std::string& var, const std::string& text);
    void clearLog();
    // What the manager's triggers ask of the device: "adGetLog" takes a
    // snapshot of the log into the log table, "adGetClient" rebuilds a band's
    // client table from its association list (DeviceStatus.cpp).
    void takeLogSnapshot();
    void rebuildClients(std::uint32_t band);
    // The stations of a band's table when first asked for; a lively device
    // shows a share of them that changes with the time.
    std::map<std::uint32_t, std::vector<std::vector<OvVb>>> associated_;
    std::chrono::steady_clock::time_point born_ = std::chrono::steady_clock::now();
    bool lively_ = false;
    double speed_ = 1;
    std::vector<std::pair<OvVb, OvVb>> logRows() const;
    int checkDeviceRule(const OvOid& oid, const OvVb& value) const;
    const OvOid* hiddenTableOf(const OvOid& oid) const;

    // Rogue AP detection (DeviceRogue.cpp): a scan, and the commands that move
    // or remove list rows by index; a command naming no row is badValue.
    int checkRogueCommand(const OvOid& oid, const OvVb& value) const;
    bool applyRogueCommand(const OvOid& oid, const OvVb& value);
    void scanAir();
    void moveToKnownList(std::uint32_t row);
    void removeRow(const OvOid& entry, std::uint32_t row);
    std::int32_t numberAt(const OvOid& oid) const;

    MibObjects mib_;
    Lan lan_;
    int air_;
    std::map<OvOid, DeviceVariable> variables_;
    std::map<OvOid, DeviceVariable> factory_;
    std::vector<OvOid> absent_;
    // Dynamic and static lease tables: prepared on the manager's request.
    std::array<bool, 2> leasesPrepared_{};
    std::array<bool, 2> factoryLeasesPrepared_{};
    // Site survey tables (802.11a, 802.11g): rows at the start, scans since.
    std::array<int, 2> surveyRows_{};
    std::array<int, 2> surveyScans_{};
    // The device's log (time, message), of which the log table is a snapshot.
    std::vector<std::pair<OvVb, OvVb>> log_;
    std::vector<std::pair<OvVb, OvVb>> factoryLog_;
};

} // namespace apsim
