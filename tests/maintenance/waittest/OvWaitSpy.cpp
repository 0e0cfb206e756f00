#include "OvWaitSpy.h"

#include <QLabel>

namespace ovtest {

WaitSpy::WaitSpy()
    : ShowSpy([this](TFM_Waiting& waiting) {
          shown.push_back({waiting.Label2->text(), waiting.Label3->text(), waiting.countdown,
                           waiting.restartCommand, waiting.restartTick});
      }) {}

std::vector<int> WaitSpy::countdowns() const {
    std::vector<int> counts;
    for (const WaitShown& w : shown)
        counts.push_back(w.countdown);
    return counts;
}

} // namespace ovtest
