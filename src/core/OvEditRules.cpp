#include "OvEditRules.h"

#include "OvCatalog.h"
#include "OvException.h"
#include "OvValueText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

[[noreturn]] void badSpecifier() {
    throw OvException(ovcode::BadSpecifier);
}

bool isHex(char c) {
    return ov::isDecimalDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void setDefaultBounds(OvEditSpec& format) {
    switch (format.letter) {
    case 'u':
        format.minimum = 0;
        format.maximum = 4294967295.0;
        break;
    case 'i':
        format.minimum = -2147483648.0;
        format.maximum = 2147483647.0;
        break;
    default: // the smallest positive normal double, as the checks always had it
        format.minimum = std::numeric_limits<double>::min();
        format.maximum = std::numeric_limits<double>::max();
        break;
    }
}

// Reads the options between "{" and "}" (`end` is the closing brace).
void parseOptions(const std::string& s, std::size_t i, std::size_t end, OvEditSpec& format) {
    auto digits = [&](std::size_t& at) {
        if (at >= end || !ov::isDecimalDigit(s[at]))
            badSpecifier();
        long long value = 0;
        for (; at < end && ov::isDecimalDigit(s[at]); ++at)
            value = std::min<long long>(value * 10 + (s[at] - '0'), 1 << 30);
        return static_cast<int>(value);
    };
    while (i < end) {
        const char option = s[i++];
        switch (option) {
        case 'n':
        case 'x': {
            const std::size_t from = i;
            while (i < end && std::string("-0123456789.").find(s[i]) != std::string::npos)
                ++i;
            if (i == from)
                badSpecifier();
            (option == 'n' ? format.minimum : format.maximum) =
                ov::leadingNumber(s.substr(from, i - from));
            break;
        }
        case 'l':
            format.lengthLimit = digits(i);
            format.lengthFlags = 0;
            for (int n = 0; n < 3 && i < end && (s[i] == 'a' || s[i] == 'f' || s[i] == 'n');
                 ++n, ++i)
                format.lengthFlags |= s[i] == 'a'   ? OvEditSpec::MoveOnWhenFull
                                      : s[i] == 'f' ? OvEditSpec::Exact
                                                    : OvEditSpec::NotEmpty;
            break;
        case 'w':
            format.width = digits(i);
            break;
        case 'e':
            if (i >= end)
                badSpecifier();
            format.jump = s[i++];
            break;
        default:
            badSpecifier();
        }
    }
}

// Whether a character may follow the text kept so far.
bool allowedAfter(const OvEditSpec& format, const std::string& kept, char c) {
    switch (format.letter) {
    case 'h':
        return isHex(c);
    case 'u':
        return ov::isDecimalDigit(c);
    case 'i':
        return ov::isDecimalDigit(c) || (c == '-' && kept.empty());
    case 'f':
        return ov::isDecimalDigit(c) || (c == '-' && kept.empty()) ||
               (c == '.' && kept.find('.') == std::string::npos);
    case 'n':
        return ov::isDecimalDigit(c) ||
               (c == format.delimiter && !kept.empty() && kept.back() != c);
    default:
        return true;
    }
}

std::string fill(int entry, std::initializer_list<std::pair<const char*, std::string>> values) {
    std::string text = ov::catalogEntry(OvCatalog::Common, entry);
    for (const auto& [placeholder, value] : values)
        text = ov::fillPlaceholder(text, placeholder, value);
    return text;
}

// A bound of the n letter as a whole number of the unsigned list.
double wholeBound(double value) {
    return std::clamp(std::trunc(value), 0.0, 4294967295.0);
}

} // namespace

namespace ov {

OvEditSpec parseEditSpec(const std::string& s) {
    if (s.size() < 2 || s[0] != '%')
        badSpecifier();
    OvEditSpec format;
    format.letter = s[1];
    if (std::string("shiufn").find(format.letter) == std::string::npos)
        badSpecifier();
    std::size_t at = 2;
    if (format.letter == 'n') {
        if (s.size() < 3)
            badSpecifier();
        format.delimiter = s[at++];
    }
    setDefaultBounds(format);
    if (at == s.size())
        return format;
    if (s[at] != '{' || s.size() < at + 2 || s.back() != '}')
        badSpecifier();
    parseOptions(s, at + 1, s.size() - 1, format);
    return format;
}

std::vector<std::string> splitEditFormat(const std::string& format) {
    std::vector<std::string> specifiers;
    for (std::size_t at = format.find('%'); at != std::string::npos;) {
        const std::size_t next = format.find('%', at + 1);
        specifiers.push_back(format.substr(at, next == std::string::npos ? next : next - at));
        at = next;
    }
    return specifiers;
}

std::size_t firstRejected(const OvEditSpec& format, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!allowedAfter(format, text.substr(0, i), text[i]))
            return i;
    }
    return std::string::npos;
}

