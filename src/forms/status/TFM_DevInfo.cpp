#include "TFM_DevInfo.h"

#include "DeviceMib.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using ovkit::button;
using ovkit::control;

TFM_DevInfo::TFM_DevInfo(QWidget* owner) : OvDialog(owner) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_DevInfo::~TFM_DevInfo() {
    FormClose();
}

QLineEdit* TFM_DevInfo::field(QGridLayout* grid, QLabel*& label, const char* labelName,
                              const QString& text, const char* boxName) {
    QWidget* parent = grid->parentWidget();
    QLineEdit* box = ovkit::valueBox(parent, boxName);
    box->setMinimumWidth(150);
    label = ovkit::label(parent, labelName, text, box);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

QWidget* TFM_DevInfo::bandPage(const char* name) {
    auto* page = control<QWidget>(PC_WirlessTraffic, name);
    new QGridLayout(page);
    return page;
}

QGroupBox* TFM_DevInfo::group(const char* name, const QString& title) {
    auto* box = control<QGroupBox>(this, name);
    box->setTitle(title);
    new QGridLayout(box);
    return box;
}

void TFM_DevInfo::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Status \\ Device Info"),
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    PC_WirlessTraffic = control<QTabWidget>(this, "PC_WirlessTraffic");

    TabSheetA = bandPage("TabSheetA");
    auto* a = static_cast<QGridLayout*>(TabSheetA->layout());
    Ed_SSIDa = field(a, Label1, "Label1", QStringLiteral("SSID"), "Ed_SSIDa");
    Ed_Channela = field(a, Label2, "Label2", QStringLiteral("Channel"), "Ed_Channela");
    Ed_DatRata = field(a, Label4, "Label4", QStringLiteral("Data Rate"), "Ed_DatRata");
    Ed_SecLevAutha = field(a, Label5, "Label5", QStringLiteral("Authentication"), "Ed_SecLevAutha");
    Bt_Refa = button(TabSheetA, "Bt_Refa", QStringLiteral("Refresh"));
    a->addWidget(Bt_Refa, a->rowCount(), 1, Qt::AlignRight);

    TabSheetG = bandPage("TabSheetG");
    auto* g = static_cast<QGridLayout*>(TabSheetG->layout());
    Ed_SSIDg = field(g, Label7, "Label7", QStringLiteral("SSID"), "Ed_SSIDg");
    Ed_Channelg = field(g, Label8, "Label8", QStringLiteral("Channel"), "Ed_Channelg");
    Ed_DatRatg = field(g, Label10, "Label10", QStringLiteral("Data Rate"), "Ed_DatRatg");
    Ed_SecLevAuthg =
        field(g, Label11, "Label11", QStringLiteral("Authentication"), "Ed_SecLevAuthg");
    Bt_Refg = button(TabSheetG, "Bt_Refg", QStringLiteral("Refresh"));
    g->addWidget(Bt_Refg, g->rowCount(), 1, Qt::AlignRight);

    PC_WirlessTraffic->addTab(TabSheetA, QStringLiteral("IEEE 802.11a"));
    PC_WirlessTraffic->addTab(TabSheetG, QStringLiteral("IEEE 802.11g"));

    GroupBox2 = group("GroupBox2", QStringLiteral("Device Info"));
    auto* device = static_cast<QGridLayout*>(GroupBox2->layout());
    Ed_Firmware = field(device, La_Firmware, "La_Firmware", QStringLiteral("Firmware Version:"),
                        "Ed_Firmware");
    Ed_Mac = field(device, La_Mac, "La_Mac", QStringLiteral("MAC Address:"), "Ed_Mac");

    GroupBox1 = group("GroupBox1", QStringLiteral("Ethernet "));
    auto* lan = static_cast<QGridLayout*>(GroupBox1->layout());
    Ed_GetIP = field(lan, La_GetIP, "La_GetIP", QStringLiteral("Get IP From:"), "Ed_GetIP");
    Ed_IPaddr = field(lan, La_IPaddr, "La_IPaddr", QStringLiteral("IP Address: "), "Ed_IPaddr");
    Ed_SubMask = field(lan, La_SubMask, "La_SubMask", QStringLiteral("Subnet Mask:"), "Ed_SubMask");
    Ed_Gate = field(lan, La_Gate, "La_Gate", QStringLiteral("Gateway: "), "Ed_Gate");

    StatusBar = ovkit::statusBar(this, "StatusBar", false);

    QVBoxLayout* content = ovkit::contentAboveStatusBar(this, StatusBar, 8);
    content->addWidget(GroupBox2);
    content->addWidget(GroupBox1);
    content->addWidget(PC_WirlessTraffic);
    setFixedSize(sizeHint());

    ov::onSignal(Bt_Refa, &QPushButton::clicked, this, [this] { Bt_RefaClick(); });
    ov::onSignal(Bt_Refg, &QPushButton::clicked, this, [this] { Bt_RefgClick(); });
}

// Every binding is made before the first read, so that a read stopped by an
// error leaves no button without its binding; the reads go out in the same
// order as ever: 802.11a, 802.11g (answered later), device and LAN.
void TFM_DevInfo::FormCreate() {
    try {
        bandA_ = ovkit::valueBinding(bindings_, this, mib::T35, MVT_SV, 0,
                                     {Ed_SSIDa, Ed_Channela, Ed_DatRata, Ed_SecLevAutha});
        bandA_->SetStatusTarget(StatusBar);
        bandG_ = ovkit::valueBinding(bindings_, this, mib::T36, MVT_SV, 1,
                                     {Ed_SSIDg, Ed_Channelg, Ed_DatRatg, Ed_SecLevAuthg});
        bandG_->SetStatusTarget(StatusBar);
        deviceLan_ =
            ovkit::valueBinding(bindings_, this, mib::T34, SVT_SV, 0,
                                {Ed_Firmware, Ed_Mac, Ed_GetIP, Ed_IPaddr, Ed_SubMask, Ed_Gate});
        bandA_->Refresh();
        bandG_->Refresh();
        deviceLan_->Refresh();
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
}

// An error of the module's own making (an address that names no device)
// shows in the status bar, as at creation.
void TFM_DevInfo::refresh(OvSNMPRequest2Edits* binding) {
    if (binding == nullptr)
        return;
    try {
        binding->Refresh();
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
}

void TFM_DevInfo::Bt_RefaClick() {
    refresh(bandA_);
}

void TFM_DevInfo::Bt_RefgClick() {
    refresh(bandG_);
}

// The 802.11g read may still be on its way: the bindings go before the boxes.
void TFM_DevInfo::FormClose() {
    bindings_.release();
    bandA_ = bandG_ = deviceLan_ = nullptr;
}

#include "moc_TFM_DevInfo.cpp"
