#include "DeviceMib.h"
#include "DeviceOptions.h"
#include "OvVb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

namespace {

// Each table's row count and, by position, the option list of every row that has one.
struct TableExpectation {
    int number;
    int rows;
    const char* optionLists; // "position:list ..."
};

const TableExpectation kExpected[] = {
    {1, 6, ""},
    {2, 10, "1:DisableEnable 6:DisableEnable"},
    {3, 5, "0:GetIPFrom 4:Reboot"},
    {4, 9, "0:APMode"},
    {5, 9, "0:APMode"},
    {6, 12, "0:SuperMode 10:TransmitPower 11:OffOn"},
    {7, 1, "0:DisableEnable"},
    {8, 2, "0:SuperMode 1:SuperMode"},
    {9, 12, "0:SuperMode 10:TransmitPower 11:OffOn"},
    {10, 1, "0:DisableEnable"},
    {11, 1, "0:DisableEnable"},
    {12, 1, "0:DisableEnable"},
    {13, 1, "0:DisableEnable"},
    {14, 1, "0:DisableEnable"},
    {15, 2, ""},
    {16, 2, ""},
    {17, 8,
     "0:AccessControl 1:EnableDisable 2:EnableDisable 3:EnableDisable 4:AccessControl "
     "5:EnableDisable 6:EnableDisable 7:EnableDisable"},
    {18, 5, "0:Cipher"},
    {19, 5, "0:Cipher"},
    {20, 3, "0:Cipher"},
    {21, 3, "0:Cipher"},
    {22, 14,
     "0:Authentication 1:DisableEnable 2:KeyIndex 3:Authentication 4:DisableEnable 5:KeyIndex"},
    {23, 4, "0:DisableEnable 2:DisableEnable"},
    {24, 4, ""},
    {25, 3, ""},
    {26, 2, "0:LeaseGet 1:LeaseGet"},
    {27, 2, ""},
    {28, 1, "0:Reboot"},
    {29, 2, ""},
    {30, 3, ""},
    {31, 1, "0:TftpCommand"},
    {32, 1, "0:Reboot"},
    {33, 3, "0:DisableEnable 1:IdleTimeout 2:DisabledEnabled"},
    {34, 6, "2:AddressMode"},
    {35, 4, ""},
    {36, 4, ""},
    {37, 18, ""},
    {38, 18, ""},
    {39, 2, "0:Acquire 1:Acquire"},
    {40, 7, "3:Band 4:Authentication 6:OffOn"},
    {41, 1, ""},
    {42, 1, "0:DisableEnable"},
    {43, 9, "8:OffOnUpper"},
    {44, 1, ""},
    {45, 9, "8:OffOnUpper"},
    {46, 1, ""},
    {47, 1, ""},
    {48, 1, ""},
    {49, 2, ""},
    {50, 1, ""},
    {51, 1, ""},
    {52, 1, "0:Refresh"},
    {53, 1, "0:Refresh"},
    {54, 7, ""},
    {55, 7, ""},
    {56, 1, "0:DisabledEnabled"},
    {57, 5, "1:Authentication 2:DisabledEnabled 3:KeyIndex"},
    {58, 5, "1:Authentication 2:DisabledEnabled 3:KeyIndex"},
    {59, 6, "0:DisabledEnabled 2:SSIDAuthentication 3:KeyIndex"},
    {60, 6, "0:DisabledEnabled 2:SSIDAuthentication 3:KeyIndex"},
    {61, 6, "0:DisabledEnabled 2:SSIDAuthentication 3:KeyIndex"},
    {62, 6, "0:DisabledEnabled 2:SSIDAuthentication 3:KeyIndex"},
    {63, 6, "0:DisabledEnabled 2:SSIDAuthentication 3:KeyIndex"},
    {64, 6, "0:DisabledEnabled 2:SSIDAuthentication 3:KeyIndex"},
    {65, 13,
     "0:DisabledEnabled 1:DisabledEnabled 2:DisabledEnabled 3:DisabledEnabled 4:SSIDAuthentication "
     "5:SSIDAuthentication 6:SSIDAuthentication 7:DisabledEnabled 8:DisabledEnabled "
     "9:DisabledEnabled 10:SSIDAuthentication 11:SSIDAuthentication 12:SSIDAuthentication"},
    {66, 4, "0:APMode 1:SuperMode 2:APMode 3:SuperMode"},
    {67, 6, "0:KeyIndex 1:KeyIndex 2:KeyIndex 3:KeyIndex 4:KeyIndex 5:KeyIndex"},
    {68, 3, "0:NetworkType"},
    {69, 1, "0:Detect"},
    {70, 1, ""},
    {71, 1, ""},
    {72, 8, "5:RogueSecurity 6:RogueBand"},
    {73, 1, ""},
    {74, 8, "5:KnownAPSecurity 6:RogueBand"},
    {75, 4, "0:LowerDisableEnable 1:LowerDisableEnable 2:LowerDisableEnable"},
    {76, 1, "0:LogGet"},
    {77, 1, "0:LogClear"},
    {78, 3, ""},
    {79, 1, ""},
};

// Every device option list with its rows, "value=label|...", in row order.
const std::pair<const OvOptionList*, const char*> kOptionLists[] = {
    {&mib::optDisableEnable, "0=Disable|1=Enable"},
    {&mib::optGetIPFrom, "1=Static (Manual)|2=Dynamic (DHCP)"},
    {&mib::optReboot, "0=nothing|1=reboot"},
    {&mib::optAPMode, "1=Access Point|2=WDS with AP|3=WDS|4=AP Repeater|5=AP Client"},
    {&mib::optSuperMode, "1=Super Mode without Turbo|2=Super Mode with Dynamic Turbo|3=Disable"},
    {&mib::optTransmitPower, "1=Full|2=Half(-3dB)|3=Quarter(-6dB)|4=Eighth(-9dB)|5=Min"},
    {&mib::optOffOn, "0=Off|1=On"},
    {&mib::optAccessControl, "1=Disable|2=Accept|3=Reject"},
    {&mib::optEnableDisable, "1=Enable|0=Disable"},
    {&mib::optCipher, "1=WEP|2=Auto|3=AES|4=TKIP"},
    {&mib::optAuthentication,
     "1=Open System|2=Shared Key|3=Open System / Shared "
     "Key|4=802.1x|5=WPA-EAP|6=WPA-PSK|7=WPA2-EAP|8=WPA2-PSK|9=WPA-Auto-EAP|10=WPA-Auto-PSK"},
    {&mib::optKeyIndex, "1=First|2=Second|3=Third|4=Fourth"},
    {&mib::optLeaseGet, "0=Nothing|1=Get"},
    {&mib::optTftpCommand, "1=Connect|2=Get|3=Put|4=Nothing"},
    {&mib::optIdleTimeout, "1=1 Min|2=3 Mins|3=5 Mins|4=10 Mins|5=15 Mins|6=Never"},
    {&mib::optDisabledEnabled, "0=disabled|1=enabled"},
    {&mib::optAddressMode, "1=Manual|2=Dynamic"},
    {&mib::optAcquire, "0=Nothing|1=acquire"},
    {&mib::optBand, "1=A|2=G"},
    {&mib::optOffOnUpper, "0=OFF|1=ON"},
    {&mib::optRefresh, "0=nothing|1=refresh"},
    {&mib::optSSIDAuthentication, "1=None|2=Open System|3=Shared Key"},
    {&mib::optNetworkType, "1=AP BSS|2=Ad Hoc|3=Both"},
    {&mib::optDetect, "0=nothing|1=detect"},
    {&mib::optRogueSecurity,
     "0=OFF|1=WEP|2=WPA-EAP|3=WPA-PSK|4=WPA2-EAP|5=WPA2-PSK|6=WPA-Auto-EAP|7=WPA-Auto-PSK"},
    {&mib::optRogueBand, "0=a|2=b|3=g"},
    {&mib::optKnownAPSecurity, "0=OFF|1=WEP|2=WPA-Enterprise|3=WPA-Personal|4=WPA2-Enterprise|5="
                               "WPA2-Personal|6=WPA-Auto-Enterprise|7=WPA-Auto-Personal"},
    {&mib::optLowerDisableEnable, "0=disable|1=enable"},
    {&mib::optLogGet, "0=nothing|1=get"},
    {&mib::optLogClear, "0=nothing|1=clear"},
};

std::string rowsOf(const OvOptionList& list) {
    std::string text;
    for (int i = 0; i < list.Count(); ++i) {
        if (i != 0)
            text += '|';
        text += std::to_string(list.Row(i).number) + "=" + list.Row(i).label;
    }
    return text;
}

std::string nameOf(const OvOptionList* list) {
    static const std::map<const OvOptionList*, std::string> names = {
        {&mib::optDisableEnable, "DisableEnable"},
        {&mib::optGetIPFrom, "GetIPFrom"},
        {&mib::optReboot, "Reboot"},
        {&mib::optAPMode, "APMode"},
        {&mib::optSuperMode, "SuperMode"},
        {&mib::optTransmitPower, "TransmitPower"},
        {&mib::optOffOn, "OffOn"},
        {&mib::optAccessControl, "AccessControl"},
        {&mib::optEnableDisable, "EnableDisable"},
        {&mib::optCipher, "Cipher"},
        {&mib::optAuthentication, "Authentication"},
        {&mib::optKeyIndex, "KeyIndex"},
        {&mib::optLeaseGet, "LeaseGet"},
        {&mib::optTftpCommand, "TftpCommand"},
        {&mib::optIdleTimeout, "IdleTimeout"},
        {&mib::optDisabledEnabled, "DisabledEnabled"},
        {&mib::optAddressMode, "AddressMode"},
        {&mib::optAcquire, "Acquire"},
        {&mib::optBand, "Band"},
        {&mib::optOffOnUpper, "OffOnUpper"},
        {&mib::optRefresh, "Refresh"},
        {&mib::optSSIDAuthentication, "SSIDAuthentication"},
        {&mib::optNetworkType, "NetworkType"},
        {&mib::optDetect, "Detect"},
        {&mib::optRogueSecurity, "RogueSecurity"},
        {&mib::optRogueBand, "RogueBand"},
        {&mib::optKnownAPSecurity, "KnownAPSecurity"},
        {&mib::optLowerDisableEnable, "LowerDisableEnable"},
        {&mib::optLogGet, "LogGet"},
        {&mib::optLogClear, "LogClear"},
    };
    const auto it = names.find(list);
    return it == names.end() ? "?" : it->second;
}

TEST(DeviceMib, EveryTableHasItsRowsAndOptionLists) {
    const auto tables = mib::tables();
    ASSERT_EQ(tables.size(), std::size(kExpected));
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const mib::TableInfo& table = tables[i];
        const TableExpectation& expected = kExpected[i];
        SCOPED_TRACE("T" + std::to_string(table.number) + " " + table.title);
        EXPECT_EQ(table.number, expected.number);
        const OvSNMPVarList list(table.rows, table.mode, table.keyCount);
        EXPECT_EQ(list.Count(), expected.rows);
        std::ostringstream options;
        for (int p = 0; p < list.Count(); ++p) {
            if (list.Item(p).options != nullptr)
                options << (options.tellp() > 0 ? " " : "") << p << ":"
                        << nameOf(list.Item(p).options);
        }
        EXPECT_EQ(options.str(), expected.optionLists);
    }
}

