// The one way the module shows message boxes, file dialogs and the beep. Tests
// script the answers and read back what was shown; with OV_DIALOGS=auto in the
// environment every box is answered at once with its default button (file
// dialogs are cancelled) and what it showed is printed on standard error, so
// the real executable runs with no person and no display.
#pragma once

#include <QMessageBox>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QWidget;

// One thing the service showed, and what it answered.
struct OvShownDialog {
    enum Kind { Message, OpenFile, SaveFile, Beep };
    Kind kind = Message;
    QString title;
    QString text; // the message; for file dialogs the filter
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    QString fileAnswer; // file dialogs: the chosen path, empty when cancelled
};

// Answers the service's dialogs while it lives, instead of a person. Messages
// get the queued answers in order, then their default button; file dialogs get
// the queued paths, then are cancelled.
class OvScriptedDialogs {
public:
    OvScriptedDialogs();
    ~OvScriptedDialogs();
    OvScriptedDialogs(const OvScriptedDialogs&) = delete;
    OvScriptedDialogs& operator=(const OvScriptedDialogs&) = delete;

    void queueAnswer(QMessageBox::StandardButton answer) { answers_.push_back(answer); }
    void queueFile(const QString& path) { files_.push_back(path); }
    // Prints "title: text" of every box on standard error.
    void setEcho(bool echo) { echo_ = echo; }

    const std::vector<OvShownDialog>& shown() const { return shown_; }
    std::vector<OvShownDialog> messages() const;
    int beeps() const;
    void clear() { shown_.clear(); }

    // Runs while a box "is open", before it is answered.
    std::function<void(const OvShownDialog&)> onShown;

    QMessageBox::StandardButton answerMessage(OvShownDialog shown);
    QString answerFile(OvShownDialog shown);
    void recordBeep();

private:
    void keep(const OvShownDialog& shown);

    OvScriptedDialogs* previous_;
    std::deque<QMessageBox::StandardButton> answers_;
    std::deque<QString> files_;
    std::vector<OvShownDialog> shown_;
    bool echo_ = false;
};

namespace ov {

// The file name of the running program, without its folder: the caption of
// constraint and general error boxes.
QString executableName();

// A message box with plain text. Without a default button the first of the
// buttons in the order OK, Yes, Abort, Retry, Ignore, No, Cancel is the default.
QMessageBox::StandardButton
messageBox(QWidget* parent, const QString& title, const QString& text,
           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
           QMessageBox::Icon icon = QMessageBox::NoIcon);

// The text in a box captioned with the executable name, one OK button.
void errorBox(QWidget* parent, const QString& text);

// Empty when cancelled.
QString openFileDialog(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter);
QString saveFileDialog(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter);

void beep();

// The script in force, or none when a person answers.
OvScriptedDialogs* dialogScript();

} // namespace ov
