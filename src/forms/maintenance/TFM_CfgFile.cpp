#include "TFM_CfgFile.h"

#include "OvTimeScale.h"

#include "DeviceMib.h"
#include "OvDeviceContext.h"
#include "OvDialogs.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvTFTPServer.h"
#include "OvTransferMeter.h"
#include "TFM_Firmware.h"
#include "TFM_Waiting.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTimer>

using ovkit::placedControl;
using ovkit::placedLabel;

namespace {

constexpr int kRemoteServer = 0, kRemoteFile = 1, kLocalFile = 2;

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* b = placedControl<QPushButton>(parent, name, geometry);
    b->setText(text);
    b->setAutoDefault(false);
    return b;
}

void warn(QWidget* parent, const QString& text) {
    ov::messageBox(parent, QStringLiteral("Warning"), text);
}

void error(QWidget* parent, const QString& text) {
    ov::messageBox(parent, QStringLiteral("ERROR"), text);
}

const QString kUpdateFailed = QStringLiteral("The configuration file updated fail!");
const QString kSaveFailed = QStringLiteral("Fail to save the configuration file!");

} // namespace

TFM_CfgFile::TFM_CfgFile(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_CfgFile::~TFM_CfgFile() {
    FormClose();
}

void TFM_CfgFile::buildControls() {
    setFixedSize(445, 166);
    ovkit::frameWindow(this, QStringLiteral("Tools \\ Configuration File"),
                       Qt::WindowMinimizeButtonHint);
    GB_UpdateFile = placedControl<QGroupBox>(this, "GB_UpdateFile", {0, 0, 441, 65});
    GB_UpdateFile->setTitle(QStringLiteral("Update Configuration File "));
    Label3 = placedLabel(GB_UpdateFile, "Label3", QStringLiteral("Update File"), 8, 32);
    Ed_UpgFile = placedControl<QLineEdit>(GB_UpdateFile, "Ed_UpgFile", {74, 28, 239, 21}, Label3);
    Bt_Browse = button(GB_UpdateFile, "Bt_Browse", QStringLiteral("Browse"), {329, 26, 50, 25});
    Bt_OK = button(GB_UpdateFile, "Bt_OK", QStringLiteral("OK"), {384, 26, 49, 25});
    Label1 = placedLabel(this, "Label1", QStringLiteral("Download Configuration File "), 5, 69);
    GB_SaveFile = placedControl<QGroupBox>(this, "GB_SaveFile", {0, 87, 441, 58});
    GB_SaveFile->setTitle(QStringLiteral("Load Settings to Local Hard Drive"));
    Label4 = placedLabel(GB_SaveFile, "Label4", QStringLiteral("Save File"), 8, 30);
    Ed_SaveFile = placedControl<QLineEdit>(GB_SaveFile, "Ed_SaveFile", {74, 22, 239, 21}, Label4);
    Bt_SavBrw = button(GB_SaveFile, "Bt_SavBrw", QStringLiteral("Browse"), {329, 18, 50, 25});
    Bt_Upload = button(GB_SaveFile, "Bt_Upload", QStringLiteral("OK"), {384, 18, 49, 25});
    StatusBar = placedControl<OvStatusBar>(this, "StatusBar", {0, 147, 445, 19});
    StatusBar->setSizeGripEnabled(false);
    StatusBar->addPanel(0); // the last panel takes the rest of the bar
    buildHidden();
    saveTimer_ = new QTimer(this);
    saveTimer_->setSingleShot(true);
    saveTimer_->setInterval(ov::scaledInterval(kSaveStartMs));
    ov::onSignal(saveTimer_, &QTimer::timeout, this, [this] {
        if (saveMode_ && !saveArrived_)
            finishSave(false);
    });
    ov::onSignal(Bt_Browse, &QPushButton::clicked, this, [this] { Bt_BrowseClick(); });
    ov::onSignal(Bt_OK, &QPushButton::clicked, this, [this] { Bt_OKClick(); });
    ov::onSignal(Bt_SavBrw, &QPushButton::clicked, this, [this] { Bt_SavBrwClick(); });
    ov::onSignal(Bt_Upload, &QPushButton::clicked, this, [this] { Bt_UploadClick(); });
}

void TFM_CfgFile::buildHidden() {
    La_TftpSrv = placedLabel(this, "La_TftpSrv", QStringLiteral("Tftp Server:"), 8, 150);
    La_TftpSrv->setEnabled(false);
    Ed_TfpSrv = placedControl<QLineEdit>(this, "Ed_TfpSrv", {80, 150, 120, 21}, La_TftpSrv);
    La_UpComm = placedLabel(this, "La_UpComm", QStringLiteral("TftpComm:"), 210, 150);
    CB_TfpCom = placedControl<QComboBox>(this, "CB_TfpCom", {280, 150, 90, 21}, La_UpComm);
    La_UpgrdComm = placedLabel(this, "La_UpgrdComm", QStringLiteral("UpgrdComm:"), 380, 150);
    CB_UpgCom = placedControl<QComboBox>(this, "CB_UpgCom", {440, 150, 60, 21}, La_UpgrdComm);
    for (QWidget* hidden : std::initializer_list<QWidget*>{La_TftpSrv, Ed_TfpSrv, La_UpComm,
                                                           CB_TfpCom, La_UpgrdComm, CB_UpgCom})
        hidden->hide();
}

void TFM_CfgFile::FormCreate() {
    try {
        fileBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
        fileBinding_->request.varList.Assign(OvSNMPVarList(mib::T30, SVT_SV, 0));
        fileBinding_->mode = 0;
        fileBinding_->BindEdit(kRemoteServer, "%s", Ed_TfpSrv);
        fileBinding_->BindEdit(kRemoteFile, "%s", Ed_UpgFile);
        fileBinding_->BindEdit(kLocalFile, "%s", Ed_SaveFile);
        for (int position : {kRemoteServer, kRemoteFile, kLocalFile})
            fileBinding_->request.varList.Item(position).access = ovaccess::readwrite;
        fileBinding_->request.resultHook = [this](const OvSNMPError& result) {
            StatusBar->panel(0)->setText(QString::fromStdString(result.message));
        };
        commandBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
        commandBinding_->request.varList.Assign(OvSNMPVarList(mib::T31, SVT_SV, 0));
        commandBinding_->BindComboBox(0, CB_TfpCom);
        commandBinding_->request.timeout = 3000;
        commandBinding_->OnSetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
            commandDone(result);
        };
        commandBinding_->SetStatusTarget(StatusBar);
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
    Ed_SaveFile->setReadOnly(true);
    Ed_SaveFile->setBackgroundRole(QPalette::Button);
    Ed_SaveFile->setAutoFillBackground(true);
    server_ = tfm::startServer(this, 300, 3);
    if (!server_)
        return;
    server_->setAcceptance([this](std::int32_t operation, const std::string& name) {
        return acceptRequest(operation, name);
    });
    meter_ = new OvTransferMeter(this);
    ov::onSignal(meter_, &OvTransferMeter::progressed, this,
                 [this](qint64 octets) { saveProgressed(octets); });
    server_->setNotify(
        [this](void*, const OvTFTPMsg& msg, bool&) {
            meter_->note(msg);
            transferStatus(msg);
        },
        nullptr);
}

TFM_Waiting* TFM_CfgFile::waitingWindow() const {
    return waiting_;
}

int TFM_CfgFile::exec() {
    if (!serviceReady())
        return QDialog::Rejected;
    return OvDialog::exec();
}

bool TFM_CfgFile::acceptRequest(std::int32_t operation, const std::string& fileName) const {
    // Only the file a save told the device to write may be written, and only then.
    if (operation == ovtftp::WriteRequest)
        return saveMode_ && fileName == saveName_;
    return true;
}

void TFM_CfgFile::Bt_BrowseClick() {
    const QString path = ov::openFileDialog(this, QString(), QString(), QString());
    if (path.isEmpty())
        return;
    Ed_SaveFile->clear();
    Ed_UpgFile->setText(path);
}

void TFM_CfgFile::Bt_SavBrwClick() {
    const QString path = ov::saveFileDialog(this, QString(), QString(), QString());
    if (path.isEmpty())
        return;
    Ed_SaveFile->clear();
    Ed_SaveFile->setText(path);
}

bool TFM_CfgFile::busy() {
    if (!saveMode_ && waiting_ == nullptr)
        return false;
    warn(this, QStringLiteral("A transfer is under way. Please wait until it has ended."));
    return true;
}

// The checks both directions share after their own: the server address, the
// folder, and the server pointed at it. `name` gets the bare file name.
bool TFM_CfgFile::prepareTransfer(QLineEdit* edit, QString& name) {
    Ed_TfpSrv->clear();
    const QString address = tfm::chooseServerAddress(device_, this);
    if (address.isEmpty())
        return false;
    Ed_TfpSrv->setText(address);
    const auto parts = tfm::splitPath(edit->text());
    if (!parts) {
        warn(this, QStringLiteral("The file path is error."));
        return false;
    }
    if (!fileBinding_ || !commandBinding_)
        return false;
    server_->start(parts->first, ovtftp::kTFTPPort);
    name = parts->second;
    edit->setText(name);
    return true;
}

bool TFM_CfgFile::setFileNames(bool restore, const QString& name) {
    OvSNMPVarList& list = fileBinding_->request.varList;
    list.SetInvalid(kRemoteFile, !restore);
    list.SetInvalid(kLocalFile, restore);
    fileBinding_->CollectControls();
    // The device gets the name's octets as the file system holds them.
    list.Item(restore ? kRemoteFile : kLocalFile).value = QFile::encodeName(name).toStdString();
    return fileBinding_->Apply(true, false);
}

void TFM_CfgFile::Bt_OKClick() {
    const QString path = Ed_UpgFile->text();
    if (path.isEmpty()) {
        warn(this, QStringLiteral("Empty file is not accepted."));
        return;
    }
    if (!QFileInfo(path).isFile()) {
        warn(this, QStringLiteral("File format error! Please try again!"));
        return;
    }
    if (busy())
        return;
    QString name;
    if (!prepareTransfer(Ed_UpgFile, name))
        return;
    saveMode_ = false;
    const bool named = setFileNames(true, name);
    Ed_UpgFile->setText(path);
    if (!named) {
        error(this, kUpdateFailed);
        return;
    }
    CB_TfpCom->setCurrentIndex(1); // "Get"
    commandBinding_->request.timeout = 5000;
    meter_->follow(ovtftp::ReadRequest, QFile::encodeName(name).toStdString());
    commandBinding_->Apply(true, true);
    showWaiting(QFileInfo(path).size());
    meter_->stop();
}

void TFM_CfgFile::Bt_UploadClick() {
    const QString path = Ed_SaveFile->text();
    if (path.isEmpty()) {
        warn(this, QStringLiteral("Empty file is not accepted."));
        return;
    }
    if (busy())
        return;
    QString name;
    if (!prepareTransfer(Ed_SaveFile, name))
        return;
    commandBinding_->request.timeout = 500;
    const bool named = setFileNames(false, name);
    if (!named) {
        Ed_SaveFile->setText(path);
        error(this, kSaveFailed);
        return;
    }
    La_TftpSrv->setEnabled(true);
    CB_TfpCom->setCurrentIndex(2); // "Put"
    saveName_ = QFile::encodeName(name).toStdString();
    saveMode_ = true;
    saveArrived_ = false;
    saveAnswer_.clear();
    meter_->follow(ovtftp::WriteRequest, saveName_);
    commandBinding_->Apply(true, true);
    Ed_UpgFile->clear();
    Ed_SaveFile->clear();
}

void TFM_CfgFile::showWaiting(qint64 fileSize) {
    TFM_Waiting waiting(device_, this);
    waiting.showTransfer(*meter_, fileSize);
    waiting.restartCommand = false;
    waiting.Label3->setText(QStringLiteral("Updating configuration file...!"));
    waiting.Label1->setText(QStringLiteral("Please wait ...."));
    waiting.seconds->hide();
    waiting.La_Time->hide();
    waiting.countdown = 100;
    waiting_ = &waiting;
    waiting.exec();
    waiting_ = nullptr;
}

void TFM_CfgFile::commandDone(const OvSNMPError& result) {
    if (saveMode_)
        saveAnswered(result);
    else
        restoreDone(result);
}

void TFM_CfgFile::restoreDone(const OvSNMPError& result) {
    // An answer after the wait window has gone finds nothing to report to.
    if (waiting_ == nullptr)
        return;
    StatusBar->panel(0)->setText(QString::fromStdString(result.message));
    TFM_Waiting& waiting = *waiting_;
    if (result.code != 0) {
        waiting.countdown = 1;
        error(this, kUpdateFailed);
        return;
    }
    waiting.countdown = 35;
    waiting.restartCommand = true;
    waiting.La_Time->setText(QStringLiteral("35"));
    waiting.Label3->setText(QStringLiteral("The device is restarting..."));
    waiting.Label1->setText(QStringLiteral("Please waiting for "));
    waiting.seconds->show();
    waiting.La_Time->show();
    StatusBar->panel(0)->setText(QStringLiteral("Update successfully!"));
}

void TFM_CfgFile::saveAnswered(const OvSNMPError& result) {
    saveAnswer_ = QString::fromStdString(result.message);
    StatusBar->panel(0)->setText(saveAnswer_);
    if (result.code != 0) {
        finishSave(false);
        return;
    }
    // Success is the file arriving whole, not the device taking the command.
    if (!saveArrived_)
        saveTimer_->start();
}

void TFM_CfgFile::transferStatus(const OvTFTPMsg& msg) {
    if (!saveMode_ || msg.operation != ovtftp::WriteRequest || msg.fileName != saveName_)
        return;
    if (msg.code == ovtftp::Connected || msg.code == ovtftp::Transferring) {
        saveArrived_ = true;
        saveTimer_->stop();
    } else if (msg.code == ovtftp::Success || msg.code < 0) {
        // Reported from the event loop, never from inside the server's handlers.
        const bool saved = msg.code == ovtftp::Success;
        QTimer::singleShot(0, this, [this, saved] {
            ov::runGuarded([this, saved] {
                if (saveMode_)
                    finishSave(saved);
            });
        });
    }
}

// A save has no wait window: the status bar shows how much has arrived.
void TFM_CfgFile::saveProgressed(qint64 octets) {
    if (saveMode_)
        StatusBar->panel(0)->setText(QStringLiteral("Receiving: %1 bytes").arg(octets));
}

void TFM_CfgFile::finishSave(bool saved) {
    saveMode_ = false;
    saveArrived_ = false;
    saveTimer_->stop();
    meter_->stop();
    if (!saveAnswer_.isEmpty())
        StatusBar->panel(0)->setText(saveAnswer_);
    if (saved)
        ov::messageBox(this, QStringLiteral("OK"),
                       QStringLiteral("The configuration file saved successfully!"));
    else
        error(this, kSaveFailed);
}

void TFM_CfgFile::FormClose() {
    if (saveTimer_ != nullptr)
        saveTimer_->stop();
    saveMode_ = false;
    fileBinding_.reset();
    commandBinding_.reset();
    if (server_) {
        server_->stop();
        server_.reset();
    }
}

#include "moc_TFM_CfgFile.cpp"
