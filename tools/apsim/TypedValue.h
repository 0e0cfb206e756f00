// Typed values: the text form in which apsim takes start values on its command
// line and writes values to its request log and state file.
//
//   i:-5  Integer32        u:7   Gauge32         c:9  Counter32
//   C:9   Counter64        t:100 TimeTicks       a:10.0.0.1  IpAddress
//   o:1.3.6.1            OBJECT IDENTIFIER     n:   NULL
//   s:text  OCTET STRING as printable ASCII      x:00A0FF  OCTET STRING in hex
#pragma once

#include "OvVb.h"

#include <cstdint>
#include <string>

namespace apsim {

// Reads a start value. With a type prefix the value gets that SNMP type (to
// serve deliberately wrong types); without one it is read by the variable's
// type code: a number, a dotted quad, hex for MAC addresses, text otherwise.
// Throws std::invalid_argument with a message for text that is no such value.
OvVb parseValue(const std::string& text, std::uint8_t mibType);

// The typed text of a value. Octet strings are written with "s:" when they are
// printable ASCII and the variable is not a MAC address, else with "x:".
std::string formatValue(const OvVb& value, std::uint8_t mibType);

// The SNMP syntax a type code is served with.
OvSyntax syntaxOfType(std::uint8_t mibType);

// Upper-case hex of octets, and octets of hex text (an even number of hex
// digits, ':' and '-' allowed between pairs); false for anything else.
std::string hexOf(const std::string& octets);
bool octetsOfHex(const std::string& text, std::string& octets);

} // namespace apsim
