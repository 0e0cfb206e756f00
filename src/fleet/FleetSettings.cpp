#include "FleetSettings.h"

#include "DeviceMib.h"
#include "DeviceOptions.h"
#include "FleetOutput.h"
#include "FleetValues.h"
#include "OvValueText.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Tables of commands and triggers: writing them acts, it sets nothing.
const int kActionTables[] = {26, 28, 29, 30, 31, 32, 39, 52, 53, 69, 70, 71, 73, 76, 77};
const std::string kFirstLine = "; orw3300ap-fleet export of ";
const std::string kDeviceSection = "Device";

// Settings per GET: well below what a device answers without tooBig.
constexpr std::size_t kSettingsPerGet = 16;

bool settingRow(const mib::TableInfo& table, const OvSNMPVarRow& row) {
    if (table.mode != SVT_SV && table.mode != MVT_SV)
        return false;
    if (std::find(std::begin(kActionTables), std::end(kActionTables), table.number) !=
        std::end(kActionTables))
        return false;
    return row.options != &mib::optReboot && row.oid != nullptr && *row.oid != '\0';
}

// The shortest name that finds this very variable again, else its numeric OID.
std::string keyOf(const std::string& name, const OvOid& oid) {
    std::vector<std::string> candidates{name};
    std::string suffix;
    for (std::size_t k = 1; k <= 3 && k < oid.size(); ++k) {
        suffix = "." + std::to_string(oid.arcs()[oid.size() - k]) + suffix;
        candidates.push_back(name + suffix);
    }
    for (const std::string& candidate : candidates) {
        try {
            if (fleet::findVariable(candidate).oid == oid)
                return candidate;
        } catch (const FleetUsageError&) {
        }
    }
    // Names that several tables share: the OID, "E." standing for the private root.
    const std::string text = oid.toString();
    const std::string root = mib::enterpriseRoot;
    return text.rfind(root + ".", 0) == 0 ? "E" + text.substr(root.size()) : text;
}

// Values that an INI line would lose (blanks at the ends, enclosing quotes,
// control characters, backslashes) are written quoted with C escapes.
std::string iniValue(const std::string& value) {
    const bool plain =
        std::none_of(value.begin(), value.end(),
                     [](char c) { return fleet::isControl(c) || c == '\\'; }) &&
        (value.empty() || (value.front() != ' ' && value.back() != ' ' && value.front() != '"'));
    return plain ? value : fleet::quotedText(value, "\\x%02x");
}

bool hexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The inverse of iniValue; throws FleetUsageError for a broken quoted value.
std::string valueOfIni(const std::string& text) {
    if (text.empty() || text.front() != '"')
        return text;
    if (text.size() < 2 || text.back() != '"')
        throw FleetUsageError("a quoted value does not end in a quotation mark");
    std::string value;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] != '\\') {
            value += text[i];
            continue;
        }
        if (i + 2 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            value += text[++i];
        } else if (i + 4 < text.size() && text[i + 1] == 'x' && hexDigit(text[i + 2]) &&
                   hexDigit(text[i + 3])) {
            value += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            throw FleetUsageError("a backslash in a quoted value escapes nothing it may");
        }
    }
    return value;
}

} // namespace

namespace fleet {

const std::vector<FleetSetting>& settings() {
    static const std::vector<FleetSetting> list = [] {
        std::vector<FleetSetting> all;
        std::set<OvOid> seen;
        for (const mib::TableInfo& table : mib::tables()) {
            for (const OvSNMPVarRow* row = table.rows; row->oid != nullptr; ++row) {
                if (!settingRow(table, *row))
                    continue;
                OvOid oid = *OvOid::parse(row->oid);
                if (table.mode == SVT_SV)
                    oid.arcs().push_back(0);
                if (!seen.insert(oid).second)
                    continue;
                std::string name;
                for (const char* c = row->name; *c != '\0'; ++c) {
                    if (*c != ' ')
                        name += *c;
                }
                const std::string key = keyOf(name, oid);
                FleetVariable variable = findVariable(key);
                if (!isWritable(variable))
                    continue;
                all.push_back({table.title, key, variable, mib::isSecret(oid)});
            }
        }
        return all;
    }();
    return list;
}

std::string exportText(const std::string& device, const FleetSettingValues& values, bool secrets) {
    std::string text =
        kFirstLine + device + "\n[" + kDeviceSection + "]\nmodel=" OV_MODEL_NAME "\n";
    std::string section;
    for (const FleetSetting& s : settings()) {
        const auto value = values.find(s.key);
        if (value == values.end() || (s.secret && !secrets))
            continue;
        if (s.section != section) {
            section = s.section;
            text += "\n[" + section + "]\n";
        }
        text += s.key + "=" + iniValue(value->second) + "\n";
    }
    return text;
}

FleetSettingValues parseExport(const std::string& text, const std::string& fileName) {
    FleetSettingValues values;
    std::istringstream lines(text);
    std::string line;
    std::string section;
    bool modelSeen = false;
    int number = 0;
    auto refuse = [&](const std::string& what) {
        throw FleetUsageError(fileName + ":" + std::to_string(number) + ": " + what);
    };
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1) {
            if (line.rfind(kFirstLine, 0) != 0)
                refuse("not an export of orw3300ap-fleet");
            continue;
        }
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                refuse("a section line does not end in ]");
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            refuse("\"" + line + "\" is no KEY=VALUE");
        const std::string key = line.substr(0, equals);
        std::string value;
        try {
            value = valueOfIni(line.substr(equals + 1));
        } catch (const FleetUsageError& e) {
            refuse(e.what());
        }
        if (section == kDeviceSection) {
            if (key == "model" && value != OV_MODEL_NAME)
                refuse("an export of an " + value + ", not of an " OV_MODEL_NAME);
            modelSeen = modelSeen || key == "model";
            continue;
        }
        const auto known = std::find_if(settings().begin(), settings().end(),
                                        [&](const FleetSetting& s) { return s.key == key; });
        if (known == settings().end())
            refuse("\"" + key + "\" is no setting of an " OV_MODEL_NAME);
        if (!values.emplace(key, value).second)
            refuse("\"" + key + "\" is set twice");
    }
    if (number == 0)
        refuse("not an export of orw3300ap-fleet");
    if (!modelSeen)
        refuse("the [Device] section names no model");
    return values;
}

