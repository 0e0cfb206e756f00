// Controls at the places a window's design gives them, with their object and
// accessible names, for the fixed-size windows.
#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

namespace ov {

// A plain-text label at its designed place.
inline QLabel* placedLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    return label;
}

// A control with its object and accessible name at its designed place.
template <typename T> T* placedControl(QWidget* parent, const char* name, QRect geometry) {
    auto* control = new T(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

} // namespace ov
