#include "FleetStatus.h"

#include "DeviceMib.h"
#include "FleetOutput.h"
#include "FleetVariables.h"
#include "OvOptionList.h"
#include "OvValueText.h"

namespace {

// Read by name, in the order of the GET.
const char* const kFactNames[] = {"SystemDescription", "SystemUptime", "stFirmwareVersion",
                                  "MACAddress",        "stLED",        "clientinfosupported"};
constexpr std::size_t kFactCount = std::size(kFactNames);

const std::vector<FleetVariable>& factVariables() {
    static const std::vector<FleetVariable> variables = [] {
        std::vector<FleetVariable> list;
        for (const char* name : kFactNames)
            list.push_back(fleet::findVariable(name));
        return list;
    }();
    return variables;
}

// The client table's MAC column; "MAC" names a static pool column too.
OvOid columnOid() {
    return *OvOid::parse(mib::T40[2].oid);
}

// A device walks at most this many rows: one that never ends its column
// (an OID that does not increase is caught anyway) still finishes.
constexpr int kMaxClientSteps = 2048;

std::string numberOrDash(const std::optional<int>& n) {
    return n ? std::to_string(*n) : "-";
}

} // namespace

FleetStatusJob::FleetStatusJob(const FleetDevice& device) : target_(device.target) {
    row_.device = device.name;
    row_.address = device.target.agentAddress;
    row_.port = device.target.agentPort;
}

void FleetStatusJob::start(std::function<void()> finished) {
    finished_ = std::move(finished);
    fleet::send(target_, OvPduType::Get, fleet::getBindings(factVariables()),
                [this](const FleetOutcome& outcome) { readFacts(outcome); });
}

void FleetStatusJob::readFacts(const FleetOutcome& outcome) {
    if (!outcome.ok) {
        row_.error = outcome.error;
        end();
        return;
    }
    std::array<std::string, kFactCount> text;
    for (std::size_t i = 0; i < kFactCount; ++i)
        text[i] = fleet::shownValue(factVariables()[i], outcome.bindings[i]);
    const std::string& description = text[0];
    row_.model = description.substr(0, description.find(' '));
    row_.uptime = text[1];
    row_.firmware = text[2];
    row_.mac = text[3];
    row_.leds = fleet::ledStates(text[4]);
    if (row_.model != OV_MODEL_NAME) {
        row_.error = "not an " OV_MODEL_NAME ": the device says \"" + description + "\"";
        end();
        return;
    }
    if (text[5] == "0") {
        row_.ok = true;
        end();
        return;
    }
    row_.clientsA = 0;
    row_.clientsG = 0;
    walkClients(columnOid());
}

void FleetStatusJob::walkClients(const OvOid& after) {
    lastClient_ = after;
    OvVb vb;
    vb.oid = after;
    fleet::send(target_, OvPduType::GetNext, {vb},
                [this](const FleetOutcome& outcome) { clientStep(outcome); });
}

void FleetStatusJob::clientStep(const FleetOutcome& outcome) {
    const OvOid column = columnOid();
    // SNMPv1 ends a walk past the MIB's end with noSuchName.
    const bool endOfView = !outcome.ok && outcome.status == 2 && target_.version == 0;
    if (!outcome.ok && !endOfView) {
        row_.error = outcome.error;
        end();
        return;
    }
    const OvVb* vb = outcome.ok ? &outcome.bindings.front() : nullptr;
    if (vb == nullptr || !vb->oid.startsWith(column) || vb->syntax == OvSyntax::EndOfMibView) {
        row_.ok = true;
        end();
        return;
    }
    // A row is named by band and slot; an OID that does not grow would loop.
    if (vb->oid.size() != column.size() + 2 || !(lastClient_ < vb->oid) ||
        ++clientSteps_ > kMaxClientSteps) {
        row_.error = "the client table names a row wrongly (" + vb->oid.toString() + ")";
        end();
        return;
    }
    // Free slots hold the MAC address 000000000000.
    const bool station = vb->octets.find_first_not_of('\0') != std::string::npos;
    const std::uint32_t band = vb->oid.arcs()[column.size()];
    if (station && band == 1)
        ++*row_.clientsA;
    if (station && band == 2)
        ++*row_.clientsG;
    walkClients(vb->oid);
}

void FleetStatusJob::end() {
    row_.done = true;
    if (finished_)
        finished_();
}

namespace fleet {

std::array<std::string, 4> ledStates(const std::string& ledValue) {
    std::int32_t value = 0;
    std::array<std::string, 4> states;
    if (!ov::parseInt32(ledValue, value))
        return {"?", "?", "?", "?"};
    const int litBits[] = {0x01, 0x04, 0x10, 0x40};
    for (std::size_t i = 0; i < states.size(); ++i) {
        const int lit = litBits[i];
        states[i] = (value & (lit << 1)) ? "blinking" : (value & lit) ? "on" : "off";
    }
    return states;
}

std::string statusTable(const std::vector<FleetStatusRow>& rows) {
    std::vector<std::vector<std::string>> cells;
    for (const FleetStatusRow& r : rows) {
        const std::string state = !r.done ? "interrupted" : r.ok ? "ok" : r.error;
        const bool facts = !r.model.empty();
        cells.push_back({r.device, state, facts ? r.model : "-", facts ? r.firmware : "-",
                         facts ? r.mac : "-", facts ? r.uptime : "-", facts ? r.leds[0] : "-",
                         facts ? r.leds[1] : "-", facts ? r.leds[2] : "-", facts ? r.leds[3] : "-",
                         numberOrDash(r.clientsA), numberOrDash(r.clientsG)});
    }
    return tableText({"DEVICE", "STATUS", "MODEL", "FIRMWARE", "MAC", "UPTIME", "POWER", "LAN",
                      "11G", "11A", "CLIENTS-A", "CLIENTS-G"},
                     cells);
}

std::string statusJson(const std::vector<FleetStatusRow>& rows, bool interrupted) {
    std::string out = "{\n  \"command\": \"status\",\n  \"devices\": [";
    int ok = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FleetStatusRow& r = rows[i];
        ok += r.ok ? 1 : 0;
        const bool facts = !r.model.empty();
        auto text = [&](const std::string& s) { return facts ? jsonString(s) : "null"; };
        auto count = [](const std::optional<int>& n) {
            return n ? std::to_string(*n) : std::string("null");
        };
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"device\": " + jsonString(r.device) +
               ", \"address\": " + jsonString(r.address) + ", \"port\": " + std::to_string(r.port) +
               ", \"ok\": " + (r.ok ? "true" : "false") +
               ", \"error\": " + (r.ok ? "null" : jsonString(r.done ? r.error : "interrupted")) +
               ", \"model\": " + text(r.model) + ", \"firmware\": " + text(r.firmware) +
               ", \"mac\": " + text(r.mac) + ", \"uptime\": " + text(r.uptime) + ", \"leds\": ";
        if (facts) {
            out += "{";
            for (std::size_t l = 0; l < r.leds.size(); ++l)
                out += std::string(l ? ", " : "") + "\"" + kLedNames[l] +
                       "\": " + jsonString(r.leds[l]);
            out += "}";
        } else {
            out += "null";
        }
        out += ", \"clients\": {\"11a\": " + count(r.clientsA) + ", \"11g\": " + count(r.clientsG) +
               "}}";
    }
    return out + jsonSummary(rows.size(), static_cast<std::size_t>(ok), interrupted);
}

} // namespace fleet
