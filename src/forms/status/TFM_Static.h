// The traffic statistics window ("Status \ Stats"): for each radio the four
// throughput rates in percent and the fourteen frame counters the device
// keeps, read when the window opens and when the page's Refresh is clicked.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"

#include <array>

class OvSNMPRequest2Edits;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TFM_Static : public OvDialog {
    Q_OBJECT
public:
    static constexpr int kFields = 18; // per band, in variable-list order

    explicit TFM_Static(QWidget* owner);
    ~TFM_Static() override;

    OvSNMPRequest2Edits* bandABinding() const { return bandA_; }
    OvSNMPRequest2Edits* bandGBinding() const { return bandG_; }

    QTabWidget* PC_Static;
    QWidget* TabSheetA;
    QWidget* TabSheetG;
    // The value boxes of each page, in variable-list order: Ed_TranSuRata ...
    // Ed_WEPIErrCnta on page A, the same names ending in g on page G.
    std::array<QLineEdit*, kFields> boxesA{};
    std::array<QLineEdit*, kFields> boxesG{};
    QPushButton* Bt_RfrshA;
    QPushButton* Bt_RfrshG;

    void Bt_RfrshAClick();
    void Bt_RfrshGClick();

protected:
    void FormClose() override;

private:
    void buildControls();
    QWidget* buildPage(const char* name, char band, std::array<QLineEdit*, kFields>& boxes,
                       QPushButton*& refresh, const char* refreshName);
    void FormCreate();

    OvWindowBindings bindings_;
    OvSNMPRequest2Edits* bandA_ = nullptr;
    OvSNMPRequest2Edits* bandG_ = nullptr;
};
