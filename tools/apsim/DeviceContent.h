// What the simulated access point holds when it leaves the factory: the value
// of every scalar, and the rows of the tables that windows walk.
#pragma once

#include "Lan.h"
#include "OvVb.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace apsim {

// A device table whose rows apsim makes up; `--rows NAME=N` sets its size.
struct RowTable {
    const char* name;
    int table; // T-number of its columns
    int band;  // first index arc of the client table rows (1 a, 2 g); 0 elsewhere
    int defaultRows;
    int usedRows; // fixed-slot tables: rows in use, the rest hold free-slot values; -1 all
    const char* what;
};

std::span<const RowTable> rowTables();

// The OID below the device's private root ("2.7.4.1").
OvOid privateOid(const std::string& tail);

// The OID of a table entry's column and row: the entry, then the arcs.
OvOid below(const OvOid& entry, std::initializer_list<std::uint32_t> arcs);

// One generated row: its index arcs and the typed value texts of the table's
// columns that are not index columns, in table order.
struct GeneratedRow {
    std::vector<std::uint32_t> index;
    std::vector<std::string> values;
};

// Row `row` (1-based) of a row table; `used` says whether a fixed slot is in use.
// Addresses lie on the LAN. `scan` counts the site surveys run since the start:
// each one finds the neighbours again with other signal levels.
GeneratedRow generateRow(const RowTable& table, int row, bool used, const Lan& lan, int scan = 0);

// The factory value of a scalar instance as typed or plain text (read by the
// variable's type); nothing when its type's neutral value will do.
std::optional<std::string> factoryText(const OvOid& instance, const Lan& lan);

// How much a traffic counter instance counts up a second while the device
// runs; 0 for the rates, the error counters and every other variable.
std::uint32_t growthPerSecond(const OvOid& instance);

} // namespace apsim
