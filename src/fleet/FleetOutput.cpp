#include "FleetOutput.h"

#include <algorithm>
#include <cstdio>

namespace {

// Length of the valid UTF-8 sequence at `at`, 0 when none starts there.
std::size_t utf8Sequence(const std::string& s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned minimum = 0;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > s.size())
        return 0;
    unsigned code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool validUtf8(const std::string& s) {
    for (std::size_t at = 0; at < s.size();) {
        const std::size_t n = utf8Sequence(s, at);
        if (n == 0)
            return false;
        at += n;
    }
    return true;
}

std::size_t shownWidth(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

namespace fleet {

std::string utf8Text(const std::string& octets) {
    if (validUtf8(octets))
        return octets;
    std::string text;
    for (const char c : octets) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

std::string quotedText(const std::string& text, const char* controlFormat) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (isControl(c)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, controlFormat, static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string jsonString(const std::string& octets) {
    return quotedText(utf8Text(octets), "\\u%04x");
}

std::string jsonSummary(std::size_t devices, std::size_t ok, bool interrupted) {
    return std::string(devices == 0 ? "],\n" : "\n  ],\n") +
           "  \"summary\": {\"devices\": " + std::to_string(devices) +
           ", \"ok\": " + std::to_string(ok) + ", \"failed\": " + std::to_string(devices - ok) +
           ", \"interrupted\": " + (interrupted ? "true" : "false") + "}\n}\n";
}

std::string tableText(const std::vector<std::string>& header,
                      const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths(header.size(), 0);
    auto measure = [&](const std::vector<std::string>& row) {
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], shownWidth(utf8Text(row[i])));
    };
    measure(header);
    for (const auto& row : rows)
        measure(row);
    std::string text;
    auto line = [&](const std::vector<std::string>& row) {
        std::string out;
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
            std::string cell = utf8Text(row[i]);
            // Control characters from a device would move the cursor.
            std::replace_if(cell.begin(), cell.end(), isControl, '?');
            out += cell;
            if (i + 1 < row.size())
                out += std::string(widths[i] - shownWidth(cell) + 2, ' ');
        }
        text += out + "\n";
    };
    line(header);
    for (const auto& row : rows)
        line(row);
    return text;
}

} // namespace fleet
