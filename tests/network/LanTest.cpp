#include "LanTest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace lantest {

LanTest::LanTest() : net(QString::fromStdString(nettest::quietNetwork()) + QLatin1Char('.')) {}

std::vector<std::string> LanTest::agentOptions() const {
    return lanOptions(false);
}

std::vector<std::string> LanTest::lanOptions(bool dhcp) const {
    // The pool of the design's example: 20 addresses from .100. The first
    // static pool entry is .50.
    return {"--restart-seconds",
            "0",
            "--lan",
            atText(1) + "/24",
            "--set",
            "Dynamic Range=20",
            "--set",
            std::string("hGetIPFrom=") + (dhcp ? "2" : "1")};
}

std::unique_ptr<TFM_LAN> LanTest::open() {
    auto window = std::make_unique<TFM_LAN>(main, nullptr);
    ovtest::showActive(window.get());
    if (!ovtest::waitFor([&] { return !window->Ed_PoolRan->text().isEmpty(); }))
        ADD_FAILURE() << "the dynamic pool never arrived";
    return window;
}

void LanTest::pickMode(TFM_LAN& window, int item) {
    ovtest::focus(window.CB_IPFrom);
    const Qt::Key key = item > window.CB_IPFrom->currentIndex() ? Qt::Key_Down : Qt::Key_Up;
    while (window.CB_IPFrom->currentIndex() != item)
        QTest::keyClick(window.CB_IPFrom, key);
}

int LanTest::staticPoolWalkSteps() const {
    int steps = 0;
    for (const ovtest::ApsimRequest& request : agent->requests())
        if (request.operation == "GETNEXT" && !request.oids.empty() &&
            request.oids.front().rfind(kRoot + ".2.7.3.1.", 0) == 0)
            ++steps;
    return steps;
}

} // namespace lantest
