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
    if (const auto refusal = ovrules::macEntryRefusal(
            Ed_MACAddr->text().toStdString(), table_.slotMacs(), LA_Index->text().toLongLong())) {
        ovkit::refuse(this, nullptr, QString::fromStdString(refusal->title),
                      QString::fromStdString(refusal->text), false);
        return;
    }
    table_.fullListBinding()->Apply(false, true);
    close();
}

#include "moc_TFM_MACAddr.cpp"
