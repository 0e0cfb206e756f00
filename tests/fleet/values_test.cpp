// Values to set, checked as the window that owns the variable checks them,
// before anything is sent.
#include "FleetValues.h"

#include "FleetTestSupport.h"

#include <gtest/gtest.h>

TEST(FleetValues, AcceptedValuesBecomeTheirBindings) {
    const struct {
        const char* argument;
        OvVb value;
    } cases[] = {
        {"adTransmitPower.1=Half(-3dB)", OvVb::integer(2)},
        {"adTransmitPower.2=3", OvVb::integer(3)},
        {"SystemName=lab ap", OvVb::octetString("lab ap")},
        {"hIPAddress=10.0.0.5",
         OvVb::octetString(std::string("\x0a\x00\x00\x05", 4), OvSyntax::IpAddress)},
        {"adChannel.1=36", OvVb::integer(36)},
    };
    for (const auto& c : cases) {
        FleetAssignment a;
        ASSERT_EQ(fleettest::usageErrorOf([&] { a = fleet::checkedAssignment(c.argument); }),
                  "(accepted)");
        OvVb expected = c.value;
        expected.oid = a.variable.oid;
        EXPECT_EQ(a.value, expected) << c.argument;
    }
}

TEST(FleetValues, RefusedValuesCarryTheWindowsMessage) {
    const struct {
        const char* argument;
        const char* message;
    } cases[] = {
        {"adTransmitPower.1=Double",
         "adTransmitPower.1: \"Double\" is none of \"Full\", \"Half(-3dB)\", \"Quarter(-6dB)\", "
         "\"Eighth(-9dB)\", \"Min\""},
        {"hIPAddress=127.0.0.1", "hIPAddress: Please input valid IP Address."},
        {"hSubnetMask=255.0.255.0", "hSubnetMask: Please input valid Subnet Mask."},
        {"hDefaultGateway=10.0.0.255", "hDefaultGateway: Please input valid Gateway."},
        {"SystemName=a\"b", "SystemName: Quotation Mark (\") is not accepted"},
        {"stLED=1", "stLED cannot be written"},
        {"adBeaconInterval.1=10", "adBeaconInterval.1: Please input a number between 20 and 1000."},
        {"adRTSLength.2=2347", "adRTSLength.2: Please input a number between 256 and 2346."},
        {"UserLimit(0-64)=65", "UserLimit(0-64): Please input a number between 0 and 64."},
        {"SystemName", "\"SystemName\" is not NAME=VALUE"},
        {"=5", "\"=5\" is not NAME=VALUE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fleettest::usageErrorOf([&] { fleet::checkedAssignment(c.argument); }),
                  c.message);
    }
}

TEST(FleetValues, SsidAndPassPhraseFollowTheWirelessRules) {
    EXPECT_TRUE(fleet::valueRefusal(fleet::findVariable("hSSID.1"), "").has_value());
    EXPECT_FALSE(fleet::valueRefusal(fleet::findVariable("hSSID.1"), "lab").has_value());
    EXPECT_TRUE(fleet::valueRefusal(fleet::findVariable("adSecPassPhrase.2"), "short").has_value());
    EXPECT_FALSE(
        fleet::valueRefusal(fleet::findVariable("adSecPassPhrase.2"), "long enough").has_value());
}
