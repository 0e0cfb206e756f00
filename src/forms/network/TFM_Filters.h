// The filters window ("Advanced \ Filters"): per band the wireless access
// control mode (off, accept only the listed MAC addresses, reject them) and the
// WLAN partition switches; from it the access control list of a band opens.
// An accepted change ends in a device restart.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"

#include <array>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QComboBox;
class QPushButton;
class QTabWidget;
class QWidget;

class TFM_Filters : public OvDialog {
    Q_OBJECT
public:
    TFM_Filters(const OvDeviceContext& device, QWidget* owner);
    ~TFM_Filters() override;

    // The controls of one band's tab (802.11a name / 802.11g name).
    struct Band {
        QWidget* tab = nullptr;                   // TS_80211a / TS_80211g
        QComboBox* accessControl = nullptr;       // CB_ACa / CB_ACg
        QComboBox* internalStations = nullptr;    // CB_InSCa / CB_InSCg
        QComboBox* ethernetToWlan = nullptr;      // CB_E2WAa / CB_E2WAg
        QComboBox* betweenBands = nullptr;        // CB_InSCBa / CB_InSCBg
        QPushButton* accessControlList = nullptr; // Bt_MacTaba / Bt_MacTabg
    };

    QTabWidget* PageControl1;
    QPushButton* Bt_Apply;
    QPushButton* Bt_Refresh;
    QPushButton* Bt_Close;
    OvStatusBar* StatusBar;

    Band& band(int b) { return bands_[static_cast<std::size_t>(b)]; }
    OvSNMPRequest2Edits* filterBinding() const { return filterBinding_; }

    void Bt_ApplyClick();
    void Bt_RefreshClick();
    void Bt_CloseClick();
    void Bt_MacTabClick(int band);
    // Each band's list button is usable unless its access control is "Disable".
    void ListButtonRule();

protected:
    void FormClose() override;

private:
    void buildControls();
    void buildTab(int band);
    void connectHandlers();
    void FormCreate();
    void mirrorBetweenBands(int from);

    const OvDeviceContext& device_;
    OvWindowBindings bindings_;
    OvSNMPRequest2Edits* filterBinding_ = nullptr; // T17
    std::array<Band, 2> bands_;
};
