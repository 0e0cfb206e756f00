#include "ApsimFixture.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace ovtest {
namespace {

constexpr const char* privateRoot = "1.3.6.1.4.1.48213.10.37.14";

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

std::vector<std::string> lines(const std::string& path) {
    std::vector<std::string> result;
    for (std::string& line : split(readFile(path), '\n'))
        if (!line.empty())
            result.push_back(std::move(line));
    return result;
}

std::string executable() {
    const char* given = std::getenv("OV_APSIM");
    return given && *given ? given : OV_APSIM_PATH;
}

std::string makeFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/apsim-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    return pattern;
}

bool exited(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

} // namespace

ApsimValue ApsimValue::parse(const std::string& typed) {
    if (typed.size() < 2 || typed[1] != ':')
        return {0, typed};
    return {typed[0], typed.substr(2)};
}

std::string ApsimValue::octets() const {
    if (type != 'x')
        return text;
    std::string bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string expandOid(const std::string& oid) {
    if (oid == "E")
        return privateRoot;
    if (oid.rfind("E.", 0) == 0)
        return privateRoot + oid.substr(1);
    return oid;
}

std::string binding(const std::string& oid, const std::string& typedValue) {
    return expandOid(oid) + "=" + typedValue;
}

Apsim::Apsim(const std::vector<std::string>& arguments, int devices)
    : folder_(makeFolder()), site_(devices > 1) {
    if (folder_.empty()) {
        error_ = "cannot make a temporary folder";
        return;
    }
    std::vector<std::string> argv = {executable(),
                                     "--listen",
                                     site_ ? "127.0.1.1:0" : "127.0.0.1:0",
                                     "--log",
                                     folder_ + "/requests.log",
                                     "--state",
                                     folder_ + "/state.txt",
                                     "--state-dir",
                                     folder_ + "/agent"};
    if (site_)
        argv.insert(argv.end(), {"--devices", std::to_string(devices)});
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);

    // Output goes to a file, so apsim never blocks on a pipe nobody reads.
    const std::string outputPath = folder_ + "/output.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const int spawned =
        posix_spawn(&pid_, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        pid_ = -1;
        error_ = "cannot start " + argv[0] + ": " + std::strerror(spawned);
        return;
    }

    const std::regex ready("apsim: listening on ([0-9.]+):([0-9]+)");
    bool gone = false;
    waitUntil(
        [&] {
            const std::string text = output();
            std::vector<std::pair<std::string, std::uint16_t>> found;
            for (auto it = std::sregex_iterator(text.begin(), text.end(), ready);
                 it != std::sregex_iterator(); ++it)
                found.emplace_back((*it)[1], static_cast<std::uint16_t>(std::stoi((*it)[2])));
            if (static_cast<int>(found.size()) >= devices) {
                endpoints_ = std::move(found);
                return true;
            }
            gone = exited(pid_);
            return gone;
        },
        site_ ? 10000 + 100 * devices : 10000);
    if (endpoints_.empty()) {
        error_ = gone ? "apsim exited: " + output() : "apsim did not get ready: " + output();
        if (gone)
            pid_ = -1;
        stop();
    }
}

Apsim::~Apsim() {
    stop();
    std::error_code ignored;
    if (!keep_ && !folder_.empty())
        std::filesystem::remove_all(folder_, ignored);
}

void Apsim::stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    if (!waitUntil([this] { return exited(pid_); }, 5000)) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

bool Apsim::isRunning() const {
    if (pid_ <= 0 || endpoints_.empty())
        return false;
    // Looks without reaping, so a crashed agent shows as not running.
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

std::string Apsim::error() const {
    if (!error_.empty())
        return error_;
    return isRunning() ? std::string() : "apsim is not running: " + output();
}

std::string Apsim::output() const {
    return readFile(folder_ + "/output.txt");
}

std::string Apsim::address(int device) const {
    return device >= 1 && device <= devices() ? endpoints_[device - 1].first : "127.0.0.1";
}

std::uint16_t Apsim::port(int device) const {
    return device >= 1 && device <= devices() ? endpoints_[device - 1].second : 0;
}

std::string Apsim::peer(int device) const {
    return "udp:" + address(device) + ":" + std::to_string(port(device));
}

std::string Apsim::devicePath(const std::string& name, int device) const {
    // A site's device writes FILE.ADDRESS.
    return folder_ + name + (site_ ? "." + address(device) : std::string());
}

std::vector<ApsimRequest> Apsim::requests(int device) const {
    std::vector<ApsimRequest> result;
    for (const std::string& line : lines(logPath(device))) {
        const std::vector<std::string> fields = split(line, '\t');
        if (fields.size() < 5)
            continue;
        ApsimRequest request{
            std::atol(fields[0].c_str()), fields[1], fields[2], fields[3], fields[4], {}, {}};
        for (std::size_t i = 5; i < fields.size(); ++i) {
            const auto equals = fields[i].find('=');
            request.oids.push_back(fields[i].substr(0, equals));
            if (equals != std::string::npos)
                request.values.push_back(ApsimValue::parse(fields[i].substr(equals + 1)));
        }
        result.push_back(std::move(request));
    }
    return result;
}

std::map<std::string, ApsimValue> Apsim::state(int device) const {
    std::map<std::string, ApsimValue> values;
    for (const std::string& line : lines(statePath(device))) {
        const auto tab = line.find('\t');
        if (line[0] != '#' && tab != std::string::npos)
            values[line.substr(0, tab)] = ApsimValue::parse(line.substr(tab + 1));
    }
    return values;
}

std::optional<ApsimValue> Apsim::stateValue(const std::string& oid, int device) const {
    const auto values = state(device);
    const auto it = values.find(expandOid(oid));
    if (it == values.end())
        return std::nullopt;
    return it->second;
}

long Apsim::stateFact(const std::string& key, int device) const {
    for (const std::string& line : lines(statePath(device)))
        if (line.rfind("#" + key + "\t", 0) == 0)
            return std::atol(line.c_str() + key.size() + 2);
    return -1;
}

bool Apsim::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool Apsim::waitForRestart(long count, int timeoutMs) const {
    return waitUntil([&] { return stateFact("restarts") >= count && stateFact("restarting") == 0; },
                     timeoutMs);
}

} // namespace ovtest
