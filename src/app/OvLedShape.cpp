#include "OvLedShape.h"

#include <QPainter>

OvLedShape::OvLedShape(const QString& objectName, const QString& accessibleName, QWidget* parent)
    : QWidget(parent), colour_(offColour()) {
    setObjectName(objectName);
    setAccessibleName(accessibleName);
    setFixedSize(9, 9);
    describe();
}

void OvLedShape::setColour(const QColor& colour) {
    if (colour == colour_)
        return;
    colour_ = colour;
    describe();
    update();
}

void OvLedShape::setBlinking(bool blinking) {
    blinking_ = blinking;
    describe();
}

void OvLedShape::toggle() {
    setColour(colour_ == offColour() ? litColour() : offColour());
}

void OvLedShape::describe() {
    const QString state = blinking_ && blinkFlag_ ? QStringLiteral("blinking")
                          : isLit()               ? QStringLiteral("lit")
                                                  : QStringLiteral("off");
    if (accessibleDescription() != state)
        setAccessibleDescription(state);
}

void OvLedShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.setBrush(colour_);
    painter.drawEllipse(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
}

#include "moc_OvLedShape.cpp"
