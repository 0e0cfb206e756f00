#include "TFM_Filters.h"

#include "DeviceMib.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvReportedOperation.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "TFM_MACTable.h"
#include "TFM_Waiting.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using ovkit::button;
using ovkit::control;
using ovkit::label;

namespace {

constexpr int kBands = 2;
// T17 positions of a band's controls; 802.11g's follow at +4.
constexpr int kAccessControl = 0, kInternalStations = 1, kEthernetToWlan = 2, kBetweenBands = 3;
constexpr int kBandStride = 4;

const char* suffix(int b) {
    return b == 0 ? "a" : "g";
}

// A control of a band's tab: the design's name ends in the band's letter.
template <typename T> T* bandControl(QWidget* parent, const char* stem, int b) {
    return control<T>(parent, (QByteArray(stem) + suffix(b)).constData());
}

QGroupBox* group(QWidget* parent, const char* stem, int b, const QString& title) {
    auto* box = bandControl<QGroupBox>(parent, stem, b);
    box->setTitle(title);
    return box;
}

} // namespace

TFM_Filters::TFM_Filters(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_Filters::~TFM_Filters() {
    FormClose();
}

// ---- Controls

void TFM_Filters::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Advanced \\ Filters"));
    PageControl1 = control<QTabWidget>(this, "PageControl1");
    for (int b = 0; b < kBands; ++b)
        buildTab(b);
    Bt_Apply = button(this, "Bt_Apply", QStringLiteral("Apply"));
    Bt_Refresh = button(this, "Bt_Refresh", QStringLiteral("Refresh"));
    Bt_Close = button(this, "Bt_Close", QStringLiteral("Close"));
    StatusBar = ovkit::statusBar(this, "StatusBar", false);
    auto* content = new QVBoxLayout;
    content->addWidget(PageControl1);
    ovkit::layOutWindow(this, content, {Bt_Apply, Bt_Refresh, Bt_Close}, StatusBar);
    setFixedSize(sizeHint());
    connectHandlers();
}

void TFM_Filters::buildTab(int b) {
    Band& d = band(b);
    d.tab = bandControl<QWidget>(PageControl1, "TS_80211", b);
    PageControl1->addTab(d.tab,
                         b == 0 ? QStringLiteral("IEEE 802.11a") : QStringLiteral("IEEE 802.11g"));
    QWidget* tab = d.tab;

    QGroupBox* access = group(tab, "GB_Access", b, QStringLiteral("Wireless Access Setting:"));
    d.accessControl = bandControl<QComboBox>(access, "CB_AC", b);
    d.accessControlList = button(access, (QByteArray("Bt_MacTab") + suffix(b)).constData(),
                                 QStringLiteral("Access Control List"));
    auto* accessRows = new QGridLayout(access);
    accessRows->addWidget(label(access, (QByteArray("LA_AC") + suffix(b)).constData(),
                                QStringLiteral("Access Control"), d.accessControl),
                          0, 0);
    accessRows->addWidget(d.accessControl, 0, 1);
    accessRows->addWidget(d.accessControlList, 1, 1);

    QGroupBox* partition = group(tab, "GB_Partition", b, QStringLiteral("WLAN Partition:"));
    d.internalStations = bandControl<QComboBox>(partition, "CB_InSC", b);
    d.ethernetToWlan = bandControl<QComboBox>(partition, "CB_E2WA", b);
    d.betweenBands = bandControl<QComboBox>(partition, "CB_InSCB", b);
    const std::pair<const char*, QComboBox*> rows[] = {
        {"Internal Station Connection ", d.internalStations},
        {"Ethernet to WLAN Access", d.ethernetToWlan},
        {"Internal Station Connection Between \n802.11a and 802.11g", d.betweenBands}};
    auto* partitionRows = new QGridLayout(partition);
    for (int row = 0; row < 3; ++row) {
        QComboBox* box = rows[row].second;
        const QByteArray labelName = "LA_" + box->objectName().mid(3).toLatin1();
        partitionRows->addWidget(
            label(partition, labelName.constData(), QString::fromLatin1(rows[row].first), box), row,
            0);
        partitionRows->addWidget(box, row, 1);
    }
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(access);
    layout->addWidget(partition);
    layout->addStretch();
}

void TFM_Filters::connectHandlers() {
    ov::onSignal(Bt_Apply, &QPushButton::clicked, this, [this] { Bt_ApplyClick(); });
    ov::onSignal(Bt_Refresh, &QPushButton::clicked, this, [this] { Bt_RefreshClick(); });
    ov::onSignal(Bt_Close, &QPushButton::clicked, this, [this] { Bt_CloseClick(); });
    for (int b = 0; b < kBands; ++b) {
        ov::onSignal(band(b).accessControlList, &QPushButton::clicked, this,
                     [this, b] { Bt_MacTabClick(b); });
        ov::onUserChange(band(b).accessControl, this, [this] { ListButtonRule(); });
        ov::onUserChange(band(b).betweenBands, this, [this, b] { mirrorBetweenBands(b); });
    }
}

// ---- Creation

// Only the rows bound are read and written: every T17 row starts invalid.
void TFM_Filters::FormCreate() {
    try {
        filterBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
        filterBinding_->mode = 0;
        OvSNMPVarList& list = filterBinding_->request.varList;
        list.Assign(OvSNMPVarList(mib::T17, MVT_SV, 0));
        for (int b = 0; b < kBands; ++b) {
            Band& d = band(b);
            const int base = b * kBandStride;
            const std::pair<int, QComboBox*> bound[] = {{kAccessControl, d.accessControl},
                                                        {kInternalStations, d.internalStations},
                                                        {kEthernetToWlan, d.ethernetToWlan},
                                                        {kBetweenBands, d.betweenBands}};
            for (const auto& [position, comboBox] : bound) {
                filterBinding_->BindComboBox(base + position, comboBox);
                list.Item(base + position).access = ovaccess::readwrite;
            }
        }
        filterBinding_->SetStatusTarget(StatusBar);
        if (ov::refreshReported(*filterBinding_))
            ListButtonRule();
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
}

void TFM_Filters::FormClose() {
    bindings_.release();
    filterBinding_ = nullptr;
}

// ---- Rules

void TFM_Filters::ListButtonRule() {
    for (Band& d : bands_)
        d.accessControlList->setEnabled(d.accessControl->currentIndex() != 0);
}

// One device setting shown on both tabs.
void TFM_Filters::mirrorBetweenBands(int from) {
    band(1 - from).betweenBands->setCurrentIndex(band(from).betweenBands->currentIndex());
}

// ---- Buttons

void TFM_Filters::Bt_ApplyClick() {
    if (filterBinding_ == nullptr)
        return;
    try {
        if (!filterBinding_->Apply(false, true)) {
            StatusBar->setSimpleText(QStringLiteral("Setting Error!"));
            return;
        }
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
        return;
    }
    TFM_Waiting waiting(device_, this);
    waiting.exec();
}

// A refresh runs no change handler: the list buttons follow it here.
void TFM_Filters::Bt_RefreshClick() {
    if (filterBinding_ == nullptr)
        return;
    try {
        ov::refreshReported(*filterBinding_);
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
    ListButtonRule();
}

void TFM_Filters::Bt_CloseClick() {
    close();
}

void TFM_Filters::Bt_MacTabClick(int b) {
    TFM_MACTable table(b, this);
    table.exec();
}

#include "moc_TFM_Filters.cpp"
