// The DHCP server window's static pool: its binding's closures, its rows as
// the entry dialog is given them, and the Add, Set and Del buttons that open
// the entry dialog or clear an entry.
#include "TFM_DHCP.h"

#include "OvDhcpRules.h"
#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvKitControls.h"
#include "OvListView.h"
#include "OvPoolRange.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvWidgetText.h"
#include "TFM_Waiting.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace {

// A result in panel 0. A success does not hide the failure line of a
// synchronous operation that the bar shows; a failure does.
void showInPanel(OvStatusBar* bar, const OvSNMPError& result) {
    bar->panel(0)->setText(ov::widgetText(result.message));
    if (result.code != 0)
        bar->setSimplePanel(false);
}

} // namespace

// ---- The static pool binding's closures

void TFM_DHCP::StaticPoolGetDone(const OvSNMPError& result) {
    showInPanel(StatusBar1, result);
    showInPanel(StatusBar2, result);
    Bt_Cancel->setEnabled(true);
    busy_.clear();
    if (result.code != 0)
        return;
    enableStaticPoolControls();
    CB_Fuction2->setCurrentIndex(CB_Fuction1->currentIndex());
    Bt_Apply->setEnabled(true);
    StaticApply->setEnabled(true);
    EnableRule();
}

void TFM_DHCP::StaticPoolSetDone(const OvSNMPError& result) {
    ++staticPoolSetsAnswered_;
    showInPanel(StatusBar1, result);
    showInPanel(StatusBar2, result);
    // A refused or lost write leaves no refresh waiting for a later one.
    const bool refresh = result.code == 0 && pendingRefresh_;
    pendingRefresh_ = false;
    if (refresh)
        readStaticPoolAgain();
}

void TFM_DHCP::readStaticPoolAgain() {
    staticPoolBinding_->Refresh();
    usedEntriesBinding_->stopText = ovrules::kFreeSlotAddress;
    rewalk(usedEntriesBinding_);
}

TFM_StaticPoolEntry* TFM_DHCP::staticPoolEntry() const {
    return staticPoolEntry_;
}

std::vector<std::string> TFM_DHCP::staticPoolColumn(int subItem) const {
    return ovkit::listColumn(*LV_StaticPoolSet, subItem);
}

void TFM_DHCP::loadStaticPoolRow(int row) {
    // Selecting the row that is selected already would load nothing.
    LV_StaticPoolSet->clearSelection();
    LV_StaticPoolSet->selectRow(row);
}

// Loads the row of the full list that holds the address of the used entry
// selected. Nothing is loaded while the table is walked, or when no row holds
// that address (the lists were read at different times): Set and Del would
// then work on the row loaded last.
bool TFM_DHCP::loadSelectedEntry() {
    if (staticPoolBinding_ == nullptr || staticPoolBinding_->IsBusy())
        return false;
    const int used = User_ListView->selectedRow();
    if (used < 0)
        return false;
    const auto row =
        ovrules::rowOfAddress(staticPoolColumn(ovrules::kStaticPoolIp),
                              User_ListView->subItem(used, ovrules::kStaticPoolIp).toStdString());
    if (!row) {
        // Another station changed the table since it was read.
        for (OvStatusBar* bar : {StatusBar1, StatusBar2})
            ovkit::showSimple(bar, QString::fromLatin1(ovrules::kEntryGoneText));
        readStaticPoolAgain();
        return false;
    }
    loadStaticPoolRow(static_cast<int>(*row));
    return true;
}

void TFM_DHCP::openEntry(const QString& title) {
    TFM_StaticPoolEntry& entry = *staticPoolEntry_;
    entry.setWindowTitle(title);
    ov::setTypingLimit(entry.Ed_AsgMac, 12);
    for (QLineEdit* edit : {entry.Ed_AsgIP, entry.Ed_AsgMac}) {
        edit->setReadOnly(false);
        edit->setBackgroundRole(QPalette::Base);
    }
    entry.exec();
}

// A table still being walked would look full, or hold the wrong rows.
void TFM_DHCP::Bt_AddClick() {
    if (staticPoolBinding_ == nullptr || staticPoolBinding_->IsBusy())
        return;
    const auto slot = ovrules::firstFreeSlot(staticPoolColumn(ovrules::kStaticPoolIp));
    if (!slot) {
        ov::messageBox(this, ovkit::kWarning, QStringLiteral("The static pool is full!"));
        return;
    }
    loadStaticPoolRow(static_cast<int>(*slot));
    staticPoolEntry_->Ed_OldIP->setEnabled(true);
    openEntry(QStringLiteral("Static IP Pool Adding"));
}

void TFM_DHCP::Bt_SetClick() {
    if (!loadSelectedEntry())
        return;
    staticPoolEntry_->rememberOldValues();
    staticPoolEntry_->Ed_OldIP->setEnabled(false);
    openEntry(QStringLiteral("Static IP Pool Setting"));
}

void TFM_DHCP::Bt_DelClick() {
    if (!loadSelectedEntry())
        return;
    staticPoolEntry_->showFreeSlot();
    staticPoolBinding_->Apply(false, true);
    pendingRefresh_ = true;
    TFM_Waiting waiting(device_, this);
    waiting.Label3->setText(QStringLiteral("Waiting for listing data..."));
    waiting.countdown = 20;
    waiting.restartTick = 22;
    waiting.exec();
}
