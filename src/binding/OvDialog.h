// The base of the module's windows: one close query for every way out (a Close
// button calling close(), the title bar, Escape), and handlers that never let
// an error cross Qt's event loop.
#pragma once

#include <QDialog>

class OvDialog : public QDialog {
    Q_OBJECT
public:
    explicit OvDialog(QWidget* parent = nullptr);

    // Escape, the title bar and close() all end here.
    void reject() override;

protected:
    // The window's close query: false keeps it open. An error raised here is
    // shown and keeps the window open.
    virtual bool FormCloseQuery() { return true; }
    // Runs once the window is really closing.
    virtual void FormClose() {}
};
