// The device's option lists: coded values of its enumerated variables and the
// labels the user sees, built once at start-up and shared by every variable list.
#pragma once

#include "OvOptionList.h"

namespace mib {

// 0 "Disable", 1 "Enable"
extern const OvOptionList optDisableEnable;
// 1 "Static (Manual)", 2 "Dynamic (DHCP)"
extern const OvOptionList optGetIPFrom;
// 0 "nothing", 1 "reboot"
extern const OvOptionList optReboot;
// 1 "Access Point", 2 "WDS with AP", 3 "WDS", 4 "AP Repeater", 5 "AP Client"
extern const OvOptionList optAPMode;
// 1 "Super Mode without Turbo", 2 "Super Mode with Dynamic Turbo", 3 "Disable"
extern const OvOptionList optSuperMode;
// 1 "Full", 2 "Half(-3dB)", 3 "Quarter(-6dB)", 4 "Eighth(-9dB)", 5 "Min"
extern const OvOptionList optTransmitPower;
// 0 "Off", 1 "On"
extern const OvOptionList optOffOn;
// 1 "Disable", 2 "Accept", 3 "Reject"
extern const OvOptionList optAccessControl;
// 1 "Enable", 0 "Disable"
extern const OvOptionList optEnableDisable;
// 1 "WEP", 2 "Auto", 3 "AES", 4 "TKIP"
extern const OvOptionList optCipher;
// 1 "Open System", 2 "Shared Key", 3 "Open System / Shared Key", 4 "802.1x", 5 "WPA-EAP", 6
// "WPA-PSK", 7 "WPA2-EAP", 8 "WPA2-PSK", 9 "WPA-Auto-EAP", 10 "WPA-Auto-PSK"
extern const OvOptionList optAuthentication;
// 1 "First", 2 "Second", 3 "Third", 4 "Fourth"
extern const OvOptionList optKeyIndex;
// 0 "Nothing", 1 "Get"
extern const OvOptionList optLeaseGet;
// 1 "Connect", 2 "Get", 3 "Put", 4 "Nothing"
extern const OvOptionList optTftpCommand;
// 1 "1 Min", 2 "3 Mins", 3 "5 Mins", 4 "10 Mins", 5 "15 Mins", 6 "Never"
extern const OvOptionList optIdleTimeout;
// 0 "disabled", 1 "enabled"
extern const OvOptionList optDisabledEnabled;
// 1 "Manual", 2 "Dynamic"
extern const OvOptionList optAddressMode;
// 0 "Nothing", 1 "acquire"
extern const OvOptionList optAcquire;
// 1 "A", 2 "G"
extern const OvOptionList optBand;
// 0 "OFF", 1 "ON"
extern const OvOptionList optOffOnUpper;
// 0 "nothing", 1 "refresh"
extern const OvOptionList optRefresh;
// 1 "None", 2 "Open System", 3 "Shared Key"
extern const OvOptionList optSSIDAuthentication;
// 1 "AP BSS", 2 "Ad Hoc", 3 "Both"
extern const OvOptionList optNetworkType;
// 0 "nothing", 1 "detect"
extern const OvOptionList optDetect;
// 0 "OFF", 1 "WEP", 2 "WPA-EAP", 3 "WPA-PSK", 4 "WPA2-EAP", 5 "WPA2-PSK", 6 "WPA-Auto-EAP", 7
// "WPA-Auto-PSK"
extern const OvOptionList optRogueSecurity;
// 0 "a", 2 "b", 3 "g"
extern const OvOptionList optRogueBand;
// 0 "OFF", 1 "WEP", 2 "WPA-Enterprise", 3 "WPA-Personal", 4 "WPA2-Enterprise", 5 "WPA2-Personal", 6
// "WPA-Auto-Enterprise", 7 "WPA-Auto-Personal"
extern const OvOptionList optKnownAPSecurity;
// 0 "disable", 1 "enable"
extern const OvOptionList optLowerDisableEnable;
// 0 "nothing", 1 "get"
extern const OvOptionList optLogGet;
// 0 "nothing", 1 "clear"
extern const OvOptionList optLogClear;

} // namespace mib
