// The objects apsim serves, taken from the device tables: for every scalar its
// instance (OID + ".0" in SVT_SV tables, the stored OID in MVT_SV tables), for
// every table column the column OID. One object may appear in several tables
// under different names; its type is the first row's, it is writable when any
// row lets windows write it.
#pragma once

#include "OvVb.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace apsim {

struct MibObject {
    std::uint8_t type = 0;
    bool writable = false;
    bool column = false; // a table column: rows are served below it
    bool indexColumn = false;
    int table = 0;                     // the first table naming it
    std::vector<std::int32_t> allowed; // coded values a SET may carry; empty: any
    std::string name;                  // the first name it has
};

class MibObjects {
public:
    MibObjects();

    static const OvOid& systemRoot();
    static const OvOid& privateRoot();

    const std::map<OvOid, MibObject>& objects() const { return objects_; }
    const MibObject* find(const OvOid& oid) const;
    // The object an instance belongs to: itself, or the column it is a row of.
    const MibObject* objectOf(const OvOid& instance) const;

    // A VAR of the command line: a numeric OID ("E." stands for the private
    // root) or a name that names exactly one object. Throws
    // std::invalid_argument with a message naming the candidates.
    OvOid resolve(const std::string& var) const;

private:
    void addTableRow(int table, int mode, const char* oid, const char* name, std::uint8_t type,
                     std::uint32_t access, const std::vector<std::int32_t>& options);
    void addObject(int table, const OvOid& oid, bool column, const char* name, std::uint8_t type,
                   std::uint32_t access, const std::vector<std::int32_t>& options);

    std::map<OvOid, MibObject> objects_;
    std::map<std::string, std::set<OvOid>> names_;
    std::set<OvOid> unrestricted_; // objects named at least once without an option list
};

} // namespace apsim
