#include "TFM_Misc.h"

#include "DeviceMib.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "OvWidgetText.h"
#include "TFM_Waiting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kTelnet = 0, kTimeout = 1, kSnmp = 2; // positions in the list (T33)

using ovkit::button;
using ovkit::control;
using ovkit::label;

// A check box captioned "Enabled" is read out by the label that names its
// setting, its caption as the description.
QCheckBox* switchBox(QWidget* parent, const char* name, const QString& caption,
                     const QString& setting) {
    auto* box = control<QCheckBox>(parent, name);
    box->setText(caption);
    box->setAccessibleName(setting);
    box->setAccessibleDescription(caption.trimmed());
    return box;
}

} // namespace

TFM_Misc::TFM_Misc(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    // Errors here go to the general handler; the window opens with whatever
    // was filled before.
    ov::runGuarded([this] { FormCreate(); });
}

TFM_Misc::~TFM_Misc() {
    FormClose();
}

void TFM_Misc::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Tools \\ Misc."));
    GB_Telnet = control<QGroupBox>(this, "GB_Telnet");
    GB_Telnet->setTitle(QStringLiteral(" Console Settings  "));
    CB_Status =
        switchBox(GB_Telnet, "CB_Status", QStringLiteral("Enabled "), QStringLiteral("Status"));
    Label1 = label(GB_Telnet, "Label1", QStringLiteral("Status"), CB_Status);
    CB_Timeout = control<QComboBox>(GB_Telnet, "CB_Timeout");
    Label2 = label(GB_Telnet, "Label2", QStringLiteral("Timeout"), CB_Timeout);
    ChekbxSNMP = switchBox(this, "ChekbxSNMP", QStringLiteral("Enabled"), QStringLiteral("SNMP"));
    SNMP = label(this, "SNMP", QStringLiteral("SNMP"), ChekbxSNMP);
    Bt_Rfresh = button(this, "Bt_Rfresh", QStringLiteral("Refresh"));
    Bt_Apply = button(this, "Bt_Apply", QStringLiteral("Apply"));
    StatusBar = control<OvStatusBar>(this, "StatusBar");
    layOut();
    setFixedSize(sizeHint().expandedTo({300, 0}));

    ov::onUserChange(CB_Status, this, [this] { CB_StatusClick(); });
    ov::onSignal(Bt_Rfresh, &QPushButton::clicked, this, [this] { Bt_RfreshClick(); });
    ov::onSignal(Bt_Apply, &QPushButton::clicked, this, [this] { Bt_ApplyClick(); });
}

// The console's two rows in their group, the SNMP row below it, the buttons at
// the right, the status bar along the bottom edge.
void TFM_Misc::layOut() {
    auto* console = new QGridLayout(GB_Telnet);
    console->setHorizontalSpacing(24);
    console->addWidget(Label1, 0, 0);
    console->addWidget(CB_Status, 0, 1, Qt::AlignLeft);
    console->addWidget(Label2, 1, 0);
    console->addWidget(CB_Timeout, 1, 1);
    console->setColumnStretch(1, 1);
    auto* snmp = new QHBoxLayout;
    snmp->setContentsMargins(10, 0, 0, 0);
    snmp->addWidget(SNMP);
    snmp->addSpacing(24);
    snmp->addWidget(ChekbxSNMP);
    snmp->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Bt_Rfresh);
    buttons->addWidget(Bt_Apply);
    auto* content = new QVBoxLayout;
    content->setContentsMargins(12, 12, 12, 8);
    content->addWidget(GB_Telnet);
    content->addLayout(snmp);
    content->addSpacing(8);
    content->addLayout(buttons);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addLayout(content);
    window->addWidget(StatusBar);
}

void TFM_Misc::FormCreate() {
    miscBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
    miscBinding_->request.varList.Assign(OvSNMPVarList(mib::T33, SVT_SV, 0));
    miscBinding_->mode = 0;
    miscBinding_->BindCheckBox(kTelnet, CB_Status);
    miscBinding_->BindComboBox(kTimeout, CB_Timeout);
    miscBinding_->BindCheckBox(kSnmp, ChekbxSNMP);
    miscBinding_->SetStatusTarget(StatusBar);
    miscBinding_->request.resultHook = [this](const OvSNMPError& result) {
        failure_ = result.message;
    };
    refresh();
}

void TFM_Misc::FormClose() {
    miscBinding_.reset();
}

// A refresh runs no click handler, so the time-out box follows the console
// switch it shows here.
bool TFM_Misc::refresh() {
    failure_.clear();
    const bool ok = miscBinding_->Refresh();
    if (!ok)
        miscBinding_->ShowStatusOf(0, ov::widgetText(failure_));
    CB_StatusClick();
    return ok;
}

// The time-out is written whether the console is on or off.
void TFM_Misc::CB_StatusClick() {
    CB_Timeout->setEnabled(CB_Status->isChecked());
}

void TFM_Misc::Bt_RfreshClick() {
    if (miscBinding_)
        refresh();
}

void TFM_Misc::Bt_ApplyClick() {
    if (!miscBinding_)
        return;
    failure_.clear();
    if (!miscBinding_->Apply(true, true)) {
        StatusBar->setSimpleText(QStringLiteral("Setting Error!"));
        return;
    }
    TFM_Waiting waiting(device_, this);
    waiting.exec();
}

#include "moc_TFM_Misc.cpp"
