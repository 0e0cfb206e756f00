#include "StatusTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QWidget>

namespace statustest {

namespace {

const std::string kPrivateRoot = "1.3.6.1.4.1.48213.10.37.14";

} // namespace

std::string shortOid(const std::string& oid) {
    return oid.rfind(kPrivateRoot, 0) == 0 ? "E" + oid.substr(kPrivateRoot.size()) : oid;
}

std::vector<std::string> StatusTest::requestLines(std::size_t from) const {
    std::vector<std::string> lines;
    const auto requests = agent->requests();
    for (std::size_t i = from; i < requests.size(); ++i) {
        std::string line = requests[i].operation;
        for (std::size_t b = 0; b < requests[i].oids.size(); ++b) {
            line += " " + shortOid(requests[i].oids[b]);
            if (b < requests[i].values.size())
                line += "=" + std::string(1, requests[i].values[b].type) + ":" +
                        requests[i].values[b].text;
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> StatusTest::operations(std::size_t from) const {
    std::vector<std::string> seen;
    const auto requests = agent->requests();
    for (std::size_t i = from; i < requests.size(); ++i)
        seen.push_back(requests[i].operation + " " +
                       (requests[i].oids.empty() ? std::string() : shortOid(requests[i].oids[0])));
    return seen;
}

std::size_t StatusTest::requestCount() const {
    return agent->requests().size();
}

std::vector<QString> StatusTest::messages() const {
    std::vector<QString> shown;
    for (const OvShownDialog& box : dialogs.messages())
        shown.push_back(box.title + QLatin1Char('|') + box.text);
    return shown;
}

QString StatusTest::buddyText(QWidget* control) {
    for (const QLabel* label : control->window()->findChildren<QLabel*>())
        if (label->buddy() == control)
            return label->text();
    return {};
}

bool StatusTest::survivesClosing(QWidget* window) {
    window->activateWindow();
    QTest::keyClick(window, Qt::Key_Escape);
    if (!window->isVisible())
        return false;
    window->close();
    return window->isVisible();
}

void clickCheckBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

} // namespace statustest
