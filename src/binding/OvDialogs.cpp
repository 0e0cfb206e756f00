#include "OvDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

OvScriptedDialogs* installed = nullptr;

// OV_DIALOGS=auto: one script for the whole run, echoing what it answers.
OvScriptedDialogs* automaticScript() {
    static const bool automatic = [] {
        const char* mode = std::getenv("OV_DIALOGS");
        return mode != nullptr && std::strcmp(mode, "auto") == 0;
    }();
    if (!automatic)
        return nullptr;
    static OvScriptedDialogs* script = [] {
        auto* s = new OvScriptedDialogs; // lives as long as the process
        s->setEcho(true);
        return s;
    }();
    return script;
}

QMessageBox::StandardButton defaultOf(QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton given) {
    if (given != QMessageBox::NoButton)
        return given;
    for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Abort, QMessageBox::Retry,
                   QMessageBox::Ignore, QMessageBox::No, QMessageBox::Cancel}) {
        if (buttons.testFlag(b))
            return b;
    }
    return QMessageBox::NoButton;
}

} // namespace

OvScriptedDialogs::OvScriptedDialogs() : previous_(installed) {
    installed = this;
}

OvScriptedDialogs::~OvScriptedDialogs() {
    if (installed == this)
        installed = previous_;
}

std::vector<OvShownDialog> OvScriptedDialogs::messages() const {
    std::vector<OvShownDialog> result;
    for (const auto& s : shown_) {
        if (s.kind == OvShownDialog::Message)
            result.push_back(s);
    }
    return result;
}

int OvScriptedDialogs::beeps() const {
    int n = 0;
    for (const auto& s : shown_)
        n += s.kind == OvShownDialog::Beep ? 1 : 0;
    return n;
}

void OvScriptedDialogs::keep(const OvShownDialog& shown) {
    shown_.push_back(shown);
    if (echo_ && shown.kind != OvShownDialog::Beep) {
        std::fprintf(stderr, "%s: %s\n", shown.title.toLocal8Bit().constData(),
                     shown.text.toLocal8Bit().constData());
        std::fflush(stderr);
    }
}

QMessageBox::StandardButton OvScriptedDialogs::answerMessage(OvShownDialog shown) {
    if (onShown)
        onShown(shown);
    if (!answers_.empty()) {
        shown.answer = answers_.front();
        answers_.pop_front();
    }
    keep(shown);
    return shown.answer;
}

QString OvScriptedDialogs::answerFile(OvShownDialog shown) {
    if (onShown)
        onShown(shown);
    if (!files_.empty()) {
        shown.fileAnswer = files_.front();
        files_.pop_front();
    }
    keep(shown);
    return shown.fileAnswer;
}

void OvScriptedDialogs::recordBeep() {
    OvShownDialog shown;
    shown.kind = OvShownDialog::Beep;
    keep(shown);
}

namespace ov {

OvScriptedDialogs* dialogScript() {
    return installed != nullptr ? installed : automaticScript();
}

QString executableName() {
    if (QCoreApplication::instance() == nullptr)
        return QStringLiteral("orw3300ap");
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QMessageBox::StandardButton messageBox(QWidget* parent, const QString& title, const QString& text,
                                       QMessageBox::StandardButtons buttons,
                                       QMessageBox::StandardButton defaultButton,
                                       QMessageBox::Icon icon) {
    const QMessageBox::StandardButton preferred = defaultOf(buttons, defaultButton);
    if (OvScriptedDialogs* script = dialogScript()) {
        OvShownDialog shown;
        shown.title = title;
        shown.text = text;
        shown.buttons = buttons;
        shown.answer = preferred;
        return script->answerMessage(shown);
    }
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (preferred != QMessageBox::NoButton)
        box.setDefaultButton(preferred);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void errorBox(QWidget* parent, const QString& text) {
    messageBox(parent, executableName(), text);
}

namespace {

QString fileDialog(OvShownDialog::Kind kind, QWidget* parent, const QString& title,
                   const QString& folder, const QString& filter) {
    if (OvScriptedDialogs* script = dialogScript()) {
        OvShownDialog shown;
        shown.kind = kind;
        shown.title = title;
        shown.text = filter;
        return script->answerFile(shown);
    }
    return kind == OvShownDialog::OpenFile
               ? QFileDialog::getOpenFileName(parent, title, folder, filter)
               : QFileDialog::getSaveFileName(parent, title, folder, filter);
}

} // namespace

QString openFileDialog(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter) {
    return fileDialog(OvShownDialog::OpenFile, parent, title, folder, filter);
}

QString saveFileDialog(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter) {
    return fileDialog(OvShownDialog::SaveFile, parent, title, folder, filter);
}

void beep() {
    if (OvScriptedDialogs* script = dialogScript()) {
        script->recordBeep();
        return;
    }
    QApplication::beep();
}

} // namespace ov
