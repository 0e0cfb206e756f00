// The security part's controls on each band's page, and the guest SSIDs'
// never-visible ones, built as the design lays them out, with their handlers.
#include "OvWirelessSecurity.h"

#include "DeviceMib.h"
#include "OvEditBox.h"
#include "OvKitControls.h"
#include "OvUserChange.h"
#include "OvWirelessRules.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace ovkit;
using namespace ovrules;

namespace {

const QString kRangeText = QStringLiteral(" [ 300 - 9999999 ]");

QLineEdit* secretEdit(QWidget* parent, const QString& name) {
    auto* edit = ovkit::control<QLineEdit>(parent, name);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

} // namespace

// ---- Controls

void OvWirelessSecurity::buildControls(int b, QWidget* page, QVBoxLayout* layout) {
    Band& bd = band(b);
    bd.authChoice =
        ovkit::control<QComboBox>(page, bandControlName("Ed_SecAuth", b, "aTemp", "gTemp"));
    bd.authLabel = ovkit::label(page, bandControlName("La_SecAuth", b, "a", "g"), "Authentication",
                                bd.authChoice);
    bd.auth = ovkit::control<QComboBox>(page, bandControlName("Ed_SecAuth", b, "a", "g"));
    neverVisible(bd.auth);
    auto* row = new QHBoxLayout;
    row->addWidget(bd.authLabel);
    row->addWidget(bd.authChoice, 1);
    layout->addLayout(row);

    // The three groups take the same place; one is shown at a time.
    auto* place = new QGridLayout;
    place->setContentsMargins(0, 0, 0, 0);
    buildKeyGroup(b, page, place);
    buildRadiusGroup(b, page, place);
    buildPassPhraseGroup(b, page, place);
    layout->addLayout(place);
    connectHandlers(b);
}

void OvWirelessSecurity::buildKeyGroup(int b, QWidget* page, QGridLayout* place) {
    Band& bd = band(b);
    bd.keyGroup = ovkit::control<QGroupBox>(page, b == kBandA ? "GroupBox4" : "Ecry_Group_g");
    bd.keyGroup->setTitle(" Key Settings ");
    QWidget* g = bd.keyGroup;
    bd.encryption = ovkit::control<QComboBox>(g, bandControlName("Ed_SecEncyp", b, "a", "g"));
    bd.keyType = ovkit::control<QComboBox>(g, bandControlName("Ed_KeyType", b, "", "_g"));
    bd.keySize = ovkit::control<QComboBox>(g, bandControlName("Ed_KeySize", b, "", "_g"));
    bd.validKey = ovkit::control<QComboBox>(g, bandControlName("Ed_SecValKey", b, "a", "g"));
    const std::pair<const char*, QComboBox*> choices[] = {{"Encryption ", bd.encryption},
                                                          {"Key Type ", bd.keyType},
                                                          {"Key Size", bd.keySize},
                                                          {"Valid Key", bd.validKey}};
    static const char* const keyLabels[] = {"First Key ", "Second Key", "Third Key ",
                                            "Fourth Key "};
    auto* grid = new QGridLayout(g);
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        bd.keys[i] = secretEdit(g, "Ed_Key" + n + (b == kBandA ? "a" : "g"));
        QLabel* choiceLabel = ovkit::label(g, "La_" + choices[i].second->objectName(),
                                           choices[i].first, choices[i].second);
        QLabel* keyLabel =
            ovkit::label(g, "La_" + bd.keys[i]->objectName(), keyLabels[i], bd.keys[i]);
        grid->addWidget(choiceLabel, i, 0);
        grid->addWidget(choices[i].second, i, 1);
        grid->addWidget(keyLabel, i, 2);
        grid->addWidget(bd.keys[i], i, 3);
    }
    grid->setColumnStretch(3, 1);
    place->addWidget(bd.keyGroup, 0, 0, Qt::AlignTop);
}

