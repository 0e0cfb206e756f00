// What the wireless window's parts share when they build and set controls:
// named controls, labels that name their boxes, never-visible controls, the
// read-only look, choices picked by their text, and the channel choice.
#pragma once

#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace ovwireless {

// A control with the design's name as its object name.
template <typename T> T* named(QWidget* parent, const QString& name) {
    auto* control = new T(parent);
    control->setObjectName(name);
    return control;
}

// A plain-text label; with a buddy it is the name screen readers give that box.
QLabel* label(QWidget* parent, const QString& name, const QString& text, QWidget* buddy = nullptr);

// A control the user never sees: it carries a device value between the
// window's procedures. Screen readers, which may still list it, get its name.
void neverVisible(QWidget* control);

// Editable in the normal window colour, or read-only in the page colour.
void setEditable(QLineEdit* edit, bool editable);
bool isEditable(const QLineEdit* edit);

// Selects the item with this text; nothing when there is none.
void selectText(QComboBox* comboBox, const QString& text);

// Fills the drop-down list from a space-separated channel list and selects the
// item equal to the value text; answers whether one was selected.
bool FillChannelChoices(const QString& list, QComboBox* comboBox, const QString& value);

} // namespace ovwireless
