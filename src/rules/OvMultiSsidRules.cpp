#include "OvMultiSsidRules.h"

namespace ovrules {
namespace {

std::string guestName(int guest) {
    return "Guest SSID" + std::to_string(guest);
}

} // namespace

bool guestCapable(int apModeItem, int superModeItem) {
    return apModeItem == 0 && superModeItem == 2;
}

std::string apModeWarning(int band) {
    return "Please modify IEEE802." + bandTag(band) + " AP Mode to \"Access point\"!";
}

std::optional<Refusal> guestSsidRefusal(std::string_view utf8, int guest) {
    if (utf8.size() > 32)
        return Refusal{"Warning", "The Max Length of " + guestName(guest) + "'s SSID is 32.!"};
    if (utf8.empty())
        return Refusal{"Warning", "Please Input SSID in " + guestName(guest) + "."};
    if (utf8.front() == ' ')
        return Refusal{"Error", "The first character can't be blank in " + guestName(guest) + "."};
    return std::nullopt;
}

std::string keyIndexSameAsMaster(int band, int guest) {
    return "The " + bandTag(band) + " " + guestName(guest) + "'s key index is same as master SSID";
}

std::string keyIndexSameAsGuest(int band, int guest, int other) {
    return "The " + bandTag(band) + " " + guestName(guest) + "'s key index is same as " +
           guestName(other);
}

std::string ssidSameAsMaster(int band, int guest) {
    return "The " + bandTag(band) + " " + guestName(guest) + "'s SSID is same as master SSID";
}

std::string ssidSameAsGuest(int band, int guest, int other) {
    return "The " + bandTag(band) + " " + guestName(guest) + "'s SSID is same as SSID" +
           std::to_string(other) + "'s SSID";
}

std::string vlanIdMissing(int band, int guest) {
    const std::string ssid = guest == 0 ? "master SSID" : "guest SSID" + std::to_string(guest);
    return "The " + bandTag(band) + " " + ssid + "'s ID is invalid.The range of ID is 1 to 4095.";
}

std::string guestKeyLengthMessage(int guest, int band, int length) {
    const std::string word = length == 16 ? "Lengh" : "Length";
    return "The " + word + " of " + guestName(guest) + "'s key in IEEE802." + bandTag(band) +
           " must be " + std::to_string(length) + "!";
}

} // namespace ovrules
