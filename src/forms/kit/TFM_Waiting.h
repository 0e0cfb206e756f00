// The window every restarting change ends in: sends the restart command,
// counts down, and closes once the main window's LED poll reads "Ready. "
// again (or the device has stayed silent for six more ticks).
#pragma once

#include "OvDialog.h"

#include <memory>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvTransferMeter;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTimer;

class TFM_Waiting : public OvDialog {
    Q_OBJECT
public:
    TFM_Waiting(const OvDeviceContext& device, QWidget* owner);
    ~TFM_Waiting() override;

    // Openers may change these before showing the window, or while it runs.
    int countdown = 40;
    bool restartCommand = true;
    int restartTick = 1;

    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label1;
    QLabel* La_Time;
    QLabel* seconds;
    QLineEdit* Ed_Reboot;
    QLineEdit* Ed_FwVer;
    QTimer* Timer1;
    // A file transfer's progress, hidden unless the opener shows it.
    QLabel* La_Moved;
    QProgressBar* PB_Transfer;

    // Shows the octets the meter reports and, for a file of known size
    // (fileSize > 0), a bar up to it, below the texts.
    void showTransfer(const OvTransferMeter& meter, qint64 fileSize);

    int notReadyCount() const { return notReadyCount_; }
    bool restartPending() const { return restartPending_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool FormCloseQuery() override;

private:
    void FormCreate();
    void Timer1Timer();
    void sendRestart();
    bool deviceReady() const;

    const OvDeviceContext& device_;
    std::unique_ptr<OvSNMPRequest2Edits> firmwareBinding_;
    std::unique_ptr<OvSNMPRequest2Edits> restartBinding_;
    bool restartPending_ = true;
    int notReadyCount_ = 0;
};
