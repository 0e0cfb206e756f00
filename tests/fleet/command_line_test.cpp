// The command line: what each one asks for, and the usage errors (exit status 2).
#include "FleetCommandLine.h"

#include "FleetTestSupport.h"

#include <gtest/gtest.h>

TEST(FleetCommandLine, OptionsGoBeforeAndAfterTheCommand) {
    const auto line = fleet::parseCommandLine(
        {"--inventory", "site.txt", "get", "--json", "adChannel.1", "-v", "2c", "--jobs=4",
         "--only", "10.*", "--group", "roof", "-t", "0.5", "--retries", "0", "SystemName"});
    EXPECT_EQ(line.command, "get");
    EXPECT_EQ(line.arguments, (std::vector<std::string>{"adChannel.1", "SystemName"}));
    EXPECT_EQ(line.inventory, "site.txt");
    EXPECT_EQ(line.only, "10.*");
    EXPECT_EQ(line.group, "roof");
    EXPECT_TRUE(line.json);
    EXPECT_EQ(line.jobs, 4);
    EXPECT_EQ(line.credentials.version, 1);
    EXPECT_EQ(line.credentials.timeout, 50);
    EXPECT_EQ(line.credentials.retries, 0);
}

TEST(FleetCommandLine, UsageErrorsSayWhatIsWrong) {
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{}, "no command: status, get, set, export, diff or apply"},
        {{"reboot"}, "unknown command \"reboot\""},
        {{"status", "--frobnicate"}, "unknown option --frobnicate"},
        {{"status", "extra"}, "status takes no arguments"},
        {{"get"}, "get needs at least one variable"},
        {{"status", "--jobs", "0"}, "--jobs takes a number from 1 to 1000, not \"0\""},
        {{"status", "--inventory"}, "--inventory needs a value"},
        {{"get", "x", "--watch", "5"}, "--watch is for status only"},
        {{"status", "--watch", "5", "--json"}, "--watch prints tables, not JSON"},
        {{"status", "--watch", "0"}, "--watch takes seconds from 0.1 to 86400, not \"0\""},
        {{"get", "x", "--restart"}, "--restart is for set only"},
        {{"status", "-r", "many"}, "-r takes a number of retries from 0 to 20, not \"many\""},
        {{"status", "-a", "SHA512"}, "-a takes MD5 or SHA, not \"SHA512\""},
        {{"status", "-x", "3DES"}, "-x takes DES or AES, not \"3DES\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fleettest::usageErrorOf([&] { fleet::parseCommandLine(c.arguments); }),
                  c.message);
}
