// What the network and wireless windows build their laid-out controls with, and
// how their checks refuse a typed value. A control carries the design's object name; a
// label names its box for assistive technologies (QLabel::setBuddy).
#pragma once

#include <QString>

#include "OvAddressChecks.h"

#include <initializer_list>
#include <string>
#include <vector>

class OvListView;
class OvStatusBar;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ovnet {

// The caption of the network windows' refusals.
inline const QString kWarning = QStringLiteral("Warning");

// A new control of the window with its object name.
template <typename T> T* control(QWidget* parent, const QString& name) {
    auto* made = new T(parent);
    made->setObjectName(name);
    return made;
}

// A plain-text label that names its box (none: a caption of its own).
QLabel* label(QWidget* parent, const QString& name, const QString& text, QWidget* box = nullptr);

// A push button that Return in a box does not press.
QPushButton* button(QWidget* parent, const QString& name, const QString& text);

// A status bar for a window's foot, without a size grip (the windows have a
// fixed size); with one panel that takes the whole width when asked.
OvStatusBar* statusBar(QWidget* parent, const char* name, bool onePanel);

// Lays a window out: its content, below it a row of buttons at the right, both
// in a margin, and the status bar across the foot.
void layOutWindow(QWidget* window, QLayout* content, std::initializer_list<QPushButton*> buttons,
                  OvStatusBar* bar);

// A check's refusal: the message box (OK only), then the box, if any, emptied
// when asked and given the focus. Answers false, so that a check ends with it.
bool refuse(QWidget* window, QLineEdit* box, const QString& title, const QString& text, bool empty);

// The text check: shows the rule's refusal in a message box (OK only) and
// answers false, or answers true. The text goes to the rule as UTF-8.
bool textCheck(QWidget* parent, const QString& text, ovrules::TextCheckMode mode);

// One column of a list view, row by row, as the rules compare its texts.
std::vector<std::string> staticPoolColumn(const OvListView& list, int subItem);

} // namespace ovnet
