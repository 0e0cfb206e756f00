#include "OvWirelessControls.h"

#include "OvUserChange.h"
#include "OvWirelessRules.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

namespace ovwireless {

QLabel* label(QWidget* parent, const QString& name, const QString& text, QWidget* buddy) {
    auto* l = named<QLabel>(parent, name);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    if (buddy != nullptr)
        l->setBuddy(buddy);
    return l;
}

void neverVisible(QWidget* control) {
    control->setAccessibleName(control->objectName());
    control->hide();
}

void setEditable(QLineEdit* edit, bool editable) {
    edit->setReadOnly(!editable);
    const QPalette standard = QApplication::palette(edit);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, standard.color(editable ? QPalette::Base : QPalette::Window));
    edit->setPalette(palette);
}

bool isEditable(const QLineEdit* edit) {
    return !edit->isReadOnly();
}

void selectText(QComboBox* comboBox, const QString& text) {
    const ov::CodeChange byCode;
    comboBox->setCurrentIndex(comboBox->findText(text));
}

bool FillChannelChoices(const QString& list, QComboBox* comboBox, const QString& value) {
    const ChannelChoices choices = channelChoices(list.toStdString(), value.toStdString());
    const ov::CodeChange byCode;
    comboBox->clear();
    for (const std::string& item : choices.items)
        comboBox->addItem(QString::fromStdString(item));
    comboBox->setCurrentIndex(choices.selected);
    return choices.selected != -1;
}

} // namespace ovwireless
