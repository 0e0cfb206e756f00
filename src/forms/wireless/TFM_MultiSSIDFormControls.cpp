// The multi-SSID window's controls: a page per band with its primary SSID and
// its guest SSIDs, built as the design lays them out, with their handlers.
#include "TFM_MultiSSIDForm.h"

#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "OvWirelessRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace ovkit;
using namespace ovrules;

namespace {

// The design's names: 802.11g's end in "_g".
QString suffixed(const QString& stem, int b) {
    return b == kBandA ? stem : stem + QStringLiteral("_g");
}

// A label and its box at a place of the grid.
void addPair(QGridLayout* grid, int row, int column, QLabel* caption, QWidget* box) {
    grid->addWidget(caption, row, column);
    grid->addWidget(box, row, column + 1);
}
} // namespace

// ---- Controls

void TFM_MultiSSIDForm::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Advanced \\ Multi-SSID"));
    PageControl1 = ovkit::control<QTabWidget>(this, "PageControl1");
    for (int b : {kBandA, kBandG})
        buildTab(b);
    Bt_Refresh = ovkit::button(this, "Bt_Refresh", QStringLiteral("Refresh"));
    Bt_Apply = ovkit::button(this, "Bt_Apply", QStringLiteral("Apply"));
    Bt_Close = ovkit::button(this, "Bt_Close", QStringLiteral("Close"));
    StatusBar1 = ovkit::statusBar(this, "StatusBar1", true);
    auto* content = new QVBoxLayout;
    content->addWidget(PageControl1);
    ovkit::layOutWindow(this, content, {Bt_Refresh, Bt_Apply, Bt_Close}, StatusBar1);
    setFixedSize(sizeHint());
    ov::onSignal(Bt_Refresh, &QPushButton::clicked, this, [this] { Bt_RefreshClick(); });
    ov::onSignal(Bt_Apply, &QPushButton::clicked, this, [this] { Bt_ApplyClick(); });
    ov::onSignal(Bt_Close, &QPushButton::clicked, this, [this] { Bt_CloseClick(); });
    for (int b : {kBandA, kBandG})
        connectHandlers(b);
}

void TFM_MultiSSIDForm::buildTab(int b) {
    Band& d = band(b);
    d.tab = ovkit::control<QWidget>(PageControl1, b == kBandA ? "TabSheet11a" : "TabSheet11g");
    PageControl1->addTab(d.tab, b == kBandA ? QStringLiteral("IEEE 802.11a")
                                            : QStringLiteral("IEEE 802.11g"));
    auto* grid = new QGridLayout;
    buildMaster(b, d.tab, grid);
    for (int n = 1; n <= kGuests; ++n)
        buildGuest(b, n, d.tab, grid);
    auto* layout = new QVBoxLayout(d.tab);
    layout->addLayout(grid);
    layout->addStretch();
}

void TFM_MultiSSIDForm::buildMaster(int b, QWidget* tab, QGridLayout* grid) {
    Band& d = band(b);
    d.vlanState = ovkit::control<QCheckBox>(tab, suffixed("VLan_State", b));
    d.vlanState->setText(QStringLiteral("Enable VLAN State "));
    d.masterSsid = ovkit::control<QLineEdit>(tab, suffixed("MasterSSIDEdit", b));
    d.security = ovkit::control<QComboBox>(tab, suffixed("SecurityBox", b));
    d.masterKey = ovkit::control<QComboBox>(tab, suffixed("DefaultKey", b));
    d.vlanId = ovkit::control<QLineEdit>(tab, suffixed("GroupIDBox", b));
    for (QWidget* shownOnly :
         std::initializer_list<QWidget*>{d.masterSsid, d.security, d.masterKey})
        shownOnly->setEnabled(false);
    d.encryption = ovkit::control<QComboBox>(tab, suffixed("Encryption_ComboBox", b));
    d.apMode = ovkit::control<QComboBox>(tab, suffixed("AP_ModeComboBox", b));
    d.superMode = ovkit::control<QComboBox>(tab, suffixed("Supermode_ComboBox", b));
    for (QWidget* hidden : std::initializer_list<QWidget*>{d.encryption, d.apMode, d.superMode})
        neverVisible(hidden);

    grid->addWidget(d.vlanState, 0, 0, 1, 6);
    const auto caption = [&](const char* stem, const QString& words, QWidget* box) {
        return ovkit::label(tab, suffixed(stem, b), words, box);
    };
    addPair(grid, 1, 0, caption("La_MasterSSID", QStringLiteral("Master SSID"), d.masterSsid),
            d.masterSsid);
    addPair(grid, 1, 2, caption("La_Security", QStringLiteral("Security "), d.security),
            d.security);
    addPair(grid, 2, 0, caption("La_DefaultKey", QStringLiteral("Master Key"), d.masterKey),
            d.masterKey);
    addPair(grid, 2, 2, caption("La_GroupID", QStringLiteral("VLAN Group ID"), d.vlanId), d.vlanId);
}

