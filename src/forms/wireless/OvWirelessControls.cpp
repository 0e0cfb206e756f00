#include "OvWirelessControls.h"

#include "OvUserChange.h"
#include "OvWirelessRules.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>

namespace ovwireless {

std::string utf8(const QString& text) {
    const QByteArray octets = text.toUtf8();
    return std::string(octets.constData(), static_cast<std::size_t>(octets.size()));
}

QString bandControlName(const char* name, int band, const char* a, const char* g) {
    return QString::fromLatin1(name) + QString::fromLatin1(band == ovrules::kBandA ? a : g);
}

std::unique_ptr<OvSNMPRequest2Edits> newList(QWidget* owner, const OvSNMPVarRow* table,
                                             bool synchronous, OvListMode mode, int keys) {
    auto binding = std::make_unique<OvSNMPRequest2Edits>(owner);
    if (synchronous)
        binding->mode = 0;
    binding->request.varList.Assign(OvSNMPVarList(table, mode, keys));
    return binding;
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
    const ovrules::ChannelChoices choices =
        ovrules::channelChoices(list.toStdString(), value.toStdString());
    const ov::CodeChange byCode;
    comboBox->clear();
    for (const std::string& item : choices.items)
        comboBox->addItem(QString::fromStdString(item));
    comboBox->setCurrentIndex(choices.selected);
    return choices.selected != -1;
}

} // namespace ovwireless
