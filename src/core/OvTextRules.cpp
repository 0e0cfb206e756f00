// The text rules of value texts. Everything here is in the C locale.
#include "OvValueText.h"

#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int hexDigit(char c) {
    if (ov::isDecimalDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0; // anything else counts as the digit 0
}

// Reads integers as sscanf does with a pattern of literals and '#' for "%d":
// blanks before a number are skipped, literals must match exactly. True when
// every number of the pattern was read.
bool scanNumbers(const std::string& text, const char* pattern, std::vector<long long>& numbers) {
    numbers.clear();
    std::size_t at = 0;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '#') {
            if (at >= text.size() || text[at] != *p)
                return false;
            ++at;
            continue;
        }
        while (at < text.size() && isSpace(text[at]))
            ++at;
        const bool negative = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            ++at;
        if (at >= text.size() || !ov::isDecimalDigit(text[at]))
            return false;
        long long value = 0;
        for (; at < text.size() && ov::isDecimalDigit(text[at]); ++at)
            value = std::min(value * 10 + (text[at] - '0'), 1LL << 40); // saturate, never overflow
        numbers.push_back(negative ? -value : value);
    }
    return true;
}

constexpr std::uint32_t kDay = 8640000; // hundredths of a second

// The first day of the double date-time scale.
constexpr std::chrono::sys_days kDateTimeEpoch =
    std::chrono::sys_days{std::chrono::year{1899} / 12 / 30};

// Days that stay within the years 1 to 9999.
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958466.0;

} // namespace

namespace ov {

std::string hexText(const std::string& octets) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(octets.size() * 2);
    for (unsigned char c : octets) {
        text += digits[c >> 4];
        text += digits[c & 0x0F];
    }
    return text;
}

std::string octetsFromHex(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c != ' ')
            digits += c;
    }
    std::string octets;
    std::size_t at = 0;
    if (digits.size() % 2 == 1)
        octets += static_cast<char>(hexDigit(digits[at++]));
    for (; at < digits.size(); at += 2)
        octets += static_cast<char>(hexDigit(digits[at]) * 16 + hexDigit(digits[at + 1]));
    return octets;
}

std::uint64_t numberRule64(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at]))
        ++at;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    std::uint64_t value = 0;
    for (; at < text.size() && ov::isDecimalDigit(text[at]); ++at)
        value = value * 10 + static_cast<std::uint64_t>(text[at] - '0'); // wraps by design
    return negative ? 0 - value : value;
}

std::uint32_t numberRule(const std::string& text) {
    return static_cast<std::uint32_t>(numberRule64(text));
}

std::string timeText(std::uint32_t t) {
    const unsigned long days = t / kDay;
    const unsigned long hours = t % kDay / 360000;
    const unsigned long minutes = t % 360000 / 6000;
    const unsigned long seconds = t % 6000 / 100;
    const unsigned long hundredths = t % 100;
    char buffer[64];
    if (days == 0)
        std::snprintf(buffer, sizeof buffer, "%lu:%02lu:%02lu.%02lu", hours, minutes, seconds,
                      hundredths);
    else if (days == 1)
        std::snprintf(buffer, sizeof buffer, "1 day %lu:%02lu:%02lu.%02lu", hours, minutes, seconds,
                      hundredths);
    else
        std::snprintf(buffer, sizeof buffer, "%lu days, %lu:%02lu:%02lu.%02lu", days, hours,
                      minutes, seconds, hundredths);
    return buffer;
}

std::uint32_t timeFromText(const std::string& text) {
    std::uint32_t days = 0;
    std::string rest = text;
    std::size_t word = text.find("days");
    std::size_t wordLength = 4;
    if (word == std::string::npos) {
        word = text.find("day");
        wordLength = 3;
    }
    if (word != std::string::npos) {
        days = numberRule(text.substr(0, word));
        rest = text.substr(word + wordLength);
    }
    if (const std::size_t comma = rest.find(','); comma != std::string::npos)
        rest = rest.substr(comma + 1);

    std::uint32_t hours = 0, minutes = 0, seconds = 0, hundredths = 0;
    if (const std::size_t colon = rest.find(':'); colon != std::string::npos) {
        hours = numberRule(rest.substr(0, colon));
        rest = rest.substr(colon + 1);
    }
    if (const std::size_t colon = rest.find(':'); colon != std::string::npos) {
        minutes = numberRule(rest.substr(0, colon));
        rest = rest.substr(colon + 1);
    }
    if (const std::size_t dot = rest.find('.'); dot != std::string::npos) {
        seconds = numberRule(rest.substr(0, dot));
        hundredths = numberRule(rest.substr(dot + 1));
    }
    return days * kDay + hours * 360000 + minutes * 6000 + seconds * 100 + hundredths;
}

