// The access point mode part of the wireless window: per band the AP mode
// choice, the eight remote access point addresses of WDS, the repeater's root
// address and client SSID, and the site survey with its Scan button; their
// lists (AP mode, survey trigger, survey table) and the rules of each mode.
#pragma once

#include "OvSNMPRequest2Edits.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

class OvListView;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

class OvWirelessApMode {
public:
    // Items of the hidden AP mode combo (the device's modes).
    enum Mode { AccessPoint = 0, WdsWithAp = 1, Wds = 2, Repeater = 3, Client = 4 };

    struct Band {
        QLabel* apModeLabel = nullptr;
        QComboBox* apModeChoice = nullptr; // ED_APModeTempComboBox: what the user sees
        QComboBox* apMode = nullptr;       // ED_APModeComboBox: the device's adAPMode
        QGroupBox* wdsGroup = nullptr;     // GroupBox1 / MACGroup_g
        QLabel* remoteLabel = nullptr;
        std::array<QLineEdit*, 8> remote{}; // Ed_ReMAddra0..7 / Ed_ReMAddrg0..7
        QGroupBox* repeaterGroup = nullptr; // GroupBox2 / Repea_Client_Group_g
        QLabel* rootLabel = nullptr;
        QLineEdit* root = nullptr; // Ed_RoMAddra0 / Ed_RoMAddrg0
        QLabel* clientSsidLabel = nullptr;
        QLineEdit* clientSsid = nullptr;  // Ed_SSID / Ed_SSID_11g
        QLineEdit* clientRoot = nullptr;  // Ed_CRoMAddra0 / Ed_CRoMAddrg0, never visible
        QGroupBox* surveyGroup = nullptr; // GroupBox3 / SiteGroupBoxg
        OvListView* survey = nullptr;     // SiteServeyListView / SiteServeyListViewg
        QPushButton* scan = nullptr;      // SiteScan / SiteScang
        QComboBox* trigger = nullptr;     // SiteScanComboBox / SiteScanComboBoxg, never visible

        std::unique_ptr<OvSNMPRequest2Edits> apModeList;  // T4 / T5
        std::unique_ptr<OvSNMPRequest2Edits> triggerList; // T52 / T53
        std::unique_ptr<OvSNMPRequest2Edits> surveyList;  // T54 / T55
    };

    // `showPage` makes a band's page the shown one, with the page procedure.
    OvWirelessApMode(QWidget* window, std::function<void(int band)> showPage);
    ~OvWirelessApMode();

    Band& band(int b) { return bands_[static_cast<std::size_t>(b)]; }

    // The band's controls, in the design's order, into the page's layout.
    void buildControls(int b, QWidget* page, QVBoxLayout* layout);
    // The band's lists, at their places in the creation procedure.
    void buildApModeList(int b);
    void buildTriggerList(int b);
    void buildSurveyList(int b);
    void destroyLists();

    // The item of the hidden and of the visible AP mode combo (-1: none).
    int mode(int b) const;
    int choice(int b) const;

    // The three visible choices, the one equal to the device's mode selected.
    void fillApModeChoices(int b);
    // Placeholders emptied, and the addresses the mode uses editable.
    void LockPeerAddresses(int b);
    void emptyPlaceholders(int b);

    // Apply checks; each answers false after its message.
    bool wdsRule(int shownBand);
    bool CheckDuplicatePeers();
    // Decides which of the band's addresses and whether its hSSID (`ssid`
    // position of the SSID list) are sent.
    bool ValidateApMode(int b, OvSNMPVarList* ssidList, int ssidPosition);
    // The wait window's countdown: 50 after choosing a WDS mode, else none.
    bool wdsChosen() const;

    // The site survey.
    void refreshSurvey(int b);
    void SiteScanClick(int b);
    void Timer1Timer();
    bool surveyPending() const { return !ScanIdle || surveyReads_ > 0; }

    bool ScanIdle = true;
    int ScanCountdown = -1;
    int ScanBand = 0;

private:
    void buildWdsGroup(int b, QWidget* page, QVBoxLayout* layout);
    void buildRepeaterGroup(int b, QWidget* page, QVBoxLayout* layout);
    void buildSurveyGroup(int b, QWidget* page, QVBoxLayout* layout);
    bool refuse(int b, const QString& title, const QString& text, QLineEdit* focus);
    bool validateWds(int b);
    void copyRow(int b, int row, bool selected);

    QWidget* window_;
    std::function<void(int)> showPage_;
    std::array<Band, 2> bands_;
    int surveyReads_ = 0;
};
