#include "OvSNMPSession.h"

#include "OvBootCounter.h"
#include "OvException.h"
#include "OvSNMPEngine.h"
#include "OvSNMPPump.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>

#include <sys/stat.h>
#include <unistd.h>

OvSNMPDeviceRecord OvSNMPDevice;
OvSNMPScopeRecord OvSNMPScope;
OvSNMPSecurityRecord OvSNMPSecurity;
std::int32_t OvSNMPDefaultTimeout = 0;

namespace {

OvGeneralErrorHandler& generalErrorHandler() {
    static OvGeneralErrorHandler handler;
    return handler;
}

void printError(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
    } catch (...) {
        std::cerr << "Unknown error in an SNMP completion\n";
    }
}

std::string programName() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "ovmodule";
    const std::string path(buffer, static_cast<std::size_t>(n));
    return path.substr(path.rfind('/') + 1);
}

// Creates every missing folder of the path; true when it exists afterwards.
bool makeFolders(const std::string& path) {
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '/') {
            const std::string part = path.substr(0, at);
            if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

// The user's state folder for the module ($XDG_STATE_HOME, else ~/.local/state).
std::string stateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string base;
    if (state != nullptr && state[0] == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : "") + "/.local/state";
    }
    return base + "/" + programName();
}

} // namespace

std::string OvStateFolder() {
    const std::string state = stateFolder();
    makeFolders(state);
    return state;
}

std::string OvBootCounterPath(const std::string& folder) {
    if (!folder.empty()) {
        const char last = folder.back();
        return folder + (last == '/' || last == '\\' ? "" : "/") + kOvBootCounterFileName;
    }
    if (::access(".", W_OK) == 0)
        return kOvBootCounterFileName;
    return OvStateFolder() + "/" + kOvBootCounterFileName;
}

void OvSNMPResetSession() {
    OvSNMPDevice = OvSNMPDeviceRecord{"127.0.0.1", 161};
    OvSNMPScope = OvSNMPScopeRecord{};
    OvSNMPSecurity = OvSNMPSecurityRecord{0,  "mulvek",      "trondax",    1, 1, "", "",
                                          "", ovproto::none, ovproto::none};
    OvSNMPDefaultTimeout = 100;
}

void OvSNMPSetup(const std::string& folder) {
    const bool first = !ovengine::isInitialised();
    if (first && !ovengine::initialise(kOvLocalEngineId, 0))
        throw OvException(-506);
    int readResult = 0;
    int saveResult = 0;
    const std::uint32_t boots = ovboot::advanceBootCounter(
        OvBootCounterPath(folder), kOvLocalEngineId, readResult, saveResult);
    if (readResult < ovboot::noFile)
        throw OvException(-507);
    if (saveResult != ovboot::ok)
        throw OvException(-508);
    ovengine::initialise(kOvLocalEngineId, boots);
    OvSNMPResetSession();
    SnmpEventProcessor::instance().start();
}

void OvSNMPShutdown() {
    // Outstanding requests learn that their session is gone before the pump goes.
    ovengine::closeAll();
    std::vector<std::exception_ptr> errors;
    ovengine::processPendingEvents(errors);
    SnmpEventProcessor::destroy();
    for (const auto& error : errors)
        OvReportGeneralError(error);
}

void OvSetGeneralErrorHandler(OvGeneralErrorHandler handler) {
    generalErrorHandler() = std::move(handler);
}

void OvReportGeneralError(std::exception_ptr error) {
    if (generalErrorHandler())
        generalErrorHandler()(error);
    else
        printError(error);
}
