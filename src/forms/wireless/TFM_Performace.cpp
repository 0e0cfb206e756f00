#include "TFM_Performace.h"

#include "DeviceMib.h"
#include "OvAddressChecks.h"
#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvNumberRules.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "OvValueText.h"
#include "OvWirelessRules.h"
#include "TFM_Waiting.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

using namespace ovkit;
using namespace ovrules;

namespace {

// Positions in the main list (T6 / T9).
enum MainPosition {
    kSuperMode,
    kFrequency,
    kChannel,
    kChannelList,
    kDataRate,
    kDataRateList,
    kBeacon,
    kDtim,
    kFragment,
    kRts,
    kPower,
    kRadioWave
};

constexpr int kSuperModeDynamicTurbo = 1, kSuperModeDisable = 2; // items
constexpr int kEnable = 1;                                       // "Enable" of the on/off lists

const char* const kSetError[] = {"IEEE802.11a Setting Error!", "IEEE802.11g Setting Error!"};

// The number fields of a page with their ranges, in the order they are checked.
using RangedField = std::pair<QLineEdit*, const ovrules::NumberField*>;
std::array<RangedField, 4> rangedFields(const TFM_Performace::Band& d) {
    return {RangedField{d.beacon, &kBeaconInterval}, RangedField{d.dtim, &kDtimPeriod},
            RangedField{d.fragment, &kFrameLength}, RangedField{d.rts, &kFrameLength}};
}

bool inRange(const QLineEdit* edit, const ovrules::NumberField& range) {
    return ovrules::numberWithin(utf8(edit->text()), range.low, range.high);
}

// An availability read answers only when it succeeded and the device has the
// variable: under SNMPv2c and v3 a missing one comes back as noSuchObject or
// noSuchInstance in a read that succeeds, and leaves the marker text.
bool readAnswered(OvSNMPRequest2Edits& list) {
    const bool ok = list.Refresh();
    return ok && list.request.varList.Item(0).value != ovtext::null;
}

} // namespace

TFM_Performace::TFM_Performace(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
    // Rows the device lacks are hidden now; the window fits what is left.
    setFixedSize(sizeHint());
}

TFM_Performace::~TFM_Performace() {
    FormClose();
}

// ---- Controls

void TFM_Performace::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Advanced \\ Performance"),
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    PC_Performace = ovkit::control<QTabWidget>(this, "PC_Performace");
    for (int b : {kBandA, kBandG}) {
        band(b).page =
            ovkit::control<QWidget>(PC_Performace, b == kBandA ? "TabSheetA" : "TabSheetG");
        PC_Performace->addTab(band(b).page, b == kBandA ? QStringLiteral("IEEE 802.11a")
                                                        : QStringLiteral("IEEE 802.11g"));
        buildPage(b);
    }
    StatusBar = ovkit::statusBar(this, "StatusBar", false);
    auto* content = new QVBoxLayout;
    content->addWidget(PC_Performace);
    // Each page has its buttons; the window has only its frame's close box.
    ovkit::layOutWindow(this, content, {}, StatusBar);
    ov::onSignal(PC_Performace, &QTabWidget::currentChanged, this,
                 [this] { PC_PerformaceChange(); });
    for (int b : {kBandA, kBandG})
        connectHandlers(b);
}

