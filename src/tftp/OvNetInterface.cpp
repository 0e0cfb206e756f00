#include "OvNetInterface.h"

#include <QNetworkInterface>

#include <array>

namespace ovtftp {

namespace {

// A dotted part's leading decimal digits; none counts 0. Large values are
// capped so that no digit string overflows.
unsigned partValue(const std::string& part) {
    unsigned value = 0;
    for (char c : part) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 99999999u)
            break;
    }
    return value;
}

std::array<unsigned, 4> dottedParts(const std::string& text) {
    std::array<unsigned, 4> parts{};
    std::size_t start = 0;
    for (unsigned& part : parts) {
        if (start > text.size())
            break;
        const std::size_t dot = text.find('.', start);
        part = partValue(
            text.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        start = dot == std::string::npos ? text.size() + 1 : dot + 1;
    }
    return parts;
}

bool isUnsetFact(const std::string& fact) {
    return fact.empty() || fact == "(NULL)" || fact == "0.0.0.0";
}

OvNetInterface entryOf(const QNetworkInterface& interface, const QNetworkAddressEntry& entry) {
    const auto flags = interface.flags();
    OvNetInterface record;
    record.address = entry.ip().toString().toStdString();
    record.mask = entry.netmask().toString().toStdString();
    record.up = flags.testFlag(QNetworkInterface::IsUp);
    record.running = flags.testFlag(QNetworkInterface::IsRunning);
    record.broadcast = flags.testFlag(QNetworkInterface::CanBroadcast);
    record.loopback = flags.testFlag(QNetworkInterface::IsLoopBack);
    record.pointToPoint = flags.testFlag(QNetworkInterface::IsPointToPoint);
    record.multicast = flags.testFlag(QNetworkInterface::CanMulticast);
    return record;
}

} // namespace

std::vector<OvNetInterface> usableInterfaces(const std::vector<OvNetInterface>& entries) {
    std::vector<OvNetInterface> usable;
    for (const OvNetInterface& entry : entries) {
        if (usable.size() == kMaxInterfaces)
            break;
        if (entry.up && entry.running)
            usable.push_back(entry);
    }
    return usable;
}

std::vector<OvNetInterface> interfaceEntries() {
    std::vector<OvNetInterface> entries;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                entries.push_back(entryOf(interface, entry));
        }
    }
    return entries;
}

std::vector<OvNetInterface> localInterfaces() {
    return usableInterfaces(interfaceEntries());
}

std::string networkOf(const std::string& address, const std::string& mask) {
    const auto a = dottedParts(address);
    const auto m = dottedParts(mask);
    std::string network;
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            network += '.';
        network += std::to_string(a[i] & m[i]);
    }
    return network;
}

std::string chooseServerAddress(const std::string& deviceAddress, const std::string& deviceMask,
                                const std::vector<OvNetInterface>& interfaces) {
    if (isUnsetFact(deviceAddress) || isUnsetFact(deviceMask))
        return {};
    const std::string deviceNetwork = networkOf(deviceAddress, deviceMask);
    for (const OvNetInterface& interface : interfaces) {
        if (networkOf(interface.address, interface.mask) == deviceNetwork)
            return interface.address;
    }
    return {};
}

std::string chooseServerAddress(const std::string& deviceAddress, const std::string& deviceMask) {
    return chooseServerAddress(deviceAddress, deviceMask, localInterfaces());
}

} // namespace ovtftp
