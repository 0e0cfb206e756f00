// The checks of typed DHCP server settings that the DHCP server window and
// the static pool entry dialog share. A refusal is worded and titled as the
// device's own manager words it ("Waring"), and its box is emptied and
// focused. An address box left at "0.0.0.0" (or empty) names no server.
#pragma once

#include <initializer_list>

class QLineEdit;
class QWidget;

namespace ovnet {

// The mask, unless left unset, must be a subnet mask.
bool checkGivenMask(QWidget* window, QLineEdit* mask);

// The gateway, WINS and DNS servers, each unless left unset, must be host
// addresses; checked in that order.
bool checkGivenServers(QWidget* window, QLineEdit* gateway, QLineEdit* wins, QLineEdit* dns);

// Each empty box gets "0.0.0.0", which the device takes for "none".
void fillEmptyAddresses(std::initializer_list<QLineEdit*> boxes);

} // namespace ovnet
