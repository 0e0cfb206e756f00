// The system log window ("Advanced \ System Log"): fetches the device's local
// log into a list (index, time, message), clears it, and opens the log
// settings window. While a fetch is outstanding its buttons are off and the
// window stays open.
#pragma once

#include "OvDialog.h"
#include "OvWindowBindings.h"

#include <QPointer>

class OvDeviceContext;
class OvListView;
class OvSNMPRequest2Edits;
class OvStatusBar;
class TLogSetForm;
class QComboBox;
class QGroupBox;
class QPushButton;
struct OvSNMPError;

class TLogForm : public OvDialog {
    Q_OBJECT
public:
    TLogForm(const OvDeviceContext& device, QWidget* owner);
    ~TLogForm() override;

    OvSNMPRequest2Edits* fetchTriggerBinding() const { return fetchTrigger_; }
    OvSNMPRequest2Edits* settingsBinding() const { return settings_; }
    OvSNMPRequest2Edits* clearTriggerBinding() const { return clearTrigger_; }
    OvSNMPRequest2Edits* logTableBinding() const { return logTable_; }
    TLogSetForm* logSettings() const;

    QGroupBox* ViewGrpBox;
    OvListView* ViewListView;
    QComboBox* GetCoBox;
    QComboBox* Bt_Clear; // the clear trigger's box, never shown
    QPushButton* Clear_Btn;
    QPushButton* SetBtn;
    QPushButton* GetBtn;
    QPushButton* CloseBtn;
    OvStatusBar* StatusBar1;

    void GetBtnClick();
    void LogArrived(const OvSNMPError& result);
    void Clear_BtnClick();
    void SetBtnClick();
    void CloseBtnClick();

protected:
    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void buildControls();
    void FormCreate();
    void createBindings();
    void enableButtons(bool enabled);

    const OvDeviceContext& device_;
    OvWindowBindings bindings_;
    OvSNMPRequest2Edits* fetchTrigger_ = nullptr;
    OvSNMPRequest2Edits* settings_ = nullptr;
    OvSNMPRequest2Edits* clearTrigger_ = nullptr;
    OvSNMPRequest2Edits* logTable_ = nullptr;
    QPointer<TLogSetForm> logSettings_;
};
