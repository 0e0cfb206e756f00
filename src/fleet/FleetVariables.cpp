#include "FleetVariables.h"

#include "DeviceMib.h"
#include "FleetCredentials.h"
#include "OvException.h"
#include "OvValueText.h"

#include <algorithm>
#include <map>

namespace {

std::string withoutBlanks(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ')
            out += c;
    }
    return out;
}

// One object of the MIB: a scalar (instance .0), fixed instances (OIDs as the
// tables hold them) or a table column (the index is the row's).
struct MibObject {
    OvOid oid; // scalar: without .0; fixed instance: with its instance; column: the column
    bool column = false;
    bool scalar = false;
    std::uint8_t type = 0;
    std::uint32_t access = 0;
    const OvOptionList* options = nullptr;
    int table = 0;
};

bool wider(std::uint32_t access, std::uint32_t than) {
    auto rank = [](std::uint32_t a) {
        return (a & ovaccess::invalid) ? 0 : ((a & ovaccess::writeonly) ? 2 : 1);
    };
    return rank(access) > rank(than);
}

// Name (without blanks) to its objects, each OID once.
const std::map<std::string, std::vector<MibObject>>& mibNames() {
    static const auto names = [] {
        std::map<std::string, std::vector<MibObject>> map;
        for (const mib::TableInfo& table : mib::tables()) {
            for (const OvSNMPVarRow* row = table.rows; row->oid != nullptr; ++row) {
                const auto oid = OvOid::parse(row->oid);
                if (!oid || oid->empty() || (row->access & ovaccess::notaccess))
                    continue;
                MibObject object{*oid,
                                 table.mode == MVT_FMV || table.mode == MVT_UMV,
                                 table.mode == SVT_SV,
                                 row->type,
                                 row->access,
                                 row->options,
                                 table.number};
                auto& objects = map[withoutBlanks(row->name)];
                auto same = std::find_if(objects.begin(), objects.end(), [&](const MibObject& o) {
                    return o.oid == object.oid && o.column == object.column;
                });
                if (same == objects.end())
                    objects.push_back(object);
                else if (wider(object.access, same->access))
                    same->access = object.access;
            }
        }
        return map;
    }();
    return names;
}

// The arcs of a dotted index ("2", "1.3"); nothing for another text.
std::optional<std::vector<std::uint32_t>> indexArcs(const std::string& index) {
    if (index.empty())
        return std::vector<std::uint32_t>{};
    const auto oid = OvOid::parse(index);
    if (!oid || index.front() == '.' || index.back() == '.')
        return std::nullopt;
    return oid->arcs();
}

// The arcs that every object's OID shares, but never all of a single one's:
// what follows is the instance a user names.
std::size_t sharedArcs(const std::vector<MibObject>& objects) {
    std::size_t shared = objects.front().oid.size();
    for (const MibObject& o : objects) {
        std::size_t n = 0;
        while (n < shared && n < o.oid.size() && o.oid.arcs()[n] == objects.front().oid.arcs()[n])
            ++n;
        shared = n;
    }
    return objects.size() == 1 ? shared - 1 : shared;
}

std::string instanceText(const OvOid& oid, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < oid.size(); ++i)
        text += (text.empty() ? "" : ".") + std::to_string(oid.arcs()[i]);
    return text;
}

FleetVariable variableOf(const MibObject& object, const std::string& name, OvOid oid) {
    return FleetVariable{name,          std::move(oid), object.type,
                         object.access, object.options, object.table};
}

