#include "OvException.h"
#include "OvSNMPVarList.h"

#include <gtest/gtest.h>

namespace {

using namespace ovaccess;

const OvOptionList onOff{{0, "Off"}, {1, "On"}};

const OvSNMPVarRow kTable[] = {
    {"", "No.", ovtype::integer, notaccess},
    {"1.2.3.1", "Name", ovtype::displaystr, readwrite, nullptr, nullptr, nullptr, nullptr, "start"},
    {"1.2.3.2", "Switch", ovtype::integer, readonly, &onOff},
    {"1.2.3.3", "Secret", ovtype::displaystr, writeonly},
    {"1.2.3.4", "Gone", ovtype::integer, readwrite | invalid},
    {"1.2.3.5", "Column", ovtype::integer, derived},
    {"1.2.3.6", "Narrow", ovtype::integer, readonly | hidden},
    {"1.2.3.7", "Last key", ovtype::displaystr, readonly | implied},
    {},
};

TEST(VarList, AppendTableCopiesEveryRowInOrder) {
    const OvSNMPVarList list(kTable, MVT_FMV, 1);
    ASSERT_EQ(list.Count(), 8);
    EXPECT_EQ(list.Item(0).oid, "");
    EXPECT_EQ(list.Item(1).name, "Name");
    EXPECT_EQ(list.Item(1).value, "start");
    EXPECT_EQ(list.Item(2).options, &onOff);
    EXPECT_EQ(list.Item(2).value, "");
    EXPECT_THROW(list.Item(8), OvException);
    EXPECT_THROW(list.Item(-1), OvException);
}

TEST(VarList, EmptyTableChangesNothing) {
    const OvSNMPVarRow empty[] = {{}};
    OvSNMPVarList list(empty, SVT_SV, 0);
    EXPECT_EQ(list.Count(), 0);
    list.AppendTable(kTable);
    list.AppendTable(empty);
    list.AppendTable(nullptr);
    EXPECT_EQ(list.Count(), 8);
    list.AppendTable(kTable);
    EXPECT_EQ(list.Count(), 16);
    EXPECT_EQ(list.Item(9).name, "Name");
}

TEST(VarList, Predicates) {
    const OvSNMPVarList table(kTable, MVT_FMV, 1);
    const OvSNMPVarList scalars(kTable, SVT_SV, 1);
    const struct {
        int position;
        bool readable, writableInTable, writableScalar, visible, hiddenColumn, implied;
    } cases[] = {
        // The key of a table list is writable for the row index, notaccess or not.
        {0, false, true, false, true, false, false},
        {1, true, true, true, true, false, false},
        {2, true, false, false, true, false, false},
        // Exactly writeonly: writable, not readable, a hidden column.
        {3, false, true, true, false, true, false},
        // readwrite and invalid: not readable, not writable, hidden.
        {4, false, false, false, false, true, false},
        {5, false, false, false, true, false, false},
        {6, true, false, false, false, true, false},
        {7, true, false, false, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(table.Item(c.position).name);
        EXPECT_EQ(table.IsReadable(c.position), c.readable);
        EXPECT_EQ(table.IsWritable(c.position), c.writableInTable);
        EXPECT_EQ(scalars.IsWritable(c.position), c.writableScalar);
        EXPECT_EQ(table.IsVisibleColumn(c.position), c.visible);
        EXPECT_EQ(table.IsHiddenColumn(c.position), c.hiddenColumn);
        EXPECT_EQ(table.IsImplied(c.position), c.implied);
    }
    EXPECT_EQ(table.VisibleColumnCount(), 5);
    EXPECT_EQ(table.HiddenColumnCount(), 3);
}

TEST(VarList, InvalidMarksComeAndGo) {
    OvSNMPVarList list(kTable, SVT_SV, 0);
    list.SetInvalid(1, true);
    EXPECT_FALSE(list.IsReadable(1));
    EXPECT_FALSE(list.IsWritable(1));
    list.SetInvalid(1, false);
    EXPECT_TRUE(list.IsReadable(1));
    EXPECT_EQ(list.Item(1).access, readwrite);
}

TEST(VarList, AssignCopiesDeeplyButNotTheInstanceSuffix) {
    OvSNMPVarList source(kTable, MVT_UMV, 2);
    source.displayName = "Clients";
    source.instanceSuffix = "9";
    source.Item(1).value = "changed";
    source.Item(1).nextOid = "1.2.3.1.5";

    OvSNMPVarList target;
    target.instanceSuffix = "mine";
    target.AppendTable(kTable);
    target.Assign(source);
    EXPECT_EQ(target.Count(), 8);
    EXPECT_EQ(target.mode, MVT_UMV);
    EXPECT_EQ(target.keyCount, 2);
    EXPECT_EQ(target.displayName, "Clients");
    EXPECT_EQ(target.instanceSuffix, "mine");
    EXPECT_EQ(target.Item(1).value, "changed");
    EXPECT_EQ(target.Item(1).nextOid, "1.2.3.1.5");
    EXPECT_EQ(target.Item(2).options, &onOff);

    source.Item(1).value = "later";
    EXPECT_EQ(target.Item(1).value, "changed");

    const OvSNMPVarList copy(source);
    EXPECT_EQ(copy.instanceSuffix, "");
    EXPECT_EQ(copy.Item(1).value, "later");
}

} // namespace
