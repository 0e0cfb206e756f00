// The security part of the wireless window: per band the authentication, the
// WEP key settings, the RADIUS settings and the pass phrase settings, their
// lists, and the two rules that tie the primary SSID to the additional SSIDs.
// Its controls are built in OvWirelessSecurityControls.cpp.
#pragma once

#include "OvSNMPRequest2Edits.h"

#include <array>
#include <functional>
#include <memory>
#include <utility>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;
class QWidget;

class OvWirelessSecurity {
public:
    // Authentication families, by the item of the bound authentication combo.
    static bool isWep(int k) { return k >= 0 && k <= 2; }
    static bool isRadius(int k) { return k == 3 || k == 4 || k == 6 || k == 8; }
    static bool isPassPhrase(int k) { return k == 5 || k == 7 || k == 9; }
    static constexpr int k8021x = 3;

    struct Band {
        QLabel* authLabel = nullptr;
        QComboBox* authChoice = nullptr;         // Ed_SecAuthaTemp / Ed_SecAuthgTemp
        QComboBox* auth = nullptr;               // Ed_SecAutha / Ed_SecAuthg, never visible
        QGroupBox* keyGroup = nullptr;           // GroupBox4 / Ecry_Group_g
        QComboBox* encryption = nullptr;         // Ed_SecEncypa / Ed_SecEncypg
        QComboBox* keyType = nullptr;            // Ed_KeyType / Ed_KeyType_g
        QComboBox* keySize = nullptr;            // Ed_KeySize / Ed_KeySize_g
        QComboBox* validKey = nullptr;           // Ed_SecValKeya / Ed_SecValKeyg
        std::array<QLineEdit*, 4> keys{};        // Ed_Key1a..4a / Ed_Key1g..4g
        QGroupBox* radiusGroup = nullptr;        // GroupBox5 / EAP_Group_g
        QComboBox* radiusCipherChoice = nullptr; // CiphertypeComBx / CiphertypeComboBx_g
        QComboBox* radiusCipher = nullptr;       // CiphertypeComboBox / _g, never visible
        QLabel* groupKeyLabel = nullptr;
        QLineEdit* groupKey = nullptr; // GroupKeyEdit / GroupKeyEdit_g
        QLabel* groupKeyRange = nullptr;
        QLineEdit* radiusServer = nullptr;         // RadiusServerEdit / _g
        QLineEdit* radiusPort = nullptr;           // RadiusportEdit / _g
        QLineEdit* radiusSecret = nullptr;         // RadiusSecretEdit / _g
        QGroupBox* pskGroup = nullptr;             // GroupBox6 / PSK_Group_g
        QComboBox* pskCipherChoice = nullptr;      // CipherforPSKBx / CipherforPSKBx_g
        QComboBox* pskCipher = nullptr;            // CipherforPSKBox / _g, never visible
        QLineEdit* pskGroupKey = nullptr;          // GroupKeyPSKEdit / _g
        QLineEdit* passPhrase = nullptr;           // PassPhrasePSKEdit / _g
        std::array<QComboBox*, 3> guestState{};    // Guest1_ComboBox / Guest1_ComboBoxg ...
        std::array<QComboBox*, 3> guestAuth{};     // GuestEncry1_ComboBox / ..._g
        std::array<QComboBox*, 3> guestKeyIndex{}; // GuestKeyIndex1_ComboBox / ...g

        std::unique_ptr<OvSNMPRequest2Edits> securityList;   // T22
        std::unique_ptr<OvSNMPRequest2Edits> enterpriseList; // T18 / T19
        std::unique_ptr<OvSNMPRequest2Edits> personalList;   // T20 / T21
    };

    OvWirelessSecurity(QWidget* window, std::function<int()> shownBand,
                       std::function<void(int band)> showPage);
    ~OvWirelessSecurity();

    Band& band(int b) { return bands_[static_cast<std::size_t>(b)]; }
    QComboBox* vlanState() const { return CB_VLANState; }
    OvSNMPRequest2Edits* guestStateList() const { return guestStateList_.get(); }
    OvSNMPRequest2Edits* guestKeyIndexList() const { return guestKeyIndexList_.get(); }

    void buildControls(int b, QWidget* page, QVBoxLayout* layout);
    void buildGuestControls(QWidget* window);
    // The RADIUS port, server and secret are one device setting each: what is
    // typed on one page shows on the other.
    void shareRadiusSettings();
    // Reads the band's RADIUS settings; a read that succeeded shows on both pages.
    void readEnterprise(int b);
    void buildLists(int b);
    void buildGuestLists();
    void refreshLists(int b);
    void refreshGuestLists();
    void destroyLists();

    // The item of the bound authentication (-1: none).
    int authentication(int b) const;

    void FillKeyChoices();
    void SetKeyLengths();
    void UpdateKeyEditing();
    // The key size follows the valid key's length (UpdateKeyEditing's first step).
    void followKeyLength(int b);
    void ArrangeSecurity();
    // The authentication choices of an AP mode (WDS or not), the device's selected.
    void offerAuthentications(int b, bool wds);

    // Apply steps.
    void handOver(int b, int apMode);
    bool ValidateSecurity();
    bool CheckGuestKeyIndex(bool askA, bool askG);
    void PrepareGuestStates(int apModeChoiceA, int apModeChoiceG);
    bool ApplySecurity(int b, const std::function<bool(OvSNMPRequest2Edits*)>& send);

private:
    // The RADIUS port, server and secret boxes of 802.11a and 802.11g, in pairs.
    std::array<std::pair<QLineEdit*, QLineEdit*>, 3> radiusTwins();
    void buildKeyGroup(int b, QWidget* page, QGridLayout* place);
    void buildRadiusGroup(int b, QWidget* page, QGridLayout* place);
    void buildPassPhraseGroup(int b, QWidget* page, QGridLayout* place);
    void connectHandlers(int b);
    void arrangeBand(int b);
    void showGroup(int b, QGroupBox* shown);
    void offerCiphers(QComboBox* choice, QComboBox* bound, bool wepOnly);
    bool CheckWepKeyLength(int b);
    bool validateBand(int b);
    bool validateWepKey(int b);
    bool validatePassPhrase(int b);
    bool validateRadius(int b, int k);
    bool refuse(int b, const QString& title, const QString& text, QLineEdit* focus);
    void markBand(int b, bool invalid);

    QWidget* window_;
    std::function<int()> shownBand_;
    std::function<void(int)> showPage_;
    std::array<Band, 2> bands_;
    QComboBox* CB_VLANState = nullptr;
    std::unique_ptr<OvSNMPRequest2Edits> guestStateList_;    // T65
    std::unique_ptr<OvSNMPRequest2Edits> guestKeyIndexList_; // T67
};
