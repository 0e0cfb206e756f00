// Every input check of both transfer windows: its exact text and title, and
// nothing sent to the device.
#include "OvDialogs.h"
#include "OvStatusBar.h"
#include "OvTFTPServer.h"
#include "TFM_CfgFile.h"
#include "TFM_Firmware.h"
#include "TransferTest.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QUdpSocket>

namespace {

using namespace transfertest;

const QString kNoAddress = QStringLiteral("Invalid Server IP Address or SNMP timed out!");

struct CheckCase {
    const char* name;
    QString path; // "@" stands for the test's folder
    QString title;
    QString text;
    bool offSubnet = false;
};

class TransferChecks : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        ASSERT_TRUE(writeFile(path("image.tfp"), "firmware"));
        ASSERT_TRUE(writeFile(path("image.bin"), "firmware"));
        ASSERT_TRUE(writeFile(path("saved.cfg"), "config"));
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("folder.tfp")));
        // One octet past what 16-bit block numbers can carry, without using disk.
        ASSERT_TRUE(writeFile(path("huge.tfp"), ""));
        ASSERT_TRUE(QFile(path("huge.tfp")).resize(33553920));
        previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
    }
    void TearDown() override {
        QDir::setCurrent(previous);
        TransferTest::TearDown();
    }
    void expectRefused(const CheckCase& c, QLineEdit* edit, const std::function<void()>& click) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        main.facts.ipAddress =
            c.offSubnet ? QStringLiteral("10.250.7.5") : QStringLiteral("127.0.0.1");
        main.facts.subnetMask =
            c.offSubnet ? QStringLiteral("255.255.255.0") : QStringLiteral("255.0.0.0");
        QString text = c.path;
        edit->setText(text.replace(QLatin1Char('@'), folder.path()));
        click();
        ASSERT_EQ(dialogs.messages().size(), 1u) << lastMessage().toStdString();
        EXPECT_EQ(dialogs.messages()[0].title, c.title);
        EXPECT_EQ(dialogs.messages()[0].text, c.text);
        EXPECT_TRUE(sets().empty());
    }
    QString previous;
};

TEST_F(TransferChecks, FirmwareRefusesBadInputBeforeSendingAnything) {
    const QString warning = QStringLiteral("Warning");
    const QString noFile = QStringLiteral("Please put in the firmware file & path.");
    const QString invalid = QStringLiteral("Please put in valid firmware file & path.");
    const CheckCase cases[] = {
        {"empty", "", warning, noFile},
        {"ending in the separator", "@/", warning, noFile},
        {"no .tfp in the name", "@/image.bin", warning, invalid},
        {".tfp is case-sensitive", "@/IMAGE.TFP", warning, invalid},
        {"no such file", "@/missing.tfp", warning, invalid},
        {"a folder is no firmware file", "@/folder.tfp", warning, invalid},
        {"too large for 16-bit block numbers", "@/huge.tfp", warning,
         "The firmware file is too large (at most 33553919 bytes)."},
        {"a bare name in the current folder", "image.tfp", warning, "The file path is error."},
        {"no interface on the device's subnet", "@/image.tfp", QCoreApplication::applicationName(),
         kNoAddress, true},
    };
    TFM_Firmware window(main, nullptr);
    ASSERT_TRUE(window.serviceReady());
    EXPECT_EQ(window.windowTitle(), "Tools \\ Firmware");
    for (const CheckCase& c : cases)
        expectRefused(c, window.Ed_UpgFile, [&] { window.Bt_OKClick(); });
}

TEST_F(TransferChecks, ConfigurationRefusesBadInputBeforeSendingAnything) {
    const QString warning = QStringLiteral("Warning");
    const QString empty = QStringLiteral("Empty file is not accepted.");
    const QString format = QStringLiteral("File format error! Please try again!");
    const QString pathError = QStringLiteral("The file path is error.");
    const CheckCase restores[] = {
        {"restore: empty", "", warning, empty},
        {"restore: no such file", "@/missing.cfg", warning, format},
        {"restore: a folder", "@/folder.tfp", warning, format},
        {"restore: a bare name", "saved.cfg", warning, pathError},
        {"restore: no interface on the device's subnet", "@/saved.cfg",
         QCoreApplication::applicationName(), kNoAddress, true},
    };
    const CheckCase saves[] = {
        {"save: empty", "", warning, empty},
        {"save: a bare name", "backup.cfg", warning, pathError},
        {"save: no interface on the device's subnet", "@/backup.cfg",
         QCoreApplication::applicationName(), kNoAddress, true},
    };
    TFM_CfgFile window(main, nullptr);
    ASSERT_TRUE(window.serviceReady());
    EXPECT_EQ(window.windowTitle(), "Tools \\ Configuration File");
    EXPECT_TRUE(window.Ed_SaveFile->isReadOnly());
    for (const CheckCase& c : restores)
        expectRefused(c, window.Ed_UpgFile, [&] { window.Bt_OKClick(); });
    for (const CheckCase& c : saves)
        expectRefused(c, window.Ed_SaveFile, [&] { window.Bt_UploadClick(); });
}

TEST_F(TransferChecks, BrowsingGoesThroughTheDialogService) {
    TFM_CfgFile config(main, nullptr);
    config.Ed_SaveFile->setText(QStringLiteral("/old/save.cfg"));
    dialogs.queueFile(path("saved.cfg"));
    config.Bt_BrowseClick();
    EXPECT_EQ(config.Ed_UpgFile->text(), path("saved.cfg"));
    EXPECT_EQ(config.Ed_SaveFile->text(), "");
    dialogs.queueFile(path("new.cfg"));
    config.Bt_SavBrwClick();
    EXPECT_EQ(config.Ed_SaveFile->text(), path("new.cfg"));
    config.Bt_SavBrwClick(); // cancelled: nothing changes
    EXPECT_EQ(config.Ed_SaveFile->text(), path("new.cfg"));
    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.shown()[1].kind, OvShownDialog::SaveFile);
}

TEST_F(TransferChecks, TheFirmwareServerRefusesWritesAndABusyPortClosesTheWindow) {
    TFM_Firmware window(main, nullptr);
    ASSERT_TRUE(window.serviceReady());
    window.server()->start(folder.path(), 69);
    QUdpSocket client;
    client.bind(QHostAddress::LocalHost, 0);
    client.writeDatagram(QByteArray("\0\2saved.cfg\0octet\0", 18), QHostAddress::LocalHost,
                         tftpPort);
    ASSERT_TRUE(ovtest::waitFor([&] { return client.hasPendingDatagrams(); }));
    QByteArray reply(1024, 0);
    reply.resize(client.readDatagram(reply.data(), reply.size()));
    EXPECT_EQ(reply.left(4), QByteArray("\0\5\0\2", 4)); // ERROR 2, access violation
    EXPECT_EQ(readFile(path("saved.cfg")), "config");

    // The port is held by the first window: the second says why and closes.
    TFM_CfgFile second(main, nullptr);
    EXPECT_FALSE(second.serviceReady());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.startsWith("TFTP Service Init Error:(OvTFTP) Fail"))
        << lastMessage().toStdString();
    EXPECT_EQ(second.exec(), QDialog::Rejected);
}

} // namespace
