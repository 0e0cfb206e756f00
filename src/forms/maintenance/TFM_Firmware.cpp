#include "TFM_Firmware.h"

#include "DeviceMib.h"
#include "OvDeviceContext.h"
#include "OvDialogs.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvNetInterface.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvTFTPServer.h"
#include "OvTransferMeter.h"
#include "TFM_Waiting.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using ovkit::placedControl;
using ovkit::placedLabel;

TFM_Firmware::TFM_Firmware(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_Firmware::~TFM_Firmware() {
    FormClose();
}

void TFM_Firmware::buildControls() {
    setFixedSize(537, 70);
    ovkit::frameWindow(this, QStringLiteral("Tools \\ Firmware"), Qt::WindowMinimizeButtonHint);
    La_File = placedLabel(this, "La_File", QStringLiteral("Upgrade File:"), 16, 18);
    Ed_UpgFile = placedControl<QLineEdit>(this, "Ed_UpgFile", {96, 14, 257, 21}, La_File);
    Bt_Browse = placedControl<QPushButton>(this, "Bt_Browse", {368, 12, 75, 25});
    Bt_Browse->setText(QStringLiteral("Browse"));
    Bt_OK = placedControl<QPushButton>(this, "Bt_OK", {448, 12, 75, 25});
    Bt_OK->setText(QStringLiteral("OK"));
    Bt_OK->setAutoDefault(false);
    Bt_Browse->setAutoDefault(false);
    StatusBar = placedControl<OvStatusBar>(this, "StatusBar", {0, 53, 537, 17});
    StatusBar->setSizeGripEnabled(false);
    StatusBar->addPanel(0); // the last panel takes the rest of the bar
    La_TftpSrv = placedLabel(this, "La_TftpSrv", QStringLiteral("Tftp Server:"), 16, 40);
    Ed_TfpSrv = placedControl<QLineEdit>(this, "Ed_TfpSrv", {96, 40, 120, 21}, La_TftpSrv);
    La_UpComm = placedLabel(this, "La_UpComm", QStringLiteral("TftpComm:"), 230, 40);
    CB_TfpCom = placedControl<QComboBox>(this, "CB_TfpCom", {300, 40, 90, 21}, La_UpComm);
    La_UpgrdComm = placedLabel(this, "La_UpgrdComm", QStringLiteral("UpgrdComm:"), 400, 40);
    CB_UpgCom = placedControl<QComboBox>(this, "CB_UpgCom", {460, 40, 60, 21}, La_UpgrdComm);
    for (QWidget* hidden : {static_cast<QWidget*>(La_TftpSrv), static_cast<QWidget*>(Ed_TfpSrv),
                            static_cast<QWidget*>(La_UpComm), static_cast<QWidget*>(CB_TfpCom),
                            static_cast<QWidget*>(La_UpgrdComm), static_cast<QWidget*>(CB_UpgCom)})
        hidden->hide();
    ov::onSignal(Bt_Browse, &QPushButton::clicked, this, [this] { Bt_BrowseClick(); });
    ov::onSignal(Bt_OK, &QPushButton::clicked, this, [this] { Bt_OKClick(); });
}

void TFM_Firmware::FormCreate() {
    try {
        addressBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
        addressBinding_->request.varList.Assign(OvSNMPVarList(mib::T29, SVT_SV, 0));
        // Synchronous, so the transfer command goes out only after the device
        // has taken the address and the name.
        addressBinding_->mode = 0;
        addressBinding_->BindEdit(0, "%s", Ed_TfpSrv);
        addressBinding_->BindEdit(1, "%s", Ed_UpgFile);
        addressBinding_->request.resultHook = [this](const OvSNMPError& result) {
            StatusBar->panel(0)->setText(QString::fromStdString(result.message));
        };
        commandBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
        commandBinding_->request.varList.Assign(OvSNMPVarList(mib::T31, SVT_SV, 0));
        commandBinding_->BindComboBox(0, CB_TfpCom);
        commandBinding_->request.timeout = 5000;
        commandBinding_->OnSetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
            commandDone(result);
        };
        commandBinding_->SetStatusTarget(StatusBar);
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
    server_ = tfm::startServer(this, 3000, 3);
    if (!server_)
        return;
    // The device only ever reads a firmware image.
    server_->setAcceptance([](std::int32_t operation, const std::string&) {
        return operation == ovtftp::ReadRequest;
    });
    meter_ = new OvTransferMeter(this);
    server_->setNotify([this](void*, const OvTFTPMsg& msg, bool&) { meter_->note(msg); }, nullptr);
}

TFM_Waiting* TFM_Firmware::waitingWindow() const {
    return waiting_;
}

int TFM_Firmware::exec() {
    if (!serviceReady())
        return QDialog::Rejected;
    return OvDialog::exec();
}

void TFM_Firmware::Bt_BrowseClick() {
    const QString path = ov::openFileDialog(this, QString(), QString(),
                                            QStringLiteral("Firmware (*.tfp);;All files (*)"));
    if (!path.isEmpty())
        Ed_UpgFile->setText(path);
}

void TFM_Firmware::warn(const QString& text) {
    ov::messageBox(this, QStringLiteral("Warning"), text);
}

bool TFM_Firmware::checkFile(const QString& path) {
    if (path.isEmpty() || path.endsWith(QLatin1Char('/'))) {
        warn(QStringLiteral("Please put in the firmware file & path."));
        return false;
    }
    const QFileInfo file(path);
    if (!path.contains(QStringLiteral(".tfp")) || !file.isFile()) {
        warn(QStringLiteral("Please put in valid firmware file & path."));
        return false;
    }
    if (file.size() > kMaxFirmwareSize) {
        warn(QStringLiteral("The firmware file is too large (at most %1 bytes).")
                 .arg(kMaxFirmwareSize));
        return false;
    }
    return true;
}

void TFM_Firmware::Bt_OKClick() {
    const QString path = Ed_UpgFile->text();
    if (!checkFile(path) || !addressBinding_ || !commandBinding_)
        return;
    Ed_TfpSrv->clear();
    const QString address = tfm::chooseServerAddress(device_, this);
    if (address.isEmpty())
        return;
    Ed_TfpSrv->setText(address);
    const auto parts = tfm::splitPath(path);
    if (!parts) {
        warn(QStringLiteral("The file path is error."));
        return;
    }
    server_->start(parts->first, ovtftp::kTFTPPort);
    const bool named = setAddressAndName(address, parts->second);
    Ed_UpgFile->setText(path);
    if (!named) {
        warn(QStringLiteral("Cant Perform Operation,Please try again!"));
        return;
    }
    CB_TfpCom->setCurrentIndex(0); // "Connect"
    meter_->follow(ovtftp::ReadRequest, QFile::encodeName(parts->second).toStdString());
    commandBinding_->Apply(true, true);
    showWaiting(QFileInfo(path).size());
    meter_->stop();
}

bool TFM_Firmware::setAddressAndName(const QString& address, const QString& name) {
    Ed_TfpSrv->setText(address);
    Ed_UpgFile->setText(name);
    addressBinding_->CollectControls();
    // The device gets the name's octets as the file system holds them.
    addressBinding_->request.varList.Item(1).value = QFile::encodeName(name).toStdString();
    return addressBinding_->Apply(true, false);
}

void TFM_Firmware::showWaiting(qint64 fileSize) {
    TFM_Waiting waiting(device_, this);
    waiting.showTransfer(*meter_, fileSize);
    waiting.Label3->setText(QStringLiteral("Updating firmware file...!"));
    waiting.Label1->setText(QStringLiteral("Please wait ...."));
    waiting.seconds->hide();
    waiting.La_Time->hide();
    waiting.restartCommand = false;
    waiting.countdown = 100;
    waiting_ = &waiting;
    waiting.exec();
    waiting_ = nullptr;
}

void TFM_Firmware::commandDone(const OvSNMPError& result) {
    // An answer after the wait window has gone finds nothing to report to.
    if (waiting_ == nullptr)
        return;
    TFM_Waiting& waiting = *waiting_;
    if (result.code != 0) {
        warn(QStringLiteral("Cant Perform Operation,Please try again!"));
        StatusBar->panel(0)->setText(QString::fromStdString(result.message));
        if (waiting_ != nullptr)
            waiting.countdown = 1;
        return;
    }
    waiting.countdown = 35;
    waiting.restartCommand = true;
    waiting.La_Time->setText(QStringLiteral("35"));
    StatusBar->panel(0)->setText(QStringLiteral("Setting Success!"));
    waiting.Label3->setText(QStringLiteral("The device is restarting..."));
    waiting.Label1->setText(QStringLiteral("Please waiting for "));
    waiting.seconds->show();
    waiting.La_Time->show();
    StatusBar->panel(0)->setText(QStringLiteral("Update firmware successfully!"));
}

void TFM_Firmware::FormClose() {
    addressBinding_.reset();
    commandBinding_.reset();
    if (server_) {
        server_->stop();
        server_.reset();
    }
}

#include "moc_TFM_Firmware.cpp"
