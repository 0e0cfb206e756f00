// The rules of the additional (guest) SSIDs that need no window: which band
// may have guests, and the texts that refuse a guest's SSID, key index, key
// length or VLAN group ID. Bands are kBandA and kBandG; guests count from 1.
#pragma once

#include "OvWirelessRules.h"

#include <optional>
#include <string>
#include <string_view>

namespace ovrules {

// A band may have guests as a plain access point ("Access Point", item 0 of
// its AP mode) with super mode "Disable" (item 2).
bool guestCapable(int apModeItem, int superModeItem);

// "Please modify IEEE802.11a AP Mode to "Access point"!"
std::string apModeWarning(int band);

// The first of a guest SSID's own checks (length in octets, empty, a leading
// blank) that refuses it, or nothing; the text check follows separately.
std::optional<Refusal> guestSsidRefusal(std::string_view utf8, int guest);

// "The 11a Guest SSID1's key index is same as master SSID", or, with another
// guest, "... same as Guest SSID2".
std::string keyIndexSameAsMaster(int band, int guest);
std::string keyIndexSameAsGuest(int band, int guest, int other);

// "The 11a Guest SSID1's SSID is same as master SSID" / "... same as SSID2's SSID".
std::string ssidSameAsMaster(int band, int guest);
std::string ssidSameAsGuest(int band, int guest, int other);

// An empty VLAN group ID of the primary SSID (guest 0) or of a guest:
// "The 11a master SSID's ID is invalid.The range of ID is 1 to 4095.".
std::string vlanIdMissing(int band, int guest);

// "The Length of Guest SSID1's key in IEEE802.11a must be 10!", spelled
// "Lengh" for the length 16 as the device's manager always did.
std::string guestKeyLengthMessage(int guest, int band, int length);

} // namespace ovrules
