#include "OvStatusBar.h"

OvStatusPanel::OvStatusPanel(int width, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    if (width > 0)
        setFixedWidth(width);
}

OvStatusBar::OvStatusBar(QWidget* parent) : QStatusBar(parent), simple_(new QLabel(this)) {
    simple_->setTextFormat(Qt::PlainText);
    addWidget(simple_, 1);
    setSizeGripEnabled(false);
    setAccessibleName(QStringLiteral("Status"));
}

void OvStatusBar::setSimpleText(const QString& text) {
    simple_->setText(text);
    simple_->setAccessibleName(text);
}

QString OvStatusBar::simpleText() const {
    return simple_->text();
}

void OvStatusBar::setSimplePanel(bool on) {
    simplePanel_ = on;
    showParts();
}

OvStatusPanel* OvStatusBar::addPanel(int width) {
    auto* panel = new OvStatusPanel(width, this);
    addWidget(panel, width > 0 ? 0 : 1);
    panels_.push_back(panel);
    showParts();
    return panel;
}

OvStatusPanel* OvStatusBar::panel(int index) const {
    if (index < 0 || index >= panelCount())
        return nullptr;
    return panels_[static_cast<std::size_t>(index)];
}

void OvStatusBar::showParts() {
    const bool simple = simplePanel_ || panels_.empty();
    simple_->setVisible(simple);
    for (OvStatusPanel* p : panels_)
        p->setVisible(!simple);
}
