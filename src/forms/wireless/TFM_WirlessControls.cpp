// The wireless window's controls: a page per band with its radio settings,
// the AP mode and security parts' controls, the buttons and the status bar,
// built as the design lays them out, with their handlers.
#include "TFM_Wirless.h"

#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "OvUserChange.h"
#include "OvWirelessApMode.h"
#include "OvWirelessRules.h"
#include "OvWirelessSecurity.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace ovkit;
using namespace ovrules;

namespace {

constexpr int kTimer1Interval = 1000;

} // namespace

// ---- Controls

void TFM_Wirless::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Home \\ Wireless"),
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    PC_Wirless = ovkit::control<QTabWidget>(this, "PC_Wirless");
    TS_11a = ovkit::control<QWidget>(PC_Wirless, "TS_11a");
    TS_11g = ovkit::control<QWidget>(PC_Wirless, "TS_11g");
    PC_Wirless->addTab(TS_11a, QStringLiteral("IEEE 802.11a"));
    PC_Wirless->addTab(TS_11g, QStringLiteral("IEEE 802.11g"));
    buildPage(kBandA, TS_11a);
    buildPage(kBandG, TS_11g);
    Bt_Apply = ovkit::button(this, "Bt_Apply", QStringLiteral("Apply"));
    Bt_Refresh = ovkit::button(this, "Bt_Refresh", QStringLiteral("Refresh"));
    Bt_Close = ovkit::button(this, "Bt_Close", QStringLiteral("Close"));
    StatusBar = ovkit::statusBar(this, "StatusBar", false);
    Timer1 = ovkit::control<QTimer>(this, "Timer1");
    Timer1->setInterval(ov::scaledInterval(kTimer1Interval));
    security_->buildGuestControls(this);
    security_->shareRadiusSettings();
    auto* content = new QVBoxLayout;
    content->addWidget(PC_Wirless);
    ovkit::layOutWindow(this, content, {Bt_Apply, Bt_Refresh, Bt_Close}, StatusBar);
    // Sized for the tallest arrangement (every group shown); the pages keep
    // their controls at the top when groups hide.
    setFixedSize(sizeHint());
    connectHandlers();
}

void TFM_Wirless::buildPage(int b, QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    buildRadio(b, page, layout);
    apMode_->buildControls(b, page, layout);
    security_->buildControls(b, page, layout);
    layout->addStretch(1);
}

void TFM_Wirless::buildRadio(int b, QWidget* page, QVBoxLayout* layout) {
    Radio& r = radio(b);
    const QString s = b == kBandA ? "a" : "g";
    r.frequency = ovkit::control<QLineEdit>(page, "Ed_RaFreq" + s);
    r.frequency->setFrame(false);
    setEditable(r.frequency, false);
    r.frequencyLabel =
        ovkit::label(page, "La_RaFreq" + s, QStringLiteral("Radio Frequency "), r.frequency);
    r.ghzLabel = ovkit::label(page, "La_GHz" + s, QStringLiteral("GHz"));
    r.ssid = ovkit::control<QLineEdit>(page, "Ed_SSID" + s);
    ov::setTypingLimit(r.ssid, kSsidLength);
    r.ssidLabel = ovkit::label(page, "La_SSID" + s, QStringLiteral("SSID"), r.ssid);
    r.broadcast = ovkit::control<QComboBox>(page, "CB_SSIDBcast" + s);
    r.broadcastLabel =
        ovkit::label(page, "La_SSIDBcast" + s, QStringLiteral("SSID Broadcast "), r.broadcast);
    r.channel = ovkit::control<QComboBox>(page, "CB_Chan" + s);
    r.channelLabel = ovkit::label(page, "La_Chan" + s, QStringLiteral("Channel"), r.channel);
    r.autoScan = ovkit::control<QComboBox>(page, bandControlName("CB_AuSc", b, "", "g"));
    r.autoScanLabel =
        ovkit::label(page, "La_AuSc" + s, QStringLiteral("Auto Channel Scan"), r.autoScan);
    r.channelValue = ovkit::control<QLineEdit>(page, "Ed_Chan" + s);
    r.channelList = ovkit::control<QLineEdit>(page, "Ed_ChanList" + s);
    r.dynamicChannels = ovkit::control<QLineEdit>(page, "Ed_DynChList" + s);
    r.superMode = ovkit::control<QComboBox>(page, bandControlName("AD_SuperMode", b, "", "g"));
    for (QWidget* hidden : std::initializer_list<QWidget*>{r.channelValue, r.channelList,
                                                           r.dynamicChannels, r.superMode})
        neverVisible(hidden);

    auto* grid = new QGridLayout;
    grid->addWidget(r.frequencyLabel, 0, 0);
    auto* frequency = new QHBoxLayout;
    frequency->addWidget(r.frequency);
    frequency->addWidget(r.ghzLabel);
    frequency->addStretch();
    grid->addLayout(frequency, 0, 1);
    grid->addWidget(r.ssidLabel, 1, 0);
    grid->addWidget(r.ssid, 1, 1);
    grid->addWidget(r.broadcastLabel, 1, 2);
    grid->addWidget(r.broadcast, 1, 3);
    grid->addWidget(r.channelLabel, 2, 0);
    grid->addWidget(r.channel, 2, 1);
    grid->addWidget(r.autoScanLabel, 2, 2);
    grid->addWidget(r.autoScan, 2, 3);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
}

void TFM_Wirless::connectHandlers() {
    ov::onSignal(Bt_Apply, &QPushButton::clicked, this, [this] { Bt_ApplyClick(); });
    ov::onSignal(Bt_Refresh, &QPushButton::clicked, this, [this] { Bt_RefreshClick(); });
    ov::onSignal(Bt_Close, &QPushButton::clicked, this, [this] { Bt_CloseClick(); });
    ov::onSignal(PC_Wirless, &QTabWidget::currentChanged, this, [this] { PC_WirlessChange(); });
    ov::onSignal(Timer1, &QTimer::timeout, this, [this] { apMode_->Timer1Timer(); });
    for (int b : {kBandA, kBandG}) {
        ov::onUserChange(radio(b).autoScan, this, [this] { UpdateChannelEnabling(); });
        ov::onUserChange(apMode_->band(b).apModeChoice, this, [this, b] { ApModeChoiceChange(b); });
    }
}
