// Changes made by the user, told apart from changes made by the module's code.
//
// A change is the user's however it came: a click, a key, or an assistive
// technology (a screen reader, voice control, a test driver). Qt does not give
// such changes the signals of a click: a check box's accessible Toggle emits
// `toggled` but not `clicked`, a combo box item chosen through the accessible
// list is only selected in the drop-down list, text set through the editable
// text interface arrives as a plain text change. So the handlers of user
// changes follow the state itself, and the module's own code raises
// CodeChange while it sets controls: then no such handler runs. Every handler
// run through ov::runGuarded (so every ov::onSignal handler), a refresh filling
// controls, and the binding's closures and hooks raise it themselves; code that
// sets controls elsewhere (a window's constructor) raises it explicitly.
#pragma once

#include <QMetaObject>

#include <functional>

class OvRadioGroup;
class QAbstractButton;
class QComboBox;
class QObject;

namespace ov {

// Raised for the life of the object; nests. It holds in the event loop it was
// raised in: a modal window or message box opened meanwhile runs its own loop,
// and what the user does there is the user's.
class CodeChange {
public:
    CodeChange();
    ~CodeChange();
    CodeChange(const CodeChange&) = delete;
    CodeChange& operator=(const CodeChange&) = delete;

    // True while the module's code is setting controls.
    static bool active();
};

// Lowers CodeChange for the life of the object, for code that lets the user
// act in the middle of its work (pending events processed during a table walk).
class UserTurn {
public:
    UserTurn();
    ~UserTurn();
    UserTurn(const UserTurn&) = delete;
    UserTurn& operator=(const UserTurn&) = delete;
};

// Runs the handler (through runGuarded) when the user changes the control: a
// check box ticked or cleared, a radio button checked, a push button clicked.
QMetaObject::Connection onUserChange(QAbstractButton* button, QObject* context,
                                     std::function<void()> handler);
// A combo box item chosen. Also makes an item that an assistive technology
// selects in the closed drop-down list the combo box's choice.
QMetaObject::Connection onUserChange(QComboBox* comboBox, QObject* context,
                                     std::function<void()> handler);
// A radio group item checked.
QMetaObject::Connection onUserChange(OvRadioGroup* radioGroup, QObject* context,
                                     std::function<void()> handler);

// Makes an item that an assistive technology selects in the combo box's closed
// drop-down list its current item, with the signals of a user's pick
// (`currentIndexChanged`, `activated`). Idempotent.
void acceptAssistivePicks(QComboBox* comboBox);

} // namespace ov
