#include "OvCatalog.h"
#include "OvEditRules.h"
#include "OvException.h"

#include <gtest/gtest.h>

namespace {

TEST(EditSpec, BadSpecifiersRaiseMinusTwo) {
    const char* cases[] = {
        "",      "%",      "u",         "x%u",     "%z",    "%n",       "%ux",
        "%u{",   "%u{n1",  "%u{n1x4}x", "%u{q1}",  "%s{l}", "%s{la}",   "%s{w}",
        "%u{n}", "%u{xa}", "%s{e}",     "%s{l8e}", "%n.x",  "%u{l5n1}", "%s}",
    };
    for (const char* specifier : cases) {
        try {
            ov::parseEditSpec(specifier);
            ADD_FAILURE() << specifier << ": accepted";
        } catch (const OvException& e) {
            EXPECT_EQ(e.code(), -2) << specifier;
            EXPECT_EQ(e.text(), "(OvCommon) Bad format specifier of edit's constraint!");
        }
    }
}

TEST(EditSpec, OptionsAndDefaults) {
    const struct {
        const char* specifier;
        char letter, delimiter;
        double minimum, maximum;
        int lengthLimit;
        unsigned flags;
        int width;
        char jump;
    } cases[] = {
        {"%u", 'u', 0, 0, 4294967295.0, 0, 0, 0, 0},
        {"%i", 'i', 0, -2147483648.0, 2147483647.0, 0, 0, 0, 0},
        {"%f", 'f', 0, 2.2250738585072014e-308, 1.7976931348623157e+308, 0, 0, 0, 0},
        {"%u{n1x4094}", 'u', 0, 1, 4094, 0, 0, 0, 0},
        {"%u{n300x9999999}", 'u', 0, 300, 9999999, 0, 0, 0, 0},
        {"%s{l32n}", 's', 0, 2.2250738585072014e-308, 1.7976931348623157e+308, 32, 4, 0, 0},
        {"%h{l12fa}", 'h', 0, 2.2250738585072014e-308, 1.7976931348623157e+308, 12, 3, 0, 0},
        {"%u{n1n2x3x4}", 'u', 0, 2, 4, 0, 0, 0, 0},
        {"%i{n-5.5x5w80}", 'i', 0, -5.5, 5, 0, 0, 80, 0},
        {"%u{e.}", 'u', 0, 0, 4294967295.0, 0, 0, 0, '.'},
        {"%u{e}}", 'u', 0, 0, 4294967295.0, 0, 0, 0, '}'},
        {"%n:{l6fx255}", 'n', ':', 2.2250738585072014e-308, 255, 6, 2, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.specifier);
        const OvEditSpec format = ov::parseEditSpec(c.specifier);
        EXPECT_EQ(format.letter, c.letter);
        EXPECT_EQ(format.delimiter, c.delimiter);
        EXPECT_EQ(format.minimum, c.minimum);
        EXPECT_EQ(format.maximum, c.maximum);
        EXPECT_EQ(format.lengthLimit, c.lengthLimit);
        EXPECT_EQ(format.lengthFlags, c.flags);
        EXPECT_EQ(format.width, c.width);
        EXPECT_EQ(format.jump, c.jump);
    }
}

TEST(EditSpec, FormatsSplitAtPercentSigns) {
    EXPECT_EQ(ov::splitEditFormat("%u{n0x255}%u{n0x255}%s"),
              (std::vector<std::string>{"%u{n0x255}", "%u{n0x255}", "%s"}));
    EXPECT_EQ(ov::splitEditFormat(""), std::vector<std::string>{});
}

TEST(EditTyping, RejectedCharactersGoInOnePass) {
    const struct {
        const char* specifier;
        std::string typed;
        std::string kept;
    } cases[] = {
        {"%u{n1x4094}", "40a95", "4095"},
        {"%u", "-5", "5"},
        {"%h", "00:11", "0011"},
        {"%h", "aF9g", "aF9"},
        {"%i", "-5-", "-5"},
        {"%i", "a-5", "-5"}, // the minus is first once the letter has gone
        {"%f", "-1.5.2", "-1.52"},
        {"%n.", ".1..2.", "1.2."},
        {"%s", "any \x01 text", "any \x01 text"},
        {"%u", std::string(100000, 'x') + "7", "7"},
    };
    for (const auto& c : cases) {
        const OvEditSpec format = ov::parseEditSpec(c.specifier);
        EXPECT_EQ(ov::withoutRejected(format, c.typed), c.kept) << c.specifier << " " << c.typed;
        const bool clean = c.typed == c.kept;
        EXPECT_EQ(ov::firstRejected(format, c.typed) == std::string::npos, clean) << c.typed;
    }
}

TEST(EditExit, ChecksOfTheWholeText) {
    ov::resetCatalogs();
    using O = OvExitCheck::Outcome;
    const struct {
        const char* specifier;
        const char* text;
        O outcome;
        const char* message;
    } cases[] = {
        {"%u{n1x4094}", "4095", O::Failed, "(OvCommon) Please enter a number between 1 and 4094!"},
        {"%u{n1x4094}", "0", O::Failed, "(OvCommon) Please enter a number between 1 and 4094!"},
        {"%u{n1x4094}", "4094", O::Passed, ""},
        {"%u", "4294967296", O::Failed,
         "(OvCommon) Please enter a number between 0 and 4294967295!"},
        {"%u{n300x9999999}", "300", O::Passed, ""},
        {"%u{n300x9999999}", "9999999", O::Passed, ""},
        {"%u{n300x9999999}", "299", O::Failed,
         "(OvCommon) Please enter a number between 300 and 9999999!"},
        {"%u", "(NULL)", O::Ignored, ""},
        {"%u{n1x5}", "(NOTDONE)", O::Ignored, ""},
        {"%u{n1x5}", "", O::Ignored, ""},
        {"%s{l32n}", "", O::Failed, "(OvCommon) Empty value is not allowed!"},
        {"%s{l8}", "12345678", O::Passed, ""},
        {"%s{l8}", "123456789", O::Failed,
         "(OvCommon) Please enter a string whose length is less than 8!"},
        {"%s{l5f}", "1234", O::Failed, "(OvCommon) Please enter a string whose length is 5!"},
        {"%h", "001122334455667788", O::Passed, ""},
        {"%h{l12fa}", "00112233445", O::Failed,
         "(OvCommon) Please enter a hex string whose length is 12!"},
        {"%h{l4}", "00112", O::Failed,
         "(OvCommon) Please enter a hex string whose length is less than 4!"},
        {"%n.{l4fx255}", "10.0.1", O::Failed,
         "(OvCommon) Please enter a delimited number string with delimiter '.'.\n"
         "Here,the count of the number is equal to 4!"},
        {"%n.{l4x255}", "1.2.3.4.5", O::Failed,
         "(OvCommon) Please enter a delimited number string with delimiter '.'.\n"
         "Here,the count of the number is less than 4!"},
        {"%n.{l4fx255}", "10.0.300.1", O::Failed,
         "(OvCommon) Please enter a delimited number string with delimiter '.'.\n"
         "Here,each number is between 0 and 255!"},
        {"%n.{l4fx255}", "10.0.255.1", O::Passed, ""},
        {"%i{n-10x10}", "-10", O::Passed, ""},
        {"%i{n-10x10}", "-11", O::Failed, "(OvCommon) Please enter a number between -10 and 10!"},
    };
    for (const auto& c : cases) {
        const OvExitCheck check = ov::checkOnExit(ov::parseEditSpec(c.specifier), c.text);
        EXPECT_EQ(check.outcome, c.outcome) << c.specifier << " " << c.text;
        EXPECT_EQ(check.message, c.message) << c.specifier << " " << c.text;
    }
}

TEST(NumList, ParsesDelimitedWholeNumbers) {
    const struct {
        const char* text;
        char delimiter;
        std::vector<unsigned> values;
    } cases[] = {
        {"", '.', {}},
        {"192.168.0.1", '.', {192, 168, 0, 1}},
        {"1..2", '.', {1, 0, 2}},
        {"12:3.9:4", ':', {12, 3, 4}}, // fractions are cut toward zero
        {"5:", ':', {5, 0}},
    };
    for (const auto& c : cases) {
        OvNumList<unsigned int> list(c.delimiter);
        list.Parse(c.text);
        std::vector<unsigned> values;
        for (std::uint32_t i = 0; i < list.Count(); ++i)
            values.push_back(list[i]);
        EXPECT_EQ(values, c.values) << c.text;
    }
    OvNumList<int> list;
    list.Parse("4.7.4");
    EXPECT_EQ(list.IndexOf(4), 0);
    EXPECT_EQ(list.IndexOf(7), 1);
    EXPECT_EQ(list.IndexOf(9), -1);
}

} // namespace
