// The wireless rules without a window: channel choices, WEP key lengths and
// their messages, the ASCII key conversion, the hex key check, SSID and pass
// phrase checks, duplicate WDS peers and the additional SSIDs' constraints.
#include "OvWirelessRules.h"

#include <gtest/gtest.h>

namespace {

using namespace ovrules;

TEST(WirelessRules, ChannelChoicesSplitAtTheBlankThatEndsAToken) {
    const struct {
        const char* name;
        const char* list;
        const char* value;
        std::vector<std::string> items;
        int selected;
    } cases[] = {
        {"single blanks, value in the list", "36 40 44", "40", {"36", "40", "44"}, 1},
        {"the device's 802.11a list, channel 44", "36 40 44 48", "44", {"36", "40", "44", "48"}, 2},
        {"a channel not in the list selects nothing",
         "36 40 44 48",
         "0",
         {"36", "40", "44", "48"},
         -1},
        {"the value absent (an empty text)", "36 40", "", {"36", "40"}, -1},
        {"a leading blank joins the first channel", " 36 40", "36", {" 36", "40"}, -1},
        {"a leading blank, the value with it", " 36 40", " 36", {" 36", "40"}, 0},
        {"a double blank joins the next channel", "36  40", "40", {"36", " 40"}, -1},
        {"a trailing blank ends nothing more", "36 40 ", "40", {"36", "40"}, 1},
        {"an empty list", "", "36", {}, -1},
        {"blanks only", "  ", "", {" "}, -1},
        {"the first of equal items is not kept: the last wins", "6 6", "6", {"6", "6"}, 1},
        {"dynamic turbo on 802.11a", dynamicTurboChannels(kBandA), "153", {"56", "153", "161"}, 1},
        {"dynamic turbo on 802.11g", dynamicTurboChannels(kBandG), "1", {"6"}, -1},
        {"the value must match exactly", "36 40", "036", {"36", "40"}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ChannelChoices choices = channelChoices(c.list, c.value);
        EXPECT_EQ(choices.items, c.items);
        EXPECT_EQ(choices.selected, c.selected);
    }
}

TEST(WirelessRules, KeyLengthsFollowTypeAndSize) {
    const struct {
        const char* name;
        int type, size;
        std::optional<int> length;
    } cases[] = {
        {"HEX 64 bits", 0, 0, 10},
        {"HEX 128 bits", 0, 1, 26},
        {"HEX 152 bits", 0, 2, 32},
        {"ASCII 64 bits", 1, 0, 5},
        {"ASCII 128 bits", 1, 1, 13},
        {"ASCII 152 bits", 1, 2, 16},
        {"no type counts as ASCII", -1, 1, 13},
        {"no size: nothing", 0, -1, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wepKeyLength(c.type, c.size), c.length) << c.name;
}

TEST(WirelessRules, AKeysLengthShowsItsSize) {
    const struct {
        int length;
        std::optional<int> size;
    } cases[] = {{10, 0},
                 {26, 1},
                 {32, 2},
                 {0, std::nullopt},
                 {5, std::nullopt},
                 {13, std::nullopt},
                 {16, std::nullopt},
                 {11, std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(keySizeOfLength(c.length), c.size) << "length " << c.length;
}

TEST(WirelessRules, KeyLengthMessagesNameKeyBandAndLength) {
    const struct {
        int key, band, length;
        const char* text;
    } cases[] = {
        {0, kBandA, 10, "The Length of the 1st key in IEEE802.11a must be 10!"},
        {1, kBandA, 26, "The Length of the 2nd key in IEEE802.11a must be 26!"},
        {2, kBandG, 32, "The Length of the 3rd key in IEEE802.11g must be 32!"},
        {3, kBandG, 5, "The Length of the 4th key in IEEE802.11g must be 5!"},
        {0, kBandG, 13, "The Length of the 1st key in IEEE802.11g must be 13!"},
        {3, kBandA, 16, "The Lengh of the 4th key in IEEE802.11a must be 16!"},
        {0, kBandG, 16, "The Lengh of the 1st key in IEEE802.11g must be 16!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wepKeyLengthMessage(c.key, c.band, c.length), c.text);
}

TEST(WirelessRules, KeyTextToHexWritesEachCharacterCode) {
    const struct {
        const char* name;
        std::u32string text;
        const char* hex;
    } cases[] = {
        {"five printable characters give ten digits", U"Ab1~ ", "4162317e20"},
        {"lower-case digits", U"\u007a\u007a\u007a\u007a\u007a", "7a7a7a7a7a"},
        {"thirteen characters", U"0123456789abc", "30313233343536373839616263"},
        {"empty", U"", ""},
        {"a control character gives one digit, the rest moves up", U"\tABCD", "941424344"},
        {"a character above 0xFF gives more digits, then the text is cut", U"\u20acAB", "20ac41"},
        {"a character above 0xFFFF", U"\U0001F600x", "1f60"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keyTextToHex(c.text), c.hex) << c.name;
}

TEST(WirelessRules, CheckHexKeyTellsMaskedRefusedAndHex) {
    const struct {
        const char* text;
        HexKey answer;
    } cases[] = {
        {"", HexKey::Masked},
        {"**********", HexKey::Masked},
        {"*", HexKey::Masked},
        {"0123456789", HexKey::Hexadecimal},
        {"abcdefABCDEF0123456789abcd", HexKey::Hexadecimal},
        {"012345678g", HexKey::Refused},
        {"*****12345", HexKey::Refused},
        {"01234 5678", HexKey::Refused},
        {"0x12345678", HexKey::Refused},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkHexKey(c.text), c.answer) << '"' << c.text << '"';
}

TEST(WirelessRules, OnlyPrintableAsciiKeysAreConverted) {
    const struct {
        const char* name;
        std::u32string text;
        bool printable;
    } cases[] = {
        {"letters, digits, blank and tilde", U"aZ0 ~", true},
        {"empty", U"", true},
        {"a tab", U"abc\tx", false},
        {"DEL", U"abc\u007fx", false},
        {"an accented letter", U"caf\u00e9!", false},
        {"the euro sign", U"\u20ac1234", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isPrintableAscii(c.text), c.printable) << c.name;
}

TEST(WirelessRules, SsidChecksInTheirOrder) {
    const struct {
        const char* name;
        std::string ssid;
        int band;
        std::optional<Refusal> refusal;
    } cases[] = {
        {"32 octets pass", std::string(32, 'x'), kBandA, std::nullopt},
        {"33 octets on 802.11a", std::string(33, 'x'), kBandA,
         Refusal{"Error", "The Max Length of SSID is 32 in 11a!"}},
        {"33 octets on 802.11g", std::string(33, 'x'), kBandG,
         Refusal{"Error", "The Max Length of SSID is 32 in 11g!"}},
        {"31 characters but 33 octets", std::string(30, 'x') + "\xC3\xA9\xC3\xA9", kBandA,
         Refusal{"Error", "The Max Length of SSID is 32 in 11a!"}},
        {"one blank is a leading blank, not an empty text", " ", kBandG,
         Refusal{"Error", "The first character can't be blank."}},
        {"a long text with a leading blank is too long first", " " + std::string(32, 'x'), kBandA,
         Refusal{"Error", "The Max Length of SSID is 32 in 11a!"}},
        {"empty on 802.11a", "", kBandA, Refusal{"Warning", "Please Input SSID in 11a"}},
        {"empty on 802.11g", "", kBandG, Refusal{"Warning", "Please Input SSID in 11g"}},
        {"a quote is the text check's", "a\"b", kBandA, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto refusal = ssidRefusal(c.ssid, c.band);
        ASSERT_EQ(refusal.has_value(), c.refusal.has_value());
        if (refusal) {
            EXPECT_EQ(refusal->title, c.refusal->title);
            EXPECT_EQ(refusal->text, c.refusal->text);
        }
    }
}

TEST(WirelessRules, PassPhrasesHold8To63Octets) {
    const struct {
        std::string phrase;
        int band;
        const char* refusal; // nullptr: accepted
    } cases[] = {
        {std::string(7, 'p'), kBandA, "The length of 802.11a PassPhrase is between 8 and 63."},
        {std::string(8, 'p'), kBandA, nullptr},
        {std::string(63, 'p'), kBandG, nullptr},
        {std::string(64, 'p'), kBandG, "The length of 802.11g PassPhrase is between 8 and 63."},
        {std::string(62, 'p') + "\xC3\xA9", kBandG,
         "The length of 802.11g PassPhrase is between 8 and 63."},
        {"", kBandA, "The length of 802.11a PassPhrase is between 8 and 63."},
    };
    for (const auto& c : cases) {
        const auto refusal = passPhraseRefusal(c.phrase, c.band);
        if (c.refusal == nullptr) {
            EXPECT_FALSE(refusal.has_value()) << c.phrase.size() << " octets";
        } else {
            ASSERT_TRUE(refusal.has_value()) << c.phrase.size() << " octets";
            EXPECT_EQ(refusal->title, "Error");
            EXPECT_EQ(refusal->text, c.refusal);
        }
    }
}

TEST(WirelessRules, GroupKeyIntervalsLieBetween300And9999999) {
    const struct {
        const char* text;
        bool accepted;
    } cases[] = {{"300", true},       {"9999999", true},
                 {"1800", true},      {"299", false},
                 {"10000000", false}, {"", false},
                 {"abc", false},      {"30x", false},
                 {"0", false},        {"99999999999999999999", false}};
    for (const auto& c : cases)
        EXPECT_EQ(groupKeyIntervalAccepted(c.text), c.accepted) << '"' << c.text << '"';
}

TEST(WirelessRules, DuplicatePeersAreFoundFromTheLastSlot) {
    using Peers = std::array<std::string, 8>;
    const std::string z = kPeerPlaceholder;
    const struct {
        const char* name;
        Peers peers;
        std::optional<std::pair<int, int>> pair;
    } cases[] = {
        {"eight different addresses",
         {"000000000001", "000000000002", "000000000003", "000000000004", "000000000005",
          "000000000006", "000000000007", "000000000008"},
         std::nullopt},
        {"the same address in either case", {"001122AABBCC", "", "001122aabbcc"}, std::pair{2, 0}},
        {"two empty slots are no duplicates", {"001122AABBCC", "", ""}, std::nullopt},
        {"two placeholders are no duplicates", {"001122AABBCC", z, z, z, z, z, z, z}, std::nullopt},
        {"the highest slot's pair is found first",
         {"AAAAAAAAAAAA", "BBBBBBBBBBBB", "AAAAAAAAAAAA", "", "", "", "BBBBBBBBBBBB", ""},
         std::pair{6, 1}},
        {"slots 0 and 7",
         {"0A0B0C0D0E0F", "", "", "", "", "", "", "0a0b0c0d0e0f"},
         std::pair{7, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(duplicatePeers(c.peers), c.pair) << c.name;
}

TEST(WirelessRules, AGuestMayNotUseTheMastersKey) {
    const struct {
        const char* name;
        int validKey;
        std::array<GuestSsid, 3> guests;
        int guest;
    } cases[] = {
        {"guest 2 enabled, Open System, key Second", 1, {{{0, 1, 1}, {1, 1, 1}, {1, 1, 0}}}, 2},
        {"guest 1 with Shared Key", 0, {{{1, 2, 0}, {0, 0, 0}, {0, 0, 0}}}, 1},
        {"a disabled guest", 1, {{{0, 1, 1}, {0, 1, 1}, {0, 1, 1}}}, 0},
        {"a guest without authentication", 1, {{{1, 0, 1}, {1, 0, 1}, {1, 0, 1}}}, 0},
        {"another key", 3, {{{1, 1, 0}, {1, 1, 1}, {1, 1, 2}}}, 0},
        {"the first guest that matches", 2, {{{1, 1, 0}, {1, 1, 2}, {1, 2, 2}}}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(guestUsingMasterKey(c.validKey, c.guests), c.guest) << c.name;
}

TEST(WirelessRules, GuestsGiveWayToWdsAndToWpa) {
    const struct {
        const char* name;
        int apModeChoice;
        const char* authentication;
        bool guestsOff, authNone;
    } cases[] = {
        {"Access Point with Open System", 0, "Open System", false, false},
        {"Access Point with Shared Key", 0, "Shared Key", false, false},
        {"Access Point with both", 0, "Open System / Shared Key", false, true},
        {"Access Point with WPA-PSK", 0, "WPA-PSK", false, true},
        {"Access Point with nothing read", 0, "", false, true},
        {"WDS with AP", 1, "Open System", true, false},
        {"WDS", 2, "WPA-PSK", true, false},
        {"a repeater the choice does not show", -1, "Open System", true, false},
    };
    for (const auto& c : cases) {
        const GuestStates states = guestStatesFor(c.apModeChoice, c.authentication);
        EXPECT_EQ(states.guestsOff, c.guestsOff) << c.name;
        EXPECT_EQ(states.authNone, c.authNone) << c.name;
    }
}

} // namespace
