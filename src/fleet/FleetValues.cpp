#include "FleetValues.h"

#include "FleetOutput.h"
#include "OvAddressChecks.h"
#include "OvException.h"
#include "OvNumberRules.h"
#include "OvValueText.h"
#include "OvWirelessRules.h"

namespace {

int bandOf(const FleetVariable& v) {
    return v.oid.empty() ? 1 : static_cast<int>(v.oid.arcs().back());
}

std::string withoutIndex(const std::string& name) {
    return name.substr(0, name.find('.'));
}

// The LAN window's address checks and messages (the window kit still holds
// the messages).
struct AddressRule {
    const char* name;
    bool (*accepts)(std::string_view);
    const char* message;
};
const AddressRule kAddressRules[] = {
    {"hIPAddress", ovrules::isHostAddress, "Please input valid IP Address."},
    {"hSubnetMask", ovrules::isSubnetMask, "Please input valid Subnet Mask."},
    {"hDefaultGateway", ovrules::isHostAddress, "Please input valid Gateway."},
};

// The performance, grouping and security windows' typed numbers.
const std::pair<const char*, const ovrules::NumberField*> kNumberRules[] = {
    {"adBeaconInterval", &ovrules::kBeaconInterval},
    {"adDTIM", &ovrules::kDtimPeriod},
    {"adFragmentLength", &ovrules::kFrameLength},
    {"adRTSLength", &ovrules::kFrameLength},
    {"UserLimit(0-64)", &ovrules::kGroupUsers},
    {"adSecGroupKeyUpdateInterval", &ovrules::kGroupKeyInterval},
    {"SecRADIUSPort", &ovrules::kRadiusPort},
};

} // namespace

namespace fleet {

std::optional<std::string> valueRefusal(const FleetVariable& variable, const std::string& text) {
    const std::string name = withoutIndex(variable.name);
    if (variable.options != nullptr) {
        if (variable.options->IndexToSelect(text) < 0) {
            std::string labels;
            for (const std::string& label : variable.options->Labels())
                labels += (labels.empty() ? "" : ", ") + std::string("\"") + label + "\"";
            return "\"" + text + "\" is none of " + labels;
        }
        return std::nullopt;
    }
    for (const AddressRule& rule : kAddressRules) {
        if (name == rule.name && !rule.accepts(text))
            return std::string(rule.message);
    }
    for (const auto& [numberName, field] : kNumberRules) {
        if (name == numberName) {
            if (const char* refusal = ovrules::numberRefusal(text, *field))
                return std::string(refusal);
        }
    }
    if (name == "hSSID") {
        if (const auto refusal = ovrules::ssidRefusal(text, bandOf(variable)))
            return refusal->text;
    }
    if (name == "adSecPassPhrase") {
        if (const auto refusal = ovrules::passPhraseRefusal(text, bandOf(variable)))
            return refusal->text;
    }
    if (variable.type == ovtype::displaystr || variable.type == ovtype::octetstr) {
        // The RADIUS secret takes letters and digits only.
        const auto mode = name == "SecRADIUSSecret" ? ovrules::TextCheckMode::Secret
                                                    : ovrules::TextCheckMode::NoQuotationMark;
        if (const char* refusal = ovrules::textRefusal(text, mode))
            return std::string(refusal);
    }
    return std::nullopt;
}

FleetAssignment checkedAssignment(const std::string& argument) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos || equals == 0)
        throw FleetUsageError("\"" + argument + "\" is not NAME=VALUE");
    FleetAssignment assignment{
        findVariable(argument.substr(0, equals)), argument.substr(equals + 1), {}};
    const FleetVariable& variable = assignment.variable;
    if (!isWritable(variable))
        throw FleetUsageError(variable.name + " cannot be written");
    if (const auto refusal = valueRefusal(variable, assignment.text))
        throw FleetUsageError(variable.name + ": " + *refusal);
    try {
        assignment.value = ValueFromText(assignment.text, variable.type, variable.options);
    } catch (const OvException& e) {
        throw FleetUsageError(variable.name + ": \"" + assignment.text + "\": " + e.text());
    }
    assignment.value.oid = variable.oid;
    return assignment;
}

} // namespace fleet