void TFM_Performace::buildPage(int b) {
    Band& d = band(b);
    QWidget* page = d.page;
    const QString s = b == kBandA ? "a" : "g";
    const auto edit = [&](const QString& name) { return ovkit::control<QLineEdit>(page, name); };
    const auto choice = [&](const QString& name) { return ovkit::control<QComboBox>(page, name); };
    d.rows = new QFormLayout;
    const auto row = [&](const QString& caption, QWidget* box) {
        d.rows->addRow(ovkit::label(page, "La_" + box->objectName(), caption, box), box);
    };

    d.frequency = edit("Ed_Freq" + s);
    d.frequency->setFrame(false);
    setEditable(d.frequency, false);
    auto* frequency = new QHBoxLayout;
    frequency->addWidget(d.frequency);
    frequency->addWidget(ovkit::label(page, "La_GHz" + s, QStringLiteral("GHz")));
    frequency->addStretch();
    d.rows->addRow(ovkit::label(page, "La_Freq" + s, QStringLiteral("Frequency"), d.frequency),
                   frequency);
    row(QStringLiteral("Channel"), d.channel = choice("CB_Chan" + s));
    row(QStringLiteral("Data Rate"), d.dataRate = choice("CB_DtRt" + s));
    row(QStringLiteral("Beacon Interval (20 - 1000)"), d.beacon = edit("Ed_BeInt" + s));
    row(QStringLiteral("DTIM (1 - 255)"), d.dtim = edit("Ed_DTIM" + s));
    row(QStringLiteral("Fragment Length (256 - 2346)"), d.fragment = edit("Ed_FragLen" + s));
    row(QStringLiteral("RTS Length (256 - 2346)"), d.rts = edit("Ed_RTS" + s));
    row(QStringLiteral("Transmit Power"), d.power = choice("CB_TranP" + s));
    row(QStringLiteral("Radio Wave"), d.radioWave = choice("CB_RadWav" + s));
    row(QStringLiteral("XR"), d.xr = choice("CB_XR" + s));
    row(QStringLiteral("Auto Channel Scan"), d.autoScan = choice("CB_AuSc" + s));
    d.rows->setRowVisible(d.autoScan, false);
    row(QStringLiteral("Short Preamble"), d.shortPreamble = choice("CboxShortPre" + s));

    d.superMode = choice("CB_SupMode" + s);
    d.channelValue = edit("Ed_Chan" + s);
    d.channelList = edit("Ed_ChList" + s);
    d.dataRateValue = edit("Ed_DtRt" + s);
    d.dataRateList = edit("Ed_DtList" + s);
    d.dynamicChannels = edit(bandControlName("DynamicEdit", b, "", "_g"));
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{d.superMode, d.channelValue, d.channelList,
                                         d.dataRateValue, d.dataRateList, d.dynamicChannels})
        neverVisible(hidden);

    d.apply = ovkit::button(page, bandControlName("Bt_Apply", b, "_a", "_g").toLatin1().constData(),
                            QStringLiteral("Apply"));
    d.refresh =
        ovkit::button(page, bandControlName("Bt_Refresh", b, "_a", "_g").toLatin1().constData(),
                      QStringLiteral("Refresh"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(d.apply);
    buttons->addWidget(d.refresh);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(d.rows);
    layout->addStretch();
    layout->addLayout(buttons);
}

void TFM_Performace::connectHandlers(int b) {
    Band& d = band(b);
    ov::onSignal(d.apply, &QPushButton::clicked, this, [this, b] { Bt_ApplyClick(b); });
    ov::onSignal(d.refresh, &QPushButton::clicked, this, [this, b] { Bt_RefreshClick(b); });
    // Each channel picked goes into the value sent at once, so a page switch,
    // which refills the choices, keeps it.
    ov::onUserChange(d.channel, this, [&d] { d.channelValue->setText(d.channel->currentText()); });
    ov::onUserChange(d.shortPreamble, this, [this] { ShortPreambleChange(); });
    for (QLineEdit* field : {d.beacon, d.dtim, d.fragment, d.rts})
        ov::setEditHandlers(field, nullptr, [this, field] { FieldExit(field); });
}

// ---- Creation

void TFM_Performace::FormCreate() {
    try {
        createBand(kBandA);
        createBand(kBandG);
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
}

void TFM_Performace::createBand(int b) {
    Band& d = band(b);
    const bool a = b == kBandA;
    d.xrList = singleList(a ? mib::T13 : mib::T14, d.xr, d.XrAvailable);
    d.rows->setRowVisible(d.xr, d.XrAvailable);
    d.autoScanList = singleList(a ? mib::T11 : mib::T12, d.autoScan, d.AutoScanAvailable);
    if (d.AutoScanAvailable)
        followAutoScan(b);
    d.shortPreambleList =
        singleList(a ? mib::T7 : mib::T10, d.shortPreamble, d.ShortPreambleAvailable);
    d.rows->setRowVisible(d.shortPreamble, d.ShortPreambleAvailable);

    d.mainList = bindings_.make<OvSNMPRequest2Edits>(this);
    d.mainList->mode = 0;
    d.mainList->request.varList.Assign(OvSNMPVarList(a ? mib::T6 : mib::T9, MVT_SV, 0));
    d.mainList->BindComboBox(kSuperMode, d.superMode);
    const std::pair<int, QLineEdit*> texts[] = {{kFrequency, d.frequency},
                                                {kChannel, d.channelValue},
                                                {kChannelList, d.channelList},
                                                {kDataRate, d.dataRateValue},
                                                {kDataRateList, d.dataRateList}};
    for (const auto& [position, edit] : texts)
        d.mainList->BindEdit(position, "%s", edit);
    const std::pair<int, QLineEdit*> numbers[] = {
        {kBeacon, d.beacon}, {kDtim, d.dtim}, {kFragment, d.fragment}, {kRts, d.rts}};
    for (const auto& [position, edit] : numbers)
        d.mainList->BindEdit(position, "%u", edit);
    d.mainList->BindComboBox(kPower, d.power);
    d.mainList->BindComboBox(kRadioWave, d.radioWave);
    d.mainList->SetStatusTarget(StatusBar);
    d.mainList->Refresh();
    FillRateChoices(d.dataRateList->text(), d.dataRate, d.dataRateValue->text());
    d.dynamicChannels->setText(QString::fromLatin1(dynamicTurboChannels(b)));
    ArrangeBandChoices(b);
}

// A list of one variable shown in one choice; `answered` tells whether its
// first read found the variable on the device.
OvSNMPRequest2Edits* TFM_Performace::singleList(const OvSNMPVarRow* table, QComboBox* comboBox,
                                                bool& answered) {
    OvSNMPRequest2Edits* list = bindings_.make<OvSNMPRequest2Edits>(this);
    list->mode = 0;
    list->request.varList.Assign(OvSNMPVarList(table, MVT_SV, 0));
    list->BindComboBox(0, comboBox);
    answered = readAnswered(*list);
    return list;
}

void TFM_Performace::FormClose() {
    bindings_.release();
    for (Band& d : bands_)
        d.mainList = d.shortPreambleList = d.xrList = d.autoScanList = nullptr;
}

// ---- Choices

bool TFM_Performace::FillRateChoices(const QString& list, QComboBox* comboBox,
                                     const QString& value) {
    const bool selected = FillChannelChoices(list, comboBox, value);
    const ov::CodeChange byCode;
    for (int i = 0; i < comboBox->count(); ++i)
        if (comboBox->itemText(i) != QLatin1String("Auto"))
            comboBox->setItemText(i, comboBox->itemText(i) + QStringLiteral(" Mb"));
    return selected;
}

void TFM_Performace::TrimRateUnit(QComboBox* comboBox, QLineEdit* value) {
    const QString text = comboBox->currentText();
    const ov::CodeChange byCode;
    value->setText(text.size() > 3 && text.endsWith(QLatin1String("Mb")) ? text.chopped(3) : text);
}

void TFM_Performace::ArrangeBandChoices(int b) {
    Band& d = band(b);
    const int superMode = d.superMode->currentIndex();
    const ov::CodeChange byCode;
    if (superMode == kSuperModeDisable) {
        d.dataRate->setEnabled(true);
        FillRateChoices(d.dataRateList->text(), d.dataRate, d.dataRateValue->text());
    } else {
        d.dataRate->setCurrentIndex(d.dataRate->count() > 0 ? 0 : -1);
        d.dataRate->setEnabled(false);
    }
    const QString channels =
        superMode == kSuperModeDynamicTurbo ? d.dynamicChannels->text() : d.channelList->text();
    if (!FillChannelChoices(channels, d.channel, d.channelValue->text()))
        d.channel->setCurrentIndex(d.channel->count() > 0 ? 0 : -1);
    const std::pair<QLineEdit*, int> limits[] = {
        {d.beacon, 4}, {d.dtim, 3}, {d.fragment, 4}, {d.rts, 4}};
    for (const auto& [edit, octets] : limits)
        ov::setTypingLimit(edit, octets);
}

void TFM_Performace::PC_PerformaceChange() {
    ArrangeBandChoices(kBandA);
    ArrangeBandChoices(kBandG);
}

// The channel cannot be chosen while the device scans for one.
void TFM_Performace::followAutoScan(int b) {
    band(b).channel->setEnabled(band(b).autoScan->currentIndex() != kEnable);
}

// Either band's short preamble follows the 802.11a scan, as the device's own
// manager did.
void TFM_Performace::ShortPreambleChange() {
    followAutoScan(kBandA);
}

// ---- Refresh

void TFM_Performace::Bt_RefreshClick(int b) {
    try {
        refresh(b);
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
}

void TFM_Performace::refresh(int b) {
    Band& d = band(b);
    if (d.mainList == nullptr)
        return;
    d.mainList->Refresh();
    d.shortPreambleList->Refresh();
    FillRateChoices(d.dataRateList->text(), d.dataRate, d.dataRateValue->text());
    ArrangeBandChoices(b);
    d.autoScanList->Refresh();
    followAutoScan(b);
}

// ---- Apply

void TFM_Performace::Bt_ApplyClick(int b) {
    Band& d = band(b);
    if (d.mainList == nullptr || !checkFields(b))
        return;
    TrimRateUnit(d.channel, d.channelValue);
    TrimRateUnit(d.dataRate, d.dataRateValue);
    if (!sendAll(b)) {
        StatusBar->setSimpleText(QString::fromLatin1(kSetError[b]));
        return;
    }
    TFM_Waiting waiting(device_, this);
    waiting.exec();
}

bool TFM_Performace::checkFields(int b) {
    for (const auto& [edit, range] : rangedFields(band(b))) {
        if (const char* refusal = numberRefusal(utf8(edit->text()), *range))
            return ovkit::refuse(this, edit, QStringLiteral("Error"), QString::fromLatin1(refusal),
                                 true);
    }
    return true;
}

// Runs once the box's "%u" constraint has passed a text that is not empty.
void TFM_Performace::FieldExit(QLineEdit* edit) {
    for (const Band& d : bands_) {
        for (const auto& [field, range] : rangedFields(d)) {
            if (field == edit && !inRange(edit, *range)) {
                ovkit::refuse(this, edit, QStringLiteral("Warning"),
                              QString::fromLatin1(range->refusal), edit == d.rts);
                return;
            }
        }
    }
}

// In order, stopping at the first failure. The short preamble and XR lists go
// only to a device that answered for them when the window opened: a hidden
// choice holds no value, and sending it would write 0.
bool TFM_Performace::sendAll(int b) {
    Band& d = band(b);
    // An error of the module's own making counts as a failed send.
    const auto send = [](OvSNMPRequest2Edits* list) {
        try {
            return list->Apply(false, true);
        } catch (...) {
            return false;
        }
    };
    return send(d.mainList) && (!d.ShortPreambleAvailable || send(d.shortPreambleList)) &&
           (!d.XrAvailable || send(d.xrList)) && (!d.AutoScanAvailable || send(d.autoScanList));
}

#include "moc_TFM_Performace.cpp"
