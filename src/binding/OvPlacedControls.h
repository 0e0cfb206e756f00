// Controls at the places a window's design gives them, for the fixed-size
// windows. The object name is the design's name; what assistive technologies
// read is the control's caption, or for a box the text of the label whose buddy
// it is (QLabel::setBuddy), never the object name.
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

// A control with its object name at its designed place.
template <typename T> T* placedControl(QWidget* parent, const char* name, QRect geometry) {
    auto* control = new T(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

// The same with the label that names it, as a reader of the window would.
template <typename T>
T* placedControl(QWidget* parent, const char* name, QRect geometry, QLabel* label) {
    T* control = placedControl<T>(parent, name, geometry);
    label->setBuddy(control);
    return control;
}

} // namespace ov
