#include "OvDhcpChecks.h"

#include "OvAddressChecks.h"
#include "OvDhcpRules.h"
#include "OvFormControls.h"

#include <QLineEdit>

#include <utility>

namespace ovnet {

namespace {

const QString kWaring = QStringLiteral("Waring"); // as the device's own manager titles them

bool unset(const QLineEdit* box) {
    return box->text().isEmpty() || box->text() == QLatin1String(kFreeSlotAddress);
}

} // namespace

bool checkGivenMask(QWidget* window, QLineEdit* mask) {
    if (unset(mask) || isSubnetMask(mask->text().toStdString()))
        return true;
    return refuse(window, mask, kWaring, QStringLiteral("Please input valid SubMask."), true);
}

bool checkGivenServers(QWidget* window, QLineEdit* gateway, QLineEdit* wins, QLineEdit* dns) {
    const std::pair<QLineEdit*, const char*> servers[] = {
        {gateway, "Please input valid Gateway."},
        {wins, "Please input valid Wins."},
        {dns, "Please input valid DNS."},
    };
    for (const auto& [box, text] : servers) {
        if (!unset(box) && !isHostAddress(box->text().toStdString()))
            return refuse(window, box, kWaring, QString::fromLatin1(text), true);
    }
    return true;
}

void fillEmptyAddresses(std::initializer_list<QLineEdit*> boxes) {
    for (QLineEdit* box : boxes) {
        if (box->text().isEmpty())
            box->setText(QString::fromLatin1(kFreeSlotAddress));
    }
}

} // namespace ovnet
