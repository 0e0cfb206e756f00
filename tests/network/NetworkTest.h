// What the tests of the network windows share: a spy on the restart wait
// windows they show, an address of this machine that answers the probe, and
// the controls as a screen reader names and presses them.
#pragma once

#include <QObject>

class QAbstractButton;
class QWidget;
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace nettest {

// A restart wait window as it looked when it was shown.
struct WaitShown {
    QString label2, label3;
    int countdown = 0;
    bool restartCommand = false;
    int restartTick = 1;
    friend bool operator==(const WaitShown&, const WaitShown&) = default;
};

// Records every restart wait window that is shown, before its first tick.
class WaitSpy : public QObject {
public:
    WaitSpy();
    ~WaitSpy() override;
    std::vector<WaitShown> shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// An IPv4 address of this machine that is not loopback, and whether it
// answers the probe; nothing when there is none or no ICMP socket opens
// (`why` then says so).
std::optional<QString> answeringOwnAddress(std::string* why);

// Presses the button through its accessible action, which clicks it a moment
// later, and waits until its handler has returned.
void pressThroughAccessibility(QAbstractButton* button);

// The name a screen reader gives the control: its label's, or its own.
QString spokenName(QWidget* control);

} // namespace nettest
