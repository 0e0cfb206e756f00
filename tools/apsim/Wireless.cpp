#include "Wireless.h"

#include "Device.h"
#include "DeviceMib.h"

#include <algorithm>
#include <sstream>
#include <string>

namespace apsim {
namespace {

OvOid privateOid(const char* tail) {
    return *OvOid::parse(std::string(mib::enterpriseRoot) + "." + tail);
}

// The instance's arc after `base` (the band of E.1.1.1.1.<band>), or 0.
std::uint32_t arcAfter(const OvOid& oid, const OvOid& base) {
    return oid.size() > base.size() && oid.startsWith(base) ? oid.arcs()[base.size()] : 0;
}

bool isSsid(const OvOid& oid) {
    static const OvOid ssids[] = {privateOid("1.1.1.1"), privateOid("2.9.1.1.1"),
                                  privateOid("2.9.2.1.3")};
    return std::any_of(std::begin(ssids), std::end(ssids),
                       [&](const OvOid& base) { return oid.startsWith(base); });
}

// 64, 128 and 152 bits: the only key sizes the radios know.
int checkWepKey(const std::string& key) {
    if (key.size() != 10 && key.size() != 26 && key.size() != 32)
        return snmperr::wrongLength;
    const bool hex = std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
    return hex ? 0 : snmperr::wrongValue;
}

bool listHolds(const std::string& list, std::int32_t channel) {
    std::istringstream words(list);
    std::string word;
    while (words >> word)
        if (word == std::to_string(channel))
            return true;
    return false;
}

// The channels a band may use: in dynamic turbo mode ("adSuperMode" 2) the
// turbo channels, else the channel list the device reports for the band.
int checkChannel(const OvVb& value, std::uint32_t band, const char* listOid,
                 const CurrentValue& current) {
    std::string list;
    const OvVb* superMode = current(privateOid(("2.3.1.11." + std::to_string(band)).c_str()));
    if (superMode != nullptr && superMode->number == 2) {
        list = band == 1 ? "56 153 161" : "6";
    } else {
        const OvVb* reported = current(privateOid((listOid + std::to_string(band)).c_str()));
        list = reported != nullptr ? reported->octets : std::string();
    }
    return listHolds(list, static_cast<std::int32_t>(value.number)) ? 0 : snmperr::wrongValue;
}

// VLAN group IDs of the primary and the additional SSIDs: 802.1Q leaves 0 and
// 4095 out.
bool isVlanTagId(const OvOid& oid) {
    static const OvOid tags[] = {privateOid("2.9.1.1.3"), privateOid("2.9.2.1.9")};
    return std::any_of(std::begin(tags), std::end(tags), [&](const OvOid& base) {
        return oid.size() > base.size() && oid.startsWith(base);
    });
}

} // namespace

int checkWirelessSet(const OvOid& oid, const OvVb& value, const CurrentValue& current) {
    static const OvOid wepKeys = privateOid("2.5.3.1.1");
    static const OvOid homeChannel = privateOid("1.1.1.3");
    static const OvOid radioChannel = privateOid("2.3.1.2");
    if (isSsid(oid))
        return value.octets.size() > 32 ? snmperr::wrongLength : 0;
    if (oid.startsWith(wepKeys))
        return checkWepKey(value.octets);
    if (isVlanTagId(oid)) {
        const auto id = static_cast<std::int32_t>(value.number);
        return id >= 1 && id <= 4094 ? 0 : snmperr::wrongValue;
    }
    if (const std::uint32_t band = arcAfter(oid, homeChannel); band == 1 || band == 2)
        return checkChannel(value, band, "1.1.1.4.", current);
    if (const std::uint32_t band = arcAfter(oid, radioChannel); band == 1 || band == 2)
        return checkChannel(value, band, "2.3.1.3.", current);
    return 0;
}

bool isSecret(const OvOid& oid) {
    static const OvOid secrets[] = {privateOid("2.5.3.1.1"), privateOid("2.5.1.1.4"),
                                    privateOid("2.9.2.1.7")};
    return std::any_of(std::begin(secrets), std::end(secrets),
                       [&](const OvOid& base) { return oid.startsWith(base); });
}

int surveyTriggerBand(const OvOid& oid) {
    static const OvOid trigger = privateOid("2.8.1.1");
    const std::uint32_t band = arcAfter(oid, trigger);
    const bool banded = oid.size() == trigger.size() + 1;
    const bool scalar = oid.size() == trigger.size() + 2 && oid.arcs().back() == 0;
    return (banded || scalar) && (band == 1 || band == 2) ? static_cast<int>(band) : 0;
}

int surveyScanBand(const OvOid& oid, const OvVb& value) {
    const bool refresh = value.syntax == OvSyntax::Integer && value.number == 1;
    return refresh ? surveyTriggerBand(oid) : 0;
}

} // namespace apsim
