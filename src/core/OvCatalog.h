// Message catalogs: the texts of every display code, with built-in defaults that
// catalog files of the station can replace (to reword or translate them).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

enum class OvCatalog {
    Snmp,      // "snmp.err": error status of an answer PDU
    SnmpV3,    // "snmpv3.err": SNMPv3 message processing statuses
    Usm,       // "snmpusm.err": USM statuses
    SnmpClass, // "snmpclass.err": general engine statuses
    OvSnmp,    // "ovsnmp.err": the module's own codes of the SNMP and binding layers
    Messages,  // "snmp.msg": status line templates
    Common,    // "common.err": the module's common codes (input constraints)
};

inline constexpr int kCatalogCount = 7;

namespace ov {

// File name of a catalog ("snmp.err" ...).
const char* catalogFileName(OvCatalog catalog);

// Entry n of a catalog. An entry that a loaded file does not have falls back to
// the built-in text of that entry, and past the built-in table to "".
const std::string& catalogEntry(OvCatalog catalog, int entry);

// Replaces the catalog's table with the non-blank lines of the file. A missing,
// unreadable or blank file keeps the current table. Returns whether it replaced.
bool loadCatalog(OvCatalog catalog, const std::filesystem::path& file);

// Loads every catalog whose file exists in the folder, in the given order.
void loadCatalogs(const std::filesystem::path& folder, const std::vector<OvCatalog>& order);

// Puts every catalog back to its built-in table.
void resetCatalogs();

// The lines of catalog text as the loader takes them: split at line feeds (a
// carriage return before the feed goes with it), long lines cut into pieces of
// 1023 characters, blank lines dropped.
std::vector<std::string> catalogLines(const std::string& content);

} // namespace ov

// A display code with its catalog text.
struct OvStatus {
    std::int32_t code = 0;
    std::string text;
};

namespace ov {

// Maps an engine status (SNMP++ numbering: send results, error statuses of
// answers, completion reasons) to its display code and text.
OvStatus mapStatus(int engineStatus);

// The text of one of the module's own codes: -501 .. -528 from the OvSNMP++
// table, -1 .. -18 from the common table, 0 is success.
std::string textOfCode(std::int32_t code);

// Replaces every "[NAME]" placeholder in a catalog text.
std::string fillPlaceholder(std::string text, const std::string& placeholder,
                            const std::string& value);

} // namespace ov
