// `status`: one row per device, read with one GET and a walk of the client
// table's MAC column, read-only (the client table is not rebuilt first, so it
// shows the clients as of the device's last rebuild).
#pragma once

#include "FleetInventory.h"
#include "FleetRun.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

struct FleetStatusRow {
    std::string device; // the inventory's name
    std::string address;
    std::uint16_t port = 0;
    bool done = false; // false: interrupted before its answers came
    bool ok = false;
    std::string error; // the failure's text when not ok
    std::string model;
    std::string firmware;
    std::string mac;
    std::string uptime;
    std::array<std::string, 4> leds; // power, LAN, 802.11g, 802.11a: on, off, blinking
    std::optional<int> clientsA;     // nothing when the device keeps no client table
    std::optional<int> clientsG;
};

class FleetStatusJob : public FleetJob {
public:
    explicit FleetStatusJob(const FleetDevice& device);
    void start(std::function<void()> finished) override;
    const FleetStatusRow& row() const { return row_; }

private:
    void readFacts(const FleetOutcome& outcome);
    void walkClients(const OvOid& after);
    void clientStep(const FleetOutcome& outcome);
    void end();

    OvSNMPTarget target_;
    FleetStatusRow row_;
    std::function<void()> finished_;
    OvOid lastClient_;
    int clientSteps_ = 0;
};

namespace fleet {

// The LED names in the order of FleetStatusRow::leds.
inline constexpr const char* kLedNames[] = {"power", "lan", "11g", "11a"};

// The four LEDs' states from the stLED value: each has a lit bit with its
// blink bit just above it (power 0x01, LAN 0x04, 802.11g 0x10, 802.11a 0x40).
std::array<std::string, 4> ledStates(const std::string& ledValue);

std::string statusTable(const std::vector<FleetStatusRow>& rows);
std::string statusJson(const std::vector<FleetStatusRow>& rows, bool interrupted);

} // namespace fleet
