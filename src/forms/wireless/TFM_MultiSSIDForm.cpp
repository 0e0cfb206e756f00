#include "TFM_MultiSSIDForm.h"

#include "DeviceMib.h"
#include "OvAddressChecks.h"
#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvMultiSsidRules.h"
#include "OvReportedOperation.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "OvWirelessRules.h"
#include "TFM_Waiting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace ovkit;
using namespace ovrules;

namespace {

// Positions in a primary list (T57 / T58) and in a guest list (T59 .. T64).
enum PrimaryPosition { kMasterSsid, kMasterAuth, kMasterEncryption, kMasterKeyIndex, kMasterVlan };
enum GuestPosition { kGuestState, kGuestSsid, kGuestAuth, kGuestKeyIndex, kGuestKey, kGuestVlan };
// Items of the choices.
constexpr int kOpenSystem = 0, kSharedKey = 1; // primary security
constexpr int kNone = 0;                       // guest security
constexpr int kEnabled = 1;                    // primary encryption
constexpr int kAscii = 1;                      // key type
constexpr int kVlanIdLength = 4;

const OvSNMPVarRow* guestTable(int b, int n) {
    static const OvSNMPVarRow* const tables[2][TFM_MultiSSIDForm::kGuests] = {
        {mib::T59, mib::T61, mib::T63}, {mib::T60, mib::T62, mib::T64}};
    return tables[b][n - 1];
}

QString text(const std::string& message) {
    return QString::fromStdString(message);
}

} // namespace

