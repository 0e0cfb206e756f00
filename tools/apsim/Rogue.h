// Rogue AP detection on the simulated access point: the networks within its
// reach ("the air"), and which of them a scan reports under the filters the
// manager set (BSS type, bands, security types).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace apsim {

// The filters a scan reads: bssTypeDetected (1 AP BSS, 2 Ad Hoc, 3 both), and
// the bit masks bandTypeDetected (one bit per mode value: 0 "a", 2 "b", 3 "g")
// and securityTypeDetected (one bit per security value 0 to 7).
struct ScanFilters {
    std::int32_t bssType = 3;
    std::int32_t bands = 0;
    std::int32_t securities = 0;
};

// One network heard: what a row of the result table shows of it.
struct AirNetwork {
    bool adHoc = false;
    std::int32_t mode = 0;     // 0 a, 2 b, 3 g
    std::int32_t security = 0; // 0 OFF ... 7 WPA-Auto-PSK; an ad-hoc network has 0 or 1
};

// Whether a scan under these filters reports the network.
bool reported(const AirNetwork& network, const ScanFilters& filters);

// The network that the typed column texts of a result row (Type, CH, RSSI,
// BSSID, Security, Mode, SSID, in the table's order) describe.
AirNetwork networkOf(const std::vector<std::string>& rowValues);

} // namespace apsim
