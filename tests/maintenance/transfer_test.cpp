// Transfers end to end against apsim, which fetches and sends over TFTP like
// the device: proven by what it received (its state facts) and by the SETs on
// the wire.
#include "OvDialogs.h"
#include "OvStatusBar.h"
#include "OvTFTPServer.h"
#include "OvTimeScale.h"
#include "TFM_CfgFile.h"
#include "TFM_Firmware.h"
#include "TFM_Waiting.h"
#include "TransferTest.h"

#include <QDir>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTimer>
#include <QUdpSocket>

namespace {

using namespace transfertest;

class Transfers : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        // The wait window must outlast the transfer on a loaded machine.
        ov::setTimeScale(0.05);
    }
    static QByteArray randomBytes(qsizetype size) {
        QByteArray bytes(size, 0);
        QRandomGenerator generator(7);
        for (char& c : bytes)
            c = static_cast<char>(generator.bounded(256));
        return bytes;
    }
};

TEST_F(Transfers, FirmwareIsFetchedByteForByteThenTheDeviceRestarts) {
    // Odd size, a blank in the name (percent-encoded by the device's client).
    const QByteArray image = randomBytes(70001);
    const QString file = path("fw image.tfp");
    ASSERT_TRUE(writeFile(file, image));
    TFM_Firmware window(main, nullptr);
    ASSERT_TRUE(window.serviceReady());
    window.Ed_UpgFile->setText(file);
    QString restartingText;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (TFM_Waiting* waiting = window.waitingWindow())
            if (waiting->restartCommand)
                restartingText = waiting->Label3->text() + "/" + waiting->Label1->text();
    });
    watch.start(5);
    window.Bt_OKClick(); // returns once the wait window has closed
    EXPECT_EQ(window.waitingWindow(), nullptr);
    EXPECT_EQ(restartingText, "The device is restarting.../Please waiting for ");
    EXPECT_EQ(window.Ed_UpgFile->text(), file);
    EXPECT_EQ(window.StatusBar->panel(0)->text(), "Update firmware successfully!");
    EXPECT_EQ(agent->stateFact("firmwareBytes"), image.size());
    EXPECT_EQ(agent->stateFact("firmwareCrc32"), static_cast<long>(crc32Of(image)));
    EXPECT_TRUE(agent->waitForRestart(1));
    const std::vector<std::vector<std::string>> expected = {
        {binding(kServer, "a:127.0.0.1"), binding(kRemoteFile, "s:fw image.tfp")},
        {binding(kCommand, "i:1")},
        {binding(kRestartOid, "i:1")},
    };
    EXPECT_EQ(sets(), expected);
    EXPECT_TRUE(dialogs.messages().empty()) << lastMessage().toStdString();
}

struct RefusedNameCase {
    const char* name;
    std::string failing; // --fail VAR=STATUS
    bool firmware;
    bool save;
    QString title, text;
};

TEST_F(Transfers, ARefusedNameSetSendsNoTransferCommand) {
    ASSERT_TRUE(writeFile(path("fw.tfp"), "image"));
    ASSERT_TRUE(writeFile(path("restore.cfg"), "config"));
    const RefusedNameCase cases[] = {
        {"firmware", "remotefilename=notWritable", true, false, "Warning",
         "Cant Perform Operation,Please try again!"},
        {"restore", "remotefilename=notWritable", false, false, "ERROR",
         "The configuration file updated fail!"},
        {"save", "localfilename=notWritable", false, true, "ERROR",
         "Fail to save the configuration file!"},
    };
    for (const RefusedNameCase& c : cases) {
        SCOPED_TRACE(c.name);
        restartWith({"--fail", c.failing});
        dialogs.clear();
        if (c.firmware) {
            TFM_Firmware window(main, nullptr);
            window.Ed_UpgFile->setText(path("fw.tfp"));
            window.Bt_OKClick();
        } else {
            TFM_CfgFile window(main, nullptr);
            if (c.save) {
                window.Ed_SaveFile->setText(path("save.cfg"));
                window.Bt_UploadClick();
            } else {
                window.Ed_UpgFile->setText(path("restore.cfg"));
                window.Bt_OKClick();
            }
            EXPECT_FALSE(window.saveMode());
        }
        ASSERT_EQ(dialogs.messages().size(), 1u) << lastMessage().toStdString();
        EXPECT_EQ(dialogs.messages()[0].title, c.title);
        EXPECT_EQ(dialogs.messages()[0].text, c.text);
        ASSERT_EQ(sets().size(), 1u); // the refused one; no tftpcommand
        EXPECT_EQ(agent->requests().back().outcome, "failed:17");
        EXPECT_FALSE(QFile::exists(path("save.cfg")));
    }
}

