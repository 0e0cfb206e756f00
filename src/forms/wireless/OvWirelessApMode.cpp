#include "OvWirelessApMode.h"

#include "DeviceMib.h"
#include "OvDialogs.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvListView.h"
#include "OvUserChange.h"
#include "OvWindowBindings.h"
#include "OvWirelessRules.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace ovkit;
using namespace ovrules;

namespace {

// The survey table walks slowly on the device: 100 s.
constexpr int kSurveyTimeout = 10000;
constexpr int kIndexColumn = 0, kBssidColumn = 4, kSsidColumn = 6;
constexpr int kSurveyHeight = 110;

const QString kPlaceholder = QString::fromLatin1(kPeerPlaceholder);
const QStringList kApModeChoices = {"Access Point", "WDS with AP", "WDS"};

QString bandName(int b) {
    return b == kBandA ? QStringLiteral("IEEE802.11a") : QStringLiteral("IEEE802.11g");
}

} // namespace

OvWirelessApMode::OvWirelessApMode(QWidget* window, std::function<void(int)> showPage)
    : window_(window), showPage_(std::move(showPage)) {}

OvWirelessApMode::~OvWirelessApMode() {
    destroyLists();
}

void OvWirelessApMode::destroyLists() {
    for (Band& bd : bands_) {
        if (bd.surveyList)
            bd.surveyList->request.active = 0; // a walk stops after its current row
        bd.surveyList.reset();
        bd.triggerList.reset();
        bd.apModeList.reset();
    }
}

// ---- Controls

void OvWirelessApMode::buildControls(int b, QWidget* page, QVBoxLayout* layout) {
    Band& bd = band(b);
    bd.apModeChoice =
        ovkit::control<QComboBox>(page, bandControlName("ED_APModeTempComboBox", b, "", "g"));
    bd.apModeLabel =
        ovkit::label(page, bandControlName("La_APMode", b, "a", "g"), "AP Mode", bd.apModeChoice);
    bd.apMode = ovkit::control<QComboBox>(page, bandControlName("ED_APModeComboBox", b, "", "g"));
    neverVisible(bd.apMode);
    auto* row = new QHBoxLayout;
    row->addWidget(bd.apModeLabel);
    row->addWidget(bd.apModeChoice, 1);
    layout->addLayout(row);
    buildWdsGroup(b, page, layout);
    buildRepeaterGroup(b, page, layout);
    buildSurveyGroup(b, page, layout);
}

void OvWirelessApMode::buildWdsGroup(int b, QWidget* page, QVBoxLayout* layout) {
    Band& bd = band(b);
    bd.wdsGroup = ovkit::control<QGroupBox>(page, b == kBandA ? "GroupBox1" : "MACGroup_g");
    bd.wdsGroup->setTitle(" WDS with AP ");
    auto* grid = new QGridLayout(bd.wdsGroup);
    bd.remoteLabel = ovkit::label(bd.wdsGroup, bandControlName("La_RemoteAP", b, "a", "g"),
                                  "Remote AP MAC Address");
    grid->addWidget(bd.remoteLabel, 0, 0, 1, 2);
    for (int i = 0; i < 8; ++i) {
        bd.remote[i] = ovkit::control<QLineEdit>(
            bd.wdsGroup, bandControlName("Ed_ReMAddr", b, "a", "g") + QString::number(i));
        bd.remote[i]->setAccessibleName("Remote AP MAC Address " + QString::number(i + 1));
        grid->addWidget(bd.remote[i], 1 + i / 2, i % 2); // two per row: 0 1, 2 3 ...
    }
    layout->addWidget(bd.wdsGroup);
}

void OvWirelessApMode::buildRepeaterGroup(int b, QWidget* page, QVBoxLayout* layout) {
    Band& bd = band(b);
    bd.repeaterGroup =
        ovkit::control<QGroupBox>(page, b == kBandA ? "GroupBox2" : "Repea_Client_Group_g");
    bd.repeaterGroup->setTitle(" AP Repeater  ");
    QWidget* g = bd.repeaterGroup;
    bd.root = ovkit::control<QLineEdit>(g, bandControlName("Ed_RoMAddr", b, "a0", "g0"));
    bd.rootLabel = ovkit::label(g, bandControlName("La_RootAP", b, "a", "g"),
                                "Root AP MAC Address  ", bd.root);
    bd.clientSsid = ovkit::control<QLineEdit>(g, bandControlName("Ed_SSID", b, "", "_11g"));
    bd.clientSsidLabel =
        ovkit::label(g, bandControlName("La_ClientSSID", b, "a", "g"), "SSID", bd.clientSsid);
    bd.clientRoot = ovkit::control<QLineEdit>(g, bandControlName("Ed_CRoMAddr", b, "a0", "g0"));
    neverVisible(bd.clientRoot);
    auto* grid = new QGridLayout(g);
    grid->addWidget(bd.rootLabel, 0, 0);
    grid->addWidget(bd.root, 0, 1);
    grid->addWidget(bd.clientSsidLabel, 1, 0);
    grid->addWidget(bd.clientSsid, 1, 1);
    layout->addWidget(bd.repeaterGroup);
}

