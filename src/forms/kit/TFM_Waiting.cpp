#include "TFM_Waiting.h"

#include "DeviceMib.h"
#include "OvDeviceContext.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvTimeScale.h"
#include "OvTransferMeter.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace {

QLineEdit* hiddenEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(QString::fromLatin1(name));
    edit->hide();
    return edit;
}

} // namespace

TFM_Waiting::TFM_Waiting(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    setFixedSize(249, 70);
    ovkit::frameWindow(this, QStringLiteral("Please wait"), Qt::WindowMinimizeButtonHint);
    Label2 = ovkit::placedLabel(this, "Label2", QStringLiteral("Settings saved."), 31, 11);
    Label3 =
        ovkit::placedLabel(this, "Label3", QStringLiteral("The device is restarting."), 31, 30);
    Label1 = ovkit::placedLabel(this, "Label1", QStringLiteral("Please waiting for"), 31, 48);
    La_Time = ovkit::placedLabel(this, "La_Time", QString(), 124, 48);
    La_Time->setMinimumWidth(32);
    // Its name is the count it shows, announced as it changes.
    La_Time->setAccessibleDescription(QStringLiteral("Seconds left"));
    seconds = ovkit::placedLabel(this, "seconds", QStringLiteral("seconds"), 160, 48);
    La_Moved = ovkit::placedLabel(this, "La_Moved", QString(), 31, 68);
    La_Moved->setMinimumWidth(187);
    PB_Transfer = ovkit::placedControl<QProgressBar>(this, "PB_Transfer", {31, 86, 187, 16});
    PB_Transfer->setAccessibleName(QStringLiteral("Transfer progress"));
    La_Moved->hide();
    PB_Transfer->hide();
    Ed_Reboot = hiddenEdit(this, "Ed_Reboot");
    Ed_FwVer = hiddenEdit(this, "Ed_FwVer");
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(ov::scaledInterval(1200));
    connect(Timer1, &QTimer::timeout, this, [this] { ov::runGuarded([this] { Timer1Timer(); }); });
    ov::runGuarded([this] { FormCreate(); });
}

TFM_Waiting::~TFM_Waiting() = default;

void TFM_Waiting::FormCreate() {
    firmwareBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
    firmwareBinding_->request.varList.Assign(OvSNMPVarList(mib::T44, SVT_SV, 0));
    firmwareBinding_->mode = 0;
    firmwareBinding_->BindEdit(0, "%s", Ed_FwVer);
    firmwareBinding_->Refresh();
    countdown = 40;
}

void TFM_Waiting::showTransfer(const OvTransferMeter& meter, qint64 fileSize) {
    const bool bar = fileSize > 0;
    setFixedSize(249, bar ? 110 : 90);
    PB_Transfer->setVisible(bar);
    PB_Transfer->setRange(0, static_cast<int>(std::min<qint64>(fileSize, INT_MAX)));
    La_Moved->show();
    const auto show = [this, bar, fileSize](qint64 octets) {
        La_Moved->setText(bar ? QStringLiteral("%1 of %2 bytes").arg(octets).arg(fileSize)
                              : QStringLiteral("%1 bytes").arg(octets));
        if (bar)
            PB_Transfer->setValue(static_cast<int>(std::min<qint64>(octets, fileSize)));
    };
    show(meter.reported());
    connect(&meter, &OvTransferMeter::progressed, this, show);
}

void TFM_Waiting::showEvent(QShowEvent* event) {
    OvDialog::showEvent(event);
    if (!Timer1->isActive())
        Timer1->start();
}

bool TFM_Waiting::deviceReady() const {
    return device_.statusText() == kOvReadyText;
}

void TFM_Waiting::Timer1Timer() {
    if (countdown != 1 || deviceReady()) {
        La_Time->setText(QString::number(countdown));
        --countdown;
    } else {
        ++notReadyCount_;
    }
    --restartTick;
    const bool closeNow = (countdown <= 0 && deviceReady()) || notReadyCount_ >= 6;
    // The restart goes out even in the tick that closes the window.
    if (restartPending_ && restartTick <= 0 && restartCommand)
        sendRestart();
    if (closeNow)
        reject();
}

void TFM_Waiting::sendRestart() {
    restartPending_ = false;
    restartBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
    restartBinding_->request.varList.Assign(OvSNMPVarList(mib::T32, SVT_SV, 0));
    restartBinding_->BindEdit(0, "%s", Ed_Reboot);
    Ed_Reboot->setText(QStringLiteral("reboot"));
    restartBinding_->Apply(true, true);
}

bool TFM_Waiting::FormCloseQuery() {
    if (notReadyCount_ > 2)
        countdown = 0;
    if (countdown > 0)
        return false;
    Timer1->stop();
    return true;
}

#include "moc_TFM_Waiting.cpp"
