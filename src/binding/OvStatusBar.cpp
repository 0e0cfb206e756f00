#include "OvStatusBar.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

// A status part: its name is the text it shows; the name a window gave it
// says what the part is for and becomes its description.
class StatusTextAccessible : public QAccessibleWidget {
public:
    explicit StatusTextAccessible(QWidget* part)
        : QAccessibleWidget(part, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<const QLabel*>(widget())->text();
        if (t == QAccessible::Description) {
            const QString description = widget()->accessibleDescription();
            return description.isEmpty() ? widget()->accessibleName() : description;
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* statusTextFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("OvStatusPanel") && object != nullptr && object->isWidgetType())
        return new StatusTextAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

void announceName(QObject* part) {
    QAccessibleEvent changed(part, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

} // namespace

OvStatusPanel::OvStatusPanel(int width, QWidget* parent) : QLabel(parent) {
    // Before the first interface of a panel is made, so that every panel has ours.
    static const bool installed = (QAccessible::installFactory(statusTextFactory), true);
    Q_UNUSED(installed);
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    if (width > 0)
        setFixedWidth(width);
}

void OvStatusPanel::setText(const QString& text) {
    if (text == QLabel::text())
        return;
    QLabel::setText(text);
    if (!accessibleName().isEmpty())
        announceName(this);
}

OvStatusBar::OvStatusBar(QWidget* parent)
    : QStatusBar(parent), simple_(new OvStatusPanel(0, this)) {
    simple_->setFrameShape(QFrame::NoFrame);
    addWidget(simple_, 1);
    setSizeGripEnabled(false);
    setAccessibleName(QStringLiteral("Status"));
}

void OvStatusBar::setSimpleText(const QString& text) {
    simple_->setText(text);
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

namespace ov {

void showStatusText(QLabel* label, const QString& text) {
    if (auto* panel = qobject_cast<OvStatusPanel*>(label)) {
        panel->setText(text);
        return;
    }
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    if (!label->accessibleName().isEmpty())
        label->setAccessibleDescription(text); // announced by Qt
}

} // namespace ov

#include "moc_OvStatusBar.cpp"