void OvWirelessSecurity::buildRadiusGroup(int b, QWidget* page, QGridLayout* place) {
    Band& bd = band(b);
    bd.radiusGroup = ovkit::control<QGroupBox>(page, b == kBandA ? "GroupBox5" : "EAP_Group_g");
    bd.radiusGroup->setTitle(" Radius Server Settings ");
    QWidget* g = bd.radiusGroup;
    bd.radiusCipherChoice =
        ovkit::control<QComboBox>(g, bandControlName("Ciphertype", b, "ComBx", "ComboBx_g"));
    bd.groupKey = ovkit::control<QLineEdit>(g, bandControlName("GroupKeyEdit", b, "", "_g"));
    bd.radiusServer =
        ovkit::control<QLineEdit>(g, bandControlName("RadiusServerEdit", b, "", "_g"));
    bd.radiusPort = ovkit::control<QLineEdit>(g, bandControlName("RadiusportEdit", b, "", "_g"));
    bd.radiusSecret = secretEdit(g, bandControlName("RadiusSecretEdit", b, "", "_g"));
    bd.radiusCipher =
        ovkit::control<QComboBox>(g, bandControlName("CiphertypeComboBox", b, "", "_g"));
    neverVisible(bd.radiusCipher);
    const QString s = b == kBandA ? "a" : "g";
    bd.groupKeyLabel = ovkit::label(g, "La_GroupKey" + s,
                                    QStringLiteral("Group Key Update Interval  "), bd.groupKey);
    bd.groupKeyRange = ovkit::label(g, "La_GroupKeyRange" + s, kRangeText);
    auto* grid = new QGridLayout(g);
    grid->addWidget(ovkit::label(g, "La_Ciphertype" + s, "Cipher Type", bd.radiusCipherChoice), 0,
                    0);
    grid->addWidget(bd.radiusCipherChoice, 0, 1);
    grid->addWidget(bd.groupKeyLabel, 1, 0);
    grid->addWidget(bd.groupKey, 1, 1);
    grid->addWidget(bd.groupKeyRange, 1, 2);
    grid->addWidget(ovkit::label(g, "La_RadiusServer" + s, "Radius Server ", bd.radiusServer), 2,
                    0);
    grid->addWidget(bd.radiusServer, 2, 1);
    grid->addWidget(ovkit::label(g, "La_Radiusport" + s, "Radius Port (1-65535)", bd.radiusPort), 3,
                    0);
    grid->addWidget(bd.radiusPort, 3, 1);
    grid->addWidget(ovkit::label(g, "La_RadiusSecret" + s, "Radius Secret", bd.radiusSecret), 4, 0);
    grid->addWidget(bd.radiusSecret, 4, 1);
    grid->setColumnStretch(2, 1);
    place->addWidget(bd.radiusGroup, 0, 0, Qt::AlignTop);
}

void OvWirelessSecurity::buildPassPhraseGroup(int b, QWidget* page, QGridLayout* place) {
    Band& bd = band(b);
    bd.pskGroup = ovkit::control<QGroupBox>(page, b == kBandA ? "GroupBox6" : "PSK_Group_g");
    bd.pskGroup->setTitle(" PassPhrase Settings ");
    QWidget* g = bd.pskGroup;
    bd.pskCipherChoice =
        ovkit::control<QComboBox>(g, bandControlName("CipherforPSKBx", b, "", "_g"));
    bd.pskGroupKey = ovkit::control<QLineEdit>(g, bandControlName("GroupKeyPSKEdit", b, "", "_g"));
    bd.passPhrase = secretEdit(g, bandControlName("PassPhrasePSKEdit", b, "", "_g"));
    bd.pskCipher = ovkit::control<QComboBox>(g, bandControlName("CipherforPSKBox", b, "", "_g"));
    neverVisible(bd.pskCipher);
    const QString s = b == kBandA ? "a" : "g";
    auto* grid = new QGridLayout(g);
    grid->addWidget(ovkit::label(g, "La_CipherforPSK" + s, "Cipher Type", bd.pskCipherChoice), 0,
                    0);
    grid->addWidget(bd.pskCipherChoice, 0, 1);
    grid->addWidget(
        ovkit::label(g, "La_GroupKeyPSK" + s, "Group Key Update Interval", bd.pskGroupKey), 1, 0);
    grid->addWidget(bd.pskGroupKey, 1, 1);
    grid->addWidget(ovkit::label(g, "La_GroupKeyPSKRange" + s, kRangeText), 1, 2);
    grid->addWidget(ovkit::label(g, "La_PassPhrase" + s, "PassPhrase ", bd.passPhrase), 2, 0);
    grid->addWidget(bd.passPhrase, 2, 1);
    grid->setColumnStretch(2, 1);
    place->addWidget(bd.pskGroup, 0, 0, Qt::AlignTop);
}

