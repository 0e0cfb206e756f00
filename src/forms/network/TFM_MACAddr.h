// The MAC address entry dialog of an access control list: one MAC typed for
// the slot that the list window has loaded into it (added into a free slot or
// changed in the entry's own), checked against the other slots and written in
// one SET. The list window owns it for its whole life.
#pragma once

#include "OvDialog.h"

#include <string>
#include <vector>

class OvSNMPRequest2Edits;
class QLabel;
class QLineEdit;
class QPushButton;

// What the dialog needs of the list window that owns it (its parent): every
// slot's MAC, to refuse one taken elsewhere, and the full list binding that
// the dialog's controls are bound to and that writes the slot.
class OvMacSlotList {
public:
    virtual QWidget* listWindow() = 0;
    virtual std::vector<std::string> slotMacs() const = 0;
    virtual OvSNMPRequest2Edits* fullListBinding() const = 0;

protected:
    ~OvMacSlotList() = default;
};

class TFM_MACAddr : public OvDialog {
    Q_OBJECT
public:
    explicit TFM_MACAddr(OvMacSlotList& table);
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

    OvMacSlotList& table_;
};
