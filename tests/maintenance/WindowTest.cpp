#include "WindowTest.h"

namespace ovtest {

std::vector<std::string> WindowTest::agentOptions() const {
    return {"--restart-seconds", "0"};
}

void WindowTest::restartWith(const std::vector<std::string>& options) {
    std::vector<std::string> all = agentOptions();
    all.insert(all.end(), options.begin(), options.end());
    restartAgent(all);
}

} // namespace ovtest
