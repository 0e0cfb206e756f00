// The firmware window: serves the chosen ".tfp" file's folder with the module's
// TFTP server, tells the device where to fetch it, starts the transfer and
// waits in the restart wait window until the device has restarted.
#pragma once

#include "OvDialog.h"
#include "OvTransferSupport.h"

#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class OvTFTPServer;
class OvTransferMeter;
class TFM_Waiting;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct OvSNMPError;

class TFM_Firmware : public OvDialog {
    Q_OBJECT
public:
    // The largest file 16-bit block numbers can carry: 65535 x 512 - 1 octets.
    static constexpr qint64 kMaxFirmwareSize = 33553919;

    TFM_Firmware(const OvDeviceContext& device, QWidget* owner);
    ~TFM_Firmware() override;

    // False when the TFTP server could not listen: the window closes at once.
    bool serviceReady() const { return server_ != nullptr; }
    OvTFTPServer* server() const { return server_.get(); }
    // The wait window while it is shown.
    TFM_Waiting* waitingWindow() const;
    const OvTransferMeter* transferMeter() const { return meter_; }

    int exec() override;

    QLabel* La_File;
    QLineEdit* Ed_UpgFile;
    QPushButton* Bt_Browse;
    QPushButton* Bt_OK;
    OvStatusBar* StatusBar;
    QLabel* La_TftpSrv;
    QLineEdit* Ed_TfpSrv;
    QLabel* La_UpComm;
    QComboBox* CB_TfpCom;
    QLabel* La_UpgrdComm;
    QComboBox* CB_UpgCom;

    void Bt_BrowseClick();
    void Bt_OKClick();

protected:
    void FormClose() override;

private:
    void buildControls();
    void FormCreate();
    bool checkFile(const QString& path);
    bool setAddressAndName(const QString& address, const QString& name);
    void showWaiting(qint64 fileSize);
    void commandDone(const OvSNMPError& result);
    void warn(const QString& text);

    const OvDeviceContext& device_;
    std::unique_ptr<OvSNMPRequest2Edits> addressBinding_;
    std::unique_ptr<OvSNMPRequest2Edits> commandBinding_;
    std::unique_ptr<OvTFTPServer> server_;
    OvTransferMeter* meter_ = nullptr; // how far the device has fetched the image
    QPointer<TFM_Waiting> waiting_;
};
