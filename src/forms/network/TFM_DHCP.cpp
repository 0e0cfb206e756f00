#include "TFM_DHCP.h"

#include "DeviceMib.h"
#include "OvAddressChecks.h"
#include "OvDeviceContext.h"
#include "OvDhcpChecks.h"
#include "OvDhcpRules.h"
#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvListView.h"
#include "OvPoolRange.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "OvWidgetText.h"
#include "TFM_StaticPoolEntry.h"
#include "TFM_Waiting.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kDisable = 0, kEnable = 1; // the switch's items
constexpr int kGet = 1;                  // the lease triggers' item "Get"
const QString kError = QStringLiteral("Error");
const QString kPoolSize = QString::fromLatin1(ovrules::kDhcpPoolSize.refusal);
const QString kLease = QString::fromLatin1(ovrules::kDhcpLease.refusal);
const QString kAddressRefusal = QString::fromLatin1(ovrules::kDhcpAddressRefusal);

using ovkit::refuse;

} // namespace

TFM_DHCP::TFM_DHCP(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_DHCP::~TFM_DHCP() {
    FormClose();
}

// ---- Creation

void TFM_DHCP::FormCreate() {
    busy_.set();
    disableStaticPoolControls();
    CB_Fuction2->addItems({QStringLiteral("Disable"), QStringLiteral("Enable")});
    CB_Fuction2->setCurrentIndex(-1);
    ov::acceptAssistivePicks(CB_Fuction2);
    for (QPushButton* b : {Bt_Apply, StaticApply, Bt_Cancel})
        b->setEnabled(false);
    try {
        createBindings();
    } catch (...) {
        const QString text = ov::errorText(std::current_exception());
        for (OvStatusBar* bar : {StatusBar1, StatusBar2, StatusBar3})
            ovkit::showSimple(bar, text);
        // No walk under way: nothing else would let the window close.
        if (staticPoolBinding_ == nullptr || !staticPoolBinding_->IsBusy())
            busy_.clear();
    }
    if (!busy_.isSet())
        Bt_Cancel->setEnabled(true);
    try {
        deviceAddressBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
        deviceAddressBinding_->request.varList.Assign(OvSNMPVarList(mib::T46, SVT_SV, 0));
        deviceAddressBinding_->BindEdit(0, "%s", Ed_ext);
        deviceAddressBinding_->Refresh();
    } catch (...) {
        ovkit::showSimple(StatusBar1, ov::errorText(std::current_exception()));
    }
    ov::setTypingLimit(Ed_DomNa, 63);
    for (QLineEdit* edit : {Ed_IPAF, Ed_SubMask, Ed_Gateway, Ed_Wins, Ed_DNS})
        ov::setTypingLimit(edit, 15);
}

void TFM_DHCP::createBindings() {
    dynamicPoolBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
    dynamicPoolBinding_->request.varList.Assign(OvSNMPVarList(mib::T43, SVT_SV, 0));
    dynamicPoolBinding_->mode = 0;
    const std::pair<QLineEdit*, const char*> pool[] = {
        {Ed_IPAF, "%s"}, {Ed_PoolRan, "%u"}, {Ed_SubMask, "%s"}, {Ed_Gateway, "%s"},
        {Ed_Wins, "%s"}, {Ed_DNS, "%s"},     {Ed_DomNa, "%s"},   {Ed_Lease, "%u"},
    };
    for (int position = 0; position < 8; ++position)
        dynamicPoolBinding_->BindEdit(position, pool[position].second, pool[position].first);
    dynamicPoolBinding_->BindComboBox(8, CB_Status);
    dynamicPoolBinding_->SetStatusTarget(StatusBar1);
    refresh(dynamicPoolBinding_, StatusBar1);

    switchBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
    switchBinding_->request.varList.Assign(OvSNMPVarList(mib::T42, SVT_SV, 0));
    switchBinding_->mode = 0;
    switchBinding_->BindComboBox(0, CB_Fuction1);
    if (refresh(switchBinding_, nullptr)) {
        CB_Fuction2->setCurrentIndex(CB_Fuction1->currentIndex());
        EnableRule();
    }

    triggerBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
    triggerBinding_->request.varList.Assign(OvSNMPVarList(mib::T26, SVT_SV, 0));
    triggerBinding_->mode = 0;
    triggerBinding_->BindComboBox(0, CoboxDynamic);
    triggerBinding_->BindComboBox(1, CoboxStatic);
    // The device fills its lease tables only when asked, so before their walks.
    sendTriggers(StatusBar3);

    staticPoolEntry_ = new TFM_StaticPoolEntry(*this);
    createStaticPoolBindings();
    createLeaseBindings();
}

void TFM_DHCP::createStaticPoolBindings() {
    staticPoolBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
    staticPoolBinding_->request.varList.Assign(OvSNMPVarList(mib::T45, MVT_UMV, 1));
    staticPoolEntry_->bindControls(*staticPoolBinding_);
    staticPoolBinding_->BindListView(LV_StaticPoolSet, true);
    staticPoolBinding_->SetStatusTarget(StatusBar2);
    staticPoolBinding_->OnGetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
        StaticPoolGetDone(result);
    };
    staticPoolBinding_->OnSetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
        StaticPoolSetDone(result);
    };
    busy_.startWalk(*staticPoolBinding_);

    usedEntriesBinding_ = bindings_.make<New_req2Edit>(this);
    usedEntriesBinding_->request.varList.Assign(OvSNMPVarList(mib::T45, MVT_UMV, 1));
    usedEntriesBinding_->stopText = ovrules::kFreeSlotAddress;
    usedEntriesBinding_->BindListView(User_ListView, true);
    usedEntriesBinding_->Refresh();
}

