#include "OvStartup.h"

#include "OvIni.h"
#include "OvOptionList.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

namespace {

const std::string kProfileSection = "Program Information";

std::int32_t toInteger(const std::string& text) {
    std::int32_t value = 0;
    if (!ov::parseInt32(text, value))
        throw OvConversionError(text);
    return value;
}

// The station's codes are zero-based; the engine's start at 1.
std::int32_t plusOne(const std::string& text) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(toInteger(text)) + 1u);
}

bool versionThree(const OvStartupValues& v) {
    return v.profileVersionText == "3" || v.security.version == 3;
}

void readProfile(OvStartupValues& v, const std::string& path) {
    const OvIni ini(path);
    auto read = [&](const char* key) { return ini.Read(kProfileSection, key); };
    v.device.agentPort = static_cast<std::uint16_t>(toInteger(read("AgentPort")));
    v.security.version = static_cast<std::uint8_t>(toInteger(read("Version")));
    v.profileVersionText = std::to_string(v.security.version);
    if (const std::string name = read("ContextName"); !name.empty())
        v.scope.contextName = name;
    v.scope.contextEngineId = read("ContextEngineID");
    v.security.securityModel = toInteger(read("SecurityModel"));
    if (const std::string level = read("SecurityLevel"); level != "0")
        v.security.securityLevel = plusOne(level);
    v.security.securityName = read("SecurityName");
    if (const std::string protocol = read("AuthProtocol"); protocol != "0")
        v.security.authProtocol = plusOne(protocol);
    if (const std::string protocol = read("PrivProtocol"); protocol != "0")
        v.security.privProtocol = plusOne(protocol);
    if (const std::string password = read("AuthPassword"); !password.empty())
        v.security.authPassword = password;
    if (const std::string password = read("PrivPassword"); !password.empty())
        v.security.privPassword = password;
}

struct Switch {
    const char* text;
    bool versionThreeOnly;
    void (*apply)(OvStartupValues&, const std::string&);
};

// In the order they are looked for.
const Switch kSwitches[] = {
    {"/R", false, [](OvStartupValues& v, const std::string& s) { v.security.readCommunity = s; }},
    {"/W", false, [](OvStartupValues& v, const std::string& s) { v.security.writeCommunity = s; }},
    {"/v", false,
     [](OvStartupValues& v, const std::string& s) {
         v.security.version = static_cast<std::uint8_t>(toInteger(s));
     }},
    {"/t", true,
     [](OvStartupValues& v, const std::string& s) {
         v.device.agentPort = static_cast<std::uint16_t>(toInteger(s));
     }},
    {"/c", true, [](OvStartupValues& v, const std::string& s) { v.scope.contextName = s; }},
    {"/d", true, [](OvStartupValues& v, const std::string& s) { v.scope.contextEngineId = s; }},
    {"/m", true,
     [](OvStartupValues& v, const std::string& s) { v.security.securityModel = toInteger(s); }},
    {"/l", true,
     [](OvStartupValues& v, const std::string& s) { v.security.securityLevel = toInteger(s); }},
    {"/n", true, [](OvStartupValues& v, const std::string& s) { v.security.securityName = s; }},
    {"/A", true, [](OvStartupValues& v, const std::string& s) { v.security.authPassword = s; }},
    {"/P", true, [](OvStartupValues& v, const std::string& s) { v.security.privPassword = s; }},
    {"/a", true,
     [](OvStartupValues& v, const std::string& s) { v.security.authProtocol = plusOne(s); }},
    {"/p", true,
     [](OvStartupValues& v, const std::string& s) { v.security.privProtocol = plusOne(s); }},
};

const Switch* leadingSwitch(const std::string& argument) {
    for (const Switch& s : kSwitches) {
        if (argument.rfind(s.text, 0) == 0)
            return &s;
    }
    return nullptr;
}

// An argument that begins with a switch is that switch, so a value that holds
// another switch ("/Asecret/Ix") never acts as one. Only arguments beginning
// with none are searched anywhere, as the station has always passed them.
void applySwitch(OvStartupValues& v, const std::string& argument) {
    if (const Switch* s = leadingSwitch(argument)) {
        if (!s->versionThreeOnly || versionThree(v))
            s->apply(v, argument.substr(2));
        return;
    }
    for (const Switch& s : kSwitches) {
        if (s.versionThreeOnly && !versionThree(v))
            break;
        if (const std::size_t at = argument.find(s.text); at != std::string::npos) {
            s.apply(v, argument.substr(at + 2));
            return;
        }
    }
}

