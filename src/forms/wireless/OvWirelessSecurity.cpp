#include "OvWirelessSecurity.h"

#include "DeviceMib.h"
#include "OvAddressChecks.h"
#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvKitControls.h"
#include "OvNumberRules.h"
#include "OvUserChange.h"
#include "OvWindowBindings.h"
#include "OvWirelessRules.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace ovkit;
using namespace ovrules;

namespace {

// The personal lists wait long: the device derives the key from the pass phrase.
constexpr int kPersonalTimeout = 5000;

// Positions of the security list (T22): authentication, encryption and valid
// key of 802.11a at 0 to 2, of 802.11g at 3 to 5; keys at 6 to 9 and 10 to 13.
int authPosition(int b) {
    return 3 * b;
}
int encryptionPosition(int b) {
    return 3 * b + 1;
}
int validKeyPosition(int b) {
    return 3 * b + 2;
}
int keyPosition(int b, int key) {
    return 6 + 4 * b + key;
}

// Enterprise list (T18, T19): cipher, port, group key interval, server, secret.
constexpr int kGroupKeyPosition = 2;

const QStringList kAllAuthentications = {"Open System", "Shared Key", "Open System / Shared Key",
                                         "802.1x",      "WPA-EAP",    "WPA-PSK",
                                         "WPA2-EAP",    "WPA2-PSK",   "WPA-Auto-EAP",
                                         "WPA-Auto-PSK"};
const QStringList kWdsAuthentications = {"Open System", "Shared Key", "Open System / Shared Key",
                                         "WPA-PSK"};

void markAll(OvSNMPRequest2Edits* binding, bool invalid) {
    OvSNMPVarList& list = binding->request.varList;
    for (int p = 0; p < list.Count(); ++p)
        list.SetInvalid(p, invalid);
}

} // namespace

OvWirelessSecurity::OvWirelessSecurity(QWidget* window, std::function<int()> shownBand,
                                       std::function<void(int)> showPage)
    : window_(window), shownBand_(std::move(shownBand)), showPage_(std::move(showPage)) {}

OvWirelessSecurity::~OvWirelessSecurity() {
    destroyLists();
}

void OvWirelessSecurity::destroyLists() {
    guestKeyIndexList_.reset();
    guestStateList_.reset();
    for (Band& bd : bands_) {
        bd.personalList.reset();
        bd.enterpriseList.reset();
        bd.securityList.reset();
    }
}

// ---- Lists

void OvWirelessSecurity::buildLists(int b) {
    Band& bd = band(b);
    bd.securityList = newList(window_, mib::T22);
    OvSNMPVarList& security = bd.securityList->request.varList;
    bd.securityList->BindComboBox(authPosition(b), bd.auth);
    bd.securityList->BindComboBox(encryptionPosition(b), bd.encryption);
    bd.securityList->BindComboBox(validKeyPosition(b), bd.validKey);
    for (int key = 0; key < 4; ++key)
        bd.securityList->BindEdit(keyPosition(b, key), "%s", bd.keys[key]);
    for (int p : {authPosition(b), encryptionPosition(b), validKeyPosition(b), keyPosition(b, 0),
                  keyPosition(b, 1), keyPosition(b, 2), keyPosition(b, 3)})
        security.Item(p).access = ovaccess::readwrite;
    bd.securityList->Refresh();

    bd.enterpriseList = newList(window_, b == kBandA ? mib::T18 : mib::T19);
    bd.enterpriseList->BindComboBox(0, bd.radiusCipher);
    bd.enterpriseList->BindEdit(1, "%u{n1x65535}", bd.radiusPort);
    bd.enterpriseList->BindEdit(kGroupKeyPosition, "%u{n300x9999999}", bd.groupKey);
    bd.enterpriseList->BindEdit(3, "%s", bd.radiusServer);
    bd.enterpriseList->BindEdit(4, "%s", bd.radiusSecret);
    readEnterprise(b);

    bd.personalList = newList(window_, b == kBandA ? mib::T20 : mib::T21);
    bd.personalList->request.timeout = kPersonalTimeout;
    bd.personalList->BindComboBox(0, bd.pskCipher);
    bd.personalList->BindEdit(1, "%u{n300x9999999}", bd.pskGroupKey);
    bd.personalList->BindEdit(2, "%s", bd.passPhrase);
    bd.personalList->Refresh();
}

