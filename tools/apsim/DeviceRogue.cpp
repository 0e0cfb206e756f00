// The device's rogue AP detection: a scan replaces the result table by the
// networks of the air that pass the filters, numbered from 1; "add" moves a
// result row to the end of the known AP list, the two deletes remove a row of
// either list. Commands name rows by the index the device gave them; the other
// rows keep theirs.
#include "Device.h"

#include "DeviceContent.h"
#include "DeviceMib.h"
#include "Rogue.h"
#include "TypedValue.h"

#include <algorithm>

namespace apsim {
namespace {

OvOid at(const char* tail) {
    return *OvOid::parse(MibObjects::privateRoot().toString() + "." + tail);
}

struct RogueOids {
    OvOid bssType = at("2.10.1.0");
    OvOid bands = at("2.10.2.0");
    OvOid securities = at("2.10.3.0");
    OvOid detect = at("2.10.4.1.1.0");
    OvOid add = at("2.10.4.1.2.0");
    OvOid deleteResult = at("2.10.4.1.3.0");
    OvOid resultEntry = at("2.10.4.1.4.1");
    OvOid deleteKnown = at("2.10.4.2.1.0");
    OvOid knownEntry = at("2.10.4.2.2.1");
};

const RogueOids& rogue() {
    static const RogueOids oids;
    return oids;
}

constexpr std::uint32_t kTypeColumn = 2; // every row has one

const mib::TableInfo& table(int number) {
    return mib::tables()[static_cast<std::size_t>(number - 1)];
}

const RowTable& rogueRowTable() {
    const auto tables = rowTables();
    return *std::find_if(tables.begin(), tables.end(),
                         [](const RowTable& t) { return t.table == 72; });
}

// A row number a command carries; 0 stands for none (rows count from 1).
std::uint32_t rowNumber(const OvVb& value) {
    const auto number = static_cast<std::int32_t>(value.number);
    return number > 0 ? static_cast<std::uint32_t>(number) : 0;
}

} // namespace

std::int32_t Device::numberAt(const OvOid& oid) const {
    const auto it = variables_.find(oid);
    return it == variables_.end() ? 0 : static_cast<std::int32_t>(it->second.value.number);
}

int Device::checkRogueCommand(const OvOid& oid, const OvVb& value) const {
    const OvOid* entry = nullptr;
    if (oid == rogue().add || oid == rogue().deleteResult)
        entry = &rogue().resultEntry;
    else if (oid == rogue().deleteKnown)
        entry = &rogue().knownEntry;
    if (entry == nullptr)
        return 0;
    const std::uint32_t row = rowNumber(value);
    return row != 0 && variables_.count(below(*entry, {kTypeColumn, row})) != 0 ? 0
                                                                                : snmperr::badValue;
}

bool Device::applyRogueCommand(const OvOid& oid, const OvVb& value) {
    const std::uint32_t row = rowNumber(value);
    if (oid == rogue().detect) {
        if (value.number == 1)
            scanAir();
        // The trigger reads "nothing" again once the scan has ended.
        variables_[oid].value = OvVb::integer(0);
    } else if (oid == rogue().add) {
        moveToKnownList(row);
    } else if (oid == rogue().deleteResult) {
        removeRow(rogue().resultEntry, row);
    } else if (oid == rogue().deleteKnown) {
        removeRow(rogue().knownEntry, row);
    } else {
        return false;
    }
    return true;
}

void Device::scanAir() {
    const OvOid& entry = rogue().resultEntry;
    std::erase_if(variables_, [&](const Entry& e) { return e.first.startsWith(entry); });
    const ScanFilters filters{numberAt(rogue().bssType), numberAt(rogue().bands),
                              numberAt(rogue().securities)};
    std::uint32_t next = 1;
    for (int heard = 1; heard <= air_; ++heard) {
        GeneratedRow network = generateRow(rogueRowTable(), heard, true, lan_);
        if (!reported(networkOf(network.values), filters))
            continue;
        network.index = {next++};
        addRow(table(72), network);
    }
}

void Device::moveToKnownList(std::uint32_t row) {
    const OvOid knownTypes = below(rogue().knownEntry, {kTypeColumn});
    std::uint32_t last = 0;
    for (auto it = variables_.upper_bound(knownTypes);
         it != variables_.end() && it->first.startsWith(knownTypes); ++it)
        last = std::max(last, it->first.arcs().back());
    // The known list's columns follow the result table's, in the same order.
    GeneratedRow moved;
    moved.index = {last + 1};
    for (const OvSNMPVarRow* column = table(72).rows; column->oid != nullptr; ++column) {
        if (*column->oid == '\0')
            continue;
        const auto it = variables_.find(below(*OvOid::parse(column->oid), {row}));
        if (it != variables_.end())
            moved.values.push_back(formatValue(it->second.value, it->second.type));
    }
    addRow(table(74), moved);
    removeRow(rogue().resultEntry, row);
}

void Device::removeRow(const OvOid& entry, std::uint32_t row) {
    const std::size_t depth = entry.arcs().size() + 2;
    std::erase_if(variables_, [&](const Entry& e) {
        return e.first.startsWith(entry) && e.first.arcs().size() == depth &&
               e.first.arcs().back() == row;
    });
}

} // namespace apsim
