#include "TFM_MACTable.h"

#include "DeviceMib.h"
#include "OvDhcpRules.h"
#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvListView.h"
#include "OvPoolRange.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvWidgetText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using ovkit::button;
using ovkit::control;

namespace {

constexpr int kMac = 0; // the MAC's sub-item in either list
constexpr int kMacColumnWidth = 130;

// The MAC column shows whole addresses, not the width of its caption.
void widenMacColumn(OvListView* list) {
    if (list->columnCount() > kMac + 1)
        list->setColumnWidth(kMac + 1, kMacColumnWidth);
}

} // namespace

TFM_MACTable::TFM_MACTable(int band, QWidget* owner) : OvDialog(owner), band_(band) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_MACTable::~TFM_MACTable() {
    FormClose();
}

// ---- Controls

void TFM_MACTable::buildControls() {
    ovkit::frameWindow(this, band_ == 0 ? QStringLiteral("IEEE802.11a MAC Address Table")
                                        : QStringLiteral("IEEE802.11g MAC Address Table"));
    User_ListView = control<OvListView>(this, "User_ListView");
    User_ListView->setMinimumSize(300, 140);
    LA_List = ovkit::label(this, "LA_List", QStringLiteral("Access Control List"), User_ListView);
    User_ListView->setAccessibleName(LA_List->text());
    LV_StaticPoolSet = control<OvListView>(this, "LV_StaticPoolSet");
    LV_StaticPoolSet->setAccessibleName(QStringLiteral("MAC address slots"));
    LV_StaticPoolSet->setMinimumSize(300, 140);
    Bt_Add = button(this, "Bt_Add", QStringLiteral("Add"));
    Bt_Set = button(this, "Bt_Set", QStringLiteral("Set"));
    Bt_Del = button(this, "Bt_Del", QStringLiteral("Del"));
    Bt_Rfrsh = button(this, "Bt_Rfrsh", QStringLiteral("Refresh"));
    StatusBar = ovkit::statusBar(this, "StatusBar", true);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Bt_Add, Bt_Set, Bt_Del})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(Bt_Rfrsh);
    auto* content = new QVBoxLayout;
    content->setContentsMargins(8, 8, 8, 8);
    content->addWidget(LA_List);
    content->addWidget(User_ListView, 1);
    content->addWidget(LV_StaticPoolSet, 1);
    content->addLayout(buttons);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->addLayout(content);
    window->addWidget(StatusBar);
    connectHandlers();
}

void TFM_MACTable::connectHandlers() {
    const std::pair<QPushButton*, void (TFM_MACTable::*)()> clicks[] = {
        {Bt_Add, &TFM_MACTable::Bt_AddClick},
        {Bt_Set, &TFM_MACTable::Bt_SetClick},
        {Bt_Del, &TFM_MACTable::Bt_DelClick},
        {Bt_Rfrsh, &TFM_MACTable::Bt_RfrshClick},
    };
    for (const auto& [b, handler] : clicks)
        ov::onSignal(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    // Installed before the list is bound, so that the binding still calls it.
    User_ListView->setSelectHandler([this](int, bool) { User_ListViewSelectItem(); });
    ov::onSignal(User_ListView, &OvListView::cellDoubleClicked, this, [this] { Bt_SetClick(); });
}

// ---- Creation

void TFM_MACTable::FormCreate() {
    busy_.set();
    setButtons(false);
    Bt_Rfrsh->setEnabled(false);
    const OvSNMPVarRow* table = band_ == 0 ? mib::T15 : mib::T16;
    try {
        fullList_ = bindings_.make<OvSNMPRequest2Edits>(this);
        fullList_->request.varList.Assign(OvSNMPVarList(table, MVT_FMV, 1));
        fullList_->OnGetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
            FullListGetDone(result);
        };
        fullList_->OnSetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
            FullListSetDone(result);
        };
        fullList_->BindListView(LV_StaticPoolSet, true);
        widenMacColumn(LV_StaticPoolSet);
        fullList_->SetStatusTarget(StatusBar);
        busy_.startWalk(*fullList_);
        entry_ = new TFM_MACAddr(*this);
        entry_->bindControls(*fullList_);

        usedList_ = bindings_.make<New_req2Edit>(this);
        usedList_->request.varList.Assign(OvSNMPVarList(table, MVT_UMV, 1));
        usedList_->stopText = ovrules::kFreeSlotMac;
        usedList_->BindListView(User_ListView, true);
        widenMacColumn(User_ListView);
        usedList_->SetStatusTarget(StatusBar);
        usedList_->Refresh();
    } catch (...) {
        ovkit::showSimple(StatusBar, ov::errorText(std::current_exception()));
        // No walk under way: nothing else would let the window close.
        if (fullList_ == nullptr || !fullList_->IsBusy())
            busy_.clear();
        Bt_Rfrsh->setEnabled(!busy_.isSet());
    }
}

