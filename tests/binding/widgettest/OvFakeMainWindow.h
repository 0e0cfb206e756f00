// The main window as the other windows see it through OvDeviceContext: the
// device facts, the LED poll's status text and the address the module was
// started for, all set by the test.
#pragma once

#include "OvDeviceContext.h"

namespace ovtest {

class FakeMainWindow : public OvDeviceContext {
public:
    OvDeviceFacts deviceFacts() const override { return facts; }
    QString statusText() const override { return status; }
    QString agentAddressText() const override { return agentAddress; }
    QWidget* ownerWindow() const override { return nullptr; }

    OvDeviceFacts facts;
    QString status = kOvReadyText;
    QString agentAddress = QStringLiteral("127.0.0.1");
};

} // namespace ovtest
