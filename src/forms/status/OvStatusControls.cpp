#include "OvStatusControls.h"

#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvWindowBindings.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace ovstatus {

QLineEdit* valueBox(QWidget* parent, const char* name, bool framed) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setFrame(framed);
    QPalette look = box->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        look.setColor(group, QPalette::Base, look.color(group, QPalette::Button));
    box->setPalette(look);
    return box;
}

OvSNMPRequest2Edits* valueBinding(OvWindowBindings& bindings, QWidget* owner,
                                  const OvSNMPVarRow* table, OvListMode listMode, std::uint8_t mode,
                                  const std::vector<QLineEdit*>& boxes) {
    auto* binding = bindings.make<OvSNMPRequest2Edits>(owner);
    binding->request.varList.Assign(OvSNMPVarList(table, listMode, 0));
    binding->mode = mode;
    for (std::size_t position = 0; position < boxes.size(); ++position)
        binding->BindEdit(static_cast<int>(position), "%s", boxes[position]);
    return binding;
}

QVBoxLayout* contentAboveStatusBar(QWidget* window, OvStatusBar* bar, int margin) {
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* content = new QVBoxLayout;
    content->setContentsMargins(margin, margin, margin, margin);
    outer->addLayout(content);
    if (bar != nullptr)
        outer->addWidget(bar);
    return content;
}

QHBoxLayout* buttonsAtRight(std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* button : buttons)
        row->addWidget(button);
    return row;
}

} // namespace ovstatus

OvButtonRow::OvButtonRow(QWidget* parent) : QWidget(parent) {}

void OvButtonRow::add(QPushButton* button, int numerator, int denominator) {
    button->setParent(this);
    buttons_.push_back({button, numerator, denominator});
    place();
}

QSize OvButtonRow::sizeHint() const {
    return minimumSizeHint();
}

// Wide enough that no button overlaps the next one or leaves the row.
QSize OvButtonRow::minimumSizeHint() const {
    int width = 0, height = 0;
    for (const Placed& p : buttons_) {
        const QSize hint = p.button->sizeHint();
        width = std::max(width,
                         hint.width() * p.denominator / std::max(1, p.denominator - p.numerator));
        height = std::max(height, hint.height());
    }
    int needed = 0;
    for (const Placed& p : buttons_)
        needed += p.button->sizeHint().width() + 8;
    return {std::max(width, needed), height + 8};
}

void OvButtonRow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
}

void OvButtonRow::place() {
    for (const Placed& p : buttons_) {
        const QSize hint = p.button->sizeHint();
        const int left = width() * p.numerator / p.denominator;
        p.button->setGeometry(left, (height() - hint.height()) / 2, hint.width(), hint.height());
    }
}
