// Input constraints on edit boxes: while the user types, characters the box may
// not hold are removed (all in one pass, with one beep); when the user leaves
// the box, the whole text is checked and a wrong one is reported, replaced by
// the last good text, and the focus comes back. The rules themselves are in
// core (OvEditRules.h); this is their Qt side.
#pragma once

#include "OvEditRules.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class QWidget;

// The constraint of one edit box.
struct EditConstraint_s {
    QPointer<QLineEdit> edit;
    OvEditSpec format;
    QString lastGoodText; // put back after a failed exit check; empty at first
    // The octets of the text a refresh wrote, for as long as the box shows that
    // text: they, not the text's UTF-8, are what an apply sends then.
    std::string filledOctets;
};

class OvEditConstraint {
public:
    // remember: every text that passes an exit check becomes the last good one.
    OvEditConstraint(QWidget* owner, bool remember);
    ~OvEditConstraint();
    OvEditConstraint(const OvEditConstraint&) = delete;
    OvEditConstraint& operator=(const OvEditConstraint&) = delete;

    // The k-th specifier of the format constrains the k-th box. Throws
    // OvException -2 for a bad specifier; the boxes before it stay registered.
    void AddFormat(const std::string& format, const QList<QLineEdit*>& edits);
    // Parses, then sets the box's width (option w) and typing limit (option l,
    // none without it) and takes over its change and exit handlers.
    void AddSpec(const std::string& specifier, QLineEdit* edit);

    EditConstraint_s* FindConstraint(const QLineEdit* edit);
    void RememberText(QLineEdit* edit);
    // A refresh wrote these octets' text into the box: it becomes the last good
    // text, and the checks count these octets while the box still shows it.
    void TextFilled(QLineEdit* edit, const std::string& octets);

    // The installed handlers.
    void CheckWhileTyping(QLineEdit* edit);
    void CheckOnExit(QLineEdit* edit);

    // A window registers its own change and exit handlers of a box here (or
    // with ov::setEditHandlers); the constraint calls them when the rules say.
    static void SetHandlers(QLineEdit* edit, std::function<void()> change,
                            std::function<void()> exit);

    QWidget* owner() const { return owner_; }
    bool remember() const { return remember_; }

private:
    QPointer<QWidget> owner_;
    bool remember_;
    std::vector<std::unique_ptr<EditConstraint_s>> records_;
};

namespace ov {

// Moves the focus to the next control in the tab order of the box's window.
void focusNextControl(QWidget* from);

} // namespace ov
