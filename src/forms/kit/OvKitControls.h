// What every window builds with: controls with the design's object names,
// labels that name their box for assistive technologies (QLabel::setBuddy),
// buttons, status bars, read-only value boxes, the layout of a window, and how
// a check refuses a typed value. The rules behind the checks are in src/rules.
#pragma once

#include "OvAddressChecks.h"

#include <QLabel>
#include <QRect>
#include <QString>

#include <initializer_list>
#include <string>
#include <vector>

class OvListView;
class OvStatusBar;
class QComboBox;
class QHBoxLayout;
class QLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace ovkit {

// ---- Controls

// A window's title and frame: a title bar with the system menu and, by
// default, a close button only.
void frameWindow(QWidget* window, const QString& title,
                 Qt::WindowFlags buttons = Qt::WindowCloseButtonHint);

// A new control of the window with its object name.
template <typename T> T* control(QWidget* parent, const QString& name) {
    auto* made = new T(parent);
    made->setObjectName(name);
    return made;
}

// The same at the place the design gives it, for the fixed-size windows.
template <typename T> T* placedControl(QWidget* parent, const char* name, QRect geometry) {
    T* made = control<T>(parent, QString::fromLatin1(name));
    made->setGeometry(geometry);
    return made;
}

// A plain-text label that names its box (none: a caption of its own).
QLabel* label(QWidget* parent, const QString& name, const QString& text, QWidget* box = nullptr);

// A plain-text label at its designed place.
QLabel* placedLabel(QWidget* parent, const char* name, const QString& text, int x, int y);

// A placed control with the label that names it, as a reader of the window would.
template <typename T>
T* placedControl(QWidget* parent, const char* name, QRect geometry, QLabel* label) {
    T* made = placedControl<T>(parent, name, geometry);
    label->setBuddy(made);
    return made;
}

// A push button that Return in a box does not press.
QPushButton* button(QWidget* parent, const QString& name, const QString& text);

// A status bar for a window's foot, without a size grip (the windows have a
// fixed size); with one panel that takes the whole width when asked.
OvStatusBar* statusBar(QWidget* parent, const char* name, bool onePanel);

// Shows the text across the bar, in place of its panels.
void showSimple(OvStatusBar* bar, const QString& text);

// A read-only box on the button face, framed or borderless, that shows a value
// as the device sent it.
QLineEdit* valueBox(QWidget* parent, const char* name, bool framed = true);

// A control the user never sees: it carries a device value between the
// window's procedures. Screen readers, which may still list it, get its name.
void neverVisible(QWidget* control);

// Editable in the normal window colour, or read-only in the page colour.
void setEditable(QLineEdit* edit, bool editable);
bool isEditable(const QLineEdit* edit);

// A control's design name on a band's page: `name` followed by the 802.11a
// or the 802.11g ending ("CB_AuSc" with "" or "g").
QString bandControlName(const char* name, int band, const char* a, const char* g);

// ---- Values at the widget

// A typed text as the octets the device keeps (UTF-8).
std::string utf8(const QString& text);

// Selects the item with this text; nothing when there is none.
void selectText(QComboBox* comboBox, const QString& text);

// Fills the drop-down list from a space-separated channel list and selects the
// item equal to the value text; answers whether one was selected.
bool FillChannelChoices(const QString& list, QComboBox* comboBox, const QString& value);

// One column of a list view, row by row, as the rules compare its texts.
std::vector<std::string> listColumn(const OvListView& list, int subItem);

// ---- Layout

// A window's column within the margin, to be filled, and below it the status
// bar, if any, along the bottom edge. Answers the column.
QVBoxLayout* contentAboveStatusBar(QWidget* window, OvStatusBar* bar, int margin);

// A row of buttons at the right.
QHBoxLayout* buttonsAtRight(std::initializer_list<QWidget*> buttons);

// Lays a window out: its content, below it a row of buttons at the right, both
// in a margin, and the status bar across the foot.
void layOutWindow(QWidget* window, QLayout* content, std::initializer_list<QWidget*> buttons,
                  OvStatusBar* bar);

// ---- Refusals

// The caption of most checks' refusals.
inline const QString kWarning = QStringLiteral("Warning");

// A check's refusal: the message box (OK only), then the box, if any, emptied
// when asked and given the focus. Answers false, so that a check ends with it.
bool refuse(QWidget* window, QLineEdit* box, const QString& title, const QString& text, bool empty);

// The text check: shows the rule's refusal in a message box (OK only) and
// answers false, or answers true. The text goes to the rule as UTF-8.
bool textCheck(QWidget* parent, const QString& text, ovrules::TextCheckMode mode);

} // namespace ovkit
