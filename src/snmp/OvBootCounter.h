// The SNMPv3 engine boots counter file, one line per engine ID, in the format
// that other SNMP++ applications read and write: "#" lines are comments; an entry
// is the engine ID with every octet as two characters '@' + nibble (0x4F is "DO"),
// one blank and the boot count in decimal.
#pragma once

#include <cstdint>
#include <string>

namespace ovboot {

inline constexpr int ok = 0;
inline constexpr int noEntry = -1;     // the file holds no line for the engine
inline constexpr int noFile = -2;      // the file does not exist (and only that)
inline constexpr int fileError = -3;   // our line is malformed
inline constexpr int createError = -4; // the temporary file cannot be created
inline constexpr int renameError = -5; // the temporary file cannot replace the file
inline constexpr int unreadable = -6;  // the file exists but cannot be read

// RFC 3414: snmpEngineBoots stays at its maximum once there.
inline constexpr std::uint32_t maxBoots = 2147483647;

std::string encodeEngineId(const std::string& engineId);

// Reads the count stored for the engine; boots is 0 unless the result is ok.
// A file that exists but cannot be read (permission, I/O error, a folder in its
// place) is unreadable, never missing: it holds other engines' lines.
int getBootCounter(const std::string& path, const std::string& engineId, std::uint32_t& boots);

// Stores the count for the engine, keeping every other line, through a uniquely
// named temporary file renamed over the file; creates the file with a comment
// header when it is missing, and leaves an unreadable one alone.
int saveBootCounter(const std::string& path, const std::string& engineId, std::uint32_t boots);

// Reads the count, adds one (up to maxBoots) and saves it, under an exclusive
// lock so that modules starting together neither fail nor lose an update.
// readResult and saveResult are those of the two steps; the result is the new
// count (0 when reading failed below noFile or saving failed).
std::uint32_t advanceBootCounter(const std::string& path, const std::string& engineId,
                                 int& readResult, int& saveResult);

} // namespace ovboot