TEST(DeviceMib, OptionListsHoldTheirRowsInOrder) {
    for (const auto& [list, rows] : kOptionLists) {
        EXPECT_EQ(rowsOf(*list), rows);
        EXPECT_EQ(list->kind(), OvOptionList::Integer);
        EXPECT_FALSE(list->caseSensitive());
    }
}

TEST(DeviceMib, RowsAreStoredExactlyAsListed) {
    const std::string e = mib::enterpriseRoot;
    const struct {
        const char* what;
        const OvSNMPVarRow* table;
        int position;
        std::string oid;
        const char* name;
        std::uint8_t type;
        std::uint32_t access;
    } cases[] = {
        {"system uptime", mib::T1, 2, "1.3.6.1.2.1.1.3", "System Uptime", ovtype::timeticks,
         ovaccess::readonly},
        {"system object", mib::T1, 1, "1.3.6.1.2.1.1.2", "System Object ID", ovtype::objectid,
         ovaccess::readonly},
        {"pseudo-column", mib::T15, 0, "", "No.", ovtype::integer, ovaccess::notaccess},
        {"name with leading blank", mib::T54, 1, e + ".2.8.2.1.2.1", " Type", ovtype::displaystr,
         ovaccess::readonly},
        {"name with blanks both sides", mib::T54, 5, e + ".2.8.2.1.6.1", " Security ",
         ovtype::displaystr, ovaccess::readonly},
        {"shared OID, invalid here", mib::T22, 1, e + ".2.5.1.1.2.1", "adSecEncryption-a",
         ovtype::integer, ovaccess::invalid},
        {"shared OID, writable here", mib::T57, 2, e + ".2.5.1.1.2.1", "adMSSIDEncryption",
         ovtype::integer, ovaccess::readwrite},
        {"super mode in T6", mib::T6, 0, e + ".2.3.1.11.1", "adSuperMode", ovtype::integer,
         ovaccess::readwrite},
        {"super mode in T8", mib::T8, 0, e + ".2.3.1.11.1", "adSuperModea", ovtype::integer,
         ovaccess::readwrite},
        {"client table second key", mib::T40, 1, e + ".4.5.2.1.1", "InfoIndex", ovtype::integer,
         ovaccess::notaccess},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const OvSNMPVarRow& row = c.table[c.position];
        EXPECT_EQ(row.oid, c.oid);
        EXPECT_STREQ(row.name, c.name);
        EXPECT_EQ(row.type, c.type);
        EXPECT_EQ(row.access, c.access);
    }
}

