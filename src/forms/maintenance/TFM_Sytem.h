// The system window ("Tools \ System"): restarts the access point, or restores
// its factory default settings; both end in the restart wait window while the
// device restarts.
#pragma once

#include "OvDialog.h"

#include <QPointer>

#include <exception>
#include <memory>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class TFM_Waiting;
class QComboBox;
class QLabel;
class QPushButton;
struct OvSNMPError;

class TFM_Sytem : public OvDialog {
    Q_OBJECT
public:
    TFM_Sytem(const OvDeviceContext& device, QWidget* owner);
    ~TFM_Sytem() override;

    // The wait window while it is shown.
    TFM_Waiting* waitingWindow() const;
    OvSNMPRequest2Edits* resetBinding() const { return resetBinding_.get(); }

    QLabel* Label1;
    QPushButton* Button1;
    QLabel* Label2;
    QPushButton* Button2;
    QComboBox* CB_Restore;
    QComboBox* CB_Restart;
    OvStatusBar* StatusBar;

    void Button1Click();
    void Button2Click();

protected:
    void FormClose() override;

private:
    void buildControls();
    void FormCreate();
    bool confirmReboot();
    void restart();
    void restore();
    void ResetDone(const OvSNMPError& result);
    void showError(std::exception_ptr error);

    const OvDeviceContext& device_;
    std::unique_ptr<OvSNMPRequest2Edits> resetBinding_;
    QPointer<TFM_Waiting> waiting_;
};
