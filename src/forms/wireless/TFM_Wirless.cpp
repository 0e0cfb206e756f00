#include "TFM_Wirless.h"

#include "DeviceMib.h"
#include "OvAddressChecks.h"
#include "OvDeviceContext.h"
#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "OvUserChange.h"
#include "OvWindowBindings.h"
#include "OvWirelessApMode.h"
#include "OvWirelessRules.h"
#include "OvWirelessSecurity.h"
#include "TFM_Waiting.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace ovkit;
using namespace ovrules;

namespace {

// Positions in the SSID list (T2); 802.11g's follow at +5.
constexpr int kSsidPos = 0, kBroadcastPos = 1, kChannelPos = 2, kChannelListPos = 3,
              kFrequencyPos = 4;
constexpr int kBandStride = 5;
constexpr int kWdsCountdown = 50;
// An auto scan set ends with its answer or its time-out; this bounds the wait.
constexpr int kAutoScanWaitMs = 30000;
const QString kSurveyPendingText =
    QStringLiteral("A site survey is under way: try again when it has ended.");

} // namespace

TFM_Wirless::TFM_Wirless(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    const auto showBandPage = [this](int b) { showPage(b); };
    apMode_ = std::make_unique<OvWirelessApMode>(this, showBandPage);
    security_ = std::make_unique<OvWirelessSecurity>(
        this, [this] { return shownBand(); }, showBandPage);
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_Wirless::~TFM_Wirless() {
    FormClose();
}

// ---- Creation

void TFM_Wirless::FormCreate() {
    // Each band's group ends silently at its first failure; the other is still built.
    for (int b : {kBandA, kBandG}) {
        try {
            buildGroup(b);
        } catch (...) {
        }
    }
    try {
        security_->FillKeyChoices();
        // Both bands, not only the shown one: an untouched 802.11g key must
        // keep the size it has.
        security_->followKeyLength(kBandA);
        security_->followKeyLength(kBandG);
        ShowApModeChoices();
        apMode_->LockPeerAddresses(shownBand());
        security_->SetKeyLengths();
        SetFieldLengths();
        security_->ArrangeSecurity();
        buildSsidList();
        buildSuperModeList();
        for (int b : {kBandA, kBandG})
            radio(b).dynamicChannels->setText(QString::fromLatin1(dynamicTurboChannels(b)));
        ssidList_->SetStatusTarget(StatusBar);
        ssidList_->Refresh();
        channelChoice(kBandA);
        channelChoice(kBandG);
        for (int b : {kBandA, kBandG})
            ov::setTypingLimit(radio(b).ssid, kSsidLength);
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
}

void TFM_Wirless::buildGroup(int b) {
    Radio& r = radio(b);
    r.autoScanList = newList(this, b == kBandA ? mib::T11 : mib::T12, false);
    r.autoScanList->BindComboBox(0, r.autoScan);
    r.autoScanList->OnGetDone = [this, b](OvSNMPRequest2Controls*, const OvSNMPError&) {
        autoScanArrived(b);
    };
    r.autoScanList->OnSetDone = [this, b](OvSNMPRequest2Controls*, const OvSNMPError& result) {
        autoScanSetFailed_[static_cast<std::size_t>(b)] = result.code != 0;
        autoScanSetAnswered_[static_cast<std::size_t>(b)] = true;
    };
    r.autoScanList->Refresh();
    apMode_->buildApModeList(b);
    security_->buildLists(b);
    apMode_->buildTriggerList(b);
    apMode_->buildSurveyList(b);
    if (b == kBandA)
        security_->buildGuestLists();
}

void TFM_Wirless::buildSsidList() {
    ssidList_ = newList(this, mib::T2);
    OvSNMPVarList& list = ssidList_->request.varList;
    for (int b : {kBandA, kBandG}) {
        Radio& r = radio(b);
        const int base = b * kBandStride;
        ssidList_->BindEdit(base + kSsidPos, "%s", r.ssid);
        ssidList_->BindComboBox(base + kBroadcastPos, r.broadcast);
        ssidList_->BindEdit(base + kChannelPos, "%s", r.channelValue);
        ssidList_->BindEdit(base + kChannelListPos, "%s", r.channelList);
        ssidList_->BindEdit(base + kFrequencyPos, "%s", r.frequency);
        for (int p : {kSsidPos, kBroadcastPos, kChannelPos})
            list.Item(base + p).access = ovaccess::readwrite;
        list.Item(base + kChannelListPos).access = ovaccess::readonly;
        list.Item(base + kFrequencyPos).access = ovaccess::readonly;
    }
}

void TFM_Wirless::buildSuperModeList() {
    superModeList_ = newList(this, mib::T8);
    superModeList_->BindComboBox(0, radio(kBandA).superMode);
    superModeList_->BindComboBox(1, radio(kBandG).superMode);
    superModeList_->Refresh();
}

void TFM_Wirless::FormClose() {
    for (Radio& r : radios_)
        r.autoScanList.reset();
    ssidList_.reset();
    superModeList_.reset();
    if (apMode_)
        apMode_->destroyLists();
    if (security_)
        security_->destroyLists();
}

void TFM_Wirless::showEvent(QShowEvent* event) {
    OvDialog::showEvent(event);
    if (!Timer1->isActive())
        Timer1->start();
}

bool TFM_Wirless::FormCloseQuery() {
    // A pending survey must find its window when it ends.
    if (apMode_->surveyPending())
        return false;
    Timer1->stop();
    return true;
}

void TFM_Wirless::Bt_CloseClick() {
    close();
}

// ---- Arrangement

int TFM_Wirless::shownBand() const {
    return PC_Wirless->currentIndex() == 1 ? kBandG : kBandA;
}

void TFM_Wirless::showPage(int b) {
    {
        const QSignalBlocker quiet(PC_Wirless);
        PC_Wirless->setCurrentIndex(b);
    }
    PC_WirlessChange();
}

void TFM_Wirless::PC_WirlessChange() {
    const ov::CodeChange byCode;
    apMode_->LockPeerAddresses(shownBand());
    ShowApModeChoices();
    security_->UpdateKeyEditing();
    security_->ArrangeSecurity();
}

void TFM_Wirless::channelChoice(int b) {
    Radio& r = radio(b);
    const bool turbo = r.superMode->currentIndex() == 1; // "Super Mode with Dynamic Turbo"
    const QString list = turbo ? r.dynamicChannels->text() : r.channelList->text();
    if (!FillChannelChoices(list, r.channel, r.channelValue->text())) {
        const ov::CodeChange byCode;
        r.channel->setCurrentIndex(r.channel->count() > 0 ? 0 : -1);
    }
}

void TFM_Wirless::UpdateChannelEnabling() {
    for (Radio& r : radios_)
        r.channel->setEnabled(r.autoScan->currentIndex() != 1);
}

void TFM_Wirless::ShowApModeChoices() {
    for (int b : {kBandA, kBandG})
        apMode_->fillApModeChoices(b);
    ArrangeApMode(shownBand());
}

void TFM_Wirless::ArrangeApMode(int b) {
    Radio& r = radio(b);
    OvWirelessApMode::Band& mode = apMode_->band(b);
    const int choice = apMode_->choice(b);
    if (choice < 0)
        return;
    const bool wds = choice != OvWirelessApMode::AccessPoint;
    const ov::CodeChange byCode;
    r.ssidLabel->setVisible(true);
    r.ssid->setVisible(true);
    mode.wdsGroup->setVisible(wds);
    if (wds)
        mode.wdsGroup->setTitle(choice == OvWirelessApMode::WdsWithAp ? " WDS with AP "
                                                                      : " WDS without AP ");
    mode.repeaterGroup->setVisible(false);
    mode.surveyGroup->setVisible(false);
    security_->offerAuthentications(b, wds);
    r.broadcast->setEnabled(true);
    if (wds) {
        r.autoScan->setCurrentIndex(0); // "Disable"
        r.autoScan->setEnabled(false);
        UpdateChannelEnabling();
    } else {
        UpdateChannelEnabling();
        r.autoScan->setEnabled(true);
    }
}

void TFM_Wirless::SetFieldLengths() {
    for (int b : {kBandA, kBandG}) {
        ov::setTypingLimit(radio(b).ssid, kSsidLength);
        OvWirelessApMode::Band& mode = apMode_->band(b);
        for (QLineEdit* peer : mode.remote)
            ov::setTypingLimit(peer, 12);
        ov::setTypingLimit(mode.root, 12);
        ov::setTypingLimit(mode.clientSsid, 32);
        OvWirelessSecurity::Band& security = security_->band(b);
        const std::pair<QLineEdit*, int> limits[] = {
            {security.groupKey, 7},      {security.radiusServer, 15}, {security.radiusPort, 5},
            {security.radiusSecret, 32}, {security.pskGroupKey, 7},   {security.passPhrase, 63}};
        for (const auto& [edit, octets] : limits)
            ov::setTypingLimit(edit, octets);
    }
}

void TFM_Wirless::ApModeChoiceChange(int b) {
    OvWirelessApMode::Band& mode = apMode_->band(b);
    selectText(mode.apMode, mode.apModeChoice->currentText());
    ArrangeApMode(b);
    apMode_->LockPeerAddresses(shownBand());
    security_->ArrangeSecurity();
}

// A late answer would show the device's "Enable" on a band the WDS mode has
// set to "Disable": the arrangement stands.
void TFM_Wirless::autoScanArrived(int b) {
    UpdateChannelEnabling();
    const int choice = apMode_->choice(b);
    if (choice == OvWirelessApMode::WdsWithAp || choice == OvWirelessApMode::Wds) {
        radio(b).autoScan->setCurrentIndex(0);
        radio(b).autoScan->setEnabled(false);
        UpdateChannelEnabling();
    }
}

// ---- Refresh

// A survey read lets the user act between its rows: no second operation then,
// and the user is told why nothing happens.
bool TFM_Wirless::surveyRefusesClick() {
    if (!apMode_->surveyPending())
        return false;
    StatusBar->setSimpleText(kSurveyPendingText);
    return true;
}

void TFM_Wirless::Bt_RefreshClick() {
    if (surveyRefusesClick())
        return;
    try {
        refresh();
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
}

void TFM_Wirless::refresh() {
    for (OvSNMPRequest2Edits* list : {ssidList_.get(), superModeList_.get()})
        if (list != nullptr)
            list->Refresh();
    channelChoice(kBandA);
    channelChoice(kBandG);
    refreshBand(kBandA);
    refreshBand(kBandG);
    apMode_->LockPeerAddresses(shownBand());
    security_->UpdateKeyEditing();
    {
        const ov::CodeChange byCode;
        for (int b : {kBandA, kBandG})
            security_->band(b).keyType->setCurrentIndex(0); // "HEX"
    }
    security_->followKeyLength(kBandA);
    security_->followKeyLength(kBandG);
    security_->SetKeyLengths();
    ShowApModeChoices();
    SetFieldLengths();
    security_->ArrangeSecurity();
}

void TFM_Wirless::refreshBand(int b) {
    if (radio(b).autoScanList && !radio(b).autoScanList->IsBusy())
        radio(b).autoScanList->Refresh();
    if (apMode_->band(b).apModeList)
        apMode_->band(b).apModeList->Refresh();
    security_->refreshLists(b);
    if (b == kBandA)
        security_->refreshGuestLists();
    const int mode = apMode_->mode(b);
    if (mode == OvWirelessApMode::Repeater || mode == OvWirelessApMode::Client)
        apMode_->refreshSurvey(b);
}

// ---- Apply

bool TFM_Wirless::ValidateSsid(int b) {
    QLineEdit* ssid = radio(b).ssid;
    const std::string text = utf8(ssid->text());
    if (const auto refusal = ssidRefusal(text, b)) {
        showPage(b);
        ov::messageBox(this, QString::fromStdString(refusal->title),
                       QString::fromStdString(refusal->text));
        ssid->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (ovrules::textRefusal(text, ovrules::TextCheckMode::NoQuotationMark) != nullptr) {
        showPage(b);
        ovkit::textCheck(this, ssid->text(), ovrules::TextCheckMode::NoQuotationMark);
        ssid->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}

bool TFM_Wirless::listsComplete() const {
    if (!ssidList_ || !security_->guestStateList())
        return false;
    for (int b : {kBandA, kBandG}) {
        const OvWirelessSecurity::Band& security = security_->band(b);
        if (!radios_[static_cast<std::size_t>(b)].autoScanList || !apMode_->band(b).apModeList ||
            !security.securityList || !security.enterpriseList || !security.personalList)
            return false;
    }
    return true;
}

void TFM_Wirless::Bt_ApplyClick() {
    if (surveyRefusesClick())
        return;
    try {
        apply();
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
}

void TFM_Wirless::apply() {
    // A list that could not be built at creation cannot be sent.
    if (!listsComplete()) {
        StatusBar->setSimpleText(QStringLiteral("Setting error!"));
        return;
    }
    if (!apMode_->wdsRule(shownBand()))
        return;
    for (int b : {kBandA, kBandG})
        security_->handOver(b, apMode_->mode(b));
    if (!ValidateSsid(kBandA) || !ValidateSsid(kBandG) || !apMode_->CheckDuplicatePeers())
        return;
    OvSNMPVarList* ssidVariables = &ssidList_->request.varList;
    if (!apMode_->ValidateApMode(kBandA, ssidVariables, kSsidPos) ||
        !apMode_->ValidateApMode(kBandG, ssidVariables, kBandStride + kSsidPos) ||
        !security_->ValidateSecurity() || !security_->CheckGuestKeyIndex(true, true)) {
        apMode_->LockPeerAddresses(shownBand());
        return;
    }
    security_->PrepareGuestStates(apMode_->choice(kBandA), apMode_->choice(kBandG));
    for (Radio& r : radios_) {
        const ov::CodeChange byCode;
        r.channelValue->setText(r.channel->currentText());
    }
    if (!sendAll()) {
        StatusBar->setSimpleText(QStringLiteral("Setting error!"));
        return;
    }
    TFM_Waiting waiting(device_, this);
    if (apMode_->wdsChosen())
        waiting.countdown = kWdsCountdown;
    waiting.exec();
    StatusBar->setSimpleText(QStringLiteral("Setting Success!"));
}

// One apply; an error of the module's own making counts as a failed send.
bool TFM_Wirless::send(OvSNMPRequest2Edits* binding) {
    try {
        return binding->Apply(false, true);
    } catch (...) {
        return false;
    }
}

bool TFM_Wirless::sendAll() {
    autoScanSetFailed_ = {};
    autoScanSetAnswered_ = {};
    const auto sendOne = [this](OvSNMPRequest2Edits* binding) { return send(binding); };
    return send(ssidList_.get()) && send(apMode_->band(kBandA).apModeList.get()) &&
           sendAutoScan(kBandA) && security_->ApplySecurity(kBandA, sendOne) &&
           send(apMode_->band(kBandG).apModeList.get()) && sendAutoScan(kBandG) &&
           security_->ApplySecurity(kBandG, sendOne) && send(security_->guestStateList()) &&
           autoScanSetsSucceeded();
}

// A set that sent nothing (the binding is idle at once) has no answer to wait for.
bool TFM_Wirless::sendAutoScan(int b) {
    OvSNMPRequest2Edits* list = radio(b).autoScanList.get();
    const bool sent = send(list);
    if (!list->IsBusy())
        autoScanSetAnswered_[static_cast<std::size_t>(b)] = true;
    return sent;
}

// The auto scan sets went out without waiting; the device restarts only after
// they are answered, and only when both were taken. Their own answers count:
// a read of the same list may end meanwhile.
bool TFM_Wirless::autoScanSetsSucceeded() {
    QElapsedTimer waited;
    waited.start();
    const auto pending = [this] {
        return !autoScanSetAnswered_[kBandA] || !autoScanSetAnswered_[kBandG];
    };
    while (pending() && waited.elapsed() < kAutoScanWaitMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    return !pending() && !autoScanSetFailed_[kBandA] && !autoScanSetFailed_[kBandG];
}

#include "moc_TFM_Wirless.cpp"