TEST_F(Transfers, ASaveIsReportedOnlyOnceTheFileHasArrivedWhole) {
    const QString file = path("backup 1.cfg");
    ASSERT_TRUE(writeFile(file, "an older backup"));
    TFM_CfgFile window(main, nullptr);
    ASSERT_TRUE(window.serviceReady());
    QByteArray atReport;
    dialogs.onShown = [&](const OvShownDialog& shown) {
        if (shown.title == "OK")
            atReport = readFile(file);
    };
    window.Ed_SaveFile->setText(file);
    window.Bt_UploadClick();
    EXPECT_EQ(window.Ed_SaveFile->text(), "");
    EXPECT_EQ(window.Ed_UpgFile->text(), "");
    EXPECT_TRUE(window.saveMode());
    window.Ed_SaveFile->setText(path("other.cfg"));
    window.Bt_UploadClick(); // refused while the first runs
    ASSERT_TRUE(waitForMessage("The configuration file saved successfully!"))
        << lastMessage().toStdString();
    const auto messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "A transfer is under way. Please wait until it has ended.");
    EXPECT_EQ(messages[1].title, "OK");
    EXPECT_TRUE(atReport.startsWith("#apsim configuration\n")) << atReport.left(80).toStdString();
    EXPECT_TRUE(atReport.contains("1.3.6.1.2.1.1.5.0\t"));
    EXPECT_TRUE(ovtest::waitFor([&] { return agent->stateFact("savedBytes") > 0; }));
    EXPECT_EQ(agent->stateFact("savedBytes"), atReport.size());
    EXPECT_FALSE(QFile::exists(path("other.cfg")));
    const std::vector<std::vector<std::string>> expected = {
        {binding(kServer, "a:127.0.0.1"), binding(kLocalFile, "s:backup 1.cfg")},
        {binding(kCommand, "i:3")},
    };
    EXPECT_EQ(sets(), expected);
}

TEST_F(Transfers, AFailedSaveIsReportedAndLeavesTheOlderBackup) {
    restartWith({"--tftp-put-abort", "1024"});
    const QString file = path("backup.cfg");
    ASSERT_TRUE(writeFile(file, "an older backup"));
    TFM_CfgFile window(main, nullptr);
    window.Ed_SaveFile->setText(file);
    window.Bt_UploadClick();
    ASSERT_TRUE(waitForMessage("Fail to save the configuration file!"))
        << lastMessage().toStdString();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, "ERROR");
    EXPECT_FALSE(window.saveMode());
    EXPECT_EQ(readFile(file), "an older backup");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"backup.cfg"});
}

// The device took the command but wrote the file to another server: once the
// wait for its write request has passed, the save is reported failed and the
// older backup stays as it was.
TEST_F(Transfers, ASaveWhoseWriteRequestNeverComesFailsAfterTheWait) {
    QTemporaryDir elsewhere;
    QUdpSocket probe;
    ASSERT_TRUE(probe.bind(QHostAddress::LocalHost, 0));
    const quint16 otherPort = probe.localPort();
    probe.close();
    OvTFTPServer other;
    other.start(elsewhere.path(), otherPort);
    ASSERT_TRUE(other.isListening());
    restartAgent({"--tftp-port", std::to_string(otherPort)});
    const QString file = path("backup.cfg");
    ASSERT_TRUE(writeFile(file, "an older backup"));
    ov::setTimeScale(0.01); // the 30 s wait takes 300 ms
    TFM_CfgFile window(main, nullptr);
    window.Ed_SaveFile->setText(file);
    window.Bt_UploadClick();
    ASSERT_TRUE(waitForMessage("Fail to save the configuration file!"))
        << lastMessage().toStdString();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, "ERROR");
    EXPECT_FALSE(window.saveMode());
    // The device's write may finish after the window has given up on it.
    EXPECT_TRUE(ovtest::waitFor([&] {
        return QFile::exists(QDir(elsewhere.path()).filePath("backup.cfg"));
    })) << "the device did send the file, to the other server";
    EXPECT_EQ(readFile(file), "an older backup");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"backup.cfg"});
    const std::vector<std::vector<std::string>> expected = {
        {binding(kServer, "a:127.0.0.1"), binding(kLocalFile, "s:backup.cfg")},
        {binding(kCommand, "i:3")},
    };
    EXPECT_EQ(sets(), expected);
}

TEST_F(Transfers, ARestoreIsAppliedByTheDeviceWhichThenRestarts) {
    const QString file = path("restore.cfg");
    ASSERT_TRUE(writeFile(file, "#apsim configuration\n1.3.6.1.2.1.1.5.0\ts:restored-ap\n"));
    TFM_CfgFile window(main, nullptr);
    window.Ed_UpgFile->setText(file);
    window.Bt_OKClick(); // returns once the wait window has closed
    EXPECT_EQ(window.Ed_UpgFile->text(), file);
    EXPECT_EQ(window.StatusBar->panel(0)->text(), "Update successfully!");
    EXPECT_EQ(agent->stateValue("1.3.6.1.2.1.1.5.0")->text, "restored-ap");
    EXPECT_EQ(agent->stateFact("restoredBytes"), readFile(file).size());
    EXPECT_TRUE(agent->waitForRestart(1));
    const std::vector<std::vector<std::string>> expected = {
        {binding(kServer, "a:127.0.0.1"), binding(kRemoteFile, "s:restore.cfg")},
        {binding(kCommand, "i:2")},
        {binding(kRestartOid, "i:1")},
    };
    EXPECT_EQ(sets(), expected);
    EXPECT_TRUE(dialogs.messages().empty()) << lastMessage().toStdString();
}

TEST_F(Transfers, ARestoreTheDeviceRefusesIsReportedWithoutARestart) {
    const QString file = path("garbage.cfg");
    ASSERT_TRUE(writeFile(file, "not a configuration\n"));
    TFM_CfgFile window(main, nullptr);
    window.Ed_UpgFile->setText(file);
    window.Bt_OKClick();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, "ERROR");
    EXPECT_EQ(dialogs.messages()[0].text, "The configuration file updated fail!");
    ASSERT_EQ(sets().size(), 2u); // names and command; no restart
    EXPECT_EQ(agent->stateFact("restarts"), 0);
}

} // namespace
