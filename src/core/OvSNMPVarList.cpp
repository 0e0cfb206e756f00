#include "OvSNMPVarList.h"

#include "OvException.h"

namespace {

std::string copyText(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

} // namespace

namespace ov {

int tableRowCount(const OvSNMPVarRow* table) {
    int rows = 0;
    if (table != nullptr) {
        while (table[rows].oid != nullptr)
            ++rows;
    }
    return rows;
}

} // namespace ov

OvSNMPVarList::OvSNMPVarList(const OvSNMPVarRow* table, OvListMode mode, int keyCount)
    : keyCount(keyCount), mode(mode) {
    AppendTable(table);
}

OvSNMPVarList::OvSNMPVarList(const OvSNMPVarList& other) {
    Assign(other);
}

OvSNMPVarList& OvSNMPVarList::operator=(const OvSNMPVarList& other) {
    if (this != &other)
        Assign(other);
    return *this;
}

void OvSNMPVarList::AppendTable(const OvSNMPVarRow* table) {
    const int rows = ov::tableRowCount(table);
    records_.reserve(records_.size() + static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        const OvSNMPVarRow& row = table[i];
        OvSNMPVar var;
        var.oid = row.oid;
        var.name = copyText(row.name);
        var.type = row.type;
        var.access = row.access;
        var.options = row.options;
        var.readExpression = copyText(row.readExpression);
        var.writeExpression = copyText(row.writeExpression);
        var.spare = copyText(row.spare);
        var.value = copyText(row.initialValue);
        var.nextOid = copyText(row.nextOid);
        records_.push_back(std::move(var));
    }
}

void OvSNMPVarList::Assign(const OvSNMPVarList& other) {
    if (this == &other)
        return;
    records_ = other.records_;
    mode = other.mode;
    keyCount = other.keyCount;
    displayName = other.displayName;
}

OvSNMPVar& OvSNMPVarList::Item(int position) {
    if (position < 0 || position >= Count())
        throw OvException(ovcode::OutOfRange);
    return records_[static_cast<std::size_t>(position)];
}

const OvSNMPVar& OvSNMPVarList::Item(int position) const {
    return const_cast<OvSNMPVarList*>(this)->Item(position);
}

bool OvSNMPVarList::IsReadable(int position) const {
    const std::uint32_t access = Item(position).access;
    return (access & ovaccess::readonly) && !(access & ovaccess::invalid);
}

bool OvSNMPVarList::IsWritable(int position) const {
    const std::uint32_t access = Item(position).access;
    if (access & ovaccess::invalid)
        return false;
    const bool keyOfTable = (mode == MVT_FMV || mode == MVT_UMV) && position < keyCount;
    return (access & ovaccess::writeonly) || keyOfTable;
}

bool OvSNMPVarList::IsImplied(int position) const {
    return (Item(position).access & ovaccess::implied) != 0;
}

bool OvSNMPVarList::IsVisibleColumn(int position) const {
    const std::uint32_t access = Item(position).access;
    if (access & (ovaccess::invalid | ovaccess::hidden))
        return false;
    return (access & (ovaccess::notaccess | ovaccess::readonly | ovaccess::derived)) != 0;
}

bool OvSNMPVarList::IsHiddenColumn(int position) const {
    const std::uint32_t access = Item(position).access;
    return access == ovaccess::writeonly || (access & (ovaccess::invalid | ovaccess::hidden));
}

int OvSNMPVarList::VisibleColumnCount() const {
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        n += IsVisibleColumn(i) ? 1 : 0;
    return n;
}

int OvSNMPVarList::HiddenColumnCount() const {
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        n += IsHiddenColumn(i) ? 1 : 0;
    return n;
}

void OvSNMPVarList::SetInvalid(int position, bool invalid) {
    OvSNMPVar& var = Item(position);
    var.access = invalid ? (var.access | ovaccess::invalid) : (var.access & ~ovaccess::invalid);
}
