// Option lists: the map between the coded values of an enumerated variable and
// the labels the user sees. Row order matters (combo box items; for a check box
// row 0 is "unchecked" and row 1 "checked"), and every look-up takes the first match.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One (value, label) pair of a static source table. Kind 1 uses `number`,
// kinds 2 and 3 use `text`; a table ends at the first pair whose label is null.
struct OvOptionPair {
    std::int32_t number = 0;
    const char* text = nullptr;
    const char* label = nullptr;
};

struct OvOptionRow {
    std::int32_t number = 0; // kind 1
    std::string text;        // kinds 2 and 3
    std::string label;
};

class OvOptionList {
public:
    enum Kind : std::uint32_t { Integer = 1, String = 2, Prefix = 3 };

    OvOptionList(const OvOptionPair* table, Kind kind, bool caseSensitive);
    // Kind 1, not case-sensitive, from (value, label) pairs.
    OvOptionList(std::initializer_list<std::pair<std::int32_t, const char*>> rows);

    void AddRows(const OvOptionPair* table);

    Kind kind() const { return kind_; }
    bool caseSensitive() const { return caseSensitive_; }
    int Count() const { return static_cast<int>(rows_.size()); }
    // Throws OvException (-12) for a position outside the list.
    const OvOptionRow& Row(int position) const;

    int IndexOfLabel(const std::string& text) const;
    int IndexOfValue(const std::string& text) const;
    std::string ValueToLabel(const std::string& text) const;
    std::string LabelToValue(const std::string& text) const;

    // The item a combo box or radio group selects for a text: the label first,
    // then the value; -1 selects nothing.
    int IndexToSelect(const std::string& text) const;
    std::vector<std::string> Labels() const;

private:
    bool equal(const std::string& a, const std::string& b) const;
    bool startsWith(const std::string& text, const std::string& prefix) const;

    Kind kind_;
    bool caseSensitive_;
    std::vector<OvOptionRow> rows_;
};

namespace ov {

// Equal when equal after folding the ASCII letters to lower case.
bool equalIgnoringAsciiCase(const std::string& a, const std::string& b);

// Kind 1 values: decimal, optional sign, signed 32 bits; anything else is no number.
bool parseInt32(const std::string& text, std::int32_t& value);

// The option lists of the SNMP access layer, naming its codes.
const OvOptionList& listModeOptions();
const OvOptionList& typeCodeOptions();
const OvOptionList& accessCodeOptions();

} // namespace ov
