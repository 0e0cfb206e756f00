#include "OvButtonRow.h"

#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>

OvButtonRow::OvButtonRow(QWidget* parent) : QWidget(parent) {}

void OvButtonRow::add(QPushButton* button, int numerator, int denominator) {
    button->setParent(this);
    buttons_.push_back({button, numerator, denominator});
    place();
}

QSize OvButtonRow::sizeHint() const {
    return minimumSizeHint();
}

// Wide enough that no button overlaps the next one or leaves the row.
QSize OvButtonRow::minimumSizeHint() const {
    int width = 0, height = 0;
    for (const Placed& p : buttons_) {
        const QSize hint = p.button->sizeHint();
        width = std::max(width,
                         hint.width() * p.denominator / std::max(1, p.denominator - p.numerator));
        height = std::max(height, hint.height());
    }
    int needed = 0;
    for (const Placed& p : buttons_)
        needed += p.button->sizeHint().width() + 8;
    return {std::max(width, needed), height + 8};
}

void OvButtonRow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
}

void OvButtonRow::place() {
    for (const Placed& p : buttons_) {
        const QSize hint = p.button->sizeHint();
        const int left = width() * p.numerator / p.denominator;
        p.button->setGeometry(left, (height() - hint.height()) / 2, hint.width(), hint.height());
    }
}

#include "moc_OvButtonRow.cpp"
