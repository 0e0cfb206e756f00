#include "DeviceContent.h"

#include "DeviceMib.h"
#include "TypedValue.h"

#include <array>
#include <cstdio>
#include <map>

namespace apsim {
namespace {

const RowTable kRowTables[] = {
    {"maclist-a", 15, 0, 16, 2, "access control MAC list, 802.11a (fixed slots)"},
    {"maclist-g", 16, 0, 16, 1, "access control MAC list, 802.11g (fixed slots)"},
    {"dhcpleases", 24, 0, 3, -1, "DHCP dynamic lease table"},
    {"dhcpstatic", 25, 0, 2, -1, "DHCP static lease table"},
    {"clients-a", 40, 1, 1, -1, "associated clients of the 802.11a radio"},
    {"clients-g", 40, 2, 2, -1, "associated clients of the 802.11g radio"},
    {"staticpool", 45, 0, 8, 1, "DHCP static pool (fixed slots)"},
    {"sitesurvey-a", 54, 0, 3, -1, "site survey, 802.11a"},
    {"sitesurvey-g", 55, 0, 4, -1, "site survey, 802.11g"},
    {"rogue", 72, 0, 2, -1, "rogue AP detection result"},
    {"knownap", 74, 0, 1, -1, "known AP list"},
    {"log", 78, 0, 5, -1, "system log"},
};

std::string mac(unsigned kind, int row) {
    const unsigned n = static_cast<unsigned>(row);
    const std::string octets{'\x00',
                             '\x0C',
                             '\x41',
                             static_cast<char>(kind),
                             static_cast<char>(n >> 8),
                             static_cast<char>(n)};
    return "x:" + hexOf(octets);
}

std::string ip(std::uint32_t address) {
    return "a:" + dottedQuad(address);
}

std::string num(long value) {
    return "i:" + std::to_string(value);
}

const char* const securityTexts[] = {"None", "WEP", "WPA-PSK", "WPA2-PSK"};
const char* const logMessages[] = {
    "System started",      "802.11a radio on, channel 36", "802.11g radio on, channel 6",
    "DHCP server started", "Station associated",           "Administrator logged in",
};

int channelOf(int band, int row) {
    static const int channelsA[] = {36, 40, 44, 48, 149, 153, 157, 161};
    return band == 1 ? channelsA[row % 8] : 1 + (row * 5) % 11;
}

std::vector<std::string> surveyRow(int band, int row, int scan) {
    return {"s:AP",
            num(channelOf(band, row)),
            num(90 - (row * 13 + scan * 7) % 80),
            mac(0x50 + band, row),
            std::string("s:") + securityTexts[row % 4],
            "s:Neighbour-" + std::string(band == 1 ? "a-" : "g-") + std::to_string(row)};
}

std::vector<std::string> apRow(unsigned kind, const char* ssid, int row) {
    static const int modes[] = {0, 2, 3};
    // An ad-hoc network is open or uses WEP: it has no WPA.
    const bool adHoc = row % 5 == 4;
    return {adHoc ? "s:Ad Hoc" : "s:AP",
            num(channelOf(row % 2 + 1, row)),
            num(25 + (row * 11) % 60),
            mac(kind, row),
            num(adHoc ? row % 2 : row % 8),
            num(modes[row % 3]),
            std::string("s:") + ssid + std::to_string(row)};
}

std::string logTime(int row) {
    const int seconds = 12 + row * 47;
    char text[32];
    std::snprintf(text, sizeof text, "s:Jan  1 %02d:%02d:%02d", seconds / 3600 % 24,
                  seconds / 60 % 60, seconds % 60);
    return text;
}

std::vector<std::string> staticPoolRow(int row, bool used, const Lan& lan) {
    if (!used)
        return {"a:0.0.0.0", "x:000000000000", "a:0.0.0.0", "a:0.0.0.0",
                "a:0.0.0.0", "a:0.0.0.0",      "s:",        num(0)};
    return {ip(lan.staticEntry(row)), mac(0x45, row), ip(lan.mask()), ip(lan.gateway()),
            ip(lan.gateway()),        "a:0.0.0.0",    "s:lan",        num(1)};
}

std::vector<std::string> rowValues(const RowTable& table, int row, bool used, const Lan& lan,
                                   int scan) {
    switch (table.table) {
    case 15:
    case 16:
        return {used ? mac(0xA0 + table.table - 15, row) : "x:000000000000"};
    case 24:
        return {mac(0x24, row), ip(lan.dynamicLease(row)), num(86400 - (row * 60) % 86000)};
    case 25:
        return {mac(0x25, row), ip(lan.staticLease(row))};
    case 40:
        return {mac(0x40 + table.band, row), num(table.band), num(row % 2 ? 8 : 6),
                num(20 + (row * 7) % 60), num(row % 3 == 0 ? 1 : 0)};
    case 45:
        return staticPoolRow(row, used, lan);
    case 54:
    case 55:
        return surveyRow(table.table - 53, row, scan);
    case 72:
        return apRow(0x72, "Rogue-", row);
    case 74:
        return apRow(0x74, "Known-", row);
    case 78:
        return {logTime(row), std::string("s:") + logMessages[(row - 1) % 6]};
    }
    return {};
}

// Factory values of scalar instances, by OID below the private root.
const std::map<std::string, const char*>& privateFactoryTexts() {
    static const std::map<std::string, const char*> texts = {
        {"1.1.1.1.1", "ORW3300-A"},
        {"1.1.1.1.2", "ORW3300-G"},
        {"1.1.1.2.1", "1"},
        {"1.1.1.2.2", "1"},
        {"1.1.1.3.1", "36"},
        {"1.1.1.3.2", "6"},
        {"1.1.1.4.1", "36 40 44 48"},
        {"1.1.1.4.2", "1 2 3 4 5 6 7 8 9 10 11"},
        {"1.2.1.0", "1"},
        {"2.1.1.1.1", "1"},
        {"2.1.1.1.2", "1"},
        {"2.3.1.1.1", "5.180"},
        {"2.3.1.1.2", "2.437"},
        {"2.3.1.2.1", "36"},
        {"2.3.1.2.2", "6"},
        {"2.3.1.3.1", "36 40 44 48"},
        {"2.3.1.3.2", "1 2 3 4 5 6 7 8 9 10 11"},
        {"2.3.1.4.1", "Auto"},
        {"2.3.1.4.2", "Auto"},
        {"2.3.1.5.1", "Auto 6 9 12 18 24 36 48 54"},
        {"2.3.1.5.2", "Auto 1 2 5.5 6 9 11 12 18 24 36 48 54"},
        {"2.3.1.6.1", "100"},
        {"2.3.1.6.2", "100"},
        {"2.3.1.7.1", "1"},
        {"2.3.1.7.2", "1"},
        {"2.3.1.8.1", "2346"},
        {"2.3.1.8.2", "2346"},
        {"2.3.1.9.1", "2347"},
        {"2.3.1.9.2", "2347"},
        {"2.3.1.10.1", "1"},
        {"2.3.1.10.2", "1"},
        {"2.3.1.11.1", "3"},
        {"2.3.1.11.2", "3"},
        {"2.3.1.12.1", "1"},
        {"2.3.1.12.2", "1"},
        {"2.3.1.17.1", "1"},
        {"2.3.1.17.2", "1"},
        {"2.4.1.1.1.1", "1"},
        {"2.4.1.1.1.2", "1"},
        {"2.4.3.1.1.1", "1"},
        {"2.4.3.1.1.2", "1"},
        {"2.4.3.1.2.1", "1"},
        {"2.4.3.1.2.2", "1"},
        {"2.4.3.1.3.1", "1"},
        {"2.4.3.1.3.2", "1"},
        {"2.5.1.1.1.1", "1"},
        {"2.5.1.1.1.2", "1"},
        {"2.5.1.1.3.1", "1"},
        {"2.5.1.1.3.2", "1"},
        {"2.5.1.1.5.1", "2"},
        {"2.5.1.1.5.2", "2"},
        {"2.5.1.1.6.1", "1800"},
        {"2.5.1.1.6.2", "1800"},
        {"2.5.2.4.0", "1812"},
        // WEP keys of 64 bits, one digit repeated: key N of 802.11a holds N,
        // key N of 802.11g N + 4.
        {"2.5.3.1.1.1.1", "1111111111"},
        {"2.5.3.1.1.1.2", "2222222222"},
        {"2.5.3.1.1.1.3", "3333333333"},
        {"2.5.3.1.1.1.4", "4444444444"},
        {"2.5.3.1.1.2.1", "5555555555"},
        {"2.5.3.1.1.2.2", "6666666666"},
        {"2.5.3.1.1.2.3", "7777777777"},
        {"2.5.3.1.1.2.4", "8888888888"},
        {"2.6.2.0", "32"},
        {"2.6.4.0", "100Mbps Full-Duplex"},
        {"2.7.1.0", "1"},
        {"2.7.2.7.0", "lan"},
        {"2.7.2.8.0", "86400"},
        {"2.7.2.9.0", "1"},
        {"2.9.1.1.1.1", "ORW3300-A"},
        {"2.9.1.1.1.2", "ORW3300-G"},
        {"2.9.1.1.2.1", "1"},
        {"2.9.1.1.2.2", "1"},
        {"2.9.1.1.3.1", "1"},
        {"2.9.1.1.3.2", "1"},
        // The additional SSIDs' VLAN group IDs: 1, as the primary's.
        {"2.9.2.1.9.1.1", "1"},
        {"2.9.2.1.9.1.2", "1"},
        {"2.9.2.1.9.1.3", "1"},
        {"2.9.2.1.9.2.1", "1"},
        {"2.9.2.1.9.2.2", "1"},
        {"2.9.2.1.9.2.3", "1"},
        {"2.10.1.0", "3"},
        {"2.10.2.0", "13"},
        {"2.10.3.0", "255"},
        {"2.11.1.0", "1"},
        {"2.11.2.0", "1"},
        {"2.11.3.0", "1"},
        {"3.1.1.0", "admin"},
        {"3.3.5.0", "4"},
        {"3.4.2.0", "3"},
        {"3.4.4.0", "1"},
        {"4.1.1.1.0", "v1.2.07"},
        {"4.1.1.2.0", "000C41123456"},
        {"4.1.1.3.0", "1"},
        {"4.1.2.1.1.1", "ORW3300-A"},
        {"4.1.2.1.1.2", "ORW3300-G"},
        {"4.1.2.1.2.1", "36"},
        {"4.1.2.1.2.2", "6"},
        {"4.1.2.1.4.1", "54Mbps"},
        {"4.1.2.1.4.2", "54Mbps"},
        {"4.1.2.1.5.1", "Open System"},
        {"4.1.2.1.5.2", "Open System"},
        {"4.4.0", "85"},
        {"4.6.1.0", "42"},
        {"99.1.1.1.0", "31"},
        {"99.1.1.2.1", "3"},
        {"99.1.1.2.2", "3"},
        {"99.1.1.6.0", "US"},
        {"99.1.1.7.0", "1"},
        {"99.1.1.9.0", "1"},
    };
    return texts;
}

// Factory values that follow the LAN, by OID below the private root.
std::map<std::string, std::string> lanFactoryTexts(const Lan& lan) {
    const std::string address = dottedQuad(lan.address);
    const std::string mask = dottedQuad(lan.mask());
    const std::string gateway = dottedQuad(lan.gateway());
    return {
        {"1.2.2.0", address},
        {"1.2.3.0", mask},
        {"1.2.4.0", gateway},
        {"2.7.2.1.0", dottedQuad(lan.poolStart())},
        {"2.7.2.2.0", std::to_string(Lan::kPoolRange)},
        {"2.7.2.3.0", mask},
        {"2.7.2.4.0", gateway},
        {"2.7.2.6.0", gateway}, // the DNS server
        {"4.1.1.4.0", address},
        {"4.1.1.5.0", mask},
        {"4.1.1.6.0", gateway},
    };
}

// The statistics variables E.4.3.1.1.<column>.<band>: the column, or 0.
std::uint32_t statisticsColumn(const std::vector<std::uint32_t>& tail) {
    if (tail.size() != 6 || tail[0] != 4 || tail[1] != 3 || tail[2] != 1 || tail[3] != 1)
        return 0;
    return tail[4];
}

const char* statisticsText(const std::vector<std::uint32_t>& tail) {
    // Rates in percent, then frame counters.
    static const std::array<const char*, 19> values = {
        nullptr, "98",  "2",      "97",   "1",   "1520", "3",  "284113", "10422", "17",
        "3311",  "802", "201877", "8764", "121", "96",   "44", "0",      "0"};
    const std::uint32_t column = statisticsColumn(tail);
    return column < values.size() ? values[column] : nullptr;
}

} // namespace

std::uint32_t growthPerSecond(const OvOid& instance) {
    // Frames sent and received, RTS exchanges and retries; errors stay put.
    static const std::array<std::uint32_t, 19> perSecond = {0, 0, 0,   0, 0, 3, 0, 120, 4, 0,
                                                            2, 1, 150, 5, 0, 0, 0, 0,   0};
    const std::string root = std::string(mib::enterpriseRoot);
    const auto base = OvOid::parse(root);
    if (!instance.startsWith(*base))
        return 0;
    const std::vector<std::uint32_t> tail(instance.arcs().begin() + base->size(),
                                          instance.arcs().end());
    const std::uint32_t column = statisticsColumn(tail);
    return column < perSecond.size() ? perSecond[column] : 0;
}

OvOid privateOid(const std::string& tail) {
    return *OvOid::parse(std::string(mib::enterpriseRoot) + "." + tail);
}

OvOid below(const OvOid& entry, std::initializer_list<std::uint32_t> arcs) {
    OvOid oid = entry;
    oid.arcs().insert(oid.arcs().end(), arcs);
    return oid;
}

std::span<const RowTable> rowTables() {
    return kRowTables;
}

GeneratedRow generateRow(const RowTable& table, int row, bool used, const Lan& lan, int scan) {
    GeneratedRow generated;
    if (table.band != 0)
        generated.index.push_back(static_cast<std::uint32_t>(table.band));
    generated.index.push_back(static_cast<std::uint32_t>(row));
    generated.values = rowValues(table, row, used, lan, scan);
    return generated;
}

std::optional<std::string> factoryText(const OvOid& instance, const Lan& lan) {
    static const std::map<std::string, const char*> system = {
        {"1.3.6.1.2.1.1.1.0", "ORW-3300AP dual-band wireless access point, firmware v1.2.07"},
        {"1.3.6.1.2.1.1.2.0", "1.3.6.1.4.1.48213.10.37.14"},
        {"1.3.6.1.2.1.1.4.0", "Network Administrator"},
        {"1.3.6.1.2.1.1.5.0", "ORW-3300AP"},
        {"1.3.6.1.2.1.1.6.0", "Wiring closet"},
    };
    const std::string text = instance.toString();
    if (const auto it = system.find(text); it != system.end())
        return it->second;
    const std::string root = std::string(mib::enterpriseRoot) + ".";
    if (text.rfind(root, 0) != 0)
        return std::nullopt;
    const std::string tail = text.substr(root.size());
    const auto lanTexts = lanFactoryTexts(lan);
    if (const auto it = lanTexts.find(tail); it != lanTexts.end())
        return it->second;
    const auto& texts = privateFactoryTexts();
    if (const auto it = texts.find(tail); it != texts.end())
        return it->second;
    const std::vector<std::uint32_t> arcs(instance.arcs().begin() + 10, instance.arcs().end());
    if (const char* statistic = statisticsText(arcs))
        return statistic;
    return std::nullopt;
}

} // namespace apsim
