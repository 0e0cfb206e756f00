// Variable names as the device MIB names them, with the instance or row index
// each needs.
#include "FleetVariables.h"

#include "FleetTestSupport.h"

#include <gtest/gtest.h>

TEST(FleetVariables, NamesFindTheirInstances) {
    const struct {
        const char* asked;
        const char* oid; // E. for the private root
        const char* name;
    } cases[] = {
        {"SystemName", "1.3.6.1.2.1.1.5.0", "SystemName"},
        {"System Name", "1.3.6.1.2.1.1.5.0", "SystemName"},
        {"SystemName.0", "1.3.6.1.2.1.1.5.0", "SystemName.0"},
        {"stLED", "E.4.4.0", "stLED"},
        {"adChannel.1", "E.2.3.1.2.1", "adChannel.1"},
        {"adChannel.2", "E.2.3.1.2.2", "adChannel.2"},
        {"adPtPRemoteAPMACAddress.2.3", "E.2.2.1.2.2.3", "adPtPRemoteAPMACAddress.2.3"},
        {"adSuperModea", "E.2.3.1.11.1", "adSuperModea"},
        {"MACAddress", "E.4.1.1.2.0", "MACAddress"},
        {"PowerSavingMode.2.1", "E.4.5.2.1.8.2.1", "PowerSavingMode.2.1"},
        {"E.4.5.2.1.5.2.1", "E.4.5.2.1.5.2.1", "E.4.5.2.1.5.2.1"}, // RSSI: several tables' name
        {"1.3.6.1.2.1.1.5", "1.3.6.1.2.1.1.5.0", "1.3.6.1.2.1.1.5"},
    };
    for (const auto& c : cases) {
        std::string expected = c.oid;
        if (expected.rfind("E.", 0) == 0)
            expected = "1.3.6.1.4.1.48213.10.37.14" + expected.substr(1);
        FleetVariable v;
        ASSERT_EQ(fleettest::usageErrorOf([&] { v = fleet::findVariable(c.asked); }), "(accepted)");
        EXPECT_EQ(v.oid.toString(), expected) << c.asked;
        EXPECT_EQ(v.name, c.name) << c.asked;
    }
}

TEST(FleetVariables, BadNamesAreRefusedWithTheChoices) {
    const struct {
        const char* asked;
        const char* message;
    } cases[] = {
        {"noSuchThing", "\"noSuchThing\" is no variable of the device MIB"},
        {"adChannel", "\"adChannel\" names no instance; there are adChannel.1 adChannel.2"},
        {"adChannel.3", "\"adChannel.3\" names no instance; there are adChannel.1 adChannel.2"},
        {"stLED.1", "\"stLED.1\" names no instance; there are stLED.0"},
        {"adChannel.x", "\"adChannel.x\": \"x\" is no index"},
        {"PowerSavingMode",
         "\"PowerSavingMode\" names no instance; there are PowerSavingMode.INDEX"},
        {"E.9.9.9", "\"E.9.9.9\" is no variable of the device MIB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fleettest::usageErrorOf([&] { fleet::findVariable(c.asked); }), c.message);
}
