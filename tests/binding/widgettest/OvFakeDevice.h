// The main window as the other windows see it (OvDeviceContext), with what a
// test sets: the LED poll's status text, the agent address, the device facts.
#pragma once

#include "OvDeviceContext.h"

namespace ovtest {

class FakeDevice : public OvDeviceContext {
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