TFM_MultiSSIDForm::TFM_MultiSSIDForm(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_MultiSSIDForm::~TFM_MultiSSIDForm() {
    FormClose();
}

// ---- Creation and refresh

void TFM_MultiSSIDForm::FormCreate() {
    try {
        vlanBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
        vlanBinding_->mode = 0;
        vlanBinding_->request.varList.Assign(OvSNMPVarList(mib::T56, SVT_SV, 0));
        vlanBinding_->BindCheckBox(0, band(kBandA).vlanState);
        vlanBinding_->SetStatusTarget(StatusBar1->panel(0));
        refreshVlan();
        for (int b : {kBandA, kBandG})
            createBindings(b);
        modeBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
        modeBinding_->mode = 0;
        modeBinding_->request.varList.Assign(OvSNMPVarList(mib::T66, MVT_SV, 0));
        for (int b : {kBandA, kBandG}) {
            modeBinding_->BindComboBox(2 * b, band(b).apMode);
            modeBinding_->BindComboBox(2 * b + 1, band(b).superMode);
        }
        refreshModes();
        FillKeyChoices();
        followKeyLengths();
        arrange();
    } catch (...) {
        StatusBar1->panel(0)->setText(ov::errorText(std::current_exception()));
    }
}

// The primary bindings read synchronously like the others: the enable rules
// and the guests' security follow the primary's security, so it must be known
// before they run.
void TFM_MultiSSIDForm::createBindings(int b) {
    Band& d = band(b);
    d.primary = bindings_.make<OvSNMPRequest2Edits>(this);
    d.primary->mode = 0;
    d.primary->request.varList.Assign(OvSNMPVarList(b == kBandA ? mib::T57 : mib::T58, MVT_SV, 0));
    d.primary->BindEdit(kMasterSsid, "%s", d.masterSsid);
    d.primary->BindComboBox(kMasterAuth, d.security);
    d.primary->BindComboBox(kMasterEncryption, d.encryption);
    d.primary->BindComboBox(kMasterKeyIndex, d.masterKey);
    d.primary->BindEdit(kMasterVlan, "%u{n1x4094}", d.vlanId);
    d.primary->Refresh();
    for (int n = 1; n <= kGuests; ++n) {
        Guest& g = guest(b, n);
        g.list = bindings_.make<OvSNMPRequest2Edits>(this);
        g.list->mode = 0;
        g.list->request.varList.Assign(OvSNMPVarList(guestTable(b, n), MVT_SV, 0));
        g.list->BindCheckBox(kGuestState, g.enable);
        g.list->BindEdit(kGuestSsid, "%s", g.ssid);
        g.list->BindComboBox(kGuestAuth, g.security);
        g.list->BindComboBox(kGuestKeyIndex, g.keyIndex);
        g.list->BindEdit(kGuestKey, "%s", g.key);
        g.list->BindEdit(kGuestVlan, "%u{n1x4094}", g.vlanId);
        g.list->Refresh();
    }
}

// The VLAN binding's failures show in panel 0; the 802.11g tab's box mirrors its box.
void TFM_MultiSSIDForm::refreshVlan() {
    if (!ov::refreshReported(*vlanBinding_))
        StatusBar1->setSimplePanel(false);
    band(kBandG).vlanState->setChecked(band(kBandA).vlanState->isChecked());
}

void TFM_MultiSSIDForm::refreshModes() {
    if (!modeBinding_->Refresh())
        return;
    for (int b : {kBandA, kBandG})
        if (band(b).apMode->currentIndex() != 0)
            ov::messageBox(this, QStringLiteral("Warning"), text(apModeWarning(b)));
}

void TFM_MultiSSIDForm::FormClose() {
    bindings_.release();
    vlanBinding_ = modeBinding_ = nullptr;
    for (Band& d : bands_) {
        d.primary = nullptr;
        for (Guest& g : d.guests)
            g.list = nullptr;
    }
}

bool TFM_MultiSSIDForm::listsComplete() const {
    if (vlanBinding_ == nullptr || modeBinding_ == nullptr)
        return false;
    for (const Band& d : bands_) {
        if (d.primary == nullptr)
            return false;
        for (const Guest& g : d.guests)
            if (g.list == nullptr)
                return false;
    }
    return true;
}

void TFM_MultiSSIDForm::Bt_RefreshClick() {
    if (!listsComplete())
        return;
    try {
        refreshVlan();
        for (Band& d : bands_) {
            d.primary->Refresh();
            for (Guest& g : d.guests)
                g.list->Refresh();
        }
        refreshModes();
    } catch (...) {
        StatusBar1->panel(0)->setText(ov::errorText(std::current_exception()));
        StatusBar1->setSimplePanel(false);
    }
    // The key sizes first, so that the typing limits follow the keys read.
    followKeyLengths();
    arrange();
}

void TFM_MultiSSIDForm::Bt_CloseClick() {
    close();
}

// ---- Rules

bool TFM_MultiSSIDForm::isGuestCapable(int b) const {
    const Band& d = bands_[static_cast<std::size_t>(b)];
    return guestCapable(d.apMode->currentIndex(), d.superMode->currentIndex());
}

void TFM_MultiSSIDForm::arrange() {
    EnableRules();
    for (Band& d : bands_) {
        ov::setTypingLimit(d.vlanId, kVlanIdLength);
        for (Guest& g : d.guests) {
            ov::setTypingLimit(g.ssid, kSsidLength);
            ov::setTypingLimit(g.vlanId, kVlanIdLength);
        }
    }
    SetKeyLengths();
}

void TFM_MultiSSIDForm::EnableRules() {
    const ov::CodeChange byCode;
    for (int b : {kBandA, kBandG}) {
        Band& d = band(b);
        const bool capable = isGuestCapable(b);
        for (Guest& g : d.guests)
            g.enable->setEnabled(capable);
        VlanRule(b);
        // A primary SSID that is neither open nor shared leaves its guests none.
        const int primary = d.security->currentIndex();
        const bool guestSecurity = primary == kOpenSystem || primary == kSharedKey;
        for (int n = 1; n <= kGuests; ++n) {
            Guest& g = guest(b, n);
            const bool on = g.enable->isChecked() && g.enable->isEnabled();
            g.ssid->setEnabled(on);
            if (!on) {
                for (QWidget* w : std::initializer_list<QWidget*>{g.security, g.keyIndex, g.keyType,
                                                                  g.keySize, g.key})
                    w->setEnabled(false);
                continue;
            }
            if (!guestSecurity)
                g.security->setCurrentIndex(kNone);
            g.security->setEnabled(guestSecurity);
            KeyRule(b, n);
        }
    }
}

void TFM_MultiSSIDForm::VlanRule(int b) {
    Band& d = band(b);
    const bool on = d.vlanState->isChecked() && isGuestCapable(b);
    d.vlanId->setEnabled(on);
    for (Guest& g : d.guests)
        g.vlanId->setEnabled(on);
}

void TFM_MultiSSIDForm::KeyRule(int b, int n) {
    Guest& g = guest(b, n);
    const bool secured = g.security->currentIndex() != kNone;
    for (QWidget* w : std::initializer_list<QWidget*>{g.keyIndex, g.keyType, g.keySize, g.key})
        w->setEnabled(secured);
}

void TFM_MultiSSIDForm::VLan_StateClick(int b) {
    const ov::CodeChange byCode;
    band(1 - b).vlanState->setChecked(band(b).vlanState->isChecked());
    VlanRule(kBandA);
    VlanRule(kBandG);
}

void TFM_MultiSSIDForm::FillKeyChoices() {
    const ov::CodeChange byCode;
    for (Band& d : bands_) {
        for (Guest& g : d.guests) {
            g.keyType->clear();
            g.keyType->addItems({QStringLiteral("HEX"), QStringLiteral("ASCII")});
            g.keyType->setCurrentIndex(0);
            g.keySize->clear();
            g.keySize->addItems({QStringLiteral("64 Bits"), QStringLiteral("128 Bits"),
                                 QStringLiteral("152 Bits")});
            g.keySize->setCurrentIndex(0);
        }
    }
}

// A key read from the device shows its size: 10, 26 or 32 hex digits.
void TFM_MultiSSIDForm::followKeyLengths() {
    const ov::CodeChange byCode;
    for (Band& d : bands_)
        for (Guest& g : d.guests)
            if (const auto size = keySizeOfLength(static_cast<int>(g.key->text().size())))
                g.keySize->setCurrentIndex(*size);
}

void TFM_MultiSSIDForm::SetKeyLengths() {
    for (Band& d : bands_)
        for (Guest& g : d.guests)
            if (const auto length =
                    wepKeyLength(g.keyType->currentIndex(), g.keySize->currentIndex()))
                ov::setTypingLimit(g.key, *length);
}

// ---- Checks

void TFM_MultiSSIDForm::showTab(int b) {
    PageControl1->setCurrentIndex(b);
}

bool TFM_MultiSSIDForm::refuse(int b, QWidget* focus, const QString& title, const QString& words) {
    showTab(b);
    ov::messageBox(this, title, words);
    if (focus != nullptr)
        focus->setFocus(Qt::OtherFocusReason);
    return false;
}

bool TFM_MultiSSIDForm::CheckKeyIndex(int b, int n) {
    Band& d = band(b);
    QComboBox* keyIndex = guest(b, n).keyIndex;
    const int index = keyIndex->currentIndex();
    if (index < 0)
        return true;
    const QString warning = QStringLiteral("Warning");
    if (index == d.masterKey->currentIndex() && d.encryption->currentIndex() == kEnabled)
        return refuse(b, keyIndex, warning, text(keyIndexSameAsMaster(b, n)));
    for (int m = 1; m <= kGuests; ++m) {
        QComboBox* other = guest(b, m).keyIndex;
        if (m != n && other->isEnabled() && other->currentIndex() == index)
            return refuse(b, keyIndex, warning, text(keyIndexSameAsGuest(b, n, m)));
    }
    return true;
}

bool TFM_MultiSSIDForm::CheckSsid(int b, int n) {
    Band& d = band(b);
    QLineEdit* ssid = guest(b, n).ssid;
    if (!ssid->isEnabled())
        return true;
    const QString warning = QStringLiteral("Warning");
    if (ssid->text() == d.masterSsid->text() && d.encryption->currentIndex() == kEnabled)
        return refuse(b, ssid, warning, text(ssidSameAsMaster(b, n)));
    for (int m = 1; m <= kGuests; ++m) {
        QLineEdit* other = guest(b, m).ssid;
        if (m != n && other->isEnabled() && other->text() == ssid->text())
            return refuse(b, ssid, warning, text(ssidSameAsGuest(b, n, m)));
    }
    return true;
}

bool TFM_MultiSSIDForm::checkGuestSsids(int b) {
    for (int n = 1; n <= kGuests; ++n) {
        QLineEdit* ssid = guest(b, n).ssid;
        if (!ssid->isEnabled())
            continue;
        const std::string typed = utf8(ssid->text());
        if (const auto refusal = guestSsidRefusal(typed, n))
            return refuse(b, ssid, text(refusal->title), text(refusal->text));
        if (ovrules::textRefusal(typed, ovrules::TextCheckMode::NoQuotationMark) != nullptr) {
            showTab(b);
            ovkit::textCheck(this, ssid->text(), ovrules::TextCheckMode::NoQuotationMark);
            ssid->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

bool TFM_MultiSSIDForm::checkVlanIds(int b) {
    Band& d = band(b);
    const std::array<QLineEdit*, 4> ids = {d.vlanId, d.guests[0].vlanId, d.guests[1].vlanId,
                                           d.guests[2].vlanId};
    for (int n = 0; n <= kGuests; ++n) {
        QLineEdit* id = ids[static_cast<std::size_t>(n)];
        if (id->isEnabled() && id->text().isEmpty())
            return refuse(b, id, QStringLiteral("Warning"), text(vlanIdMissing(b, n)));
    }
    return true;
}

// ---- Apply

void TFM_MultiSSIDForm::Bt_ApplyClick() {
    if (!listsComplete()) {
        showSimple(StatusBar1, QStringLiteral("Set Error."));
        return;
    }
    for (int b : {kBandA, kBandG}) {
        if (!isGuestCapable(b)) {
            const ov::CodeChange byCode;
            for (Guest& g : band(b).guests)
                g.enable->setChecked(false);
            EnableRules();
        }
        if (!checkGuestSsids(b) || !checkVlanIds(b))
            return;
    }
    // Only guests whose key index can be chosen: one that is off would block
    // every apply on a box the user cannot change.
    for (int b : {kBandA, kBandG}) {
        for (int n = 1; n <= kGuests; ++n)
            if (guest(b, n).keyIndex->isEnabled() && !CheckKeyIndex(b, n))
                return;
        for (int n = 1; n <= kGuests; ++n)
            if (!CheckSsid(b, n))
                return;
    }
    for (int b : {kBandA, kBandG})
        if (!checkGuestKeyLengths(b) || !prepareKeys(b))
            return;
    const bool sent = sendAll();
    StatusBar1->setSimplePanel(true);
    if (!sent) {
        StatusBar1->setSimpleText(QStringLiteral("Set Error."));
        return;
    }
    TFM_Waiting waiting(device_, this);
    waiting.exec();
    StatusBar1->setSimpleText(QStringLiteral("Set Success!"));
    FillKeyChoices();
    followKeyLengths();
    SetKeyLengths();
}

bool TFM_MultiSSIDForm::checkGuestKeyLengths(int b) {
    for (int n = 1; n <= kGuests; ++n) {
        Guest& g = guest(b, n);
        if (!g.key->isEnabled())
            continue;
        const auto length = wepKeyLength(g.keyType->currentIndex(), g.keySize->currentIndex());
        const auto characters = static_cast<int>(g.key->text().toStdU32String().size());
        if (length && characters != *length)
            return refuse(b, g.key, QStringLiteral("Warning"),
                          text(guestKeyLengthMessage(n, b, *length)));
    }
    return true;
}

// Decides what goes out: each key as hex digits (ASCII converted in its box),
// then the marks. A key shown only as '*' is the device's own, never sent.
bool TFM_MultiSSIDForm::prepareKeys(int b) {
    Band& d = band(b);
    for (int p = kMasterSsid; p <= kMasterVlan; ++p)
        d.primary->request.varList.SetInvalid(p, true);
    for (int n = 1; n <= kGuests; ++n) {
        OvSNMPVarList& list = guest(b, n).list->request.varList;
        for (int p = kGuestState; p <= kGuestVlan; ++p)
            list.SetInvalid(p, true);
    }
    for (int n = 1; n <= kGuests; ++n) {
        Guest& g = guest(b, n);
        bool& masked = maskedKey_[static_cast<std::size_t>(b)][static_cast<std::size_t>(n - 1)];
        masked = false;
        if (!g.key->isEnabled())
            continue;
        masked = checkHexKey(utf8(g.key->text())) == HexKey::Masked;
        if (masked)
            continue;
        const ov::CodeChange byCode;
        if (g.keyType->currentIndex() == kAscii) {
            // Another character would give other than two digits and shift the key.
            const std::u32string characters = g.key->text().toStdU32String();
            if (!isPrintableAscii(characters))
                return refuse(b, g.key, QStringLiteral("Warning"), kAsciiOnly);
            g.key->setText(QString::fromStdString(keyTextToHex(characters)));
        }
        if (checkHexKey(utf8(g.key->text())) == HexKey::Refused) {
            showTab(b);
            ov::messageBox(this, QCoreApplication::applicationName(),
                           QStringLiteral("Please input  Hexadecimal digits!"));
            g.key->clear();
            g.key->setFocus(Qt::OtherFocusReason);
            return false;
        }
        g.list->request.varList.SetInvalid(kGuestKey, false);
    }
    markSent(b);
    return true;
}

void TFM_MultiSSIDForm::markSent(int b) {
    Band& d = band(b);
    const bool vlan = d.vlanState->isChecked();
    if (vlan)
        d.primary->request.varList.SetInvalid(kMasterVlan, false);
    for (int n = 1; n <= kGuests; ++n) {
        Guest& g = guest(b, n);
        OvSNMPVarList& list = g.list->request.varList;
        list.SetInvalid(kGuestState, false);
        if (vlan)
            list.SetInvalid(kGuestVlan, false);
        if (!g.enable->isChecked())
            continue;
        list.SetInvalid(kGuestSsid, false);
        list.SetInvalid(kGuestAuth, false);
        if (g.security->currentIndex() == kNone)
            continue;
        list.SetInvalid(kGuestKeyIndex, false);
        if (!maskedKey_[static_cast<std::size_t>(b)][static_cast<std::size_t>(n - 1)])
            list.SetInvalid(kGuestKey, false);
    }
}

// VLAN, then each band's primary and guests in order; the first failure ends
// the chain. With VLAN off a primary SET carries nothing and is still sent.
bool TFM_MultiSSIDForm::sendAll() {
    const auto send = [](OvSNMPRequest2Edits* list) {
        try {
            return list->Apply(false, true);
        } catch (...) {
            return false; // an error of the module's own making fails the send
        }
    };
    if (!send(vlanBinding_))
        return false;
    for (Band& d : bands_) {
        if (!send(d.primary))
            return false;
        for (Guest& g : d.guests)
            if (!send(g.list))
                return false;
    }
    return true;
}

#include "moc_TFM_MultiSSIDForm.cpp"
