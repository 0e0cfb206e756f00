#include "TFM_Admin.h"

#include "DeviceMib.h"
#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvEditConstraint.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvWidgetText.h"
#include "TFM_Waiting.h"

#include <QLineEdit>
#include <QPushButton>

using ovkit::placedControl;
using ovkit::placedLabel;

namespace {

constexpr int kUserName = 0, kPassword = 1; // positions in the account list (T27)
constexpr int kAccountTimeout = 1000;       // 10 s
constexpr int kTypingLimit = 12;
// What the device keeps: a name of up to 40 octets, a password of up to 12.
constexpr std::size_t kMaxUserName = 40, kMaxPassword = 12;

QLineEdit* passwordEdit(QWidget* parent, const char* name, QRect geometry, QLabel* label) {
    auto* edit = placedControl<QLineEdit>(parent, name, geometry, label);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

} // namespace

TFM_Admin::TFM_Admin(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_Admin::~TFM_Admin() {
    FormClose();
}

void TFM_Admin::buildControls() {
    setFixedSize(373, 165);
    ovkit::frameWindow(this, QStringLiteral("Tools \\ Admin"), Qt::WindowMinimizeButtonHint);
    Label1 = placedLabel(this, "Label1", QStringLiteral("User Name"), 16, 15);
    Ed_Usr = placedControl<QLineEdit>(this, "Ed_Usr", {162, 12, 113, 21}, Label1);
    Label2 = placedLabel(this, "Label2", QStringLiteral("Old Password"), 16, 43);
    Ed_OPwd = passwordEdit(this, "Ed_OPwd", {162, 40, 113, 21}, Label2);
    Label3 = placedLabel(this, "Label3", QStringLiteral("New Password"), 16, 71);
    Ed_NPwd = passwordEdit(this, "Ed_NPwd", {162, 68, 113, 21}, Label3);
    Label4 = placedLabel(this, "Label4", QStringLiteral("Confirm New Password"), 16, 99);
    Ed_CNP = passwordEdit(this, "Ed_CNP", {162, 96, 113, 21}, Label4);
    // The password read from the device: never shown, never read out.
    Ed_Pwd = placedControl<QLineEdit>(this, "Ed_Pwd", {162, 124, 113, 21});
    Ed_Pwd->setEchoMode(QLineEdit::Password);
    Ed_Pwd->setAccessibleName(QStringLiteral("Ed_Pwd"));
    Ed_Pwd->hide();
    OK = placedControl<QPushButton>(this, "OK", {286, 12, 75, 25});
    OK->setText(QStringLiteral("OK"));
    Cancel = placedControl<QPushButton>(this, "Cancel", {286, 44, 75, 25});
    Cancel->setText(QStringLiteral("Cancel"));
    for (QPushButton* b : {OK, Cancel})
        b->setAutoDefault(false);
    StatusBar = placedControl<OvStatusBar>(this, "StatusBar", {0, 146, 373, 19});
    ov::onSignal(OK, &QPushButton::clicked, this, [this] { OKClick(); });
    ov::onSignal(Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
}

void TFM_Admin::FormCreate() {
    try {
        accountBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
        accountBinding_->request.varList.Assign(OvSNMPVarList(mib::T27, SVT_SV, 0));
        accountBinding_->mode = 0;
        accountBinding_->request.timeout = kAccountTimeout;
        accountBinding_->BindEdit(kUserName, "%s", Ed_Usr);
        accountBinding_->BindEdit(kPassword, "%s", Ed_Pwd);
        accountBinding_->SetStatusTarget(StatusBar);
        // A synchronous binding reports nothing itself: its failures become
        // the status line of the operation.
        accountBinding_->request.resultHook = [this](const OvSNMPError& result) {
            failure_ = result.message;
        };
        accountRead_ = accountBinding_->Refresh();
        if (!accountRead_)
            accountBinding_->ShowStatusOf(0, ov::widgetText(failure_));
    } catch (...) {
        accountRead_ = false;
        StatusBar->setSimpleText(ov::errorText(std::current_exception()));
    }
    for (QLineEdit* edit : {Ed_Usr, Ed_OPwd, Ed_NPwd, Ed_CNP})
        ov::setTypingLimit(edit, kTypingLimit);
}

void TFM_Admin::FormClose() {
    accountBinding_.reset();
}

std::string TFM_Admin::octetsOf(QLineEdit* edit) {
    const EditConstraint_s* record = accountBinding_->constraints().FindConstraint(edit);
    return ov::octetsFromWidget(edit->text(), record ? record->filledOctets : std::string());
}

void TFM_Admin::warn(const QString& text) {
    ov::messageBox(this, QStringLiteral("Warning"), text);
}

void TFM_Admin::CancelClick() {
    close();
}

void TFM_Admin::OKClick() {
    if (!accountBinding_)
        return;
    // The old password is compared with the one read: without it any entry
    // would pass, and a write would go out unchecked.
    if (!accountRead_) {
        StatusBar->setSimpleText(
            QStringLiteral("The account could not be read: nothing was written."));
        return;
    }
    if (!checkEntries())
        return;
    if (!writeAccount()) {
        StatusBar->setSimpleText(QStringLiteral("Setting Error!"));
        return;
    }
    TFM_Waiting waiting(device_, this);
    waiting.exec();
}

bool TFM_Admin::checkEntries() {
    if (Ed_OPwd->text() != Ed_Pwd->text()) {
        warn(QStringLiteral("Please input the current password correctly!"));
        return false;
    }
    if (octetsOf(Ed_Usr).size() > kMaxUserName) {
        warn(QStringLiteral("Please limit user name to 40 characters!"));
        Ed_Usr->clear();
        return false;
    }
    if (!ovkit::textCheck(this, Ed_Usr->text(), ovrules::TextCheckMode::NoQuotationMark)) {
        Ed_Usr->setFocus();
        return false;
    }
    if (Ed_NPwd->text().toUtf8().size() > static_cast<qsizetype>(kMaxPassword)) {
        warn(QStringLiteral("Please limit password to 12 characters!"));
        Ed_NPwd->clear();
        return false;
    }
    if (Ed_NPwd->text() != Ed_CNP->text()) {
        warn(QStringLiteral("Please input the confirm new password correctly!"));
        return false;
    }
    if (!ovkit::textCheck(this, Ed_NPwd->text(), ovrules::TextCheckMode::NoQuotationMark)) {
        Ed_NPwd->setFocus();
        return false;
    }
    return true;
}

// Name and new password go out in one SET. A refused one leaves the password
// read in place, so the old password check still compares with the device's.
// Empty new password boxes keep the password read: a rename alone must not
// leave the device without one.
bool TFM_Admin::writeAccount() {
    const QString readPassword = Ed_Pwd->text();
    if (!Ed_NPwd->text().isEmpty())
        Ed_Pwd->setText(Ed_NPwd->text());
    failure_.clear();
    bool written = false;
    try {
        written = accountBinding_->Apply(true, true);
    } catch (...) {
        Ed_Pwd->setText(readPassword);
        throw;
    }
    if (!written)
        Ed_Pwd->setText(readPassword);
    return written;
}

#include "moc_TFM_Admin.cpp"
