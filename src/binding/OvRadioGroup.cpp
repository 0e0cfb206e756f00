#include "OvRadioGroup.h"

#include "OvException.h"
#include "OvUserChange.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

OvRadioGroup::OvRadioGroup(const QString& title, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)), layout_(new QGridLayout(this)) {
    // A button checked by a click, a key or an assistive technology (whose
    // Toggle does not click) is the user's pick; one the code checks is not.
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !ov::CodeChange::active())
            emit clicked(id);
    });
    if (!title.isEmpty())
        setAccessibleName(title);
}

void OvRadioGroup::setItems(const QStringList& items) {
    const ov::CodeChange byCode;
    for (QAbstractButton* b : group_->buttons()) {
        group_->removeButton(b);
        delete b;
    }
    items_ = items;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setAccessibleName(items[i]);
        group_->addButton(b, i);
    }
    placeButtons();
}

void OvRadioGroup::setColumns(int columns) {
    columns_ = std::max(1, columns);
    placeButtons();
}

void OvRadioGroup::placeButtons() {
    const int rows = std::max(1, (count() + columns_ - 1) / columns_);
    for (int i = 0; i < count(); ++i)
        layout_->addWidget(group_->button(i), i % rows, i / rows);
}

int OvRadioGroup::itemIndex() const {
    return group_->checkedId();
}

void OvRadioGroup::setItemIndex(int index) {
    const ov::CodeChange byCode;
    if (index >= 0 && index < count()) {
        group_->button(index)->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button.
    group_->setExclusive(false);
    for (QAbstractButton* b : group_->buttons())
        b->setChecked(false);
    group_->setExclusive(true);
}

QString OvRadioGroup::checkedItemText() const {
    const int index = itemIndex();
    if (index < 0 || index >= count())
        throw OvException(ovcode::OutOfRange);
    return items_[index];
}

QRadioButton* OvRadioGroup::button(int index) const {
    return qobject_cast<QRadioButton*>(group_->button(index));
}

#include "moc_OvRadioGroup.cpp"
