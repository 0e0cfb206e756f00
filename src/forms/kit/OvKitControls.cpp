#include "OvKitControls.h"

#include "OvDialogs.h"
#include "OvListView.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "OvWirelessRules.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovkit {

void frameWindow(QWidget* window, const QString& title, Qt::WindowFlags buttons) {
    window->setWindowTitle(title);
    window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | buttons);
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, QWidget* box) {
    auto* made = control<QLabel>(parent, name);
    made->setTextFormat(Qt::PlainText);
    made->setText(text);
    if (box != nullptr)
        made->setBuddy(box);
    return made;
}

QLabel* placedLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    QLabel* made = label(parent, QString::fromLatin1(name), text);
    made->move(x, y);
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

void showSimple(OvStatusBar* bar, const QString& text) {
    bar->setSimpleText(text);
    bar->setSimplePanel(true);
}

QLineEdit* valueBox(QWidget* parent, const char* name, bool framed) {
    auto* box = control<QLineEdit>(parent, QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setFrame(framed);
    QPalette look = box->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        look.setColor(group, QPalette::Base, look.color(group, QPalette::Button));
    box->setPalette(look);
    return box;
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

QString bandControlName(const char* name, int band, const char* a, const char* g) {
    return QString::fromLatin1(name) + QString::fromLatin1(band == ovrules::kBandA ? a : g);
}

std::string utf8(const QString& text) {
    const QByteArray octets = text.toUtf8();
    return std::string(octets.constData(), static_cast<std::size_t>(octets.size()));
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

std::vector<std::string> listColumn(const OvListView& list, int subItem) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.itemCount(); ++row)
        texts.push_back(list.subItem(row, subItem).toStdString());
    return texts;
}

QVBoxLayout* contentAboveStatusBar(QWidget* window, OvStatusBar* bar, int margin) {
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0); // the status bar along the bottom edge
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

void layOutWindow(QWidget* window, QLayout* content, std::initializer_list<QWidget*> buttons,
                  OvStatusBar* bar) {
    QVBoxLayout* body = contentAboveStatusBar(window, bar, 8);
    body->addLayout(content);
    body->addLayout(buttonsAtRight(buttons));
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
    const char* refusal = ovrules::textRefusal(utf8(text), mode);
    if (refusal == nullptr)
        return true;
    ov::messageBox(parent, QString::fromLatin1(ovrules::kTextCheckTitle),
                   QString::fromLatin1(refusal));
    return false;
}

} // namespace ovkit
