#include "OvWirelessRules.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace ovrules {
namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

std::string bandTag(int band) {
    return band == kBandA ? "11a" : "11g";
}

ChannelChoices channelChoices(std::string_view list, std::string_view value) {
    ChannelChoices choices;
    std::string token;
    // One step past the end, which ends the last token like a blank.
    for (std::size_t p = 0; p <= list.size(); ++p) {
        const bool end = p == list.size();
        if ((end || list[p] == ' ') && !token.empty()) {
            if (token == value)
                choices.selected = static_cast<int>(choices.items.size());
            choices.items.push_back(token);
            token.clear();
        } else if (!end) {
            token += list[p];
        }
    }
    return choices;
}

const char* dynamicTurboChannels(int band) {
    return band == kBandA ? "56 153 161" : "6";
}

std::optional<int> wepKeyLength(int keyType, int keySize) {
    static const int hex[] = {10, 26, 32};
    static const int ascii[] = {5, 13, 16};
    if (keySize < 0 || keySize > 2)
        return std::nullopt;
    return keyType == 0 ? hex[keySize] : ascii[keySize];
}

std::optional<int> keySizeOfLength(int length) {
    switch (length) {
    case 10:
        return 0;
    case 26:
        return 1;
    case 32:
        return 2;
    default:
        return std::nullopt;
    }
}

std::string wepKeyLengthMessage(int key, int band, int length) {
    static const char* const ordinals[] = {"1st", "2nd", "3rd", "4th"};
    const std::string word = length == 16 ? "Lengh" : "Length";
    return "The " + word + " of the " + ordinals[std::clamp(key, 0, 3)] + " key in IEEE802." +
           bandTag(band) + " must be " + std::to_string(length) + "!";
}

std::string keyTextToHex(std::u32string_view text) {
    std::string hex;
    for (const char32_t c : text) {
        char digits[16];
        const auto [end, error] =
            std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(c), 16);
        hex.append(digits, end);
    }
    hex.resize(std::min(hex.size(), 2 * text.size()));
    return hex;
}

HexKey checkHexKey(std::string_view text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return c == '*'; }))
        return HexKey::Masked;
    return std::all_of(text.begin(), text.end(), isHexDigit) ? HexKey::Hexadecimal
                                                             : HexKey::Refused;
}

bool isPrintableAscii(std::u32string_view text) {
    return std::all_of(text.begin(), text.end(), [](char32_t c) { return c >= 0x20 && c <= 0x7E; });
}

std::optional<Refusal> ssidRefusal(std::string_view utf8, int band) {
    const std::string suffix = bandTag(band);
    if (utf8.size() > 32)
        return Refusal{"Error", "The Max Length of SSID is 32 in " + suffix + "!"};
    if (!utf8.empty() && utf8.front() == ' ')
        return Refusal{"Error", "The first character can't be blank."};
    if (utf8.empty())
        return Refusal{"Warning", "Please Input SSID in " + suffix};
    return std::nullopt;
}

std::optional<Refusal> passPhraseRefusal(std::string_view utf8, int band) {
    if (utf8.size() >= 8 && utf8.size() <= 63)
        return std::nullopt;
    return Refusal{"Error", std::string("The length of 802.") + bandTag(band) +
                                " PassPhrase is between 8 and 63."};
}

bool groupKeyIntervalAccepted(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        value = 0; // not a number
    return value >= 300 && value <= 9999999;
}

std::optional<std::pair<int, int>> duplicatePeers(const std::array<std::string, 8>& addresses) {
    // A MAC address is the same whatever the case of its hex digits.
    std::array<std::string, 8> compared = addresses;
    for (std::string& address : compared)
        address = upper(address);
    for (int i = 7; i >= 1; --i) {
        for (int j = 0; j < i; ++j) {
            const std::string& a = compared[static_cast<std::size_t>(i)];
            if (!a.empty() && a != kPeerPlaceholder && a == compared[static_cast<std::size_t>(j)])
                return std::pair{i, j};
        }
    }
    return std::nullopt;
}

int guestUsingMasterKey(int validKey, const std::array<GuestSsid, 3>& guests) {
    for (int n = 0; n < 3; ++n) {
        const GuestSsid& guest = guests[static_cast<std::size_t>(n)];
        if (guest.keyIndex == validKey && guest.state == 1 && guest.auth != 0)
            return n + 1;
    }
    return 0;
}

GuestStates guestStatesFor(int apModeChoice, std::string_view authentication) {
    if (apModeChoice != 0)
        return {true, false};
    return {false, authentication != "Open System" && authentication != "Shared Key"};
}

} // namespace ovrules
