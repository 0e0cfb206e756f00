// The administrator window ("Tools \ Admin"): changes the name and password of
// the access point's administrator account. The current password must be
// typed and match the one read at opening, the new one typed twice; a change
// ends in a device restart.
#pragma once

#include "OvDialog.h"

#include <QString>

#include <memory>
#include <string>

class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QLabel;
class QLineEdit;
class QPushButton;

class TFM_Admin : public OvDialog {
    Q_OBJECT
public:
    TFM_Admin(const OvDeviceContext& device, QWidget* owner);
    ~TFM_Admin() override;

    // Whether the account was read when the window opened; without it OK
    // writes nothing.
    bool accountRead() const { return accountRead_; }

    QLabel* Label1;
    QLineEdit* Ed_Usr;
    QLabel* Label2;
    QLineEdit* Ed_OPwd;
    QLabel* Label3;
    QLineEdit* Ed_NPwd;
    QLabel* Label4;
    QLineEdit* Ed_CNP;
    QLineEdit* Ed_Pwd;
    QPushButton* OK;
    QPushButton* Cancel;
    OvStatusBar* StatusBar;

    void OKClick();
    void CancelClick();

protected:
    void FormClose() override;

private:
    void buildControls();
    void FormCreate();
    // The six checks in their order; the first that fails ends the click.
    bool checkEntries();
    bool writeAccount();
    // The octets the binding would send for the box's text.
    std::string octetsOf(QLineEdit* edit);
    void warn(const QString& text);

    const OvDeviceContext& device_;
    std::unique_ptr<OvSNMPRequest2Edits> accountBinding_;
    std::string failure_; // the binding's last synchronous failure
    bool accountRead_ = false;
};