void OvWirelessApMode::buildSurveyGroup(int b, QWidget* page, QVBoxLayout* layout) {
    Band& bd = band(b);
    bd.surveyGroup = ovkit::control<QGroupBox>(page, b == kBandA ? "GroupBox3" : "SiteGroupBoxg");
    bd.surveyGroup->setTitle(" Site Survey ");
    bd.survey = ovkit::control<OvListView>(bd.surveyGroup,
                                           bandControlName("SiteServeyListView", b, "", "g"));
    bd.survey->setAccessibleName("Site Survey");
    bd.survey->setFixedHeight(kSurveyHeight);
    bd.scan = ovkit::button(bd.surveyGroup, bandControlName("SiteScan", b, "", "g"), "Scan");
    bd.trigger =
        ovkit::control<QComboBox>(bd.surveyGroup, bandControlName("SiteScanComboBox", b, "", "g"));
    neverVisible(bd.trigger);
    auto* box = new QHBoxLayout(bd.surveyGroup);
    box->addWidget(bd.survey, 1);
    box->addWidget(bd.scan, 0, Qt::AlignTop);
    layout->addWidget(bd.surveyGroup);
    ov::onSignal(bd.scan, &QPushButton::clicked, window_, [this, b] { SiteScanClick(b); });
}

// ---- Lists

void OvWirelessApMode::buildApModeList(int b) {
    Band& bd = band(b);
    bd.apModeList = newList(window_, b == kBandA ? mib::T4 : mib::T5);
    bd.apModeList->BindComboBox(0, bd.apMode);
    for (int i = 0; i < 8; ++i)
        bd.apModeList->BindEdit(i + 1, "%h", bd.remote[i]);
    // The placeholders of empty slots went out with the set: they show empty.
    bd.apModeList->AfterApply = [this, b] { emptyPlaceholders(b); };
    bd.apModeList->Refresh();
}

void OvWirelessApMode::buildTriggerList(int b) {
    Band& bd = band(b);
    bd.triggerList = newList(window_, b == kBandA ? mib::T52 : mib::T53, false);
    bd.triggerList->BindComboBox(0, bd.trigger);
    bd.triggerList->Refresh();
}

void OvWirelessApMode::buildSurveyList(int b) {
    Band& bd = band(b);
    bd.surveyList = newList(window_, b == kBandA ? mib::T54 : mib::T55, true, MVT_UMV, 1);
    bd.surveyList->request.timeout = kSurveyTimeout;
    bd.survey->setSelectHandler([this, b](int row, bool selected) { copyRow(b, row, selected); });
    bd.surveyList->BindListView(bd.survey, false);
    bd.survey->setColumnWidth(kIndexColumn, 0);
    bd.survey->setColumnHidden(kIndexColumn, true);
    bd.surveyList->AfterRefresh = [this, b] {
        ScanIdle = true;
        band(b).scan->setEnabled(true);
    };
}

// ---- Modes

int OvWirelessApMode::mode(int b) const {
    return bands_[static_cast<std::size_t>(b)].apMode->currentIndex();
}

int OvWirelessApMode::choice(int b) const {
    return bands_[static_cast<std::size_t>(b)].apModeChoice->currentIndex();
}

void OvWirelessApMode::fillApModeChoices(int b) {
    Band& bd = band(b);
    const ov::CodeChange byCode;
    bd.apModeChoice->clear();
    bd.apModeChoice->addItems(kApModeChoices);
    // A repeater or client device, or none read: the choice shows nothing.
    bd.apModeChoice->setCurrentIndex(bd.apModeChoice->findText(bd.apMode->currentText()));
}

void OvWirelessApMode::emptyPlaceholders(int b) {
    Band& bd = band(b);
    const ov::CodeChange byCode;
    for (QLineEdit* edit : bd.remote)
        if (edit->text() == kPlaceholder)
            edit->clear();
    for (QLineEdit* edit : {bd.root, bd.clientRoot})
        if (edit->text() == kPlaceholder)
            edit->clear();
}

void OvWirelessApMode::LockPeerAddresses(int b) {
    emptyPlaceholders(b);
    Band& bd = band(b);
    const int m = mode(b);
    if (m < 0)
        return;
    for (QLineEdit* edit : bd.remote)
        setEditable(edit, m == WdsWithAp || m == Wds);
    setEditable(bd.root, m == Repeater);
    setEditable(bd.clientRoot, m == Client);
    setEditable(bd.clientSsid, m == Client);
}

// ---- Apply checks

bool OvWirelessApMode::wdsRule(int shownBand) {
    if (mode(kBandA) == AccessPoint || mode(kBandG) == AccessPoint)
        return true;
    const QString self = bandName(shownBand), other = bandName(1 - shownBand);
    ov::messageBox(window_, "Warning",
                   "If you want to set " + self + " AP Mode to \"WDS\" or \"WDS with AP\", \n" +
                       "please modify " + other + " AP Mode to \"Access Point\".");
    return false;
}