std::string withoutRejected(const OvEditSpec& format, const std::string& text) {
    // Whether a character is allowed depends only on what stands before it, so
    // keeping the allowed ones in order equals removing the first bad one again and again.
    std::string kept;
    for (char c : text) {
        if (allowedAfter(format, kept, c))
            kept += c;
    }
    return kept;
}

bool isMarkerText(const std::string& text) {
    return text == ovtext::null || text == ovtext::notDone;
}

OvExitCheck checkOnExit(const OvEditSpec& format, const std::string& text) {
    auto failed = [](std::string message) { return OvExitCheck{OvExitCheck::Failed, message}; };
    if (isMarkerText(text))
        return {OvExitCheck::Ignored, {}};
    if (text.empty()) {
        if (format.lengthFlags & OvEditSpec::NotEmpty)
            return failed(fill(3, {}));
        return {OvExitCheck::Ignored, {}};
    }
    const bool exact = format.lengthFlags & OvEditSpec::Exact;
    const std::string limit = std::to_string(format.lengthLimit);
    const auto length = static_cast<long long>(text.size());
    switch (format.letter) {
    case 'f':
    case 'i':
    case 'u': {
        const double value = leadingNumber(text);
        if (value < format.minimum || value > format.maximum)
            return failed(fill(8, {{"[MIN]", shortestNumber(format.minimum)},
                                   {"[MAX]", shortestNumber(format.maximum)}}));
        break;
    }
    case 'h':
    case 's':
        if (format.lengthLimit > 0) {
            const bool hex = format.letter == 'h';
            if (exact && length != format.lengthLimit)
                return failed(fill(hex ? 7 : 5, {{"[LEN]", limit}}));
            if (!exact && length > format.lengthLimit)
                return failed(fill(hex ? 6 : 4, {{"[MAXLEN]", limit}}));
        }
        break;
    case 'n': {
        OvNumList<unsigned int> numbers(format.delimiter);
        numbers.Parse(text);
        const std::string delimiter(1, format.delimiter);
        const long long count = numbers.Count();
        if (format.lengthLimit > 0) {
            if (exact && count != format.lengthLimit)
                return failed(fill(10, {{"[DELIMITER]", delimiter}, {"[COUNT]", limit}}));
            if (!exact && count > format.lengthLimit)
                return failed(fill(9, {{"[DELIMITER]", delimiter}, {"[MAXCOUNT]", limit}}));
        }
        const double low = wholeBound(format.minimum), high = wholeBound(format.maximum);
        for (std::uint32_t i = 0; i < numbers.Count(); ++i) {
            if (numbers[i] < low || numbers[i] > high)
                return failed(fill(11, {{"[DELIMITER]", delimiter},
                                        {"[MIN]", shortestNumber(low)},
                                        {"[MAX]", shortestNumber(high)}}));
        }
        break;
    }
    }
    return {OvExitCheck::Passed, {}};
}

std::string shortestNumber(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

double leadingNumber(const std::string& text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value : 0.0;
}

} // namespace ov

template <typename T> void OvNumList<T>::Parse(const std::string& text) {
    values_.clear();
    if (text.empty())
        return;
    values_.push_back(0);
    bool fraction = false; // fraction digits make no whole number bigger: cut toward zero
    for (char c : text) {
        if (c == delimiter_) {
            values_.push_back(0);
            fraction = false;
        } else if (c == '.') {
            fraction = true;
        } else if (!fraction) {
            using U = std::make_unsigned_t<T>;
            values_.back() =
                static_cast<T>(static_cast<U>(values_.back()) * 10u + static_cast<U>(c - '0'));
        }
    }
}

template <typename T> int OvNumList<T>::IndexOf(T number) const {
    for (std::size_t i = 0; i < values_.size(); ++i) {
        if (values_[i] == number)
            return static_cast<int>(i);
    }
    return -1;
}

template class OvNumList<int>;
template class OvNumList<unsigned int>;
