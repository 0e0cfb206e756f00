// The device MIB: the MIB-II system group and the device's private variables, as
// static variable tables, one per group of controls. Windows bind controls by
// position, so row order, repeated rows and names (blanks included) are fixed.
#pragma once

#include "OvSNMPVarList.h"
#include "OvVb.h"

#include <span>

namespace mib {

// Private root of the device's variables.
inline constexpr const char* enterpriseRoot = "1.3.6.1.4.1.48213.10.37.14";

extern const OvSNMPVarRow T1[];  // MIB-II system group
extern const OvSNMPVarRow T2[];  // Basic wireless, both bands
extern const OvSNMPVarRow T3[];  // LAN addressing and restart
extern const OvSNMPVarRow T4[];  // AP mode and remote AP addresses, 802.11a
extern const OvSNMPVarRow T5[];  // AP mode and remote AP addresses, 802.11g
extern const OvSNMPVarRow T6[];  // Radio performance, 802.11a
extern const OvSNMPVarRow T7[];  // Short preamble, 802.11a
extern const OvSNMPVarRow T8[];  // Super mode, both bands
extern const OvSNMPVarRow T9[];  // Radio performance, 802.11g
extern const OvSNMPVarRow T10[]; // Short preamble, 802.11g
extern const OvSNMPVarRow T11[]; // Automatic channel scan, 802.11a
extern const OvSNMPVarRow T12[]; // Automatic channel scan, 802.11g
extern const OvSNMPVarRow T13[]; // Extended range, 802.11a
extern const OvSNMPVarRow T14[]; // Extended range, 802.11g
extern const OvSNMPVarRow T15[]; // Access control MAC list, 802.11a
extern const OvSNMPVarRow T16[]; // Access control MAC list, 802.11g
extern const OvSNMPVarRow T17[]; // Access control and station isolation settings, both bands
extern const OvSNMPVarRow T18[]; // Enterprise security (cipher, RADIUS), 802.11a
extern const OvSNMPVarRow T19[]; // Enterprise security (cipher, RADIUS), 802.11g
extern const OvSNMPVarRow T20[]; // Personal security (cipher, pass phrase), 802.11a
extern const OvSNMPVarRow T21[]; // Personal security (cipher, pass phrase), 802.11g
extern const OvSNMPVarRow T22[]; // Authentication, WEP and keys, both bands
extern const OvSNMPVarRow T23[]; // Grouping
extern const OvSNMPVarRow T24[]; // DHCP dynamic lease table
extern const OvSNMPVarRow T25[]; // DHCP static lease table
extern const OvSNMPVarRow T26[]; // DHCP lease table triggers
extern const OvSNMPVarRow T27[]; // Administrator account
extern const OvSNMPVarRow T28[]; // Factory default
extern const OvSNMPVarRow T29[]; // Firmware transfer
extern const OvSNMPVarRow T30[]; // Configuration file transfer
extern const OvSNMPVarRow T31[]; // Transfer command
extern const OvSNMPVarRow T32[]; // Restart
extern const OvSNMPVarRow T33[]; // Miscellaneous
extern const OvSNMPVarRow T34[]; // Device information, LAN
extern const OvSNMPVarRow T35[]; // Device information, 802.11a
extern const OvSNMPVarRow T36[]; // Device information, 802.11g
extern const OvSNMPVarRow T37[]; // Traffic statistics, 802.11a
extern const OvSNMPVarRow T38[]; // Traffic statistics, 802.11g
extern const OvSNMPVarRow T39[]; // Client table trigger, both bands
extern const OvSNMPVarRow T40[]; // Client table
extern const OvSNMPVarRow T41[]; // Front-panel LEDs
extern const OvSNMPVarRow T42[]; // DHCP server switch
extern const OvSNMPVarRow T43[]; // DHCP dynamic pool
extern const OvSNMPVarRow T44[]; // Firmware version
extern const OvSNMPVarRow T45[]; // DHCP static pool table
extern const OvSNMPVarRow T46[]; // Device IP address (for DHCP checks)
extern const OvSNMPVarRow T47[]; // Client information capability
extern const OvSNMPVarRow T48[]; // Country code
extern const OvSNMPVarRow T49[]; // Turbo mode capability, both bands
extern const OvSNMPVarRow T50[]; // AP mode capability
extern const OvSNMPVarRow T51[]; // Multi-SSID capability
extern const OvSNMPVarRow T52[]; // Site survey trigger, 802.11a
extern const OvSNMPVarRow T53[]; // Site survey trigger, 802.11g
extern const OvSNMPVarRow T54[]; // Site survey table, 802.11a
extern const OvSNMPVarRow T55[]; // Site survey table, 802.11g
extern const OvSNMPVarRow T56[]; // VLAN switch
extern const OvSNMPVarRow T57[]; // Multi-SSID primary settings, 802.11a
extern const OvSNMPVarRow T58[]; // Multi-SSID primary settings, 802.11g
extern const OvSNMPVarRow T59[]; // Additional SSID 1, 802.11a
extern const OvSNMPVarRow T60[]; // Additional SSID 1, 802.11g
extern const OvSNMPVarRow T61[]; // Additional SSID 2, 802.11a
extern const OvSNMPVarRow T62[]; // Additional SSID 2, 802.11g
extern const OvSNMPVarRow T63[]; // Additional SSID 3, 802.11a
extern const OvSNMPVarRow T64[]; // Additional SSID 3, 802.11g
extern const OvSNMPVarRow T65[]; // VLAN and additional SSID states as seen by the wireless window
extern const OvSNMPVarRow T66[]; // AP mode and super mode, both bands (multi-SSID preconditions)
extern const OvSNMPVarRow T67[]; // Additional SSID key indexes, both bands
extern const OvSNMPVarRow T68[]; // Rogue AP detection filters
extern const OvSNMPVarRow T69[]; // Rogue AP detection trigger
extern const OvSNMPVarRow T70[]; // Add detected AP to the AP list
extern const OvSNMPVarRow T71[]; // Delete detected AP from the result
extern const OvSNMPVarRow T72[]; // Rogue AP detection result table
extern const OvSNMPVarRow T73[]; // Delete AP from the AP list
extern const OvSNMPVarRow T74[]; // Known AP list table
extern const OvSNMPVarRow T75[]; // Log settings
extern const OvSNMPVarRow T76[]; // Log fetch trigger
extern const OvSNMPVarRow T77[]; // Clear local log
extern const OvSNMPVarRow T78[]; // Log table
extern const OvSNMPVarRow T79[]; // Temperature

// A table with the list mode and key count that windows build their lists with.
struct TableInfo {
    int number;
    const char* title;
    const OvSNMPVarRow* rows;
    OvListMode mode;
    int keyCount;
};

// T1 .. T79 in number order.
std::span<const TableInfo> tables();

// The variables whose values are secrets (WEP keys, pass phrases, the RADIUS
// secret, additional SSID keys, the administrator password), as OIDs without
// instance. Their values never reach a trace or a log.
std::span<const char* const> secretVariables();

// True when the OID is one of the secret variables or lies below one.
bool isSecret(const OvOid& oid);

} // namespace mib
