#include "OvException.h"
#include "OvSNMPRequest.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct IndexCase {
    const char* name;
    std::uint8_t type;
    bool implied;
    std::string value;   // the key's value text
    std::string encoded; // its sub-identifiers
    std::string decoded; // the value text read back (empty: the same value)
};

const IndexCase kIndexCases[] = {
    {"integer", ovtype::integer, false, "42", "42", ""},
    {"negative integer wraps to 32 bits", ovtype::integer, false, "-1", "4294967295", ""},
    {"boolean true", ovtype::boolean, false, "true", "1", ""},
    {"boolean other text", ovtype::boolean, false, "maybe", "0", "false"},
    {"counter", ovtype::counter, false, "4294967295", "4294967295", ""},
    {"gauge", ovtype::guage, false, "7", "7", ""},
    {"unsigned", ovtype::uinteger, false, "8", "8", ""},
    {"time ticks as hundredths", ovtype::timeticks, false, "1:00:00.00", "360000", ""},
    {"IP address", ovtype::ipaddress, false, "192.168.0.1", "192.168.0.1", ""},
    {"NSAP address", ovtype::nsapaddr, false, "10.0.0.9", "10.0.0.9", ""},
    {"MAC address", ovtype::macaddress, false, "0011223344AA", "0.17.34.51.68.170", ""},
    {"counter64 high word first", ovtype::counter64, false, "4294967297", "1.1", ""},
    {"octet string with length", ovtype::octetstr, false, "0A0B", "2.10.11", ""},
    {"implied octet string", ovtype::octetstr, true, "0A0B", "10.11", ""},
    {"bit string", ovtype::bitstr, false, "FF", "1.255", ""},
    {"opaque", ovtype::opaque, false, "01", "1.1", ""},
    {"display string as characters", ovtype::displaystr, false, "ab", "2.97.98", ""},
    {"implied display string", ovtype::displaystr, true, "ab", "97.98", ""},
    {"object identifier with arc count", ovtype::objectid, false, "1.3.6", "3.1.3.6", ""},
    {"implied object identifier", ovtype::objectid, true, "1.3.6", "1.3.6", ""},
    {"double low half first", ovtype::double_, false, "1", "0.1072693248", ""},
    {"date and time", ovtype::datetime, false, "2024-5-6,7:8:9.1", "7.232.5.6.7.8.9.1.43.0.0", ""},
    {"null takes no sub-identifier", ovtype::null, false, "(NULL)", "", ""},
};

OvSNMPVarRow keyRow(std::uint8_t type, bool implied) {
    return {"1.3.6.1.4.1.9.1.1", "key", type,
            ovaccess::notaccess | (implied ? ovaccess::implied : 0u)};
}

TEST(RowIndex, EncodesAndDecodesEveryKeyType) {
    snmptest::setUpEngine();
    for (const IndexCase& c : kIndexCases) {
        const OvSNMPVarRow rows[] = {keyRow(c.type, c.implied), {}};
        OvSNMPRequest request;
        request.varList = OvSNMPVarList(rows, MVT_FMV, 1);
        request.varList.Item(0).value = c.value;
        EXPECT_EQ(request.RowIndexText(), c.encoded) << c.name;
        request.varList.Item(0).value = "?";
        if (c.encoded.empty())
            continue;
        request.DecodeRowIndex(c.encoded);
        EXPECT_EQ(request.varList.Item(0).value, !c.decoded.empty() ? c.decoded : c.value)
            << c.name;
    }
}

