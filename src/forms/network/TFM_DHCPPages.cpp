// The DHCP server window's three pages (the switch with the dynamic pool, the
// static pool, the current leases) and its never-visible boxes, built as the
// design lays them out, with their handlers.
#include "TFM_DHCP.h"

#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvListView.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"

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

using ovkit::button;
using ovkit::control;
using ovkit::label;
using ovkit::statusBar;

// A list view read by assistive technologies by the text of its label.
OvListView* listView(QWidget* parent, const char* name, const QString& caption) {
    auto* list = control<OvListView>(parent, name);
    list->setAccessibleName(caption.trimmed());
    list->setMinimumSize(440, 150);
    return list;
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

void TFM_DHCP::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Advanced \\ DHCP Server"));
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
    Ed_ext = control<QLineEdit>(TabSheet1, "Ed_ext");
    IPTemp = control<QLineEdit>(TabSheet1, "IPTemp");
    ovkit::neverVisible(Ed_ext);
    ovkit::neverVisible(IPTemp);

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
        ovkit::neverVisible(trigger);
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