std::string dateAndTimeText(const std::string& octets) {
    auto byte = [&](std::size_t i) {
        return static_cast<int>(static_cast<unsigned char>(octets[i]));
    };
    char buffer[96];
    const int year = byte(0) * 256 + byte(1);
    int length = std::snprintf(buffer, sizeof buffer, "%d-%d-%d,%d:%d:%d.%d", year, byte(2),
                               byte(3), byte(4), byte(5), byte(6), byte(7));
    if (octets.size() >= 11) {
        const char direction = octets[8];
        if ((byte(9) != 0 || byte(10) != 0) && (direction == '+' || direction == '-'))
            std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length),
                          ",%c%d:%d", direction, byte(9), byte(10));
    }
    return buffer;
}

bool dateAndTimeFromText(const std::string& text, std::string& octets) {
    std::vector<long long> n;
    char direction = '+';
    if (scanNumbers(text, "#-#-#,#:#:#.#,+#:#", n)) {
        direction = '+';
    } else if (scanNumbers(text, "#-#-#,#:#:#.#,-#:#", n)) {
        direction = '-';
    } else if (scanNumbers(text, "#-#-#,#:#:#.#", n)) {
        n.push_back(0);
        n.push_back(0);
    } else {
        return false;
    }
    auto low = [](long long v) {
        return static_cast<char>(static_cast<unsigned long long>(v) & 0xFF);
    };
    octets.clear();
    octets += low(n[0] >> 8);
    octets += low(n[0]);
    for (std::size_t i = 1; i < 7; ++i)
        octets += low(n[i]);
    octets += direction;
    octets += low(n[7]);
    octets += low(n[8]);
    return true;
}

std::string doubleText(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

bool doubleFromText(const std::string& text, double& value) {
    std::size_t first = 0, last = text.size();
    while (first < last && isSpace(text[first]))
        ++first;
    while (last > first && isSpace(text[last - 1]))
        --last;
    if (first < last && text[first] == '+' && (last - first == 1 || text[first + 1] != '-'))
        ++first;
    const auto result = std::from_chars(text.data() + first, text.data() + last, value);
    return result.ec == std::errc() && result.ptr == text.data() + last;
}

std::string doubleDateTimeText(double value) {
    if (!std::isfinite(value) || value < kFirstDay || value > kLastDay)
        return ovtext::null;
    double wholeDays = std::trunc(value);
    auto milliseconds =
        static_cast<long long>(std::llround(std::fabs(value - wholeDays) * 86400000.0));
    if (milliseconds >= 86400000) {
        milliseconds -= 86400000;
        wholeDays += value < 0 ? -1 : 1;
    }
    const std::chrono::year_month_day date{kDateTimeEpoch +
                                           std::chrono::days{static_cast<long long>(wholeDays)}};
    const long long secondsOfDay = milliseconds / 1000;
    const int hour = static_cast<int>(secondsOfDay / 3600);
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d/%02u/%02u %02d:%02lld:%02lld %s",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), hour12, secondsOfDay % 3600 / 60,
                  secondsOfDay % 60, hour < 12 ? "am" : "pm");
    return buffer;
}

bool doubleDateTimeFromText(const std::string& text, double& value) {
    std::vector<long long> n;
    if (!scanNumbers(text, "#/#/#", n))
        return false;
    const std::chrono::year_month_day date{std::chrono::year{static_cast<int>(n[0])},
                                           std::chrono::month{static_cast<unsigned>(n[1])},
                                           std::chrono::day{static_cast<unsigned>(n[2])}};
    if (n[0] < 1 || n[0] > 9999 || n[1] < 1 || n[1] > 12 || n[2] < 1 || !date.ok())
        return false;
    // The time of day is optional: "h:n", "h:n:s", each with "am" or "pm".
    std::size_t at = text.find(' ');
    long long hour = 0, minute = 0, second = 0;
    if (at != std::string::npos && text.find_first_not_of(' ', at) != std::string::npos) {
        const std::string time = text.substr(at);
        std::vector<long long> t;
        if (scanNumbers(time, "#:#:#", t)) {
            second = t[2];
        } else if (!scanNumbers(time, "#:#", t)) {
            return false;
        }
        hour = t[0];
        minute = t[1];
        std::string marker;
        for (char c : time.substr(time.find_last_of("0123456789") + 1)) {
            if (!isSpace(c))
                marker += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        if (marker == "am" || marker == "pm") {
            if (hour < 1 || hour > 12)
                return false;
            hour = hour % 12 + (marker == "pm" ? 12 : 0);
        } else if (!marker.empty()) {
            return false;
        }
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
            return false;
    }
    const double days = static_cast<double>((std::chrono::sys_days{date} - kDateTimeEpoch).count());
    const double fraction = static_cast<double>(hour * 3600 + minute * 60 + second) / 86400.0;
    value = days < 0 ? days - fraction : days + fraction;
    return true;
}

std::string octetsFromDouble(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    std::string octets(8, '\0');
    for (std::size_t i = 0; i < 8; ++i)
        octets[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return octets;
}

double doubleFromOctets(const std::string& octets) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 8 && i < octets.size(); ++i)
        bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(octets[i])) << (8 * i);
    return std::bit_cast<double>(bits);
}

} // namespace ov
