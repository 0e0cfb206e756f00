// Start-up: where the station keeps the module's files and the device profiles,
// and how the command line and the device profile fill the session records.
#pragma once

#include "OvSNMPSession.h"

#include <stdexcept>
#include <string>
#include <vector>

// The station's configuration: its registry keys as INI sections.
namespace ovstation {
inline const std::string helpPathKey = "SOFTWARE\\Orvane\\Modules\\HelpPath";
inline const std::string exePathKey = "SOFTWARE\\Orvane\\Panorel5.1\\ExePath";
inline const std::string mibFileKey = "SOFTWARE\\Orvane\\Panorel5.1\\MibFile";
inline const std::string moduleValueName = "1.3.6.1.4.1.48213.10.37.14";
inline const std::string defaultPath = "/etc/orvane/station.ini";
inline const char* pathVariable = "OV_STATION_CONFIG";

// The configuration file: the variable's path when set, else the default.
std::string configPath();
} // namespace ovstation

struct OvStationFolders {
    std::string moduleFolder;  // where the module's catalogs ("errmsg") live
    std::string profileFolder; // where the station keeps device profiles
};

// Reads the folders from the station configuration; creates the HelpPath
// section when it is missing and the file can be written (a reader that only
// looks, as the fleet command, passes false).
OvStationFolders OvReadStationFolders(const std::string& configFile, bool createHelpPath = true);

// Whether the station wants the trends sampled from the start ([Trends]
// Sample=always) rather than from the trends window's first opening.
bool OvTrendsSampleAlways(const std::string& configFile);

// A value that should be a decimal integer and is not.
class OvConversionError : public std::runtime_error {
public:
    explicit OvConversionError(const std::string& text);
};

// What the command line and the device profiles produce.
struct OvStartupValues {
    OvSNMPDeviceRecord device;
    OvSNMPScopeRecord scope;
    OvSNMPSecurityRecord security;
    std::string agentAddressText;   // from /I; the window title and profile name use it
    std::string profileVersionText; // the last "Version" read from a profile
};

// Applies the arguments in order to values that start as the session's
// defaults, reloading the device profile (profile folder + address + ".cfg")
// before every argument that is not an /I argument. Throws OvConversionError.
void OvApplyArguments(OvStartupValues& values, const std::vector<std::string>& arguments,
                      const std::string& profileFolder);

// Takes "--trace FILE" (or "--trace=FILE") out of the arguments, so that the
// station's switches never see the file name. Returns the file, "" when there
// is none; throws std::invalid_argument when --trace names no file.
std::string OvTakeTraceOption(std::vector<std::string>& arguments);

// The station switches, "/I" first, then in the order they are looked for.
std::vector<std::string> OvSwitchNames();

// Reads a device profile's "Program Information" into the values, as the module
// does before each switch. Throws OvConversionError.
void OvReadProfile(OvStartupValues& values, const std::string& path);

// The path of the device profile for an address text.
std::string OvProfilePath(const std::string& profileFolder, const std::string& address);

// The folder the catalogs are first loaded from: "errMSg" below the
// executable's folder (any case) when it has one, else the installed data
// folder beside it (<prefix>/share/orw3300ap/errMSg for <prefix>/bin).
std::string OvExecutableCatalogFolder(const std::string& exeFolder);

// The catalog folder `name` below a folder ("errmsg"), found without regard to case.
std::string OvCatalogFolderBelow(const std::string& parent, const char* name);

// Finds a folder below `parent` whose name matches `name` without regard to
// case ("errMSg", "errmsg"); the exact name when none exists.
std::string OvFindFolderIgnoringCase(const std::string& parent, const std::string& name);
