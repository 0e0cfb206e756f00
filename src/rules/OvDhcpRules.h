// The rules the DHCP server window and its static pool entry dialog share:
// the MAC comparison, the strict dotted value, the checks of typed masks and
// servers, and finding rows of the static pool by MAC or free slot; the MAC address tables of the
// access control lists use the MAC rules too. Pure functions of texts. The pools' cover and the
// rows by address, which the LAN window also needs, are in OvPoolRange.h.
#pragma once

#include "OvAddressChecks.h"
#include "OvNumberRules.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ovrules {

// What a free static pool slot holds.
inline constexpr const char* kFreeSlotAddress = "0.0.0.0";
inline constexpr const char* kFreeSlotMac = "000000000000";

// A MAC address as typed: 12 hex digits, no separators.
inline constexpr int kMacHexDigits = 12;

// Shown when Set or Del finds no slot holding the selected entry: another
// station changed the table since it was read.
inline constexpr const char* kEntryGoneText =
    "The entry is no longer on the device; the lists are read again.";

// The refusals of typed DHCP settings are titled as the device's own manager
// titles them.
inline constexpr const char* kDhcpCheckTitle = "Waring";

// The dynamic pool's size (addresses) and lease time (seconds), each read
// strictly (checkedInteger), and the refusals of the pool's checks.
inline constexpr NumberField kDhcpPoolSize{1, 255, "Please input a number between 1 and 255."};
inline constexpr NumberField kDhcpLease{60, 31536000,
                                        "Please input a number between 60 and 31536000."};
bool withinField(std::uint32_t value, const NumberField& field);
inline constexpr const char* kDhcpAddressRefusal = "Please input valid IP address";
inline constexpr const char* kPoolCoversSystemRefusal =
    "Reject: The DHCP dynamic IP pool will cover system IP.";
inline constexpr const char* kPoolCoversStaticRefusal =
    "Reject: The DHCP dynamic IP pool will cover Static IP.";
inline constexpr const char* kPoolStartIsSystemRefusal =
    "Reject:DHCPS dynamic IP pool will cover system IP";

// A mask box left unset ("" or the free slot's address) names no mask.
// Otherwise a mask that is no subnet mask is refused: its message, or nullptr.
const char* givenMaskRefusal(std::string_view text);

// The same for the gateway, WINS and DNS servers, which must be host addresses.
enum class DhcpServer { Gateway, Wins, Dns };
const char* givenServerRefusal(std::string_view text, DhcpServer server);

// MAC comparison: character by character over the typed text's length, a
// typed character matching the listed one or the listed one plus 32, so a
// typed lower-case letter matches a listed upper-case one (not the reverse).
// A listed text shorter than the typed one does not match.
bool sameMac(std::string_view typed, std::string_view listed);

// A text that the strict dotted value cannot read; its message names the part.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const std::string& part);
};

// The dotted value with every part converted strictly: as dottedValue, but a
// part that is empty or not a decimal number raises ConversionError. A text
// without dots is its number ("20" is 20).
std::uint32_t checkedDottedValue(std::string_view text);

// A decimal number read strictly (pool sizes, lease times): digits only, at
// most a signed 32-bit integer; anything else raises ConversionError.
std::uint32_t checkedInteger(std::string_view text);

// The first row whose address is the free slot's, if any.
std::optional<std::size_t> firstFreeSlot(const std::vector<std::string>& addresses);

// The first row whose MAC the typed one matches (MAC comparison), if any.
std::optional<std::size_t> rowOfMac(const std::vector<std::string>& macs, std::string_view typed);

// The MAC typed for the slot numbered `index` of an access control list: 12
// hex digits, not the free slot's, not taken by another slot; its refusal,
// or nothing.
std::optional<Refusal> macEntryRefusal(std::string_view typed, const std::vector<std::string>& macs,
                                       long long index);

// Whether another row than the one numbered `index` (rows count from 1)
// already holds the typed MAC, the same or by the MAC comparison.
bool macTakenElsewhere(const std::vector<std::string>& macs, std::string_view typed,
                       long long index);

// Whether another row than the one numbered `index` (rows count from 1)
// already holds the typed address; the free slot's address is never taken.
bool addressTakenElsewhere(const std::vector<std::string>& addresses, std::string_view typed,
                           long long index);

} // namespace ovrules