void TFM_MultiSSIDForm::buildGuest(int b, int n, QWidget* tab, QGridLayout* grid) {
    Guest& g = guest(b, n);
    const QString number = QString::number(n);
    const auto name = [&](const char* stem) { return suffixed(stem + number, b); };
    g.enable = ovkit::control<QCheckBox>(tab, suffixed("Guest" + number + "CheckBox", b));
    g.enable->setText("Enable Guest SSID" + number + (n == 1 ? "" : " "));
    g.ssid = ovkit::control<QLineEdit>(tab, name("GuestSSIDEdit"));
    g.security = ovkit::control<QComboBox>(tab, name("GuestSecurity"));
    g.keyIndex = ovkit::control<QComboBox>(tab, name("GuestKey"));
    g.keyType = ovkit::control<QComboBox>(tab, name("GuestKeyType"));
    g.keySize = ovkit::control<QComboBox>(tab, name("GuestKeySize"));
    g.key = ovkit::control<QLineEdit>(tab, name("GuestKeyvalueEdit"));
    g.key->setEchoMode(QLineEdit::Password);
    g.vlanId = ovkit::control<QLineEdit>(tab, name("GuestGroupID"));

    const int row = 3 + (n - 1) * 4;
    grid->addWidget(g.enable, row, 0, 1, 6);
    const std::tuple<int, int, const char*, const char*, QWidget*> pairs[] = {
        {1, 0, "La_GuestSSID", "SSID", g.ssid},
        {1, 2, "La_GuestSecurity", "Security ", g.security},
        {1, 4, "La_GuestKey", "Key Index", g.keyIndex},
        {2, 0, "La_GuestKeyType", "Key Type", g.keyType},
        {2, 2, "La_GuestKeySize", "Key Size", g.keySize},
        {2, 4, "La_GuestKeyvalue", "Key Value", g.key},
        {3, 0, "La_GuestGroupID", "VLAN Group ID", g.vlanId}};
    for (const auto& [down, column, stem, words, box] : pairs)
        addPair(grid, row + down, column,
                ovkit::label(tab, name(stem), QString::fromLatin1(words), box), box);
}

void TFM_MultiSSIDForm::connectHandlers(int b) {
    ov::onUserChange(band(b).vlanState, this, [this, b] { VLan_StateClick(b); });
    for (int n = 1; n <= kGuests; ++n) {
        Guest& g = guest(b, n);
        ov::onUserChange(g.enable, this, [this] { EnableRules(); });
        ov::onUserChange(g.security, this, [this, b, n] { KeyRule(b, n); });
        ov::onUserChange(g.keyIndex, this, [this, b, n] { CheckKeyIndex(b, n); });
        for (QComboBox* choice : {g.keyType, g.keySize})
            ov::onUserChange(choice, this, [this] { SetKeyLengths(); });
        ov::setEditHandlers(g.ssid, nullptr, [this, b, n] { CheckSsid(b, n); });
        // Leaving the third guest's VLAN ID checks the second guest's SSID, as
        // the device's own manager always did.
        const int checked = n == 1 ? 1 : 2;
        ov::setEditHandlers(g.vlanId, nullptr, [this, b, checked] { CheckSsid(b, checked); });
    }
}
