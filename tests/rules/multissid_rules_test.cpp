// The guest SSID rules without a window: which bands may have guests, and the
// texts of every refusal for each band and guest number.
#include "OvMultiSsidRules.h"

#include <gtest/gtest.h>

namespace {

using namespace ovrules;

TEST(MultiSsidRules, OnlyAPlainAccessPointWithoutSuperModeHasGuests) {
    const struct {
        int apMode, superMode;
        bool capable;
    } cases[] = {{0, 2, true},  {1, 2, false},  {2, 2, false}, {0, 0, false},
                 {0, 1, false}, {-1, 2, false}, {0, -1, false}};
    for (const auto& c : cases)
        EXPECT_EQ(guestCapable(c.apMode, c.superMode), c.capable)
            << "AP mode item " << c.apMode << ", super mode item " << c.superMode;
}

TEST(MultiSsidRules, RefusalTextsNameTheBandAndTheGuests) {
    const std::pair<std::string, std::string> cases[] = {
        {apModeWarning(kBandA), "Please modify IEEE802.11a AP Mode to \"Access point\"!"},
        {apModeWarning(kBandG), "Please modify IEEE802.11g AP Mode to \"Access point\"!"},
        {keyIndexSameAsMaster(kBandA, 1), "The 11a Guest SSID1's key index is same as master SSID"},
        {keyIndexSameAsMaster(kBandG, 3), "The 11g Guest SSID3's key index is same as master SSID"},
        {keyIndexSameAsGuest(kBandA, 1, 2),
         "The 11a Guest SSID1's key index is same as Guest SSID2"},
        {keyIndexSameAsGuest(kBandG, 3, 1),
         "The 11g Guest SSID3's key index is same as Guest SSID1"},
        {ssidSameAsMaster(kBandA, 2), "The 11a Guest SSID2's SSID is same as master SSID"},
        {ssidSameAsGuest(kBandA, 1, 2), "The 11a Guest SSID1's SSID is same as SSID2's SSID"},
        {ssidSameAsGuest(kBandG, 2, 3), "The 11g Guest SSID2's SSID is same as SSID3's SSID"},
        {vlanIdMissing(kBandA, 0),
         "The 11a master SSID's ID is invalid.The range of ID is 1 to 4095."},
        {vlanIdMissing(kBandA, 1),
         "The 11a guest SSID1's ID is invalid.The range of ID is 1 to 4095."},
        {vlanIdMissing(kBandG, 0),
         "The 11g master SSID's ID is invalid.The range of ID is 1 to 4095."},
        {vlanIdMissing(kBandG, 3),
         "The 11g guest SSID3's ID is invalid.The range of ID is 1 to 4095."},
        {guestKeyLengthMessage(1, kBandA, 26),
         "The Length of Guest SSID1's key in IEEE802.11a must be 26!"},
        {guestKeyLengthMessage(2, kBandG, 5),
         "The Length of Guest SSID2's key in IEEE802.11g must be 5!"},
        {guestKeyLengthMessage(3, kBandA, 16),
         "The Lengh of Guest SSID3's key in IEEE802.11a must be 16!"},
    };
    for (const auto& [made, expected] : cases)
        EXPECT_EQ(made, expected);
}

TEST(MultiSsidRules, AGuestSsidIsCheckedForLengthEmptinessAndALeadingBlank) {
    const struct {
        std::string ssid;
        int guest;
        const char* title; // nullptr: accepted
        const char* text;
    } cases[] = {
        {std::string(32, 'x'), 1, nullptr, nullptr},
        {std::string(33, 'x'), 1, "Warning", "The Max Length of Guest SSID1's SSID is 32.!"},
        {"", 2, "Warning", "Please Input SSID in Guest SSID2."},
        {" Lobby", 3, "Error", "The first character can't be blank in Guest SSID3."},
        {"Lobby ", 3, nullptr, nullptr},
        // 33 octets in 17 characters: the device counts octets.
        {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
         "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9x",
         1, "Warning", "The Max Length of Guest SSID1's SSID is 32.!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.ssid + "\"");
        const auto refusal = guestSsidRefusal(c.ssid, c.guest);
        ASSERT_EQ(refusal.has_value(), c.title != nullptr);
        if (refusal) {
            EXPECT_EQ(refusal->title, c.title);
            EXPECT_EQ(refusal->text, c.text);
        }
    }
}

} // namespace
