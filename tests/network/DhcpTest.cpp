#include "DhcpTest.h"

#include "TFM_StaticPoolEntry.h"
#include "TFM_Waiting.h"

#include "OvSNMPRequest2Edits.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
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

std::string quietNetwork() {
    static const std::string network = [] {
        const std::pair<std::uint32_t, const char*> candidates[] = {
            {0xC6336400u, "198.51.100"}, {0xCB007100u, "203.0.113"}, {0xC0000200u, "192.0.2"}};
        for (const auto& [prefix, text] : candidates)
            if (!onThisMachine(prefix))
                return std::string(text);
        return std::string("198.51.100");
    }();
    return network;
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

void DhcpTest::retype(QLineEdit* edit, const QString& text) {
    ovtest::focus(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        ovtest::typeKeys(edit, text);
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
