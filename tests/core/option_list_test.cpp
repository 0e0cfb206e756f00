#include "OvException.h"
#include "OvOptionList.h"

#include <gtest/gtest.h>

namespace {

const OvOptionList& apModes() {
    static const OvOptionList list{
        {1, "Access Point"}, {2, "WDS with AP"}, {3, "WDS"}, {4, "AP Repeater"}, {5, "AP Client"}};
    return list;
}

TEST(OptionList, AccessPointModeExamples) {
    const OvOptionList& list = apModes();
    const struct {
        const char* what;
        std::string (OvOptionList::*convert)(const std::string&) const;
        const char* text;
        const char* expected;
    } cases[] = {
        {"value to its label", &OvOptionList::ValueToLabel, "3", "WDS"},
        {"value outside the list", &OvOptionList::ValueToLabel, "7", "7"},
        {"no value", &OvOptionList::ValueToLabel, "(NULL)", "(NULL)"},
        {"value with a sign", &OvOptionList::ValueToLabel, "+2", "WDS with AP"},
        {"value with blanks is no number", &OvOptionList::ValueToLabel, " 2", " 2"},
        {"value past 32 bits", &OvOptionList::ValueToLabel, "4294967297", "4294967297"},
        {"label in upper case", &OvOptionList::LabelToValue, "WDS WITH AP", "2"},
        {"label in lower case", &OvOptionList::LabelToValue, "wds with ap", "2"},
        {"a value is no label", &OvOptionList::LabelToValue, "2", "2"},
        {"part of a label", &OvOptionList::LabelToValue, "WDS with", "WDS with"},
    };
    for (const auto& c : cases)
        EXPECT_EQ((list.*c.convert)(c.text), c.expected) << c.what;
    EXPECT_EQ(list.IndexOfLabel("AP Client"), 4);
    EXPECT_EQ(list.IndexOfValue("5"), 4);
    EXPECT_EQ(list.IndexOfValue("AP"), -1);
}

TEST(OptionList, CaseRules) {
    const OvOptionPair table[] = {{1, nullptr, "Enable"}, {0, nullptr, "Disable"}, {}};
    const OvOptionList loose(table, OvOptionList::Integer, false);
    const OvOptionList exact(table, OvOptionList::Integer, true);
    for (const char* text : {"ENABLE", "enable", "Enable"})
        EXPECT_EQ(loose.IndexOfLabel(text), 0) << text;
    EXPECT_EQ(exact.IndexOfLabel("Enable"), 0);
    EXPECT_EQ(exact.IndexOfLabel("ENABLE"), -1);
    EXPECT_EQ(exact.IndexOfLabel("enable"), -1);
    // Row order is table order, not value order.
    EXPECT_EQ(loose.LabelToValue("disable"), "0");
    EXPECT_EQ(loose.Labels(), (std::vector<std::string>{"Enable", "Disable"}));
}

TEST(OptionList, EmptyOrNullTable) {
    const OvOptionPair empty[] = {{}};
    for (const OvOptionPair* table : {static_cast<const OvOptionPair*>(nullptr), empty}) {
        const OvOptionList list(table, OvOptionList::Integer, false);
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.IndexOfLabel("x"), -1);
        EXPECT_EQ(list.IndexOfValue("0"), -1);
        EXPECT_EQ(list.ValueToLabel("0"), "0");
        EXPECT_EQ(list.LabelToValue("x"), "x");
        EXPECT_THROW(list.Row(0), OvException);
    }
}

TEST(OptionList, NullValueNeverMatchesButItsLabelDoes) {
    const OvOptionList list{{0, "(NULL)"}, {1, "One"}};
    EXPECT_EQ(list.IndexOfValue("(NULL)"), -1);
    EXPECT_EQ(list.IndexOfLabel("(NULL)"), 0);
    EXPECT_EQ(list.IndexToSelect("(NULL)"), 0);
}

TEST(OptionList, DuplicatesTakeTheFirstRow) {
    const OvOptionList list{{1, "Same"}, {2, "Same"}, {1, "Other"}};
    EXPECT_EQ(list.LabelToValue("Same"), "1");
    EXPECT_EQ(list.ValueToLabel("1"), "Same");
    EXPECT_EQ(list.IndexOfValue("1"), 0);
}

TEST(OptionList, SelectionTriesLabelThenValue) {
    const OvOptionList& list = apModes();
    EXPECT_EQ(list.IndexToSelect("WDS"), 2);
    EXPECT_EQ(list.IndexToSelect("3"), 2);
    EXPECT_EQ(list.IndexToSelect("7"), -1);
    EXPECT_EQ(list.IndexToSelect(""), -1);
}

TEST(OptionList, StringValues) {
    const OvOptionPair table[] = {{0, "on", "Switched on"}, {0, "off", "Switched off"}, {}};
    const OvOptionList loose(table, OvOptionList::String, false);
    const OvOptionList exact(table, OvOptionList::String, true);
    EXPECT_EQ(loose.ValueToLabel("ON"), "Switched on");
    EXPECT_EQ(exact.ValueToLabel("ON"), "ON");
    EXPECT_EQ(exact.LabelToValue("Switched off"), "off");
    EXPECT_EQ(loose.ValueToLabel("on "), "on ");
}

TEST(OptionList, PrefixValuesKeepTheRest) {
    const OvOptionPair table[] = {{0, "ab", "Alpha-"}, {}};
    const OvOptionList loose(table, OvOptionList::Prefix, false);
    const OvOptionList exact(table, OvOptionList::Prefix, true);
    const struct {
        const char* what;
        const OvOptionList* list;
        bool toLabel;
        const char* text;
        const char* expected;
    } cases[] = {
        {"value prefix and rest", &loose, true, "ab123", "Alpha-123"},
        {"value prefix alone", &loose, true, "ab", "Alpha-"},
        {"value prefix in other case", &loose, true, "AB9", "Alpha-9"},
        {"value prefix in other case, exact list", &exact, true, "AB9", "AB9"},
        {"text shorter than the prefix", &loose, true, "a", "a"},
        {"text not beginning with it", &loose, true, "xab", "xab"},
        {"label prefix and rest", &loose, false, "Alpha-123", "ab123"},
        {"label prefix in other case", &loose, false, "ALPHA-x", "abx"},
        {"label prefix in other case, exact list", &exact, false, "ALPHA-x", "ALPHA-x"},
    };
    for (const auto& c : cases) {
        const std::string result =
            c.toLabel ? c.list->ValueToLabel(c.text) : c.list->LabelToValue(c.text);
        EXPECT_EQ(result, c.expected) << c.what;
    }
}

TEST(OptionList, CodeNames) {
    EXPECT_EQ(ov::listModeOptions().ValueToLabel("2"), "MVT_FMV");
    EXPECT_EQ(ov::typeCodeOptions().LabelToValue("macaddress"), "73");
    EXPECT_EQ(ov::typeCodeOptions().Count(), 25);
    EXPECT_EQ(ov::accessCodeOptions().LabelToValue("readwrite"), "6");
    EXPECT_EQ(ov::accessCodeOptions().Count(), 7);
}

} // namespace
