#include "TLogSetForm.h"

#include "OvAddressChecks.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "TFM_Waiting.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using ovkit::button;
using ovkit::control;

namespace {

const QString kNoServer = QStringLiteral("0.0.0.0");

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text) {
    auto* box = control<QCheckBox>(parent, name);
    box->setText(text);
    return box;
}

} // namespace

TLogSetForm::TLogSetForm(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
}

void TLogSetForm::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Advanced\\System Log\\Log Setting"));
    GroupBox1 = control<QGroupBox>(this, "GroupBox1");
    GroupBox1->setTitle(QStringLiteral("Log Settings "));
    LogServerEdit = control<QLineEdit>(GroupBox1, "LogServerEdit");
    LogServerEdit->setMinimumWidth(130);
    Label1 = ovkit::label(GroupBox1, "Label1", QStringLiteral("Log Server / IP address "),
                          LogServerEdit);
    auto* server = new QHBoxLayout(GroupBox1);
    server->addWidget(Label1);
    server->addWidget(LogServerEdit);

    GroupBox2 = control<QGroupBox>(this, "GroupBox2");
    GroupBox2->setTitle(QStringLiteral("Log Type"));
    SysLevCeBox = checkBox(GroupBox2, "SysLevCeBox", QStringLiteral("System Activity"));
    WirelessLevCeBox = checkBox(GroupBox2, "WirelessLevCeBox", QStringLiteral("Wireless Activity"));
    NoticeLevCeBox = checkBox(GroupBox2, "NoticeLevCeBox", QStringLiteral("Notice "));
    auto* types = new QVBoxLayout(GroupBox2);
    for (QCheckBox* type : {SysLevCeBox, WirelessLevCeBox, NoticeLevCeBox})
        types->addWidget(type);

    Bt_Cancel = button(this, "Bt_Cancel", QStringLiteral("Cancel"));
    Bt_Apply = button(this, "Bt_Apply", QStringLiteral("Apply"));
    StatusBar1 = control<OvStatusBar>(this, "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->addPanel(0);

    QVBoxLayout* content = ovkit::contentAboveStatusBar(this, StatusBar1, 10);
    content->addWidget(GroupBox1);
    content->addWidget(GroupBox2);
    content->addLayout(ovkit::buttonsAtRight({Bt_Apply, Bt_Cancel}));
    setFixedSize(sizeHint().expandedTo({320, 0}));

    ov::onSignal(Bt_Apply, &QPushButton::clicked, this, [this] { Bt_ApplyClick(); });
    ov::onSignal(Bt_Cancel, &QPushButton::clicked, this, [this] { Bt_CancelClick(); });
}

void TLogSetForm::useSettings(OvSNMPRequest2Edits* settings, OvStatusBar* logStatus) {
    settings_ = settings;
    logStatus_ = logStatus;
}

// No server is 0.0.0.0; any other text must be a host address.
bool TLogSetForm::checkServer() {
    if (LogServerEdit->text().isEmpty())
        LogServerEdit->setText(kNoServer);
    if (LogServerEdit->text() == kNoServer ||
        ovrules::isHostAddress(LogServerEdit->text().toStdString()))
        return true;
    return ovkit::refuse(this, LogServerEdit, QStringLiteral("Warning"),
                         QStringLiteral("Please input valid IP Address."), true);
}

void TLogSetForm::Bt_ApplyClick() {
    if (settings_ == nullptr || !checkServer())
        return;
    bool applied = false;
    try {
        applied = settings_->Apply(true, true);
    } catch (...) {
        StatusBar1->panel(0)->setText(ov::errorText(std::current_exception()));
        return;
    }
    if (!applied) {
        StatusBar1->panel(0)->setText(QStringLiteral("Set Error!"));
        return;
    }
    const QString success = QStringLiteral("Set Success!");
    StatusBar1->panel(0)->setText(success);
    if (logStatus_)
        logStatus_->panel(0)->setText(success);
    TFM_Waiting waiting(device_, this);
    waiting.exec();
}

// The entries stay as they are until the log window is opened again.
void TLogSetForm::Bt_CancelClick() {
    close();
}

#include "moc_TLogSetForm.cpp"
