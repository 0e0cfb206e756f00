#include "DeviceOptions.h"

namespace mib {

const OvOptionList optDisableEnable{{0, "Disable"}, {1, "Enable"}};
const OvOptionList optGetIPFrom{{1, "Static (Manual)"}, {2, "Dynamic (DHCP)"}};
const OvOptionList optReboot{{0, "nothing"}, {1, "reboot"}};
const OvOptionList optAPMode{
    {1, "Access Point"}, {2, "WDS with AP"}, {3, "WDS"}, {4, "AP Repeater"}, {5, "AP Client"}};
const OvOptionList optSuperMode{
    {1, "Super Mode without Turbo"}, {2, "Super Mode with Dynamic Turbo"}, {3, "Disable"}};
const OvOptionList optTransmitPower{
    {1, "Full"}, {2, "Half(-3dB)"}, {3, "Quarter(-6dB)"}, {4, "Eighth(-9dB)"}, {5, "Min"}};
const OvOptionList optOffOn{{0, "Off"}, {1, "On"}};
const OvOptionList optAccessControl{{1, "Disable"}, {2, "Accept"}, {3, "Reject"}};
const OvOptionList optEnableDisable{{1, "Enable"}, {0, "Disable"}};
const OvOptionList optCipher{{1, "WEP"}, {2, "Auto"}, {3, "AES"}, {4, "TKIP"}};
const OvOptionList optAuthentication{
    {1, "Open System"},  {2, "Shared Key"}, {3, "Open System / Shared Key"},
    {4, "802.1x"},       {5, "WPA-EAP"},    {6, "WPA-PSK"},
    {7, "WPA2-EAP"},     {8, "WPA2-PSK"},   {9, "WPA-Auto-EAP"},
    {10, "WPA-Auto-PSK"}};
const OvOptionList optKeyIndex{{1, "First"}, {2, "Second"}, {3, "Third"}, {4, "Fourth"}};
const OvOptionList optLeaseGet{{0, "Nothing"}, {1, "Get"}};
const OvOptionList optTftpCommand{{1, "Connect"}, {2, "Get"}, {3, "Put"}, {4, "Nothing"}};
const OvOptionList optIdleTimeout{{1, "1 Min"},   {2, "3 Mins"},  {3, "5 Mins"},
                                  {4, "10 Mins"}, {5, "15 Mins"}, {6, "Never"}};
const OvOptionList optDisabledEnabled{{0, "disabled"}, {1, "enabled"}};
const OvOptionList optAddressMode{{1, "Manual"}, {2, "Dynamic"}};
const OvOptionList optAcquire{{0, "Nothing"}, {1, "acquire"}};
const OvOptionList optBand{{1, "A"}, {2, "G"}};
const OvOptionList optOffOnUpper{{0, "OFF"}, {1, "ON"}};
const OvOptionList optRefresh{{0, "nothing"}, {1, "refresh"}};
const OvOptionList optSSIDAuthentication{{1, "None"}, {2, "Open System"}, {3, "Shared Key"}};
const OvOptionList optNetworkType{{1, "AP BSS"}, {2, "Ad Hoc"}, {3, "Both"}};
const OvOptionList optDetect{{0, "nothing"}, {1, "detect"}};
const OvOptionList optRogueSecurity{{0, "OFF"},          {1, "WEP"},         {2, "WPA-EAP"},
                                    {3, "WPA-PSK"},      {4, "WPA2-EAP"},    {5, "WPA2-PSK"},
                                    {6, "WPA-Auto-EAP"}, {7, "WPA-Auto-PSK"}};
const OvOptionList optRogueBand{{0, "a"}, {2, "b"}, {3, "g"}};
const OvOptionList optKnownAPSecurity{{0, "OFF"},
                                      {1, "WEP"},
                                      {2, "WPA-Enterprise"},
                                      {3, "WPA-Personal"},
                                      {4, "WPA2-Enterprise"},
                                      {5, "WPA2-Personal"},
                                      {6, "WPA-Auto-Enterprise"},
                                      {7, "WPA-Auto-Personal"}};
const OvOptionList optLowerDisableEnable{{0, "disable"}, {1, "enable"}};
const OvOptionList optLogGet{{0, "nothing"}, {1, "get"}};
const OvOptionList optLogClear{{0, "nothing"}, {1, "clear"}};

} // namespace mib
