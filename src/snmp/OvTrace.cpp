#include "OvTrace.h"

#include "DeviceMib.h"
#include "OvCatalog.h"

#include <QDateTime>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovtrace {

namespace {

struct TraceFile {
    int fd = -1;
    std::uint64_t lastNumber = 0;
};

TraceFile& traceFile() {
    static TraceFile file;
    return file;
}

std::string now() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString();
}

// One write per line, so lines of modules sharing the file never mix.
void writeLine(std::string line) {
    TraceFile& file = traceFile();
    if (file.fd < 0)
        return;
    line += '\n';
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        const ssize_t written = ::write(file.fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return; // a full disk costs the trace, never the module
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

const char* operationName(OvPduType type) {
    switch (type) {
    case OvPduType::Get:
        return "GET";
    case OvPduType::GetNext:
        return "GETNEXT";
    case OvPduType::Set:
        return "SET";
    }
    return "?";
}

std::string versionName(std::uint8_t version) {
    switch (version) {
    case 0:
        return "v1";
    case 1:
        return "v2c";
    case 3:
        return "v3";
    default:
        return "v" + std::to_string(version);
    }
}

bool printable(const std::string& octets) {
    for (const unsigned char c : octets) {
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

std::string hex(const std::string& octets) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const unsigned char c : octets) {
        text += digits[c >> 4];
        text += digits[c & 0x0F];
    }
    return text;
}

std::string principal(const OvSNMPTarget& target) {
    if (target.version != 3)
        return "community";
    const std::string& name = target.securityName;
    return printable(name) ? name : "x:" + hex(name);
}

std::string ipAddress(const std::string& octets) {
    std::string text;
    for (const unsigned char c : octets)
        text += (text.empty() ? "" : ".") + std::to_string(c);
    return text;
}

std::string typedValue(const OvVb& vb) {
    switch (vb.syntax) {
    case OvSyntax::Integer:
        return "i:" + std::to_string(static_cast<std::int32_t>(vb.number));
    case OvSyntax::Gauge32:
    case OvSyntax::UInteger32:
        return "u:" + std::to_string(vb.number);
    case OvSyntax::Counter32:
        return "c:" + std::to_string(vb.number);
    case OvSyntax::Counter64:
        return "C:" + std::to_string(vb.number);
    case OvSyntax::TimeTicks:
        return "t:" + std::to_string(vb.number);
    case OvSyntax::IpAddress:
        return vb.octets.size() == 4 ? "a:" + ipAddress(vb.octets) : "x:" + hex(vb.octets);
    case OvSyntax::ObjectId:
        return "o:" + vb.objectId.toString();
    case OvSyntax::OctetString:
    case OvSyntax::Opaque:
    case OvSyntax::NsapAddress:
        return printable(vb.octets) ? "s:" + vb.octets : "x:" + hex(vb.octets);
    case OvSyntax::Null:
        return "n:";
    case OvSyntax::NoSuchObject:
        return "noSuchObject";
    case OvSyntax::NoSuchInstance:
        return "noSuchInstance";
    case OvSyntax::EndOfMibView:
        return "endOfMibView";
    }
    return "?";
}

std::string outcomeText(const OvSNMPAnswer& answer) {
    if (answer.answered && answer.status == 0)
        return "ok";
    const std::string text = ov::mapStatus(answer.status).text;
    if (answer.answered)
        return "error " + std::to_string(answer.status) + " index " +
               std::to_string(answer.errorIndex) + ": " + text;
    if (answer.status == ovstatus::timeout)
        return "timeout: " + text;
    return "failed " + std::to_string(answer.status) + ": " + text;
}

std::string milliseconds(std::chrono::steady_clock::duration elapsed) {
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
    std::string fraction = std::to_string(us % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    return std::to_string(us / 1000) + "." + fraction + " ms";
}

} // namespace

void open(const std::string& path) {
    close();
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        throw std::runtime_error(path + ": " + std::strerror(errno));
    struct stat status {};
    std::string problem;
    if (::fstat(fd, &status) != 0)
        problem = std::strerror(errno);
    else if (!S_ISREG(status.st_mode))
        problem = "not a regular file";
    else if ((status.st_mode & 077) != 0 && ::fchmod(fd, 0600) != 0)
        problem = std::string("others may read it and its mode cannot be narrowed (") +
                  std::strerror(errno) + ")";
    if (!problem.empty()) {
        ::close(fd);
        throw std::runtime_error(path + ": " + problem);
    }
    traceFile().fd = fd;
    writeLine("# " + now() + " trace of process " + std::to_string(::getpid()));
}

void close() {
    TraceFile& file = traceFile();
    if (file.fd >= 0)
        ::close(file.fd);
    file.fd = -1;
}

bool isOpen() {
    return traceFile().fd >= 0;
}

std::string bindingText(const OvVb& binding, bool withValue) {
    std::string text = binding.oid.toString();
    if (!withValue)
        return text;
    return text + "=" + (mib::isSecret(binding.oid) ? "***" : typedValue(binding));
}

Ticket request(const OvSNMPTarget& target, OvPduType type, const std::vector<OvVb>& bindings) {
    Ticket ticket;
    if (!isOpen())
        return ticket;
    ticket.number = ++traceFile().lastNumber;
    ticket.head = std::string(operationName(type)) + "\t" + versionName(target.version) + "\t" +
                  principal(target) + "\t" + target.agentAddress + ":" +
                  std::to_string(target.agentPort);
    std::string line = now() + "\t" + std::to_string(ticket.number) + "\trequest\t" + ticket.head;
    for (const OvVb& binding : bindings)
        line += "\t" + bindingText(binding, type == OvPduType::Set);
    ticket.sent = std::chrono::steady_clock::now();
    writeLine(std::move(line));
    return ticket;
}

void outcome(const Ticket& ticket, const OvSNMPAnswer& answer) {
    if (ticket.number == 0 || !isOpen())
        return;
    std::string line = now() + "\t" + std::to_string(ticket.number) + "\tanswer\t" + ticket.head +
                       "\t" + outcomeText(answer) + "\t" +
                       milliseconds(std::chrono::steady_clock::now() - ticket.sent);
    for (const OvVb& binding : answer.bindings)
        line += "\t" + bindingText(binding, true);
    writeLine(std::move(line));
}

} // namespace ovtrace
