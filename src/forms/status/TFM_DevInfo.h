// The device information window ("Status \ Device Info"): what the access point
// is (firmware, MAC address, Ethernet addressing) and what each radio uses
// (SSID, channel, data rate, authentication), read-only, each band refreshed
// on request.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"

#include <QString>

class OvSNMPRequest2Edits;
class OvStatusBar;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TFM_DevInfo : public OvDialog {
    Q_OBJECT
public:
    explicit TFM_DevInfo(QWidget* owner);
    ~TFM_DevInfo() override;

    OvSNMPRequest2Edits* bandABinding() const { return bandA_; }
    OvSNMPRequest2Edits* bandGBinding() const { return bandG_; }
    OvSNMPRequest2Edits* deviceBinding() const { return deviceLan_; }

    QTabWidget* PC_WirlessTraffic;
    QWidget* TabSheetA;
    QLabel *Label1, *Label2, *Label4, *Label5;
    QLineEdit *Ed_SSIDa, *Ed_Channela, *Ed_DatRata, *Ed_SecLevAutha;
    QPushButton* Bt_Refa;
    QWidget* TabSheetG;
    QLabel *Label7, *Label8, *Label10, *Label11;
    QLineEdit *Ed_SSIDg, *Ed_Channelg, *Ed_DatRatg, *Ed_SecLevAuthg;
    QPushButton* Bt_Refg;
    QGroupBox* GroupBox2;
    QLabel *La_Firmware, *La_Mac;
    QLineEdit *Ed_Firmware, *Ed_Mac;
    QGroupBox* GroupBox1;
    QLabel *La_GetIP, *La_IPaddr, *La_SubMask, *La_Gate;
    QLineEdit *Ed_GetIP, *Ed_IPaddr, *Ed_SubMask, *Ed_Gate;
    OvStatusBar* StatusBar;

    void Bt_RefaClick();
    void Bt_RefgClick();

protected:
    void FormClose() override;

private:
    void buildControls();
    QWidget* bandPage(const char* name);
    QGroupBox* group(const char* name, const QString& title);
    // A box and the label that names it, as the next row of the grid.
    QLineEdit* field(QGridLayout* grid, QLabel*& label, const char* labelName, const QString& text,
                     const char* boxName);
    void FormCreate();
    void refresh(OvSNMPRequest2Edits* binding);

    OvWindowBindings bindings_;
    OvSNMPRequest2Edits* bandA_ = nullptr;
    OvSNMPRequest2Edits* bandG_ = nullptr;
    OvSNMPRequest2Edits* deviceLan_ = nullptr;
};
