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

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

namespace dhcptest {

namespace {

const std::string kPrivateRoot = "1.3.6.1.4.1.48213.10.37.14";

bool onThisMachine(std::uint32_t network) {
    bool local = false;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return false;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        const auto address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        local = local || (ntohl(address->sin_addr.s_addr) & 0xFFFFFF00u) == network;
    }
    ::freeifaddrs(list);
    return local;
}

} // namespace

// The /24 networks of RFC 5737 that this machine is not on, best first.
std::vector<std::string> quietNetworks() {
    static const std::vector<std::string> networks = [] {
        const std::pair<std::uint32_t, const char*> candidates[] = {
            {0xC6336400u, "198.51.100"}, {0xCB007100u, "203.0.113"}, {0xC0000200u, "192.0.2"}};
        std::vector<std::string> quiet;
        for (const auto& [prefix, text] : candidates)
            if (!onThisMachine(prefix))
                quiet.emplace_back(text);
        for (const char* fallback : {"198.51.100", "203.0.113"})
            if (quiet.size() < 2 && (quiet.empty() || quiet[0] != fallback))
                quiet.emplace_back(fallback);
        return quiet;
    }();
    return networks;
}

std::string quietNetwork() {
    return quietNetworks()[0];
}

std::string otherQuietNetwork() {
    return quietNetworks()[1];
}

std::string ip(int host) {
    return quietNetwork() + "." + std::to_string(host);
}

QString qip(int host) {
    return QString::fromStdString(ip(host));
}

std::string binding(const std::string& oid, const std::string& typedValue) {
    return oid + "=" + typedValue;
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
    bool ran = false;
    QTimer::singleShot(0, [&] {
        if (!ovtest::waitFor([&] { return entry && entry->isVisible(); }))
            return;
        if (!QTest::qWaitForWindowActive(entry))
            ADD_FAILURE() << "the entry dialog did not become active";
        ran = true;
        script(*entry);
        if (entry && entry->isVisible())
            entry->close();
    });
    ovtest::click(button);
    if (!ran)
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

void DhcpTest::retype(QLineEdit* edit, const QString& text) {
    ovtest::focus(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        ovtest::typeKeys(edit, text);
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
        if (oid.rfind(kPrivateRoot, 0) == 0)
            oid = "E" + oid.substr(kPrivateRoot.size());
        seen.push_back(requests[i].operation + " " + oid);
    }
    return seen;
}

std::vector<QString> DhcpTest::messages() const {
    std::vector<QString> shown;
    for (const OvShownDialog& box : dialogs.messages())
        shown.push_back(box.title + QLatin1Char('|') + box.text);
    return shown;
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