FleetSettingValues readExport(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        throw FleetUsageError(fileName + ": cannot read it");
    std::ostringstream text;
    text << file.rdbuf();
    return parseExport(text.str(), fileName);
}

void writeExport(const std::string& fileName, const std::string& text, bool secrets) {
    const std::string temporary = fileName + ".tmp" + std::to_string(::getpid());
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, secrets ? 0600 : 0644);
    if (fd < 0)
        throw std::runtime_error("cannot write " + temporary);
    // The mode asked for, whatever the umask.
    ::fchmod(fd, secrets ? 0600 : 0644);
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), fileName.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw std::runtime_error("cannot write " + fileName);
    }
}

std::vector<FleetDifference> differences(const FleetSettingValues& a, const FleetSettingValues& b) {
    std::vector<FleetDifference> found;
    for (const FleetSetting& s : settings()) {
        const auto inA = a.find(s.key);
        const auto inB = b.find(s.key);
        if (inA == a.end() && inB == b.end())
            continue;
        if (inA != a.end() && inB != b.end() && inA->second == inB->second)
            continue;
        auto shown = [&](const FleetSettingValues& side, FleetSettingValues::const_iterator it) {
            return it == side.end() ? std::string("(none)") : s.secret ? "***" : it->second;
        };
        found.push_back({s.key, shown(a, inA), shown(b, inB)});
    }
    return found;
}

std::string differenceText(const FleetDifference& d) {
    return d.key + ": " + d.a + " -> " + d.b;
}

} // namespace fleet

FleetSettingsJob::FleetSettingsJob(const FleetDevice& device, const FleetSettingValues* wanted,
                                   bool dryRun)
    : target_(device.target), wanted_(wanted), dryRun_(dryRun) {
    row_.device = device.name;
}

void FleetSettingsJob::start(std::function<void()> finished) {
    finished_ = std::move(finished);
    readFrom(0);
}

void FleetSettingsJob::readFrom(std::size_t first) {
    const auto& all = fleet::settings();
    if (first >= all.size()) {
        if (wanted_ != nullptr)
            apply();
        else
            end({});
        return;
    }
    const std::size_t last = std::min(all.size(), first + kSettingsPerGet);
    std::vector<FleetVariable> chunk;
    for (std::size_t i = first; i < last; ++i)
        chunk.push_back(all[i].variable);
    fleet::send(target_, OvPduType::Get, fleet::getBindings(chunk),
                [this, first, last](const FleetOutcome& outcome) {
                    if (!outcome.ok) {
                        end(outcome.error);
                        return;
                    }
                    for (std::size_t i = first; i < last; ++i) {
                        const OvVb& vb = outcome.bindings[i - first];
                        // What the device lacks is no setting of it.
                        if (!vb.hasNoValue())
                            row_.values[fleet::settings()[i].key] =
                                fleet::shownValue(fleet::settings()[i].variable, vb);
                    }
                    readFrom(last);
                });
}

void FleetSettingsJob::apply() {
    std::vector<OvVb> bindings;
    for (const FleetDifference& d : fleet::differences(row_.values, *wanted_)) {
        const auto wanted = wanted_->find(d.key);
        // A setting the file leaves out is left as the device has it.
        if (wanted == wanted_->end())
            continue;
        try {
            bindings.push_back(fleet::checkedAssignment(d.key + "=" + wanted->second).value);
        } catch (const FleetUsageError& e) {
            end(e.what());
            return;
        }
        row_.changes.push_back(d);
    }
    if (dryRun_ || bindings.empty()) {
        end({});
        return;
    }
    row_.sent = true;
    fleet::send(target_, OvPduType::Set, bindings,
                [this](const FleetOutcome& outcome) { end(outcome.ok ? "" : outcome.error); });
}

void FleetSettingsJob::end(const std::string& error) {
    row_.done = true;
    row_.ok = error.empty();
    row_.error = error;
    if (finished_)
        finished_();
}