void TFM_DHCP::createLeaseBindings() {
    const struct {
        New_req2Edit*& binding;
        const OvSNMPVarRow* table;
        OvListView* list;
        OvStatusBar* bar;
    } leases[] = {{dynamicLeasesBinding_, mib::T24, LV_DynPool, StatusBar3},
                  {staticLeasesBinding_, mib::T25, LV_StaticPool, StatusBar4}};
    for (const auto& lease : leases) {
        New_req2Edit* binding = bindings_.make<New_req2Edit>(this);
        lease.binding = binding;
        binding->request.varList.Assign(OvSNMPVarList(lease.table, MVT_FMV, 1));
        binding->stopText = ovrules::kFreeSlotMac;
        binding->BindListView(lease.list, true);
        binding->SetStatusTarget(lease.bar);
        // An asynchronous walk's failure reaches only its closure.
        binding->OnGetDone = [](OvSNMPRequest2Controls* walked, const OvSNMPError& result) {
            if (result.code != 0)
                walked->ShowStatus(result.message);
        };
        binding->Refresh();
    }
}

void TFM_DHCP::disableStaticPoolControls() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{User_ListView, LV_StaticPoolSet, Bt_Add, Bt_Set, Bt_Del})
        w->setEnabled(false);
    paintUserList(false);
}

void TFM_DHCP::enableStaticPoolControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{User_ListView, LV_StaticPoolSet, Bt_Add})
        w->setEnabled(true);
    paintUserList(true);
}

// The button face while the list cannot be used, the window colour while it can.
void TFM_DHCP::paintUserList(bool enabled) {
    const QPalette source = QApplication::palette();
    QPalette p = User_ListView->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base,
                   source.color(group, enabled ? QPalette::Base : QPalette::Button));
    User_ListView->setPalette(p);
}

// ---- The selectors and lists

void TFM_DHCP::EnableRule() {
    const int dynamic = CB_Fuction1->currentIndex();
    if (dynamic == kDisable || dynamic == kEnable) {
        for (QWidget* w :
             std::initializer_list<QWidget*>{Ed_IPAF, Ed_PoolRan, Ed_SubMask, Ed_Gateway, Ed_Wins,
                                             Ed_DNS, Ed_DomNa, Ed_Lease, CB_Status})
            w->setEnabled(dynamic == kEnable);
    }
    const int fixed = CB_Fuction2->currentIndex();
    if (fixed == kDisable) {
        for (QWidget* w : std::initializer_list<QWidget*>{Bt_Add, Bt_Set, Bt_Del, User_ListView,
                                                          LV_StaticPoolSet})
            w->setEnabled(false);
        paintUserList(false);
    } else if (fixed == kEnable) {
        User_ListView->setEnabled(true);
        LV_StaticPoolSet->setEnabled(true);
        paintUserList(true);
    }
    ov::setTypingLimit(Ed_PoolRan, 3);
    ov::setTypingLimit(Ed_Lease, 8);
}

