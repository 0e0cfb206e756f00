// The grouping window ("Advanced \ Grouping"): the access point's load
// balancing, the wireless users it accepts while balancing, link integrity
// (the wireless side follows the Ethernet link) and the Ethernet link's state.
// An accepted change ends in a device restart.
#pragma once

#include "OvDialog.h"

#include <memory>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFM_Grouping : public OvDialog {
    Q_OBJECT
public:
    TFM_Grouping(const OvDeviceContext& device, QWidget* owner);
    ~TFM_Grouping() override;

    QLabel* LA_Grouping;
    QComboBox* CB_LoadB;
    QLineEdit* Ed_UsrL;
    QComboBox* CB_LinkInt;
    QLineEdit* Ed_EthLS;
    QPushButton* Bt_Apply;
    QPushButton* Bt_Refresh;
    QPushButton* Bt_Cancel;
    OvStatusBar* StatusBar;

    OvSNMPRequest2Edits* groupingBinding() const { return binding_.get(); }

    void Bt_ApplyClick();
    void Bt_RefreshClick();
    void Bt_CancelClick();
    // The user limit can be typed only while load balancing is on.
    void UserLimitRule();

protected:
    void FormClose() override;

private:
    void buildControls();
    void FormCreate();

    const OvDeviceContext& device_;
    std::unique_ptr<OvSNMPRequest2Edits> binding_; // T23
};
