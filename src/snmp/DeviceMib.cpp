#include "DeviceMib.h"

#include "DeviceOptions.h"

// The private root; string literal concatenation keeps each row on one line.
#define E "1.3.6.1.4.1.48213.10.37.14"

namespace mib {

// clang-format off
// MIB-II system group. SVT_SV keys 0
const OvSNMPVarRow T1[] = {
    {"1.3.6.1.2.1.1.1", "System Description", ovtype::displaystr, ovaccess::readonly},
    {"1.3.6.1.2.1.1.2", "System Object ID", ovtype::objectid, ovaccess::readonly},
    {"1.3.6.1.2.1.1.3", "System Uptime", ovtype::timeticks, ovaccess::readonly},
    {"1.3.6.1.2.1.1.4", "System Contact", ovtype::displaystr, ovaccess::readwrite},
    {"1.3.6.1.2.1.1.5", "System Name", ovtype::displaystr, ovaccess::readwrite},
    {"1.3.6.1.2.1.1.6", "System Location", ovtype::displaystr, ovaccess::readwrite},
    {},
};

// Basic wireless, both bands. MVT_SV keys 0
const OvSNMPVarRow T2[] = {
    {E ".1.1.1.1.1", "hSSID", ovtype::displaystr, ovaccess::invalid},
    {E ".1.1.1.2.1", "hSSIDBroadcast", ovtype::integer, ovaccess::invalid, &optDisableEnable},
    {E ".1.1.1.3.1", "hChannel", ovtype::integer, ovaccess::invalid},
    {E ".1.1.1.4.1", "hChannelList", ovtype::displaystr, ovaccess::invalid},
    {E ".2.3.1.1.1", "adFrequency", ovtype::displaystr, ovaccess::readonly},
    {E ".1.1.1.1.2", "hSSID", ovtype::displaystr, ovaccess::invalid},
    {E ".1.1.1.2.2", "hSSIDBroadcast", ovtype::integer, ovaccess::invalid, &optDisableEnable},
    {E ".1.1.1.3.2", "hChannel", ovtype::integer, ovaccess::invalid},
    {E ".1.1.1.4.2", "hChannelList", ovtype::displaystr, ovaccess::invalid},
    {E ".2.3.1.1.2", "adFrequency", ovtype::displaystr, ovaccess::readonly},
    {},
};

// LAN addressing and restart. SVT_SV keys 0
const OvSNMPVarRow T3[] = {
    {E ".1.2.1", "hGetIPFrom", ovtype::integer, ovaccess::readwrite, &optGetIPFrom},
    {E ".1.2.2", "hIPAddress", ovtype::ipaddress, ovaccess::readwrite},
    {E ".1.2.3", "hSubnetMask", ovtype::ipaddress, ovaccess::readwrite},
    {E ".1.2.4", "hDefaultGateway", ovtype::ipaddress, ovaccess::readwrite},
    {E ".3.2.1", "sysRestart", ovtype::integer, ovaccess::readwrite, &optReboot},
    {},
};

// AP mode and remote AP addresses, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T4[] = {
    {E ".2.1.1.1.1", "adAPMode", ovtype::integer, ovaccess::readwrite, &optAPMode},
    {E ".2.2.1.2.1.1", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.1.2", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.1.3", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.1.4", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.1.5", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.1.6", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.1.7", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.1.8", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {},
};

// AP mode and remote AP addresses, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T5[] = {
    {E ".2.1.1.1.2", "adAPMode", ovtype::integer, ovaccess::readwrite, &optAPMode},
    {E ".2.2.1.2.2.1", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.2.2", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.2.3", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.2.4", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.2.5", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.2.6", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.2.7", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.2.1.2.2.8", "adPtPRemoteAPMACAddress", ovtype::macaddress, ovaccess::readwrite},
    {},
};

// Radio performance, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T6[] = {
    {E ".2.3.1.11.1", "adSuperMode", ovtype::integer, ovaccess::readwrite, &optSuperMode},
    {E ".2.3.1.1.1", "adFrequency", ovtype::displaystr, ovaccess::readonly},
    {E ".2.3.1.2.1", "adChannel", ovtype::integer, ovaccess::readwrite},
    {E ".2.3.1.3.1", "adChannelList", ovtype::displaystr, ovaccess::readonly},
    {E ".2.3.1.4.1", "adDataRate", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.3.1.5.1", "adDataRateList", ovtype::displaystr, ovaccess::readonly},
    {E ".2.3.1.6.1", "adBeaconInterval", ovtype::integer, ovaccess::readwrite},
    {E ".2.3.1.7.1", "adDTIM", ovtype::integer, ovaccess::readwrite},
    {E ".2.3.1.8.1", "adFragmentLength", ovtype::integer, ovaccess::readwrite},
    {E ".2.3.1.9.1", "adRTSLength", ovtype::integer, ovaccess::readwrite},
    {E ".2.3.1.10.1", "adTransmitPower", ovtype::integer, ovaccess::readwrite, &optTransmitPower},
    {E ".2.3.1.12.1", "adRadioWave", ovtype::integer, ovaccess::readwrite, &optOffOn},
    {},
};

// Short preamble, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T7[] = {
    {E ".2.3.1.17.1", "advancedPerformanceShortPreamble", ovtype::integer, ovaccess::readwrite, &optDisableEnable},
    {},
};

// Super mode, both bands. MVT_SV keys 0
const OvSNMPVarRow T8[] = {
    {E ".2.3.1.11.1", "adSuperModea", ovtype::integer, ovaccess::readwrite, &optSuperMode},
    {E ".2.3.1.11.2", "adSuperModeg", ovtype::integer, ovaccess::readwrite, &optSuperMode},
    {},
};

