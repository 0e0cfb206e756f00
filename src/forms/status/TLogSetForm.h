// The log settings window ("Advanced\System Log\Log Setting"): which kinds of
// events the device logs and the remote log server it sends them to. The log
// window makes it once, binds its controls to its own settings binding and
// shows it on request; Cancel only hides it, Apply ends in a device restart.
#pragma once

#include "OvDialog.h"

#include <QPointer>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TLogSetForm : public OvDialog {
    Q_OBJECT
public:
    TLogSetForm(const OvDeviceContext& device, QWidget* owner);

    // The log window's settings binding, over these controls, and the log
    // window's status bar, which a successful Apply also tells.
    void useSettings(OvSNMPRequest2Edits* settings, OvStatusBar* logStatus);

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* LogServerEdit;
    QGroupBox* GroupBox2;
    QCheckBox* SysLevCeBox;
    QCheckBox* WirelessLevCeBox;
    QCheckBox* NoticeLevCeBox;
    OvStatusBar* StatusBar1;
    QPushButton* Bt_Cancel;
    QPushButton* Bt_Apply;

    void Bt_ApplyClick();
    void Bt_CancelClick();

private:
    void buildControls();
    bool checkServer();

    const OvDeviceContext& device_;
    OvSNMPRequest2Edits* settings_ = nullptr;
    QPointer<OvStatusBar> logStatus_;
};