TEST(DeviceMib, SharedOidsKeepTheirOwnOptionLists) {
    // Both loaded at once: names, access and labels belong to the row, not the OID.
    const OvSNMPVarList security(mib::T22, MVT_SV, 0);
    const OvSNMPVarList multiSsid(mib::T57, MVT_SV, 0);
    EXPECT_EQ(security.Item(1).options->ValueToLabel("1"), "Enable");
    EXPECT_EQ(multiSsid.Item(2).options->ValueToLabel("1"), "enabled");
    EXPECT_FALSE(security.IsWritable(1));
    EXPECT_TRUE(multiSsid.IsWritable(2));
}

TEST(DeviceMib, ReceivedFrameCountDiffersInTypeBetweenBands) {
    auto rowOf = [](const OvSNMPVarRow* table, const std::string& oid) {
        for (const OvSNMPVarRow* row = table; row->oid != nullptr; ++row) {
            if (row->oid == oid)
                return *row;
        }
        return OvSNMPVarRow{};
    };
    const std::string column = std::string(mib::enterpriseRoot) + ".4.3.1.1.12.";
    EXPECT_EQ(rowOf(mib::T37, column + "1").type, ovtype::counter);
    const OvSNMPVarRow g = rowOf(mib::T38, column + "2");
    EXPECT_STREQ(g.name, "RxFrameCount");
    EXPECT_EQ(g.type, ovtype::integer);
}

