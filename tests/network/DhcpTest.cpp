#include "DhcpTest.h"

#include "TFM_StaticPoolEntry.h"
#include "TFM_Waiting.h"

#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "SnmpTools.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace dhcptest {

std::string ip(int host) {
    return quietNetwork() + "." + std::to_string(host);
}

QString qip(int host) {
    return QString::fromStdString(ip(host));
}

PoolEntry freeSlot() {
    return {"0.0.0.0", "000000000000", "0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0", "", 0};
}

void PrintTo(const PoolEntry& entry, std::ostream* os) {
    *os << '{';
    for (const QString& text :
         {entry.ip, entry.mac, entry.mask, entry.gateway, entry.wins, entry.dns, entry.domain})
        *os << '"' << text.toStdString() << "\", ";
    *os << entry.status << '}';
}

std::vector<std::string> slotSet(int slot, const PoolEntry& entry) {
    const auto typed = [](char type, const QString& text) {
        return std::string(1, type) + ":" + text.toStdString();
    };
    return {binding(poolColumn(2, slot), typed('a', entry.ip)),
            binding(poolColumn(3, slot), typed('x', entry.mac.toUpper())),
            binding(poolColumn(4, slot), typed('a', entry.mask)),
            binding(poolColumn(5, slot), typed('a', entry.gateway)),
            binding(poolColumn(6, slot), typed('a', entry.wins)),
            binding(poolColumn(7, slot), typed('a', entry.dns)),
            binding(poolColumn(8, slot), typed('s', entry.domain)),
            binding(poolColumn(9, slot), "i:" + std::to_string(entry.status))};
}

std::vector<std::string> DhcpTest::withLan(const std::vector<std::string>& extra) const {
    std::vector<std::string> options{"--lan", ip(1) + "/24", "--restart-seconds", "0.3"};
    options.insert(options.end(), extra.begin(), extra.end());
    return options;
}

std::vector<std::string> DhcpTest::agentOptions() const {
    return withLan({});
}

void DhcpTest::open() {
    window = std::make_unique<TFM_DHCP>(main, nullptr);
    ovtest::showActive(window.get());
    ASSERT_TRUE(waitUntilIdle()) << "the window's walks did not end";
    setsAtOpen = sets().size();
}

void DhcpTest::openWith(const std::vector<std::string>& extra) {
    restartAgent(withLan(extra));
    open();
}

bool DhcpTest::waitUntilIdle(int milliseconds) {
    return ovtest::waitFor(
        [&] {
            TFM_DHCP& w = *window;
            for (OvSNMPRequest2Controls* b : std::initializer_list<OvSNMPRequest2Controls*>{
                     w.staticPoolBinding(), w.usedEntriesBinding(), w.dynamicLeasesBinding(),
                     w.staticLeasesBinding(), w.deviceAddressBinding()})
                if (b != nullptr && b->IsBusy())
                    return false;
            return !w.busyFlag().isSet();
        },
        milliseconds);
}

void DhcpTest::withEntry(QPushButton* button,
                         const std::function<void(TFM_StaticPoolEntry&)>& script) {
    QPointer<TFM_StaticPoolEntry> entry = window->staticPoolEntry();
    if (!ovtest::withDialog(button, entry, [&] { script(*entry); }))
        ADD_FAILURE() << "the entry dialog did not open";
}

void DhcpTest::onWaiting(const std::function<void(TFM_Waiting&)>& look) {
    auto* timer = new QTimer(window.get());
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, look] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* waiting = qobject_cast<TFM_Waiting*>(w);
            if (waiting != nullptr && waiting->isVisible()) {
                timer->stop();
                timer->deleteLater();
                look(*waiting);
                return;
            }
        }
    });
    timer->start();
}

void DhcpTest::selectUsedEntry(int row) {
    window->PageControl1->setCurrentWidget(window->TabSheet2);
    OvListView* used = window->User_ListView;
    QTest::mouseClick(used->viewport(), Qt::LeftButton, Qt::NoModifier,
                      used->visualRect(used->model()->index(row, 1)).center());
    if (used->selectedRow() != row)
        ADD_FAILURE() << "the used entry " << row << " is not selected";
}

void DhcpTest::changeOnDevice(const std::string& oid, const std::string& type,
                              const std::string& value) {
    std::vector<std::string> arguments = ovtest::credentials("v2c-rw");
    for (const std::string& more : {agent->peer(), ovtest::expandOid(oid), type, value})
        arguments.push_back(more);
    const ovtest::ToolRun run = ovtest::runTool("snmpset", arguments);
    if (run.exitCode != 0)
        ADD_FAILURE() << "snmpset failed: " << run.output;
}

void DhcpTest::typeEntry(TFM_StaticPoolEntry& entry, const PoolEntry& typed) {
    const std::pair<QLineEdit*, QString> boxes[] = {
        {entry.Ed_AsgIP, typed.ip},     {entry.Ed_AsgMac, typed.mac},
        {entry.Ed_SubMask, typed.mask}, {entry.Ed_Gatway, typed.gateway},
        {entry.Ed_Wins, typed.wins},    {entry.Ed_DNS, typed.dns},
        {entry.Ed_DomNa, typed.domain}};
    for (const auto& [box, text] : boxes)
        retype(box, text);
    pick(entry.CB_Stat, typed.status);
}

PoolEntry DhcpTest::shownEntry(const TFM_StaticPoolEntry& entry) {
    return {entry.Ed_AsgIP->text(),  entry.Ed_AsgMac->text(),      entry.Ed_SubMask->text(),
            entry.Ed_Gatway->text(), entry.Ed_Wins->text(),        entry.Ed_DNS->text(),
            entry.Ed_DomNa->text(),  entry.CB_Stat->currentIndex()};
}

void DhcpTest::pick(QComboBox* comboBox, int index) {
    comboBox->showPopup();
    QAbstractItemView* view = comboBox->view();
    ovtest::waitFor([&] { return view->isVisible(); }, 2000);
    view->setCurrentIndex(comboBox->model()->index(index, 0));
    QTest::keyClick(view->viewport(), Qt::Key_Return);
    ovtest::waitFor([&] { return !view->isVisible(); }, 2000);
}

std::vector<std::string> DhcpTest::operations(std::size_t from) const {
    std::vector<std::string> seen;
    const auto requests = agent->requests();
    for (std::size_t i = from; i < requests.size(); ++i) {
        std::string oid = requests[i].oids.empty() ? std::string() : requests[i].oids.front();
        if (oid.rfind(nettest::kRoot, 0) == 0)
            oid = "E" + oid.substr(nettest::kRoot.size());
        seen.push_back(requests[i].operation + " " + oid);
    }
    return seen;
}

std::vector<std::vector<std::string>> DhcpTest::setsSinceOpen() const {
    const auto all = sets();
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(setsAtOpen, all.size())), all.end()};
}

std::string DhcpTest::stateText(const std::string& oid) const {
    const auto value = agent->stateValue(oid);
    return value ? value->text : std::string("(none)");
}

} // namespace dhcptest
