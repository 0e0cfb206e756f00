#include "TFM_LAN.h"

#include "DeviceMib.h"
#include "OvAddressChecks.h"
#include "OvAddressProbe.h"
#include "OvDeviceContext.h"
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
#include "TFM_Waiting.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Positions in the LAN list (T3).
constexpr int kGetIPFrom = 0, kIPAddress = 1, kSubnetMask = 2, kDefaultGateway = 3, kRestart = 4;
constexpr int kStaticItem = 0, kDynamicItem = 1;
// The static pool table walks slowly on the device: 100 s.
constexpr int kStaticListTimeout = 10000;
constexpr int kAddressLength = 15;

const QString kSystemIpWillBe = QStringLiteral("The system IP will be ");

using ovkit::button;
using ovkit::control;
using ovkit::label;

QLineEdit* addressEdit(QWidget* parent, const char* name, const QString& text) {
    auto* edit = control<QLineEdit>(parent, name);
    edit->setText(text);
    edit->setMinimumWidth(130);
    return edit;
}

} // namespace

TFM_LAN::TFM_LAN(const OvDeviceContext& device, QWidget* owner) : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_LAN::~TFM_LAN() {
    FormClose();
}

void TFM_LAN::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Home \\ LAN"));
    // Controls in the order of the design's table; the labels come with their boxes.
    CB_IPFrom = control<QComboBox>(this, "CB_IPFrom");
    GetIPFrom = label(this, "GetIPFrom", QStringLiteral("Get IP From"), CB_IPFrom);
    ED_IpAddr = addressEdit(this, "ED_IpAddr", QStringLiteral("   .   .   .   "));
    LA_IPAddress = label(this, "LA_IPAddress", QStringLiteral("IP Address"), ED_IpAddr);
    ED_SubMask = addressEdit(this, "ED_SubMask", QStringLiteral("255.255.255.0"));
    LA_SubnetMask = label(this, "LA_SubnetMask", QStringLiteral("Subnet Mask"), ED_SubMask);
    ED_DefGw = addressEdit(this, "ED_DefGw", QStringLiteral("   .   .   .   "));
    LA_DefGW = label(this, "LA_DefGW", QStringLiteral("Default Gateway"), ED_DefGw);
    buildHidden();
    BT_LanCfgOk = button(this, "BT_LanCfgOk", QStringLiteral("Apply"));
    BT_LanCfgCancel = button(this, "BT_LanCfgCancel", QStringLiteral("Cancel"));
    StatusBar = ovkit::statusBar(this, "StatusBar", false);

    layOut();
    setFixedSize(sizeHint().expandedTo({300, 0}));

    ov::onUserChange(CB_IPFrom, this, [this] { CB_IPFromChange(); });
    ov::onSignal(BT_LanCfgOk, &QPushButton::clicked, this, [this] { BT_LanCfgOkClick(); });
    ov::onSignal(BT_LanCfgCancel, &QPushButton::clicked, this, [this] { BT_LanCfgCancelClick(); });
}

// The four rows of labels and boxes, the buttons below them at the right, the
// status bar along the bottom edge.
void TFM_LAN::layOut() {
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(16);
    const std::pair<QLabel*, QWidget*> rows[] = {{GetIPFrom, CB_IPFrom},
                                                 {LA_IPAddress, ED_IpAddr},
                                                 {LA_SubnetMask, ED_SubMask},
                                                 {LA_DefGW, ED_DefGw}};
    for (int r = 0; r < 4; ++r) {
        fields->addWidget(rows[r].first, r, 0);
        fields->addWidget(rows[r].second, r, 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BT_LanCfgOk);
    buttons->addWidget(BT_LanCfgCancel);
    auto* content = new QVBoxLayout;
    content->setContentsMargins(12, 12, 12, 8);
    content->addLayout(fields);
    content->addSpacing(12);
    content->addStretch(); // the buttons stay down when the Static rows hide
    content->addLayout(buttons);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addLayout(content);
    window->addWidget(StatusBar);
}

void TFM_LAN::buildHidden() {
    ED_Restart = control<QComboBox>(this, "ED_Restart");
    Ed_IPAF = control<QLineEdit>(this, "Ed_IPAF");
    Ed_PoolRan = control<QLineEdit>(this, "Ed_PoolRan");
    // Only the Static apply reads it, to compare with the static pool.
    Static_ListView = control<OvListView>(this, "Static_ListView");
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{ED_Restart, Ed_IPAF, Ed_PoolRan, Static_ListView}) {
        ovkit::neverVisible(hidden);
    }
}

