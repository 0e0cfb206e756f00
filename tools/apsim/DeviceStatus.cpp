// What the device does for the status windows: it keeps a log and shows a
// snapshot of it on request, rebuilds a band's client table from its
// association list on request, and counts traffic while it runs.
#include "Device.h"

#include "DeviceContent.h"
#include "DeviceMib.h"
#include "TypedValue.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace apsim {
namespace {

const OvOid& logEntry() {
    static const OvOid entry = privateOid("2.11.12.1");
    return entry;
}

const RowTable& logTable() {
    const auto tables = rowTables();
    return *std::find_if(tables.begin(), tables.end(),
                         [](const RowTable& t) { return t.table == 78; });
}

// A wave of `period` seconds through 0 at the start, from -1 to 1.
double livelyWave(double seconds, double period, double phase = 0) {
    return std::sin(2 * std::numbers::pi * seconds / period + phase);
}

} // namespace

OvVb currentValue(const DeviceVariable& variable, std::uint32_t uptimeTicks) {
    if (variable.uptime)
        return OvVb::unsigned32(OvSyntax::TimeTicks, uptimeTicks);
    if (variable.drifts && variable.value.syntax == OvSyntax::Integer) {
        // Four degrees either way over twenty minutes.
        const auto offset =
            static_cast<std::int32_t>(std::lround(4 * livelyWave(uptimeTicks / 100.0, 1200)));
        return OvVb::integer(static_cast<std::int32_t>(variable.value.number) + offset);
    }
    if (variable.growth == 0)
        return variable.value;
    OvVb grown = variable.value;
    const std::uint64_t seconds = uptimeTicks / 100;
    grown.number = static_cast<std::uint32_t>(grown.number + variable.growth * seconds);
    return grown;
}

// The rows the log table shows, in index order.
std::vector<std::pair<OvVb, OvVb>> Device::logRows() const {
    std::map<std::uint32_t, std::pair<OvVb, OvVb>> rows;
    for (auto it = variables_.upper_bound(logEntry());
         it != variables_.end() && it->first.startsWith(logEntry()); ++it) {
        const std::uint32_t arc = it->first.arcs()[logEntry().size()];
        const std::uint32_t row = it->first.arcs().back();
        if (arc == 2)
            rows[row].first = it->second.value;
        else if (arc == 3)
            rows[row].second = it->second.value;
    }
    std::vector<std::pair<OvVb, OvVb>> lines;
    for (auto& [row, line] : rows)
        lines.push_back(std::move(line));
    return lines;
}

void Device::appendLogLine() {
    const int row = static_cast<int>(log_.size()) + 1;
    const GeneratedRow generated = generateRow(logTable(), row, true, lan_);
    log_.emplace_back(parseValue(generated.values.at(0), ovtype::displaystr),
                      parseValue(generated.values.at(1), ovtype::displaystr));
}

void Device::takeLogSnapshot() {
    if (isAbsent(logEntry()))
        return;
    auto it = variables_.upper_bound(logEntry());
    while (it != variables_.end() && it->first.startsWith(logEntry()))
        it = variables_.erase(it);
    for (std::size_t i = 0; i < log_.size(); ++i) {
        const auto row = static_cast<std::uint32_t>(i + 1);
        const OvVb values[] = {OvVb::integer(static_cast<std::int32_t>(row)), log_[i].first,
                               log_[i].second};
        for (std::uint32_t arc = 1; arc <= 3; ++arc) {
            const OvOid oid = below(logEntry(), {arc, row});
            const MibObject* object = mib_.objectOf(oid);
            DeviceVariable variable;
            variable.type = object->type;
            variable.object = object;
            variable.value = values[arc - 1];
            variables_[oid] = std::move(variable);
        }
    }
}

// The association list is packed into the band's slots from the first on: the
// stations still there first, then free slots (MAC 000000000000), as the
// device rewrites its table.
void Device::rebuildClients(std::uint32_t band) {
    static const OvOid entry = privateOid("4.5.2.1");
    static const std::uint32_t columns[] = {2, 3, 4, 5, 8}; // MAC, band, auth, RSSI, power saving
    const OvOid macColumn = below(entry, {2, band});
    std::vector<std::uint32_t> slots;
    std::vector<std::vector<OvVb>> stations;
    for (auto it = variables_.upper_bound(macColumn);
         it != variables_.end() && it->first.startsWith(macColumn); ++it) {
        const std::uint32_t slot = it->first.arcs().back();
        slots.push_back(slot);
        const std::string& mac = it->second.value.octets;
        if (std::all_of(mac.begin(), mac.end(), [](char octet) { return octet == 0; }))
            continue;
        std::vector<OvVb> station;
        for (const std::uint32_t arc : columns) {
            const auto found = variables_.find(below(entry, {arc, band, slot}));
            station.push_back(found != variables_.end() ? found->second.value : OvVb::integer(0));
        }
        stations.push_back(std::move(station));
    }
    if (lively_) {
        // Between a quarter and all of the stations first listed, the bands
        // out of step, over a quarter of an hour.
        const auto [known, first] = associated_.emplace(band, stations);
        const std::vector<std::vector<OvVb>>& all = known->second;
        const double seconds =
            speed_ *
            std::chrono::duration<double>(std::chrono::steady_clock::now() - born_).count();
        const double share = 0.625 + 0.375 * livelyWave(seconds, 900, band);
        stations.assign(all.begin(),
                        all.begin() + static_cast<std::ptrdiff_t>(std::lround(share * all.size())));
    }
    for (std::size_t i = 0; i < slots.size(); ++i) {
        for (std::size_t c = 0; c < std::size(columns); ++c) {
            const auto found = variables_.find(below(entry, {columns[c], band, slots[i]}));
            if (found == variables_.end())
                continue;
            if (i < stations.size())
                found->second.value = stations[i][c];
            else
                found->second.value =
                    c == 0 ? OvVb::octetString(std::string(6, '\0')) : OvVb::integer(0);
        }
    }
}

} // namespace apsim