TEST(DeviceMib, OidsAreDottedNumbersUnderTheirRoots) {
    std::set<std::string> roots = {"1.3.6.1.2.1.1.", std::string(mib::enterpriseRoot) + "."};
    for (const auto& table : mib::tables()) {
        for (const OvSNMPVarRow* row = table.rows; row->oid != nullptr; ++row) {
            const std::string oid = row->oid;
            if (oid.empty())
                continue;
            const bool underRoot = std::any_of(roots.begin(), roots.end(), [&](const auto& root) {
                return oid.rfind(root, 0) == 0;
            });
            EXPECT_TRUE(underRoot) << "T" << table.number << " " << oid;
            EXPECT_TRUE(OvOid::parse(oid).has_value()) << "T" << table.number << " " << oid;
        }
    }
}

// The names of the variables whose values are secrets; every row of these
// names, in whatever table, must be secret, and no other.
const std::set<std::string> kSecretNames = {
    "Sec RADIUS Secret", "adSecPassPhrase",   "adSecKey-80211a-1", "adSecKey-80211a-2",
    "adSecKey-80211a-3", "adSecKey-80211a-4", "adSecKey-80211g-1", "adSecKey-80211g-2",
    "adSecKey-80211g-3", "adSecKey-80211g-4", "adMSSIDKey",        "Password",
};

TEST(DeviceMib, SecretsAreExactlyTheKeysPassPhrasesRadiusSecretAndPassword) {
    std::set<std::string> seen;
    for (const auto& table : mib::tables()) {
        for (const OvSNMPVarRow* row = table.rows; row->oid != nullptr; ++row) {
            const auto oid = OvOid::parse(row->oid);
            if (!oid)
                continue;
            const bool secret = kSecretNames.count(row->name) > 0;
            EXPECT_EQ(mib::isSecret(*oid), secret) << "T" << table.number << " " << row->name;
            // An instance below a secret variable (a walk's answer) is secret too.
            OvOid instance = *oid;
            instance.arcs().push_back(0);
            EXPECT_EQ(mib::isSecret(instance), secret) << "T" << table.number << " " << row->name;
            if (secret)
                seen.insert(row->name);
        }
    }
    EXPECT_EQ(seen, kSecretNames);
    EXPECT_FALSE(mib::isSecret(*OvOid::parse(std::string(mib::enterpriseRoot) + ".3.1.20")))
        << "a sibling whose number begins like a secret's";
}

} // namespace

namespace {

// adRefresh carries its band as the last arc (E.2.8.1.1.1, E.2.8.1.1.2): the
// stored OID is sent as it stands, not with ".0".
TEST(DeviceMib, SiteSurveyTriggersCarryTheirBand) {
    for (const int number : {52, 53}) {
        const mib::TableInfo& table = mib::tables()[number - 1];
        EXPECT_EQ(table.number, number);
        EXPECT_EQ(table.mode, MVT_SV) << "T" << number;
    }
}

} // namespace
