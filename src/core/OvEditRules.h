// The rules behind edit box constraints, free of widgets: the format specifier
// language ("%u{n1x4094}", "%s{l32n}", "%h{l12fa}", "%n.{l4fx255}"), the
// characters a box may hold while typing, and the check of the whole text when
// the user leaves the box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct OvEditSpec {
    enum LengthFlag : unsigned { MoveOnWhenFull = 1, Exact = 2, NotEmpty = 4 };

    char letter = 's';  // s, h, i, u, f or n
    char delimiter = 0; // n only
    double minimum = 0;
    double maximum = 0;
    int lengthLimit = 0; // 0: none
    unsigned lengthFlags = 0;
    int width = 0; // pixels; 0: leave the box as it is
    char jump = 0; // typing it moves on; 0: none
};

// The outcome of the check made when the user leaves a box.
struct OvExitCheck {
    enum Outcome {
        Passed,  // the box's own exit handler runs, the text may become the last good one
        Ignored, // markers and allowed empty texts: nothing else happens
        Failed,  // the message is shown and the last good text comes back
    };
    Outcome outcome = Passed;
    std::string message; // Failed: the catalog text with its placeholders filled
};

namespace ov {

// Parses one specifier; throws OvException -2 for a bad one.
OvEditSpec parseEditSpec(const std::string& specifier);

// Splits a format into specifiers, each from a "%" up to the next "%" or the end.
std::vector<std::string> splitEditFormat(const std::string& format);

// The position of the first character the specifier does not allow, or npos.
std::size_t firstRejected(const OvEditSpec& format, const std::string& text);

// The text without every character the specifier does not allow, taken out in
// one pass: what repeated single removals would leave.
std::string withoutRejected(const OvEditSpec& format, const std::string& text);

// Marker texts ("(NULL)", "(NOTDONE)") are neither filtered nor checked.
bool isMarkerText(const std::string& text);

OvExitCheck checkOnExit(const OvEditSpec& format, const std::string& text);

// Numbers in shortest decimal form, as the messages show them ("1", "4094").
std::string shortestNumber(double value);

// The longest leading part of a text that forms a decimal number; 0 if none.
double leadingNumber(const std::string& text);

} // namespace ov

// A list of whole numbers parsed from a delimited text ("10.0.0.1" with ".").
template <typename T> class OvNumList {
public:
    explicit OvNumList(char delimiter = '.') : delimiter_(delimiter) {}

    void Parse(const std::string& text);
    std::uint32_t Count() const { return static_cast<std::uint32_t>(values_.size()); }
    T operator[](std::size_t i) const { return values_[i]; }
    int IndexOf(T number) const;
    char delimiter() const { return delimiter_; }

private:
    char delimiter_;
    std::vector<T> values_;
};

extern template class OvNumList<int>;
extern template class OvNumList<unsigned int>;
