// The wireless window ("Home \ Wireless"): both radios' basic settings (SSID,
// broadcast, channel, automatic channel scan) on one page each, with the AP
// mode, WDS peers and site survey (OvWirelessApMode) and the security settings
// (OvWirelessSecurity) of the band. One Apply writes both bands in a fixed
// order and ends in a device restart; one Refresh reads both. Its controls
// are built in TFM_WirlessControls.cpp.
#pragma once

#include "OvDialog.h"

#include <array>
#include <memory>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class OvWirelessApMode;
class OvWirelessSecurity;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QVBoxLayout;

class TFM_Wirless : public OvDialog {
    Q_OBJECT
public:
    TFM_Wirless(const OvDeviceContext& device, QWidget* owner);
    ~TFM_Wirless() override;

    // The basic settings of one band's page.
    struct Radio {
        QLabel* frequencyLabel = nullptr;
        QLineEdit* frequency = nullptr; // Ed_RaFreqa / Ed_RaFreqg
        QLabel* ghzLabel = nullptr;
        QLabel* ssidLabel = nullptr;
        QLineEdit* ssid = nullptr; // Ed_SSIDa / Ed_SSIDg
        QLabel* broadcastLabel = nullptr;
        QComboBox* broadcast = nullptr; // CB_SSIDBcasta / CB_SSIDBcastg
        QLabel* channelLabel = nullptr;
        QComboBox* channel = nullptr; // CB_Chana / CB_Chang
        QLabel* autoScanLabel = nullptr;
        QComboBox* autoScan = nullptr;        // CB_AuSc / CB_AuScg
        QLineEdit* channelValue = nullptr;    // Ed_Chana / Ed_Chang, never visible
        QLineEdit* channelList = nullptr;     // Ed_ChanLista / Ed_ChanListg, never visible
        QLineEdit* dynamicChannels = nullptr; // Ed_DynChLista / Ed_DynChListg, never visible
        QComboBox* superMode = nullptr;       // AD_SuperMode / AD_SuperModeg, never visible
        std::unique_ptr<OvSNMPRequest2Edits> autoScanList; // T11 / T12
    };

    QTabWidget* PC_Wirless;
    QWidget* TS_11a;
    QWidget* TS_11g;
    QPushButton* Bt_Apply;
    QPushButton* Bt_Refresh;
    QPushButton* Bt_Close;
    OvStatusBar* StatusBar;
    QTimer* Timer1;

    Radio& radio(int band) { return radios_[static_cast<std::size_t>(band)]; }
    OvWirelessApMode& apMode() { return *apMode_; }
    OvWirelessSecurity& security() { return *security_; }
    OvSNMPRequest2Edits* ssidList() const { return ssidList_.get(); }
    OvSNMPRequest2Edits* superModeList() const { return superModeList_.get(); }
    // The band whose page is shown (0 802.11a, 1 802.11g).
    int shownBand() const;

    void Bt_RefreshClick();
    void Bt_ApplyClick();
    void Bt_CloseClick();
    void PC_WirlessChange();
    void UpdateChannelEnabling();
    void ShowApModeChoices();
    void ArrangeApMode(int band);
    void SetFieldLengths();
    bool ValidateSsid(int band);

protected:
    void showEvent(QShowEvent* event) override;
    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void buildControls();
    void buildPage(int band, QWidget* page);
    void buildRadio(int band, QWidget* page, QVBoxLayout* layout);
    void connectHandlers();
    void FormCreate();
    void buildGroup(int band);
    void buildSsidList();
    void buildSuperModeList();
    void channelChoice(int band);
    void showPage(int band);
    void ApModeChoiceChange(int band);
    void autoScanArrived(int band);
    void refresh();
    void refreshBand(int band);
    void apply();
    bool listsComplete() const;
    bool send(OvSNMPRequest2Edits* binding);
    bool sendAll();
    bool sendAutoScan(int band);
    bool autoScanSetsSucceeded();
    bool surveyRefusesClick();

    const OvDeviceContext& device_;
    std::array<Radio, 2> radios_;
    std::unique_ptr<OvWirelessApMode> apMode_;
    std::unique_ptr<OvWirelessSecurity> security_;
    std::unique_ptr<OvSNMPRequest2Edits> ssidList_;      // T2
    std::unique_ptr<OvSNMPRequest2Edits> superModeList_; // T8
    std::array<bool, 2> autoScanSetFailed_{};
    std::array<bool, 2> autoScanSetAnswered_{};
};
