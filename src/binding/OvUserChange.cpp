#include "OvUserChange.h"

#include "OvGuard.h"
#include "OvRadioGroup.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QRadioButton>
#include <QThread>

#include <vector>

namespace {

// The event loop level of each raise, innermost last; a user's turn is -1.
std::vector<int>& raises() {
    static std::vector<int> levels;
    return levels;
}

int loopLevel() {
    return QThread::currentThread()->loopLevel();
}

const char* const kPicksName = "ovAssistivePicks";

// The drop-down list's selection made the current item. While the list is
// open the user is only moving through it: Enter or a click picks, as Qt does.
void commitListSelection(QComboBox* comboBox) {
    QAbstractItemView* list = comboBox->view();
    if (list == nullptr || list->isVisible() || ov::CodeChange::active())
        return;
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    if (selected.size() != 1)
        return;
    const int row = selected.front().row();
    if (row == comboBox->currentIndex())
        return;
    comboBox->setCurrentIndex(row);
    emit comboBox->activated(row);
    emit comboBox->textActivated(comboBox->itemText(row));
}

} // namespace

namespace ov {

CodeChange::CodeChange() {
    raises().push_back(loopLevel());
}

CodeChange::~CodeChange() {
    raises().pop_back();
}

bool CodeChange::active() {
    return !raises().empty() && raises().back() == loopLevel();
}

UserTurn::UserTurn() {
    raises().push_back(-1);
}

UserTurn::~UserTurn() {
    raises().pop_back();
}

QMetaObject::Connection onUserChange(QAbstractButton* button, QObject* context,
                                     std::function<void()> handler) {
    if (!button->isCheckable())
        return onSignal(button, &QAbstractButton::clicked, context, std::move(handler));
    // A radio button that goes off is the other half of a change already told.
    const bool onlyWhenChecked = qobject_cast<QRadioButton*>(button) != nullptr;
    return QObject::connect(button, &QAbstractButton::toggled, context,
                            [handler = std::move(handler), onlyWhenChecked, context](bool checked) {
                                if (CodeChange::active() || (onlyWhenChecked && !checked))
                                    return;
                                runUserHandler(context, handler);
                            });
}

QMetaObject::Connection onUserChange(QComboBox* comboBox, QObject* context,
                                     std::function<void()> handler) {
    acceptAssistivePicks(comboBox);
    return QObject::connect(comboBox, &QComboBox::currentIndexChanged, context,
                            [handler = std::move(handler), context] {
                                if (!CodeChange::active())
                                    runUserHandler(context, handler);
                            });
}

QMetaObject::Connection onUserChange(OvRadioGroup* radioGroup, QObject* context,
                                     std::function<void()> handler) {
    return onSignal(radioGroup, &OvRadioGroup::clicked, context, std::move(handler));
}

void acceptAssistivePicks(QComboBox* comboBox) {
    if (comboBox->findChild<QObject*>(QString::fromLatin1(kPicksName),
                                      Qt::FindDirectChildrenOnly) != nullptr)
        return;
    auto* watcher = new QObject(comboBox);
    watcher->setObjectName(QString::fromLatin1(kPicksName));
    // Not through runGuarded: that would make the pick the code's.
    QObject::connect(comboBox->view()->selectionModel(), &QItemSelectionModel::selectionChanged,
                     watcher, [comboBox] { commitListSelection(comboBox); });
}

} // namespace ov
