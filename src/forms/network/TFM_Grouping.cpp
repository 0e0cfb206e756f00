#include "TFM_Grouping.h"

#include "DeviceMib.h"
#include "OvAddressChecks.h"
#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvNumberRules.h"
#include "OvReportedOperation.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "TFM_Waiting.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using ovkit::button;
using ovkit::control;
using ovkit::label;

namespace {

// Positions in the grouping list (T23).
constexpr int kLoadBalance = 0, kUserLimit = 1, kLinkIntegrate = 2, kEthernetLink = 3;
constexpr int kBalanceDisable = 0, kBalanceEnable = 1; // load balance items
constexpr int kUserLimitLength = 2;
// The restart command goes out at this tick of the wait window.
constexpr int kRestartTick = 5;

// Editable in the window colour, or read-only in the button face colour.
void setTypable(QLineEdit* edit, bool typable) {
    edit->setReadOnly(!typable);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, QApplication::palette(edit).color(typable ? QPalette::Base
                                                                               : QPalette::Button));
    edit->setPalette(palette);
}

} // namespace

TFM_Grouping::TFM_Grouping(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_Grouping::~TFM_Grouping() {
    FormClose();
}

void TFM_Grouping::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Advanced \\ Grouping"));
    LA_Grouping = label(this, "LA_Grouping", QStringLiteral("AP Grouping Settings:"), nullptr);
    CB_LoadB = control<QComboBox>(this, "CB_LoadB");
    Ed_UsrL = control<QLineEdit>(this, "Ed_UsrL");
    CB_LinkInt = control<QComboBox>(this, "CB_LinkInt");
    Ed_EthLS = control<QLineEdit>(this, "Ed_EthLS");
    Ed_EthLS->setReadOnly(true);
    Ed_EthLS->setMinimumWidth(180);
    auto* rows = new QFormLayout;
    const std::pair<const char*, QWidget*> fields[] = {{"Load Balance", CB_LoadB},
                                                       {"User Limit (0-64)", Ed_UsrL},
                                                       {"Link Integrate", CB_LinkInt},
                                                       {"Ethernet Link Status", Ed_EthLS}};
    for (const auto& [caption, box] : fields) {
        const QByteArray name = "LA_" + box->objectName().mid(3).toLatin1();
        rows->addRow(label(this, name.constData(), QString::fromLatin1(caption), box), box);
    }
    Bt_Apply = button(this, "Bt_Apply", QStringLiteral("Apply"));
    Bt_Refresh = button(this, "Bt_Refresh", QStringLiteral("Refresh"));
    Bt_Cancel = button(this, "Bt_Cancel", QStringLiteral("Cancel"));
    StatusBar = ovkit::statusBar(this, "StatusBar", false);
    auto* content = new QVBoxLayout;
    content->addWidget(LA_Grouping);
    content->addLayout(rows);
    ovkit::layOutWindow(this, content, {Bt_Apply, Bt_Refresh, Bt_Cancel}, StatusBar);
    setFixedSize(sizeHint());

    ov::onSignal(Bt_Apply, &QPushButton::clicked, this, [this] { Bt_ApplyClick(); });
    ov::onSignal(Bt_Refresh, &QPushButton::clicked, this, [this] { Bt_RefreshClick(); });
    ov::onSignal(Bt_Cancel, &QPushButton::clicked, this, [this] { Bt_CancelClick(); });
    ov::onUserChange(CB_LoadB, this, [this] { UserLimitRule(); });
}

void TFM_Grouping::FormCreate() {
    try {
        binding_ = std::make_unique<OvSNMPRequest2Edits>(this);
        binding_->mode = 0;
        binding_->request.varList.Assign(OvSNMPVarList(mib::T23, SVT_SV, 0));
        binding_->BindComboBox(kLoadBalance, CB_LoadB);
        binding_->BindEdit(kUserLimit, "%u", Ed_UsrL);
        binding_->BindComboBox(kLinkIntegrate, CB_LinkInt);
        binding_->BindEdit(kEthernetLink, "%s", Ed_EthLS);
        binding_->SetStatusTarget(StatusBar);
        ov::refreshReported(*binding_);
        ov::setTypingLimit(Ed_UsrL, kUserLimitLength);
    } catch (...) {
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
    UserLimitRule();
}

void TFM_Grouping::FormClose() {
    binding_.reset();
}

void TFM_Grouping::UserLimitRule() {
    const int loadBalance = CB_LoadB->currentIndex();
    if (loadBalance == kBalanceEnable || loadBalance == kBalanceDisable)
        setTypable(Ed_UsrL, loadBalance == kBalanceEnable);
}

// The limit goes out whether load balancing is on or off.
void TFM_Grouping::Bt_ApplyClick() {
    if (!binding_)
        return;
    if (const char* refusal =
            ovrules::numberRefusal(ovkit::utf8(Ed_UsrL->text()), ovrules::kGroupUsers)) {
        ovkit::refuse(this, Ed_UsrL, QStringLiteral("Error"), QString::fromLatin1(refusal), true);
        return;
    }
    if (!binding_->Apply(false, true)) {
        StatusBar->setSimpleText(QStringLiteral("Setting Error!"));
        return;
    }
    // An earlier failure no longer holds.
    ovkit::showSimple(StatusBar, QString());
    TFM_Waiting waiting(device_, this);
    waiting.restartTick = kRestartTick;
    waiting.exec();
}

void TFM_Grouping::Bt_RefreshClick() {
    if (binding_)
        ov::refreshReported(*binding_);
    UserLimitRule();
}

void TFM_Grouping::Bt_CancelClick() {
    close();
}

#include "moc_TFM_Grouping.cpp"
