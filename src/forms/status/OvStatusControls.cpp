#include "OvStatusControls.h"

#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvWindowBindings.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
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
