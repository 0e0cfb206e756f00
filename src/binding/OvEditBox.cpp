#include "OvEditBox.h"

#include "OvGuard.h"
#include "OvUserChange.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

const char* const kTagProperty = "ovTag";

// Swallows the mouse press that is being delivered to a control that took the
// focus from a box whose exit handling took it back; gone after that press or
// at the next loop turn (the focus came by keyboard).
class ClickEater : public QObject {
public:
    explicit ClickEater(QWidget* target) : QObject(target) {
        target->installEventFilter(this);
        QTimer::singleShot(0, this, [this] { deleteLater(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonPress &&
            event->type() != QEvent::MouseButtonDblClick)
            return false;
        // The control never goes down, so the release that follows clicks nothing.
        watched->removeEventFilter(this);
        deleteLater();
        return true;
    }
};

bool isExitReason(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::MouseFocusReason || reason == Qt::OtherFocusReason;
}

// Text that an assistive technology sets reaches the box as a plain setText:
// it is the user's when the module's code is not setting controls, the box is
// one the user can edit, and no input event is being delivered to it.
bool assistiveEdit(const QLineEdit* edit, bool typing) {
    return !typing && !ov::CodeChange::active() && edit->isVisible() && edit->isEnabled() &&
           !edit->isReadOnly();
}

// Qt's maximum length cuts text set by code; this limit judges user edits only.
// User edits are told apart by dispatching the box's input events ourselves
// (and by assistiveEdit). An edit that would grow the text past the limit loses
// the inserted characters that do not fit (a paste is cut, a key does nothing).
class TypingLimit : public QValidator {
public:
    explicit TypingLimit(QLineEdit* edit) : QValidator(edit), edit_(edit) {
        edit->installEventFilter(this);
        previous_ = edit->text();
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { previous_ = text; });
    }

    int limit = 0;
    bool typing() const { return userInput_; }

    State validate(QString& input, int& position) const override {
        if (limit <= 0 || (!userInput_ && !assistiveEdit(edit_, false)))
            return Acceptable;
        const qsizetype allowed = std::max<qsizetype>(limit, octets(previous_));
        bool cut = false;
        while (octets(input) > allowed && position > 0) {
            // The inserted characters stand just before the cursor.
            const int width = position > 1 && input.at(position - 1).isLowSurrogate() ? 2 : 1;
            input.remove(position - width, width);
            position -= width;
            cut = true;
        }
        // A key the limit leaves nothing of is refused; a whole text set at
        // once is taken as cut (a refused setText would keep the text uncut).
        // A key typed over a selection of the same text is taken: it ends
        // the selection, so the next key adds to the text.
        return userInput_ && cut && input == previous_ ? Invalid : Acceptable;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != edit_ || dispatching_ || !isUserInput(event->type()))
            return false;
        dispatching_ = userInput_ = true;
        static_cast<QObject*>(edit_)->event(event);
        dispatching_ = userInput_ = false;
        return true;
    }

private:
    static qsizetype octets(const QString& text) { return text.toUtf8().size(); }
    static bool isUserInput(QEvent::Type type) {
        switch (type) {
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::Drop:
        case QEvent::ContextMenu:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            return true;
        default:
            return false;
        }
    }

    QLineEdit* edit_;
    QString previous_;
    bool userInput_ = false;
    bool dispatching_ = false;
};

TypingLimit* typingLimitOf(const QLineEdit* edit) {
    return dynamic_cast<TypingLimit*>(const_cast<QValidator*>(edit->validator()));
}

// Whether an input event is being delivered to the box. A box with a validator
// of its own cannot tell: it counts as typed into while it has the focus.
bool typingInto(const QLineEdit* edit) {
    const TypingLimit* limit = typingLimitOf(edit);
    return limit != nullptr ? limit->typing() : edit->hasFocus();
}

} // namespace