void OvWirelessSecurity::buildGuestLists() {
    guestStateList_ = newList(window_, mib::T65);
    guestStateList_->BindComboBox(0, CB_VLANState);
    for (int b : {kBandA, kBandG}) {
        for (int n = 0; n < 3; ++n) {
            guestStateList_->BindComboBox(1 + 6 * b + n, band(b).guestState[n]);
            guestStateList_->BindComboBox(4 + 6 * b + n, band(b).guestAuth[n]);
        }
    }
    for (int p = 0; p < guestStateList_->request.varList.Count(); ++p)
        guestStateList_->request.varList.Item(p).access = ovaccess::readwrite;
    guestStateList_->Refresh();

    guestKeyIndexList_ = newList(window_, mib::T67);
    for (int b : {kBandA, kBandG})
        for (int n = 0; n < 3; ++n)
            guestKeyIndexList_->BindComboBox(3 * b + n, band(b).guestKeyIndex[n]);
    guestKeyIndexList_->Refresh();
}

void OvWirelessSecurity::refreshLists(int b) {
    Band& bd = band(b);
    if (bd.securityList)
        bd.securityList->Refresh();
    if (bd.enterpriseList)
        readEnterprise(b);
    if (bd.personalList)
        bd.personalList->Refresh();
}

void OvWirelessSecurity::refreshGuestLists() {
    for (OvSNMPRequest2Edits* list : {guestStateList_.get(), guestKeyIndexList_.get()})
        if (list != nullptr)
            list->Refresh();
}

int OvWirelessSecurity::authentication(int b) const {
    return bands_[static_cast<std::size_t>(b)].auth->currentIndex();
}

// ---- Arrangement

void OvWirelessSecurity::FillKeyChoices() {
    const ov::CodeChange byCode;
    for (Band& bd : bands_) {
        bd.keySize->clear();
        bd.keySize->addItems({"64 Bits", "128 Bits", "152 Bits"});
        bd.keySize->setCurrentIndex(0);
        bd.keyType->clear();
        bd.keyType->addItems({"HEX", "ASCII"});
        bd.keyType->setCurrentIndex(0);
    }
    UpdateKeyEditing();
}

void OvWirelessSecurity::SetKeyLengths() {
    for (Band& bd : bands_) {
        const auto length = wepKeyLength(bd.keyType->currentIndex(), bd.keySize->currentIndex());
        if (!length)
            continue;
        for (QLineEdit* key : bd.keys)
            ov::setTypingLimit(key, *length);
    }
}

void OvWirelessSecurity::followKeyLength(int b) {
    Band& bd = band(b);
    const int valid = bd.validKey->currentIndex();
    if (valid < 0)
        return;
    const auto length = static_cast<int>(bd.keys[valid]->text().toStdU32String().size());
    if (const auto size = keySizeOfLength(length)) {
        const ov::CodeChange byCode;
        bd.keySize->setCurrentIndex(*size);
    }
}

void OvWirelessSecurity::UpdateKeyEditing() {
    const int b = shownBand_();
    followKeyLength(b);
    Band& bd = band(b);
    if (bd.encryption->currentIndex() != 1)
        return;
    const int valid = bd.validKey->currentIndex();
    for (int key = 0; key < 4; ++key)
        setEditable(bd.keys[key], key == valid);
}

void OvWirelessSecurity::ArrangeSecurity() {
    const ov::CodeChange byCode;
    arrangeBand(kBandA);
    arrangeBand(kBandG);
}

void OvWirelessSecurity::showGroup(int b, QGroupBox* shown) {
    Band& bd = band(b);
    for (QGroupBox* group : {bd.keyGroup, bd.radiusGroup, bd.pskGroup})
        group->setVisible(group == shown);
}

void OvWirelessSecurity::offerCiphers(QComboBox* choice, QComboBox* bound, bool wepOnly) {
    choice->clear();
    if (wepOnly) {
        choice->addItem("WEP");
        choice->setCurrentIndex(0);
        return;
    }
    choice->addItems({"Auto", "AES", "TKIP"});
    choice->setCurrentIndex(std::max(0, choice->findText(bound->currentText())));
}

void OvWirelessSecurity::arrangeBand(int b) {
    Band& bd = band(b);
    const int k = bd.auth->findText(bd.authChoice->currentText());
    if (isWep(k)) {
        showGroup(b, bd.keyGroup);
        const int item = bd.authChoice->currentIndex();
        const bool shared = item == 1 || item == 2;
        if (shared)
            bd.encryption->setCurrentIndex(1);
        bd.encryption->setEnabled(!shared);
    } else if (isPassPhrase(k)) {
        showGroup(b, bd.pskGroup);
        bd.encryption->setEnabled(true);
        offerCiphers(bd.pskCipherChoice, bd.pskCipher, false);
    } else if (isRadius(k)) {
        showGroup(b, bd.radiusGroup);
        bd.encryption->setEnabled(true);
        const bool dot1x = k == k8021x;
        for (QWidget* w :
             {static_cast<QWidget*>(bd.groupKeyLabel), static_cast<QWidget*>(bd.groupKey),
              static_cast<QWidget*>(bd.groupKeyRange)})
            w->setVisible(!dot1x);
        offerCiphers(bd.radiusCipherChoice, bd.radiusCipher, dot1x);
    }
    const int encryption = bd.encryption->currentIndex();
    if (encryption > 0) {
        UpdateKeyEditing();
        for (QComboBox* choice : {bd.keyType, bd.keySize, bd.validKey})
            choice->setEnabled(true);
    } else if (encryption == 0) {
        for (QComboBox* choice : {bd.keyType, bd.keySize, bd.validKey})
            choice->setEnabled(false);
        for (QLineEdit* key : bd.keys)
            setEditable(key, false);
    }
}

