#include "ToolsTest.h"

#include <QLabel>

#include <ostream>

namespace toolstest {

WaitShown describe(const TFM_Waiting& waiting) {
    return {waiting.windowTitle(),
            waiting.Label1->text(),
            waiting.Label2->text(),
            waiting.Label3->text(),
            waiting.countdown,
            waiting.restartCommand,
            !waiting.La_Time->isHidden() && !waiting.seconds->isHidden()};
}

void PrintTo(const WaitShown& shown, std::ostream* os) {
    *os << "{\"" << shown.title.toStdString() << "\", \"" << shown.label1.toStdString() << "\", \""
        << shown.label2.toStdString() << "\", \"" << shown.label3.toStdString() << "\", "
        << shown.countdown << ", restart " << shown.restartCommand << ", time " << shown.timeShown
        << "}";
}

WaitShown defaultWait() {
    return {"Please wait",
            "Please waiting for",
            "Settings saved.",
            "The device is restarting.",
            40,
            true,
            true};
}

std::vector<std::string> ToolsTest::withQuickRestart(const std::vector<std::string>& extra) {
    std::vector<std::string> options{"--restart-seconds", "0.2"};
    options.insert(options.end(), extra.begin(), extra.end());
    return options;
}

std::string ToolsTest::stateText(const std::string& oid) const {
    const auto value = agent->stateValue(oid);
    return value ? value->text : std::string("(none)");
}

} // namespace toolstest