OvEditHooks::OvEditHooks(QLineEdit* edit)
    : QObject(edit), edit_(edit), hadFocus_(edit->hasFocus()) {
    setObjectName(QStringLiteral("ovEditHooks"));
    // The typing limit (none) tells typing apart from other changes.
    if (edit->validator() == nullptr)
        ov::setTypingLimit(edit, 0);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this] { changed(); });
}

OvEditHooks* OvEditHooks::of(QLineEdit* edit) {
    if (OvEditHooks* hooks = find(edit))
        return hooks;
    return new OvEditHooks(edit);
}

OvEditHooks* OvEditHooks::find(const QLineEdit* edit) {
    return edit->findChild<OvEditHooks*>(QStringLiteral("ovEditHooks"), Qt::FindDirectChildrenOnly);
}

void OvEditHooks::runChangeHandler() {
    if (windowChange_)
        windowChange_();
}

void OvEditHooks::runExitHandler() {
    if (windowExit_)
        windowExit_();
}

void OvEditHooks::takeOver(Handler change, Handler exit) {
    constraintChange_ = std::move(change);
    constraintExit_ = std::move(exit);
}

void OvEditHooks::changed() {
    // Text an assistive technology set without the box ever having the focus:
    // the change is complete, so the box is left at once, and the checks that
    // leaving a typed-in box runs run now.
    const bool leftAtOnce = assistiveEdit(edit_, typingInto(edit_)) && !edit_->hasFocus();
    ov::runUserHandler(this, [this] {
        if (constraintChange_)
            constraintChange_();
        else
            runChangeHandler();
    });
    if (leftAtOnce)
        leave(nullptr);
}

bool OvEditHooks::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_)
        return false;
    if (event->type() == QEvent::FocusIn) {
        hadFocus_ = true;
    } else if (event->type() == QEvent::FocusOut) {
        // A box that the focus only passed through (an exit handler took it
        // back before it arrived) was never entered, so it is not left either.
        const bool entered = std::exchange(hadFocus_, false);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        QWidget* taker = QApplication::focusWidget();
        if (entered && isExitReason(reason) && taker != nullptr && taker != edit_ &&
            taker->window() == edit_->window())
            leave(taker);
    }
    return false;
}

void OvEditHooks::leave(QWidget* taker) {
    // As every handler an assistive call sets off, the exit checks wait for the
    // call to have returned.
    ov::afterAssistiveCall(this,
                           [this, later = QPointer<QWidget>(taker), hadTaker = taker != nullptr] {
                               if (later || !hadTaker)
                                   exited(later);
                           });
}

void OvEditHooks::exited(QWidget* taker) {
    if (inExit_)
        return;
    inExit_ = true;
    taker_ = taker;
    ov::runGuarded([this] {
        if (constraintExit_)
            constraintExit_();
        else
            runExitHandler();
    });
    if (taker_ && QApplication::focusWidget() == edit_)
        new ClickEater(taker_);
    taker_ = nullptr;
    inExit_ = false;
}

namespace ov {

void setEditHandlers(QLineEdit* edit, std::function<void()> change, std::function<void()> exit) {
    OvEditHooks* hooks = OvEditHooks::of(edit);
    hooks->setChangeHandler(std::move(change));
    hooks->setExitHandler(std::move(exit));
}

int editTag(const QLineEdit* edit) {
    return edit->property(kTagProperty).toInt();
}

void setEditTag(QLineEdit* edit, int tag) {
    edit->setProperty(kTagProperty, tag);
}

void setTypingLimit(QLineEdit* edit, int octets) {
    edit->setMaxLength(INT_MAX);
    TypingLimit* limit = typingLimitOf(edit);
    if (limit == nullptr) {
        limit = new TypingLimit(edit);
        edit->setValidator(limit);
    }
    limit->limit = octets > 0 ? octets : 0;
}

int typingLimit(const QLineEdit* edit) {
    const TypingLimit* limit = typingLimitOf(edit);
    return limit != nullptr ? limit->limit : 0;
}

} // namespace ov
