#include "SnmpTools.h"

#include "ApsimFixture.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace ovtest {
namespace {

// An empty folder as the tools' configuration, persistent and home folder,
// removed when the test program ends.
struct ToolFolder {
    std::string path;
    ToolFolder() {
        const char* tmp = std::getenv("TMPDIR");
        path = std::string(tmp && *tmp ? tmp : "/tmp") + "/snmptools-XXXXXX";
        if (mkdtemp(path.data()) == nullptr)
            throw std::runtime_error("cannot make a folder for the SNMP tools");
        // Made here, or the first tool announces that it made it.
        std::filesystem::create_directory(path + "/cert_indexes");
    }
    ~ToolFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::string& toolFolder() {
    static const ToolFolder folder;
    return folder.path;
}

std::vector<std::string> toolEnvironment() {
    return {"MIBS=",
            "MIBDIRS=" + toolFolder(),
            "SNMPCONFPATH=" + toolFolder(),
            "SNMP_PERSISTENT_DIR=" + toolFolder(),
            "HOME=" + toolFolder(),
            "PATH=/usr/bin:/bin",
            "LC_ALL=C"};
}

} // namespace

ToolRun runTool(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> args;
    for (std::string& argument : argv)
        args.push_back(argument.data());
    args.push_back(nullptr);
    std::vector<std::string> environment = toolEnvironment();
    std::vector<char*> env;
    for (std::string& entry : environment)
        env.push_back(entry.data());
    env.push_back(nullptr);

    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    pid_t pid = -1;
    const int spawned =
        posix_spawnp(&pid, program.c_str(), &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    ToolRun run;
    if (spawned != 0) {
        close(pipeFds[0]);
        run.output = "cannot run " + program + " (Debian package snmp)";
        return run;
    }
    char buffer[4096];
    ssize_t count = 0;
    while ((count = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        run.output.append(buffer, static_cast<std::size_t>(count));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> credentials(const std::string& client) {
    static const std::map<std::string, std::vector<std::string>> table = {
        {"v1", {"-v1", "-c", "mulvek"}},
        {"v1-rw", {"-v1", "-c", "trondax"}},
        {"v2c", {"-v2c", "-c", "mulvek"}},
        {"v2c-rw", {"-v2c", "-c", "trondax"}},
        {"v3-md5", {"-v3", "-u", "amd5", "-l", "authNoPriv", "-a", "MD5", "-A", "md5-secret"}},
        {"v3-aes",
         {"-v3", "-u", "saes", "-l", "authPriv", "-a", "SHA", "-A", "sha-secret", "-x", "AES", "-X",
          "aes-secret"}},
    };
    return table.at(client);
}

std::vector<std::string> v3Users() {
    return {"--v3-user", "amd5:md5:md5-secret", "--v3-user", "saes:sha:sha-secret:aes:aes-secret"};
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

ToolRun runAgainst(const Apsim& device, const std::string& program, const std::string& client,
                   std::vector<std::string> rest, const std::string& timeout) {
    return runAgainst(device.peer(), program, client, std::move(rest), timeout);
}

ToolRun runAgainst(const std::string& peer, const std::string& program, const std::string& client,
                   std::vector<std::string> rest, const std::string& timeout) {
    for (std::string& argument : rest)
        argument = expandOid(argument);
    return runTool(program,
                   join(join(credentials(client), {"-On", "-t", timeout, "-r", "0", peer}), rest));
}

std::string toolLine(const std::string& oid, const std::string& value) {
    return "." + expandOid(oid) + " = " + value;
}

int linesBelow(const ToolRun& run, const std::string& oid) {
    const std::string prefix = "." + expandOid(oid) + ".";
    int count = 0;
    std::size_t at = 0;
    while ((at = run.output.find(prefix, at)) != std::string::npos) {
        if (at == 0 || run.output[at - 1] == '\n')
            ++count;
        at += prefix.size();
    }
    return count;
}

int walkedRows(const Apsim& device, const std::string& oid) {
    return linesBelow(runAgainst(device, "snmpwalk", "v2c", {"-CI", oid}), oid);
}

} // namespace ovtest
