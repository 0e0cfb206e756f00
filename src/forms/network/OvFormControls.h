// What the network windows build their laid-out controls with, and how their
// checks refuse a typed value. A control carries the design's object name; a
// label names its box for assistive technologies (QLabel::setBuddy).
#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ovnet {

// A new control of the window with its object name.
template <typename T> T* control(QWidget* parent, const char* name) {
    auto* made = new T(parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

// A plain-text label that names its box.
QLabel* label(QWidget* parent, const char* name, const QString& text, QWidget* box);

// A push button that Return in a box does not press.
QPushButton* button(QWidget* parent, const char* name, const QString& text);

// A check's refusal: the message box (OK only), then the box, if any, emptied
// when asked and given the focus. Answers false, so that a check ends with it.
bool refuse(QWidget* window, QLineEdit* box, const QString& title, const QString& text, bool empty);

} // namespace ovnet
