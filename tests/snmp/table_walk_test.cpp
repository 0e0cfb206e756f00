// Table walks against the simulated access point when a column lacks a row: each
// row shows its own values, and an apply of a row writes that row.
#include "ApsimFixture.h"
#include "OvSNMPRequest.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

namespace {

#define E "1.3.6.1.4.1.48213.10.37.14"

// Three columns of the DHCP static pool, a writable table of fixed slots.
const OvSNMPVarRow kPool[] = {{"", "Index", ovtype::integer, ovaccess::notaccess},
                              {E ".2.7.3.1.2", "IP", ovtype::ipaddress, ovaccess::readwrite},
                              {E ".2.7.3.1.4", "Mask", ovtype::ipaddress, ovaccess::readwrite},
                              {E ".2.7.3.1.8", "Domain", ovtype::displaystr, ovaccess::readwrite},
                              {}};
constexpr int kColumns = 3;
// Ten slots, so that row 10 must follow row 9 (as numbers, not as texts).
constexpr int kSlots = 10;

std::string cellOid(int column, int slot) {
    return std::string(kPool[column + 1].oid) + "." + std::to_string(slot);
}

// Each slot's values differ, so a value filed under another row shows.
std::string cellValue(int column, int slot) {
    const std::string n = std::to_string(slot);
    const std::string values[kColumns] = {"127.1.1." + n, "255.0." + n + ".0", "pool-" + n};
    return values[column];
}

std::vector<std::string> poolArguments(const std::string& absentCell) {
    std::vector<std::string> arguments = {"--rows", "staticpool=" + std::to_string(kSlots),
                                          "--absent", absentCell};
    for (int slot = 1; slot <= kSlots; ++slot)
        for (int column = 0; column < kColumns; ++column)
            arguments.insert(arguments.end(),
                             {"--set", cellOid(column, slot) + "=" + cellValue(column, slot)});
    return arguments;
}

// The pool's cells as the device holds them, one "OID=value" each.
std::vector<std::string> poolState(const ovtest::Apsim& agent) {
    std::vector<std::string> cells;
    const auto state = agent.state();
    for (int slot = 1; slot <= kSlots; ++slot)
        for (int column = 0; column < kColumns; ++column) {
            const auto cell = state.find(cellOid(column, slot));
            if (cell != state.end())
                cells.push_back(cell->first + "=" + cell->second.text);
        }
    return cells;
}

std::unique_ptr<OvSNMPRequest> poolRequest(const ovtest::Apsim& agent) {
    auto request = std::make_unique<OvSNMPRequest>();
    request->agentPort = agent.port();
    request->version = 1;
    request->securityModel = 2;
    request->varList = OvSNMPVarList(kPool, MVT_UMV, 1);
    return request;
}

std::string poolRowText(const OvSNMPVarList& list) {
    std::string text;
    for (int i = 0; i < list.Count(); ++i)
        text += (i ? "|" : "") + list.Item(i).value;
    return text;
}

struct GapCase {
    const char* name;
    int column; // 0 first, 1 middle, 2 last
    int slot;   // the slot it lacks
    // What the walk shows in the missing cell: nothing while the column goes on,
    // "(NOTDONE)" once its walk has left the column.
    const char* shown;
};

const GapCase kGaps[] = {
    {"the first column lacks a middle row", 0, 9, ""},
    {"a middle column lacks a middle row", 1, 9, ""},
    {"the last column lacks a middle row", 2, 9, ""},
    {"the first column lacks the first row", 0, 1, ""},
    {"the last column lacks the first row", 2, 1, ""},
    {"the first column lacks the last row, where it ends", 0, kSlots, "(NOTDONE)"},
    {"a middle column lacks the last row, where it ends", 1, kSlots, "(NOTDONE)"},
};

std::vector<std::string> expectedRows(const GapCase& gap) {
    std::vector<std::string> rows;
    for (int slot = 1; slot <= kSlots; ++slot) {
        std::string text = std::to_string(slot);
        for (int column = 0; column < kColumns; ++column) {
            const bool missing = column == gap.column && slot == gap.slot;
            text += "|" + (missing ? std::string(gap.shown) : cellValue(column, slot));
        }
        rows.push_back(text);
    }
    return rows;
}

// Writes the row as shown back to the device, leaving out the cell it lacks:
// what an apply of an unchanged row does.
void applyRowAsShown(OvSNMPRequest& request) {
    std::string positions;
    std::vector<std::string> values;
    for (int i = 1; i < request.varList.Count(); ++i) {
        const std::string& value = request.varList.Item(i).value;
        if (value.empty() || value == "(NOTDONE)")
            continue;
        positions += (positions.empty() ? "" : ",") + std::to_string(i);
        values.push_back(value);
    }
    request.WriteSync(false, positions, &values);
}

TEST(TableWalk, EachRowShowsItsOwnValuesWhenAColumnLacksARow) {
    snmptest::setUpEngine();
    for (const GapCase& gap : kGaps) {
        ovtest::Apsim agent(poolArguments(cellOid(gap.column, gap.slot)));
        ASSERT_TRUE(agent.isRunning()) << agent.error();
        const auto stateBefore = poolState(agent);

        auto request = poolRequest(agent);
        std::vector<std::string> rows;
        std::vector<std::string> writeFailures;
        request->resultHook = [&](const OvSNMPError& e) { writeFailures.push_back(e.message); };
        for (auto step = request->ReadSync(true); step.moreRows && rows.size() < 50;
             step = request->ReadSync(false)) {
            rows.push_back(poolRowText(request->varList));
            applyRowAsShown(*request);
        }
        EXPECT_EQ(rows, expectedRows(gap)) << gap.name << ": synchronous walk";
        EXPECT_TRUE(writeFailures.empty()) << gap.name << ": " << writeFailures.front();

        // Every apply wrote the row it showed, with that row's own values.
        std::vector<std::vector<std::string>> written;
        for (const ovtest::ApsimRequest& logged : agent.requests())
            if (logged.operation == "SET")
                written.push_back(logged.oids);
        EXPECT_EQ(written.size(), static_cast<std::size_t>(kSlots)) << gap.name;
        for (int slot = 1; slot <= kSlots && slot <= static_cast<int>(written.size()); ++slot) {
            std::vector<std::string> cells;
            for (int column = 0; column < kColumns; ++column)
                if (column != gap.column || slot != gap.slot)
                    cells.push_back(cellOid(column, slot));
            EXPECT_EQ(written[slot - 1], cells) << gap.name << ": the apply of row " << slot;
        }
        EXPECT_EQ(poolState(agent), stateBefore) << gap.name << ": no value moved to another row";

        auto asyncRequest = poolRequest(agent);
        std::vector<std::string> asyncRows;
        bool finished = false;
        OvSNMPRequest::Completion next = [&](void*, const OvSNMPError& e, OvSNMPVarList& list) {
            EXPECT_EQ(e.code, 0) << gap.name << " " << e.message;
            if (e.done || e.code != 0 || asyncRows.size() >= 50) {
                finished = true;
                return;
            }
            asyncRows.push_back(poolRowText(list));
            asyncRequest->ReadAsync(next, nullptr, false);
        };
        asyncRequest->ReadAsync(next, nullptr, true);
        ASSERT_TRUE(snmptest::waitFor([&] { return finished; })) << gap.name;
        EXPECT_EQ(asyncRows, expectedRows(gap)) << gap.name << ": asynchronous walk";
    }
}

// The next row is the lowest index any column answered, compared arc by arc:
// with two keys, band 1 row 10 comes before band 2 row 1.
TEST(TableWalk, TwoKeyRowsFollowTheirNumbersWhenAColumnLacksARow) {
    snmptest::setUpEngine();
    const std::string mac = E ".4.5.2.1.2";
    ovtest::Apsim agent({"--rows", "clients-a=10", "--rows", "clients-g=2", "--absent",
                         mac + ".1.9", "--absent", mac + ".1.10"});
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    const OvSNMPVarRow clients[] = {
        {"", "BandIndex", ovtype::integer, ovaccess::notaccess},
        {E ".4.5.2.1.1", "InfoIndex", ovtype::integer, ovaccess::notaccess},
        {E ".4.5.2.1.2", "MAC", ovtype::macaddress, ovaccess::readonly},
        {E ".4.5.2.1.3", "Band", ovtype::integer, ovaccess::readonly},
        {}};
    auto request = std::make_unique<OvSNMPRequest>();
    request->agentPort = agent.port();
    request->version = 1;
    request->varList = OvSNMPVarList(clients, MVT_UMV, 2);
    std::vector<std::string> rows;
    for (auto step = request->ReadSync(true); step.moreRows && rows.size() < 50;
         step = request->ReadSync(false))
        rows.push_back(request->varList.Item(0).value + "." + request->varList.Item(1).value + " " +
                       request->varList.Item(2).value);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[7], "1.8 000C41410008");
    EXPECT_EQ(rows[8], "1.9 ") << "the MAC column lacks it";
    EXPECT_EQ(rows[9], "1.10 ");
    EXPECT_EQ(rows[10], "2.1 000C41420001") << "its answer for a later row is not lost";
}

} // namespace