TFM_MACAddr* TFM_MACTable::entryDialog() const {
    return entry_;
}

// The bindings go before the controls they touch, the entry dialog's among them.
void TFM_MACTable::FormClose() {
    bindings_.release();
    fullList_ = nullptr;
    usedList_ = nullptr;
    delete entry_;
}

bool TFM_MACTable::FormCloseQuery() {
    return !busy_.isSet();
}

// ---- The full list's closures

void TFM_MACTable::showResult(const OvSNMPError& result) {
    StatusBar->panel(0)->setText(ov::widgetText(result.message));
    StatusBar->setSimplePanel(false);
}

void TFM_MACTable::FullListGetDone(const OvSNMPError& result) {
    showResult(result);
    busy_.clear();
    Bt_Rfrsh->setEnabled(true);
    if (result.code == 0)
        Bt_Add->setEnabled(ovrules::rowOfMac(slotMacs(), ovrules::kFreeSlotMac).has_value());
}

void TFM_MACTable::FullListSetDone(const OvSNMPError& result) {
    showResult(result);
    if (result.code != 0)
        return;
    setButtons(false);
    Bt_Rfrsh->setEnabled(false);
    rewalk();
}

// ---- Lists and buttons

void TFM_MACTable::setButtons(bool enabled) {
    for (QPushButton* b : {Bt_Add, Bt_Set, Bt_Del})
        b->setEnabled(enabled);
}

// Both lists read again; a walk still filling its list is left alone, as a
// second one would add its rows again.
void TFM_MACTable::rewalk() {
    if (!fullList_->IsBusy())
        fullList_->Refresh();
    walkUsedList();
}

void TFM_MACTable::walkUsedList() {
    if (usedList_->IsBusy())
        return;
    usedList_->rowNumber = 1;
    usedList_->Refresh();
}

std::vector<std::string> TFM_MACTable::slotMacs() const {
    return ovkit::listColumn(*LV_StaticPoolSet, kMac);
}

void TFM_MACTable::User_ListViewSelectItem() {
    const bool selected = User_ListView->selectedRow() >= 0;
    Bt_Set->setEnabled(selected);
    Bt_Del->setEnabled(selected);
}

// Selects the slot holding the MAC, which loads it into the entry dialog; also
// when it was selected already.
bool TFM_MACTable::loadSlot(const std::string& mac) {
    const auto row = ovrules::rowOfMac(slotMacs(), mac);
    if (!row)
        return false;
    LV_StaticPoolSet->clearSelection();
    LV_StaticPoolSet->selectRow(static_cast<int>(*row));
    return true;
}

// The slot of the used entry selected. None while the table is walked, or
// when no slot holds its MAC (the lists were read at different times): Set
// and Del would then write into the slot loaded last, so the user is told and
// the lists are read again.
bool TFM_MACTable::loadSelectedEntry() {
    const int used = User_ListView->selectedRow();
    if (used < 0 || fullList_ == nullptr || fullList_->IsBusy())
        return false;
    if (loadSlot(User_ListView->subItem(used, kMac).toStdString()))
        return true;
    Bt_RfrshClick();
    StatusBar->panel(0)->setText(QString::fromLatin1(ovrules::kEntryGoneText));
    StatusBar->setSimplePanel(false);
    return false;
}

void TFM_MACTable::openEntry(const QString& title) {
    entry_->setWindowTitle(title);
    ov::setTypingLimit(entry_->Ed_MACAddr, ovrules::kMacHexDigits);
    entry_->exec();
}

void TFM_MACTable::Bt_AddClick() {
    if (fullList_ == nullptr || fullList_->IsBusy() || !loadSlot(ovrules::kFreeSlotMac))
        return;
    openEntry(QStringLiteral("Adding MAC address"));
}

void TFM_MACTable::Bt_SetClick() {
    if (!loadSelectedEntry())
        return;
    busy_.set();
    openEntry(QStringLiteral("Set MAC Address"));
}

// Writes the free slot's MAC into the entry's slot, without asking.
void TFM_MACTable::Bt_DelClick() {
    if (!loadSelectedEntry())
        return;
    busy_.set();
    entry_->Ed_MACAddr->setText(QString::fromLatin1(ovrules::kFreeSlotMac));
    fullList_->Apply(false, true);
}

void TFM_MACTable::Bt_RfrshClick() {
    if (fullList_ == nullptr || usedList_ == nullptr)
        return;
    if (fullList_->IsBusy()) {
        Bt_Set->setEnabled(false);
        Bt_Del->setEnabled(false);
        return;
    }
    busy_.set();
    setButtons(false);
    Bt_Rfrsh->setEnabled(false);
    busy_.startWalk(*fullList_);
    walkUsedList();
}

#include "moc_TFM_MACTable.cpp"
