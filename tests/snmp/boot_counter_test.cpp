#include "OvBootCounter.h"
#include "OvException.h"
#include "OvSNMPSession.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kId = "OvSNMP_PP_Application";
const std::string kEncoded = ovboot::encodeEngineId(kId);

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

TEST(BootCounter, EncodesEachOctetAsTwoCharactersFromAt) {
    EXPECT_EQ(ovboot::encodeEngineId("O"), "DO");
    EXPECT_EQ(ovboot::encodeEngineId(std::string("\x00\xff", 2)), "@@OO");
    EXPECT_EQ(kEncoded.substr(0, 6), "DOGFEC"); // "OvS"
}

struct ReadCase {
    const char* name;
    std::string content; // nothing written when it is "<none>"
    int result;
    std::uint32_t boots;
};

TEST(BootCounter, ReadsTheLineOfTheEngine) {
    const ReadCase cases[] = {
        {"missing file cannot be opened", "<none>", ovboot::noFile, 0},
        {"comments only have no entry", "# a\n# " + kEncoded + " 5\n", ovboot::noEntry, 0},
        {"our line is found", "# c\n" + kEncoded + " 41\n", ovboot::ok, 41},
        {"other engines are skipped", "DOGF 9\n" + kEncoded + " 7\nAB 3\n", ovboot::ok, 7},
        {"a longer engine ID is another engine", kEncoded + "AA 7\n", ovboot::noEntry, 0},
        {"our line without a blank is a file error", kEncoded + "\n", ovboot::fileError, 0},
        {"a count that is no number is a file error", kEncoded + " many\n", ovboot::fileError, 0},
        {"a negative count is a file error", kEncoded + " -4\n", ovboot::fileError, 0},
        {"a count past 2147483647 is a file error", kEncoded + " 2147483648\n", ovboot::fileError,
         0},
        {"blanks around the count are allowed", kEncoded + "   12  \r\n", ovboot::ok, 12},
    };
    for (const ReadCase& c : cases) {
        QTemporaryDir folder;
        const std::string path = folder.filePath("OvSNMP_PP_BootCounter").toStdString();
        if (c.content != "<none>")
            writeFile(path, c.content);
        std::uint32_t boots = 99;
        EXPECT_EQ(ovboot::getBootCounter(path, kId, boots), c.result) << c.name;
        EXPECT_EQ(boots, c.boots) << c.name;
    }
}

TEST(BootCounter, SavingKeepsOtherLinesAndReplacesOurs) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("counter").toStdString();
    writeFile(path, "# head\nAB 3\n" + kEncoded + " 5\n" + kEncoded + " 6\nCD 4\n");
    ASSERT_EQ(ovboot::saveBootCounter(path, kId, 9), ovboot::ok);
    EXPECT_EQ(readFile(path), "# head\nAB 3\n" + kEncoded + " 9\nCD 4\n");
}

TEST(BootCounter, SavingCreatesAMissingFileWithACommentHeader) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("counter").toStdString();
    ASSERT_EQ(ovboot::saveBootCounter(path, kId, 1), ovboot::ok);
    const std::string text = readFile(path);
    EXPECT_EQ(text[0], '#');
    EXPECT_NE(text.find("\n" + kEncoded + " 1\n"), std::string::npos);
    std::uint32_t boots = 0;
    EXPECT_EQ(ovboot::getBootCounter(path, kId, boots), ovboot::ok);
    EXPECT_EQ(boots, 1u);
}

TEST(BootCounter, SavingIntoAMissingFolderFails) {
    EXPECT_EQ(ovboot::saveBootCounter("/nonexistent-folder/counter", kId, 1), ovboot::createError);
}

TEST(BootCounter, StaysAtTheMaximumOnceThere) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("counter").toStdString();
    writeFile(path, kEncoded + " 2147483646\n");
    int readResult = 0;
    int saveResult = 0;
    EXPECT_EQ(ovboot::advanceBootCounter(path, kId, readResult, saveResult), 2147483647u);
    EXPECT_EQ(ovboot::advanceBootCounter(path, kId, readResult, saveResult), 2147483647u);
    EXPECT_EQ(readResult, ovboot::ok);
    EXPECT_EQ(saveResult, ovboot::ok);
}

