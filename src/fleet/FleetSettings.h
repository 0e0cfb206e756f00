// Settings as text: every variable that the windows read and write (commands
// and triggers left out), per device, as an INI file with a section per
// group of controls and a key per variable, values as the windows show them.
// The text depends only on the values, so two exports of an unchanged device
// are byte for byte the same.
#pragma once

#include "FleetInventory.h"
#include "FleetRun.h"
#include "FleetVariables.h"

#include <map>
#include <string>
#include <vector>

struct FleetSetting {
    std::string section; // the device table's title
    std::string key;     // a name `get` and `set` take for the variable
    FleetVariable variable;
    bool secret = false;
};

struct FleetDifference {
    std::string key;
    std::string a; // "(none)" when missing; "***" for a secret
    std::string b;
};

// Key to value text.
using FleetSettingValues = std::map<std::string, std::string>;

namespace fleet {

// Every exported setting, in file order.
const std::vector<FleetSetting>& settings();

// The export's text; secrets only with `secrets`.
std::string exportText(const std::string& device, const FleetSettingValues& values, bool secrets);

// The values of an export's text. Throws FleetUsageError "FILE:LINE: ..." for
// a file that is no export of this model, a line that is no key, an unknown key.
FleetSettingValues parseExport(const std::string& text, const std::string& fileName);

// Reads and parses an export file; throws FleetUsageError.
FleetSettingValues readExport(const std::string& fileName);

// Writes the export through a temporary file renamed over the target, mode
// 0600 when it holds secrets, else 0644. Throws std::runtime_error.
void writeExport(const std::string& fileName, const std::string& text, bool secrets);

// The keys whose values differ, in file order.
std::vector<FleetDifference> differences(const FleetSettingValues& a, const FleetSettingValues& b);

// "KEY: A -> B"
std::string differenceText(const FleetDifference& difference);

} // namespace fleet

struct FleetSettingsRow {
    std::string device;
    bool done = false;
    bool sent = false;
    bool ok = false;
    std::string error;
    FleetSettingValues values;            // what the device has
    std::vector<FleetDifference> changes; // apply: device (a) to file (b)
};

// Reads every setting of a device (a few GETs, one after the other); with
// `wanted`, then writes in one SET the settings whose values differ, each
// checked as `set` checks it (`dryRun`: only lists them).
class FleetSettingsJob : public FleetJob {
public:
    FleetSettingsJob(const FleetDevice& device, const FleetSettingValues* wanted, bool dryRun);
    void start(std::function<void()> finished) override;
    const FleetSettingsRow& row() const { return row_; }

private:
    void readFrom(std::size_t first);
    void apply();
    void end(const std::string& error);

    OvSNMPTarget target_;
    const FleetSettingValues* wanted_;
    bool dryRun_;
    FleetSettingsRow row_;
    std::function<void()> finished_;
};
