#include "TConfigForm.h"

#include "OvDialogs.h"
#include "OvException.h"
#include "OvGuard.h"
#include "OvSNMPRequest2Edits.h"
#include "TSNMPPanels.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QVBoxLayout>

TConfigForm::TConfigForm(QWidget* owner) : OvDialog(owner), owner_(owner) {
    setObjectName("TConfigForm");
    resize(200, 100);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(kRefreshMessage)));
}

TConfigForm::~TConfigForm() {
    stopBindings();
    editor_ = 0;
    current_ = nullptr;
    bindings_.clear();
}

OvSNMPRequest2Edits* TConfigForm::binding(int index) const {
    if (index < 0 || index >= static_cast<int>(bindings_.size()))
        return nullptr;
    return bindings_[static_cast<std::size_t>(index)].get();
}

TSNMPEditorPanel* TConfigForm::SetEditor(std::unique_ptr<OvSNMPRequest2Edits> binding) {
    if (editor_ != 0)
        throw OvException(ovcode::UnknownError, "Can not change Type of a Config Form!");
    editor_ = 1;
    OvSNMPRequest2Edits& b = *binding;
    bindings_.push_back(std::move(binding));
    panel_ = new TSNMPEditorPanel(b, this);
    layout()->addWidget(panel_);
    connect(panel_, &TSNMPEditorPanel::closeRequested, this, [this] { CloseButton(); });
    FitWindow();
    return panel_;
}

void TConfigForm::SetValueWidth(TSNMPEditorPanel* panel, int width) {
    panel->edits()->setValueWidth(width);
    panel->edits()->LayoutRows();
    panel->resize(panel->fittingSize());
    panel->fitSplitters();
    FitWindow();
}

// The client area grows to the panel, up to 800 by 550; the rows scroll beyond.
void TConfigForm::FitWindow() {
    if (panel_ == nullptr)
        return;
    const QSize wanted = panel_->fittingSize();
    resize(std::max(width(), std::min(wanted.width(), kMaxWidth)),
           std::max(height(), std::min(wanted.height(), kMaxHeight)));
}

void TConfigForm::RefreshCurrent() {
    if (editor_ == 0 || bindings_.empty())
        return;
    OvSNMPRequest2Edits* first = bindings_.front().get();
    if (current_ != nullptr && current_ != first)
        current_->request.active = 0;
    first->request.active = 1;
    current_ = first;
    if (panel_ != nullptr)
        panel_->RefreshButton();
}

void TConfigForm::CloseButton() {
    try {
        close();
    } catch (...) {
        ov::messageBox(this, ov::executableName(), "Please initial close form");
    }
}

void TConfigForm::customEvent(QEvent* event) {
    if (event->type() == static_cast<QEvent::Type>(kRefreshMessage))
        ov::runGuarded([this] { RefreshCurrent(); });
}

void TConfigForm::showEvent(QShowEvent* event) {
    OvDialog::showEvent(event);
    if (owner_)
        move(owner_->frameGeometry().center() - rect().center());
}

void TConfigForm::FormClose() {
    stopBindings();
}

// No read of a closing window goes on: each request is stopped and the window
// waits for the step in progress (its time-out at most) to end.
void TConfigForm::stopBindings() {
    for (const auto& binding : bindings_) {
        binding->request.active = 0;
        const OvSNMPRequest& request = binding->request;
        const qint64 deadline = qint64(request.timeout) * 10 * (request.retries + 1) + 6000;
        QElapsedTimer waited;
        waited.start();
        while (binding->IsBusy() && waited.elapsed() < deadline) {
            QEventLoop pause;
            QTimer::singleShot(20, &pause, &QEventLoop::quit);
            pause.exec(QEventLoop::ExcludeUserInputEvents);
        }
    }
}

#include "moc_TConfigForm.cpp"
