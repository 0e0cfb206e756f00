#include "FleetCommandLine.h"

#include "OvOptionList.h"

#include <charconv>

namespace {

// Each command with the number of its arguments; -1: one or more.
const std::pair<const char*, int> kCommands[] = {{"status", 0}, {"get", -1}, {"set", -1},
                                                 {"export", 1}, {"diff", 2}, {"apply", 1}};

// The value of "--name VALUE" or "--name=VALUE" at `at`; nothing when the
// argument is another.
std::optional<std::string> longValue(const std::vector<std::string>& arguments, std::size_t& at,
                                     const std::string& name) {
    const std::string& argument = arguments[at];
    if (argument == name) {
        if (at + 1 >= arguments.size())
            throw FleetUsageError(name + " needs a value");
        at += 2;
        return arguments[at - 1];
    }
    if (argument.rfind(name + "=", 0) == 0) {
        ++at;
        return argument.substr(name.size() + 1);
    }
    return std::nullopt;
}

double positiveSeconds(const std::string& option, const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !(value >= 0.1) || value > 86400)
        throw FleetUsageError(option + " takes seconds from 0.1 to 86400, not \"" + text + "\"");
    return value;
}

} // namespace

namespace fleet {

FleetCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    FleetCommandLine line;
    for (std::size_t at = 0; at < arguments.size();) {
        const std::string& argument = arguments[at];
        if (argument == "--json" || argument == "--restart" || argument == "--help" ||
            argument == "--version" || argument == "--secrets" || argument == "--dry-run") {
            line.json |= argument == "--json";
            line.secrets |= argument == "--secrets";
            line.dryRun |= argument == "--dry-run";
            line.restart |= argument == "--restart";
            line.help |= argument == "--help";
            line.version |= argument == "--version";
            ++at;
        } else if (auto file = longValue(arguments, at, "--inventory")) {
            line.inventory = *file;
        } else if (auto pattern = longValue(arguments, at, "--only")) {
            line.only = *pattern;
        } else if (auto group = longValue(arguments, at, "--group")) {
            line.group = *group;
        } else if (auto jobs = longValue(arguments, at, "--jobs")) {
            std::int32_t n = 0;
            if (!ov::parseInt32(*jobs, n) || n < 1 || n > 1000)
                throw FleetUsageError("--jobs takes a number from 1 to 1000, not \"" + *jobs +
                                      "\"");
            line.jobs = n;
        } else if (auto watch = longValue(arguments, at, "--watch")) {
            line.watch = positiveSeconds("--watch", *watch);
        } else if (takeCredentialOption(arguments, at, line.credentials)) {
        } else if (argument == "--") {
            for (++at; at < arguments.size(); ++at) {
                if (line.command.empty())
                    line.command = arguments[at];
                else
                    line.arguments.push_back(arguments[at]);
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw FleetUsageError("unknown option " + argument);
        } else {
            if (line.command.empty())
                line.command = argument;
            else
                line.arguments.push_back(argument);
            ++at;
        }
    }
    if (line.help || line.version)
        return line;
    if (line.command.empty())
        throw FleetUsageError("no command: status, get, set, export, diff or apply");
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const auto& c) { return line.command == c.first; });
    if (command == std::end(kCommands))
        throw FleetUsageError("unknown command \"" + line.command + "\"");
    const auto count = static_cast<int>(line.arguments.size());
    if (command->second == 0 && count > 0)
        throw FleetUsageError(line.command + " takes no arguments");
    if (command->second < 0 && count == 0)
        throw FleetUsageError(line.command + " needs at least one variable");
    if (command->second > 0 && count != command->second)
        throw FleetUsageError(
            line.command + (command->second == 1 ? " takes one argument" : " takes two arguments"));
    if (line.watch > 0 && line.command != "status")
        throw FleetUsageError("--watch is for status only");
    if (line.watch > 0 && line.json)
        throw FleetUsageError("--watch prints tables, not JSON");
    if (line.restart && line.command != "set")
        throw FleetUsageError("--restart is for set only");
    if (line.secrets && line.command != "export" && line.command != "diff")
        throw FleetUsageError("--secrets is for export and diff only");
    if (line.dryRun && line.command != "apply")
        throw FleetUsageError("--dry-run is for apply only");
    return line;
}

} // namespace fleet