void TFM_LAN::FormCreate() {
    try {
        lanBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
        lanBinding_->request.varList.Assign(OvSNMPVarList(mib::T3, SVT_SV, 0));
        lanBinding_->mode = 0;
        lanBinding_->BindComboBox(kGetIPFrom, CB_IPFrom);
        lanBinding_->BindEdit(kIPAddress, "%s", ED_IpAddr);
        lanBinding_->BindEdit(kSubnetMask, "%s", ED_SubMask);
        lanBinding_->BindEdit(kDefaultGateway, "%s", ED_DefGw);
        lanBinding_->BindComboBox(kRestart, ED_Restart);
        lanBinding_->SetStatusTarget(StatusBar);
        // A synchronous binding reports nothing itself; the window shows its
        // failures as the status line of the operation.
        lanBinding_->request.resultHook = [this](const OvSNMPError& result) {
            lanFailure_ = result.message;
        };

        poolBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
        poolBinding_->request.varList.Assign(OvSNMPVarList(mib::T43, SVT_SV, 0));
        poolBinding_->BindEdit(0, "%s", Ed_IPAF);
        poolBinding_->BindEdit(1, "%u", Ed_PoolRan);
        poolBinding_->Refresh();

        staticListBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
        staticListBinding_->request.varList.Assign(OvSNMPVarList(mib::T45, MVT_UMV, 1));
        staticListBinding_->request.timeout = kStaticListTimeout;
        staticListBinding_->BindListView(Static_ListView, true);

        if (refreshLan()) {
            addressAtOpen_ = ED_IpAddr->text();
            modeAtOpen_ = CB_IPFrom->currentIndex();
        }
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
    for (QLineEdit* edit : {ED_IpAddr, ED_SubMask, ED_DefGw})
        ov::setTypingLimit(edit, kAddressLength);
}

void TFM_LAN::FormClose() {
    // Walks in progress stop after their current step; the bindings go before
    // the controls they fill.
    for (auto* binding : {poolBinding_.get(), staticListBinding_.get()})
        if (binding != nullptr)
            binding->request.active = 0;
    staticListBinding_.reset();
    poolBinding_.reset();
    lanBinding_.reset();
}

void TFM_LAN::applyVisibilityRule() {
    const bool fixed = CB_IPFrom->currentIndex() != kDynamicItem;
    for (QWidget* w : std::initializer_list<QWidget*>{LA_IPAddress, ED_IpAddr, LA_SubnetMask,
                                                      ED_SubMask, LA_DefGW, ED_DefGw})
        w->setVisible(fixed);
}

// A refresh runs no change handler, so the window follows it itself.
bool TFM_LAN::refreshLan() {
    if (!lanBinding_)
        return false;
    lanFailure_.clear();
    bool ok = false;
    try {
        ok = lanBinding_->Refresh();
        if (!ok)
            lanBinding_->ShowStatusOf(0, ov::widgetText(lanFailure_));
    } catch (...) {
        lanBinding_->ShowStatusOf(0, ov::errorText(std::current_exception()));
    }
    applyVisibilityRule();
    return ok;
}

bool TFM_LAN::applyLan() {
    lanFailure_.clear();
    try {
        if (lanBinding_->Apply(false, true))
            return true;
        lanBinding_->ShowStatusOf(1, ov::widgetText(lanFailure_));
    } catch (...) {
        lanBinding_->ShowStatusOf(1, ov::errorText(std::current_exception()));
    }
    return false;
}

void TFM_LAN::refuse(const QString& text) {
    ov::messageBox(this, ovkit::kWarning, text);
}

void TFM_LAN::CB_IPFromChange() {
    applyVisibilityRule();
}

void TFM_LAN::BT_LanCfgCancelClick() {
    close();
}

void TFM_LAN::BT_LanCfgOkClick() {
    if (!lanBinding_)
        return;
    switch (CB_IPFrom->currentIndex()) {
    case kStaticItem:
        applyStatic();
        break;
    case kDynamicItem:
        applyDynamic();
        break;
    default: // nothing selected
        break;
    }
}

void TFM_LAN::applyStatic() {
    if (!checkTypedAddresses() || !checkDynamicPool() || !checkAddressFree() || !checkStaticPool())
        return;
    sendStatic();
}

bool TFM_LAN::checkTypedAddresses() {
    const struct {
        QLineEdit* edit;
        bool (*valid)(std::string_view);
        const char* refusal;
    } checks[] = {
        {ED_IpAddr, ovrules::isHostAddress, "Please input valid IP Address."},
        {ED_SubMask, ovrules::isSubnetMask, "Please input valid Subnet Mask."},
        {ED_DefGw, ovrules::isHostAddress, "Please input valid Gateway."},
    };
    for (const auto& check : checks) {
        if (!check.valid(check.edit->text().toStdString())) {
            refuse(QString::fromLatin1(check.refusal));
            check.edit->clear();
            return false;
        }
    }
    return true;
}

// Lenient dotted values: until the pool binding has answered both boxes are
// empty, an empty pool that nothing conflicts with.
bool TFM_LAN::checkDynamicPool() {
    const auto value = [](const QLineEdit* edit) {
        return ovrules::dottedValue(edit->text().toStdString());
    };
    if (!ovrules::poolCovers(value(Ed_IPAF), value(Ed_PoolRan), value(ED_IpAddr)))
        return true;
    refuse(QStringLiteral("Reject: The IP conflicts with Dynamic DHCP Server IP"));
    refreshLan();
    return false;
}

// Compared by the four numbers, so a leading zero is no new address.
bool TFM_LAN::addressChanged() const {
    return !ovrules::sameAddress(ED_IpAddr->text().toStdString(), addressAtOpen_.toStdString());
}

bool TFM_LAN::checkAddressFree() {
    if (!addressChanged() || !ovnet::addressProbe(this, ED_IpAddr->text()))
        return true;
    refuse(QStringLiteral("Reject: The IP already has been used."));
    refreshLan();
    ED_IpAddr->setFocus();
    return false;
}

bool TFM_LAN::checkStaticPool() {
    if (!addressChanged())
        return true;
    // A walk that outlasted an earlier wait is still filling the list: a
    // second one would add every row again.
    if (!staticListBinding_->IsBusy())
        staticListBinding_->Refresh();
    {
        // The wait gives the asynchronous walk time to fill the list.
        TFM_Waiting waiting(device_, this);
        waiting.Label2->setText(QStringLiteral("Please wait..."));
        waiting.Label3->setText(QStringLiteral("Judge the IP whether can be used."));
        waiting.countdown = 12;
        waiting.restartCommand = false;
        waiting.exec();
    }
    if (!ovrules::rowOfAddress(ovkit::listColumn(*Static_ListView, ovrules::kStaticPoolIp),
                               ED_IpAddr->text().toStdString()))
        return true;
    refuse(QStringLiteral("Reject: The IP conflicts with Static DHCP Server IP"));
    refreshLan();
    return false;
}

void TFM_LAN::sendStatic() {
    // From DHCP the device takes its new address only with a restart.
    if (modeAtOpen_ == kDynamicItem)
        ED_Restart->setCurrentIndex(1); // "reboot"
    OvSNMPVarList& list = lanBinding_->request.varList;
    for (int position : {kIPAddress, kSubnetMask, kDefaultGateway})
        list.SetInvalid(position, false);
    if (!applyLan()) {
        StatusBar->setSimpleText(QStringLiteral("Set Error!"));
        return;
    }
    StatusBar->setSimpleText(QStringLiteral("Set Success!"));
    TFM_Waiting waiting(device_, this);
    if (modeAtOpen_ == kDynamicItem) {
        waiting.Label2->setText(QStringLiteral("The device is restarting."));
    } else {
        waiting.countdown = 5;
    }
    waiting.Label3->setText(kSystemIpWillBe + ED_IpAddr->text());
    waiting.restartCommand = true;
    waiting.exec();
}

void TFM_LAN::applyDynamic() {
    if (ov::messageBox(this, ovkit::kWarning, QStringLiteral("Device will reboot,continue?"),
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    // Only the mode and the restart value go out.
    OvSNMPVarList& list = lanBinding_->request.varList;
    for (int position : {kIPAddress, kSubnetMask, kDefaultGateway})
        list.SetInvalid(position, true);
    if (!applyLan())
        return;
    StatusBar->setSimpleText(QStringLiteral("Set Success!"));
    TFM_Waiting waiting(device_, this);
    waiting.exec();
}

#include "moc_TFM_LAN.cpp"
