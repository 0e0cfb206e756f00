#include "OvDhcpChecks.h"

#include "OvDhcpRules.h"
#include "OvKitControls.h"

#include <QLineEdit>

#include <utility>

namespace ovnet {

namespace {

bool refuseDhcpBox(QWidget* window, QLineEdit* box, const char* refusal) {
    if (refusal == nullptr)
        return true;
    return ovkit::refuse(window, box, QString::fromLatin1(ovrules::kDhcpCheckTitle),
                         QString::fromLatin1(refusal), true);
}

} // namespace

bool checkGivenMask(QWidget* window, QLineEdit* mask) {
    return refuseDhcpBox(window, mask, ovrules::givenMaskRefusal(mask->text().toStdString()));
}

bool checkGivenServers(QWidget* window, QLineEdit* gateway, QLineEdit* wins, QLineEdit* dns) {
    const std::pair<QLineEdit*, ovrules::DhcpServer> servers[] = {
        {gateway, ovrules::DhcpServer::Gateway},
        {wins, ovrules::DhcpServer::Wins},
        {dns, ovrules::DhcpServer::Dns},
    };
    for (const auto& [box, server] : servers) {
        if (!refuseDhcpBox(window, box,
                           ovrules::givenServerRefusal(box->text().toStdString(), server)))
            return false;
    }
    return true;
}

void fillEmptyAddresses(std::initializer_list<QLineEdit*> boxes) {
    for (QLineEdit* box : boxes) {
        if (box->text().isEmpty())
            box->setText(QString::fromLatin1(ovrules::kFreeSlotAddress));
    }
}

} // namespace ovnet