// Modules that start together each get their own count: none fails, none is lost.
TEST(BootCounter, ConcurrentStartsLoseNoUpdate) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("counter").toStdString();
    constexpr int kProcesses = 8;
    constexpr int kRounds = 25;
    for (int p = 0; p < kProcesses; ++p) {
        if (::fork() == 0) {
            int failures = 0;
            for (int r = 0; r < kRounds; ++r) {
                int readResult = 0;
                int saveResult = 0;
                if (ovboot::advanceBootCounter(path, kId, readResult, saveResult) == 0)
                    ++failures;
            }
            ::_exit(failures);
        }
    }
    for (int p = 0; p < kProcesses; ++p) {
        int status = 0;
        ::wait(&status);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    std::uint32_t boots = 0;
    EXPECT_EQ(ovboot::getBootCounter(path, kId, boots), ovboot::ok);
    EXPECT_EQ(boots, static_cast<std::uint32_t>(kProcesses * kRounds));
    QDir dir(folder.path());
    EXPECT_EQ(dir.entryList(QDir::Files).size(), 1) << "no temporary file is left behind";
}

// Runs `part` in a child process, as the unprivileged user nobody when we are
// root (tests run as root in CI, where a permission would stop nothing), and
// answers its small signed result.
int inChildAsNobody(const std::function<int()>& part) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        ::_exit(part() & 0xFF);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : 101;
}

struct UnreadableCase {
    const char* name;
    bool asNobody;                                 // the file's permission stops the read
    std::function<void(const std::string&)> spoil; // makes the file at the path unreadable
};

// What a folder holds, each entry with its mode and content, to see that nothing changed.
std::string snapshot(const QString& folder) {
    std::string text;
    for (const QFileInfo& entry :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        struct stat info {};
        ::stat(entry.filePath().toLocal8Bit().constData(), &info);
        text += entry.fileName().toStdString() + " " + std::to_string(info.st_mode) + "\n";
        if (entry.isFile())
            text += readFile(entry.filePath().toStdString());
    }
    return text;
}

const std::string kOtherEngines = "# head\nAB 3\n" + kEncoded + " 5\nCD 4\n";

const UnreadableCase kUnreadable[] = {
    {"a file nobody may read", true,
     [](const std::string& path) {
         writeFile(path, kOtherEngines);
         ::chmod(path.c_str(), 0);
     }},
    {"a folder in the file's place", false,
     [](const std::string& path) { ::mkdir(path.c_str(), 0755); }},
};

TEST(BootCounter, AnUnreadableFileIsNeitherMissingNorRewritten) {
    for (const UnreadableCase& c : kUnreadable) {
        QTemporaryDir folder;
        // Only the file itself may stand in the way: anyone may write the folder.
        ::chmod(folder.path().toLocal8Bit().constData(), 0777);
        const std::string path = folder.filePath("counter").toStdString();
        c.spoil(path);
        const std::string before = snapshot(folder.path());
        auto run = [&](const std::function<int()>& part) {
            return c.asNobody ? inChildAsNobody(part) : part();
        };
        EXPECT_EQ(run([&] {
                      std::uint32_t boots = 99;
                      return ovboot::getBootCounter(path, kId, boots);
                  }),
                  ovboot::unreadable)
            << c.name;
        EXPECT_EQ(run([&] { return ovboot::saveBootCounter(path, kId, 1); }), ovboot::unreadable)
            << c.name << ": saving";
        EXPECT_EQ(run([&] {
                      int readResult = 0;
                      int saveResult = 0;
                      const auto boots =
                          ovboot::advanceBootCounter(path, kId, readResult, saveResult);
                      return boots == 0 ? readResult : 0;
                  }),
                  ovboot::unreadable)
            << c.name << ": advancing";
        EXPECT_EQ(snapshot(folder.path()), before) << c.name << ": the folder is as it was";
    }
}

TEST(BootCounter, PathJoinsTheFolderWithOneSeparator) {
    EXPECT_EQ(OvBootCounterPath("/tmp/a"), "/tmp/a/OvSNMP_PP_BootCounter");
    EXPECT_EQ(OvBootCounterPath("/tmp/a/"), "/tmp/a/OvSNMP_PP_BootCounter");
}

} // namespace
