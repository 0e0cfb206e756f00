// What windows may know of the main window: the device facts it keeps current,
// the LED poll's status text, and where to show a general error. Windows get
// this interface, never the main window class.
#pragma once

#include <QString>

class QWidget;

struct OvDeviceFacts {
    QString firmwareVersion;
    QString countryCode;
    QString turboMode;  // 802.11a
    QString turboModeG; // 802.11g
    QString apModeSupport;
    QString multiSsid;
    QString ipAddress; // the device's own address
    QString subnetMask;
};

class OvDeviceContext {
public:
    virtual ~OvDeviceContext() = default;

    virtual OvDeviceFacts deviceFacts() const = 0;
    // The text of the main window's status panel: "Ready. " while the LED poll answers.
    virtual QString statusText() const = 0;
    // The agent address text of the command line.
    virtual QString agentAddressText() const = 0;
    // The window that owns modal windows.
    virtual QWidget* ownerWindow() const = 0;
};

inline const QString kOvReadyText = QStringLiteral("Ready. ");
