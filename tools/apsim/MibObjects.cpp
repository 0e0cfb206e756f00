#include "MibObjects.h"

#include "DeviceMib.h"

#include <algorithm>
#include <stdexcept>

namespace apsim {
namespace {

const char* const systemAliases[][2] = {
    {"sysDescr", "1.3.6.1.2.1.1.1.0"},  {"sysObjectID", "1.3.6.1.2.1.1.2.0"},
    {"sysUpTime", "1.3.6.1.2.1.1.3.0"}, {"sysContact", "1.3.6.1.2.1.1.4.0"},
    {"sysName", "1.3.6.1.2.1.1.5.0"},   {"sysLocation", "1.3.6.1.2.1.1.6.0"},
};

OvOid parseOrThrow(const std::string& text) {
    auto oid = OvOid::parse(text);
    if (!oid)
        throw std::invalid_argument("\"" + text + "\" is not an OID");
    return *oid;
}

std::vector<std::int32_t> optionValues(const OvOptionList* options) {
    std::vector<std::int32_t> values;
    if (options == nullptr || options->kind() != OvOptionList::Integer)
        return values;
    for (int i = 0; i < options->Count(); ++i)
        values.push_back(options->Row(i).number);
    return values;
}

} // namespace

const OvOid& MibObjects::systemRoot() {
    static const OvOid root = *OvOid::parse("1.3.6.1.2.1.1");
    return root;
}

const OvOid& MibObjects::privateRoot() {
    static const OvOid root = *OvOid::parse(mib::enterpriseRoot);
    return root;
}

MibObjects::MibObjects() {
    for (const mib::TableInfo& table : mib::tables())
        for (const OvSNMPVarRow* row = table.rows; row->oid != nullptr; ++row)
            if (*row->oid != '\0')
                addTableRow(table.number, table.mode, row->oid, row->name, row->type, row->access,
                            optionValues(row->options));
    for (const OvOid& oid : unrestricted_)
        objects_[oid].allowed.clear();
    for (const auto& alias : systemAliases)
        names_[alias[0]].insert(*OvOid::parse(alias[1]));
}

void MibObjects::addTableRow(int table, int mode, const char* oidText, const char* name,
                             std::uint8_t type, std::uint32_t access,
                             const std::vector<std::int32_t>& options) {
    OvOid oid = parseOrThrow(oidText);
    // The site survey triggers carry their band as the last arc; a manager
    // that takes them for scalars asks with ".0" after it, as the module once
    // did, and the device answers that form too (Device keeps both as one).
    if (table == 52 || table == 53) {
        OvOid scalar = oid;
        scalar.arcs().push_back(0);
        addObject(table, scalar, false, name, type, access, options);
    }
    const bool column = mode == MVT_FMV || mode == MVT_UMV;
    if (mode == SVT_SV)
        oid.arcs().push_back(0);
    addObject(table, oid, column, name, type, access, options);
}

void MibObjects::addObject(int table, const OvOid& oid, bool column, const char* name,
                           std::uint8_t type, std::uint32_t access,
                           const std::vector<std::int32_t>& options) {
    const bool known = objects_.count(oid) != 0;
    MibObject& object = objects_[oid];
    if (!known) {
        object.type = type;
        object.column = column;
        object.indexColumn = column && access == ovaccess::notaccess;
        object.table = table;
        object.name = name;
    }
    if (access != ovaccess::readonly && access != ovaccess::notaccess)
        object.writable = true;
    if (options.empty())
        unrestricted_.insert(oid);
    for (const std::int32_t value : options)
        if (std::find(object.allowed.begin(), object.allowed.end(), value) == object.allowed.end())
            object.allowed.push_back(value);
    names_[name].insert(oid);
}

const MibObject* MibObjects::find(const OvOid& oid) const {
    const auto it = objects_.find(oid);
    return it == objects_.end() ? nullptr : &it->second;
}

const MibObject* MibObjects::objectOf(const OvOid& instance) const {
    if (const MibObject* object = find(instance))
        return object;
    // A row instance sorts after its column and before the next object, so the
    // candidate is the last object not after the instance.
    auto it = objects_.upper_bound(instance);
    if (it == objects_.begin())
        return nullptr;
    --it;
    return it->second.column && instance.startsWith(it->first) ? &it->second : nullptr;
}

OvOid MibObjects::resolve(const std::string& var) const {
    if (var == "E")
        return privateRoot();
    if (var.rfind("E.", 0) == 0)
        return parseOrThrow(std::string(mib::enterpriseRoot) + var.substr(1));
    if (OvOid::parse(var))
        return *OvOid::parse(var);
    const auto it = names_.find(var);
    if (it == names_.end())
        throw std::invalid_argument("\"" + var + "\" is neither an OID nor a variable name");
    if (it->second.size() > 1) {
        std::string candidates;
        for (const OvOid& oid : it->second)
            candidates += " " + oid.toString();
        throw std::invalid_argument("the name \"" + var +
                                    "\" is not unique; give one of these OIDs:" + candidates);
    }
    return *it->second.begin();
}

} // namespace apsim
