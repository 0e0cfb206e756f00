// The status windows against apsim: what reached the device, read from apsim's
// request log in a form a test compares whole, the boxes shown, and ways of
// closing a window as a user does.
#pragma once

#include "widgettest/OvDeviceTest.h"

#include <QString>

#include <cstddef>
#include <string>
#include <vector>

class QCheckBox;
class QWidget;

namespace statustest {

// "E.4.4.0" for an OID below the private root; other OIDs unchanged.
std::string shortOid(const std::string& oid);

class StatusTest : public ovtest::DeviceTest {
protected:
    // Every request from number `from` (0 the first) on, whole: "GET E.4.6.1.0",
    // "SET E.2.11.11.1.0=i:1", "GETNEXT E.2.11.12.1.2 E.2.11.12.1.3".
    std::vector<std::string> requestLines(std::size_t from = 0) const;
    // The same with only the operation and the first binding's OID.
    std::vector<std::string> operations(std::size_t from = 0) const;
    std::size_t requestCount() const;
    // "title|text" of every message box, in order.
    std::vector<QString> messages() const;

    // The text of the label whose buddy the control is; empty for none.
    static QString buddyText(QWidget* control);
    // Whether the window is still open after a press of Escape and after
    // close(), as its title bar asks.
    static bool survivesClosing(QWidget* window);

    ovtest::StandInMainWindow main;
};

// Clicks the check box on its indicator, as a user does: a laid-out box may be
// wider than its caption, and its middle is then no part of it.
void clickCheckBox(QCheckBox* box);

} // namespace statustest
