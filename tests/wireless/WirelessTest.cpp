#include "WirelessTest.h"

#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "SnmpTools.h"
#include "TFM_Waiting.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace wirelesstest {

std::vector<std::string> WirelessTest::agentOptions() const {
    return {"--restart-seconds", "0"};
}

void WirelessTest::restartWith(const std::vector<std::string>& options) {
    std::vector<std::string> all = agentOptions();
    all.insert(all.end(), options.begin(), options.end());
    restartAgent(all);
}

std::unique_ptr<TFM_Wirless> WirelessTest::open() {
    auto window = std::make_unique<TFM_Wirless>(main, nullptr);
    ovtest::showActive(window.get());
    const auto answered = [&] {
        for (int b : {0, 1})
            if (window->radio(b).autoScanList && window->radio(b).autoScanList->IsBusy())
                return false;
        return true;
    };
    if (!ovtest::waitFor(answered))
        ADD_FAILURE() << "the auto scan answers never arrived";
    return window;
}

void WirelessTest::pick(QComboBox* comboBox, const QString& item) {
    const int wanted = comboBox->findText(item);
    ASSERT_GE(wanted, 0) << item.toStdString() << " is not an item of "
                         << comboBox->objectName().toStdString();
    ovtest::focus(comboBox);
    if (comboBox->currentIndex() < 0)
        QTest::keyClick(comboBox, Qt::Key_Home);
    while (comboBox->currentIndex() != wanted)
        QTest::keyClick(comboBox, wanted > comboBox->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
}

void WirelessTest::retype(QLineEdit* edit, const QString& text) {
    ovtest::focus(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    ovtest::typeKeys(edit, text);
}

void WirelessTest::showPage(TFM_Wirless& window, int band) {
    QTabBar* tabs = window.PC_Wirless->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(band).center());
}

std::vector<std::vector<std::string>> WirelessTest::gets() const {
    std::vector<std::vector<std::string>> result;
    for (const ovtest::ApsimRequest& request : agent->requests())
        if (request.operation == "GET")
            result.push_back(request.oids);
    return result;
}

std::vector<QString> WirelessTest::messages() const {
    std::vector<QString> shown;
    for (const OvShownDialog& d : dialogs.messages())
        shown.push_back(d.title + QStringLiteral("|") + d.text);
    return shown;
}

std::string WirelessTest::state(const std::string& shortOid) const {
    const auto value = agent->stateValue(shortOid);
    return value ? value->text : std::string("(none)");
}

std::string WirelessTest::setByOthers(const std::string& shortOid, const char* type,
                                      const std::string& value) {
    std::vector<std::string> arguments = ovtest::credentials("v2c-rw");
    for (const std::string& a :
         {std::string("-On"), agent->peer(), expandOid(shortOid), std::string(type), value})
        arguments.push_back(a);
    return ovtest::runTool("snmpset", arguments).output;
}

const std::string kRestartSet = binding("E.3.2.1.0", "i:1");

std::vector<std::string> ssidSet(const std::string& ssidA, const std::string& ssidG) {
    return {binding("E.1.1.1.1.1", "s:" + ssidA), binding("E.1.1.1.2.1", "i:1"),
            binding("E.1.1.1.3.1", "i:36"),       binding("E.1.1.1.1.2", "s:" + ssidG),
            binding("E.1.1.1.2.2", "i:1"),        binding("E.1.1.1.3.2", "i:6")};
}

std::vector<std::string> apModeSet(int band, int mode) {
    return {binding("E.2.1.1.1." + std::to_string(band), "i:" + std::to_string(mode))};
}

std::vector<std::string> autoScanSet(int band) {
    return {binding("E.2.3.1.14." + std::to_string(band), "i:0")};
}

std::vector<std::string> openSystemSet(int band) {
    const std::string b = std::to_string(band);
    return {binding("E.2.5.1.1.1." + b, "i:1"), binding("E.2.5.1.1.2." + b, "i:0")};
}

std::vector<std::string> guestSet(const std::vector<int>& values) {
    const char* oids[] = {"E.2.9.3.1.1.0",   "E.2.9.2.1.2.1.1", "E.2.9.2.1.2.1.2",
                          "E.2.9.2.1.2.1.3", "E.2.9.2.1.4.1.1", "E.2.9.2.1.4.1.2",
                          "E.2.9.2.1.4.1.3", "E.2.9.2.1.2.2.1", "E.2.9.2.1.2.2.2",
                          "E.2.9.2.1.2.2.3", "E.2.9.2.1.4.2.1", "E.2.9.2.1.4.2.2",
                          "E.2.9.2.1.4.2.3"};
    std::vector<std::string> set;
    for (std::size_t i = 0; i < values.size() && i < std::size(oids); ++i)
        set.push_back(binding(oids[i], "i:" + std::to_string(values[i])));
    return set;
}

} // namespace wirelesstest
