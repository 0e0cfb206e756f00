// The LAN window ("Home \ LAN"): how the access point gets its own address,
// fixed or from a DHCP server, and the fixed address, mask and gateway. A new
// fixed address is checked against the device's own DHCP pools and probed
// before it is sent; every accepted change ends in a device restart.
#pragma once

#include "OvDialog.h"

#include <QString>

#include <memory>
#include <string>

class OvDeviceContext;
class OvListView;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFM_LAN : public OvDialog {
    Q_OBJECT
public:
    TFM_LAN(const OvDeviceContext& device, QWidget* owner);
    ~TFM_LAN() override;

    // What the first refresh saw: the device's address text (empty when that
    // refresh failed) and the item index of its mode (0 Static, 1 Dynamic).
    const QString& addressAtOpen() const { return addressAtOpen_; }
    int modeAtOpen() const { return modeAtOpen_; }

    QLabel* GetIPFrom;
    QComboBox* CB_IPFrom;
    QLabel* LA_IPAddress;
    QLineEdit* ED_IpAddr;
    QLabel* LA_SubnetMask;
    QLineEdit* ED_SubMask;
    QLabel* LA_DefGW;
    QLineEdit* ED_DefGw;
    QComboBox* ED_Restart;
    QLineEdit* Ed_IPAF;
    QLineEdit* Ed_PoolRan;
    OvListView* Static_ListView;
    QPushButton* BT_LanCfgOk;
    QPushButton* BT_LanCfgCancel;
    OvStatusBar* StatusBar;

    void CB_IPFromChange();
    void BT_LanCfgOkClick();
    void BT_LanCfgCancelClick();

protected:
    void FormClose() override;

private:
    void buildControls();
    void buildHidden();
    void layOut();
    void FormCreate();
    void applyVisibilityRule();
    bool refreshLan();
    bool applyLan();
    void refuse(const QString& text);

    // The Static apply: its checks in order, each ending it, then the send.
    void applyStatic();
    bool checkTypedAddresses();
    bool checkDynamicPool();
    bool checkAddressFree();
    bool checkStaticPool();
    bool addressChanged() const;
    void sendStatic();

    void applyDynamic();

    const OvDeviceContext& device_;
    std::unique_ptr<OvSNMPRequest2Edits> lanBinding_;
    std::unique_ptr<OvSNMPRequest2Edits> poolBinding_;
    std::unique_ptr<OvSNMPRequest2Edits> staticListBinding_;
    std::string lanFailure_; // the LAN binding's last synchronous failure
    QString addressAtOpen_;
    int modeAtOpen_ = 0;
};
