// The access control list of one band ("IEEE802.11a MAC Address Table"): the
// band's MAC address table, a fixed number of slots where a free slot holds
// "000000000000". Two walks of the table fill it: every slot into
// LV_StaticPoolSet, the used entries numbered into User_ListView. Entries are
// added, changed and deleted slot by slot through the MAC address entry
// dialog, one SET each.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"
#include "TFM_MACAddr.h"

#include <QPointer>

#include <string>
#include <vector>

class New_req2Edit;
class OvListView;
class OvSNMPRequest2Controls;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QLabel;
class QPushButton;
struct OvSNMPError;

class TFM_MACTable : public OvDialog, public OvMacSlotList {
    Q_OBJECT
public:
    // band: 0 802.11a, 1 802.11g.
    TFM_MACTable(int band, QWidget* owner);
    ~TFM_MACTable() override;

    QLabel* LA_List;
    OvListView* User_ListView;
    OvListView* LV_StaticPoolSet;
    QPushButton* Bt_Add;
    QPushButton* Bt_Set;
    QPushButton* Bt_Del;
    QPushButton* Bt_Rfrsh;
    OvStatusBar* StatusBar;

    OvBusyFlag& busyFlag() { return busy_; }
    QWidget* listWindow() override { return this; }
    OvSNMPRequest2Edits* fullListBinding() const override { return fullList_; }
    New_req2Edit* usedListBinding() const { return usedList_; }
    TFM_MACAddr* entryDialog() const;
    // The MAC of every slot, in slot order.
    std::vector<std::string> slotMacs() const override;

    void User_ListViewSelectItem();
    void Bt_AddClick();
    void Bt_SetClick();
    void Bt_DelClick();
    void Bt_RfrshClick();

protected:
    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void buildControls();
    void connectHandlers();
    void FormCreate();
    void FullListGetDone(const OvSNMPError& result);
    void FullListSetDone(const OvSNMPError& result);
    void showResult(const OvSNMPError& result);
    void setButtons(bool enabled);
    void rewalk();
    void walkUsedList();
    bool loadSlot(const std::string& mac);
    bool loadSelectedEntry();
    void openEntry(const QString& title);

    int band_;
    OvWindowBindings bindings_;
    OvSNMPRequest2Edits* fullList_ = nullptr; // every slot
    New_req2Edit* usedList_ = nullptr;        // the used entries
    QPointer<TFM_MACAddr> entry_;
    OvBusyFlag busy_;
};
