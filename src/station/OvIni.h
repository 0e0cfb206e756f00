// INI files as the station keeps them: sections and keys match without regard
// to case, the first of duplicate sections or keys wins, values are trimmed.
#pragma once

#include <string>
#include <vector>

class OvIni {
public:
    // Reads the file once; a missing or unreadable file reads as empty.
    explicit OvIni(std::string fileName);

    bool exists() const { return exists_; }
    const std::string& fileName() const { return fileName_; }

    // The value of a key with at most 4095 characters, leading and trailing
    // blanks and control characters removed, and one pair of enclosing quotes
    // dropped; the default when the key is missing or its value empty.
    std::string Read(const std::string& section, const std::string& key,
                     const std::string& defaultValue = {}) const;

    bool HasSection(const std::string& section) const;

    // Appends an empty section when it is missing and the file (or, for a new
    // file, its folder) is writable; true when the section exists afterwards.
    // The file is rewritten through a temporary file under a lock.
    bool CreateSection(const std::string& section);

private:
    struct Entry {
        std::string section;
        std::string key; // empty for a section line
        std::string value;
    };

    const Entry* find(const std::string& section, const std::string& key) const;
    void parse(const std::string& content);

    std::string fileName_;
    bool exists_ = false;
    std::vector<Entry> entries_;
};

namespace ov {
// Removes leading and trailing blanks and control characters.
std::string trimBlanksAndControls(const std::string& text);
} // namespace ov
