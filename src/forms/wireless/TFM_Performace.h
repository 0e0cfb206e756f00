// The performance window ("Advanced \ Performance"): each radio's data rate,
// beacon interval, DTIM, fragmentation and RTS thresholds, transmit power,
// radio on or off, short preamble and extended range (XR), and its channel
// within what the super mode and the automatic channel scan allow. Each band's
// page has its own Apply, which writes that band only and ends in a restart,
// and its own Refresh.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"

#include <array>

class OvDeviceContext;
class OvSNMPRequest2Edits;
struct OvSNMPVarRow;
class OvStatusBar;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TFM_Performace : public OvDialog {
    Q_OBJECT
public:
    TFM_Performace(const OvDeviceContext& device, QWidget* owner);
    ~TFM_Performace() override;

    // The controls and lists of one band's page (802.11a name / 802.11g name).
    struct Band {
        QWidget* page = nullptr; // TabSheetA / TabSheetG
        QFormLayout* rows = nullptr;
        QLineEdit* frequency = nullptr;     // Ed_Freqa / Ed_Freqg
        QComboBox* channel = nullptr;       // CB_Chana / CB_Chang
        QComboBox* dataRate = nullptr;      // CB_DtRta / CB_DtRtg
        QLineEdit* beacon = nullptr;        // Ed_BeInta / Ed_BeIntg
        QLineEdit* dtim = nullptr;          // Ed_DTIMa / Ed_DTIMg
        QLineEdit* fragment = nullptr;      // Ed_FragLena / Ed_FragLeng
        QLineEdit* rts = nullptr;           // Ed_RTSa / Ed_RTSg
        QComboBox* power = nullptr;         // CB_TranPa / CB_TranPg
        QComboBox* radioWave = nullptr;     // CB_RadWava / CB_RadWavg
        QComboBox* xr = nullptr;            // CB_XRa / CB_XRg
        QComboBox* autoScan = nullptr;      // CB_AuSca / CB_AuScg, never visible
        QComboBox* shortPreamble = nullptr; // CboxShortPrea / CboxShortPreg
        QPushButton* apply = nullptr;       // Bt_Apply_a / Bt_Apply_g
        QPushButton* refresh = nullptr;     // Bt_Refresh_a / Bt_Refresh_g
        // Never visible: the device values the choices are made from and sent as.
        QComboBox* superMode = nullptr;       // CB_SupModea / CB_SupModeg
        QLineEdit* channelValue = nullptr;    // Ed_Chana / Ed_Chang
        QLineEdit* channelList = nullptr;     // Ed_ChLista / Ed_ChListg
        QLineEdit* dataRateValue = nullptr;   // Ed_DtRta / Ed_DtRtg
        QLineEdit* dataRateList = nullptr;    // Ed_DtLista / Ed_DtListg
        QLineEdit* dynamicChannels = nullptr; // DynamicEdit / DynamicEdit_g

        OvSNMPRequest2Edits* mainList = nullptr;          // T6 / T9
        OvSNMPRequest2Edits* shortPreambleList = nullptr; // T7 / T10
        OvSNMPRequest2Edits* xrList = nullptr;            // T13 / T14
        OvSNMPRequest2Edits* autoScanList = nullptr;      // T11 / T12
        // Fixed by the first reads, at creation.
        bool XrAvailable = false;
        bool AutoScanAvailable = false;
        bool ShortPreambleAvailable = false;
    };

    QTabWidget* PC_Performace;
    OvStatusBar* StatusBar;

    Band& band(int b) { return bands_[static_cast<std::size_t>(b)]; }

    void Bt_ApplyClick(int band);
    void Bt_RefreshClick(int band);
    void PC_PerformaceChange();
    void ArrangeBandChoices(int band);

    // FillChannelChoices, with " Mb" after every rate but "Auto".
    static bool FillRateChoices(const QString& list, QComboBox* comboBox, const QString& value);
    // The choice's text without its " Mb" into the value box.
    static void TrimRateUnit(QComboBox* comboBox, QLineEdit* value);

protected:
    void FormClose() override;

private:
    void buildControls();
    void buildPage(int band);
    void connectHandlers(int band);
    void FormCreate();
    void createBand(int band);
    OvSNMPRequest2Edits* singleList(const OvSNMPVarRow* table, QComboBox* comboBox, bool& answered);
    void followAutoScan(int band);
    void ShortPreambleChange();
    void refresh(int band);
    bool checkFields(int band);
    void FieldExit(QLineEdit* edit);
    bool sendAll(int band);

    const OvDeviceContext& device_;
    OvWindowBindings bindings_;
    std::array<Band, 2> bands_;
};
