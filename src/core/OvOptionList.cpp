#include "OvOptionList.h"

#include "OvException.h"

#include <charconv>

namespace {

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

OvOptionList::OvOptionList(const OvOptionPair* table, Kind kind, bool caseSensitive)
    : kind_(kind), caseSensitive_(caseSensitive) {
    AddRows(table);
}

OvOptionList::OvOptionList(std::initializer_list<std::pair<std::int32_t, const char*>> rows)
    : kind_(Integer), caseSensitive_(false) {
    for (const auto& [number, label] : rows)
        rows_.push_back({number, {}, label});
}

void OvOptionList::AddRows(const OvOptionPair* table) {
    if (table == nullptr)
        return;
    for (const OvOptionPair* pair = table; pair->label != nullptr; ++pair) {
        OvOptionRow row;
        row.label = pair->label;
        if (kind_ == Integer)
            row.number = pair->number;
        else if (pair->text != nullptr)
            row.text = pair->text;
        rows_.push_back(std::move(row));
    }
}

const OvOptionRow& OvOptionList::Row(int position) const {
    if (position < 0 || position >= Count())
        throw OvException(ovcode::OutOfRange);
    return rows_[static_cast<std::size_t>(position)];
}

bool OvOptionList::equal(const std::string& a, const std::string& b) const {
    return caseSensitive_ ? a == b : ov::equalIgnoringAsciiCase(a, b);
}

bool OvOptionList::startsWith(const std::string& text, const std::string& prefix) const {
    return text.size() >= prefix.size() && equal(text.substr(0, prefix.size()), prefix);
}

int OvOptionList::IndexOfLabel(const std::string& text) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& label = rows_[static_cast<std::size_t>(i)].label;
        if (kind_ == Prefix ? startsWith(text, label) : equal(label, text))
            return i;
    }
    return -1;
}

int OvOptionList::IndexOfValue(const std::string& text) const {
    std::int32_t number = 0;
    if (kind_ == Integer && (text == "(NULL)" || !ov::parseInt32(text, number)))
        return -1;
    for (int i = 0; i < Count(); ++i) {
        const OvOptionRow& row = rows_[static_cast<std::size_t>(i)];
        const bool match = kind_ == Integer  ? row.number == number
                           : kind_ == String ? equal(row.text, text)
                                             : startsWith(text, row.text);
        if (match)
            return i;
    }
    return -1;
}

std::string OvOptionList::ValueToLabel(const std::string& text) const {
    const int i = IndexOfValue(text);
    if (i < 0)
        return text;
    const OvOptionRow& row = rows_[static_cast<std::size_t>(i)];
    if (kind_ == Prefix)
        return row.label + text.substr(row.text.size());
    return row.label;
}

std::string OvOptionList::LabelToValue(const std::string& text) const {
    const int i = IndexOfLabel(text);
    if (i < 0)
        return text;
    const OvOptionRow& row = rows_[static_cast<std::size_t>(i)];
    switch (kind_) {
    case Integer:
        return std::to_string(row.number);
    case String:
        return row.text;
    case Prefix:
        break;
    }
    return row.text + text.substr(row.label.size());
}

int OvOptionList::IndexToSelect(const std::string& text) const {
    const int byLabel = IndexOfLabel(text);
    return byLabel >= 0 ? byLabel : IndexOfValue(text);
}

std::vector<std::string> OvOptionList::Labels() const {
    std::vector<std::string> labels;
    labels.reserve(rows_.size());
    for (const auto& row : rows_)
        labels.push_back(row.label);
    return labels;
}

namespace ov {

bool equalIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    }
    return true;
}

bool parseInt32(const std::string& text, std::int32_t& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    const bool plus = first != last && *first == '+';
    if (plus)
        ++first;
    if (first == last || (plus && *first == '-'))
        return false;
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last;
}

const OvOptionList& listModeOptions() {
    static const OvOptionList list{{0, "SVT_SV"}, {1, "MVT_SV"}, {2, "MVT_FMV"}, {3, "MVT_UMV"}};
    return list;
}

const OvOptionList& typeCodeOptions() {
    static const OvOptionList list{
        {0x01, "boolean"},   {0x02, "integer"},    {0x03, "bitstr"},     {0x04, "octetstr"},
        {0x05, "null"},      {0x06, "objectid"},   {0x40, "ipaddress"},  {0x41, "counter"},
        {0x42, "guage"},     {0x43, "timeticks"},  {0x44, "opaque"},     {0x45, "nsapaddr"},
        {0x46, "counter64"}, {0x47, "uinteger"},   {0x48, "double"},     {0x49, "macaddress"},
        {0x4A, "datetime"},  {0x4B, "bcdatetime"}, {0x4C, "displaystr"}, {0xC1, "bool8"},
        {0xC2, "int8"},      {0xC3, "uint8"},      {0xC4, "bool16"},     {0xC5, "int16"},
        {0xC6, "uint16"}};
    return list;
}

const OvOptionList& accessCodeOptions() {
    static const OvOptionList list{{0x01, "notaccess"}, {0x02, "readonly"}, {0x04, "writeonly"},
                                   {0x06, "readwrite"}, {0x08, "derived"},  {0x10, "hidden"},
                                   {0x20, "invalid"}};
    return list;
}

} // namespace ov
