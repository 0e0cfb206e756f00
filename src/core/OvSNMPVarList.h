// Variable lists: what the module knows of each device variable (OID, name,
// type, access, labels), copied from static tables, with its current value text.
#pragma once

#include "OvOptionList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Type codes of a variable record.
namespace ovtype {
inline constexpr std::uint8_t boolean = 0x01;
inline constexpr std::uint8_t integer = 0x02;
inline constexpr std::uint8_t bitstr = 0x03;
inline constexpr std::uint8_t octetstr = 0x04;
inline constexpr std::uint8_t null = 0x05;
inline constexpr std::uint8_t objectid = 0x06;
inline constexpr std::uint8_t ipaddress = 0x40;
inline constexpr std::uint8_t counter = 0x41;
inline constexpr std::uint8_t guage = 0x42;
inline constexpr std::uint8_t timeticks = 0x43;
inline constexpr std::uint8_t opaque = 0x44;
inline constexpr std::uint8_t nsapaddr = 0x45;
inline constexpr std::uint8_t counter64 = 0x46;
inline constexpr std::uint8_t uinteger = 0x47;
inline constexpr std::uint8_t double_ = 0x48;
inline constexpr std::uint8_t macaddress = 0x49;
inline constexpr std::uint8_t datetime = 0x4A;
inline constexpr std::uint8_t bcdatetime = 0x4B;
inline constexpr std::uint8_t displaystr = 0x4C;
inline constexpr std::uint8_t bool8 = 0xC1;
inline constexpr std::uint8_t int8 = 0xC2;
inline constexpr std::uint8_t uint8 = 0xC3;
inline constexpr std::uint8_t bool16 = 0xC4;
inline constexpr std::uint8_t int16 = 0xC5;
inline constexpr std::uint8_t uint16 = 0xC6;
} // namespace ovtype

// Access codes: bits in the low byte.
namespace ovaccess {
inline constexpr std::uint32_t notaccess = 0x01; // index column, value from the row index
inline constexpr std::uint32_t readonly = 0x02;
inline constexpr std::uint32_t writeonly = 0x04;
inline constexpr std::uint32_t readwrite = 0x06;
inline constexpr std::uint32_t derived = 0x08; // list view column only
inline constexpr std::uint32_t hidden = 0x10;  // list view column of width 0
inline constexpr std::uint32_t invalid = 0x20; // left out of every get, set, fill and collect
inline constexpr std::uint32_t implied = 0x40; // last key, index part without length prefix
} // namespace ovaccess

// List modes.
enum OvListMode : std::uint8_t {
    SVT_SV = 0,  // scalars: OID + ".0"
    MVT_SV = 1,  // fixed instances: OIDs as stored
    MVT_FMV = 2, // table walk, one row per request
    MVT_UMV = 3, // as MVT_FMV; the binding numbers rows and hides unused slots
};

// One row of a static variable table; a table ends at the row whose oid is null.
// An empty oid marks a pseudo-column (row number or index shown in a list view).
struct OvSNMPVarRow {
    const char* oid = nullptr;
    const char* name = nullptr;
    std::uint8_t type = 0;
    std::uint32_t access = 0;
    const OvOptionList* options = nullptr;
    const char* readExpression = nullptr;
    const char* writeExpression = nullptr;
    const char* spare = nullptr;
    const char* initialValue = nullptr;
    const char* nextOid = nullptr;
};

// One variable as held inside a list.
struct OvSNMPVar {
    std::string oid;
    std::string name;
    std::uint8_t type = 0;
    std::uint32_t access = 0;
    const OvOptionList* options = nullptr; // shared, never owned
    std::string readExpression;
    std::string writeExpression;
    std::string spare;
    std::string value;   // value text, octets as the device sent them
    std::string nextOid; // where a table walk continues for this column
};

class OvSNMPVarList {
public:
    OvSNMPVarList() = default;
    OvSNMPVarList(const OvSNMPVarRow* table, OvListMode mode, int keyCount);
    OvSNMPVarList(const OvSNMPVarList& other);
    OvSNMPVarList& operator=(const OvSNMPVarList& other);

    void AppendTable(const OvSNMPVarRow* table);
    // Deep copy of the other's records, mode, key count and display name; the
    // instance suffix stays.
    void Assign(const OvSNMPVarList& other);

    int Count() const { return static_cast<int>(records_.size()); }
    // Throws OvException (-12) for a position outside the list.
    OvSNMPVar& Item(int position);
    const OvSNMPVar& Item(int position) const;

    bool IsReadable(int position) const;
    bool IsWritable(int position) const;
    bool IsImplied(int position) const;
    bool IsVisibleColumn(int position) const;
    bool IsHiddenColumn(int position) const;
    int VisibleColumnCount() const;
    int HiddenColumnCount() const;

    // Sets or clears `invalid` on one record.
    void SetInvalid(int position, bool invalid);

    std::string instanceSuffix;
    int keyCount = 0;
    OvListMode mode = SVT_SV;
    std::string displayName;

private:
    std::vector<OvSNMPVar> records_;
    std::vector<std::unique_ptr<OvOptionList>> ownedOptionLists_;
};

namespace ov {
// Number of rows before a static table's terminator.
int tableRowCount(const OvSNMPVarRow* table);
} // namespace ov