// Radio performance, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T9[] = {
    {E ".2.3.1.11.2", "adSuperMode", ovtype::integer, ovaccess::readwrite, &optSuperMode},
    {E ".2.3.1.1.2", "adFrequency", ovtype::displaystr, ovaccess::readonly},
    {E ".2.3.1.2.2", "adChannel", ovtype::integer, ovaccess::readwrite},
    {E ".2.3.1.3.2", "adChannelList", ovtype::displaystr, ovaccess::readonly},
    {E ".2.3.1.4.2", "adDataRate", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.3.1.5.2", "adDataRateList", ovtype::displaystr, ovaccess::readonly},
    {E ".2.3.1.6.2", "adBeaconInterval", ovtype::integer, ovaccess::readwrite},
    {E ".2.3.1.7.2", "adDTIM", ovtype::integer, ovaccess::readwrite},
    {E ".2.3.1.8.2", "adFragmentLength", ovtype::integer, ovaccess::readwrite},
    {E ".2.3.1.9.2", "adRTSLength", ovtype::integer, ovaccess::readwrite},
    {E ".2.3.1.10.2", "adTransmitPower", ovtype::integer, ovaccess::readwrite, &optTransmitPower},
    {E ".2.3.1.12.2", "adRadioWave", ovtype::integer, ovaccess::readwrite, &optOffOn},
    {},
};

// Short preamble, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T10[] = {
    {E ".2.3.1.17.2", "advancedPerformanceShortPreamble", ovtype::integer, ovaccess::readwrite, &optDisableEnable},
    {},
};

// Automatic channel scan, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T11[] = {
    {E ".2.3.1.14.1", "adAutoChannelScan", ovtype::integer, ovaccess::readwrite, &optDisableEnable},
    {},
};

// Automatic channel scan, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T12[] = {
    {E ".2.3.1.14.2", "adAutoChannelScan", ovtype::integer, ovaccess::readwrite, &optDisableEnable},
    {},
};

// Extended range, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T13[] = {
    {E ".2.3.1.99.1", "adXR", ovtype::integer, ovaccess::readwrite, &optDisableEnable},
    {},
};

// Extended range, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T14[] = {
    {E ".2.3.1.99.2", "adXR", ovtype::integer, ovaccess::readwrite, &optDisableEnable},
    {},
};

// Access control MAC list, 802.11a. MVT_FMV keys 1
const OvSNMPVarRow T15[] = {
    {"", "No.", ovtype::integer, ovaccess::notaccess},
    {E ".2.4.2.1.2.1", "MAC Address", ovtype::macaddress, ovaccess::readwrite},
    {},
};

// Access control MAC list, 802.11g. MVT_FMV keys 1
const OvSNMPVarRow T16[] = {
    {"", "No.", ovtype::integer, ovaccess::notaccess},
    {E ".2.4.2.1.2.2", "MAC Address", ovtype::macaddress, ovaccess::readwrite},
    {},
};

// Access control and station isolation settings, both bands. MVT_SV keys 0
const OvSNMPVarRow T17[] = {
    {E ".2.4.1.1.1.1", "adAccSettingWirelessAccessControl", ovtype::integer, ovaccess::invalid, &optAccessControl},
    {E ".2.4.3.1.1.1", "adInternalStationConnection", ovtype::integer, ovaccess::invalid, &optEnableDisable},
    {E ".2.4.3.1.2.1", "adEthernet2WLANAccess", ovtype::integer, ovaccess::invalid, &optEnableDisable},
    {E ".2.4.3.1.3.1", "adInternaStationConnectionBetweenag", ovtype::integer, ovaccess::invalid, &optEnableDisable},
    {E ".2.4.1.1.1.2", "adAccSettingWirelessAccessControl", ovtype::integer, ovaccess::invalid, &optAccessControl},
    {E ".2.4.3.1.1.2", "adInternalStationConnection", ovtype::integer, ovaccess::invalid, &optEnableDisable},
    {E ".2.4.3.1.2.2", "adEthernet2WLANAccess", ovtype::integer, ovaccess::invalid, &optEnableDisable},
    {E ".2.4.3.1.3.2", "adInternaStationConnectionBetweenag", ovtype::integer, ovaccess::invalid, &optEnableDisable},
    {},
};