void OvWirelessSecurity::offerAuthentications(int b, bool wds) {
    Band& bd = band(b);
    const ov::CodeChange byCode;
    bd.authChoice->clear();
    bd.authChoice->addItems(wds ? kWdsAuthentications : kAllAuthentications);
    int item = bd.authChoice->findText(bd.auth->currentText());
    if (item < 0) // 802.11a in Access Point mode shows no choice then
        item = wds || b == kBandG ? 0 : -1;
    bd.authChoice->setCurrentIndex(item);
}

// ---- Apply

void OvWirelessSecurity::handOver(int b, int apMode) {
    Band& bd = band(b);
    const ov::CodeChange byCode;
    const int k = bd.auth->currentIndex();
    if ((apMode == 1 || apMode == 2) && !(isWep(k) || k == 5))
        bd.auth->setCurrentIndex(0);
    const int now = bd.auth->currentIndex();
    if (isPassPhrase(now) && bd.pskCipherChoice->currentIndex() >= 0)
        selectText(bd.pskCipher, bd.pskCipherChoice->currentText());
    if (isRadius(now) && bd.radiusCipherChoice->currentIndex() >= 0)
        selectText(bd.radiusCipher, bd.radiusCipherChoice->currentText());
}

bool OvWirelessSecurity::refuse(int b, const QString& title, const QString& text,
                                QLineEdit* focus) {
    showPage_(b);
    return ovkit::refuse(window_, focus, title, text, false);
}

bool OvWirelessSecurity::CheckWepKeyLength(int b) {
    Band& bd = band(b);
    const int valid = bd.validKey->currentIndex();
    const auto length = wepKeyLength(bd.keyType->currentIndex(), bd.keySize->currentIndex());
    if (valid < 0 || !length)
        return true;
    QLineEdit* key = bd.keys[valid];
    if (static_cast<int>(key->text().toStdU32String().size()) == *length)
        return true;
    return refuse(b, "Warning", QString::fromStdString(wepKeyLengthMessage(valid, b, *length)),
                  key);
}

bool OvWirelessSecurity::ValidateSecurity() {
    for (int b : {kBandA, kBandG})
        if (isWep(authentication(b)) && !CheckWepKeyLength(b))
            return false;
    return validateBand(kBandA) && validateBand(kBandG);
}

void OvWirelessSecurity::markBand(int b, bool invalid) {
    Band& bd = band(b);
    OvSNMPVarList& security = bd.securityList->request.varList;
    for (int p : {encryptionPosition(b), validKeyPosition(b), keyPosition(b, 0), keyPosition(b, 1),
                  keyPosition(b, 2), keyPosition(b, 3)})
        security.SetInvalid(p, invalid);
    markAll(bd.personalList.get(), invalid);
    markAll(bd.enterpriseList.get(), invalid);
}

bool OvWirelessSecurity::validateBand(int b) {
    Band& bd = band(b);
    markBand(b, true); // the authentication is sent at every apply
    const int k = authentication(b);
    if (isWep(k)) {
        bd.securityList->request.varList.SetInvalid(encryptionPosition(b), false);
        if (bd.encryption->currentIndex() == 0)
            return true;
        bd.securityList->request.varList.SetInvalid(validKeyPosition(b), false);
        return validateWepKey(b);
    }
    if (isPassPhrase(k))
        return validatePassPhrase(b);
    if (isRadius(k))
        return validateRadius(b, k);
    return true;
}

bool OvWirelessSecurity::validateWepKey(int b) {
    Band& bd = band(b);
    const int valid = bd.validKey->currentIndex();
    if (valid < 0)
        return true;
    QLineEdit* key = bd.keys[valid];
    const ov::CodeChange byCode;
    if (bd.keyType->currentIndex() == 1 && checkHexKey(utf8(key->text())) != HexKey::Masked) {
        // Another character would give other than two digits and shift the key.
        const std::u32string characters = key->text().toStdU32String();
        if (!isPrintableAscii(characters))
            return refuse(b, "Warning", kAsciiOnly, key);
        key->setText(QString::fromStdString(keyTextToHex(characters)));
    }
    switch (checkHexKey(utf8(key->text()))) {
    case HexKey::Masked: // the device keeps its key
        return true;
    case HexKey::Hexadecimal:
        bd.securityList->request.varList.SetInvalid(keyPosition(b, valid), false);
        return true;
    case HexKey::Refused:
        break;
    }
    refuse(b, QCoreApplication::applicationName(),
           QStringLiteral("Please input  Hexadecimal digits!"), key);
    key->clear();
    return false;
}

