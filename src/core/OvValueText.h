// Value texts: the text form in which the module holds, shows and compares every
// variable's value, and the conversions between it and the SNMP value.
#pragma once

#include "OvOptionList.h"
#include "OvVb.h"

#include <cstdint>
#include <string>

namespace ovtext {
inline const std::string null = "(NULL)";       // no value; sent as SNMP NULL
inline const std::string notDone = "(NOTDONE)"; // table walk: no value in this row
inline const std::string trueText = "true";
inline const std::string falseText = "false";
} // namespace ovtext

// The value text of a received binding, by the record's type code and option
// list. A value whose SNMP type or length does not fit the record's type gives
// "(NULL)" (the empty text for display strings and octet strings). Throws
// OvException -511 for a type code the module does not handle.
std::string TextFromValue(const OvVb& received, std::uint8_t type, const OvOptionList* options);

// The value a set request carries for a value text (the binding's OID is left
// empty). Throws OvException -511 for an unhandled type code and -518 for a
// text that cannot become a value of the type.
OvVb ValueFromText(const std::string& text, std::uint8_t type, const OvOptionList* options);

// The value text the binding stores for a text taken from a control. Throws
// OvException -511 and -518 as ValueFromText.
std::string NormaliseText(const std::string& text, std::uint8_t type);

// The text rules behind the conversions, in the C locale.
namespace ov {

// '0' to '9' only, whatever the locale.
inline bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// Type codes a variable may have; the one- and two-byte field codes may not.
bool isValueType(std::uint8_t type);

std::string hexText(const std::string& octets);
std::string octetsFromHex(const std::string& text);
std::uint32_t numberRule(const std::string& text);
std::uint64_t numberRule64(const std::string& text);
std::string timeText(std::uint32_t hundredths);
std::uint32_t timeFromText(const std::string& text);
// RFC 2579 DateAndTime: 11 octets, or 8 without the UTC offset.
std::string dateAndTimeText(const std::string& octets);
bool dateAndTimeFromText(const std::string& text, std::string& octets);
std::string doubleText(double value);
bool doubleFromText(const std::string& text, double& value);
// Days since 30 December 1899, the fraction being the time of day.
std::string doubleDateTimeText(double value);
bool doubleDateTimeFromText(const std::string& text, double& value);
// Eight octets, little-endian whatever the host.
std::string octetsFromDouble(double value);
double doubleFromOctets(const std::string& octets);

} // namespace ov
