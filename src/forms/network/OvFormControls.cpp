#include "OvFormControls.h"

#include "OvDialogs.h"
#include "OvListView.h"
#include "OvStatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovnet {

QLabel* label(QWidget* parent, const QString& name, const QString& text, QWidget* box) {
    auto* made = control<QLabel>(parent, name);
    made->setTextFormat(Qt::PlainText);
    made->setText(text);
    if (box != nullptr)
        made->setBuddy(box);
    return made;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text) {
    auto* made = control<QPushButton>(parent, name);
    made->setText(text);
    made->setAutoDefault(false);
    return made;
}

OvStatusBar* statusBar(QWidget* parent, const char* name, bool onePanel) {
    auto* bar = control<OvStatusBar>(parent, name);
    bar->setSizeGripEnabled(false);
    if (onePanel)
        bar->addPanel(0);
    return bar;
}

void layOutWindow(QWidget* window, QLayout* content, std::initializer_list<QPushButton*> buttons,
                  OvStatusBar* bar) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons)
        row->addWidget(b);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 8, 8, 8);
    body->addLayout(content);
    body->addLayout(row);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0); // the status bar along the bottom edge
    outer->addLayout(body);
    outer->addWidget(bar);
}

bool refuse(QWidget* window, QLineEdit* box, const QString& title, const QString& text,
            bool empty) {
    ov::messageBox(window, title, text);
    if (box != nullptr) {
        if (empty)
            box->clear();
        box->setFocus();
    }
    return false;
}

bool textCheck(QWidget* parent, const QString& text, ovrules::TextCheckMode mode) {
    const QByteArray octets = text.toUtf8();
    const char* refusal =
        ovrules::textRefusal(std::string_view(octets.constData(), octets.size()), mode);
    if (refusal == nullptr)
        return true;
    ov::messageBox(parent, QString::fromLatin1(ovrules::kTextCheckTitle),
                   QString::fromLatin1(refusal));
    return false;
}

std::vector<std::string> staticPoolColumn(const OvListView& list, int subItem) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.itemCount(); ++row)
        texts.push_back(list.subItem(row, subItem).toStdString());
    return texts;
}

} // namespace ovnet