bool OvWirelessApMode::CheckDuplicatePeers() {
    for (int b : {kBandA, kBandG}) {
        std::array<std::string, 8> addresses;
        for (int i = 0; i < 8; ++i)
            addresses[i] = band(b).remote[i]->text().toStdString();
        if (duplicatePeers(addresses)) {
            ov::messageBox(window_, "Warning",
                           QStringLiteral("Exist same MAC address in 802.%1.")
                               .arg(b == kBandA ? "11a" : "11g"));
            return false;
        }
    }
    return true;
}

bool OvWirelessApMode::refuse(int b, const QString& title, const QString& text, QLineEdit* focus) {
    showPage_(b);
    return ovkit::refuse(window_, focus, title, text, false);
}

bool OvWirelessApMode::validateWds(int b) {
    Band& bd = band(b);
    if (bd.remote[0]->text().isEmpty())
        return refuse(b, "Warning", "Please input MAC address in first blank space!", bd.remote[0]);
    {
        const ov::CodeChange byCode;
        for (QLineEdit* edit : bd.remote)
            if (edit->text().isEmpty())
                edit->setText(kPlaceholder);
    }
    for (QLineEdit* edit : bd.remote) {
        if (edit->text().size() == 12)
            continue;
        refuse(b, "Error", "The length is 12 in " + bandName(b) + " MAC address.", edit);
        LockPeerAddresses(b);
        return false;
    }
    return true;
}

bool OvWirelessApMode::ValidateApMode(int b, OvSNMPVarList* ssidList, int ssidPosition) {
    Band& bd = band(b);
    OvSNMPVarList& list = bd.apModeList->request.varList;
    const auto markPeers = [&](bool invalid) {
        for (int p = 1; p <= 8; ++p)
            list.SetInvalid(p, invalid);
    };
    markPeers(true);
    ssidList->SetInvalid(ssidPosition, true);
    switch (mode(b)) {
    case AccessPoint:
        ssidList->SetInvalid(ssidPosition, false);
        return true;
    case WdsWithAp:
    case Wds:
        if (!validateWds(b))
            return false;
        markPeers(false);
        ssidList->SetInvalid(ssidPosition, false);
        return true;
    case Repeater:
        if (bd.root->text().isEmpty())
            return refuse(b, "Error", "Please input MAC address in blank space!", bd.root);
        if (bd.root->text().size() != 12)
            return refuse(b, "Error",
                          "The length is 12 in " + bandName(b) + " Root AP MAC Address.", bd.root);
        return true;
    case Client:
        if (bd.clientSsid->text().isEmpty())
            return refuse(b, "Warning", "Please input the SSID.", bd.clientSsid);
        if (bd.clientSsid->text().startsWith(' '))
            return refuse(b, "Error", "The first character can't be blank.", bd.clientSsid);
        return true;
    default:
        return true;
    }
}

bool OvWirelessApMode::wdsChosen() const {
    for (int b : {kBandA, kBandG}) {
        const int c = choice(b);
        if (c == WdsWithAp || c == Wds)
            return true;
    }
    return false;
}

// ---- Site survey

void OvWirelessApMode::refreshSurvey(int b) {
    Band& bd = band(b);
    if (!bd.surveyList)
        return;
    ++surveyReads_;
    const auto done = [&] {
        --surveyReads_;
        bd.survey->setColumnWidth(kIndexColumn, 0);
        bd.survey->setColumnHidden(kIndexColumn, true);
    };
    try {
        bd.surveyList->Refresh();
    } catch (...) {
        // The read ended all the same: the window may scan and close again.
        ScanIdle = true;
        bd.scan->setEnabled(true);
        done();
        throw;
    }
    done();
}

void OvWirelessApMode::SiteScanClick(int b) {
    Band& bd = band(b);
    if (surveyPending() || !bd.surveyList)
        return;
    if (bd.triggerList) {
        {
            const ov::CodeChange byCode;
            bd.trigger->setCurrentIndex(1); // "refresh"
        }
        bd.triggerList->Apply(false, true);
    }
    ScanIdle = false;
    ScanCountdown = 1;
    bd.scan->setEnabled(false);
    ScanBand = b;
}

void OvWirelessApMode::Timer1Timer() {
    if (ScanCountdown < 0)
        return;
    const int was = ScanCountdown--;
    if (was == 0)
        refreshSurvey(ScanBand);
}

void OvWirelessApMode::copyRow(int b, int row, bool selected) {
    Band& bd = band(b);
    if (!selected)
        return;
    const QTableWidgetItem* bssid = bd.survey->item(row, kBssidColumn);
    const QTableWidgetItem* ssid = bd.survey->item(row, kSsidColumn);
    const ov::CodeChange byCode;
    bd.root->setText(bssid != nullptr ? bssid->text() : QString());
    bd.clientSsid->setText(ssid != nullptr ? ssid->text() : QString());
}
