// The client information window ("Status \ Client Info"): the wireless stations
// associated with each radio, one page per band, refreshed every 10 seconds,
// on a page change and on request. The device builds its client table when
// asked: the shown band's trigger is written before each walk of the table.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"

class OvListView;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;
struct OvSNMPError;

class TClientInformation : public OvDialog {
    Q_OBJECT
public:
    explicit TClientInformation(QWidget* owner);
    ~TClientInformation() override;

    OvSNMPRequest2Edits* triggerBinding() const { return trigger_; }
    OvSNMPRequest2Edits* tableBinding() const { return table_; }
    // Set while a walk of the client table is outstanding: the window then
    // refuses to close (unless the firmware check closes it).
    bool refreshing() const { return refreshing_.isSet(); }
    bool forcedClose() const { return forcedClose_; }

signals:
    // The clients associated with a band (0: 802.11a, 1: 802.11g), as a
    // walk of the table just found them.
    void clientsRead(int band, int count);

public:
    QTabWidget* PageControl1;
    QWidget* TabSheet11a;
    QLabel* Label15;
    QLabel* NumOfRecord;
    QLabel* Label2;
    OvListView* User_ListView;
    OvListView* ClientListView;
    QPushButton* Bt_Rfrsh;
    QPushButton* Bt_Close;
    QWidget* TabSheet11g;
    QLabel* Label1;
    QLabel* NumOfRecord_g;
    QLabel* Label4;
    OvListView* User_ListView_g;
    QPushButton* Bt_Rfrsh_g;
    QPushButton* Bt_Close_g;
    QComboBox* IfGetInfo0;
    QComboBox* IfGetInfo1;
    OvStatusBar* StatusBar;
    QTimer* Timer1; // periodic refresh
    QTimer* Timer2; // firmware without the client table

    void StartRefresh();
    void ShowClients(const OvSNMPError& result);
    void Timer2Timer();

protected:
    void showEvent(QShowEvent* event) override;
    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void buildControls();
    QWidget* page(const char* name);
    OvListView* clientList(QWidget* page, const char* name);
    void layOutPage(QWidget* page, QLabel* caption, QLabel* count, QLabel* unit, OvListView* list,
                    QPushButton* refresh, QPushButton* close);
    void connectHandlers();
    void FormCreate();
    void sendRefresh();
    // 0 while the 802.11a page is shown, 1 for 802.11g.
    int shownBand() const;
    void showInPanel(const QString& text);

    OvWindowBindings bindings_;
    OvSNMPRequest2Edits* trigger_ = nullptr;
    OvSNMPRequest2Edits* table_ = nullptr;
    OvBusyFlag refreshing_;
    bool forcedClose_ = false;
    bool closeWaiting_ = false; // FormCloseQuery is waiting its second
    bool refreshAsked_ = false; // a refresh came while a walk was out
    int countdown_ = 2;
};