TEST(RowIndex, JoinsAndSplitsSeveralKeys) {
    snmptest::setUpEngine();
    const OvSNMPVarRow rows[] = {
        {"1.3.6.1.4.1.9.1.1", "band", ovtype::integer, ovaccess::notaccess},
        {"1.3.6.1.4.1.9.1.2", "name", ovtype::displaystr, ovaccess::notaccess},
        {"1.3.6.1.4.1.9.1.3", "slot", ovtype::integer, ovaccess::readonly},
        {"1.3.6.1.4.1.9.1.4", "value", ovtype::integer, ovaccess::readonly},
        {}};
    OvSNMPRequest request;
    request.varList = OvSNMPVarList(rows, MVT_FMV, 3);
    request.varList.Item(0).value = "2";
    request.varList.Item(1).value = "ab";
    request.varList.Item(2).value = "7";
    EXPECT_EQ(request.RowIndexText(), "2.2.97.98.7");
    request.DecodeRowIndex("1.1.120.9");
    EXPECT_EQ(request.varList.Item(0).value, "1");
    EXPECT_EQ(request.varList.Item(1).value, "x");
    EXPECT_EQ(request.varList.Item(2).value, "9");
    // A key that is not read walks on from its own column and the whole index.
    EXPECT_EQ(request.varList.Item(0).nextOid, "1.3.6.1.4.1.9.1.1.1.1.120.9");
}

TEST(RowIndex, AShortIndexIsABadKeyCount) {
    snmptest::setUpEngine();
    const OvSNMPVarRow rows[] = {
        {"1.3.6.1.4.1.9.1.1", "a", ovtype::integer, ovaccess::notaccess},
        {"1.3.6.1.4.1.9.1.2", "b", ovtype::integer, ovaccess::notaccess},
        {"1.3.6.1.4.1.9.1.3", "mac", ovtype::macaddress, ovaccess::notaccess},
        {}};
    const struct {
        const char* name;
        int keys;
        const char* index;
    } cases[] = {
        {"empty index", 1, ""},
        {"one arc for two keys", 2, "5"},
        {"a MAC address needs six arcs", 3, "1.2.0.17.34"},
    };
    for (const auto& c : cases) {
        OvSNMPRequest request;
        request.varList = OvSNMPVarList(rows, MVT_FMV, c.keys);
        try {
            request.DecodeRowIndex(c.index);
            ADD_FAILURE() << c.name;
        } catch (const OvException& e) {
            EXPECT_EQ(e.code(), -514) << c.name;
        }
    }
}

TEST(RowIndex, AnUnsupportedTypeIsBadSyntax) {
    snmptest::setUpEngine();
    const OvSNMPVarRow rows[] = {keyRow(ovtype::int8, false), {}};
    OvSNMPRequest request;
    request.varList = OvSNMPVarList(rows, MVT_FMV, 1);
    request.varList.Item(0).value = "1";
    EXPECT_THROW(
        {
            try {
                request.RowIndexText();
            } catch (const OvException& e) {
                EXPECT_EQ(e.code(), -511);
                throw;
            }
        },
        OvException);
}

struct ColumnEndCase {
    const char* name;
    const char* previous; // the OID asked ("" on the first read: the base)
    const char* answer;
    bool ended;
};

TEST(RowIndex, AColumnEndsWhenTheAnswerLeavesItOrDoesNotMoveOn) {
    snmptest::setUpEngine();
    const ColumnEndCase cases[] = {
        {"first row of the column", "", "1.2.1", false},
        {"next row", "1.2.1", "1.2.5", false},
        {"base 1.2 does not hold 1.20.5", "", "1.20.5", true},
        {"the next column", "1.2.9", "1.3.1", true},
        {"the base itself", "", "1.2", true},
        {"the OID asked again", "1.2.5", "1.2.5", true},
        {"an OID before the one asked", "1.2.5", "1.2.4.9", true},
        {"numerically after although shorter text", "1.2.9", "1.2.10", false},
        {"no answer", "1.2.5", "", true},
    };
    OvSNMPRequest request;
    request.varList.mode = MVT_FMV;
    for (const ColumnEndCase& c : cases)
        EXPECT_EQ(request.IsColumnEnd("1.2", c.previous, c.answer), c.ended) << c.name;
    request.varList.mode = MVT_SV;
    EXPECT_FALSE(request.IsColumnEnd("1.2", "", "9.9")) << "scalars never end";
}

} // namespace