// Enterprise security (cipher, RADIUS), 802.11a. MVT_SV keys 0
const OvSNMPVarRow T18[] = {
    {E ".2.5.1.1.5.1", "adSecCipherType", ovtype::integer, ovaccess::readwrite, &optCipher},
    {E ".2.5.2.4.0", "Sec RADIUS Port", ovtype::integer, ovaccess::readwrite},
    {E ".2.5.1.1.6.1", "adSecGroupKeyUpdateInterval", ovtype::integer, ovaccess::readwrite},
    {E ".2.5.2.3.0", "Sec RADIUS Server", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.5.2.5.0", "Sec RADIUS Secret", ovtype::displaystr, ovaccess::readwrite},
    {},
};

// Enterprise security (cipher, RADIUS), 802.11g. MVT_SV keys 0
const OvSNMPVarRow T19[] = {
    {E ".2.5.1.1.5.2", "adSecCipherType", ovtype::integer, ovaccess::readwrite, &optCipher},
    {E ".2.5.2.4.0", "Sec RADIUS Port", ovtype::integer, ovaccess::readwrite},
    {E ".2.5.1.1.6.2", "adSecGroupKeyUpdateInterval", ovtype::integer, ovaccess::readwrite},
    {E ".2.5.2.3.0", "Sec RADIUS Server", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.5.2.5.0", "Sec RADIUS Secret", ovtype::displaystr, ovaccess::readwrite},
    {},
};

// Personal security (cipher, pass phrase), 802.11a. MVT_SV keys 0
const OvSNMPVarRow T20[] = {
    {E ".2.5.1.1.5.1", "adSecCipherType", ovtype::integer, ovaccess::readwrite, &optCipher},
    {E ".2.5.1.1.6.1", "adSecGroupKeyUpdateInterval", ovtype::integer, ovaccess::readwrite},
    {E ".2.5.1.1.4.1", "adSecPassPhrase", ovtype::displaystr, ovaccess::readwrite},
    {},
};

// Personal security (cipher, pass phrase), 802.11g. MVT_SV keys 0
const OvSNMPVarRow T21[] = {
    {E ".2.5.1.1.5.2", "adSecCipherType", ovtype::integer, ovaccess::readwrite, &optCipher},
    {E ".2.5.1.1.6.2", "adSecGroupKeyUpdateInterval", ovtype::integer, ovaccess::readwrite},
    {E ".2.5.1.1.4.2", "adSecPassPhrase", ovtype::displaystr, ovaccess::readwrite},
    {},
};

// Authentication, WEP and keys, both bands. MVT_SV keys 0
const OvSNMPVarRow T22[] = {
    {E ".2.5.1.1.1.1", "adSecAuthentication-a", ovtype::integer, ovaccess::invalid, &optAuthentication},
    {E ".2.5.1.1.2.1", "adSecEncryption-a", ovtype::integer, ovaccess::invalid, &optDisableEnable},
    {E ".2.5.1.1.3.1", "adSecValidKey-a", ovtype::integer, ovaccess::invalid, &optKeyIndex},
    {E ".2.5.1.1.1.2", "adSecAuthentication-g", ovtype::integer, ovaccess::invalid, &optAuthentication},
    {E ".2.5.1.1.2.2", "adSecEncryption-g", ovtype::integer, ovaccess::invalid, &optDisableEnable},
    {E ".2.5.1.1.3.2", "adSecValidKey-g", ovtype::integer, ovaccess::invalid, &optKeyIndex},
    {E ".2.5.3.1.1.1.1", "adSecKey-80211a-1", ovtype::displaystr, ovaccess::invalid},
    {E ".2.5.3.1.1.1.2", "adSecKey-80211a-2", ovtype::displaystr, ovaccess::invalid},
    {E ".2.5.3.1.1.1.3", "adSecKey-80211a-3", ovtype::displaystr, ovaccess::invalid},
    {E ".2.5.3.1.1.1.4", "adSecKey-80211a-4", ovtype::displaystr, ovaccess::invalid},
    {E ".2.5.3.1.1.2.1", "adSecKey-80211g-1", ovtype::displaystr, ovaccess::invalid},
    {E ".2.5.3.1.1.2.2", "adSecKey-80211g-2", ovtype::displaystr, ovaccess::invalid},
    {E ".2.5.3.1.1.2.3", "adSecKey-80211g-3", ovtype::displaystr, ovaccess::invalid},
    {E ".2.5.3.1.1.2.4", "adSecKey-80211g-4", ovtype::displaystr, ovaccess::invalid},
    {},
};

// Grouping. SVT_SV keys 0
const OvSNMPVarRow T23[] = {
    {E ".2.6.1", "LoadBalance", ovtype::integer, ovaccess::readwrite, &optDisableEnable},
    {E ".2.6.2", "UserLimit(0-64)", ovtype::integer, ovaccess::readwrite},
    {E ".2.6.3", "LinkIntegrate", ovtype::integer, ovaccess::readwrite, &optDisableEnable},
    {E ".2.6.4", "EthernetLinkStatus", ovtype::displaystr, ovaccess::readonly},
    {},
};

// DHCP dynamic lease table. MVT_FMV keys 1
const OvSNMPVarRow T24[] = {
    {E ".2.7.4.1.1.1", "Index", ovtype::integer, ovaccess::notaccess},
    {E ".2.7.4.1.1.2", "Current Dynamic MAC", ovtype::macaddress, ovaccess::readonly},
    {E ".2.7.4.1.1.3", "Current Dynamic Assigned IP", ovtype::ipaddress, ovaccess::readonly},
    {E ".2.7.4.1.1.4", "Current Dynamic Lease", ovtype::integer, ovaccess::readonly},
    {},
};

// DHCP static lease table. MVT_FMV keys 1
const OvSNMPVarRow T25[] = {
    {E ".2.7.4.2.1.1", "Index", ovtype::integer, ovaccess::notaccess},
    {E ".2.7.4.2.1.2", "Current Static MAC", ovtype::macaddress, ovaccess::readonly},
    {E ".2.7.4.2.1.3", "Current Static Assigned IP", ovtype::ipaddress, ovaccess::readonly},
    {},
};

// DHCP lease table triggers. SVT_SV keys 0
const OvSNMPVarRow T26[] = {
    {E ".2.7.4.3.1", "DynamicGet", ovtype::integer, ovaccess::readwrite, &optLeaseGet},
    {E ".2.7.4.3.2", "StaticGet", ovtype::integer, ovaccess::readwrite, &optLeaseGet},
    {},
};

// Administrator account. SVT_SV keys 0
const OvSNMPVarRow T27[] = {
    {E ".3.1.1", "UserName", ovtype::displaystr, ovaccess::readwrite},
    {E ".3.1.2", "Password", ovtype::displaystr, ovaccess::readwrite},
    {},
};

// Factory default. SVT_SV keys 0
const OvSNMPVarRow T28[] = {
    {E ".3.2.2", "FactoryDefault", ovtype::integer, ovaccess::readwrite, &optReboot},
    {},
};

// Firmware transfer. SVT_SV keys 0
const OvSNMPVarRow T29[] = {
    {E ".3.3.1", "remotesrvip", ovtype::ipaddress, ovaccess::readwrite},
    {E ".3.3.2", "remotefilename", ovtype::displaystr, ovaccess::readwrite},
    {},
};

// Configuration file transfer. SVT_SV keys 0
const OvSNMPVarRow T30[] = {
    {E ".3.3.1", "remotesrvip", ovtype::ipaddress, ovaccess::readwrite},
    {E ".3.3.2", "remotefilename", ovtype::displaystr, ovaccess::readwrite},
    {E ".3.3.3", "localfilename", ovtype::displaystr, ovaccess::readwrite},
    {},
};

// Transfer command. SVT_SV keys 0
const OvSNMPVarRow T31[] = {
    {E ".3.3.5", "tftpcommand", ovtype::integer, ovaccess::readwrite, &optTftpCommand},
    {},
};

// Restart. SVT_SV keys 0
const OvSNMPVarRow T32[] = {
    {E ".3.2.1", "Restart", ovtype::integer, ovaccess::readwrite, &optReboot},
    {},
};

// Miscellaneous. SVT_SV keys 0
const OvSNMPVarRow T33[] = {
    {E ".3.4.1", "telnet", ovtype::integer, ovaccess::readwrite, &optDisableEnable},
    {E ".3.4.2", "timeout", ovtype::integer, ovaccess::readwrite, &optIdleTimeout},
    {E ".3.4.4", "snmp", ovtype::integer, ovaccess::readwrite, &optDisabledEnabled},
    {},
};

// Device information, LAN. SVT_SV keys 0
const OvSNMPVarRow T34[] = {
    {E ".4.1.1.1", "Firmware Version", ovtype::displaystr, ovaccess::readonly},
    {E ".4.1.1.2", "MAC Address", ovtype::macaddress, ovaccess::readonly},
    {E ".4.1.1.3", "Get IP From", ovtype::integer, ovaccess::readonly, &optAddressMode},
    {E ".4.1.1.4", "IP Address", ovtype::ipaddress, ovaccess::readonly},
    {E ".4.1.1.5", "Subnet Mask", ovtype::ipaddress, ovaccess::readonly},
    {E ".4.1.1.6", "Default Gateway", ovtype::ipaddress, ovaccess::readonly},
    {},
};

// Device information, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T35[] = {
    {E ".4.1.2.1.1.1", "stSSID", ovtype::displaystr, ovaccess::readonly},
    {E ".4.1.2.1.2.1", "stChannel", ovtype::integer, ovaccess::readonly},
    {E ".4.1.2.1.4.1", "stDataRate", ovtype::displaystr, ovaccess::readonly},
    {E ".4.1.2.1.5.1", "stSecLevelAuth", ovtype::displaystr, ovaccess::readonly},
    {},
};

// Device information, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T36[] = {
    {E ".4.1.2.1.1.2", "stSSID", ovtype::displaystr, ovaccess::readonly},
    {E ".4.1.2.1.2.2", "stChannel", ovtype::integer, ovaccess::readonly},
    {E ".4.1.2.1.4.2", "stDataRate", ovtype::displaystr, ovaccess::readonly},
    {E ".4.1.2.1.5.2", "stSecLevelAuth", ovtype::displaystr, ovaccess::readonly},
    {},
};