bool OvWirelessSecurity::validatePassPhrase(int b) {
    Band& bd = band(b);
    if (!groupKeyIntervalAccepted(utf8(bd.pskGroupKey->text()))) {
        refuse(b, "Error", kGroupKeyInterval.refusal, bd.pskGroupKey);
        const ov::CodeChange byCode;
        bd.pskGroupKey->clear();
        return false;
    }
    if (const auto refusal = passPhraseRefusal(utf8(bd.passPhrase->text()), b))
        return refuse(b, QString::fromStdString(refusal->title),
                      QString::fromStdString(refusal->text), bd.passPhrase);
    if (ovrules::textRefusal(utf8(bd.passPhrase->text()),
                             ovrules::TextCheckMode::NoQuotationMark)) {
        showPage_(b);
        ovkit::textCheck(window_, bd.passPhrase->text(), ovrules::TextCheckMode::NoQuotationMark);
        bd.passPhrase->setFocus(Qt::OtherFocusReason);
        return false;
    }
    markAll(bd.personalList.get(), false);
    return true;
}

bool OvWirelessSecurity::validateRadius(int b, int k) {
    Band& bd = band(b);
    if (k != k8021x && !groupKeyIntervalAccepted(utf8(bd.groupKey->text()))) {
        refuse(b, "Error", kGroupKeyInterval.refusal, bd.groupKey);
        const ov::CodeChange byCode;
        bd.groupKey->clear();
        return false;
    }
    if (!ovrules::isHostAddress(utf8(bd.radiusServer->text())))
        return refuse(b, "Error", "The Radius server's IP is illegal.", bd.radiusServer);
    if (bd.radiusPort->text().isEmpty())
        return refuse(b, "Error", kRadiusPort.refusal, bd.radiusPort);
    if (ovrules::textRefusal(utf8(bd.radiusSecret->text()), ovrules::TextCheckMode::Secret)) {
        showPage_(b);
        ovkit::textCheck(window_, bd.radiusSecret->text(), ovrules::TextCheckMode::Secret);
        bd.radiusSecret->setFocus(Qt::OtherFocusReason);
        return false;
    }
    markAll(bd.enterpriseList.get(), false);
    if (k == k8021x)
        bd.enterpriseList->request.varList.SetInvalid(kGroupKeyPosition, true);
    return true;
}

bool OvWirelessSecurity::CheckGuestKeyIndex(bool askA, bool askG) {
    for (int b : {kBandA, kBandG}) {
        Band& bd = band(b);
        if (!(b == kBandA ? askA : askG) || !bd.validKey->isEnabled() ||
            !isWep(bd.authChoice->currentIndex()))
            continue;
        std::array<GuestSsid, 3> guests;
        for (int n = 0; n < 3; ++n)
            guests[n] = {bd.guestState[n]->currentIndex(), bd.guestAuth[n]->currentIndex(),
                         bd.guestKeyIndex[n]->currentIndex()};
        if (const int guest = guestUsingMasterKey(bd.validKey->currentIndex(), guests)) {
            ov::messageBox(window_, "Warning",
                           QStringLiteral("The %1 master SSID's key index is same as Guest SSID%2")
                               .arg(b == kBandA ? "11a" : "11g")
                               .arg(guest));
            return false;
        }
    }
    return true;
}

void OvWirelessSecurity::PrepareGuestStates(int apModeChoiceA, int apModeChoiceG) {
    markAll(guestStateList_.get(), false);
    const ov::CodeChange byCode;
    for (int b : {kBandA, kBandG}) {
        Band& bd = band(b);
        const GuestStates states = guestStatesFor(b == kBandA ? apModeChoiceA : apModeChoiceG,
                                                  utf8(bd.auth->currentText()));
        if (states.guestsOff) {
            CB_VLANState->setCurrentIndex(0);
            for (QComboBox* state : bd.guestState)
                state->setCurrentIndex(0);
        } else if (states.authNone) {
            for (QComboBox* auth : bd.guestAuth)
                auth->setCurrentIndex(0);
        }
    }
}

bool OvWirelessSecurity::ApplySecurity(int b,
                                       const std::function<bool(OvSNMPRequest2Edits*)>& send) {
    Band& bd = band(b);
    const int k = authentication(b);
    if (k < 0 || !send(bd.securityList.get()))
        return false;
    if (isPassPhrase(k))
        return send(bd.personalList.get());
    if (isRadius(k))
        return send(bd.enterpriseList.get());
    return true;
}
