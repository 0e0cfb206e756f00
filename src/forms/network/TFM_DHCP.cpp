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

constexpr int kDisable = 0, kEnable = 1;          // the switch's items
constexpr int kGet = 1;                           // the lease triggers' item "Get"
const QString kWaring = QStringLiteral("Waring"); // as the device's own manager titles them
const QString kError = QStringLiteral("Error");
const QString kPoolSize = QStringLiteral("Please input a number between 1 and 255.");
const QString kLease = QStringLiteral("Please input a number between 60 and 31536000.");

using ovkit::button;
using ovkit::control;
using ovkit::label;
using ovkit::refuse;
using ovkit::statusBar;

// A list view read by assistive technologies by the text of its label.
OvListView* listView(QWidget* parent, const char* name, const QString& caption) {
    auto* list = control<OvListView>(parent, name);
    list->setAccessibleName(caption.trimmed());
    list->setMinimumSize(440, 150);
    return list;
}

// A result in panel 0. A success does not hide the failure line of a
// synchronous operation that the bar shows; a failure does.
void showInPanel(OvStatusBar* bar, const OvSNMPError& result) {
    bar->panel(0)->setText(ov::widgetText(result.message));
    if (result.code != 0)
        bar->setSimplePanel(false);
}

void showSimple(OvStatusBar* bar, const QString& text) {
    bar->setSimpleText(text);
    bar->setSimplePanel(true);
}

QLineEdit* hiddenEdit(QWidget* parent, const char* name) {
    auto* edit = control<QLineEdit>(parent, name);
    edit->setAccessibleName(edit->objectName());
    edit->hide();
    return edit;
}

// One row of a grid: the label and its box.
void addRow(QGridLayout* grid, QLabel* caption, QWidget* box) {
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
}

QHBoxLayout* buttonRow(std::initializer_list<QWidget*> left,
                       std::initializer_list<QWidget*> right) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : left)
        row->addWidget(w);
    row->addStretch();
    for (QWidget* w : right)
        row->addWidget(w);
    return row;
}

// The switch's group: its two labels and its selector.
QGroupBox* switchGroup(QWidget* parent, const char* name, QLabel*& caption, QComboBox*& selector,
                       const char* selectorName, const char* captionName) {
    auto* group = control<QGroupBox>(parent, name);
    group->setTitle(QStringLiteral("DHCP Server Control"));
    selector = control<QComboBox>(group, selectorName);
    caption = label(group, captionName, QStringLiteral("Function Enable/Disable"), selector);
    auto* row = new QHBoxLayout(group);
    row->addWidget(caption);
    row->addWidget(selector);
    row->addStretch();
    return group;
}

} // namespace

