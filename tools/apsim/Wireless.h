// The radios of the simulated access point: what their firmware refuses, the
// secrets it can hide when read, and the site survey a scan refills.
#pragma once

#include "OvVb.h"

#include <functional>

namespace apsim {

// The value a variable holds now, or nullptr when the device has none.
using CurrentValue = std::function<const OvVb*(const OvOid&)>;

// 0 when the radios' firmware takes the value, else the error status: an SSID
// over 32 octets, a WEP key that is not 10, 26 or 32 hex digits (64, 128 or 152
// bits), a channel that is not in the band's channel list, a VLAN group ID
// outside 1 to 4094.
int checkWirelessSet(const OvOid& oid, const OvVb& value, const CurrentValue& current);

// WEP keys (of the primary and the additional SSIDs) and WPA pass phrases:
// what --mask-keys serves as '*', one per octet.
bool isSecret(const OvOid& oid);

// The band (1 802.11a, 2 802.11g) of a site survey trigger ("adRefresh"), in
// either form: E.2.8.1.1.<band>, or with ".0" after it; else 0.
int surveyTriggerBand(const OvOid& oid);

// The band (1 802.11a, 2 802.11g) whose site survey a SET of this value starts
// ("adRefresh" = 1), or 0.
int surveyScanBand(const OvOid& oid, const OvVb& value);

} // namespace apsim
