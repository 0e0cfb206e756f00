#include "TLogForm.h"

#include "DeviceMib.h"
#include "OvButtonRow.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvWidgetText.h"
#include "TLogSetForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using ovkit::button;
using ovkit::control;

namespace {

constexpr int kTriggerItem = 1; // "get" and "clear"

} // namespace

TLogForm::TLogForm(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TLogForm::~TLogForm() {
    FormClose();
}

void TLogForm::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Advanced \\ System Log"),
                       Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    ViewGrpBox = control<QGroupBox>(this, "ViewGrpBox");
    ViewGrpBox->setTitle(QStringLiteral("View Log"));
    ViewListView = control<OvListView>(ViewGrpBox, "ViewListView");
    ViewListView->setAccessibleName(ViewGrpBox->title());
    auto* view = new QVBoxLayout(ViewGrpBox);
    view->addWidget(ViewListView);

    GetCoBox = control<QComboBox>(this, "GetCoBox");
    Bt_Clear = control<QComboBox>(this, "Bt_Clear");
    for (QComboBox* trigger : {GetCoBox, Bt_Clear}) {
        ovkit::neverVisible(trigger);
    }
    Clear_Btn = button(this, "Clear_Btn", QStringLiteral("Clear"));
    SetBtn = button(this, "SetBtn", QStringLiteral("Log Settings"));
    GetBtn = button(this, "GetBtn", QStringLiteral("Get Log"));
    CloseBtn = button(this, "CloseBtn", QStringLiteral("Close"));
    StatusBar1 = control<OvStatusBar>(this, "StatusBar1");
    StatusBar1->addPanel(0);

    // The buttons keep their shares of the window's width when it is resized.
    auto* buttons = new OvButtonRow(this);
    buttons->add(Clear_Btn, 40, 478);
    buttons->add(SetBtn, 142, 478);
    buttons->add(GetBtn, 252, 478);
    buttons->add(CloseBtn, 368, 478);
    QVBoxLayout* content = ovkit::contentAboveStatusBar(this, StatusBar1, 10);
    content->addWidget(ViewGrpBox, 1);
    content->addWidget(buttons);
    resize(520, 360);

    const std::pair<QPushButton*, void (TLogForm::*)()> clicks[] = {
        {Clear_Btn, &TLogForm::Clear_BtnClick},
        {SetBtn, &TLogForm::SetBtnClick},
        {GetBtn, &TLogForm::GetBtnClick},
        {CloseBtn, &TLogForm::CloseBtnClick},
    };
    for (const auto& [b, handler] : clicks)
        ov::onSignal(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
}

// Errors are not reported: what was made up to then stays, and the settings
// show their empty boxes.
void TLogForm::FormCreate() {
    try {
        createBindings();
        fetchTrigger_->Refresh();
        settings_->Refresh();
        clearTrigger_->Refresh();
    } catch (...) {
    }
}

// Everything is made before the first read, so that an error stopping the
// reads leaves no button without its binding or its settings window; the
// reads go out in the same order as ever. The log is fetched only on request.
void TLogForm::createBindings() {
    fetchTrigger_ = bindings_.make<OvSNMPRequest2Edits>(this);
    fetchTrigger_->request.varList.Assign(OvSNMPVarList(mib::T76, SVT_SV, 0));
    fetchTrigger_->BindComboBox(0, GetCoBox);

    logSettings_ = new TLogSetForm(device_, this);
    settings_ = bindings_.make<OvSNMPRequest2Edits>(this);
    settings_->request.varList.Assign(OvSNMPVarList(mib::T75, MVT_SV, 0));
    settings_->mode = 0;
    settings_->BindCheckBox(0, logSettings_->SysLevCeBox);
    settings_->BindCheckBox(1, logSettings_->WirelessLevCeBox);
    settings_->BindCheckBox(2, logSettings_->NoticeLevCeBox);
    settings_->BindEdit(3, "%s", logSettings_->LogServerEdit);
    logSettings_->useSettings(settings_, StatusBar1);

    clearTrigger_ = bindings_.make<OvSNMPRequest2Edits>(this);
    clearTrigger_->request.varList.Assign(OvSNMPVarList(mib::T77, SVT_SV, 0));
    clearTrigger_->BindComboBox(0, Bt_Clear);

    logTable_ = bindings_.make<OvSNMPRequest2Edits>(this);
    logTable_->request.varList.Assign(OvSNMPVarList(mib::T78, MVT_UMV, 1));
    logTable_->BindListView(ViewListView, true);
    logTable_->OnGetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
        LogArrived(result);
    };
}

TLogSetForm* TLogForm::logSettings() const {
    return logSettings_;
}

void TLogForm::enableButtons(bool enabled) {
    for (QPushButton* b : {Clear_Btn, SetBtn, GetBtn, CloseBtn})
        b->setEnabled(enabled);
}

// The device takes a snapshot of its log when asked, before the walk. The
// buttons stay off, and the window open, only while a walk is outstanding: a
// walk that could not start leaves nothing to wait for.
void TLogForm::GetBtnClick() {
    if (fetchTrigger_ == nullptr || logTable_ == nullptr)
        return;
    try {
        GetCoBox->setCurrentIndex(kTriggerItem);
        fetchTrigger_->Apply(true, true);
        logTable_->Refresh();
    } catch (...) {
        StatusBar1->panel(0)->setText(ov::errorText(std::current_exception()));
    }
    if (logTable_->IsBusy())
        enableButtons(false);
}

// The columns, made as wide as their captions, widen to show the lines whole.
void TLogForm::LogArrived(const OvSNMPError& result) {
    ViewListView->resizeColumnsToContents();
    StatusBar1->panel(0)->setText(ov::widgetText(result.message));
    enableButtons(true);
}

// The write is not waited for: the list empties whatever the device answers.
void TLogForm::Clear_BtnClick() {
    if (clearTrigger_ == nullptr)
        return;
    try {
        Bt_Clear->setCurrentIndex(kTriggerItem);
        if (clearTrigger_->Apply(true, true))
            ViewListView->clearItems();
    } catch (...) {
        StatusBar1->panel(0)->setText(ov::errorText(std::current_exception()));
    }
}

void TLogForm::SetBtnClick() {
    if (logSettings_)
        logSettings_->exec();
}

void TLogForm::CloseBtnClick() {
    close();
}

bool TLogForm::FormCloseQuery() {
    return CloseBtn->isEnabled();
}

// The bindings go before the settings window whose controls they fill.
void TLogForm::FormClose() {
    bindings_.release();
    fetchTrigger_ = settings_ = clearTrigger_ = logTable_ = nullptr;
    delete logSettings_;
}

#include "moc_TLogForm.cpp"
