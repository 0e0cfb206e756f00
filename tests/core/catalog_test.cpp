#include "OvCatalog.h"
#include "OvException.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class CatalogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ov::resetCatalogs();
        dir_ = fs::temp_directory_path() / ("ovcatalog-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        ov::resetCatalogs();
        fs::remove_all(dir_);
    }
    fs::path write(const std::string& name, const std::string& content) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    fs::path dir_;
};

struct MapCase {
    const char* what;
    int status;
    int code;
    const char* text;
};

TEST(StatusMapping, EveryRangeAndItsEdges) {
    ov::resetCatalogs();
    const MapCase cases[] = {
        {"success", 0, 0, "(OvSNMP++) Ok!"},
        {"engine success 1400", 1400, 0, "(OvSNMP++) Ok!"},
        {"engine success -1401", -1401, 0, "(OvSNMP++) Ok!"},
        {"first USM status", 1401, -301, "(SNMPv3USM) error!"},
        {"unknown user name", 1404, -304, "(SNMPv3USM) Unknown SecurityName!"},
        {"last USM status of the engine", 1414, -314, "(SNMPv3USM) Address error!"},
        {"short authentication pass phrase", 1415, -315,
         "(SNMPv3USM) Authentication pass phrase shorter than 8 characters!"},
        {"short privacy pass phrase", 1416, -316,
         "(SNMPv3USM) Privacy pass phrase shorter than 8 characters!"},
        {"past the USM range", 1417, -528, "(OvSNMP++) Unknown error code!"},
        {"first SNMPv3 status", -1402, -201, "(SNMPv3) Unsupported Security Model!"},
        {"last SNMPv3 status", -1418, -217, "(SNMPv3) Report sent!"},
        {"past the SNMPv3 range", -1419, -528, "(OvSNMP++) Unknown error code!"},
        {"tooBig", 1, -101, "(SNMP) Response PDU Too Big!"},
        {"noSuchName", 2, -102, "(SNMP) Variable does not exist!"},
        {"the device's own status 19", 19, -119, "(SNMP) Cannot download the overdue firmware!"},
        {"error status 20", 20, -528, "(OvSNMP++) Unknown error code!"},
        {"operation failed", -1, -401, "(SNMPClass) Operation failed!"},
        {"time-out", -5, -405, "(SNMPClass) SNMP request timed out!"},
        {"blocked mode shutdown", -23, -423, "(SNMPClass) Blocked Mode Shutdown!"},
        {"net-snmp's own time-out number", -24, -528, "(OvSNMP++) Unknown error code!"},
        {"between the ranges", 1399, -528, "(OvSNMP++) Unknown error code!"},
    };
    for (const auto& c : cases) {
        const OvStatus status = ov::mapStatus(c.status);
        EXPECT_EQ(status.code, c.code) << c.what;
        EXPECT_EQ(status.text, c.text) << c.what;
    }
}

TEST(StatusMapping, OwnCodesFindTheirCatalogs) {
    ov::resetCatalogs();
    const std::pair<int, const char*> cases[] = {
        {-509, "(OvSNMP++) Invalid IP Address or DNS name!"},
        {-518, "(OvSNMP++) Bad value of the associated SNMP variable's (partial) data!"},
        {-528, "(OvSNMP++) Unknown error code!"},
        {-2, "(OvCommon) Bad format specifier of edit's constraint!"},
        {-9, "(OvCommon) Please enter a delimited number string with delimiter "
             "'[DELIMITER]'.\nHere,the count of the number is less than [MAXCOUNT]!"},
        {-405, "(SNMPClass) SNMP request timed out!"},
        {-316, "(SNMPv3USM) Privacy pass phrase shorter than 8 characters!"},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(ov::textOfCode(code), text) << code;
        const OvException error(code);
        EXPECT_EQ(error.code(), code);
        EXPECT_EQ(error.text(), text);
    }
}

TEST_F(CatalogTest, FileReplacesTableCountingOnlyNonBlankLines) {
    const auto path = write("snmp.err", "one\ntwo\nthree\n   \n  four  \r\nfive");
    ASSERT_TRUE(ov::loadCatalog(OvCatalog::Snmp, path));
    // Error status 4 (readOnly) is entry 3: the fourth non-blank line, blanks kept.
    EXPECT_EQ(ov::mapStatus(4).text, "  four  ");
    EXPECT_EQ(ov::mapStatus(5).text, "five");
    // Entries the file lacks fall back to the built-in texts.
    EXPECT_EQ(ov::mapStatus(6).text, "(SNMP) Cannot access variable, No Access!");
    EXPECT_EQ(ov::catalogEntry(OvCatalog::Snmp, 19), "");
}

TEST_F(CatalogTest, BlankMissingOrUnreadableFileKeepsTheTable) {
    ASSERT_TRUE(ov::loadCatalog(OvCatalog::SnmpClass, write("first.err", "A\nB\nC\nD\nTimed\n")));
    const std::pair<const char*, fs::path> cases[] = {
        {"blank lines only", write("blank.err", "\n  \r\n\t\n\x01\x7f\n")},
        {"empty file", write("empty.err", "")},
        {"missing file", dir_ / "missing.err"},
        {"a folder", dir_},
    };
    for (const auto& [what, path] : cases) {
        EXPECT_FALSE(ov::loadCatalog(OvCatalog::SnmpClass, path)) << what;
        EXPECT_EQ(ov::mapStatus(-5).text, "Timed") << what;
    }
}

TEST_F(CatalogTest, LoadingOrderLetsTheLastSuccessfulLoadWin) {
    fs::create_directories(dir_ / "a");
    fs::create_directories(dir_ / "b");
    write("a/snmp.msg", "Get from a\nSet from a\n");
    write("a/common.err", "ok from a\n");
    write("b/snmp.msg", "\n\n"); // blank: keeps a's texts
    write("b/common.err", "ok from b\n");
    const std::vector<OvCatalog> order = {OvCatalog::Messages, OvCatalog::Common};
    ov::loadCatalogs(dir_ / "a", order);
    ov::loadCatalogs(dir_ / "b", order);
    EXPECT_EQ(ov::catalogEntry(OvCatalog::Messages, 1), "Set from a");
    EXPECT_EQ(ov::catalogEntry(OvCatalog::Common, 0), "ok from b");
}

TEST(CatalogLines, LineBreaksAndLongLines) {
    struct Case {
        const char* what;
        std::string content;
        std::vector<std::string> lines;
    };
    const std::string long2100(2100, 'x');
    const Case cases[] = {
        {"CR LF removed with the feed", "a\r\nb\r\n", {"a", "b"}},
        {"a lone CR stays", "a\rb\n", {"a\rb"}},
        {"no final feed", "a\nb", {"a", "b"}},
        {"blank and control-only lines dropped", "\n \n\t\x02\na\n", {"a"}},
        {"long line read as 1023-character pieces",
         long2100,
         {std::string(1023, 'x'), std::string(1023, 'x'), std::string(54, 'x')}},
        {"a piece of blanks is blank",
         std::string(1023, 'y') + std::string(5, ' '),
         {std::string(1023, 'y')}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ov::catalogLines(c.content), c.lines) << c.what;
}

TEST(CatalogTexts, PlaceholdersAreFilledEverywhere) {
    EXPECT_EQ(ov::fillPlaceholder("[MIN] to [MAX], at least [MIN]", "[MIN]", "1"),
              "1 to [MAX], at least 1");
    EXPECT_EQ(ov::fillPlaceholder("[X]", "[X]", "[X][X]"), "[X][X]");
}

} // namespace
