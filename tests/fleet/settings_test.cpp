// Settings as text: every exported key finds its variable again, values that
// an INI line would lose come back as they were, and a file that is no export
// of this model is refused at its line.
#include "FleetSettings.h"

#include "FleetTestSupport.h"

#include <gtest/gtest.h>

TEST(FleetSettings, EveryKeyNamesItsOwnWritableVariable) {
    ASSERT_GT(fleet::settings().size(), 100u);
    for (const FleetSetting& s : fleet::settings()) {
        EXPECT_EQ(fleet::findVariable(s.key).oid, s.variable.oid) << s.key;
        EXPECT_TRUE(fleet::isWritable(s.variable)) << s.key;
    }
}

TEST(FleetSettings, ValuesComeBackAsTheyWere) {
    const std::string values[] = {
        "plain",       "",           " leading blank", "trailing blank ", "\"quoted\"",
        "back\\slash", "line\nfeed", "tab\tand \x7f",  "caf\xe9"};
    for (const std::string& value : values) {
        const FleetSettingValues written{{"SystemName", value}, {"SystemLocation", "x"}};
        const std::string text = fleet::exportText("ap-1", written, false);
        EXPECT_EQ(fleet::parseExport(text, "ap-1.ini"), written) << text;
    }
}

TEST(FleetSettings, SecretsOnlyWhenAsked) {
    const FleetSettingValues values{{"Password", "s3cret"}, {"UserName", "admin"}};
    EXPECT_EQ(fleet::exportText("ap-1", values, false).find("s3cret"), std::string::npos);
    EXPECT_NE(fleet::exportText("ap-1", values, true).find("Password=s3cret"), std::string::npos);
    const auto found = fleet::differences(values, {{"UserName", "root"}});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(fleet::differenceText(found[0]), "UserName: admin -> root");
    EXPECT_EQ(fleet::differenceText(found[1]), "Password: *** -> (none)");
}

TEST(FleetSettings, AFileThatIsNoExportIsRefusedAtItsLine) {
    const std::string head = "; orw3300ap-fleet export of ap-1\n[Device]\nmodel=ORW-3300AP\n";
    const struct {
        const char* what;
        std::string text;
        const char* message;
    } cases[] = {
        {"another file", "[Program Information]\nAgentPort=161\n",
         "f.ini:1: not an export of orw3300ap-fleet"},
        {"empty", "", "f.ini:0: not an export of orw3300ap-fleet"},
        {"another model", "; orw3300ap-fleet export of ap-1\n[Device]\nmodel=ORW-5200AP\n",
         "f.ini:3: an export of an ORW-5200AP, not of an ORW-3300AP"},
        {"no model", "; orw3300ap-fleet export of ap-1\n[Grouping]\nLoadBalance=Enable\n",
         "f.ini:3: the [Device] section names no model"},
        {"unknown key", head + "[Grouping]\nLoadBalancing=Enable\n",
         "f.ini:5: \"LoadBalancing\" is no setting of an ORW-3300AP"},
        {"read-only variable", head + "[Device information]\nstLED=85\n",
         "f.ini:5: \"stLED\" is no setting of an ORW-3300AP"},
        {"no equals sign", head + "\n[Grouping]\nLoadBalance\n",
         "f.ini:6: \"LoadBalance\" is no KEY=VALUE"},
        {"twice", head + "[MIB-II system group]\nSystemName=a\nSystemName=b\n",
         "f.ini:6: \"SystemName\" is set twice"},
        {"broken quotes", head + "SystemName=\"a\n",
         "f.ini:4: a quoted value does not end in a quotation mark"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fleettest::usageErrorOf([&] { fleet::parseExport(c.text, "f.ini"); }), c.message)
            << c.what;
    }
}