// Traffic statistics, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T37[] = {
    {E ".4.3.1.1.1.1", "statusTrafficStatisticsThroughPutTransmitSuccessRate", ovtype::integer, ovaccess::readonly},
    {E ".4.3.1.1.2.1", "statusTrafficStatisticsThroughPutTransmitRetryRate", ovtype::integer, ovaccess::readonly},
    {E ".4.3.1.1.3.1", "statusTrafficStatisticsThroughPutReceiveSuccessRate", ovtype::integer, ovaccess::readonly},
    {E ".4.3.1.1.4.1", "statusTrafficStatisticsThroughPutReceiveDuplicateRate", ovtype::integer, ovaccess::readonly},
    {E ".4.3.1.1.5.1", "statusTrafficStatisticsThroughPutRTSSuccessCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.6.1", "statusTrafficStatisticsThroughPutRTSFailureCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.7.1", "statusTrafficStatisticsTransmittedFrameCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.8.1", "statusTrafficStatisticsMulticastTransmittedFrameCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.9.1", "statusTrafficStatisticsTransmittedErrorCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.10.1", "statusTrafficStatisticsTransmittedTotalRetryCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.11.1", "statusTrafficStatisticsTransmittedMultipleRetryCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.12.1", "statusTrafficStatisticsReceivedFrameCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.13.1", "statusTrafficStatisticsMulticastReceivedFrameCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.14.1", "statusTrafficStatisticsReceivedFrameFCSErrorCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.15.1", "statusTrafficStatisticsReceivedFrameDuplicateCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.16.1", "statusTrafficStatisticsAckRcvFailureCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.17.1", "statusTrafficStatisticsWEPExcludedFrameCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.18.1", "statusTrafficStatisticsWEPICVErrorCount", ovtype::counter, ovaccess::readonly},
    {},
};

// Traffic statistics, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T38[] = {
    {E ".4.3.1.1.1.2", "TrSuccessRate", ovtype::integer, ovaccess::readonly},
    {E ".4.3.1.1.2.2", "TrRetryRate", ovtype::integer, ovaccess::readonly},
    {E ".4.3.1.1.3.2", "RxSuccessRate", ovtype::integer, ovaccess::readonly},
    {E ".4.3.1.1.4.2", "RxDuplicateRate", ovtype::integer, ovaccess::readonly},
    {E ".4.3.1.1.5.2", "RTSSuccessCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.6.2", "RTSFailureCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.7.2", "TrFrameCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.8.2", "MuticastTrFrameCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.9.2", "TrErrorCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.10.2", "TrTotalRetryCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.11.2", "TrMutiRetryCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.12.2", "RxFrameCount", ovtype::integer, ovaccess::readonly},
    {E ".4.3.1.1.13.2", "MuticastRxFrameCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.14.2", "RxFrameFCSErrorCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.15.2", "RxFrameDulicateCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.16.2", "AckRxFailureCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.17.2", "WEPExcludedFrameCount", ovtype::counter, ovaccess::readonly},
    {E ".4.3.1.1.18.2", "WEPICVErrorCount", ovtype::counter, ovaccess::readonly},
    {},
};

// Client table trigger, both bands. MVT_SV keys 1
const OvSNMPVarRow T39[] = {
    {E ".4.5.1.1.1.1", "adGetClient", ovtype::integer, ovaccess::readwrite, &optAcquire},
    {E ".4.5.1.1.1.2", "adGetClient", ovtype::integer, ovaccess::readwrite, &optAcquire},
    {},
};

// Client table. MVT_UMV keys 2
const OvSNMPVarRow T40[] = {
    {"", "BandIndex", ovtype::integer, ovaccess::notaccess},
    {E ".4.5.2.1.1", "InfoIndex", ovtype::integer, ovaccess::notaccess},
    {E ".4.5.2.1.2", "MAC", ovtype::macaddress, ovaccess::readonly},
    {E ".4.5.2.1.3", "Band", ovtype::integer, ovaccess::readonly, &optBand},
    {E ".4.5.2.1.4", "Auth", ovtype::integer, ovaccess::readonly, &optAuthentication},
    {E ".4.5.2.1.5", "RSSI", ovtype::integer, ovaccess::readonly},
    {E ".4.5.2.1.8", "Power Saving Mode", ovtype::integer, ovaccess::readonly, &optOffOn},
    {},
};

// Front-panel LEDs. SVT_SV keys 0
const OvSNMPVarRow T41[] = {
    {E ".4.4", "stLED", ovtype::integer, ovaccess::readonly},
    {},
};

// DHCP server switch. SVT_SV keys 0
const OvSNMPVarRow T42[] = {
    {E ".2.7.1", "Dynamic IP Function", ovtype::integer, ovaccess::readwrite, &optDisableEnable},
    {},
};