void OvWirelessSecurity::buildGuestControls(QWidget* window) {
    CB_VLANState = ovkit::control<QComboBox>(window, "CB_VLANState");
    neverVisible(CB_VLANState);
    for (int b : {kBandA, kBandG}) {
        Band& bd = band(b);
        for (int n = 0; n < 3; ++n) {
            const QString i = QString::number(n + 1);
            bd.guestState[n] = ovkit::control<QComboBox>(window, "Guest" + i + "_ComboBox" +
                                                                     (b == kBandA ? "" : "g"));
            bd.guestAuth[n] = ovkit::control<QComboBox>(window, "GuestEncry" + i + "_ComboBox" +
                                                                    (b == kBandA ? "" : "_g"));
            bd.guestKeyIndex[n] = ovkit::control<QComboBox>(
                window, "GuestKeyIndex" + i + "_ComboBox" + (b == kBandA ? "" : "g"));
            for (QWidget* hidden :
                 {static_cast<QWidget*>(bd.guestState[n]), static_cast<QWidget*>(bd.guestAuth[n]),
                  static_cast<QWidget*>(bd.guestKeyIndex[n])})
                neverVisible(hidden);
        }
    }
}

std::array<std::pair<QLineEdit*, QLineEdit*>, 3> OvWirelessSecurity::radiusTwins() {
    Band& a = band(kBandA);
    Band& g = band(kBandG);
    return {{{a.radiusPort, g.radiusPort},
             {a.radiusServer, g.radiusServer},
             {a.radiusSecret, g.radiusSecret}}};
}

// Only the user's typing is mirrored here: a read fills the boxes by code, and
// a failed read must not overwrite the other band's good values.
void OvWirelessSecurity::shareRadiusSettings() {
    for (const auto& [first, second] : radiusTwins()) {
        for (auto [from, to] : {std::pair{first, second}, std::pair{second, first}}) {
            QObject::connect(from, &QLineEdit::textChanged, window_, [to](const QString& text) {
                if (ov::CodeChange::active() || to->text() == text)
                    return;
                const ov::CodeChange byCode;
                to->setText(text);
            });
        }
    }
}

// A read that succeeded stands for the device's RADIUS settings on both pages.
void OvWirelessSecurity::readEnterprise(int b) {
    if (!band(b).enterpriseList->Refresh())
        return;
    const ov::CodeChange byCode;
    for (const auto& [a, g] : radiusTwins()) {
        QLineEdit* from = b == kBandA ? a : g;
        QLineEdit* to = b == kBandA ? g : a;
        if (to->text() != from->text())
            to->setText(from->text());
    }
}

void OvWirelessSecurity::connectHandlers(int b) {
    Band& bd = band(b);
    ov::onUserChange(bd.authChoice, window_, [this, &bd] {
        selectText(bd.auth, bd.authChoice->currentText());
        ArrangeSecurity();
    });
    ov::onUserChange(bd.encryption, window_, [this] { ArrangeSecurity(); });
    ov::onUserChange(bd.keyType, window_, [this] { SetKeyLengths(); });
    ov::onUserChange(bd.keySize, window_, [this] { SetKeyLengths(); });
    ov::onUserChange(bd.validKey, window_, [this, b] {
        UpdateKeyEditing();
        SetKeyLengths();
        CheckGuestKeyIndex(b == kBandA, b == kBandG);
    });
    // Both bound ciphers of the band follow the visible choice.
    for (QComboBox* choice : {bd.pskCipherChoice, bd.radiusCipherChoice}) {
        ov::onUserChange(choice, window_, [&bd, choice] {
            selectText(bd.pskCipher, choice->currentText());
            selectText(bd.radiusCipher, choice->currentText());
        });
    }
}
