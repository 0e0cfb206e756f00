#include "OvException.h"
#include "OvSNMPVarList.h"
#include "OvValueText.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const OvOptionList onOffLabels{{0, "Off"}, {1, "On"}};

std::string bytes(std::initializer_list<int> octets) {
    std::string s;
    for (int o : octets)
        s += static_cast<char>(o);
    return s;
}

OvVb octets(std::string value) {
    return OvVb::octetString(std::move(value));
}
OvVb u32(OvSyntax syntax, std::uint32_t value) {
    return OvVb::unsigned32(syntax, value);
}
OvVb noValue(OvSyntax syntax) {
    OvVb vb;
    vb.syntax = syntax;
    return vb;
}

struct ReceivedCase {
    const char* what;
    OvVb received;
    std::uint8_t type;
    const OvOptionList* options;
    std::string text;
};

TEST(TextFromValue, EveryTypeAndItsOddCases) {
    using S = OvSyntax;
    namespace t = ovtype;
    const ReceivedCase cases[] = {
        {"counter at its top", u32(S::Counter32, 4294967295u), t::counter, nullptr, "4294967295"},
        {"integer -1", OvVb::integer(-1), t::integer, nullptr, "-1"},
        {"counter read as integer", u32(S::Counter32, 4294967295u), t::integer, nullptr, "-1"},
        {"gauge", u32(S::Gauge32, 7), t::guage, nullptr, "7"},
        {"unsigned", u32(S::UInteger32, 3000000000u), t::uinteger, nullptr, "3000000000"},
        {"boolean non-zero", OvVb::integer(5), t::boolean, nullptr, "true"},
        {"boolean zero", OvVb::integer(0), t::boolean, nullptr, "false"},
        {"ticks zero", u32(S::TimeTicks, 0), t::timeticks, nullptr, "0:00:00.00"},
        {"ticks one hour", u32(S::TimeTicks, 360000), t::timeticks, nullptr, "1:00:00.00"},
        {"ticks just below a day", u32(S::TimeTicks, 8639999), t::timeticks, nullptr,
         "23:59:59.99"},
        {"ticks one day", u32(S::TimeTicks, 8640000), t::timeticks, nullptr, "1 day 0:00:00.00"},
        {"ticks two days and a hundredth", u32(S::TimeTicks, 17280001), t::timeticks, nullptr,
         "2 days, 0:00:00.01"},
        {"ticks at their top", u32(S::TimeTicks, 4294967295u), t::timeticks, nullptr,
         "497 days, 2:27:52.95"},
        {"counter64 at its top", OvVb::counter64(~0ULL), t::counter64, nullptr,
         "18446744073709551615"},
        {"counter64 from a counter", u32(S::Counter32, 9), t::counter64, nullptr, "9"},
        {"object identifier", OvVb::objectIdentifier(OvOid({1, 3, 6, 1, 4, 1})), t::objectid,
         nullptr, "1.3.6.1.4.1"},
        {"ip address", OvVb::octetString(bytes({192, 168, 0, 254}), S::IpAddress), t::ipaddress,
         nullptr, "192.168.0.254"},
        {"ip address of 3 octets", OvVb::octetString(bytes({1, 2, 3}), S::IpAddress), t::ipaddress,
         nullptr, "(NULL)"},
        {"ip address of 5 octets", OvVb::octetString(bytes({1, 2, 3, 4, 5}), S::IpAddress),
         t::ipaddress, nullptr, "(NULL)"},
        {"ip address sent as a string", octets(bytes({1, 2, 3, 4})), t::ipaddress, nullptr,
         "(NULL)"},
        {"mac address", octets(bytes({0x00, 0x11, 0x22, 0x33, 0x44, 0xAA})), t::macaddress, nullptr,
         "0011223344AA"},
        {"empty mac address", octets(""), t::macaddress, nullptr, ""},
        {"no mac address", OvVb::null(), t::macaddress, nullptr, ""},
        {"octet string", octets(bytes({0x0F, 0xA0})), t::octetstr, nullptr, "0FA0"},
        {"opaque", OvVb::octetString("\x01", S::Opaque), t::opaque, nullptr, "01"},
        {"display string octets unchanged", octets("caf\xC3\xA9 \xFF"), t::displaystr, nullptr,
         "caf\xC3\xA9 \xFF"},
        {"empty display string", octets(""), t::displaystr, nullptr, ""},
        {"display string without value", noValue(S::NoSuchObject), t::displaystr, nullptr, ""},
        {"display string sent as integer", OvVb::integer(4), t::displaystr, nullptr, ""},
        {"integer without value", OvVb::null(), t::integer, nullptr, "(NULL)"},
        {"integer, no such instance", noValue(S::NoSuchInstance), t::integer, nullptr, "(NULL)"},
        {"integer, end of view", noValue(S::EndOfMibView), t::integer, nullptr, "(NULL)"},
        {"integer sent as a string", octets("1"), t::integer, nullptr, "(NULL)"},
        {"null type", OvVb::integer(1), t::null, nullptr, "(NULL)"},
        {"label of a value", OvVb::integer(1), t::integer, &onOffLabels, "On"},
        {"value outside the list", OvVb::integer(7), t::integer, &onOffLabels, "7"},
        {"no value with a list", OvVb::null(), t::integer, &onOffLabels, "(NULL)"},
        {"double", octets(ov::octetsFromDouble(1.5)), t::double_, nullptr, "1.5"},
        {"double with 15 digits", octets(ov::octetsFromDouble(0.1 + 0.2)), t::double_, nullptr,
         "0.3"},
        {"large double", octets(ov::octetsFromDouble(1e20)), t::double_, nullptr, "1e+20"},
        {"double little-endian", octets(bytes({0, 0, 0, 0, 0, 0, 0xF8, 0x3F})), t::double_, nullptr,
         "1.5"},
        {"double of 7 octets", octets(bytes({0, 0, 0, 0, 0, 0, 0xF8})), t::double_, nullptr,
         "(NULL)"},
        {"date and time with offset", octets(bytes({0x07, 0xE8, 3, 9, 13, 5, 7, 3, '+', 2, 0})),
         t::datetime, nullptr, "2024-3-9,13:5:7.3,+2:0"},
        {"date and time behind UTC", octets(bytes({0x07, 0xE8, 12, 31, 23, 59, 59, 9, '-', 5, 30})),
         t::datetime, nullptr, "2024-12-31,23:59:59.9,-5:30"},
        {"date and time with zero offset",
         octets(bytes({0x07, 0xE8, 3, 9, 13, 5, 7, 3, '+', 0, 0})), t::datetime, nullptr,
         "2024-3-9,13:5:7.3"},
        {"date and time without offset octets", octets(bytes({0x07, 0xE8, 3, 9, 13, 5, 7, 3})),
         t::datetime, nullptr, "2024-3-9,13:5:7.3"},
        {"date and time, odd direction", octets(bytes({0x07, 0xE8, 3, 9, 13, 5, 7, 3, '?', 2, 0})),
         t::datetime, nullptr, "2024-3-9,13:5:7.3"},
        {"date and time of 7 octets", octets(bytes({0x07, 0xE8, 3, 9, 13, 5, 7})), t::datetime,
         nullptr, "(NULL)"},
        {"double date-time noon", octets(ov::octetsFromDouble(45000.5)), t::bcdatetime, nullptr,
         "2023/03/15 12:00:00 pm"},
        {"double date-time epoch", octets(ov::octetsFromDouble(0.0)), t::bcdatetime, nullptr,
         "1899/12/30 12:00:00 am"},
        {"double date-time before the epoch", octets(ov::octetsFromDouble(-1.25)), t::bcdatetime,
         nullptr, "1899/12/29 06:00:00 am"},
        {"double date-time out of range", octets(ov::octetsFromDouble(1e300)), t::bcdatetime,
         nullptr, "(NULL)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextFromValue(c.received, c.type, c.options), c.text) << c.what;
}

struct SentCase {
    const char* what;
    std::string text;
    std::uint8_t type;
    const OvOptionList* options;
    OvVb sent;
};

TEST(ValueFromText, EveryTypeAndItsOddCases) {
    using S = OvSyntax;
    namespace t = ovtype;
    const SentCase cases[] = {
        {"integer", "-1", t::integer, nullptr, OvVb::integer(-1)},
        {"integer wraps at 32 bits", "4294967295", t::integer, nullptr, OvVb::integer(-1)},
        {"integer up to the first non-digit", "  +12abc", t::integer, nullptr, OvVb::integer(12)},
        {"empty integer is 0, not NULL", "", t::integer, nullptr, OvVb::integer(0)},
        {"NULL marker", "(NULL)", t::integer, nullptr, OvVb::null()},
        {"NULL marker for a display string", "(NULL)", t::displaystr, nullptr, OvVb::null()},
        {"label through the list", "on", t::integer, &onOffLabels, OvVb::integer(1)},
        {"counter of -1", "-1", t::counter, nullptr, u32(S::Counter32, 4294967295u)},
        {"gauge", "5", t::guage, nullptr, u32(S::Gauge32, 5)},
        {"unsigned", "7", t::uinteger, nullptr, u32(S::UInteger32, 7)},
        {"boolean true", "true", t::boolean, nullptr, OvVb::integer(1)},
        {"boolean, any other text", "TRUE", t::boolean, nullptr, OvVb::integer(0)},
        {"empty display string", "", t::displaystr, nullptr, octets("")},
        {"display string", "a b", t::displaystr, nullptr, octets("a b")},
        {"ip address", "300.1.1.1", t::ipaddress, nullptr,
         OvVb::octetString(bytes({44, 1, 1, 1}), S::IpAddress)},
        {"mac address with spaces", "00 11 22 33 44 55", t::macaddress, nullptr,
         octets(bytes({0, 0x11, 0x22, 0x33, 0x44, 0x55}))},
        {"mac address with dashes", "00-11-22-33-44-55", t::macaddress, nullptr,
         octets(bytes({0x00, 0x00, 0x11, 0x02, 0x20, 0x33, 0x04, 0x40, 0x55}))},
        {"odd hex digits", "ABC", t::octetstr, nullptr, octets(bytes({0x0A, 0xBC}))},
        {"lower-case hex", "aa", t::octetstr, nullptr, octets(bytes({0xAA}))},
        {"ticks, days", "2 days, 0:00:00.01", t::timeticks, nullptr, u32(S::TimeTicks, 17280001)},
        {"ticks, one day", "1 day 0:00:00.00", t::timeticks, nullptr, u32(S::TimeTicks, 8640000)},
        {"ticks, clock", "1:02:03.04", t::timeticks, nullptr, u32(S::TimeTicks, 372304)},
        {"ticks, no seconds part", "5:30", t::timeticks, nullptr, u32(S::TimeTicks, 1800000)},
        {"ticks, seconds only", "12.34", t::timeticks, nullptr, u32(S::TimeTicks, 1234)},
        {"ticks, plain number", "360000", t::timeticks, nullptr, u32(S::TimeTicks, 0)},
        {"object identifier", ".1.3.6", t::objectid, nullptr,
         OvVb::objectIdentifier(OvOid({1, 3, 6}))},
        {"counter64", "18446744073709551615", t::counter64, nullptr, OvVb::counter64(~0ULL)},
        {"double", " 2.5 ", t::double_, nullptr, octets(ov::octetsFromDouble(2.5))},
        {"date and time ahead", "2024-3-9,13:5:7.3,+2:0", t::datetime, nullptr,
         octets(bytes({0x07, 0xE8, 3, 9, 13, 5, 7, 3, '+', 2, 0}))},
        {"date and time behind", "2024-3-9,13:5:7.3,-5:30", t::datetime, nullptr,
         octets(bytes({0x07, 0xE8, 3, 9, 13, 5, 7, 3, '-', 5, 30}))},
        {"date and time without offset", "2024-3-9,13:5:7.3", t::datetime, nullptr,
         octets(bytes({0x07, 0xE8, 3, 9, 13, 5, 7, 3, '+', 0, 0}))},
        {"double date-time", "2023/03/15 12:00:00 pm", t::bcdatetime, nullptr,
         octets(ov::octetsFromDouble(45000.5))},
        {"null type", "x", t::null, nullptr, OvVb::null()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValueFromText(c.text, c.type, c.options), c.sent) << c.what;
}

struct NormaliseCase {
    const char* what;
    std::string text;
    std::uint8_t type;
    std::string normalised; // empty with `raises` set: the code it raises
    int raises = 0;
};

TEST(NormaliseText, ObservableResults) {
    namespace t = ovtype;
    const NormaliseCase cases[] = {
        {"leading zeros", "0012", t::integer, "12"},
        {"trailing letters", "12abc", t::integer, "12"},
        {"empty integer", "", t::integer, "0"},
        {"letters", "abc", t::integer, "0"},
        {"integer wraps", "4294967295", t::integer, "-1"},
        {"counter of -1", "-1", t::counter, "4294967295"},
        {"gauge of -1", "-1", t::guage, "4294967295"},
        {"boolean true", "true", t::boolean, "true"},
        {"boolean other", "yes", t::boolean, "false"},
        {"ip with a fifth arc", "192.168.0.1.7", t::ipaddress, "192.168.0.1"},
        {"ip arc over 255", "300.1.1.1", t::ipaddress, "44.1.1.1"},
        {"ip with three arcs", "192.168.0", t::ipaddress, "", -518},
        {"empty ip", "", t::ipaddress, "(NULL)"},
        {"host name", "ap.example", t::ipaddress, "(NULL)"},
        {"object identifier", ".1.3.06", t::objectid, "1.3.6"},
        {"bad object identifier", "1.x", t::objectid, "(NULL)"},
        {"ticks", "1 day 0:00:00.00", t::timeticks, "1 day 0:00:00.00"},
        {"ticks from a clock", "25:00:00.00", t::timeticks, "1 day 1:00:00.00"},
        {"hex with spaces", "00 11 aa", t::octetstr, "0011AA"},
        {"odd hex", "abc", t::octetstr, "0ABC"},
        {"empty octets", "", t::octetstr, "(NULL)"},
        {"mac with dashes", "00-11-22-33-44-55", t::macaddress, "000011022033044055"},
        {"mac", "001122334455", t::macaddress, "001122334455"},
        {"short mac", "0011223344", t::macaddress, "", -518},
        {"empty mac", "", t::macaddress, "(NULL)"},
        {"display string NULL", "(NULL)", t::displaystr, ""},
        {"display string kept", " x ", t::displaystr, " x "},
        {"counter64 of -1", "-1", t::counter64, "18446744073709551615"},
        {"double", "1.50", t::double_, "1.5"},
        {"double not a number", "x", t::double_, "", -518},
        {"date and time, zero offset", "2024-3-9,13:5:7.3,+0:0", t::datetime, "2024-3-9,13:5:7.3"},
        {"date and time, bad", "9 March", t::datetime, "", -518},
        {"double date-time", "2023/3/15", t::bcdatetime, "2023/03/15 12:00:00 am"},
        {"double date-time, 24-hour clock", "2023/3/15 18:30", t::bcdatetime,
         "2023/03/15 06:30:00 pm"},
        {"double date-time, bad day", "2023/2/30", t::bcdatetime, "", -518},
        {"NULL stays for integers", "(NULL)", t::integer, "(NULL)"},
        {"NULL stays for addresses", "(NULL)", t::ipaddress, "(NULL)"},
        {"NULL stays for macs", "(NULL)", t::macaddress, "(NULL)"},
        {"one-byte field type", "1", t::int8, "", -511},
        {"unknown type", "1", 0x99, "", -511},
    };
    for (const auto& c : cases) {
        if (c.raises == 0) {
            EXPECT_EQ(NormaliseText(c.text, c.type), c.normalised) << c.what;
            continue;
        }
        try {
            NormaliseText(c.text, c.type);
            ADD_FAILURE() << c.what << ": nothing raised";
        } catch (const OvException& e) {
            EXPECT_EQ(e.code(), c.raises) << c.what;
        }
    }
}

TEST(Conversions, UnhandledTypesRaiseBadSyntax) {
    const std::function<void()> calls[] = {
        [] { TextFromValue(OvVb::integer(1), ovtype::uint16, nullptr); },
        [] { TextFromValue(OvVb::integer(1), 0x00, nullptr); },
        [] { ValueFromText("1", ovtype::bool8, nullptr); },
        [] { ValueFromText("(NULL)", 0x7F, nullptr); },
    };
    for (const auto& call : calls) {
        try {
            call();
            ADD_FAILURE() << "nothing raised";
        } catch (const OvException& e) {
            EXPECT_EQ(e.code(), -511);
            EXPECT_EQ(e.text(), "(OvSNMP++) Bad SNMP syntax!");
        }
    }
}

TEST(Conversions, SentValuesReadBackAsTheirText) {
    namespace t = ovtype;
    const std::pair<std::uint8_t, const char*> cases[] = {
        {t::integer, "-2147483648"},
        {t::counter, "4294967295"},
        {t::timeticks, "3 days, 4:05:06.07"},
        {t::ipaddress, "10.0.0.1"},
        {t::macaddress, "0011223344AA"},
        {t::displaystr, "SSID one"},
        {t::objectid, "1.3.6.1"},
        {t::double_, "-0.000125"},
        {t::datetime, "1999-1-2,3:4:5.6,-1:30"},
        {t::bcdatetime, "2000/02/29 11:59:59 pm"},
    };
    for (const auto& [type, text] : cases)
        EXPECT_EQ(TextFromValue(ValueFromText(text, type, nullptr), type, nullptr), text) << text;
}

} // namespace
