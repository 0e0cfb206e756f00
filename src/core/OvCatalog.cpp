#include "OvCatalog.h"

#include <array>
#include <fstream>
#include <iterator>

namespace {

// Built-in texts, entry by entry, valid until a catalog file replaces them.
// "snmp.err"
const std::vector<std::string> kSnmpTexts = {
    "(SNMP) Response PDU Too Big!",
    "(SNMP) Variable does not exist!",
    "(SNMP) Cannot modify variable: Bad Value!",
    "(SNMP) Cannot modify object, Read Only!",
    "(SNMP) Cannot perform operation, General Error!",
    "(SNMP) Cannot access variable, No Access!",
    "(SNMP) Cannot create/modify variable, Wrong Type!",
    "(SNMP) Cannot create/set variable, Wrong Length!",
    "(SNMP) Cannot create/set variable, Wrong Encoding!",
    "(SNMP) Cannot create/set variable, Wrong Value!",
    "(SNMP) Cannot create variable, Creation Not Allowed!",
    "(SNMP) Cannot create/set variable, Inconsistent Value!",
    "(SNMP) Cannot create/set variable, Resource Unavailable!",
    "(SNMP) Cannot create/set variable, Commit Failed!",
    "(SNMP) Cannot create/set variable, Undo Failed!",
    "(SNMP) Cannot perform operation, Authorization Error!",
    "(SNMP) Cannot create/set variable, Not Writable!",
    "(SNMP) Cannot create variable, Inconsistent Name!",
    "(SNMP) Cannot download the overdue firmware!",
};
// "snmpv3.err"
const std::vector<std::string> kSnmpV3Texts = {
    "(SNMPv3) Unsupported Security Model!",
    "(SNMPv3) Message not in Time Window!",
    "(SNMPv3) Received same Message twice!",
    "(SNMPv3) Invalid Message!",
    "(SNMPv3) Invalid EngineID!",
    "(SNMPv3) v3MP not initialized!",
    "(SNMPv3) Parse Error!",
    "(SNMPv3) Received Message with unknown MsgID!",
    "(SNMPv3) Message does not match known message!",
    "(SNMPv3) Community format error!",
    "(SNMPv3) Unknown UserName!",
    "(SNMPv3) Build error!",
    "(SNMPv3) USM: error!",
    "(SNMPv3) Unknown pdu handlers!",
    "(SNMPv3) Unavailable Context!",
    "(SNMPv3) Unknown Context!",
    "(SNMPv3) Report sent!",
};
// "snmpusm.err"
const std::vector<std::string> kUsmTexts = {
    "(SNMPv3USM) error!",
    "(SNMPv3USM) Configfile write error!",
    "(SNMPv3USM) Unsupported SecurityLevel!",
    "(SNMPv3USM) Unknown SecurityName!",
    "(SNMPv3USM) Encryption error!",
    "(SNMPv3USM) Decryption error!",
    "(SNMPv3USM) Authentication error!",
    "(SNMPv3USM) Authentication failure!",
    "(SNMPv3USM) Parse error!",
    "(SNMPv3USM) Unknown EngineID!",
    "(SNMPv3USM) Message not in TimeWindow!",
    "(SNMPv3USM) Unsupported AuthProtocol!",
    "(SNMPv3USM) Unsupported PrivProtocol!",
    "(SNMPv3USM) Address error!",
    // The module's own: a pass phrase net-snmp cannot derive a key from.
    "(SNMPv3USM) Authentication pass phrase shorter than 8 characters!",
    "(SNMPv3USM) Privacy pass phrase shorter than 8 characters!",
};
// "snmpclass.err"
const std::vector<std::string> kSnmpClassTexts = {
    "(SNMPClass) Operation failed!",
    "(SNMPClass) Resource unavailable!",
    "(SNMPClass) Internal error!",
    "(SNMPClass) Unsupported function!",
    "(SNMPClass) SNMP request timed out!",
    "(SNMPClass) Received SNMP Response!",
    "(SNMPClass) Received SNMP Notification (trap or inform)!",
    "(SNMPClass) Closing session with outstanding requests!",
    "(SNMPClass)Unknown error code!",
    "(SNMPClass) Class not valid!",
    "(SNMPClass) Invalid Pdu!",
    "(SNMPClass) Invalid Target!",
    "(SNMPClass) Invalid (null) Callback Function!",
    "(SNMPClass) Invalid Request Id!",
    "(SNMPClass) Invalid Notification Id!",
    "(SNMPClass) SNMP Operation not supported on specified Target!",
    "(SNMPClass) Invalid Object Identifier!",
    "(SNMPClass) Invalid Address!",
    "(SNMPClass) Agent indicates error in SNMP request!",
    "(SNMP Class) Transport is not supported!",
    "(SNMPClass) Transport is in use!",
    "(SNMPClass) Transport operation failed!",
    "(SNMPClass) Blocked Mode Shutdown!",
};
// "ovsnmp.err"
const std::vector<std::string> kOvSnmpTexts = {
    "(OvSNMP++) Ok!",
    "(OvSNMP++) Fail to read SNMP variables from file([FILENAME])!",
    "(OvSNMP++) Bad format at line([LINENO])in SNMP variables file([FILENAME])!",
    "(OvSNMP++) Bad item type at line([LINENO])in SNMP variables file([FILENAME])!",
    "(OvSNMP++) Bad syntax at line([LINENO])in SNMP variables file([FILENAME])!",
    "(OvSNMP++) Bad access type at line([LINENO])in SNMP variables file([FILENAME])!",
    "(OvSNMP++) Cannot create the global OvSNMP++ session!",
    "(OvSNMP++) Error when loading SNMP engine boots counter!",
    "(OvSNMP++) Error when saving SNMP engine boots counter!",
    "(OvSNMP++) Invalid IP Address or DNS name!",
    "(OvSNMP++) Can't send get-next command for a SNMP variable list with single value!",
    "(OvSNMP++) Bad SNMP syntax!",
    "(OvSNMP++) Null value in the expression!",
    "(OvSNMP++) Bad SNMP syntax in the expression!",
    "(OvSNMP++) Bad key count of SNMP variable list!",
    "(OvSNMP++) Bad item type of SNMP variable list!",
    "(OvSNMP++) Bad item type of associated SNMP variable list!",
    "(OvSNMP++) Bad syntax of the associated SNMP variable's (partial) data!",
    "(OvSNMP++) Bad value of the associated SNMP variable's (partial) data!",
    "(OvSNMP++) Out of range for the bit(byte) index of the associated SNMP variable's (partial) "
    "data!",
    "(OvSNMP++) No reference option list for a SNMP variable's (partial) data associating with a "
    "optional visual control!",
    "(OvSNMP++) Bad type of the associated visual control!",
    "(OvSNMP++) Count of the associated visual controls is not enough!",
    "(OvSNMP++) No system start time for the time whose data source is the SNMP variable's "
    "(partial) data with syntax timeticks!",
    "(OvSNMP++) Count of the value items for the chart's history data is not enough!",
    "(OvSNMP++) Log database is not connected!",
    "(OvSNMP++) Log database field not found!",
    "(OvSNMP++) Bad syntax for the history chart of log!",
    "(OvSNMP++) Unknown error code!",
};
// "snmp.msg"
const std::vector<std::string> kMessageTexts = {
    "Get: [ERROR] Request:[VARLIST]. Receive at [TIME].",
    "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].",
};
// "common.err"
const std::vector<std::string> kCommonTexts = {
    "(OvCommon) Ok!",
    "(OvCommon) Bad logic operand!",
    "(OvCommon) Bad format specifier of edit's constraint!",
    "(OvCommon) Empty value is not allowed!",
    "(OvCommon) Please enter a string whose length is less than [MAXLEN]!",
    "(OvCommon) Please enter a string whose length is [LEN]!",
    "(OvCommon) Please enter a hex string whose length is less than [MAXLEN]!",
    "(OvCommon) Please enter a hex string whose length is [LEN]!",
    "(OvCommon) Please enter a number between [MIN] and [MAX]!",
    "(OvCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the "
    "count of the number is less than [MAXCOUNT]!",
    "(OvCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the "
    "count of the number is equal to [COUNT]!",
    "(OvCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,each "
    "number is between [MIN] and [MAX]!",
    "(OvCommon) Out of range at index of array or list!",
    "(OvCommon) Destination buffer is undersize!",
    "(OvCommon) The source to dncrypt is not encrypted!",
    "(OvCommon) Fail to read data from file([FILENAME])!",
    "(OvCommon) Fail to write data to file([FILENAME])!",
    "(OvCommon) Fail to write value in ini file([FILENAME])!",
    "(OvCommon) Fail to read option data from file([FILENAME])!",
};

struct CatalogInfo {
    const char* file;
    const std::vector<std::string>* defaults;
};

const std::array<CatalogInfo, kCatalogCount> kCatalogs = {{
    {"snmp.err", &kSnmpTexts},
    {"snmpv3.err", &kSnmpV3Texts},
    {"snmpusm.err", &kUsmTexts},
    {"snmpclass.err", &kSnmpClassTexts},
    {"ovsnmp.err", &kOvSnmpTexts},
    {"snmp.msg", &kMessageTexts},
    {"common.err", &kCommonTexts},
}};

// The tables in use; empty means "the built-in table".
std::array<std::vector<std::string>, kCatalogCount>& loadedTables() {
    static std::array<std::vector<std::string>, kCatalogCount> tables;
    return tables;
}

std::size_t indexOf(OvCatalog catalog) {
    return static_cast<std::size_t>(catalog);
}

// Blank: nothing left after removing leading and trailing blanks and control characters.
bool isBlank(const std::string& line) {
    for (unsigned char c : line) {
        if (c > ' ' && c != 0x7F)
            return false;
    }
    return true;
}

// Longest piece of one line that the loader takes at once.
constexpr std::size_t kPieceLength = 1023;

const std::string kEmpty;

} // namespace

