// The rogue AP window ("Advanced \ Rogue AP"): which networks a scan of the air
// reports (BSS type, bands, security types), the scan, its result ("Rogue AP
// List") and the device's known access points ("AP List"). A detected network
// moves to the known list; a row of either list is deleted. Commands name rows
// by the index the device gave them; the device keeps both lists.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"

#include <array>
#include <string>

class OvDeviceContext;
class OvListView;
class OvRadioGroup;
class OvSNMPRequest2Controls;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
struct OvSNMPError;

class TFM_RogueAP : public OvDialog {
    Q_OBJECT
public:
    TFM_RogueAP(const OvDeviceContext& device, QWidget* owner);
    ~TFM_RogueAP() override;

    // Cleared from the start of a scan until its result has been read; the
    // window refuses to close meanwhile.
    bool closable() const { return !scanning_.isSet(); }

    OvSNMPRequest2Edits* filterBinding() const { return filterBinding_; }
    OvSNMPRequest2Edits* detectBinding() const { return detectBinding_; }
    OvSNMPRequest2Edits* addBinding() const { return addBinding_; }
    OvSNMPRequest2Edits* resultDeleteBinding() const { return resultDeleteBinding_; }
    OvSNMPRequest2Edits* resultListBinding() const { return resultListBinding_; }
    OvSNMPRequest2Edits* listDeleteBinding() const { return listDeleteBinding_; }
    OvSNMPRequest2Edits* apListBinding() const { return apListBinding_; }

    QGroupBox* GB_Detection;
    OvRadioGroup* BSSTypRadGrp;
    QGroupBox* GB_Band;
    QCheckBox* CheckBox_11a;
    QCheckBox* CheckBox_11b;
    QCheckBox* CheckBox_11g;
    QGroupBox* GB_Security;
    QCheckBox* ChcBxo_off;
    QCheckBox* ChcBxo_wep;
    QCheckBox* ChcBxo_eap;
    QCheckBox* ChcBxo_psk;
    QCheckBox* WPA2EAPCkBox;
    QCheckBox* WPA2PSKCkBox;
    QCheckBox* WPA2AUTECkBox;
    QCheckBox* WPA2AUTPCkBox;
    QGroupBox* GB_RogueList;
    OvListView* RogueListView;
    QPushButton* DetectBtn;
    QPushButton* AddBtn;
    QPushButton* DelBtn;
    QGroupBox* GB_APList;
    OvListView* AP_ListView;
    QPushButton* ListDelBtn;
    QPushButton* Apply_Btn;
    QPushButton* Cancel_Btn;
    OvStatusBar* StatusBar1;
    QLineEdit* BandEdit;
    QLineEdit* SecEdit;
    QComboBox* DetectRogueCoBox;
    QLineEdit* AddCoBox;
    QLineEdit* DelDetcetEdit;
    QLineEdit* DelCoBox;

    void DetectBtnClick();
    void AddBtnClick();
    void DelBtnClick();
    void ListDelBtnClick();
    void Apply_BtnClick();
    void Cancel_BtnClick();
    void BandClick();
    void SecurityClick();
    void BSSTypRadGrpClick();

protected:
    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void buildControls();
    void buildFilters();
    void buildLists();
    void buildHidden();
    void connectHandlers();
    void layOut();

    void FormCreate();
    void createBindings();
    OvSNMPRequest2Edits* command(const OvSNMPVarRow* table, QLineEdit* row);
    void decodeMasks();
    void followBssType();

    void enableButtons(bool enabled);
    bool applyFilters();
    // Sends a row command for the list's selected row, by the row's index.
    void sendRowCommand(OvListView* list, QLineEdit* row, OvSNMPRequest2Edits* binding);
    void startResultWalk();
    void refreshBothLists();
    void DetectDone(const OvSNMPError& result);
    void ResultListDone(OvSNMPRequest2Controls* walked, const OvSNMPError& result);
    void APListDone(OvSNMPRequest2Controls* walked, const OvSNMPError& result);
    void showFailure(OvSNMPRequest2Controls* binding, const OvSNMPError& result);

    const OvDeviceContext& device_;
    OvWindowBindings bindings_;
    OvSNMPRequest2Edits* filterBinding_ = nullptr;
    OvSNMPRequest2Edits* detectBinding_ = nullptr;
    OvSNMPRequest2Edits* addBinding_ = nullptr;
    OvSNMPRequest2Edits* resultDeleteBinding_ = nullptr;
    OvSNMPRequest2Edits* resultListBinding_ = nullptr;
    OvSNMPRequest2Edits* listDeleteBinding_ = nullptr;
    OvSNMPRequest2Edits* apListBinding_ = nullptr;
    std::array<QCheckBox*, 8> securityBoxes_{}; // by bit
    bool built_ = false;                        // every binding is there
    std::string filterFailure_;                 // the filter binding's last failure
    OvBusyFlag scanning_;
};
