#include "Device.h"

#include "DeviceContent.h"
#include "DeviceMib.h"
#include "TypedValue.h"
#include "Wireless.h"

#include <algorithm>
#include <stdexcept>

namespace apsim {
namespace {

// Status variables that show the configuration once the device has restarted.
const char* const statusMirrors[][2] = {
    {"4.1.1.3.0", "1.2.1.0"},     {"4.1.1.4.0", "1.2.2.0"},     {"4.1.1.5.0", "1.2.3.0"},
    {"4.1.1.6.0", "1.2.4.0"},     {"4.1.2.1.1.1", "1.1.1.1.1"}, {"4.1.2.1.1.2", "1.1.1.1.2"},
    {"4.1.2.1.2.1", "1.1.1.3.1"}, {"4.1.2.1.2.2", "1.1.1.3.2"},
};

constexpr int maxRows = 65535;

// The lease tables (dynamic, static) and the variables that ask the device to
// prepare them ("DynamicGet", "StaticGet").
const OvOid& leaseTable(std::size_t which) {
    static const OvOid tables[] = {privateOid("2.7.4.1"), privateOid("2.7.4.2")};
    return tables[which];
}

const OvOid& leaseTrigger(std::size_t which) {
    static const OvOid triggers[] = {privateOid("2.7.4.3.1.0"), privateOid("2.7.4.3.2.0")};
    return triggers[which];
}

bool isOne(const OvVb& value) {
    return value.syntax == OvSyntax::Integer && value.number == 1;
}

// The OID after every instance below `table`.
OvOid pastTable(const OvOid& table) {
    OvOid past = table;
    ++past.arcs().back();
    return past;
}

std::uint32_t addressOf(const OvVb& value) {
    std::uint32_t address = 0;
    for (const char octet : value.octets)
        address = address << 8 | static_cast<unsigned char>(octet);
    return address;
}

bool numberWithin(const OvVb& value, std::int32_t low, std::int32_t high) {
    const auto number = static_cast<std::int32_t>(value.number);
    return number >= low && number <= high;
}

OvVb neutralValue(const MibObject& object) {
    switch (object.type) {
    case ovtype::integer: {
        const auto& allowed = object.allowed;
        const bool zeroAllowed =
            allowed.empty() || std::find(allowed.begin(), allowed.end(), 0) != allowed.end();
        return OvVb::integer(zeroAllowed ? 0 : allowed.front());
    }
    case ovtype::macaddress:
        return OvVb::octetString(std::string(6, '\0'));
    case ovtype::ipaddress:
        return OvVb::octetString(std::string(4, '\0'), OvSyntax::IpAddress);
    case ovtype::objectid:
        return OvVb::objectIdentifier(*OvOid::parse("0.0"));
    case ovtype::counter:
    case ovtype::timeticks:
        return OvVb::unsigned32(syntaxOfType(object.type), 0);
    default:
        return OvVb::octetString("");
    }
}

// The band (1, 2) of a site survey table, 0 for other tables.
int surveyBand(const RowTable& table) {
    return table.table == 54 ? 1 : table.table == 55 ? 2 : 0;
}

int rowCount(const RowTable& table, const std::vector<std::pair<std::string, int>>& counts) {
    int rows = table.defaultRows;
    for (const auto& [name, count] : counts) {
        if (name == table.name)
            rows = count;
        else if (name == "clients" && table.table == 40)
            rows = table.band == 1 ? count / 2 : count - count / 2;
    }
    return rows;
}

void checkRowCounts(const std::vector<std::pair<std::string, int>>& counts) {
    for (const auto& [name, count] : counts) {
        const auto tables = rowTables();
        const bool known =
            name == "clients" || std::any_of(tables.begin(), tables.end(),
                                             [&](const RowTable& t) { return name == t.name; });
        if (!known)
            throw std::invalid_argument("\"" + name + "\" is not a table of --rows (see --help)");
        if (count < 0 || count > maxRows)
            throw std::invalid_argument("rows of \"" + name + "\" must be 0 to " +
                                        std::to_string(maxRows));
    }
}

} // namespace

Device::Device(const DeviceConfig& config) : lan_(config.lan), air_(config.air) {
    lively_ = config.lively;
    speed_ = config.speed;
    addObjects();
    if (lively_)
        if (const auto temperature = variables_.find(privateOid("4.6.1.0"));
            temperature != variables_.end())
            temperature->second.drifts = true;
    checkRowCounts(config.rows);
    addRows(config.rows);
    for (const auto& [var, text] : config.values)
        applyValue(var, text);
    for (const std::string& var : config.absent)
        absent_.push_back(mib_.resolve(var));
    std::erase_if(variables_, [this](const Entry& entry) { return isAbsent(entry.first); });
    // A start value of 1 means the manager asked before apsim started.
    for (std::size_t which = 0; which < leasesPrepared_.size(); ++which) {
        const auto trigger = variables_.find(leaseTrigger(which));
        leasesPrepared_[which] = trigger != variables_.end() && isOne(trigger->second.value);
    }
    log_ = logRows();
    factory_ = variables_;
    factoryLeasesPrepared_ = leasesPrepared_;
    factoryLog_ = log_;
}

void Device::addObjects() {
    for (const auto& [oid, object] : mib_.objects()) {
        if (object.column)
            continue;
        DeviceVariable variable;
        variable.type = object.type;
        variable.writable = object.writable;
        variable.object = &object;
        const auto text = factoryText(oid, lan_);
        variable.value = text ? parseValue(*text, object.type) : neutralValue(object);
        variable.uptime = oid == *OvOid::parse("1.3.6.1.2.1.1.3.0");
        variable.growth = growthPerSecond(oid);
        variables_[oid] = std::move(variable);
    }
}

void Device::addRows(const std::vector<std::pair<std::string, int>>& counts) {
    for (const RowTable& table : rowTables()) {
        const int rows = rowCount(table, counts);
        const int used = table.usedRows < 0 ? rows : std::min(table.usedRows, rows);
        if (const int band = surveyBand(table))
            surveyRows_[band - 1] = rows;
        addTableRows(table, rows, used, 0);
    }
}

void Device::addTableRows(const RowTable& table, int rows, int used, int scan) {
    const mib::TableInfo& info = mib::tables()[table.table - 1];
    for (int row = 1; row <= rows; ++row)
        addRow(info, generateRow(table, row, row <= used, lan_, scan));
}

void Device::addRow(const mib::TableInfo& info, const GeneratedRow& row) {
    std::size_t next = 0;
    for (const OvSNMPVarRow* column = info.rows; column->oid != nullptr; ++column) {
        if (*column->oid == '\0')
            continue;
        OvOid oid = *OvOid::parse(column->oid);
        const MibObject* object = mib_.find(oid);
        oid.arcs().insert(oid.arcs().end(), row.index.begin(), row.index.end());
        DeviceVariable variable;
        variable.type = object->type;
        variable.writable = object->writable;
        variable.object = object;
        if (object->indexColumn)
            variable.value = OvVb::integer(static_cast<std::int32_t>(row.index.back()));
        else if (next < row.values.size())
            variable.value = parseValue(row.values[next++], object->type);
        else
            throw std::logic_error("no value for a column of T" + std::to_string(info.number));
        variables_[oid] = std::move(variable);
    }
}

void Device::removeTableRows(const RowTable& table) {
    const mib::TableInfo& info = mib::tables()[table.table - 1];
    for (const OvSNMPVarRow* column = info.rows; column->oid != nullptr; ++column) {
        if (*column->oid == '\0')
            continue;
        const OvOid base = *OvOid::parse(column->oid);
        auto it = variables_.upper_bound(base);
        while (it != variables_.end() && it->first.startsWith(base))
            it = variables_.erase(it);
    }
}

void Device::scanSurvey(int band) {
    for (const RowTable& table : rowTables()) {
        if (surveyBand(table) != band)
            continue;
        const int scan = ++surveyScans_[band - 1];
        const int rows = std::min(surveyRows_[band - 1] + scan, maxRows);
        removeTableRows(table);
        addTableRows(table, rows, rows, scan);
    }
}

void Device::applyValue(const std::string& var, const std::string& text) {
    const OvOid oid = mib_.resolve(var);
    if (text.rfind("n:", 0) == 0)
        throw std::invalid_argument("--set " + var + ": a NULL cannot be served (see --absent)");
    if (const auto it = variables_.find(oid); it != variables_.end()) {
        it->second.value = parseValue(text, it->second.type);
        it->second.uptime = false;
        return;
    }
    const MibObject* object = mib_.find(oid);
    if (object != nullptr && object->column)
        throw std::invalid_argument("\"" + var + "\" is a table column; give the OID of a row");
    const bool typed = text.size() >= 2 && text[1] == ':';
    const bool served =
        oid.startsWith(MibObjects::systemRoot()) || oid.startsWith(MibObjects::privateRoot());
    if (!typed || !served)
        throw std::invalid_argument(
            "the device has no variable " + oid.toString() +
            "; a new one needs a type prefix (such as \"i:\") and an OID below " +
            MibObjects::systemRoot().toString() + " or " + MibObjects::privateRoot().toString());
    DeviceVariable variable;
    variable.value = parseValue(text, 0);
    variables_[oid] = std::move(variable);
}

const DeviceVariable* Device::find(const OvOid& oid) const {
    const auto it = variables_.find(oid);
    return it == variables_.end() || isHidden(oid) ? nullptr : &it->second;
}

const Device::Entry* Device::next(const OvOid& oid, const OvOid& root) const {
    auto it = variables_.upper_bound(oid);
    // A hidden table is passed over in one look-up, however many rows it holds.
    while (it != variables_.end()) {
        const OvOid* hidden = hiddenTableOf(it->first);
        if (hidden == nullptr)
            break;
        it = variables_.lower_bound(pastTable(*hidden));
    }
    if (it == variables_.end() || !it->first.startsWith(root))
        return nullptr;
    return &*it;
}

const OvOid* Device::hiddenTableOf(const OvOid& oid) const {
    for (std::size_t which = 0; which < leasesPrepared_.size(); ++which)
        if (!leasesPrepared_[which] && oid.startsWith(leaseTable(which)))
            return &leaseTable(which);
    return nullptr;
}

bool Device::isHidden(const OvOid& oid) const {
    return hiddenTableOf(oid) != nullptr;
}

bool Device::isAbsent(const OvOid& oid) const {
    return std::any_of(absent_.begin(), absent_.end(),
                       [&](const OvOid& prefix) { return oid.startsWith(prefix); });
}

int Device::checkSet(const OvOid& oid, const OvVb& value) const {
    const DeviceVariable* variable = isAbsent(oid) ? nullptr : find(oid);
    if (variable == nullptr) {
        const MibObject* object = isAbsent(oid) ? nullptr : mib_.objectOf(oid);
        return object != nullptr && object->writable ? snmperr::noCreation : snmperr::notWritable;
    }
    if (!variable->writable)
        return snmperr::notWritable;
    if (value.syntax != syntaxOfType(variable->type))
        return snmperr::wrongType;
    if (variable->type == ovtype::macaddress && value.octets.size() != 6)
        return snmperr::wrongLength;
    if (variable->type == ovtype::ipaddress && value.octets.size() != 4)
        return snmperr::wrongLength;
    if (value.octets.size() > 255)
        return snmperr::wrongLength;
    if (variable->type == ovtype::integer && variable->object != nullptr) {
        const auto& allowed = variable->object->allowed;
        const auto number = static_cast<std::int32_t>(value.number);
        if (!allowed.empty() && std::find(allowed.begin(), allowed.end(), number) == allowed.end())
            return snmperr::wrongValue;
    }
    return checkDeviceRule(oid, value);
}

// What the device's own firmware refuses beyond types and option lists.
int Device::checkDeviceRule(const OvOid& oid, const OvVb& value) const {
    static const OvOid poolRange = privateOid("2.7.2.2.0");
    static const OvOid leaseTime = privateOid("2.7.2.8.0");
    static const OvOid staticPoolIp = privateOid("2.7.3.1.2");
    static const OvOid userName = privateOid("3.1.1.0");
    static const OvOid password = privateOid("3.1.2.0");
    if (const int status = checkRogueCommand(oid, value))
        return status;
    // The administrator account: a name of up to 40 octets, a password of up to 12.
    if (oid == userName)
        return value.octets.size() <= 40 ? 0 : snmperr::wrongLength;
    if (oid == password)
        return value.octets.size() <= 12 ? 0 : snmperr::wrongLength;
    static const OvOid userLimit = privateOid("2.6.2.0");
    if (oid == userLimit) // load balancing's wireless users
        return numberWithin(value, 0, 64) ? 0 : snmperr::wrongValue;
    if (oid == poolRange)
        return numberWithin(value, 1, 255) ? 0 : snmperr::wrongValue;
    if (oid == leaseTime)
        return numberWithin(value, 60, 31536000) ? 0 : snmperr::wrongValue;
    const auto current = [this](const OvOid& other) -> const OvVb* {
        const DeviceVariable* variable = find(other);
        return variable != nullptr ? &variable->value : nullptr;
    };
    if (const int status = checkWirelessSet(oid, value, current))
        return status;
    if (oid.startsWith(staticPoolIp)) {
        // 0.0.0.0 frees the slot; anything else must be a host a client can hold.
        const std::uint32_t address = addressOf(value);
        const DeviceVariable* device = find(privateOid("1.2.2.0"));
        const DeviceVariable* mask = find(privateOid("1.2.3.0"));
        if (address == 0 || device == nullptr || mask == nullptr)
            return 0;
        return isUsableHost(address, addressOf(device->value), addressOf(mask->value))
                   ? 0
                   : snmperr::wrongValue;
    }
    return 0;
}

int Device::set(const OvOid& oid, const OvVb& value) {
    DeviceVariable& variable = variables_[oid];
    variable.value = value;
    variable.uptime = false;
    // A survey trigger is one variable under two names: both read what was written.
    if (const int band = surveyTriggerBand(oid))
        for (const std::string tail : {"", ".0"})
            if (const auto it =
                    variables_.find(privateOid("2.8.1.1." + std::to_string(band) + tail));
                it != variables_.end())
                it->second.value = value;
    if (applyRogueCommand(oid, value) || !isOne(value))
        return 0;
    if (const int band = surveyScanBand(oid, value))
        scanSurvey(band);
    for (std::size_t which = 0; which < leasesPrepared_.size(); ++which)
        if (oid == leaseTrigger(which))
            leasesPrepared_[which] = true;
    if (oid == privateOid("3.2.1.0"))
        return 1;
    if (oid == privateOid("3.2.2.0"))
        return 2;
    if (oid == privateOid("2.11.10.0"))
        clearLog();
    if (oid == privateOid("2.11.11.1.0"))
        takeLogSnapshot();
    if (oid.size() == 16 && oid.startsWith(privateOid("4.5.1.1.1")))
        rebuildClients(oid.arcs().back());
    return 0;
}

void Device::countLanMac(std::uint32_t add) {
    for (auto* variables : {&variables_, &factory_}) {
        const auto it = variables->find(privateOid("4.1.1.2.0"));
        if (it == variables->end() || it->second.value.octets.size() < 2)
            continue;
        std::string& octets = it->second.value.octets;
        const std::size_t at = octets.size() - 2;
        const auto low = static_cast<std::uint32_t>(static_cast<unsigned char>(octets[at]) << 8 |
                                                    static_cast<unsigned char>(octets[at + 1]));
        const std::uint32_t counted = (low + add) & 0xffffu;
        octets[at] = static_cast<char>(counted >> 8);
        octets[at + 1] = static_cast<char>(counted & 0xffu);
    }
}

void Device::clearLog() {
    log_.clear();
    takeLogSnapshot();
}

void Device::restart(bool factoryDefault) {
    if (factoryDefault) {
        variables_ = factory_;
        leasesPrepared_ = factoryLeasesPrepared_;
        surveyScans_ = {};
        log_ = factoryLog_;
    }
    for (const char* trigger : {"3.2.1.0", "3.2.2.0"})
        if (const auto it = variables_.find(privateOid(trigger)); it != variables_.end())
            it->second.value = OvVb::integer(0);
    for (const auto& [status, config] : statusMirrors) {
        const auto to = variables_.find(privateOid(status));
        const auto from = variables_.find(privateOid(config));
        if (to != variables_.end() && from != variables_.end() &&
            to->second.value.syntax == from->second.value.syntax)
            to->second.value = from->second.value;
    }
}

} // namespace apsim