// DHCP dynamic pool. SVT_SV keys 0
const OvSNMPVarRow T43[] = {
    {E ".2.7.2.1", "Dynamic IP Start", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.7.2.2", "Dynamic Range", ovtype::integer, ovaccess::readwrite},
    {E ".2.7.2.3", "Dynamic Mask", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.7.2.4", "Dynamic Gateway", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.7.2.5", "Dynamic Wins", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.7.2.6", "Dynamic Dns", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.7.2.7", "Dynamic Domain", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.7.2.8", "Dynamic Lease", ovtype::integer, ovaccess::readwrite},
    {E ".2.7.2.9", "Dynamic Status", ovtype::integer, ovaccess::readwrite, &optOffOnUpper},
    {},
};

// Firmware version. SVT_SV keys 0
const OvSNMPVarRow T44[] = {
    {E ".4.1.1.1", "stFirmwareVersion", ovtype::displaystr, ovaccess::readonly},
    {},
};

// DHCP static pool table. MVT_UMV keys 1
const OvSNMPVarRow T45[] = {
    {"", "Index", ovtype::integer, ovaccess::notaccess},
    {E ".2.7.3.1.2", "IP", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.7.3.1.3", "MAC", ovtype::macaddress, ovaccess::readwrite},
    {E ".2.7.3.1.4", "Mask", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.7.3.1.5", "Gateway", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.7.3.1.6", "DNS", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.7.3.1.7", "Wins", ovtype::ipaddress, ovaccess::readwrite},
    {E ".2.7.3.1.8", "Domain", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.7.3.1.9", "Status", ovtype::integer, ovaccess::readwrite, &optOffOnUpper},
    {},
};

// Device IP address (for DHCP checks). SVT_SV keys 0
const OvSNMPVarRow T46[] = {
    {E ".1.2.2", "hIPAddress", ovtype::ipaddress, ovaccess::readwrite},
    {},
};

// Client information capability. SVT_SV keys 0
const OvSNMPVarRow T47[] = {
    {E ".99.1.1.7", "clientinfosupported", ovtype::integer, ovaccess::readonly},
    {},
};

// Country code. SVT_SV keys 0
const OvSNMPVarRow T48[] = {
    {E ".99.1.1.6", "countrycode", ovtype::displaystr, ovaccess::readonly},
    {},
};

// Turbo mode capability, both bands. MVT_SV keys 0
const OvSNMPVarRow T49[] = {
    {E ".99.1.1.2.1", "turbomodes", ovtype::integer, ovaccess::readonly},
    {E ".99.1.1.2.2", "turbomodes", ovtype::integer, ovaccess::readonly},
    {},
};

// AP mode capability. SVT_SV keys 0
const OvSNMPVarRow T50[] = {
    {E ".99.1.1.1", "apmodes", ovtype::integer, ovaccess::readonly},
    {},
};

// Multi-SSID capability. SVT_SV keys 0
const OvSNMPVarRow T51[] = {
    {E ".99.1.1.9", "mssidsupported", ovtype::integer, ovaccess::readonly},
    {},
};

// Site survey trigger, 802.11a. MVT_SV keys 0: the band is the last arc, as
// the wireless window sends it.
const OvSNMPVarRow T52[] = {
    {E ".2.8.1.1.1", "adRefresh", ovtype::integer, ovaccess::readwrite, &optRefresh},
    {},
};

// Site survey trigger, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T53[] = {
    {E ".2.8.1.1.2", "adRefresh", ovtype::integer, ovaccess::readwrite, &optRefresh},
    {},
};

// Site survey table, 802.11a. MVT_UMV keys 1
const OvSNMPVarRow T54[] = {
    {"", "Index", ovtype::integer, ovaccess::notaccess},
    {E ".2.8.2.1.2.1", " Type", ovtype::displaystr, ovaccess::readonly},
    {E ".2.8.2.1.3.1", " Channel", ovtype::integer, ovaccess::readonly},
    {E ".2.8.2.1.4.1", " Signal (%)", ovtype::integer, ovaccess::readonly},
    {E ".2.8.2.1.5.1", " BSSID", ovtype::macaddress, ovaccess::readonly},
    {E ".2.8.2.1.6.1", " Security ", ovtype::displaystr, ovaccess::readonly},
    {E ".2.8.2.1.7.1", " SSID", ovtype::displaystr, ovaccess::readonly},
    {},
};

// Site survey table, 802.11g. MVT_UMV keys 1
const OvSNMPVarRow T55[] = {
    {"", "Index", ovtype::integer, ovaccess::notaccess},
    {E ".2.8.2.1.2.2", " Type", ovtype::displaystr, ovaccess::readonly},
    {E ".2.8.2.1.3.2", " Channel", ovtype::integer, ovaccess::readonly},
    {E ".2.8.2.1.4.2", " Signal (%)", ovtype::integer, ovaccess::readonly},
    {E ".2.8.2.1.5.2", " BSSID", ovtype::macaddress, ovaccess::readonly},
    {E ".2.8.2.1.6.2", " Security ", ovtype::displaystr, ovaccess::readonly},
    {E ".2.8.2.1.7.2", " SSID", ovtype::displaystr, ovaccess::readonly},
    {},
};

// VLAN switch. SVT_SV keys 0
const OvSNMPVarRow T56[] = {
    {E ".2.9.3.1.1", "adVlanState", ovtype::integer, ovaccess::readwrite, &optDisabledEnabled},
    {},
};

// Multi-SSID primary settings, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T57[] = {
    {E ".2.9.1.1.1.1", "adMSSIDSSID", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.1.1.2.1", "adMSSIDAuth", ovtype::integer, ovaccess::readwrite, &optAuthentication},
    {E ".2.5.1.1.2.1", "adMSSIDEncryption", ovtype::integer, ovaccess::readwrite, &optDisabledEnabled},
    {E ".2.5.1.1.3.1", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.1.1.3.1", "adVlanTagID", ovtype::integer, ovaccess::readwrite},
    {},
};

// Multi-SSID primary settings, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T58[] = {
    {E ".2.9.1.1.1.2", "adMSSIDSSID", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.1.1.2.2", "adMSSIDAuth", ovtype::integer, ovaccess::readwrite, &optAuthentication},
    {E ".2.5.1.1.2.2", "adMSSIDEncryption", ovtype::integer, ovaccess::readwrite, &optDisabledEnabled},
    {E ".2.5.1.1.3.2", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.1.1.3.2", "adVlanTagID", ovtype::integer, ovaccess::readwrite},
    {},
};

// Additional SSID 1, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T59[] = {
    {E ".2.9.2.1.2.1.1", "adMSSIDState", ovtype::integer, ovaccess::readwrite, &optDisabledEnabled},
    {E ".2.9.2.1.3.1.1", "adMSSIDSSID", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.4.1.1", "adMSSIDAuth", ovtype::integer, ovaccess::readwrite, &optSSIDAuthentication},
    {E ".2.9.2.1.6.1.1", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.7.1.1", "adMSSIDKey", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.9.1.1", "adVlanTagID", ovtype::integer, ovaccess::readwrite},
    {},
};

// Additional SSID 1, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T60[] = {
    {E ".2.9.2.1.2.2.1", "adMSSIDState", ovtype::integer, ovaccess::readwrite, &optDisabledEnabled},
    {E ".2.9.2.1.3.2.1", "adMSSIDSSID", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.4.2.1", "adMSSIDAuth", ovtype::integer, ovaccess::readwrite, &optSSIDAuthentication},
    {E ".2.9.2.1.6.2.1", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.7.2.1", "adMSSIDKey", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.9.2.1", "adVlanTagID", ovtype::integer, ovaccess::readwrite},
    {},
};

// Additional SSID 2, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T61[] = {
    {E ".2.9.2.1.2.1.2", "adMSSIDState", ovtype::integer, ovaccess::readwrite, &optDisabledEnabled},
    {E ".2.9.2.1.3.1.2", "adMSSIDSSID", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.4.1.2", "adMSSIDAuth", ovtype::integer, ovaccess::readwrite, &optSSIDAuthentication},
    {E ".2.9.2.1.6.1.2", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.7.1.2", "adMSSIDKey", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.9.1.2", "adVlanTagID", ovtype::integer, ovaccess::readwrite},
    {},
};

// Additional SSID 2, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T62[] = {
    {E ".2.9.2.1.2.2.2", "adMSSIDState", ovtype::integer, ovaccess::readwrite, &optDisabledEnabled},
    {E ".2.9.2.1.3.2.2", "adMSSIDSSID", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.4.2.2", "adMSSIDAuth", ovtype::integer, ovaccess::readwrite, &optSSIDAuthentication},
    {E ".2.9.2.1.6.2.2", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.7.2.2", "adMSSIDKey", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.9.2.2", "adVlanTagID", ovtype::integer, ovaccess::readwrite},
    {},
};

// Additional SSID 3, 802.11a. MVT_SV keys 0
const OvSNMPVarRow T63[] = {
    {E ".2.9.2.1.2.1.3", "adMSSIDState", ovtype::integer, ovaccess::readwrite, &optDisabledEnabled},
    {E ".2.9.2.1.3.1.3", "adMSSIDSSID", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.4.1.3", "adMSSIDAuth", ovtype::integer, ovaccess::readwrite, &optSSIDAuthentication},
    {E ".2.9.2.1.6.1.3", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.7.1.3", "adMSSIDKey", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.9.1.3", "adVlanTagID", ovtype::integer, ovaccess::readwrite},
    {},
};

// Additional SSID 3, 802.11g. MVT_SV keys 0
const OvSNMPVarRow T64[] = {
    {E ".2.9.2.1.2.2.3", "adMSSIDState", ovtype::integer, ovaccess::readwrite, &optDisabledEnabled},
    {E ".2.9.2.1.3.2.3", "adMSSIDSSID", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.4.2.3", "adMSSIDAuth", ovtype::integer, ovaccess::readwrite, &optSSIDAuthentication},
    {E ".2.9.2.1.6.2.3", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.7.2.3", "adMSSIDKey", ovtype::displaystr, ovaccess::readwrite},
    {E ".2.9.2.1.9.2.3", "adVlanTagID", ovtype::integer, ovaccess::readwrite},
    {},
};

// VLAN and additional SSID states as seen by the wireless window. MVT_SV keys 0
const OvSNMPVarRow T65[] = {
    {E ".2.9.3.1.1.0", "adVlanState", ovtype::integer, ovaccess::invalid, &optDisabledEnabled},
    {E ".2.9.2.1.2.1.1", "adMSSIDState", ovtype::integer, ovaccess::invalid, &optDisabledEnabled},
    {E ".2.9.2.1.2.1.2", "adMSSIDState", ovtype::integer, ovaccess::invalid, &optDisabledEnabled},
    {E ".2.9.2.1.2.1.3", "adMSSIDState", ovtype::integer, ovaccess::invalid, &optDisabledEnabled},
    {E ".2.9.2.1.4.1.1", "adMSSIDAuth", ovtype::integer, ovaccess::invalid, &optSSIDAuthentication},
    {E ".2.9.2.1.4.1.2", "adMSSIDAuth", ovtype::integer, ovaccess::invalid, &optSSIDAuthentication},
    {E ".2.9.2.1.4.1.3", "adMSSIDAuth", ovtype::integer, ovaccess::invalid, &optSSIDAuthentication},
    {E ".2.9.2.1.2.2.1", "adMSSIDState", ovtype::integer, ovaccess::invalid, &optDisabledEnabled},
    {E ".2.9.2.1.2.2.2", "adMSSIDState", ovtype::integer, ovaccess::invalid, &optDisabledEnabled},
    {E ".2.9.2.1.2.2.3", "adMSSIDState", ovtype::integer, ovaccess::invalid, &optDisabledEnabled},
    {E ".2.9.2.1.4.2.1", "adMSSIDAuth", ovtype::integer, ovaccess::invalid, &optSSIDAuthentication},
    {E ".2.9.2.1.4.2.2", "adMSSIDAuth", ovtype::integer, ovaccess::invalid, &optSSIDAuthentication},
    {E ".2.9.2.1.4.2.3", "adMSSIDAuth", ovtype::integer, ovaccess::invalid, &optSSIDAuthentication},
    {},
};

// AP mode and super mode, both bands (multi-SSID preconditions). MVT_SV keys 0
const OvSNMPVarRow T66[] = {
    {E ".2.1.1.1.1", "adAPMode", ovtype::integer, ovaccess::readwrite, &optAPMode},
    {E ".2.3.1.11.1", "adSuperMode", ovtype::integer, ovaccess::readwrite, &optSuperMode},
    {E ".2.1.1.1.2", "adAPMode", ovtype::integer, ovaccess::readwrite, &optAPMode},
    {E ".2.3.1.11.2", "adSuperMode", ovtype::integer, ovaccess::readwrite, &optSuperMode},
    {},
};

// Additional SSID key indexes, both bands. MVT_SV keys 0
const OvSNMPVarRow T67[] = {
    {E ".2.9.2.1.6.1.1", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.6.1.2", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.6.1.3", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.6.2.1", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.6.2.2", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {E ".2.9.2.1.6.2.3", "adMSSIDKeyIndex", ovtype::integer, ovaccess::readwrite, &optKeyIndex},
    {},
};

// Rogue AP detection filters. MVT_SV keys 0
const OvSNMPVarRow T68[] = {
    {E ".2.10.1.0", "bssTypeDetected", ovtype::integer, ovaccess::readwrite, &optNetworkType},
    {E ".2.10.2.0", "bandTypeDetected", ovtype::integer, ovaccess::readwrite},
    {E ".2.10.3.0", "securityTypeDetected", ovtype::integer, ovaccess::readwrite},
    {},
};

// Rogue AP detection trigger. SVT_SV keys 0
const OvSNMPVarRow T69[] = {
    {E ".2.10.4.1.1", "rogueAPDetect", ovtype::integer, ovaccess::readwrite, &optDetect},
    {},
};

// Add detected AP to the AP list. SVT_SV keys 0
const OvSNMPVarRow T70[] = {
    {E ".2.10.4.1.2", "addRogueAPtoAPList", ovtype::integer, ovaccess::readwrite},
    {},
};

// Delete detected AP from the result. SVT_SV keys 0
const OvSNMPVarRow T71[] = {
    {E ".2.10.4.1.3", "deleteRogueAPFromResult", ovtype::integer, ovaccess::readwrite},
    {},
};

// Rogue AP detection result table. MVT_UMV keys 1
const OvSNMPVarRow T72[] = {
    {"", "ifIndex", ovtype::integer, ovaccess::notaccess},
    {E ".2.10.4.1.4.1.2", "Type", ovtype::displaystr, ovaccess::readonly},
    {E ".2.10.4.1.4.1.3", "CH", ovtype::integer, ovaccess::readonly},
    {E ".2.10.4.1.4.1.4", "RSSI", ovtype::integer, ovaccess::readonly},
    {E ".2.10.4.1.4.1.5", "BSSID", ovtype::macaddress, ovaccess::readonly},
    {E ".2.10.4.1.4.1.9", "Security", ovtype::integer, ovaccess::readonly, &optRogueSecurity},
    {E ".2.10.4.1.4.1.7", "Mode", ovtype::integer, ovaccess::readonly, &optRogueBand},
    {E ".2.10.4.1.4.1.8", "SSID", ovtype::displaystr, ovaccess::readonly},
    {},
};

// Delete AP from the AP list. SVT_SV keys 0
const OvSNMPVarRow T73[] = {
    {E ".2.10.4.2.1", "deleteRogueAPfromAPList", ovtype::integer, ovaccess::readwrite},
    {},
};

// Known AP list table. MVT_UMV keys 1
const OvSNMPVarRow T74[] = {
    {E ".2.10.4.2.2.1.1", "Index", ovtype::integer, ovaccess::notaccess},
    {E ".2.10.4.2.2.1.2", "Type", ovtype::displaystr, ovaccess::readonly},
    {E ".2.10.4.2.2.1.3", "CH", ovtype::integer, ovaccess::readonly},
    {E ".2.10.4.2.2.1.4", "RSSI", ovtype::integer, ovaccess::readonly},
    {E ".2.10.4.2.2.1.5", "BSSID", ovtype::macaddress, ovaccess::readonly},
    {E ".2.10.4.2.2.1.9", "Security", ovtype::integer, ovaccess::readonly, &optKnownAPSecurity},
    {E ".2.10.4.2.2.1.7", "Mode", ovtype::integer, ovaccess::readonly, &optRogueBand},
    {E ".2.10.4.2.2.1.8", "SSID", ovtype::displaystr, ovaccess::readonly},
    {},
};

// Log settings. MVT_SV keys 0
const OvSNMPVarRow T75[] = {
    {E ".2.11.1.0", "adSystemLevel", ovtype::integer, ovaccess::readwrite, &optLowerDisableEnable},
    {E ".2.11.2.0", "adWirelessLevel", ovtype::integer, ovaccess::readwrite, &optLowerDisableEnable},
    {E ".2.11.3.0", "adNoticeLevel", ovtype::integer, ovaccess::readwrite, &optLowerDisableEnable},
    {E ".2.11.9.0", "adLogServerIP", ovtype::ipaddress, ovaccess::readwrite},
    {},
};

// Log fetch trigger. SVT_SV keys 0
const OvSNMPVarRow T76[] = {
    {E ".2.11.11.1", "adGetLog", ovtype::integer, ovaccess::readwrite, &optLogGet},
    {},
};

// Clear local log. SVT_SV keys 0
const OvSNMPVarRow T77[] = {
    {E ".2.11.10", "adClearLocalLog", ovtype::integer, ovaccess::readwrite, &optLogClear},
    {},
};

// Log table. MVT_UMV keys 1
const OvSNMPVarRow T78[] = {
    {E ".2.11.12.1.1", "Index", ovtype::integer, ovaccess::notaccess},
    {E ".2.11.12.1.2", "Time", ovtype::displaystr, ovaccess::readonly},
    {E ".2.11.12.1.3", "Message", ovtype::displaystr, ovaccess::readonly},
    {},
};

// Temperature. SVT_SV keys 0
const OvSNMPVarRow T79[] = {
    {E ".4.6.1", "statusIndicationTemperature", ovtype::integer, ovaccess::readonly},
    {},
};

// clang-format on

namespace {

const TableInfo kTables[] = {
    {1, "MIB-II system group", T1, SVT_SV, 0},
    {2, "Basic wireless, both bands", T2, MVT_SV, 0},
    {3, "LAN addressing and restart", T3, SVT_SV, 0},
    {4, "AP mode and remote AP addresses, 802.11a", T4, MVT_SV, 0},
    {5, "AP mode and remote AP addresses, 802.11g", T5, MVT_SV, 0},
    {6, "Radio performance, 802.11a", T6, MVT_SV, 0},
    {7, "Short preamble, 802.11a", T7, MVT_SV, 0},
    {8, "Super mode, both bands", T8, MVT_SV, 0},
    {9, "Radio performance, 802.11g", T9, MVT_SV, 0},
    {10, "Short preamble, 802.11g", T10, MVT_SV, 0},
    {11, "Automatic channel scan, 802.11a", T11, MVT_SV, 0},
    {12, "Automatic channel scan, 802.11g", T12, MVT_SV, 0},
    {13, "Extended range, 802.11a", T13, MVT_SV, 0},
    {14, "Extended range, 802.11g", T14, MVT_SV, 0},
    {15, "Access control MAC list, 802.11a", T15, MVT_FMV, 1},
    {16, "Access control MAC list, 802.11g", T16, MVT_FMV, 1},
    {17, "Access control and station isolation settings, both bands", T17, MVT_SV, 0},
    {18, "Enterprise security (cipher, RADIUS), 802.11a", T18, MVT_SV, 0},
    {19, "Enterprise security (cipher, RADIUS), 802.11g", T19, MVT_SV, 0},
    {20, "Personal security (cipher, pass phrase), 802.11a", T20, MVT_SV, 0},
    {21, "Personal security (cipher, pass phrase), 802.11g", T21, MVT_SV, 0},
    {22, "Authentication, WEP and keys, both bands", T22, MVT_SV, 0},
    {23, "Grouping", T23, SVT_SV, 0},
    {24, "DHCP dynamic lease table", T24, MVT_FMV, 1},
    {25, "DHCP static lease table", T25, MVT_FMV, 1},
    {26, "DHCP lease table triggers", T26, SVT_SV, 0},
    {27, "Administrator account", T27, SVT_SV, 0},
    {28, "Factory default", T28, SVT_SV, 0},
    {29, "Firmware transfer", T29, SVT_SV, 0},
    {30, "Configuration file transfer", T30, SVT_SV, 0},
    {31, "Transfer command", T31, SVT_SV, 0},
    {32, "Restart", T32, SVT_SV, 0},
    {33, "Miscellaneous", T33, SVT_SV, 0},
    {34, "Device information, LAN", T34, SVT_SV, 0},
    {35, "Device information, 802.11a", T35, MVT_SV, 0},
    {36, "Device information, 802.11g", T36, MVT_SV, 0},
    {37, "Traffic statistics, 802.11a", T37, MVT_SV, 0},
    {38, "Traffic statistics, 802.11g", T38, MVT_SV, 0},
    {39, "Client table trigger, both bands", T39, MVT_SV, 1},
    {40, "Client table", T40, MVT_UMV, 2},
    {41, "Front-panel LEDs", T41, SVT_SV, 0},
    {42, "DHCP server switch", T42, SVT_SV, 0},
    {43, "DHCP dynamic pool", T43, SVT_SV, 0},
    {44, "Firmware version", T44, SVT_SV, 0},
    {45, "DHCP static pool table", T45, MVT_UMV, 1},
    {46, "Device IP address (for DHCP checks)", T46, SVT_SV, 0},
    {47, "Client information capability", T47, SVT_SV, 0},
    {48, "Country code", T48, SVT_SV, 0},
    {49, "Turbo mode capability, both bands", T49, MVT_SV, 0},
    {50, "AP mode capability", T50, SVT_SV, 0},
    {51, "Multi-SSID capability", T51, SVT_SV, 0},
    {52, "Site survey trigger, 802.11a", T52, MVT_SV, 0},
    {53, "Site survey trigger, 802.11g", T53, MVT_SV, 0},
    {54, "Site survey table, 802.11a", T54, MVT_UMV, 1},
    {55, "Site survey table, 802.11g", T55, MVT_UMV, 1},
    {56, "VLAN switch", T56, SVT_SV, 0},
    {57, "Multi-SSID primary settings, 802.11a", T57, MVT_SV, 0},
    {58, "Multi-SSID primary settings, 802.11g", T58, MVT_SV, 0},
    {59, "Additional SSID 1, 802.11a", T59, MVT_SV, 0},
    {60, "Additional SSID 1, 802.11g", T60, MVT_SV, 0},
    {61, "Additional SSID 2, 802.11a", T61, MVT_SV, 0},
    {62, "Additional SSID 2, 802.11g", T62, MVT_SV, 0},
    {63, "Additional SSID 3, 802.11a", T63, MVT_SV, 0},
    {64, "Additional SSID 3, 802.11g", T64, MVT_SV, 0},
    {65, "VLAN and additional SSID states as seen by the wireless window", T65, MVT_SV, 0},
    {66, "AP mode and super mode, both bands (multi-SSID preconditions)", T66, MVT_SV, 0},
    {67, "Additional SSID key indexes, both bands", T67, MVT_SV, 0},
    {68, "Rogue AP detection filters", T68, MVT_SV, 0},
    {69, "Rogue AP detection trigger", T69, SVT_SV, 0},
    {70, "Add detected AP to the AP list", T70, SVT_SV, 0},
    {71, "Delete detected AP from the result", T71, SVT_SV, 0},
    {72, "Rogue AP detection result table", T72, MVT_UMV, 1},
    {73, "Delete AP from the AP list", T73, SVT_SV, 0},
    {74, "Known AP list table", T74, MVT_UMV, 1},
    {75, "Log settings", T75, MVT_SV, 0},
    {76, "Log fetch trigger", T76, SVT_SV, 0},
    {77, "Clear local log", T77, SVT_SV, 0},
    {78, "Log table", T78, MVT_UMV, 1},
    {79, "Temperature", T79, SVT_SV, 0},
};

// Every table row whose value is a secret lies at or below one of these.
const char* const kSecretVariables[] = {
    E ".2.5.1.1.4", // adSecPassPhrase, both bands
    E ".2.5.2.5",   // Sec RADIUS Secret
    E ".2.5.3.1.1", // adSecKey, WEP keys 1 to 4 of both bands
    E ".2.9.2.1.7", // adMSSIDKey, keys of the additional SSIDs
    E ".3.1.2",     // Password of the administrator account
};

} // namespace

std::span<const TableInfo> tables() {
    return kTables;
}

std::span<const char* const> secretVariables() {
    return kSecretVariables;
}

bool isSecret(const OvOid& oid) {
    static const std::vector<OvOid> secrets = [] {
        std::vector<OvOid> parsed;
        for (const char* text : kSecretVariables)
            parsed.push_back(*OvOid::parse(text));
        return parsed;
    }();
    for (const OvOid& secret : secrets) {
        if (oid.startsWith(secret))
            return true;
    }
    return false;
}

} // namespace mib