namespace ov {

const char* catalogFileName(OvCatalog catalog) {
    return kCatalogs[indexOf(catalog)].file;
}

const std::string& catalogEntry(OvCatalog catalog, int entry) {
    if (entry < 0)
        return kEmpty;
    const auto n = static_cast<std::size_t>(entry);
    const auto& loaded = loadedTables()[indexOf(catalog)];
    if (n < loaded.size())
        return loaded[n];
    const auto& defaults = *kCatalogs[indexOf(catalog)].defaults;
    return n < defaults.size() ? defaults[n] : kEmpty;
}

std::vector<std::string> catalogLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        const bool hasFeed = end != std::string::npos;
        if (!hasFeed)
            end = content.size();
        std::size_t stop = end;
        if (hasFeed && stop > start && content[stop - 1] == '\r')
            --stop;
        std::string line = content.substr(start, stop - start);
        for (std::size_t at = 0; at == 0 || at < line.size(); at += kPieceLength) {
            std::string piece = line.substr(at, kPieceLength);
            if (!isBlank(piece))
                lines.push_back(std::move(piece));
            if (line.empty())
                break;
        }
        start = end + 1;
    }
    return lines;
}

bool loadCatalog(OvCatalog catalog, const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return false;
    auto lines = catalogLines(content);
    if (lines.empty())
        return false;
    loadedTables()[indexOf(catalog)] = std::move(lines);
    return true;
}

