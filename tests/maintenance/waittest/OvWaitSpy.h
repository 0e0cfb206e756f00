// Records every restart wait window that is shown, as it looked before its
// first tick, for the tests of the windows that end in one.
#pragma once

#include "widgettest/OvShowSpy.h"

#include "TFM_Waiting.h"

#include <QString>

#include <vector>

namespace ovtest {

struct WaitShown {
    QString label2, label3;
    int countdown = 0;
    bool restartCommand = false;
    int restartTick = 1;
    int restartSentAtTick = 0; // 0: not sent
    // What the opener set; when the restart went is asked on its own.
    friend bool operator==(const WaitShown& a, const WaitShown& b) {
        return a.label2 == b.label2 && a.label3 == b.label3 && a.countdown == b.countdown &&
               a.restartCommand == b.restartCommand && a.restartTick == b.restartTick;
    }
};

class WaitSpy : public ShowSpy<TFM_Waiting> {
public:
    WaitSpy();
    std::vector<WaitShown> shown;
    // The countdown of each one shown, in order.
    std::vector<int> countdowns() const;

private:
    void look(TFM_Waiting& waiting);
};

} // namespace ovtest