bool isAddressArgument(const std::string& argument, std::string& address) {
    if (argument.rfind("/I", 0) == 0) {
        address = argument.substr(2);
        return true;
    }
    if (leadingSwitch(argument) != nullptr)
        return false;
    const std::size_t at = argument.find("/I");
    if (at == std::string::npos)
        return false;
    address = argument.substr(at + 2);
    return true;
}

std::string nativeFolder(const std::string& text) {
    return QDir::toNativeSeparators(QFile::decodeName(text.c_str())).toStdString();
}

} // namespace

OvConversionError::OvConversionError(const std::string& text)
    : std::runtime_error("'" + text + "' is not a valid integer value") {}

namespace ovstation {

std::string configPath() {
    const char* path = std::getenv(pathVariable);
    return path != nullptr && *path != '\0' ? std::string(path) : defaultPath;
}

} // namespace ovstation

OvStationFolders OvReadStationFolders(const std::string& configFile, bool createHelpPath) {
    OvIni ini(configFile);
    if (createHelpPath)
        ini.CreateSection(ovstation::helpPathKey); // silent when the file cannot be written
    OvStationFolders folders;
    // The value names the module's help file; what remains is its folder.
    const std::string helpFile = ini.Read(ovstation::helpPathKey, ovstation::moduleValueName);
    if (helpFile.size() > 12)
        folders.moduleFolder = helpFile.substr(0, helpFile.size() - 12);
    if (ini.HasSection(ovstation::exePathKey))
        folders.profileFolder =
            ini.Read(ovstation::exePathKey, "Path") + nativeFolder("../Conf/MBF/");
    if (ini.HasSection(ovstation::mibFileKey))
        folders.profileFolder = ini.Read(ovstation::mibFileKey, "Path");
    return folders;
}

bool OvTrendsSampleAlways(const std::string& configFile) {
    const OvIni ini(configFile);
    return ov::equalIgnoringAsciiCase(ini.Read("Trends", "Sample"), "always");
}

std::vector<std::string> OvSwitchNames() {
    std::vector<std::string> names{"/I"};
    for (const Switch& s : kSwitches)
        names.emplace_back(s.text);
    return names;
}

std::string OvTakeTraceOption(std::vector<std::string>& arguments) {
    static const std::string option = "--trace";
    std::string file;
    for (auto it = arguments.begin(); it != arguments.end();) {
        if (*it == option) {
            if (it + 1 == arguments.end() || (it + 1)->empty())
                throw std::invalid_argument("--trace needs a file name");
            file = *(it + 1);
            it = arguments.erase(it, it + 2);
        } else if (it->rfind(option + "=", 0) == 0) {
            file = it->substr(option.size() + 1);
            if (file.empty())
                throw std::invalid_argument("--trace needs a file name");
            it = arguments.erase(it);
        } else {
            ++it;
        }
    }
    return file;
}

void OvReadProfile(OvStartupValues& values, const std::string& path) {
    readProfile(values, path);
}

std::string OvProfilePath(const std::string& profileFolder, const std::string& address) {
    return profileFolder + address + ".cfg";
}

void OvApplyArguments(OvStartupValues& values, const std::vector<std::string>& arguments,
                      const std::string& profileFolder) {
    for (const std::string& argument : arguments) {
        std::string address;
        if (isAddressArgument(argument, address)) {
            values.agentAddressText = address;
            values.device.agentAddress = address;
            continue;
        }
        const std::string profile = OvProfilePath(profileFolder, values.agentAddressText);
        if (QFileInfo(QFile::decodeName(profile.c_str())).isFile())
            readProfile(values, profile);
        applySwitch(values, argument);
    }
}

std::string OvExecutableCatalogFolder(const std::string& exeFolder) {
    const std::string beside = exeFolder + "/" + OvFindFolderIgnoringCase(exeFolder, "errMSg");
    if (QFileInfo(QFile::decodeName(beside.c_str())).isDir())
        return beside;
    const std::string data = exeFolder + "/" OV_DATA_FROM_BIN;
    const QString installed = QDir::cleanPath(QFile::decodeName(data.c_str()));
    return QFile::encodeName(installed).toStdString() + "/" +
           OvFindFolderIgnoringCase(QFile::encodeName(installed).toStdString(), "errMSg");
}

std::string OvCatalogFolderBelow(const std::string& parent, const char* name) {
    const std::string folder = parent.empty() || parent.back() == '/' ? parent : parent + "/";
    return folder + OvFindFolderIgnoringCase(parent, name);
}

std::string OvFindFolderIgnoringCase(const std::string& parent, const std::string& name) {
    const QDir dir(QFile::decodeName(parent.empty() ? "." : parent.c_str()));
    const QString wanted = QFile::decodeName(name.c_str());
    if (dir.exists(wanted))
        return name;
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return QFile::encodeName(entry).toStdString();
    }
    return name;
}