void loadCatalogs(const std::filesystem::path& folder, const std::vector<OvCatalog>& order) {
    for (OvCatalog catalog : order)
        loadCatalog(catalog, folder / catalogFileName(catalog));
}

void resetCatalogs() {
    for (auto& table : loadedTables())
        table.clear();
}

OvStatus mapStatus(int status) {
    if (status == 0 || status == 1400 || status == -1401)
        return {0, catalogEntry(OvCatalog::OvSnmp, 0)};
    if (status >= 1401 && status <= 1416)
        return {1100 - status, catalogEntry(OvCatalog::Usm, status - 1401)};
    if (status >= -1418 && status <= -1402)
        return {status + 1201, catalogEntry(OvCatalog::SnmpV3, -1402 - status)};
    if (status >= 1 && status <= 19)
        return {-100 - status, catalogEntry(OvCatalog::Snmp, status - 1)};
    if (status >= -23 && status <= -1)
        return {status - 400, catalogEntry(OvCatalog::SnmpClass, -1 - status)};
    return {-528, catalogEntry(OvCatalog::OvSnmp, 28)};
}

std::string textOfCode(std::int32_t code) {
    if (code == 0)
        return catalogEntry(OvCatalog::OvSnmp, 0);
    if (code <= -501 && code >= -528)
        return catalogEntry(OvCatalog::OvSnmp, -500 - code);
    if (code <= -1 && code >= -18)
        return catalogEntry(OvCatalog::Common, -code);
    if (code <= -101 && code >= -119)
        return catalogEntry(OvCatalog::Snmp, -101 - code);
    if (code <= -201 && code >= -217)
        return catalogEntry(OvCatalog::SnmpV3, -201 - code);
    if (code <= -301 && code >= -316)
        return catalogEntry(OvCatalog::Usm, -301 - code);
    if (code <= -401 && code >= -423)
        return catalogEntry(OvCatalog::SnmpClass, -401 - code);
    return catalogEntry(OvCatalog::OvSnmp, 28);
}

std::string fillPlaceholder(std::string text, const std::string& placeholder,
                            const std::string& value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
    return text;
}

} // namespace ov
