// The MAC address entry dialog of an access control list: one MAC typed for
// the slot that the list window has loaded into it (added into a free slot or
// changed in the entry's own), checked against the other slots and written in
// one SET. The list window owns it for its whole life.
#pragma once

#include "OvDialog.h"

class OvSNMPRequest2Edits;
class TFM_MACTable;
class QLabel;
class QLineEdit;
class QPushButton;

class TFM_MACAddr : public OvDialog {
    Q_OBJECT
public:
    explicit TFM_MACAddr(TFM_MACTable& table);
    ~TFM_MACAddr() override;

    // Binds the slot's number and MAC to the list window's full list binding.
    void bindControls(OvSNMPRequest2Edits& binding);

    QLabel* LA_MACAddr;
    QLineEdit* Ed_MACAddr;
    QPushButton* Bt_Apply;
    QLabel* LA_Index; // the slot's number, never visible

    void Bt_ApplyClick();

private:
    void buildControls();

    TFM_MACTable& table_;
};
