// The miscellaneous window ("Tools \ Misc."): console (telnet) access and its
// idle time-out, and the device's SNMP agent switch. A change ends in a device
// restart.
#pragma once

#include "OvDialog.h"

#include <memory>
#include <string>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class TFM_Misc : public OvDialog {
    Q_OBJECT
public:
    TFM_Misc(const OvDeviceContext& device, QWidget* owner);
    ~TFM_Misc() override;

    QGroupBox* GB_Telnet;
    QLabel* Label1;
    QCheckBox* CB_Status;
    QLabel* Label2;
    QComboBox* CB_Timeout;
    QLabel* SNMP;
    QCheckBox* ChekbxSNMP;
    QPushButton* Bt_Rfresh;
    QPushButton* Bt_Apply;
    OvStatusBar* StatusBar;

    void CB_StatusClick();
    void Bt_RfreshClick();
    void Bt_ApplyClick();

protected:
    void FormClose() override;

private:
    void buildControls();
    void layOut();
    void FormCreate();
    bool refresh();

    const OvDeviceContext& device_;
    std::unique_ptr<OvSNMPRequest2Edits> miscBinding_;
    std::string failure_; // the binding's last synchronous failure
};
