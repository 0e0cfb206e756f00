#include "Journal.h"

#include "TypedValue.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace apsim {

Journal::Journal(std::string logPath, std::string statePath) : statePath_(std::move(statePath)) {
    if (logPath.empty())
        return;
    log_ = std::fopen(logPath.c_str(), "w");
    if (log_ == nullptr)
        throw std::runtime_error("cannot write the log \"" + logPath +
                                 "\": " + std::strerror(errno));
}

Journal::~Journal() {
    if (log_ != nullptr)
        std::fclose(log_);
}

void Journal::logRequest(const RequestRecord& record) {
    if (log_ == nullptr)
        return;
    std::string line = std::to_string(++sequence_) + '\t' + record.operation + '\t' +
                       record.version + '\t' + principalField(record.principal) + '\t' +
                       record.outcome;
    for (const std::string& binding : record.bindings)
        line += '\t' + binding;
    line += '\n';
    std::fputs(line.c_str(), log_);
    std::fflush(log_);
}

void Journal::writeState(const Device& device, const EngineFacts& facts) {
    if (statePath_.empty())
        return;
    const std::string temporary = statePath_ + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    if (file == nullptr)
        throw std::runtime_error("cannot write the state \"" + temporary +
                                 "\": " + std::strerror(errno));
    std::string text = "#engineBoots\t" + std::to_string(facts.engineBoots) + "\n#engineId\t" +
                       facts.engineId + "\n#restarts\t" + std::to_string(facts.restarts) +
                       "\n#restarting\t" + (facts.restarting ? "1" : "0") + "\n";
    for (const auto& [key, value] : facts.transfers)
        text += '#' + key + '\t' + std::to_string(value) + '\n';
    for (const auto& [oid, variable] : device.variables()) {
        if (device.isHidden(oid))
            continue;
        text += oid.toString() + '\t' +
                formatValue(currentValue(variable, facts.uptimeTicks), variable.type) + '\n';
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written ||
        std::rename(temporary.c_str(), statePath_.c_str()) != 0)
        throw std::runtime_error("cannot write the state \"" + statePath_ +
                                 "\": " + std::strerror(errno));
}

std::string principalField(const std::string& octets) {
    for (const unsigned char c : octets)
        if (c < 0x20 || c > 0x7e)
            return "x:" + hexOf(octets);
    return octets;
}

} // namespace apsim