FleetValueJob::FleetValueJob(const FleetDevice& device, const std::vector<FleetVariable>* reads,
                             const std::vector<FleetAssignment>* writes, bool restart)
    : target_(device.target), reads_(reads), writes_(writes), restart_(restart) {
    row_.device = device.name;
}

void FleetValueJob::start(std::function<void()> finished) {
    finished_ = std::move(finished);
    if (writes_ != nullptr) {
        std::vector<OvVb> bindings;
        for (const FleetAssignment& a : *writes_)
            bindings.push_back(a.value);
        row_.sent = true;
        fleet::send(target_, OvPduType::Set, bindings, [this](const FleetOutcome& outcome) {
            if (!outcome.ok || !restart_) {
                end(outcome);
                return;
            }
            // As the windows end a change: the device restarts and falls silent.
            FleetAssignment restart = fleet::checkedAssignment("Restart=reboot");
            fleet::send(target_, OvPduType::Set, {restart.value},
                        [this](const FleetOutcome& restarted) {
                            row_.restarted = restarted.ok;
                            end(restarted);
                        });
        });
        return;
    }
    fleet::send(target_, OvPduType::Get, fleet::getBindings(*reads_),
                [this](const FleetOutcome& outcome) { end(outcome); });
}

void FleetValueJob::end(const FleetOutcome& outcome) {
    row_.done = true;
    row_.ok = outcome.ok;
    if (!outcome.ok) {
        row_.error = outcome.error;
        // The device names the binding it refused (error index from 1).
        const auto* names = reads_;
        const std::size_t index = static_cast<std::size_t>(outcome.errorIndex);
        if (index >= 1 && outcome.status > 0) {
            if (writes_ != nullptr && index <= writes_->size())
                row_.error += " (" + (*writes_)[index - 1].variable.name + ")";
            else if (names != nullptr && index <= names->size())
                row_.error += " (" + (*names)[index - 1].name + ")";
        }
    } else if (reads_ != nullptr) {
        for (std::size_t i = 0; i < reads_->size(); ++i)
            row_.values.push_back(fleet::shownValue((*reads_)[i], outcome.bindings[i]));
    }
    if (finished_)
        finished_();
}

namespace fleet {

namespace {
std::string rowState(const FleetValueRow& r) {
    if (!r.done)
        return r.sent ? "interrupted: sent, answer not awaited" : "interrupted: not sent";
    return r.ok ? (r.restarted ? "ok, restarting" : "ok") : r.error;
}
} // namespace

std::string valueTable(const std::vector<FleetValueRow>& rows,
                       const std::vector<std::string>& names, bool set) {
    std::vector<std::string> header{"DEVICE", "STATUS"};
    if (!set)
        header.insert(header.end(), names.begin(), names.end());
    std::vector<std::vector<std::string>> cells;
    for (const FleetValueRow& r : rows) {
        std::vector<std::string> line{r.device, rowState(r)};
        for (std::size_t i = 0; !set && i < names.size(); ++i)
            line.push_back(i < r.values.size() ? r.values[i] : "-");
        cells.push_back(line);
    }
    return tableText(header, cells);
}

std::string valueJson(const std::vector<FleetValueRow>& rows, const std::vector<std::string>& names,
                      bool set, bool interrupted) {
    std::string out =
        std::string("{\n  \"command\": \"") + (set ? "set" : "get") + "\",\n  \"devices\": [";
    int ok = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FleetValueRow& r = rows[i];
        ok += r.ok ? 1 : 0;
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"device\": " + jsonString(r.device) +
               ", \"ok\": " + (r.ok ? "true" : "false") +
               ", \"error\": " + (r.ok ? "null" : jsonString(rowState(r)));
        if (set) {
            out += std::string(", \"sent\": ") + (r.sent ? "true" : "false") +
                   ", \"restarted\": " + (r.restarted ? "true" : "false") + "}";
            continue;
        }
        out += ", \"values\": ";
        if (!r.ok) {
            out += "null}";
            continue;
        }
        out += "{";
        for (std::size_t n = 0; n < names.size() && n < r.values.size(); ++n)
            out += (n ? ", " : "") + jsonString(names[n]) + ": " + jsonString(r.values[n]);
        out += "}}";
    }
    return out + jsonSummary(rows.size(), static_cast<std::size_t>(ok), interrupted);
}

} // namespace fleet
