#include "OvDhcpRules.h"

#include "OvAddressChecks.h"
#include "OvPoolRange.h"

#include <algorithm>
#include <limits>

namespace ovrules {

namespace {

bool unsetAddress(std::string_view text) {
    return text.empty() || text == kFreeSlotAddress;
}

} // namespace

bool withinField(std::uint32_t value, const NumberField& field) {
    return value >= field.low && value <= field.high;
}

const char* givenMaskRefusal(std::string_view text) {
    return unsetAddress(text) || isSubnetMask(text) ? nullptr : "Please input valid SubMask.";
}

const char* givenServerRefusal(std::string_view text, DhcpServer server) {
    if (unsetAddress(text) || isHostAddress(text))
        return nullptr;
    switch (server) {
    case DhcpServer::Gateway:
        return "Please input valid Gateway.";
    case DhcpServer::Wins:
        return "Please input valid Wins.";
    case DhcpServer::Dns:
        break;
    }
    return "Please input valid DNS.";
}

std::optional<Refusal> macEntryRefusal(std::string_view typed, const std::vector<std::string>& macs,
                                       long long index) {
    if (typed.size() != kMacHexDigits)
        return Refusal{"Error", "The length is 12 in MAC Address."};
    if (typed == kFreeSlotMac)
        return Refusal{"Warning", "Please input a valid MAC Address."};
    if (macTakenElsewhere(macs, typed, index))
        return Refusal{"Warning", "Reject: The MAC already exists "};
    return std::nullopt;
}

bool sameMac(std::string_view typed, std::string_view listed) {
    if (listed.size() < typed.size())
        return false;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const int t = static_cast<unsigned char>(typed[i]);
        const int l = static_cast<unsigned char>(listed[i]);
        if (t != l && t != l + 32)
            return false;
    }
    return true;
}

ConversionError::ConversionError(const std::string& part)
    : std::runtime_error("'" + part + "' is not a valid integer value") {}

std::uint32_t checkedInteger(std::string_view text) {
    const auto value = decimalValue(text);
    if (!value || *value > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        throw ConversionError(std::string(text));
    return *value;
}

std::uint32_t checkedDottedValue(std::string_view text) {
    return sumDottedParts(text, checkedInteger);
}

std::optional<std::size_t> firstFreeSlot(const std::vector<std::string>& addresses) {
    return rowOfAddress(addresses, kFreeSlotAddress);
}

std::optional<std::size_t> rowOfMac(const std::vector<std::string>& macs, std::string_view typed) {
    const auto found = std::find_if(macs.begin(), macs.end(),
                                    [&](const std::string& mac) { return sameMac(typed, mac); });
    if (found == macs.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - macs.begin());
}

bool macTakenElsewhere(const std::vector<std::string>& macs, std::string_view typed,
                       long long index) {
    for (std::size_t i = 0; i < macs.size(); ++i) {
        if (sameMac(typed, macs[i]) && index != static_cast<long long>(i) + 1)
            return true;
    }
    return false;
}

bool addressTakenElsewhere(const std::vector<std::string>& addresses, std::string_view typed,
                           long long index) {
    if (sameAddress(typed, kFreeSlotAddress))
        return false;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        if (sameAddress(addresses[i], typed) && index != static_cast<long long>(i) + 1)
            return true;
    }
    return false;
}

} // namespace ovrules
