#include "Lan.h"

#include <arpa/inet.h>

#include <charconv>
#include <stdexcept>

namespace apsim {

std::uint32_t Lan::mask() const {
    return prefix == 0 ? 0 : ~std::uint32_t(0) << (32 - prefix);
}

std::string dottedQuad(std::uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 255) + "." +
           std::to_string(address >> 8 & 255) + "." + std::to_string(address & 255);
}

bool isUsableHost(std::uint32_t address, std::uint32_t deviceAddress, std::uint32_t mask) {
    const std::uint32_t hostPart = address & ~mask;
    return (address & mask) == (deviceAddress & mask) && hostPart != 0 && hostPart != ~mask;
}

Lan parseLan(const std::string& text) {
    const auto slash = text.find('/');
    if (slash == std::string::npos)
        throw std::invalid_argument("--lan needs ADDRESS/PREFIX (such as 198.51.100.1/24), not \"" +
                                    text + "\"");
    Lan lan;
    in_addr address{};
    if (inet_pton(AF_INET, text.substr(0, slash).c_str(), &address) != 1)
        throw std::invalid_argument("--lan needs an IPv4 address before the \"/\", not \"" +
                                    text.substr(0, slash) + "\"");
    lan.address = ntohl(address.s_addr);
    const std::string prefix = text.substr(slash + 1);
    const char* end = prefix.data() + prefix.size();
    const auto [p, ec] = std::from_chars(prefix.data(), end, lan.prefix);
    if (prefix.empty() || ec != std::errc() || p != end || lan.prefix < 8 || lan.prefix > 24)
        throw std::invalid_argument("--lan PREFIX must be 8 to 24, so the DHCP pools fit, not \"" +
                                    prefix + "\"");
    const std::uint32_t first = lan.address >> 24;
    const std::uint32_t hostPart = lan.address & ~lan.mask();
    if (first == 0 || first >= 224 || hostPart == 0 || hostPart == ~lan.mask())
        throw std::invalid_argument("--lan " + text + ": the device needs a host address");
    const int offset = static_cast<int>(lan.address & 255);
    if ((offset >= Lan::kStaticOffset && offset < Lan::kPoolOffset + Lan::kPoolRange) ||
        offset == Lan::kGatewayOffset)
        throw std::invalid_argument("--lan " + text + ": .50 to .149 of the device's /24 hold " +
                                    "the DHCP pools and .254 the gateway; choose another address");
    return lan;
}

} // namespace apsim
