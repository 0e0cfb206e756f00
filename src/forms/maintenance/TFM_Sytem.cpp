#include "TFM_Sytem.h"

#include "DeviceMib.h"
#include "OvDialogs.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvWidgetText.h"
#include "TFM_Waiting.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using ovkit::placedControl;
using ovkit::placedLabel;

namespace {

constexpr int kReboot = 1;          // the item "reboot" of FactoryDefault
constexpr int kResetTimeout = 5000; // 50 s: the device answers once it has reset

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect geometry,
                    QLabel* says) {
    auto* b = placedControl<QPushButton>(parent, name, geometry);
    b->setText(text);
    b->setAutoDefault(false);
    b->setAccessibleDescription(says->text().trimmed());
    return b;
}

QComboBox* hiddenCombo(QWidget* parent, const char* name) {
    auto* combo = placedControl<QComboBox>(parent, name, {16, 80, 100, 21});
    ovkit::neverVisible(combo);
    return combo;
}

} // namespace

TFM_Sytem::TFM_Sytem(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_Sytem::~TFM_Sytem() {
    FormClose();
}

void TFM_Sytem::buildControls() {
    setFixedSize(330, 104);
    ovkit::frameWindow(this, QStringLiteral("Tools \\ System"));
    Label1 = placedLabel(this, "Label1", QStringLiteral("Apply Settings and Restart "), 16, 18);
    Button1 = button(this, "Button1", QStringLiteral("Restart"), {240, 12, 75, 25}, Label1);
    Label2 =
        placedLabel(this, "Label2", QStringLiteral("Restore to Factory Default Settings"), 16, 52);
    Button2 = button(this, "Button2", QStringLiteral("Restore"), {240, 46, 75, 25}, Label2);
    CB_Restore = hiddenCombo(this, "CB_Restore");
    CB_Restart = hiddenCombo(this, "CB_Restart");
    StatusBar = placedControl<OvStatusBar>(this, "StatusBar", {0, 85, 330, 19});
    StatusBar->addPanel(0);
    ov::onSignal(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    ov::onSignal(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TFM_Sytem::FormCreate() {
    try {
        resetBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
        resetBinding_->request.varList.Assign(OvSNMPVarList(mib::T28, SVT_SV, 0));
        resetBinding_->request.timeout = kResetTimeout;
        resetBinding_->OnSetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
            ResetDone(result);
        };
        resetBinding_->BindComboBox(0, CB_Restore);
        resetBinding_->SetStatusTarget(StatusBar);
        resetBinding_->Refresh();
    } catch (...) {
        showError(std::current_exception());
    }
}

void TFM_Sytem::FormClose() {
    // An answer still on its way reaches nothing of a window that is going.
    if (resetBinding_) {
        resetBinding_->request.active = 0;
        resetBinding_->OnSetDone = nullptr;
    }
    resetBinding_.reset();
}

TFM_Waiting* TFM_Sytem::waitingWindow() const {
    return waiting_;
}

void TFM_Sytem::showError(std::exception_ptr error) {
    ovkit::showSimple(StatusBar, ov::errorText(error));
}

bool TFM_Sytem::confirmReboot() {
    return ov::messageBox(this, QStringLiteral("Warning"),
                          QStringLiteral("Device will reboot, continue?"),
                          QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void TFM_Sytem::Button1Click() {
    try {
        restart();
    } catch (...) {
        showError(std::current_exception());
    }
}

void TFM_Sytem::Button2Click() {
    try {
        restore();
    } catch (...) {
        showError(std::current_exception());
    }
}

// The wait window sends the restart itself.
void TFM_Sytem::restart() {
    if (!confirmReboot())
        return;
    TFM_Waiting waiting(device_, this);
    waiting.setWindowTitle(QStringLiteral("System is rebooting, please waiting....."));
    waiting.exec();
}

void TFM_Sytem::restore() {
    if (!resetBinding_ || !confirmReboot())
        return;
    // Chosen after the question: an answer to the opening read that comes while
    // it is asked would otherwise select "nothing", and 0 would be written.
    CB_Restore->setCurrentIndex(kReboot);
    resetBinding_->Apply(true, true);
    TFM_Waiting waiting(device_, this);
    waiting.countdown = 100;
    waiting.restartCommand = false;
    waiting.setWindowTitle(QStringLiteral("System is rebooting, please waiting.....!"));
    waiting.Label1->setText(QStringLiteral("please waiting....."));
    waiting.La_Time->hide();
    waiting.seconds->hide();
    waiting.Label3->setText(QStringLiteral("The system IP will be 192.168.0.50 !"));
    waiting_ = &waiting;
    waiting.exec();
    waiting_ = nullptr;
}

// The reset's answer, while the wait window counts down: a failure ends the
// wait early; a success restarts the device and waits for it from now on.
void TFM_Sytem::ResetDone(const OvSNMPError& result) {
    StatusBar->panel(0)->setText(ov::widgetText(result.message));
    StatusBar->setSimplePanel(false);
    TFM_Waiting* waiting = waiting_;
    if (waiting == nullptr)
        return;
    if (result.code != 0) {
        waiting->countdown = 2;
        return;
    }
    waiting->countdown = 35;
    waiting->restartCommand = true;
    waiting->Label2->setText(QStringLiteral("The device is restarting."));
    waiting->Label1->setText(QStringLiteral("Please waiting for "));
    waiting->La_Time->show();
    waiting->seconds->show();
}

#include "moc_TFM_Sytem.cpp"
