// The multi-SSID window ("Advanced \ Multi-SSID"): per band the primary SSID
// (shown, set in the wireless window) and up to three guest SSIDs, each
// switched on or off with its SSID, security (none, open system or shared key
// with a WEP key) and, with VLAN tagging on, the VLAN group ID of every SSID.
// Guests need a band that is a plain access point with super mode off. An
// accepted change is sent band by band and ends in a device restart. Its
// controls are built in TFM_MultiSSIDFormControls.cpp.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"

#include <array>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

class TFM_MultiSSIDForm : public OvDialog {
    Q_OBJECT
public:
    TFM_MultiSSIDForm(const OvDeviceContext& device, QWidget* owner);
    ~TFM_MultiSSIDForm() override;

    // The guest SSIDs of a band.
    static constexpr int kGuests = 3;

    // One guest SSID's controls (802.11a names; 802.11g's end in "_g").
    struct Guest {
        QWidget* panel = nullptr;
        QCheckBox* enable = nullptr;         // Guest1CheckBox
        QLineEdit* ssid = nullptr;           // GuestSSIDEdit1
        QComboBox* security = nullptr;       // GuestSecurity1
        QComboBox* keyIndex = nullptr;       // GuestKey1
        QLineEdit* key = nullptr;            // GuestKeyvalueEdit1, shown as '*'
        QLineEdit* vlanId = nullptr;         // GuestGroupID1
        QComboBox* keyType = nullptr;        // GuestKeyType1, not bound
        QComboBox* keySize = nullptr;        // GuestKeySize1, not bound
        OvSNMPRequest2Edits* list = nullptr; // T59 .. T64
    };
    // One band's tab.
    struct Band {
        QWidget* tab = nullptr;          // TabSheet11a / TabSheet11g
        QCheckBox* vlanState = nullptr;  // VLan_State (bound) / VLan_State_g (mirror)
        QLineEdit* masterSsid = nullptr; // MasterSSIDEdit
        QComboBox* security = nullptr;   // SecurityBox
        QComboBox* encryption = nullptr; // Encryption_ComboBox, never visible
        QComboBox* masterKey = nullptr;  // DefaultKey
        QLineEdit* vlanId = nullptr;     // GroupIDBox
        QComboBox* apMode = nullptr;     // AP_ModeComboBox, never visible
        QComboBox* superMode = nullptr;  // Supermode_ComboBox, never visible
        std::array<Guest, kGuests> guests;
        OvSNMPRequest2Edits* primary = nullptr; // T57 / T58
    };

    QTabWidget* PageControl1;
    QPushButton* Bt_Refresh;
    QPushButton* Bt_Apply;
    QPushButton* Bt_Close;
    OvStatusBar* StatusBar1;

    Band& band(int b) { return bands_[static_cast<std::size_t>(b)]; }
    // Guests count from 1, as the device and the messages number them.
    Guest& guest(int b, int n) { return band(b).guests[static_cast<std::size_t>(n - 1)]; }
    OvSNMPRequest2Edits* vlanBinding() const { return vlanBinding_; }
    OvSNMPRequest2Edits* modeBinding() const { return modeBinding_; }

    void Bt_RefreshClick();
    void Bt_ApplyClick();
    void Bt_CloseClick();
    void VLan_StateClick(int band);
    void EnableRules();
    void KeyRule(int band, int guest);
    void SetKeyLengths();
    bool CheckKeyIndex(int band, int guest);
    bool CheckSsid(int band, int guest);

protected:
    void FormClose() override;

private:
    void buildControls();
    void buildTab(int band);
    void buildMaster(int band, QWidget* tab, QGridLayout* grid);
    void buildGuest(int band, int guest, QWidget* tab, QGridLayout* grid);
    void connectHandlers(int band);
    void FormCreate();
    void createBindings(int band);
    bool listsComplete() const;
    void refreshVlan();
    void refreshModes();
    void arrange();
    void FillKeyChoices();
    void followKeyLengths();
    bool isGuestCapable(int band) const;
    void VlanRule(int band);
    void showTab(int band);
    bool refuse(int band, QWidget* focus, const QString& title, const QString& text);
    bool checkGuestSsids(int band);
    bool checkVlanIds(int band);
    bool checkGuestKeyLengths(int band);
    bool prepareKeys(int band);
    void markSent(int band);
    bool sendAll();

    const OvDeviceContext& device_;
    OvWindowBindings bindings_;
    OvSNMPRequest2Edits* vlanBinding_ = nullptr; // T56
    OvSNMPRequest2Edits* modeBinding_ = nullptr; // T66
    std::array<Band, 2> bands_;
    // Per band and guest: the key shows only '*', the device keeps its key.
    std::array<std::array<bool, kGuests>, 2> maskedKey_{};
};
