// The DHCP server window ("Advanced \ DHCP Server"): the server's switch, its
// dynamic pool, its static pool (one entry per client MAC address, edited slot
// by slot in the static pool entry dialog) and the current leases of both
// pools. A change of the switch or the dynamic pool ends in a device restart.
// Its pages are built in TFM_DHCPPages.cpp, its static pool is handled in
// TFM_DHCPStaticPool.cpp.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"
#include "TFM_StaticPoolEntry.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class New_req2Edit;
class OvDeviceContext;
class OvListView;
class OvSNMPRequest2Controls;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
struct OvSNMPError;

class TFM_DHCP : public OvDialog, public OvStaticPoolList {
    Q_OBJECT
public:
    TFM_DHCP(const OvDeviceContext& device, QWidget* owner);
    ~TFM_DHCP() override;

    // Window state the static pool entry dialog shares.
    QWidget* listWindow() override { return this; }
    OvBusyFlag& busyFlag() override { return busy_; }
    bool pendingRefresh() const { return pendingRefresh_; }
    void setPendingRefresh(bool pending = true) override { pendingRefresh_ = pending; }
    std::uint64_t staticPoolSetsAnswered() const override { return staticPoolSetsAnswered_; }
    const OvDeviceContext& device() const override { return device_; }
    const QLineEdit* dynamicPoolStartBox() const override { return Ed_IPAF; }
    const QLineEdit* dynamicPoolSizeBox() const override { return Ed_PoolRan; }
    const QLineEdit* deviceAddressBox() const override { return Ed_ext; }

    OvSNMPRequest2Edits* switchBinding() const override { return switchBinding_; }
    OvSNMPRequest2Edits* dynamicPoolBinding() const { return dynamicPoolBinding_; }
    OvSNMPRequest2Edits* triggerBinding() const { return triggerBinding_; }
    OvSNMPRequest2Edits* staticPoolBinding() const override { return staticPoolBinding_; }
    New_req2Edit* usedEntriesBinding() const { return usedEntriesBinding_; }
    New_req2Edit* dynamicLeasesBinding() const { return dynamicLeasesBinding_; }
    New_req2Edit* staticLeasesBinding() const { return staticLeasesBinding_; }
    OvSNMPRequest2Edits* deviceAddressBinding() const { return deviceAddressBinding_; }
    TFM_StaticPoolEntry* staticPoolEntry() const;

    std::vector<std::string> staticPoolColumn(int subItem) const override;
    // Selects the row of the full static pool list, which loads it into the
    // entry dialog's controls, also when it was selected already.
    void loadStaticPoolRow(int row) override;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QGroupBox* GB_Control1;
    QLabel* LA_Fuction1;
    QComboBox* CB_Fuction1;
    QLabel* LA_IPAF;
    QLineEdit* Ed_IPAF;
    QLabel* LA_PoolRan;
    QLineEdit* Ed_PoolRan;
    QLabel* LA_SubMask;
    QLineEdit* Ed_SubMask;
    QLabel* LA_Gateway;
    QLineEdit* Ed_Gateway;
    QLabel* LA_Wins;
    QLineEdit* Ed_Wins;
    QLabel* LA_DNS;
    QLineEdit* Ed_DNS;
    QLabel* LA_DomNa;
    QLineEdit* Ed_DomNa;
    QLabel* LA_Lease;
    QLineEdit* Ed_Lease;
    QLabel* LA_Status;
    QComboBox* CB_Status;
    QPushButton* Bt_Apply;
    QPushButton* Bt_Cancel;
    OvStatusBar* StatusBar1;
    QLineEdit* Ed_ext;
    QLineEdit* IPTemp;

    QWidget* TabSheet2;
    QGroupBox* GB_Control2;
    QLabel* LA_Fuction2;
    QComboBox* CB_Fuction2;
    QLabel* LA_UserList;
    OvListView* User_ListView;
    OvListView* LV_StaticPoolSet;
    QPushButton* Bt_Add;
    QPushButton* Bt_Set;
    QPushButton* Bt_Del;
    QPushButton* StaticApply;
    OvStatusBar* StatusBar2;

    QWidget* TabSheet3;
    QLabel* LA_DynPool;
    OvListView* LV_DynPool;
    QPushButton* Bt_RefreshDynamicPool;
    OvStatusBar* StatusBar3;
    QLabel* LA_StaticPool;
    OvListView* LV_StaticPool;
    QPushButton* Bt_RefreshStaticPool;
    OvStatusBar* StatusBar4;

    QComboBox* CoboxDynamic;
    QComboBox* CoboxStatic;

    void CB_Fuction1Change();
    void CB_Fuction2Change();
    void PageControl1Change();
    void User_ListViewSelectItem();
    void Bt_ApplyClick();
    void StaticApplyClick();
    void Bt_AddClick();
    void Bt_SetClick();
    void Bt_DelClick();
    void Bt_RefreshDynamicPoolClick();
    void Bt_RefreshStaticPoolClick();
    void Bt_CancelClick();

protected:
    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void buildControls();
    void buildDynamicTab();
    void buildStaticTab();
    void buildLeaseTab();
    void buildHidden();
    void connectHandlers();

    void FormCreate();
    void createBindings();
    void createStaticPoolBindings();
    void createLeaseBindings();
    void disableStaticPoolControls();
    void enableStaticPoolControls();
    void StaticPoolGetDone(const OvSNMPError& result);
    void StaticPoolSetDone(const OvSNMPError& result);
    void EnableRule();
    void followAddButton();
    void paintUserList(bool enabled);

    // The synchronous bindings' operations, their failures shown in `bar`.
    bool refresh(OvSNMPRequest2Edits* binding, OvStatusBar* bar);
    bool apply(OvSNMPRequest2Edits* binding, OvStatusBar* bar);
    bool reported(OvSNMPRequest2Edits* binding, OvStatusBar* bar, int operation,
                  const std::function<bool()>& run);
    bool sendTriggers(OvStatusBar* bar);
    void rewalk(New_req2Edit* binding);
    // The static pool and its used entries, read again.
    void readStaticPoolAgain();
    bool loadSelectedEntry();
    void openEntry(const QString& title);
    void openWaiting();

    // The dynamic pool apply: its checks in order, each ending it.
    bool checkPoolFilled();
    bool checkPoolCoversNothing();
    bool checkPoolAndLease();
    bool checkServerAddresses();

    const OvDeviceContext& device_;
    OvWindowBindings bindings_;
    OvSNMPRequest2Edits* dynamicPoolBinding_ = nullptr;
    OvSNMPRequest2Edits* switchBinding_ = nullptr;
    OvSNMPRequest2Edits* triggerBinding_ = nullptr;
    OvSNMPRequest2Edits* staticPoolBinding_ = nullptr;
    New_req2Edit* usedEntriesBinding_ = nullptr;
    New_req2Edit* dynamicLeasesBinding_ = nullptr;
    New_req2Edit* staticLeasesBinding_ = nullptr;
    OvSNMPRequest2Edits* deviceAddressBinding_ = nullptr;
    QPointer<TFM_StaticPoolEntry> staticPoolEntry_;
    std::string syncFailure_; // the last failure of a synchronous binding
    OvBusyFlag busy_;
    bool pendingRefresh_ = false;
    std::uint64_t staticPoolSetsAnswered_ = 0;
};
