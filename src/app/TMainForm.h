// The module's only top-level window: the device's front panel with its four
// LEDs following the device, the poll's status, the device facts that other
// windows read, and the menus that open every window.
#pragma once

#include "OvDeviceContext.h"
#include "OvStartup.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <vector>

class OvInstanceLock;
class OvLedShape;
struct OvSNMPError;
class OvSNMPRequest2Controls;
class OvSNMPRequest2Edits;
class OvStatusBar;
class OvStatusPanel;
class OvTrendSampler;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;

class TMainForm : public QMainWindow, public OvDeviceContext {
    Q_OBJECT
public:
    // Loads the catalogs from "errMSg" below the executable's folder. The model
    // name gives the titles and decides the menus (the sibling ORW-5200AP
    // shows the rogue AP item); it is the one compiled in unless told.
    explicit TMainForm(QWidget* parent = nullptr,
                       const QString& modelName = QStringLiteral(OV_MODEL_NAME));
    ~TMainForm() override;

    // Start-up: session, station folders, command line, title, instance lock,
    // hand-over. Returns the exit status when the module must end at once.
    std::optional<int> FormCreate(const std::vector<std::string>& arguments);

    // OvDeviceContext
    OvDeviceFacts deviceFacts() const override;
    QString statusText() const override;
    QString agentAddressText() const override;
    QWidget* ownerWindow() const override;

    QString savedStatusText() const { return savedStatusText_; }
    const QString& modelName() const { return modelName_; }

    // Creates the LED and device-fact requests and starts polling; start-up
    // calls it once the instance lock is held.
    void HandOver();
    OvSNMPRequest2Edits* ledBinding() const { return ledBinding_.get(); }
    // Samples the device for the trends window, from its first opening (or
    // from the start when the station asks); lives as long as the module.
    OvTrendSampler& trendSampler();

    QLabel* Image1;
    OvLedShape* Sh_11g;
    OvLedShape* Sh_11a;
    OvLedShape* Sh_Lan;
    OvLedShape* Sh_power;
    OvStatusBar* MainStatusBar;
    QLineEdit* Ed_FwVer;
    QLineEdit* Ed_Countrycode;
    QLineEdit* ED_Turbomode;
    QLineEdit* ED_Turbomode_g;
    QLineEdit* APModeSupport;
    QLineEdit* ifMultiSSID_Edit;
    QLineEdit* IPAddressEdit;
    QLineEdit* SubMaskEdit;
    QLineEdit* Ifclientinfosupported;
    QTimer* Timer1; // LED poll
    QTimer* Timer2; // blinking of power, 802.11a and 802.11g
    QTimer* Timer3; // blinking of LAN
    QTimer* Timer4; // device facts

    QAction* RogueAPItem;
    QAction* ClientInfoItem;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPanel();
    void buildMenus();
    QAction* addItem(QMenu* menu, const QString& caption, void (TMainForm::*open)());
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void Timer4Timer();
    void LedUpdate(const OvSNMPError& result);
    void refreshFact(OvSNMPRequest2Edits& binding);
    void AdvancedMenuShow();
    void StatusMenuShow();
    void saveStatusText();
    void stopPolling();
    OvStatusPanel* statusPanel() const;

    template <typename Window> void openWindow();
    void OpenInformation();
    void OpenClientInfo();
    void OpenTrends();
    void OpenAbout();

    std::vector<std::unique_ptr<OvSNMPRequest2Edits>> factBindings_;
    std::unique_ptr<OvSNMPRequest2Edits> ledBinding_;
    std::unique_ptr<OvInstanceLock> instanceLock_;
    std::unique_ptr<OvTrendSampler> trends_;
    const QString modelName_;
    OvStartupValues startup_;
    QString savedStatusText_;
    bool shutDown_ = false;
};
