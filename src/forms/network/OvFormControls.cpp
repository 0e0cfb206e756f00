#include "OvFormControls.h"

#include "OvDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ovnet {

QLabel* label(QWidget* parent, const char* name, const QString& text, QWidget* box) {
    auto* made = control<QLabel>(parent, name);
    made->setTextFormat(Qt::PlainText);
    made->setText(text);
    made->setBuddy(box);
    return made;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* made = control<QPushButton>(parent, name);
    made->setText(text);
    made->setAutoDefault(false);
    return made;
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

} // namespace ovnet
