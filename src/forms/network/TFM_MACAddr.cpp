#include "TFM_MACAddr.h"

#include "OvDhcpRules.h"
#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvSNMPRequest2Edits.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFM_MACAddr::TFM_MACAddr(OvMacSlotList& table) : OvDialog(table.listWindow()), table_(table) {
    buildControls();
}

TFM_MACAddr::~TFM_MACAddr() = default;

void TFM_MACAddr::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("MAC Address"));
    Ed_MACAddr = ovkit::control<QLineEdit>(this, "Ed_MACAddr");
    ov::setTypingLimit(Ed_MACAddr, ovrules::kMacHexDigits);
    LA_MACAddr =
        ovkit::label(this, "LA_MACAddr", QStringLiteral("Please input Mac Addr"), Ed_MACAddr);
    Bt_Apply = ovkit::button(this, "Bt_Apply", QStringLiteral("Apply"));
    LA_Index = ovkit::control<QLabel>(this, "LA_Index");
    LA_Index->setAccessibleName(QStringLiteral("LA_Index"));
    LA_Index->hide();

    auto* row = new QHBoxLayout;
    row->addWidget(Ed_MACAddr, 1);
    row->addWidget(Bt_Apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LA_MACAddr);
    layout->addLayout(row);
    setFixedSize(sizeHint());
    ov::onSignal(Bt_Apply, &QPushButton::clicked, this, [this] { Bt_ApplyClick(); });
}

void TFM_MACAddr::bindControls(OvSNMPRequest2Edits& binding) {
    binding.BindControl(0, LA_Index);
    binding.BindEdit(1, "%h", Ed_MACAddr);
    ov::setTypingLimit(Ed_MACAddr, ovrules::kMacHexDigits);
}

// Each refusal leaves the dialog open with what was typed.
void TFM_MACAddr::Bt_ApplyClick() {
    const std::string typed = Ed_MACAddr->text().toStdString();
    if (typed.size() != ovrules::kMacHexDigits) {
        ovkit::refuse(this, nullptr, QStringLiteral("Error"),
                      QStringLiteral("The length is 12 in MAC Address."), false);
        return;
    }
    if (typed == ovrules::kFreeSlotMac) {
        ovkit::refuse(this, nullptr, QStringLiteral("Warning"),
                      QStringLiteral("Please input a valid MAC Address."), false);
        return;
    }
    if (ovrules::macTakenElsewhere(table_.slotMacs(), typed, LA_Index->text().toLongLong())) {
        ovkit::refuse(this, nullptr, QStringLiteral("Warning"),
                      QStringLiteral("Reject: The MAC already exists "), false);
        return;
    }
    table_.fullListBinding()->Apply(false, true);
    close();
}

#include "moc_TFM_MACAddr.cpp"
