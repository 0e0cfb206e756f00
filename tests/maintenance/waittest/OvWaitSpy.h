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
    friend bool operator==(const WaitShown&, const WaitShown&) = default;
};

class WaitSpy : public ShowSpy<TFM_Waiting> {
public:
    WaitSpy();
    std::vector<WaitShown> shown;
    // The countdown of each one shown, in order.
    std::vector<int> countdowns() const;
};

} // namespace ovtest
