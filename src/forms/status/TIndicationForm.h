// The indication window ("Status \ Indication"): the access point's internal
// temperature in degrees Celsius and Fahrenheit and on a bar scaled from -40
// to 120, read when the window opens and every 10 seconds.
#pragma once

#include "OvDialog.h"
#include "OvTemperatureRules.h"
#include "OvWindowBindings.h"

class OvSNMPRequest2Edits;
class OvStatusBar;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
struct OvSNMPError;

class TIndicationForm : public OvDialog {
    Q_OBJECT
public:
    static constexpr int kBarMinimum = ovrules::kTemperatureBarMinimum,
                         kBarMaximum = ovrules::kTemperatureBarMaximum;

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
