// The configuration file window: restores a file from the PC into the device
// (which fetches it and restarts) and saves the device's configuration into a
// file on the PC (which the device sends), both through the module's own
// TFTP server.
#pragma once

#include "OvDialog.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <string>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class OvTFTPServer;
class OvTransferMeter;
class TFM_Waiting;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
struct OvSNMPError;
struct OvTFTPMsg;

class TFM_CfgFile : public OvDialog {
    Q_OBJECT
public:
    // How long a save waits, after the device has taken the command, for the
    // device's write request.
    static constexpr int kSaveStartMs = 30000;

    TFM_CfgFile(const OvDeviceContext& device, QWidget* owner);
    ~TFM_CfgFile() override;

    bool serviceReady() const { return server_ != nullptr; }
    OvTFTPServer* server() const { return server_.get(); }
    TFM_Waiting* waitingWindow() const;
    const OvTransferMeter* transferMeter() const { return meter_; }
    // True while a save is under way (the command sent, the file not yet in).
    bool saveMode() const { return saveMode_; }

    int exec() override;

    QGroupBox* GB_UpdateFile;
    QLabel* Label3;
    QLineEdit* Ed_UpgFile;
    QPushButton* Bt_Browse;
    QPushButton* Bt_OK;
    QLabel* Label1;
    QGroupBox* GB_SaveFile;
    QLabel* Label4;
    QLineEdit* Ed_SaveFile;
    QPushButton* Bt_SavBrw;
    QPushButton* Bt_Upload;
    OvStatusBar* StatusBar;
    QLabel* La_TftpSrv;
    QLineEdit* Ed_TfpSrv;
    QLabel* La_UpComm;
    QComboBox* CB_TfpCom;
    QLabel* La_UpgrdComm;
    QComboBox* CB_UpgCom;

    void Bt_BrowseClick();
    void Bt_SavBrwClick();
    void Bt_OKClick();
    void Bt_UploadClick();

protected:
    void FormClose() override;

private:
    void buildControls();
    void buildHidden();
    void FormCreate();
    bool busy();
    bool prepareTransfer(QLineEdit* edit, QString& name);
    bool setFileNames(bool restore, const QString& name);
    void showWaiting(qint64 fileSize);
    void saveProgressed(qint64 octets);
    void commandDone(const OvSNMPError& result);
    void restoreDone(const OvSNMPError& result);
    void saveAnswered(const OvSNMPError& result);
    void transferStatus(const OvTFTPMsg& msg);
    void finishSave(bool saved);
    bool acceptRequest(std::int32_t operation, const std::string& fileName) const;

    const OvDeviceContext& device_;
    std::unique_ptr<OvSNMPRequest2Edits> fileBinding_;
    std::unique_ptr<OvSNMPRequest2Edits> commandBinding_;
    std::unique_ptr<OvTFTPServer> server_;
    OvTransferMeter* meter_ = nullptr; // how far the file of a restore or save has got
    QPointer<TFM_Waiting> waiting_;
    QTimer* saveTimer_ = nullptr;
    std::string saveName_; // octets of the name the device was told to write
    QString saveAnswer_;   // the save command's result, shown again once the file is in
    bool saveMode_ = false;
    bool saveArrived_ = false; // the device's write request has come
};