void TFM_DHCP::followAddButton() {
    if (usedEntriesBinding_ == nullptr || !usedEntriesBinding_->IsBusy())
        Bt_Add->setEnabled(CB_Fuction2->currentIndex() != kDisable);
}

void TFM_DHCP::CB_Fuction1Change() {
    CB_Fuction2->setCurrentIndex(CB_Fuction1->currentIndex());
    EnableRule();
}

void TFM_DHCP::CB_Fuction2Change() {
    CB_Fuction1->setCurrentIndex(CB_Fuction2->currentIndex());
    EnableRule();
    followAddButton();
}

void TFM_DHCP::PageControl1Change() {
    if (PageControl1->currentWidget() != TabSheet2)
        return;
    paintUserList(CB_Fuction1->currentIndex() == kEnable);
    followAddButton();
}

void TFM_DHCP::User_ListViewSelectItem() {
    if (CB_Fuction1->currentIndex() != kEnable && CB_Fuction2->currentIndex() != kEnable) {
        paintUserList(false);
        return;
    }
    const bool selected = User_ListView->selectedRow() >= 0;
    Bt_Set->setEnabled(selected);
    Bt_Del->setEnabled(selected);
}

// ---- Synchronous operations and the wait window

// A synchronous binding reports its failures to no one: the window shows them
// as the status line of the operation, which stays until an operation shown in
// the same bar succeeds.
bool TFM_DHCP::refresh(OvSNMPRequest2Edits* binding, OvStatusBar* bar) {
    return reported(binding, bar, 0, [binding] { return binding->Refresh(); });
}

bool TFM_DHCP::apply(OvSNMPRequest2Edits* binding, OvStatusBar* bar) {
    return reported(binding, bar, 1, [binding] { return binding->Apply(false, true); });
}

bool TFM_DHCP::reported(OvSNMPRequest2Edits* binding, OvStatusBar* bar, int operation,
                        const std::function<bool()>& run) {
    syncFailure_.clear();
    binding->request.resultHook = [this](const OvSNMPError& result) {
        syncFailure_ = result.message;
    };
    const bool ok = run();
    if (bar == nullptr)
        return ok;
    if (ok && bar->panelCount() > 0) {
        bar->setSimplePanel(false);
    } else if (!ok) {
        binding->SetStatusTarget(bar);
        binding->ShowStatusOf(operation, ov::widgetText(syncFailure_));
    }
    return ok;
}

bool TFM_DHCP::sendTriggers(OvStatusBar* bar) {
    CoboxDynamic->setCurrentIndex(kGet);
    CoboxStatic->setCurrentIndex(kGet);
    return apply(triggerBinding_, bar);
}

// A walk still filling the list is left alone: a second one would add its
// rows again.
void TFM_DHCP::rewalk(New_req2Edit* binding) {
    if (binding == nullptr || binding->IsBusy())
        return;
    binding->rowNumber = 1;
    binding->Refresh();
}

void TFM_DHCP::openWaiting() {
    TFM_Waiting waiting(device_, this);
    waiting.exec();
}

// ---- Buttons

void TFM_DHCP::Bt_CancelClick() {
    close();
}

void TFM_DHCP::StaticApplyClick() {
    if (switchBinding_ != nullptr && apply(switchBinding_, StatusBar2))
        openWaiting();
}

void TFM_DHCP::Bt_RefreshDynamicPoolClick() {
    if (triggerBinding_ == nullptr)
        return;
    sendTriggers(StatusBar3);
    rewalk(dynamicLeasesBinding_);
}

void TFM_DHCP::Bt_RefreshStaticPoolClick() {
    if (triggerBinding_ == nullptr)
        return;
    sendTriggers(StatusBar4);
    rewalk(staticLeasesBinding_);
}

// ---- The dynamic pool apply

void TFM_DHCP::Bt_ApplyClick() {
    if (switchBinding_ == nullptr || dynamicPoolBinding_ == nullptr)
        return;
    if (CB_Fuction1->currentIndex() != kEnable) {
        if (apply(switchBinding_, StatusBar1))
            openWaiting();
        return;
    }
    if (!checkPoolFilled() || !checkPoolCoversNothing() || !checkPoolAndLease() ||
        !checkServerAddresses())
        return;
    if (!apply(switchBinding_, StatusBar1) || !apply(dynamicPoolBinding_, StatusBar1))
        return;
    openWaiting();
}

