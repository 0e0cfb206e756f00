// The rules of the wireless settings that need no window: channel choices,
// WEP key lengths and conversions, the key and SSID checks, duplicate WDS
// peers and what the additional SSIDs must give up for the primary one. The
// wireless window applies them to its controls; the Advanced windows use the
// channel choices and the key conversion too.
#pragma once

#include "OvAddressChecks.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovrules {

// Band indexes as the window's arrays hold them (the MIB's band index minus 1).
inline constexpr int kBandA = 0;
inline constexpr int kBandG = 1;

// The longest SSID the device takes, in octets.
inline constexpr int kSsidLength = 32;

// The refusal of an ASCII key that holds anything but printable ASCII.
inline constexpr const char* kAsciiOnly = "Please input printable ASCII characters in the key!";

// "11a" or "11g", as the messages name a band.
std::string bandTag(int band);

// ---- Channels

// The items a space-separated channel list gives and the one equal to `value`
// (-1: none). Only a blank that ends a token separates: a blank at the start
// or after another blank becomes the first character of the next token.
struct ChannelChoices {
    std::vector<std::string> items;
    int selected = -1;
};
ChannelChoices channelChoices(std::string_view list, std::string_view value);

// The channels a band offers in "Super Mode with Dynamic Turbo".
const char* dynamicTurboChannels(int band);

// ---- WEP keys

// Key type items: 0 "HEX", 1 "ASCII" (no selection counts as ASCII); key size
// items: 0 "64 Bits", 1 "128 Bits", 2 "152 Bits". The characters a key of that
// type and size has; nothing without a size.
std::optional<int> wepKeyLength(int keyType, int keySize);

// The key size item a key of this many characters shows (10, 26 or 32 hex
// digits); nothing for any other length.
std::optional<int> keySizeOfLength(int length);

// "The Length of the 2nd key in IEEE802.11g must be 26!", spelled "Lengh" for
// the length 16 as the device's manager always did. `key` is 0 to 3.
std::string wepKeyLengthMessage(int key, int band, int length);

// Each character's code in lower-case hex without leading zeros, then cut to
// two digits per character: printable ASCII gives exactly two each.
std::string keyTextToHex(std::u32string_view text);

// A key as CheckHexKey sees it: empty or only '*' (shown masked, kept on the
// device), or all hex digits, or neither.
enum class HexKey { Masked, Refused, Hexadecimal };
HexKey checkHexKey(std::string_view text);

// Whether an ASCII key can be converted: every character printable ASCII.
bool isPrintableAscii(std::u32string_view text);

// ---- SSIDs, pass phrases, numbers

// The first of the SSID checks (length in octets, leading blank, empty) that
// refuses the text, or nothing; the text check follows separately.
std::optional<Refusal> ssidRefusal(std::string_view utf8, int band);

// A pass phrase of 8 to 63 octets, or its refusal.
std::optional<Refusal> passPhraseRefusal(std::string_view utf8, int band);

// A group key update interval: its decimal value (0 when it is empty or not a
// number) within 300 to 9999999.
bool groupKeyIntervalAccepted(std::string_view text);

// ---- WDS peers

inline constexpr const char* kPeerPlaceholder = "000000000000";

// The first pair (i, j) of equal addresses, i from 7 down to 1 and j from 0 to
// i - 1, that are neither empty nor the placeholder, compared without regard
// to case.
std::optional<std::pair<int, int>> duplicatePeers(const std::array<std::string, 8>& addresses);

// ---- Additional SSIDs

// The additional SSID (1 to 3) whose enabled state, authentication other than
// "None" (item 0) and key index equal the master's valid key, or 0.
struct GuestSsid {
    int state = 0;    // item: 0 disabled, 1 enabled
    int auth = 0;     // item: 0 "None", 1 "Open System", 2 "Shared Key"
    int keyIndex = 0; // item: 0 "First" ... 3 "Fourth"
};
int guestUsingMasterKey(int validKey, const std::array<GuestSsid, 3>& guests);

// What a band's additional SSIDs give up before they are sent: a band not in
// "Access Point" mode switches the VLAN and its guests off; one whose primary
// authentication is neither "Open System" nor "Shared Key" leaves its guests
// without authentication.
struct GuestStates {
    bool guestsOff = false;
    bool authNone = false;
};
GuestStates guestStatesFor(int apModeChoice, std::string_view authentication);

} // namespace ovrules
