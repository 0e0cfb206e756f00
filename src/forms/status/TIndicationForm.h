// The indication window ("Status \ Indication"): the access point's internal
// temperature in degrees Celsius and Fahrenheit and on a bar scaled from -40
// to 120, read when the window opens and every 10 seconds.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"

#include <cstdint>
#include <optional>
#include <string>

class OvSNMPRequest2Edits;
class OvStatusBar;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
struct OvSNMPError;

// A temperature shown three ways; nothing for a reading that is no number.
struct OvTemperatureView {
    std::int32_t celsius = 0;
    std::int64_t fahrenheit = 0; // c x 9 / 5 + 32, the quotient cut toward zero
    int bar = 0;                 // c + 40 on the bar's 0 to 160, clamped
};
std::optional<OvTemperatureView> temperatureView(const std::string& valueText);

class TIndicationForm : public OvDialog {
    Q_OBJECT
public:
    static constexpr int kBarMinimum = 0, kBarMaximum = 160;

    explicit TIndicationForm(QWidget* owner);
    ~TIndicationForm() override;

    OvSNMPRequest2Edits* temperatureBinding() const { return temperature_; }
    // Set while a reading is outstanding: the window then refuses to close.
    bool reading() const { return reading_.isSet(); }

    QGroupBox* GroupBox1;
    QLabel* TemStaticText;
    QProgressBar* ProgressBar1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Lab_Tempreture;
    QLabel* Image3;
    QLabel* LAB_Tempretureh;
    QLabel* Image4;
    QPushButton* CloseButton;
    OvStatusBar* StatusBar1;
    QTimer* Timer1;

    void Timer1Timer();
    void ShowTemperature(const OvSNMPError& result);

protected:
    void showEvent(QShowEvent* event) override;
    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void buildControls();
    void FormCreate();
    void read();

    OvWindowBindings bindings_;
    OvSNMPRequest2Edits* temperature_ = nullptr;
    OvBusyFlag reading_;
};