bool TFM_DHCP::checkPoolFilled() {
    if (Ed_IPAF->text().isEmpty())
        return refuse(this, Ed_IPAF, ovkit::kWarning, kAddressRefusal, false);
    if (Ed_PoolRan->text().isEmpty())
        return refuse(this, Ed_PoolRan, ovkit::kWarning, kPoolSize, false);
    return true;
}

// Strict conversions: a part that is no number ends the handler with the
// application's error report.
bool TFM_DHCP::checkPoolCoversNothing() {
    const std::uint32_t start = ovrules::checkedDottedValue(Ed_IPAF->text().toStdString());
    const std::uint32_t size = ovrules::checkedDottedValue(Ed_PoolRan->text().toStdString());
    const std::uint32_t system = ovrules::checkedDottedValue(Ed_ext->text().toStdString());
    if (ovrules::poolCovers(start, size, system))
        return refuse(this, nullptr, ovkit::kWarning,
                      QString::fromLatin1(ovrules::kPoolCoversSystemRefusal), false);
    for (int row = 0; row < User_ListView->itemCount(); ++row) {
        IPTemp->setText(User_ListView->subItem(row, ovrules::kStaticPoolIp));
        if (ovrules::poolCovers(start, size,
                                ovrules::checkedDottedValue(IPTemp->text().toStdString())))
            return refuse(this, nullptr, ovkit::kWarning,
                          QString::fromLatin1(ovrules::kPoolCoversStaticRefusal), false);
    }
    return true;
}

bool TFM_DHCP::checkPoolAndLease() {
    const std::uint32_t size = ovrules::checkedInteger(Ed_PoolRan->text().toStdString());
    if (!ovrules::withinField(size, ovrules::kDhcpPoolSize))
        return refuse(this, Ed_PoolRan, kError, kPoolSize, true);
    if (Ed_Lease->text().isEmpty())
        return refuse(this, Ed_Lease, ovkit::kWarning, kLease, false);
    if (!ovkit::textCheck(this, Ed_DomNa->text(), ovrules::TextCheckMode::NoQuotationMark)) {
        Ed_DomNa->setFocus();
        return false;
    }
    const std::uint32_t lease = ovrules::checkedInteger(Ed_Lease->text().toStdString());
    if (!ovrules::withinField(lease, ovrules::kDhcpLease))
        return refuse(this, Ed_Lease, kError, kLease, true);
    return true;
}

bool TFM_DHCP::checkServerAddresses() {
    ovnet::fillEmptyAddresses({Ed_SubMask, Ed_Gateway, Ed_Wins, Ed_DNS});
    if (!ovrules::isHostAddress(Ed_IPAF->text().toStdString()))
        return refuse(this, Ed_IPAF, QString::fromLatin1(ovrules::kDhcpCheckTitle), kAddressRefusal,
                      true);
    if (!ovnet::checkGivenServers(this, Ed_Gateway, Ed_Wins, Ed_DNS) ||
        !ovnet::checkGivenMask(this, Ed_SubMask))
        return false;
    // By its four numbers: a leading zero names the same address.
    if (ovrules::sameAddress(Ed_IPAF->text().trimmed().toStdString(),
                             device_.agentAddressText().toStdString())) {
        ov::messageBox(this, QString::fromLatin1(ovrules::kDhcpCheckTitle),
                       QString::fromLatin1(ovrules::kPoolStartIsSystemRefusal));
        Ed_IPAF->clear();
        return false;
    }
    return true;
}

// ---- Closing

bool TFM_DHCP::FormCloseQuery() {
    return !busy_.isSet();
}

// The bindings go before the controls they touch, the entry dialog's among them.
void TFM_DHCP::FormClose() {
    bindings_.release();
    dynamicPoolBinding_ = switchBinding_ = triggerBinding_ = staticPoolBinding_ = nullptr;
    deviceAddressBinding_ = nullptr;
    usedEntriesBinding_ = dynamicLeasesBinding_ = staticLeasesBinding_ = nullptr;
    delete staticPoolEntry_;
}

#include "moc_TFM_DHCP.cpp"