// A numeric OID ("1.3.6...", "E.4.4.0" for the private root) of a variable the
// MIB holds: what is left after its object is the instance.
std::optional<FleetVariable> variableAtOid(const std::string& asked) {
    const std::string dotted =
        asked.rfind("E.", 0) == 0 ? std::string(mib::enterpriseRoot) + asked.substr(1) : asked;
    const auto oid = OvOid::parse(dotted);
    if (!oid || dotted.empty() || !ov::isDecimalDigit(dotted.front()))
        return std::nullopt;
    const MibObject* best = nullptr;
    for (const auto& [name, objects] : mibNames()) {
        for (const MibObject& o : objects) {
            const bool fits = o.scalar ? *oid == OvOid(o.oid.arcs()) ||
                                             (oid->size() == o.oid.size() + 1 &&
                                              oid->startsWith(o.oid) && oid->arcs().back() == 0)
                              : o.column ? oid->size() > o.oid.size() && oid->startsWith(o.oid)
                                         : *oid == o.oid;
            if (fits && (best == nullptr || o.oid.size() > best->oid.size()))
                best = &o;
        }
    }
    if (best == nullptr)
        throw FleetUsageError("\"" + asked + "\" is no variable of the device MIB");
    OvOid full = *oid;
    if (best->scalar && full.size() == best->oid.size())
        full.arcs().push_back(0);
    return variableOf(*best, asked, full);
}

} // namespace

namespace fleet {

FleetVariable findVariable(const std::string& asked) {
    if (auto byOid = variableAtOid(asked))
        return *byOid;
    const std::string text = withoutBlanks(asked);
    const std::size_t dot = text.find('.');
    const std::string name = text.substr(0, dot);
    const std::string index = dot == std::string::npos ? "" : text.substr(dot + 1);
    const auto found = mibNames().find(name);
    if (found == mibNames().end())
        throw FleetUsageError("\"" + name + "\" is no variable of the device MIB");
    const auto arcs = indexArcs(index);
    if (!arcs)
        throw FleetUsageError("\"" + asked + "\": \"" + index + "\" is no index");
    // A name may stand for scalars, fixed instances and table columns at once
    // (one per window): the index tells them apart.
    std::vector<MibObject> fixed;
    for (const MibObject& o : found->second) {
        if (!o.column && !o.scalar)
            fixed.push_back(o);
    }
    std::vector<FleetVariable> matches;
    std::string choices;
    for (const MibObject& o : found->second) {
        OvOid full = o.oid;
        std::string instance;
        if (o.scalar) {
            full.arcs().push_back(0);
            instance = "0";
        } else if (o.column) {
            full.arcs().insert(full.arcs().end(), arcs->begin(), arcs->end());
            instance = arcs->empty() ? "INDEX" : index;
            // Columns of several tables share names: their OIDs tell them apart.
            if (found->second.size() > 1) {
                choices += " " + o.oid.toString() + ".INDEX";
                if (!index.empty())
                    matches.push_back(variableOf(o, name + "." + index, full));
                continue;
            }
        } else {
            instance = instanceText(o.oid, sharedArcs(fixed));
        }
        choices += " " + name + "." + instance;
        const bool plain = index.empty() && !o.column && (o.scalar || fixed.size() == 1);
        if (plain || (!index.empty() && instance == index))
            matches.push_back(variableOf(o, index.empty() ? name : name + "." + index, full));
    }
    if (matches.size() == 1)
        return matches.front();
    if (matches.empty())
        throw FleetUsageError("\"" + asked + "\" names no instance; there are" + choices);
    std::string oids;
    for (const FleetVariable& v : matches)
        oids += " " + v.oid.toString();
    throw FleetUsageError("\"" + asked + "\" names several variables:" + oids);
}

bool isWritable(const FleetVariable& variable) {
    const std::string name = variable.name.substr(0, variable.name.find('.'));
    return (variable.access & ovaccess::writeonly) != 0 ||
           (variable.access == ovaccess::invalid && !name.ends_with("List"));
}

std::vector<OvVb> getBindings(const std::vector<FleetVariable>& variables) {
    std::vector<OvVb> bindings;
    for (const FleetVariable& variable : variables) {
        OvVb vb;
        vb.oid = variable.oid;
        bindings.push_back(vb);
    }
    return bindings;
}

std::string shownValue(const FleetVariable& variable, const OvVb& received) {
    try {
        return TextFromValue(received, variable.type, variable.options);
    } catch (const OvException& e) {
        return ovtext::null;
    }
}

} // namespace fleet