TFM_DHCP::TFM_DHCP(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_DHCP::~TFM_DHCP() {
    FormClose();
}

void TFM_DHCP::buildControls() {
    setWindowTitle(QStringLiteral("Advanced \\ DHCP Server"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    PageControl1 = control<QTabWidget>(this, "PageControl1");
    // Every tab's caption in full: the fixed window is as wide as they need.
    PageControl1->setUsesScrollButtons(false);
    buildDynamicTab();
    buildStaticTab();
    buildLeaseTab();
    buildHidden();
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(6, 6, 6, 6);
    window->addWidget(PageControl1);
    setFixedSize(sizeHint());
    connectHandlers();
}

void TFM_DHCP::buildDynamicTab() {
    TabSheet1 = control<QWidget>(PageControl1, "TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral(" Dynamic Pool Settings "));
    GB_Control1 = switchGroup(TabSheet1, "GB_Control1", LA_Fuction1, CB_Fuction1, "CB_Fuction1",
                              "LA_Fuction1");
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    const auto field = [&](QLabel*& caption, QLineEdit*& edit, const char* name,
                           const char* captionName, const QString& text) {
        edit = control<QLineEdit>(TabSheet1, name);
        edit->setMinimumWidth(160);
        caption = label(TabSheet1, captionName, text, edit);
        addRow(grid, caption, edit);
    };
    field(LA_IPAF, Ed_IPAF, "Ed_IPAF", "LA_IPAF", QStringLiteral("IP Assigned From"));
    field(LA_PoolRan, Ed_PoolRan, "Ed_PoolRan", "LA_PoolRan",
          QStringLiteral("The Range of Pool (1-255)"));
    field(LA_SubMask, Ed_SubMask, "Ed_SubMask", "LA_SubMask", QStringLiteral("SubMask"));
    field(LA_Gateway, Ed_Gateway, "Ed_Gateway", "LA_Gateway", QStringLiteral("Gateway"));
    field(LA_Wins, Ed_Wins, "Ed_Wins", "LA_Wins", QStringLiteral("Wins"));
    field(LA_DNS, Ed_DNS, "Ed_DNS", "LA_DNS", QStringLiteral("DNS"));
    field(LA_DomNa, Ed_DomNa, "Ed_DomNa", "LA_DomNa", QStringLiteral("Domain Name"));
    field(LA_Lease, Ed_Lease, "Ed_Lease", "LA_Lease",
          QStringLiteral("Lease Time (60 - 31536000 sec)"));
    CB_Status = control<QComboBox>(TabSheet1, "CB_Status");
    LA_Status = label(TabSheet1, "LA_Status", QStringLiteral("Status"), CB_Status);
    addRow(grid, LA_Status, CB_Status);
    Bt_Apply = button(TabSheet1, "Bt_Apply", QStringLiteral("Apply"));
    Bt_Cancel = button(TabSheet1, "Bt_Cancel", QStringLiteral("Cancel"));
    StatusBar1 = statusBar(TabSheet1, "StatusBar1", true);
    Ed_ext = hiddenEdit(TabSheet1, "Ed_ext");
    IPTemp = hiddenEdit(TabSheet1, "IPTemp");

    auto* tab = new QVBoxLayout(TabSheet1);
    tab->addWidget(GB_Control1);
    tab->addLayout(grid);
    tab->addStretch();
    tab->addLayout(buttonRow({}, {Bt_Apply, Bt_Cancel}));
    tab->addWidget(StatusBar1);
}

void TFM_DHCP::buildStaticTab() {
    TabSheet2 = control<QWidget>(PageControl1, "TabSheet2");
    PageControl1->addTab(TabSheet2, QStringLiteral("Static Pool Settings  "));
    GB_Control2 = switchGroup(TabSheet2, "GB_Control2", LA_Fuction2, CB_Fuction2, "CB_Fuction2",
                              "LA_Fuction2");
    const QString caption = QStringLiteral(" Static Pool Settings : Assigned Static Pool");
    User_ListView = listView(TabSheet2, "User_ListView", caption);
    LA_UserList = label(TabSheet2, "LA_UserList", caption, User_ListView);
    // The full table, free slots included: the window works on it while the
    // user sees the used entries. Never shown.
    LV_StaticPoolSet = listView(TabSheet2, "LV_StaticPoolSet", QStringLiteral("Static pool slots"));
    LV_StaticPoolSet->hide();
    Bt_Add = button(TabSheet2, "Bt_Add", QStringLiteral("Add"));
    Bt_Set = button(TabSheet2, "Bt_Set", QStringLiteral("Set"));
    Bt_Del = button(TabSheet2, "Bt_Del", QStringLiteral("Del"));
    StaticApply = button(TabSheet2, "StaticApply", QStringLiteral("Apply"));
    StatusBar2 = statusBar(TabSheet2, "StatusBar2", true);

    auto* tab = new QVBoxLayout(TabSheet2);
    tab->addWidget(GB_Control2);
    tab->addWidget(LA_UserList);
    tab->addWidget(User_ListView, 1);
    tab->addLayout(buttonRow({Bt_Add, Bt_Set, Bt_Del}, {StaticApply}));
    tab->addWidget(StatusBar2);
}

void TFM_DHCP::buildLeaseTab() {
    TabSheet3 = control<QWidget>(PageControl1, "TabSheet3");
    PageControl1->addTab(TabSheet3, QStringLiteral(" Current IP Mapping List  "));
    const QString dynamicCaption = QStringLiteral("Current DHCP Dynamic Pools");
    LV_DynPool = listView(TabSheet3, "LV_DynPool", dynamicCaption);
    LA_DynPool = label(TabSheet3, "LA_DynPool", dynamicCaption, LV_DynPool);
    Bt_RefreshDynamicPool = button(TabSheet3, "Bt_RefreshDynamicPool", QStringLiteral("Refresh"));
    StatusBar3 = statusBar(TabSheet3, "StatusBar3", false);
    const QString staticCaption = QStringLiteral("Current DHCP Static Pools");
    LV_StaticPool = listView(TabSheet3, "LV_StaticPool", staticCaption);
    LA_StaticPool = label(TabSheet3, "LA_StaticPool", staticCaption, LV_StaticPool);
    Bt_RefreshStaticPool = button(TabSheet3, "Bt_RefreshStaticPool", QStringLiteral("Refresh"));
    StatusBar4 = statusBar(TabSheet3, "StatusBar4", true);
    for (OvListView* list : {LV_DynPool, LV_StaticPool})
        list->setMinimumHeight(110);

    auto* tab = new QVBoxLayout(TabSheet3);
    tab->addWidget(LA_DynPool);
    tab->addWidget(LV_DynPool, 1);
    tab->addLayout(buttonRow({}, {Bt_RefreshDynamicPool}));
    tab->addWidget(StatusBar3);
    tab->addWidget(LA_StaticPool);
    tab->addWidget(LV_StaticPool, 1);
    tab->addLayout(buttonRow({}, {Bt_RefreshStaticPool}));
    tab->addWidget(StatusBar4);
}

void TFM_DHCP::buildHidden() {
    CoboxDynamic = control<QComboBox>(this, "CoboxDynamic");
    CoboxStatic = control<QComboBox>(this, "CoboxStatic");
    for (QComboBox* trigger : {CoboxDynamic, CoboxStatic}) {
        trigger->setAccessibleName(trigger->objectName());
        trigger->hide();
    }
}

void TFM_DHCP::connectHandlers() {
    ov::onUserChange(CB_Fuction1, this, [this] { CB_Fuction1Change(); });
    ov::onUserChange(CB_Fuction2, this, [this] { CB_Fuction2Change(); });
    ov::onSignal(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    // Installed before the binding takes the list over, which keeps calling it.
    User_ListView->setSelectHandler([this](int, bool) { User_ListViewSelectItem(); });
    const std::pair<QPushButton*, void (TFM_DHCP::*)()> clicks[] = {
        {Bt_Apply, &TFM_DHCP::Bt_ApplyClick},
        {Bt_Cancel, &TFM_DHCP::Bt_CancelClick},
        {Bt_Add, &TFM_DHCP::Bt_AddClick},
        {Bt_Set, &TFM_DHCP::Bt_SetClick},
        {Bt_Del, &TFM_DHCP::Bt_DelClick},
        {StaticApply, &TFM_DHCP::StaticApplyClick},
        {Bt_RefreshDynamicPool, &TFM_DHCP::Bt_RefreshDynamicPoolClick},
        {Bt_RefreshStaticPool, &TFM_DHCP::Bt_RefreshStaticPoolClick},
    };
    for (const auto& [b, handler] : clicks)
        ov::onSignal(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
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
            showSimple(bar, text);
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
        showSimple(StatusBar1, ov::errorText(std::current_exception()));
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
            showSimple(bar, QString::fromLatin1(ovrules::kEntryGoneText));
        readStaticPoolAgain();
        return false;
    }
    loadStaticPoolRow(static_cast<int>(*row));
    return true;
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
        return refuse(this, Ed_IPAF, ovkit::kWarning,
                      QStringLiteral("Please input valid IP address"), false);
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
                      QStringLiteral("Reject: The DHCP dynamic IP pool will cover system IP."),
                      false);
    for (int row = 0; row < User_ListView->itemCount(); ++row) {
        IPTemp->setText(User_ListView->subItem(row, ovrules::kStaticPoolIp));
        if (ovrules::poolCovers(start, size,
                                ovrules::checkedDottedValue(IPTemp->text().toStdString())))
            return refuse(this, nullptr, ovkit::kWarning,
                          QStringLiteral("Reject: The DHCP dynamic IP pool will cover Static IP."),
                          false);
    }
    return true;
}

bool TFM_DHCP::checkPoolAndLease() {
    const std::uint32_t size = ovrules::checkedInteger(Ed_PoolRan->text().toStdString());
    if (size < 1 || size > 255)
        return refuse(this, Ed_PoolRan, kError, kPoolSize, true);
    if (Ed_Lease->text().isEmpty())
        return refuse(this, Ed_Lease, ovkit::kWarning, kLease, false);
    if (!ovkit::textCheck(this, Ed_DomNa->text(), ovrules::TextCheckMode::NoQuotationMark)) {
        Ed_DomNa->setFocus();
        return false;
    }
    const std::uint32_t lease = ovrules::checkedInteger(Ed_Lease->text().toStdString());
    if (lease < 60 || lease > 31536000)
        return refuse(this, Ed_Lease, kError, kLease, true);
    return true;
}

bool TFM_DHCP::checkServerAddresses() {
    ovnet::fillEmptyAddresses({Ed_SubMask, Ed_Gateway, Ed_Wins, Ed_DNS});
    if (!ovrules::isHostAddress(Ed_IPAF->text().toStdString()))
        return refuse(this, Ed_IPAF, kWaring, QStringLiteral("Please input valid IP address"),
                      true);
    if (!ovnet::checkGivenServers(this, Ed_Gateway, Ed_Wins, Ed_DNS) ||
        !ovnet::checkGivenMask(this, Ed_SubMask))
        return false;
    // By its four numbers: a leading zero names the same address.
    if (ovrules::sameAddress(Ed_IPAF->text().trimmed().toStdString(),
                             device_.agentAddressText().toStdString())) {
        ov::messageBox(this, kWaring,
                       QStringLiteral("Reject:DHCPS dynamic IP pool will cover system IP"));
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
