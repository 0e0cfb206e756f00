// What the commands print: aligned tables for people, JSON for scripts. Value
// texts are octets as the device sent them; both outputs show them as UTF-8
// when they are valid UTF-8, else as Latin-1, as the windows do.
#pragma once

#include <string>
#include <vector>

namespace fleet {

// The octets as UTF-8 text.
std::string utf8Text(const std::string& octets);

// Control characters (below 0x20, and 0x7F).
bool isControl(char c);

// The text in double quotes, a quotation mark or backslash escaped with a
// backslash, a control character with the printf format given ("\\x%02x").
std::string quotedText(const std::string& text, const char* controlFormat);

// A JSON string literal of the octets (quoted, escaped, UTF-8).
std::string jsonString(const std::string& octets);

// The end of a command's JSON document: the devices' array closed, then the
// summary ("devices", "ok", "failed", "interrupted") and the document closed.
std::string jsonSummary(std::size_t devices, std::size_t ok, bool interrupted);

// The rows under the header, each column as wide as its widest cell, two
// blanks apart, every line ending in a line feed.
std::string tableText(const std::vector<std::string>& header,
                      const std::vector<std::vector<std::string>>& rows);

} // namespace fleet
