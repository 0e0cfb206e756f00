#include "OvEditConstraint.h"

#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvUserChange.h"
#include "OvValueText.h"
#include "OvWidgetText.h"

#include <QLineEdit>

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

bool isMarker(const QString& text) {
    return ov::isMarkerText(utf8(text));
}

void putBack(EditConstraint_s& record) {
    if (!record.edit)
        return;
    const ov::CodeChange byCode;
    record.edit->setText(record.lastGoodText);
}

// The octets an apply would send for the box's text.
std::string sentOctets(const EditConstraint_s& record, const QString& text) {
    return ov::octetsFromWidget(text, record.filledOctets);
}

} // namespace

namespace ov {

void focusNextControl(QWidget* from) {
    QWidget* window = from->window();
    for (QWidget* w = from->nextInFocusChain(); w != nullptr && w != from;
         w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(window) &&
            w->window() == window) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace ov

OvEditConstraint::OvEditConstraint(QWidget* owner, bool remember)
    : owner_(owner), remember_(remember) {}

OvEditConstraint::~OvEditConstraint() {
    // The boxes may outlive us by a moment while their window is torn down.
    for (const auto& record : records_) {
        if (record->edit) {
            if (OvEditHooks* hooks = OvEditHooks::find(record->edit))
                hooks->takeOver({}, {});
        }
    }
}

void OvEditConstraint::AddFormat(const std::string& format, const QList<QLineEdit*>& edits) {
    const std::vector<std::string> specifiers = ov::splitEditFormat(format);
    for (std::size_t k = 0; k < specifiers.size() && k < static_cast<std::size_t>(edits.size());
         ++k)
        AddSpec(specifiers[k], edits[static_cast<qsizetype>(k)]);
}

void OvEditConstraint::AddSpec(const std::string& specifier, QLineEdit* edit) {
    auto record = std::make_unique<EditConstraint_s>();
    record->format = ov::parseEditSpec(specifier);
    record->edit = edit;
    if (record->format.width > 0)
        edit->setFixedWidth(record->format.width);
    ov::setTypingLimit(edit, record->format.lengthLimit);
    OvEditHooks::of(edit)->takeOver([this, edit] { CheckWhileTyping(edit); },
                                    [this, edit] { CheckOnExit(edit); });
    records_.push_back(std::move(record));
}

EditConstraint_s* OvEditConstraint::FindConstraint(const QLineEdit* edit) {
    for (const auto& record : records_) {
        if (record->edit == edit)
            return record.get();
    }
    return nullptr;
}

void OvEditConstraint::RememberText(QLineEdit* edit) {
    if (EditConstraint_s* record = FindConstraint(edit))
        record->lastGoodText = edit->text();
}

void OvEditConstraint::TextFilled(QLineEdit* edit, const std::string& octets) {
    if (EditConstraint_s* record = FindConstraint(edit)) {
        record->filledOctets = octets;
        record->lastGoodText = edit->text();
    }
}

void OvEditConstraint::CheckWhileTyping(QLineEdit* edit) {
    const QString text = edit->text();
    if (isMarker(text))
        return;
    EditConstraint_s* record = FindConstraint(edit);
    if (record == nullptr || text.isEmpty())
        return;
    const OvEditSpec& format = record->format;
    if (format.jump != 0 && text.contains(QLatin1Char(format.jump))) {
        QString rest = text;
        rest.remove(rest.indexOf(QLatin1Char(format.jump)), 1);
        const ov::CodeChange byCode;
        edit->setText(rest);
        ov::focusNextControl(edit);
        return;
    }
    const std::string octets = utf8(text);
    if (ov::firstRejected(format, octets) != std::string::npos) {
        // Every rejected character goes at once: one text change, one beep,
        // and the cursor stays after the characters kept before it.
        const int cursor = static_cast<int>(
            ov::withoutRejected(format, utf8(text.left(edit->cursorPosition()))).size());
        {
            const ov::CodeChange byCode;
            edit->setText(QString::fromStdString(ov::withoutRejected(format, octets)));
        }
        edit->setCursorPosition(cursor);
        ov::beep();
        return;
    }
    OvEditHooks::of(edit)->runChangeHandler();
    if (ov::editTag(edit) == -1)
        return;
    if ((format.lengthFlags & OvEditSpec::MoveOnWhenFull) && format.lengthLimit > 0 &&
        static_cast<long long>(sentOctets(*record, text).size()) == format.lengthLimit)
        ov::focusNextControl(edit);
}

void OvEditConstraint::CheckOnExit(QLineEdit* edit) {
    const QString text = edit->text();
    if (isMarker(text))
        return;
    EditConstraint_s* record = FindConstraint(edit);
    if (record == nullptr)
        return;
    const OvExitCheck check = ov::checkOnExit(record->format, sentOctets(*record, text));
    switch (check.outcome) {
    case OvExitCheck::Ignored:
        return;
    case OvExitCheck::Passed:
        OvEditHooks::of(edit)->runExitHandler();
        if (ov::editTag(edit) == -1)
            putBack(*record);
        else if (remember_)
            record->lastGoodText = edit->text();
        return;
    case OvExitCheck::Failed:
        ov::errorBox(owner_, QString::fromStdString(check.message));
        putBack(*record);
        edit->setFocus(Qt::OtherFocusReason);
        return;
    }
}

void OvEditConstraint::SetHandlers(QLineEdit* edit, std::function<void()> change,
                                   std::function<void()> exit) {
    ov::setEditHandlers(edit, std::move(change), std::move(exit));
}
